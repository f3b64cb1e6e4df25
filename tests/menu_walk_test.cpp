// The menu road walked with the bezel keys alone: each row starts a headless dashview in a
// fresh run folder (once per run listed, the files of one run kept for the next), feeds it
// key characters from the flight screen, the engine screen and setup, and then checks what
// the frames showed and what reached the setting files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <fstream>
#include <mutex>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "config_tempdir.h"
#include "configfile.h"
#include "fgfontmanager.h"
#include "headless_run.h"
#include "lebytes.h"
#include "measured_block.h"
#include "page_assets.h"

namespace {

// ---- key roads; one key or "Wms" (a pause) per word ----
std::string Down(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += "w ";
    return s;
}
// Flight screen: the main menu's "Enter Setup", "Yes".
const std::string Enter = "W800 1 " + Down(5) + "1 4 W300 ";
// In setup: the engine (EMS) screen, whose menu is page 19.
const std::string Engine = "5 W300 ";
// The setup keys back from anywhere in the menu: "Save and Exit", "No".
const std::string Top = "2 5 ";
const std::string SaveExit = "2 4 W300 ";
// Page 19's "Range and Limits" (page 63); item k of page 63 opens its limit page.
const std::string Limits = "1 w w 1 ";
std::string LimitPage(int k) { return Down(1 + k) + "1 "; }
// Range (first item of every limit page), a pause for the editor's frame, one step up, "Set".
const std::string RangeUp = "w 1 W300 w 5 W200 ";
// Page 18's "Units", "Imperial (UK)"; "Metric"; "Imperial (US)".
const std::string UnitsUk = "1 1 w w 1 W200 ", UnitsMetric = "1 1 w 1 W200 ", UnitsUs = "1 1 w w w 1 W200 ";
// Page 18's "Demo Mode" (page 132), then an item of it.
std::string Demo(int item) { return "1 " + Down(9) + "1 " + Down(item) + "1 W1200 "; }
// "Data Port" (page 21 for the installer), its item i, and "OK" in the dialog.
std::string DataPort(int i) { return "4 W200 " + Down(i) + "1 W200 "; }
// Page 19's "Other Setting & Calibration" (page 110) and its item i.
std::string OtherSetting(int i) { return "1 w w w 1 " + Down(i) + "1 "; }
// Page 19's "Configuration and Sensors" (page 79) and its item i.
std::string Configuration(int i) { return "1 w 1 " + Down(i) + "1 "; }
// Page 79's EGT/CHT count (page 101) and its item i; page 110's backlight (page 129), its
// dimmer source (page 121) and item i there, its colour (page 122); page 110's main switch (page 131).
std::string Cylinders(int i) { return Configuration(12) + Down(i) + "1 W200 " + Top; }
std::string Dimmer(int i) { return OtherSetting(4) + "w 1 " + Down(i) + "1 W200 " + Top; }
// Page 121's "External" opens page 120: its item i.
std::string ExternDimmer(int i) { return OtherSetting(4) + "w 1 w w 1 W200 " + Down(i) + "1 W200 " + Top; }
std::string Colour(int i) { return OtherSetting(4) + "w w 1 " + Down(i) + "1 W200 " + Top; }
std::string MainSwitch(int i) { return OtherSetting(15) + Down(i) + "1 W200 " + Top; }
// Page 79's EGT/CHT channels (page 103 with four cylinders), its slot item i, "Not Connected".
std::string ThermoSlotNone(int i) { return Configuration(13) + Down(i) + "1 W200 w 1 W200 " + Top; }

// The limit record of each item of page 63, in the page's order, and its editor's title.
struct TChannel {
    uint16_t id;
    const char* title;
};
const TChannel Channels[] = {
    {0xB00, "RPM range"},      {0x201, "MAP range"},       {0xB01, "Rotor RPM range"}, {0x200, "Oil press range"},
    {0x603, "Oil tmp range"},  {0x602, "Wat tmp range"},   {0x604, "Aux1 tmp range"},  {0x401, "Left tnk range"},
    {0x402, "Right tnk range"}, {0x202, "Fuel pres range"}, {0x400, "Fuel flow range"}, {0x100, "EGT range"},
    {0x101, "CHT range"},      {0x900, "Voltage 1 range"}, {0xA03, "Current 1 range"}, {0x901, "Voltage 2 range"},
    {0xA04, "Current 2 range"}, {0x902, "Voltage 3 range"}, {0xA05, "Current 3 range"},
};
constexpr int ChannelCount = sizeof Channels / sizeof Channels[0];

typedef std::pair<uint16_t, uint16_t> TKey;  // section id, sub id
typedef std::map<TKey, std::vector<uint8_t>> TSections;

struct TRun {
    std::string keys;
    std::vector<std::string> shows;  // each in some frame of the run, in this order
};
struct TByte {
    TKey key;
    int offset, value;
};
// A part of the page to look in.
struct TArea {
    int x, y, w, h;
};
const TArea WholePage = {0, 0, 800, 480};
// The title row inside the frame of the code entry's box.
const TArea CodeEntryTitle = {575, 375, 190, 40};

// What a row ends with: texts of its last frame; texts that its last run showed in turn
// in the value field of the editor box at the left; whether setup.dat and runtime.dat after
// every run past the row's baseRun are still those after it; texts that every frame of
// its last run shows all or none of, each in its area.
struct TFinish {
    TFinish(const char* end = "") {
        if (*end) ends.push_back(end);
    }
    TFinish(std::vector<std::string> ends, std::vector<std::string> leftBox = {}, bool filesKept = false,
            std::vector<std::pair<std::string, TArea>> together = {})
        : ends(std::move(ends)), leftBox(std::move(leftBox)), filesKept(filesKept), together(std::move(together)) {}
    std::vector<std::string> ends;
    std::vector<std::string> leftBox;
    bool filesKept = false;
    std::vector<std::pair<std::string, TArea>> together;
};
struct TRow {
    std::string name;
    std::vector<TRun> runs;
    int baseRun;                // setup.dat after this run is the "before" (-1: the first start's file)
    std::vector<TKey> changed;  // the sections of setup.dat that differ from before, and no other
    std::vector<TByte> bytes;   // bytes of setup.dat's sections after the last run
    std::string hides;          // the last frame does not show it
    std::string sameAs;         // a file whose sections equal setup.dat's after the last run
    std::vector<std::string> block;  // measured values: "float ID V" words for the block writer
    std::vector<TByte> runtime; // bytes of runtime.dat's sections after the last run
    TFinish finish;
    std::string disk = "";      // made in disk/ first: a folder when it ends in '/', else a file
};

// Every limit page of page 63 in turn, forward or backward, so that each channel's page is
// opened after another channel's editor was used: its range one step up with "Set".
TRow LimitChain(bool forward) {
    std::string keys = Enter + Engine + Limits;
    std::vector<std::string> titles;
    std::vector<TKey> changed;
    for (int n = 0; n < ChannelCount; ++n) {
        const int k = forward ? n : ChannelCount - 1 - n;
        keys += LimitPage(k) + RangeUp + "1 ";  // "<---" back to page 63
        titles.push_back(Channels[k].title);
        changed.push_back({0x4065, Channels[k].id});
    }
    return {forward ? "every limit page, forward" : "every limit page, backward",
            {{keys + SaveExit, titles}}, -1, changed, {}, "", "", {}, {}, ""};
}

std::vector<TRow> Rows() {
    std::vector<TRow> rows;
    // RPM > Range, MAP > Warning, Voltage 1 > Range in one visit: each its own channel.
    rows.push_back({"three channels in turn",
                    {{Enter + Engine + Limits + LimitPage(0) + RangeUp + "1 " + LimitPage(1) + "w w 1 W300 w 5 W200 1 " +
                          LimitPage(13) + RangeUp + SaveExit,
                      {"RPM range", "MAP max.W", "Voltage 1 range"}}},
                    -1, {{0x4065, 0xB00}, {0x4065, 0x201}, {0x4065, 0x900}}, {}, "", "", {}, {}, ""});
    rows.push_back(LimitChain(true));
    rows.push_back(LimitChain(false));
    // The left tank's sensor "Not Connected", then its limits: the prompt's OK leads there.
    rows.push_back({"tank not used, OK, range",
                    {{Enter + Engine + "1 w 1 " + Down(8) + "1 W200 w 1 W200 " + Top + Limits + LimitPage(7) +
                          "W300 1 W200 " + RangeUp + SaveExit,
                      {"tank is not used!", "Left tnk range"}}},
                    -1, {{0x4064, 0xC15}, {0x4011, 0}, {0x4065, 0x401}}, {}, "", "", {}, {}, ""});
    // Demo ON, quit, start again (still in demo mode), Demo OFF: the user's file is back.
    rows.push_back({"demo on, restart, demo off",
                    {{Enter + UnitsUk + SaveExit, {}},
                     {Enter + Demo(1), {"Demo mode"}},
                     {"W1200 2 W300 " + Enter + Demo(2), {"Device is in DEMO MODE!", "Demo mode"}}},
                    0, {}, {}, "Device is in DEMO MODE!", "", {}, {}, ""});
    // "Skyvane Type", "EMS": the demo page stays with its box, page 133 on top.
    rows.push_back({"demo type EMS", {{Enter + "1 " + Down(9) + "1 " + Down(3) + "1 w 1 W300 ", {}}}, -1, {}, {}, "", "", {}, {},
                    "Demo mode"});
    // Brightness stored: the screen's own keys come back at once (no radio: no "COM/XPDR").
    rows.push_back({"brightness stored", {{"W800 1 1 W200 s s 1 W300 ", {"AP"}}}, -1, {}, {}, "COM/XPDR", "", {},
                    {{{0x2008, 0}, 0, 900 & 0xFF}, {{0x2008, 0}, 1, 900 >> 8}}, ""});
    // Backlight colour "Red" and the water/CHT label "CHT": the configuration record.
    rows.push_back({"backlight colour red",
                    {{Enter + Engine + OtherSetting(4) + "w w 1 w w 1 W200 " + SaveExit, {}}},
                    -1, {{0x4010, 0}}, {{{0x4010, 0}, 2, 1}, {{0x4010, 0}, 3, 0}}, "", "", {}, {}, ""});
    rows.push_back({"water/CHT label CHT",
                    {{Enter + Engine + OtherSetting(14) + "w w 1 W200 " + SaveExit, {}}},
                    -1, {{0x4010, 0}}, {{{0x4010, 0}, 2, 0}, {{0x4010, 0}, 3, 1}}, "", "", {}, {}, ""});
    // Every dialog's Cancel, then its old OK key: "Data Port" opens its menu again instead.
    const char* results[] = {"Invalid file or path", "Invalid file path", "Error during exporting configuration",
                             "Error during exporting flight data", "Not supported for this system."};
    for (int i = 0; i < 5; ++i)
        rows.push_back({std::string("dialog cancel, then OK: ") + results[i],
                        {{Enter + DataPort(i) + "5 W200 4 W300 ", {"Import Configuration"}}},
                        -1, {}, {}, results[i], "", {}, {}, ""});
    // Export and import of the configuration, export of the flight data.
    rows.push_back({"export configuration",
                    {{Enter + UnitsUk + SaveExit + Enter + DataPort(2) + "4 W300 ", {"Exporting configuration done"}}},
                    -1, {{0x4001, 0}}, {}, "", "disk/setup.dat", {}, {}, ""});
    rows.push_back({"import configuration",
                    {{Enter + UnitsUk + SaveExit + Enter + DataPort(2) + "4 W300 1 " + UnitsMetric + SaveExit, {}},
                     {Enter + DataPort(1) + "4 W300 1 " + SaveExit, {"Importing configuration done"}}},
                    0, {{0x4001, 0}}, {}, "", "disk/setup.dat", {}, {}, ""});
    // Names whose paths pass 254 characters under HOME: listed cut, the folder chosen, the film opened.
    const std::string folder = "Export-" + std::string(233, 'y'), film = "Long-film-" + std::string(226, 'x') + ".3gp";
    rows.push_back({"export configuration into a long-named folder",
                    {{Enter + UnitsUk + SaveExit + Enter + DataPort(2) + "1 W200 4 W300 ", {"[Export-yyyy", "Exporting configuration done"}}},
                    -1, {{0x4001, 0}}, {}, "", "disk/" + folder + "/setup.dat", {}, {}, "", folder + "/"});
    rows.push_back({"entertainment film with a long name", {{"W800 1 w w w 1 W200 4 W800 0 W600 0 W800 ", {"Long-film-xxxx", "Wait for start."}}},
                    -1, {}, {}, "", "", {}, {}, "", film});
    // Restricted setup (a stored code, three wrong ones) offers "Import Configuration" but
    // refuses it: the files stay as they were, also after a restart.
    const std::string Restricted = Enter + "5 W200 4 W200 5 W200 4 W200 5 W200 5 W200 4 W300 ";
    // The brightness two steps down: stored in runtime.dat before the export and again after it.
    const std::string Darker = "W800 1 1 W200 s s 1 W300 ";
    const char* const Refused = "In this mode not allowed any modification.";
    const std::string NewCode = "1 " + Down(4) + "1 W300 w 5 W200 w 5 W300 5 W200 ";
    rows.push_back({"restricted import refused",
                    {{Darker + Enter + DataPort(2) + "4 W300 1 W200 " + NewCode + SaveExit + Darker, {}},
                     {Restricted + DataPort(0) + "4 W300 ", {Refused, "Import Configuration", Refused}},
                     {"W800 ", {}}},
                    0, {}, {}, "", "", {}, {}, TFinish({}, {}, true)});
    // The code entry left alone past the soft-key time-out: its box, its title inside it,
    // and its keys stay together, and the digit and "Done" after the pause reach it.
    rows.push_back({"code entry left 7 s",
                    {{Enter + NewCode + SaveExit + Enter + "W7000 w 5 W300 ", {"Enter Setup Password", "SETUP MODE"}}},
                    -1, {{0x4021, 0}}, {}, "", "", {}, {},
                    TFinish({}, {}, false, {{"Enter Setup Password", CodeEntryTitle}, {"Done", WholePage}})});
    // Units "Imperial (US)" saved: after a restart the flight page names knots, Fahrenheit
    // and inches of mercury.
    rows.push_back({"UnitsChosenInSetupSurviveARestart", {{Enter + UnitsUs + SaveExit, {}}, {"W800 ", {}}}, -1, {{0x4001, 0}}, {},
                    "", "", {}, {}, TFinish({"TAS KTS", "OAT \xB0""F ", "inHg"})});
    rows.push_back({"export flight data",
                    {{Enter + DataPort(3) + "4 W300 ", {"Error during exporting flight data"}}},
                    -1, {}, {}, "", "", {}, {}, ""});
    // A compass heading of 123 and a GPS track of 250: the heading the page shows is taken.
    const std::vector<std::string> block = {"float", "0x807", "123", "float", "0x507", "250"};
    rows.push_back({"heading set", {{"W1500 0 W200 0 W300 ", {}}}, -1, {}, {}, "", "", block,
                    {{{0x2009, 0}, 28, 1}, {{0x2009, 0}, 32, 123}}, ""});
    rows.push_back({"stabilization", {{"W1500 2 W200 3 W200 2 W300 ", {}}}, -1, {}, {}, "", "", block,
                    {{{0x2009, 0}, 32, 123}, {{0x200B, 0}, 0, 12300 & 0xFF}, {{0x200B, 0}, 1, 12300 >> 8}}, ""});
    // The GPS on COM 1, the towing menu and the camera give mode 12, whose main menu
    // starts with "OBS Setting": each knob step shows the new course in the editor box.
    rows.push_back({"OBS setting",
                    {{Enter + "1 " + Down(5) + "1 W200 " + Down(3) + "1 W200 " + Down(2) + "1 W200 " + SaveExit + "1 " + Down(4) +
                          "1 W200 " + Down(3) + "1 W400 5 W300 5 W300 1 W300 2 W200 2 W200 2 W300 1 W300 1 W400 w W400 w W400 w W400 s W400 ",
                      {"OBS Setting"}}},
                    -1, {{0x4018, 2}}, {}, "", "", {}, {}, TFinish({}, {"0", "1", "2", "3", "2"})});
    return rows;
}

// ---- files and frames ----

TSections ReadSections(const std::string& path) {
    TSections s;
    const std::vector<uint8_t> b = FileBytes(path);
    if (b.size() < ConfigHeaderSize) return s;
    for (size_t pos = ConfigHeaderSize; pos + SetupSectHeadSize <= b.size();) {
        const uint16_t length = CfgGet16(&b[pos + 6]);
        const size_t end = pos + SetupSectHeadSize + length;
        if (end > b.size()) break;
        s[{CfgGet16(&b[pos + 2]), CfgGet16(&b[pos + 4])}].assign(b.begin() + pos + SetupSectHeadSize, b.begin() + end);
        pos = SetupSectPacketSize(length) + pos;
    }
    return s;
}

// A setting file's bytes, but for the times of saving that every save writes anew (in the
// file header and each section's head) and the CRCs over them.
std::vector<uint8_t> StoredBytes(const std::string& path) {
    std::vector<uint8_t> b = FileBytes(path);
    if (b.size() < ConfigHeaderSize) return b;
    auto clear = [&](size_t at, size_t n) { std::fill(b.begin() + at, b.begin() + at + n, 0); };
    clear(20, 4);
    clear(60, 2);
    for (size_t pos = ConfigHeaderSize; pos + SetupSectHeadSize <= b.size();) {
        const size_t end = pos + SetupSectPacketSize(CfgGet16(&b[pos + 6]));
        if (end > b.size()) break;
        clear(pos + 8, 4);
        clear(pos + 14, 2);
        clear(end - 2, 2);
        pos = end;
    }
    return b;
}

std::vector<TKey> Differing(const TSections& a, const TSections& b) {
    std::vector<TKey> keys;
    for (const auto& s : a)
        if (!b.count(s.first) || b.at(s.first) != s.second) keys.push_back(s.first);
    for (const auto& s : b)
        if (!a.count(s.first)) keys.push_back(s.first);
    std::sort(keys.begin(), keys.end());
    return keys;
}

// The toolkit's text font and the display fonts.
std::vector<int> AllFonts() {
    std::vector<int> fonts = {DisplayTextFont};
    for (int i = 0; i < DisplayFontCount; ++i)
        if (DisplayFonts[i] >= 0) fonts.push_back(DisplayFonts[i]);
    return fonts;
}

// A text drawn alone in a font: its cell size and ink.
struct TGlyphs {
    int w = 0, h = 0, first = -1;
    std::vector<bool> ink;
};

std::mutex FontLock;  // the font manager is one for the process
std::map<std::pair<int, std::string>, TGlyphs> GlyphCache;
std::vector<int> FontsSeen;  // fonts that showed a looked-for text, in the order found

const TGlyphs& Glyphs(int font, const std::string& text) {
    std::lock_guard<std::mutex> hold(FontLock);
    TGlyphs& g = GlyphCache[{font, text}];
    if (g.first >= 0 || g.w < 0) return g;
    g.w = FGFontManager::textwidth(font, text.c_str());
    g.h = FGFontManager::get_font_height(font);
    if (g.w <= 0 || g.h <= 0) {
        g.w = -1;
        return g;
    }
    FGDrawBuffer cell(g.w, g.h, FG_TYPE_BITMAP, 0);
    cell.set_font(font);
    cell.text(0, 0, text.c_str(), 0xFFFFFF, 0);
    g.ink.resize(size_t(g.w) * g.h);
    for (int i = 0; i < g.w * g.h; ++i)
        if ((g.ink[size_t(i)] = (cell.pixels[i] & 0xFFFFFF) != 0) && g.first < 0) g.first = i;
    return g;
}

// The value field of an editor box drawn at the left (x 20, y 360).
const TArea LeftBoxField = {35, 395, 90, 30};

// As FindText: every ink pixel of the cell in one colour, no other pixel of it in that colour.
// The walk's hot loop: optimised and unchecked even in the sanitizer build, its reads stay
// inside the frame by the loop bounds.
__attribute__((optimize("O2"), no_sanitize("address", "undefined"))) bool ShowsIn(const FGBitmap& frame, int font, const std::string& text,
                                                                                  const TArea& area) {
    const TGlyphs& g = Glyphs(font, text);
    if (g.w <= 0 || g.first < 0) return false;
    const FGPixel* p = frame.pixels;
    const int fw = frame.width;
    for (int y = 60 + area.y; y + g.h <= 60 + area.y + area.h; ++y)
        for (int x = area.x; x + g.w <= area.x + area.w; ++x) {
            const FGPixel colour = p[(y + g.first / g.w) * fw + x + g.first % g.w] & 0xFFFFFF;
            bool match = true;
            for (int j = 0; j < g.h && match; ++j) {
                const FGPixel* row = p + (y + j) * fw + x;
                const size_t k = size_t(j) * g.w;
                for (int i = 0; i < g.w && match; ++i) match = ((row[i] & 0xFFFFFF) == colour) == g.ink[k + i];
            }
            if (match) return true;
        }
    return false;
}

// The first frame from `from` on that shows the text; frames.size() when none. The fonts
// that showed a text before are tried first over every frame, the others only after that.
size_t FindShown(const std::vector<std::unique_ptr<FGBitmap>>& frames, size_t from, const std::string& text,
                 const TArea& area = WholePage, size_t count = SIZE_MAX) {
    std::vector<int> seen, rest;
    {
        std::lock_guard<std::mutex> hold(FontLock);
        seen = FontsSeen;
    }
    for (int font : AllFonts())
        if (std::find(seen.begin(), seen.end(), font) == seen.end()) rest.push_back(font);
    for (const std::vector<int>* fonts : {&seen, &rest})
        for (size_t f = from; f < frames.size() && f - from < count; ++f)
            for (int font : *fonts) {
                if (!ShowsIn(*frames[f], font, text, area)) continue;
                std::lock_guard<std::mutex> hold(FontLock);
                if (std::find(FontsSeen.begin(), FontsSeen.end(), font) == FontsSeen.end()) FontsSeen.push_back(font);
                return f;
            }
    return frames.size();
}

std::string Script(const std::string& keys) {
    std::istringstream words(keys);
    std::string word, out;
    while (words >> word) out += word.size() > 1 && word[0] == 'W' ? "wait " + word.substr(1) + "\n" : word + "\n";
    return out + "wait 600\nquit\n";
}

// A folder to run dashview in, with the assets; HOME is its disk/, the block the shm's.
std::unique_ptr<HeadlessRun> RunFolder(const std::string& dir, const std::string& shm) {
    auto run = std::make_unique<HeadlessRun>(dir, std::vector<std::string>{"Data", "map"});
    MakeRunFolder(dir + "/disk", {});
    run->env = {"HOME=" + dir + "/disk", "HK_SHM_NAME=" + shm};
    return run;
}

// One start of dashview with the keys; its frames, in order, without the closing one.
const std::vector<std::unique_ptr<FGBitmap>>& RunOnce(HeadlessRun& run, const std::string& keys, std::string* failure) {
    if (!run.Script(Script(keys), -1)) *failure = "dashview did not end normally";
    return run.Frames();
}

// A row walked in its own folder, which starts with the setup files of a first start (seed);
// "" when everything it names followed.
std::string Walk(const TRow& row, const std::string& dir, const std::string& shm, const std::string& seed) {
    std::string failure;
    const auto run = RunFolder(dir, shm);
    if (row.disk.size() > 1 && row.disk.back() == '/') mkdir((dir + "/disk/" + row.disk).c_str(), 0755);
    else if (!row.disk.empty()) std::ofstream(dir + "/disk/" + row.disk) << "";
    if (system(("cp '" + seed + "/setup.dat' '" + seed + "/setup.bck' '" + dir + "/'").c_str()) != 0) return "run folder";
    std::unique_ptr<HelperProcess> writer;
    if (!row.block.empty()) {
        std::vector<std::string> args = {"/usr/bin/env", "HK_SHM_NAME=" + shm, std::string(TEST_HELPER_DIR) + "/bench_shm_writer",
                                         "attach"};
        args.insert(args.end(), row.block.begin(), row.block.end());
        for (const char* a : {"wait", "release", "unlink"}) args.push_back(a);
        writer.reset(new HelperProcess(args));
        for (std::string line; (line = writer->Line()) != "ready";)
            if (line.empty()) return "block writer";
    }
    TSections before = ReadSections(dir + "/setup.dat");
    std::vector<uint8_t> keptSetup, keptRuntime;
    for (size_t r = 0; r < row.runs.size(); ++r) {
        const auto& frames = RunOnce(*run, row.runs[r].keys, &failure);
        if (!failure.empty()) return failure + " in run " + std::to_string(r);
        size_t f = 0;
        for (const std::string& text : row.runs[r].shows) {
            f = FindShown(frames, f, text);
            if (f == frames.size()) return "run " + std::to_string(r) + " never showed \"" + text + "\"";
        }
        if (static_cast<int>(r) == row.baseRun) {
            before = ReadSections(dir + "/setup.dat");
            keptSetup = StoredBytes(dir + "/setup.dat");
            keptRuntime = StoredBytes(dir + "/runtime.dat");
        } else if (row.finish.filesKept && static_cast<int>(r) > row.baseRun) {
            if (StoredBytes(dir + "/setup.dat") != keptSetup) return "setup.dat changed in run " + std::to_string(r);
            if (StoredBytes(dir + "/runtime.dat") != keptRuntime) return "runtime.dat changed in run " + std::to_string(r);
        }
    }
    if (writer) writer->Finish();
    const auto& frames = run->Frames();
    size_t boxFrame = 0;
    for (const std::string& text : row.finish.leftBox)
        if ((boxFrame = FindShown(frames, boxFrame, text, LeftBoxField)) == frames.size())
            return "the editor box never showed \"" + text + "\" in turn";
    for (size_t f = 0; f < frames.size() && !row.finish.together.empty(); ++f) {
        size_t shown = 0;
        for (const auto& text : row.finish.together) shown += FindShown(frames, f, text.first, text.second, 1) == f;
        if (shown % row.finish.together.size())
            return "frame " + std::to_string(f) + " shows only " + std::to_string(shown) + " of the texts together";
    }
    if (!row.hides.empty() && !frames.empty() && FindShown(frames, frames.size() - 1, row.hides) < frames.size())
        return "ends showing \"" + row.hides + "\"";
    const TSections after = ReadSections(dir + "/setup.dat");
    std::ostringstream why;
    std::vector<TKey> changed = row.changed;
    std::sort(changed.begin(), changed.end());
    if (Differing(before, after) != changed) {
        why << "setup.dat sections changed:";
        for (const TKey& k : Differing(before, after)) why << std::hex << " " << k.first << "/" << k.second;
        return why.str();
    }
    auto byteAt = [&](const TSections& s, const TByte& b) {
        return s.count(b.key) && b.offset < static_cast<int>(s.at(b.key).size()) ? s.at(b.key)[size_t(b.offset)] : -1;
    };
    for (const TByte& b : row.bytes)
        if (byteAt(after, b) != b.value) return "setup.dat byte " + std::to_string(b.offset) + " of " + std::to_string(b.key.first);
    const TSections runtime = ReadSections(dir + "/runtime.dat");
    for (const TByte& b : row.runtime)
        if (byteAt(runtime, b) != b.value)
            return "runtime.dat byte " + std::to_string(b.offset) + " of " + std::to_string(b.key.first) + " is " +
                   std::to_string(byteAt(runtime, b));
    for (const std::string& text : row.finish.ends)
        if (frames.empty() || FindShown(frames, frames.size() - 1, text) == frames.size())
            return "does not end showing \"" + text + "\"";
    if (!row.sameAs.empty() && (after.empty() || ReadSections(dir + "/" + row.sameAs) != after))
        return row.sameAs + " differs from setup.dat";
    return "";
}

// A first start in base/seed seeds setup.dat, which every row begins from; "" when it did.
std::string Seed(const std::string& base) {
    const std::string seed = base + "/seed";
    std::string failure;
    RunOnce(*RunFolder(seed, "/HKMeasure-menuwalk-seed"), "W300", &failure);
    if (failure.empty() && ReadSections(seed + "/setup.dat").empty()) return "the first start wrote no setup.dat";
    return failure;
}

// Every row walked from base/seed, a few at a time: "" for each row that followed.
std::vector<std::string> WalkRows(const std::vector<TRow>& rows, const std::string& base) {
    std::vector<std::string> results(rows.size());
    const std::string seed = base + "/seed";
    const char* shm = getenv("HK_SHM_NAME");
    const std::string shmBase = std::string(shm ? shm : "/HKMeasure-menuwalk") + "-";
    // Rows with measured values share the one block name of the writer; they go one at a
    // time, the others a few at a time.
    std::atomic<size_t> next{0};
    auto worker = [&](bool withBlock) {
        for (size_t i; (i = next++) < rows.size();) {
            if (rows[i].block.empty() == withBlock) continue;
            results[i] = Walk(rows[i], base + "/row" + std::to_string(i), shmBase + std::to_string(i), seed);
        }
    };
    worker(true);
    next = 0;
    std::vector<std::thread> pool;
    for (int t = 0; t < 3; ++t) pool.emplace_back(worker, false);
    for (auto& t : pool) t.join();
    return results;
}

TEST(MenuWalk, EveryRowOpensWhatItNamesAndChangesOnlyItsSetting) {
    if (!HeadlessRun::Built()) TOOL_MISSING() << "dashview is not built";
    LoadPageAssets();
    ConfigTempDir base;
    ASSERT_EQ(Seed(base.Path()), "");
    const std::vector<TRow> rows = Rows();
    const std::vector<std::string> results = WalkRows(rows, base.Path());
    for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(results[i], "") << rows[i].name;
}

// The engine configuration's choice pages: each item stores its value in the configuration
// record, "External" and "<---" store nothing.
TEST(MenuWalk, EngineConfigurationChoicesReachTheRecord) {
    if (!HeadlessRun::Built()) TOOL_MISSING() << "dashview is not built";
    LoadPageAssets();
    ConfigTempDir base;
    ASSERT_EQ(Seed(base.Path()), "");
    const TKey record = {0x4010, 0};
    // Stored bytes: 0 the cylinder count, 2 the backlight colour, 36 the dimmer, 40 the main switch.
    auto row = [&](const char* name, const std::string& keys, std::vector<std::pair<int, int>> bytes) {
        std::vector<TByte> b;
        for (const auto& ov : bytes) b.push_back({record, ov.first, ov.second});
        return TRow{name, {{Enter + Engine + keys + SaveExit, {}}}, -1, {record}, b, "", "", {}, {}, ""};
    };
    std::vector<TRow> rows = {
        row("six, 24 V, orange, connected", Cylinders(3) + ExternDimmer(3) + Colour(3) + MainSwitch(2),
            {{0, 6}, {2, 2}, {36, 4}, {40, 1}}),
        row("two, 12 V then auto, connected then not", Cylinders(1) + ExternDimmer(2) + Dimmer(3) + MainSwitch(2) + MainSwitch(1),
            {{0, 2}, {36, 1}, {40, 0}}),
        row("four, 5 V, red", Cylinders(1) + Cylinders(2) + ExternDimmer(1) + Colour(2), {{0, 4}, {2, 1}, {36, 2}}),
        // "External" opens page 120, whose "<---" leaves the dimmer as it was.
        row("auto, external left unchosen", Dimmer(3) + OtherSetting(4) + "w 1 w w 1 W200 1 W200 " + Top, {{36, 1}}),
        row("two, 5 V then manual, orange then green", Cylinders(1) + ExternDimmer(1) + Dimmer(1) + Colour(3) + Colour(1),
            {{0, 2}, {2, 0}, {36, 0}}),
    };
    // Bytes 4..9 the EGT slots' thermocouples, 10..15 the CHT slots'. A slot the count brings
    // back without a thermocouple takes its own (CHT 4 on 10); one the count kept in sight
    // stays as the installer left it (CHT 1). A slot's change stores the sensor of every
    // thermocouple a slot has then: never 10's.
    rows.push_back(row("CHT 4 and CHT 1 not connected, two, six",
                       ThermoSlotNone(8) + ThermoSlotNone(5) + Cylinders(1) + Cylinders(3),
                       {{0, 6}, {4, 1}, {9, 6}, {10, 0}, {13, 10}, {15, 12}}));
    for (uint16_t t = 0x100; t <= 0x10B; ++t)
        if (t != 0x109) rows.back().changed.push_back({0x4064, t});
    const std::vector<std::string> results = WalkRows(rows, base.Path());
    for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(results[i], "") << rows[i].name;
}

// The columns of the title blue in the temperature face's title row of the engine page
// (between the half dials, centred on x 402): {-1, -1} when none.
std::pair<int, int> FaceTitleInk(const FGBitmap& frame) {
    std::pair<int, int> ink{-1, -1};
    for (int y = 60 + 480 - 330 - 16; y < 60 + 480 - 330 + 3; ++y)
        for (int x = 359; x < 445; ++x) {
            const FGPixel p = frame.pixels[y * frame.width + x];
            const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
            if (b < 180 || b - r < 60 || b - g < 60) continue;
            if (ink.first < 0 || x < ink.first) ink.first = x;
            ink.second = std::max(ink.second, x);
        }
    return ink;
}

// The label stored on page 130 titles the engine page's temperature face after a restart.
TEST(MenuWalk, TemperatureFaceTitleFollowsTheStoredLabel) {
    if (!HeadlessRun::Built()) TOOL_MISSING() << "dashview is not built";
    ConfigTempDir base;
    struct {
        const char* title;
        std::string setup, page;  // setup leaves the engine screen as the start screen
        int minWidth, maxWidth;   // of the title's ink
    } rows[] = {
        {"WATER ", "", "W800 5 W300 5 W300 5 W300 ", 34, 44},
        {"CHT ", Enter + Engine + OtherSetting(14) + "w w 1 W200 " + SaveExit, "W800 ", 18, 28},
    };
    for (const auto& row : rows) {
        const auto run = RunFolder(base.Path() + "/" + row.title, "/HKMeasure-face");
        std::string failure;
        if (!row.setup.empty()) RunOnce(*run, row.setup, &failure);
        const auto& frames = RunOnce(*run, row.page, &failure);
        ASSERT_EQ(failure, "") << row.title;
        ASSERT_FALSE(frames.empty()) << row.title;
        const auto ink = FaceTitleInk(*frames.back());
        const int width = ink.second - ink.first + 1;
        EXPECT_GE(ink.first, 0) << row.title;
        EXPECT_TRUE(width >= row.minWidth && width <= row.maxWidth) << row.title << " ink " << ink.first << ".." << ink.second;
        EXPECT_NEAR((ink.first + ink.second) / 2, 402, 4) << row.title;
    }
}

}  // namespace
