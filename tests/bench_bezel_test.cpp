// The bezel window: button characters reaching a display window, repeats of held turn
// buttons, source changes, placement over the screen opening, window order, the watchdog,
// missing programs; the process layer; and the benchdesk program itself under Xvfb.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/stat.h>

#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Menu_Button.H>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "config_tempdir.h"
#include "file_io.h"
#include "headless_run.h"
#include "process.h"
#include "shm.h"
#include "Threadmeassure.h"
#include "Unit1.h"
#include "x11probe.h"
// Xlib after the rest: its macros (None, Bool, Status) clash with other names.
#include <FL/x.H>

namespace {

std::vector<std::string> Messages;
void CollectMessage(const char* text) { Messages.push_back(text); }

void WriteScript(const std::string& path, const std::string& body) {
    std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
    chmod(path.c_str(), 0755);
}

// Runs FLTK's loop until the condition holds (bounded).
bool Pump(const std::function<bool()>& cond) {
    return WaitUntil([&] {
        Fl::wait(0.01);
        return cond();
    });
}

// A window that stands in for the display program: it has the caption and collects what
// benchdesk sends it.
class FakeDisplay {
public:
    explicit FakeDisplay(const char* caption = DisplayCaption) {
        dpy_ = XOpenDisplay(nullptr);
        if (!dpy_) return;
        win_ = XCreateSimpleWindow(dpy_, DefaultRootWindow(dpy_), 0, 0, DisplayWindowWidth,
                                   DisplayWindowHeight, 0, 0, 0);
        XStoreName(dpy_, win_, caption);
        XMapWindow(dpy_, win_);
        charAtom_ = XInternAtom(dpy_, WindowCharAtomName, False);
        deleteAtom_ = XInternAtom(dpy_, "WM_DELETE_WINDOW", False);
        XSync(dpy_, False);
    }
    ~FakeDisplay() {
        if (dpy_) XCloseDisplay(dpy_);
    }
    bool Ok() const { return dpy_ && win_; }
    TWindowId Id() const { return static_cast<TWindowId>(win_); }
    Display* Dpy() const { return dpy_; }

    // The characters that arrived since the last call.
    std::string Take() {
        XSync(dpy_, False);
        std::string chars;
        while (XPending(dpy_)) {
            XEvent ev;
            XNextEvent(dpy_, &ev);
            if (ev.type != ClientMessage) continue;
            if (ev.xclient.message_type == charAtom_) chars += static_cast<char>(ev.xclient.data.l[0]);
            else if (static_cast<Atom>(ev.xclient.data.l[0]) == deleteAtom_) ++closes;
        }
        return chars;
    }
    void Destroy() {
        XDestroyWindow(dpy_, win_);
        XSync(dpy_, False);
        win_ = 0;
    }
    void Focus() {
        XSetInputFocus(dpy_, win_, RevertToNone, CurrentTime);
        XSync(dpy_, False);
    }
    Window Topmost() { return TopmostWindow(dpy_); }

    int closes = 0;

private:
    Display* dpy_ = nullptr;
    Window win_ = 0;
    Atom charAtom_ = 0, deleteAtom_ = 0;
};

// Every test with a real window shares one server: FLTK keeps its connection for life.
class BezelTest : public XvfbTest {
protected:
    void SetUp() override {
        XvfbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        dir_ = std::make_unique<ConfigTempDir>();
        ProgramDir = dir_->Path();
        Messages.clear();
        ShowMessage = CollectMessage;
        DisplayWindow = 0;
        MeassureMode = MeassureModeNone;
        MeassurePorts = TMeassurePorts{0, 0};
        BackgroundFlag = 1;
        for (int& c : RepeatCount) c = 0;
    }
    void TearDown() override {
        delete Form1;
        Form1 = nullptr;
        Fl::check();
        ShowMessage = MessageBoxShow;
        ProgramDir.clear();
        dir_.reset();
        XvfbTest::TearDown();
    }

