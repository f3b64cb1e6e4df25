// dashview as a whole program, in a temporary copy of the run folder: headless
// with scripted keys and frame snapshots, and in a real window under Xvfb.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <set>
#include <atomic>
#include <map>
#include <memory>
#include <chrono>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "config_tempdir.h"
#include "configfile.h"
#include "configmanager.h"
#include "displayitems.h"
#include "fgbitmap.h"
#include "fgdrawbuffer.h"
#include "fgfontmanager.h"
#include "file_io.h"
#include "frame_text.h"
#include "headless_run.h"
#include "gui_terr/engineback.h"
#include "hkmeasure.h"
#include "initialsetting.h"
#include "editors.h"
#include "limiteditors.h"
#include "measured_block.h"
#include "page_assets.h"
#include "window.h"
#include "xvfb.h"

// Last: its macros would break the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

// A run folder: the generated Data and map directories and nothing the programs wrote.
class RunCopy : public RunFolderTest {
protected:
    void SetUp() override {
        RunFolderTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_TRUE(MakeRunFolder(dir.Path(), {"map"}));
    }
    // Runs the key script headless with its frames in snap/; the program's output.
    std::string RunScript(const std::string& script) {
        EXPECT_TRUE(run.Script(script, 60)) << run.code;
        return run.Output();
    }
};

// Position of a line in the output; npos when absent.
size_t Find(const std::string& out, const char* text) { return out.find(text); }

}  // namespace

TEST_F(RunCopy, HeadlessStartPaintsTheLayoutAndQuitsSavingItsFiles) {
    const std::string out = RunScript("wait 1500\nquit\n");
    SCOPED_TRACE(out);

    // Start-up in its order: the block attached by the static objects, the five files
    // loaded, then the quit's save.
    const size_t attach = Find(out, "TMeasuredVals::InitSystemResources");
    const size_t load = Find(out, ">>LoadSetting()");
    const size_t loaded = Find(out, "CConfigManager::Load: LoadConfig ... before.. typ=1f, re=0");
    ASSERT_NE(attach, std::string::npos);
    ASSERT_NE(load, std::string::npos);
    ASSERT_NE(loaded, std::string::npos);
    EXPECT_LT(attach, load);
    EXPECT_LT(load, loaded);
    // The default last screen (the flight page) is known, so only the quit saves.
    const size_t save = out.rfind(">>SaveSetting()");
    ASSERT_NE(save, std::string::npos);
    EXPECT_LT(loaded, save);
    EXPECT_NE(out.find("<<SaveSetting() OK", save), std::string::npos);
    EXPECT_EQ(Find(out, "not loaded"), std::string::npos);
    EXPECT_EQ(Find(out, "not registered"), std::string::npos);

    // Quit saved the statistics and the runtime file; the setup file is the first start's.
    EXPECT_TRUE(Exists(Path("statistic.dat")));
    EXPECT_TRUE(Exists(Path("runtime.dat")));
    EXPECT_TRUE(Exists(Path("setup.dat")));

    // The frames: 800 x 600 with the 800 x 480 page at (0, 60); black bands above and below.
    const std::vector<std::string> frames = run.FrameFiles();
    // The last frame is the one after shutdown closed the main window: take the one before.
    ASSERT_GE(frames.size(), 2u);
    FGBitmap last(frames[frames.size() - 2].c_str());
    ASSERT_EQ(last.width, 800);
    ASSERT_EQ(last.height, 600);
    auto at = [&](int x, int y) { return last.pixels[y * last.width + x] & 0xFFFFFF; };
    for (int x = 0; x < 800; x += 37) {
        EXPECT_EQ(at(x, 0), 0u);
        EXPECT_EQ(at(x, 59), 0u);
        EXPECT_EQ(at(x, 540), 0u);
        EXPECT_EQ(at(x, 599), 0u);
    }
    // The default device shows the flight page: its baro box picture at (612, 422) of the page.
    int lit = 0;
    for (int y = 422; y < 422 + 42; ++y)
        for (int x = 612; x < 612 + 110; ++x) lit += at(x, y + 60) != 0;
    EXPECT_GT(lit, 110 * 42 / 4);
    // The default setting is the standard 1013.2 mBar: its mark stands in the box's
    // top right corner, dark on the light picture, clear of the value.
    int mark = 0;
    for (int y = 424; y < 438; ++y)
        for (int x = 706; x < 718; ++x) mark += (at(x, y + 60) & 0xFF) < 0x60;
    EXPECT_GT(mark, 6);
}

// A configuration file whose header and every packet check out to its end.
static void ExpectValidConfigFile(const std::string& name, uint32_t type) {
    TConfig file(name.c_str());
    ASSERT_EQ(file.OpenConfig(), 0) << name;
    uint32_t found = 0;
    EXPECT_EQ(file.CheckFileHeader(name.c_str(), &found), 0) << name;
    EXPECT_EQ(found, type) << name;
    SetupSectPacket h;
    int sections = 0, r = file.GetFirstSection(&h, nullptr);
    for (; r == 0; r = file.GetNextSection(&h, nullptr)) ++sections;
    EXPECT_EQ(r, -4) << name;  // the end of the file, not a damaged packet
    EXPECT_GT(sections, 0) << name;
}

