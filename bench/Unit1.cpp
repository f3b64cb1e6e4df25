#include "Unit1.h"

#include <FL/Fl.H>
#include <FL/Fl_BMP_Image.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Menu_Button.H>
#include <FL/Fl_Tooltip.H>
#include <FL/fl_ask.H>
#include <FL/fl_draw.H>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstdio>
#include <cstring>

#include "Threadmeassure.h"
#include "process.h"
#include "readfile.h"
#include "trace.h"
#include "window.h"
// Last: Xlib's macros clash with names in the headers above.
#include <FL/x.H>

// Fontconfig (under the form library's fonts) keeps its caches for the life of the process
// and cannot be finalised while fonts are open: its blocks are not our leaks.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

const char FormCaption[] = "Harrowick - EFIS Skyvane DEMO";
const char MsgScreenTooLow[] =
    "Screen resolution is too low.\r\nMinimum supported screen resolution is 1024x768.\r\n"
    "Recomemded screen resolution is 1280x1024.";
const char MsgGuiNotInitialised[] = "GUI not initialised. Please reinstall!";
const char MsgGuiNotRunning[] = "GUI not running. Program shutdown.";
const char DisplayCaption[] = "Velvix";
const char DisplayCaptionOld[] = "Efis Skyvane Demo";

namespace {

const char DisplayProgram[] = "dashview";
const char SimulatorCaption[] = "Measure Simulation";
const char SimulatorProgram[] = "probeforge";
const char ChecklistCaption[] = "Checklist setting";
const char ChecklistProgram[] = "listkeeper";
const char SourceMenuPath[] = "Measured &Data source/";
const char* const SourceItems[3] = {"Demo internal loop", "Connect to FlightGear", "No data"};

std::string SourceItemPath(int tag) { return std::string(SourceMenuPath) + SourceItems[tag]; }

constexpr double Timer1Interval = 0.1;
constexpr int RepeatStart = 7;  // ticks after the press before a held turn button repeats
constexpr int DisplayPollsMax = 1000;  // 10 s

// The thread polls its flag: it is told to stop and awaited, never killed.
void StopMeassure() {
    if (!Meassure) return;
    Meassure->Terminate();
    Meassure->WaitFor();
    SleepMs(50);
    Meassure.reset();
}

// Finds the display window by either caption; 0 when neither exists.
TWindowId FindDisplay() {
    TWindowId id = 0;
    if (WindowFind(DisplayCaption, &id) == WINDOW_OK) return id;
    if (WindowFind(DisplayCaptionOld, &id) == WINDOW_OK) return id;
    return 0;
}

void PostCharacter(char character) {
    if (DisplayWindow) WindowSendChar(DisplayWindow, static_cast<unsigned char>(character));
}

// Why the recorded flight cannot be replayed; "" when it can be read.
std::string LoopFileFailure(const char* name) {
    std::FILE* f = OpenStreamForReading(name);
    if (f) {
        std::fclose(f);
        return std::string();
    }
    return std::string("Cannot read the recorded flight \"") + name + "\": " + std::strerror(errno) +
           ".\r\nNo data is shown.";
}

std::string StartFailureText(const std::string& path, int code) {
    return "Cannot start \"" + path + "\": " + ProcessErrorText(code) + ".";
}

// Asking the window manager to activate another program's window.
void ActivateWindow(TWindowId id) {
    if (!fl_display || !id || !WindowExists(id)) return;
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = id;
    ev.xclient.message_type = XInternAtom(fl_display, "_NET_ACTIVE_WINDOW", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = 1;  // a request from an application
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(fl_display, DefaultRootWindow(fl_display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &ev);
    XRaiseWindow(fl_display, id);  // what happens without a window manager
    XFlush(fl_display);
}

}  // namespace

// ---- the form's widgets ----

class TFormWindow : public Fl_Double_Window {
public:
    TFormWindow(TForm1* owner, int w, int h, const char* caption)
        : Fl_Double_Window(w, h, caption), owner_(owner) {}

    void resize(int x, int y, int w, int h) override {
        const bool moved = x != this->x() || y != this->y();
        Fl_Double_Window::resize(x, y, w, h);
        if (moved && shown()) owner_->WMMove();
    }

    int handle(int event) override {
        // Mapping comes with the first position from the server.
        if (event == FL_SHOW && !parent()) {
            const int rc = Fl_Double_Window::handle(event);
            owner_->FormShow();
            return rc;
        }
        return Fl_Double_Window::handle(event);
    }

    TForm1* Owner() const { return owner_; }

private:
    TForm1* owner_;
};

// A flat button over its picture in the bezel; pressed, it is outlined.
class TSpeedButton : public Fl_Widget {
public:
    typedef void (TForm1::*THandler)(TSpeedButton*);

    TSpeedButton(TForm1* owner, const TBezelButton& spec)
        : Fl_Widget(spec.x, spec.y, spec.w, spec.h), Spec(spec),
          owner_(owner) {
        box(FL_NO_BOX);
        clear_visible_focus();
        if (*spec.hint) tooltip(spec.hint);
    }

    const TBezelButton& Spec;
    THandler OnClick = nullptr;
    THandler OnMouseDown = nullptr;
    THandler OnMouseUp = nullptr;
    bool Down = false;

    int handle(int event) override {
        switch (event) {
        case FL_ENTER:
        case FL_LEAVE:
        case FL_MOVE:
            return 1;
        case FL_PUSH:
            if (Fl::event_button() != FL_LEFT_MOUSE) return 0;
            SetDown(true);
            if (OnMouseDown) (owner_->*OnMouseDown)(this);
            return 1;
        case FL_DRAG:
            return Down ? 1 : 0;
        case FL_RELEASE:
            if (!Down) return 0;
            SetDown(false);
            if (OnMouseUp) (owner_->*OnMouseUp)(this);
            if (OnClick && Fl::event_inside(this)) (owner_->*OnClick)(this);
            return 1;
        default:
            return Fl_Widget::handle(event);
        }
    }

    void draw() override {
        if (!Down) return;
        fl_color(fl_rgb_color(250, 214, 90));
        fl_rect(x(), y(), w(), h());
        fl_rect(x() + 1, y() + 1, w() - 2, h() - 2);
    }

private:
    void SetDown(bool down) {
        Down = down;
        // No box of its own: the picture under it is drawn again with it.
        if (window()) window()->damage(FL_DAMAGE_ALL, x(), y(), w(), h());
    }
    TForm1* owner_;
};

// ---- program-wide state ----

TShowMessage ShowMessage = MessageBoxShow;
TWindowId DisplayWindow = 0;
int MeassureMode = MeassureModeLoop;
std::unique_ptr<TMeassure> Meassure;
int RepeatCount[4] = {0, 0, 0, 0};
int BackgroundFlag = 1;
TMeassurePorts MeassurePorts;
std::string ProgramDir;
TForm1* Form1 = nullptr;

void MessageBoxShow(const char* text) {
    // FLTK draws control characters as ^M: the line breaks become plain newlines.
    std::string shown;
    for (const char* p = text; *p; ++p)
        if (*p != '\r') shown += *p;
    fl_message_title(FormCaption);
    fl_alert("%s", shown.c_str());
}

std::string ProgramPath(const char* program) {
    const std::string dir = ProgramDir.empty() ? ProcessOwnDirectory() : ProgramDir;
    return dir.empty() ? std::string(program) : dir + "/" + program;
}

char ModeCharacter(int mode) { return mode == MeassureModeFdm ? 'o' : 'O'; }

void DisplayPlace(int formX, int formY, int* x, int* y) {
    *x = formX + DisplayOffsetX;
    *y = formY + DisplayOffsetY;
}

bool RepeatTick(int* count) {
    if (*count <= 0) return false;
    if (*count < RepeatStart) {
        ++*count;
        return false;
    }
    return true;
}

int WindowOrder(bool formInFront, bool displayInFront, int* backgroundFlag) {
    if (!formInFront && !displayInFront) {
        const int action = *backgroundFlag ? OrderKeep : OrderBehind;
        *backgroundFlag = 1;
        return action;
    }
    if (!*backgroundFlag) return OrderKeep;
    *backgroundFlag = 0;
    return displayInFront ? OrderFormFirst : OrderDisplayOnTop;
}

int ScreenCheck(int width, int height) {
    if (width >= 1024 && height >= 768) return 0;
    ShowMessage(MsgScreenTooLow);
    return -1;
}

int BringOutsideTool(const char* caption, const char* program) {
    TWindowId id = 0;
    if (WindowFind(caption, &id) != WINDOW_OK) {
        const std::string path = ProgramPath(program);
        const int rc = ProcessStart(path.c_str(), nullptr, nullptr, nullptr);
        if (rc != PROCESS_OK) {
            ShowMessage(StartFailureText(path, rc).c_str());
            return -1;
        }
        SleepMs(500);
        WindowFind(caption, &id);
    }
    if (id) ActivateWindow(id);
    return 0;
}

// ---- the form ----

namespace {

void MenuSourceCallback(Fl_Widget*, void* tag) {
    if (Form1) Form1->Demoloop1Click(static_cast<int>(reinterpret_cast<intptr_t>(tag)));
}
void MenuSimulatorCallback(Fl_Widget*, void*) {
    if (Form1) Form1->Measuresimulator1Click();
}
void MenuChecklistCallback(Fl_Widget*, void*) {
    if (Form1) Form1->Checklistsetting1Click();
}

// Closing by the window manager ends the program; Escape does not.
void FormCloseCallback(Fl_Widget* w, void*) {
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
    static_cast<TFormWindow*>(w)->Owner()->Terminate();
}

// The form's popup menu opens at the pointer with no item chosen beforehand: the form
// library would put the last choice under the pointer, opening its submenu over the menu
// and pushing the menu off the bezel.
class TPopupMenu : public Fl_Menu_Button {
public:
    TPopupMenu(int x, int y, int w, int h) : Fl_Menu_Button(x, y, w, h) {}
    int handle(int event) override {
        if (event == FL_PUSH) value(static_cast<const Fl_Menu_Item*>(nullptr));
        return Fl_Menu_Button::handle(event);
    }
};

Fl_Box* PictureBox(const TBezelPicture& pic) {
    Fl_Box* box = new Fl_Box(pic.x, pic.y, pic.w, pic.h);
    box->box(FL_NO_BOX);
    Fl_BMP_Image* image = new Fl_BMP_Image(pic.file);
    if (!image->fail() && image->w() > 0 && image->h() > 0) {
        box->image(image);
    } else {
        TRACE_ERR("can't load picture \"%s\"", pic.file);
        delete image;
    }
    return box;
}

}  // namespace

TForm1::TForm1() {
    Form = new TFormWindow(this, FormWidth, FormHeight, FormCaption);
    Form->color(fl_rgb_color(34, 35, 38));
    Form->callback(FormCloseCallback);
    Image1 = PictureBox(BezelPictures[0]);
    Image2 = PictureBox(BezelPictures[1]);
    Image3 = PictureBox(BezelPictures[2]);

    Panel1 = new Fl_Group(0, FormHeight - Panel1Height, FormWidth, Panel1Height);
    Panel1->box(FL_NO_BOX);
    for (int i = 0; i < 10; ++i) {
        TSpeedButton* b = new TSpeedButton(this, BezelButtons[i]);
        if (BezelButtons[i].repeat >= 0) {
            b->OnMouseDown = &TForm1::SpeedButton6MouseDown;
            b->OnMouseUp = &TForm1::SpeedButton6MouseUp;
        } else {
            b->OnClick = &TForm1::SpeedButton8Click;
        }
        SpeedButton[i] = b;
    }
    CheckBox1 = new Fl_Check_Button(10, Panel1->y() + 110, 120, 22, "Save flight");
    CheckBox1->deactivate();
    CheckBox1->hide();
    Panel1->end();

    // Covers the form, answering the right button only; the rest passes to the widgets below.
    PopupMenu1 = new TPopupMenu(0, 0, FormWidth, FormHeight);
    PopupMenu1->type(Fl_Menu_Button::POPUP3);
    for (int tag = 0; tag < 3; ++tag)
        PopupMenu1->add(SourceItemPath(tag).c_str(), 0, MenuSourceCallback,
                        reinterpret_cast<void*>(static_cast<intptr_t>(tag)), FL_MENU_RADIO);
    PopupMenu1->add("Measure &simulator", 0, MenuSimulatorCallback, nullptr, FL_MENU_DIVIDER);
    PopupMenu1->add("&Checklist setting", 0, MenuChecklistCallback);
    Form->end();

    // Single border, not resizable, centred on the desktop.
    Form->size_range(FormWidth, FormHeight, FormWidth, FormHeight);
    Form->position((Fl::w() - FormWidth) / 2, (Fl::h() - FormHeight) / 2);

    CheckSource(MeassureMode);
    Fl_Tooltip::enable(1);
    Fl_Tooltip::delay(0.3f);
    SetTimer1Enabled(true);
    Fl::add_system_handler(BezelRestacked, this);
}

// Without a window manager nothing else keeps the display over the bezel: when the bezel is
// raised or mapped, the display is restacked over it at once.
int TForm1::BezelRestacked(void* event, void* data) {
    TForm1* form = static_cast<TForm1*>(data);
    const XEvent* xe = static_cast<const XEvent*>(event);
    const TWindowId formId = form->FormWindow();
    if (formId && (xe->type == ConfigureNotify || xe->type == MapNotify) &&
        static_cast<TWindowId>(xe->xany.window) == formId)
        form->KeepDisplayOver(PlaceKeepOrder);
    return 0;  // the form library handles the event as usual
}

TForm1::~TForm1() {
    Fl::remove_system_handler(BezelRestacked);
    if (linkFd_ >= 0) {
        Fl::remove_fd(linkFd_);
        Fl::remove_check(LinkQueued, this);
    }
    FormDestroy();
    SetTimer1Enabled(false);
    // A box does not own its picture.
    Fl_Image* pictures[3] = {Image1->image(), Image2->image(), Image3->image()};
    delete Form;
    for (Fl_Image* picture : pictures) delete picture;
}

void TForm1::FormCreate() { RestartMeassure(); }

void TForm1::FormDestroy() {
    if (destroyed_) return;
    destroyed_ = true;
    if (DisplayWindow) WindowSendClose(DisplayWindow);
    StopMeassure();
}

void TForm1::Show() { Form->show(); }

void TForm1::Terminate() {
    terminated_ = true;
    SetTimer1Enabled(false);
    // A message box runs a loop of its own until it goes: the program's end closes it, or a
    // signal would leave the box up and the display without its quit.
    for (Fl_Window* w = Fl::first_window(); w;) {
        Fl_Window* next = Fl::next_window(w);
        if (w != Form && w->modal()) w->hide();
        w = next;
    }
    Form->hide();
}

void TForm1::SetTimer1Enabled(bool enabled) {
    if (enabled == timer1Enabled_) return;
    timer1Enabled_ = enabled;
    resting_ = false;
    if (enabled) Fl::add_timeout(Timer1Interval, Timer1Callback, this);
    else Fl::remove_timeout(Timer1Callback, this);
}

// A tick that found nothing to do lets the timer rest: on this kind of machine every wake of
// a sleeping thread costs far more than the tick. What the tick watches wakes it again: the
// window layer's events, a turn button's press, a notice of the data source.
void TForm1::Timer1Callback(void* data) {
    TForm1* form = static_cast<TForm1*>(data);
    Fl::repeat_timeout(Timer1Interval, Timer1Callback, data);  // ticks go on under a message box
    form->Timer1Timer();
    if (form->timer1Enabled_ && !form->busy_) {
        Fl::remove_timeout(Timer1Callback, data);
        form->resting_ = true;
    }
}

void TForm1::WakeTimer1(double delay) {
    if (!timer1Enabled_ || !resting_) return;
    resting_ = false;
    Fl::add_timeout(delay, Timer1Callback, this);
}

void TForm1::LinkReadable(int, void* data) {
    // Read now, so that the descriptor is quiet again; the tick takes what it told.
    if (WindowGather(true)) static_cast<TForm1*>(data)->WakeTimer1(0);
}

// After each pass of the run loop: a request of ours outside the tick (a key sent, the display
// placed) may have read events along with its reply, and the descriptor no longer tells of them.
void TForm1::LinkQueued(void* data) {
    if (WindowGather(false)) static_cast<TForm1*>(data)->WakeTimer1(0);
}

int TForm1::CheckedSource() const {
    for (int tag = 0; tag < 3; ++tag) {
        const Fl_Menu_Item* m = PopupMenu1->find_item(SourceItemPath(tag).c_str());
        if (m && m->value()) return tag;
    }
    return -1;
}

void TForm1::CheckSource(int tag) {
    if (Fl_Menu_Item* m = const_cast<Fl_Menu_Item*>(PopupMenu1->find_item(SourceItemPath(tag).c_str()))) m->setonly();
}

void TForm1::SpeedButton8Click(TSpeedButton* sender) {
    if (sender) PostCharacter(sender->Spec.character);
}

void TForm1::SpeedButton6MouseDown(TSpeedButton* sender) {
    for (int& count : RepeatCount) count = 0;
    if (!sender || sender->Spec.repeat < 0) return;
    RepeatCount[sender->Spec.repeat] = 1;
    PostCharacter(sender->Spec.character);
    WakeTimer1(Timer1Interval);  // the repeats count ticks from the press
}

void TForm1::SpeedButton6MouseUp(TSpeedButton*) {
    for (int& count : RepeatCount) count = 0;
}

void TForm1::Demoloop1Click(int tag) {
    if (tag < 0 || tag > 2 || tag == MeassureMode) return;
    MeassureMode = tag;
    CheckSource(tag);
    PostCharacter(ModeCharacter(MeassureMode));
    RestartMeassure();
}

void TForm1::Measuresimulator1Click() { BringOutsideTool(SimulatorCaption, SimulatorProgram); }

void TForm1::Checklistsetting1Click() { BringOutsideTool(ChecklistCaption, ChecklistProgram); }

TWindowId TForm1::FormWindow() const { return Form->shown() ? static_cast<TWindowId>(fl_xid(Form)) : 0; }

void TForm1::PlaceDisplay(int order) {
    if (!DisplayWindow) return;
    int x = 0, y = 0;
    DisplayPlace(Form->x(), Form->y(), &x, &y);
    WindowMove(DisplayWindow, 0, x, y, false);
    KeepDisplayOver(order);
}

void TForm1::KeepDisplayOver(int order) {
    const TWindowId form = FormWindow();
    if (!DisplayWindow || !form) return;
    // What the order requests travels through another connection than the form's own.
    XSync(fl_display, False);
    if (order == PlaceKeepOrder) WindowKeepAbove(DisplayWindow, form);
    else WindowStackOver(DisplayWindow, form, order == PlaceTopmost);
}

void TForm1::WMMove() { PlaceDisplay(PlaceKeepOrder); }

void TForm1::KeepMessageOver() {
    // The form library's message box is modal while it is up; the display, topmost or
    // transient for the bezel like the box, would cover it.
    Fl_Window* box = Fl::modal();
    if (!box || !box->shown() || !DisplayWindow) return;
    const TWindowId id = static_cast<TWindowId>(fl_xid(box));
    XSync(fl_display, False);  // its map travels through the form library's connection
    if (WindowIsAbove(id, DisplayWindow) != 1) WindowStackOver(id, DisplayWindow, true);
}

void TForm1::FormShow() {
    // The bezel was mapped last: the display must come over its opening, also where no
    // window manager gives the bezel the focus that the ticks would react to. The map
    // goes first: the raise travels through another connection.
    if (fl_display) XSync(fl_display, False);
    PlaceDisplay(PlaceTopmost);
    WakeTimer1(Timer1Interval);
    // Placed as topmost: should another program hold the front at the first tick, the
    // display drops back behind it.
    if (DisplayWindow) BackgroundFlag = 0;
}

int TForm1::RestartMeassure() {
    StopMeassure();
    ResetBenchNotices();
    WriterAttached = 0;
    Meassure = std::make_unique<TMeassure>(MeassureMode, MeassurePorts);
    SleepMs(100);
    // The display could not use such a block either: say why over the bezel and end.
    if (WaitWriterAttached() < 0) {
        SetTimer1Enabled(false);
        Show();
        ShowMessage(MeasAttachRefusal("\r\n").c_str());
        Terminate();
        return -1;
    }

    DisplayWindow = FindDisplay();
    bool started = true;
    std::string failure;
    if (!DisplayWindow) {
        // Same working directory as ours: both programs resolve "Data/..." there.
        const std::string path = ProgramPath(DisplayProgram);
        const char* const args[] = {"-window", nullptr};
        int32_t pid = 0;
        const int rc = ProcessStart(path.c_str(), args, nullptr, &pid);
        if (rc != PROCESS_OK) {
            started = false;
            failure = StartFailureText(path, rc) + "\r\n";
        }
        // The display pauses 2 s before it opens its window, and a loaded machine makes
        // that longer: we wait up to 10 s while it runs, and stop at once when it ends.
        for (int i = 0; started && i < DisplayPollsMax; ++i) {
            if (WindowFind(DisplayCaption, &DisplayWindow) == WINDOW_OK) break;
            int code = 0;
            if (ProcessReap(pid, &code) == 1) {
                failure = "\"" + path + "\" ended with exit code " + std::to_string(code) + ".\r\n";
                break;
            }
            SleepMs(10);
        }
        DisplayWindow = FindDisplay();
    }
    if (!DisplayWindow) {
        // The ticks would report the missing window once more while the box is up.
        SetTimer1Enabled(false);
        ShowMessage((failure + MsgGuiNotInitialised).c_str());
        Terminate();
        return -1;
    }
    WindowWatch(DisplayWindow);
    if (linkFd_ < 0 && (linkFd_ = WindowLinkFd()) >= 0) {
        Fl::add_fd(linkFd_, FL_READ, LinkReadable, this);
        Fl::add_check(LinkQueued, this);
    }
    WakeTimer1(Timer1Interval);  // the new display window is looked at afresh
    PostCharacter(ModeCharacter(MeassureMode));
    // The thread only tells its console; whoever looks at the bezel must learn it too.
    if (MeassureMode == MeassureModeLoop) {
        const std::string failure = LoopFileFailure(LoopFileName);
        if (!failure.empty()) ShowMessage(failure.c_str());
    }
    return 0;
}

void TForm1::Timer1Timer() {
    // What the server told since the last tick decides what is asked again: while nothing
    // changes on the screen, a tick sends no request that waits for a reply.
    const int seen = WindowSeen();
    // Window order: the display stays over the bezel while one of the two is in front,
    // and drops back with it when another program comes to the front.
    if (seen & WINDOW_SEEN_FOREGROUND) WindowForeground(&foreground_);
    const TWindowId formId = FormWindow();
    const bool formInFront = foreground_ != 0 && foreground_ == formId;
    const bool displayInFront = foreground_ != 0 && foreground_ == DisplayWindow;
    switch (WindowOrder(formInFront, displayInFront, &BackgroundFlag)) {
    case OrderBehind:
        // The window manager keeps the other program in front; nothing to give back.
        PlaceDisplay(PlaceNotTopmost);
        break;
    case OrderFormFirst:
        Form->show();  // raises the bezel
        PlaceDisplay(PlaceTopmost);
        break;
    case OrderDisplayOnTop:
        PlaceDisplay(PlaceTopmost);
        break;
    default:
        // Whatever raised the bezel meanwhile, the display comes back over it.
        if (seen & WINDOW_SEEN_ORDER) KeepDisplayOver(PlaceKeepOrder);
        break;
    }

    // Watchdog: the display is searched for again when windows came, went or were renamed.
    const TWindowId known = DisplayWindow;
    if (!known || (seen & WINDOW_SEEN_WINDOWS)) DisplayWindow = FindDisplay();
    if (!DisplayWindow) {
        SetTimer1Enabled(false);
        if (!known) ShowMessage(MsgGuiNotRunning);
        else DebugOutput("benchdesk: the display window is gone; ending.\n");
        Terminate();
        return;
    }

    // A display program started again has a new window: keep that one over the bezel too.
    if (known && known != DisplayWindow) {
        WindowWatch(DisplayWindow);
        KeepDisplayOver(BackgroundFlag ? PlaceNotTopmost : PlaceTopmost);
    }
    KeepMessageOver();

    // What the data source could not do, once per cause; a box open already (the ticks
    // go on under it) is not joined by another.
    static bool telling = false;
    std::string notice;
    bool told = false;
    if (!telling && TakeBenchNotice(&notice)) {
        telling = told = true;
        ShowMessage(notice.c_str());
        telling = false;
    }

    // Repeats of the held turn button.
    bool held = false;
    for (TSpeedButton* b : SpeedButton) {
        const int r = b->Spec.repeat;
        if (r < 0 || !RepeatCount[r]) continue;
        held = true;
        if (RepeatTick(&RepeatCount[r])) PostCharacter(b->Spec.character);
    }
    // What this tick did may bring events, another notice may wait: the next tick looks.
    busy_ = seen != 0 || told || held || telling;
}

namespace {

// The form library's own last words end with a line of ours: no display at the start, or
// the display lost under a running bench, whose data source then stops and leaves the block.
void FatalMessage(const char* format, ...) {
    static bool ending = false;
    if (ending) _exit(1);  // the ending itself met the dead connection again
    ending = true;
    char what[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(what, sizeof what, format, args);
    va_end(args);
    if (!fl_display) {
        std::fprintf(stderr, "benchdesk: %s\nbenchdesk needs an X display (DISPLAY).\n", what);
        std::exit(1);
    }
    const char* name = DisplayString(fl_display);
    std::fprintf(stderr, "benchdesk: the X display \"%s\" was lost (%s); closing.\n", name ? name : "", what);
    StopMeassure();
    std::exit(1);
}

}  // namespace

namespace {

// SIGINT, SIGTERM and SIGHUP close the pair as closing the bezel does. The handler only
// writes to a pipe that the run loop watches; so does the data source with a notice, which
// the resting tick must show.
constexpr int CloseSignals[] = {SIGINT, SIGTERM, SIGHUP};
int SignalPipe[2] = {-1, -1};
volatile sig_atomic_t SignalCaught = 0;

void WakeRunLoop() {
    const int saved = errno;
    const char byte = 1;
    if (SignalPipe[1] >= 0) (void)!write(SignalPipe[1], &byte, 1);
    errno = saved;
}

void CloseSignalHandler(int signo) {
    SignalCaught = signo;
    WakeRunLoop();
}

void SignalPipeReadable(int fd, void*) {
    char drain[16];
    while (read(fd, drain, sizeof drain) > 0) {
    }
    if (SignalCaught && Form1 && !Form1->Terminated()) {
        BenchPrintf("benchdesk: signal %d, closing.\n", static_cast<int>(SignalCaught));
        Form1->Terminate();
    }
    if (Form1) Form1->WakeTimer1(0);
}

}  // namespace

int BenchSignalsInstall() {
    if (SignalPipe[0] < 0 && pipe2(SignalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return -1;
    struct sigaction sa = {};
    sa.sa_handler = CloseSignalHandler;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int signo : CloseSignals) sigaction(signo, &sa, nullptr);
    Fl::add_fd(SignalPipe[0], FL_READ, SignalPipeReadable);
    BenchNoticeWake = WakeRunLoop;
    return 0;
}

void BenchSignalsRemove() {
    struct sigaction sa = {};
    sa.sa_handler = SIG_DFL;
    sigemptyset(&sa.sa_mask);
    for (int signo : CloseSignals) sigaction(signo, &sa, nullptr);
    BenchNoticeWake = nullptr;
    if (SignalPipe[0] < 0) return;
    Fl::remove_fd(SignalPipe[0]);
    close(SignalPipe[0]);
    close(SignalPipe[1]);
    SignalPipe[0] = SignalPipe[1] = -1;
    SignalCaught = 0;
}

int BenchdeskMain() {
    Fl::fatal = FatalMessage;
    BenchSignalsInstall();
    // The whole screen, not the work area that panels leave.
    int sx = 0, sy = 0, sw = 0, sh = 0;
    Fl::screen_xywh(sx, sy, sw, sh, 0);
    if (ScreenCheck(sw, sh) != 0) return 0;
    Form1 = new TForm1();
    Form1->FormCreate();
    if (SignalCaught) Form1->Terminate();  // while the display program was awaited
    if (!Form1->Terminated()) {
        Form1->Show();
        while (!Form1->Terminated()) Fl::wait();
    }
    delete Form1;
    Form1 = nullptr;
    BenchSignalsRemove();
    return WriterAttached < 0 ? MeasExitNoBlock : 0;
}
