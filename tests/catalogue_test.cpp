// The message catalogues: the compiler that writes them in the fonts' code pages, the
// language switch finding them without the named locale, and translated texts that
// stay inside the fixed boxes of the soft-key captions, the menu and the setup pages.
#include <gtest/gtest.h>
#include <iconv.h>
#include <libintl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "config_tempdir.h"
#include "configmanager.h"
#include "displayitems.h"
#include "fgfontmanager.h"
#include "menu/keyboard.h"
#include "menu/menu.h"
#include "page_assets.h"
#include "settingvars.h"
#include "setup/bugeditors.h"
#include "tool_missing.h"
#include "setup/infopages.h"
#include "checklist.h"
#include "menu/editors.h"
#include "window_probe.h"

namespace {
// The message ids handed to gettext while a test watches them.
std::set<std::string>* SeenMessages = nullptr;
}  // namespace

// The program's gettext, watched: the library's answer, the message id noted.
char* gettext(const char* msgid) noexcept {
    if (SeenMessages && msgid) SeenMessages->insert(msgid);
    return dcgettext(nullptr, msgid, LC_MESSAGES);
}

namespace {

const std::string MoWriter = std::string(RUN_DIR) + "/../po/mo_writer";
const char* const TestDomain = "catalogue_test";

const char* const Header =
    "msgid \"\"\nmsgstr \"\"\n\"Content-Type: text/plain; charset=UTF-8\\n\"\n\"Language: xx\\n\"\n\n";

// The current directory for a scope: the catalogues are found relative to it.
class TInDirectory {
public:
    explicit TInDirectory(const std::string& dir) {
        if (!getcwd(old_, sizeof old_)) old_[0] = 0;
        ok_ = chdir(dir.c_str()) == 0;
    }
    ~TInDirectory() {
        if (old_[0] && chdir(old_) != 0) std::abort();
    }
    bool ok() const { return ok_; }

private:
    char old_[PATH_MAX];
    bool ok_ = false;
};

class CatalogueTest : public ::testing::Test {
protected:
    void TearDown() override { SetLanguage(1033); }

    // Compiles the catalogue text (after the header) for the language directory ll;
    // mo_writer's exit code.
    int Compile(const std::string& body, const char* ll, const char* codePage) {
        const std::string po = dir.Path() + "/in.po";
        std::ofstream(po) << Header << body;
        const std::string out = dir.Path() + "/" + ll + "/LC_MESSAGES";
        const std::string cmd = "mkdir -p '" + out + "' && '" + MoWriter + "' '" + po + "' '" + out + "/" +
                                TestDomain + ".mo' " + codePage + " 2>/dev/null";
        const int rc = system(cmd.c_str());
        return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    }
    // The text through the test catalogue of the language switched to.
    std::string Lookup(const char* msgid, const char* codePage) {
        bindtextdomain(TestDomain, dir.Path().c_str());
        bind_textdomain_codeset(TestDomain, codePage);
        return dgettext(TestDomain, msgid);
    }

