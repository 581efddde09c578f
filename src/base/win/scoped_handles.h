// The owners of what the Win32 layer opens, creates or borrows: kernel and find handles, GDI
// objects, memory device contexts, icons, menus, modules, mixers, the device contexts of GetDC
// and BeginPaint, and objects selected into a device context. C files are owned by ScopedFile
// (base/scoped_file.h, included here) and sockets by ScopedSocket (base/win/scoped_socket.h).
// Each gives its handle back when it goes out of scope, on every path, so that no release is
// written by hand.
//
// ScopedHandle and its kinds own one handle: they move but never copy, and offer get(),
// release() (give it up unreleased) and reset() (release it now, optionally take another). The
// scope guards (WindowDc, PaintDc, SelectedObject, MemoryCanvas) neither copy nor move: they
// stay in the block that made them.
#pragma once

#include <windows.h>

#include <mmsystem.h>

#include "base/scoped_file.h"

template <typename Traits> class ScopedHandle {
  public:
    using Handle = typename Traits::Handle;

    ScopedHandle() = default;
    explicit ScopedHandle(Handle handle) : handle_(handle) {}
    ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.release()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ~ScopedHandle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::None(); }

    Handle release() {
        const Handle handle = handle_;
        handle_ = Traits::None();
        return handle;
    }
    void reset(Handle handle = Traits::None()) {
        if (handle_ != Traits::None()) {
            Traits::Release(handle_);
        }
        handle_ = handle;
    }

  private:
    Handle handle_ = Traits::None();
};

namespace scoped_handle_traits {

// Processes, threads, events: null when there is none.
struct Kernel {
    using Handle = HANDLE;
    static Handle None() { return nullptr; }
    static void Release(Handle handle) { CloseHandle(handle); }
};

// CreateFile reports failure with INVALID_HANDLE_VALUE, not null.
struct File {
    using Handle = HANDLE;
    static Handle None() { return INVALID_HANDLE_VALUE; }
    static void Release(Handle handle) { CloseHandle(handle); }
};

struct Find {
    using Handle = HANDLE;
    static Handle None() { return INVALID_HANDLE_VALUE; }
    static void Release(Handle handle) { FindClose(handle); }
};

template <typename Object> struct Gdi {
    using Handle = Object;
    static Handle None() { return nullptr; }
    static void Release(Handle handle) { DeleteObject(handle); }
};

struct MemoryDc {
    using Handle = HDC;
    static Handle None() { return nullptr; }
    static void Release(Handle handle) { DeleteDC(handle); }
};

struct Icon {
    using Handle = HICON;
    static Handle None() { return nullptr; }
    static void Release(Handle handle) { DestroyIcon(handle); }
};

struct Menu {
    using Handle = HMENU;
    static Handle None() { return nullptr; }
    static void Release(Handle handle) { DestroyMenu(handle); }
};

struct Module {
    using Handle = HMODULE;
    static Handle None() { return nullptr; }
    static void Release(Handle handle) { FreeLibrary(handle); }
};

struct Mixer {
    using Handle = HMIXER;
    static Handle None() { return nullptr; }
    static void Release(Handle handle) { mixerClose(handle); }
};

} // namespace scoped_handle_traits

using ScopedKernelHandle = ScopedHandle<scoped_handle_traits::Kernel>;
using ScopedFileHandle = ScopedHandle<scoped_handle_traits::File>;
using ScopedFindHandle = ScopedHandle<scoped_handle_traits::Find>;
// A pen, brush, bitmap or font: ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(colour)).
template <typename Object> using ScopedGdiObject = ScopedHandle<scoped_handle_traits::Gdi<Object>>;
// A device context of CreateCompatibleDC.
using ScopedMemoryDc = ScopedHandle<scoped_handle_traits::MemoryDc>;
using ScopedIcon = ScopedHandle<scoped_handle_traits::Icon>;
using ScopedMenu = ScopedHandle<scoped_handle_traits::Menu>;
using ScopedModule = ScopedHandle<scoped_handle_traits::Module>; // LoadLibrary
using ScopedMixer = ScopedHandle<scoped_handle_traits::Mixer>;

// The device context of a window (null: the screen) from GetDC, released with ReleaseDC.
class WindowDc {
  public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_ != nullptr) {
            ReleaseDC(window_, dc_);
        }
    }
    HDC get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// The device context of WM_PAINT, from BeginPaint to EndPaint.
class PaintDc {
  public:
    explicit PaintDc(HWND window) : window_(window), paint_{}, dc_(BeginPaint(window, &paint_)) {}
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    ~PaintDc() { EndPaint(window_, &paint_); }
    HDC get() const { return dc_; }

  private:
    HWND window_;
    PAINTSTRUCT paint_;
    HDC dc_;
};

// An object selected into a device context; the object it replaced is selected back at scope
// exit. A null object, or a selection that fails, changes nothing.
class SelectedObject {
  public:
    SelectedObject(HDC dc, HGDIOBJ object)
        : dc_(dc), previous_(object != nullptr ? SelectObject(dc, object) : nullptr) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() {
        if (previous_ != nullptr) {
            SelectObject(dc_, previous_);
        }
    }

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A memory device context compatible with `dc`, with a width by height bitmap of its own
// selected into it to draw on. At scope exit the bitmap is selected out and deleted, then the
// context is deleted.
class MemoryCanvas {
  public:
    MemoryCanvas(HDC dc, int width, int height)
        : dc_(CreateCompatibleDC(dc)), bitmap_(CreateCompatibleBitmap(dc, width, height)),
          selection_(dc_.get(), bitmap_.get()) {}
    HDC get() const { return dc_.get(); }

  private:
    ScopedMemoryDc dc_;
    ScopedGdiObject<HBITMAP> bitmap_;
    SelectedObject selection_; // last member: undone first
};
