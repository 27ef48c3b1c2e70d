// Hostile field input under Wine: texts of 32,000 characters pasted into every edit box, control
// characters, full-width digits, characters outside GBK, a lone lead byte, numbers at the 32- and 64-bit
// limits. Afterwards every button and the schedule still work.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <limits>

#include "e2e/scenario.h"

namespace {

constexpr size_t kLong = 32000;

// A number read as the C library reads a 64-bit integer: white space, one sign, digits, wrapping.
int64_t wrappedValue(const Text& text) {
    size_t i = text.find_first_not_of(" \t\r\n\v\f");
    if (i == Text::npos) return 0;
    bool negative = false;
    if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
    uint64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10 + uint64_t(text[i] - '0');
    return static_cast<int64_t>(negative ? 0 - value : value);
}

// What a box with an input rule shows after losing the focus.
Text ruled(const Text& text, bool clampTo32) {
    int64_t value = wrappedValue(text);
    if (clampTo32) {
        value = std::max<int64_t>(value, std::numeric_limits<int32_t>::min());
        value = std::min<int64_t>(value, std::numeric_limits<int32_t>::max());
    }
    return value == 0 ? Text{} : std::to_string(value);
}

Text repeatTo(const Text& piece, size_t characters) {
    Text text;
    size_t count = 0;
    while (count < characters) {
        text += piece;
        for (size_t i = 0; i < piece.size(); ++i, ++count)
            if (static_cast<unsigned char>(piece[i]) >= 0x80) ++i;
    }
    return text;
}

// Empties a box whatever it holds: select all, clear.
void clear(Program& program, Role role) {
    program.focus(role);
    PostMessageW(program.control(role), EM_SETSEL, 0, -1);
    PostMessageW(program.control(role), WM_CLEAR, 0, 0);
    program.waitForText(role, "", Millis(5000), "clearing");
}

// Replaces the whole text of a box by typing.
void replace(Program& program, Role role, const Text& text) {
    clear(program, role);
    program.type(text);
    program.waitForText(role, text, Millis(5000), "typing");
}

// Moves the focus away from a box so that its input rule runs.
void leave(Program& program) {
    program.focus(Role::recordView);
}

TEST(HostileInput, LongAndStrangeTextsInEveryBoxLeaveTheButtonsAndTheScheduleWorking) {
    drive([] {
        Network network;
        network.setDataPage(workedExamplePage());
        std::atomic<bool> armed{false};
        constexpr int64_t kScheduledMs = kNoonMs + 60000;
        network.setTimeSource([&] { return armed.exchange(false) ? kScheduledMs : kNoonMs; });
        Program program;
        program.waitUntilVisible();

        struct Paste {
            Role role;
            Text text;
            bool ruled;
            bool clampTo32;
        };
        const Text digits = repeatTo("9876543210", kLong);
        // A single-line box keeps a pasted text up to its first line break, so it gets one without.
        const Text mixed = repeatTo("时间\t１２\x01\x7f" + Text("abc-+0"), kLong);
        const Text lines = repeatTo("时间\t１２\x01\x7f" + Text("abc\r\n-+0"), kLong);
        const Paste pastes[] = {
            {Role::totalInput, digits, true, true},
            {Role::lastTimeInput, digits, true, false},
            {Role::totalInput, "-" + digits, true, true},
            {Role::lastTimeInput, mixed, true, false},
            {Role::scheduleInput, mixed, false, false},
            {Role::whatIfView, lines, false, false},
            {Role::totalInput, "2147483648", true, true},
            {Role::totalInput, "-2147483649", true, true},
            {Role::lastTimeInput, "9223372036854775808", true, false},
            {Role::lastTimeInput, "18446744073709551616", true, false},
            {Role::lastTimeInput, "  -9223372036854775808", true, false},
        };
        for (const Paste& p : pastes) {
            SCOPED_TRACE(p.text.substr(0, 40));
            clear(program, p.role);
            program.paste(p.role, p.text);
            // A multi-line box keeps its line breaks; a single-line one shows the text up to the first of
            // them.
            const Text shown = program.waitForText(
                p.role, [](const Text& t) { return !t.empty(); }, Millis(10000), "pasting");
            leave(program);
            if (p.ruled) {
                program.waitForText(p.role, ruled(shown, p.clampTo32), Millis(5000), "the input rule");
            } else {
                EXPECT_GE(shown.size(), kLong / 2);
            }
        }
        // The read-only view takes no paste, and typing a lone lead byte, a character outside GBK and a lone
        // surrogate into a box leaves the program standing.
        program.paste(Role::recordView, lines);
        program.focus(Role::lastTimeInput);
        PostMessageA(program.control(Role::lastTimeInput), WM_CHAR, 0x81, 1);
        PostMessageW(program.control(Role::lastTimeInput), WM_CHAR, 0x20AC, 1);
        PostMessageW(program.control(Role::lastTimeInput), WM_CHAR, 0xD800, 1);
        leave(program);
        EXPECT_EQ(program.text(Role::recordView), "");

        // With the 32-bit limit as the total, both buttons still answer.
        replace(program, Role::totalInput, "2147483647");
        program.click(Role::viewButton);
        program.waitForText(
            Role::recordView,
            "3个用户的记录：\r\n\r\n最后一位：203105512\r\n  ...\r\n最前一位：203041999\r\n\r\n"
            "求和：609205751\r\n\r\n取余：609205751\r\n\r\n结果：619205752\r\n\r\n",
            Millis(10000), "the report with the largest total");
        replace(program, Role::lastTimeInput, "9223372036854775807");
        leave(program);
        program.click(Role::computeButton);
        EXPECT_EQ(program.expectMessageBox().text, "输入的时间超出计算范围");
        program.closeMessageBox();
        replace(program, Role::lastTimeInput, "-9223372036854775807");
        leave(program);
        program.click(Role::computeButton);
        const int64_t whatIf = 406163752 + std::numeric_limits<int64_t>::min() + 1;
        const int64_t remainder = whatIf % 2147483647;
        program.waitForText(
            Role::whatIfView,
            "最后：2个用户的记录 + 最后一个输入时间\r\n\r\n求和：406163752 + [-9223372036854775807]\r\n"
            "    = " +
                std::to_string(whatIf) + "\r\n取余：" + std::to_string(remainder) + "\r\n\r\n结果：" +
                std::to_string(remainder + 10000001),
            Millis(5000), "the what-if at the 64-bit limit");

        // The schedule, typed after all that, still runs the retrieval at its time.
        replace(program, Role::scheduleInput, clockTextOf(kScheduledMs));
        replace(program, Role::totalInput, "1000");
        leave(program);
        armed = true;
        program.waitForText(Role::recordView, kWorkedExampleReport, Millis(10000), "the scheduled retrieval");
        EXPECT_EQ(network.dataRequests(), 2u);
        program.pressKey(VK_ESCAPE);
        EXPECT_EQ(program.waitForExit(), 0u);
    });
}

}  // namespace
