#include "shellstate.h"

namespace {
constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return (r << 16) | (g << 8) | b; }
}  // namespace

// Only the focus colour holds a value before the initialiser runs.
TDisplayPalette DisplayPalette = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFCE000, 0, 0, 0, 0, 0, 0, 0};

void BuildDisplayPalette() {
    TDisplayPalette& p = DisplayPalette;
    p.PalRed = Rgb(242, 0, 0);
    p.PalOrangeRed = Rgb(255, 88, 0);
    p.PalGreen = Rgb(0, 200, 0);
    p.PalBrown = Rgb(157, 79, 37);
    p.PalBlue = Rgb(1, 1, 254);
    p.PalSkyBlue = Rgb(0, 143, 224);
    p.PalSilver = Rgb(192, 192, 192);
    p.PalYellow = Rgb(252, 224, 0);
    p.PalOrange = Rgb(255, 140, 0);
    p.PalNavGreen = p.PalGreen;
    p.PalGpsBlue = Rgb(150, 205, 255);
    p.PalKey = Rgb(240, 0, 240);
    p.PalPanel = Rgb(210, 210, 225);
    p.PalOverlayPanel = p.PalPanel;
    p.PalGrey180 = Rgb(180, 180, 180);
    p.PalGrey100 = Rgb(100, 100, 100);
    p.PalGrey128 = Rgb(128, 128, 128);
}

const char* const DisplayFontFiles[DisplayFontCount] = {
    "Data/euromode_14b.fnt",    "Data/euromode_16b.fnt",    "Data/euromode_19b.fnt",
    "Data/euromode_20b.fnt",    "Data/euromode_23b.fnt",    "Data/euromode_25b.fnt",
    "Data/euromode_29b.fnt",    "Data/euromode_32b.fnt",    "Data/euromode_58b.fnt",
    "Data/ms_ref_sans_15b.fnt", "Data/ms_ref_sans_16b.fnt", "Data/ms_ref_sans_17b.fnt",
    "Data/ms_ref_sans_19b.fnt", "Data/ms_ref_sans_22b.fnt", "Data/ms_ref_sans_25b.fnt",
    "Data/ms_ref_sans_28b.fnt", "Data/ms_ref_sans_32b.fnt", "Data/lucida_console_13b.fnt",
    "Data/lucida_console_16b.fnt",
};

int32_t DisplayFonts[DisplayFontCount] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
                                          -1, -1, -1, -1, -1, -1, -1, -1, -1};

// The toolkit font that the Latin languages use for text.
int DisplayTextFont = 6;

FGDrawBuffer* MainWindow = nullptr;
TAverData* AverReader = nullptr;

FGBitmap* PicDialCentre = nullptr;
FGBitmap* PicSlipBall = nullptr;
FGBitmap* PicDigits = nullptr;
FGBitmap* PicTapeDigits = nullptr;
FGBitmap* PicBarHorizontal = nullptr;
FGBitmap* PicBarVertical = nullptr;
FGBitmap* BootLogo = nullptr;
