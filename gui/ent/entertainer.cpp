#include "entertainer.h"

#include <fcntl.h>
#include <libintl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>

#include "averdata.h"
#include "bezelkeys.h"
#include "chandesc.h"
#include "entdraw.h"
#include "fgbitmap.h"
#include "fgcolor.h"
#include "fgfontmanager.h"
#include "fgwindow.h"
#include "refreshlinks.h"
#include "shellhooks.h"
#include "shellstate.h"
#include "unique_fd.h"

// Marks table texts for the catalogues; they pass gettext where drawn.
#ifndef gettext_noop
#define gettext_noop(s) s
#endif

namespace NEnt {

CVideoPlayer VideoPlayer;

// ---------------------------------------------------------------- player

void CVideoPlayer::SetFile(const char* path, const char* altPath) {
    if (state == PlayerIdle || state == PlayerFileSet) length = position = 0;
    state = PlayerFileSet;
    const char* kept = altPath ? altPath : path;
    std::snprintf(fileName, sizeof fileName, "%s", kept ? kept : "");
}

void CVideoPlayer::Play() {
    if (state != PlayerFullScreen) state = PlayerPlaying;
}

void CVideoPlayer::Pause() { state = PlayerPaused; }

void CVideoPlayer::Stop() {
    position = 0;
    if (state >= PlayerPlaying && state <= PlayerFullScreen) state = PlayerFileSet;
}

void CVideoPlayer::FullScreen() {
    state = PlayerFullScreen;
    SetWindow(0, 0, 800, 480);
}

void CVideoPlayer::Restore() {
    if (state == PlayerFullScreen) state = PlayerPlaying;
    SetWindow(55, 90, 470, 300);
}

void CVideoPlayer::SetWindow(int x, int y, int w, int h) {
    winX = x;
    winY = y;
    winW = w;
    winH = h;
    windowChanged = true;
}

int CVideoPlayer::Length(int value) {
    if (value >= 0) length = value;
    return length;
}

int CVideoPlayer::Position(int value) {
    if (value >= 0) {
        position = value;
        if (position > length) length = position;
        if (position == 0) messageShown = false;
    }
    return position;
}

void CVideoPlayer::Message(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    messageShown = true;
}

void CVideoPlayer::Close() {
    state = PlayerIdle;
    ShellPrint("VID: thread destroying\n");
    length = position = 0;
    fileName[0] = '\0';
}

// ---------------------------------------------------------------- widgets

CButton::CButton(FGDrawBuffer* win, int x0, int y0, const char* file, const char* text)
    : CDraw(win, x0, y0, 0, 0), label(text) {
    picture = std::make_unique<FGBitmap>(file);
    if (picture->width <= 0 || picture->height <= 0) {
        ShellPrint("ENT: picture %s not loaded\n", file);
        picture.reset();
        return;
    }
    halfWidth = picture->width / 2;
    pictureHeight = picture->height;
    w = halfWidth;
    h = pictureHeight;
}

void CButton::Draw() {
    if (!window) return;
    if (picture) window->bitblt(x, y + 2, sourceX, 0, halfWidth, pictureHeight, picture.get());
    KeyedText(window, x + 25, y + 4, label, labelColour);
}

void CButton::Flash() {
    flash = 3;
    sourceX = halfWidth;
    labelColour = Rgb(136, 248, 133);
}

void CButton::Tick() {
    if (flash <= 0) return;
    if (--flash == 0) {
        sourceX = 0;
        labelColour = WhiteColour;
    }
}

void CMode::Layout(int fontId, bool frame) {
    font = fontId;
    frameShown = frame;
    const FGBitmap* pic = EntPictures[EntBlackButton].get();
    const int fw = pic ? pic->width : 190, fh = pic ? pic->height : 50;
    w = fw;
    h = fh;
    textX = (fw - TextWidth(font, label)) / 2;
    textY = (fh - (FGFontManager::is_font(font) ? FGFontManager::get_font_height(font) : 0)) / 2;
}

void CMode::Draw() {
    if (!window) return;
    if (frameShown) {
        FGBitmap* pic = EntPictures[active ? EntBlackButtonActive : EntBlackButton].get();
        if (pic) window->bitblt(x, y, 0, 0, pic->width, pic->height, pic);
    }
    const uint32_t colour = highlighted ? Rgb(140, 200, 255) : active ? Rgb(120, 190, 255) : Rgb(229, 229, 229);
    UseFont(window, font);
    KeyedText(window, x + textX, y + textY, label, colour);
}

void CBar::SetRange(int a, int b) {
    min = std::min(a, b);
    max = std::max(a, b);
    value = std::clamp(value, min, max);
}

void CBar::SetValue(int v) { value = std::clamp(v, min, max); }

int CBar::FilledLength() const {
    // An empty range (an idle player) shows an empty bar.
    if (max <= min || w <= 0) return 0;
    const int64_t filled = (static_cast<int64_t>(value) - min) * w / (static_cast<int64_t>(max) - min);
    return static_cast<int>(std::clamp<int64_t>(filled, 0, w));
}

void CBar::Draw() {
    if (!window || w <= 0 || h <= 0) return;
    const int filled = FilledLength();
    const int upper = (h + 1) / 2;
    if (filled > 0) {
        window->fillbox(x, y, filled, upper, filledLight);
        window->fillbox(x, y + upper, filled, h - upper, filledDark);
    }
    if (filled < w) {
        window->fillbox(x + filled, y, w - filled, upper, emptyLight);
        window->fillbox(x + filled, y + upper, w - filled, h - upper, emptyDark);
    }
}

namespace {

// Tiles a picture from column `from` up to column `to` (bar coordinates) at the picture's height.
void TileRow(FGDrawBuffer* w, FGBitmap* pic, int x, int y, int from, int to) {
    if (!w || !pic || pic->width <= 0) return;
    for (int px = from; px < to; px += pic->width)
        w->bitblt(x + px, y, 0, 0, std::min(pic->width, to - px), pic->height, pic);
}

}  // namespace

void CBmpBar::Draw() {
    if (!window) return;
    const int filled = FilledLength();
    if (filled <= 0) return;
    TileRow(window, pictures[BarFilledLeft], x, y, 0, std::min(capWidth, filled));
    TileRow(window, pictures[BarFilledMiddle], x, y, capWidth, std::min(filled, w - capWidth));
    TileRow(window, pictures[BarFilledRight], x, y, w - capWidth, filled);
}

// ---------------------------------------------------------------- the screen

namespace {

constexpr int ExitArmTicks = 20, HighlightTicks = 20, ArrivalStart = 36000, TrackEnd = 1150;

const char* const ButtonFiles[ButtonCount] = {
    "Data/BtnOpen.bmp", "Data/BtnPlay.bmp", "Data/BtnPause.bmp", "Data/BtnStop.bmp",
    "Data/BtnFrwd.bmp", "Data/BtnBkwd.bmp", "Data/BtnMaximi.bmp", "Data/BtnSelect.bmp",
};
const char* const ButtonLabels[ButtonCount] = {gettext_noop("Open "), gettext_noop("Play "), gettext_noop("Pause "), gettext_noop("Stop "),
                                               gettext_noop("Next "), gettext_noop("Prev "), gettext_noop("Maximize "), gettext_noop("Select ")};
const int ButtonX[ButtonCount] = {15, 130, 130, 250, 590, 470, 590, 700};
constexpr int ButtonY = 456;

const char* const ModeLabels[4] = {gettext_noop("Movie"), gettext_noop("Music"), gettext_noop("Flight Data"), gettext_noop("Exit")};

void Clock(char* out, size_t size, unsigned seconds) {
    std::snprintf(out, size, "%u:%02u", seconds / 60, seconds % 60);
}

}  // namespace

CEntertainer::CEntertainer(FGDrawBuffer* win, CVideoPlayer* videoPlayer)
    : CPanel(win, 0, 0, 800, 480),
      player(videoPlayer),
      volumeBar(win, 595, 360, 190, 10, Rgb(20, 128, 20), Rgb(20, 64, 20), Rgb(123, 80, 64), Rgb(80, 51, 41)),
      positionBar(win, 150, 66, 280, 8),
      browser(win),
      flightTitle(gettext("ENJOY YOUR FLIGHT")),
      flightLabels{gettext("Airspeed :"), gettext("Altitude :"), gettext("Time to arrival :")} {
    for (int i = 0; i < ButtonCount; ++i)
        buttons[i] = std::make_unique<CButton>(win, ButtonX[i], ButtonY, ButtonFiles[i], gettext(ButtonLabels[i]));
    for (int i = 0; i < 4; ++i) {
        modes[i] = std::make_unique<CMode>(win, 595, 48 + 60 * i, gettext(ModeLabels[i]));
        modes[i]->Layout(NominalFont(i == ModeExit ? 25 : 32), true);
    }
    volumeBar.SetRange(0, 100);
    volumeBar.SetValue(player->GetVolume());

    TBrowserStyle style{};
    style.title = gettext("Select video file");
    style.outline = Rgb(255, 255, 255);
    style.background = Rgb(80, 50, 40);
    style.text = Rgb(255, 255, 255);
    style.selectedText = Rgb(50, 255, 50);
    style.selectionFill = Rgb(10, 10, 10);
    browser.SetTitle(style);

    const int big = NominalFont(32);
    titleX = 280 - TextWidth(big, flightTitle) / 2;
    for (int i = 0; i < 3; ++i) labelX[i] = 260 - TextWidth(big, flightLabels[i]);
    mapX = 280 - (EntPictures[EntMap] ? EntPictures[EntMap]->width / 2 : 0);

    SwitchMode(ModeMovie);
    player->HideMessage();
}

bool CEntertainer::ExitOffered() { return DeviceID != DeviceRemoteDisplay; }

bool CEntertainer::ExitAllowed() { return (DeviceID == DeviceRemoteDisplay) == InDemoMode(); }

void CEntertainer::SetHighlight(int entry) {
    highlight = entry;
    if (entry < 0) highlightCountdown = 0;
    for (int i = 0; i < 4; ++i) {
        modes[i]->highlighted = i == entry;
        modes[i]->active = entry < 0 && i == mode;
    }
}

void CEntertainer::CloseBrowser() {
    browser.Close();
    buttons[BtnStop]->SetLabel(gettext("Stop "));
}

void CEntertainer::SwitchMode(int m) {
    CloseBrowser();
    if (m == ModeMovie) pollCountdown = 10;
    if (mode == ModeMovie && m != ModeMovie) player->Stop();
    mode = m;
    SetHighlight(highlight);
}

void CEntertainer::Tick() {
    if (exitArm > 0) --exitArm;
    if (highlightCountdown > 0 && --highlightCountdown == 0) SetHighlight(-1);
    for (const std::unique_ptr<CButton>& b : buttons) b->Tick();
    if (mode == ModeMovie && --pollCountdown <= 0) {
        pollCountdown = 5;
        if (player->state >= PlayerPlaying && browser.visible) CloseBrowser();
    }
    if (--arrivalCountdown <= 0) arrivalCountdown = ArrivalStart;
    if (mode == ModeMusic && ++trackCount > TrackEnd) {
        trackCount = 0;
        trackIndex = (trackIndex + 1) % 4;
    }
}

int CEntertainer::Key(int key) {
    player->HideMessage();
    if (browser.visible) return BrowserKey(key);
    if (mode == ModeMovie) return MovieKey(key);
    return ModeKey(key);
}

int CEntertainer::BrowserKey(int key) {
    switch (key) {
        case KeyLeftPush:
            buttons[BtnOpen]->Flash();
            if (browser.Enter()) {
                player->SetFile(browser.GetSelected());
                CloseBrowser();
                player->Play();
                player->Message("%s", gettext("Wait for start."));
            }
            break;
        case KeySoft2:
            buttons[BtnStop]->Flash();
            CloseBrowser();
            break;
        case KeyLeftTurnRight: browser.Next(); break;
        case KeyLeftTurnLeft: browser.Prev(); break;
        default: break;
    }
    return 0;
}

int CEntertainer::MovieKey(int key) {
    if (player->state == PlayerFullScreen && key != KeyLeftPush) {
        player->Restore();
        return 0;
    }
    switch (key) {
        case KeyLeftPush:
            if (exitArm > 0 && ExitAllowed()) return 1;
            if (player->state == PlayerPlaying || player->state == PlayerPaused) {
                player->Message("%s", gettext("Press Stop"));
            } else {
                buttons[BtnOpen]->Flash();
                buttons[BtnStop]->SetLabel(gettext("Cancel "));
                browser.Open(DiskRootName, "3gp");
            }
            break;
        case KeySoft1:
            if (player->state == PlayerFileSet || player->state == PlayerPaused) {
                buttons[BtnPlay]->Flash();
                player->Play();
            } else if (player->state == PlayerPlaying) {
                buttons[BtnPause]->Flash();
                player->Pause();
            }
            break;
        case KeySoft2:
            CloseBrowser();
            player->Stop();
            buttons[BtnStop]->Flash();
            break;
        case KeySoft4:
            buttons[BtnMaximize]->Flash();
            if (player->state == PlayerPlaying || player->state == PlayerPaused) player->FullScreen();
            break;
        case KeyLeftTurnRight:
        case KeyLeftTurnLeft:
            player->SetVolume(std::clamp(player->GetVolume() + (key == KeyLeftTurnRight ? 10 : -10), 0, 100));
            volumeBar.SetValue(player->GetVolume());
            break;
        default:
            return ModeKey(key);
    }
    exitArm = 0;
    return 0;
}

int CEntertainer::ModeKey(int key) {
    if (key == KeyRightPush) {
        exitArm = ExitArmTicks;
        if (highlight >= 0) {
            buttons[BtnSelect]->Flash();
            if (highlight == ModeExit) return 1;
            SwitchMode(highlight);
            SetHighlight(-1);
        }
        return 0;
    }
    const bool armed = exitArm > 0;
    exitArm = 0;
    if (key == KeyRightTurnLeft || key == KeyRightTurnRight) {
        const int top = ExitOffered() ? ModeExit : ModeFlightData;
        int h = (highlight < 0 ? mode : highlight) + (key == KeyRightTurnLeft ? -1 : 1);
        if (h < 0) h = top;
        if (h > top) h = 0;
        SetHighlight(h);
        highlightCountdown = HighlightTicks;
    } else if (key == KeyLeftPush && armed && ExitAllowed()) {
        return 1;
    }
    return 0;
}

// ---------------------------------------------------------------- drawing

void CEntertainer::Draw() {
    FGDrawBuffer* win = window;
    if (!win) return;
    if (player->state == PlayerFullScreen) {
        win->fillbox(x, y, w, h, 0);
    } else {
        FGGradient band(FGColor(0, 0, 0), FGColor(91, 58, 47));
        const FGRect bottom{0, 456, 580, 24}, right{580, 100, 220, 380};
        band.draw(win, FGPoint{0, 456}, FGPoint{0, 480}, &bottom);
        band.draw(win, FGPoint{0, 100}, FGPoint{0, 480}, &right);
        UseFont(win, NominalFont(16));
        if (mode == ModeMovie) DrawMovie();
        else if (mode == ModeMusic) DrawMusic();
        else DrawFlightData();
        UseFont(win, NominalFont(16));
        buttons[BtnSelect]->Draw();
        for (int i = 0; i < 4; ++i)
            if (i != ModeExit || ExitOffered()) modes[i]->Draw();
    }
    browser.Draw();
    if (InDemoMode()) {
        const int font = NominalFont(14);
        UseFont(win, font);
        const char* demo = gettext("DEMO MODE");
        const unsigned saved = win->get_mode();
        win->set_mode(DrawModeCopy);
        win->text(400 - TextWidth(font, demo) / 2, 468, demo, Rgb(248, 0, 0), 0);
        win->set_mode(saved);
    }
}

void CEntertainer::PlacePositionBar(int bx, int by, int bw, int max, int value) {
    // The pictures belong to the main window and may be loaded again while the screen lives.
    positionBar.pictures[BarFilledLeft] = EntPictures[EntBarLeft].get();
    positionBar.pictures[BarFilledMiddle] = EntPictures[EntBarMidle].get();
    positionBar.pictures[BarFilledRight] = EntPictures[EntBarRight].get();
    positionBar.capWidth = EntPictures[EntBarLeft] ? EntPictures[EntBarLeft]->width : 4;
    positionBar.x = bx;
    positionBar.y = by;
    positionBar.w = bw;
    positionBar.h = 8;
    positionBar.SetRange(0, max);
    positionBar.SetValue(value);
    positionBar.Draw();
}

void CEntertainer::DrawMovie() {
    FGDrawBuffer* win = window;
    if (FGBitmap* up = EntPictures[EntVideoUpper].get()) win->bitblt(50, 48, 0, 0, up->width, up->height, up);
    if (FGBitmap* low = EntPictures[EntVideoLower].get()) win->bitblt(50, 384, 0, 0, low->width, low->height, low);
    PlacePositionBar(150, 66, 280, player->length, player->position);
    char text[32];
    const unsigned length = static_cast<unsigned>(std::max(player->length, 0));
    const unsigned position = std::min(static_cast<unsigned>(std::max(player->position, 0)), length);
    Clock(text, sizeof text, position);
    KeyedText(win, 105, 63, text, WhiteColour);
    Clock(text, sizeof text, length - position);
    KeyedText(win, 450, 63, text, WhiteColour);
    win->box(54, 89, 472, 302, Rgb(8, 8, 8));
    win->fillbox(55, 90, 470, 300, 0);
    buttons[BtnOpen]->Draw();
    buttons[BtnStop]->Draw();
    if (!browser.visible) {
        if (player->state == PlayerPlaying) {
            buttons[BtnPause]->Draw();
            buttons[BtnMaximize]->Draw();
        } else {
            buttons[BtnPlay]->Draw();
        }
    }
    if (player->messageShown) KeyedText(win, 15, 410, player->message, Rgb(196, 0, 0));
    if (!InDemoMode()) KeyedText(win, 15, 430, player->fileName, WhiteColour);
}

void CEntertainer::DrawMusic() {
    FGDrawBuffer* win = window;
    if (FGBitmap* up = EntPictures[EntAudioUpper].get()) {
        win->bitblt(130, 100, 0, 0, up->width, up->height, up);
        win->bitblt(130, 250, 0, 0, up->width, up->height, up);
    }
    if (FGBitmap* mid = EntPictures[EntAudioMidle].get()) win->bitblt(130, 150, 0, 0, mid->width, mid->height, mid);
    PlacePositionBar(174, 175, 230, TrackEnd, trackCount);
    KeyedText(win, 240, 104, EntTrackTitles[trackIndex & 3], WhiteColour);
    char text[48];
    const unsigned count = static_cast<unsigned>(std::max(trackCount, 0));
    std::snprintf(text, sizeof text, "%u:%02u", count / 300, (count / 5) % 60);
    KeyedText(win, 137, 170, text, WhiteColour);
    Clock(text, sizeof text, count / 5 < 230 ? 230 - count / 5 : 0);
    KeyedText(win, 415, 170, text, WhiteColour);
    std::snprintf(text, sizeof text, gettext("%u of 4"), static_cast<unsigned>(trackIndex + 1));
    KeyedText(win, 260, 190, text, WhiteColour);
    buttons[BtnOpen]->Draw();
    buttons[BtnStop]->Draw();
    if (!browser.visible) buttons[player->state == PlayerPlaying ? BtnPause : BtnPlay]->Draw();
    buttons[BtnNext]->Draw();
    buttons[BtnPrev]->Draw();
}

void CEntertainer::DrawFlightData() {
    FGDrawBuffer* win = window;
    UseFont(win, NominalFont(32));
    KeyedText(win, titleX, 30, flightTitle, Rgb(255, 108, 182));
    const uint32_t valueColour = Rgb(6, 196, 236);
    char text[64];
    for (int i = 0; i < 3; ++i) KeyedText(win, labelX[i], 100 + 50 * i, flightLabels[i], WhiteColour);
    int32_t v = 0;
    if (AverReader && AverReader->GetValue(echSpeedIas, v) == 0)
        std::snprintf(text, sizeof text, "%i %s", static_cast<int>(v / 10), gettext("km/h"));
    else
        std::snprintf(text, sizeof text, "%s", noData);
    KeyedText(win, 280, 100, text, valueColour);
    if (AverReader && AverReader->GetValue(echAltitudeQNH, v) == 0)
        std::snprintf(text, sizeof text, "%i %s", static_cast<int>(v), gettext("m"));
    else
        std::snprintf(text, sizeof text, "%s", noData);
    KeyedText(win, 280, 150, text, valueColour);
    const unsigned t = static_cast<unsigned>(std::max(arrivalCountdown, 0)) / 5;
    std::snprintf(text, sizeof text, "%u:%02u %s", t / 3600, (t % 3600) / 60, gettext("hours"));
    KeyedText(win, 280, 200, text, valueColour);
    if (FGBitmap* map = EntPictures[EntMap].get()) win->bitblt(mapX, 250, 0, 0, map->width, map->height, map);
}

}  // namespace NEnt

