#include "e2e/driver.h"

#include <array>
#include <thread>
#include <vector>

#include "convert/wide_text.h"

namespace {

constexpr Millis kPoll(25);
constexpr UINT kSendTimeoutMs = 5000;

struct Place {
    Role role;
    const wchar_t* kind;  // "Edit", "Button", or nullptr for a label that draws itself
    RECT rect;            // left, top, right, bottom in the client area of the main window
    const char* name;
};

// Where a person sees each control: its kind and its place in the window.
constexpr std::array<Place, 8> kPlaces{{
    {Role::scheduleInput, L"Edit", {251, 1, 251 + 85, 1 + 24}, "scheduleInput"},
    {Role::clockLabel, nullptr, {64, 1, 64 + 72, 1 + 24}, "clockLabel"},
    {Role::lastTimeInput, L"Edit", {210, 53, 210 + 126, 53 + 24}, "lastTimeInput"},
    {Role::computeButton, L"Button", {344, 53, 344 + 56, 53 + 24}, "computeButton"},
    {Role::whatIfView, L"Edit", {208, 80, 208 + 270, 80 + 250}, "whatIfView"},
    {Role::totalInput, L"Edit", {6, 53, 6 + 56, 53 + 24}, "totalInput"},
    {Role::viewButton, L"Button", {68, 53, 68 + 56, 53 + 24}, "viewButton"},
    {Role::recordView, L"Edit", {5, 80, 5 + 203, 80 + 250}, "recordView"},
}};

const Place& placeOf(Role role) {
    for (const Place& place : kPlaces)
        if (place.role == role) return place;
    throw DriverError{"unknown control"};
}

std::wstring className(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

Text windowText(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_BLOCK, kSendTimeoutMs, &length))
        throw DriverError{"the program does not answer WM_GETTEXTLENGTH"};
    std::wstring buffer(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                             SMTO_BLOCK, kSendTimeoutMs, &copied))
        throw DriverError{"the program does not answer WM_GETTEXT"};
    return fromWide(buffer.data(), copied);
}

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK findTopLevel(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != search->processId || className(hwnd) != search->className) return TRUE;
    if (search->visibleOnly && !IsWindowVisible(hwnd)) return TRUE;
    search->found = hwnd;
    return FALSE;
}

HWND topLevelWindow(DWORD processId, const wchar_t* className, bool visibleOnly) {
    WindowSearch search{processId, className, visibleOnly, nullptr};
    EnumWindows(findTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring besideThisProgram(const wchar_t* file) {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
    return path.substr(0, path.find_last_of(L"\\/") + 1) + file;
}

LPARAM keyParam(UINT virtualKey, bool up) {
    const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    LPARAM param = 1 | (static_cast<LPARAM>(scan) << 16);
    if (up) param |= (1LL << 30) | (1LL << 31);
    return param;
}

}  // namespace

void pause(Millis duration) {
    std::this_thread::sleep_for(duration);
}

Program::Program(const std::wstring& exe) {
    std::wstring command = L"\"" + (exe.empty() ? besideThisProgram(L"qelvora_e2e.exe") : exe) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process_))
        throw DriverError{"starting qelvora_e2e.exe failed"};
}

Program::~Program() {
    if (running()) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

bool Program::running() {
    return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

HWND Program::waitForWindow(Millis timeout) {
    const auto until = Clock::now() + timeout;
    while (!window_) {
        window_ = topLevelWindow(process_.dwProcessId, L"QelvoraMainWindow", false);
        if (window_) break;
        if (Clock::now() > until || !running()) throw DriverError{"waiting for the main window"};
        pause(kPoll);
    }
    return window_;
}

bool Program::windowVisible() {
    return window_ && IsWindowVisible(window_);
}

HWND Program::waitUntilVisible(Millis timeout) {
    const auto until = Clock::now() + timeout;
    waitForWindow(timeout);
    while (!IsWindowVisible(window_)) {
        if (Clock::now() > until || !running()) throw DriverError{"waiting for the main window to show"};
        pause(kPoll);
    }
    return window_;
}

HWND Program::findControl(Role role) {
    const Place& place = placeOf(role);
    for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect;
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&rect), 2);
        if (!EqualRect(&rect, &place.rect)) continue;
        const std::wstring kind = className(child);
        const bool standard = _wcsicmp(kind.c_str(), L"Edit") == 0 || _wcsicmp(kind.c_str(), L"Button") == 0;
        if (place.kind ? _wcsicmp(kind.c_str(), place.kind) == 0 : !standard) return child;
    }
    return nullptr;
}

