#include "stats/loopback_urls.h"

#include <objbase.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <memory>

#include "net/urls.h"

namespace {

class OleEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
    void TearDown() override { OleUninitialize(); }
};
::testing::Environment* const ole = ::testing::AddGlobalTestEnvironment(new OleEnvironment);

// Made before the URLs below, which are built from its port.
std::unique_ptr<LoopbackServer> server = std::make_unique<LoopbackServer>(
    [](const HttpRequest&) { return LoopbackServer::reply("", "404 Not Found"); });

}  // namespace

const Text dataServerUrl = server->url("/");
const Text timePageUrl = server->url("/special/time/");
const Text probeUrl = server->url("/probe/");

LoopbackServer& loopbackServer() {
    return *server;
}
