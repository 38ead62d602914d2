// TSkinControl: the base of every control skinner, and the routines all
// skinners share.
//
// A control skinner sits between one control's window and the control's own
// message handling. For a framework control it takes the control's
// WindowProc slot; for a bare window (a control of a "#32770" dialog) it
// subclasses the window through a per-object thunk. Every message passes
// SkinWndProc:
//
//     SkinWndProc -> BeforeMessage   true: the control's own handling runs
//                 -> CallPrevious          (the saved WindowProc or window
//                 -> AfterMessage          procedure), then AfterMessage
//
// A skinner that paints the whole control answers WM_PAINT itself in
// BeforeMessage (PaintMessage) and returns false; one that only draws over
// the control lets it paint and redraws in AfterMessage (PaintFrame).
//
// The form skinner owns the list of its control skinners (FControls): a
// skinner registers on attach and leaves the list in its destructor. The
// form skinner frees them when the form is unskinned or destroyed; a
// framework control that is destroyed takes its skinner with it (the control
// is the skinner's owner), and a bare window that is destroyed frees its
// skinner after its last message.
//
// Writing a skinner: derive, override Draw (and BeforeMessage/AfterMessage
// for the messages that change the look), draw with DrawObjectFrame and the
// helpers below into an off-screen buffer (TSkinBuffer) and copy it once.
// Make it known to control discovery with one line in skinner_kinds.cpp and
// DEFINE_SKINNER in its own file (see skinner_kinds.h).
#pragma once

#include <windows.h>

#include <string>

#include "framework/classes.h"
#include "framework/controls.h"
#include "framework/gdi_handles.h"
#include "framework/graphics.h"
#include "skin/data/skin_component.h"
#include "skin/data/skin_messages.h"

class TWinSkinForm;
class TWndProcThunk;
class TDataSkinObject;

// Mouse state bits.
enum : BYTE { msHot = 0x01, msPressed = 0x02 };

// Life states.
enum : int { lsCreated = 0, lsAttached = 1, lsDetached = 2, lsWindowGone = 6 };

class TSkinControl : public TComponent {
    DECLARE_CLASS(TSkinControl, TComponent)
public:
    // `owner` is the control being skinned (null for a bare window).
    explicit TSkinControl(TComponent* owner);
    // Gives back the WindowProc or window procedure and leaves the form
    // skinner's list.
    ~TSkinControl() override;

    // ---- the virtual operations, in slot order -----------------------------
    // Attaches to the owner, a framework windowed control.
    virtual void AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool colourManaged, TCanvas* canvas);
    // Attaches to a bare window by subclassing it.
    virtual void AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* formSkinner, TCanvas* canvas);
    // Turns skinning off for good and gives back what attaching changed
    // (colour, ParentBackground); the window procedure goes back when the
    // skinner is freed.
    virtual void Detach();
    // Sees every message first; true lets the control's own handling run,
    // then AfterMessage. False: the message is complete (Result set).
    virtual bool BeforeMessage(TMessage& message);
    virtual void AfterMessage(TMessage& message);
    // Finds the window rectangle and draws on `dc`, or the window DC when 0.
    virtual void PaintFrame(HDC dc);
    // Draws the control into `dc`; `rect` is the whole window at 0,0.
    virtual void Draw(HDC dc, const RECT& rect);
    // A new skin was loaded.
    virtual void SkinChanged();
    // Whether the skinner takes its control once attached: true in the
    // base, and no skinner says otherwise (discovery keeps only skinners
    // that do).
    virtual bool WantsSkin() const { return true; }
    // Settings of the kind that discovery chose (a tab style, a glyph
    // property name, ...); called before attaching. The base keeps none.
    virtual void Configure(int kind, const std::string& property);

    // ---- the pipeline -----------------------------------------------------
    void SkinWndProc(TMessage& message);
    void RunPipeline(TMessage& message);
    void CallPrevious(TMessage& message);
    // Invalidates and updates the window (or the paint target).
    void Repaint();
    // The standard WM_PAINT answer: the skinner paints everything.
    void PaintMessage(TMessage& message);
    // The standard WM_ERASEBKGND answer: the parent's background.
    void EraseMessage(TMessage& message);
    // Forwards a left-button press to the framework control's MouseDown.
    void ForwardMouseDown(const TMessage& message);

    // ---- shared drawing ----------------------------------------------------
    // Fills with the skin's ButtonFace colour.
    void FillFace(HDC dc, const RECT& rect) const;
    // Fills with the parent's Color, or ButtonFace.
    void FillParentColour(HDC dc, const RECT& rect) const;
    // Refreshes FEnabled and FFocused from the window.
    void RefreshState();
    // DT_RTLREADING added when the control reads right to left.
    UINT TextDirectionFlags(UINT format) const;

    // ---- what others read -------------------------------------------------
    HWND Window() const { return FWindow; }
    TWinControl* Control() const { return FControl; }
    TControl* PaintTarget() const { return FPaintTarget; }
    TWinSkinForm* FormSkinner() const { return FFormSkinner; }
    TSkinData* SkinData() const { return FSkinData; }
    // The scale the control's window is drawn at, the skin at that scale
    // (only while FSkinData is set) and a 96-pixel design size at it.
    UINT Dpi() const;
    const TSkinModel& Skin() const;
    int Px(int value) const;
    BYTE MouseState() const { return FMouseState; }
    bool Active() const { return FActive != 0; }
    bool Attached() const { return FAttached != 0; }
    int LifeState() const { return FLifeState; }
    int Variant() const { return FVariant; }
    bool ColourManaged() const { return FColourManaged != 0; }
    bool BareWindow() const { return FThunk != nullptr; }
    // The control this skinner belongs to: the control, or the paint target.
    TControl* Target() const;
    // True when this skinner belongs to `window` or to the framework control
    // `control`.
    bool Serves(HWND window, const TControl* control) const;

    // Frees the skinner now, or, while one of its bare window's messages is
    // still running, as soon as that message is done (it leaves the form
    // skinner's list at once). Only the form skinner's side calls it.
    void Free();

    // Skinners alive now, of every class (a leak check).
    static int LiveCount();

