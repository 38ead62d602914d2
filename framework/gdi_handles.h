// Owners for GDI objects and device contexts.
//
// Every GDI handle the program creates is held by one of these wrappers and
// released when the scope that made it ends. Each kind comes in two forms:
// the owning form (TGdiBrush, TMemoryDC, ...) is move-only and releases its
// handle exactly once; the non-owning form (TGdiBrushRef, TDCRef, ...) only
// names a handle that someone else releases, and may be copied freely.
//
// A wrapper converts implicitly to its raw handle, so it can be passed
// straight to GDI calls:
//
//     TGdiBrush brush(CreateSolidBrush(RGB(1, 2, 3)));
//     FillRect(dc, &rect, brush);
//
// Guards that change a device context (TSelectObject, TSaveDC) restore it in
// their destructor; give each one its own braced scope so the order of
// restoring is visible in the code. None of these types throws.
#pragma once

#include <windows.h>

#include <utility>

// Releases a GDI object (pen, brush, font, bitmap, region, palette).
struct TGdiObjectDeleter {
    static void Free(HGDIOBJ handle) noexcept { DeleteObject(handle); }
};

// Releases a device context made by CreateCompatibleDC or CreateDC.
struct TDCDeleter {
    static void Free(HDC handle) noexcept { DeleteDC(handle); }
};

// Holds one handle of type THandle; when Owned, frees it with TDeleter.
// Invariant: an owning holder with a non-null handle is the only owner of it.
template <typename THandle, typename TDeleter, bool Owned>
class TGdiHandle {
public:
    TGdiHandle() noexcept = default;
    explicit TGdiHandle(THandle handle) noexcept : FHandle(handle) {}
    ~TGdiHandle() { Reset(); }

    // The owning form moves; the non-owning form also copies.
    TGdiHandle(const TGdiHandle&) requires(!Owned) = default;
    TGdiHandle(const TGdiHandle&) requires(Owned) = delete;
    TGdiHandle& operator=(const TGdiHandle&) requires(!Owned) = default;
    TGdiHandle& operator=(const TGdiHandle&) requires(Owned) = delete;
    TGdiHandle(TGdiHandle&& other) noexcept : FHandle(std::exchange(other.FHandle, nullptr)) {}
    TGdiHandle& operator=(TGdiHandle&& other) noexcept
    {
        if (this != &other)
            Reset(std::exchange(other.FHandle, nullptr));
        return *this;
    }

    THandle Get() const noexcept { return FHandle; }
    operator THandle() const noexcept { return FHandle; }
    bool IsNull() const noexcept { return FHandle == nullptr; }

    // Frees the held handle (owning form) and takes `handle` in its place.
    void Reset(THandle handle = nullptr) noexcept
    {
        THandle old = std::exchange(FHandle, handle);
        if constexpr (Owned) {
            if (old && old != handle)
                TDeleter::Free(old);
        }
    }

    // Gives up the handle without freeing it; the caller becomes its owner.
    [[nodiscard]] THandle Release() noexcept { return std::exchange(FHandle, nullptr); }

private:
    THandle FHandle = nullptr;
};

// Solid, hatched or pattern brush, deleted with DeleteObject.
using TGdiBrush = TGdiHandle<HBRUSH, TGdiObjectDeleter, true>;
// A brush owned elsewhere (a stock or system-colour brush, a skin's face brush).
using TGdiBrushRef = TGdiHandle<HBRUSH, TGdiObjectDeleter, false>;
// Pen, deleted with DeleteObject.
using TGdiPen = TGdiHandle<HPEN, TGdiObjectDeleter, true>;
// A pen owned elsewhere.
using TGdiPenRef = TGdiHandle<HPEN, TGdiObjectDeleter, false>;
// Logical font, deleted with DeleteObject.
using TGdiFont = TGdiHandle<HFONT, TGdiObjectDeleter, true>;
// A font owned elsewhere (a control's font from WM_GETFONT, a stock font).
using TGdiFontRef = TGdiHandle<HFONT, TGdiObjectDeleter, false>;
// Device-dependent bitmap or DIB section, deleted with DeleteObject.
using TGdiBitmap = TGdiHandle<HBITMAP, TGdiObjectDeleter, true>;
// A bitmap owned elsewhere (a skin object's image).
using TGdiBitmapRef = TGdiHandle<HBITMAP, TGdiObjectDeleter, false>;
// Region, deleted with DeleteObject. Not for a region handed to SetWindowRgn:
// the system owns that one, so Release() it after the call succeeds.
using TGdiRegion = TGdiHandle<HRGN, TGdiObjectDeleter, true>;
// A region owned elsewhere (the update region passed with WM_NCPAINT).
using TGdiRegionRef = TGdiHandle<HRGN, TGdiObjectDeleter, false>;
// Device context from CreateCompatibleDC/CreateDC, deleted with DeleteDC.
using TOwnedDC = TGdiHandle<HDC, TDCDeleter, true>;
// A device context owned elsewhere (the HDC of WM_PAINT's wParam, a caller's DC).
using TDCRef = TGdiHandle<HDC, TDCDeleter, false>;

