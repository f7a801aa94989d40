// The text table. Texts are UTF-8; the Win32 shell converts them for display.
#include "support/texts.h"

#include <array>

namespace zorv {

namespace {

struct TextRow {
    Txt id;
    std::string_view german;
    std::string_view english;
};

constexpr std::size_t kCount = static_cast<std::size_t>(Txt::Count);

// clang-format off
constexpr std::array<TextRow, kCount> kRows = {{
    {Txt::CommandLineNeeded, "Sie müssen eine Befehlszeile eingeben!",
                             "A commandline is needed!"},
    {Txt::ExeFilter,
     "Ausführbare Dateien|*.exe;*.com;*.pif;*.bat;*.cmd;*.lnk|Alle Dateien(*.*)|*.*",
     "Executable Files|*.exe;*.com;*.pif;*.bat;*.cmd;*.lnk|All Files(*.*)|*.*"},
    {Txt::AddItem, "Hinzufügen", "Add Item"},
    {Txt::EditItem, "Bearbeiten", "Edit Item"},
    {Txt::Menu, " Menü ", " Menu "},
    {Txt::For, " für", " for"},
    {Txt::Accept, " übernehmen", " accept"},
    {Txt::Anyway, " trotzdem", " anyway"},
    {Txt::AlreadyUsedBy, " wird bereits benutzt von ", " is already used by "},
    {Txt::UsedBy, "Belegt mit ", "Used by "},
    {Txt::MainMenuHotkey, "dem Haupt-Menü", "the main menu"},
    {Txt::ErrorSavingIni, "Fehler beim Speichern der Zorv.INI", "Error saving Zorv.INI"},
    {Txt::ActiveIniNoImport, "%1 ist die aktive INI und kann nicht importiert werden",
                             "%1 is the active INI and cannot be imported"},
    {Txt::AllReplaced, "Alle vorhandenen Einstellungen und Einträge werden ersetzt!",
                       "All existing options and items will be replaced!"},
    {Txt::SaveFile, "Datei speichern", "Save File"},
    {Txt::IniFiles, "INI-Dateien", "INI Files"},
    {Txt::InvalidValue, "'%1' ist ungültig", "'%1' is invalid"},
    // "geprerrt" is the program's established wording; keep it.
    {Txt::AccessRestricted, "Der Zugriff auf diese Funktion ist geprerrt",
                            "The access to this function is restricted"},
    {Txt::DriveNotFound, "Laufwerk ", "Drive "},
    {Txt::DriveNotFoundFor, " nicht gefunden zum starten von ", " not found for executing "},
    {Txt::ProgramNotFound, "Programm nicht gefunden:", "Program not found:"},
    {Txt::AlreadyStarting, "Wird schon gestartet...", "Already starting..."},
    {Txt::ErrorExecuting, "Fehler beim Ausführen von '", "Error executing '"},
    {Txt::NoLinkForType, "Keine Verknüpfung für diesen Dateityp",
                         "No link for this type of file"},
    // "ist Datei" is the program's established wording; keep it.
    {Txt::BadCpuType, "Ausführbare ist Datei ungültig für diese CPU",
                      "Executable not valid for this CPU type"},
    {Txt::StartTextTooLong,
     "Nicht gestartet: der Text ist zu lang (höchstens 259 Bytes in der Codepage des Systems):",
     "Not started: the text is too long (at most 259 bytes in the system code page):"},
    {Txt::StartTextCodePage,
     "Nicht gestartet: der Text enthält Zeichen, die die Codepage des Systems nicht darstellen kann:",
     "Not started: the text holds characters the system code page cannot represent:"},
    {Txt::HelpMissing, "Die Hilfe wurde nicht gefunden:\r\n%1", "The help was not found:\r\n%1"},
    {Txt::InfoVersion, "ZorvPanel, Version %1", "ZorvPanel, version %1"},
    {Txt::InfoBuilt, "Erstellt: ", "Built: "},
    {Txt::InfoConfigFile, "Konfigurationsdatei: ", "Configuration file: "},
    {Txt::InfoLogFile, "Protokolldatei: ", "Log file: "},
    {Txt::InfoLogOff, " (wird nicht geschrieben)", " (not written)"},
    {Txt::InputBlocked,
     "Das Programm im Vordergrund läuft mit höheren Rechten; Windows lässt keinen Text von "
     "ZorvPanel zu ihm durch.",
     "The program in front runs with higher rights; Windows lets no text from ZorvPanel "
     "reach it."},
    {Txt::NotPossible, "nicht möglich", "not possible"},
    {Txt::HiColorOnly, "Funktioniert nur in Hi- und Truecolormodi!",
                       "Only works in Hi- and Truecolor modes!"},
    {Txt::Win2000Only, "Funktioniert ab Windows 2000", "Works only with Windows 2000, XP and higher"},
    {Txt::IconFilesDeleted, "%u von %u Icon-Dateien gelöscht", "%u of %u icon files deleted"},
}};
// clang-format on

constexpr bool RowsInIdOrder() {
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        if (static_cast<std::size_t>(kRows[i].id) != i) return false;
    }
    return true;
}
static_assert(RowsInIdOrder(), "a row of the text table is missing or out of place");

// Callers keep references for the whole run, so the strings live in one
// table built on first use.
const std::array<std::array<std::string, 2>, kCount>& Strings() {
    static const auto strings = [] {
        std::array<std::array<std::string, 2>, kCount> s;
        for (std::size_t i = 0; i < kCount; ++i) {
            s[i] = {std::string(kRows[i].german), std::string(kRows[i].english)};
        }
        return s;
    }();
    return strings;
}

}  // namespace

const std::string& TextIn(Txt id, bool english) {
    return Strings()[static_cast<std::size_t>(id)][english ? 1 : 0];
}

const std::string& Text(Txt id) {
    return TextIn(id, EnglishTexts);
}

std::string TextArgIn(Txt id, std::string_view arg, bool english) {
    std::string text = TextIn(id, english);
    std::size_t at = text.find(kTextArg);
    if (at != std::string::npos) text.replace(at, kTextArg.size(), arg);
    return text;
}

std::string TextArg(Txt id, std::string_view arg) {
    return TextArgIn(id, arg, EnglishTexts);
}

}  // namespace zorv
