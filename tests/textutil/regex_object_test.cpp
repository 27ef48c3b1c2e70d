#include "textutil/regex_object.h"

#include <gtest/gtest.h>

#include <vector>

#include "textutil/keep_digits.h"

TEST(KeepDigits, KeepsTheAsciiDigitsInOrder) {
    struct Case {
        const char* name;
        Text source;
        Text want;
    };
    for (const Case& c : {
             Case{"time record", "2013-07-07 13:54:49.123", "20130707135449123"},
             Case{"no digits", "abc", ""},
             Case{"empty", "", ""},
             Case{"between two-byte characters, full-width digit dropped", "中12文３", "12"},
         }) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(keepDigits(c.source), c.want);
    }
}

TEST(RegexObject, ReportsMatchesWithTheirByteOffsets) {
    struct Case {
        const char* name;
        Text pattern;
        Text source;
        std::vector<Text> texts;
        std::vector<int32_t> offsets;
    };
    for (const Case& c : {
             Case{"digits", "[0-9]", "a1b22", {"1", "2", "2"}, {1, 3, 4}},
             Case{"a repeated value", "[0-9]", "11", {"1", "1"}, {0, 1}},
             Case{"after two two-byte characters", "[0-9]", "中文1", {"1"}, {4}},
             Case{"full-width digits are other characters", "[0-9]", "３3", {"3"}, {2}},
             Case{"Chinese text comes back as it went", "[^0-9]+", "中文12汉", {"中文", "汉"}, {0, 6}},
             Case{"case-blind by default", "a", "aA", {"a", "A"}, {0, 1}},
             Case{"line starts by default", "^b", "a\r\nb", {"b"}, {3}},
             Case{"no match", "x", "abc", {}, {}},
         }) {
        SCOPED_TRACE(c.name);
        RegexObject regex;
        EXPECT_TRUE(regex.execute(c.pattern, c.source));
        ASSERT_EQ(regex.matchCount(), static_cast<int32_t>(c.texts.size()));
        for (size_t i = 0; i < c.texts.size(); ++i) {
            int32_t start = -9;
            EXPECT_EQ(regex.matchText(static_cast<int32_t>(i) + 1, &start), c.texts[i]);
            EXPECT_EQ(start, c.offsets[i]);
        }
    }
}

TEST(RegexObject, FollowsTheOptionsOfTheRun) {
    struct Case {
        const char* name;
        Text pattern;
        Text source;
        bool caseSensitive;
        bool multiline;
        bool global;
        int32_t count;
    };
    for (const Case& c : {
             Case{"case-blind", "a", "aA", false, true, true, 2},
             Case{"case-sensitive", "a", "aA", true, true, true, 1},
             Case{"multiline", "^b$", "a\r\nb\r\nc", false, true, true, 1},
             Case{"single line", "^b$", "a\r\nb\r\nc", false, false, true, 0},
             Case{"single line, whole text", "^a.c$", "abc", false, false, true, 1},
             Case{"first match only", "[0-9]", "a1b2", false, true, false, 1},
             Case{"dot stops at a line feed", "a.b", "a\nb", false, true, true, 0},
         }) {
        SCOPED_TRACE(c.name);
        RegexObject regex;
        EXPECT_TRUE(regex.execute(c.pattern, c.source, c.caseSensitive, c.multiline, c.global));
        EXPECT_EQ(regex.matchCount(), c.count);
    }
}

TEST(RegexObject, GivesNothingForAMatchThatDoesNotExist) {
    RegexObject regex;
    ASSERT_TRUE(regex.execute("[0-9]", "a1b2"));
    for (const int32_t index : {0, 3, -1}) {
        SCOPED_TRACE(index);
        int32_t start = -9;
        EXPECT_EQ(regex.matchText(index, &start), "");
        EXPECT_EQ(start, -1);
        EXPECT_EQ(regex.matchText(index), "");
    }
}

TEST(RegexObject, IsEmptyBeforeTheFirstRun) {
    const RegexObject regex;
    int32_t start = -9;
    EXPECT_EQ(regex.getPattern(), "");
    EXPECT_EQ(regex.replace("x"), "");
    EXPECT_EQ(regex.matchCount(), 0);
    EXPECT_EQ(regex.subMatchCount(), 0);
    EXPECT_EQ(regex.matchText(1, &start), "");
    EXPECT_EQ(start, -1);
}

TEST(RegexObject, ASecondRunReplacesTheFirst) {
    RegexObject regex;
    ASSERT_TRUE(regex.execute("[0-9]", "1 2 3"));
    ASSERT_EQ(regex.matchCount(), 3);
    ASSERT_TRUE(regex.execute("[a-z]+", "ab, cd"));
    EXPECT_EQ(regex.getPattern(), "[a-z]+");
    EXPECT_EQ(regex.matchCount(), 2);
    EXPECT_EQ(regex.matchText(1), "ab");
    EXPECT_EQ(regex.matchText(3), "");
    EXPECT_EQ(regex.replace("-"), "-, -");
}