    // A form that has found `display` and been shown; its own timer is stopped so that
    // the tests give the ticks.
    TForm1* StartForm(FakeDisplay& display) {
        EXPECT_TRUE(display.Ok());
        Form1 = new TForm1();
        Form1->FormCreate();
        EXPECT_EQ(DisplayWindow, display.Id());
        Form1->SetTimer1Enabled(false);
        Form1->Show();
        Pump([] { return Form1->Form->shown() && WindowExists(fl_xid(Form1->Form)); });
        return Form1;
    }

    // A press or release of the left mouse button at the centre of button i, as the server
    // delivers it to the form.
    static void Mouse(int i, bool press) {
        const TBezelButton& b = BezelButtons[i];
        Display* d = fl_display;
        XEvent ev{};
        ev.xbutton.type = press ? ButtonPress : ButtonRelease;
        ev.xbutton.display = d;
        ev.xbutton.window = fl_xid(Form1->Form);
        ev.xbutton.root = DefaultRootWindow(d);
        ev.xbutton.x = b.x + b.w / 2;
        ev.xbutton.y = b.y + b.h / 2;
        ev.xbutton.x_root = Form1->Form->x() + ev.xbutton.x;
        ev.xbutton.y_root = Form1->Form->y() + ev.xbutton.y;
        ev.xbutton.button = Button1;
        ev.xbutton.state = press ? 0 : Button1Mask;
        ev.xbutton.same_screen = True;
        XSendEvent(d, ev.xbutton.window, False, press ? ButtonPressMask : ButtonReleaseMask, &ev);
        XFlush(d);
    }

