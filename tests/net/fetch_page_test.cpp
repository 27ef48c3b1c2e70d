#include "net/fetch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>

#include "net/bytes_to_text.h"
#include "net/urls.h"
#include "support/loopback_server.h"

namespace {

// The probe page lives on a server of its own, which a test stops to take the probe away.
std::unique_ptr<LoopbackServer> probeServer =
    std::make_unique<LoopbackServer>([](const HttpRequest&) { return LoopbackServer::reply("probe"); });

Text bodyOf(const Bytes& bytes) {
    return Text(bytes.begin(), bytes.end());
}

bool hasHeader(const HttpRequest& request, const Text& line) {
    return std::find(request.headers.begin(), request.headers.end(), line) != request.headers.end();
}

}  // namespace

const Text dataServerUrl = "http://127.0.0.1:9/";
const Text timePageUrl = "http://127.0.0.1:9/special/time/";
const Text probeUrl = probeServer->url("/");

namespace {

TEST(FetchPage, SendsAPlainHttp10GetOfThePathWithoutTheFragment) {
    LoopbackServer server([](const HttpRequest&) { return LoopbackServer::reply("ok"); });
    EXPECT_EQ(bodyOf(fetchPage(server.url("/special/time/?x=1#top"))), "ok");
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].requestLine, "GET /special/time/?x=1 HTTP/1.0");
    EXPECT_TRUE(hasHeader(requests[0], "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)"))
        << requests[0].raw;
    EXPECT_TRUE(hasHeader(requests[0], "Accept: */*")) << requests[0].raw;
}

TEST(FetchPage, ReturnsTheBodyWhateverTheStatus) {
    struct Case {
        Text status;
        Text body;
    };
    for (const Case& c : {Case{"200 OK", "<li class=\"time\">1</li>"}, Case{"404 Not Found", "no such page"},
                          Case{"500 Internal Server Error", "broken"}, Case{"200 OK", ""}}) {
        SCOPED_TRACE(c.status);
        LoopbackServer server([&](const HttpRequest&) { return LoopbackServer::reply(c.body, c.status); });
        EXPECT_EQ(bodyOf(fetchPage(server.url("/"))), c.body);
    }
}

TEST(FetchPage, KeepsEveryByteOfABinaryBodyAndTheTextStopsAtZero) {
    const Text body("ab\0cd\xFF\x80", 7);
    LoopbackServer server([&](const HttpRequest&) { return LoopbackServer::reply(body); });
    const Bytes bytes = fetchPage(server.url("/"));
    EXPECT_EQ(bodyOf(bytes), body);
    EXPECT_EQ(bytesToText(bytes), "ab");
}

TEST(FetchPage, ReadsAWholeLargeBody) {
    const Text body(3 * 1024 * 1024 + 17, 'x');
    LoopbackServer server([&](const HttpRequest&) { return LoopbackServer::reply(body); });
    EXPECT_EQ(fetchPage(server.url("/")).size(), body.size());
}

TEST(FetchPage, FollowsARedirect) {
    LoopbackServer server([](const HttpRequest& request) {
        if (request.path == "/moved") return LoopbackServer::reply("arrived");
        return LoopbackServer::reply("", "302 Found", "Location: /moved\r\n");
    });
    EXPECT_EQ(bodyOf(fetchPage(server.url("/"))), "arrived");
}

TEST(FetchPage, GivesNoBytesForARedirectLoopInsteadOfFollowingItForEver) {
    LoopbackServer server([](const HttpRequest&) {
        return LoopbackServer::reply("moved", "302 Found", "Location: /again\r\n");
    });
    EXPECT_TRUE(fetchPage(server.url("/")).empty());
    const size_t requests = server.requests().size();
    EXPECT_GE(requests, 2u);
    EXPECT_LE(requests, 20u);
}

TEST(FetchPage, GivesNoBytesWhenNothingArrives) {
    EXPECT_TRUE(fetchPage("http://127.0.0.1:" + std::to_string(LoopbackServer::closedPort()) + "/").empty());
}

TEST(FetchPage, GivesTheBytesSoFarWhenTheConnectionIsResetPartway) {
    const HttpReply full = LoopbackServer::reply(Text(1000, 'a') + Text(1000, 'b'));
    LoopbackServer server([&](const HttpRequest&) {
        return HttpReply{full.bytes, ReplyMode::resetAfter, full.bytes.size() - 1000};
    });
    EXPECT_EQ(bodyOf(fetchPage(server.url("/"))), Text(1000, 'a'));
}

TEST(FetchPage, GivesUpOnAStalledServerAfterTheTimeOut) {
    LoopbackServer server([](const HttpRequest&) { return HttpReply{"", ReplyMode::stall}; });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(fetchPage(server.url("/")).empty());
    // Returning at all is the point; the bound only catches a fetch that waits without end.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(3 * kFetchTimeoutMs));
}

TEST(FetchPage, MakesNoRequestForAnEmptyOrUnsplittableUrl) {
    LoopbackServer server([](const HttpRequest&) { return LoopbackServer::reply("never"); });
    for (const Text url : {"", "not a url", "http://", "127.0.0.1/"}) {
        SCOPED_TRACE(url);
        EXPECT_TRUE(fetchPage(url).empty());
    }
    EXPECT_TRUE(server.requests().empty());
}

TEST(IsInternetConnected, OpensTheProbeAndFailsOnceItIsGone) {
    EXPECT_TRUE(isInternetConnected());
    const auto requests = probeServer->requests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.back().requestLine.substr(0, 6), "GET / ");
    EXPECT_TRUE(hasHeader(requests.back(), "User-Agent: test")) << requests.back().raw;

    probeServer.reset();
    EXPECT_FALSE(isInternetConnected());
}

}  // namespace
