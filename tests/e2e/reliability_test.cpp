// What must survive bad luck: a backup that cannot be written, a configuration
// file locked while the bar starts, the long values of the older settings
// store.
#include "zorv_fixture.h"

namespace zorv::e2e {
namespace {

using SafeSaving = ZorvE2E;

// Without a stored face colour the bar saves about a second after it shows.
const std::string kOneButton = Ini({Button("Editor", "notepad.exe")});

// Closes the bar as the user's Exit would and waits for the process to end.
bool CloseBar(const Process& p) {
    HWND bar = FindBarOf(p.Id());
    return bar && PostMessageW(bar, WM_CLOSE, 0, 0) && p.WaitExit(Ms(10000)).has_value();
}

TEST_F(SafeSaving, ABackupThatCannotBeWritten_DoesNotStopTheSave) {
    const fs::path dir = Folder().Path();
    fs::create_directory(dir / L"ZorvPanel-bak.ini");  // a folder where the backup goes
    Folder().WriteIni(kOneButton);
    Process& p = Start();
    std::string written;
    EXPECT_TRUE(WaitFor(Ms(10000), [&] {
        written = ReadWholeFile(Folder().IniFile()).value_or("");
        return written.find("LastColor3DFace=") != std::string::npos;
    })) << "not saved" << LogTail();
    EXPECT_NE(written.find("Desc=Editor"), std::string::npos) << written;
    EXPECT_FALSE(WaitForMessageBox(p, Ms(1000))) << "a message box for the backup";
    EXPECT_TRUE(fs::is_directory(dir / L"ZorvPanel-bak.ini"));
}

TEST_F(SafeSaving, AFileLockedAtStart_IsNeverWrittenOver) {
    Folder().WriteIni(kOneButton);
    // Another program holds the file while the bar reads it, and lets go
    // before the bar's first save.
    HANDLE lock = CreateFileW(Folder().IniFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    Process& p = Start();
    const bool shown = WaitForShownBar(p);
    CloseHandle(lock);
    ASSERT_TRUE(shown);
    // Whether the save comes from the timer or from closing, none may reach the file.
    ASSERT_TRUE(CloseBar(p));
    EXPECT_EQ(ReadWholeFile(Folder().IniFile()), kOneButton) << "written over";
    EXPECT_FALSE(fs::exists(Folder().Path() / L"ZorvPanel-bak.ini"));
}

// The older store: HKCU\Software\VB and VBA Program Settings\Zorv, removed after.
class OldStore {
  public:
    OldStore() { RegDeleteTreeW(HKEY_CURRENT_USER, kKey); }
    ~OldStore() { RegDeleteTreeW(HKEY_CURRENT_USER, kKey); }
    OldStore(const OldStore&) = delete;
    OldStore& operator=(const OldStore&) = delete;
    void Set(const std::wstring& section, const wchar_t* name, const std::wstring& value) {
        const std::wstring key = std::wstring(kKey) + L"\\" + section;
        RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name, REG_SZ, value.c_str(),
                        DWORD((value.size() + 1) * sizeof(wchar_t)));
    }

  private:
    static constexpr wchar_t kKey[] = L"Software\\VB and VBA Program Settings\\Zorv";
};

TEST_F(SafeSaving, FirstStart_TakesOverTheOlderStore_LongValuesIncluded) {
    OldStore store;
    const std::wstring longText(6000, L'x');
    store.Set(L"Bar", L"01", L"Editor| notepad.exe| | 0| | 1");
    store.Set(L"ClpMenu", L"01", L"Long| " + longText + L"//*CrLf*//end");
    store.Set(L"ClpMenu", L"02", L"Short| hello");
    Process& p = Start();
    ASSERT_TRUE(WaitForShownBar(p));
    std::string written;
    EXPECT_TRUE(WaitFor(Ms(10000), [&] {
        written = ReadWholeFile(Folder().IniFile()).value_or("");
        return written.find("[Settings]") != std::string::npos;
    })) << LogTail();
    EXPECT_NE(written.find("Desc=Editor\r\nPath=notepad.exe\r\n"), std::string::npos);
    EXPECT_NE(written.find("Desc=Long\r\nText=" + std::string(6000, 'x') + "\r\nText=end\r\n"),
              std::string::npos);
    EXPECT_NE(written.find("Desc=Short\r\nText=hello\r\n"), std::string::npos);
}

}  // namespace
}  // namespace zorv::e2e