    std::unique_ptr<ConfigTempDir> dir_;
};

TEST_F(BezelTest, EachButtonPostsItsCharacterToTheDisplayWindow) {
    FakeDisplay display;
    StartForm(display);
    EXPECT_EQ(display.Take(), "O");  // the first source announcement

    std::string got;
    for (int i = 0; i < 10; ++i) {
        Mouse(i, true);
        Mouse(i, false);
        const size_t want = got.size() + 1;
        ASSERT_TRUE(Pump([&] {
            got += display.Take();
            return got.size() >= want;
        })) << "button " << i + 1;
        // A turn button posts at the press, and the release stops its repeats.
        ASSERT_TRUE(Pump([] { return RepeatCount[0] + RepeatCount[1] + RepeatCount[2] + RepeatCount[3] == 0; }));
    }
    EXPECT_EQ(got, "0da1sw2345");
    EXPECT_TRUE(Messages.empty());

    // A key while no display window is known is dropped.
    DisplayWindow = 0;
    Form1->SpeedButton8Click(Form1->SpeedButton[7]);
    Form1->SpeedButton6MouseDown(Form1->SpeedButton[5]);
    EXPECT_EQ(display.Take(), "");
}

TEST_F(BezelTest, HeldTurnButtonRepeatsFromTheSeventhTick) {
    FakeDisplay display;
    StartForm(display);
    display.Take();

    Form1->SpeedButton6MouseDown(Form1->SpeedButton[2]);  // left knob, turn right
    EXPECT_EQ(display.Take(), "a");
    for (int tick = 1; tick <= 6; ++tick) Form1->Timer1Timer();
    EXPECT_EQ(display.Take(), "");
    for (int tick = 7; tick <= 10; ++tick) Form1->Timer1Timer();  // about one second held
    EXPECT_EQ(display.Take(), "aaaa");

    // Pressing another turn button takes over; releasing stops every repeat.
    Form1->SpeedButton6MouseDown(Form1->SpeedButton[4]);
    for (int tick = 1; tick <= 7; ++tick) Form1->Timer1Timer();
    EXPECT_EQ(display.Take(), "ss");
    Form1->SpeedButton6MouseUp(Form1->SpeedButton[4]);
    for (int tick = 1; tick <= 10; ++tick) Form1->Timer1Timer();
    EXPECT_EQ(display.Take(), "");
    EXPECT_FALSE(Form1->Terminated());
}

TEST_F(BezelTest, ChoosingADataSourceAnnouncesItAndRestartsTheThread) {
    FakeDisplay display;
    StartForm(display);
    EXPECT_EQ(display.Take(), "O");
    EXPECT_EQ(Form1->CheckedSource(), MeassureModeNone);
    // The popup menu: the source submenu, then the two outside tools apart.
    for (const char* item : {"Measured &Data source/Demo internal loop", "Measured &Data source/Connect to FlightGear",
                             "Measured &Data source/No data", "Measure &simulator", "&Checklist setting"})
        EXPECT_NE(Form1->PopupMenu1->find_item(item), nullptr) << item;
    EXPECT_TRUE(Form1->PopupMenu1->find_item("Measure &simulator")->flags & FL_MENU_DIVIDER);

    Form1->Demoloop1Click(MeassureModeFdm);
    EXPECT_EQ(display.Take(), "oo");  // the menu's and the restart's
    EXPECT_EQ(Form1->CheckedSource(), MeassureModeFdm);
    ASSERT_TRUE(Meassure);
    EXPECT_EQ(Meassure->Mode, MeassureModeFdm);

    Form1->Demoloop1Click(MeassureModeFdm);  // already checked: nothing
    EXPECT_EQ(display.Take(), "");

    EXPECT_TRUE(Messages.empty());

    // The recorded flight is missing here: said, and the display still announced.
    Form1->Demoloop1Click(MeassureModeLoop);
    EXPECT_EQ(display.Take(), "OO");
    EXPECT_EQ(Form1->CheckedSource(), MeassureModeLoop);
    EXPECT_EQ(Meassure->Mode, MeassureModeLoop);
    EXPECT_EQ(Messages, std::vector<std::string>{
                            "Cannot read the recorded flight \"Data/flysim.dat\": No such file or directory.\r\n"
                            "No data is shown."});
    EXPECT_FALSE(Form1->Terminated());

    // Leaving sends the display its quit.
    delete Form1;
    Form1 = nullptr;
    EXPECT_FALSE(Meassure);
    display.Take();
    EXPECT_EQ(display.closes, 1);
}

// What the FlightGear link cannot do reaches the bezel as a message, once per cause however
// often it recurs: a port 5511 held by another program, a property server nobody runs, a
// simulator sending packets of another version.
TEST_F(BezelTest, FlightGearLinkFailuresAreToldOnceEach) {
    struct TRow {
        const char* name;
        bool holdFdmPort;
        int otherVersionClients;
        std::vector<std::string> expected;  // a piece of each message, in order
    };
    const TRow rows[] = {
        {"held port", true, 0, {"cannot listen on port"}},
        {"no property server", false, 0, {"property server"}},
        {"packets of version 25", false, 2, {"property server", "version 25, expected 24"}},
    };
    FakeDisplay display;
    StartForm(display);
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.name);
        Messages.clear();
        uint16_t held = 0;
        const int holder = row.holdFdmPort ? ListenAnyPort(held) : -1;
        MeassurePorts = TMeassurePorts{row.holdFdmPort ? held : FreePort(), FreePort()};
        Form1->Demoloop1Click(MeassureModeNone);
        Form1->Demoloop1Click(MeassureModeFdm);
        for (int i = 0; i < row.otherVersionClients; ++i) {
            const int fd = ConnectTo(MeassurePorts.fdm);
            ASSERT_GE(fd, 0);
            uint8_t packet[FdmPacketSize] = {0, 0, 0, 25};
            ASSERT_EQ(send(fd, packet, sizeof packet, 0), static_cast<ssize_t>(sizeof packet));
            WaitUntil([&] { return recv(fd, packet, 1, 0) <= 0; });  // dropped
            close(fd);
        }
        for (int tick = 0; tick < 100 && Messages.size() < row.expected.size(); ++tick) {
            Form1->Timer1Timer();
            SleepMs(20);
        }
        for (int tick = 0; tick < 30; ++tick) Form1->Timer1Timer();  // the client keeps retrying
        ASSERT_EQ(Messages.size(), row.expected.size());
        for (size_t i = 0; i < Messages.size(); ++i)
            EXPECT_NE(Messages[i].find(row.expected[i]), std::string::npos) << Messages[i];
        if (holder >= 0) close(holder);
    }
    Form1->Demoloop1Click(MeassureModeNone);
    EXPECT_FALSE(Form1->Terminated());
}