// ---------------------------------------------------------------- pictures and lifetime

std::unique_ptr<FGBitmap> EntPictures[EntPictureCount];

const char* const EntTrackTitles[4] = {"   Bye Bye Love   ", "    Radio Ga Ga   ", "      Ghetto      ",
                                       " Stars fall down  "};

namespace {

const char* const EntPictureFiles[EntPictureCount] = {
    "Data/VerBar3d-Red.tga",    "Data/VerBar3d-Green.tga", "Data/VerBar3d-Yellow.tga", "Data/VerBar3d-White.tga",
    "Data/VerBar3d-GreenWhite.tga", "Data/VerBar3d-Gray.tga", "Data/HorBarT3d-Gray.tga", "Data/EntBlackButton.tga",
    "Data/EntBlackButton.tga",  "Data/EntBarLeft.tga",     "Data/EntBarMidle.tga",     "Data/EntBarRight.tga",
    "Data/EntVideoUpper.tga",   "Data/EntVideoLower.tga",  "Data/EntAudioUpper.bmp",   "Data/EntAudioMidle.bmp",
    "Data/EntMap.gif",
};
constexpr int FirstToolkitPicture = EntAudioUpper;

std::unique_ptr<NEnt::CEntertainer> Instance;

bool ReadAll(int fd, uint8_t* out, size_t n) {
    while (n > 0) {
        const ssize_t got = read(fd, out, n);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        out += got;
        n -= static_cast<size_t>(got);
    }
    return true;
}

// `whole`: a file cut short is refused, not shown in part.
std::unique_ptr<FGBitmap> LoadByToolkit(const char* path, const char* failure, bool whole = false) {
    auto pic = std::make_unique<FGBitmap>(0, 0, 0);
    const int rc = pic->load(path);
    if (pic->width > 0 && pic->height > 0 && (!whole || rc == FG_BITMAP_OK)) return pic;
    ShellPrint(failure, path);
    return nullptr;
}

}  // namespace

