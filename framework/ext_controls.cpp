// Pictures, date pickers, check boxes and radio buttons (see ext_controls.h).
#include "framework/ext_controls.h"

#include <commctrl.h>
#include <ole2.h>
#include <olectl.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "framework/display_scale.h"
#include "framework/forms.h"

const TEnumInfo DateTimeKindEnum{"TDateTimeKind", {"dtkDate", "dtkTime"}};
const TEnumInfo DTDateFormatEnum{"TDTDateFormat", {"dfShort", "dfLong"}};
const TEnumInfo CheckBoxStateEnum{"TCheckBoxState", {"cbUnchecked", "cbChecked", "cbGrayed"}};

namespace {

// Releases a COM interface at the end of a scope.
template <class T>
struct TComRef {
    T* Ptr = nullptr;
    ~TComRef()
    {
        if (Ptr) Ptr->Release();
    }
};

// The system's picture decoder over a copy of the bytes.
std::unique_ptr<TBitmap> DecodeWithOle(const void* data, size_t size)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory) throw EInvalidGraphic("Not enough memory for the picture");
    void* bytes = GlobalLock(memory);
    std::memcpy(bytes, data, size);
    GlobalUnlock(memory);
    TComRef<IStream> stream;
    // The stream frees the memory when it goes.
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream.Ptr))) {
        GlobalFree(memory);
        throw EInvalidGraphic("Not enough memory for the picture");
    }
    TComRef<IPicture> picture;
    HRESULT hr = OleLoadPicture(stream.Ptr, static_cast<LONG>(size), FALSE, IID_IPicture,
                                reinterpret_cast<void**>(&picture.Ptr));
    if (hr == CO_E_NOTINITIALIZED) {
        CoInitialize(nullptr);
        LARGE_INTEGER start{};
        stream.Ptr->Seek(start, STREAM_SEEK_SET, nullptr);
        hr = OleLoadPicture(stream.Ptr, static_cast<LONG>(size), FALSE, IID_IPicture,
                            reinterpret_cast<void**>(&picture.Ptr));
    }
    SHORT type = PICTYPE_NONE;
    OLE_HANDLE handle = 0;
    if (FAILED(hr) || !picture.Ptr || FAILED(picture.Ptr->get_Type(&type)) || type != PICTYPE_BITMAP ||
        FAILED(picture.Ptr->get_Handle(&handle)) || !handle)
        throw EInvalidGraphic("The picture's format is not supported or its data are damaged");
    // The decoded bitmap belongs to the picture object: copy it.
    HBITMAP decoded = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
    BITMAP info{};
    if (!GetObjectA(decoded, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0)
        throw EInvalidGraphic("The picture is empty");
    auto bitmap = std::make_unique<TBitmap>(info.bmWidth, std::abs(info.bmHeight), pf24bit);
    HDC target = bitmap->Canvas()->Handle();
    TMemoryDC source(target);
    {
        TSelectObject selected(source, decoded);
        BitBlt(target, 0, 0, info.bmWidth, std::abs(info.bmHeight), source, 0, 0, SRCCOPY);
    }
    return bitmap;
}

// Numbers in `text`, in order; any other character separates them.
std::vector<int> NumbersIn(const std::string& text, bool& clean)
{
    std::vector<int> numbers;
    clean = true;
    long long value = -1;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            value = (value < 0 ? 0 : value) * 10 + (c - '0');
            if (value > 100000) clean = false;
        } else {
            if (value >= 0) numbers.push_back(static_cast<int>(value));
            value = -1;
            if (static_cast<unsigned char>(c) >= 0x80) clean = false;
        }
    }
    if (value >= 0) numbers.push_back(static_cast<int>(value));
    return numbers;
}

bool ValidSystemTime(SYSTEMTIME& time)
{
    FILETIME file;
    if (!SystemTimeToFileTime(&time, &file)) return false;
    // Fills in the day of the week.
    return FileTimeToSystemTime(&file, &time) != 0;
}

}  // namespace

