// A temporary media tree that the data disk "c:" points at while it lives.
#pragma once

#include <gtest/gtest.h>
#include <fcntl.h>
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
    // A folder whose path comes within 60 characters of the system's limit, holding the
    // folder TooDeep and the film TooLong, whose paths pass it (made beside it, as the
    // system cannot name them). Its path below the root.
    static inline const std::string TooDeep = std::string(250, 'e'), TooLong = std::string(100, 'f') + ".3gp";
    std::string NearTheLimit() const {
        std::string rel;
        while (root.size() + rel.size() < PATH_MAX - 60) {
            const size_t room = PATH_MAX - 60 - root.size() - rel.size() - 1;
            rel += (rel.empty() ? "" : "/") + std::string(room < 250 ? room : 250, 'n');
            Dir(rel);
        }
        const int fd = open(Path(rel).c_str(), O_RDONLY | O_DIRECTORY);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(mkdirat(fd, TooDeep.c_str(), 0755), 0);
        const int film = openat(fd, TooLong.c_str(), O_CREAT | O_WRONLY, 0644);
        EXPECT_GE(film, 0);
        close(film);
        close(fd);
        return rel;
    }

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
