// The media player skinner and its overlay panel (see media_player_skinner.h).
#include "skin/controls/media_player_skinner.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/forms.h"
#include "skin/controls/skin_control.h"
#include "skin/controls/skinner_kinds.h"
#include "skin/controls/text_colours.h"
#include "skin/data/frame_draw.h"

DEFINE_SKINNER(TSkinMP, TSkinMP)

namespace {

// The names of the buttons in the player's button sets and in the
// program's picture resources, in button order.
const char* const BUTTON_SET_NAMES[MP_BUTTON_COUNT] = {"btPlay", "btPause", "btStop",  "btNext", "btPrev",
                                                       "btStep", "btBack",  "btRecord", "btEject"};
const char* const BUTTON_RESOURCE_NAMES[MP_BUTTON_COUNT] = {"MPPLAY", "MPPAUSE", "MPSTOP",   "MPNEXT", "MPPREV",
                                                            "MPSTEP", "MPBACK",  "MPRECORD", "MPEJECT"};
// The pictures' background, left out when they are drawn.
constexpr COLORREF PICTURE_BACKGROUND = RGB(128, 128, 0);

// Frames of the "Buttons" strip for the bar's buttons.
enum { bfNormal = 1, bfPressed = 2, bfDisabled = 3, bfHot = 4 };

void LoadPicture(TBitmap& bitmap, const char* state, const char* button)
{
    bitmap.SetSize(0, 0);
    std::string name = Format("%s_%s", state, button);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!FindResourceA(instance, name.c_str(), MAKEINTRESOURCEA(2))) return;  // RT_BITMAP
    try {
        bitmap.LoadFromResourceName(instance, name);
    } catch (...) {
        bitmap.SetSize(0, 0);
    }
}

// The built-in pictures, drawn when the program carries none: 12 x 11
// pixels of each button's shape in button order, placed at (2, 1) of a
// 16 x 14 picture.
constexpr int PICTURE_W = 16, PICTURE_H = 14;
const char* const BUILT_IN_SHAPES[MP_BUTTON_COUNT][11] = {
    {"   X        ", "   XX       ", "   XXX      ", "   XXXX     ", "   XXXXX    ", "   XXXXXX   ",
     "   XXXXX    ", "   XXXX     ", "   XXX      ", "   XX       ", "   X        "},  // play
    {"  XXX  XXX  ", "  XXX  XXX  ", "  XXX  XXX  ", "  XXX  XXX  ", "  XXX  XXX  ", "  XXX  XXX  ",
     "  XXX  XXX  ", "  XXX  XXX  ", "  XXX  XXX  ", "  XXX  XXX  ", "  XXX  XXX  "},  // pause
    {"            ", " XXXXXXXXX  ", " XXXXXXXXX  ", " XXXXXXXXX  ", " XXXXXXXXX  ", " XXXXXXXXX  ",
     " XXXXXXXXX  ", " XXXXXXXXX  ", " XXXXXXXXX  ", " XXXXXXXXX  ", "            "},  // stop
    {" X      XX  ", " XX     XX  ", " XXX    XX  ", " XXXX   XX  ", " XXXXX  XX  ", " XXXXXX XX  ",
     " XXXXX  XX  ", " XXXX   XX  ", " XXX    XX  ", " XX     XX  ", " X      XX  "},  // next
    {" XX      X  ", " XX     XX  ", " XX    XXX  ", " XX   XXXX  ", " XX  XXXXX  ", " XX XXXXXX  ",
     " XX  XXXXX  ", " XX   XXXX  ", " XX    XXX  ", " XX     XX  ", " XX      X  "},  // previous
    {"X     X     ", "XX    XX    ", "XXX   XXX   ", "XXXX  XXXX  ", "XXXXX XXXXX ", "XXXXXXXXXXXX",
     "XXXXX XXXXX ", "XXXX  XXXX  ", "XXX   XXX   ", "XX    XX    ", "X     X     "},  // step
    {"     X     X", "    XX    XX", "   XXX   XXX", "  XXXX  XXXX", " XXXXX XXXXX", "XXXXXXXXXXXX",
     " XXXXX XXXXX", "  XXXX  XXXX", "   XXX   XXX", "    XX    XX", "     X     X"},  // back
    {"            ", "   XXXXX    ", "  XXXXXXX   ", " XXXXXXXXX  ", " XXXXXXXXX  ", " XXXXXXXXX  ",
     " XXXXXXXXX  ", " XXXXXXXXX  ", "  XXXXXXX   ", "   XXXXX    ", "            "},  // record
    {"     X      ", "    XXX     ", "   XXXXX    ", "  XXXXXXX   ", " XXXXXXXXX  ", "XXXXXXXXXXX ",
     "            ", "XXXXXXXXXXX ", "XXXXXXXXXXX ", "            ", "            "},  // eject
};

