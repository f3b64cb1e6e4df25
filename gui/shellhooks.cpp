#include "shellhooks.h"

#include <libintl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

#include "averdata.h"
#include "configfile.h"
#include "configmanager.h"
#include "displayitems.h"
#include "enginepage.h"
#include "fgapp.h"
#include "fgbase.h"
#include "fgbitmap.h"
#include "fgfontmanager.h"
#include "fgwindow.h"
#include "flighthsi.h"
#include "flightpage.h"
#include "flighttapes.h"
#include "hkutils.h"
#include "initialsetting.h"
#include "menulinks.h"
#include "refresh.h"
#include "refreshlinks.h"
#include "shellstate.h"
#include "startup.h"
#include "statusbar.h"
#include "units.h"

namespace {

bool NoBaroBox() { return DeviceID == DeviceEms || DeviceID == DeviceEms2; }

// The refreshes the idle hook has seen: LastRefreshTime holds wall-clock seconds,
// so its changes are timed on the monotonic clock (a clock set back must not
// silence the watch).
struct TIdleWatch {
    bool started = false;
    int seenRefreshTime = 0;
    int64_t seenAtMs = 0;
} IdleWatch;

constexpr int64_t RefreshSilenceMs = 4000;
// The idle hook's longest pause. Keys, X input and posted refreshes end a pause at
// once, so it needs to end on its own only when the watch below falls due; the bound
// keeps a quit signal taken by another thread from waiting long.
constexpr int64_t IdleWaitMaxMs = 100;

}  // namespace

// ---- refresh period ----

int RefreshPeriodRule() {
    if (Entertainer) return 150;
    if (ScreenType != ScreenEngine && TerrainViewOn) return 125;
    if (SetupModeActive ||
        ((DisplaySetting.screenWord & RuntimeFlag0) && ScreenType != ScreenEngine && ScreenType != ScreenFlight))
        return 110;
    return 100;
}

void SetTimerPeriod() {
    TerrainViewOn = DisplaySetting.terrainView != 0;
    RefreshPeriod = RefreshPeriodRule();
    if (RefreshTimer) fg_set_timer(RefreshPeriod, RefreshTimerTick);
    if (AverReader) AverReader->SetPeriod(RefreshPeriod);
}

// ---- screen selection ----

void ReadFunctionBits() {
    const int type = InDemoMode() ? DemoModelCode : ConfigManager.GetDeviceType();
    switch (type) {
        case 27:  // flight instruments; engine pages as an option
            FunctionBits = 1 | ((DeviceInfo.options & 2) ? 2 : 0);
            break;
        case 30:
        case 34:  // engine monitor; flight pages as an option
            FunctionBits = 2 | ((DeviceInfo.options & 1) ? 1 : 0);
            break;
        default:
            FunctionBits = 3;
            break;
    }
}

int ChooseScreen(int kind, int caps, bool setupMode) {
    if (setupMode) kind = (kind > 1 && (caps & CapFlightPage)) ? 2 : 1;
    const bool flight = caps & CapFlightPage;
    for (int i = 0; i < 6; ++i) {
        bool accept = false;
        switch (kind) {
            case 1:
                if (caps & CapEnginePage) accept = true;
                else kind = 2;
                break;
            case 2:
                if (flight) accept = true;
                else kind = (caps & CapEngineStrip) ? 3 : 1;
                break;
            case 3:
                if (!flight && !(caps & CapEngineStrip)) kind = 1;
                else if (caps & (CapEnginePage | CapEngineStrip)) accept = true;
                else kind = 4;
                break;
            case 4:
                if (!flight) kind = 1;
                else if (caps & CapNavStrip) accept = true;
                else kind = 5;
                break;
            case 5:
                if (!flight) kind = 1;
                else if (caps & CapGpsStrip) accept = true;
                else kind = 3;
                break;
            case 6:
                kind = flight ? 3 : 1;
                break;
            default:
                break;
        }
        if (accept) return kind;
        if (kind > 2 && i >= 3) kind = 2;
    }
    return 0;
}

