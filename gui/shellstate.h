// Global state of the display program that the pages read: the main window,
// the display palette, the display fonts and the pictures the main window loads.
// Start-up fills these; nothing here builds windows or loads files.
#pragma once

#include <cstdint>

class FGBitmap;
class FGDrawBuffer;
class TAverData;

// 0x00RRGGBB words; the slot order is fixed.
struct TDisplayPalette {
    uint32_t PalRed;           // alarm colour
    uint32_t PalOrangeRed;
    uint32_t PalGreen;
    uint32_t PalBrown;
    uint32_t PalBlue;
    uint32_t PalSkyBlue;
    uint32_t PalSilver;
    uint32_t PalBlack;         // never assigned
    uint32_t PalYellow;
    uint32_t PalOrange;
    uint32_t PalNavGreen;      // NAV strip
    uint32_t PalGpsBlue;       // GPS strip
    uint32_t PalFocusYellow;
    uint32_t PalKey;           // transparent key colour of pictures
    uint32_t PalPanel;         // panel of the overlay painter
    uint32_t PalOverlayPanel;  // background of overlays and setup pages
    uint32_t PalOverlayText;   // never assigned
    uint32_t PalGrey180;
    uint32_t PalGrey100;
    uint32_t PalGrey128;
};
static_assert(sizeof(TDisplayPalette) == 20 * 4, "20 palette slots");

extern TDisplayPalette DisplayPalette;
// The palette step of the start-up initialiser: stores the packed colours.
void BuildDisplayPalette();

// Transparent paper of value boxes and key colour of the pages' pictures.
constexpr uint32_t PageKeyColour = 0xFFF000F0;

// The registered display fonts, by position in DisplayFontFiles; -1 until registered.
constexpr int DisplayFontCount = 19;
extern const char* const DisplayFontFiles[DisplayFontCount];
extern int32_t DisplayFonts[DisplayFontCount];
enum TDisplayFontIndex {
    FontEuromode14, FontEuromode16, FontEuromode19, FontEuromode20, FontEuromode23,
    FontEuromode25, FontEuromode29, FontEuromode32, FontEuromode58,
    FontMsRefSans15, FontMsRefSans16, FontMsRefSans17, FontMsRefSans19, FontMsRefSans22,
    FontMsRefSans25, FontMsRefSans28, FontMsRefSans32,
    FontLucidaConsole13, FontLucidaConsole16,
};

// The language's default text font (a toolkit font id); the language itself is
// LanguageId of the configuration manager (1049 selects the Cyrillic fonts).
constexpr int LanguageRussian = 1049;
extern int DisplayTextFont;

// The 800 x 480 main window (null before it exists).
extern FGDrawBuffer* MainWindow;
// The averaging reader (null before start-up builds it).
extern TAverData* AverReader;

// Pictures of the main window (null until loaded): the dial centre
// "Data/stredmaly.tga", the slip ball "Data/3dkulicka.tga", the digit strips
// "Data/cisliceFont.tga" and "Data/cisliceFont2.tga", the entertainment
// screen's horizontal and vertical bar pictures, and the boot logo.
extern FGBitmap* PicDialCentre;
extern FGBitmap* PicSlipBall;
extern FGBitmap* PicDigits;
extern FGBitmap* PicTapeDigits;
extern FGBitmap* PicBarHorizontal;
extern FGBitmap* PicBarVertical;
extern FGBitmap* BootLogo;
