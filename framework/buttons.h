// Buttons with glyphs: the bitmap button, the speed button and the menu
// button.
//
// TBitBtn is a push button (window class "TBitBtn", an owner-drawn BUTTON)
// that draws a glyph beside its caption. Glyph holds NumGlyphs images side
// by side: up, disabled, pressed (and, for speed buttons, down); a missing
// disabled image is embossed from the first. The glyph's bottom-left pixel
// is its transparent colour. Layout puts the glyph left, right, above or
// below the caption; Margin is the distance from the edge to the glyph and
// Spacing the gap between glyph and caption (-1: centred, automatic).
//
// TSpeedButton has no window: its parent paints it and hands it the mouse.
// With GroupIndex > 0 it stays Down when clicked and releases the other
// speed buttons of its group; Flat buttons show their frame only while the
// mouse is over them.
//
// TMenuButton is a push button with a drop-down arrow; a click opens its
// DropdownMenu under it (when it has one) and runs OnClick.
#pragma once

#include <memory>

#include "framework/controls.h"
#include "framework/std_controls.h"

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
extern const TEnumInfo ButtonLayoutEnum;

// Where a glyph and a caption go in a button of `client` size.
struct TButtonGlyphLayout {
    RECT Glyph{};
    RECT Text{};
};
// Lays out a glyph of `glyph` size and a caption of `text` size: Margin and
// Spacing as the buttons publish them (-1 = automatic).
TButtonGlyphLayout LayoutButtonGlyph(SIZE client, SIZE glyph, SIZE text, TButtonLayout layout, int margin,
                                     int spacing);
// Draws sub-image `index` (0-based) of `numGlyphs` of `glyph` at `x`,`y`
// with its bottom-left pixel transparent; a disabled image (`index` 1)
// missing from the strip is embossed from the first.
void DrawButtonGlyph(HDC dc, TBitmap* glyph, int numGlyphs, int index, int x, int y);

class TBitBtn : public TButton {
    DECLARE_CLASS(TBitBtn, TButton)
public:
    explicit TBitBtn(TComponent* owner);
    ~TBitBtn() override;

    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout value);
    int Margin() const { return FMargin; }
    void SetMargin(int value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    // Draws the button (owner-drawn).
    virtual void DrawItem(const DRAWITEMSTRUCT& item);
    bool ShownDefault() const { return FShownDefault; }

private:
    void GlyphChanged(TObject*);
    std::unique_ptr<TBitmap> FGlyph;
    int FNumGlyphs = 1;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
    bool FShownDefault = false;
};

class TMenuButton : public TBitBtn {
    DECLARE_CLASS(TMenuButton, TBitBtn)
public:
    explicit TMenuButton(TComponent* owner);
    // The menu opened under the button when it is clicked (not owned).
    TPopupMenu* DropdownMenu() const { return FDropdownMenu; }
    void SetDropdownMenu(TPopupMenu* menu);
    void Click() override;
    void Notification(TComponent* component, TOperation operation) override;

protected:
    void DrawItem(const DRAWITEMSTRUCT& item) override;

private:
    TPopupMenu* FDropdownMenu = nullptr;
};

class TSpeedButton : public TGraphicControl {
    DECLARE_CLASS(TSpeedButton, TGraphicControl)
public:
    explicit TSpeedButton(TComponent* owner);
    ~TSpeedButton() override;

    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout value);
    int Margin() const { return FMargin; }
    void SetMargin(int value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    bool Down() const { return FDown; }
    void SetDown(bool value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value) { FGroupIndex = value; }
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool value) { FAllowAllUp = value; }

    void WndProc(TMessage& message) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Click() override;

protected:
    void Paint() override;

private:
    void GlyphChanged(TObject*);
    std::unique_ptr<TBitmap> FGlyph;
    int FNumGlyphs = 1;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
    bool FFlat = false;
    bool FDown = false;
    int FGroupIndex = 0;
    bool FAllowAllUp = false;
    bool FPressed = false;   // the left button went down over it
};
