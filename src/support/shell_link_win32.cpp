#include "support/shell_link_win32.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "support/late_bound_win32.h"
#include "support/text_win32.h"

namespace zorv {

namespace {

// Balances CoInitializeEx for the length of one call.
class ComScope {
  public:
    ComScope() {
        static const auto init =
            LateBound<decltype(&CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
        ok_ = init && SUCCEEDED(init(nullptr, COINIT_APARTMENTTHREADED));
    }
    ~ComScope() {
        static const auto uninit =
            LateBound<decltype(&CoUninitialize)>(L"ole32.dll", "CoUninitialize");
        if (ok_ && uninit) uninit();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

  private:
    bool ok_ = false;
};

IShellLinkW* NewShellLink() {
    static const auto create =
        LateBound<decltype(&CoCreateInstance)>(L"ole32.dll", "CoCreateInstance");
    IShellLinkW* link = nullptr;
    if (!create || FAILED(create(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&link)))) {
        return nullptr;
    }
    return link;
}

bool LoadShellLink(const std::wstring& path, ShortcutInfo& out) {
    IShellLinkW* link = NewShellLink();
    if (!link) return false;
    IPersistFile* persist = nullptr;
    bool ok = SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)));
    ok = ok && SUCCEEDED(persist->Load(path.c_str(), STGM_READ));
    if (ok) {
        wchar_t buffer[MAX_PATH * 2] = L"";
        link->GetPath(buffer, MAX_PATH * 2, nullptr, 0);
        out.Target = Narrow(buffer);
        buffer[0] = 0;
        link->GetWorkingDirectory(buffer, MAX_PATH * 2);
        out.WorkDir = Narrow(buffer);
        buffer[0] = 0;
        link->GetArguments(buffer, MAX_PATH * 2);
        out.Arguments = Narrow(buffer);
        buffer[0] = 0;
        int icon = 0;
        link->GetIconLocation(buffer, MAX_PATH * 2, &icon);
        out.IconPath = Narrow(buffer);
        out.IconIndex = icon;
        int show = SW_SHOWNORMAL;
        link->GetShowCmd(&show);
        out.ShowCmd = show;
    }
    if (persist) persist->Release();
    link->Release();
    return ok;
}

}  // namespace

bool ReadShellLink(const std::string& lnkPath, ShortcutInfo& out) {
    ComScope com;
    return LoadShellLink(Widen(lnkPath), out);
}

bool WriteShellLink(const std::string& lnkPath, const std::string& description,
                    const ShortcutInfo& link) {
    ComScope com;
    IShellLinkW* shellLink = NewShellLink();
    if (!shellLink) return false;
    shellLink->SetDescription(Widen(description).c_str());
    shellLink->SetPath(Widen(link.Target).c_str());
    shellLink->SetWorkingDirectory(Widen(link.WorkDir).c_str());
    shellLink->SetArguments(Widen(link.Arguments).c_str());
    shellLink->SetShowCmd(link.ShowCmd);
    IPersistFile* persist = nullptr;
    bool ok = SUCCEEDED(
        shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)));
    ok = ok && SUCCEEDED(persist->Save(Widen(lnkPath).c_str(), TRUE));
    if (persist) persist->Release();
    shellLink->Release();
    return ok;
}

}  // namespace zorv
