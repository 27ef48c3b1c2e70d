#pragma once

#include <cstdint>

#include "convert/text.h"

// A marker may hold this placeholder; it stands for a double quote.
inline constexpr char kQuotePlaceholder[] = "#引号";

// The first piece between leftMarker and the next rightMarker after it, by plain search from startPosition
// (1-based; 0 or 1 mean the first byte). The placeholder in a marker is rewritten in the caller's variable.
// The empty text when either marker is missing.
Text extractBetween(const Text& sourceText, Text& leftMarker, Text& rightMarker, int32_t startPosition = 0,
                    bool caseSensitive = false);
