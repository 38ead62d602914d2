// The control skinner base: attaching, the message pipeline, repainting,
// detaching, and the routines every skinner shares.
#include "skin/controls/skin_control.h"

#include <algorithm>
#include <cctype>

#include "framework/display_scale.h"
#include "framework/sysutils.h"
#include "skin/data/forwarded_error.h"
#include "skin/data/frame_draw.h"
#include "skin/data/image_utils.h"
#include "skin/form/form_skinner.h"
#include "skin/form/thunk.h"

IMPLEMENT_CLASS(TSkinControl)

namespace {

int GLiveSkinners = 0;
// The skinner whose thunk is calling SkinWndProc right now (see there).
thread_local const TSkinControl* GThunkCaller = nullptr;
int GLiveBuffers = 0;

std::string Lower(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool IsNtPlatform()
{
    return (GetVersion() & 0x80000000u) == 0;
}

}  // namespace

// ---- creation and destruction -------------------------------------------------

TSkinControl::TSkinControl(TComponent* owner) : TComponent(owner)
{
    ++GLiveSkinners;
}

TSkinControl::~TSkinControl()
{
    --GLiveSkinners;
    try {
        // Control mode: the control gets its WindowProc back while it is
        // whole (a windowed control frees its owned components before its
        // window goes; a graphic control being destroyed is past using it).
        if (FSavedWindowMethod && FControl) {
            if (FControl->WindowProc() == TWndMethod(this, &TSkinControl::SkinWndProc))
                FControl->SetWindowProc(FSavedWindowMethod);
        }
        FSavedWindowMethod = TWndMethod();
        if (FThunk) UnsubclassThunk(FWindow, FThunk, FPrevProc, FUnicode != 0);
        if (FFormSkinner) FFormSkinner->RemoveControlSkinner(this);
    } catch (...) {
    }
}

int TSkinControl::LiveCount()
{
    return GLiveSkinners;
}

void TSkinControl::Free()
{
    if (FRunning > 0) {
        if (FFormSkinner) FFormSkinner->RemoveControlSkinner(this);
        FFormSkinner = nullptr;
        FFreeWhenDone = true;
        return;
    }
    delete this;
}

// ---- attaching --------------------------------------------------------------------

void TSkinControl::Register()
{
    if (FFormSkinner) FFormSkinner->AddControlSkinner(this);
}

void TSkinControl::AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool colourManaged, TCanvas* canvas)
{
    if (FAttached) return;
    auto* control = As<TWinControl>(Owner());
    if (!control || !skinData) return;
    FColourManaged = colourManaged ? 1 : 0;
    FSkinData = skinData;
    FFormSkinner = formSkinner;
    FCanvas = canvas;
    FControl = control;
    FWindow = control->Handle();
    FUnicode = IsWindowUnicode(FWindow) ? 1 : 0;

    FSavedWindowMethod = control->WindowProc();
    control->SetWindowProc(TWndMethod(this, &TSkinControl::SkinWndProc));
    Register();
    if (FColourManaged) TakeColour();
    if (FParentBackgroundSwitched) FVariant = 1;
    control->Invalidate();
    FAttached = 1;
    FLifeState = lsAttached;
}

void TSkinControl::AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* formSkinner, TCanvas* canvas)
{
    if (FAttached || !IsWindow(window) || !skinData) return;
    FSkinData = skinData;
    FCanvas = canvas;
    FFormSkinner = formSkinner;
    FWindow = window;
    FEnabled = 1;
    FVariant = 0;
    Register();
    FUnicode = IsWindowUnicode(window) ? 1 : 0;
    FCaption = GetWindowTextWide(window);

    FThunk = TWndProcThunk::Create(this, ThunkProc);
    if (!FThunk) return;
    const auto proc = reinterpret_cast<LONG_PTR>(FThunk->Proc());
    FPrevProc = reinterpret_cast<WNDPROC>(FUnicode ? SetWindowLongPtrW(window, GWLP_WNDPROC, proc)
                                                   : SetWindowLongPtrA(window, GWLP_WNDPROC, proc));
    // A child of the form skinner's window is repainted with the window when
    // all its controls are skinned at once.
    const bool held = formSkinner && (GetWindowLongA(window, GWL_STYLE) & (WS_CHILD | WS_POPUP)) == WS_CHILD &&
                      TInvalidateHold::HoldsRoot(formSkinner->Handle());
    if (!held) InvalidateRect(window, nullptr, TRUE);
    FAttached = 1;
    FLifeState = lsAttached;
}

