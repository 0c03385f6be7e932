// Owners for the Windows handles the backend and its bench hold. Each frees
// its handle once, with the call that matches how it was made, and can only
// be moved; nothing else in the Windows code frees a handle by hand.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <oleauto.h>
#include <unknwn.h>
#include <windows.h>

#include <utility>

namespace vb::platform::win32 {

// A handle and the one call that frees it.
template <typename Handle, BOOL(WINAPI* Free)(Handle)>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    Handle release() { return std::exchange(handle_, nullptr); }
    void reset(Handle handle = nullptr) {
        Handle old = std::exchange(handle_, handle);
        if (old) Free(old);
    }

private:
    Handle handle_ = nullptr;
};

template <typename Object>
BOOL WINAPI DeleteGdiObject(Object object) {
    return DeleteObject(object);
}

using UniqueBitmap = UniqueHandle<HBITMAP, DeleteGdiObject<HBITMAP>>;
using UniqueFont = UniqueHandle<HFONT, DeleteGdiObject<HFONT>>;
using UniqueBrush = UniqueHandle<HBRUSH, DeleteGdiObject<HBRUSH>>;
using UniqueRegion = UniqueHandle<HRGN, DeleteGdiObject<HRGN>>;
using UniqueMemoryDC = UniqueHandle<HDC, DeleteDC>;  // from CreateCompatibleDC
using UniqueIcon = UniqueHandle<HICON, DestroyIcon>;
using UniqueProcess = UniqueHandle<HANDLE, CloseHandle>;  // a process or thread

// A file opened with CreateFileA, which says "none" with INVALID_HANDLE_VALUE.
class UniqueFile {
public:
    explicit UniqueFile(HANDLE handle) : handle_(handle) {}
    ~UniqueFile() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    UniqueFile(const UniqueFile&) = delete;
    UniqueFile& operator=(const UniqueFile&) = delete;

    HANDLE get() const { return handle_; }
    explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

// A window's device context from GetDC, given back to that window.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a device context until the end of the scope,
// when whatever was there before is selected back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), before_(SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (before_) SelectObject(dc_, before_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ before_;
};

// One reference to a COM object.
template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    explicit ComPtr(Interface* adopted) : object_(adopted) {}  // takes over a reference
    ~ComPtr() { reset(); }
    ComPtr(ComPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            object_ = std::exchange(other.object_, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    Interface* get() const { return object_; }
    Interface* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    // For calls that hand back a new reference through an out-parameter.
    Interface** put() {
        reset();
        return &object_;
    }
    void reset() {
        if (Interface* old = std::exchange(object_, nullptr)) old->Release();
    }

private:
    Interface* object_ = nullptr;
};

// A BSTR the caller owns, such as one a COM call handed back.
class Bstr {
public:
    Bstr() = default;
    ~Bstr() { SysFreeString(text_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;

    BSTR get() const { return text_; }
    BSTR* put() {
        SysFreeString(std::exchange(text_, nullptr));
        return &text_;
    }

private:
    BSTR text_ = nullptr;
};

}  // namespace vb::platform::win32