// A quit signal, or Ctrl-C typed in the window, ends the program as a quit does: code 0
// (2 after Ctrl-C), the flight's statistics and the runtime file saved whole, every time.
TEST_F(RunCopy, QuitSignalsRunTheNormalShutdown) {
    const char* const typed = "CtrlCTypedEndsWithTheNormalShutdown";
    const struct {
        const char* name;
        int sig;  // 0: Ctrl-C typed
    } rows[] = {{"SIGTERM", SIGTERM}, {"SIGINT", SIGINT}, {"SIGHUP", SIGHUP}, {typed, 0}, {typed, 0}, {typed, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        for (const char* f : {"statistic.dat", "statistic.bck", "runtime.dat", "runtime.bck"}) unlink(Path(f).c_str());
        ASSERT_TRUE(run.Start(row.sig ? "" : "wait 2500\nchar 3\n"));
        // Started up once the first frame is out.
        bool painted = !row.sig;
        for (int i = 0; i < 1200 && !painted; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            painted = !run.FrameFiles().empty();
        }
        ASSERT_TRUE(painted);
        if (row.sig) {
            ASSERT_EQ(kill(run.pid, row.sig), 0);
        }
        EXPECT_EQ(run.Wait(60), row.sig ? 0 : 2);
        const std::string out = run.Output();
        EXPECT_NE(out.find("<<SaveSetting() OK"), std::string::npos) << out;
        ExpectValidConfigFile(Path("statistic.dat"), 0x1000);
        ExpectValidConfigFile(Path("runtime.dat"), 0x2000);
        EXPECT_EQ(FileBytes(Path("statistic.dat")).size(), FileBytes(Path("statistic.bck")).size());
    }
}

// The sections of a configuration file by SSID; empty when it does not check out.
std::map<uint16_t, int> SectionCounts(const std::string& name) {
    std::map<uint16_t, int> counts;
    TConfig file(name.c_str());
    uint32_t type = 0;
    if (file.OpenConfig() != 0 || file.CheckFileHeader(name.c_str(), &type) != 0 || type != 0x4000) return counts;
    SetupSectPacket h;
    for (int r = file.GetFirstSection(&h, nullptr); r == 0; r = file.GetNextSection(&h, nullptr)) ++counts[h.SSID];
    return counts;
}

// The first start in an empty folder writes the setup file with the gauge configuration,
// the configured sensors and the 19 limit records; a setup file that is there (whole or
// damaged, or only its twin) is never written over, and a second start leaves it (and
// its thermocouple record) alone.
TEST_F(RunCopy, FirstStartSeedsTheSetupFileOnce) {
    const std::string junk(700, '\x5A');
    struct TRow {
        const char* name;
        const char* dat;  // null: absent
        const char* bck;
        bool seeded;
    } rows[] = {
        {"empty folder", nullptr, nullptr, true},
        {"second start", nullptr, nullptr, false},  // over the first row's files
        {"damaged setup.dat", junk.c_str(), nullptr, false},
        {"damaged setup.bck alone", nullptr, junk.c_str(), false},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.seeded || row.dat || row.bck) {
            unlink(Path("setup.dat").c_str());
            unlink(Path("setup.bck").c_str());
        }
        if (row.dat) std::ofstream(Path("setup.dat")) << row.dat;
        if (row.bck) std::ofstream(Path("setup.bck")) << row.bck;
        const std::vector<uint8_t> datBefore = FileBytes(Path("setup.dat")), bckBefore = FileBytes(Path("setup.bck"));
        ASSERT_TRUE(run.Script("wait 1500\nquit\n", 60)) << run.Output();
        if (row.seeded) {
            const std::map<uint16_t, int> sections = SectionCounts(Path("setup.dat"));
            EXPECT_EQ(sections, (std::map<uint16_t, int>{{0x4010, 1}, {0x4064, 6}, {0x4065, 19}}));
            EXPECT_EQ(FileBytes(Path("setup.bck")), FileBytes(Path("setup.dat")));
            // Four cylinders; EGT slots on thermocouples 1..6, CHT slots on 7..12.
            TConfig file(Path("setup.dat").c_str());
            const uint8_t* record = nullptr;
            ASSERT_EQ(file.GetSection(0x4010, 0, 48, &record), 0);
            EXPECT_EQ(std::vector<uint8_t>(record, record + 16),
                      (std::vector<uint8_t>{4, 255, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
        } else {
            EXPECT_EQ(FileBytes(Path("setup.dat")), datBefore);
            EXPECT_EQ(FileBytes(Path("setup.bck")), bckBefore);
        }
    }
}

TEST_F(RunCopy, DemoResetKeyOutsideDemoModeLeavesTheSettingsAlone) {
    std::ofstream(Path("demosetup.dat")) << "demo setup";
    std::ofstream(Path("demoruntime.dat")) << "demo runtime";
    EXPECT_TRUE(run.Script("wait 500\nb\nwait 500\nquit\n", 60));
    EXPECT_EQ(Find(run.Output(), "DEMO is being reset"), std::string::npos) << run.Output();
    EXPECT_NE(FileText(Path("setup.dat")), "demo setup");
    EXPECT_NE(FileText(Path("runtime.dat")), "demo runtime");
}


// A demo that resets itself while the statistics box is open: the reset closes the box
// (whose Hide key the reset takes away) along with the menu.
TEST_F(RunCopy, DemoResetClosesAnOpenBox) {
    {
        ASSERT_EQ(ConfigManager.Create(), 0);
        ConfigManager.SetSleep([](uint32_t) {});
        ASSERT_EQ(LoadSetting(nullptr, KindAll, 0), 0);
        DemoSetting.marker = DemoMarkerValue;
        ASSERT_EQ(SetSS(0x4003, 0), 0);
        ASSERT_EQ(SaveSetting(nullptr, KindSetup | KindRuntime), 0);
        DemoSetting.marker = 0;
        ConfigManager.Release();
        WriteByteFile(Path("demosetup.dat"), FileBytes(Path("setup.dat")));
        WriteByteFile(Path("demoruntime.dat"), FileBytes(Path("runtime.dat")));
    }
    // Confirm the demo notice, menu -> Statistic, then the demo reset key.
    const std::string out =
        RunScript("wait 3000\n2\nwait 500\n1\nwait 300\nw\nwait 300\nw\nwait 300\n1\nwait 1000\nb\nwait 1500\nquit\n");
    ASSERT_NE(Find(out, "DEMO is being reset"), std::string::npos) << out;
    // The box: the overlay panel colour over the inside of (180, 190) 440 x 100.
    auto boxShown = [](const FGBitmap& f) {
        int panel = 0;
        for (int y = 200; y < 280; y += 4)
            for (int x = 190; x < 550; x += 4) panel += (f.pixels[(y + 60) * f.width + x] & 0xFFFFFF) == 0xD2D2E1;
        return panel > 900;
    };
    bool seen = false;
    for (const std::string& name : run.FrameFiles()) {
        FGBitmap f(name.c_str());
        seen |= f.width == 800 && boxShown(f);
    }
    EXPECT_TRUE(seen) << "the statistics box never opened";
    auto last = run.LastFrame();
    ASSERT_NE(last, nullptr);
    EXPECT_FALSE(boxShown(*last));
}

// A run folder whose runtime file names the last screen; dashview runs there
// headless while this process writes the block, as the bench program would.
class FedRun : public RunCopy {
protected:
    struct TFeed {
        uint32_t id;
        float value;
    };
    void StoreLayout(int screen, int terrainView) {
        ASSERT_EQ(ConfigManager.Create(), 0);
        ConfigManager.SetSleep([](uint32_t) {});
        ASSERT_EQ(LoadSetting(nullptr, KindAll, 0), 0);
        DisplaySetting.screenWord = (DisplaySetting.screenWord & ~ScreenWordTypeMask) | screen;
        DisplaySetting.terrainView = terrainView;
        ASSERT_EQ(SetSS(0x2009, 0), 0);
        ASSERT_EQ(SaveSetting(nullptr, KindRuntime), 0);
        // A GPS and a navigation receiver on their ports: the NAV and GPS strips exist.
        DevicePort[1].flags |= PortConnected;
        DevicePort[3].flags |= PortConnected;
        ASSERT_EQ(SetSS(0x4018, 2), 0);
        ASSERT_EQ(SetSS(0x4018, 4), 0);
        ASSERT_EQ(SaveSetting(nullptr, KindSetup), 0);
        ConfigManager.Release();
    }
    // The last page frame of a run of about ms milliseconds fed with the values.
    std::unique_ptr<FGBitmap> Run(const std::vector<TFeed>& feed, int ms, const std::string& keys = "") {
        std::atomic<bool> stop{false};
        {
            TMValWriter writer;
            std::thread feeder([&] {
                while (!stop) {
                    for (const TFeed& f : feed) writer.SetVal(f.id, f.value);
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
                }
            });
            run.Script(keys + "wait " + std::to_string(ms) + "\nquit\n", 60);
            stop = true;
            feeder.join();
            EXPECT_EQ(run.code, 0) << run.Output();
        }
        output = run.Output();
        auto frame = run.LastFrame();
        EXPECT_NE(frame, nullptr);
        if (frame) {
            EXPECT_EQ(frame->width, 800);
        }
        return frame && frame->width == 800 ? std::move(frame) : nullptr;
    }
    std::string output;
};

// Every layout with the flight view, in level flight over the generated terrain near
// the recorded flight's field: sky above and ground below the horizon, the QNH in its
// box, and the frame kept as an artefact to look at.
TEST_F(FedRun, EveryFlightLayoutOverTheTerrain) {
    const std::vector<TFeed> level = {
        {echAltitudeQNH, 900},  {echInercialPitch, 0}, {echInercialRoll, 0}, {echSpeedIas, 185.2f},
        {echGPSTrk, 270},       {echGPSLat, 50.08f},   {echGPSLon, 14.30f},  {echSpeedVertical, 0},
        {echInercialAccPilot, 1}, {echRpmEng, 2400}, {echInercialAzimut, 270},
    };
    LoadPageAssets();
    const int baroFont = DisplayItemFont(12, LanguageId);
    ASSERT_GE(baroFont, 0);
    for (int screen : {ScreenFlight, ScreenFlightEms, ScreenFlightNav, ScreenFlightGps}) {
        SCOPED_TRACE(screen);
        StoreLayout(screen, 1);
        auto frame = Run(level, 2500);
        ASSERT_NE(frame, nullptr);
        SavePageSnapshot(*frame, ("dashview_layout_" + std::to_string(screen) + ".bmp").c_str());
        auto at = [&](int x, int y) { return frame->pixels[(y + 60) * 800 + x] & 0xFFFFFF; };
        auto blue = [](FGPixel p) { return int(p & 0xFF) > int((p >> 16) & 0xFF) + 40; };
        // The attitude's centre column: sky above the middle, no sky well below it.
        const int cx = screen == ScreenFlight ? 400 : 280;
        EXPECT_TRUE(blue(at(cx, 150))) << std::hex << at(cx, 150);
        EXPECT_FALSE(blue(at(cx, 330))) << std::hex << at(cx, 330);
        EXPECT_GE(FindText(*frame, baroFont, "1013.2").first, 0) << output;
        // The standard setting's mark stands on the box's picture, on no key-coloured paper.
        const int bx = screen == ScreenFlight ? 612 : 411;
        int key = 0, mark = 0;
        for (int y = 422; y < 422 + 42; ++y)
            for (int x = bx; x < bx + 110; ++x) key += at(x, y) == 0xF000F0;
        for (int y = 424; y < 438; ++y)
            for (int x = bx + 94; x < bx + 106; ++x) mark += (at(x, y) & 0xFF) < 0x60;
        EXPECT_EQ(key, 0);
        EXPECT_GT(mark, 6);
    }
}

// A block whose writer has gone, ended or killed, is no measurement: dashview alone on it
// draws the very frame it draws with no block. An unusable object under the block's name
// is replaced by a sound block, and the page is drawn. One that is not ours alone, or too
// short while held, is refused: one error line, a code that says so, and no frame at all.
TEST_F(FedRun, ABlockLeftBehindReadsAsNoBlock) {
    // RPM 4321, oil temperature 95.0, airspeed 185.2 and altitude 1000.0, as benchdesk stores them.
    const std::vector<std::string> values = {"attach", "int",   "0xB00", "4321",  "int", "0x603", "950",
                                             "int",    "0xF01", "1852",  "int",   "0x300", "10000", "wait"};
    enum TLeft { Nothing, WriterEnded, WriterKilled, KilledWhileHeld, ZeroLength, OtherUser, OthersWrite, ShortHeld };
    const struct TRow {
        const char* name;
        int screen;
        TLeft left;
    } rows[] = {
        {"no block, engine page", ScreenEngine, Nothing},
        {"its writer ended", ScreenEngine, WriterEnded},
        {"its writer killed", ScreenEngine, WriterKilled},
        {"its writer killed while another reader holds it", ScreenEngine, KilledWhileHeld},
        {"no block, flight page", ScreenFlight, Nothing},
        {"a zero-length object", ScreenFlight, ZeroLength},
        {"a live writer's block given to another user", ScreenEngine, OtherUser},
        {"a live writer's block that others may write", ScreenEngine, OthersWrite},
        {"a 100-byte object that another program holds", ScreenEngine, ShortHeld},
    };
    // The page but for the clock, which moves on between runs.
    const auto page = [](const FGBitmap& f, int screen) {
        std::vector<uint32_t> p(f.pixels, f.pixels + 800 * 600);
        if (screen == ScreenEngine)
            for (int y = 398; y < 420; ++y) std::fill_n(&p[(y + 60) * 800 + 505], 800 - 505, 0u);
        return p;
    };
    // Every frame of the run with no block: a blinking mark may stand in either phase.
    std::map<int, std::vector<std::vector<uint32_t>>> noBlock;
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.name);
        StoreLayout(row.screen, 0);
        ShmUnlink(ShmBlockName());
        std::unique_ptr<TMValReader> holder;
        std::unique_ptr<HelperProcess> live;
        ShmMapping peer;
        if (row.left == OtherUser || row.left == OthersWrite) {
            live = std::make_unique<HelperProcess>(BenchWriter(values));
            for (std::string line; (line = live->Line()) != "ready";) ASSERT_NE(line, "");
            const int fd = shm_open(ShmBlockName(), O_RDWR, 0);
            ASSERT_EQ(row.left == OtherUser ? fchown(fd, 65534, 65534) : fchmod(fd, 0666), 0);
            close(fd);
        } else if (row.left == ShortHeld) {
            ASSERT_EQ(ShmCreateOrOpen(ShmBlockName(), 100, peer), ShmOk);
        } else if (row.left == ZeroLength) {
            const int fd = shm_open(ShmBlockName(), O_RDWR | O_CREAT | O_EXCL, 0600);
            ASSERT_GE(fd, 0);
            close(fd);
        } else if (row.left != Nothing) {
            HelperProcess writer(BenchWriter(values));
            for (std::string line; (line = writer.Line()) != "ready";) ASSERT_NE(line, "");
            if (row.left == KilledWhileHeld) holder = std::make_unique<TMValReader>();
            EXPECT_EQ(row.left == WriterEnded ? writer.Finish() : writer.Kill(), row.left == WriterEnded ? 0 : -1);
        }
        const bool ended = run.Script("wait 2500\nquit\n", 60);
        holder.reset();
        if (row.left >= OtherUser) {
            const std::string out = run.Output();
            const char* why = row.left == OtherUser     ? "it belongs to user 65534"
                              : row.left == OthersWrite ? "other users may write it (mode 0666)"
                                                        : "it holds 100 bytes";
            EXPECT_NE(out.find("Error: dashview cannot use the measured-values block \"" + std::string(ShmBlockName()) +
                               "\": " + why),
                      std::string::npos) << out;
            EXPECT_EQ(out.find("Error: "), out.rfind("Error: ")) << "one error line";
            EXPECT_EQ(run.code, MeasExitNoBlock);
            EXPECT_TRUE(run.FrameFiles().empty());
            continue;
        }
        ASSERT_TRUE(ended) << run.Output();
        auto frame = run.LastFrame();
        ASSERT_NE(frame, nullptr);
        ASSERT_EQ(frame->width, 800);
        if (row.left == Nothing) {
            auto& kept = noBlock[row.screen];
            for (const auto& f : run.Frames())
                if (f->width == 800 && f->height == 600) {
                    std::vector<uint32_t> p = page(*f, row.screen);
                    if (std::find(kept.begin(), kept.end(), p) == kept.end()) kept.push_back(std::move(p));
                }
            continue;
        }
        const std::vector<std::vector<uint32_t>>& seen = noBlock[row.screen];
        ASSERT_FALSE(seen.empty());
        const std::vector<uint32_t> mine = page(*frame, row.screen);
        int differ = static_cast<int>(mine.size());
        for (const std::vector<uint32_t>& other : seen) {
            int d = 0;
            for (size_t i = 0; i < mine.size(); ++i) d += mine[i] != other[i];
            differ = std::min(differ, d);
        }
        EXPECT_EQ(differ, 0) << "pixels apart from the nearest frame of the run with no block";
        if (differ) SavePageSnapshot(*frame, "dashview_left_behind.bmp");
    }
}

// The flight view with the engine strip: every 2-D needle turns about the hub of its
// GL face. The hub picture sits on the face's centre, and around that centre the ring
// just inside the rim runs along the face's coloured scale over the whole sweep.
TEST_F(FedRun, EngineStripNeedlesSitOnTheirFaces) {
    const std::vector<TFeed> feed = {{echRpmEng, 2400}, {echPressMap, 800}, {echPressOil, 4.0f}, {echTempOil, 90}};
    InitEngineLayouts();  // the faces' geometry, as dashview's GL view has it
    {
        StoreLayout(ScreenFlightEms, 0);
        auto frame = Run(feed, 2500);
        ASSERT_NE(frame, nullptr);
        SavePageSnapshot(*frame, "dashview_strip.bmp");
        auto bright = [&](double x, double y) {
            const FGPixel p = frame->pixels[(std::lround(y) + 60) * 800 + std::lround(x)];
            return (p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF) > 150;
        };
        for (int dial : {DialStripRpm, DialStripOilPress, DialStripOilTemp, DialStripFourth}) {
            SCOPED_TRACE(dial);
            const TInstrumentConfig& c = EngineDialConfig[dial];
            // The strip's faces: GL y runs upwards, 20 px setup margin, strip view from x 557.
            const double cx = 557 + c.cx, cy = 460 - c.cy - 0.5;
            EXPECT_TRUE(bright(cx, cy));  // the hub
            int onScale = 0;
            const double span = std::abs(c.endAngle - c.startAngle), sign = c.clockwise ? -1 : 1;
            for (int step = 0; step <= 20; ++step) {
                const double a = (c.startAngle + sign * span * step / 20) * M_PI / 180;
                const double r = c.radius - c.tickLength / 2.0;
                onScale += bright(cx + r * std::cos(a), cy - r * std::sin(a));
            }
            EXPECT_GE(onScale, 16);
        }
    }
}

class RunWindow : public RunCopy {
protected:
    void SetUp() override {
        RunCopy::SetUp();
        if (IsSkipped()) return;
        if (!TXvfb::Installed()) TOOL_MISSING() << "Xvfb is not installed";
        ASSERT_TRUE(server.Start("1024x768x24")) << server.error;
        setenv("DISPLAY", server.display.c_str(), 1);
    }
    void TearDown() override {
        WindowCloseLink();
        unsetenv("DISPLAY");
    }
    // Starts dashview in a window on the server and waits for the window "Velvix".
    void StartWindowed(TWindowId* id) {
        run.env = {"DISPLAY=" + server.display};
        run.args = {"-window"};
        ASSERT_TRUE(run.Start());
        for (int i = 0; i < 400 && WindowFind("Velvix", id) != WINDOW_OK; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        ASSERT_NE(*id, 0u) << run.Output();
    }
    TXvfb server;
};

TEST_F(RunWindow, WindowNamedVelvixEndsCleanlyOnAQuitMessage) {
    TWindowId id = 0;
    ASSERT_NO_FATAL_FAILURE(StartWindowed(&id));

    Display* probe = XOpenDisplay(server.display.c_str());
    ASSERT_NE(probe, nullptr);
    XWindowAttributes attr{};
    ASSERT_TRUE(XGetWindowAttributes(probe, id, &attr));
    EXPECT_EQ(attr.width, 800);
    EXPECT_EQ(attr.height, 600);
    XCloseDisplay(probe);

    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ASSERT_EQ(WindowSendClose(id), WINDOW_OK);
    EXPECT_EQ(run.Wait(30), 0) << run.Output();
    EXPECT_TRUE(Exists(Path("statistic.dat")));
    EXPECT_TRUE(Exists(Path("runtime.dat")));
}

// A bezel key reaches dashview the way the bench program sends it, as a character in
// a client message to the window "Velvix": a key press raises the soft-key caption
// bar from 15 to 25 rows at the foot of the page.
TEST_F(RunWindow, CharacterFromTheBenchRaisesTheCaptionBar) {
    TWindowId id = 0;
    ASSERT_NO_FATAL_FAILURE(StartWindowed(&id));

    Display* probe = XOpenDisplay(server.display.c_str());
    ASSERT_NE(probe, nullptr);
    // Page row 462 lies inside a 25-row bar and outside a 15-row one.
    auto barRow = [&] {
        XImage* image = XGetImage(probe, id, 0, 60 + 462, 800, 1, AllPlanes, ZPixmap);
        if (!image) return -1;
        int black = 0;
        for (int x = 0; x < 800; ++x) black += (XGetPixel(image, x, 0) & 0xFFFFFF) == 0;
        XDestroyImage(image);
        return black;
    };
    // Wait for the first painted page (a loaded machine may take a while).
    int black = 800;
    for (int i = 0; i < 300 && black >= 700; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        black = barRow();
    }
    ASSERT_LT(black, 700) << "the page shows below a resting caption bar";
    ASSERT_EQ(WindowSendChar(id, '1'), WINDOW_OK);
    // The bar stays up for 5 s after the key.
    for (int i = 0; i < 80 && black < 800; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        black = barRow();
    }
    EXPECT_EQ(black, 800) << "the caption bar did not rise";
    XCloseDisplay(probe);

    ASSERT_EQ(WindowSendClose(id), WINDOW_OK);
    EXPECT_EQ(run.Wait(30), 0) << run.Output();
}

// The demo of the model with the entertainment screen: the demo reset opens the screen,
// "w" "1" steps through its modes, and "0" within the arming time of "1" closes it.
TEST_F(RunCopy, EntertainmentDemoShowsEachModeAndExits) {
    ASSERT_EQ(ConfigManager.Create(), 0);
    ConfigManager.SetSleep([](uint32_t) {});
    ASSERT_EQ(LoadSetting(nullptr, KindAll, 0), 0);
    const TDemoSetting saved = DemoSetting;
    DemoSetting.marker = DemoMarkerValue;
    DemoSetting.modelCode = 31;
    ASSERT_EQ(SetSS(0x4003, 0), 0);
    ASSERT_EQ(SaveSetting(nullptr, KindSetup | KindRuntime), 0);
    ConfigManager.Release();
    DemoSetting = saved;
    ASSERT_EQ(system("cp setup.dat demosetup.dat && cp runtime.dat demoruntime.dat"), 0);

    const std::string out = RunScript("wait 1500\nb\nwait 1000\nw\n1\nwait 1000\nw\n1\nwait 1000\n1\nwait 500\n0\nwait 1000\nquit\n");
    SCOPED_TRACE(out);
    EXPECT_NE(Find(out, "DEMO is being reset"), std::string::npos);
    EXPECT_NE(Find(out, "VID: thread destroying"), std::string::npos);

    const std::vector<std::string> frames = run.FrameFiles();
    ASSERT_GE(frames.size(), 5u);
    const FGBitmap band(RUN_DIR "/Data/EntAudioUpper.bmp");
    ASSERT_GT(band.width, 5);
    const uint32_t bandPixel = band.pixels[5 * band.width + 5] & 0xFFFFFF;
    // The first frame of each mode, by probes of the page at (0, 60) of the frame.
    int movie = -1, music = -1, flight = -1;
    for (size_t i = 0; i < frames.size(); ++i) {
        const FGBitmap f(frames[i].c_str());
        if (f.width != 800 || f.height != 600) continue;
        auto at = [&](int x, int y) { return f.pixels[(y + 60) * f.width + x] & 0xFFFFFF; };
        int pink = 0;
        for (int y = 30; y < 62; ++y)
            for (int x = 0; x < 580; ++x) pink += at(x, y) == 0xFF6CB6;
        if (movie < 0 && at(54, 200) == 0x080808 && at(300, 240) == 0) movie = static_cast<int>(i);
        if (music < 0 && at(135, 105) == bandPixel && at(135, 255) == bandPixel) music = static_cast<int>(i);
        if (flight < 0 && pink > 50) flight = static_cast<int>(i);
    }
    ASSERT_GE(movie, 0);
    ASSERT_GT(music, movie);
    ASSERT_GT(flight, music);
    for (const auto& [name, index] : {std::pair<const char*, int>{"movie", movie}, {"music", music}, {"flight", flight}}) {
        FGBitmap f(frames[size_t(index)].c_str());
        SavePageSnapshot(f, (std::string("dashview_entertainment_") + name + ".bmp").c_str());
    }
    // After the exit the instrument's page is back.
    auto last = run.LastFrame();
    ASSERT_NE(last, nullptr);
    auto at = [&](int x, int y) { return last->pixels[(y + 60) * last->width + x] & 0xFFFFFF; };
    EXPECT_FALSE(at(54, 200) == 0x080808 && at(300, 240) == 0);
    EXPECT_NE(at(135, 105), bandPixel);
}

// The engine page fed with values: each reading in its place and font. The engine speed,
// averaged and rounded, in the page's upper half; voltage 1 in its box, 100 x 20 at
// (29, 249); the fuel used centred under its caption (x 555), never what the tanks hold.
TEST_F(FedRun, EnginePageReadingsShowTheFedValues) {
    StoreLayout(ScreenEngine, 0);
    // Long enough for the 2 s average to fill on a busy machine.
    auto frame = Run({{echRpmEng, 2400}, {echVolt1, 13.8f}, {echFuelLevel1, 40.0f}, {echFuelLevel2, 30.0f}, {echFuelUsed, 12.3f}},
                     6000);
    ASSERT_NE(frame, nullptr);
    SavePageSnapshot(*frame, "dashview_engine_fed.bmp");
    LoadPageAssets();
    const struct {
        const char* name;
        const char* text;
        int font;               // with anyFont: the first display font that shows it
        bool anyFont, centred;  // centred: x is the text's centre, not its left
        int x0, x1, y0, y1;
        const char* absent;
    } rows[] = {
        {"ValuesFedIntoTheBlockReachTheEnginePage", "2400", DisplayFonts[FontEuromode20], false, false, 0, 800, 0, 240, nullptr},
        {"EnginePageVoltBoxShowsTheBlockVoltage", "13.8 V", -1, true, false, 0, 130, 240, 275, nullptr},
        {"FuelUsedBoxShowsTheFuelUsed", "12.3 l", DisplayItemFont(10, LanguageId), false, true, 552, 559, 295, 325, "70.0 l"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::pair<int, int> at{-1, -1};
        int font = row.font;
        for (int i = 0; i < (row.anyFont ? DisplayFontCount : 1) && at.first < 0; ++i)
            if ((font = row.anyFont ? DisplayFonts[i] : row.font) >= 0) at = FindText(*frame, font, row.text);
        EXPECT_GE(at.first, 0) << row.text << " is not on the page\n" << output;
        if (at.first < 0) continue;
        const int x = at.first + (row.centred ? FGFontManager::textwidth(font, row.text) / 2 : 0);
        EXPECT_TRUE(x >= row.x0 && x < row.x1 && at.second >= row.y0 && at.second < row.y1) << x << ", " << at.second;
        if (row.absent) {
            EXPECT_LT(FindText(*frame, font, row.absent).first, 0);
        }
    }
}

// A start at a field at 380 m, the block steady from the first moment: the flight statistic
// opened from the menu shows 380 m as the lowest and the highest altitude, never a value
// from the averaging's warm-up.
TEST_F(FedRun, StatisticAfterASteadyStartHoldsTheFieldAltitude) {
    StoreLayout(ScreenFlight, 0);
    ASSERT_EQ(ConfigManager.Create(), 0);
    ConfigManager.SetSleep([](uint32_t) {});
    ASSERT_EQ(LoadSetting(nullptr, KindAll, 0), 0);
    UnitsSetting.altitude = 1;  // metres
    ASSERT_EQ(SetSS(0x4001, 0), 0);
    ASSERT_EQ(SaveSetting(nullptr, KindSetup), 0);
    ConfigManager.Release();
    auto frame = Run({{echAltitudeQNH, 380}}, 800, "wait 3000\n1\nwait 300\nw\nw\nwait 300\n1\n");
    ASSERT_NE(frame, nullptr);
    SavePageSnapshot(*frame, "dashview_statistic_steady.bmp");
    LoadPageAssets();
    for (const char* line : {"Altitude MIN = 380 m", "Altitude MAX = 380 m"}) {
        std::pair<int, int> at{-1, -1};
        for (int i = 0; i < DisplayFontCount && at.first < 0; ++i)
            if (DisplayFonts[i] >= 0) at = FindText(*frame, DisplayFonts[i], line);
        EXPECT_GE(at.first, 0) << line << " is not in the statistic\n" << output;
    }
}

// Between its warning (14.5 V) and alarm (15.0 V) limits the voltage is black on yellow.
TEST_F(FedRun, EnginePageVoltBoxInTheWarningZoneIsBlackOnYellow) {
    StoreLayout(ScreenEngine, 0);
    auto frame = Run({{echVolt1, 14.75f}}, 4000);
    ASSERT_NE(frame, nullptr);
    // The box of voltage 1: 100 x 20 at (29, 249).
    int yellow = 0, black = 0, white = 0;
    for (int y = 249; y < 269; ++y)
        for (int x = 29; x < 129; ++x) {
            const FGPixel p = frame->pixels[(y + 60) * 800 + x] & 0xFFFFFF;
            yellow += p == 0xFCE000;
            black += p == 0;
            white += p == 0xFFFFFF;
        }
    EXPECT_GT(yellow, 500) << output;
    EXPECT_GT(black, 20);
    EXPECT_EQ(white, 0);
}

// Pixels of a colour in a page frame's rectangle.
int PageCount(const FGBitmap& f, int x, int y, int w, int h, FGPixel colour) {
    int n = 0;
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) n += PageAt(f, i, j) == colour;
    return n;
}

// "last_status" at start: its lines in the centred popup list with "Confirm" on '2';
// confirming renames the file to the seconds of the clock and closes the list.
TEST_F(RunCopy, LastStatusShowsThePopupListAndConfirmRenamesIt) {
    std::ofstream(Path("last_status")) << "Update OK\n# a comment\nEMS firmware 2.04\nEFIS firmware 3.10\n";
    const time_t before = time(nullptr);
    const std::string out = RunScript("wait 1500\n2\nwait 800\nquit\n");
    const time_t after = time(nullptr);
    SCOPED_TRACE(out);

    const std::vector<std::string> frames = run.FrameFiles();
    LoadPageAssets();
    const int body = DisplayItemFont(10, 1033);
    ASSERT_GE(body, 0);
    const FGPixel panel = 0xD2D2E1;
    int shown = -1;
    for (size_t i = 0; i < frames.size() && shown < 0; ++i) {
        const FGBitmap f(frames[i].c_str());
        if (f.width == 800 && f.height == 600 && PageCount(f, 330, 215, 120, 50, panel) > 2000) {
            shown = static_cast<int>(i);
            SavePageSnapshot(const_cast<FGBitmap&>(f), "dashview_last_status.bmp");
            const auto line = FindText(f, body, "EMS firmware 2.04");
            EXPECT_GE(line.first, 0) << "the second line is in the list";
            EXPECT_EQ(FindText(f, body, "# a comment").first, -1) << "comments are skipped";
        }
    }
    EXPECT_GE(shown, 0) << "no frame shows the popup list";
    auto last = run.LastFrame();
    ASSERT_NE(last, nullptr);
    EXPECT_LT(PageCount(*last, 330, 215, 120, 50, panel), 200) << "the list is closed";

    EXPECT_FALSE(Exists(Path("last_status")));
    int renamed = 0;
    for (time_t t = before - 1; t <= after + 1; ++t) renamed += Exists(Path(std::to_string(t).c_str()));
    EXPECT_EQ(renamed, 1);
}

// The checklist item of the menu without a checklist file: the message box over the page.
TEST_F(RunCopy, MessageBoxOverThePage) {
    const std::string out = RunScript("wait 1200\n1\nwait 300\nw\nwait 300\n1\nwait 800\nquit\n");
    auto last = run.LastFrame();
    ASSERT_NE(last, nullptr);
    SavePageSnapshot(*last, "dashview_message_box.bmp");
    LoadPageAssets();
    const int title = DisplayItemFont(11, 1033);
    ASSERT_GE(title, 0);
    const auto text = FindText(*last, title, "Checklist file is not found!");
    ASSERT_GE(text.first, 0) << out;
    EXPECT_EQ(text.second, 260);
    // The box 45 high from y 250, its fill under the text's left margin.
    const FGPixel fill = PageAt(*last, text.first - 5, 255);
    EXPECT_TRUE(fill == 0xF20000 || fill == 0xD2D2E1) << std::hex << fill;
    EXPECT_EQ(PageAt(*last, text.first - 5, 292), fill);
}

// The main menu on the flight screen: '1' opens page 1 at the right above the keys, 'w'
// and 's' move its bar, and it closes by itself once the keys stop; the captions then
// name the flight screen's keys again.
TEST_F(RunCopy, MainMenuOpensMovesAndClosesByItself) {
    const std::string out = RunScript("wait 1500\n1\nwait 400\nw\nwait 400\nw\nwait 400\ns\nwait 6500\nquit\n");
    const std::vector<std::string> frames = run.FrameFiles();
    ASSERT_GE(frames.size(), 3u) << out;
    LoadPageAssets();
    const int captionFont = DisplayItemFont(8, 1033);
    // The bar's row in each frame, -1 without the box; each change once. The last frame
    // follows the window's close.
    std::vector<int> rows;
    bool selectShown = false;
    for (size_t i = 0; i + 1 < frames.size(); ++i) {
        const FGBitmap f(frames[i].c_str());
        int row = -1;
        if (PageAt(f, 625, 245) == 0 && PageAt(f, 627, 300) == 0xA8B8AC && PageAt(f, 794, 444) == 0) {
            row = 9;  // a box without a bar
            for (int r = 0; r < 9; ++r)
                if (PageAt(f, 630, 255 + 20 * r) == 0xFCE000) row = r;
            if (row == 1 && !selectShown) selectShown = FindText(f, captionFont, "Select").first >= 0;
        }
        if (rows.empty() || rows.back() != row) rows.push_back(row);
    }
    EXPECT_EQ(rows, (std::vector<int>{-1, 0, 1, 2, 1, -1})) << out;
    EXPECT_TRUE(selectShown) << "'1' selects while the menu is open";
    auto last = run.LastFrame();
    ASSERT_NE(last, nullptr);
    for (const char* caption : {"Menu\xB7 HDG", "Screen", "Menu\xB7 Baro"}) {
        const auto at = FindText(*last, captionFont, caption);
        EXPECT_GE(at.first, 0) << caption;
        EXPECT_GT(at.second, 440) << caption;
    }
}

// The RPM warning limit changed in its editor and saved with the setup: after a
// restart the RPM readout between the old and the new warning limit takes the
// warning zone's colour, which it did not have before.
TEST_F(FedRun, RpmWarningLimitFromTheEditorColoursTheRpmReadout) {
    StoreLayout(ScreenEngine, 0);
    LoadPageAssets();
    const int font = DisplayFonts[FontEuromode20];
    ASSERT_GE(font, 0);
    // The paper colour most common in the cell of the readout "5300".
    auto readoutPaper = [&](const FGBitmap& frame) -> FGPixel {
        const auto at = FindText(frame, font, "5300");
        if (at.first < 0) return 0xFFFFFFFF;
        const int w = FGFontManager::textwidth(font, "5300"), h = FGFontManager::get_font_height(font);
        std::map<FGPixel, int> counts;
        for (int y = at.second + 60; y < at.second + 60 + h; ++y)
            for (int x = at.first - 3; x < at.first + w + 3; ++x) ++counts[frame.pixels[y * 800 + x] & 0xFFFFFF];
        std::pair<FGPixel, int> best{0, 0};
        for (const auto& c : counts)
            if (c.second > best.second) best = c;
        return best.first;
    };
    auto before = Run({{echRpmEng, 5300}}, 3000);
    ASSERT_NE(before, nullptr);
    const FGPixel paperBefore = readoutPaper(*before);
    ASSERT_NE(paperBefore, 0xFFFFFFFFu) << "no readout 5000\n" << output;

    // Setup: the warning limit 300 rpm lower with the limit editor, then Save and Exit.
    ASSERT_EQ(ConfigManager.Create(), 0);
    ConfigManager.SetSleep([](uint32_t) {});
    ASSERT_EQ(LoadSetting(nullptr, KindAll, 0), 0);
    const int32_t warning = LimitRpm.warning;
    ASSERT_GT(warning, 5300);
    ASSERT_LE(LimitRpm.normal, 5200);
    ASSERT_EQ(LimitEditorOpen(0xB00, LimitWarning), 0);
    Editor.cursor = 2;
    for (int i = 0; i < 3; ++i) LimitEditor(EditorCmdDown);
    LimitEditor(EditorCmdOk);
    ASSERT_EQ(LimitRpm.warning, warning - 300);
    ASSERT_EQ(SaveSetting(nullptr, KindSetup), 0);
    ConfigManager.Release();
    const std::string setup = FileText(Path("setup.dat"));
    int32_t stored = 0;
    bool found = false;
    // The stored record keeps the warning at byte 4 and the alarm at byte 12.
    for (size_t i = 0; i + 16 <= setup.size() && !found; ++i) {
        memcpy(&stored, setup.data() + i + 4, 4);
        int32_t alarm;
        memcpy(&alarm, setup.data() + i + 12, 4);
        found = stored == warning - 300 && alarm == LimitRpm.alarm;
    }
    EXPECT_TRUE(found) << "setup.dat lacks the new warning limit";

    auto after = Run({{echRpmEng, 5300}}, 3000);
    ASSERT_NE(after, nullptr);
    SavePageSnapshot(*after, "dashview_rpm_warning.bmp");
    const FGPixel paperAfter = readoutPaper(*after);
    ASSERT_NE(paperAfter, 0xFFFFFFFFu) << output;
    EXPECT_NE(paperAfter, paperBefore);
    const int r = paperAfter >> 16 & 0xFF, g = paperAfter >> 8 & 0xFF, b = paperAfter & 0xFF;
    EXPECT_TRUE(r > 150 && g > 120 && b < 100) << std::hex << paperAfter << " before " << paperBefore;
}

// From the flight screen's main menu: "Other Setting", "3D Terrain ON". The runtime file
// keeps the switch and the attitude shows the relief instead of a plain ground.
TEST_F(FedRun, TerrainSwitchedOnFromTheMenu) {
    const std::vector<TFeed> level = {
        {echAltitudeQNH, 900}, {echInercialPitch, 0}, {echInercialRoll, 0}, {echSpeedIas, 185.2f},
        {echGPSTrk, 270},      {echGPSLat, 50.08f},   {echGPSLon, 14.30f},  {echInercialAzimut, 270},
    };
    StoreLayout(ScreenFlight, 0);
    auto frame = Run(level, 2500, "wait 1500\n1\nwait 200\nw\nw\nw\nw\nwait 200\n1\nwait 300\nw\nwait 200\n1\n");
    ASSERT_NE(frame, nullptr);
    SavePageSnapshot(*frame, "dashview_terrain_from_menu.bmp");
    const std::vector<std::string> frames = run.FrameFiles();
    ASSERT_GE(frames.size(), 3u);
    // Colours in the ground under the horizon: few on the plain ground, many over relief.
    auto groundColours = [](const FGBitmap& f) {
        std::set<FGPixel> seen;
        for (int y = 330; y < 400; y += 2)
            for (int x = 320; x < 480; x += 2) seen.insert(f.pixels[(y + 60) * f.width + x] & 0xFFFFFF);
        return seen.size();
    };
    const FGBitmap first(frames[1].c_str());
    EXPECT_LT(groundColours(first), 8u);
    EXPECT_GT(groundColours(*frame), 20u) << output;

    ASSERT_EQ(ConfigManager.Create(), 0);
    ConfigManager.SetSleep([](uint32_t) {});
    DisplaySetting.terrainView = 0;
    ASSERT_EQ(LoadSetting(nullptr, KindRuntime, 1), 0);
    EXPECT_EQ(DisplaySetting.terrainView, 1);
    ConfigManager.Release();
}

// The main menu's "About": the white box with its double outline over the page.
TEST_F(RunCopy, AboutBoxFromTheMenu) {
    const std::string out = RunScript("wait 1500\n1\nwait 200\nw\nw\nw\nw\nw\nw\nw\nwait 200\n1\nwait 800\nquit\n");
    auto last = run.LastFrame();
    ASSERT_NE(last, nullptr) << out;
    SavePageSnapshot(*last, "dashview_about.bmp");
    // Two black outlines, the inner one at (276, 166), around the white box.
    EXPECT_EQ(PageAt(*last, 275, 165), 0u);
    EXPECT_EQ(PageAt(*last, 276, 166), 0u);
    EXPECT_EQ(PageAt(*last, 400, 166), 0u);
    EXPECT_EQ(PageAt(*last, 523, 313), 0u);
    EXPECT_EQ(PageAt(*last, 277, 167), 0xFFFFFFu);
    EXPECT_GT(PageCount(*last, 280, 170, 240, 10, 0xFFFFFF), 1000) << out;
}

// The checklist file of a fresh build (its generator run in the folder, as the build runs
// it): the main menu's "Checklist" opens each of its lists in turn under the list's name,
// a line split at ';'. A later build leaves the file that is there as it is.
TEST_F(RunCopy, ChecklistFromTheMenu) {
    const std::string generate = "'" TEST_HELPER_DIR "/../tools/gen_checklist' '" + dir.Path() + "'";
    ASSERT_EQ(system(generate.c_str()), 0);
    const char* names[] = {"Preflight Checklist", "Before start engine Checklist", "Start engine Checklist",
                           "Engine run up Checklist", "Before take off Checklist", "Landing Checklist",
                           "After landing Checklist", "Shut down Checklist"};
    std::string keys = "wait 1500\n";
    for (int k = 0; k < 8; ++k) {
        keys += "1\nwait 200\nw\nwait 200\n1\nwait 300\n";
        for (int i = 0; i <= k; ++i) keys += "w\n";
        keys += "wait 200\n1\nwait 600\n1\nwait 300\n";  // the list, then "Hide"
    }
    const std::string out = RunScript(keys + "quit\n");
    LoadPageAssets();
    const int nameFont = DisplayItemFont(10, 1033);
    const auto& frames = run.Frames();
    size_t f = 0, preflight = 0;
    for (const char* name : names) {
        while (f < frames.size() && FindText(*frames[f], nameFont, name).first != 160) ++f;
        ASSERT_LT(f, frames.size()) << name << out;
        if (name == names[0]) preflight = f;
    }
    SavePageSnapshot(*frames[preflight], "dashview_checklist.bmp");
    for (const char* text : {"Documents", "ON BOARD", "Pitot cover"}) EXPECT_TRUE(TextShown(*frames[preflight], text)) << text;
    WriteTextFile(Path("checklist.dat"), "imported");
    ASSERT_EQ(system(generate.c_str()), 0);
    EXPECT_EQ(FileText(Path("checklist.dat")), "imported");
}

// "Export Configuration" on a fresh run folder, before any setting was stored: the home
// folder gets both files, and the page says it is done.
TEST_F(RunCopy, ExportFromAFreshFolderCarriesBothFiles) {
    ASSERT_EQ(mkdir(Path("home").c_str(), 0700), 0);
    run.env.push_back("HOME=" + Path("home"));
    const std::string out = RunScript("wait 800\n1\nw\nw\nw\nw\nw\n1\n4\nwait 300\n4\nwait 200\nw\nw\n1\nwait 200\n"
                                      "4\nwait 1100\nquit\n");
    LoadPageAssets();
    auto last = run.LastFrame();
    ASSERT_NE(last, nullptr) << out;
    EXPECT_TRUE(TextShown(*last, "Exporting configuration done")) << out;
    EXPECT_TRUE(Exists(Path("home/setup.dat")));
    EXPECT_TRUE(Exists(Path("home/runtime.dat")));
}
