// Skinners of container-like controls: group boxes, panels and other plain
// surfaces, status bars, size grips and dialogs placed inside a form. They
// give the control the skin's face colour and draw frames and texts in skin
// colours.
#pragma once

#include "skin/controls/skin_control.h"

// Group boxes and radio/check group containers: a rounded frame in the
// ButtonShadow colour with the caption in its top edge. A framework group
// box is painted whole by the skinner; over a bare one's own painting the
// skinner erases its frame and draws the skin's.
class TSkinGroupBox : public TSkinControl {
    DECLARE_CLASS(TSkinGroupBox, TSkinControl)
public:
    explicit TSkinGroupBox(TComponent* owner);
    void AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool colourManaged, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;

private:
    void DrawOn(HDC dc, const RECT& rect);
    TSkinBuffer FBuffer;
};

// Panels, a data-set navigator's container, forms inside forms, tool bars:
// the colour changes to the skin's face. A panel with bevels and a caption
// is also painted by the skinner (variant 2): its bevels in the skin's light
// and shadow colours and its caption in the skin's text colour, so that a
// dark skin's panels can be read; everything else keeps its own painting.
class TSkinBox : public TSkinControl {
    DECLARE_CLASS(TSkinBox, TSkinControl)
public:
    explicit TSkinBox(TComponent* owner);
    void AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool colourManaged, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void Detach() override;
    void Draw(HDC dc, const RECT& rect) override;
};

// A dialog ("#32770") placed inside a skinned window: its background and its
// static children on the face colour.
class TSkinBoxH : public TSkinControl {
    DECLARE_CLASS(TSkinBoxH, TSkinControl)
public:
    explicit TSkinBoxH(TComponent* owner);
    bool BeforeMessage(TMessage& message) override;
};

// Status bars: the face colour, each panel's edge from "StatusBarEdges"
// (lowered, raised, flat), its text, and the size grip from "ExtraImages".
class TSkinStatusBar : public TSkinControl {
    DECLARE_CLASS(TSkinStatusBar, TSkinControl)
public:
    explicit TSkinStatusBar(TComponent* owner);
    bool BeforeMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;

    // Draws edge kind `kind` (1 lowered, 2 raised, 3 none) over `rect`.
    void DrawEdgeKind(HDC dc, const RECT& rect, int kind) const;

private:
    void DrawPanelText(HDC dc, const std::wstring& text, const RECT& rect, UINT align);
    TSkinBuffer FBuffer;
};

// A bare size-box scroll bar in a dialog: filled with the face colour.
class TSkinSizer : public TSkinControl {
    DECLARE_CLASS(TSkinSizer, TSkinControl)
public:
    explicit TSkinSizer(TComponent* owner);
    void Draw(HDC dc, const RECT& rect) override;
};
