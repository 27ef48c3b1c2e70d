#include "support/loopback_server.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <chrono>

namespace {

constexpr auto kPoll = std::chrono::milliseconds(20);
constexpr size_t kMaxRequest = 64 * 1024;

struct WinsockUser {
    WinsockUser() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~WinsockUser() { WSACleanup(); }
};

void ensureWinsock() {
    static WinsockUser user;
}

// Waits up to kPoll for the socket to become readable.
bool readable(SOCKET socket) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(socket, &set);
    timeval wait{0, static_cast<long>(std::chrono::microseconds(kPoll).count())};
    return select(0, &set, nullptr, nullptr, &wait) > 0;
}

SOCKET listenOn(uint16_t port, uint16_t& bound) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return s;
    if (port != 0) {
        // A fixed port is bound again and again by one test run; closed connections must not block it.
        const BOOL reuse = TRUE;
        setsockopt(s, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse), sizeof reuse);
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    int length = sizeof address;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(s, 16) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        closesocket(s);
        return INVALID_SOCKET;
    }
    bound = ntohs(address.sin_port);
    return s;
}

HttpRequest parse(const Text& raw) {
    HttpRequest request;
    request.raw = raw;
    size_t start = 0;
    for (bool first = true;; first = false) {
        const size_t end = raw.find("\r\n", start);
        if (end == Text::npos || end == start) break;
        const Text line = raw.substr(start, end - start);
        if (first) {
            request.requestLine = line;
        } else {
            request.headers.push_back(line);
        }
        start = end + 2;
    }
    const size_t space = request.requestLine.find(' ');
    if (space != Text::npos) {
        const size_t second = request.requestLine.find(' ', space + 1);
        request.path =
            request.requestLine.substr(space + 1, second == Text::npos ? Text::npos : second - space - 1);
    }
    return request;
}

}  // namespace

LoopbackServer::LoopbackServer(Handler handler, uint16_t port) : handler_(std::move(handler)) {
    ensureWinsock();
    listener_ = listenOn(port, port_);
    if (listener_ != INVALID_SOCKET) thread_ = std::thread([this] { serve(); });
}

LoopbackServer::~LoopbackServer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (listener_ != INVALID_SOCKET) closesocket(listener_);
}

Text LoopbackServer::url(const Text& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<HttpRequest> LoopbackServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void LoopbackServer::clearRequests() {
    std::lock_guard lock(mutex_);
    std::vector<HttpRequest>().swap(requests_);
}

void LoopbackServer::setHandler(Handler handler) {
    std::lock_guard lock(mutex_);
    handler_ = std::move(handler);
}

HttpReply LoopbackServer::reply(const Text& body, const Text& status, const Text& extraHeaders) {
    return {"HTTP/1.0 " + status + "\r\nContent-Type: text/html\r\nContent-Length: " +
            std::to_string(body.size()) + "\r\nConnection: close\r\n" + extraHeaders + "\r\n" + body};
}

uint16_t LoopbackServer::closedPort() {
    ensureWinsock();
    uint16_t port = 0;
    const SOCKET s = listenOn(0, port);
    closesocket(s);
    return port;
}

void LoopbackServer::serve() {
    while (!stopping()) {
        if (!readable(listener_)) continue;
        const SOCKET client = accept(listener_, nullptr, nullptr);
        if (client == INVALID_SOCKET) continue;
        answer(client);
        closesocket(client);
    }
}

void LoopbackServer::answer(SOCKET client) {
    Text raw;
    char buffer[4096];
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (raw.find("\r\n\r\n") == Text::npos && raw.size() < kMaxRequest && !stopping() &&
           std::chrono::steady_clock::now() < deadline) {
        if (!readable(client)) continue;
        const int got = recv(client, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        raw.append(buffer, static_cast<size_t>(got));
    }
    const HttpRequest request = parse(raw);
    HttpReply reply;
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
        reply = handler_(request);
    }

    if (reply.mode == ReplyMode::stall) {
        const auto until = std::chrono::steady_clock::now() + reply.stallFor;
        while (!stopping() && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(kPoll);
        return;
    }
    const size_t count = reply.mode == ReplyMode::resetAfter
                             ? std::min(reply.resetAfterBytes, reply.bytes.size())
                             : reply.bytes.size();
    const size_t piece = reply.mode == ReplyMode::drip ? std::max<size_t>(reply.dripBytes, 1) : count;
    for (size_t sent = 0; sent < count && !stopping();) {
        if (reply.mode == ReplyMode::drip && sent > 0) std::this_thread::sleep_for(reply.dripInterval);
        const int n =
            send(client, reply.bytes.data() + sent, static_cast<int>(std::min(piece, count - sent)), 0);
        if (n <= 0) break;
        sent += static_cast<size_t>(n);
    }
    if (reply.mode == ReplyMode::resetAfter) {
        // Give the client time to read what was sent, so that only the rest is lost to the reset.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        // A zero linger time makes closesocket send a reset instead of an orderly end.
        const linger abort{1, 0};
        setsockopt(client, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort), sizeof abort);
        return;
    }
    shutdown(client, SD_SEND);
    // Let the client read everything before the socket goes away.
    const auto drain = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!stopping() && std::chrono::steady_clock::now() < drain) {
        if (!readable(client)) continue;
        if (recv(client, buffer, sizeof buffer, 0) <= 0) break;
    }
}
