#pragma once

#include <windows.h>

#include <atomic>

// The address of an exported function, looked up by name; a null library means the system's standard
// libraries. A library or function that cannot be found is a fatal error, reported with code 0.
FARPROC findDllFunction(const char* library, const char* name);

// A function of a library, resolved by name on its first call and kept for the later ones.
template <typename Function>
class DllFunction {
  public:
    constexpr DllFunction(const char* library, const char* name) : library_(library), name_(name) {}
    DllFunction(const DllFunction&) = delete;
    DllFunction& operator=(const DllFunction&) = delete;

    template <typename... Args>
    auto operator()(Args... args) {
        Function* function = address_.load(std::memory_order_acquire);
        if (!function) {
            // Through void (*)(), which stands for any function type, FARPROC turns into the real type.
            function =
                reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(findDllFunction(library_, name_)));
            address_.store(function, std::memory_order_release);
        }
        return function(args...);
    }

  private:
    const char* library_;
    const char* name_;
    std::atomic<Function*> address_{nullptr};
};
