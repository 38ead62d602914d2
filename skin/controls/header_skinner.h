// The column-header skinner: header controls and the header windows of
// report-view list views, painted from the skin's "Headerbar" strip with
// the section under the mouse in the hot frame and the one held down in the
// pressed frame. The header keeps doing its own work (clicks, divider
// drags, notifications); the skinner only paints it and follows the mouse.
#pragma once

#include <windows.h>

#include <vector>

#include "skin/controls/skin_control.h"

class TSkinHeader : public TSkinControl {
    DECLARE_CLASS(TSkinHeader, TSkinControl)
public:
    explicit TSkinHeader(TComponent* owner);
    ~TSkinHeader() override;

    void AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool colourManaged, TCanvas* canvas) override;
    void AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* formSkinner, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;

    // The section under the mouse and the one held down, -1 for none.
    int HotSection() const { return FHotColumn; }
    int PressedSection() const { return FPressedColumn; }

private:
    // The skin's "Headerbar" when it has an image, else null.
    const TDataSkinObject* Bar() const;
    // The stored section whose rectangle holds the point, or -1.
    int SectionAt(POINT point) const;
    void SetPressed(int section);

    int FHotColumn = -1;
    int FPressedColumn = -1;
    std::vector<RECT> FColumnRects;
};
