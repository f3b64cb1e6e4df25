#include "fgwindb.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {
typedef std::vector<uint8_t> Bytes;

void Put32(Bytes& b, int32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
}

Bytes Image(int32_t magic, int32_t count, const std::vector<std::string>& keys) {
    Bytes b;
    Put32(b, magic);
    Put32(b, count);
    int v = 1;
    for (const std::string& k : keys) {
        for (int i = 0; i < 7; ++i) Put32(b, v++);
        b.insert(b.end(), k.begin(), k.end());
        b.push_back(0);
    }
    return b;
}

// Each test runs with HOME in its own temporary directory.
class WindowDbTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("HOME");
        hadHome = old != nullptr;
        if (old) oldHome = old;
        char pattern[] = "/tmp/fgwindb_test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        home = pattern;
        setenv("HOME", home.c_str(), 1);
        file = home + "/.windowxy.wdb";
    }
    void TearDown() override {
        if (hadHome)
            setenv("HOME", oldHome.c_str(), 1);
        else
            unsetenv("HOME");
        std::error_code ec;
        fs::remove_all(home, ec);
    }

    void WriteFile(const Bytes& b) {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    }
    Bytes ReadFile() {
        std::ifstream in(file, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    size_t EntriesInHome() {
        return static_cast<size_t>(std::distance(fs::directory_iterator(home), fs::directory_iterator()));
    }

    bool hadHome = false;
    std::string oldHome, home, file;
};

void Add(WindowDatabase& db, const char* title, int x, int y, int w, int h) {
    db.Register(x, y, w, h, title, 0);
}
}  // namespace

TEST_F(WindowDbTest, ByteLayoutAtFixedOffsets) {
    {
        WindowDatabase db("dashview");
        EXPECT_EQ(db.path, file);
        EXPECT_EQ(db.prefix, "dashview::");
        Add(db, "Main", 0x01020304, -2, 800, 480);
        db.SetIconPosition(7, -1, "Main");
    }
    const Bytes b = ReadFile();
    const Bytes expect = {0x57, 0x43, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,   // magic, count
                          0x04, 0x03, 0x02, 0x01, 0xFE, 0xFF, 0xFF, 0xFF,   // x, y
                          0x20, 0x03, 0x00, 0x00, 0xE0, 0x01, 0x00, 0x00,   // width, height
                          0x07, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF,   // icon x, icon y
                          0x00, 0x00, 0x00, 0x00,                           // reserved
                          'd', 'a', 's', 'h', 'v', 'i', 'e', 'w', ':', ':', 'M', 'a', 'i', 'n', 0};
    EXPECT_EQ(b, expect);
}

TEST_F(WindowDbTest, RoundTripThroughTheFile) {
    {
        WindowDatabase db("dashview");
        Add(db, "Main", 0, 60, 800, 480);
        Add(db, "Setup", 10, 20, 300, 200);
        db.SetPosition(15, 25, "Setup");
        db.SetSize(320, 240, "Setup");
        db.SetIconPosition(100, 110, "Setup");
        db.SetPosition(1, 1, "Nowhere");  // unknown titles change nothing
    }
    WindowDatabase db("dashview");
    ASSERT_EQ(db.count, 2);
    EXPECT_EQ(db.first->key, "dashview::Main");  // file order kept
    EXPECT_EQ(db.last->key, "dashview::Setup");

    int x = -5, y = -5, w = 1, h = 1;
    db.Register(x, y, w, h, "Setup", 0);  // no flags: nothing handed back
    EXPECT_EQ(x, -5);
    EXPECT_EQ(w, 1);
    db.Register(x, y, w, h, "Setup", WindowDbUsePosition);
    EXPECT_EQ(x, 15);
    EXPECT_EQ(y, 25);
    EXPECT_EQ(w, 1);
    db.Register(x, y, w, h, "Setup", WindowDbUsePosition | WindowDbUseSize);
    EXPECT_EQ(w, 320);
    EXPECT_EQ(h, 240);
    int ix = 3, iy = 4;
    db.GetIconPosition(ix, iy, "Setup");
    EXPECT_EQ(ix, 100);
    EXPECT_EQ(iy, 110);
    db.GetIconPosition(ix, iy, "Main");
    EXPECT_EQ(ix, -1);
    ix = 3;
    db.GetIconPosition(ix, iy, "Missing");
    EXPECT_EQ(ix, 3);
    EXPECT_EQ(db.count, 2);  // found titles are not added again
}

