// Menus of skinned windows, driven as a user drives them: the skinned menu
// bar (its band, opening an item's submenu under it by mouse and keyboard,
// moving between menus with the arrow keys, Esc, a command of its own,
// changes shown at once, the hot item's frame), the popup windows' frame
// from the skin, owner-drawn items of the system menu and of a control's
// context menu, the ledger's settings that leave the system menu alone, and
// everything given back pixel for pixel. Open menus are read and driven
// from a thread timer, which runs inside their modal loops. Serial: windows
// are activated on the display.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "form_skin_support.h"
#include "framework/display_scale.h"
#include "framework/menus.h"
#include "framework/std_controls.h"
#include "skin/data/frame_draw.h"
#include "skin/form/menu_bar.h"
#include "skin/form/menu_items.h"
#include "skin/data/image_utils.h"
#include "tests/app/window_capture.h"
#include "tests/thread_windows.h"

namespace {

using namespace formtest;

// The deepest open menu window of the thread and what it shows.
struct TOpenMenu {
    HWND Window = nullptr;
    HMENU Menu = nullptr;
    RECT Bounds{};
};

TOpenMenu OpenMenu()
{
    TOpenMenu open;
    open.Window = testwin::VisibleThreadWindow(testwin::MENU_WINDOW_CLASS);
    if (open.Window) {
        open.Menu = reinterpret_cast<HMENU>(SendMessageA(open.Window, MN_GETHMENU, 0, 0));
        GetWindowRect(open.Window, &open.Bounds);
    }
    return open;
}

int Hilited(HMENU menu)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
        if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) return i;
    return -1;
}

// A script of steps run one per timer tick while a menu is open; a step
// answers true when it is done (false runs it again at the next tick).
using TStep = std::function<bool(const TOpenMenu&)>;
struct TScript {
    std::vector<TStep> Steps;
    size_t Next = 0;
    std::vector<HMENU> Seen;    // the menu open at each step
} Script;

void CALLBACK RunScript(HWND, UINT, UINT_PTR, DWORD)
{
    const TOpenMenu open = OpenMenu();
    if (!open.Window || !open.Menu || Script.Next >= Script.Steps.size()) return;
    if (Script.Steps[Script.Next](open)) {
        Script.Seen.push_back(open.Menu);
        ++Script.Next;
    }
}

// Runs `action` (which opens a menu) with `steps` driving the menu, until
// every step ran and no menu is open (a move to another bar menu opens it
// from the message loop).
void Drive(std::vector<TStep> steps, const std::function<void()>& action)
{
    Script = TScript{};
    Script.Steps = std::move(steps);
    const UINT_PTR timer = SetTimer(nullptr, 0, 40, RunScript);
    action();
    PumpUntil([] { return Script.Next >= Script.Steps.size() && !OpenMenu().Window; }, 4000);
    KillTimer(nullptr, timer);
}

TStep Key(WPARAM key)
{
    return [key](const TOpenMenu& open) {
        PostMessageA(open.Window, WM_KEYDOWN, key, 0);
        return true;
    };
}

// Highlights the entry at `position` one key at a time, then presses Enter.
TStep Choose(int position)
{
    return [position](const TOpenMenu& open) {
        const int now = Hilited(open.Menu);
        if (now == position) {
            PostMessageA(open.Window, WM_KEYDOWN, VK_RETURN, 0);
            return true;
        }
        PostMessageA(open.Window, WM_KEYDOWN, now < position ? VK_DOWN : VK_UP, 0);
        return false;
    };
}

// A step that checks the open menu, then presses `key`.
TStep Check(const std::function<void(const TOpenMenu&)>& check, WPARAM key)
{
    return [check, key](const TOpenMenu& open) {
        check(open);
        PostMessageA(open.Window, WM_KEYDOWN, key, 0);
        return true;
    };
}

// Keys pressed one per timer tick whatever is open (a plain menu bar in
// keyboard mode has no menu window), and the menus seen open in order.
struct TKeys {
    std::vector<WPARAM> Keys;
    size_t Next = 0;
    int Wait = 0;
    HWND Window = nullptr;
    std::vector<HMENU> Seen;
} Keys;

void CALLBACK PressKeys(HWND, UINT, UINT_PTR, DWORD)
{
    const TOpenMenu open = OpenMenu();
    if (open.Menu && (Keys.Seen.empty() || Keys.Seen.back() != open.Menu)) Keys.Seen.push_back(open.Menu);
    if (Keys.Wait > 0) {
        --Keys.Wait;
        return;
    }
    if (Keys.Next >= Keys.Keys.size()) return;
    PostMessageA(open.Window ? open.Window : Keys.Window, WM_KEYDOWN, Keys.Keys[Keys.Next++], 0);
    Keys.Wait = 2;
}

// F10 pressed on `window`, then `keys`; returns once every key went and no
// menu is open.
void PressF10Then(HWND window, std::vector<WPARAM> keys)
{
    Keys = TKeys{};
    Keys.Keys = std::move(keys);
    Keys.Window = window;
    Keys.Wait = 2;
    const UINT_PTR timer = SetTimer(nullptr, 0, 60, PressKeys);
    SendMessageA(window, WM_SYSKEYDOWN, VK_F10, 0);
    SendMessageA(window, WM_SYSKEYUP, VK_F10, 0xC0000000);
    PumpUntil([] { return Keys.Next >= Keys.Keys.size() && !OpenMenu().Window; }, 5000);
    KillTimer(nullptr, timer);
}

// Every pixel of `rect` in window coordinates, from a capture.
std::vector<std::uint32_t> PixelsOf(const TCapture& capture, const RECT& rect)
{
    std::vector<std::uint32_t> pixels;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            pixels.push_back(capture.Pixels[static_cast<size_t>(y) * capture.Width + x] & 0xFFFFFF);
    return pixels;
}