bool LoadTgaPicture(std::unique_ptr<FGBitmap>& slot, const char* path) {
    slot.reset();
    if (!path) return false;
    uint8_t head[18];
    {
        UniqueFd file(open(path, O_RDONLY | O_CLOEXEC));
        if (!file.valid()) {
            ShellPrint("TGA file %s can not be open %u\n", path, static_cast<unsigned>(errno));
            return false;
        }
        if (!ReadAll(file.get(), head, sizeof head)) {
            ShellPrint("TGA file %s can not read header\n", path);
            return false;
        }
    }
    // A plain 24-bit picture keys its (240, 0, 240); the toolkit decodes every kind.
    const bool plain = head[2] == 2 && head[16] == 24 && head[1] == 0;
    const int width = head[12] | (head[13] << 8), height = head[14] | (head[15] << 8);
    if (plain && (width <= 0 || height <= 0 || width > FG_BITMAP_MAX_SIDE || height > FG_BITMAP_MAX_SIDE ||
                  static_cast<int64_t>(width) * height > FG_BITMAP_MAX_PIXELS)) {
        ShellPrint("TGA bitmap %s can not be created 2\n", path);
        return false;
    }
    std::unique_ptr<FGBitmap> pic =
        LoadByToolkit(path, plain ? "TGA bitmap %s read error\n" : "TGA bitmap %s can not be created 1\n", plain);
    if (!pic) return false;
    if (plain) {
        const size_t count = static_cast<size_t>(pic->width) * static_cast<size_t>(pic->height);
        for (size_t i = 0; i < count; ++i)
            if (pic->pixels[i] == Rgb(240, 0, 240)) pic->pixels[i] = PageKeyColour;
    }
    pic->set_paper(PageKeyColour);
    pic->set_colorkey(PageKeyColour);
    slot = std::move(pic);
    return true;
}

