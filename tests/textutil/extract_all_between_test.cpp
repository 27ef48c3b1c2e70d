#include "textutil/extract_all_between.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "textutil/extract_all_between_reference.h"

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

using Extractor = ExtractionResult (*)(const Text&, const Text&, const Text&, const Text&);

struct NamedExtractor {
    const char* name;
    Extractor extract;
};

// The program's extraction and the plain loop it must agree with meet every case alike.
const NamedExtractor kExtractors[] = {{"extractAllBetween", extractAllBetween},
                                      {"extractAllBetweenReference", extractAllBetweenReference}};

void expectCases(const std::vector<Case>& cases) {
    for (const NamedExtractor& extractor : kExtractors) {
        SCOPED_TRACE(extractor.name);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            const ExtractionResult result = extractor.extract(c.source, c.left, c.right, c.exclusion);
            EXPECT_EQ(result.texts, c.texts);
            EXPECT_EQ(result.offsets, c.offsets);
        }
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
    expectCases({{"worked example",
                  kRecordLeft + "2013-07-07 13:54:49.123" + kRecordRight + kRecordLeft + "x" + kRecordRight,
                  kRecordLeft,
                  kRecordRight,
                  "",
                  {"2013-07-07 13:54:49.123", "x"},
                  {17, 62}}});
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

TEST(ExtractAllBetween, SkipsAheadOnlyWhereNoMatchCanBegin) {
    expectCases({
        {"left marker overlapping itself", "xxx1;", "xx", ";", "", {"x1"}, {2}},
        {"right marker inside the left marker", "<a>1><a>2>", "<a>", ">", "", {"1", "2"}, {3, 8}},
        {"right marker shared as the next left marker", "xabyabzab", "ab", "ab", "", {"y", "z"}, {3, 6}},
        {"left marker must lie inside the rest", "abab", "ab", "b", "", {"a"}, {2}},
        {"left marker at the very end", "a(b)(", "(", ")", "", {"b"}, {2}},
        {"only a left marker, at the very end", "abc(", "(", ")", "", {}, {}},
        {"left markers without a right marker", "((((((", "(", ")", "", {}, {}},
        {"right marker before every left marker", ")))(", "(", ")", "", {}, {}},
        {"many empty pieces", "id=;id=;id=;", "id=", ";", "", {"", "", ""}, {3, 7, 11}},
        {"zero bytes inside a piece", Text("(a\0b)", 5), "(", ")", "", {Text("a\0b", 3)}, {1}},
        // The text's last character stands bare in the pattern: "|" makes an alternation that needs no
        // left marker, so there is nothing to skip to.
        {"the last character makes an alternation", "|\x81", "|\x08", "", "", {"\x81"}, {1}},
        // The look-ahead reads "\x81 or nothing", so the piece is empty.
        {"a right marker whose second byte is a bar", "(a\x81|", "(", "\x81|", "", {""}, {1}},
    });
}

TEST(ExtractAllBetween, MatchesBytesAroundTwoByteCharacters) {
    expectCases({
        {"markers between two-byte characters", "中(文)字", "(", ")", "", {"文"}, {3}},
        {"left marker across a character boundary", "\xB0\xA1\xB0x;", "\xA1\xB0", ";", "", {"x"}, {3}},
        {"piece ending in a lead byte", "(\xB0)\xA1)", "(", ")", "", {"\xB0"}, {1}},
        {"two-byte left marker repeated", "开开1;开2;", "开", ";", "", {"开1", "2"}, {2, 8}},
    });
}

TEST(ExtractAllBetween, KeepsLineAnchorsWithoutAMarker) {
    expectCases({
        {"no left marker: pieces start lines", "a;\nb;\na;", "", ";", "", {"a", "a"}, {0, 6}},
        {"no right marker: pieces end lines", "id=1x\nid=2x", "id=", "", "", {"1x", "2x"}, {3, 9}},
        {"no right marker, CR LF ends a line", "id=1x\r\nid=2x", "id=", "", "", {"1x", "2x"}, {3, 10}},
        {"no right marker, last character far on", "id=1\nid=2x", "id=", "", "", {"1\nid=2x"}, {3}},
    });
}

TEST(ExtractAllBetween, RulesOutStretchesWhereTheExclusionBegins) {
    expectCases({
        {"excluded pieces between kept ones", "(a)(bx)(c)", "(", ")", "x", {"a", "c"}, {1, 8}},
        {"several left markers before the exclusion", "(x(x(a)", "(", ")", "x", {"a"}, {5}},
        {"exclusion equal to the right marker", "(a)", "(", ")", ")", {"a"}, {1}},
        {"exclusion equal to the left marker", "((a)", "(", ")", "(", {"a"}, {2}},
        {"exclusion right after the left marker", "(xa)(b)", "(", ")", "xa", {"b"}, {5}},
        {"exclusion longer than the piece", "(a)x(b)", "(", ")", "a)x", {"b"}, {5}},
        {"exclusion without a right marker", "id=1x\nid=2", "id=", "", "x", {"2"}, {9}},
    });
}

TEST(ExtractAllBetween, AgreesWithThePlainLoopOnRandomTexts) {
    // A small alphabet makes markers, line breaks, pattern characters and lead bytes meet often.
    const Text alphabet = "ab(;)\n\r^.\\\xB0\xA1";
    std::mt19937 random(20240607);
    const auto randomText = [&](size_t maxLength) {
        Text text(std::uniform_int_distribution<size_t>(0, maxLength)(random), ' ');
        for (char& byte : text)
            byte = alphabet[std::uniform_int_distribution<size_t>(0, alphabet.size() - 1)(random)];
        return text;
    };
    for (int round = 0; round < 20000; ++round) {
        const Text left = randomText(3);
        const Text right = randomText(2);
        const Text exclusion = round % 3 == 0 ? randomText(2) : Text{};
        const Text source = randomText(40);
        const ExtractionResult fast = extractAllBetween(source, left, right, exclusion);
        const ExtractionResult plain = extractAllBetweenReference(source, left, right, exclusion);
        if (fast.texts != plain.texts || fast.offsets != plain.offsets) {
            ADD_FAILURE() << "source " << testing::PrintToString(source) << ", left "
                          << testing::PrintToString(left) << ", right " << testing::PrintToString(right)
                          << ", exclusion " << testing::PrintToString(exclusion);
            break;
        }
    }
}

TEST(ExtractAllBetween, FindsWhatThePlainLoopGivesUpOn) {
    // Every left marker starts a stretch that the exclusion text ends, so the plain loop's search retries
    // the stretch from each of them and passes the matcher's effort limit; the piece after them still counts.
    const Text source = Text(500, '(') + "x)(a)";
    const ExtractionResult result = extractAllBetween(source, "(", ")", "x");
    EXPECT_EQ(result.texts, std::vector<Text>{"a"});
    EXPECT_EQ(result.offsets, std::vector<int32_t>{503});

    bool gaveUp = false;
    const ExtractionResult plain = extractAllBetweenReference(source, "(", ")", "x", gaveUp);
    EXPECT_TRUE(gaveUp);
    EXPECT_TRUE(plain.texts.empty());
}
