#include "app/globals.h"

Text dataPageText;
ExtractionResult timeRecords;
int64_t timeSum = 0;
Text recordDigits;
Text earliestTail;
std::unique_ptr<std::array<unsigned char, 16>> timeDimensionId;
uintptr_t gdiplusToken = 0;

void initGlobals() {
    dataPageText.clear();
    timeRecords = ExtractionResult{};
    timeSum = 0;
    recordDigits.clear();
    earliestTail.clear();
    timeDimensionId.reset();
    gdiplusToken = 0;
}

void releaseGlobals() {
    Text().swap(dataPageText);
    ExtractionResult released{{}, {}};
    std::swap(timeRecords, released);
    Text().swap(recordDigits);
    Text().swap(earliestTail);
    timeDimensionId.reset();
}