void LoadEntertainerImages() {
    for (int i = 0; i < EntPictureCount; ++i) {
        if (i < FirstToolkitPicture)
            LoadTgaPicture(EntPictures[i], EntPictureFiles[i]);
        else
            EntPictures[i] = LoadByToolkit(EntPictureFiles[i], "TGA bitmap %s can not be created 1\n");
    }
    PicBarHorizontal = EntPictures[EntHorBarGray].get();
    PicBarVertical = EntPictures[EntVerBarGray].get();
}

void FreeEntertainerImages() {
    PicBarHorizontal = PicBarVertical = nullptr;
    for (std::unique_ptr<FGBitmap>& pic : EntPictures) pic.reset();
}

NEnt::CEntertainer* TheEntertainer() { return Instance.get(); }

namespace {

void TickEntertainer() {
    if (Instance) Instance->Tick();
}

}  // namespace

bool CreateEntertainer(FGDrawBuffer* window) {
    if (Instance) return true;
    if (!window) return false;
    Instance = std::make_unique<NEnt::CEntertainer>(window, &NEnt::VideoPlayer);
    Entertainer = Instance.get();
    RefreshHooks.EntertainerTick = TickEntertainer;
    return true;
}

void DestroyEntertainer() {
    if (!Instance) return;
    NEnt::VideoPlayer.Close();
    std::unique_ptr<NEnt::CEntertainer> gone = std::move(Instance);
    Entertainer = nullptr;
    RefreshHooks.EntertainerTick = nullptr;
    gone.reset();
    SetTimerPeriod();
}
