#pragma once

#include <utility>

// A counted reference to a COM object: Release when it is replaced or goes, AddRef only when shared on
// purpose. It needs nothing of <windows.h> until a member is used, so a portable header can hold one.
template <class T>
class ComRef {
  public:
    ComRef() = default;
    // Takes over a reference that is already counted for it.
    explicit ComRef(T* held) : object(held) {}
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ComRef(ComRef&& other) noexcept : object(std::exchange(other.object, nullptr)) {}
    ComRef& operator=(ComRef&& other) noexcept {
        reset(std::exchange(other.object, nullptr));
        return *this;
    }
    ~ComRef() { reset(); }

    void reset(T* held = nullptr) {
        if (object) object->Release();
        object = held;
    }
    // A second reference to the same object, which gains one more hold.
    ComRef share() const {
        if (object) object->AddRef();
        return ComRef(object);
    }
    T* get() const { return object; }
    // For the out-parameter of a creating call: the old object is released first.
    T** put() {
        reset();
        return &object;
    }
    explicit operator bool() const { return object != nullptr; }

  private:
    T* object = nullptr;
};
