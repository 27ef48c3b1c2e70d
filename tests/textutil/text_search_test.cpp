#include "textutil/text_search.h"

#include <gtest/gtest.h>

TEST(FindText, FindsOnCharacterBoundariesFromTheStart) {
    struct Case {
        const char* name;
        Text haystack;
        Text needle;
        int32_t start;
        bool caseBlind;
        int32_t want;
    };
    for (const Case& c : {
             Case{"from the first byte", "abcabc", "bc", 1, false, 2},
             Case{"start 0 is the first byte", "abcabc", "bc", 0, false, 2},
             Case{"negative start is the first byte", "abcabc", "bc", -7, false, 2},
             Case{"from a later byte", "abcabc", "bc", 3, false, 5},
             Case{"start past the end", "abc", "c", 4, false, -1},
             Case{"needle longer than the rest", "abc", "bcd", 1, false, -1},
             Case{"empty needle", "abc", "", 1, false, 1},
             Case{"empty needle from a later byte", "abc", "", 3, false, 1},
             Case{"empty needle past the end", "abc", "", 4, false, -1},
             Case{"empty haystack", "", "", 1, false, -1},
             Case{"exact", "ABC", "b", 1, false, -1},
             Case{"case-blind", "ABC", "b", 1, true, 2},
             Case{"case-blind folds ASCII only", "Ａ", "ａ", 1, true, -1},
             Case{"not inside a two-byte character",
                  "\x81"
                  "a"
                  "a",
                  "a", 1, false, 3},
             Case{"two-byte needle", "x中文", "文", 1, false, 4},
             Case{"lone lead byte at the end ends the scan", "a\x81", "b", 1, false, -1},
         }) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(findText(c.haystack, c.needle, c.start, c.caseBlind), c.want);
    }
}

TEST(ReplaceText, ReplacesEveryOccurrenceOutsideTwoByteCharacters) {
    struct Case {
        const char* name;
        Text text;
        Text needle;
        Text replacement;
        Text want;
    };
    for (const Case& c : {
             Case{"every occurrence", "a.b.c", ".", "\\.", "a\\.b\\.c"},
             Case{"none", "abc", "x", "y", "abc"},
             Case{"non-overlapping", "aaa", "aa", "b", "ba"},
             Case{"second byte untouched",
                  "\x81"
                  "\\x\\",
                  "\\", "\\\\",
                  "\x81"
                  "\\x\\\\"},
             Case{"lone lead byte kept", "a\x81", "a", "b", "b\x81"},
         }) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(replaceText(c.text, c.needle, c.replacement), c.want);
    }
}
