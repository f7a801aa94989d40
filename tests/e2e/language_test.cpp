// Which language the program speaks: chosen by "ForcedLanguage=" or, when
// that is 0, by the user's language. A failing save shows a message box whose
// text gives the language away; the log names the choice and its inputs.
//
// Wine takes the user language from the locale of its first process, and
// children inherit it: the ctest entry of LanguageOnGermanSystem starts the
// whole run in the locale de_AT.UTF-8 (Austria, 0xC07).
#include <cstdio>

#include "zorv_fixture.h"

namespace zorv::e2e {
namespace {

constexpr wchar_t kEnglishError[] = L"Error saving Zorv.INI";
constexpr wchar_t kGermanError[] = L"Fehler beim Speichern der Zorv.INI";

bool IsGermanLanguage(LANGID id) {
    for (LANGID german : {0x407, 0x807, 0xC07, 0x1007, 0x1407}) {
        if (id == german) return true;
    }
    return false;
}

class Language : public ZorvE2E {
  protected:
    struct Seen {
        std::wstring boxText;
        std::string logLine;  // the "ChooseLanguage:" message
    };

    // Starts the program with `forcedLanguage` and a save that must fail (a
    // folder stands where ZorvPanel.ini belongs), answers its message box,
    // and reports the box's text and the log's account of the choice.
    Seen RunWithFailingSave(int forcedLanguage) {
        Seen seen;
        WriteWholeFile(Folder().Path() / L"zorv.ini",
                       "[Settings]\r\nForcedLanguage=" + std::to_string(forcedLanguage) +
                           "\r\nLogLevel=1\r\nWriteLogfile=1\r\n");
        fs::create_directory(Folder().IniFile());
        Process& p = Start(L"noau nostart");
        HWND box = WaitForMessageBox(p);
        if (!box) {
            ADD_FAILURE() << "no message box titled ZorvPanel";
            return seen;
        }
        seen.boxText = MessageBoxText(box);
        EXPECT_TRUE(PressOk(box));
        std::optional<std::string> log = ReadWholeFile(Folder().Path() / L"zorv.log");
        for (const std::string& line : log ? SplitCrLf(*log) : std::vector<std::string>{}) {
            std::optional<LogLine> parsed = ParseLogLine(line);
            if (parsed && parsed->message.rfind("ChooseLanguage:", 0) == 0) {
                seen.logLine = parsed->message;
            }
        }
        return seen;
    }

    static std::string ExpectedLogLine(int forcedLanguage, const char* language) {
        char line[128];
        std::snprintf(line, sizeof line,
                      "ChooseLanguage: user language 0x%X, ForcedLanguage=%d -> %s",
                      GetUserDefaultLangID(), forcedLanguage, language);
        return line;
    }
};

TEST_F(Language, ForcedGerman_SpeaksGerman) {
    const Seen seen = RunWithFailingSave(1);
    EXPECT_EQ(seen.boxText, kGermanError);
    EXPECT_EQ(seen.logLine, ExpectedLogLine(1, "German"));
}

TEST_F(Language, ForcedEnglish_SpeaksEnglish) {
    const Seen seen = RunWithFailingSave(2);
    EXPECT_EQ(seen.boxText, kEnglishError);
    EXPECT_EQ(seen.logLine, ExpectedLogLine(2, "English"));
}

TEST_F(Language, Automatic_OnEnglishSystem_SpeaksEnglish) {
    if (IsGermanLanguage(GetUserDefaultLangID())) GTEST_SKIP() << "the system is German";
    const Seen seen = RunWithFailingSave(0);
    EXPECT_EQ(seen.boxText, kEnglishError);
    EXPECT_EQ(seen.logLine, ExpectedLogLine(0, "English"));
}

class LanguageOnGermanSystem : public Language {
  protected:
    void SetUp() override {
        const LANGID user = GetUserDefaultLangID();
        if (!IsGermanLanguage(user)) {
            GTEST_SKIP() << "the user language is 0x" << std::hex << user
                         << ", not German; run under ZORV_WINE_LOCALE=de_AT.UTF-8 (as ctest does)";
        }
        Language::SetUp();
    }
};

TEST_F(LanguageOnGermanSystem, Automatic_SpeaksGerman) {
    const Seen seen = RunWithFailingSave(0);
    EXPECT_EQ(seen.boxText, kGermanError);
    EXPECT_EQ(seen.logLine, ExpectedLogLine(0, "German"));
}

TEST_F(LanguageOnGermanSystem, ForcedEnglish_SpeaksEnglish) {
    const Seen seen = RunWithFailingSave(2);
    EXPECT_EQ(seen.boxText, kEnglishError);
    EXPECT_EQ(seen.logLine, ExpectedLogLine(2, "English"));
}

}  // namespace
}  // namespace zorv::e2e
