// Works the demo program as a person would for the README's picture: a retrieval with a total, then a
// what-if with a last time just after the latest purchase. Writes the marker file when the window shows
// both reports, then keeps the program open until it is stopped.
#include <windows.h>

#include <cstdio>
#include <string>

#include "convert/convert.h"
#include "e2e/driver.h"

namespace {

bool contains(const Text& text, const Text& part) {
    return text.find(part) != Text::npos;
}

// The value after "最后一位：" in the retrieval report.
int64_t latestTail(const Text& report) {
    const Text label = "最后一位：";
    const size_t at = report.find(label);
    return at == Text::npos ? 0 : textToInt64(report.substr(at + label.size()));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fputs("usage: demo_steps PROGRAM.exe MARKER-FILE\n", stderr);
        return 2;
    }
    try {
        Program program(argv[1]);
        program.waitUntilVisible();
        program.waitForText(
            Role::clockLabel, [](const Text& t) { return contains(t, "秒"); }, Millis(15000), "the clock");
        program.focus(Role::totalInput);
        program.type("3870");
        program.click(Role::viewButton);
        const Text report = program.waitForText(
            Role::recordView, [](const Text& t) { return contains(t, "结果："); }, Millis(20000),
            "the report");
        program.focus(Role::lastTimeInput);
        program.type(std::to_string(latestTail(report) + 480));
        program.click(Role::computeButton);
        program.waitForText(
            Role::whatIfView, [](const Text& t) { return contains(t, "结果："); }, Millis(10000),
            "the what-if");
        if (FILE* marker = _wfopen(argv[2], L"w")) std::fclose(marker);
        while (program.running()) pause(Millis(500));
    } catch (const DriverError& error) {
        std::fprintf(stderr, "demo_steps: %s\n", error.what.c_str());
        return 1;
    }
    return 0;
}