// A recorded flight whose records cannot be read is told at the bezel once, not per record.
TEST_F(BezelTest, DamagedRecordedFlightIsToldOnce) {
    FakeDisplay display;
    StartForm(display);
    ASSERT_EQ(mkdir("Data", 0755), 0);
    WriteByteFile("Data/flysim.dat", std::vector<uint8_t>(1200, 0x11));
    Form1->Demoloop1Click(MeassureModeLoop);
    EXPECT_TRUE(Messages.empty());  // the file opens
    for (int tick = 0; tick < 100 && Messages.empty(); ++tick) {
        Form1->Timer1Timer();
        SleepMs(20);
    }
    for (int tick = 0; tick < 30; ++tick) {
        Form1->Timer1Timer();
        SleepMs(5);
    }
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_NE(Messages[0].find("recorded flight cannot be read"), std::string::npos) << Messages[0];
    Form1->Demoloop1Click(MeassureModeNone);
}

TEST_F(BezelTest, DisplayWindowFollowsTheFormOverTheScreenOpening) {
    FakeDisplay display;
    StartForm(display);
    for (const auto& at : {std::pair<int, int>{100, 50}, {31, 7}}) {
        Form1->Form->position(at.first, at.second);
        int32_t fx = 0, fy = 0, dx = 0, dy = 0;
        EXPECT_TRUE(Pump([&] {
            return WindowPosition(fl_xid(Form1->Form), &fx, &fy) == WINDOW_OK && fx == at.first &&
                   fy == at.second && WindowPosition(display.Id(), &dx, &dy) == WINDOW_OK &&
                   dx == fx + DisplayOffsetX && dy == fy + DisplayOffsetY;
        })) << "form at " << fx << "," << fy << ", display at " << dx << "," << dy;
    }
    XWindowAttributes attr;
    ASSERT_TRUE(XGetWindowAttributes(display.Dpy(), display.Id(), &attr));
    EXPECT_EQ(attr.width, DisplayWindowWidth);  // size kept
    EXPECT_EQ(attr.height, DisplayWindowHeight);
}

TEST_F(BezelTest, DisplayStaysAboveTheBezelWhileEitherIsInFront) {
    FakeDisplay display;
    StartForm(display);
    const Window form = fl_xid(Form1->Form);
    // Shown after the display, yet the display comes over it.
    ASSERT_EQ(display.Topmost(), display.Id());
    XRaiseWindow(display.Dpy(), form);  // someone clicks the bezel
    XSync(display.Dpy(), False);
    ASSERT_EQ(display.Topmost(), form);

    display.Focus();
    Form1->Timer1Timer();
    for (int i = 0; i < 5; ++i) Fl::wait(0.01);  // whatever the form still had to send
    EXPECT_EQ(BackgroundFlag, 0);
    EXPECT_EQ(display.Topmost(), display.Id());

    XSetInputFocus(display.Dpy(), PointerRoot, RevertToNone, CurrentTime);  // another program
    XSync(display.Dpy(), False);
    Form1->Timer1Timer();
    EXPECT_EQ(BackgroundFlag, 1);

    XRaiseWindow(display.Dpy(), form);
    XSetInputFocus(display.Dpy(), form, RevertToNone, CurrentTime);
    XSync(display.Dpy(), False);
    EXPECT_EQ(display.Topmost(), form);
    Form1->Timer1Timer();
    EXPECT_EQ(BackgroundFlag, 0);
    EXPECT_EQ(display.Topmost(), display.Id());
    EXPECT_FALSE(Form1->Terminated());
}

TEST_F(BezelTest, WatchdogEndsTheProgramWhenTheDisplayCloses) {
    FakeDisplay display;
    StartForm(display);
    Form1->SetTimer1Enabled(true);
    Form1->Timer1Timer();
    EXPECT_FALSE(Form1->Terminated());

    display.Destroy();
    Form1->Timer1Timer();
    EXPECT_TRUE(Form1->Terminated());
    EXPECT_FALSE(Form1->Timer1Enabled());
    EXPECT_FALSE(Form1->Form->shown());
    EXPECT_TRUE(Messages.empty());  // a display had been found: no message
}

