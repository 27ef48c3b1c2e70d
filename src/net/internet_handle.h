#pragma once

#include <windows.h>
#include <wininet.h>

#include <memory>

struct InternetCloser {
    void operator()(HINTERNET handle) const { InternetCloseHandle(handle); }
};
using InternetHandle = std::unique_ptr<void, InternetCloser>;

// Connecting, sending and receiving all give up after the same time.
void setTimeouts(HINTERNET handle);
