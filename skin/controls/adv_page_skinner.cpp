// The skinner of page controls with painted tabs (see adv_page_skinner.h).
#include "skin/controls/adv_page_skinner.h"

#include <commctrl.h>

#include <algorithm>

#include "skin/controls/skinner_kinds.h"
#include "skin/controls/text_colours.h"
#include "skin/data/image_utils.h"
#include "skin/data/skin_model.h"

IMPLEMENT_CLASS(TSkinAdvPage)
DEFINE_SKINNER(TSkinAdvPage, TSkinAdvPage)

namespace {

// The kind that takes the skin's tab frames as pictures.
constexpr int ADV_PAGE_CONTROL = 4;

}  // namespace

void TSkinAdvPage::Configure(int kind, const std::string&)
{
    FMode = static_cast<BYTE>(kind);
}

void TSkinAdvPage::AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool colourManaged, TCanvas* canvas)
{
    if (FAttached) return;
    TSkinControl::AttachControl(formSkinner, skinData, colourManaged, canvas);
    if (!FAttached) return;
    HandOverPictures();
    FindScroller();
}

void TSkinAdvPage::HandOverPictures()
{
    const TDataSkinObject* tabs = FSkinData ? Skin().Object(ssTabs) : nullptr;
    if (FMode != ADV_PAGE_CONTROL || !FControl || !tabs || tabs->Bitmap.Empty()) return;
    const char* names[] = {"TabBackGround", "TabBackGroundActive"};
    for (int frame = 1; frame <= 2; ++frame) {
        auto* picture = static_cast<TBitmap*>(GetObjectPropByName(FControl, names[frame - 1], &TBitmap::StaticClassInfo()));
        if (!picture) continue;
        TBitmap image(PICTURE_WIDTH, PICTURE_HEIGHT, pf24bit);
        HDC dc = image.Canvas()->Handle();
        const RECT all{0, 0, PICTURE_WIDTH, PICTURE_HEIGHT};
        FillFace(dc, all);
        DrawObjectFrame(dc, all, std::max(tabs->Frame, 1), frame, tabs);
        picture->Assign(image);
    }
    // The tabs' captions in the skin's colour of an ordinary tab.
    TFont* font = FFontColour.Take(FControl);
    if (!font) return;
    font->SetColor(static_cast<TColor>(skin::ResolveColour(tabs->NormalColour2) & 0xFFFFFF));
}

void TSkinAdvPage::FindScroller()
{
    HWND upDown = FWindow ? FindWindowExA(FWindow, nullptr, UPDOWN_CLASSA, nullptr) : nullptr;
    if (!upDown || FUpDown) return;
    FUpDown = NewSkinner("TSkinUpDown", FControl);
    if (FUpDown) FUpDown->AttachWindow(upDown, FSkinData, FFormSkinner, FCanvas);
}

void TSkinAdvPage::Draw(HDC, const RECT&)
{
    FindScroller();
}

void TSkinAdvPage::SkinChanged()
{
    TSkinControl::SkinChanged();
    HandOverPictures();
}

void TSkinAdvPage::Detach()
{
    if (!FActive) return;
    TSkinControl::Detach();
    if (FLifeState == lsWindowGone || !FControl) return;
    for (const char* name : {"TabBackGround", "TabBackGroundActive"})
        if (auto* picture = static_cast<TBitmap*>(GetObjectPropByName(FControl, name, &TBitmap::StaticClassInfo())))
            picture->SetSize(0, 0);
    FFontColour.GiveBack(FControl);
    FControl->Invalidate();
}