TEST_F(BezelTest, WatchdogReportsWhenNoDisplayWasEverFound) {
    Form1 = new TForm1();
    EXPECT_TRUE(Form1->Timer1Enabled());
    Form1->Timer1Timer();
    EXPECT_TRUE(Form1->Terminated());
    EXPECT_FALSE(Form1->Timer1Enabled());
    EXPECT_EQ(Messages, std::vector<std::string>{MsgGuiNotRunning});
}

TEST_F(BezelTest, MissingDisplayProgramIsAMessageNotACrash) {
    Form1 = new TForm1();
    EXPECT_EQ(Form1->RestartMeassure(), -1);
    ASSERT_EQ(Messages.size(), 1u);
    const std::string path = dir_->Path() + "/dashview";
    EXPECT_EQ(Messages[0], "Cannot start \"" + path + "\": the program file does not exist.\r\n" +
                               MsgGuiNotInitialised);
    EXPECT_TRUE(Form1->Terminated());
    EXPECT_FALSE(Form1->Timer1Enabled());  // no second report from the watchdog
    EXPECT_EQ(DisplayWindow, 0u);

    // A display program that starts but never opens its window.
    Messages.clear();
    WriteScript(path, "echo \"$@\" > started; pwd >> started; exit 4");
    EXPECT_EQ(Form1->RestartMeassure(), -1);
    EXPECT_EQ(Messages, std::vector<std::string>{"\"" + path + "\" ended with exit code 4.\r\n" +
                                                 MsgGuiNotInitialised});
    EXPECT_TRUE(WaitUntil([&] { return FileText("started").size() > 9; }));
    EXPECT_EQ(FileText("started"), "-window\n" + dir_->Path() + "\n");  // our working directory

    // A block of another user under the name: told, and no display program is started.
    Messages.clear();
    Meassure.reset();
    unlink("started");
    ShmUnlink(ShmBlockName());
    const int fd = shm_open(ShmBlockName(), O_RDWR | O_CREAT | O_EXCL, 0600);
    ASSERT_EQ(fchown(fd, 65534, 65534), 0);
    EXPECT_EQ(Form1->RestartMeassure(), -1);
    EXPECT_EQ(Messages, std::vector<std::string>{MeasAttachRefusal("\r\n")});
    EXPECT_NE(MeasAttachRefusal().find("\": it belongs to user 65534"), std::string::npos);
    EXPECT_NE(access("started", F_OK), 0);
    close(fd);
    ShmUnlink(ShmBlockName());
}

TEST_F(BezelTest, OutsideToolsAreBroughtToTheFrontOrStarted) {
    // Missing programs: a message naming each.
    EXPECT_EQ(BringOutsideTool("Measure Simulation", "probeforge"), -1);
    Form1 = new TForm1();
    Form1->SetTimer1Enabled(false);
    Form1->Checklistsetting1Click();
    ASSERT_EQ(Messages.size(), 2u);
    EXPECT_NE(Messages[0].find(dir_->Path() + "/probeforge"), std::string::npos);
    EXPECT_NE(Messages[1].find(dir_->Path() + "/listkeeper"), std::string::npos);

    // A tool whose window exists is not started again.
    Messages.clear();
    WriteScript(dir_->Path() + "/probeforge", "touch probeforge.ran");
    FakeDisplay tool("Measure Simulation");
    Form1->Measuresimulator1Click();
    EXPECT_TRUE(Messages.empty());
    tool.Destroy();
    Form1->Measuresimulator1Click();
    EXPECT_TRUE(Messages.empty());
    EXPECT_TRUE(WaitUntil([] { return access("probeforge.ran", F_OK) == 0; }));
}

// The program itself, in the test's folder with a block name of its own (so that the
// unlink at its end can be seen). Same suite as above: one X server.
const std::string BenchShm = "/HKMeasure-test-benchdesk-" + std::to_string(getpid());

