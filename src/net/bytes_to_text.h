#pragma once

#include "convert/text.h"

// The bytes up to the first zero byte, or all of them; no code-page conversion.
Text bytesToText(const Bytes& bytes);
