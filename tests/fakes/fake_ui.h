#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "ui/controls.h"

namespace fake {

// The control texts as the handlers left them, and every message box they showed.
inline std::map<Control, Text> controls;
inline std::vector<Text> messages;

// Runs while a message box is "open", as the real box's own message loop would run timer ticks.
inline std::function<void(const Text&)> whileMessageBoxOpen;

// Thrown by the fake reportFatalError, which must not return.
struct FatalError {
    int32_t code;
    Text message;
};

// Empty controls, no messages, no hook; scheduleInput as the window starts it.
void resetUi();

}  // namespace fake
