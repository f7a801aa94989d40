#include "bar/icon_source.h"

#include <gtest/gtest.h>

namespace zorv {
namespace {

using Names = std::vector<std::string>;

TEST(ProgramFileCandidates, QuotedNameAlone_ElseFirstWordThenLongerRuns_NoneForUrls) {
    EXPECT_EQ(ProgramFileCandidates("\"C:\\Program Files\\App\\app.exe\" -x \"y z\""),
              (Names{"C:\\Program Files\\App\\app.exe"}));
    // An unclosed quote runs to the end; blanks inside the quotes are trimmed.
    EXPECT_EQ(ProgramFileCandidates("\"C:\\My Tools\\t.exe"), (Names{"C:\\My Tools\\t.exe"}));
    EXPECT_EQ(ProgramFileCandidates("\" notepad.exe \" a"), (Names{"notepad.exe"}));
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
    for (const char* path : {"", "   ", "\"\" notepad.exe", "*CLIP*", "*CLIP2*",
                             "http://example.com/a b", "ms-settings:display"}) {
        EXPECT_EQ(ProgramFileCandidates(path), Names{}) << path;
    }
    // Neither a drive letter nor a share is a URL scheme.
    for (const char* file : {"C:\\tools\\x.exe", "\\\\server\\share\\x.exe"}) {
        EXPECT_EQ(ProgramFileCandidates(file), Names{file});
    }
}

TEST(IconCache, TimesWithinTenSeconds_BandsPastW_PixelsSeparatedFromTheirBlack) {
    const std::int64_t ini = 133'000'000'000'000'000, tenSeconds = 100'000'000;
    EXPECT_TRUE(CacheTimeMatches(ini + tenSeconds, ini) && CacheTimeMatches(ini - tenSeconds, ini));
    EXPECT_FALSE(CacheTimeMatches(ini + tenSeconds + 1, ini));
    EXPECT_FALSE(CacheTimeMatches(ini - tenSeconds - 1, ini));
    EXPECT_EQ(BarCachePicture(78, 78), (BarCacheLayout{78, 53, {{0, 78, 21}}}));
    // Ten menu entries under one button: W = 44, slots up to x = 176.
    EXPECT_EQ(BarCachePicture(44, 176),
              (BarCacheLayout{
                  44, 21 + 4 * 32, {{0, 44, 21}, {44, 44, 53}, {88, 44, 85}, {132, 44, 117}}}));
    EXPECT_EQ(BarCachePicture(44, 150).Bands.back(), (BarCacheBand{132, 18, 117}));
    EXPECT_EQ(BarCachePicture(0, 100), BarCacheLayout{});
    // The icon drawn over black and over white: opaque when at least half covered.
    EXPECT_EQ(SeparateIconPixel(0x123456, 0x123456), (IconPixel{0x123456, true}));
    EXPECT_FALSE(SeparateIconPixel(0x3F3F3F, 0xC0C0C0).Opaque);  // alpha 126
    EXPECT_EQ(SeparateIconPixel(0x404040, 0xBFBFBF), (IconPixel{0x808080, true}));
    // Alpha is averaged over the channels, and a colour brighter than white is capped.
    EXPECT_EQ(SeparateIconPixel(0xFF4040, 0xFFBFBF), (IconPixel{0xFF6060, true}));
    EXPECT_EQ(SeparateIconPixel(0xFFFFFF, 0x000000), (IconPixel{0xFFFFFF, true}));  // inverting
}

}  // namespace
}  // namespace zorv
