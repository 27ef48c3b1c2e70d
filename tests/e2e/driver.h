#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "convert/text.h"

// Drives a running qelvora as a person would: it finds the window and its controls by what is on the
// screen (class and place), types, pastes, clicks, presses keys, reads texts and answers message boxes.
// Every wait is bounded; a step that fails throws DriverError naming the step and what the window held.

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::milliseconds;

enum class Role {
    scheduleInput,
    clockLabel,
    lastTimeInput,
    computeButton,
    whatIfView,
    totalInput,
    viewButton,
    recordView,
};

struct DriverError {
    std::string what;
};

struct MessageBoxSeen {
    Text caption;
    Text text;
};

class Program {
  public:
    // Starts the program: by default qelvora_e2e.exe beside this test program.
    explicit Program(const std::wstring& exe = {});
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The main window once it exists (hidden or not) and once it is visible.
    HWND waitForWindow(Millis timeout = Millis(15000));
    HWND waitUntilVisible(Millis timeout = Millis(15000));
    bool windowVisible();
    HWND window() const { return window_; }

    HWND control(Role role);
    Text text(Role role);
    HWND focused();

    // Puts the focus into a control as a click would, then types characters one by one.
    void focus(Role role);
    void type(const Text& characters);
    void paste(Role role, const Text& text);
    void pressKey(UINT virtualKey);
    void click(Role role);

    // The next message box of the program (caption and text), shown within the timeout; nullopt if none.
    std::optional<MessageBoxSeen> waitForMessageBox(Millis timeout);
    MessageBoxSeen expectMessageBox(Millis timeout = Millis(15000));
    void closeMessageBox();

    // Waits until the text of a control satisfies the condition; throws with the last text otherwise.
    Text waitForText(Role role, const std::function<bool(const Text&)>& ok, Millis timeout, const char* step);
    Text waitForText(Role role, const Text& want, Millis timeout, const char* step);

    DWORD waitForExit(Millis timeout = Millis(15000));
    bool running();

    // What the window held: every control's text, for failure messages.
    std::string describe();

  private:
    HWND messageBoxWindow();
    HWND findControl(Role role);

    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

// Lets the program work for a while without giving it anything to do.
void pause(Millis duration);
