// Global state of the display program that the pages read: the main window,
// the display palette, the display fonts, the pictures the main window loads
// and the shell's flags. Start-up fills these; nothing here builds windows or
// loads files.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include "configmanager.h"
#include "settingvars.h"

class FGBitmap;
class FGDrawBuffer;
class FGTimer;
class TAverData;
class TInterpTable;
class CPanel;

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
// Raster modes of the pages' drawing: plain copy, and the key colour left out.
constexpr unsigned DrawModeCopy = 0, DrawModeKeyed = 9;
// White of texts, frames and marks; the palette has no white slot.
constexpr uint32_t WhiteColour = 0xFFFFFF;

// The registered display fonts, by position in DisplayFontFiles; -1 until registered.
constexpr int DisplayFontCount = 27;
extern const char* const DisplayFontFiles[DisplayFontCount];
extern int32_t DisplayFonts[DisplayFontCount];
enum TDisplayFontIndex {
    FontEuromode14, FontEuromode16, FontEuromode19, FontEuromode20, FontEuromode23,
    FontEuromode25, FontEuromode29, FontEuromode32, FontEuromode58,
    FontMsRefSans15, FontMsRefSans16, FontMsRefSans17, FontMsRefSans19, FontMsRefSans22,
    FontMsRefSans25, FontMsRefSans28, FontMsRefSans32,
    FontLucidaConsole13, FontLucidaConsole16,
    // Windows-1250 twins of FontEuromode14 .. FontEuromode32, in the same order, for Czech.
    FontEuromodeCe14, FontEuromodeCe16, FontEuromodeCe19, FontEuromodeCe20, FontEuromodeCe23,
    FontEuromodeCe25, FontEuromodeCe29, FontEuromodeCe32,
};
// The registered font of the active font set: the Latin, the Czech or the Cyrillic one.
int LanguageFont(TDisplayFontIndex latin, TDisplayFontIndex cyrillic);
// The registered font at the index, or its Windows-1250 twin when the language is Czech.
int LatinFont(TDisplayFontIndex latin, int languageId);
// The language's default text font: DisplayTextFont, its Windows-1250 twin for Czech,
// the 16-pixel Cyrillic font for Russian.
int LanguageTextFont(int languageId);
// Selects a font on the window when it is registered; else the window keeps its own.
void SelectDisplayFont(FGDrawBuffer* window, int font);

// The language's default text font (a toolkit font id); the language itself is
// LanguageId of the configuration manager (LanguageRussian selects the Cyrillic fonts).
extern int DisplayTextFont;

// The 800 x 480 main window (null before it exists). The pages draw into it as
// a drawing buffer; start-up creates it as a toolkit window.
extern FGDrawBuffer* MainWindow;
// The averaging reader (null before start-up builds it).
extern TAverData* AverReader;
// The slip curve (null before start-up builds it).
extern TInterpTable* SlipCurve;

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

// Picture slots of the main window, in loading order.
enum TMainPicture {
    Pic3dTlak, Pic3dVyskomer, Pic3dVyskomer2, Pic3dRychlomer, PicJednotky, PicStovky,
    PicDesitky, PicDesitkyAltNula, PicZJednotky, PicZStovky, PicZDesitky, Pic3dKulicka,
    Pic3dBreminko, Pic3dBreminkoC, Pic3dBreminkoE, Pic3dSipkaHorL, Pic3dSipkaHorR,
    Pic3dKompas, PicCisliceFont, PicCisliceFont2, PicKompas, PicStupniceAngle, PicTlacitko,
    PicTlacitko1, PicTlacitkoRed, PicTlacitko2, PicTlacitko1Red, PicTlacitko2Red,
    Pic3dNastaveni, Pic3dNastaveni2, PicGifSt, PicApOn, PicCnpy, PicGearUp, PicGearDown,
    PicGearTransit, PicGearError, PicCO2, PicStred, PicStredMaly, PicStupniceHsi,
    PicRamecekHsi, PicBoxCommXpdr1r, PicBoxCommXpdr2r, Pic3dTerrainErr,
    MainPictureCount
};
// How a picture is keyed: not at all, key colour only, or key colour with draw mode 9.
enum TPictureKeying : uint8_t { PictureOpaque, PictureKeyOnly, PictureKeyed };
struct TMainPictureFile {
    const char* file;
    TPictureKeying keying;
};
extern const TMainPictureFile MainPictureFiles[MainPictureCount];
// Null where the file was missing or damaged; LoadMainPictures owns them.
extern FGBitmap* MainPictures[MainPictureCount];
// The engine page's background (full page) and the engine strip's; empty
// (null) until the setup renders them.
extern std::unique_ptr<FGBitmap> EngineBackground;
extern std::unique_ptr<FGBitmap> StripBackground;

