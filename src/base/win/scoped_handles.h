// The owners of what the Win32 layer opens, creates or borrows: kernel and find handles, registry
// keys, GDI objects, memory device contexts, icons, menus, modules, mixers, the device contexts of
// GetDC and BeginPaint, and objects selected into a device context. C files are owned by ScopedFile
// (base/scoped_file.h, included here) and sockets by ScopedSocket (base/win/scoped_socket.h).
// Each gives its handle back when it goes out of scope, on every path, so that no release is
// written by hand.
//
// The owners are kinds of ScopedHandle (base/scoped_handle.h), named by what they release. The
// scope guards (WindowDc, PaintDc, SelectedObject, MemoryCanvas) neither copy nor move: they
// stay in the block that made them.
#pragma once

#include <windows.h>

#include <mmsystem.h>

#include "base/scoped_file.h"
#include "base/scoped_handle.h"

namespace scoped_handle_traits {

// Handles of type Object released by `release`; null means none.
template <typename Object, auto release> struct NullIsNone {
    using Handle = Object;
    static Handle None() { return nullptr; }
    static void Release(Handle handle) { release(handle); }
};

// Kernel handles released by `release` that report failure with INVALID_HANDLE_VALUE, not null
// (CreateFile, FindFirstFile).
template <auto release> struct InvalidIsNone {
    using Handle = HANDLE;
    static Handle None() { return INVALID_HANDLE_VALUE; }
    static void Release(Handle handle) { release(handle); }
};

} // namespace scoped_handle_traits

// A process, thread or event handle.
using ScopedKernelHandle = ScopedHandle<scoped_handle_traits::NullIsNone<HANDLE, CloseHandle>>;
// A handle of CreateFile.
using ScopedFileHandle = ScopedHandle<scoped_handle_traits::InvalidIsNone<CloseHandle>>;
// A handle of FindFirstFile.
using ScopedFindHandle = ScopedHandle<scoped_handle_traits::InvalidIsNone<FindClose>>;
// A pen, brush, bitmap or font: ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(colour)).
template <typename Object>
using ScopedGdiObject = ScopedHandle<scoped_handle_traits::NullIsNone<Object, DeleteObject>>;
// A device context of CreateCompatibleDC.
using ScopedMemoryDc = ScopedHandle<scoped_handle_traits::NullIsNone<HDC, DeleteDC>>;
// A printer's device context, as the printer dialog returns it.
using ScopedPrinterDc = ScopedHandle<scoped_handle_traits::NullIsNone<HDC, DeleteDC>>;
// A block of GlobalAlloc, such as the printer settings the printer dialog returns.
using ScopedGlobal = ScopedHandle<scoped_handle_traits::NullIsNone<HGLOBAL, GlobalFree>>;
using ScopedIcon = ScopedHandle<scoped_handle_traits::NullIsNone<HICON, DestroyIcon>>;
using ScopedMenu = ScopedHandle<scoped_handle_traits::NullIsNone<HMENU, DestroyMenu>>;
// A module of LoadLibrary.
using ScopedModule = ScopedHandle<scoped_handle_traits::NullIsNone<HMODULE, FreeLibrary>>;
using ScopedMixer = ScopedHandle<scoped_handle_traits::NullIsNone<HMIXER, mixerClose>>;
// A key of RegOpenKeyEx.
using ScopedRegistryKey = ScopedHandle<scoped_handle_traits::NullIsNone<HKEY, RegCloseKey>>;
// Memory the system allocated for the caller to give back with LocalFree (CryptProtectData).
using ScopedLocalMemory = ScopedHandle<scoped_handle_traits::NullIsNone<HLOCAL, LocalFree>>;

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
