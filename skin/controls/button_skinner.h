// Push-button skinners: plain, bitmap, speed and menu buttons drawn from the
// skin's "Buttons" object, a strip of five frames:
//
//     1 normal   2 pressed   3 disabled   4 mouse over   5 focused / default
//
// The skinner paints the whole button (the control's own painting never
// runs) and produces the click itself on a left-button release while
// pressed; the control never sees the press of a windowed button.
#pragma once

#include "skin/controls/skin_control.h"

class TGraphic;

class TSkinButton : public TSkinControl {
    DECLARE_CLASS(TSkinButton, TSkinControl)
public:
    explicit TSkinButton(TComponent* owner);
    ~TSkinButton() override;

    void AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool colourManaged, TCanvas* canvas) override;
    void AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* formSkinner, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;

    // The frame of the "Buttons" strip for the state now (1 to 5).
    virtual int FrameIndex();
    bool ParentBackgroundShown() const { return FParentBackground != 0; }

protected:
    // Steps shared by every button kind: state, caption, the buffer filled
    // and the state's frame drawn; null when nothing is to be drawn.
    HDC BeginDraw(HDC dc, const RECT& rect);
    // Selects the button's font into the buffer and sets the text colour of
    // the state; RestoreFont puts the buffer's font back.
    void SelectFont(HDC buffer);
    void RestoreFont(HDC buffer);
    // The caption with its first "||" made a line break.
    std::wstring LayoutCaption() const;
    // Draws the caption centred in `rect` inset by 2 (with the focus
    // rectangle when focused).
    void DrawCentredCaption(HDC buffer, const RECT& rect);
    // Paints a change of the hot or pressed look now.
    void RepaintHot();
    void DrawFocusAround(HDC buffer, RECT box);
    void Click();

    TSkinBuffer FBuffer;
    BYTE FParentBackground = 0;
    bool FDefault = false;
    HGDIOBJ FOldFont = nullptr;
};

class TSkinBitButton : public TSkinButton {
    DECLARE_CLASS(TSkinBitButton, TSkinButton)
public:
    explicit TSkinBitButton(TComponent* owner);
    // `property`: the name of a property holding the glyph picture
    // ("PngImage"), or empty for Glyph and NumGlyphs.
    void Configure(int kind, const std::string& property) override;
    void Draw(HDC dc, const RECT& rect) override;

protected:
    // Lays out and draws glyph and caption on the buffer; `speed` picks the
    // speed button's rules.
    void DrawGlyphAndCaption(HDC buffer, const RECT& rect, TControl* source, bool speed);
    std::string FGlyphProperty;
};

class TSkinSpeedButton : public TSkinBitButton {
    DECLARE_CLASS(TSkinSpeedButton, TSkinBitButton)
public:
    explicit TSkinSpeedButton(TComponent* owner);
    ~TSkinSpeedButton() override;

    // A speed button has no window: the skinner takes its WindowProc and
    // draws on its parent.
    void AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool colourManaged, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;
    int FrameIndex() override;

    // Draws the button now on its parent's window.
    void Redraw();

private:
    void GiveWindowProcBack();
    bool FDrawing = false;
};

class TSkinMenuButton : public TSkinButton {
    DECLARE_CLASS(TSkinMenuButton, TSkinButton)
public:
    explicit TSkinMenuButton(TComponent* owner);
    void Draw(HDC dc, const RECT& rect) override;
    int FrameIndex() override;
};
