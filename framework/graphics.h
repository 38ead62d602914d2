// Colours, fonts, brushes, pens, canvases and bitmaps.
//
// TFont, TBrush and TPen describe a GDI object and make it on demand
// (Handle()); each change drops the made object and fires OnChange. A
// TCanvas draws on a device context with them, selecting each one only for
// the drawing call that needs it, so the context is left as it was after
// every call. TBitmap holds a device-independent bitmap (or a device bitmap
// for pfDevice) with its own memory canvas. All GDI handles are owned by the
// RAII holders of gdi_handles.h.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "framework/classes.h"
#include "framework/gdi_handles.h"

class TStream;

// ---- colours ---------------------------------------------------------------
// A colour: plain RGB with red in the low byte, or a system colour
// (0x80000000 | COLOR_xxx, a negative number) resolved when drawn.
using TColor = int32_t;

constexpr TColor clSystemColor = static_cast<TColor>(0x80000000u);
constexpr TColor clScrollBar = clSystemColor | COLOR_SCROLLBAR;
constexpr TColor clBackground = clSystemColor | COLOR_BACKGROUND;
constexpr TColor clActiveCaption = clSystemColor | COLOR_ACTIVECAPTION;
constexpr TColor clInactiveCaption = clSystemColor | COLOR_INACTIVECAPTION;
constexpr TColor clMenu = clSystemColor | COLOR_MENU;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clWindowFrame = clSystemColor | COLOR_WINDOWFRAME;
constexpr TColor clMenuText = clSystemColor | COLOR_MENUTEXT;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clCaptionText = clSystemColor | COLOR_CAPTIONTEXT;
constexpr TColor clActiveBorder = clSystemColor | COLOR_ACTIVEBORDER;
constexpr TColor clInactiveBorder = clSystemColor | COLOR_INACTIVEBORDER;
constexpr TColor clAppWorkSpace = clSystemColor | COLOR_APPWORKSPACE;
constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = clSystemColor | COLOR_HIGHLIGHTTEXT;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;
constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
constexpr TColor clInactiveCaptionText = clSystemColor | COLOR_INACTIVECAPTIONTEXT;
constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;
constexpr TColor cl3DDkShadow = clSystemColor | COLOR_3DDKSHADOW;
constexpr TColor cl3DLight = clSystemColor | COLOR_3DLIGHT;
constexpr TColor clInfoText = clSystemColor | COLOR_INFOTEXT;
constexpr TColor clInfoBk = clSystemColor | COLOR_INFOBK;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// The RGB value of `color`, system colours resolved.
COLORREF ColorToRGB(TColor color);

// ---- fonts, brushes, pens ------------------------------------------------
enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = unsigned;  // bit (1 << TFontStyle)
constexpr TFontStyles FontStyle(TFontStyle s) { return 1u << s; }
extern const TEnumInfo FontStyleEnum;

// Describes a logical font. Height is in pixels: negative for the character
// height (the usual way, -12 for a 12-pixel font), positive for the cell
// height. Size is the same in points at the screen's resolution.
class TFont : public TPersistent {
    DECLARE_CLASS(TFont, TPersistent)
public:
    TFont();
    ~TFont() override;

    const std::string& Name() const { return FName; }
    void SetName(const std::string& name);
    int Height() const { return FHeight; }
    void SetHeight(int height);
    // The size in points, at PixelsPerInch: Height is in pixels.
    int Size() const;
    void SetSize(int points);
    // The scale a size in points is turned into pixels at: the design's 96
    // until the form the font is on is laid out at another scale (a form at
    // 144 gives its fonts 144, so that 9 points are 18 pixels there). It
    // changes no height by itself.
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int value) { FPixelsPerInch = value > 0 ? value : 96; }
    int Charset() const { return FCharset; }
    void SetCharset(int charset);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles style);
    TColor Color() const { return FColor; }
    void SetColor(TColor color);

    // Takes name, height, charset and style from a LOGFONT.
    void SetLogFont(const LOGFONTA& font);
    LOGFONTA LogFont() const;
    // The font, made on first use; owned by this object and valid until the
    // next change.
    HFONT Handle() const;

    void Assign(const TPersistent& source) override;
    bool SameAs(const TFont& other) const;

    TNotifyEvent OnChange;

