#include "launch/dll_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "launch/exec_pack.h"

namespace zorv {
namespace {

ExecRequest Request(const char* file = "C:\\Tools\\app.exe") {
    ExecRequest r{};
    std::strcpy(r.File, file);
    r.ShowCmd = 1;
    r.PriorityClass = 0x20;
    return r;
}

std::array<unsigned char, kLinkHeaderSize> LinkHeader(std::uint32_t show) {
    std::array<unsigned char, kLinkHeaderSize> h{};
    h[0] = 0x4C;
    const unsigned char clsid[16] = {0x01, 0x14, 0x02, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};
    std::memcpy(h.data() + 4, clsid, sizeof clsid);
    for (int i = 0; i < 4; ++i) h[0x3C + i] = static_cast<unsigned char>(show >> (8 * i));
    return h;
}

TEST(DllRules, CheckRequest_AcceptsEveryValidValue_RefusesOthersAsInvalidParameter) {
    // The end to end suite refuses a missing or empty file, show 12, priority
    // 0x1234 and an unterminated file name through the library itself.
    ExecRequest r = Request();
    r.ShowCmd = 11, r.PriorityClass = 0x8000, r.UserType = 2;
    r.ShellStart = 1;
    // A text may fill its field up to the last byte, which holds the NUL.
    std::memset(r.Params, 'x', kExecTextBytes - 1);
    EXPECT_EQ(CheckRequest(r), 0u);

    using Spoil = void (*)(ExecRequest&);
    const Spoil invalid[] = {
        [](ExecRequest& r) { std::memset(r.Params, 'a', kExecTextBytes); },
        [](ExecRequest& r) { std::memset(r.WorkDir, 'a', kExecTextBytes); },
        [](ExecRequest& r) { r.ShowCmd = -1; },
        [](ExecRequest& r) { r.PriorityClass = -1; },
        [](ExecRequest& r) { r.UserType = 3; },
        [](ExecRequest& r) { r.UserType = -1; },
        [](ExecRequest& r) { r.ShellStart = 2; },
        // An unusable field outranks the missing file: the request is malformed.
        [](ExecRequest& r) { r.File[0] = '\0', r.ShowCmd = 99; },
    };
    for (Spoil spoil : invalid) {
        r = Request();
        spoil(r);
        EXPECT_EQ(CheckRequest(r), 87u) << &spoil - invalid;
    }
}

TEST(DllRules, PlanStart_PicksMechanismByUserTypeElevationAndVersion) {
    const struct {
        std::int32_t user, shell, elevation, version;
        Mechanism how;
        bool resolve;
    } cases[] = {
        // A user type 0 start (process or shell) is judged end to end.
        {1, 1, 3, 0x600, Mechanism::ShellRunAs, true},
        {1, 0, 3, 0x600, Mechanism::ShellRunAs, false},
        {1, 1, 3, 0xA00, Mechanism::ShellRunAs, true},
        {1, 1, 1, 0x601, Mechanism::ShellRunAsUser, true},
        {1, 1, 2, 0xA00, Mechanism::ShellRunAsUser, true},
        {1, 1, 1, 0x600, Mechanism::ShellRunAs, true},  // Vista without split token
        {1, 1, 1, 0x501, Mechanism::ShellRunAs, true},  // XP's Run As dialog
        {2, 1, 2, 0x601, Mechanism::RestrictedToken, true},
        {2, 0, 2, 0x601, Mechanism::RestrictedToken, false},
    };
    for (const auto& c : cases) {
        ExecRequest r = Request();
        r.UserType = c.user, r.ShellStart = c.shell;
        const StartPlan plan = PlanStart(r, c.elevation, c.version);
        EXPECT_EQ(std::pair(plan.how, plan.resolveAssociation), std::pair(c.how, c.resolve))
            << c.user << c.shell << c.elevation << std::hex << c.version;
    }
}

TEST(DllRules, LinkShowCommand_ReadsOnlyValidHeaders) {
    // Values the format does not allow count as normal; the value is little-endian.
    for (auto [show, want] : {std::pair{7u, 7}, {2u, 1}, {0x03000000u, 1}})
        EXPECT_EQ(LinkShowCommand(LinkHeader(show)), want) << show;

    auto h = LinkHeader(3);
    EXPECT_FALSE(LinkShowCommand(std::span(h).first(kLinkHeaderSize - 1))) << "short file";
    h[0] = 0x4D;
    EXPECT_FALSE(LinkShowCommand(h)) << "header size";
    h = LinkHeader(3);
    h[19] = 0x47;
    EXPECT_FALSE(LinkShowCommand(h)) << "class id";
    const auto seven = LinkHeader(7);
    std::vector<unsigned char> longer(seven.begin(), seven.end());
    longer.resize(300, 0xFF);
    EXPECT_EQ(LinkShowCommand(longer), 7) << "the rest of the file does not matter";
}

TEST(DllRules, ShortcutShowCommandWinsOnlyOverNormal_PathShapes) {
    for (auto [item, link, shown] : {std::tuple{1, 7, 7}, {3, 7, 3}, {0, 3, 0}}) {
        EXPECT_EQ(ShortcutShowCommand(item, link), shown) << item << " " << link;
    }
    EXPECT_EQ(ShortcutShowCommand(1, std::nullopt), 1);
    for (const char* full : {"C:\\a.txt", "z:/a", "\\\\server\\share\\a"}) {
        EXPECT_TRUE(IsFullPath(full)) << full;
    }
    for (const char* not_full :
         {"C:a.txt", "http://www.example.com", "www.example.com", "notepad", "1:\\x", "\\\\"}) {
        EXPECT_FALSE(IsFullPath(not_full)) << not_full;
    }
    EXPECT_TRUE(EndsWithNoCase("C:\\x\\App.LnK", ".lnk"));
    EXPECT_FALSE(EndsWithNoCase("lnk", ".lnk"));
}

TEST(DllRules, StartsInProgress_OneStartPerFile_IgnoringCaseAndSlashes) {
    StartsInProgress starts;
    EXPECT_TRUE(starts.TryBegin("C:\\Tools\\App.exe"));
    EXPECT_FALSE(starts.TryBegin("c:/tools/app.EXE"));
    EXPECT_TRUE(starts.Contains("C:\\TOOLS\\APP.EXE"));
    EXPECT_TRUE(starts.TryBegin("C:\\Tools\\Other.exe"));
    starts.End("c:\\tools\\app.exe");
    EXPECT_FALSE(starts.Contains("C:\\Tools\\App.exe"));
    EXPECT_TRUE(starts.TryBegin("C:\\Tools\\App.exe"));
    EXPECT_TRUE(starts.Contains("C:\\Tools\\Other.exe"));
    starts.End("C:\\never\\begun.exe");  // harmless
}

bool NoTexts(const ExecRequest& r) {
    const ExecRequest empty{};
    return std::memcmp(r.File, empty.File, sizeof r.File) == 0 &&
           std::memcmp(r.Params, empty.Params, sizeof r.Params) == 0 &&
           std::memcmp(r.WorkDir, empty.WorkDir, sizeof r.WorkDir) == 0;
}

TEST(PackExecRequest, RefusesTextsThatDoNotFitInsteadOfCuttingThem) {
    ExecFields f{std::string(259, 'f'), std::string(259, 'p'), std::string(259, 'w')};
    ExecRequest r;
    ASSERT_TRUE(PackExecRequest(f, r).Ok());
    EXPECT_EQ(std::strlen(r.File), 259u);
    f.Params = std::string(260, 'p');
    PackResult result = PackExecRequest(f, r);
    EXPECT_EQ(std::tuple(result.Failure, result.Field), std::tuple(PackFailure::TooLong, 1));
    EXPECT_TRUE(NoTexts(r));  // nothing cut in; the numbers stay for the Unicode form
    EXPECT_EQ(r.PriorityClass, 0x20);
    f.Params = "ok";
    f.WorkDir = std::nullopt;  // the code page has no such character
    result = PackExecRequest(f, r);
    EXPECT_EQ(std::tuple(result.Failure, result.Field), std::tuple(PackFailure::NotInCodePage, 2));
    f.WorkDir = "";
    f.File = std::string("a\0b", 3);
    EXPECT_EQ(PackExecRequest(f, r).Failure, PackFailure::NotInCodePage);
    EXPECT_TRUE(NoTexts(r));
}

}  // namespace
}  // namespace zorv
