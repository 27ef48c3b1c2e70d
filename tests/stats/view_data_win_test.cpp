// The retrieval on Windows: the real fetchPage over WinINet and the automation object behind keepDigits,
// against a data server on loopback. The window is the recording one of the fakes.
#include <gtest/gtest.h>

#include <vector>

#include "app/globals.h"
#include "fakes/fake_ui.h"
#include "stats/handlers.h"
#include "stats/loopback_urls.h"
#include "stats/record_page.h"

namespace {

class ViewDataOnWindows : public ::testing::Test {
  protected:
    void SetUp() override {
        fake::resetUi();
        initGlobals();
    }

    void serve(const HttpReply& reply) {
        loopbackServer().setHandler([reply](const HttpRequest&) { return reply; });
    }
};

TEST_F(ViewDataOnWindows, WorkedExampleFromALoopbackDataServer) {
    serve(LoopbackServer::reply(recordPage(kExampleRecords)));
    const size_t before = loopbackServer().requests().size();
    fake::controls[Control::totalInput] = "1000";
    onViewData();

    EXPECT_EQ(fake::controls[Control::recordView],
              fullReport("3", "203105512", "203041999", "609205751", "751", "10000752"));
    EXPECT_TRUE(fake::messages.empty());
    EXPECT_EQ(timeSum, 609205751);
    EXPECT_EQ(recordDigits, "20140309203041999");
    EXPECT_EQ(earliestTail, "203041999");
    const auto requests = loopbackServer().requests();
    ASSERT_EQ(requests.size(), before + 1);
    EXPECT_EQ(requests.back().requestLine, "GET / HTTP/1.0");
}

TEST_F(ViewDataOnWindows, RecordsWrittenInChineseKeepOnlyTheirAsciiDigits) {
    serve(LoopbackServer::reply("<title>最新购买记录</title>" +
                                recordPage({"2014年03月09日 20:31:07.001", "2014年03月09日 20时31分05秒512",
                                            "时间：２０１４年 2014-03-09 20:30:41.999（北京）"})));
    fake::controls[Control::totalInput] = "1000";
    onViewData();

    EXPECT_EQ(fake::controls[Control::recordView],
              fullReport("2", "203105512", "203041999", "406147511", "511", "10000512"));
    EXPECT_EQ(recordDigits, "20140309203041999");
}

TEST_F(ViewDataOnWindows, AConnectionResetBeforeAnyByteLeavesNoRecords) {
    HttpReply reset;
    reset.mode = ReplyMode::resetAfter;
    serve(reset);
    earliestTail = "111111111";
    fake::controls[Control::totalInput] = "1000";
    onViewData();

    EXPECT_EQ(fake::controls[Control::recordView], "-1个用户的记录：\r\n\r\n");
    EXPECT_EQ(fake::messages, std::vector<Text>{"购买记录不足两条，无法计算"});
    EXPECT_EQ(timeSum, 0);
    EXPECT_EQ(earliestTail, "111111111");
}

}  // namespace
