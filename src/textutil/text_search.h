#pragma once

#include <cstdint>

#include "convert/text.h"

// A byte of 0x80 or more starts a two-byte character; the byte after it belongs to that character.
inline bool isLeadByte(char byte) {
    return static_cast<unsigned char>(byte) >= 0x80;
}

// The 1-based byte position of the first needle in haystack at or after byte position start (1 or less means
// the first byte), or -1. An empty needle is found at 1 while a byte remains from start. Matches begin only
// on character boundaries; case-blind comparison folds the ASCII letters alone.
int32_t findText(const Text& haystack, const Text& needle, int32_t start = 1, bool caseBlind = false);

// Every non-overlapping occurrence of needle replaced, scanning by characters as findText does.
Text replaceText(const Text& text, const Text& needle, const Text& replacement);
