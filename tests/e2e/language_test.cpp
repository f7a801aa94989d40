// Which language the program speaks: chosen by "ForcedLanguage=" or, when
// that is 0, by the user's language. A save that cannot write (a folder
// stands where ZorvPanel.ini belongs) shows a warning whose text gives the
// language away and leaves everything as it was; the log names the choice.
//
// Wine takes the user language from the locale of its first process, and
// children inherit it: the ctest entry of LanguageOnGermanSystem starts the
// whole run in the locale de_AT.UTF-8 (Austria, 0xC07).
#include <cstdio>

#include "zorv_fixture.h"

namespace zorv::e2e {
namespace {

bool GermanSystem() {
    return PRIMARYLANGID(GetUserDefaultLangID()) == LANG_GERMAN;
}

class Language : public ZorvE2E {
  protected:
    void FailingSaveSpeaks(int forcedLanguage, bool german) {
        SCOPED_TRACE("ForcedLanguage=" + std::to_string(forcedLanguage));
        Reset();
        const fs::path dir = Folder().Path();
        // At start a save happens only when the settings came from zorv.ini:
        // ZorvPanel.ini itself is then missing. A folder of that name is
        // "missing" as a file but blocks every way of putting a file there.
        const std::string old = "[Settings]\r\nForcedLanguage=" + std::to_string(forcedLanguage) +
                                "\r\nLogLevel=1\r\nWriteLogfile=1\r\n";
        WriteWholeFile(dir / L"zorv.ini", old);
        WriteWholeFile(dir / L"zorv.log", "");
        fs::create_directory(Folder().IniFile());
        WriteWholeFile(Folder().IniFile() / L"inside.txt", "kept");
        const std::vector<std::wstring> before = FolderEntries(dir);

        Process& p = Start();
        HWND box = WaitForMessageBox(p);
        ASSERT_TRUE(box) << "no message box" << LogTail();
        EXPECT_EQ(MessageBoxText(box),
                  german ? L"Fehler beim Speichern der Zorv.INI" : L"Error saving Zorv.INI");
        EXPECT_TRUE(ShowsIcon(box, IconColour::Amber)) << "not the exclamation icon";
        EXPECT_FALSE(ShowsIcon(box, IconColour::Red));
        char line[128];
        std::snprintf(line, sizeof line,
                      "ChooseLanguage: user language 0x%X, ForcedLanguage=%d -> %s",
                      GetUserDefaultLangID(), forcedLanguage, german ? "German" : "English");
        EXPECT_GT(Logged(line), 0) << LogTail();

        ASSERT_TRUE(PressOk(box));
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }, Ms(5000))) << "the box stays open";
        EXPECT_TRUE(WaitForShownBar(p, Ms(2000))) << "the bar is gone after the failed save";
        EXPECT_EQ(ReadWholeFile(dir / L"zorv.ini"), old);
        EXPECT_EQ(ReadWholeFile(Folder().IniFile() / L"inside.txt"), std::string("kept"));
        // Nothing new beside the program: no temporary file, no backup.
        EXPECT_EQ(FolderEntries(dir), before);
    }
};

TEST_F(Language, ForcedOrTheUsersLanguage_SpeaksInTheFailedSaveWarning) {
    FailingSaveSpeaks(1, true);
    FailingSaveSpeaks(2, false);
    if (!GermanSystem()) FailingSaveSpeaks(0, false);
}

using LanguageOnGermanSystem = Language;

TEST_F(LanguageOnGermanSystem, Automatic_SpeaksGerman_ForcedEnglish_English) {
    if (!GermanSystem()) {
        GTEST_SKIP() << "the user language is 0x" << std::hex << GetUserDefaultLangID()
                     << ", not German; run under ZORV_WINE_LOCALE=de_AT.UTF-8 (as ctest does)";
    }
    FailingSaveSpeaks(0, true);
    FailingSaveSpeaks(2, false);
}

}  // namespace
}  // namespace zorv::e2e