// The pixels of an item drawn with `look` in a width x height bitmap at `dpi`, row by row.
std::vector<COLORREF> DrawnItemPixels(TSkinData* skin, const skin::TMenuItemLook& look, int width, int height, UINT dpi)
{
    TGdiBitmap bitmap = skin::MakeDibSection(width, height, 32);
    TMemoryDC dc;
    TSelectObject use(dc, bitmap);
    skin::DrawSkinnedItem(skin, look, dc, RECT{0, 0, width, height}, false, nullptr, dpi);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels.push_back(GetPixel(dc, x, y));
    return pixels;
}

// The columns of an item drawn with `look` that differ from the same item
// drawn without text: the first and the last.
// Drawn at `dpi`.
std::pair<int, int> TextColumns(TSkinData* skin, skin::TMenuItemLook look, int width, int height, UINT dpi = 96)
{
    auto draw = [&](const skin::TMenuItemLook& what) { return DrawnItemPixels(skin, what, width, height, dpi); };
    skin::TMenuItemLook blank = look;
    blank.Caption = L"";
    blank.ShortCut = L"";
    blank.Checked = false;
    const std::vector<COLORREF> with = draw(look), without = draw(blank);
    int first = width, last = -1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (with[static_cast<size_t>(y * width + x)] != without[static_cast<size_t>(y * width + x)]) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    return {first, last};
}

bool OwnerDrawn(HMENU menu, int position)
{
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
    return (info.fType & MFT_OWNERDRAW) != 0;
}

bool AnyOwnerDrawn(HMENU menu)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (OwnerDrawn(menu, i)) return true;
        if (HMENU sub = GetSubMenu(menu, i); sub && AnyOwnerDrawn(sub)) return true;
    }
    return false;
}

// The skin's "MenuBackground" at a window's size, pixel (x, y).
COLORREF MenuBackgroundPixel(TSkinData* skin, int width, int height, int x, int y)
{
    const TDataSkinObject* object = skin->ModelFor(WindowDpi(nullptr)).Object(ssMenuBackground);
    const RECT margins{object->LeftWidth, object->TopHeight, object->RightWidth, object->BottomHeight};
    TGdiBitmap built = skin::BuildFrameBitmap(RECT{0, 0, width, height}, object->Bitmap.Handle(), margins, 1, 1,
                                              object->Tile != 0, false);
    TMemoryDC dc;
    TSelectObject selected(dc, built);
    return GetPixel(dc, x, y);
}

COLORREF WindowPixel(HWND window, int x, int y)
{
    HDC dc = GetWindowDC(window);
    const COLORREF pixel = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return pixel;
}

void Save(HWND window, const char* name)
{
    SaveBmp(CaptureWindow(window), ScreenshotFolder() + name);
}

// "Help" and "New" in Hebrew.
const wchar_t* const HELP_HEBREW = L"&\u05E2\u05D6\u05E8\u05D4";
const wchar_t* const NEW_HEBREW = L"&\u05D7\u05D3\u05E9";

// The text of the native entry `id` of `menu`.
std::wstring EntryText(HMENU menu, UINT id)
{
    wchar_t text[80] = {};
    GetMenuStringW(menu, id, text, 79, MF_BYCOMMAND);
    return text;
}

class MenuTest : public SkinTest {
protected:
    // A form with the stored skin whose component skins menus as `controls`
    // says, a menu bar (File, Edit, Help without children, View) and a
    // memo with a context menu of every kind of item.
    void MakeForm(TSkinControlTypes controls, TBiDiMode mode = bdLeftToRight, bool skinning = true)
    {
        Form = Keep(new TForm(nullptr));
        Form->SetBiDiMode(mode);
        Form->SetBounds(120, 100, 460, 320);
        Form->SetCaption("Menus");
        Skin = new TSkinData(Form);
        Skin->BeginLoading();
        TMemoryStream stream;
        const skintest::TBytes bytes = skintest::StoredSkinBytes();
        stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
        stream.SetPosition(0);
        ConfigureStoredSkin(*Skin, stream);
        Skin->SetSkinControls(controls);

        Bar = new TMainMenu(Form);
        File = Add(Bar->Items(), "&File");
        New = Add(File, "&New");
        New->SetShortCut(ShortCut('N', ssCtrl));
        Add(File, "-");
        TMenuItem* recent = Add(File, "&Recent");
        Add(recent, "one.txt");
        Add(recent, "two.txt");
        Add(File, "E&xit");
        Edit = Add(Bar->Items(), "&Edit");
        Add(Edit, "&Undo")->SetEnabled(false);
        Cut = Add(Edit, "Cu&t");
        Help = Add(Bar->Items(), "&Help");
        View = Add(Bar->Items(), "&View");
        Add(View, "&Toolbar")->SetChecked(true);
        if (mode != bdLeftToRight) {
            // Captions a right-to-left program gives, outside the code page.
            Help->SetCaptionW(HELP_HEBREW);
            New->SetCaptionW(NEW_HEBREW);
        }
        Form->SetMenu(Bar);

        Images = new TImageList(Form);
        Images->SetHandle(ImageList_Duplicate(Skin->MenuGlyphs()), true);
        Context = new TPopupMenu(Form);
        Context->SetImages(Images);
        Add(Context->Items(), "&Restore")->SetImageIndex(0);
        Add(Context->Items(), "Checked with image")->SetImageIndex(1);
        Context->Items()->Items(1)->SetChecked(true);
        Add(Context->Items(), "-");
        RadioA = Add(Context->Items(), "Radio A");
        RadioB = Add(Context->Items(), "Radio B");
        for (TMenuItem* radio : {RadioA, RadioB}) {
            radio->SetRadioItem(true);
            radio->SetGroupIndex(1);
            radio->OnClick = [](TObject* sender) { static_cast<TMenuItem*>(sender)->SetChecked(true); };
        }
        RadioA->SetChecked(true);
        Add(Context->Items(), "Disabled")->SetEnabled(false);
        TMenuItem* more = Add(Context->Items(), "More");
        Add(more, "Nested");
        Memo = new TEdit(Form);
        Memo->SetParent(Form);
        Memo->SetBounds(10, 10, 200, 24);
        Memo->SetPopupMenu(Context);

        Form->FinishCreation();
        if (!skinning) SkinManager()->Skinning = false;
        Form->Show();
        Window = Form->Handle();
        SetForegroundWindow(Window);
        if (!skinning) {
            Pump(100);
            return;
        }
        ASSERT_TRUE(PumpUntil([&] { return SkinnerOf(Window) && SkinnerOf(Window)->SkinState() == fssSkinned; }));
    }

