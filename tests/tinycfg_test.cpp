#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <csignal>
#include <unistd.h>

#include "file_io.h"
#include "tinycfg.h"

namespace fs = std::filesystem;

namespace {

class TinycfgTest : public ::testing::Test {
protected:
    fs::path dir;
    fs::path rc;
    void SetUp() override {
        char tmpl[] = "/tmp/tinycfg_test_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
        rc = dir / "dashview.rc";
    }
    void TearDown() override {
        chmod(dir.c_str(), 0700);
        fs::remove_all(dir);
    }
    int FileCount() const {
        int n = 0;
        for (auto& e : fs::directory_iterator(dir)) (void)e, ++n;
        return n;
    }
};

const char kGoodXml[] =
    "<?xml version=\"1.0\" standalone=\"yes\" ?>\n"
    "<tinycfg>\n"
    "    <int name=\"default_videomode\" val=\"4\" />\n"
    "    <a>\n"
    "        <string name=\"s\" val=\"x&amp;y\" />\n"
    "    </a>\n"
    "</tinycfg>\n";

}  // namespace

// ---------------- round trip and layout ----------------

TEST_F(TinycfgTest, EveryTypeRoundTripsThroughAFile) {
    unsigned char allBytes[256];
    for (int i = 0; i < 256; ++i) allBytes[i] = static_cast<unsigned char>(i);
    const char* odd = "a&#x41;<b> \"q\" 'x'\t\n\r\xB0 end";
    const double doubles[] = {0.1, 3.141592653589793, -1e-300, 1e300, -0.0};
    const int ints[] = {INT_MIN, -1, 0, 7, INT_MAX};
    const bool bools[] = {true, false, true};
    const char* texts[] = {"", "one", odd};
    unsigned char h0[4] = {1, 2, 3, 4}, h1[4] = {0xff, 0, 0xab, 0x10};
    const unsigned char* hexes[] = {h0, h1};
    {
        Config c(rc.c_str(), true);
        c.SetBool("t", true);
        c.SetBool("f", false, "flags");
        c.SetInt("min", INT_MIN, "num.ints");
        c.SetInt("max", INT_MAX, "num.ints");
        c.SetString("odd", odd, "text");
        c.SetString("empty", "");
        for (int i = 0; i < 5; ++i) c.SetDouble(("d" + std::to_string(i)).c_str(), doubles[i], "num");
        c.SetHex("all", allBytes, 256, "bin");
        c.SetBoolArray("ba", bools, 3);
        c.SetIntArray("ia", ints, 5, "arr");
        c.SetStringArray("sa", texts, 3, "arr");
        c.SetDoubleArray("da", doubles, 5, "arr");
        c.SetHexArray("ha", hexes, 4, 2, "arr");
    }
    Config c(rc.c_str(), false);
    bool b = false;
    EXPECT_TRUE(c.GetBool("t", &b));
    EXPECT_TRUE(b);
    EXPECT_TRUE(c.GetBool("f", &b, "flags"));
    EXPECT_FALSE(b);
    int v = 0;
    EXPECT_TRUE(c.GetInt("min", &v, "num.ints"));
    EXPECT_EQ(v, INT_MIN);
    EXPECT_TRUE(c.GetInt("max", &v, "num.ints"));
    EXPECT_EQ(v, INT_MAX);
    char text[64];
    EXPECT_TRUE(c.GetString("odd", text, sizeof text, "text"));
    EXPECT_STREQ(text, odd);
    EXPECT_TRUE(c.GetString("empty", text, sizeof text));
    EXPECT_STREQ(text, "");
    for (int i = 0; i < 5; ++i) {
        double d = 42;
        EXPECT_TRUE(c.GetDouble(("d" + std::to_string(i)).c_str(), &d, "num"));
        EXPECT_EQ(memcmp(&d, &doubles[i], sizeof d), 0) << i;  // exact, sign of zero included
    }
    unsigned char bytes[256] = {};
    EXPECT_TRUE(c.GetHex("all", bytes, 256, "bin"));
    EXPECT_EQ(memcmp(bytes, allBytes, 256), 0);

    bool ba[3] = {};
    EXPECT_TRUE(c.GetBoolArray("ba", ba, 3));
    EXPECT_TRUE(ba[0] && !ba[1] && ba[2]);
    int ia[5] = {};
    EXPECT_TRUE(c.GetIntArray("ia", ia, 5, "arr"));
    EXPECT_EQ(memcmp(ia, ints, sizeof ia), 0);
    char s0[8], s1[8], s2[64];
    char* sa[] = {s0, s1, s2};
    EXPECT_TRUE(c.GetStringArray("sa", sa, 8, 3, "arr"));
    EXPECT_STREQ(s0, "");
    EXPECT_STREQ(s1, "one");
    EXPECT_STREQ(s2, "a&#x41;");  // cut to the buffer, always terminated
    double da[5] = {};
    EXPECT_TRUE(c.GetDoubleArray("da", da, 5, "arr"));
    EXPECT_EQ(memcmp(da, doubles, sizeof da), 0);
    unsigned char r0[4], r1[4];
    unsigned char* ha[] = {r0, r1};
    EXPECT_TRUE(c.GetHexArray("ha", ha, 4, 2, "arr"));
    EXPECT_EQ(memcmp(r0, h0, 4), 0);
    EXPECT_EQ(memcmp(r1, h1, 4), 0);

    // Values not there leave the output untouched.
    v = 99;
    EXPECT_FALSE(c.GetInt("min", &v));  // other domain
    EXPECT_FALSE(c.GetInt("nothing", &v, "num.ints"));
    EXPECT_EQ(v, 99);
}

