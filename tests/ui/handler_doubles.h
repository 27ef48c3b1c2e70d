#pragma once

#include <functional>
#include <string>
#include <vector>

// Recording stand-ins for the handlers that the shell binds, so that the shell is tested alone.
namespace doubles {

// Every handler run, by name, in order; echoed to stdout as a line when `echo` is set.
inline std::vector<std::string> calls;
inline bool echo = false;

// What a handler does besides being recorded.
inline std::function<void()> whenWindowCreated;
inline std::function<void()> whenClockTick;

void reset();
int count(const std::string& name);

}  // namespace doubles
