#pragma once

#include "convert/text.h"

// A blocking HTTP GET on the calling thread: the whole body whatever the status, empty bytes when the URL
// is empty or cannot be split or when anything fails before the first byte, the bytes so far when a read
// fails partway. Connecting, sending and each read give up after kFetchTimeoutMs.
Bytes fetchPage(const Text& url);

// True only when the system reports a connection and the probe page can be opened.
bool isInternetConnected();

// A stalled server must not freeze the window for ever.
inline constexpr unsigned long kFetchTimeoutMs = 10000;
