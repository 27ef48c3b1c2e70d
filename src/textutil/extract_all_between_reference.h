#pragma once

#include "textutil/extract_all_between.h"

// The plain loop that extractAllBetween must agree with: Boost.Regex searches the whole pattern from the
// start of each rest. It is kept as the yardstick for tests, fuzzing and benchmarks; the program itself
// calls extractAllBetween.
ExtractionResult extractAllBetweenReference(const Text& sourceText, const Text& leftMarker = {},
                                            const Text& rightMarker = {}, const Text& exclusionText = {});

// The same, telling in gaveUp whether the matcher hit its own limits partway, so that the pieces found are
// only the first ones.
ExtractionResult extractAllBetweenReference(const Text& sourceText, const Text& leftMarker,
                                            const Text& rightMarker, const Text& exclusionText, bool& gaveUp);