std::unique_ptr<TBitmap> DecodePicture(const void* data, size_t size)
{
    if (!data || size < 4) throw EInvalidGraphic("The picture is empty");
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (bytes[0] == 'B' && bytes[1] == 'M') {
        TMemoryStream stream;
        stream.WriteBuffer(data, static_cast<int64_t>(size));
        stream.SetPosition(0);
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->LoadFromStream(stream);
        return bitmap;
    }
    return DecodeWithOle(data, size);
}

// ---- TImage ---------------------------------------------------------------------------------

using PImage = TPropBuilder<TImage>;
IMPLEMENT_CLASS(TImage,
    PImage::Bool("Center", &TImage::Center, &TImage::SetCenter),
    PImage::Object("Picture", &TImage::Picture, &TImage::SetPicture),
    PImage::Bool("Stretch", &TImage::Stretch, &TImage::SetStretch))

TImage::TImage(TComponent* owner) : TGraphicControl(owner), FPicture(std::make_unique<TPicture>())
{
    FControlStyle |= csOpaque;
    FWidth = 105;
    FHeight = 105;
    FPicture->OnChange = [this](TObject*) { PictureChanged(); };
}

TImage::~TImage() { FPicture->OnChange = nullptr; }

void TImage::SetPicture(TPicture* picture)
{
    if (picture) FPicture->Assign(*picture);
}

void TImage::SetStretch(bool value)
{
    if (value == FStretch) return;
    FStretch = value;
    Invalidate();
}

void TImage::SetCenter(bool value)
{
    if (value == FCenter) return;
    FCenter = value;
    Invalidate();
}

void TImage::PictureChanged()
{
    FScaledPicture.reset();
    // Only a picture that covers the whole control hides what is behind it.
    TGraphic* graphic = FPicture->Graphic();
    const SIZE shown = ShownPictureSize();
    bool covers = graphic && !graphic->Empty() && !graphic->Transparent() &&
                  (FStretch || (shown.cx >= FWidth && shown.cy >= FHeight));
    if (covers)
        FControlStyle |= csOpaque;
    else
        FControlStyle &= ~csOpaque;
    Invalidate();
}

void TImage::LoadFromMemory(const void* data, size_t size) { FPicture->SetGraphic(DecodePicture(data, size).release()); }

void TImage::LoadFromStream(TStream& stream)
{
    int64_t size = stream.Size() - stream.Position();
    if (size <= 0) throw EInvalidGraphic("The picture is empty");
    std::vector<unsigned char> bytes(static_cast<size_t>(size));
    stream.ReadBuffer(bytes.data(), size);
    LoadFromMemory(bytes.data(), bytes.size());
}

void TImage::LoadFromResourceName(HINSTANCE instance, const std::string& name)
{
    TResourceStream stream(instance, name);
    LoadFromMemory(stream.Memory(), static_cast<size_t>(stream.Size()));
}

namespace {

// `graphic` resampled to width x height as a 32-bit bitmap: each pixel
// repeated where the factor is whole (and for pictures with a transparent
// colour, whose key must stay exact), else interpolated between the four
// nearest source pixels.
std::unique_ptr<TBitmap> ResampledPicture(TGraphic* graphic, int width, int height)
{
    const int sw = graphic->Width(), sh = graphic->Height();
    TBitmap source(sw, sh, pf32bit);
    graphic->Draw(source.Canvas(), RECT{0, 0, sw, sh});
    GdiFlush();
    auto target = std::make_unique<TBitmap>(width, height, pf32bit);
    const bool keyed = graphic->Transparent();
    const bool whole = width % sw == 0 && height % sh == 0;
    for (int y = 0; y < height; ++y) {
        auto* out = static_cast<std::uint8_t*>(target->ScanLine(y));
        // The source position of this row's centre, in source pixels.
        const double fy = std::clamp((y + 0.5) * sh / height - 0.5, 0.0, sh - 1.0);
        const int y0 = (keyed || whole) ? std::min(sh - 1, y * sh / height) : static_cast<int>(fy);
        const int y1 = std::min(y0 + 1, sh - 1);
        const double wy = (keyed || whole) ? 0.0 : fy - y0;
        const auto* row0 = static_cast<const std::uint8_t*>(source.ScanLine(y0));
        const auto* row1 = static_cast<const std::uint8_t*>(source.ScanLine(y1));
        for (int x = 0; x < width; ++x) {
            const double fx = std::clamp((x + 0.5) * sw / width - 0.5, 0.0, sw - 1.0);
            const int x0 = (keyed || whole) ? std::min(sw - 1, x * sw / width) : static_cast<int>(fx);
            const int x1 = std::min(x0 + 1, sw - 1);
            const double wx = (keyed || whole) ? 0.0 : fx - x0;
            for (int k = 0; k < 4; ++k) {
                const double top = row0[4 * x0 + k] * (1 - wx) + row0[4 * x1 + k] * wx;
                const double bottom = row1[4 * x0 + k] * (1 - wx) + row1[4 * x1 + k] * wx;
                out[4 * x + k] = static_cast<std::uint8_t>(top * (1 - wy) + bottom * wy + 0.5);
            }
        }
    }
    if (keyed) {
        if (auto* bitmap = As<TBitmap>(graphic)) target->SetTransparentColor(bitmap->TransparentColor());
        target->SetTransparent(true);
    }
    return target;
}

}  // namespace

