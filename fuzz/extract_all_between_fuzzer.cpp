// extractAllBetween against a plain search of the same promise, for markers that hold only ASCII bytes:
// every piece is preceded by the left marker inside the rest being searched, ends at the first right marker
// after it, and the leftmost such piece wins; no byte between the markers begins the exclusion text. For any
// markers, the pieces lie in the text where their offsets
// say, in order and without overlap.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_input.h"
#include "textutil/extract_all_between.h"

namespace {

bool asciiOnly(const Text& text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

bool holdsAt(const Text& text, size_t at, const Text& part) {
    return at + part.size() <= text.size() && text.compare(at, part.size(), part) == 0;
}

// The pieces by plain search, for two non-empty markers and no exclusion text.
ExtractionResult plainSearch(const Text& source, const Text& left, const Text& right) {
    ExtractionResult result{{}, {}};
    size_t rest = 0;
    for (;;) {
        bool found = false;
        for (size_t start = rest + left.size(); start <= source.size() && !found; ++start) {
            if (!holdsAt(source, start - left.size(), left)) continue;
            const size_t end = source.find(right, start);
            if (end == Text::npos) continue;
            result.texts.push_back(source.substr(start, end - start));
            result.offsets.push_back(static_cast<int32_t>(start));
            rest = end;
            found = true;
        }
        if (!found) return result;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto fields = splitFields(data, size, 4);
    const Text& left = fields[0];
    const Text& right = fields[1];
    const Text& exclusion = fields[2];
    const Text& source = fields[3];
    if (left.size() > 64 || right.size() > 64 || exclusion.size() > 64) return -1;

    const ExtractionResult result = extractAllBetween(source, left, right, exclusion);
    // With both markers given in ASCII, and an ASCII exclusion text, every byte of them is escaped; otherwise
    // the text's own first or last character, or the second byte of a two-byte character, can reach the
    // pattern unescaped and mean what the library makes of it.
    const bool escapedWhole =
        !left.empty() && !right.empty() && asciiOnly(left) && asciiOnly(right) && asciiOnly(exclusion);
    FUZZ_CHECK(result.texts.size() == result.offsets.size());
    size_t previousEnd = 0;
    for (size_t k = 0; k < result.texts.size(); ++k) {
        FUZZ_CHECK(result.offsets[k] >= 0);
        const auto offset = static_cast<size_t>(result.offsets[k]);
        FUZZ_CHECK(offset >= previousEnd);
        FUZZ_CHECK(source.compare(offset, result.texts[k].size(), result.texts[k]) == 0);
        previousEnd = offset + result.texts[k].size();
        if (!escapedWhole) continue;
        FUZZ_CHECK(offset >= left.size() && holdsAt(source, offset - left.size(), left));
        FUZZ_CHECK(holdsAt(source, previousEnd, right));
        for (size_t at = offset; exclusion.size() > 0 && at < previousEnd; ++at)
            FUZZ_CHECK(!holdsAt(source, at, exclusion));
    }

    if (escapedWhole && exclusion.empty()) {
        const ExtractionResult expected = plainSearch(source, left, right);
        FUZZ_CHECK(result.texts == expected.texts);
        FUZZ_CHECK(result.offsets == expected.offsets);
    }
    return 0;
}
