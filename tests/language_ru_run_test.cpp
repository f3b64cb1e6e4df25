// The setup's Language page in a headless dashview: Russian draws with the Cyrillic
// fonts after a restart; English chosen again draws exactly as a fresh English start.
#include <iconv.h>

#include "displayitems.h"
#include "fgfontmanager.h"
#include "frame_text.h"
#include "language_run.h"
#include "page_assets.h"

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

// The text in the fonts' Cyrillic code page.
std::string Cp1251(const char* utf8) {
    iconv_t cd = iconv_open("CP1251", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return "";
    std::string in(utf8), out(in.size(), '\0');
    char* src = &in[0];
    char* dst = &out[0];
    size_t left = in.size(), room = out.size();
    const bool ok = iconv(cd, &src, &left, &dst, &room) != static_cast<size_t>(-1);
    iconv_close(cd);
    out.resize(out.size() - room);
    return ok ? out : "";
}

// In setup, by keys: the file dialog of the import ('4', then '1'), and the servo detection
// wizard's wait popup ("Autopilot Setup" > "Servo Setup" > "Detection"). Their titles and
// lines stand in the Cyrillic fonts of the overlays, readable.
TEST_F(LanguageRun, OverlaysDrawRussianInTheCyrillicFonts) {
    const std::string russian = WithLanguage(RowRussian);
    const std::string fileDialog = "4\nwait 300\n1\nwait 600\n";
    const std::string servoSetup = "1\nwait 300\nw\nw\nw\nw\nw\nw\nw\nwait 200\n1\nwait 400\nw\n1\nwait 300\n";
    const std::string servoDetection = servoSetup + "w\nw\nw\nwait 200\n1\nwait 1500\n";
    struct TProbe {
        const std::string& keys;
        int fontCode;
        const char* text;
        int x0, x1, y;  // the row's span and top
    } probes[] = {
        {fileDialog, 11, "Выберите файл:", 150, 650, 40},  // centred on the dialog
        {fileDialog, 10, "Путь: c:", 170, 171, 60},        // at its left margin
        // The servo page's longest labels, whole: their values stand right of them.
        {servoSetup, 10, "Серво тангажа установлен:", 245, 246, 260},
        {servoSetup, 10, "Проскальз. серво тангажа:", 245, 246, 300},
        {servoDetection, 10, "Прибор начинает процесс. Подождите.", 254, 255, 232},  // the popup's body line
    };
    LoadPageAssets();
    std::string shown;
    TFrame frame;
    for (const TProbe& p : probes) {
        SCOPED_TRACE(p.text);
        if (p.keys != shown) frame = Run(russian, EnterSetup + (shown = p.keys));
        ASSERT_TRUE(frame.bitmap);
        const std::string text = Cp1251(p.text);
        ASSERT_FALSE(text.empty());
        const int font = DisplayItemFont(p.fontCode, LanguageRussian);
        const auto at = FindText(*frame.bitmap, font, text.c_str());
        ASSERT_GE(at.first, 0);
        EXPECT_GE(at.first, p.x0);
        EXPECT_LT(at.first, p.x1);
        if (p.x1 - p.x0 > 1) EXPECT_NEAR(at.first + FGFontManager::textwidth(font, text.c_str()) / 2, 400, 2);
        EXPECT_EQ(at.second, p.y);
    }
}