protected:
    // Switches ParentBackground off (colour-managed attach) and sets the
    // control's Color to ButtonFace; GiveColourBack undoes it.
    void TakeColour();
    void GiveColourBack();
    // Registers with the form skinner.
    void Register();
    // The W or A form of GetWindowLong, by the window's kind.
    LONG GetWindowLongOf(HWND window, int index) const;

    BYTE FMouseState = 0;
    TCanvas* FCanvas = nullptr;
    BYTE FEnabled = 1;
    BYTE FFocused = 0;
    std::wstring FCaption;
    TWndProcThunk* FThunk = nullptr;
    WNDPROC FPrevProc = nullptr;
    BYTE FActive = 1;
    BYTE FUnicode = 0;
    TSkinData* FSkinData = nullptr;
    HWND FWindow = nullptr;
    TWndMethod FSavedWindowMethod;
    TWinControl* FControl = nullptr;
    RECT FWindowRect{};
    TControl* FPaintTarget = nullptr;
    BYTE FColourManaged = 0;
    TColor FSavedColour = 0;
    BYTE FAttached = 0;
    int FLifeState = lsCreated;
    TWinSkinForm* FFormSkinner = nullptr;
    int FVariant = 0;
    BYTE FParentBackgroundSwitched = 0;

private:
    static LRESULT CALLBACK ThunkProc(HWND self, UINT msg, WPARAM wParam, LPARAM lParam);
    int FRunning = 0;          // messages of this skinner on the stack (bare mode)
    bool FFreeWhenDone = false;
};

// ---- property access by name ----------------------------------------------
// An integer-kind property, or -1 (missing property, other kind, no object).
int GetOrdPropByName(const TObject* instance, const std::string& name);
// Any property as text (an enumeration by its value's name); empty when missing.
std::string GetEnumPropByName(const TObject* instance, const std::string& name);
// The same, lower-cased: for comparing with "true", "blglyphleft", ...
std::string GetLowerPropByName(const TObject* instance, const std::string& name);
// A string property as wide text; empty when missing.
std::wstring GetTextPropByName(const TObject* instance, const std::string& name);
// An object property of class `cls` (or any class when null), or null.
TObject* GetObjectPropByName(const TObject* instance, const std::string& name, const TClassInfo* cls = nullptr);
// Sets a property from text by its kind; missing properties and other kinds
// are ignored.
void SetPropByName(TObject* instance, const std::string& name, const std::string& text);

// The skin of `data` at the scale `window` is drawn at (for the skinners'
// own controls that are no TSkinControl).
const TSkinModel& SkinAt(const TSkinData& data, HWND window);

// ---- text and drawing helpers ---------------------------------------------
std::wstring GetWindowTextWide(HWND window);
int DrawTextWide(HDC dc, const std::wstring& text, RECT& rect, UINT format);
// Frame `frameIndex` (from 1) of the object's strip of `frameCount` frames
// fitted to `rect` with its margins and Tile, magenta transparent when Trans.
void DrawObjectFrame(HDC dc, const RECT& rect, int frameCount, int frameIndex, const TDataSkinObject* object);
// Frame `frameIndex` of `bitmap` stretched to `rect`, magenta transparent.
void DrawStripFrame(HDC dc, const RECT& rect, int frameCount, int frameIndex, HBITMAP bitmap);
// Paints what lies behind `control` (its parent's erase and paint) on `dc`,
// whose origin is the control's top-left corner.
void PaintParentBackground(TControl* control, HDC dc);
// Measures the caption with `format`, places the box like the text and
// draws a focus rectangle around it (check boxes, radio buttons).
void FocusRectAroundText(HDC dc, const std::wstring& text, UINT format, const RECT& rect);
// A colour of the skin (system colours resolved) as a plain RGB value.
COLORREF SkinColourRgb(const TSkinData* skinData, int index);
COLORREF ColourRgb(TColor colour);

// An off-screen bitmap of a window's size in its own memory DC: skinners
// compose in it and copy it to the window in one block transfer.
class TSkinBuffer {
public:
    TSkinBuffer();
    ~TSkinBuffer();
    TSkinBuffer(const TSkinBuffer&) = delete;
    TSkinBuffer& operator=(const TSkinBuffer&) = delete;
    // The DC, sized to at least width x height (compatible with `like`);
    // null when it cannot be made.
    HDC Prepare(HDC like, int width, int height);
    HDC DC() const { return FDC; }
    // Buffers alive now (a leak check).
    static int LiveCount();

private:
    void Free();
    HDC FDC = nullptr;
    HBITMAP FBitmap = nullptr;
    HGDIOBJ FOld = nullptr;
    int FWidth = 0;
    int FHeight = 0;
};
