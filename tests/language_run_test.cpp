// The setup's Language page in a headless dashview: German, saved with "Save and Exit",
// shows its own menu and soft-key captions after a restart, and only through its catalogue;
// Czech keeps its own letters.
#include "language_run.h"

#include "displayitems.h"
#include "frame_text.h"
#include "page_assets.h"

using namespace language_run;

TEST_F(LanguageRun, GermanShowsItsOwnTextsAfterARestart) {
    const TFrame& english = English();
    ASSERT_TRUE(english.bitmap);

    const std::string german = WithLanguage(RowGerman);

    // Without its catalogue German draws the English texts: what differs is the translation.
    const std::string noCatalogue = NewFolder();
    ASSERT_EQ(system(("cp '" + german + "'/*.dat '" + noCatalogue + "/' && rm -rf '" + noCatalogue + "/locale/de'").c_str()), 0);
    const TFrame restarted = Run(german, MainMenu);
    const TFrame untranslated = Run(noCatalogue, MainMenu);
    ASSERT_TRUE(restarted.bitmap && untranslated.bitmap);
    EXPECT_NE(restarted.Menu(), english.Menu());
    EXPECT_NE(restarted.Captions(), english.Captions());
    EXPECT_EQ(untranslated.Menu(), english.Menu());
    EXPECT_EQ(untranslated.Captions(), english.Captions());

    // The German words themselves: the soft-key caption of "Screen" and the menu's first
    // item, "Brightness", in their fonts.
    LoadPageAssets();
    const int captionFont = DisplayItemFont(8, 1031);
    ASSERT_GE(captionFont, 0);
    EXPECT_GE(FindText(*restarted.bitmap, captionFont, "Anzeige").first, 0);
    EXPECT_EQ(FindText(*restarted.bitmap, captionFont, "Screen").first, -1);
    EXPECT_GE(FindText(*untranslated.bitmap, captionFont, "Screen").first, 0);
    EXPECT_GE(FindText(*restarted.bitmap, 6, "Helligk.").first, 0);
}

// Czech after a restart: the menus draw its letters of Windows-1250 (the háček and ring
// letters), each its own glyph and not the plain letter.
TEST_F(LanguageRun, CzechDrawsItsOwnLettersAfterARestart) {
    const std::string czech = WithLanguage(RowCzech);
    const TFrame menu = Run(czech, MainMenu);
    const TFrame setup = Run(czech, std::string(EnterSetup) + "1\nwait 500\n");
    ASSERT_TRUE(menu.bitmap && setup.bitmap);
    LoadPageAssets();
    const int font = LanguageTextFont(LanguageCzech);
    const struct {
        const TFrame& frame;
        const char* text;   // Windows-1250
        const char* plain;  // the same without its háček
    } probes[] = {
        {menu, "O p\xF8\xEDstroji", "O pr\xEDstroji"},  // "About"
        {setup, "Zm\xECna hesla", "Zmena hesla"},       // "Change Password"
    };
    for (const auto& p : probes) {
        EXPECT_GE(FindText(*p.frame.bitmap, font, p.text).first, 0) << p.plain;
        EXPECT_EQ(FindText(*p.frame.bitmap, font, p.plain).first, -1) << p.plain;
    }
}

// A German catalogue with damaged header words is never bound: with German stored the
// instrument starts, draws its pages in English, quits cleanly, every time, and says why.
TEST_F(LanguageRun, DamagedGermanCatalogueLeavesTheTextsInEnglish) {
    const TFrame& english = English();
    ASSERT_TRUE(english.bitmap);
    const std::string german = WithLanguage(RowGerman);
    const std::string mo = german + "/locale/de/LC_MESSAGES/skyvane1.mo";
    std::vector<uint8_t> bytes = FileBytes(mo);
    ASSERT_GT(bytes.size(), 28u);
    uint32_t noise = 61;
    for (size_t i = 8; i < 28; ++i) bytes[i] = uint8_t((noise = noise * 1103515245u + 12345u) >> 16);
    WriteByteFile(mo, bytes);
    const std::string line = "message catalogue ./locale/de/LC_MESSAGES/skyvane1.mo is not used";
    for (int start = 0; start < 3; ++start) {
        const TFrame frame = Run(german, MainMenu);
        ASSERT_TRUE(frame.bitmap) << start;
        EXPECT_EQ(frame.Menu(), english.Menu()) << start;
        EXPECT_EQ(frame.Captions(), english.Captions()) << start;
        const std::string out = FileText(german + "/output.txt");
        EXPECT_NE(out.find(line), std::string::npos) << out;
        EXPECT_EQ(out.find(line), out.rfind(line));
    }
}
