#pragma once

#include "convert/text.h"

// The loopback server of the Windows benchmark runs in a child process, so that its request log and its
// sockets never count in the measured process. "http://127.0.0.1:port", started on first use; the empty
// text in the child itself.
const Text& benchServerBase();

// The child's side: serves the data page, the time page and the probe until its standard input closes.
int serveBenchPages();

// Ends the child, if one was started.
void stopBenchServer();

// The time page's body and the data page that the server gives.
inline constexpr char kBenchTimeBody[] = "window.baidu_time(1394368267001);";
inline constexpr size_t kBenchRecords = 100;
