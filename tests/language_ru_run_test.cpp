// The setup's Language page in a headless dashview: Russian draws with the Cyrillic
// fonts after a restart; English chosen again draws exactly as a fresh English start.
#include "language_run.h"

using namespace language_run;

TEST_F(LanguageRun, RussianDrawsWithTheCyrillicFontsAndEnglishComesBackUnchanged) {
    const TFrame& english = English();
    const std::string russian = WithLanguage(RowRussian);
    const TFrame restarted = Run(russian, MainMenu);
    ASSERT_TRUE(english.bitmap && restarted.bitmap);
    // The captions change font even where a text is not translated.
    EXPECT_NE(restarted.Captions(), english.Captions());

    // Back to English from Russian: the very same pixels as never having left it.
    Run(russian, std::string(EnterSetup) + LanguagePage + Choose(RowEnglish) + SaveAndExit);
    const TFrame back = Run(russian, MainMenu);
    ASSERT_TRUE(back.bitmap);
    EXPECT_EQ(back.Menu(), english.Menu());
    EXPECT_EQ(back.Captions(), english.Captions());
}
