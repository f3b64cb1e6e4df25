// Test support for the measured-values block: a block name of each test's own,
// helper processes driven over pipes, and a raw second mapping to read bytes.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "hkmeasure.h"
#include "quitrequest.h"
#include "shm.h"

// Each test runs on a block named after the program's HK_SHM_NAME and the test,
// removed before and after it, so no state leaks from one test to the next.
class MeasuredBlockTest : public ::testing::Test {
protected:
    void SetUp() override {
        static const std::string base = ShmBlockName();
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        name_ = base + "-" + info->test_suite_name() + "." + info->name();
        setenv("HK_SHM_NAME", name_.c_str(), 1);
        ShmUnlink(name_.c_str());
        ClearQuitRequest();
        ASSERT_FALSE(MeasAttachment().attached);
    }
    void TearDown() override {
        EXPECT_FALSE(MeasAttachment().attached) << "a test left the block attached";
        ShmUnlink(name_.c_str());
        ClearQuitRequest();
    }
    // A second mapping of the block, for reading and planting raw bytes: a live writer,
    // so that what it plants is read.
    ShmMapping Raw(uint32_t createSize = 64) {
        ShmMapping map;
        EXPECT_EQ(ShmCreateOrOpen(name_.c_str(), createSize, map), ShmOk);
        map.MarkWriter(true);
        return map;
    }
    std::string name_;
};

// Plants a redirect word into a channel's slot.
inline void SetRedirect(TMeasuredVals& vals, uint32_t from, uint32_t to, int selector) {
    int index;
    ASSERT_NE(TMeasuredVals::FindChannel(from, &index), nullptr);
    MeasShmSlot slot;
    ASSERT_EQ(vals.ReadSlot(index, &slot), 0);
    slot.redirect[selector].Set(static_cast<uint16_t>(to));
    ASSERT_EQ(vals.WriteSlot(index, &slot), 0);
}

inline uint32_t RawU32(const ShmMapping& map, uint32_t offset) {
    const uint8_t* p = map.Data() + offset;
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// A helper program with its standard input and output on pipes.
class HelperProcess {
public:
    explicit HelperProcess(const std::vector<std::string>& args) {
        int toChild[2], fromChild[2];
        if (pipe(toChild) != 0 || pipe(fromChild) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(toChild[0], 0);
            dup2(fromChild[1], 1);
            close(toChild[1]);
            close(fromChild[0]);
            std::vector<char*> argv;
            for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(toChild[0]);
        close(fromChild[1]);
        stdin_ = toChild[1];
        stdout_ = fdopen(fromChild[0], "r");
    }
    ~HelperProcess() { Finish(); }

    // The next line the helper printed, without its newline; "" at its end.
    std::string Line() {
        char buf[256];
        if (!stdout_ || !fgets(buf, sizeof buf, stdout_)) return "";
        std::string s = buf;
        if (!s.empty() && s.back() == '\n') s.pop_back();
        return s;
    }
    // Kills it as SIGKILL does, with no chance to release the block; -1.
    int Kill() {
        if (pid_ > 0) kill(pid_, SIGKILL);
        return Finish();
    }
    // Closes the helper's input (ending a "wait") and returns its exit status.
    int Finish() {
        if (stdin_ >= 0) close(stdin_);
        stdin_ = -1;
        int status = -1;
        if (pid_ > 0) waitpid(pid_, &status, 0);
        pid_ = -1;
        if (stdout_) fclose(stdout_);
        stdout_ = nullptr;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    int stdin_ = -1;
    FILE* stdout_ = nullptr;
};

inline std::vector<std::string> BenchWriter(std::vector<std::string> args) {
    args.insert(args.begin(), std::string(TEST_HELPER_DIR) + "/bench_shm_writer");
    return args;
}

