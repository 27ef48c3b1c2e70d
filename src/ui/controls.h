#pragma once

#include <cstdint>

#include "convert/text.h"

// The controls that the handlers read and write, by their roles.
enum class Control { scheduleInput, clockLabel, lastTimeInput, whatIfView, totalInput, recordView };

// The current text of an edit box or the caption of a label, of any length.
Text getControlText(Control control);

// Replaces the whole text; an edit box then shows it from its first line and first character.
void setControlText(Control control, const Text& text);

// The information box: caption "信息：", OK only, no icon, no owner, task-modal. Returns when it is closed.
void messageBox(const Text& text);

// Shows the fatal error report and ends the process with exit code -1; no handler runs from here on.
[[noreturn]] void reportFatalError(int32_t code, const Text& message);