    // Skins the window that was shown plain.
    void SkinNow()
    {
        SkinManager()->Skinning = true;
        ASSERT_TRUE(SkinManager()->SkinWindow(Window));
        ASSERT_TRUE(PumpUntil([&] { return SkinnerOf(Window) && SkinnerOf(Window)->SkinState() == fssSkinned; }));
    }

    TMenuItem* Add(TMenuItem* parent, const char* caption)
    {
        auto* item = new TMenuItem(Form);
        item->SetCaption(caption);
        item->OnClick = [this](TObject* sender) { Clicked.push_back(static_cast<TMenuItem*>(sender)); };
        parent->Add(item);
        return item;
    }

    TMenuBtn* Button(int index) { return SkinnerOf(Window)->MenuBar()->Buttons.at(static_cast<size_t>(index)); }

    // A screen point inside a bar item.
    LPARAM On(const TMenuBtn* item)
    {
        RECT bounds{};
        GetWindowRect(Window, &bounds);
        return MAKELPARAM(bounds.left + item->Rect.left + 3, bounds.top + item->Rect.top + 3);
    }

    TSkinData* Skin = nullptr;
    TForm* Form = nullptr;
    HWND Window = nullptr;
    TMainMenu* Bar = nullptr;
    TMenuItem *File = nullptr, *New = nullptr, *Edit = nullptr, *Cut = nullptr, *Help = nullptr, *View = nullptr;
    TMenuItem *RadioA = nullptr, *RadioB = nullptr;
    TImageList* Images = nullptr;
    TPopupMenu* Context = nullptr;
    TEdit* Memo = nullptr;
    std::vector<TMenuItem*> Clicked;
};

constexpr TSkinControlTypes ALL_MENUS = DEFAULT_SKIN_CONTROLS | SkinControl(xcSystemMenu);

TEST_F(MenuTest, TheMenuBarBandOpensItsMenusAndMovesBetweenThem)
{
    MakeForm(ALL_MENUS);
    TWinSkinForm* skinner = SkinnerOf(Window);
    // The band replaces the native menu bar; the client area sits under it.
    EXPECT_EQ(GetMenu(Window), nullptr);
    EXPECT_EQ(skinner->MenuHeight(), GetSystemMetrics(SM_CYMENU));
    RECT bounds{};
    GetWindowRect(Window, &bounds);
    POINT origin{0, 0};
    ClientToScreen(Window, &origin);
    EXPECT_EQ(origin.y - bounds.top, skinner->BorderTop() + skinner->MenuHeight());
    EXPECT_EQ(origin.x - bounds.left, skinner->BorderLeft());
    ASSERT_EQ(skinner->MenuBar()->Buttons.size(), 4u);
    EXPECT_EQ(Button(0)->Caption, L"&File");
    EXPECT_GT(Button(0)->Rect.right, Button(0)->Rect.left);
    EXPECT_GE(Button(1)->Rect.left, Button(0)->Rect.right);
    Save(Window, "menus_bar.bmp");

    // A click on File opens its menu under it, skinned; Right moves to Edit,
    // Left back to File, Left again wraps to the last item, Right wraps to
    // the first, Esc closes.
    bool skinnedPopup = false;
    RECT fileMenu{};
    Drive({Check(
               [&](const TOpenMenu& open) {
                   fileMenu = open.Bounds;
                   skinnedPopup = SkinManager()->IsPopupMenuSkinned(open.Window);
                   EXPECT_TRUE(OwnerDrawn(open.Menu, 0)) << "the submenu's items are owner-drawn";
                   Save(open.Window, "menus_file_open.bmp");
               },
               VK_RIGHT),
           Key(VK_LEFT), Key(VK_LEFT), Key(VK_RIGHT), Key(VK_ESCAPE)},
          [&] { SendMessageA(Window, WM_NCLBUTTONDOWN, HTMENU, On(Button(0))); });
    const std::vector<HMENU> expected{File->Handle(), Edit->Handle(), File->Handle(), View->Handle(), File->Handle()};
    EXPECT_EQ(Script.Seen, expected);
    EXPECT_TRUE(skinnedPopup);
    EXPECT_NEAR(fileMenu.left, bounds.left + Button(0)->Rect.left, 2);
    EXPECT_NEAR(fileMenu.top, bounds.top + Button(0)->Rect.bottom, 2);
    EXPECT_EQ(OpenMenu().Window, nullptr);

    // Alt with an access key opens that menu; choosing an item runs it.
    Drive({Choose(1)}, [&] { SendMessageA(Window, WM_SYSCOMMAND, SC_KEYMENU, 'E'); });
    ASSERT_EQ(Script.Seen.size(), 1u);
    EXPECT_EQ(Script.Seen[0], Edit->Handle());
    EXPECT_TRUE(PumpUntil([&] { return !Clicked.empty() && Clicked.back() == Cut; })) << "Cut's OnClick did not run";

    // An item without children runs its command and opens nothing.
    Clicked.clear();
    SendMessageA(Window, WM_NCLBUTTONDOWN, HTMENU, On(Button(2)));
    EXPECT_TRUE(PumpUntil([&] { return !Clicked.empty() && Clicked.back() == Help; }));
    EXPECT_EQ(OpenMenu().Window, nullptr);

    // The shortcut runs its item from the keyboard, N alone does not.
    Clicked.clear();
    EXPECT_EQ(Memo->Perform(CN_KEYDOWN, 'N', 0), 0);
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] |= 0x80;
    SetKeyboardState(keys);
    EXPECT_EQ(Memo->Perform(CN_KEYDOWN, 'N', 0), 1);
    keys[VK_CONTROL] &= 0x7F;
    SetKeyboardState(keys);
    EXPECT_EQ(Clicked, std::vector<TMenuItem*>{New});
}