namespace {

// The barometric boxes of the full flight page and of the split layouts: the QNH
// setting in the pressure unit (value row) over the unit's name (unit row), on the
// picture "Data/3dtlak.tga" (110 x 42); the enlarged editor box at (editX, 350).
struct TBaroBoxLayout {
    int valueRow, unitRow, pictureX, pictureY, editX;
};
const TBaroBoxLayout BaroBoxes[2] = {{53, 56, 612, 422, 500}, {66, 69, 411, 422, 300}};
constexpr int BaroEditY = 350;  // the enlarged box is 200 x 81

// The boxes' rows keep one place, font and colour on every screen.
void PlaceBaroRows() {
    for (const TBaroBoxLayout& box : BaroBoxes) {
        TDisplayItem& value = PageItems[box.valueRow];
        TDisplayItem& unit = PageItems[box.unitRow];
        value = TDisplayItem{};
        // Both rows stay above y 455, where the soft-key caption bar grows over
        // the picture's foot while the keys show.
        value.x = box.pictureX + 4;
        value.y = box.pictureY;
        value.width = 102;
        value.height = 20;
        value.value = ItemLabel;
        value.fontCode = 12;
        unit = value;
        unit.y = box.pictureY + 18;
        unit.height = 15;
        unit.fontCode = 8;
    }
}

}  // namespace

void SelectScreen(int kind) {
    PlaceBaroRows();
    if (((FunctionBits & 1) != 0) != ((LayoutCaps & CapFlightPage) != 0) ||
        ((FunctionBits & 2) != 0) != ((LayoutCaps & CapEnginePage) != 0))
        SetDisplayCapabilities();
    kind = ChooseScreen(kind, LayoutCaps, SetupModeActive != 0);
    if (kind == 0 || kind == ScreenType) {
        SetTimerPeriod();
        return;
    }
    ScreenType = kind;
    LayoutReady = 0;
    ShellBusy = 1;
    RepaintEnabled = 0;
    if (MainWindow) MainWindow->clear(0);
    if (kind >= 3) StripIndex = kind - 3;
    if (RefreshHooks.BindScreenKeys) RefreshHooks.BindScreenKeys();
    BaroEditActive = 0;
    RepaintEnabled = 1;
    ShellBusy = 0;
    LayoutReady = 1;
    SetTimerPeriod();
    PlaceInstTempItem();
    SavedScreenType = ScreenType;
    // The camera unit (raised for the split layouts with both runtime flags outside
    // demo mode) has no effect in this system.
}

// ---- entertainment screen ----

void CloseEntertainerAfterExit() {
    if (MenuLinks.DestroyEntertainer) MenuLinks.DestroyEntertainer();
    SetTimerPeriod();
    if (RefreshHooks.BindScreenKeys) RefreshHooks.BindScreenKeys();
}

// ---- demo reset ----

void ResetDemo(bool full) {
    ShellPrint("DEMO is being reset\n");
    if (full) {
        if (RefreshHooks.CloseMenu) RefreshHooks.CloseMenu();
        if (RefreshHooks.ClearSoftKeys) RefreshHooks.ClearSoftKeys();
        if (MenuLinks.CloseMessageBox) MenuLinks.CloseMessageBox();
        SetupModeActive = 0;
        CopyConfigFile("demosetup.dat", "setup.dat");
        CopyConfigFile("demoruntime.dat", "runtime.dat");
        LoadSetting("demo", KindRuntime | KindSetup, 1);
        if (ConfigManager.Store()) ConfigManager.Store()->SetOwner(0);
        DemoMarker = DemoMarkerValue;
        DeviceID = DemoModelCode;
        SetSS(SsDemo, 0);
        ReadFunctionBits();
        if (DeviceID == DeviceRemoteDisplay) {
            if (!Entertainer && MenuLinks.CloseVideoPlayer) MenuLinks.CloseVideoPlayer();
            DemoCycleSeconds = 0;
            if (!MenuLinks.CreateEntertainer || !MenuLinks.CreateEntertainer(MainWindow))
                ShellPrint("DEMO: Entertainer creation failure\n");
        } else if (MenuLinks.DestroyEntertainer) {
            MenuLinks.DestroyEntertainer();
        }
        SetTimerPeriod();
    }
    FixBrightness();
    SetBrightness(BrightnessSetting.level, 0);
    SetColorScheme(ColorScheme);
    SetDisplayCapabilities();
    InitialSetting();
    if ((DeviceID == DeviceEfisEms || DeviceID == DeviceEfisEms2) && !SetupModeActive) ScreenType = ScreenFlightEms;
    SelectScreen(ScreenType);
    if (RefreshHooks.BindScreenKeys) RefreshHooks.BindScreenKeys();
    DemoIdleCountdown = -1;
}

