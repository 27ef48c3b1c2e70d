#pragma once

#include <map>
#include <vector>

#include "convert/text.h"

namespace fake {

// The body each URL answers with; a URL without an entry fails (no bytes).
inline std::map<Text, Bytes> pages;
inline bool connected = true;
// Every URL fetched, in order.
inline std::vector<Text> fetched;

void resetNet();
void setPage(const Text& url, const Text& body);

}  // namespace fake