TEST_F(MenuTest, TheBarFollowsMenuChangesAndShowsTheHotItem)
{
    MakeForm(ALL_MENUS);
    TWinSkinForm* skinner = SkinnerOf(Window);
    // An item added, and one disabled, at run time show at once.
    TMenuItem* tools = Add(Bar->Items(), "&Tools");
    Add(tools, "Options");
    Edit->SetEnabled(false);
    ASSERT_TRUE(PumpUntil([&] { return skinner->MenuBar()->Buttons.size() == 5; }));
    EXPECT_EQ(Button(4)->Caption, L"&Tools");
    EXPECT_GT(Button(4)->Rect.right, Button(4)->Rect.left) << "the new item is laid out on the band";
    EXPECT_EQ(Button(1)->ItemEnabled, 0);
    EXPECT_EQ(GetMenu(Window), nullptr) << "the native menu stays off the window";
    Edit->SetCaption("&Change");
    ASSERT_TRUE(PumpUntil([&] { return Button(1)->Caption == L"&Change"; }));

    // The item under the mouse is framed in the skin's highlight colour,
    // and loses the frame when the mouse leaves it.
    const COLORREF hilight = ColorToRGB(static_cast<TColor>(Skin->Model().Colours[scButtonHilight]));
    const TMenuBtn* view = Button(3);
    const COLORREF edgeBefore = WindowPixel(Window, view->Rect.left, view->Rect.top + 2);
    SendMessageA(Window, WM_NCMOUSEMOVE, HTMENU, On(view));
    EXPECT_EQ(view->State, skin::ncsHot);
    EXPECT_EQ(WindowPixel(Window, view->Rect.left, view->Rect.top + 2), hilight);
    EXPECT_EQ(WindowPixel(Window, view->Rect.right - 1, view->Rect.top + 2), hilight);
    Save(Window, "menus_bar_hot.bmp");
    RECT bounds{};
    GetWindowRect(Window, &bounds);
    SendMessageA(Window, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(bounds.left + 150, bounds.top + 8));
    EXPECT_EQ(view->State, skin::ncsNormal);
    EXPECT_EQ(WindowPixel(Window, view->Rect.left, view->Rect.top + 2), edgeBefore);
}

TEST_F(MenuTest, PopupWindowsAndTheirItemsAreSkinned)
{
    MakeForm(ALL_MENUS);
    // The system menu: its window framed from "MenuBackground", its items
    // owner-drawn.
    bool skinned = false, ownerDrawn = false;
    COLORREF frame = 0, expected = 1;
    Drive({Check(
              [&](const TOpenMenu& open) {
                  skinned = SkinManager()->IsPopupMenuSkinned(open.Window);
                  ownerDrawn = OwnerDrawn(open.Menu, 0);
                  const int width = open.Bounds.right - open.Bounds.left;
                  const int height = open.Bounds.bottom - open.Bounds.top;
                  frame = WindowPixel(open.Window, 1, height / 2);
                  expected = MenuBackgroundPixel(Skin, width, height, 1, height / 2);
                  Save(open.Window, "menus_system_menu.bmp");
              },
              VK_ESCAPE)},
          [&] {
              RECT bounds{};
              GetWindowRect(Window, &bounds);
              SendMessageA(Window, WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(bounds.left + 200, bounds.top + 10));
          });
    ASSERT_EQ(Script.Seen.size(), 1u);
    EXPECT_TRUE(skinned);
    EXPECT_TRUE(ownerDrawn);
    EXPECT_EQ(frame, expected) << "the popup's frame is the skin's MenuBackground";

    // A control's context menu: every kind of item, skinned; choosing the
    // second radio item checks it and unchecks the first.
    POINT at{20, 20};
    ClientToScreen(Memo->Handle(), &at);
    const int radioB = Context->Items()->IndexOf(RadioB);
    Drive({Check(
               [&](const TOpenMenu& open) {
                   EXPECT_TRUE(SkinManager()->IsPopupMenuSkinned(open.Window));
                   EXPECT_TRUE(OwnerDrawn(open.Menu, 0));
                   // Painted again, the open window's frame comes from the
                   // picture it already has.
                   TPopupMenuSkinnerLink* popup = nullptr;
                   for (TPopupMenuSkinnerLink* each : SkinManager()->MenuSkinners())
                       if (each->MenuWindow() == open.Window) popup = each;
                   const HBITMAP kept = popup ? popup->BackgroundBitmap() : nullptr;
                   SendMessageA(open.Window, WM_NCPAINT, 1, 0);
                   EXPECT_TRUE(kept && popup->BackgroundBitmap() == kept);
                   Save(open.Window, "menus_context_menu.bmp");
               },
               VK_DOWN),
           Choose(radioB)},
          [&] { SendMessageA(Memo->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Memo->Handle()), MAKELPARAM(at.x, at.y)); });
    EXPECT_EQ(Script.Seen.size(), 2u);
    EXPECT_TRUE(RadioB->Checked());
    EXPECT_FALSE(RadioA->Checked());
    EXPECT_EQ(Context->PopupComponent(), Memo);
}

