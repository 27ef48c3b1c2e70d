#pragma once

#include <cstdint>

#include "convert/text.h"

// The text of the fatal error report: the heading, then the code line unless the code is 0, then the
// message line unless the message is empty.
Text fatalErrorReport(int32_t code, const Text& message);
