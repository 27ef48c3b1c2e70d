#include <gtest/gtest.h>

#include <vector>

#include "app/globals.h"
#include "fakes/fake_net.h"
#include "fakes/fake_ui.h"
#include "net/urls.h"
#include "stats/handler_test.h"
#include "stats/handlers.h"
#include "stats/record_page.h"

namespace {

constexpr char kTotalMissing[] = "请输入本商品总需参与人次";
constexpr char kOutOfRange[] = "输入的时间超出计算范围";

class Compute : public HandlerTest {
  protected:
    static void retrieve(const std::vector<Text>& records, const Text& total) {
        fake::setPage(dataServerUrl, recordPage(records));
        fake::controls[Control::totalInput] = total;
        onViewData();
    }

    // The what-if with the last time and the total typed in.
    static Text compute(const Text& lastTime, const Text& total) {
        fake::controls[Control::lastTimeInput] = lastTime;
        fake::controls[Control::totalInput] = total;
        onCompute();
        return fake::controls[Control::whatIfView];
    }
};

// The report of a complete run, line by line; the last line has no line break.
Text whatIf(const Text& count, const Text& kept, const Text& field, const Text& sum, const Text& remainder,
            const Text& result) {
    return "最后：" + count + "个用户的记录 + 最后一个输入时间\r\n\r\n求和：" + kept + " + [" + field +
           "]\r\n    = " + sum + "\r\n取余：" + remainder + "\r\n\r\n结果：" + result;
}

TEST_F(Compute, WorkedExampleSwapsTheEarliestRecordForTheTypedTime) {
    retrieve(kExampleRecords, "1000");
    EXPECT_EQ(compute("203100000", "1000"),
              "最后：2个用户的记录 + 最后一个输入时间\r\n\r\n"
              "求和：406163752 + [203100000]\r\n"
              "    = 609263752\r\n"
              "取余：752\r\n\r\n"
              "结果：10000753");
    EXPECT_TRUE(fake::messages.empty());
    EXPECT_EQ(timeSum, 609205751);
    EXPECT_EQ(earliestTail, "203041999");
}

TEST_F(Compute, BeforeAnyRetrievalItAsksForOneAndChangesNothing) {
    fake::controls[Control::whatIfView] = "typed by the user";
    EXPECT_EQ(compute("203100000", "1000"), "typed by the user");
    EXPECT_EQ(fake::messages, std::vector<Text>{"请先查看数据"});
}

TEST_F(Compute, FieldsAfterTheWorkedExample) {
    struct Case {
        const char* name;
        Text lastTime;
        Text total;
        Text report;
    };
    const std::vector<Case> cases{
        {"empty input counts as 0", "", "1000", whatIf("2", "406163752", "", "406163752", "752", "10000753")},
        {"separators: the leading digits count, the field shows as typed", "13:54:49.123", "1000",
         whatIf("2", "406163752", "13:54:49.123", "406163765", "765", "10000766")},
        {"a negative input makes the sum and the remainder negative", "-500000000", "1000",
         whatIf("2", "406163752", "-500000000", "-93836248", "-248", "9999753")},
        {"a negative total gives the remainder of its absolute value", "203100000", "-1000",
         whatIf("2", "406163752", "203100000", "609263752", "752", "10000753")},
        {"the smallest input", "-9223372036854775808", "1000",
         whatIf("2", "406163752", "-9223372036854775808", "-9223372036448612056", "-56", "9999945")},
        {"the smallest input by the smallest total", "-9223372036854775808", "-2147483648",
         whatIf("2", "406163752", "-9223372036854775808", "-9223372036448612056", "-1741319896",
                "-1731319895")},
        {"one past 2^53 stays exact", "9007199254334829241", "1000",
         whatIf("2", "406163752", "9007199254334829241", "9007199254740992993", "993", "10000994")},
    };
    retrieve(kExampleRecords, "1000");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake::messages.clear();
        fake::controls[Control::whatIfView] = "before";
        EXPECT_EQ(compute(c.lastTime, c.total), c.report);
        EXPECT_TRUE(fake::messages.empty());
    }
}

TEST_F(Compute, AroundTwoToThe53WithNothingKept) {
    // Two records: the earliest is the only one counted, so the what-if sum is the input value itself.
    struct Case {
        Text lastTime;
        Text remainder;
        Text result;
    };
    retrieve({"first", "2014-03-09 20:31:05.512"}, "1000");
    for (const Case& c :
         {Case{"9007199254740991", "991", "10000992"}, Case{"9007199254740992", "992", "10000993"},
          Case{"9007199254740993", "993", "10000994"}, Case{"9007199254740995", "995", "10000996"},
          Case{"-9007199254740993", "-993", "9999008"}, Case{"9223372036854775807", "807", "10000808"},
          Case{"-9223372036854775808", "-808", "9999193"}}) {
        SCOPED_TRACE(c.lastTime);
        EXPECT_EQ(compute(c.lastTime, "1000"),
                  whatIf("0", "0", c.lastTime, c.lastTime, c.remainder, c.result));
    }
    EXPECT_TRUE(fake::messages.empty());
}

