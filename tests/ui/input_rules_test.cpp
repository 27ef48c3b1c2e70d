#include "ui/input_rules.h"

#include "convert/wide_text.h"
#include "ui/main_window_fixture.h"

namespace {

// Leaving a box: the focus goes to another control.
void leave(HWND) {
    SetFocus(childWindow(Child::recordView));
}

}  // namespace

TEST_F(MainWindow, TypedKeysAreFilteredAndTheTextNormalisedOnFocusLoss) {
    struct Case {
        Child box;
        const wchar_t* typed;
        const char* whileTyping;
        const char* afterLeaving;
    };
    const Case cases[] = {
        {Child::totalInput, L"12a-3", "12-3", "12"},
        {Child::lastTimeInput, L"12a-3", "12-3", "12"},
        {Child::totalInput, L"-", "-", ""},
        {Child::lastTimeInput, L"-", "-", ""},
        {Child::totalInput, L" +x.0", "0", ""},
        {Child::lastTimeInput, L"\x4E00-7\xFF11", "-7",
         "-7"},                                        // a Chinese and a full-width character dropped
        {Child::totalInput, L"123\b4", "124", "124"},  // Backspace is not filtered
        {Child::scheduleInput, L"a1", "0时0分0秒a1", "0时0分0秒a1"},  // no input rule
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(driver::text(child(c.box)) + " + " + fromWide(c.typed));
        const HWND box = child(c.box);
        if (c.box != Child::scheduleInput) SetWindowTextW(box, L"");
        SetFocus(box);
        SendMessageW(box, EM_SETSEL, static_cast<WPARAM>(GetWindowTextLengthW(box)),
                     GetWindowTextLengthW(box));
        driver::typeCharacters(box, c.typed);
        EXPECT_EQ(driver::text(box), c.whileTyping);
        leave(box);
        driver::pump();
        EXPECT_EQ(driver::text(box), c.afterLeaving);
    }
}

TEST_F(MainWindow, PastedTextIsNotFilteredButNormalisedOnFocusLoss) {
    struct Case {
        Child box;
        const wchar_t* pasted;
        const char* afterLeaving;
    };
    const Case cases[] = {
        {Child::lastTimeInput, L" +0042xyz", "42"},
        {Child::totalInput, L" +0042xyz", "42"},
        {Child::lastTimeInput, L"abc", ""},
        {Child::totalInput, L"0", ""},
        {Child::lastTimeInput, L"0", ""},
        {Child::totalInput, L"2147483648", "2147483647"},
        {Child::totalInput, L"99999999999", "2147483647"},
        {Child::totalInput, L"-2147483649", "-2147483648"},
        {Child::lastTimeInput, L"99999999999", "99999999999"},
        {Child::lastTimeInput, L"-2147483649", "-2147483649"},
        {Child::lastTimeInput, L"9223372036854775807", "9223372036854775807"},
        {Child::lastTimeInput, L"9223372036854775808", "-9223372036854775808"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.box));
        SCOPED_TRACE(fromWide(c.pasted));
        const HWND box = child(c.box);
        SetWindowTextW(box, L"");
        SetFocus(box);
        ASSERT_TRUE(driver::paste(box, c.pasted));
        EXPECT_EQ(driver::text(box), fromWide(c.pasted));
        leave(box);
        driver::pump();
        EXPECT_EQ(driver::text(box), c.afterLeaving);
    }
}

TEST_F(MainWindow, ReplacementPutsTheCaretWhereTheOldSelectionBegan) {
    struct Case {
        const wchar_t* text;
        DWORD selectionStart, selectionEnd;
        const char* after;
        DWORD caret, caretEnd;  // an unchanged text keeps its selection
    };
    const Case cases[] = {
        {L"12abc", 1, 4, "12", 1, 1}, {L"0042xyz", 5, 7, "42", 2, 2},  // beyond the new end: at the end
        {L"+7", 0, 2, "7", 0, 0},     {L"x7", 1, 2, "", 0, 0},        {L"42", 0, 2, "42", 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(fromWide(c.text));
        const HWND box = child(Child::lastTimeInput);
        SetFocus(box);
        SetWindowTextW(box, c.text);
        SendMessageW(box, EM_SETSEL, c.selectionStart, static_cast<LPARAM>(c.selectionEnd));
        leave(box);
        driver::pump();
        EXPECT_EQ(driver::text(box), c.after);
        DWORD start = 99, end = 99;
        SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, c.caret);
        EXPECT_EQ(end, c.caretEnd);
    }
}
