// The include check of the layers: the tree keeps to them, and a small tree
// with one wrong include fails with the file, the line and both layers named.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

struct TRun {
    int status;
    std::string output;
};

TRun RunCheck(const std::string& root) {
    const std::string cmd = "python3 '" SOURCE_DIR "/scripts/check-layers' --root '" + root + "' 2>&1";
    TRun run{-1, {}};
    FILE* pipe = popen(cmd.c_str(), "r");
    if (!pipe) return run;
    char buf[512];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) run.output.append(buf, n);
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

// A throw-away tree with one header in each layer the cases include.
class LayerTree {
public:
    LayerTree() {
        char tmpl[] = "/tmp/layertree_XXXXXX";
        if (!mkdtemp(tmpl)) ADD_FAILURE() << "mkdtemp";
        m_Root = tmpl;
        for (const char* d : {"base", "platform", "common", "toolkit", "toolkit/include", "toolkit/src", "gui",
                              "gui/gui_terr", "gui/ent", "gui/menu", "gui/setup", "bench", "tools", "tests"})
            mkdir((m_Root + "/" + d).c_str(), 0755);
        for (const char* h : {"base/trace.h", "platform/shm.h", "common/hkmeasure.h", "toolkit/include/fgapp.h",
                              "gui/gui_terr/glview.h", "gui/shellstate.h", "gui/ent/entertainer.h",
                              "gui/menu/menu.h", "gui/setup/aboutbox.h", "bench/fdmpacket.h", "tools/pictures.h"})
            Write(h, "#pragma once\n");
    }
    ~LayerTree() {
        const std::string cmd = "rm -rf '" + m_Root + "'";
        if (system(cmd.c_str()) != 0) ADD_FAILURE() << "rm";
    }
    void Write(const std::string& rel, const std::string& text) const {
        std::ofstream(m_Root + "/" + rel) << text;
    }
    const std::string& Root() const { return m_Root; }

private:
    std::string m_Root;
};

}  // namespace

TEST(LayerCheck, TheSourceTreeKeepsToTheLayers) {
    const TRun run = RunCheck(SOURCE_DIR);
    EXPECT_EQ(run.status, 0) << run.output;
}

TEST(LayerCheck, IncludesAreJudgedByTheLayerOfBoth) {
    struct Case {
        const char* dir;
        const char* include;
        bool allowed;
    };
    const Case cases[] = {
        {"platform", "trace.h", true},
        {"platform", "../common/hkmeasure.h", false},  // relative path resolved too
        {"platform", "hkmeasure.h", false},            // not visible to the target: still wrong
        {"common", "shm.h", true},
        {"toolkit/src", "hkmeasure.h", false},         // the toolkit knows nothing of the instrument
        {"toolkit/src", "fgapp.h", true},
        {"gui/gui_terr", "shellstate.h", false},
        {"gui/gui_terr", "../../tools/pictures.h", false},
        {"gui/gui_terr", "fgapp.h", true},
        {"gui", "menu.h", false},                      // the shell goes through its hook tables
        {"gui", "entertainer.h", false},
        {"gui", "gui_terr/glview.h", true},
        {"gui/ent", "aboutbox.h", false},
        {"gui/ent", "shellstate.h", true},
        {"gui/menu", "aboutbox.h", true},              // menu and setup call each other
        {"gui/setup", "menu.h", true},
        {"bench", "hkmeasure.h", true},
        {"bench", "fgapp.h", false},
        {"common", "fdmpacket.h", false},
        {"tools", "../gui/gui_terr/glview.h", true},
        {"tests", "menu.h", true},
    };
    // Every case in its own file of one tree; the program entry stands on top.
    LayerTree all, allowedOnly;
    all.Write("gui/dashview_main.cpp", "#include \"menu.h\"\n");
    allowedOnly.Write("gui/dashview_main.cpp", "#include \"menu.h\"\n");
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        const std::string file = std::string(cases[i].dir) + "/case" + std::to_string(i) + ".cpp";
        const std::string text = std::string("// case\n#include \"") + cases[i].include + "\"\n";
        all.Write(file, text);
        if (cases[i].allowed) allowedOnly.Write(file, text);
    }
    const TRun good = RunCheck(allowedOnly.Root());
    EXPECT_EQ(good.status, 0) << good.output;
    const TRun run = RunCheck(all.Root());
    EXPECT_EQ(run.status, 1) << run.output;
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        const std::string where = std::string(cases[i].dir) + "/case" + std::to_string(i) + ".cpp:2:";
        EXPECT_EQ(run.output.find(where) == std::string::npos, cases[i].allowed)
            << where << " " << cases[i].include << "\n" << run.output;
    }
}

TEST(LayerCheck, SystemHeadersAndCommentsAreNotJudged) {
    LayerTree tree;
    tree.Write("platform/shm.cpp", "#include <menu.h>\n// #include \"menu.h\"\n#include \"generated.h\"\n");
    const TRun run = RunCheck(tree.Root());
    EXPECT_EQ(run.status, 0) << run.output;
}
