// frmList: the list editor, a modal window that edits one of the six item
// lists as a whole. OK keeps the changes (what depends on the list is
// rebuilt, the configuration saved a second later); Cancel, and closing the
// window, undo every change made since it opened.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "dialogs/dialog_host.h"
#include "dialogs/list_editor.h"
#include "items/app_state.h"

namespace zorv {

class frmList {
  public:
    // `lastFolder`: the folder the file dialogs opened last (kept for the run).
    frmList(AppState& state, DialogHost& host, std::int32_t list, std::string& lastFolder);
    frmList(const frmList&) = delete;
    frmList& operator=(const frmList&) = delete;

    // Shows the editor modally; true after OK.
    bool Show(HWND owner);

  private:
    static INT_PTR CALLBACK DialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ListProc(HWND list, UINT msg, WPARAM wParam, LPARAM lParam);
    void Init(HWND dlg);
    bool OnCommand(int id, int code);
    // The list box shows the model again, keeping the selection and scroll.
    void Refill();
    void ReadSelection();
    void UpdateEnabling();
    void Layout();
    void DrawArrow(const DRAWITEMSTRUCT& item);
    void ShowContextMenu(POINT at);
    bool OnListKey(WPARAM key);

    void AddItem();
    void EditItem();
    void Paste(const std::string& text);
    void ReadFromFile();
    void SaveToFile();
    bool Confirm();
    void Close(bool ok);
    std::optional<std::string> AskFile(bool save);
    // The setting that keeps this list kind's window size; null for lists 2 and 3.
    ListWinSize* KeptSize();
    ListWinSize CurrentSize() const;

    AppState& s_;
    DialogHost& host_;
    std::int32_t listIndex_;
    clsItems& list_;
    ListEditorModel model_;
    std::string& lastFolder_;
    HWND dlg_ = nullptr;
    HWND listBox_ = nullptr;
    WNDPROC listProc_ = nullptr;
    HWND tooltip_ = nullptr;
    std::int32_t buttonsAtOpen_ = 0;
    SIZE designSize_{};
    ListWinSize openedSize_;  // twips, as the settings hold it
};

// Opens the editor for list `list` (0 to 5).
bool ShowListEditor(HWND owner, AppState& state, DialogHost& host, std::int32_t list,
                    std::string& lastFolder);

}  // namespace zorv
