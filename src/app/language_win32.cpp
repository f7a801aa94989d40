#include "app/language_win32.h"

#include "app/language.h"
#include "support/log.h"
#include "support/text_win32.h"

namespace zorv {

void ApplyLanguage(AppState& state) {
    const LANGID user = GetUserDefaultLangID();
    EnglishTexts = ChooseLanguage(state.Options.ForcedLanguage, user);
    SetListNames(state.Lists, EnglishTexts);
    state.HelpFile = HelpFileName(state.App.ProgramFolder, EnglishTexts);
    Log(1, "ChooseLanguage: user language 0x%X, ForcedLanguage=%i -> %s", user,
        state.Options.ForcedLanguage, EnglishTexts ? "English" : "German");
}

int MsgBoxLang(std::string_view german, std::string_view english, UINT flags) {
    return MsgBox(EnglishTexts ? english : german, flags);
}

int MsgBoxText(Txt id, UINT flags) {
    return MsgBox(Text(id), flags);
}

}  // namespace zorv