TEST_F(BezelTest, BenchdeskPlacesTheDisplayAndEndsWhenItCloses) {
    HeadlessRun run(dir_->Path());
    if (!run.Benchdesk(BenchShm)) TOOL_MISSING() << "benchdesk is not built";
    FakeDisplay display;
    ASSERT_TRUE(display.Ok() && run.Start());
    std::string got;
    ASSERT_TRUE(WaitUntil([&] {
        got += display.Take();
        return !got.empty();
    }));
    EXPECT_EQ(got, "O");
    TWindowId form = 0;
    int32_t fx = 0, fy = 0, dx = 0, dy = 0;
    EXPECT_TRUE(WaitUntil([&] {
        return WindowFind(FormCaption, &form) == WINDOW_OK && WindowPosition(form, &fx, &fy) == WINDOW_OK &&
               WindowPosition(display.Id(), &dx, &dy) == WINDOW_OK && dx == fx + DisplayOffsetX &&
               dy == fy + DisplayOffsetY;
    })) << "form at " << fx << "," << fy << ", display at " << dx << "," << dy;
    EXPECT_TRUE(HeadlessRun::BlockExists(BenchShm));

    display.Destroy();  // the display program ends
    EXPECT_EQ(run.Wait(10), 0);
    EXPECT_FALSE(HeadlessRun::BlockExists(BenchShm));  // unlinked at the normal end
}

TEST_F(BezelTest, ClosingBenchdeskQuitsTheDisplay) {
    HeadlessRun run(dir_->Path());
    if (!run.Benchdesk(BenchShm)) TOOL_MISSING() << "benchdesk is not built";
    FakeDisplay display;
    ASSERT_TRUE(display.Ok() && run.Start());
    TWindowId form = 0;
    ASSERT_TRUE(WaitUntil([&] { return WindowFind(FormCaption, &form) == WINDOW_OK; }));
    ASSERT_TRUE(WaitUntil([&] { return display.Take() == "O"; }));
    ASSERT_EQ(WindowSendClose(form), WINDOW_OK);
    EXPECT_EQ(run.Wait(10), 0);
    display.Take();
    EXPECT_EQ(display.closes, 1);
    EXPECT_FALSE(HeadlessRun::BlockExists(BenchShm));
}

// The real pair: benchdesk starts dashview from its own folder, in the folder it runs in,
// keeps it over the screen opening, and closing the bezel ends dashview with its files saved.
TEST_F(BezelTest, BenchdeskRunsTheDisplayProgramAndClosesIt) {
    const std::string dir = dir_->Path();
    HeadlessRun run(dir);
    if (!run.Benchdesk(BenchShm) || !HeadlessRun::Built()) TOOL_MISSING() << "benchdesk or dashview is not built";
    ASSERT_TRUE(run.Start());

    // dashview pauses 2 s before its window opens, and benchdesk's form shows after that.
    TWindowId form = 0, display = 0;
    int32_t fx = 0, fy = 0, dx = 0, dy = 0;
    ASSERT_TRUE(WaitUntil([&] {
        return WindowFind(FormCaption, &form) == WINDOW_OK && WindowFind(DisplayCaption, &display) == WINDOW_OK;
    }));
    EXPECT_TRUE(WaitUntil([&] {
        return WindowPosition(form, &fx, &fy) == WINDOW_OK && WindowPosition(display, &dx, &dy) == WINDOW_OK &&
               dx == fx + DisplayOffsetX && dy == fy + DisplayOffsetY;
    })) << "form at " << fx << "," << fy << ", display at " << dx << "," << dy;
    EXPECT_FALSE(run.Ended());  // still running
    EXPECT_NE(access((dir + "/statistic.dat").c_str(), F_OK), 0);  // written at the quit

    ASSERT_EQ(WindowSendClose(form), WINDOW_OK);
    EXPECT_EQ(run.Wait(10), 0);
    EXPECT_TRUE(WaitUntil([&] { return !WindowExists(display); }));
    EXPECT_TRUE(WaitUntil([&] {
        return access((dir + "/statistic.dat").c_str(), F_OK) == 0 && access((dir + "/runtime.dat").c_str(), F_OK) == 0;
    }));
    EXPECT_FALSE(HeadlessRun::BlockExists(BenchShm));
}

}  // namespace