    ConfigTempDir dir;
};

TEST_F(CatalogueTest, CompilerWritesIdsAndTranslationsInTheFontsCodePages) {
    if (access(MoWriter.c_str(), X_OK) != 0) TOOL_MISSING() << "mo_writer is not built";
    struct TCase {
        const char* entry;      // UTF-8 catalogue entry
        const char* msgid;      // Windows-1252, as the sources hold it
        const char* expected;   // what gettext answers
    };
    const TCase cases[] = {
        {"msgid \"Menu\xC2\xB7 Baro\"\nmsgstr \"Men\xC3\xBC\xC2\xB7 Baro\"\n", "Menu\xB7 Baro", "Men\xFC\xB7 Baro"},
        {"msgid \"30\xC2\xB0\"\nmsgstr \"30 Grad\"\n", "30\xB0", "30 Grad"},
        // Czech letters that the Latin fonts lack lose their accents.
        {"msgid \"Check\"\nmsgstr \"Kontrola \xC4\x8D\xC3\xAD\xC5\x99\"\n", "Check", "Kontrola c\xEDr"},
        {"#, fuzzy\nmsgid \"Fuzzy\"\nmsgstr \"Unsicher\"\n", "Fuzzy", "Fuzzy"},
        {"msgid \"Empty\"\nmsgstr \"\"\n", "Empty", "Empty"},
        {"msgid \"Two\"\nmsgstr \"\"\n\"Zwei \"\n\"Teile\\n\"\n", "Two", "Zwei Teile\n"},
        {"#, c-format\nmsgid \"%d of %s\"\nmsgstr \"%d von %s\"\n", "%d of %s", "%d von %s"},
    };
    std::string body;
    for (const TCase& c : cases) body += std::string(c.entry) + "\n";
    ASSERT_EQ(Compile(body, "de", "WINDOWS-1252"), 0);
    ASSERT_TRUE(SetLanguage(1031));
    for (const TCase& c : cases) EXPECT_EQ(Lookup(c.msgid, "WINDOWS-1252"), c.expected) << c.entry;
}

// Russian and Czech have code pages of their own, which keep every letter.
TEST_F(CatalogueTest, CompilerWritesRussianAndCzechInTheirCodePages) {
    if (access(MoWriter.c_str(), X_OK) != 0) TOOL_MISSING() << "mo_writer is not built";
    const struct {
        int language;
        const char* ll;
        const char* codePage;
        const char* utf8;
        const char* expected;
    } cases[] = {
        {1049, "ru", "WINDOWS-1251", "\xD0\x9C\xD0\xB5\xD0\xBD\xD1\x8E", "\xCC\xE5\xED\xFE"},
        {1029, "cs", "WINDOWS-1250", "Zm\xC4\x9Bna \xC4\x8D\xC5\x99\xC5\xAF\xC5\x88\xC5\xA5\xC4\x8F",
         "Zm\xECna \xE8\xF8\xF9\xF2\x9D\xEF"},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(Compile(std::string("msgid \"Menu\"\nmsgstr \"") + c.utf8 + "\"\n", c.ll, c.codePage), 0);
        ASSERT_TRUE(SetLanguage(c.language));
        EXPECT_EQ(Lookup("Menu", c.codePage), c.expected) << c.ll;
    }
}

TEST_F(CatalogueTest, CompilerRefusesWhatTheCodePageCannotShowAndDamagedFiles) {
    if (access(MoWriter.c_str(), X_OK) != 0) TOOL_MISSING() << "mo_writer is not built";
    // A CJK letter has no Latin transliteration.
    EXPECT_EQ(Compile("msgid \"Menu\"\nmsgstr \"\xE8\x8F\x9C\"\n", "de", "WINDOWS-1252"), 1);
    // A message id outside Windows-1252 can never match a source text.
    EXPECT_EQ(Compile("msgid \"\xD0\x9C\"\nmsgstr \"M\"\n", "de", "WINDOWS-1252"), 1);
    EXPECT_EQ(Compile("msgid \"Menu\nmsgstr \"M\"\n", "de", "WINDOWS-1252"), 1);
    EXPECT_EQ(Compile("garbage line\n", "de", "WINDOWS-1252"), 1);
    EXPECT_EQ(Compile("msgid \"A\"\nmsgstr \"B\"\n", "de", "NO-SUCH-CODE-PAGE"), 1);
}

// The built catalogues, as start-up binds them from the run folder.
TEST_F(CatalogueTest, LanguagesFindTheirCataloguesWithoutTheirLocales) {
    TInDirectory in(RUN_DIR);
    ASSERT_TRUE(in.ok());
    ASSERT_TRUE(SetLanguage(1031));
    EXPECT_STREQ(gettext("Brightness"), "Helligk.");
    EXPECT_STREQ(gettext("Menu\xB7 Baro"), "Men\xFC\xB7 Baro");
    EXPECT_STREQ(gettext("Save and Exit"), "Sichern+Ende");
    EXPECT_STREQ(gettext("Setting and calibration"), "Einstellung und Kalibrierung");  // a page title
    // Another language in between: the cached German answers must not come back for it.
    ASSERT_TRUE(SetLanguage(1036));
    EXPECT_STRNE(gettext("Brightness"), "Helligk.");
    ASSERT_TRUE(SetLanguage(1031));
    EXPECT_STREQ(gettext("Brightness"), "Helligk.");
    ASSERT_TRUE(SetLanguage(1033));
    EXPECT_STREQ(gettext("Brightness"), "Brightness");
    EXPECT_STREQ(gettext("Menu\xB7 Baro"), "Menu\xB7 Baro");
    // Czech in its own code page: its letters stay.
    ASSERT_TRUE(SetLanguage(1029));
    EXPECT_STREQ(gettext("Change Password"), "Zm\xECna hesla");
    ASSERT_TRUE(SetLanguage(1049));
    EXPECT_EQ(LanguageFontSet, FontSetCyrillic);
    const char* ru = gettext("Brightness");
    if (std::strcmp(ru, "Brightness") != 0) {
        // Cyrillic letters of Windows-1251 (0xC0..0xFF), never UTF-8 lead bytes with '?'.
        EXPECT_GE(static_cast<unsigned char>(ru[0]), 0xC0u) << ru;
        EXPECT_EQ(std::strchr(ru, '?'), nullptr) << ru;
    }
}

// ---- fixed boxes ----

struct TLanguageCase {
    int id;
    const char* name;
};
const TLanguageCase AllLanguages[] = {{1033, "en"}, {1029, "cs"}, {1031, "de"}, {1036, "fr"}, {1040, "it"}, {1049, "ru"}};

class FixedBoxTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { LoadPageAssets(); }
    void TearDown() override {
        TInDirectory in(RUN_DIR);
        SetLanguage(1033);
        UnitsSetting = units;
        EngineGaugeConfig = gauges;
    }
    static int Width(int font, const char* text) { return FGFontManager::textwidth(font, text); }
    // Every setting from which a page picks a listed text takes the choice (past some
    // lists' ends).
    static void PickFromEveryList(int16_t choice) {
        TUnitsSetting& u = UnitsSetting;
        u.airspeed = u.altitude = u.temperature = u.fuel = u.baro = u.verticalSpeed = choice;
        u.enginePress = u.manifoldPress = u.distance = choice;
        TEngineGaugeConfig& g = EngineGaugeConfig;
        g.dimmerControl = g.canopyInput = g.gearUpInput = g.gearDownInput = choice;
    }
    static constexpr int16_t ListChoices = 5;

