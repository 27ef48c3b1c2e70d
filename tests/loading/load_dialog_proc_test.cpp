#include "loading/load_dialog_proc.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <optional>
#include <vector>

#include "loading/animated_gif.h"
#include "loading/gdiplus_api.h"
#include "loading/loading_animation.h"

namespace {

constexpr POINT kWindowAt = {100, 100};
constexpr POINT kPressAt = {50, 50};  // in the client area, which starts at the window's corner
constexpr POINT kDragBy = {60, 20};
constexpr DWORD kSafetyWaitMs = 20000;  // only bounds a wait that a broken build would make endless

// Every message that the window procedures of this thread receive, as they receive it.
class MessageLog {
  public:
    MessageLog() : hook_(SetWindowsHookExA(WH_CALLWNDPROC, record, nullptr, GetCurrentThreadId())) {
        active = this;
    }
    ~MessageLog() {
        UnhookWindowsHookEx(hook_);
        active = nullptr;
    }
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    bool received(UINT message, WPARAM wParam) const {
        for (const CWPSTRUCT& m : messages)
            if (m.message == message && m.wParam == wParam) return true;
        return false;
    }

    std::vector<CWPSTRUCT> messages;
    std::function<void(const CWPSTRUCT&)> onMessage;

  private:
    static LRESULT CALLBACK record(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HC_ACTION && active) {
            const CWPSTRUCT& message = *reinterpret_cast<const CWPSTRUCT*>(lParam);
            active->messages.push_back(message);
            if (active->onMessage) active->onMessage(message);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    inline static MessageLog* active = nullptr;
    HHOOK hook_;
};

HWND createLoadDialog(DWORD visible = 0) {
    initLoadingAnimation();
    return CreateWindowExA(0, "DavuzLoadDialog", "", WS_POPUP | visible, kWindowAt.x, kWindowAt.y, 200, 150,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

DWORD WINAPI waitForever(void*) {
    Sleep(INFINITE);
    return 7;
}

// What a loading dialog attaches to its window: the thread that animates it, the GDI+ image and the global
// memory that holds the image data, with a stream over that memory through which GDI+ reads it.
struct Attachments {
    Attachments() {
        thread = CreateThread(nullptr, 0, waitForever, nullptr, 0, nullptr);
        DuplicateHandle(GetCurrentProcess(), thread, GetCurrentProcess(), &threadWatch, 0, FALSE,
                        DUPLICATE_SAME_ACCESS);
        const auto gif = animatedGif();
        memory = GlobalAlloc(GMEM_MOVEABLE, gif.size());
        std::memcpy(GlobalLock(memory), gif.data(), gif.size());
        GlobalUnlock(memory);
        CreateStreamOnHGlobal(memory, FALSE, &stream);
        Gdiplus::DllExports::GdipLoadImageFromStream(stream, &image);
        streamReferencesWithImage = streamReferences();
    }
    // Releases what the window did not.
    ~Attachments() {
        if (!threadEnded()) {
            TerminateThread(threadWatch, 0);
            WaitForSingleObject(threadWatch, kSafetyWaitMs);
        }
        if (threadOpen()) CloseHandle(thread);
        CloseHandle(threadWatch);
        if (!imageDisposed()) Gdiplus::DllExports::GdipDisposeImage(image);
        stream->Release();
        if (!memoryFreed()) GlobalFree(memory);
    }
    Attachments(const Attachments&) = delete;
    Attachments& operator=(const Attachments&) = delete;

    ULONG streamReferences() const {
        const ULONG references = stream->AddRef() - 1;
        stream->Release();
        return references;
    }
    bool threadEnded() const { return WaitForSingleObject(threadWatch, 0) == WAIT_OBJECT_0; }
    bool threadOpen() const {
        DWORD flags = 0;
        return GetHandleInformation(thread, &flags);
    }
    // GDI+ holds the stream while the image lives.
    bool imageDisposed() const { return streamReferences() < streamReferencesWithImage; }
    bool memoryFreed() const { return GlobalFlags(memory) == GMEM_INVALID_HANDLE; }

    HANDLE thread = nullptr;
    HANDLE threadWatch = nullptr;
    HGLOBAL memory = nullptr;
    IStream* stream = nullptr;
    Gdiplus::GpImage* image = nullptr;
    ULONG streamReferencesWithImage = 0;
};

TEST(LoadDialogProc, AWindowWithoutPropertiesIsDestroyedByDefault) {
    HWND window = createLoadDialog();
    ASSERT_TRUE(window);
    MessageLog log;
    EXPECT_TRUE(DestroyWindow(window));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(log.received(WM_DESTROY, 0));
    EXPECT_TRUE(log.received(WM_NCDESTROY, 0));
}

TEST(LoadDialogProc, DestructionReleasesExactlyWhatIsAttached) {
    struct Case {
        const char* name;
        bool thread, image, memory;
    };
    for (const Case& c : {Case{"all three", true, true, true}, Case{"the thread", true, false, false},
                          Case{"the image", false, true, false}, Case{"the memory", false, false, true}}) {
        SCOPED_TRACE(c.name);
        Attachments attached;
        ASSERT_TRUE(attached.thread);
        ASSERT_TRUE(attached.image);
        ASSERT_FALSE(attached.imageDisposed());
        HWND window = createLoadDialog();
        ASSERT_TRUE(window);
        if (c.thread) SetPropA(window, "Davuz_Thread", attached.thread);
        if (c.image) SetPropA(window, "Davuz_Image", attached.image);
        if (c.memory) SetPropA(window, "Davuz_Stream", attached.memory);

        ASSERT_TRUE(DestroyWindow(window));

        if (c.thread) {
            ASSERT_EQ(WaitForSingleObject(attached.threadWatch, kSafetyWaitMs), WAIT_OBJECT_0);
            DWORD exitCode = STILL_ACTIVE;
            EXPECT_TRUE(GetExitCodeThread(attached.threadWatch, &exitCode));
            EXPECT_EQ(exitCode, 0u);
        }
        EXPECT_EQ(attached.threadEnded(), c.thread);
        EXPECT_EQ(attached.threadOpen(), !c.thread);
        EXPECT_EQ(attached.imageDisposed(), c.image);
        EXPECT_EQ(attached.memoryFreed(), c.memory);
    }
}

std::vector<HANDLE>* propertiesAfterDestroy = nullptr;

LRESULT CALLBACK recordPropertiesAfterDestroy(int code, WPARAM wParam, LPARAM lParam) {
    const CWPRETSTRUCT& m = *reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && m.message == WM_DESTROY && propertiesAfterDestroy &&
        propertiesAfterDestroy->empty())
        for (const char* name : {"Davuz_Thread", "Davuz_Image", "Davuz_Stream"})
            propertiesAfterDestroy->push_back(GetPropA(m.hwnd, name));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The window procedure leaves the properties on the window; the system drops them with the window.
TEST(LoadDialogProc, DestructionLeavesThePropertiesInPlace) {
    Attachments attached;
    HWND window = createLoadDialog();
    ASSERT_TRUE(window);
    SetPropA(window, "Davuz_Thread", attached.thread);
    SetPropA(window, "Davuz_Image", attached.image);
    SetPropA(window, "Davuz_Stream", attached.memory);

    std::vector<HANDLE> afterDestroy;
    propertiesAfterDestroy = &afterDestroy;
    HHOOK hook =
        SetWindowsHookExA(WH_CALLWNDPROCRET, recordPropertiesAfterDestroy, nullptr, GetCurrentThreadId());
    ASSERT_TRUE(DestroyWindow(window));
    UnhookWindowsHookEx(hook);
    propertiesAfterDestroy = nullptr;

    EXPECT_EQ(afterDestroy, (std::vector<HANDLE>{attached.thread, attached.image, attached.memory}));
}

// A press anywhere drags the window only when "DavuzHitMove" is exactly 1. The press comes through the
// message queue, as the mouse's does, so that the system's move starts from the press point; once the move
// has begun, the mouse goes on by kDragBy and the button comes up. One window serves every case: under Wine
// hiding an active window costs seconds.
TEST(LoadDialogProc, ALeftButtonPressDragsTheWindowOnlyWhenHitMoveIsOne) {
    HWND window = createLoadDialog(WS_VISIBLE);
    ASSERT_TRUE(window);
    const POINT press = {kWindowAt.x + kPressAt.x, kWindowAt.y + kPressAt.y};
    const LPARAM pressInClient = MAKELPARAM(kPressAt.x, kPressAt.y);
    const LPARAM releaseInClient = MAKELPARAM(kPressAt.x + kDragBy.x, kPressAt.y + kDragBy.y);
    struct Case {
        const char* name;
        std::optional<LONG_PTR> hitMove;
        bool drags;
    };
    for (const Case& c : {Case{"absent", std::nullopt, false}, Case{"0", 0, false}, Case{"1", 1, true},
                          Case{"2", 2, false}, Case{"257", 257, false}, Case{"-1", -1, false}}) {
        SCOPED_TRACE(c.name);
        SetWindowPos(window, nullptr, kWindowAt.x, kWindowAt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        SetForegroundWindow(window);
        RemovePropA(window, "DavuzHitMove");
        if (c.hitMove) SetPropA(window, "DavuzHitMove", reinterpret_cast<HANDLE>(*c.hitMove));
        SetCursorPos(press.x, press.y);
        SetCapture(window);

        MessageLog log;
        log.onMessage = [&](const CWPSTRUCT& m) {
            if (m.hwnd != window || m.message != WM_ENTERSIZEMOVE) return;
            SetCursorPos(press.x + kDragBy.x, press.y + kDragBy.y);
            PostMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, releaseInClient);
            PostMessageA(window, WM_LBUTTONUP, 0, releaseInClient);
        };
        PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, pressInClient);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
            if (msg.message == WM_LBUTTONDOWN) break;
        }

        RECT rect{};
        GetWindowRect(window, &rect);
        const POINT want = c.drags ? POINT{kWindowAt.x + kDragBy.x, kWindowAt.y + kDragBy.y} : kWindowAt;
        EXPECT_EQ(rect.left, want.x);
        EXPECT_EQ(rect.top, want.y);
        EXPECT_EQ(log.received(WM_NCLBUTTONDOWN, HTCAPTION), c.drags);
        EXPECT_EQ(log.received(WM_SYSCOMMAND, SC_MOVE | HTCAPTION), c.drags);
        EXPECT_EQ(GetCapture() == window, !c.drags);  // the default handling keeps the capture

        ReleaseCapture();
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    DestroyWindow(window);
}

TEST(LoadDialogProc, OtherMessagesGetTheDefaultAnswer) {
    HWND window = createLoadDialog();
    ASSERT_TRUE(window);
    SetWindowTextA(window, "Davuz");
    struct Case {
        const char* name;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    for (const Case& c :
         {Case{"text length", WM_GETTEXTLENGTH, 0, 0},
          Case{"hit test", WM_NCHITTEST, 0, MAKELPARAM(kWindowAt.x + 5, kWindowAt.y + 5)},
          Case{"right button", WM_RBUTTONDOWN, MK_RBUTTON, 0}, Case{"private", WM_APP + 1, 1, 2}}) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(loadDialogProc(window, c.message, c.wParam, c.lParam),
                  DefWindowProcA(window, c.message, c.wParam, c.lParam));
    }
    DestroyWindow(window);
}

}  // namespace
