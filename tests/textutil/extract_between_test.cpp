#include "textutil/extract_between.h"

#include <gtest/gtest.h>

TEST(ExtractBetween, TakesTheFirstPieceBetweenTheMarkers) {
    struct Case {
        const char* name;
        Text source;
        Text left;
        Text right;
        int32_t start;
        bool caseSensitive;
        Text want;
    };
    for (const Case& c : {
             Case{"time page", "window.baidu_time(1386000000000);", "window.baidu_time(", ")", 0, false,
                  "1386000000000"},
             Case{"capital marker, case-blind", "WINDOW.BAIDU_TIME(1386000000000)", "window.baidu_time(", ")",
                  0, false, "1386000000000"},
             Case{"capital marker, exact", "WINDOW.BAIDU_TIME(1386000000000)", "window.baidu_time(", ")", 0,
                  true, ""},
             Case{"empty source", "", "", ")", 0, false, ""},
             Case{"left marker ends the text", "abc(", "(", ")", 0, false, ""},
             Case{"right marker right after the left", "a()", "(", ")", 0, false, ""},
             Case{"empty left marker", "abc)d)", "", ")", 0, false, "abc"},
             Case{"empty right marker", "a(b)", "(", "", 0, false, ""},
             Case{"right marker only before the left", "a)b(c", "(", ")", 0, false, ""},
             Case{"first left marker, first right after it", "(a)(b)", "(", ")", 0, false, "a"},
             Case{"start position 5 for both searches", "(ab)(cd)x)", "(", ")", 5, false, "cd)x"},
             Case{"start position past the left marker", "(ab)", "(", ")", 2, false, ""},
             Case{"no match inside a two-byte character",
                  "\x81"
                  "(x"
                  "(y)",
                  "(", ")", 0, false, "y"},
             Case{"two-byte markers", "开始中文结束", "开始", "结束", 0, false, "中文"},
         }) {
        SCOPED_TRACE(c.name);
        Text left = c.left;
        Text right = c.right;
        EXPECT_EQ(extractBetween(c.source, left, right, c.start, c.caseSensitive), c.want);
        EXPECT_EQ(left, c.left);
        EXPECT_EQ(right, c.right);
    }
}

TEST(ExtractBetween, RewritesThePlaceholderInTheCallersMarkers) {
    Text left = Text{"id="} + kQuotePlaceholder;
    Text right = Text{kQuotePlaceholder} + ";";
    EXPECT_EQ(extractBetween("id=\"42\";", left, right), "42");
    EXPECT_EQ(left, "id=\"");
    EXPECT_EQ(right, "\";");
}

TEST(ExtractBetween, RewritesEveryPlaceholderInAMarker) {
    Text left = Text{kQuotePlaceholder} + "a" + kQuotePlaceholder;
    Text right = ";";
    EXPECT_EQ(extractBetween("x\"a\"7;", left, right), "7");
    EXPECT_EQ(left, "\"a\"");
}
