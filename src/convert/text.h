#pragma once

#include <string>
#include <vector>

// A text is a byte string; the program's own texts are GBK (code page 936). Lengths and positions count
// bytes.
using Text = std::string;

// The raw bytes of a response body.
using Bytes = std::vector<char>;