TEST_F(TinycfgTest, SmallDocumentLayoutByteForByte) {
    XmlConfig x(true);
    ASSERT_TRUE(x.Load(rc.c_str()));
    EXPECT_EQ(FileText(rc), "<?xml version=\"1.0\" standalone=\"yes\" ?>\n<tinycfg />\n");

    const unsigned char key[3] = {0x0a, 0xff, 0x00};
    const int list[2] = {1, -2};
    x.SetInt("x", 5, "a.b");
    x.SetBool("on", true, nullptr);
    x.SetString("title", "A&B <\"x\">", nullptr);
    x.SetDouble("gain", 0.1, "a");
    x.SetHex("key", key, 3, nullptr);
    x.SetIntArray("list", list, 2, "a");
    ASSERT_TRUE(x.Sync());
    const std::string expected =
        "<?xml version=\"1.0\" standalone=\"yes\" ?>\n"
        "<tinycfg>\n"
        "    <a>\n"
        "        <b>\n"
        "            <int name=\"x\" val=\"5\" />\n"
        "        </b>\n"
        "        <double name=\"gain\" val=\"0.1\" />\n"
        "        <int name=\"list\" range=\"2\">\n"
        "            <item val=\"1\" />\n"
        "            <item val=\"-2\" />\n"
        "        </int>\n"
        "    </a>\n"
        "    <bool name=\"on\" val=\"true\" />\n"
        "    <string name=\"title\" val='A&amp;B &lt;&quot;x&quot;&gt;' />\n"
        "    <hex name=\"key\" val=\"0aff00\" len=\"3\" />\n"
        "</tinycfg>\n";
    EXPECT_EQ(FileText(rc), expected);

    // A second write of x changes only its value; rewriting the array keeps one.
    x.SetInt("x", 6, "a.b");
    x.SetIntArray("list", list, 1, "a");
    ASSERT_TRUE(x.Sync());
    std::string second = expected;
    second.replace(second.find("val=\"5\""), 7, "val=\"6\"");
    second.erase(second.find("            <item val=\"-2\" />\n"), 30);
    second.replace(second.find("range=\"2\""), 9, "range=\"1\"");
    EXPECT_EQ(FileText(rc), second);
}

TEST_F(TinycfgTest, MissingFileIsCreatedAndRewrittenAtExit) {
    {
        Config c(rc.c_str(), true);
        EXPECT_EQ(FileText(rc), "<?xml version=\"1.0\" standalone=\"yes\" ?>\n<tinycfg />\n");
        int mode = 3;
        EXPECT_FALSE(c.GetInt("default_videomode", &mode));
        EXPECT_EQ(mode, 3);
        c.SetInt("default_videomode", 4);
    }
    EXPECT_NE(FileText(rc).find("<int name=\"default_videomode\" val=\"4\" />"), std::string::npos);
    {
        Config c(rc.c_str(), false);  // read-only: changes stay in memory
        int mode = 0;
        EXPECT_TRUE(c.GetInt("default_videomode", &mode));
        EXPECT_EQ(mode, 4);
        c.SetInt("default_videomode", 5);
    }
    EXPECT_NE(FileText(rc).find("val=\"4\""), std::string::npos);
}

