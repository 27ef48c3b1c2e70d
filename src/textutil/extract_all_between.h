#pragma once

#include <cstdint>
#include <vector>

#include "convert/text.h"

// Every piece found between the markers, in order, with the 0-based byte offset at which it begins.
// A default one (the state before the first retrieval) holds one empty text and the offset 0.
struct ExtractionResult {
    std::vector<Text> texts{Text{}};
    std::vector<int32_t> offsets{0};
};

// Every piece of sourceText between leftMarker and rightMarker, excluding pieces inside which
// exclusionText begins. Empty markers mean the text's own first or last character. Never fails:
// a pattern that cannot be compiled gives two empty arrays.
ExtractionResult extractAllBetween(const Text& sourceText, const Text& leftMarker = {},
                                   const Text& rightMarker = {}, const Text& exclusionText = {});
