#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "convert/text.h"

// Small helpers that work the window as the message loop and a person would.
namespace driver {

// Dispatches every waiting message the way the program's loop does, key handling included.
void pump();

// Pumps until `done` holds or about `limitMs` pass; returns whether it held.
bool pumpUntil(const std::function<bool()>& done, DWORD limitMs = 10000);

Text text(HWND window);
std::wstring className(HWND window);
RECT rectInParent(HWND window);

void typeCharacters(HWND edit, const std::wstring& characters);
void pressKey(HWND window, WORD virtualKey);

// Puts the text on the clipboard and pastes it into the box, as Ctrl+V would.
bool paste(HWND edit, const std::wstring& text);

// What a helper thread saw of a message box before it closed it.
struct SeenBox {
    bool found = false;
    std::wstring caption, text;
    int buttons = 0;
    bool okButton = false;
    bool iconShown = false;
    HWND owner = nullptr;
    bool mainWindowEnabled = true;
    bool mainWindowVisible = false;
};

// Watches the threads of process `processId` for a message box for up to about ten seconds, records what
// it shows, then presses OK. Runs on a helper thread while the box's own loop runs elsewhere.
// `beforeClosing` runs while the box is still open.
SeenBox closeNextMessageBox(DWORD processId, HWND mainWindow,
                            const std::function<void()>& beforeClosing = {});

// A visible top-level window of the process with the class name, waited for up to about ten seconds.
HWND findWindow(DWORD processId, const std::wstring& className);

}  // namespace driver
