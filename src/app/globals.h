#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "convert/text.h"
#include "textutil/extract_all_between.h"

// The state kept between events. The retrieval replaces the first five, the what-if reads them,
// the loading-animation start-up fills the last two.
extern Text dataPageText;
extern ExtractionResult timeRecords;
extern int64_t timeSum;
extern Text recordDigits;
extern Text earliestTail;
extern std::unique_ptr<std::array<unsigned char, 16>> timeDimensionId;
extern uintptr_t gdiplusToken;

// Makes the state the program starts with.
void initGlobals();

// The exit routine of a normal shut-down: releases the texts, the records and the identifier buffer.
void releaseGlobals();
