#include "net/fetch.h"
#include "net/internet_handle.h"
#include "net/urls.h"

bool isInternetConnected() {
    DWORD state = 0;
    if (!InternetGetConnectedState(&state, 0)) return false;
    // A fresh session of its own, so that the answer does not depend on the fetches' session.
    InternetHandle session{InternetOpenA("test", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0)};
    if (!session) return false;
    setTimeouts(session.get());
    InternetHandle page{InternetOpenUrlA(session.get(), probeUrl.c_str(), nullptr, 0,
                                         INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0)};
    return page != nullptr;
}
