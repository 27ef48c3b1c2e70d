#include "ui/handler_doubles.h"

#include <algorithm>
#include <cstdio>

#include "clock/clock.h"
#include "loading/loading_animation.h"
#include "stats/handlers.h"

namespace doubles {

namespace {

void record(const char* name) {
    calls.emplace_back(name);
    if (echo) {
        std::printf("%s\n", name);
        std::fflush(stdout);
    }
}

}  // namespace

void reset() {
    calls.clear();
    whenWindowCreated = nullptr;
    whenClockTick = nullptr;
}

int count(const std::string& name) {
    return static_cast<int>(std::count(calls.begin(), calls.end(), name));
}

}  // namespace doubles

void onWindowCreated() {
    doubles::record("onWindowCreated");
    if (doubles::whenWindowCreated) doubles::whenWindowCreated();
}

void onClockTick() {
    doubles::record("onClockTick");
    if (doubles::whenClockTick) doubles::whenClockTick();
}

void onViewData() {
    doubles::record("onViewData");
}

void onCompute() {
    doubles::record("onCompute");
}

int initLoadingAnimation() {
    doubles::record("initLoadingAnimation");
    return 0;
}