SIZE TImage::ShownPictureSize() const
{
    TGraphic* graphic = FPicture->Graphic();
    if (!graphic || graphic->Empty()) return SIZE{0, 0};
    const UINT dpi = static_cast<UINT>(ControlPixelsPerInch(this));
    return SIZE{ScaleToDpi(graphic->Width(), dpi), ScaleToDpi(graphic->Height(), dpi)};
}

void TImage::Paint()
{
    TCanvas* canvas = Canvas();
    TGraphic* graphic = FPicture->Graphic();
    if (!graphic || graphic->Empty()) return;
    if (FStretch) {
        canvas->StretchDraw(RECT{0, 0, FWidth, FHeight}, graphic);
        return;
    }
    const SIZE shown = ShownPictureSize();
    int x = FCenter ? (FWidth - shown.cx) / 2 : 0;
    int y = FCenter ? (FHeight - shown.cy) / 2 : 0;
    if (shown.cx == graphic->Width() && shown.cy == graphic->Height()) {
        canvas->Draw(x, y, graphic);
        return;
    }
    if (!FScaledPicture || FScaledPicture->Width() != shown.cx || FScaledPicture->Height() != shown.cy)
        FScaledPicture = ResampledPicture(graphic, shown.cx, shown.cy);
    canvas->Draw(x, y, FScaledPicture.get());
}

// ---- TDateTimePicker ------------------------------------------------------------------------

using PDateTimePicker = TPropBuilder<TDateTimePicker>;
IMPLEMENT_CLASS(TDateTimePicker,
    PDateTimePicker::Integer("Color", &TDateTimePicker::Color, &TDateTimePicker::SetColor),
    PDateTimePicker::Enum("DateFormat", DTDateFormatEnum, &TDateTimePicker::DateFormat,
                          &TDateTimePicker::SetDateFormat),
    PDateTimePicker::Object("Font", &TDateTimePicker::Font, &TDateTimePicker::SetFont),
    PDateTimePicker::String("Format", &TDateTimePicker::Format, &TDateTimePicker::SetFormat),
    PDateTimePicker::Enum("Kind", DateTimeKindEnum, &TDateTimePicker::Kind, &TDateTimePicker::SetKind),
    PDateTimePicker::Bool("ParentFont", &TDateTimePicker::ParentFont, &TDateTimePicker::SetParentFont),
    PDateTimePicker::Bool("ReadOnly", &TDateTimePicker::ReadOnly, &TDateTimePicker::SetReadOnly),
    PDateTimePicker::String("Text", &TDateTimePicker::Text, &TDateTimePicker::SetText))

TDateTimePicker::TDateTimePicker(TComponent* owner) : TWinControl(owner)
{
    FControlStyle = csSetCaption | csDoubleClicks;
    FWidth = 186;
    FHeight = 21;
    FTabStop = true;
    FColor = clWindow;
    FBrush->SetColor(clWindow);
    GetLocalTime(&FDateTime);
    FDateTime.wMilliseconds = 0;
}