    const TUnitsSetting units = UnitsSetting;
    const TEngineGaugeConfig gauges = EngineGaugeConfig;
};

// The narrowest caption box a label is shown in: keys '0' and '1' have the narrow ones.
int CaptionBox(int labelId) {
    for (const TKeyLayout& row : KeyLayouts)
        if (row.label == labelId && (row.key == KeyCode('0') || row.key == KeyCode('1'))) return 84;
    return 100;
}

// Every translated soft-key caption fits its caption box in the caption font, or, where
// the English text itself is wider, is no wider than the English.
TEST_F(FixedBoxTest, SoftKeyCaptionsFitTheirBoxes) {
    TInDirectory in(RUN_DIR);
    ASSERT_TRUE(in.ok());
    for (const TLanguageCase& lang : AllLanguages) {
        ASSERT_TRUE(SetLanguage(lang.id));
        const int font = DisplayItemFont(8, lang.id);
        ASSERT_TRUE(FGFontManager::is_font(font));
        for (const TKeyLabel* row = KeyLabels; row->id != 255; ++row) {
            const std::string english(KeyLabelPool + row->offset, row->length);
            if (english.empty()) continue;
            const char* shown = gettext(english.c_str());
            if (lang.id != 1033 && shown == english.c_str()) continue;  // not translated yet
            const int limit = std::max(CaptionBox(row->id), Width(DisplayItemFont(8, 1033), english.c_str()));
            EXPECT_LE(Width(font, shown), limit) << lang.name << ": \"" << english << "\" -> \"" << shown << "\"";
        }
    }
}

// The menu box grows by 8 px a character, or to the widest text where the font is wider:
// no translated item may be wider than its box.
TEST_F(FixedBoxTest, MenuItemsFitTheMenuBox) {
    TInDirectory in(RUN_DIR);
    ASSERT_TRUE(in.ok());
    for (const TLanguageCase& lang : AllLanguages) {
        ASSERT_TRUE(SetLanguage(lang.id));
        for (int i = 0; i < MenuTextCount; ++i) {
            const char* english = MenuTextPool + MenuTexts[i].offset;
            if (!*english) continue;
            const char* shown = gettext(english);
            const int font = LanguageFontSet == FontSetCyrillic ? DisplayFonts[FontMsRefSans16] : 6;
            const int grown = std::max(8 * static_cast<int>(std::strlen(shown)), Width(font, shown) + 5);
            const int box = std::max(170, grown + 20) - 10;
            EXPECT_LE(Width(font, shown), box) << lang.name << ": \"" << english << "\" -> \"" << shown << "\"";
        }
    }
}