void TSkinControl::TakeColour()
{
    TControl* control = Target();
    if (!control || !FSkinData) return;
    if (!(FSkinData->Options() & SkinOption(xoParentBackGround)) && FindPropInfo(control, "ParentBackground") &&
        GetLowerPropByName(control, "ParentBackground") == "true") {
        FParentBackgroundSwitched = 1;
        SetPropByName(control, "ParentBackground", "False");
    }
    FSavedColour = control->Color();
    control->SetColor(static_cast<TColor>(FSkinData->FaceColour()));
}

void TSkinControl::GiveColourBack()
{
    TControl* control = Target();
    if (!control) return;
    if (FParentBackgroundSwitched) {
        SetPropByName(control, "ParentBackground", "True");
        FParentBackgroundSwitched = 0;
    }
    control->SetColor(FSavedColour);
}

void TSkinControl::Detach()
{
    if (!FActive) return;
    FActive = 0;
    if (FLifeState != lsWindowGone && FColourManaged && Target()) GiveColourBack();
}

void TSkinControl::SkinChanged()
{
    if (FColourManaged && Target() && FSkinData) Target()->SetColor(static_cast<TColor>(FSkinData->FaceColour()));
    Repaint();
}

void TSkinControl::Configure(int, const std::string&) {}

UINT TSkinControl::Dpi() const
{
    // The form skinner keeps the scale of the top-level window the control
    // is on (and takes every change of it first): asking it costs no call
    // into the window manager, which a paint would make many times.
    if (FFormSkinner && FFormSkinner->Dpi()) return FFormSkinner->Dpi();
    return WindowDpi(FWindow);
}

const TSkinModel& TSkinControl::Skin() const
{
    return FSkinData->ModelFor(Dpi());
}

int TSkinControl::Px(int value) const
{
    return ScaleToDpi(value, Dpi());
}

const TSkinModel& SkinAt(const TSkinData& data, HWND window)
{
    return data.ModelFor(WindowDpi(window));
}

TControl* TSkinControl::Target() const
{
    if (FControl) return FControl;
    return FPaintTarget;
}

bool TSkinControl::Serves(HWND window, const TControl* control) const
{
    if (control && (control == FControl || control == FPaintTarget)) return true;
    return window && window == FWindow;
}

LONG TSkinControl::GetWindowLongOf(HWND window, int index) const
{
    return FUnicode ? GetWindowLongW(window, index) : GetWindowLongA(window, index);
}

// ---- the pipeline -----------------------------------------------------------------

LRESULT CALLBACK TSkinControl::ThunkProc(HWND self, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* skinner = reinterpret_cast<TSkinControl*>(self);
    TMessage message{msg, wParam, lParam, 0};
    ++skinner->FRunning;
    const TSkinControl* outerCaller = GThunkCaller;
    GThunkCaller = skinner;
    try {
        skinner->SkinWndProc(message);
    } catch (const skin::EForwarded& forwarded) {
        skin::ShowForwarded(forwarded);
    } catch (...) {
    }
    GThunkCaller = outerCaller;
    // A bare window that is gone takes its skinner with it once its last
    // message is done; the form skinner's list forgets it.
    if (--skinner->FRunning == 0 && (skinner->FLifeState == lsWindowGone || skinner->FFreeWhenDone)) delete skinner;
    return message.Result;
}

void TSkinControl::SkinWndProc(TMessage& message)
{
    // Called as the control's WindowProc, an error of the control's own
    // handling goes on as it was raised, for the framework to show; called
    // from the thunk it stays wrapped for ThunkProc.
    const bool fromThunk = GThunkCaller == this;
    GThunkCaller = nullptr;
    try {
        RunPipeline(message);
    } catch (const skin::EForwarded& forwarded) {
        if (fromThunk) throw;
        std::rethrow_exception(forwarded.Error);
    }
}