void TDateTimePicker::CreateParams(TCreateParams& p)
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_DATE_CLASSES};
    InitCommonControlsEx(&icc);
    TWinControl::CreateParams(p);
    CreateSubClass(p, DATETIMEPICK_CLASSA);
    p.Caption.clear();
    if (FKind == dtkTime)
        p.Style |= DTS_TIMEFORMAT;
    else if (FDateFormat == dfLong)
        p.Style |= DTS_LONGDATEFORMAT;
    else
        p.Style |= DTS_SHORTDATEFORMAT;
}

void TDateTimePicker::CreateWindowDone()
{
    ::SendMessageA(FHandle, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&FDateTime));
    ApplyFormat();
}

void TDateTimePicker::ApplyFormat()
{
    if (FHandle) ::SendMessageA(FHandle, DTM_SETFORMATA, 0, FFormat.empty() ? 0 : reinterpret_cast<LPARAM>(FFormat.c_str()));
}

SYSTEMTIME TDateTimePicker::DateTime() const
{
    SYSTEMTIME value = FDateTime;
    if (FHandle && !FReadOnly && ::SendMessageA(FHandle, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&value)) != GDT_VALID)
        value = FDateTime;
    return value;
}

void TDateTimePicker::SetDateTime(const SYSTEMTIME& value)
{
    SYSTEMTIME checked = value;
    if (!ValidSystemTime(checked)) throw EConvertError("Invalid date or time");
    FDateTime = checked;
    if (FHandle) ::SendMessageA(FHandle, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&FDateTime));
    Perform(CM_TEXTCHANGED);
}

void TDateTimePicker::SetKind(TDateTimeKind value)
{
    if (value == FKind) return;
    FKind = value;
    RecreateWnd();
}

void TDateTimePicker::SetDateFormat(TDTDateFormat value)
{
    if (value == FDateFormat) return;
    FDateFormat = value;
    RecreateWnd();
}

void TDateTimePicker::SetFormat(const std::string& value)
{
    FFormat = value;
    ApplyFormat();
}

std::string TDateTimePicker::GetText() const
{
    SYSTEMTIME value = DateTime();
    const char* format = FFormat.empty() ? nullptr : FFormat.c_str();
    char text[128] = {};
    if (FKind == dtkTime) {
        GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &value, format, text, sizeof text);
    } else {
        DWORD flags = format ? 0 : (FDateFormat == dfLong ? DATE_LONGDATE : DATE_SHORTDATE);
        GetDateFormatA(LOCALE_USER_DEFAULT, flags, &value, format, text, sizeof text);
    }
    return text;
}

void TDateTimePicker::SetText(const std::string& value)
{
    bool clean = true;
    std::vector<int> numbers = NumbersIn(value, clean);
    SYSTEMTIME parsed = DateTime();
    bool ok = clean;
    if (FKind == dtkTime) {
        ok = ok && (numbers.size() == 2 || numbers.size() == 3);
        if (ok) {
            parsed.wHour = static_cast<WORD>(numbers[0]);
            parsed.wMinute = static_cast<WORD>(numbers[1]);
            parsed.wSecond = static_cast<WORD>(numbers.size() == 3 ? numbers[2] : 0);
            parsed.wMilliseconds = 0;
        }
    } else {
        ok = ok && numbers.size() == 3;
        if (ok) {
            // The order of year, month and day is the short date format's.
            char pattern[80] = {};
            GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, pattern, sizeof pattern);
            std::string order;
            for (const char* c = pattern; *c; ++c) {
                char field = static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
                if ((field == 'y' || field == 'm' || field == 'd') && order.find(field) == std::string::npos)
                    order += field;
            }
            if (order.size() != 3) order = "ymd";
            int year = 0, month = 0, day = 0;
            for (size_t i = 0; i < 3; ++i) {
                if (order[i] == 'y') year = numbers[i];
                if (order[i] == 'm') month = numbers[i];
                if (order[i] == 'd') day = numbers[i];
            }
            if (year < 100) year += year < 50 ? 2000 : 1900;
            parsed.wYear = static_cast<WORD>(std::min(year, 30827));
            parsed.wMonth = static_cast<WORD>(std::min(month, 99));
            parsed.wDay = static_cast<WORD>(std::min(day, 99));
        }
    }
    if (!ok || !ValidSystemTime(parsed))
        throw EConvertError(::Format("'%s' is not a valid %s", value.c_str(), FKind == dtkTime ? "time" : "date"));
    SetDateTime(parsed);
}

