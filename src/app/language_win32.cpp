#include "app/language_win32.h"

#include "app/app_state.h"
#include "app/language.h"
#include "app/log.h"
#include "support/text_win32.h"

namespace zorv {

namespace {
std::string g_helpFile;
}  // namespace

void ApplyLanguage() {
    const LANGID user = GetUserDefaultLangID();
    EnglishTexts = ChooseLanguage(Options.ForcedLanguage, user);
    const bool win9x = !App.WindowsVersion.NT;
    SetLanguageTexts(EnglishTexts, win9x, Lists);
    g_helpFile = HelpFileName(App.ProgramFolder, EnglishTexts);
    Log(1, "ChooseLanguage: user language 0x%X, ForcedLanguage=%i -> %s", user,
        Options.ForcedLanguage, EnglishTexts ? "English" : "German");
}

const std::string& HelpFile() {
    return g_helpFile;
}

int MsgBoxLang(std::string_view german, std::string_view english, UINT flags) {
    return MsgBox(EnglishTexts ? english : german, flags);
}

int MsgBoxText(Txt id, UINT flags) {
    return MsgBox(Text(id), flags);
}

}  // namespace zorv
