// The bezel window of the bench program: a picture of the instrument's bezel with ten
// buttons around the screen opening, over which the display program's window is kept.
// Button presses go to the display window as key characters.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "bezelkeys.h"
#include "window.h"

class TMeassure;
struct TMeassurePorts;
class TSpeedButton;
class Fl_Double_Window;
class Fl_Group;
class Fl_Box;
class Fl_Check_Button;
class Fl_Menu_Button;

// ---- geometry, shared with the bezel picture generator (client pixels of the form) ----
constexpr int FormWidth = 958;
constexpr int FormHeight = 748;
constexpr int Panel1Height = 140;
// The display program's 800 x 600 window lies at form + (78, 22); its 800 x 480 page
// starts 60 pixels down in it.
constexpr int DisplayOffsetX = 78;
constexpr int DisplayOffsetY = 22;
constexpr int DisplayWindowWidth = 800;
constexpr int DisplayWindowHeight = 600;
constexpr int DisplayPageTop = 60;
constexpr int DisplayPageHeight = 480;

struct TBezelPicture {
    const char* file;  // relative to the working directory
    int x, y, w, h;
};
// Image1 (the bezel), Image2 and Image3 (the side strips beside the screen opening).
constexpr TBezelPicture BezelPictures[3] = {
    {"Data/bezel.bmp", 0, -17, FormWidth, FormHeight + 17},
    {"Data/bezel_left.bmp", 55, 46, 20, 540},
    {"Data/bezel_right.bmp", 875, 46, 28, 540},
};

struct TBezelButton {
    const char* hint;  // "" for none
    char character;    // posted to the display window
    int repeat;        // repeat counter of a turn button, -1 for a click button
    int x, y, w, h;
};
// Each key sits under the caption that the display draws for it in its six-key row: the
// captions stand centred at page x 55 ('0'), 169, 289, 509, 629 ('2' to '5') and 744 ('1'),
// form x + 78. Knobs centred at (133, 680) and (822, 680): the ring's halves turn, the cap pushes.
constexpr int KnobCentreY = 680;
constexpr int KnobCentreX[2] = {133, 822};
constexpr int KnobRingRadius = 46;
constexpr int KnobCapRadius = 24;
constexpr TBezelButton BezelButtons[10] = {
    {"Push", KeyLeftPush, -1, 109, 656, 48, 48},             // SpeedButton1
    {"Turn left", KeyLeftTurnLeft, 0, 87, 634, 22, 92},      // SpeedButton2
    {"Turn right", KeyLeftTurnRight, 1, 157, 634, 22, 92},   // SpeedButton3
    {"Push", KeyRightPush, -1, 798, 656, 48, 48},            // SpeedButton4
    {"Turn left", KeyRightTurnLeft, 2, 776, 634, 22, 92},    // SpeedButton5
    {"Turn right", KeyRightTurnRight, 3, 846, 634, 22, 92},  // SpeedButton6
    {"", KeySoft1, -1, 197, 652, 100, 56},                   // SpeedButton7: soft key 1
    {"", KeySoft2, -1, 317, 652, 100, 56},                   // SpeedButton8
    {"", KeySoft3, -1, 537, 652, 100, 56},                   // SpeedButton9
    {"", KeySoft4, -1, 657, 652, 100, 56},                   // SpeedButton10
};

// ---- texts ----
extern const char FormCaption[];
extern const char MsgScreenTooLow[];
extern const char MsgGuiNotInitialised[];
extern const char MsgGuiNotRunning[];
extern const char DisplayCaption[];     // "Velvix"
extern const char DisplayCaptionOld[];  // "Efis Skyvane Demo"

// Shows a message to the user; a box that waits for OK unless replaced (tests replace it).
typedef void (*TShowMessage)(const char* text);
extern TShowMessage ShowMessage;
void MessageBoxShow(const char* text);

// ---- program-wide state ----
extern TWindowId DisplayWindow;             // 0 when unknown
extern int MeassureMode;                    // MeassureModeLoop, MeassureModeFdm or MeassureModeNone
extern std::unique_ptr<TMeassure> Meassure;  // the running data-source thread
extern int RepeatCount[4];                  // per turn button; 0 = not held
extern int BackgroundFlag;                  // 1: the display was last placed as not topmost
extern TMeassurePorts MeassurePorts;        // ports of the data-source threads
// Where the display program and the outside tools are looked for; "" = the directory of
// this program's executable.
extern std::string ProgramDir;
std::string ProgramPath(const char* program);