// The built-in picture of `button`: its shape in black on the olive
// background, as the program's own pictures are drawn.
void DrawBuiltInPicture(TBitmap& bitmap, int button)
{
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(PICTURE_W, PICTURE_H);
    HDC dc = bitmap.Canvas()->Handle();
    RECT all{0, 0, PICTURE_W, PICTURE_H};
    TGdiBrush olive(CreateSolidBrush(PICTURE_BACKGROUND));
    FillRect(dc, &all, olive);
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 12; ++x)
            if (BUILT_IN_SHAPES[button][y][x] == 'X') SetPixel(dc, 2 + x, 1 + y, RGB(0, 0, 0));
}

// `shape` (anything but the olive background) in `colour`, on olive.
void Recolour(const TBitmap& shape, TBitmap& out, COLORREF colour)
{
    out.SetPixelFormat(pf24bit);
    out.SetSize(shape.Width(), shape.Height());
    HDC from = const_cast<TBitmap&>(shape).Canvas()->Handle();
    HDC to = out.Canvas()->Handle();
    for (int y = 0; y < shape.Height(); ++y)
        for (int x = 0; x < shape.Width(); ++x)
            SetPixel(to, x, y, GetPixel(from, x, y) == PICTURE_BACKGROUND ? PICTURE_BACKGROUND : colour);
}

}  // namespace

// ---- TWMediaPlayer --------------------------------------------------------------------------

IMPLEMENT_CLASS(TWMediaPlayer)

TWMediaPlayer::TWMediaPlayer(TComponent* owner, TSkinMP* skinner, TWinControl* player, TSkinData* skinData)
    : TCustomPanel(owner), FPlayer(player), FSkinner(skinner), FSkinData(skinData)
{
    SetBevelOuter(bvNone);
    FControlStyle |= csOpaque;
}

TWMediaPlayer::~TWMediaPlayer() = default;

void TWMediaPlayer::LoadImages()
{
    FImagesLoaded = true;
    for (int i = 0; i < MP_BUTTON_COUNT; ++i) {
        LoadPicture(FImages[i].Enabled, "EN", BUTTON_RESOURCE_NAMES[i]);
        LoadPicture(FImages[i].Disabled, "DI", BUTTON_RESOURCE_NAMES[i]);
        LoadPicture(FImages[i].Coloured, "CL", BUTTON_RESOURCE_NAMES[i]);
        // The shape the enabled and disabled looks are drawn from: the
        // program's enabled picture, or the built-in one.
        if (FImages[i].Enabled.Empty())
            DrawBuiltInPicture(FImages[i].Shape, i);
        else
            FImages[i].Shape.Assign(FImages[i].Enabled);
    }
}