struct TBuilder {
    const char* name;
    void (*build)(TInfoPage*);
};
const TBuilder PageBuilders[] = {
    {"units flight", [](TInfoPage* p) { BuildUnitsPage(p, 0); }},
    {"units engine", [](TInfoPage* p) { BuildUnitsPage(p, 1); }},
    {"devices flight", [](TInfoPage* p) { BuildDevicesPage(p, 0); }},
    {"devices engine", [](TInfoPage* p) { BuildDevicesPage(p, 1); }},
    {"memory fields", BuildMemoryFieldsPage},
    {"data sharing", BuildDataSharingPage},
    {"servo setup", BuildServoSetupPage},
    {"servo deflection", BuildServoDeflectionPage},
    {"roll axis", BuildRollAxisPage},
    {"pitch axis", BuildPitchAxisPage},
    {"range and limits", BuildRangeLimitsPage},
    {"sensors", BuildSensorsPage},
    {"air temperature sensors", BuildAirTempSensorsPage},
    {"thermocouples", BuildThermocouplePage},
    {"aircraft full", [](TInfoPage* p) { BuildAircraftPage(p, 0); }},
    {"aircraft short", [](TInfoPage* p) { BuildAircraftPage(p, 1); }},
    {"fuel press calibration", BuildFuelPressCalibBox},
};

// Every text of every setup information page stays inside the page box.
TEST_F(FixedBoxTest, SetupPagesKeepTheirTextsInsideTheBox) {
    TInDirectory in(RUN_DIR);
    ASSERT_TRUE(in.ok());
    static TInfoPage page;
    int checked = 0;
    for (const TLanguageCase& lang : AllLanguages) {
        ASSERT_TRUE(SetLanguage(lang.id));
        for (int16_t choice = 0; choice < ListChoices; ++choice) {
            PickFromEveryList(choice);
            for (const TBuilder& b : PageBuilders) {
                page = TInfoPage{};
                b.build(&page);
                if (page.w == 0) continue;
                for (int i = 0; i < page.textCount; ++i) {
                    const TPageText& t = page.texts[i];
                    const int w = Width(OverlayRoleFont(t.font), t.text);
                    const int left = PageTextLeft(page, t);
                    ++checked;
                    EXPECT_GE(left, page.x) << lang.name << " " << b.name << ": \"" << t.text << "\"";
                    EXPECT_LE(left + w, page.x + page.w) << lang.name << " " << b.name << ": \"" << t.text << "\"";
                }
            }
        }
    }
    EXPECT_GT(checked, 6 * 100);  // the pages were built, not skipped
}

// On every row of a setup page each text ends before the next one begins: a label never
// runs into its value.
TEST_F(FixedBoxTest, SetupPageLabelsEndBeforeTheirValues) {
    TInDirectory in(RUN_DIR);
    ASSERT_TRUE(in.ok());
    static TInfoPage page;
    const int screen = ScreenType;
    int pairs = 0;
    for (const TLanguageCase& lang : AllLanguages) {
        ASSERT_TRUE(SetLanguage(lang.id));
        for (int16_t choice = 0; choice < 2 * ListChoices; ++choice) {
            PickFromEveryList(choice / 2);
            ScreenType = choice % 2 ? ScreenEngine : ScreenFlight;
            for (const TBuilder& b : PageBuilders) {
                page = TInfoPage{};
                b.build(&page);
                std::vector<std::pair<int, const TPageText*>> rows[480];  // per y: (left end, text)
                for (int i = 0; i < page.textCount; ++i) {
                    const TPageText& t = page.texts[i];
                    if (t.text[0] && t.y >= 0 && t.y < 480) rows[t.y].push_back({PageTextLeft(page, t), &t});
                }
                for (auto& row : rows) {
                    std::sort(row.begin(), row.end());
                    for (size_t k = 1; k < row.size(); ++k, ++pairs) {
                        const TPageText& a = *row[k - 1].second;
                        EXPECT_LT(row[k - 1].first + Width(OverlayRoleFont(a.font), a.text), row[k].first)
                            << lang.name << " " << b.name << ": \"" << a.text << "\" runs into \"" << row[k].second->text
                            << "\"";
                    }
                }
            }
        }
    }
    ScreenType = screen;
    EXPECT_GT(pairs, 6 * 100);
}