// 'O' for the recorded flight and for no data, 'o' for the simulator.
char ModeCharacter(int mode);

// ---- the bezel's logic, apart from any window ----
// Root position of the display window for the form's client origin at (formX, formY).
void DisplayPlace(int formX, int formY, int* x, int* y);
// One tick of a turn button's repeat counter (0 = not held): true when the character is due.
bool RepeatTick(int* count);
// What a tick does to the window order, given who holds the input focus.
enum {
    OrderKeep = 0,          // nothing to do
    OrderBehind = 1,        // another program came to the front: the display drops back
    OrderFormFirst = 2,     // the display came to the front: raise the bezel, then the display
    OrderDisplayOnTop = 3,  // the bezel came to the front: raise the display over it
};
int WindowOrder(bool formInFront, bool displayInFront, int* backgroundFlag);

// Start-up check: 0 when the screen is large enough, else -1 after the message.
int ScreenCheck(int width, int height);

// Brings the window with `caption` to the front, starting `program` from ProgramDir first
// when none exists. 0, or -1 after a message.
int BringOutsideTool(const char* caption, const char* program);

class TForm1 {
public:
    TForm1();
    ~TForm1();  // FormDestroy
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    void FormCreate();
    void FormDestroy();
    void Show();
    // Ends the application: the run loop stops at its next turn.
    void Terminate();

    void SpeedButton8Click(TSpeedButton* sender);
    void SpeedButton6MouseDown(TSpeedButton* sender);
    void SpeedButton6MouseUp(TSpeedButton* sender);
    void Demoloop1Click(int tag);
    void Measuresimulator1Click();
    void Checklistsetting1Click();
    void WMMove();
    void FormShow();  // the form came on the screen
    void Timer1Timer();
    int RestartMeassure();

    void SetTimer1Enabled(bool enabled);
    bool Timer1Enabled() const { return timer1Enabled_; }
    bool Terminated() const { return terminated_; }
    // The checked item of the source submenu (its tag), -1 when none.
    int CheckedSource() const;

    Fl_Double_Window* Form = nullptr;  // the window (owned by this object)
    Fl_Group* Panel1 = nullptr;
    Fl_Box* Image1 = nullptr;
    Fl_Box* Image2 = nullptr;
    Fl_Box* Image3 = nullptr;
    TSpeedButton* SpeedButton[10] = {};  // SpeedButton1 .. SpeedButton10
    Fl_Check_Button* CheckBox1 = nullptr;
    Fl_Menu_Button* PopupMenu1 = nullptr;

    // The tick rests while nothing on the screen, no held button and no notice needs it;
    // this brings it back after `delay` seconds.
    void WakeTimer1(double delay);

private:
    static void Timer1Callback(void* data);
    static void LinkReadable(int fd, void* data);
    static void LinkQueued(void* data);
    static int BezelRestacked(void* event, void* data);
    enum { PlaceKeepOrder = 0, PlaceTopmost = 1, PlaceNotTopmost = 2 };
    // Moves the display window over the screen opening and keeps it over the bezel.
    void PlaceDisplay(int order);
    // Keeps the display window over the bezel; topmost or not as `order` asks.
    void KeepDisplayOver(int order);
    // Keeps an open message box over the display window.
    void KeepMessageOver();
    // The bezel's X window, 0 while it is not shown.
    TWindowId FormWindow() const;
    // Checks the source item of `tag` alone.
    void CheckSource(int tag);
    bool timer1Enabled_ = false;
    bool resting_ = false;  // enabled, but nothing has woken it since it found nothing to do
    bool busy_ = true;      // the last tick left something for the next
    int linkFd_ = -1;       // the window layer's connection, watched while the tick rests
    bool terminated_ = false;
    bool destroyed_ = false;
    TWindowId foreground_ = 0;  // as last asked
};

extern TForm1* Form1;

// SIGINT, SIGTERM and SIGHUP end the run loop as closing the bezel does (0, or -1 when
// no pipe can be made); Remove puts the default actions back.
int BenchSignalsInstall();
void BenchSignalsRemove();

// The program: screen check, the form, the run loop, clean-up. The exit code.
int BenchdeskMain();