void TSkinControl::RunPipeline(TMessage& message)
{
    if (message.Msg == SKM_ENABLESKIN) {
        FActive = static_cast<int>(message.WParam) > 0 ? 1 : 0;
        if (FActive) Repaint();
        return;
    }
    if (!FActive) {
        CallPrevious(message);
        return;
    }
    bool passOn = true;
    try {
        passOn = BeforeMessage(message);
    } catch (const skin::EForwarded&) {
        throw;  // the control's own handling ran and failed: not again
    } catch (...) {
        passOn = true;
    }
    if (!passOn) return;
    CallPrevious(message);
    if (FLifeState == lsWindowGone) return;
    try {
        AfterMessage(message);
    } catch (const skin::EForwarded&) {
        throw;
    } catch (...) {
    }
}

void TSkinControl::CallPrevious(TMessage& message)
{
    if (FSavedWindowMethod) {
        skin::ForwardCall([&] { FSavedWindowMethod(message); });
    } else if (FPrevProc) {
        message.Result = FUnicode ? CallWindowProcW(FPrevProc, FWindow, message.Msg, message.WParam, message.LParam)
                                  : CallWindowProcA(FPrevProc, FWindow, message.Msg, message.WParam, message.LParam);
    }
}

bool TSkinControl::BeforeMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_NCDESTROY:
        FLifeState = lsWindowGone;
        CallPrevious(message);
        if (FActive) Detach();
        return false;
    case SKM_QUERYSKIN:
        message.Result = 1;
        return false;
    default:
        return true;
    }
}

void TSkinControl::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case CM_ENABLEDCHANGED:
        Repaint();
        break;
    case WM_PAINT:
        PaintFrame(reinterpret_cast<HDC>(message.WParam));
        break;
    default:
        break;
    }
}

void TSkinControl::Repaint()
{
    if (TInvalidateHold::Holds(FPaintTarget ? FPaintTarget : FControl)) return;
    if (FPaintTarget) {
        FPaintTarget->Invalidate();
    } else if (FWindow && IsWindow(FWindow)) {
        InvalidateRect(FWindow, nullptr, TRUE);
        UpdateWindow(FWindow);
    }
}

void TSkinControl::PaintFrame(HDC dc)
{
    RECT rect{};
    if (!FWindow || !GetWindowRect(FWindow, &rect)) return;
    FWindowRect = rect;
    OffsetRect(&rect, -rect.left, -rect.top);
    try {
        if (dc) {
            Draw(dc, rect);
        } else {
            TWindowDC windowDC = TWindowDC::Whole(FWindow);
            if (!windowDC.IsNull()) Draw(windowDC, rect);
        }
    } catch (...) {
    }
}

void TSkinControl::Draw(HDC, const RECT&) {}

void TSkinControl::PaintMessage(TMessage& message)
{
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    PAINTSTRUCT paint{};
    const bool began = dc == nullptr;
    if (began) dc = BeginPaint(FWindow, &paint);
    RECT rect{};
    if (dc && GetWindowRect(FWindow, &rect)) {
        FWindowRect = rect;
        OffsetRect(&rect, -rect.left, -rect.top);
        try {
            Draw(dc, rect);
        } catch (...) {
        }
    }
    if (began) EndPaint(FWindow, &paint);
    message.Result = 0;
}

void TSkinControl::EraseMessage(TMessage& message)
{
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    if (FControl) {
        PaintParentBackground(FControl, dc);
    } else {
        RECT client{};
        GetClientRect(FWindow, &client);
        FillParentColour(dc, client);
    }
    message.Result = 1;
}

void TSkinControl::ForwardMouseDown(const TMessage& message)
{
    TControl* control = Target();
    if (!control) return;
    int x = static_cast<short>(LOWORD(message.LParam));
    int y = static_cast<short>(HIWORD(message.LParam));
    if (control->Width() > 32768 || control->Height() > 32768) {
        POINT cursor{};
        GetCursorPos(&cursor);
        const POINT local = control->ScreenToClient(cursor);
        x = local.x;
        y = local.y;
    }
    control->MouseDown(mbLeft, KeysToShiftState(message.WParam), x, y);
}

// ---- shared drawing -------------------------------------------------------------

void TSkinControl::FillFace(HDC dc, const RECT& rect) const
{
    TGdiBrush brush(CreateSolidBrush(SkinColourRgb(FSkinData, scButtonFace)));
    FillRect(dc, &rect, brush);
}