TEST_F(Compute, ASumPastEitherEndOfThe64BitRangeIsRefused) {
    struct Case {
        std::vector<Text> records;
        Text lastTime;
    };
    // After the example the kept sum is 406163752; after a one-record retrieval that followed it,
    // -203041999. Each input is the first past the range.
    const std::vector<Text> one{"2014-03-09 20:31:07.001"};
    for (const Case& c :
         {Case{kExampleRecords, "9223372036854775807"}, Case{kExampleRecords, "9223372036448612056"},
          Case{one, "-9223372036854775808"}, Case{one, "-9223372036651733810"}}) {
        SCOPED_TRACE(c.lastTime);
        SetUp();
        retrieve(kExampleRecords, "1000");
        retrieve(c.records, "");
        fake::messages.clear();
        fake::controls[Control::whatIfView] = "before";
        EXPECT_EQ(compute(c.lastTime, "1000"), "before");
        EXPECT_EQ(fake::messages, std::vector<Text>{kOutOfRange});
    }
}

TEST_F(Compute, TheLastValuesInsideTheRangeStillCount) {
    retrieve(kExampleRecords, "1000");
    EXPECT_EQ(compute("9223372036448612055", "1000"),
              whatIf("2", "406163752", "9223372036448612055", "9223372036854775807", "807", "10000808"));
    SetUp();
    retrieve(kExampleRecords, "1000");
    retrieve({"2014-03-09 20:31:07.001"}, "");
    EXPECT_EQ(compute("-9223372036651733809", "1000"),
              whatIf("-1", "-203041999", "-9223372036651733809", "-9223372036854775808", "-808", "9999193"));
}

TEST_F(Compute, TwoRecordsKeepNothing) {
    retrieve({"2014-03-09 20:31:07.001", "2014-03-09 20:31:05.512"}, "1000");
    EXPECT_EQ(compute("203100000", "1000"), whatIf("0", "0", "203100000", "203100000", "0", "10000001"));
}

TEST_F(Compute, AfterAnEmptyTotalStopTheCountFallsBelowZero) {
    struct Case {
        const char* name;
        bool earlierExample;
        std::vector<Text> records;
        Text report;
    };
    const std::vector<Case> cases{
        {"one record, the example's earliest tail still held",
         true,
         {"2014-03-09 20:31:07.001"},
         whatIf("-1", "-203041999", "203100000", "58001", "1", "10000002")},
        {"no record, no earliest tail since start-up",
         false,
         {},
         whatIf("-2", "0", "203100000", "203100000", "0", "10000001")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        if (c.earlierExample) retrieve(kExampleRecords, "1000");
        if (c.records.empty()) {
            fake::controls[Control::totalInput] = "";
            onViewData();  // the fetch fails: no page is set up
        } else {
            retrieve(c.records, "");
        }
        ASSERT_EQ(fake::messages, std::vector<Text>{kTotalMissing});
        fake::messages.clear();
        EXPECT_EQ(compute("203100000", "1000"), c.report);
        EXPECT_TRUE(fake::messages.empty());
    }
}

TEST_F(Compute, ATotalThatReadsAsZeroStopsAfterTheSum) {
    retrieve(kExampleRecords, "1000");
    for (const Text total : {"", "0", "abc", "-0"}) {
        SCOPED_TRACE(total);
        fake::messages.clear();
        EXPECT_EQ(compute("203100000", total),
                  "最后：2个用户的记录 + 最后一个输入时间\r\n\r\n求和：406163752 + [203100000]\r\n    = "
                  "609263752\r\n");
        EXPECT_EQ(fake::messages, std::vector<Text>{kTotalMissing});
    }
}

TEST_F(Compute, ReplacesWhatTheUserTypedAndRepeatsItself) {
    retrieve(kExampleRecords, "1000");
    fake::controls[Control::whatIfView] = "notes typed\r\ninto the view";
    const Text first = compute("203100000", "1000");
    EXPECT_EQ(first, whatIf("2", "406163752", "203100000", "609263752", "752", "10000753"));
    EXPECT_EQ(compute("203100000", "1000"), first);
}

}  // namespace
