#include "launch/exec_pack.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace zorv {
namespace {

std::int32_t IntAt(const ExecRequest& r, std::size_t offset) {
    std::int32_t v = 0;
    std::memcpy(&v, reinterpret_cast<const unsigned char*>(&r) + offset, 4);
    return v;
}

bool AllZero(const ExecRequest& r) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&r);
    return std::all_of(bytes, bytes + sizeof r, [](unsigned char b) { return b == 0; });
}

TEST(PackExecRequest, FillsTheFieldsAtTheirOffsetsOverAZeroedRecord) {
    ExecRequest r;
    std::memset(&r, 0xAB, sizeof r);
    ASSERT_TRUE(
        PackExecRequest({"C:\\App\\a.exe", "-x \"y z\"", "C:\\App\\", 103, 4, 2, true}, r).Ok());
    const auto* bytes = reinterpret_cast<const char*>(&r);
    EXPECT_STREQ(bytes + 0, "C:\\App\\a.exe");
    EXPECT_STREQ(bytes + 260, "-x \"y z\"");
    EXPECT_STREQ(bytes + 520, "C:\\App\\");
    EXPECT_EQ(bytes[259] + bytes[779], 0);
    // ShowCmd (style less 100), reserved, high priority, error, result, user type, shell.
    std::vector<std::int32_t> ints;
    for (std::size_t offset = 780; offset < 808; offset += 4) ints.push_back(IntAt(r, offset));
    EXPECT_EQ(ints, (std::vector<std::int32_t>{3, 0, 0x80, 0, 0, 2, 1}));
}

TEST(PackExecRequest, RefusesTextsThatDoNotFitInsteadOfCuttingThem) {
    ExecFields f{std::string(259, 'f'), std::string(259, 'p'), std::string(259, 'w')};
    ExecRequest r;
    ASSERT_TRUE(PackExecRequest(f, r).Ok());
    EXPECT_EQ(std::strlen(r.File), 259u);
    f.Params = std::string(260, 'p');
    PackResult result = PackExecRequest(f, r);
    EXPECT_EQ(std::tuple(result.Failure, result.Field), std::tuple(PackFailure::TooLong, 1));
    EXPECT_TRUE(AllZero(r));
    f.Params = "ok";
    f.WorkDir = std::nullopt;  // the code page has no such character
    result = PackExecRequest(f, r);
    EXPECT_EQ(std::tuple(result.Failure, result.Field), std::tuple(PackFailure::NotInCodePage, 2));
    f.WorkDir = "";
    f.File = std::string("a\0b", 3);
    EXPECT_EQ(PackExecRequest(f, r).Failure, PackFailure::NotInCodePage);
    EXPECT_TRUE(AllZero(r));
}

}  // namespace
}  // namespace zorv
