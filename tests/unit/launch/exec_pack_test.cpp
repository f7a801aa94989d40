#include "launch/exec_pack.h"

#include <gtest/gtest.h>

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
    for (std::size_t i = 0; i < sizeof r; ++i) {
        if (bytes[i] != 0) return false;
    }
    return true;
}

ExecRequest Dirty() {
    ExecRequest r;
    std::memset(&r, 0xAB, sizeof r);
    return r;
}

TEST(PackExecRequest, FillsTheFieldsAtTheirOffsetsOverAZeroedRecord) {
    ExecFields f{"C:\\App\\a.exe", "-x \"y z\"", "C:\\App\\", 103, 4, 2, true};
    ExecRequest r = Dirty();
    ASSERT_TRUE(PackExecRequest(f, r).Ok());
    const auto* bytes = reinterpret_cast<const char*>(&r);
    EXPECT_STREQ(bytes + 0, "C:\\App\\a.exe");
    EXPECT_STREQ(bytes + 260, "-x \"y z\"");
    EXPECT_STREQ(bytes + 520, "C:\\App\\");
    EXPECT_EQ(bytes[259], 0);
    EXPECT_EQ(bytes[779], 0);
    EXPECT_EQ(IntAt(r, 780), 3);     // ShowCmd: Style less 100
    EXPECT_EQ(IntAt(r, 784), 0);     // reserved
    EXPECT_EQ(IntAt(r, 788), 0x80);  // high
    EXPECT_EQ(IntAt(r, 792), 0);     // ErrorCode
    EXPECT_EQ(IntAt(r, 796), 0);     // the starter's result
    EXPECT_EQ(IntAt(r, 800), 2);
    EXPECT_EQ(IntAt(r, 804), 1);
}

TEST(PackExecRequest, RefusesTextsThatDoNotFitInsteadOfCuttingThem) {
    ExecFields f{std::string(259, 'f'), std::string(259, 'p'), std::string(259, 'w')};
    ExecRequest r = Dirty();
    ASSERT_TRUE(PackExecRequest(f, r).Ok());
    EXPECT_EQ(std::strlen(r.File), 259u);
    EXPECT_EQ(r.File[259], 0);

    f.Params = std::string(260, 'p');
    PackResult result = PackExecRequest(f, r);
    EXPECT_EQ(result.Failure, PackFailure::TooLong);
    EXPECT_EQ(result.Field, 1);
    EXPECT_TRUE(AllZero(r));

    f.Params = "ok";
    f.WorkDir = std::nullopt;  // the code page has no such character
    result = PackExecRequest(f, r);
    EXPECT_EQ(result.Failure, PackFailure::NotInCodePage);
    EXPECT_EQ(result.Field, 2);

    f.WorkDir = "";
    f.File = std::string("a\0b", 3);
    EXPECT_EQ(PackExecRequest(f, r).Failure, PackFailure::NotInCodePage);
    EXPECT_TRUE(AllZero(r));
}

}  // namespace
}  // namespace zorv
