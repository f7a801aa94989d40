// The program's user texts, German and English side by side in one table, so
// that every dialog and message takes its words from here and no text is
// written twice. To add a text: add an id before `Count` and a row in
// texts.cpp at the same position (a compile-time check guards the order).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zorv {

enum class Txt : std::size_t {
    CommandLineNeeded,  // item dialog without command
    ExeFilter,          // file dialogs for program files (";*.cmd" dropped on Win9x)
    AddItem,            // item dialog caption when adding
    EditItem,           // item dialog caption when editing
    Menu,               // " Menu ", between parts of a menu caption
    For,                // " for", dialog captions
    Accept,             // hotkey conflict question
    Anyway,             // hotkey conflict question
    AlreadyUsedBy,      // hotkey conflict message
    UsedBy,             // start of UsedByText
    MainMenuHotkey,     // after UsedBy: the hotkey that opens the main menu
    ErrorSavingIni,
    ActiveIniNoImport,  // format: %1 = file name
    AllReplaced,        // import warning
    SaveFile,           // caption of the export file dialog
    IniFiles,           // filter name; the filter adds " (*.ini)|*.ini"
    InvalidValue,       // format: %1 = the rejected value, e.g. of "/ini="
    AccessRestricted,
    DriveNotFound,  // + drive ("D:") + DriveNotFoundFor + CR LF + command
    DriveNotFoundFor,
    ProgramNotFound,    // + CR LF + command
    AlreadyStarting,    // the starter is still starting the same program
    ErrorExecuting,     // + file + "'" + CR LF + error text
    NoLinkForType,      // error 31
    BadCpuType,         // error 216
    StartTextTooLong,   // a start-request text of 260 bytes or more; + CR LF + the text
    StartTextCodePage,  // a start-request text the ANSI code page cannot hold; + CR LF + the text
    HelpMissing,        // format: %1 = the help file
    InfoVersion,        // format: %1 = version; the first line of "Info"
    InfoBuilt,          // + build date
    InfoConfigFile,     // + path
    InfoLogFile,        // + path
    InfoLogOff,         // after the log file's path when it is not written
    InputBlocked,       // a paste or typed text into a window with higher rights
    NotPossible,        // a button with a menu dropped into another button's menu
    HiColorOnly,        // fading or a transparent line on a display of few colours
    Win2000Only,        // a transparent line before Windows 2000
    IconFilesDeleted,   // sprintf: deleted, number of icon files
    Count
};

// The language of this run: chosen once at start (before that, German), read
// by every message. Like the log, a program-wide fact rather than state of a
// subsystem.
inline bool EnglishTexts = false;

// Texts that take one argument mark its place with this.
inline constexpr std::string_view kTextArg = "%1";

// The text in the given language.
const std::string& TextIn(Txt id, bool english);
// The text in the language of this run (EnglishTexts).
const std::string& Text(Txt id);
// The text with its "%1" replaced by `arg`.
std::string TextArgIn(Txt id, std::string_view arg, bool english);
std::string TextArg(Txt id, std::string_view arg);

}  // namespace zorv
