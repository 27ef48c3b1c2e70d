#include "fakes/fake_net.h"

#include "net/fetch.h"

namespace fake {

void resetNet() {
    pages.clear();
    connected = true;
    fetched.clear();
}

void setPage(const Text& url, const Text& body) {
    pages[url] = Bytes(body.begin(), body.end());
}

}  // namespace fake

Bytes fetchPage(const Text& url) {
    fake::fetched.push_back(url);
    const auto page = fake::pages.find(url);
    return page == fake::pages.end() ? Bytes{} : page->second;
}

bool isInternetConnected() {
    return fake::connected;
}
