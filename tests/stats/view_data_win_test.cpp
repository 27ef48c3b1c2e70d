// The retrieval on Windows: the real fetchPage over WinINet and the automation object behind keepDigits,
// against a data server on loopback. The window is the recording one of the fakes.
#include <objbase.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/globals.h"
#include "fakes/fake_ui.h"
#include "net/urls.h"
#include "stats/handlers.h"
#include "stats/record_page.h"
#include "support/loopback_server.h"

namespace {

// The program initialises OLE on its thread at start; the automation object needs it.
class OleEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
    void TearDown() override { OleUninitialize(); }
};
::testing::Environment* const ole = ::testing::AddGlobalTestEnvironment(new OleEnvironment);

std::unique_ptr<LoopbackServer> dataServer = std::make_unique<LoopbackServer>(
    [](const HttpRequest&) { return LoopbackServer::reply("", "404 Not Found"); });

}  // namespace

const Text dataServerUrl = dataServer->url("/");
const Text timePageUrl = dataServer->url("/special/time/");
const Text probeUrl = dataServer->url("/probe/");

namespace {

class ViewDataOnWindows : public ::testing::Test {
  protected:
    void SetUp() override {
        fake::resetUi();
        initGlobals();
    }

    void serve(const HttpReply& reply) {
        dataServer->setHandler([reply](const HttpRequest&) { return reply; });
    }
};

TEST_F(ViewDataOnWindows, WorkedExampleFromALoopbackDataServer) {
    serve(LoopbackServer::reply(recordPage(kExampleRecords)));
    const size_t before = dataServer->requests().size();
    fake::controls[Control::totalInput] = "1000";
    onViewData();

    EXPECT_EQ(fake::controls[Control::recordView],
              "3个用户的记录：\r\n\r\n最后一位：203105512\r\n  ...\r\n最前一位：203041999\r\n\r\n"
              "求和：609205751\r\n\r\n取余：751\r\n\r\n结果：10000752\r\n\r\n");
    EXPECT_TRUE(fake::messages.empty());
    EXPECT_EQ(timeSum, 609205751);
    EXPECT_EQ(recordDigits, "20140309203041999");
    EXPECT_EQ(earliestTail, "203041999");
    const auto requests = dataServer->requests();
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
              "2个用户的记录：\r\n\r\n最后一位：203105512\r\n  ...\r\n最前一位：203041999\r\n\r\n"
              "求和：406147511\r\n\r\n取余：511\r\n\r\n结果：10000512\r\n\r\n");
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