TEST(BezelScreen, SmallScreensAreRefused) {
    Messages.clear();
    ShowMessage = CollectMessage;
    EXPECT_EQ(ScreenCheck(1024, 768), 0);
    EXPECT_EQ(ScreenCheck(1280, 1024), 0);
    EXPECT_TRUE(Messages.empty());
    EXPECT_EQ(ScreenCheck(1023, 768), -1);
    EXPECT_EQ(ScreenCheck(1024, 767), -1);
    ASSERT_EQ(Messages.size(), 2u);
    EXPECT_EQ(Messages[0],
              "Screen resolution is too low.\r\nMinimum supported screen resolution is 1024x768.\r\n"
              "Recomemded screen resolution is 1280x1024.");
    ShowMessage = MessageBoxShow;
    EXPECT_EQ(ModeCharacter(MeassureModeLoop), 'O');
    EXPECT_EQ(ModeCharacter(MeassureModeFdm), 'o');
    EXPECT_EQ(ModeCharacter(MeassureModeNone), 'O');
}

TEST(ProcessLayer, StartsInAWorkingDirectoryAndTellsWhyNot) {
    ConfigTempDir dir;
    const std::string sub = dir.Path() + "/work";
    ASSERT_EQ(mkdir(sub.c_str(), 0755), 0);
    int32_t pid = 0;
    const char* const args[] = {"-c", "pwd > where; exit 3", nullptr};
    ASSERT_EQ(ProcessStart("/bin/sh", args, sub.c_str(), &pid), PROCESS_OK);
    ASSERT_GT(pid, 0);
    int code = -99;
    ASSERT_TRUE(WaitUntil([&] { return ProcessReap(pid, &code) == 1; }));
    EXPECT_EQ(code, 3);
    EXPECT_EQ(FileText(sub + "/where"), sub + "\n");

    EXPECT_EQ(ProcessStart((dir.Path() + "/none").c_str(), nullptr, nullptr, &pid), PROCESS_ERR_NOT_FOUND);
    EXPECT_EQ(pid, 0);
    std::ofstream(dir.Path() + "/plain") << "text\n";
    EXPECT_EQ(ProcessStart((dir.Path() + "/plain").c_str(), nullptr, nullptr, nullptr),
              PROCESS_ERR_NOT_EXECUTABLE);
    EXPECT_EQ(ProcessStart(sub.c_str(), nullptr, nullptr, nullptr), PROCESS_ERR_NOT_EXECUTABLE);
    EXPECT_EQ(ProcessStart("/bin/sh", nullptr, (dir.Path() + "/none").c_str(), nullptr),
              PROCESS_ERR_DIRECTORY);
    EXPECT_EQ(ProcessStart("", nullptr, nullptr, nullptr), PROCESS_ERR_ARGS);
    EXPECT_EQ(ProcessStart(nullptr, nullptr, nullptr, nullptr), PROCESS_ERR_ARGS);
    EXPECT_EQ(ProcessReap(0, nullptr), PROCESS_ERR_ARGS);

    // A program that starts but cannot be run (not an executable format).
    std::ofstream(dir.Path() + "/garbage", std::ios::binary) << "\x7f" "ELF garbage";
    chmod((dir.Path() + "/garbage").c_str(), 0755);
    const int rc = ProcessStart((dir.Path() + "/garbage").c_str(), nullptr, nullptr, &pid);
    EXPECT_EQ(rc, PROCESS_ERR_NOT_EXECUTABLE);

    EXPECT_EQ(ProcessOwnDirectory(), TEST_HELPER_DIR);
}

// ---- the bezel's logic without a window ----