// ---- loop hooks ----

int OnQueuedEvent(FGEvent* event) {
    if (!event) return 0;
    switch (event->key) {
        case KeyDemoReset:
            // Only a running demo resets itself: outside demo mode a stray 'b' must not
            // overwrite the instrument's settings with the demo files.
            if (InDemoMode()) ResetDemo(true);
            break;
        case KeyRefresh: {
            RefreshDisplayData();
            RefreshEventDone();
            break;
        }
        default:
            break;
    }
    return 0;
}

void ResetIdleWatch() { IdleWatch = TIdleWatch(); }

int IdlePauseMs() {
    const int64_t due = IdleWatch.started ? IdleWatch.seenAtMs + RefreshSilenceMs - ShellClockMs() : RefreshSilenceMs;
    return static_cast<int>(std::clamp<int64_t>(due, 0, IdleWaitMaxMs));
}

void IdleHook(FGApp* /*app*/) {
    if (ShellBusy == 0) ConfigManager.ProcessChanges();
    fg_wait_input(IdlePauseMs());
    const int64_t now = ShellClockMs();
    if (!IdleWatch.started || IdleWatch.seenRefreshTime != LastRefreshTime) {
        IdleWatch.started = true;
        IdleWatch.seenRefreshTime = LastRefreshTime;
        IdleWatch.seenAtMs = now;
        return;
    }
    if (now - IdleWatch.seenAtMs < RefreshSilenceMs) return;
    if (RefreshTimer) {
        fg_timer_close();
        // No refresh ran for 4 s, so none is really pending: events counted as pending
        // were lost, and the count would keep the timer from posting for good.
        RefreshRestart();
        fg_timer_open();
        fg_set_timer(RefreshPeriod, RefreshTimerTick);
    }
    ShellBusy = 0;
    // At most one restart per silent stretch of 4 s.
    IdleWatch.seenAtMs = now;
}

// ---- main window ----

namespace {
// The pictures behind MainPictures.
std::unique_ptr<FGBitmap> MainPictureStore[MainPictureCount];
}  // namespace

void LoadMainPictures() {
    for (int i = 0; i < MainPictureCount; ++i) {
        const TMainPictureFile& f = MainPictureFiles[i];
        auto pic = std::make_unique<FGBitmap>(f.file);
        if (pic->width <= 0 || pic->height <= 0) {
            ShellPrint("MAIN: picture %s not loaded\n", f.file);
            pic.reset();
        } else if (f.keying != PictureOpaque) {
            pic->set_colorkey(PageKeyColour);
            if (f.keying == PictureKeyed) pic->set_mode(DrawModeKeyed);
        }
        MainPictureStore[i] = std::move(pic);
        MainPictures[i] = MainPictureStore[i].get();
    }
    PicDialCentre = MainPictures[PicStredMaly];
    PicSlipBall = MainPictures[Pic3dKulicka];
    PicDigits = MainPictures[PicCisliceFont];
    PicTapeDigits = MainPictures[PicCisliceFont2];
}

namespace {

// The rendered backgrounds follow the pictures and settings; the setup renders them again.
void DropBackgrounds() {
    EngineBackground.reset();
    StripBackground.reset();
}

}  // namespace

void FreeMainPictures() {
    PicDialCentre = PicSlipBall = PicDigits = PicTapeDigits = nullptr;
    for (int i = 0; i < MainPictureCount; ++i) {
        MainPictures[i] = nullptr;
        MainPictureStore[i].reset();
    }
    DropBackgrounds();
}