private:
    void Changed();

    std::string FName;
    int FHeight = -12;
    int FPixelsPerInch = 96;
    int FCharset = DEFAULT_CHARSET;
    TFontStyles FStyle = 0;
    TColor FColor = clWindowText;
    mutable TGdiFont FHandle;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
extern const TEnumInfo BrushStyleEnum;

class TBrush : public TPersistent {
    DECLARE_CLASS(TBrush, TPersistent)
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle style);
    // The brush, made on first use; a hollow stock brush for bsClear.
    HBRUSH Handle() const;
    void Assign(const TPersistent& source) override;

    TNotifyEvent OnChange;

private:
    void Changed();

    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    mutable TGdiBrush FHandle;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
extern const TEnumInfo PenStyleEnum;

class TPen : public TPersistent {
    DECLARE_CLASS(TPen, TPersistent)
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    int Width() const { return FWidth; }
    void SetWidth(int width);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle style);
    HPEN Handle() const;
    void Assign(const TPersistent& source) override;

    TNotifyEvent OnChange;

private:
    void Changed();

    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    mutable TGdiPen FHandle;
};

// ---- canvas ------------------------------------------------------------------
class TGraphic;

// Drawing on a device context. The context is not owned by the base class;
// derived canvases (control and bitmap canvases) make and free their own in
// CreateHandle/FreeHandle. Every drawing call selects the pen, brush and font
// it needs and puts the context's own objects back before returning.
class TCanvas : public TPersistent {
    DECLARE_CLASS(TCanvas, TPersistent)
public:
    TCanvas();
    ~TCanvas() override;

    // The device context; a derived canvas makes one on first use. Throws
    // EInvalidOperation when there is none and none can be made.
    HDC Handle();
    void SetHandle(HDC dc);
    bool HandleAllocated() const { return FHandle != nullptr; }

    TFont* Font() const { return FFont.get(); }
    TBrush* Brush() const { return FBrush.get(); }
    TPen* Pen() const { return FPen.get(); }
    void SetFont(TFont* font) { FFont->Assign(*font); }
    void SetBrush(TBrush* brush) { FBrush->Assign(*brush); }
    void SetPen(TPen* pen) { FPen->Assign(*pen); }
    POINT PenPos() const { return FPenPos; }

    void FillRect(const RECT& rect);
    void FrameRect(const RECT& rect);
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const RECT& rect) { Rectangle(rect.left, rect.top, rect.right, rect.bottom); }
    void Ellipse(int left, int top, int right, int bottom);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    // Text in the font and font colour; the background is filled with the
    // brush colour unless the brush style is bsClear.
    void TextOut(int x, int y, const std::string& text);
    // As TextOut, clipped to `rect`, which is filled first (unless bsClear).
    void TextRect(const RECT& rect, int x, int y, const std::string& text);
    SIZE TextExtent(const std::string& text);
    int TextWidth(const std::string& text) { return TextExtent(text).cx; }
    int TextHeight(const std::string& text) { return TextExtent(text).cy; }
    // Draws `graphic` at its own size with its top-left corner at (x, y), or
    // stretched to `rect`.
    void Draw(int x, int y, TGraphic* graphic);
    void StretchDraw(const RECT& rect, TGraphic* graphic);
    // Copies `source` rectangle of another canvas to `dest` (stretching).
    void CopyRect(const RECT& dest, TCanvas* source, const RECT& sourceRect);
    TColor Pixel(int x, int y);
    void SetPixel(int x, int y, TColor color);

    void Lock() { ++FLockCount; }
    void Unlock() { --FLockCount; }

protected:
    // Makes a device context for a derived canvas (calls SetHandle); the base
    // has none to make.
    virtual void CreateHandle() {}
    // Gives up the device context: derived canvases release what they made.
    virtual void FreeHandle() { SetHandle(nullptr); }

    int FLockCount = 0;

private:
    HDC FHandle = nullptr;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TBrush> FBrush;
    std::unique_ptr<TPen> FPen;
    POINT FPenPos{0, 0};
};

// ---- graphics and bitmaps ----------------------------------------------------
class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

class EInvalidOperation : public Exception {
public:
    using Exception::Exception;
};

