// Non-client objects: state changes of caption buttons and menu-bar items,
// drawing a caption button. See nc_objects.h.
#include "skin/form/nc_objects.h"
#include "skin/form/menu_bar.h"

#include "skin/data/frame_draw.h"
#include "skin/data/skin_component.h"
#include "skin/form/form_skinner.h"

// ---- TNCObject -------------------------------------------------------------------

void TNCObject::MouseDown()
{
    TNCObject* hot = Form->HotObject();
    if (hot && hot != this)
        hot->MouseLeave();
    if (!Visible)
        return;
    Form->SetHotObject(this);
    State = skin::ncsPressed;
    Paint();
}

void TNCObject::MouseUp()
{
    if (!Visible)
        return;
    State = skin::ncsHot;
    Paint();
}

void TNCObject::MouseMove()
{
    TNCObject* hot = Form->HotObject();
    if (hot == this)
        return;
    if (hot)
        hot->MouseLeave();
    if (!Visible)
        return;
    Form->SetHotObject(this);
    State = skin::ncsHot;
    HoverTime = 0;
    Paint();
}

void TNCObject::MouseLeave()
{
    if (!Visible)
        return;
    if (Form->HotObject() == this)
        Form->SetHotObject(nullptr);
    State = skin::ncsNormal;
    HoverTime = 0;
    Paint();
    if (TSkinData* data = Form->SkinData())
        data->HideCaptionHint();
}

// ---- TWinSysButton ---------------------------------------------------------------

bool TWinSysButton::IsIconButton() const
{
    return SkinButton && (SkinButton->Action == 3 || SkinButton->Action == 11);
}

int TWinSysButton::Action() const
{
    return SkinButton ? SkinButton->Action : -1;
}

bool TWinSysButton::HasImage() const
{
    return Image() != nullptr;
}

HBITMAP TWinSysButton::Image() const
{
    if (SkinButton && !SkinButton->Bitmap.Empty())
        return SkinButton->Bitmap.Handle();
    return IconImage.Get();
}

int TWinSysButton::FrameCount() const
{
    if (SkinButton && !SkinButton->Bitmap.Empty())
        return SkinButton->Frame > 0 ? SkinButton->Frame : 1;
    return 1;
}

SIZE TWinSysButton::FrameSize() const
{
    if (SkinButton && !SkinButton->Bitmap.Empty())
        return SIZE{SkinButton->Bitmap.Width() / FrameCount(), SkinButton->Bitmap.Height()};
    BITMAP info{};
    if (IconImage.Get() && GetObject(IconImage.Get(), sizeof(info), &info))
        return SIZE{info.bmWidth, info.bmHeight};
    return SIZE{0, 0};
}

int TWinSysButton::StateFrame() const
{
    const bool menuRow = SkinButton && SkinButton->Visibility == 100;
    return skin::ButtonStateFrame(static_cast<skin::TNCState>(State), FrameCount(), Enabled != 0, menuRow);
}

void TWinSysButton::Paint()
{
    HWND window = Form->Handle();
    if (!IsWindow(window) || !HasImage() || Form->SkinState() == fssAttached)
        return;
    RECT windowRect{};
    if (!GetWindowRect(window, &windowRect))
        return;
    TWindowDC dc = TWindowDC::Whole(window);
    if (dc.IsNull())
        return;
    if (SkinButton && SkinButton->Visibility == 100) {
        // Buttons on the menu-bar row are not part of the caption strip:
        // the bar's background goes under the button's new frame.
        if (TWinSkinMenu* bar = Form->MenuBar(); bar && !bar->Background.IsNull()) {
            TMemoryDC source(dc);
            TSelectObject selected(source, bar->Background);
            BitBlt(dc, Rect.left, Rect.top, Rect.right - Rect.left, Rect.bottom - Rect.top, source,
                   Rect.left - bar->BarRect.left, Rect.top - bar->BarRect.top, SRCCOPY);
        }
        const RECT margins{SkinButton->LeftWidth, 0, SkinButton->RightWidth, 0};
        skin::DrawFrameStrip(dc, Rect, Image(), margins, StateFrame(), FrameCount(), true, false);
        return;
    }
    // The caption strip is composed again with this button in its new
    // state: a frame with transparent parts drawn over the old one would
    // keep the old frame's pixels there.
    Form->PaintCaptionStrip(dc, windowRect.right - windowRect.left, windowRect.bottom - windowRect.top);
}

const char* CaptionHintText(int action)
{
    switch (action) {
    case 0:
    case 9:
    case 62: return "Close";
    case 1:
    case 22: return "Maximize";
    case 2:
    case 7:
    case 23:
    case 60: return "Minimize";
    case 8:
    case 61: return "Restore";
    default: return nullptr;
    }
}