TEST_F(WindowDbTest, ProgramsKeepSeparateRecords) {
    {
        WindowDatabase a("dashview");
        Add(a, "Main", 1, 2, 3, 4);
    }
    {
        WindowDatabase b("benchdesk");
        EXPECT_EQ(b.Find("Main"), nullptr);
        Add(b, "Main", 5, 6, 7, 8);
    }
    WindowDatabase a("dashview");
    ASSERT_NE(a.Find("Main"), nullptr);
    EXPECT_EQ(a.Find("Main")->x, 1);
    EXPECT_EQ(a.count, 2);
}

TEST_F(WindowDbTest, EmptyTitlesAndEmptyDatabases) {
    {
        WindowDatabase db("dashview");
        int x = 1, y = 2, w = 3, h = 4;
        db.Register(x, y, w, h, "", WindowDbUsePosition);
        db.Register(x, y, w, h, nullptr, WindowDbUsePosition);
        EXPECT_EQ(db.count, 0);
        EXPECT_EQ(db.Find(nullptr), nullptr);
        EXPECT_EQ(db.Save(), 0);
    }
    EXPECT_FALSE(fs::exists(file));  // nothing to save: no file

    setenv("HOME", "", 1);
    WindowDatabase dot("dashview");
    EXPECT_EQ(dot.path, "./.windowxy.wdb");
    WindowDatabase given("dashview", home.c_str());
    EXPECT_EQ(given.path, file);
}

TEST_F(WindowDbTest, BadHeadersDeleteTheFile) {
    for (const Bytes& b : {Image(17239, 0, {}), Image(17239, 101, {"x::a"}), Image(17239, -1, {"x::a"}),
                           Image(17238, 1, {"x::a"}), Bytes{}, Bytes{0x57, 0x43, 0x00}}) {
        WriteFile(b);
        WindowDatabase db("x");
        EXPECT_EQ(db.count, 0);
        EXPECT_EQ(db.first, nullptr);
        EXPECT_FALSE(fs::exists(file));
    }
}

TEST_F(WindowDbTest, ShortAndDamagedFiles) {
    const Bytes good = Image(WindowDbMagic, 2, {"x::first", "x::second"});
    {
        WindowDatabase db("x");
        ASSERT_EQ(db.Decode(good.data(), good.size()), 0);
        EXPECT_EQ(db.count, 2);
        EXPECT_EQ(db.Find("second")->reserved, 14);
        db.count = 0;  // keep the destructor from writing
    }
    // Cut anywhere: rejected as a whole, never read past the end.
    for (size_t n = 0; n < good.size(); ++n) {
        WindowDatabase db("x");
        std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
        EXPECT_EQ(db.Decode(cut.data(), cut.size()), -1) << n;
        EXPECT_EQ(db.count, 0);
        EXPECT_EQ(db.first, nullptr);
    }
    // A count larger than the records present.
    Bytes more = good;
    more[4] = 3;
    WriteFile(more);
    {
        WindowDatabase db("x");
        EXPECT_EQ(db.count, 0);
        EXPECT_FALSE(fs::exists(file));
    }
    // Bytes after the last record are ignored.
    Bytes tail = good;
    tail.insert(tail.end(), 50, 0xAB);
    WriteFile(tail);
    WindowDatabase db("x");
    EXPECT_EQ(db.count, 2);
}