// ---------------- reading rules ----------------

TEST_F(TinycfgTest, ScalarAndArrayReadingRules) {
    WriteTextFile(rc,
             "<?xml version=\"1.0\"?>\n<tinycfg>\n"
             "<bool name=\"no\" val=\"no\"/><bool name=\"off\" val=\"false\"/><bool name=\"nov\"/>\n"
             "<int name=\"n\" val=\"12abc\"/><int name=\"bad\" val=\"abc\"/><int name=\"big\" val=\"99999999999\"/>\n"
             "<int name=\"n\" range=\"3\"><item val=\"1\"/><item/><item val=\"3\"/></int>\n"
             "<int name=\"z\" range=\"0\"><item val=\"1\"/></int>\n"
             "<hex name=\"h\" val=\"0A0bzz\"/>\n"
             "</tinycfg>\n");
    XmlConfig x(false);
    ASSERT_TRUE(x.Load(rc.c_str()));
    bool b = false;
    EXPECT_TRUE(x.GetBool("no", &b, nullptr));
    EXPECT_TRUE(b);  // only "false" is false in XML
    EXPECT_TRUE(x.GetBool("off", &b, nullptr));
    EXPECT_FALSE(b);
    EXPECT_FALSE(x.GetBool("nov", &b, nullptr));
    int v = -1;
    EXPECT_TRUE(x.GetInt("n", &v, nullptr));  // the scalar, not the array of the same name
    EXPECT_EQ(v, 12);
    EXPECT_FALSE(x.GetInt("bad", &v, nullptr));
    EXPECT_FALSE(x.GetInt("big", &v, nullptr));
    int a[5] = {9, 9, 9, 9, 9};
    EXPECT_TRUE(x.GetIntArray("n", a, 5, nullptr));
    EXPECT_EQ(a[0], 1);
    EXPECT_EQ(a[1], 0);  // item without a value reads as empty
    EXPECT_EQ(a[2], 3);
    EXPECT_EQ(a[3], 9);  // beyond the items: unchanged
    EXPECT_EQ(a[4], 9);
    EXPECT_FALSE(x.GetIntArray("z", a, 1, nullptr));
    unsigned char h[4] = {0xee, 0xee, 0xee, 0xee};
    EXPECT_TRUE(x.GetHex("h", h, 4, nullptr));
    EXPECT_EQ(h[0], 0x0a);
    EXPECT_EQ(h[1], 0x0b);
    EXPECT_EQ(h[2], 0xee);
    char small[4];
    x.SetString("s", "abcdef", nullptr);
    EXPECT_TRUE(x.GetString("s", small, sizeof small, nullptr));
    EXPECT_STREQ(small, "abc");
}

TEST_F(TinycfgTest, BadDomainsUseTheRoot) {
    XmlConfig x(true);
    ASSERT_TRUE(x.Load(rc.c_str()));
    const char* bad[] = {"a..b", "a-b", "1a", ".a",
                         "a.bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb"};  // 63 characters
    for (const char* d : bad) {
        testing::internal::CaptureStdout();
        x.SetInt("y", 1, d);
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out, std::string("Bad domain name '") + d + "' for config variable!\a\n");
        int v = 0;
        EXPECT_TRUE(x.GetInt("y", &v, nullptr)) << d;
        x.SetInt("y", 0, nullptr);
    }
    std::string deep;
    for (int i = 0; i < 33; ++i) deep += "p.";
    x.SetInt("deep", 1, deep.c_str());  // 33 parts: the root, silently
    int v = 0;
    EXPECT_TRUE(x.GetInt("deep", &v, nullptr));
    std::string ok32 = deep.substr(0, 64);
    x.SetInt("deep", 2, ok32.c_str());
    EXPECT_TRUE(x.GetInt("deep", &v, ok32.c_str()));
    EXPECT_EQ(v, 2);
    ASSERT_TRUE(x.Sync());
    XmlConfig y(false);
    EXPECT_TRUE(y.Load(rc.c_str()));  // what was written reads back
    EXPECT_TRUE(y.GetInt("deep", &v, ok32.c_str()));
}