void TDateTimePicker::Change()
{
    if (OnChange) OnChange(this);
}

void TDateTimePicker::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case CN_NOTIFY:
        switch (reinterpret_cast<NMHDR*>(m.LParam)->code) {
        case DTN_DROPDOWN:
            FDroppedDown = true;
            if (OnDropDown) OnDropDown(this);
            return;
        case DTN_CLOSEUP:
            FDroppedDown = false;
            if (OnCloseUp) OnCloseUp(this);
            return;
        }
        if (reinterpret_cast<NMHDR*>(m.LParam)->code == DTN_DATETIMECHANGE) {
            if (FReadOnly) {
                // Whatever got through is put back.
                ::SendMessageA(FHandle, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&FDateTime));
            } else {
                ::SendMessageA(FHandle, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&FDateTime));
                Change();
            }
        }
        return;
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_SYSKEYDOWN:
        // A read-only field takes no keys but the ones that move the focus on.
        if (FReadOnly && m.WParam != VK_TAB && m.WParam != VK_ESCAPE && m.WParam != VK_RETURN) return;
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (FReadOnly) {
            if (CanFocus()) ::SetFocus(FHandle);
            return;
        }
        break;
    case WM_MOUSEWHEEL:
        if (FReadOnly) return;
        break;
    }
    TWinControl::WndProc(m);
}

// ---- TCheckBox -----------------------------------------------------------------------------

namespace {

// The BUTTON style bits of a check box's or radio button's caption layout.
DWORD CaptionLayoutStyle(TAlignment alignment, bool wordWrap)
{
    return (alignment == taLeftJustify ? BS_LEFTTEXT : 0) | (wordWrap ? BS_MULTILINE : 0);
}

}  // namespace

using PCheckBox = TPropBuilder<TCheckBox>;
IMPLEMENT_CLASS(TCheckBox,
    PCheckBox::Enum("Alignment", AlignmentEnum, &TCheckBox::Alignment, &TCheckBox::SetAlignment),
    PCheckBox::Bool("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed),
    PCheckBox::String("Caption", &TCheckBox::Caption, &TCheckBox::SetCaption),
    PCheckBox::Bool("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked),
    PCheckBox::Integer("Color", &TCheckBox::Color, &TCheckBox::SetColor),
    PCheckBox::Object("Font", &TCheckBox::Font, &TCheckBox::SetFont),
    PCheckBox::Bool("ParentColor", &TCheckBox::ParentColor, &TCheckBox::SetParentColor),
    PCheckBox::Bool("ParentFont", &TCheckBox::ParentFont, &TCheckBox::SetParentFont),
    PCheckBox::Enum("State", CheckBoxStateEnum, &TCheckBox::State, &TCheckBox::SetState),
    PCheckBox::Bool("WordWrap", &TCheckBox::WordWrap, &TCheckBox::SetWordWrap))

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner)
{
    FControlStyle = csSetCaption | csDoubleClicks;
    FParentColor = true;
    FWidth = 97;
    FHeight = 17;
    FTabStop = true;
}

void TCheckBox::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    CreateSubClass(p, "BUTTON");
    p.Style |= (FAllowGrayed ? BS_AUTO3STATE : BS_AUTOCHECKBOX) | CaptionLayoutStyle(FAlignment, FWordWrap);
}

void TCheckBox::SetAlignment(TAlignment value)
{
    if (value == taCenter) value = taRightJustify;
    if (value == FAlignment) return;
    FAlignment = value;
    RecreateWnd();
}

void TCheckBox::SetWordWrap(bool value)
{
    if (value == FWordWrap) return;
    FWordWrap = value;
    RecreateWnd();
}

void TCheckBox::CreateWindowDone()
{
    static const WPARAM checks[] = {BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE};
    ::SendMessageA(FHandle, BM_SETCHECK, checks[FState], 0);
}

void TCheckBox::DestroyWnd()
{
    FState = State();
    TWinControl::DestroyWnd();
}

