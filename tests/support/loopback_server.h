#pragma once

#include <winsock2.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "convert/text.h"

// What the server received: the request line, each header line, and the whole raw request.
struct HttpRequest {
    Text requestLine;
    std::vector<Text> headers;
    Text raw;
    Text path;  // the request target of the request line
};

enum class ReplyMode {
    send,        // send the bytes, then close
    stall,       // read the request and answer nothing until the server stops
    resetAfter,  // send the first resetAfterBytes bytes, then reset the connection
    drip,        // send dripBytes bytes every dripInterval, then close
};

struct HttpReply {
    Text bytes;
    ReplyMode mode = ReplyMode::send;
    size_t resetAfterBytes = 0;
    std::chrono::milliseconds stallFor{60000};  // how long a stall holds the connection at most
    size_t dripBytes = 1;
    std::chrono::milliseconds dripInterval{50};
};

// An HTTP server on 127.0.0.1 inside the test process, serving one connection at a time from a thread of
// its own. The handler decides each reply; the destructor stops the thread and closes every socket.
class LoopbackServer {
  public:
    using Handler = std::function<HttpReply(const HttpRequest&)>;

    explicit LoopbackServer(Handler handler, uint16_t port = 0);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    uint16_t port() const { return port_; }
    Text url(const Text& path = "/") const;
    std::vector<HttpRequest> requests() const;
    // Forgets the requests received so far, so that a long run does not grow the log without end.
    void clearRequests();
    void setHandler(Handler handler);

    // A complete response with a status line, a Content-Length and the body.
    static HttpReply reply(const Text& body, const Text& status = "200 OK", const Text& extraHeaders = "");
    // A loopback port that nothing listens on: connections to it are refused.
    static uint16_t closedPort();

  private:
    void serve();
    void answer(SOCKET client);
    bool stopping() const { return stop_.load(); }

    SOCKET listener_ = INVALID_SOCKET;
    uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    Handler handler_;
    std::vector<HttpRequest> requests_;
    std::thread thread_;
};