HWND Program::control(Role role) {
    waitForWindow();
    if (HWND found = findControl(role)) return found;
    throw DriverError{std::string("finding ") + placeOf(role).name + "\n" + describe()};
}

Text Program::text(Role role) {
    return windowText(control(role));
}

HWND Program::focused() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(process_.dwThreadId, &info);
    return info.hwndFocus;
}

void Program::focus(Role role) {
    HWND target = control(role);
    PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    PostMessageW(target, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    const auto until = Clock::now() + Millis(5000);
    while (focused() != target) {
        if (Clock::now() > until) throw DriverError{std::string("focusing ") + placeOf(role).name};
        pause(kPoll);
    }
}

void Program::type(const Text& characters) {
    HWND target = focused();
    if (!target) throw DriverError{"typing: nothing has the focus"};
    for (wchar_t c : toWide(characters)) PostMessageW(target, WM_CHAR, c, 1);
}

void Program::paste(Role role, const Text& text) {
    const std::wstring wide = toWide(text);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t));
    if (!memory) throw DriverError{"pasting: no memory"};
    memcpy(GlobalLock(memory), wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    if (!OpenClipboard(nullptr)) throw DriverError{"pasting: the clipboard is busy"};
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    focus(role);
    PostMessageW(control(role), WM_PASTE, 0, 0);
}

void Program::pressKey(UINT virtualKey) {
    HWND target = focused();
    if (!target) target = window_;
    PostMessageW(target, WM_KEYDOWN, virtualKey, keyParam(virtualKey, false));
    PostMessageW(target, WM_KEYUP, virtualKey, keyParam(virtualKey, true));
}

void Program::click(Role role) {
    PostMessageW(control(role), BM_CLICK, 0, 0);
}

HWND Program::messageBoxWindow() {
    return topLevelWindow(process_.dwProcessId, L"#32770", true);
}

std::optional<MessageBoxSeen> Program::waitForMessageBox(Millis timeout) {
    const auto until = Clock::now() + timeout;
    for (;;) {
        if (HWND box = messageBoxWindow()) {
            // The box shows its text in the static control with the identifier 0xFFFF.
            HWND label = GetDlgItem(box, 0xFFFF);
            return MessageBoxSeen{windowText(box), label ? windowText(label) : Text{}};
        }
        if (Clock::now() > until || !running()) return std::nullopt;
        pause(kPoll);
    }
}

MessageBoxSeen Program::expectMessageBox(Millis timeout) {
    auto seen = waitForMessageBox(timeout);
    if (!seen) throw DriverError{"waiting for a message box\n" + describe()};
    return *seen;
}

void Program::closeMessageBox() {
    HWND box = messageBoxWindow();
    if (!box) throw DriverError{"closing a message box: there is none"};
    HWND ok = GetDlgItem(box, IDOK);
    if (ok) {
        PostMessageW(ok, BM_CLICK, 0, 0);
    } else {
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    const auto until = Clock::now() + Millis(5000);
    while (IsWindow(box)) {
        if (Clock::now() > until) throw DriverError{"closing a message box: it stays"};
        pause(kPoll);
    }
}

Text Program::waitForText(Role role, const std::function<bool(const Text&)>& ok, Millis timeout,
                          const char* step) {
    const auto until = Clock::now() + timeout;
    Text last;
    for (;;) {
        last = text(role);
        if (ok(last)) return last;
        if (Clock::now() > until)
            throw DriverError{std::string(step) + ": " + placeOf(role).name + " holds \"" + last + "\"\n" +
                              describe()};
        pause(kPoll);
    }
}

Text Program::waitForText(Role role, const Text& want, Millis timeout, const char* step) {
    return waitForText(
        role, [&](const Text& t) { return t == want; }, timeout, step);
}

DWORD Program::waitForExit(Millis timeout) {
    if (WaitForSingleObject(process_.hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
        throw DriverError{"waiting for the program to end"};
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

std::string Program::describe() {
    std::string out = "the window held:";
    if (!window_ || !IsWindow(window_)) return out + " no window";
    for (const Place& place : kPlaces) {
        out += std::string("\n  ") + place.name + ": ";
        HWND found = findControl(place.role);
        try {
            out += found ? "\"" + windowText(found) + "\"" : std::string("(not found)");
        } catch (const DriverError& error) {
            out += "(" + error.what + ")";
        }
    }
    if (HWND box = messageBoxWindow()) out += "\n  a message box: \"" + windowText(box) + "\"";
    return out;
}