// The message ids of the template the build extracted, in Windows-1252 as the sources hold them.
std::vector<std::string> TemplateMessages() {
    std::vector<std::string> ids;
    std::ifstream in(std::string(RUN_DIR) + "/../po/dashview.pot");
    std::string line, id;
    bool inId = false;
    auto flush = [&]() {
        if (!id.empty()) ids.push_back(id);
        id.clear();
    };
    while (std::getline(in, line)) {
        const size_t q = line.find('"');
        if (line.rfind("msgid ", 0) == 0) {
            flush();
            inId = true;
        } else if (line.rfind("msgstr", 0) == 0 || line.rfind("msgid_plural", 0) == 0) {
            inId = false;
            continue;
        } else if (line.empty() || line[0] != '"') {
            continue;
        }
        if (!inId || q == std::string::npos) continue;
        for (size_t i = q + 1; i + 1 < line.size(); ++i) {
            if (line[i] == '\\' && i + 2 < line.size()) {
                const char c = line[++i];
                id += c == 'n' ? '\n' : c == 't' ? '\t' : c;
            } else {
                id += line[i];
            }
        }
    }
    flush();
    // UTF-8 to the code page of the sources.
    iconv_t cd = iconv_open("WINDOWS-1252", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return {};
    for (std::string& s : ids) {
        std::vector<char> src(s.begin(), s.end()), out(s.size() + 1);
        char* ip = src.data();
        char* op = out.data();
        size_t il = src.size(), ol = out.size();
        if (iconv(cd, &ip, &il, &op, &ol) != static_cast<size_t>(-1)) s.assign(out.data(), op);
    }
    iconv_close(cd);
    return ids;
}

// A message box is one line across the screen (780 px with its margins): no translation
// may need more room than the screen or its English text gives.
TEST_F(FixedBoxTest, MessagesFitTheMessageBoxLine) {
    const std::vector<std::string> ids = TemplateMessages();
    if (ids.empty()) GTEST_SKIP() << "no template";
    TInDirectory in(RUN_DIR);
    ASSERT_TRUE(in.ok());
    for (const TLanguageCase& lang : AllLanguages) {
        ASSERT_TRUE(SetLanguage(lang.id));
        const int font = OverlayRoleFont(11);
        for (const std::string& id : ids) {
            const char* shown = gettext(id.c_str());
            if (shown == id.c_str()) continue;
            const std::string line = "  " + std::string(shown) + "  ";
            const int limit = std::max(760, Width(DisplayItemFont(11, 1033), ("  " + id + "  ").c_str()));
            EXPECT_LE(Width(font, line.c_str()), limit) << lang.name << ": \"" << id << "\" -> \"" << shown << "\"";
        }
    }
}


// What the setup pages and the value editors hand to gettext, for every choice of the
// lists they pick from, is a message of the template: an unmarked literal would stay
// English in every language.
TEST_F(FixedBoxTest, TextsHandedToGettextAreMessagesOfTheTemplate) {
    const std::vector<std::string> ids = TemplateMessages();
    if (ids.empty()) GTEST_SKIP() << "no template";
    const int screen = ScreenType;
    std::set<std::string> seen;
    SeenMessages = &seen;
    static TInfoPage page;
    for (int16_t choice = 0; choice < ListChoices; ++choice) {
        PickFromEveryList(choice);
        for (int type : {ScreenEngine, ScreenFlight}) {
            ScreenType = type;
            for (const TBuilder& b : PageBuilders) b.build(&(page = TInfoPage{}));
        }
        ProbedWindow window(0);
        int32_t value[8] = {1};  // some editors read several values (the clock's three)
        for (int kind = 0; kind < ValueEditorCount; ++kind) {
            MarkValueEditor(kind, value, nullptr);
            DrawValueEditors(1);
            ClearValueEditorMarks();
        }
        for (int which = 1; which <= 5; ++which) {
            AirspeedLimitOpen(which);
            DrawValueEditors(1);
        }
        for (TEditorHandler offset : {PitchOffsetEditor, RollOffsetEditor}) {
            offset(0);
            DrawValueEditors(1);
        }
        ClearValueEditorMarks();
    }
    SeenMessages = nullptr;
    ScreenType = screen;
    EXPECT_GT(seen.size(), 100u);
    for (const std::string& id : seen)
        EXPECT_NE(std::find(ids.begin(), ids.end(), id), ids.end()) << "\"" << id << "\" is in no catalogue";
}

}  // namespace
