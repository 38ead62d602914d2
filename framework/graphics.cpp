// Fonts, brushes, pens, canvases, bitmaps and pictures (see graphics.h).
#include "framework/graphics.h"

#include <algorithm>
#include <cstring>

#include "framework/streams.h"

COLORREF ColorToRGB(TColor color)
{
    if (color < 0) return GetSysColor(color & 0xFF);
    return static_cast<COLORREF>(color) & 0xFFFFFF;
}

const TEnumInfo FontStyleEnum{"TFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}};
const TEnumInfo BrushStyleEnum{"TBrushStyle",
                               {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal",
                                "bsCross", "bsDiagCross"}};
const TEnumInfo PenStyleEnum{"TPenStyle",
                             {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"}};
const TEnumInfo PixelFormatEnum{"TPixelFormat",
                                {"pfDevice", "pf1bit", "pf4bit", "pf8bit", "pf15bit", "pf16bit", "pf24bit", "pf32bit"}};

// ---- TFont ------------------------------------------------------------------

using PFont = TPropBuilder<TFont>;
IMPLEMENT_CLASS(TFont,
    PFont::Integer("Charset", &TFont::Charset, &TFont::SetCharset),
    PFont::Integer("Color", &TFont::Color, &TFont::SetColor),
    PFont::Integer("Height", &TFont::Height, &TFont::SetHeight),
    PFont::String("Name", &TFont::Name, &TFont::SetName),
    PFont::Integer("Size", &TFont::Size, &TFont::SetSize),
    PFont::Set("Style", FontStyleEnum, &TFont::Style, &TFont::SetStyle))

// The default face is the program's Chinese UI face.
TFont::TFont() : FName("宋体") {}
TFont::~TFont() = default;

void TFont::Changed()
{
    FHandle.Reset();
    if (OnChange) OnChange(this);
}

void TFont::SetName(const std::string& name)
{
    if (name.empty() || name == FName) return;
    FName = name;
    Changed();
}

void TFont::SetHeight(int height)
{
    if (height == FHeight) return;
    FHeight = height;
    Changed();
}

int TFont::Size() const { return -MulDiv(FHeight, 72, FPixelsPerInch); }
void TFont::SetSize(int points) { SetHeight(-MulDiv(points, FPixelsPerInch, 72)); }

void TFont::SetCharset(int charset)
{
    if (charset == FCharset) return;
    FCharset = charset & 0xFF;
    Changed();
}

void TFont::SetStyle(TFontStyles style)
{
    style &= 0xF;
    if (style == FStyle) return;
    FStyle = style;
    Changed();
}

void TFont::SetColor(TColor color)
{
    if (color == FColor) return;
    FColor = color;
    // The colour is not part of the GDI font.
    if (OnChange) OnChange(this);
}

void TFont::SetLogFont(const LOGFONTA& font)
{
    FName = font.lfFaceName;
    FHeight = font.lfHeight;
    FCharset = font.lfCharSet;
    FStyle = (font.lfWeight >= FW_BOLD ? FontStyle(fsBold) : 0) | (font.lfItalic ? FontStyle(fsItalic) : 0) |
             (font.lfUnderline ? FontStyle(fsUnderline) : 0) | (font.lfStrikeOut ? FontStyle(fsStrikeOut) : 0);
    Changed();
}

LOGFONTA TFont::LogFont() const
{
    LOGFONTA lf{};
    lf.lfHeight = FHeight;
    lf.lfWeight = (FStyle & FontStyle(fsBold)) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (FStyle & FontStyle(fsItalic)) ? 1 : 0;
    lf.lfUnderline = (FStyle & FontStyle(fsUnderline)) ? 1 : 0;
    lf.lfStrikeOut = (FStyle & FontStyle(fsStrikeOut)) ? 1 : 0;
    lf.lfCharSet = static_cast<BYTE>(FCharset);
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    lstrcpynA(lf.lfFaceName, FName.c_str(), LF_FACESIZE);
    return lf;
}

HFONT TFont::Handle() const
{
    if (FHandle.IsNull()) {
        LOGFONTA lf = LogFont();
        FHandle.Reset(CreateFontIndirectA(&lf));
    }
    return FHandle;
}

void TFont::Assign(const TPersistent& source)
{
    const TFont* other = As<TFont>(const_cast<TPersistent*>(&source));
    if (!other) return TPersistent::Assign(source);
    FPixelsPerInch = other->FPixelsPerInch;
    if (SameAs(*other)) return;
    FName = other->FName;
    FHeight = other->FHeight;
    FCharset = other->FCharset;
    FStyle = other->FStyle;
    FColor = other->FColor;
    Changed();
}

bool TFont::SameAs(const TFont& other) const
{
    return FName == other.FName && FHeight == other.FHeight && FCharset == other.FCharset && FStyle == other.FStyle &&
           FColor == other.FColor;
}

// ---- TBrush, TPen -------------------------------------------------------------

using PBrush = TPropBuilder<TBrush>;
IMPLEMENT_CLASS(TBrush,
    PBrush::Integer("Color", &TBrush::Color, &TBrush::SetColor),
    PBrush::Enum("Style", BrushStyleEnum, &TBrush::Style, &TBrush::SetStyle))

void TBrush::Changed()
{
    FHandle.Reset();
    if (OnChange) OnChange(this);
}

void TBrush::SetColor(TColor color)
{
    if (color == FColor) return;
    FColor = color;
    if (FStyle == bsClear) FStyle = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle style)
{
    if (style == FStyle) return;
    FStyle = style;
    Changed();
}

HBRUSH TBrush::Handle() const
{
    if (FStyle == bsClear) return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    if (FHandle.IsNull()) {
        static const int hatches[] = {0, 0, HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL, HS_CROSS, HS_DIAGCROSS};
        COLORREF rgb = ColorToRGB(FColor);
        FHandle.Reset(FStyle == bsSolid ? CreateSolidBrush(rgb) : CreateHatchBrush(hatches[FStyle], rgb));
    }
    return FHandle;
}

void TBrush::Assign(const TPersistent& source)
{
    const TBrush* other = As<TBrush>(const_cast<TPersistent*>(&source));
    if (!other) return TPersistent::Assign(source);
    FColor = other->FColor;
    FStyle = other->FStyle;
    Changed();
}

using PPen = TPropBuilder<TPen>;
IMPLEMENT_CLASS(TPen,
    PPen::Integer("Color", &TPen::Color, &TPen::SetColor),
    PPen::Enum("Style", PenStyleEnum, &TPen::Style, &TPen::SetStyle),
    PPen::Integer("Width", &TPen::Width, &TPen::SetWidth))

void TPen::Changed()
{
    FHandle.Reset();
    if (OnChange) OnChange(this);
}

void TPen::SetColor(TColor color)
{
    if (color == FColor) return;
    FColor = color;
    Changed();
}

void TPen::SetWidth(int width)
{
    width = std::max(width, 0);
    if (width == FWidth) return;
    FWidth = width;
    Changed();
}

void TPen::SetStyle(TPenStyle style)
{
    if (style == FStyle) return;
    FStyle = style;
    Changed();
}

HPEN TPen::Handle() const
{
    if (FHandle.IsNull()) {
        static const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
        FHandle.Reset(CreatePen(styles[FStyle], FWidth, ColorToRGB(FColor)));
    }
    return FHandle;
}

void TPen::Assign(const TPersistent& source)
{
    const TPen* other = As<TPen>(const_cast<TPersistent*>(&source));
    if (!other) return TPersistent::Assign(source);
    FColor = other->FColor;
    FWidth = other->FWidth;
    FStyle = other->FStyle;
    Changed();
}

// ---- TCanvas --------------------------------------------------------------------

using PCanvas = TPropBuilder<TCanvas>;
IMPLEMENT_CLASS(TCanvas,
    PCanvas::Object("Brush", &TCanvas::Brush, &TCanvas::SetBrush),
    PCanvas::Object("Font", &TCanvas::Font, &TCanvas::SetFont),
    PCanvas::Object("Pen", &TCanvas::Pen, &TCanvas::SetPen))

TCanvas::TCanvas() : FFont(std::make_unique<TFont>()), FBrush(std::make_unique<TBrush>()), FPen(std::make_unique<TPen>())
{
}

TCanvas::~TCanvas() = default;

HDC TCanvas::Handle()
{
    if (!FHandle) CreateHandle();
    if (!FHandle) throw EInvalidOperation("Canvas does not allow drawing");
    return FHandle;
}

void TCanvas::SetHandle(HDC dc)
{
    FHandle = dc;
    if (dc) {
        POINT p;
        if (GetCurrentPositionEx(dc, &p)) FPenPos = p;
    }
}

void TCanvas::FillRect(const RECT& rect)
{
    HDC dc = Handle();
    if (FBrush->Style() != bsClear) ::FillRect(dc, &rect, FBrush->Handle());
}

void TCanvas::FrameRect(const RECT& rect)
{
    HDC dc = Handle();
    ::FrameRect(dc, &rect, FBrush->Handle());
}

void TCanvas::Rectangle(int left, int top, int right, int bottom)
{
    HDC dc = Handle();
    TSelectObject pen(dc, FPen->Handle());
    TSelectObject brush(dc, FBrush->Handle());
    ::Rectangle(dc, left, top, right, bottom);
}

void TCanvas::Ellipse(int left, int top, int right, int bottom)
{
    HDC dc = Handle();
    TSelectObject pen(dc, FPen->Handle());
    TSelectObject brush(dc, FBrush->Handle());
    ::Ellipse(dc, left, top, right, bottom);
}

void TCanvas::MoveTo(int x, int y)
{
    MoveToEx(Handle(), x, y, nullptr);
    FPenPos = {x, y};
}

void TCanvas::LineTo(int x, int y)
{
    HDC dc = Handle();
    // The current position belongs to the canvas: another user of the same
    // context may have moved it since.
    MoveToEx(dc, FPenPos.x, FPenPos.y, nullptr);
    {
        TSelectObject pen(dc, FPen->Handle());
        ::LineTo(dc, x, y);
    }
    FPenPos = {x, y};
}

void TCanvas::TextOut(int x, int y, const std::string& text)
{
    HDC dc = Handle();
    TSaveDC saved(dc);
    TSelectObject font(dc, FFont->Handle());
    SetTextColor(dc, ColorToRGB(FFont->Color()));
    if (FBrush->Style() == bsClear) {
        SetBkMode(dc, TRANSPARENT);
    } else {
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, ColorToRGB(FBrush->Color()));
    }
    ::TextOutA(dc, x, y, text.data(), static_cast<int>(text.size()));
}

void TCanvas::TextRect(const RECT& rect, int x, int y, const std::string& text)
{
    HDC dc = Handle();
    TSaveDC saved(dc);
    TSelectObject font(dc, FFont->Handle());
    SetTextColor(dc, ColorToRGB(FFont->Color()));
    UINT options = ETO_CLIPPED;
    if (FBrush->Style() != bsClear) {
        options |= ETO_OPAQUE;
        SetBkColor(dc, ColorToRGB(FBrush->Color()));
    } else {
        SetBkMode(dc, TRANSPARENT);
    }
    ExtTextOutA(dc, x, y, options, &rect, text.data(), static_cast<UINT>(text.size()), nullptr);
}

SIZE TCanvas::TextExtent(const std::string& text)
{
    HDC dc = Handle();
    TSelectObject font(dc, FFont->Handle());
    SIZE size{0, 0};
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    return size;
}

void TCanvas::Draw(int x, int y, TGraphic* graphic)
{
    if (!graphic || graphic->Empty()) return;
    RECT r{x, y, x + graphic->Width(), y + graphic->Height()};
    graphic->Draw(this, r);
}

void TCanvas::StretchDraw(const RECT& rect, TGraphic* graphic)
{
    if (!graphic || graphic->Empty()) return;
    graphic->Draw(this, rect);
}

void TCanvas::CopyRect(const RECT& dest, TCanvas* source, const RECT& sourceRect)
{
    if (!source) return;
    StretchBlt(Handle(), dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, source->Handle(),
               sourceRect.left, sourceRect.top, sourceRect.right - sourceRect.left, sourceRect.bottom - sourceRect.top,
               SRCCOPY);
}

TColor TCanvas::Pixel(int x, int y)
{
    COLORREF c = GetPixel(Handle(), x, y);
    return c == CLR_INVALID ? clNone : static_cast<TColor>(c);
}

void TCanvas::SetPixel(int x, int y, TColor color) { ::SetPixel(Handle(), x, y, ColorToRGB(color)); }

// ---- TGraphic -------------------------------------------------------------------

IMPLEMENT_CLASS(TGraphic)

void TGraphic::Changed()
{
    if (OnChange) OnChange(this);
}

void TGraphic::SetTransparent(bool value)
{
    if (value == FTransparent) return;
    FTransparent = value;
    Changed();
}

void TGraphic::LoadFromFile(const std::string& fileName)
{
    TFileStream file(fileName, fmOpenRead);
    LoadFromStream(file);
}

void TGraphic::SaveToFile(const std::string& fileName)
{
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

// ---- TBitmap ------------------------------------------------------------------

// The canvas of a bitmap: a memory context with the bitmap selected into it,
// made on first use and dropped when the bitmap changes or its handle is
// asked for.
class TBitmapCanvas : public TCanvas {
    DECLARE_CLASS_INLINE(TBitmapCanvas, TCanvas)
public:
    explicit TBitmapCanvas(TBitmap* bitmap) : FBitmap(bitmap) {}
    ~TBitmapCanvas() override { FreeHandle(); }

    void CreateHandle() override
    {
        FDC = TMemoryDC(nullptr);
        if (FDC.IsNull()) return;
        if (!FBitmap->FHandle.IsNull()) FSelection = std::make_unique<TSelectObject>(FDC, FBitmap->FHandle);
        SetHandle(FDC);
    }

    void FreeHandle() override
    {
        SetHandle(nullptr);
        FSelection.reset();  // selects the bitmap out before the context goes
        FDC.Reset();
    }

private:
    TBitmap* FBitmap;
    TOwnedDC FDC;
    std::unique_ptr<TSelectObject> FSelection;
};

using PBitmap = TPropBuilder<TBitmap>;
IMPLEMENT_CLASS(TBitmap,
    PBitmap::Integer("Height", &TBitmap::Height, &TBitmap::SetHeight),
    PBitmap::Enum("PixelFormat", PixelFormatEnum, &TBitmap::PixelFormat, &TBitmap::SetPixelFormat),
    PBitmap::Bool("Transparent", &TBitmap::Transparent, &TBitmap::SetTransparent),
    PBitmap::Integer("TransparentColor", &TBitmap::TransparentColor, &TBitmap::SetTransparentColor),
    PBitmap::Integer("Width", &TBitmap::Width, &TBitmap::SetWidth))

namespace {

// A device context of the display, made once and kept for the program's
// life: bitmaps compatible with the screen are made against it. A DC of the
// screen asked for each bitmap (GetDC of no window) cost a request to the
// window server every time, and skinning a window makes dozens of bitmaps.
HDC DisplayDC()
{
    static const HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    return display;
}

// A bitmap compatible with the screen.
HBITMAP MakeScreenBitmap(int width, int height)
{
    if (HDC display = DisplayDC()) return CreateCompatibleBitmap(display, width, height);
    TWindowDC screen = TWindowDC::Client(nullptr);
    return CreateCompatibleBitmap(screen, width, height);
}

int BitsOf(TPixelFormat format)
{
    static const int bits[] = {0, 1, 4, 8, 16, 16, 24, 32};
    return bits[format];
}

TPixelFormat FormatOf(int bitCount, DWORD compression, const DWORD* masks)
{
    switch (bitCount) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16: return (compression == BI_BITFIELDS && masks && masks[1] == 0x07E0) ? pf16bit : pf15bit;
    case 24: return pf24bit;
    case 32: return pf32bit;
    }
    return pfDevice;
}

// A BITMAPINFO with room for a full palette or three masks.
struct TBitmapInfo {
    BITMAPINFOHEADER Header;
    RGBQUAD Colors[256];
};

// Fills `info` for a new bottom-up DIB of the format; palettes get a grey
// ramp (1 bit: black and white).
void MakeInfo(TBitmapInfo& info, int width, int height, TPixelFormat format)
{
    std::memset(&info, 0, sizeof info);
    info.Header.biSize = sizeof(BITMAPINFOHEADER);
    info.Header.biWidth = width;
    info.Header.biHeight = height;
    info.Header.biPlanes = 1;
    info.Header.biBitCount = static_cast<WORD>(BitsOf(format));
    info.Header.biCompression = BI_RGB;
    if (format == pf16bit) {
        info.Header.biCompression = BI_BITFIELDS;
        DWORD* masks = reinterpret_cast<DWORD*>(info.Colors);
        masks[0] = 0xF800;
        masks[1] = 0x07E0;
        masks[2] = 0x001F;
    }
    int colors = info.Header.biBitCount <= 8 ? 1 << info.Header.biBitCount : 0;
    for (int i = 0; i < colors; ++i) {
        BYTE v = static_cast<BYTE>(colors == 1 ? 0 : i * 255 / (colors - 1));
        info.Colors[i] = RGBQUAD{v, v, v, 0};
    }
}

int StrideOf(int width, int bits) { return ((width * bits + 31) / 32) * 4; }

}  // namespace

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, TPixelFormat format)
{
    FPixelFormat = format;
    SetSize(width, height);
}

TBitmap::~TBitmap()
{
    FCanvas.reset();  // the canvas selects the bitmap out before it is deleted
}

HDC TBitmap::CanvasDC() { return Canvas()->Handle(); }

TCanvas* TBitmap::Canvas()
{
    if (!FCanvas) FCanvas = std::make_unique<TBitmapCanvas>(this);
    return FCanvas.get();
}

// Makes a new image; when keepPicture, the old picture is copied to its
// top-left corner and the rest is white.
void TBitmap::NewImage(int width, int height, TPixelFormat format, bool keepPicture)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    TGdiBitmap image;
    void* bits = nullptr;
    int stride = 0;
    if (width > 0 && height > 0) {
        if (format == pfDevice) {
            image.Reset(MakeScreenBitmap(width, height));
        } else {
            // With DIB_RGB_COLORS the colours are in the header: no DC is needed.
            TBitmapInfo info;
            MakeInfo(info, width, height, format);
            image.Reset(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
            stride = StrideOf(width, BitsOf(format));
        }
        if (image.IsNull()) throw EInvalidGraphic(Format("Cannot make a %d x %d bitmap", width, height));
        TMemoryDC dc(nullptr);
        TSelectObject selected(dc, image);
        RECT all{0, 0, width, height};
        ::FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        if (keepPicture && !FHandle.IsNull()) {
            if (FCanvas) FCanvas->FreeHandle();
            TMemoryDC old(nullptr);
            TSelectObject oldSelected(old, FHandle);
            BitBlt(dc, 0, 0, std::min(width, FWidth), std::min(height, FHeight), old, 0, 0, SRCCOPY);
        }
    }
    if (FCanvas) FCanvas->FreeHandle();
    FHandle = std::move(image);
    FBits = bits;
    FStride = stride;
    FWidth = FHandle.IsNull() ? 0 : width;
    FHeight = FHandle.IsNull() ? 0 : height;
    FPixelFormat = format;
    Changed();
}

void TBitmap::SetSize(int width, int height)
{
    if (width == FWidth && height == FHeight && (!FHandle.IsNull() || width == 0 || height == 0)) return;
    NewImage(width, height, FPixelFormat, true);
}

void TBitmap::SetPixelFormat(TPixelFormat format)
{
    if (format == FPixelFormat) return;
    if (Empty()) {
        FPixelFormat = format;
        return;
    }
    NewImage(FWidth, FHeight, format, true);
}

TColor TBitmap::TransparentColor() const
{
    if (FTransparentColor != clDefault || Empty()) return FTransparentColor == clDefault ? clNone : FTransparentColor;
    TBitmap* self = const_cast<TBitmap*>(this);
    return self->Canvas()->Pixel(0, FHeight - 1);
}

void TBitmap::SetTransparentColor(TColor color)
{
    if (color == FTransparentColor) return;
    FTransparentColor = color;
    Changed();
}

HBITMAP TBitmap::Handle()
{
    if (FCanvas) FCanvas->FreeHandle();
    return FHandle;
}

void TBitmap::SetHandle(HBITMAP bitmap)
{
    if (FCanvas) FCanvas->FreeHandle();
    FHandle.Reset(bitmap);
    FBits = nullptr;
    FStride = 0;
    FWidth = FHeight = 0;
    FPixelFormat = pfDevice;
    DIBSECTION dib{};
    if (bitmap && GetObjectA(bitmap, sizeof dib, &dib) == sizeof dib) {
        FWidth = dib.dsBm.bmWidth;
        FHeight = std::abs(dib.dsBmih.biHeight);
        FBits = dib.dsBm.bmBits;
        FStride = dib.dsBm.bmWidthBytes;
        FPixelFormat = FormatOf(dib.dsBmih.biBitCount, dib.dsBmih.biCompression, dib.dsBitfields);
        // Only bottom-up sections have the row order ScanLine expects.
        if (dib.dsBmih.biHeight < 0) FBits = nullptr;
    } else if (bitmap) {
        BITMAP bm{};
        GetObjectA(bitmap, sizeof bm, &bm);
        FWidth = bm.bmWidth;
        FHeight = bm.bmHeight;
    }
    Changed();
}

HBITMAP TBitmap::ReleaseHandle()
{
    if (FCanvas) FCanvas->FreeHandle();
    HBITMAP result = FHandle.Release();
    FBits = nullptr;
    FWidth = FHeight = 0;
    return result;
}

void* TBitmap::ScanLine(int row)
{
    if (!FBits) throw EInvalidGraphic("Scan lines need a device-independent bitmap");
    if (row < 0 || row >= FHeight) throw EInvalidGraphic(Format("Scan line index out of range (%d)", row));
    GdiFlush();
    return static_cast<unsigned char*>(FBits) + static_cast<size_t>(FHeight - 1 - row) * FStride;
}

void TBitmap::Draw(TCanvas* canvas, const RECT& rect)
{
    if (Empty() || !canvas) return;
    HDC target = canvas->Handle();
    HDC source = CanvasDC();
    int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (FTransparent) {
        TColor key = TransparentColor();
        TransparentBlt(target, rect.left, rect.top, w, h, source, 0, 0, FWidth, FHeight, ColorToRGB(key));
    } else if (w == FWidth && h == FHeight) {
        BitBlt(target, rect.left, rect.top, w, h, source, 0, 0, SRCCOPY);
    } else {
        int oldMode = SetStretchBltMode(target, COLORONCOLOR);
        StretchBlt(target, rect.left, rect.top, w, h, source, 0, 0, FWidth, FHeight, SRCCOPY);
        SetStretchBltMode(target, oldMode);
    }
}

void TBitmap::LoadFromStream(TStream& stream)
{
    BITMAPFILEHEADER file;
    int64_t start = stream.Position();
    int64_t available = stream.Size() - start;
    if (stream.Read(&file, sizeof file) != sizeof file || file.bfType != 0x4D42)
        throw EInvalidGraphic("Bitmap image is not valid");
    // Everything after the file header, as far as the file says it goes (a
    // bitmap may be embedded in a larger stream) and the stream has bytes.
    int64_t total = available;
    if (file.bfSize >= sizeof file && file.bfSize <= available) total = file.bfSize;
    int64_t rest = total - static_cast<int64_t>(sizeof file);
    if (rest < static_cast<int64_t>(sizeof(BITMAPINFOHEADER)) || rest > (256 << 20))
        throw EInvalidGraphic("Bitmap image is not valid");
    std::vector<unsigned char> data(static_cast<size_t>(rest));
    stream.ReadBuffer(data.data(), rest);

    BITMAPINFOHEADER header;
    std::memcpy(&header, data.data(), sizeof header);
    if (header.biSize < sizeof header || header.biSize > rest || header.biPlanes != 1 || header.biWidth <= 0 ||
        header.biHeight == 0 || header.biWidth > 32767 || std::abs(header.biHeight) > 32767)
        throw EInvalidGraphic("Bitmap image is not valid");
    int bitCount = header.biBitCount;
    TPixelFormat format = FormatOf(bitCount, header.biCompression, nullptr);
    if (format == pfDevice) throw EInvalidGraphic(Format("Unsupported bitmap bit count %d", bitCount));
    if (header.biCompression != BI_RGB && !(header.biCompression == BI_BITFIELDS && (bitCount == 16 || bitCount == 32)))
        throw EInvalidGraphic("Unsupported bitmap compression");

    size_t offset = header.biSize;
    DWORD masks[3] = {0, 0, 0};
    if (header.biCompression == BI_BITFIELDS) {
        if (header.biSize >= 52) {  // V2 headers and later carry the masks inside
            std::memcpy(masks, data.data() + 40, sizeof masks);
        } else {
            if (offset + sizeof masks > data.size()) throw EInvalidGraphic("Bitmap image is not valid");
            std::memcpy(masks, data.data() + offset, sizeof masks);
            offset += sizeof masks;
        }
        format = FormatOf(bitCount, BI_BITFIELDS, masks);
    }
    int colors = 0;
    if (bitCount <= 8) {
        colors = header.biClrUsed ? static_cast<int>(header.biClrUsed) : 1 << bitCount;
        if (colors > (1 << bitCount)) throw EInvalidGraphic("Bitmap image is not valid");
    }
    if (offset + static_cast<size_t>(colors) * sizeof(RGBQUAD) > data.size())
        throw EInvalidGraphic("Bitmap image is not valid");

    int width = header.biWidth;
    int height = std::abs(header.biHeight);
    size_t stride = static_cast<size_t>(StrideOf(width, bitCount));
    size_t pixelBytes = stride * static_cast<size_t>(height);
    size_t pixelStart = offset + static_cast<size_t>(colors) * sizeof(RGBQUAD);
    if (file.bfOffBits >= sizeof file + offset) pixelStart = file.bfOffBits - sizeof file;
    if (pixelStart > data.size() || data.size() - pixelStart < pixelBytes)
        throw EInvalidGraphic("Bitmap image is truncated");

    // A new bottom-up section of the file's format, then its palette or masks
    // and its rows.
    TBitmapInfo info;
    MakeInfo(info, width, height, format);
    if (colors) {
        std::memcpy(info.Colors, data.data() + offset, static_cast<size_t>(colors) * sizeof(RGBQUAD));
        info.Header.biClrUsed = colors;
    }
    if (header.biCompression == BI_BITFIELDS) {
        info.Header.biCompression = BI_BITFIELDS;
        std::memcpy(info.Colors, masks, sizeof masks);
    }
    void* bits = nullptr;
    TGdiBitmap image;
    image.Reset(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
    if (image.IsNull() || !bits) throw EInvalidGraphic("Out of memory for the bitmap");
    const unsigned char* source = data.data() + pixelStart;
    auto* target = static_cast<unsigned char*>(bits);
    for (int y = 0; y < height; ++y) {
        // Target rows are bottom-up; a top-down file lists its top row first.
        int sourceRow = header.biHeight > 0 ? y : height - 1 - y;
        std::memcpy(target + stride * y, source + stride * sourceRow, stride);
    }
    if (FCanvas) FCanvas->FreeHandle();
    FHandle = std::move(image);
    FBits = bits;
    FStride = static_cast<int>(stride);
    FWidth = width;
    FHeight = height;
    FPixelFormat = format;
    Changed();
}

void TBitmap::SaveToStream(TStream& stream)
{
    TPixelFormat format = FPixelFormat == pfDevice ? pf24bit : FPixelFormat;
    TBitmapInfo info;
    MakeInfo(info, FWidth, FHeight, format);
    int colors = info.Header.biBitCount <= 8 ? 1 << info.Header.biBitCount : 0;
    int extra = format == pf16bit ? 3 * sizeof(DWORD) : colors * static_cast<int>(sizeof(RGBQUAD));
    size_t stride = static_cast<size_t>(StrideOf(FWidth, info.Header.biBitCount));
    std::vector<unsigned char> pixels(stride * FHeight);
    if (!Empty()) {
        HBITMAP handle = Handle();
        TWindowDC screen = TWindowDC::Client(nullptr);
        GetDIBits(screen, handle, 0, FHeight, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
        info.Header.biClrUsed = 0;
        info.Header.biSizeImage = 0;
    }
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.Header + extra;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
    stream.WriteBuffer(&file, sizeof file);
    stream.WriteBuffer(&info.Header, sizeof info.Header);
    if (extra) stream.WriteBuffer(info.Colors, extra);
    if (!pixels.empty()) stream.WriteBuffer(pixels.data(), static_cast<int64_t>(pixels.size()));
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const std::string& name)
{
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(instance, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap) throw EInvalidGraphic(Format("Bitmap resource %s not found", name.c_str()));
    SetHandle(bitmap);
}

void TBitmap::Assign(const TPersistent& source)
{
    TBitmap* other = As<TBitmap>(const_cast<TPersistent*>(&source));
    if (!other) return TPersistent::Assign(source);
    if (other == this) return;
    TColor key = other->FTransparentColor;
    bool transparent = other->FTransparent;
    if (other->Empty()) {
        if (FCanvas) FCanvas->FreeHandle();
        FHandle.Reset();
        FBits = nullptr;
        FWidth = FHeight = 0;
        FPixelFormat = other->FPixelFormat;
    } else {
        FHandle.Reset();
        FWidth = FHeight = 0;
        NewImage(other->FWidth, other->FHeight, other->FPixelFormat, false);
        if (FBits && other->FBits && FStride == other->FStride) {
            GdiFlush();
            std::memcpy(FBits, other->FBits, static_cast<size_t>(FStride) * FHeight);
        } else {
            BitBlt(CanvasDC(), 0, 0, FWidth, FHeight, other->CanvasDC(), 0, 0, SRCCOPY);
        }
    }
    FTransparentColor = key;
    FTransparent = transparent;
    Changed();
}

// ---- TPicture ---------------------------------------------------------------------

using PPicture = TPropBuilder<TPicture>;
IMPLEMENT_CLASS(TPicture,
    PPicture::Object("Graphic", &TPicture::Graphic, &TPicture::SetGraphic))

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::SetGraphic(TGraphic* graphic)
{
    if (graphic == FGraphic.get()) return;
    FGraphic.reset(graphic);
    if (FGraphic) FGraphic->OnChange = [this](TObject*) { if (OnChange) OnChange(this); };
    if (OnChange) OnChange(this);
}

TBitmap* TPicture::Bitmap()
{
    if (!As<TBitmap>(FGraphic.get())) SetGraphic(new TBitmap());
    return static_cast<TBitmap*>(FGraphic.get());
}

void TPicture::LoadFromFile(const std::string& fileName)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromFile(fileName);
    SetGraphic(bitmap.release());
}

void TPicture::Assign(const TPersistent& source)
{
    const TPicture* other = As<TPicture>(const_cast<TPersistent*>(&source));
    if (!other) {
        if (TBitmap* bitmap = As<TBitmap>(const_cast<TPersistent*>(&source))) {
            Bitmap()->Assign(*bitmap);
            return;
        }
        return TPersistent::Assign(source);
    }
    if (!other->FGraphic) {
        SetGraphic(nullptr);
    } else if (TBitmap* bitmap = As<TBitmap>(other->FGraphic.get())) {
        Bitmap()->Assign(*bitmap);
    } else {
        throw EConvertError(Format("Cannot copy a picture holding a %s", other->FGraphic->ClassName().c_str()));
    }
}