namespace {

void CopyPicture(FGDrawBuffer* target, FGBitmap* pic, int x, int y) {
    if (pic) target->bitblt(x, y, 0, 0, pic->width, pic->height, pic);
}

// The mark beside a standard setting is the glyph "5" of the smallest display font,
// right-aligned on the value row.
constexpr const char* BaroMarkGlyph = "5";

void DrawBaroSetting(FGDrawBuffer* w, const TBaroBoxLayout& box) {
    if (NoBaroBox()) return;
    TDisplayItem& value = PageItems[box.valueRow];
    TDisplayItem& unit = PageItems[box.unitRow];
    value.textColour = RefreshValues.baroColour;
    std::snprintf(value.text, sizeof value.text, "%s", RefreshValues.baroText);
    std::snprintf(unit.text, sizeof unit.text, "%s", UnitTexts.baro);
    if (BaroEditActive) {
        const uint32_t colour = value.textColour ? static_cast<uint32_t>(value.textColour) : WhiteColour;
        if (MenuLinks.DrawBaroBox) MenuLinks.DrawBaroBox(box.editX, BaroEditY, value.text, colour);
        // The unit's own place lies below the enlarged box: it goes inside, under the value.
        TDisplayItem inBox = unit;
        inBox.x = box.editX + 11;
        inBox.y = BaroEditY + 52;
        DrawDisplayItem(&inBox);
        return;
    }
    CopyPicture(w, MainPictures[Pic3dTlak], box.pictureX, box.pictureY);
    const int markFont = LanguageFont(FontEuromode14, FontMsRefSans15);
    if (QnhSetting.qnh == StandardQnh && UnitsSetting.baro == UnitMbar && FGFontManager::is_font(markFont)) {
        const size_t n = std::strlen(value.text);
        if (n + 1 < sizeof value.text) std::memcpy(value.text + n, " ", 2);
        const int saved = w->get_font();
        const unsigned mode = w->get_mode();
        w->set_font(markFont);
        // Keyed: the picture shows through the glyph's paper, whatever the page drew last.
        w->set_mode(DrawModeKeyed);
        const int x = value.x + value.width - FGFontManager::textwidth(markFont, BaroMarkGlyph);
        w->text(x, value.y, BaroMarkGlyph, static_cast<uint32_t>(value.textColour), PageKeyColour);
        w->set_mode(mode);
        w->set_font(saved);
    }
    DrawDisplayItem(&value);
    DrawDisplayItem(&unit);
}

void DrawNoEmsStrip(FGDrawBuffer* w) {
    w->fillbox(560, 0, w->width - 560, w->height, 0);
    const int font = LanguageFont(FontEuromode20, FontMsRefSans19);
    if (!FGFontManager::is_font(font)) return;
    const int saved = w->get_font();
    w->set_font(font);
    const char* lines[2] = {gettext("NO EMS"), gettext("DATA")};
    const int h = FGFontManager::get_font_height(font);
    const int ys[2] = {80, 80 + h * 4 / 3};
    for (int i = 0; i < 2; ++i)
        w->text(680 - FGFontManager::textwidth(font, lines[i]) / 2, ys[i], lines[i], WhiteColour, PageKeyColour);
    w->set_font(saved);
}

// The engine backgrounds are rendered through the window's own pixels: the frame
// painted so far is kept aside meanwhile, and the switches the rendering sets are
// given back as they were.
void EnsureEngineBackgrounds(FGDrawBuffer* w) {
    const bool needed = ScreenType == ScreenEngine || (ScreenType == ScreenFlightEms && (LayoutCaps & CapEnginePage));
    if (!needed || BootLogo || Entertainer || !BackgroundBitmapsStale()) return;
    const size_t n = static_cast<size_t>(w->width) * static_cast<size_t>(w->height);
    const std::vector<FGPixel> frame(w->pixels, w->pixels + n);
    const int ready = LayoutReady, repaint = RepaintEnabled, busy = ShellBusy;
    RebuildBackgroundBitmaps();
    std::copy(frame.begin(), frame.end(), w->pixels);
    LayoutReady = ready;
    RepaintEnabled = repaint;
    ShellBusy = busy;
}

void PaintFrame() {
    FGDrawBuffer* w = MainWindow;
    if (!w) return;
    // The window lays no paper of its own: the full-width flight page's GL picture
    // covers every pixel, so that page lays it only when there is no picture.
    const FGPixel paper = MainFGWindow ? MainFGWindow->paper : 0;
    const bool flightPage = !BootLogo && !Entertainer && ScreenType == ScreenFlight;
    if (!flightPage) w->fillbox(0, 0, w->width, w->height, paper);
    EnsureEngineBackgrounds(w);
    // The runtime setting may change under the menus; the page follows it.
    TerrainViewOn = DisplaySetting.terrainView != 0;
    if (BootLogo) {
        DrawBootLogo();
        return;
    }
    if (Entertainer) {
        if (MenuLinks.EntertainerDraw) MenuLinks.EntertainerDraw(w);
        return;
    }
    if (ScreenType == ScreenEngine) {
        if (EngineBackground) w->bitblt(0, 0, 0, 0, 800, 480, EngineBackground.get());
        PlaceEngineItems();
        TakeEngineValues();
        DrawCanopyGear();
        DrawEngineBars();
        DrawEngineDials();
        for (int row = RowIat; row <= RowAuxTemp; ++row) DrawDisplayItem(&PageItems[row]);
        for (int row = RowSupply; row < RowSupply + 6; ++row) DrawDisplayItem(&PageItems[row]);
    } else if (ScreenType == ScreenFlight) {
        DrawFlightPage(&paper);
        DrawCanopyGear();
        DrawAltimeter();
        DrawAirspeedIndicator();
        DrawAutopilotBox(w);
        DrawHsiSourceLabel(w);
        // PageItems rows 54, 55: the flight page's rows of that table do not exist yet
        DrawBaroSetting(w, BaroBoxes[0]);
    }
    if (BothRuntimeFlags() && ScreenType != ScreenEngine && ScreenType != ScreenFlight) w->clear(0);
    if (ScreenType >= ScreenFlightEms && ScreenType <= ScreenTransit) {
        DrawFlightPage();
        DrawAltimeter();
        DrawAirspeedIndicator();
        DrawAutopilotBox(w);
        DrawHsiSourceLabel(w);
        // PageItems rows 67, 68: the flight view's rows of that table do not exist yet
        if (ScreenType == ScreenFlightEms) {
            if (LayoutCaps & CapEnginePage) {
                if (StripBackground) w->bitblt(558, 0, 558, 0, 242, 480, StripBackground.get());
                PlaceEngineItems();
                TakeEngineValues();
                DrawEngineBars();
                DrawEngineDials();
                DrawCanopyGear();
            } else {
                DrawNoEmsStrip(w);
            }
        }
        if (ScreenType == ScreenFlightNav) DrawStripItems(NavStripItems, NavTitle, NavStripRows - 1);
        if (ScreenType == ScreenFlightGps) DrawStripItems(GpsStripItems, GpsTitle, GpsStripRows - 1);
        DrawBaroSetting(w, BaroBoxes[1]);
    }
    DrawInstTemp();
    DrawStatusBar(w);
}

}  // namespace