TCheckBoxState TCheckBox::State() const
{
    if (!FHandle) return FState;
    LRESULT check = ::SendMessageA(FHandle, BM_GETCHECK, 0, 0);
    return check == BST_CHECKED ? cbChecked : check == BST_INDETERMINATE ? cbGrayed : cbUnchecked;
}

void TCheckBox::SetState(TCheckBoxState value)
{
    if (value == cbGrayed && !FAllowGrayed) value = cbChecked;
    if (value == State()) return;
    FState = value;
    if (FHandle) CreateWindowDone();
    Invalidate();
}

void TCheckBox::SetAllowGrayed(bool value)
{
    if (value == FAllowGrayed) return;
    FAllowGrayed = value;
    if (!value && State() == cbGrayed) SetState(cbChecked);
    RecreateWnd();
}

void TCheckBox::WndProc(TMessage& m)
{
    if (m.Msg == CN_COMMAND) {
        if (HIWORD(m.WParam) == BN_CLICKED) Click();
        return;
    }
    TWinControl::WndProc(m);
}

// ---- TRadioButton -------------------------------------------------------------------------

using PRadioButton = TPropBuilder<TRadioButton>;
IMPLEMENT_CLASS(TRadioButton,
    PRadioButton::Enum("Alignment", AlignmentEnum, &TRadioButton::Alignment, &TRadioButton::SetAlignment),
    PRadioButton::String("Caption", &TRadioButton::Caption, &TRadioButton::SetCaption),
    PRadioButton::Bool("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked),
    PRadioButton::Integer("Color", &TRadioButton::Color, &TRadioButton::SetColor),
    PRadioButton::Object("Font", &TRadioButton::Font, &TRadioButton::SetFont),
    PRadioButton::Bool("ParentColor", &TRadioButton::ParentColor, &TRadioButton::SetParentColor),
    PRadioButton::Bool("ParentFont", &TRadioButton::ParentFont, &TRadioButton::SetParentFont),
    PRadioButton::Bool("WordWrap", &TRadioButton::WordWrap, &TRadioButton::SetWordWrap))

TRadioButton::TRadioButton(TComponent* owner) : TWinControl(owner)
{
    FControlStyle = csSetCaption | csDoubleClicks;
    FParentColor = true;
    FWidth = 113;
    FHeight = 17;
}

void TRadioButton::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    CreateSubClass(p, "BUTTON");
    p.Style |= BS_AUTORADIOBUTTON | CaptionLayoutStyle(FAlignment, FWordWrap);
}

void TRadioButton::SetAlignment(TAlignment value)
{
    if (value == taCenter) value = taRightJustify;
    if (value == FAlignment) return;
    FAlignment = value;
    RecreateWnd();
}

void TRadioButton::SetWordWrap(bool value)
{
    if (value == FWordWrap) return;
    FWordWrap = value;
    RecreateWnd();
}

void TRadioButton::CreateWindowDone() { ::SendMessageA(FHandle, BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0); }

void TRadioButton::DestroyWnd()
{
    FChecked = Checked();
    TWinControl::DestroyWnd();
}

bool TRadioButton::Checked() const
{
    if (!FHandle) return FChecked;
    return ::SendMessageA(FHandle, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TRadioButton::UncheckSiblings()
{
    if (!FParent) return;
    for (int i = 0; i < FParent->ControlCount(); ++i)
        if (auto* other = As<TRadioButton>(FParent->Controls(i)); other && other != this) other->SetChecked(false);
}

void TRadioButton::SetChecked(bool value)
{
    if (value == Checked()) return;
    FChecked = value;
    if (FHandle) ::SendMessageA(FHandle, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    if (value) UncheckSiblings();
    Invalidate();
}

void TRadioButton::WndProc(TMessage& m)
{
    if (m.Msg == CN_COMMAND) {
        if (HIWORD(m.WParam) == BN_CLICKED) {
            if (!Checked()) ::SendMessageA(FHandle, BM_SETCHECK, BST_CHECKED, 0);
            FChecked = true;
            UncheckSiblings();
            Click();
        }
        return;
    }
    TWinControl::WndProc(m);
}
