// extractAllBetween beside its floor (one literal pass over the text for the markers) and beside the plain
// Boost.Regex loop, on data-page-shaped texts and on shapes built to make a search go quadratic.
#include <benchmark/benchmark.h>

#include <string.h>

#include <cstddef>
#include <functional>
#include <map>

#include <boost/regex.hpp>

#include "bench/data_page.h"
#include "textutil/extract_all_between.h"
#include "textutil/extract_all_between_reference.h"

namespace {

// What no extraction can beat: find each left marker and the right marker after it, nothing else.
size_t markerPass(const Text& text, const Text& left, const Text& right) {
    const char* at = text.data();
    const char* const end = text.data() + text.size();
    size_t pieces = 0;
    for (;;) {
        const void* found = memmem(at, static_cast<size_t>(end - at), left.data(), left.size());
        if (!found) break;
        const char* piece = static_cast<const char*>(found) + left.size();
        found = memmem(piece, static_cast<size_t>(end - piece), right.data(), right.size());
        if (!found) break;
        ++pieces;
        at = static_cast<const char*>(found);
    }
    return pieces;
}

void floorOn(benchmark::State& state, const Text& text) {
    for (auto _ : state) benchmark::DoNotOptimize(markerPass(text, kTimeLeft, kTimeRight));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void extractOn(benchmark::State& state, const Text& text, decltype(&extractAllBetween) extract) {
    for (auto _ : state) benchmark::DoNotOptimize(extract(text, kTimeLeft, kTimeRight, {}));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

const Text& pageOf(int64_t records) {
    static std::map<int64_t, Text> pages;
    Text& page = pages[records];
    if (page.empty()) page = dataPage(static_cast<size_t>(records));
    return page;
}

void BM_PageFloor(benchmark::State& state) {
    floorOn(state, pageOf(state.range(0)));
}
void BM_PageExtract(benchmark::State& state) {
    extractOn(state, pageOf(state.range(0)), extractAllBetween);
}
void BM_PageReference(benchmark::State& state) {
    extractOn(state, pageOf(state.range(0)), extractAllBetweenReference);
}

// Not the program's pattern: the right marker taken into the match, so that the matcher's first-character
// map lets it skip to where the marker can begin instead of trying the look-ahead at every byte. It shows
// what the per-byte cost of the program's pattern is, beside the same skipping ahead.
void BM_PageConsumingPattern(benchmark::State& state) {
    const Text& page = pageOf(state.range(0));
    const boost::regex pattern("(?<=" + kTimeLeft + ").*?" + kTimeRight, boost::regex::perl);
    for (auto _ : state) {
        size_t pieces = 0;
        boost::smatch match;
        for (size_t at = page.find(kTimeLeft); at != Text::npos; at = page.find(kTimeLeft, at)) {
            const auto begin = page.begin() + static_cast<std::ptrdiff_t>(at + kTimeLeft.size());
            if (!boost::regex_search(begin, page.end(), match, pattern, boost::match_default,
                                     page.begin() + static_cast<std::ptrdiff_t>(at)))
                break;
            benchmark::DoNotOptimize(
                Text(match[0].first, match[0].second - static_cast<std::ptrdiff_t>(kTimeRight.size())));
            ++pieces;
            at = static_cast<size_t>(match[0].second - page.begin());
        }
        benchmark::DoNotOptimize(pieces);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}

// Texts of about the given size that make a search for the retrieval's markers work hard.
Text repeated(const Text& unit, int64_t bytes) {
    Text text;
    text.reserve(static_cast<size_t>(bytes) + unit.size());
    while (text.size() < static_cast<size_t>(bytes)) text += unit;
    return text;
}

Text manyLeftMarkers(int64_t bytes) {
    return repeated(kTimeLeft, bytes);
}
Text leftMarkersThenOneRight(int64_t bytes) {
    return repeated(kTimeLeft, bytes) + kTimeRight;
}
Text noMarkers(int64_t bytes) {
    return repeated("<li class=\"user\">someone</li><li class=\"tim\">2014</li>\r\n", bytes);
}
Text onePiece(int64_t bytes) {
    return kTimeLeft + repeated("2014-03-09 20:31:07.001 <b>x</b>\r\n", bytes) + kTimeRight;
}
Text manyEmptyPieces(int64_t bytes) {
    return repeated(kTimeLeft + kTimeRight, bytes);
}

template <Text (*shape)(int64_t)>
const Text& shapeOf(int64_t bytes) {
    static std::map<int64_t, Text> texts;
    Text& text = texts[bytes];
    if (text.empty()) text = shape(bytes);
    return text;
}

template <Text (*shape)(int64_t)>
void BM_HostileExtract(benchmark::State& state) {
    extractOn(state, shapeOf<shape>(state.range(0)), extractAllBetween);
}
template <Text (*shape)(int64_t)>
void BM_HostileFloor(benchmark::State& state) {
    floorOn(state, shapeOf<shape>(state.range(0)));
}

constexpr int64_t kSmall = 1 << 20;
constexpr int64_t kLarge = 10 << 20;

}  // namespace

BENCHMARK(BM_PageFloor)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PageExtract)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PageReference)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PageConsumingPattern)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

#define QELVORA_HOSTILE(shape)                                                                           \
    BENCHMARK_TEMPLATE(BM_HostileFloor, shape)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMicrosecond); \
    BENCHMARK_TEMPLATE(BM_HostileExtract, shape)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMicrosecond)
QELVORA_HOSTILE(manyLeftMarkers);
QELVORA_HOSTILE(leftMarkersThenOneRight);
QELVORA_HOSTILE(noMarkers);
QELVORA_HOSTILE(onePiece);
QELVORA_HOSTILE(manyEmptyPieces);
