// The fast extractAllBetween against the plain Boost.Regex loop it stands in for: any markers, any
// exclusion text, any source text give the same pieces at the same offsets.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_input.h"
#include "textutil/extract_all_between.h"
#include "textutil/extract_all_between_reference.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto fields = splitFields(data, size, 4);
    if (fields[0].size() > 64 || fields[1].size() > 64 || fields[2].size() > 64) return -1;
    const ExtractionResult fast = extractAllBetween(fields[3], fields[0], fields[1], fields[2]);
    bool plainGaveUp = false;
    const ExtractionResult plain =
        extractAllBetweenReference(fields[3], fields[0], fields[1], fields[2], plainGaveUp);
    if (plainGaveUp) {
        // The plain loop stopped at the matcher's limits, which the fast path does not reach: what it found
        // must still be where the fast path's list begins.
        FUZZ_CHECK(plain.texts.size() <= fast.texts.size());
        FUZZ_CHECK(std::equal(plain.texts.begin(), plain.texts.end(), fast.texts.begin()));
        FUZZ_CHECK(std::equal(plain.offsets.begin(), plain.offsets.end(), fast.offsets.begin()));
        return 0;
    }
    FUZZ_CHECK(fast.texts == plain.texts);
    FUZZ_CHECK(fast.offsets == plain.offsets);
    return 0;
}
