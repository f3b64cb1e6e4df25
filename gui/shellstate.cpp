#include "shellstate.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>

#include "configmanager.h"
#include "fgbitmap.h"
#include "fgdrawbuffer.h"
#include "fgfontmanager.h"
#include "hkutils.h"

#include "settingvars.h"

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
    "Data/euromode_ce_14b.fnt", "Data/euromode_ce_16b.fnt", "Data/euromode_ce_19b.fnt",
    "Data/euromode_ce_20b.fnt", "Data/euromode_ce_23b.fnt", "Data/euromode_ce_25b.fnt",
    "Data/euromode_ce_29b.fnt", "Data/euromode_ce_32b.fnt",
};

int32_t DisplayFonts[DisplayFontCount] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
                                          -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};

static_assert(FontEuromodeCe32 - FontEuromodeCe14 == FontEuromode32 - FontEuromode14, "one twin per size");
static_assert(FontEuromodeCe32 + 1 == DisplayFontCount, "every font has its file");

int LatinFont(TDisplayFontIndex latin, int languageId) {
    // The 58 holds only digits, which both code pages share.
    if (languageId == LanguageCzech && latin >= FontEuromode14 && latin <= FontEuromode32)
        return DisplayFonts[FontEuromodeCe14 + (latin - FontEuromode14)];
    return DisplayFonts[latin];
}

int LanguageFont(TDisplayFontIndex latin, TDisplayFontIndex cyrillic) {
    return LanguageFontSet == FontSetCyrillic ? DisplayFonts[cyrillic] : LatinFont(latin, LanguageId);
}

// The toolkit's text font is Windows-1252: Czech takes the 16-pixel euromode twin in
// Windows-1250, Russian the 16-pixel Cyrillic font, as the menu does.
int LanguageTextFont(int languageId) {
    if (languageId == LanguageRussian) return DisplayFonts[FontMsRefSans16];
    return languageId == LanguageCzech ? DisplayFonts[FontEuromodeCe16] : DisplayTextFont;
}

void SelectDisplayFont(FGDrawBuffer* window, int font) {
    if (window && FGFontManager::is_font(font)) window->set_font(font);
}

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
TInterpTable* SlipCurve = nullptr;

const TMainPictureFile MainPictureFiles[MainPictureCount] = {
    {"Data/3dtlak.tga", PictureKeyed},         {"Data/3dvyskomer.tga", PictureKeyed},
    {"Data/3dvyskomer2.tga", PictureKeyed},    {"Data/3drychlomer.tga", PictureKeyed},
    {"Data/jednotky.tga", PictureKeyed},       {"Data/stovky.tga", PictureKeyed},
    {"Data/desitky.tga", PictureKeyed},        {"Data/desitkyALTnula.tga", PictureKeyed},
    {"Data/zjednotky.tga", PictureKeyed},      {"Data/zstovky.tga", PictureKeyed},
    {"Data/zdesitky.tga", PictureKeyed},       {"Data/3dkulicka.tga", PictureKeyed},
    {"Data/3dbreminko.tga", PictureKeyed},     {"Data/3dbreminkoC.tga", PictureKeyed},
    {"Data/3dbreminkoE.tga", PictureKeyed},    {"Data/3dsipkaHorL.tga", PictureKeyed},
    {"Data/3dsipkaHorR.tga", PictureKeyed},    {"Data/3dkompas.tga", PictureKeyed},
    {"Data/cisliceFont.tga", PictureKeyed},    {"Data/cisliceFont2.tga", PictureKeyed},
    {"Data/kompas.gif", PictureOpaque},        {"Data/stupniceAngle.gif", PictureOpaque},
    {"Data/tlacitko.tga", PictureKeyed},       {"Data/tlacitko1.tga", PictureKeyed},
    {"Data/tlacitkored.tga", PictureKeyed},    {"Data/tlacitko2.tga", PictureKeyed},
    {"Data/tlacitko1red.tga", PictureKeyed},   {"Data/tlacitko2red.tga", PictureKeyed},
    {"Data/3dnastaveni.tga", PictureKeyed},    {"Data/3dnastaveni2.tga", PictureKeyed},
    {"Data/gif_st.gif", PictureOpaque},        {"Data/AP_ON.tga", PictureKeyed},
    {"Data/cnpy.tga", PictureKeyed},           {"Data/gearup.tga", PictureKeyed},
    {"Data/geardown.tga", PictureKeyed},       {"Data/geartransit.tga", PictureKeyed},
    {"Data/gearerror.tga", PictureKeyed},      {"Data/CO2.tga", PictureKeyed},
    {"Data/stred.tga", PictureKeyed},          {"Data/stredmaly.tga", PictureKeyed},
    {"Data/stupniceHSI.gif", PictureOpaque},   {"Data/ramecekHSI.gif", PictureOpaque},
    {"Data/box_comm_xpdr_1r.tga", PictureKeyOnly}, {"Data/box_comm_xpdr_2r.tga", PictureKeyOnly},
    {"Data/3Dterrain_err.tga", PictureKeyed},
};
FGBitmap* MainPictures[MainPictureCount] = {};
std::unique_ptr<FGBitmap> EngineBackground;
std::unique_ptr<FGBitmap> StripBackground;

FGTimer* RefreshTimer = nullptr;
int ScreenType = 0;
int DeviceID = 0;
int RefreshPeriod = 50;
int ShellBusy = 0;
uint8_t SetupModeActive = 0;
int32_t& DemoMarker = DemoSetting.marker;
int32_t& DemoModelCode = DemoSetting.modelCode;
int FunctionBits = 0;
int LastRefreshTime = 0;
int StripIndex = 0;
int SavedScreenType = 0;
int BaroEditActive = 0;
int DemoIdleCountdown = -1;
int KeyPressed = 0;
int KeyFlagUntil = 0;
int DemoBannerShown = 0;
int LayoutReady = 0;
int RepaintEnabled = 0;
int TerrainViewOn = 0;
int GpsStatusBit = 1;
int32_t StartTimeSec = 0, StartTimeUsec = 0;
CPanel* Entertainer = nullptr;

namespace {
std::function<int64_t()>& ShellClock() {
    static std::function<int64_t()> clock;
    return clock;
}
}  // namespace

int64_t ShellClockMs() {
    if (ShellClock()) return ShellClock()();
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void SetShellClock(std::function<int64_t()> clockMs) { ShellClock() = std::move(clockMs); }

void ShellPrint(const char* format, ...) {
    va_list ap;
    va_start(ap, format);
    HookVPrintf(format, ap);
    va_end(ap);
}
