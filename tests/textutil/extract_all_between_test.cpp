#include "textutil/extract_all_between.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

struct Case {
    const char* name;
    Text source;
    Text left;
    Text right;
    Text exclusion;
    std::vector<Text> texts;
    std::vector<int32_t> offsets;
};

void expectCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ExtractionResult result = extractAllBetween(c.source, c.left, c.right, c.exclusion);
        EXPECT_EQ(result.texts, c.texts);
        EXPECT_EQ(result.offsets, c.offsets);
    }
}

const Text kRecordLeft = "<li class=\"time\">";
const Text kRecordRight = "</li>";

}  // namespace

TEST(ExtractionResult, DefaultHoldsOneEmptyTextAtOffsetZero) {
    const ExtractionResult result;
    EXPECT_EQ(result.texts, std::vector<Text>{""});
    EXPECT_EQ(result.offsets, std::vector<int32_t>{0});
}

TEST(ExtractAllBetween, TakesTheRecordsOfTheDataPage) {
    const Text page =
        kRecordLeft + "2013-07-07 13:54:49.123" + kRecordRight + kRecordLeft + "x" + kRecordRight;
    const ExtractionResult result = extractAllBetween(page, kRecordLeft, kRecordRight);
    EXPECT_EQ(result.texts, (std::vector<Text>{"2013-07-07 13:54:49.123", "x"}));
    EXPECT_EQ(result.offsets, (std::vector<int32_t>{17, 62}));
}

TEST(ExtractAllBetween, FollowsTheTableOfMarkers) {
    expectCases({
        {"empty piece between", "id=a;id=;id=c;", "id=", ";", "", {"a", "", "c"}, {3, 8, 12}},
        {"exclusion skips a stretch", "(axb)(c)", "(", ")", "x", {"c"}, {6}},
        {"exclusion running into the marker", "(ab)", "(", ")", "b)", {}, {}},
        {"escaped parentheses", "1.5(2.5)", "(", ")", "", {"2.5"}, {4}},
        {"escaped full stop, shared marker", "a.b1a.b2a.b", "a.b", "a.b", "", {"1", "2"}, {3, 7}},
        {"no look-behind into the rest", "aaa", "a", "a", "", {"", ""}, {1, 2}},
        {"no left marker", "AB;CD;", "", ";", "", {"AB"}, {0}},
        {"no right marker", "id=xy", "id=", "", "", {"xy"}, {3}},
        {"no markers", "abc", "", "", "", {"abc"}, {0}},
        {"one byte, no markers", "x", "", "", "", {}, {}},
        {"first character opens a group", "(x;", "", ";", "", {}, {}},
        {"markers keep their case", "ID=x;id=y;", "id=", ";", "", {"y"}, {8}},
    });
}

TEST(ExtractAllBetween, ReadsBytesAndLineBreaksAsTheMatcherDoes) {
    expectCases({
        {"record spanning CR LF",
         kRecordLeft + "13:54\r\n49.123" + kRecordRight,
         kRecordLeft,
         kRecordRight,
         "",
         {"13:54\r\n49.123"},
         {17}},
        {"empty source", "", "a", "b", "", {}, {}},
        {"empty source, no markers", "", "", "", "", {}, {}},
        {"no left marker in the text", "abc;def;", "x", ";", "", {}, {}},
        {"line starts and ends: CR LF is one break", "a2\r\na2", "", "", "", {"a2", "a2"}, {0, 4}},
        {"a lone CR is a break of its own", "a2\ra2", "", "", "", {"a2", "a2"}, {0, 3}},
        {"pattern characters match literally", "[a.b\\]x[a.b\\]", "[a.b\\]", "[a.b\\]", "", {"x"}, {6}},
        {"full stop is no wildcard", "aXb(1)a.b(2)", "a.b(", ")", "", {"2"}, {10}},
        {"two-byte markers", "开始中文结束", "开始", "结束", "", {"中文"}, {4}},
        {"two two-byte characters, no markers", "中文", "", "", "", {"中文"}, {0}},
        {"later marker in an excluded stretch", "(ax(b)", "(", ")", "x", {"b"}, {4}},
        {"lone lead byte at a marker's end is dropped", "id=5;", "id=\x81", ";", "", {"5"}, {3}},
        {"lone lead byte at the exclusion's end is dropped", "(a)(xb)", "(", ")", "x\x81", {"a"}, {1}},
    });
}

TEST(ExtractAllBetween, LeavesTheSecondByteOfATwoByteCharacterUnescaped) {
    expectCases({
        // 0x5C ends the marker and escapes the assertion's closing parenthesis.
        {"second byte 0x5C at a marker's end",
         "\x81\x5C"
         "1;",
         "\x81\x5C",
         ";",
         "",
         {},
         {}},
        // 0x7C splits the look-behind into two alternatives: the lead byte alone, or "b".
        {"second byte 0x7C",
         "\x81\x7C"
         "2;b3;",
         "\x81\x7C"
         "b",
         ";",
         "",
         {"\x7C"
          "2",
          "3"},
         {1, 5}},
    });
}

TEST(ExtractAllBetween, EndsWhereAnEmptyMatchWouldRepeatForEver) {
    expectCases({
        {"source starting with a circumflex", "^a;b", "", ";", "", {"^a", ""}, {0, 2}},
        {"source starting with a backslash", "\\\n;", "", ";", "", {""}, {2}},
    });
}