// A separator is the skin's line (frame 2 of "MenuItem") at the item's foot,
// its ends as they are and its magenta showing what lies under the item. A
// menu opened again in a window of the same size takes the background
// picture the window before had, until the skin's model changes.
TEST_F(MenuTest, SeparatorsAndTheBackgroundKeptForTheNextMenuWindow)
{
    MakeForm(ALL_MENUS);
    const TDataSkinObject* object = Skin->ModelFor(96).Object(ssMenuItem);
    ASSERT_TRUE(object && !object->Bitmap.Empty());
    const skin::TMenuItemLook line = skin::LookOf(Context->Items()->Items(2));
    ASSERT_TRUE(line.IsLine());
    const int width = 120, height = 12;
    const std::vector<COLORREF> drawn = DrawnItemPixels(Skin, line, width, height, 96);
    const COLORREF under = ColorToRGB(static_cast<TColor>(Skin->Model().Colours[scMenu]));
    const int frameWidth = object->Bitmap.Width() / std::max(object->Frame, 1);
    const int rows = std::min(object->Bitmap.Height(), height);
    const int sourceTop = object->Bitmap.Height() - rows;
    TMemoryDC source;
    TSelectObject use(source, object->Bitmap.Handle());
    int lineShown = 0;
    for (int y = 0; y < height; ++y)
        for (int x : {0, object->LeftWidth - 1, width / 2, width - object->RightWidth, width - 1}) {
            SCOPED_TRACE(testing::Message() << x << "," << y);
            const COLORREF got = drawn[static_cast<size_t>(y * width + x)];
            EXPECT_NE(got, RGB(255, 0, 255));
            if (y < height - rows) {
                EXPECT_EQ(got, under);
                continue;
            }
            if (x == width / 2) continue;  // stretched
            const int from = x < object->LeftWidth ? frameWidth + x : 2 * frameWidth - (width - x);
            const COLORREF skin = GetPixel(source, from, sourceTop + y - (height - rows));
            EXPECT_EQ(got, skin == RGB(255, 0, 255) ? under : skin);
            lineShown += skin != RGB(255, 0, 255);
        }
    EXPECT_GT(lineShown, 0) << "the line shows somewhere";

    POINT at{20, 20};
    ClientToScreen(Memo->Handle(), &at);
    auto openedBackground = [&] {
        HBITMAP background = nullptr;
        Drive({Check(
                  [&](const TOpenMenu& open) {
                      for (TPopupMenuSkinnerLink* each : SkinManager()->MenuSkinners())
                          if (each->MenuWindow() == open.Window) background = each->BackgroundBitmap();
                  },
                  VK_ESCAPE)},
              [&] {
                  SendMessageA(Memo->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Memo->Handle()),
                               MAKELPARAM(at.x, at.y));
              });
        return background;
    };
    const HBITMAP first = openedBackground();
    ASSERT_TRUE(first);
    EXPECT_EQ(GetObjectType(first), static_cast<DWORD>(OBJ_BITMAP)) << "kept after its window went";
    EXPECT_EQ(openedBackground(), first);
    TMemoryStream stream;
    const skintest::TBytes bytes = skintest::StoredSkinBytes();
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    stream.SetPosition(0);
    ConfigureStoredSkin(*Skin, stream);
    Pump(60);
    const HBITMAP again = openedBackground();
    EXPECT_TRUE(again && again != first) << "a new model, a new picture";
}

// The columns and rows where an item drawn with `look` differs from the
// same item drawn with `blank`, at `dpi`: left, top, right, bottom (right
// and bottom inclusive; left > right when nothing differs).
RECT DifferingBox(TSkinData* skin, const skin::TMenuItemLook& look, const skin::TMenuItemLook& blank, int width,
                  int height, UINT dpi)
{
    auto draw = [&](const skin::TMenuItemLook& what) { return DrawnItemPixels(skin, what, width, height, dpi); };
    const std::vector<COLORREF> a = draw(look), b = draw(blank);
    RECT box{width, height, -1, -1};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (a[static_cast<size_t>(y * width + x)] != b[static_cast<size_t>(y * width + x)]) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x);
                box.bottom = std::max<LONG>(box.bottom, y);
            }
    return box;
}

