// GDI objects, icons and device contexts owned by one scope, and selections put back.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

// A move-only owner of a handle, released with `Release` (DeleteObject, DestroyIcon, ...).
template <typename Handle, auto Release>
class Unique {
public:
    Unique() = default;
    explicit Unique(Handle handle) : handle_(handle) {}
    ~Unique() { reset(); }
    Unique(Unique&& other) noexcept : handle_(other.release()) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    Handle release() { return std::exchange(handle_, nullptr); }
    void reset(Handle handle = nullptr) {
        if (handle_) Release(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

using Font = Unique<HFONT, DeleteObject>;
using Pen = Unique<HPEN, DeleteObject>;
using Brush = Unique<HBRUSH, DeleteObject>;
using Bitmap = Unique<HBITMAP, DeleteObject>;
using Icon = Unique<HICON, DestroyIcon>;
using Menu = Unique<HMENU, DestroyMenu>;
using MemoryDc = Unique<HDC, DeleteDC>;

// A window's device context, released to that window.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    // A context with GetDCEx's `flags`: without DCX_CLIPCHILDREN it draws over the children.
    WindowDc(HWND window, DWORD flags) : window_(window), dc_(GetDCEx(window, nullptr, flags)) {}
    ~WindowDc() { ReleaseDC(window_, dc_); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    operator HDC() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a device context and puts back the one it replaced; Select
// swaps in others meanwhile, and the first one still comes back at the end.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~SelectGuard() { SelectObject(dc_, old_); }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    void Select(HGDIOBJ object) { SelectObject(dc_, object); }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A monochrome mask of a bitmap, set where the bitmap has `transparent`; those pixels of
// the bitmap become black, so AND-ing the mask and OR-ing the bitmap draws it over anything.
HBITMAP MakeTransparencyMask(HBITMAP bitmap, COLORREF transparent);

// The 1-pixel light-grey (224, 224, 224) line along the top of a window's client area.
void DrawTopEdge(HWND window, HDC dc);

// How a text stands over its shadow: the shadow's colour, the text's, and how many pixels
// up and left of the shadow the text is drawn.
struct ShadowStyle {
    COLORREF shadow, text;
    int lift;
};
// The headings of most windows: green over light grey, one pixel.
constexpr ShadowStyle kHeadingShadow{RGB(224, 224, 224), RGB(0, 128, 0), 1};
// The main window's title and language names: light over black, two pixels.
constexpr ShadowStyle kNameShadow{RGB(0, 0, 0), RGB(230, 230, 230), 2};

// Text drawn in the shadow's colour, then in the text's up and left of it, on a
// transparent background.
void DrawShadowedText(HDC dc, const std::wstring& text, RECT rect, UINT format,
                      const ShadowStyle& style = kHeadingShadow);