void TSkinControl::FillParentColour(HDC dc, const RECT& rect) const
{
    COLORREF colour = SkinColourRgb(FSkinData, scButtonFace);
    TControl* target = Target();
    // A parent that keeps the system's face colour is drawn in the skin's
    // face (a skinned tab sheet, panel or form): the system's own grey beside
    // it would show as a light band in a dark skin.
    if (target && target->Parent() && FindPropInfo(target->Parent(), "Color")) {
        const auto parentColour = static_cast<TColor>(GetOrdPropByName(target->Parent(), "Color"));
        if (parentColour != clBtnFace) colour = ColourRgb(parentColour);
    }
    TGdiBrush brush(CreateSolidBrush(colour));
    FillRect(dc, &rect, brush);
}

void TSkinControl::RefreshState()
{
    if (FWindow) {
        FFocused = GetFocus() == FWindow ? 1 : 0;
        FEnabled = (GetWindowLongOf(FWindow, GWL_STYLE) & WS_DISABLED) ? 0 : 1;
    } else if (FPaintTarget) {
        FFocused = 0;
        FEnabled = FPaintTarget->Enabled() ? 1 : 0;
    }
}

UINT TSkinControl::TextDirectionFlags(UINT format) const
{
    const TControl* target = Target();
    if (target && GetLowerPropByName(target, "BiDiMode") == "bdrighttoleft") format |= DT_RTLREADING;
    return format;
}

// ---- property access by name --------------------------------------------------------

int GetOrdPropByName(const TObject* instance, const std::string& name)
{
    const TPropInfo* info = FindPropInfo(instance, name);
    if (!info || info->Kind != TTypeKind::tkInteger || !info->GetOrd) return -1;
    try {
        return info->GetOrd(*instance);
    } catch (...) {
        return -1;
    }
}

std::string GetEnumPropByName(const TObject* instance, const std::string& name)
{
    const TPropInfo* info = FindPropInfo(instance, name);
    if (!info || info->Kind == TTypeKind::tkClass) return std::string();
    try {
        return GetPropValue(*instance, name);
    } catch (...) {
        return std::string();
    }
}

std::string GetLowerPropByName(const TObject* instance, const std::string& name)
{
    return Lower(GetEnumPropByName(instance, name));
}

std::wstring GetTextPropByName(const TObject* instance, const std::string& name)
{
    const TPropInfo* info = FindPropInfo(instance, name);
    if (!info) return std::wstring();
    try {
        if (info->Kind == TTypeKind::tkWString) return GetWideStrProp(*instance, name);
        if (info->Kind == TTypeKind::tkString) return AnsiToWide(GetStrProp(*instance, name));
    } catch (...) {
    }
    return std::wstring();
}

TObject* GetObjectPropByName(const TObject* instance, const std::string& name, const TClassInfo* cls)
{
    const TPropInfo* info = FindPropInfo(instance, name);
    if (!info || info->Kind != TTypeKind::tkClass) return nullptr;
    try {
        return GetObjectProp(*instance, name, cls);
    } catch (...) {
        return nullptr;
    }
}

void SetPropByName(TObject* instance, const std::string& name, const std::string& text)
{
    const TPropInfo* info = FindPropInfo(instance, name);
    if (!info || info->ReadOnly()) return;
    try {
        switch (info->Kind) {
        case TTypeKind::tkInteger: SetOrdProp(*instance, name, StrToInt(text)); break;
        case TTypeKind::tkEnumeration: SetEnumProp(*instance, name, text); break;
        case TTypeKind::tkString: SetStrProp(*instance, name, text); break;
        case TTypeKind::tkWString: SetWideStrProp(*instance, name, AnsiToWide(text)); break;
        default: break;
        }
    } catch (...) {
    }
}

// ---- text and drawing helpers -------------------------------------------------------

std::wstring GetWindowTextWide(HWND window)
{
    if (!window) return std::wstring();
    if (IsNtPlatform()) {
        const int length = GetWindowTextLengthW(window);
        if (length <= 0) return std::wstring();
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        const int got = GetWindowTextW(window, text.data(), length + 1);
        text.resize(static_cast<size_t>(std::max(got, 0)));
        return text;
    }
    char buffer[1001] = {};
    SendMessageA(window, WM_GETTEXT, 1000, reinterpret_cast<LPARAM>(buffer));
    return AnsiToWide(buffer);
}