// Memory device context compatible with `reference` (the screen when null).
class TMemoryDC : public TOwnedDC {
public:
    explicit TMemoryDC(HDC reference = nullptr) noexcept : TOwnedDC(CreateCompatibleDC(reference)) {}
};

// Device context from GetDC/GetWindowDC/GetDCEx, given back with ReleaseDC.
// Move-only; the default constructor holds nothing.
class TWindowDC {
public:
    TWindowDC() noexcept = default;
    // Takes `dc`, obtained for `window` by GetDCEx or similar, to release it later.
    TWindowDC(HWND window, HDC dc) noexcept : FWindow(window), FDC(dc) {}
    TWindowDC(TWindowDC&& other) noexcept
        : FWindow(std::exchange(other.FWindow, nullptr)), FDC(std::exchange(other.FDC, nullptr)) {}
    TWindowDC& operator=(TWindowDC&& other) noexcept
    {
        if (this != &other) {
            Free();
            FWindow = std::exchange(other.FWindow, nullptr);
            FDC = std::exchange(other.FDC, nullptr);
        }
        return *this;
    }
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;
    ~TWindowDC() { Free(); }

    // The whole window, non-client area included (GetWindowDC).
    static TWindowDC Whole(HWND window) noexcept { return TWindowDC(window, GetWindowDC(window)); }
    // The client area only (GetDC); a null window gives the screen.
    static TWindowDC Client(HWND window) noexcept { return TWindowDC(window, GetDC(window)); }

    HDC Get() const noexcept { return FDC; }
    operator HDC() const noexcept { return FDC; }
    HWND Window() const noexcept { return FWindow; }
    bool IsNull() const noexcept { return FDC == nullptr; }

private:
    void Free() noexcept
    {
        if (FDC)
            ReleaseDC(FWindow, FDC);
        FDC = nullptr;
        FWindow = nullptr;
    }

    HWND FWindow = nullptr;
    HDC FDC = nullptr;
};

// BeginPaint in the constructor, EndPaint in the destructor. Bound to one
// WM_PAINT of one window: neither copied nor moved.
class TPaintDC {
public:
    explicit TPaintDC(HWND window) noexcept : FWindow(window) { FDC = BeginPaint(window, &FPaint); }
    TPaintDC(const TPaintDC&) = delete;
    TPaintDC& operator=(const TPaintDC&) = delete;
    ~TPaintDC() { EndPaint(FWindow, &FPaint); }

    HDC Get() const noexcept { return FDC; }
    operator HDC() const noexcept { return FDC; }
    const PAINTSTRUCT& Paint() const noexcept { return FPaint; }
    const RECT& PaintRect() const noexcept { return FPaint.rcPaint; }

private:
    HWND FWindow;
    HDC FDC = nullptr;
    PAINTSTRUCT FPaint{};
};

// Selects a pen, brush, font or bitmap into a DC and selects the previous one
// back on scope exit, so an owned object is never deleted while still
// selected: declare the guard after the object it selects. Not for regions
// (selecting one sets the clip region and returns no previous object): use
// TSaveDC around SelectClipRgn instead.
class TSelectObject {
public:
    TSelectObject(HDC dc, HGDIOBJ object) noexcept : FDC(dc), FOld(dc && object ? SelectObject(dc, object) : nullptr) {}
    TSelectObject(const TSelectObject&) = delete;
    TSelectObject& operator=(const TSelectObject&) = delete;
    ~TSelectObject()
    {
        if (FOld && FOld != HGDI_ERROR)
            SelectObject(FDC, FOld);
    }

    // The object that was selected before, or null when selecting failed.
    HGDIOBJ Previous() const noexcept { return FOld == HGDI_ERROR ? nullptr : FOld; }

private:
    HDC FDC;
    HGDIOBJ FOld;
};

// SaveDC in the constructor, RestoreDC in the destructor: everything set on
// the DC in between (clip region, colours, modes, origins) is put back.
class TSaveDC {
public:
    explicit TSaveDC(HDC dc) noexcept : FDC(dc), FSaved(dc ? SaveDC(dc) : 0) {}
    TSaveDC(const TSaveDC&) = delete;
    TSaveDC& operator=(const TSaveDC&) = delete;
    ~TSaveDC()
    {
        if (FSaved)
            RestoreDC(FDC, FSaved);
    }

private:
    HDC FDC;
    int FSaved;
};