TEST(TinycfgDeath, HexLengthsAboveTheLimitStop) {
    unsigned char bytes[MAX_HEX_LEN + 1] = {};
    const unsigned char* items[] = {bytes};
    XmlConfig x(false);
    EXPECT_DEATH(x.SetHex("h", bytes, MAX_HEX_LEN + 1, nullptr), "len <= MAX_HEX_LEN.*tinycfg");
    EXPECT_DEATH(x.SetHexArray("h", items, MAX_HEX_LEN + 1, 1, nullptr), "length_of_item <= MAX_HEX_LEN");
}

// ---------------- damaged files ----------------

TEST_F(TinycfgTest, EveryTruncationOfAnXmlFileIsRefusedAndLosesNothing) {
    const std::string good = kGoodXml;
    const size_t complete = good.rfind("</tinycfg>") + strlen("</tinycfg>");
    fs::path other = dir / "other.rc";
    for (size_t n = 0; n < complete; ++n) {
        XmlConfig x(true);
        WriteTextFile(other, "<tinycfg><int name=\"default_videomode\" val=\"2\"/></tinycfg>");
        ASSERT_TRUE(x.Load(other.c_str()));
        WriteTextFile(rc, good.substr(0, n));
        testing::internal::CaptureStderr();
        EXPECT_FALSE(x.Load(rc.c_str())) << n;
        EXPECT_NE(testing::internal::GetCapturedStderr().find("is damaged"), std::string::npos) << n;
        EXPECT_EQ(FileText(rc), good.substr(0, n));
        int v = 0;
        EXPECT_TRUE(x.GetInt("default_videomode", &v, nullptr));  // the previous document stays
        EXPECT_EQ(v, 2);
        x.SetInt("k", 1, nullptr);
        EXPECT_TRUE(x.Sync());  // ...and is written to its own file
        EXPECT_EQ(FileText(rc), good.substr(0, n)) << n;
    }
    XmlConfig x(false);
    WriteTextFile(rc, good.substr(0, complete));
    EXPECT_TRUE(x.Load(rc.c_str()));
}

TEST_F(TinycfgTest, DamagedXmlFilesAreRefused) {
    std::string deep = "<tinycfg>";
    for (int i = 0; i < 200; ++i) deep += "<a>";
    for (int i = 0; i < 200; ++i) deep += "</a>";
    deep += "</tinycfg>";
    const std::string damaged[] = {
        "<tinycfg/>garbage",
        std::string("<tinycfg>\0</tinycfg>", 20),
        deep,
        "<tinycfg><string name=\"s\" val=\"&#xzz;\"/></tinycfg>",
        "<tinycfg><int name=x val=1/></tinycfg>",
        "<tinycfg/><tinycfg/>",
        "<tinycfg><a></b></tinycfg>",
        "<tinycfg><!-- open </tinycfg>",
        "<?xml version=\"1.0\"?>\n",
    };
    for (const std::string& text : damaged) {
        WriteTextFile(rc, text);
        testing::internal::CaptureStderr();
        {
            Config c(rc.c_str(), true);
            int v = 7;
            EXPECT_FALSE(c.GetInt("x", &v));
            c.SetInt("x", 1);  // dropped: the store has no document
        }
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find("is damaged"), std::string::npos) << text;
        EXPECT_EQ(FileText(rc), text);
        EXPECT_EQ(FileCount(), 1) << text;  // no .orig, no temporary
    }
    // An empty or blank file is the older text form without items: converted.
    for (const char* text : {"", "   \n"}) {
        WriteTextFile(rc, text);
        { Config c(rc.c_str(), true); }
        EXPECT_EQ(FileText(rc), "<?xml version=\"1.0\" standalone=\"yes\" ?>\n<tinycfg />\n");
        EXPECT_EQ(FileText(dir / "dashview.rc.orig"), text);
    }
}

