// Move-only owners of Win32 handles, one alias per kind, each released exactly once.
#pragma once

#include <windows.h>

#include <utility>

namespace sevrane {

template <typename Handle>
constexpr Handle NullHandle() {
    return Handle{};
}

// The value that means "no handle" is part of the owner's type: a Create* result goes straight
// into its owner, whichever value its function reports failure with.
template <typename Handle, auto Release, auto Invalid = NullHandle<Handle>>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Invalid(); }

    Handle release() { return std::exchange(handle_, Invalid()); }
    void reset(Handle handle = Invalid()) {
        Handle old = std::exchange(handle_, handle);
        if (old != Invalid()) {
            Release(old);
        }
    }

private:
    Handle handle_ = Invalid();
};

namespace detail {
inline void DeleteFont(HFONT font) { ::DeleteObject(font); }
inline void DestroyIconHandle(HICON icon) { ::DestroyIcon(icon); }
inline void DestroyWindowHandle(HWND window) { ::DestroyWindow(window); }
inline void CloseKernelHandle(HANDLE handle) { ::CloseHandle(handle); }
inline void FreeArgv(LPWSTR* argv) { ::LocalFree(argv); }
// CreateFileW reports failure with INVALID_HANDLE_VALUE, not NULL.
inline HANDLE InvalidHandleValue() { return INVALID_HANDLE_VALUE; }
} // namespace detail

using UniqueFont = UniqueHandle<HFONT, detail::DeleteFont>;
using UniqueIcon = UniqueHandle<HICON, detail::DestroyIconHandle>;
using UniqueWindow = UniqueHandle<HWND, detail::DestroyWindowHandle>;
using UniqueArgv = UniqueHandle<LPWSTR*, detail::FreeArgv>;
// Files and devices from CreateFileW.
using UniqueFileHandle =
    UniqueHandle<HANDLE, detail::CloseKernelHandle, detail::InvalidHandleValue>;

// A device context from GetDC, released with the same window.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_ != nullptr) {
            ::ReleaseDC(window_, dc_);
        }
    }
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint and its EndPaint, for one WM_PAINT.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window), dc_(::BeginPaint(window, &paint_)) {}
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { ::EndPaint(window_, &paint_); }
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Selects a GDI object into a DC and puts the previous one back when it goes out of scope.
class SelectionScope {
public:
    SelectionScope(HDC dc, HGDIOBJ object)
        : dc_(dc), previous_(object != nullptr ? ::SelectObject(dc, object) : nullptr) {}
    SelectionScope(const SelectionScope&) = delete;
    SelectionScope& operator=(const SelectionScope&) = delete;
    ~SelectionScope() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) {
            ::SelectObject(dc_, previous_);
        }
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace sevrane
