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
constexpr char kTooFewRecords[] = "购买记录不足两条，无法计算";

// What an earlier retrieval left; a run that counts no record must keep it.
constexpr char kStaleDigits[] = "20140101111111111";
constexpr char kStaleTail[] = "111111111";

// Five counted records of 999999999 behind the uncounted first.
const std::vector<Text> kFiveNines{"first", "999999999", "999999999", "999999999", "999999999", "999999999"};

class ViewData : public HandlerTest {
  protected:
    // One retrieval of the page (none when the fetch is to fail) with the total typed in.
    static void retrieve(const std::vector<Text>* records, const Text& total) {
        if (records) fake::setPage(dataServerUrl, recordPage(*records));
        fake::controls[Control::totalInput] = total;
        onViewData();
    }
};

TEST_F(ViewData, WorkedExampleReportsEveryStepAndLeavesTheStateForTheWhatIf) {
    retrieve(&kExampleRecords, "1000");

    EXPECT_EQ(fake::controls[Control::recordView],
              "3个用户的记录：\r\n\r\n"
              "最后一位：203105512\r\n"
              "  ...\r\n"
              "最前一位：203041999\r\n\r\n"
              "求和：609205751\r\n\r\n"
              "取余：751\r\n\r\n"
              "结果：10000752\r\n\r\n");
    EXPECT_TRUE(fake::messages.empty());
    EXPECT_EQ(fake::fetched, std::vector<Text>{dataServerUrl});
    EXPECT_EQ(dataPageText, recordPage(kExampleRecords));
    EXPECT_EQ(timeRecords.texts, kExampleRecords);
    EXPECT_EQ(timeSum, 609205751);
    EXPECT_EQ(recordDigits, "20140309203041999");
    EXPECT_EQ(earliestTail, "203041999");
}

