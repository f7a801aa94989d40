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
    // Variables are expanded by the caller, after the split.
    EXPECT_EQ(ProgramFileCandidates("%SystemRoot%\\notepad.exe"),
              (Names{"%SystemRoot%\\notepad.exe"}));
}

TEST(ProgramFileCandidates, ManyWords_AreCappedSoThatFewSearchesRun) {
    const Names got = ProgramFileCandidates("a b c d e f g h i j k l");
    ASSERT_EQ(got.size(), kMaxProgramFileCandidates);
    EXPECT_EQ(got.front(), "a");
    EXPECT_EQ(got.back(), "a b c d e f g h");
}

TEST(ProgramFileCandidates, NoFile_ForEmptyPathsOwnCommandsAndUrls) {
    for (const char* path : {"", "   ", "*CLIP*", "*CLIP2*", "http://example.com/a b",
                             "mailto:someone@example.com", "ms-settings:display"}) {
        EXPECT_EQ(ProgramFileCandidates(path), Names{}) << path;
    }
    // A drive letter is no URL scheme.
    EXPECT_EQ(ProgramFileCandidates("C:\\tools\\x.exe"), (Names{"C:\\tools\\x.exe"}));
    EXPECT_EQ(ProgramFileCandidates("\\\\server\\share\\x.exe"),
              (Names{"\\\\server\\share\\x.exe"}));
}

TEST(CacheTimeMatches, TenSecondsEitherWayAtMost) {
    constexpr std::int64_t kSecond = 10'000'000;
    const std::int64_t ini = 133'000'000'000'000'000;
    EXPECT_TRUE(CacheTimeMatches(ini, ini));
    EXPECT_TRUE(CacheTimeMatches(ini + 10 * kSecond, ini));
    EXPECT_TRUE(CacheTimeMatches(ini - 10 * kSecond, ini));
    EXPECT_FALSE(CacheTimeMatches(ini + 10 * kSecond + 1, ini));
    EXPECT_FALSE(CacheTimeMatches(ini - 10 * kSecond - 1, ini));
    EXPECT_FALSE(CacheTimeMatches(0, ini));
}

TEST(BarCachePicture, OneBand_WhenTheIconSlotsFitIntoW) {
    EXPECT_EQ(BarCachePicture(78, 78), (BarCacheLayout{78, 53, {{0, 78, 21}}}));
}

TEST(BarCachePicture, IconSlotsPastW_WrapIntoFurtherBands) {
    // Ten menu entries under one button: W = 44, slots up to x = 176.
    const BarCacheLayout got = BarCachePicture(44, 176);
    EXPECT_EQ(got.Width, 44);
    EXPECT_EQ(got.Height, 21 + 4 * 32);
    EXPECT_EQ(got.Bands,
              (std::vector<BarCacheBand>{{0, 44, 21}, {44, 44, 53}, {88, 44, 85}, {132, 44, 117}}));
    // A last band that is only partly used.
    const BarCacheLayout partial = BarCachePicture(44, 150);
    ASSERT_EQ(partial.Bands.size(), 4u);
    EXPECT_EQ(partial.Bands.back(), (BarCacheBand{132, 18, 117}));
}

TEST(BarCachePicture, NoPictureWithoutWidth) {
    EXPECT_EQ(BarCachePicture(0, 100), BarCacheLayout{});
}

TEST(SeparateIconPixel, SameOnBothBackgrounds_IsOpaqueInItsOwnColour) {
    EXPECT_EQ(SeparateIconPixel(0x123456, 0x123456), (IconPixel{0x123456, true}));
    EXPECT_EQ(SeparateIconPixel(0, 0), (IconPixel{0, true}));
}

TEST(SeparateIconPixel, BackgroundShowingThrough_IsTransparent) {
    EXPECT_FALSE(SeparateIconPixel(0x000000, 0xFFFFFF).Opaque);
    // Alpha 126 of 255: less than half covered.
    EXPECT_FALSE(SeparateIconPixel(0x3F3F3F, 0xC0C0C0).Opaque);
}

TEST(SeparateIconPixel, HalfCovered_IsOpaque_WithTheBlackTakenOut) {
    // Alpha 128 over black gives 0x40 for a colour of 0x80.
    EXPECT_EQ(SeparateIconPixel(0x404040, 0xBFBFBF), (IconPixel{0x808080, true}));
    // Alpha is averaged over the channels (here 170), and a channel that
    // comes out brighter than white is capped.
    EXPECT_EQ(SeparateIconPixel(0xFF4040, 0xFFBFBF), (IconPixel{0xFF6060, true}));
}

TEST(SeparateIconPixel, InvertingPixel_CountsAsOpaque) {
    EXPECT_EQ(SeparateIconPixel(0xFFFFFF, 0x000000), (IconPixel{0xFFFFFF, true}));
}

}  // namespace
}  // namespace zorv