int OnMainWindowEvent(FGWindow* window, FGEvent* event) {
    if (!event) return 0;
    switch (event->type) {
        case FGE_KEY: {
            const int k = event->key;
            if (k != 0) {
                if (!DemoBannerShown) DemoIdleCountdown = DemoSetting.resetTime < 30 ? 30 : DemoSetting.resetTime;
                KeyPressed = 1;
                // The same clock as the refresh that tests it.
                int64_t sec = time(nullptr);
                int32_t usec = 0;
                if (RefreshClock) RefreshClock(&sec, &usec);
                KeyFlagUntil = SatInt32(sec + 5);
            }
            if (Entertainer && MenuLinks.EntertainerKey) {
                // The screen never destroys itself inside its own key call.
                if (MenuLinks.EntertainerKey(k & 0xFFFF)) CloseEntertainerAfterExit();
                break;
            }
            if (MenuLinks.DispatchKey) MenuLinks.DispatchKey(k & 0xFF);
            break;
        }
        case FGE_OPENED:
            LoadMainPictures();
            LoadTapePictures();
            DropBackgrounds();
            if (MenuLinks.LoadEntertainerImages) MenuLinks.LoadEntertainerImages();
            if (MenuLinks.OpenPanels) MenuLinks.OpenPanels(window);
            break;
        case FGE_CLOSING:
            if (MenuLinks.ClosePanels) MenuLinks.ClosePanels();
            FreeMainPictures();
            FreeTapePictures();
            if (MenuLinks.DestroyEntertainer) MenuLinks.DestroyEntertainer();
            if (MenuLinks.FreeEntertainerImages) MenuLinks.FreeEntertainerImages();
            break;
        case FGE_REDRAW:
            PaintFrame();
            break;
        default:
            break;
    }
    return 0;
}
