// Drag and drop with the bar: files dragged onto it (by this driver, through OLE as the shell
// would) become buttons where they land; a button dragged along the bar moves, with Ctrl a copy
// stays behind. Judged by the bar's width, its tooltips' order in the saved file, and the log.
#include <ole2.h>
#include <shlobj.h>

#include <cstring>
#include <thread>

#include "zorv_fixture.h"

namespace zorv::e2e {
namespace {

// A file list as the shell hands it over (CF_HDROP).
class FileListData final : public IDataObject {
  public:
    explicit FileListData(const std::vector<fs::path>& files) {
        std::wstring names;
        for (const fs::path& f : files) names += f.wstring() + L'\0';
        names += L'\0';
        bytes_.resize(sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
        DROPFILES header{};
        header.pFiles = sizeof(DROPFILES);
        header.fWide = TRUE;
        std::memcpy(bytes_.data(), &header, sizeof header);
        std::memcpy(bytes_.data() + sizeof header, names.data(), names.size() * sizeof(wchar_t));
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IDataObject) return *out = this, S_OK;
        return *out = nullptr, E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* f, STGMEDIUM* m) override {
        if (QueryGetData(f) != S_OK) return DV_E_FORMATETC;
        HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, bytes_.size());
        std::memcpy(GlobalLock(g), bytes_.data(), bytes_.size());
        GlobalUnlock(g);
        m->tymed = TYMED_HGLOBAL, m->hGlobal = g, m->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* f) override {
        return f->cfFormat == CF_HDROP && (f->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* o) override {
        return o->ptd = nullptr, DATA_S_SAMEFORMATETC;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD dir, IEnumFORMATETC** out) override {
        FORMATETC f{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        return dir == DATADIR_GET ? SHCreateStdEnumFmtEtc(1, &f, out) : E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }

  private:
    std::vector<char> bytes_;
};

class LeftButtonSource final : public IDropSource {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IDropSource) return *out = this, S_OK;
        return *out = nullptr, E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    // This driver has no window the mouse goes to: the thread's key state
    // never sees the button, the mouse itself does.
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD) override {
        if (escape) return DRAGDROP_S_CANCEL;
        return GetAsyncKeyState(VK_LBUTTON) < 0 ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

void Mouse(DWORD flags) {
    INPUT in{INPUT_MOUSE, {}};
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
}

// The descriptions of the [Button] sections of a saved file, in order.
std::vector<std::string> SavedButtons(const std::string& ini) {
    std::vector<std::string> names;
    for (size_t at = ini.find("[Button]\r\nDesc="); at != ini.npos;
         at = ini.find("[Button]\r\nDesc=", at + 1)) {
        const size_t from = at + 15;
        names.push_back(ini.substr(from, ini.find("\r\n", from) - from));
    }
    return names;
}

class DragAndDrop : public ZorvE2E {
  protected:
    HWND StartWithDrops(const std::vector<Button>& buttons) {
        HWND bar = StartBar(Ini(buttons, "AutoRed=0\r\nForcedLanguage=2\r\n"));
        // The bar takes drops a moment after it shows.
        if (bar && !WaitFor(Ms(5000), [&] { return Logged("RegisterDragDrop = 0") == 1; }))
            return nullptr;
        return bar;
    }
    // The buttons once the save after `saves` earlier ones is written.
    std::vector<std::string> SavedAfter(int saves) {
        MoveMouseAndStay(kAway.x, kAway.y);
        WaitFor(Ms(8000), [&] { return Logged("SaveIni(") > saves; });
        return SavedButtons(ReadWholeFile(Folder().IniFile()).value_or(""));
    }
    // Drags the button at cell `from` to client x `toX` of the bar and lets go there.
    void DragButton(HWND bar, int from, int toX, bool ctrl) {
        const RECT r = WindowRect(bar);
        MoveMouseAndStay(r.left + 22 * from + 6, r.top + 10);
        Mouse(MOUSEEVENTF_LEFTDOWN);
        MoveMouseAndStay(r.left + 22 * from + 14, r.top + 10);
        WaitFor(Ms(3000), [&] { return Logged("Drag starts") > drags_; });
        ++drags_;
        for (int step = 1; step <= 4; ++step)
            MoveMouseAndStay(r.left + 22 * from + 14 + (toX - 22 * from - 14) * step / 4, r.top + 10);
        std::optional<KeyHeld> control;
        if (ctrl) {
            control.emplace(VK_CONTROL, L"ctrl");
            WaitFor(Ms(3000), [] { return GetAsyncKeyState(VK_CONTROL) < 0; });
        }
        MoveMouseAndStay(r.left + toX, r.top + 11);
        Mouse(MOUSEEVENTF_LEFTUP);
        WaitFor(Ms(3000), [&] { return Logged("Form_OLECompleteDrag") >= drags_; });
    }
    int drags_ = 0;
};

TEST_F(DragAndDrop, TwoFilesDroppedBetweenButtons_BecomeButtonsThere_AndAreSaved) {
    const fs::path letter = Folder().Root() / L"letter.txt", tool = Folder().Root() / L"Tool.exe";
    WriteWholeFile(letter, "Dear bar,\r\n");
    fs::copy_file(ExeFolder() / L"zorv_probe.exe", tool);
    HWND bar = StartWithDrops({Button("One", "notepad.exe"), Button("Two", "notepad.exe")});
    ASSERT_TRUE(bar) << LogTail();
    const int saves = (MoveMouseAndStay(kAway.x, kAway.y),
                       WaitFor(Ms(5000), [&] { return Logged("SaveIni(") == 1; }), Logged("SaveIni("));
    const LONG width = WindowRect(bar).right - WindowRect(bar).left;

    ASSERT_EQ(OleInitialize(nullptr), S_OK);
    FileListData files({letter, tool});
    LeftButtonSource source;
    // The drag starts on the desktop and ends in the right half of button "One".
    const RECT r = WindowRect(bar);
    MoveMouseAndStay(kAway.x, kAway.y);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    std::thread hand([&] {
        Sleep(300);
        for (int step = 1; step <= 6; ++step)
            MoveMouseAndStay(kAway.x + (r.left + 17 - kAway.x) * step / 6,
                             kAway.y + (r.top + 10 - kAway.y) * step / 6);
        Sleep(200);
        Mouse(MOUSEEVENTF_LEFTUP);
    });
    DWORD effect = 0;
    const HRESULT hr = DoDragDrop(&files, &source, DROPEFFECT_COPY, &effect);
    hand.join();
    OleUninitialize();
    EXPECT_EQ(hr, DRAGDROP_S_DROP) << LogTail();
    EXPECT_EQ(effect, DWORD(DROPEFFECT_COPY));
    EXPECT_TRUE(WaitFor(Ms(5000), [&] {
        return WindowRect(bar).right - WindowRect(bar).left == width + 2 * 22;
    })) << LogTail();
    EXPECT_EQ(SavedAfter(saves), (std::vector<std::string>{"One", "letter.txt", "Tool", "Two"}));
}

TEST_F(DragAndDrop, AButtonDraggedAlongTheBarMoves_WithCtrlACopyStays) {
    HWND bar = StartWithDrops({Button("A", "notepad.exe", "**1"), Button("B", "notepad.exe", "**2"),
                               Button("C", "notepad.exe", "**3")});
    ASSERT_TRUE(bar) << LogTail();
    int saves = (MoveMouseAndStay(kAway.x, kAway.y),
                 WaitFor(Ms(5000), [&] { return Logged("SaveIni(") == 1; }), Logged("SaveIni("));
    // A into the right half of C: after it.
    DragButton(bar, 0, 22 * 2 + 17, false);
    EXPECT_EQ(Logged("Button_Move 0 3.0"), 1) << LogTail();
    EXPECT_EQ(SavedAfter(saves), (std::vector<std::string>{"B", "C", "A"}));
    saves = Logged("SaveIni(");
    // With Ctrl, C is copied before B.
    DragButton(bar, 1, 3, true);
    EXPECT_EQ(Logged("Button_Copy 1 0.0"), 1) << LogTail();
    EXPECT_EQ(SavedAfter(saves), (std::vector<std::string>{"C", "B", "C", "A"}));
}

}  // namespace
}  // namespace zorv::e2e