TEST_F(MenuTest, PopupItemsAreMeasuredAndDrawnAtTheScaleOfTheirWindow)
{
    // The form is told it moved to monitors of 192 and 144 pixels an inch
    // (and back to 96): its context menu's items are measured and drawn at
    // that scale (the skin's item frame, the glyph box, the check and radio
    // marks, the caption's inset and font, the separator's height).
    MakeForm(ALL_MENUS);
    TCanvas canvas;
    HDC screen = GetDC(nullptr);
    canvas.SetHandle(screen);
    TMenuItem* separator = Context->Items()->Items(2);
    ASSERT_TRUE(separator->IsLine());
    RECT place{};
    GetWindowRect(Window, &place);
    int markWidthAt96 = 0;
    for (UINT dpi : {96u, 192u, 144u}) {
        SCOPED_TRACE(dpi);
        SendMessageA(Window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&place));
        Pump(60);
        ASSERT_EQ(WindowDpi(Window), dpi);
        const auto px = [dpi](int value) { return ScaleToDpi(value, dpi); };
        const TDataSkinObject* object = Skin->ModelFor(dpi).Object(ssMenuItem);
        const int inset = px(1) + (object && !object->Bitmap.Empty() ? object->LeftWidth : 0);

        // Measured: room for the glyph box and its insets; a separator as
        // high as the scale makes it; the caption as wide as the scaled font.
        int width = 0, height = 0;
        RadioA->OnMeasureItem(RadioA, &canvas, width, height);
        EXPECT_GE(height, px(16) + 2 * px(1));
        int lineWidth = 0, lineHeight = 0;
        separator->OnMeasureItem(separator, &canvas, lineWidth, lineHeight);
        EXPECT_EQ(lineHeight, px(8));

        // Drawn: the caption starts after the glyph box, in a font of the
        // scale (its height grows with it).
        skin::TMenuItemLook look = skin::LookOf(RadioA);
        skin::TMenuItemLook bare = look;
        bare.Caption = L"";
        bare.Checked = false;
        skin::TMenuItemLook markOnly = bare;
        markOnly.Checked = true;
        skin::TMenuItemLook textOnly = look;
        textOnly.Checked = false;
        const int itemWidth = px(160);
        const RECT text = DifferingBox(Skin, textOnly, bare, itemWidth, height, dpi);
        EXPECT_GE(text.left, inset + px(16) + px(3));
        EXPECT_LE(text.left, inset + px(16) + px(3) + px(3));
        EXPECT_GE(text.bottom - text.top + 1, px(8)) << "the caption's height";
        // The radio mark inside the glyph box, as large as the scale makes it.
        const RECT mark = DifferingBox(Skin, markOnly, bare, itemWidth, height, dpi);
        ASSERT_LE(mark.left, mark.right) << "a mark is drawn";
        EXPECT_GE(mark.left, inset);
        EXPECT_LE(mark.right, inset + px(16) + px(1));
        EXPECT_GE(mark.top, px(1));
        EXPECT_LT(mark.bottom, height);
        const int markWidth = mark.right - mark.left + 1;
        if (dpi == 96) markWidthAt96 = markWidth;
        else EXPECT_GE(markWidth, markWidthAt96 * static_cast<int>(dpi) / 96 - 1) << "the mark grows with the scale";

        // An item that opens a submenu: its arrow at the far side, 7 pixels
        // high at 96, and that place kept from the system's own (smaller)
        // arrow, which is drawn over the item after its owner.
        skin::TMenuItemLook opens = bare;
        opens.HasSubMenu = true;
        const RECT arrow = DifferingBox(Skin, opens, bare, itemWidth, height, dpi);
        ASSERT_LE(arrow.left, arrow.right) << "an arrow is drawn";
        EXPECT_GE(arrow.left, itemWidth - px(16));
        EXPECT_LE(arrow.right, itemWidth - px(4));
        EXPECT_GE(arrow.bottom - arrow.top + 1, px(7) - 1);
        TGdiBitmap bitmap = skin::MakeDibSection(itemWidth, height, 32);
        TMemoryDC dc;
        TSelectObject use(dc, bitmap);
        skin::DrawSkinnedItem(Skin, opens, dc, RECT{0, 0, itemWidth, height}, false, nullptr, dpi);
        const COLORREF arrowPixel = GetPixel(dc, arrow.right - 1, (arrow.top + arrow.bottom) / 2);
        PatBlt(dc, 0, 0, itemWidth, height, BLACKNESS);
        EXPECT_EQ(GetPixel(dc, arrow.right - 1, (arrow.top + arrow.bottom) / 2), arrowPixel) << "the arrow is kept";
        EXPECT_EQ(GetPixel(dc, itemWidth / 2, height / 2), RGB(0, 0, 0)) << "the rest of the item is not";
    }
    canvas.SetHandle(nullptr);
    ReleaseDC(nullptr, screen);
}

TEST_F(MenuTest, TheLedgersSettingsLeaveTheSystemMenuWindowAlone)
{
    // The main window stores menu items and the system menu as unskinned:
    // the system menu's window keeps the system's frame, its items are
    // still the skin's.
    TForm* main = Keep(MakeSkinnedForm(Skin));
    main->Show();
    Window = main->Handle();
    SetForegroundWindow(Window);
    ASSERT_TRUE(PumpUntil([&] { return SkinnerOf(Window) && SkinnerOf(Window)->SkinState() == fssSkinned; }));
    ASSERT_FALSE(Skin->SkinControls() & SkinControl(xcSystemMenu));
    ASSERT_FALSE(Skin->SkinControls() & SkinControl(xcMenuItem));
    bool skinned = true, ownerDrawn = true;
    Drive({Check(
              [&](const TOpenMenu& open) {
                  skinned = SkinManager()->IsPopupMenuSkinned(open.Window);
                  ownerDrawn = AnyOwnerDrawn(open.Menu);
              },
              VK_ESCAPE)},
          [&] {
              RECT bounds{};
              GetWindowRect(Window, &bounds);
              SendMessageA(Window, WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(bounds.left + 200, bounds.top + 10));
          });
    ASSERT_EQ(Script.Seen.size(), 1u);
    EXPECT_FALSE(skinned) << "the system menu's window keeps the system's look";
    EXPECT_TRUE(ownerDrawn) << "the system menu's items are drawn from the skin in every case";
}

