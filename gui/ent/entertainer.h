// The entertainment screen: a full-window panel for passengers with a movie page (a
// player front end with the file browser), a music page with a simulated track list and
// a flight-data page. One instance at most; the shell draws, ticks and feeds it while it
// exists (Entertainer in shellstate.h).
#pragma once

#include <cstdint>
#include <memory>

#include "drawbase.h"
#include "filebrowser.h"

class FGBitmap;
class FGWindow;

namespace NEnt {

// Player states.
enum { PlayerIdle = 0, PlayerFileSet = 1, PlayerPlaying = 2, PlayerPaused = 3, PlayerFullScreen = 4 };

// The front end's player: it holds the state and the video window; nothing here
// decodes or plays media.
class CVideoPlayer {
public:
    int handle = -1;
    char fileName[DiskPathSize] = {};  // whole: a cut path would name another file
    int volume = 80;
    bool windowChanged = false;
    int winX = 0, winY = 1, winW = 480, winH = 320;
    int length = 0;
    int position = 0;
    int state = PlayerIdle;
    bool messageShown = false;
    char message[255] = {};

    void SetFile(const char* path, const char* altPath = nullptr);
    void Play();
    void Pause();
    void Stop();
    void FullScreen();
    void Restore();
    void SetWindow(int x, int y, int w, int h);
    void SetVolume(int v) { volume = v; }
    int GetVolume() const { return volume; }
    int Length(int value = -1);
    int Position(int value = -1);
    void Message(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void HideMessage() { messageShown = false; }
    void Close();
};

class CButton : public CDraw {
public:
    std::unique_ptr<FGBitmap> picture;
    const char* label = "";
    int flash = 0;
    int halfWidth = 0;
    int pictureHeight = 0;
    int sourceX = 0;
    uint32_t labelColour = 0xFFFFFF;

    CButton(FGDrawBuffer* win, int x0, int y0, const char* file, const char* text);
    void Draw() override;
    void Flash();
    void Tick();
    void SetLabel(const char* text) { label = text; }
};

class CMode : public CDraw {
public:
    const char* label = "";
    bool frameShown = true;
    bool active = false;
    bool highlighted = false;
    int markX = 0, markY = 0;
    int textX = 0, textY = 0;
    int font = -1;

    CMode(FGDrawBuffer* win, int x0, int y0, const char* text) : CDraw(win, x0, y0, 0, 0), label(text) {}
    void Layout(int fontId, bool frame);
    void Draw() override;
};

class CBar : public CDraw {
public:
    uint32_t filledLight, filledDark, emptyLight, emptyDark;
    int spare = 10;
    int min = 0, max = 100, value = 0;

    CBar(FGDrawBuffer* win, int x0, int y0, int w0, int h0, uint32_t fl, uint32_t fd, uint32_t el, uint32_t ed)
        : CDraw(win, x0, y0, w0, h0), filledLight(fl), filledDark(fd), emptyLight(el), emptyDark(ed) {}
    void SetRange(int a, int b);
    void SetValue(int v);
    void Draw() override;
    // Filled length in pixels: 0 while the range is empty.
    int FilledLength() const;
};

// Picture slots of the bitmap bar.
enum { BarEmptyLeft, BarFilledLeft, BarEmptyRight, BarFilledRight, BarEmptyMiddle, BarFilledMiddle, BarSlots };

class CBmpBar : public CBar {
public:
    FGBitmap* pictures[BarSlots] = {};
    int capWidth = 4;

    CBmpBar(FGDrawBuffer* win, int x0, int y0, int w0, int h0) : CBar(win, x0, y0, w0, h0, 0, 0, 0, 0) {}
    void Draw() override;
};

// Modes of the screen.
enum { ModeMovie = 0, ModeMusic = 1, ModeFlightData = 2, ModeExit = 3 };
enum { BtnOpen, BtnPlay, BtnPause, BtnStop, BtnNext, BtnPrev, BtnMaximize, BtnSelect, ButtonCount };

class CEntertainer : public CPanel {
public:
    CVideoPlayer* player;
    std::unique_ptr<CButton> buttons[ButtonCount];
    std::unique_ptr<CMode> modes[4];
    CBar volumeBar;
    CBmpBar positionBar;
    CFileBrowser browser;
    const char* flightTitle;
    const char* flightLabels[3];
    int titleX = 0;
    int labelX[3] = {};
    int mapX = 0;
    const char* noData = "----";
    int arrivalCountdown = 36000;
    int trackCount = 0;
    int trackIndex = 0;
    int mode = ModeMovie;
    int highlight = -1;
    int highlightCountdown = 0;
    int pollCountdown = 0;
    int exitArm = 0;

    CEntertainer(FGDrawBuffer* win, CVideoPlayer* videoPlayer);
    void Draw() override;
    void Tick() override;
    int Key(int key) override;
    void Spare() override {}

    void SwitchMode(int m);
    void SetHighlight(int entry);
    // Exit is offered (drawn and reachable) on every model but 31.
    static bool ExitOffered();
    static bool ExitAllowed();

private:
    int BrowserKey(int key);
    // Closes the browser; the Stop button reads "Stop " again.
    void CloseBrowser();
    int MovieKey(int key);
    int ModeKey(int key);
    void PlacePositionBar(int bx, int by, int bw, int max, int value);
    void DrawMovie();
    void DrawMusic();
    void DrawFlightData();
};

// The global player of the display program.
extern CVideoPlayer VideoPlayer;

}  // namespace NEnt

// Picture slots that LoadEntertainerImages fills (null when a file is missing).
enum TEntPicture {
    EntVerBarRed, EntVerBarGreen, EntVerBarYellow, EntVerBarWhite, EntVerBarGreenWhite, EntVerBarGray,
    EntHorBarGray, EntBlackButtonActive, EntBlackButton, EntBarLeft, EntBarMidle, EntBarRight,
    EntVideoUpper, EntVideoLower, EntAudioUpper, EntAudioMidle, EntMap, EntPictureCount
};
extern std::unique_ptr<FGBitmap> EntPictures[EntPictureCount];

// Music track titles.
extern const char* const EntTrackTitles[4];

bool CreateEntertainer(FGDrawBuffer* window);
void DestroyEntertainer();
void LoadEntertainerImages();
void FreeEntertainerImages();
// A 24-bit TGA read directly (colour (240, 0, 240) keyed); any other picture through
// the toolkit's loader. The slot is replaced; true on success.
bool LoadTgaPicture(std::unique_ptr<FGBitmap>& slot, const char* path);
// The open screen (null when none).
NEnt::CEntertainer* TheEntertainer();

// Fills the shell's link entries of the entertainment screen.
void InstallEntLinks();
