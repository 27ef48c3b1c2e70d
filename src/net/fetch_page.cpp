#include "net/fetch.h"

#include <algorithm>
#include <array>

#include "net/internet_handle.h"

namespace {

constexpr char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr DWORD kReadChunk = 64 * 1024;
// Redirects are followed here rather than by WinINet, which under Wine follows a loop for ever.
constexpr int kMaxRedirects = 10;

// One session serves the whole process; it is opened on the first fetch.
HINTERNET session() {
    static InternetHandle handle{
        InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0)};
    return handle.get();
}

struct SplitUrl {
    bool ok = false;
    INTERNET_SCHEME scheme = INTERNET_SCHEME_HTTP;
    Text host;
    INTERNET_PORT port = 0;
    Text path;
};

SplitUrl splitUrl(const Text& url) {
    SplitUrl split;
    DWORD size = static_cast<DWORD>(url.size() * 3 + 64);
    Text canonical(size, '\0');
    if (!InternetCanonicalizeUrlA(url.c_str(), canonical.data(), &size, 0)) return split;
    canonical.resize(size);

    URL_COMPONENTSA parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = 1;  // non-zero lengths ask for pointers into the URL
    parts.dwUrlPathLength = 1;
    parts.dwExtraInfoLength = 1;
    if (!InternetCrackUrlA(canonical.c_str(), static_cast<DWORD>(canonical.size()), 0, &parts)) return split;
    if (parts.dwHostNameLength == 0) return split;

    split.scheme = parts.nScheme;
    split.host.assign(parts.lpszHostName, parts.dwHostNameLength);
    split.port = parts.nPort;
    if (parts.lpszUrlPath) split.path.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
    if (parts.lpszExtraInfo) split.path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    split.path = split.path.substr(0, split.path.find('#'));
    if (split.path.empty()) split.path = "/";
    split.ok = true;
    return split;
}

}  // namespace

void setTimeouts(HINTERNET handle) {
    DWORD timeout = kFetchTimeoutMs;
    for (DWORD option :
         {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT})
        InternetSetOptionA(handle, option, &timeout, sizeof timeout);
}

namespace {

// One GET of url. A redirect leaves its target, resolved against url, in redirectTo and gives no bytes.
Bytes fetchOnce(const Text& url, Text& redirectTo) {
    redirectTo.clear();
    const SplitUrl split = splitUrl(url);
    if (!split.ok || !session()) return {};

    setTimeouts(session());
    InternetHandle connection{InternetConnectA(session(), split.host.c_str(), split.port, nullptr, nullptr,
                                               INTERNET_SERVICE_HTTP, 0, 0)};
    if (!connection) return {};
    setTimeouts(connection.get());

    LPCSTR acceptTypes[] = {"*/*", nullptr};
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_AUTO_REDIRECT;
    if (split.scheme == INTERNET_SCHEME_HTTPS) flags |= INTERNET_FLAG_SECURE;
    InternetHandle request{HttpOpenRequestA(connection.get(), "GET", split.path.c_str(), "HTTP/1.0", nullptr,
                                            acceptTypes, flags, 0)};
    if (!request) return {};
    setTimeouts(request.get());
    if (!HttpSendRequestA(request.get(), nullptr, 0, nullptr, 0)) return {};

    DWORD status = 0;
    DWORD statusSize = sizeof status;
    if (HttpQueryInfoA(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &statusSize,
                       nullptr) &&
        status >= 300 && status < 400) {
        std::array<char, 2048> location{};
        DWORD locationSize = static_cast<DWORD>(location.size());
        if (HttpQueryInfoA(request.get(), HTTP_QUERY_LOCATION, location.data(), &locationSize, nullptr)) {
            std::array<char, 2048> target{};
            DWORD targetSize = static_cast<DWORD>(target.size());
            if (InternetCombineUrlA(url.c_str(), location.data(), target.data(), &targetSize, 0)) {
                redirectTo.assign(target.data(), targetSize);
                return {};
            }
        }
    }

    // Read what has arrived, a piece at a time, so that a connection lost partway keeps the bytes so far.
    Bytes body;
    std::array<char, kReadChunk> chunk;
    DWORD available = 0;
    while (InternetQueryDataAvailable(request.get(), &available, 0, 0) && available > 0) {
        DWORD read = 0;
        const bool ok = InternetReadFile(request.get(), chunk.data(), std::min(available, kReadChunk), &read);
        body.insert(body.end(), chunk.begin(), chunk.begin() + read);
        if (!ok || read == 0) break;
    }
    return body;
}

}  // namespace

Bytes fetchPage(const Text& url) {
    if (url.empty()) return {};
    Text current = url;
    for (int hop = 0; hop <= kMaxRedirects; ++hop) {
        Text next;
        Bytes body = fetchOnce(current, next);
        if (next.empty()) return body;
        current = next;
    }
    // A redirect loop, or a chain too long to be anything else: no page.
    return {};
}