TEST_F(MenuTest, UnskinGivesTheMenuBarBackPixelForPixel)
{
    MakeForm(ALL_MENUS);
    // A second form with a menu, captured before it is skinned.
    TForm* second = Keep(new TForm(nullptr));
    second->SetBounds(200, 160, 360, 240);
    second->SetCaption("second");
    auto* menu = new TMainMenu(second);
    TMenuItem* top = Add(menu->Items(), "&Tools");
    Add(top, "Options");
    Add(menu->Items(), "&About");
    second->SetMenu(menu);
    second->FinishCreation();
    SkinManager()->Skinning = false;
    second->Show();
    const HWND window = second->Handle();
    SetForegroundWindow(window);
    Pump(100);
    auto repaint = [&] {
        RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump(50);
    };
    repaint();
    const TCapture before = CaptureWindow(window);
    const HMENU native = GetMenu(window);
    ASSERT_EQ(native, menu->Handle());

    SkinManager()->Skinning = true;
    ASSERT_TRUE(SkinManager()->SkinWindow(window));
    ASSERT_TRUE(PumpUntil([&] { return SkinnerOf(window) && SkinnerOf(window)->SkinState() == fssSkinned; }));
    TWinSkinForm* skinner = SkinnerOf(window);
    ASSERT_NE(skinner->MenuBar(), nullptr);
    EXPECT_EQ(GetMenu(window), nullptr);
    // Opening the submenu makes its entries owner-drawn.
    Drive({Check([&](const TOpenMenu& open) { EXPECT_TRUE(OwnerDrawn(open.Menu, 0)); }, VK_ESCAPE)}, [&] {
        SendMessageA(window, WM_NCLBUTTONDOWN, HTMENU, [&] {
            RECT bounds{};
            GetWindowRect(window, &bounds);
            const TMenuBtn* item = skinner->MenuBar()->Buttons.at(0);
            return MAKELPARAM(bounds.left + item->Rect.left + 3, bounds.top + item->Rect.top + 3);
        }());
    });
    EXPECT_EQ(Script.Seen.size(), 1u);

    SkinManager()->ForgetFormSkinner(window);
    skinner->Unskin();
    skinner->FreeSkinner();
    repaint();
    EXPECT_EQ(GetMenu(window), native) << "the native menu bar is back";
    EXPECT_FALSE(AnyOwnerDrawn(native)) << "no entry is left owner-drawn";
    const TCapture after = CaptureWindow(window);
    ASSERT_EQ(after.Width, before.Width);
    ASSERT_EQ(after.Height, before.Height);
    size_t differing = 0;
    for (size_t i = 0; i < before.Pixels.size(); ++i)
        if ((before.Pixels[i] & 0xFFFFFF) != (after.Pixels[i] & 0xFFFFFF)) ++differing;
    EXPECT_EQ(differing, 0u) << "the window is not pixel-identical to before skinning";
}

TEST_F(MenuTest, F10AndArrowsDriveTheSkinnedBarAsTheyDriveAPlainOne)
{
    // The same window, first with the system's menu bar, then skinned. F10
    // on the plain bar selects File and Down opens it; on the skinned bar
    // F10 opens File at once. From there the same keys do the same: Right
    // opens Edit, Down selects Cut, Enter runs it.
    MakeForm(ALL_MENUS, bdLeftToRight, false);
    ASSERT_EQ(SkinnerOf(Window), nullptr);
    ASSERT_EQ(GetMenu(Window), Bar->Handle());
    PressF10Then(Window, {VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN});
    const std::vector<HMENU> plainSeen = Keys.Seen;
    ASSERT_TRUE(PumpUntil([&] { return !Clicked.empty(); }));
    const std::vector<TMenuItem*> plainClicked = Clicked;

    SkinNow();
    Clicked.clear();
    PressF10Then(Window, {VK_RIGHT, VK_DOWN, VK_RETURN});
    ASSERT_TRUE(PumpUntil([&] { return !Clicked.empty(); }));
    const std::vector<HMENU> expected{File->Handle(), Edit->Handle()};
    EXPECT_EQ(plainSeen, expected);
    EXPECT_EQ(Keys.Seen, expected);
    // Opening File and Edit clicks them (their menus could fill themselves
    // there), then Cut runs.
    EXPECT_EQ(plainClicked, (std::vector<TMenuItem*>{File, Edit, Cut}));
    EXPECT_EQ(Clicked, plainClicked);
    EXPECT_EQ(SkinnerOf(Window)->InMenuLoop(), false);

    // Left from the first menu wraps to the last; Escape closes it and runs
    // no item of it.
    Clicked.clear();
    PressF10Then(Window, {VK_LEFT, VK_ESCAPE});
    EXPECT_EQ(Keys.Seen, (std::vector<HMENU>{File->Handle(), View->Handle()}));
    Pump(50);
    EXPECT_EQ(Clicked, (std::vector<TMenuItem*>{File, View}));
}