TEST_F(ViewData, EdgeCasesOfThePageAndTheTotal) {
    struct Case {
        const char* name;
        bool fetched;
        std::vector<Text> records;
        Text total;
        Text report;
        std::vector<Text> messages;
        int64_t sum;
        Text digits;
        Text tail;
    };
    const Text exampleUpToTheSum =
        "3个用户的记录：\r\n\r\n最后一位：203105512\r\n  "
        "...\r\n最前一位：203041999\r\n\r\n求和：609205751\r\n\r\n";
    const std::vector<Case> cases{
        {"fetch failed",
         false,
         {},
         "1000",
         "-1个用户的记录：\r\n\r\n",
         {kTooFewRecords},
         0,
         kStaleDigits,
         kStaleTail},
        {"fetch failed, empty total",
         false,
         {},
         "",
         "-1个用户的记录：\r\n\r\n",
         {kTotalMissing},
         0,
         kStaleDigits,
         kStaleTail},
        {"one record",
         true,
         {"2014-03-09 20:31:07.001"},
         "1000",
         "0个用户的记录：\r\n\r\n",
         {kTooFewRecords},
         0,
         kStaleDigits,
         kStaleTail},
        {"one record, empty total",
         true,
         {"2014-03-09 20:31:07.001"},
         "",
         "0个用户的记录：\r\n\r\n",
         {kTotalMissing},
         0,
         kStaleDigits,
         kStaleTail},
        {"two records: latest and earliest are record 2",
         true,
         {"2014-03-09 20:31:07.001", "2014-03-09 20:31:05.512"},
         "1000",
         fullReport("1", "203105512", "203105512", "203105512", "512", "10000513"),
         {},
         203105512,
         "20140309203105512",
         "203105512"},
        {"empty total: the count line only, the state already new",
         true,
         kExampleRecords,
         "",
         "3个用户的记录：\r\n\r\n",
         {kTotalMissing},
         609205751,
         "20140309203041999",
         "203041999"},
        {"negative total gives the remainder of its absolute value",
         true,
         kExampleRecords,
         "-1000",
         fullReport("3", "203105512", "203041999", "609205751", "751", "10000752"),
         {},
         609205751,
         "20140309203041999",
         "203041999"},
        {"fewer than nine digits count all; none add 0 and leave the earliest tail empty",
         true,
         {"first", "12:34", "no digits at all"},
         "1000",
         fullReport("2", "1234", "", "1234", "234", "10000235"),
         {},
         1234,
         "",
         ""},
        {"leading zeros are shown and do not count",
         true,
         {"first", "2014-03-09 00:00:01.234"},
         "1000",
         fullReport("1", "000001234", "000001234", "1234", "234", "10000235"),
         {},
         1234,
         "20140309000001234",
         "000001234"},
        {"sums above 2^31 print in full",
         true,
         kFiveNines,
         "1000",
         fullReport("5", "999999999", "999999999", "4999999995", "995", "10000996"),
         {},
         4999999995,
         "999999999",
         "999999999"},
        {"the largest total",
         true,
         kFiveNines,
         "2147483647",
         fullReport("5", "999999999", "999999999", "4999999995", "705032701", "715032702"),
         {},
         4999999995,
         "999999999",
         "999999999"},
        {"the smallest total, whose absolute value has no 32-bit form",
         true,
         kFiveNines,
         "-2147483648",
         fullReport("5", "999999999", "999999999", "4999999995", "705032699", "715032700"),
         {},
         4999999995,
         "999999999",
         "999999999"},
        {"a total of 0 stops after the sum",
         true,
         kExampleRecords,
         "0",
         exampleUpToTheSum,
         {kTotalMissing},
         609205751,
         "20140309203041999",
         "203041999"},
        {"a total of letters stops after the sum",
         true,
         kExampleRecords,
         "abc",
         exampleUpToTheSum,
         {kTotalMissing},
         609205751,
         "20140309203041999",
         "203041999"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        recordDigits = kStaleDigits;
        earliestTail = kStaleTail;
        timeSum = 77;
        fake::controls[Control::recordView] = "an earlier report";
        retrieve(c.fetched ? &c.records : nullptr, c.total);
        EXPECT_EQ(fake::controls[Control::recordView], c.report);
        EXPECT_EQ(fake::messages, c.messages);
        EXPECT_EQ(timeSum, c.sum);
        EXPECT_EQ(recordDigits, c.digits);
        EXPECT_EQ(earliestTail, c.tail);
    }
}

TEST_F(ViewData, APageWithoutTheStartMarkerHasNoRecords) {
    fake::setPage(dataServerUrl, "<html><li class=\"name\">2014-03-09 20:31:07.001</li></html>");
    fake::controls[Control::totalInput] = "1000";
    onViewData();
    EXPECT_EQ(fake::controls[Control::recordView], "-1个用户的记录：\r\n\r\n");
    EXPECT_EQ(fake::messages, std::vector<Text>{kTooFewRecords});
    EXPECT_TRUE(timeRecords.texts.empty());
    EXPECT_EQ(timeSum, 0);
}

TEST_F(ViewData, TwoRunsOnAnUnchangedPageGiveTheSameReportAndState) {
    retrieve(&kExampleRecords, "1000");
    const Text first = fake::controls[Control::recordView];
    retrieve(&kExampleRecords, "1000");
    EXPECT_EQ(fake::controls[Control::recordView], first);
    EXPECT_EQ(timeSum, 609205751);
    EXPECT_EQ(fake::fetched.size(), 2u);
}

TEST_F(ViewData, EachRunReplacesThePageAndTheRecordsOfTheLast) {
    retrieve(&kExampleRecords, "1000");
    const std::vector<Text> later{"2014-03-09 21:00:00.000", "2014-03-09 20:59:59.999"};
    retrieve(&later, "1000");
    EXPECT_EQ(dataPageText, recordPage(later));
    EXPECT_EQ(timeRecords.texts, later);
    EXPECT_EQ(timeSum, 205959999);
    EXPECT_EQ(earliestTail, "205959999");
}

TEST_F(ViewData, AnotherRunWhileTheTotalMessageIsOpenIsNotSpoiltByTheFirst) {
    // The clock may start a retrieval while the first run's message box is open; the first run then writes
    // nothing more once its box closes.
    fake::setPage(dataServerUrl, recordPage(kExampleRecords));
    fake::whileMessageBoxOpen = [](const Text&) {
        fake::whileMessageBoxOpen = nullptr;
        fake::controls[Control::totalInput] = "1000";
        onViewData();
    };
    onViewData();
    EXPECT_EQ(fake::messages, std::vector<Text>{kTotalMissing});
    EXPECT_EQ(fake::controls[Control::recordView],
              fullReport("3", "203105512", "203041999", "609205751", "751", "10000752"));
}

}  // namespace
