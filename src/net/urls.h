#pragma once

#include "convert/text.h"

extern const Text dataServerUrl;
extern const Text timePageUrl;
extern const Text probeUrl;