// ---- the shell ----

// Layouts (ScreenType).
enum {
    ScreenEngine = 1,     // engine page
    ScreenFlight = 2,     // flight page
    ScreenFlightEms = 3,  // flight view + engine strip
    ScreenFlightNav = 4,  // flight view + NAV strip
    ScreenFlightGps = 5,  // flight view + GPS strip
    ScreenTransit = 6,    // never settled on
};
// LayoutCaps bits.
enum {
    CapEnginePage = 0x01, CapFlightPage = 0x04, CapEngineStrip = 0x10,
    CapGpsStrip = 0x40, CapNavStrip = 0x80,
};
// Runtime flag bits in DisplaySetting.screenWord (its second byte).
constexpr int32_t RuntimeFlag0 = 0x100, RuntimeFlag1 = 0x200;
constexpr int32_t ScreenWordTypeMask = 0x3F;
// The runtime flag byte of the screen word.
inline int RuntimeFlags() { return (DisplaySetting.screenWord >> 8) & 0xFF; }
inline bool BothRuntimeFlags() { return (RuntimeFlags() & 3) == 3; }
// The runtime screen word keeps the screen type in its low bits; the flags stay.
inline void StoreScreenType(int type) {
    DisplaySetting.screenWord = (DisplaySetting.screenWord & ~ScreenWordTypeMask) | (type & ScreenWordTypeMask);
}

extern FGTimer* RefreshTimer;      // null when none
extern int ScreenType;
extern int DeviceID;                // a TDeviceType: the device's own, or the demo's model
extern int RefreshPeriod;          // ms; 50 until a screen is selected
extern int ShellBusy;
extern uint8_t SetupModeActive;
extern int32_t& DemoMarker;        // the demo setting's marker (DemoMarkerValue in demo mode)
extern int32_t& DemoModelCode;     // the demo setting's device model
// Bit 0 flight instruments, bit 1 engine monitor: what the device's own
// information says it does (ReadFunctionBits).
extern int FunctionBits;
// Refresh events posted and not yet handled (0..2); the timer thread posts them.
extern std::atomic<int> RefreshPending;
extern int LastRefreshTime;        // time() of the last refresh
extern int StripIndex;             // ScreenType - 3 for the split layouts
extern int SavedScreenType;
extern int BaroEditActive;
extern int DemoIdleCountdown;      // seconds, -1 off
extern int KeyPressed;
extern int KeyFlagUntil;           // time() until which a key press counts
extern int DemoBannerShown;
extern int LayoutReady;
extern int RepaintEnabled;
extern int TerrainViewOn;          // the terrain view is switched on (runtime display setting)
extern int GpsStatusBit;           // GPS bit of the flight page's device-status test
extern int32_t StartTimeSec, StartTimeUsec;
// The entertainment screen while it is open (none in this build).
extern CPanel* Entertainer;

inline bool InDemoMode() { return DemoMarker == DemoMarkerValue; }

// Milliseconds of the monotonic clock that the shell's time-outs use; tests replace it.
int64_t ShellClockMs();
void SetShellClock(std::function<int64_t()> clockMs);

// A console line of the shell (printf form) through the print hook.
void ShellPrint(const char* format, ...) __attribute__((format(printf, 1, 2)));
