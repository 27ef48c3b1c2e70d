#pragma once

#include <cstdint>

#include "convert/text.h"
#include "textutil/extract_all_between.h"

// The index-th text of the record, counted from 1. An index outside the array is a fatal error
// (code 1), so this returns only when the text exists.
const Text& recordAt(const ExtractionResult& record, int32_t index);
