#include "bar/icon_source.h"

#include <gtest/gtest.h>

namespace zorv {
namespace {

using Names = std::vector<std::string>;

TEST(ProgramFileCandidates, QuotedName_IsTheOnlyCandidate_WithoutItsArguments) {
    EXPECT_EQ(ProgramFileCandidates("\"C:\\Program Files\\App\\app.exe\" -x \"y z\""),
              (Names{"C:\\Program Files\\App\\app.exe"}));
    // An unclosed quote runs to the end; blanks inside the quotes are trimmed.
    EXPECT_EQ(ProgramFileCandidates("\"C:\\My Tools\\t.exe"), (Names{"C:\\My Tools\\t.exe"}));
    EXPECT_EQ(ProgramFileCandidates("\" notepad.exe \" a"), (Names{"notepad.exe"}));
    EXPECT_EQ(ProgramFileCandidates("\"\" notepad.exe"), Names{});
}

TEST(ProgramFileCandidates, UnquotedPath_FirstWordFirst_ThenEveryLongerRunOfWords) {
    EXPECT_EQ(ProgramFileCandidates("  notepad.exe  "), (Names{"notepad.exe"}));
    EXPECT_EQ(ProgramFileCandidates("C:\\Program Files\\App\\app.exe -x"),
              (Names{"C:\\Program", "C:\\Program Files\\App\\app.exe",
                     "C:\\Program Files\\App\\app.exe -x"}));
    // A run of blanks and tabs ends one word once.
    EXPECT_EQ(ProgramFileCandidates("cmd \t /k  ver"),
              (Names{"cmd", "cmd \t /k", "cmd \t /k  ver"}));
    const Names many = ProgramFileCandidates("a b c d e f g h i j k l");
    ASSERT_EQ(many.size(), kMaxProgramFileCandidates);
    EXPECT_EQ(many.back(), "a b c d e f g h");
}

TEST(ProgramFileCandidates, NoFile_ForEmptyPathsOwnCommandsAndUrls) {
    for (const char* path : {"", "   ", "*CLIP*", "*CLIP2*", "http://example.com/a b",
                             "mailto:someone@example.com", "ms-settings:display"}) {
        EXPECT_EQ(ProgramFileCandidates(path), Names{}) << path;
    }
    // Neither a drive letter nor a share is a URL scheme.
    for (const char* file : {"C:\\tools\\x.exe", "\\\\server\\share\\x.exe"}) {
        EXPECT_EQ(ProgramFileCandidates(file), Names{file});
    }
}

TEST(CacheTimeMatches, TenSecondsEitherWayAtMost) {
    const std::int64_t ini = 133'000'000'000'000'000, tenSeconds = 100'000'000;
    EXPECT_TRUE(CacheTimeMatches(ini + tenSeconds, ini));
    EXPECT_TRUE(CacheTimeMatches(ini - tenSeconds, ini));
    EXPECT_FALSE(CacheTimeMatches(ini + tenSeconds + 1, ini));
    EXPECT_FALSE(CacheTimeMatches(ini - tenSeconds - 1, ini));
}

TEST(BarCachePicture, OneBandWhenTheIconSlotsFit_FurtherBandsPastW_NoneWithoutWidth) {
    EXPECT_EQ(BarCachePicture(78, 78), (BarCacheLayout{78, 53, {{0, 78, 21}}}));
    // Ten menu entries under one button: W = 44, slots up to x = 176.
    EXPECT_EQ(BarCachePicture(44, 176),
              (BarCacheLayout{
                  44, 21 + 4 * 32, {{0, 44, 21}, {44, 44, 53}, {88, 44, 85}, {132, 44, 117}}}));
    // A last band that is only partly used.
    EXPECT_EQ(BarCachePicture(44, 150).Bands.back(), (BarCacheBand{132, 18, 117}));
    EXPECT_EQ(BarCachePicture(0, 100), BarCacheLayout{});
}

TEST(SeparateIconPixel, OpaqueWhenAtLeastHalfCovered_ColourWithoutTheBlack) {
    EXPECT_EQ(SeparateIconPixel(0x123456, 0x123456), (IconPixel{0x123456, true}));
    EXPECT_FALSE(SeparateIconPixel(0x000000, 0xFFFFFF).Opaque);
    // Alpha 126 of 255: less than half covered.
    EXPECT_FALSE(SeparateIconPixel(0x3F3F3F, 0xC0C0C0).Opaque);
    // Alpha 128 over black gives 0x40 for a colour of 0x80.
    EXPECT_EQ(SeparateIconPixel(0x404040, 0xBFBFBF), (IconPixel{0x808080, true}));
    // Alpha is averaged over the channels (here 170), and a channel that
    // comes out brighter than white is capped.
    EXPECT_EQ(SeparateIconPixel(0xFF4040, 0xFFBFBF), (IconPixel{0xFF6060, true}));
    // An inverting pixel counts as opaque.
    EXPECT_EQ(SeparateIconPixel(0xFFFFFF, 0x000000), (IconPixel{0xFFFFFF, true}));
}

}  // namespace
}  // namespace zorv