TEST_F(WindowDbTest, KeysAndNamesAreBounded) {
    const std::string key115 = "x::" + std::string(112, 'k');
    const Bytes fits = Image(WindowDbMagic, 1, {key115});
    const Bytes tooLong = Image(WindowDbMagic, 1, {key115 + "k"});
    WindowDatabase db("x");
    EXPECT_EQ(db.Decode(fits.data(), fits.size()), 0);
    EXPECT_NE(db.Find(std::string(112, 'k').c_str()), nullptr);
    EXPECT_EQ(db.Decode(tooLong.data(), tooLong.size()), -1);

    // Long base names and titles are cut to what the file can hold, alike each time.
    const std::string base(200, 'b'), title(300, 't');
    {
        WindowDatabase w(base.c_str());
        EXPECT_EQ(w.prefix.size(), WindowDbPrefixMax);
        Add(w, title.c_str(), 9, 8, 7, 6);
        EXPECT_EQ(w.first->key.size(), WindowDbKeyMax);
    }
    WindowDatabase r(base.c_str());
    ASSERT_EQ(r.count, 1);
    ASSERT_NE(r.Find(title.c_str()), nullptr);
    EXPECT_EQ(r.Find(title.c_str())->x, 9);
}

TEST_F(WindowDbTest, NeverMoreThanAHundredRecords) {
    {
        WindowDatabase db("x");
        for (int i = 0; i < 101; ++i) Add(db, std::to_string(i).c_str(), i, i, i, i);
        EXPECT_EQ(db.count, 100);
        EXPECT_EQ(db.Find("100"), nullptr);
    }
    WindowDatabase db("x");  // the file stays valid
    EXPECT_EQ(db.count, 100);
    EXPECT_EQ(db.Find("99")->x, 99);
}

TEST_F(WindowDbTest, UnwritableDirectoryIsReported) {
    const std::string missing = home + "/no/such/dir";
    WindowDatabase db("x", missing.c_str());
    Add(db, "Main", 1, 2, 3, 4);
    testing::internal::CaptureStderr();
    EXPECT_EQ(db.Save(), -1);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.rfind("Velvix ERROR: can't create the window database " + missing, 0), 0u) << err;
    db.count = 0;
}

TEST_F(WindowDbTest, FullDiskKeepsThePreviousFile) {
    {
        WindowDatabase db("x");
        Add(db, "Main", 1, 2, 3, 4);
    }
    const Bytes before = ReadFile();
    ASSERT_EQ(before.size(), 8u + 28u + 8u);

    // A file-size limit makes writes fail as on a full disk.
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto oldSignal = signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 200;  // above the error line, below the new image
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    int rc;
    std::string err;
    {
        WindowDatabase db("x");
        db.SetPosition(50, 60, "Main");
        Add(db, std::string(100, 's').c_str(), 5, 6, 7, 8);
        Add(db, std::string(100, 't').c_str(), 5, 6, 7, 8);
        testing::internal::CaptureStderr();
        rc = db.Save();
        err = testing::internal::GetCapturedStderr();
        db.count = 0;
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldSignal);

    EXPECT_EQ(rc, -1);
    EXPECT_NE(err.find("Velvix ERROR: can't write the window database"), std::string::npos) << err;
    EXPECT_EQ(ReadFile(), before);
    EXPECT_EQ(EntriesInHome(), 1u);  // no temporary file left behind
}

TEST_F(WindowDbTest, OtherThingsAtThePathAreLeftAlone) {
    ASSERT_EQ(mkfifo(file.c_str(), 0600), 0);
    {
        WindowDatabase db("x");  // must not block on the FIFO
        EXPECT_EQ(db.count, 0);
    }
    EXPECT_TRUE(fs::is_fifo(file));
    fs::remove(file);

    fs::create_directory(file);
    WindowDatabase db("x");
    EXPECT_EQ(db.count, 0);
    EXPECT_TRUE(fs::is_directory(file));
    Add(db, "Main", 1, 2, 3, 4);
    EXPECT_EQ(db.Save(), -1);
    EXPECT_TRUE(fs::is_directory(file));
    EXPECT_EQ(EntriesInHome(), 1u);
    db.count = 0;
}