TEST(BezelLogic, ButtonsCarryTheirCharactersAndSitInTheBottomPanel) {
    std::string chars, hints;
    int repeats[4] = {0, 0, 0, 0};
    for (const TBezelButton& b : BezelButtons) {
        chars += b.character;
        hints += std::string(b.hint) + ";";
        if (b.repeat >= 0) {
            ASSERT_LT(b.repeat, 4);
            ++repeats[b.repeat];
        }
        // Inside the panel, below the display window's screen opening.
        EXPECT_GE(b.x, 0);
        EXPECT_LE(b.x + b.w, FormWidth);
        EXPECT_GE(b.y, FormHeight - Panel1Height);
        EXPECT_LE(b.y + b.h, FormHeight);
        EXPECT_GE(b.y, DisplayOffsetY + DisplayPageTop + DisplayPageHeight);
    }
    EXPECT_EQ(chars, "0da1sw2345");
    EXPECT_EQ(hints, "Push;Turn left;Turn right;Push;Turn left;Turn right;;;;;");
    for (int r : repeats) EXPECT_EQ(r, 1);  // one counter per turn button
    // No two buttons overlap: a press reaches exactly one.
    for (int i = 0; i < 10; ++i)
        for (int j = i + 1; j < 10; ++j) {
            const TBezelButton &a = BezelButtons[i], &b = BezelButtons[j];
            EXPECT_TRUE(a.x + a.w <= b.x || b.x + b.w <= a.x || a.y + a.h <= b.y || b.y + b.h <= a.y)
                << "SpeedButton" << i + 1 << " and SpeedButton" << j + 1;
        }
}

TEST(BezelLogic, RepeatsStartAtTheSeventhTickAndFollowEveryTick) {
    int count = 0;
    EXPECT_FALSE(RepeatTick(&count));  // not held
    EXPECT_EQ(count, 0);
    count = 1;  // the press
    std::string due;
    for (int tick = 1; tick <= 10; ++tick) due += RepeatTick(&count) ? 'x' : '.';
    EXPECT_EQ(due, "......xxxx");  // held about a second: four repeats after the press
    EXPECT_EQ(count, 7);
}

TEST(BezelLogic, DisplayWindowSitsOverTheScreenOpening) {
    int x = 0, y = 0;
    DisplayPlace(0, 0, &x, &y);
    EXPECT_EQ(x, 78);
    EXPECT_EQ(y, 22);
    DisplayPlace(-300, 1500, &x, &y);  // off the screen, as a form may be dragged
    EXPECT_EQ(x, -222);
    EXPECT_EQ(y, 1522);
    // The whole display window lies on the form.
    EXPECT_LE(DisplayOffsetX + DisplayWindowWidth, FormWidth);
    EXPECT_LE(DisplayOffsetY + DisplayWindowHeight, FormHeight);
}

TEST(BezelLogic, WindowOrderFollowsTheFocus) {
    int flag = 1;  // at start: the display was last placed as not topmost
    EXPECT_EQ(WindowOrder(false, false, &flag), OrderKeep);
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(WindowOrder(true, false, &flag), OrderDisplayOnTop);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(WindowOrder(true, false, &flag), OrderKeep);  // once only
    EXPECT_EQ(WindowOrder(false, true, &flag), OrderKeep);
    EXPECT_EQ(WindowOrder(false, false, &flag), OrderBehind);
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(WindowOrder(false, false, &flag), OrderKeep);
    EXPECT_EQ(WindowOrder(false, true, &flag), OrderFormFirst);
    EXPECT_EQ(flag, 0);
}

// The bezel pictures that the build drew: 24-bit BMP files of the form's sizes.
TEST(BezelPictures, GeneratedAtTheFormsSizes) {
    for (const TBezelPicture& p : BezelPictures) {
        std::ifstream in(std::string(RUN_DIR) + "/" + p.file, std::ios::binary);
        ASSERT_TRUE(in) << p.file;
        unsigned char h[54] = {};
        ASSERT_TRUE(in.read(reinterpret_cast<char*>(h), sizeof h)) << p.file;
        auto le32 = [&](int at) { return int32_t(h[at] | h[at + 1] << 8 | h[at + 2] << 16 | uint32_t(h[at + 3]) << 24); };
        EXPECT_EQ(h[0], 'B');
        EXPECT_EQ(h[1], 'M');
        EXPECT_EQ(le32(18), p.w) << p.file;
        EXPECT_EQ(std::abs(le32(22)), p.h) << p.file;
        EXPECT_EQ(h[28] | h[29] << 8, 24) << p.file;
        in.seekg(0, std::ios::end);
        EXPECT_EQ(static_cast<int64_t>(in.tellg()), le32(2)) << p.file;
    }
}