// A picture that can draw itself on a canvas.
class TGraphic : public TPersistent {
    DECLARE_CLASS(TGraphic, TPersistent)
public:
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Empty() const = 0;
    virtual void Draw(TCanvas* canvas, const RECT& rect) = 0;
    virtual void LoadFromStream(TStream& stream) = 0;
    virtual void SaveToStream(TStream& stream) = 0;
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName);

    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);

    TNotifyEvent OnChange;

protected:
    void Changed();

    bool FTransparent = false;
};

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };
extern const TEnumInfo PixelFormatEnum;

class TBitmapCanvas;

// A bitmap with a memory canvas. Formats other than pfDevice are
// device-independent (bottom-up DIB sections; ScanLine gives a row's bytes);
// pfDevice is a bitmap compatible with the screen. Resizing keeps the
// top-left part of the picture. When Transparent is set, Draw leaves out the
// TransparentColor pixels; the default transparent colour (clDefault) means
// the colour of the bottom-left pixel.
class TBitmap : public TGraphic {
    DECLARE_CLASS(TBitmap, TGraphic)
public:
    TBitmap();
    TBitmap(int width, int height, TPixelFormat format = pfDevice);
    ~TBitmap() override;

    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    void SetWidth(int width) { SetSize(width, FHeight); }
    void SetHeight(int height) { SetSize(FWidth, height); }
    void SetSize(int width, int height);
    bool Empty() const override { return FWidth == 0 || FHeight == 0; }
    TPixelFormat PixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TPixelFormat format);
    TColor TransparentColor() const;
    void SetTransparentColor(TColor color);

    // The bitmap; valid until the next size or format change. Asking for it
    // takes it out of the canvas's device context, so the caller may select
    // it into another one; the canvas selects it again when next used.
    HBITMAP Handle();
    // Takes ownership of `bitmap` (null empties the bitmap).
    void SetHandle(HBITMAP bitmap);
    // Gives up ownership of the bitmap; this object becomes empty.
    HBITMAP ReleaseHandle();
    TCanvas* Canvas();
    // The bytes of row `row` (0 = top) of a device-independent bitmap.
    // Throws EInvalidGraphic for pfDevice and for a row out of range.
    void* ScanLine(int row);

    void Draw(TCanvas* canvas, const RECT& rect) override;
    // Reads a BMP file (BITMAPFILEHEADER, then a BITMAPINFOHEADER or larger
    // header, palette and uncompressed or bit-field pixels). Throws
    // EInvalidGraphic for anything malformed, truncated or unsupported.
    void LoadFromStream(TStream& stream) override;
    // Writes a BMP file of the bitmap in its format (pfDevice as 24 bits).
    void SaveToStream(TStream& stream) override;
    // Reads a BMP from a RT_BITMAP resource of `instance`.
    void LoadFromResourceName(HINSTANCE instance, const std::string& name);
    void Assign(const TPersistent& source) override;

private:
    friend class TBitmapCanvas;
    void NewImage(int width, int height, TPixelFormat format, bool keepPicture);
    HDC CanvasDC();

    int FWidth = 0;
    int FHeight = 0;
    TPixelFormat FPixelFormat = pfDevice;
    TColor FTransparentColor = clDefault;
    void* FBits = nullptr;  // DIB section bits, null for pfDevice
    int FStride = 0;
    TGdiBitmap FHandle;
    std::unique_ptr<TBitmapCanvas> FCanvas;
};

// Holds one graphic: a bitmap, or another TGraphic kind that code adds.
class TPicture : public TPersistent {
    DECLARE_CLASS(TPicture, TPersistent)
public:
    TPicture();
    ~TPicture() override;

    TGraphic* Graphic() const { return FGraphic.get(); }
    // Takes ownership of `graphic`.
    void SetGraphic(TGraphic* graphic);
    // The held graphic as a bitmap, replacing a graphic of another kind with
    // an empty bitmap.
    TBitmap* Bitmap();
    int Width() const { return FGraphic ? FGraphic->Width() : 0; }
    int Height() const { return FGraphic ? FGraphic->Height() : 0; }
    void LoadFromFile(const std::string& fileName);
    void Assign(const TPersistent& source) override;

    TNotifyEvent OnChange;

private:
    std::unique_ptr<TGraphic> FGraphic;
};