// Nesting the library would recurse into until the stack runs out, also when
// it hides behind markup that looks like a closing tag.
TEST(TinycfgText, DeepNestingInAnyDisguiseIsRefused) {
    const char* units[] = {"<a>", "<a v=\"/>\">", "<a v='</a>'>", "<a>&#x;</a><a>", "<a><!-- </a> -->"};
    for (const char* unit : units) {
        std::string text = "<?xml version=\">\" encoding=\"<!--\" ?><tinycfg>";
        for (int i = 0; i < 100000; ++i) text += unit;
        XmlConfig x(false);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(x.LoadText(text.data(), text.size(), "deep.rc")) << unit;
        EXPECT_NE(testing::internal::GetCapturedStderr().find("is damaged"), std::string::npos);
    }
    std::string ok = "<tinycfg>";
    for (int i = 0; i < 127; ++i) ok += "<a>";
    for (int i = 0; i < 127; ++i) ok += "</a>";
    ok += "</tinycfg>";
    XmlConfig x(false);
    EXPECT_TRUE(x.LoadText(ok.data(), ok.size(), "deep.rc"));
}

// ---------------- saving that fails ----------------

TEST_F(TinycfgTest, FullDiskKeepsThePreviousFile) {
    WriteTextFile(rc, kGoodXml);
    XmlConfig x(true);
    ASSERT_TRUE(x.Load(rc.c_str()));
    x.SetString("long", std::string(4000, 'x').c_str(), nullptr);

    struct rlimit old;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    struct rlimit small = old;
    small.rlim_cur = 1024;
    auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    testing::internal::CaptureStderr();
    bool synced = x.Sync();
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);
    std::string err = testing::internal::GetCapturedStderr();

    EXPECT_FALSE(synced);
    EXPECT_NE(err.find("cannot write config file"), std::string::npos) << err;
    EXPECT_EQ(FileText(rc), kGoodXml);
    EXPECT_EQ(FileCount(), 1);  // the temporary is gone
    EXPECT_TRUE(x.Sync());      // still marked as changed: written once there is room
    EXPECT_NE(FileText(rc).find(std::string(4000, 'x')), std::string::npos);
}

TEST_F(TinycfgTest, MissingDirectoryReportsFailure) {
    fs::path inside = dir / "missing" / "dashview.rc";
    testing::internal::CaptureStderr();
    {
        Config c(inside.c_str(), true);
        int v = 0;
        EXPECT_FALSE(c.GetInt("default_videomode", &v));
    }
    EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot write config file"), std::string::npos);
}

TEST_F(TinycfgTest, UnwritableDirectoryKeepsThePreviousFile) {
    if (geteuid() == 0) GTEST_SKIP() << "directory permissions do not bind root";
    WriteTextFile(rc, kGoodXml);
    XmlConfig x(true);
    ASSERT_TRUE(x.Load(rc.c_str()));
    chmod(dir.c_str(), 0500);
    x.SetInt("k", 1, nullptr);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(x.Sync());
    testing::internal::GetCapturedStderr();
    chmod(dir.c_str(), 0700);
    EXPECT_EQ(FileText(rc), kGoodXml);
}

// ---------------- the older text form ----------------

namespace {

std::string OldLine(const char* name, char type, const std::string& value) {
    char head[64];
    snprintf(head, sizeof head, "%-32s %c ", name, type);
    return head + value + "\n";
}

}  // namespace

