#pragma once

#include <windows.h>

#include "ui/input_rule.h"

// Gives an edit box its input rule: the key filter while typing, the normalisation when it loses the focus.
bool applyInputRule(HWND edit, InputRule rule);
