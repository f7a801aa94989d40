#include "app/command_line.h"

#include <gtest/gtest.h>

using zorv::ParseCommandLine;

TEST(CommandLine, IniValueRunsToNextSlashAndKeepsBlanks) {
    auto sw = ParseCommandLine(R"(/INI=C:\cfg\a b.ini /noconfig)");
    ASSERT_TRUE(sw.Ini.has_value());
    EXPECT_EQ(*sw.Ini, "C:\\cfg\\a b.ini ");
    EXPECT_TRUE(sw.NoConfig);
    EXPECT_FALSE(sw.NoAu);
    EXPECT_FALSE(sw.NoStart);
}

TEST(CommandLine, IniValueToEndAndEmptyValue) {
    EXPECT_EQ(*ParseCommandLine("noau /ini=x.ini").Ini, "x.ini");
    EXPECT_EQ(*ParseCommandLine("/ini=").Ini, "");
    EXPECT_FALSE(ParseCommandLine("/in=x.ini ini=x").Ini.has_value());
}

TEST(CommandLine, SwitchesMatchAnywhereInAnyCase) {
    auto sw = ParseCommandLine("xNOSTARTy foo NoAu");
    EXPECT_TRUE(sw.NoStart);
    EXPECT_TRUE(sw.NoAu);
    EXPECT_FALSE(sw.NoConfig);
    // "noau" inside a word counts too: it is a plain substring test.
    EXPECT_TRUE(ParseCommandLine("c:\\dinoaurus\\x").NoAu);
    EXPECT_FALSE(ParseCommandLine("").NoAu);
}