TEST(RegexObject, RefusesAPatternItCannotRead) {
    RegexObject regex;
    ASSERT_TRUE(regex.execute("[0-9]", "1"));
    EXPECT_FALSE(regex.execute("(", "(x"));
    EXPECT_EQ(regex.getPattern(), "(");
    EXPECT_EQ(regex.matchCount(), 0);
    EXPECT_EQ(regex.subMatchCount(), 0);
    EXPECT_EQ(regex.matchText(1), "");
    EXPECT_EQ(regex.replace("y"), "");
}

TEST(RegexObject, ReplacesByTheObjectsRules) {
    struct Case {
        const char* name;
        Text pattern;
        Text source;
        bool global;
        Text replacement;
        Text want;
    };
    for (const Case& c : {
             Case{"every match", "[0-9]", "a1b2", true, "#", "a#b#"},
             Case{"first match only", "[0-9]", "a1b2", false, "#", "a#b2"},
             Case{"group reference", "([a-z])([0-9])", "a1b2", true, "$2$1", "1a2b"},
             Case{"whole match and dollar", "[0-9]", "a1", true, "<$&$$>", "a<1$>"},
             Case{"empty replacement", "[0-9]", "2013-07-07", true, "", "--"},
             Case{"Chinese around the matches", "[0-9]", "中1文", true, "汉", "中汉文"},
         }) {
        SCOPED_TRACE(c.name);
        RegexObject regex;
        ASSERT_TRUE(regex.execute(c.pattern, c.source, false, true, c.global));
        const int32_t count = regex.matchCount();
        EXPECT_EQ(regex.replace(c.replacement), c.want);
        // The searched text and the matches stay as the run left them.
        EXPECT_EQ(regex.replace(c.replacement), c.want);
        EXPECT_EQ(regex.matchCount(), count);
    }
}

TEST(RegexObject, CountsTheGroupsOfTheFirstMatch) {
    struct Case {
        const char* source;
        int32_t want;
    };
    for (const Case& c : {Case{"ab", 2}, Case{"a", 2}, Case{"xyz", 0}}) {
        SCOPED_TRACE(c.source);
        RegexObject regex;
        ASSERT_TRUE(regex.execute("(a)(b)?", c.source));
        EXPECT_EQ(regex.subMatchCount(), c.want);
    }
}

TEST(RegexObject, ReportsGroupsWithTheirByteOffsets) {
    RegexObject regex;
    ASSERT_TRUE(regex.execute("([a-z])([0-9])?", "中a1b"));
    struct Case {
        int32_t match;
        int32_t group;
        Text text;
        int32_t start;
    };
    for (const Case& c : {
             Case{1, 1, "a", 2},
             Case{1, 2, "1", 3},
             Case{2, 1, "b", 4},
             Case{2, 2, "", 4},  // took no part: the empty text, at its match
             Case{2, 3, "", -1},
             Case{2, 0, "", -1},
             Case{3, 1, "", -1},
             Case{0, 1, "", -1},
         }) {
        SCOPED_TRACE(testing::Message() << c.match << "." << c.group);
        int32_t start = -9;
        EXPECT_EQ(regex.subMatchText(c.match, c.group, &start), c.text);
        EXPECT_EQ(start, c.start);
        EXPECT_EQ(regex.subMatchText(c.match, c.group), c.text);
    }
}

TEST(RegexObject, AGroupIsFoundAtItsOwnMatchNotEarlier) {
    RegexObject regex;
    ASSERT_TRUE(regex.execute("x([0-9])", "1x1"));
    int32_t start = -9;
    EXPECT_EQ(regex.subMatchText(1, 1, &start), "1");
    EXPECT_EQ(start, 2);
}

TEST(RegexObject, ACopyKeepsWhatItSharedAfterTheSourceRunsAgain) {
    RegexObject source;
    ASSERT_TRUE(source.execute("[0-9]", "a1b2"));
    const RegexObject copied = source.copy();
    ASSERT_TRUE(source.execute("[a-z]", "xyz"));
    EXPECT_EQ(source.matchCount(), 3);
    EXPECT_EQ(copied.matchCount(), 2);
    EXPECT_EQ(copied.getPattern(), "[0-9]");
    int32_t start = -9;
    EXPECT_EQ(copied.matchText(2, &start), "2");
    EXPECT_EQ(start, 3);
    EXPECT_EQ(copied.replace("#"), "a#b#");
}