int DrawTextWide(HDC dc, const std::wstring& text, RECT& rect, UINT format)
{
    if (IsNtPlatform()) return DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
    const std::string ansi = WideToAnsi(text);
    return DrawTextA(dc, ansi.c_str(), -1, &rect, format);
}

void DrawObjectFrame(HDC dc, const RECT& rect, int frameCount, int frameIndex, const TDataSkinObject* object)
{
    if (!object || rect.right <= rect.left || rect.bottom <= rect.top) return;
    HBITMAP bitmap = object->Bitmap.Handle();
    if (!bitmap) return;
    const RECT margins{object->LeftWidth, object->TopHeight, object->RightWidth, object->BottomHeight};
    skin::DrawFrameBitmap(dc, rect, bitmap, margins, frameIndex, std::max(frameCount, 1), object->Trans == 1,
                          object->Tile != 0, false);
}

void DrawStripFrame(HDC dc, const RECT& rect, int frameCount, int frameIndex, HBITMAP bitmap)
{
    if (!bitmap || rect.right <= rect.left || rect.bottom <= rect.top) return;
    skin::DrawFrameStretched(dc, rect, bitmap, frameIndex, std::max(frameCount, 1), true);
}

void PaintParentBackground(TControl* control, HDC dc)
{
    if (!control || !control->Parent() || !dc) return;
    TWinControl* parent = control->Parent();
    const int saved = SaveDC(dc);
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x - control->Left(), origin.y - control->Top(), nullptr);
    IntersectClipRect(dc, control->Left(), control->Top(), control->Left() + control->Width(),
                      control->Top() + control->Height());
    parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
}

void FocusRectAroundText(HDC dc, const std::wstring& text, UINT format, const RECT& rect)
{
    RECT box = rect;
    DrawTextWide(dc, text, box, format | DT_CALCRECT | DT_NOCLIP);
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    if (format & DT_CENTER) {
        OffsetRect(&box, ((rect.right - rect.left) - width) / 2, ((rect.bottom - rect.top) - height) / 2 - 1);
    } else if (format & DT_RIGHT) {
        OffsetRect(&box, rect.right - box.right, 0);
    }
    InflateRect(&box, 2, 1);
    IntersectRect(&box, &box, &rect);
    DrawFocusRect(dc, &box);
}

COLORREF SkinColourRgb(const TSkinData* skinData, int index)
{
    if (!skinData || index < 0 || index >= SKIN_COLOUR_COUNT) return GetSysColor(COLOR_BTNFACE);
    return skin::ResolveColour(skinData->Model().Colours[static_cast<size_t>(index)]);
}

COLORREF ColourRgb(TColor colour)
{
    return skin::ResolveColour(static_cast<COLORREF>(colour));
}

// ---- the off-screen buffer ----------------------------------------------------------

TSkinBuffer::TSkinBuffer()
{
    ++GLiveBuffers;
}

TSkinBuffer::~TSkinBuffer()
{
    Free();
    --GLiveBuffers;
}

int TSkinBuffer::LiveCount()
{
    return GLiveBuffers;
}

void TSkinBuffer::Free()
{
    if (FDC) {
        if (FOld) SelectObject(FDC, FOld);
        DeleteDC(FDC);
    }
    if (FBitmap) DeleteObject(FBitmap);
    FDC = nullptr;
    FBitmap = nullptr;
    FOld = nullptr;
    FWidth = FHeight = 0;
}

HDC TSkinBuffer::Prepare(HDC like, int width, int height)
{
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (FDC && width <= FWidth && height <= FHeight) return FDC;
    Free();
    FDC = CreateCompatibleDC(like);
    if (!FDC) return nullptr;
    // A DIB section: drawing on it, and masked copies onto it, stay in the
    // process, where a device bitmap makes the system ask the display.
    FBitmap = skin::MakeDibSection(width, height, 32).Release();
    if (!FBitmap) {
        DeleteDC(FDC);
        FDC = nullptr;
        return nullptr;
    }
    FOld = SelectObject(FDC, FBitmap);
    FWidth = width;
    FHeight = height;
    return FDC;
}