void TWMediaPlayer::FollowPlayer()
{
    if (!FPlayer) return;
    // The panel's window is made once the player is on screen: over a
    // player on a page not shown it is made at the player's first paint.
    if (!HandleAllocated() && !(FPlayer->HandleAllocated() && IsWindowVisible(FPlayer->Handle()))) return;
    if (Parent() != FPlayer->Parent()) SetParent(FPlayer->Parent());
    RECT bounds = FPlayer->BoundsRect();
    SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
    SetVisible(FPlayer->Visible());
    if (HandleAllocated() && FPlayer->HandleAllocated())
        SetWindowPos(HandleIfAllocated(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWMediaPlayer::ReadButtons()
{
    const std::string visible = GetEnumPropByName(FPlayer, "VisibleButtons");
    const std::string enabled = GetEnumPropByName(FPlayer, "EnabledButtons");
    const std::string coloured = GetEnumPropByName(FPlayer, "ColoredButtons");
    FVisibleCount = 0;
    for (int i = 0; i < MP_BUTTON_COUNT; ++i) {
        FVisible[i] = visible.find(BUTTON_SET_NAMES[i]) != std::string::npos;
        FEnabledButton[i] = enabled.find(BUTTON_SET_NAMES[i]) != std::string::npos;
        FColoured[i] = coloured.find(BUTTON_SET_NAMES[i]) != std::string::npos;
        if (FVisible[i]) ++FVisibleCount;
    }
    FButtonWidth = FVisibleCount > 0 ? Width() / FVisibleCount : 0;
}

int TWMediaPlayer::ButtonAt(int x) const
{
    int left = 0;
    for (int i = 0; i < MP_BUTTON_COUNT; ++i) {
        if (!FVisible[i]) continue;
        if (x >= left && x < left + FButtonWidth) return i;
        left += FButtonWidth;
    }
    return -1;
}

COLORREF TWMediaPlayer::GlyphColour(bool enabled, bool down) const
{
    const TDataSkinButton* buttons = SkinAt(*FSkinData, FHandle).Buttons.get();
    const COLORREF face = SkinColourRgb(FSkinData, scButtonFace);
    COLORREF colour = SkinColourRgb(FSkinData, scButtonText);
    if (buttons && buttons->HasNormalColour2) colour = ColourRgb(static_cast<TColor>(buttons->NormalColour2));
    if (buttons && down && buttons->HasPressedColour2) colour = ColourRgb(static_cast<TColor>(buttons->PressedColour2));
    colour = LegibleOn(colour, face);
    if (enabled) return colour;
    return RGB((GetRValue(colour) + GetRValue(face)) / 2, (GetGValue(colour) + GetGValue(face)) / 2,
               (GetBValue(colour) + GetBValue(face)) / 2);
}

void TWMediaPlayer::Paint()
{
    HDC target = Canvas()->Handle();
    RECT client{0, 0, Width(), Height()};
    if (!FImagesLoaded) LoadImages();
    ReadButtons();
    if (FVisibleCount == 0) {
        FillRect(target, &client, FSkinData->FaceBrush());
        return;
    }
    TSkinBuffer buffer;
    HDC dc = buffer.Prepare(target, client.right, client.bottom);
    if (!dc) return;
    FillRect(dc, &client, FSkinData->FaceBrush());
    const bool playerEnabled = FPlayer->Enabled();
    const TDataSkinButton* frames = SkinAt(*FSkinData, FHandle).Buttons.get();
    int left = 0;
    for (int i = 0; i < MP_BUTTON_COUNT; ++i) {
        if (!FVisible[i]) continue;
        RECT cell{left, 0, left + FButtonWidth, client.bottom};
        left += FButtonWidth;
        const bool enabled = playerEnabled && FEnabledButton[i];
        const bool down = FPressed && FDownButton == i;
        if (frames && !frames->Bitmap.Empty()) {
            int frame = !enabled ? bfDisabled : down ? bfPressed : FHotButton == i ? bfHot : bfNormal;
            DrawObjectFrame(dc, cell, std::max<int>(frames->Frame, 1), frame, frames);
        }
        // A coloured button shows the program's coloured picture as it is;
        // otherwise the button's shape is drawn in the skin's text colour of
        // the button's state, so that it shows on any skin's buttons, and
        // faint (halfway to the face) when the button is disabled.
        TBitmap& coloured = FImages[i].Coloured;
        const bool asColoured = enabled && FColoured[i] && !coloured.Empty();
        if (!asColoured && FImages[i].Shape.Empty()) continue;
        TBitmap drawn;
        if (!asColoured) Recolour(FImages[i].Shape, drawn, GlyphColour(enabled, down));
        TBitmap& picture = asColoured ? coloured : drawn;
        int x = cell.left + (FButtonWidth - picture.Width()) / 2 + (down ? 1 : 0);
        int y = (client.bottom - picture.Height()) / 2 + (down ? 1 : 0);
        skin::DrawTransparentBitmap(dc, RECT{x, y, x + picture.Width(), y + picture.Height()}, picture.Handle(),
                                    PICTURE_BACKGROUND);
    }
    BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
}

void TWMediaPlayer::WndProc(TMessage& m)
{
    HWND player = FPlayer ? FPlayer->HandleIfAllocated() : nullptr;
    switch (m.Msg) {
    case WM_ERASEBKGND:
        m.Result = 1;
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        FPressed = true;
        TCustomPanel::WndProc(m);
        // The player does the pressing and the command; it gets the press
        // as if it had been made on it.
        if (player) ::SendMessageA(player, m.Msg, m.WParam, m.LParam);
        ReleaseCapture();
        ReadButtons();
        FDownButton = ButtonAt(GET_X_LPARAM(m.LParam));
        Invalidate();
        return;
    case WM_LBUTTONUP: {
        FPressed = false;
        TCustomPanel::WndProc(m);
        int button = ButtonAt(GET_X_LPARAM(m.LParam));
        if (button >= 0 && button == FDownButton && player) ::SendMessageA(player, m.Msg, m.WParam, m.LParam);
        FDownButton = -1;
        Invalidate();
        return;
    }
    case WM_MOUSEMOVE: {
        TCustomPanel::WndProc(m);
        int button = ButtonAt(GET_X_LPARAM(m.LParam));
        if (button != FHotButton) {
            FHotButton = button;
            Invalidate();
        }
        SkinTrackMouseLeave(HandleIfAllocated());
        return;
    }
    case WM_MOUSELEAVE:
        TCustomPanel::WndProc(m);
        if (FHotButton != -1) {
            FHotButton = -1;
            Invalidate();
        }
        return;
    }
    TCustomPanel::WndProc(m);
}

// ---- TSkinMP --------------------------------------------------------------------------------

IMPLEMENT_CLASS(TSkinMP)

TSkinMP::TSkinMP(TComponent* owner) : TSkinControl(owner) {}

TSkinMP::~TSkinMP()
{
    delete FOverlay;
    FOverlay = nullptr;
}

void TSkinMP::AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool colourManaged, TCanvas* canvas)
{
    if (Attached()) return;
    TSkinControl::AttachControl(formSkinner, skinData, colourManaged, canvas);
    if (!FControl || FOverlay) return;
    // Owned by this skinner, so it goes with the skinner whatever frees it.
    FOverlay = new TWMediaPlayer(this, this, FControl, skinData);
    // Never skinned itself.
    FOverlay->SetTag(skinData->DisableTag());
    FOverlay->FollowPlayer();
}

void TSkinMP::Detach()
{
    const bool wasActive = Active();
    TSkinControl::Detach();
    if (!wasActive) return;
    if (FLifeState != lsWindowGone) {
        delete FOverlay;
        FOverlay = nullptr;
        if (FWindow) InvalidateRect(FWindow, nullptr, TRUE);
    }
}

void TSkinMP::AfterMessage(TMessage& m)
{
    switch (m.Msg) {
    case WM_WINDOWPOSCHANGED:
        if (FOverlay) FOverlay->FollowPlayer();
        break;
    case CM_VISIBLECHANGED:
        if (FOverlay) FOverlay->SetVisible(FControl && FControl->Visible());
        break;
    }
    TSkinControl::AfterMessage(m);
}

void TSkinMP::Draw(HDC, const RECT&)
{
    // The player painted itself under the overlay: what it shows may have
    // changed (enabled buttons, a press), so the overlay paints again. A
    // player that was off screen at attach gets its overlay now.
    if (!FOverlay) return;
    if (FOverlay->HandleAllocated())
        FOverlay->Invalidate();
    else
        FOverlay->FollowPlayer();
}

void TSkinMP::SkinChanged()
{
    TSkinControl::SkinChanged();
    if (FOverlay) FOverlay->Invalidate();
}
