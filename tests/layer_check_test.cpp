// The include and link check of the layers: the tree and its build keep to them, and a
// small tree with one wrong include or one upward link fails, naming both layers.
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

TRun RunCheck(const std::string& root, const std::string& build = "") {
    std::string cmd = "python3 '" SOURCE_DIR "/scripts/check-layers' --root '" + root + "'";
    if (!build.empty()) cmd += " --build '" + build + "'";
    cmd += " 2>&1";
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
    const std::string build = std::string(TEST_HELPER_DIR).substr(0, std::string(TEST_HELPER_DIR).rfind('/'));
    const TRun run = RunCheck(SOURCE_DIR, build);
    EXPECT_EQ(run.status, 0) << run.output;
}

// The shell may leave a symbol to the toolkit below it, never to the menus above it.
TEST(LayerCheck, AnUpwardLinkFails) {
    LayerTree tree;
    tree.Write("gui/shell.c", "extern int MenuWord; int Shell(void) { return MenuWord + Toolkit(); }\n"
                              "int Toolkit(void);\n");
    tree.Write("gui/menu.c", "int MenuWord = 1; int Shell(void); int Menu(void) { return Shell(); }\n");
    tree.Write("toolkit/tk.c", "int Toolkit(void) { return 2; }\n");
    const std::string r = "'" + tree.Root() + "'";
    const std::string make = "cd " + r + " && cc -w -c gui/shell.c -o shell.o && cc -w -c gui/menu.c -o menu.o"
                             " && cc -w -c toolkit/tk.c -o tk.o && ar rcs gui/libgui.a shell.o"
                             " && ar rcs gui/libgui_menu.a menu.o && ar rcs toolkit/libtoolkit.a tk.o"
                             " && rm gui/*.c toolkit/*.c";
    ASSERT_EQ(system(make.c_str()), 0);
    const TRun run = RunCheck(tree.Root(), tree.Root());
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("gui/libgui.a: layer gui links \"MenuWord\" of gui/libgui_menu.a"), std::string::npos)
        << run.output;
    EXPECT_EQ(run.output.find("Toolkit"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("libgui_menu.a: layer"), std::string::npos) << run.output;
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
