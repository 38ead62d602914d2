// The skin's look of check boxes and radio buttons (see check_drawing.h).
#include "skin/controls/check_drawing.h"

#include <algorithm>

#include "skin/data/frame_draw.h"

namespace skin {

namespace {

constexpr int OLD_CHECK_FRAMES = 12;
constexpr int OLD_RADIO_FRAMES = 8;

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

int Clamp(int index, int frameCount) { return std::clamp(index, 1, std::max(frameCount, 1)); }

}  // namespace

int MapCheckFrame(int index, int frameCount, bool radio)
{
    if (frameCount != (radio ? OLD_RADIO_FRAMES : OLD_CHECK_FRAMES)) return index;
    switch (index) {
    case 2: return 5;
    case 3: return 4;
    case 4: return 8;
    default: return index;
    }
}

int CheckBoxFrameIndex(const TCheckBoxFacts& facts, int frameCount)
{
    int index = facts.Checked ? 2 : 1;
    if (facts.FrameworkControl) {
        if (facts.HasState) {
            if (Contains(facts.State, "uncheck"))
                index = 1;
            else if (Contains(facts.State, "check"))
                index = 2;
            else if (Contains(facts.State, "gray"))
                index = 4;
        } else if (facts.HasChecked) {
            index = facts.CheckedText == "true" ? 2 : 1;
        }
    }
    // A bound check box shows what its data last set, whatever its State says.
    if (facts.DataAware && facts.Remembered > 0) index = facts.Remembered == 3 ? 4 : facts.Remembered;
    if (facts.HasDataBinding) index = 1;
    if (facts.Disabled) index += 2;
    if (facts.Indeterminate) {
        if (frameCount == OLD_CHECK_FRAMES) return facts.Disabled ? 12 : 9;
        return Clamp(4, frameCount);
    }
    // A grayed State on a disabled box would point past the checked-disabled
    // frame: it stays at the grayed frame.
    if (index > 4) index = 4;
    return Clamp(MapCheckFrame(index, frameCount, false), frameCount);
}

int RadioButtonFrameIndex(bool checked, bool hasCheckedProperty, const std::string& checkedText, bool disabled,
                          int frameCount)
{
    int index = checked ? 2 : 1;
    if (hasCheckedProperty) index = checkedText == "true" ? 2 : 1;
    if (disabled) index += 2;
    return Clamp(MapCheckFrame(index, frameCount, true), frameCount);
}

TCheckLayout CheckLayout(const RECT& rect, int frameWidth, int boxHeight, bool leftText, bool rightToLeft, bool radio,
                         int gap)
{
    TCheckLayout layout;
    int top = rect.top + (rect.bottom - rect.top - boxHeight) / 2;
    layout.Text = rect;
    if (leftText) {
        // Radio circles keep one pixel off the right edge.
        int right = radio ? rect.right - 1 : rect.right;
        layout.Box = RECT{right - frameWidth, top, right, top + boxHeight};
        layout.Text.right = layout.Box.left - gap;
        layout.Format = rightToLeft ? DT_RIGHT | DT_RTLREADING : DT_LEFT;
    } else {
        layout.Box = RECT{rect.left, top, rect.left + frameWidth, top + boxHeight};
        layout.Text.left = rect.left + frameWidth + gap;
        layout.Format = rightToLeft ? DT_RTLREADING : DT_LEFT;
    }
    return layout;
}

void DrawCheckFrame(HDC dc, const RECT& box, HBITMAP strip, int frameIndex, int frameCount)
{
    DrawFrameStretched(dc, box, strip, frameIndex, frameCount, true);
}

}  // namespace skin