TEST_F(MenuTest, ARightToLeftBarReadsFromTheRightAndSwapsTheArrows)
{
    MakeForm(ALL_MENUS, bdRightToLeft);
    TWinSkinForm* skinner = SkinnerOf(Window);
    ASSERT_TRUE(Bar->IsRightToLeft()) << "the menu follows its form";
    ASSERT_TRUE(skinner->RightToLeft());
    TWinSkinMenu* bar = skinner->MenuBar();
    ASSERT_TRUE(bar->RightToLeft());
    // Items from the band's right edge leftwards.
    RECT bounds{};
    GetWindowRect(Window, &bounds);
    const int bandRight = (bounds.right - bounds.left) - skinner->BorderRight();
    // The band as the window draws it, at its scale.
    const TDataSkinObject* band = Skin->ModelFor(WindowDpi(Window)).Object(ssMenuBar);
    ASSERT_NE(band, nullptr);
    EXPECT_EQ(Button(0)->Rect.right, bandRight - (band->RightWidth + ScaleToDpi(8, WindowDpi(Window))));
    for (int i = 1; i < 4; ++i) EXPECT_EQ(Button(i)->Rect.right, Button(i - 1)->Rect.left) << i;
    // Captions outside the code page reach the bar and the popup's look
    // whole.
    EXPECT_EQ(Button(2)->Caption, HELP_HEBREW);
    EXPECT_EQ(skin::LookOf(New).Caption, NEW_HEBREW);

    // Pixels: the text of the first item is drawn at the right; the band
    // left of the last item is bare background.
    RedrawWindow(Window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Pump(50);
    const TCapture capture = CaptureWindow(Window);
    SaveBmp(capture, ScreenshotFolder() + "menus_rtl_bar.bmp");
    auto background = [&](const RECT& r) {
        TMemoryDC dc;
        TSelectObject use(dc, bar->Background);
        std::vector<std::uint32_t> pixels;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                pixels.push_back(GetPixel(dc, x - bar->BarRect.left, y - bar->BarRect.top) & 0xFFFFFF);
        return pixels;
    };
    auto rgb = [](std::vector<std::uint32_t> pixels) {
        // Captures are 0xRRGGBB, GetPixel 0xBBGGRR.
        for (auto& p : pixels) p = ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
        return pixels;
    };
    const RECT first{Button(0)->Rect.left + 1, Button(0)->Rect.top + 1, Button(0)->Rect.right - 1, Button(0)->Rect.bottom - 1};
    EXPECT_NE(PixelsOf(capture, first), rgb(background(first))) << "the first item's caption is at the right";
    const RECT empty{bar->BarRect.left + 2, first.top, Button(3)->Rect.left - 1, first.bottom};
    ASSERT_GT(empty.right, empty.left);
    EXPECT_EQ(PixelsOf(capture, empty), rgb(background(empty))) << "nothing is drawn left of the last item";

    // The submenu opens right-aligned under the item; the left arrow moves
    // to the item on the visual left (Edit), the right arrow back to File.
    RECT fileMenu{};
    Drive({Check([&](const TOpenMenu& open) {
               fileMenu = open.Bounds;
               Save(open.Window, "menus_rtl_file_open.bmp");
           }, VK_LEFT),
           Key(VK_RIGHT), Key(VK_ESCAPE)},
          [&] { SendMessageA(Window, WM_NCLBUTTONDOWN, HTMENU, On(Button(0))); });
    EXPECT_EQ(Script.Seen, (std::vector<HMENU>{File->Handle(), Edit->Handle(), File->Handle()}));
    EXPECT_NEAR(fileMenu.right, bounds.left + Button(0)->Rect.right, 2);
    EXPECT_NEAR(fileMenu.top, bounds.top + Button(0)->Rect.bottom, 2);

    // A popup item mirrored: caption right-aligned by the glyph box on the
    // right, shortcut at the left; the left-to-right item the other way.
    skin::TMenuItemLook look = skin::LookOf(New);
    ASSERT_TRUE(look.RightToLeft);
    ASSERT_FALSE(look.ShortCut.empty());
    const TDataSkinObject* item = Skin->Object(ssMenuItem);
    const int inset = 1 + (item && !item->Bitmap.Empty() ? item->LeftWidth : 0);
    const auto rtl = TextColumns(Skin, look, 220, 20);
    look.RightToLeft = false;
    const auto ltr = TextColumns(Skin, look, 220, 20);
    EXPECT_GE(rtl.first, 11);
    EXPECT_LE(rtl.first, 14) << "the shortcut starts at the item's left";
    EXPECT_LE(rtl.second, 220 - inset - 16 - 3);
    EXPECT_GE(rtl.second, 220 - inset - 16 - 3 - 3) << "the caption ends beside the glyph box on the right";
    EXPECT_GE(ltr.first, inset + 16 + 3);
    EXPECT_LE(ltr.first, inset + 16 + 3 + 3);
    EXPECT_LE(ltr.second, 220 - 11);
    EXPECT_GE(ltr.second, 220 - 14);
}

TEST_F(MenuTest, ARightToLeftWindowIsGivenBackPixelForPixel)
{
    MakeForm(ALL_MENUS, bdRightToLeft, false);
    auto repaint = [&] {
        RedrawWindow(Window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump(50);
    };
    repaint();
    const TCapture before = CaptureWindow(Window);
    ASSERT_TRUE(GetWindowLongA(Window, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR);
    SkinNow();
    TWinSkinForm* skinner = SkinnerOf(Window);
    ASSERT_NE(skinner->MenuBar(), nullptr);
    Drive({Check([&](const TOpenMenu& open) { EXPECT_TRUE(OwnerDrawn(open.Menu, 0)); }, VK_ESCAPE)},
          [&] { SendMessageA(Window, WM_NCLBUTTONDOWN, HTMENU, On(Button(0))); });
    SkinManager()->ForgetFormSkinner(Window);
    skinner->Unskin();
    skinner->FreeSkinner();
    repaint();
    EXPECT_EQ(GetMenu(Window), Bar->Handle());
    EXPECT_EQ(EntryText(Bar->Handle(), Help->Command()), HELP_HEBREW);
    EXPECT_EQ(EntryText(File->Handle(), New->Command()), std::wstring(NEW_HEBREW) + L"\tCtrl+N");
    const TCapture after = CaptureWindow(Window);
    ASSERT_EQ(after.Width, before.Width);
    ASSERT_EQ(after.Height, before.Height);
    size_t differing = 0;
    for (size_t i = 0; i < before.Pixels.size(); ++i)
        if ((before.Pixels[i] & 0xFFFFFF) != (after.Pixels[i] & 0xFFFFFF)) ++differing;
    EXPECT_EQ(differing, 0u) << "the right-to-left window is not pixel-identical to before skinning";
}

}  // namespace