TEST_F(TinycfgTest, OldTextFormIsConvertedOnce) {
    const std::string old = "# toolkit settings\n" + OldLine("default_videomode", 'i', "5") +
                            OldLine("fullscreen", 'b', "no") + OldLine("sound", 'b', "yes") +
                            OldLine("gain", 'd', "0.250000") + OldLine("title", 's', "\"say \"hi\" now\"") +
                            "\n" + OldLine("key", 'h', "\"0aFF10\"");
    WriteTextFile(rc, old);
    {
        Config c(rc.c_str(), true);
        int mode = 0;
        EXPECT_TRUE(c.GetInt("default_videomode", &mode));
        EXPECT_EQ(mode, 5);
        bool b = true;
        EXPECT_TRUE(c.GetBool("fullscreen", &b));
        EXPECT_FALSE(b);  // "no" is false in the old form
        EXPECT_TRUE(c.GetBool("sound", &b));
        EXPECT_TRUE(b);
        double g = 0;
        EXPECT_TRUE(c.GetDouble("gain", &g));
        EXPECT_EQ(g, 0.25);
        char t[32];
        EXPECT_TRUE(c.GetString("title", t, sizeof t));
        EXPECT_STREQ(t, "say \"hi\" now");
        unsigned char k[3] = {};
        EXPECT_TRUE(c.GetHex("key", k, 3));
        EXPECT_EQ(k[0], 0x0a);
        EXPECT_EQ(k[1], 0xff);
        EXPECT_EQ(k[2], 0x10);
    }
    // The items, comments included, kept beside in the old layout.
    const std::string orig = "# toolkit settings\n" + OldLine("default_videomode", 'i', "5") +
                             OldLine("fullscreen", 'b', "no") + OldLine("sound", 'b', "yes") +
                             OldLine("gain", 'd', "0.250000") + OldLine("title", 's', "\"say \"hi\" now\"") +
                             "\n" + OldLine("key", 'h', "\"0aff10\"");
    EXPECT_EQ(FileText(dir / "dashview.rc.orig"), orig);
    std::string xml = FileText(rc);
    EXPECT_EQ(xml.rfind("<?xml", 0), 0u);
    EXPECT_NE(xml.find("<int name=\"default_videomode\" val=\"5\" />"), std::string::npos);

    fs::remove(dir / "dashview.rc.orig");
    { Config again(rc.c_str(), true); }
    EXPECT_FALSE(fs::exists(dir / "dashview.rc.orig"));  // XML is left alone
}

TEST_F(TinycfgTest, DamagedOldTextIsNeitherConvertedNorChanged) {
    std::string tooMany;
    for (int i = 0; i < 513; ++i) tooMany += OldLine(("k" + std::to_string(i)).c_str(), 'i', "1");
    const std::string damaged[] = {
        OldLine("title", 's', "\"cut sho"),
        OldLine("key", 'h', "\"0a1\""),
        OldLine("mode", 'i', "5x"),
        OldLine("mode", 'q', "5"),
        OldLine("text", 's', "\"" + std::string(128, 'a') + "\""),
        OldLine("key", 'h', "\"" + std::string(258, 'a') + "\""),
        "mode i 5\n",
        "# " + std::string(400, 'c') + "\n",
        OldLine("mode", 'i', "5").substr(0, 36),  // last line without its end
        tooMany,
    };
    for (const std::string& text : damaged) {
        WriteTextFile(rc, text);
        testing::internal::CaptureStderr();
        { Config c(rc.c_str(), true); }
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find("in the old text form is damaged"), std::string::npos) << text;
        EXPECT_EQ(FileText(rc), text);
        EXPECT_EQ(FileCount(), 1);
    }
    // A backup that cannot be written stops the conversion.
    WriteTextFile(rc, OldLine("mode", 'i', "5"));
    fs::create_directory(dir / "dashview.rc.orig");
    testing::internal::CaptureStderr();
    { Config c(rc.c_str(), true); }
    EXPECT_NE(testing::internal::GetCapturedStderr().find("OldConfig::Sync() : "), std::string::npos);
    EXPECT_EQ(FileText(rc), OldLine("mode", 'i', "5"));
}

TEST(OldConfigText, ReaderEdges) {
    OldConfig old(false);
    EXPECT_EQ(old.Parse("<?xml version=\"1.0\"?>\n<tinycfg/>", 31), TINYCFG_ERR_XML);
    EXPECT_EQ(old.Parse("\xEF\xBB\xBF<?xml", 8), TINYCFG_ERR_XML);
    EXPECT_EQ(old.Parse("", 0), TINYCFG_OK);
    EXPECT_EQ(old.ItemCount(), 0);
    std::string crlf = OldLine("mode", 'b', "no");
    crlf.insert(crlf.size() - 1, "\r");
    ASSERT_EQ(old.Parse(crlf.data(), crlf.size()), TINYCFG_OK);
    bool b = true;
    EXPECT_TRUE(old.GetBool("mode", &b, nullptr));
    EXPECT_FALSE(b);
    std::string max;
    for (int i = 0; i < OldConfig::MaxItems; ++i) max += "#\n";
    EXPECT_EQ(old.Parse(max.data(), max.size()), TINYCFG_OK);
    EXPECT_EQ(old.ItemCount(), OldConfig::MaxItems);
}
