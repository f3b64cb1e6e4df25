// A temporary media tree that the data disk "c:" points at while it lives.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "diskroot.h"

class TMediaTree {
public:
    TMediaTree() {
        char tmpl[] = "/tmp/mediatree_XXXXXX";
        if (!mkdtemp(tmpl)) ADD_FAILURE() << "mkdtemp";
        root = tmpl;
        SetDiskRoot(root.c_str());
    }
    ~TMediaTree() {
        SetDiskRoot(nullptr);
        const std::string cmd = "rm -rf '" + root + "'";
        if (system(cmd.c_str()) != 0) ADD_FAILURE() << "rm";
    }
    TMediaTree(const TMediaTree&) = delete;
    TMediaTree& operator=(const TMediaTree&) = delete;

    std::string Path(const std::string& rel) const { return rel.empty() ? root : root + "/" + rel; }
    void Dir(const std::string& rel) const { EXPECT_EQ(mkdir(Path(rel).c_str(), 0755), 0) << rel; }
    void File(const std::string& rel) const { std::ofstream(Path(rel)) << ""; }

    std::string root;
};

// Runs f with the run folder (Data/ with the generated pictures) as working directory.
template <typename F>
void InRunDir(F f) {
    char old[PATH_MAX];
    ASSERT_NE(getcwd(old, sizeof old), nullptr);
    ASSERT_EQ(chdir(RUN_DIR), 0);
    f();
    ASSERT_EQ(chdir(old), 0);
}
