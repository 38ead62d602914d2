// Tool bars, menu buttons and cool bars on a skinned form: the tool bar's
// buttons walked through normal, hot, pressed, checked and disabled show the
// skin's button frames over the skin's bar gradient, in the skin's caption
// colour; a program's own drawing event is kept; the drop-down menus draw
// their items in the skin's menu colours (disabled ones in the disabled
// colour); the menu button shows its frames by state; the cool bar's bands
// take the face colour while the bar keeps its own; and switching the skin
// off gives every pixel, the bar's Flat and the menus back.
#include "control_skin_support.h"

#include "../../app/text_probe.h"
#include "framework/buttons.h"
#include "framework/cool_bar.h"
#include "framework/menus.h"
#include "framework/tool_bar.h"
#include "skin/controls/text_colours.h"
#include "skin/controls/tool_bar_skinner.h"
#include "skin/data/skin_model.h"

namespace {

using namespace controltest;

struct TBarsForm {
    TToolBar* Bar = nullptr;
    TToolBar* Own = nullptr;      // draws its buttons itself
    TMenuButton* Menu = nullptr;
    TCoolBar* Cool = nullptr;
    TPopupMenu* Drop = nullptr;
    TPopupMenu* ButtonMenu = nullptr;
    int Clicks = 0;
    int OwnDraws = 0;

    static TPopupMenu* TwoItems(TForm* form)
    {
        auto* menu = new TPopupMenu(form);
        for (const char* caption : {"One", "Two"}) {
            auto* item = new TMenuItem(menu);
            item->SetCaption(caption);
            menu->Items()->Add(item);
        }
        menu->Items()->Items(1)->SetEnabled(false);
        return menu;
    }

    void Build(TForm* form)
    {
        Drop = TwoItems(form);
        ButtonMenu = TwoItems(form);
        Bar = new TToolBar(form);
        Bar->SetParent(form);
        Bar->SetAlign(alNone);
        Bar->SetBounds(10, 10, 400, 30);
        Bar->AddButton("Plain")->OnClick = [this](TObject*) { ++Clicks; };
        Bar->AddButton("Check", tbsCheck)->SetDown(true);
        Bar->AddButton("Off")->SetEnabled(false);
        Bar->AddButton("Drop", tbsDropDown)->SetDropdownMenu(Drop);
        Own = new TToolBar(form);
        Own->SetParent(form);
        Own->SetAlign(alNone);
        Own->SetBounds(10, 50, 200, 30);
        Own->AddButton("Mine");
        Own->OnCustomDrawButton = [this](TToolBar*, TToolButton*, TCustomDrawState, unsigned&, bool&) { ++OwnDraws; };
        Menu = new TMenuButton(form);
        Menu->SetParent(form);
        Menu->SetBounds(10, 90, 110, 28);
        Menu->SetCaption("Choose");
        Menu->SetDropdownMenu(ButtonMenu);
        Cool = new TCoolBar(form);
        Cool->SetParent(form);
        Cool->SetAlign(alNone);
        Cool->SetBounds(10, 130, 400, 34);
        Cool->SetColor(RGB(10, 200, 30));
        auto* edit = new TEdit(form);
        edit->SetBounds(0, 0, 100, 22);
        TCoolBand* first = Cool->Bands()->Add();
        first->SetText("Find");
        first->SetWidth(180);
        first->SetColor(RGB(200, 30, 30));
        first->SetControl(edit);
        TCoolBand* second = Cool->Bands()->Add();
        second->SetColor(RGB(30, 30, 200));
    }
};

// The pixels of `rect` (client coordinates of `window`) shrunk by one on
// every side: the part of a tool button the skin's frame covers.
TPixelsOf InnerOf(HWND window, RECT rect)
{
    InflateRect(&rect, -1, -1);
    return WindowPart(window, rect);
}

// The skin's "Toolbar" gradient stretched over a bar of `size`, cut to
// `rect` shrunk by one: what a button without a frame shows.
TPixelsOf GradientUnder(TSkinData* skin, SIZE size, RECT rect)
{
    void* bits = nullptr;
    TGdiBitmap bitmap = skin::MakeDibSection(size.cx, size.cy, 32, &bits);
    TMemoryDC memory(nullptr);
    TSelectObject selected(memory, bitmap);
    const RECT all{0, 0, size.cx, size.cy};
    EXPECT_TRUE(DrawToolBarBackground(skin, memory, all, SystemDpi()));
    GdiFlush();
    const auto* data = static_cast<const std::uint32_t*>(bits);
    InflateRect(&rect, -1, -1);
    TPixelsOf part;
    part.Width = rect.right - rect.left;
    part.Height = rect.bottom - rect.top;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x) part.Pixels.push_back(data[y * size.cx + x] & 0xFFFFFF);
    return part;
}

int CountColour(const TPixelsOf& pixels, std::uint32_t colour)
{
    int n = 0;
    for (std::uint32_t p : pixels.Pixels) n += (p & 0xFFFFFF) == colour;
    return n;
}

// The text colours a menu's two items are drawn in (through the framework's
// owner-draw answer, as the open menu draws them).
std::vector<COLORREF> ItemTextColours(TPopupMenu* menu)
{
    textprobe::TTextProbe probe;
    EXPECT_TRUE(probe.Installed());
    void* bits = nullptr;
    TGdiBitmap bitmap = skin::MakeDibSection(140, 22, 32, &bits);
    TMemoryDC memory(nullptr);
    TSelectObject selected(memory, bitmap);
    std::vector<COLORREF> colours;
    for (int i = 0; i < 2; ++i) {
        TMenuItem* item = menu->Items()->Items(i);
        DRAWITEMSTRUCT draw{};
        draw.CtlType = ODT_MENU;
        draw.itemID = item->Command();
        draw.hDC = memory;
        draw.rcItem = RECT{0, 0, 140, 22};
        draw.itemState = item->Enabled() ? 0 : ODS_GRAYED;
        probe.Records.clear();
        EXPECT_TRUE(MenuItemMessage(WM_DRAWITEM, reinterpret_cast<LPARAM>(&draw)));
        COLORREF colour = CLR_INVALID;
        for (const textprobe::TTextRecord& record : probe.Records)
            if (record.Text == item->CaptionW()) colour = record.TextColour & 0xFFFFFF;
        colours.push_back(colour);
    }
    return colours;
}

class ToolBarSkinTest : public ControlSkinTest {};

TEST_F(ToolBarSkinTest, ButtonsMenusAndBandsFromTheSkinAndBackAgain) {
    TBarsForm f;
    TForm* form = SkinnedForm(
        [&](TForm* target) {
            f.Build(target);
            // The bar's gradient is drawn only without this option.
            FSkin->SetOptions(FSkin->Options() & ~SkinOption(xoToolbarBK));
            // A title the skin's face would swallow: the program's own colour,
            // the face's.
            f.Cool->Bands()->Items(0)->SetTextColor(static_cast<TColor>(SkinColourRgb(FSkin, scButtonFace)));
        },
        false);
    const HWND focusBefore = GetFocus();
    const TPixelsOf plainLook = ReadWindow(form->Handle());
    ASSERT_FALSE(f.Bar->Flat());
    const std::vector<COLORREF> plainMenu = ItemTextColours(f.Drop);

    // Captions of normal buttons in a colour of the strip's own (given before
    // the skin is switched on, so that its copy at the display's scale has it).
    TDataSkinButton* strip = FSkin->Buttons();
    ASSERT_TRUE(strip && !strip->Bitmap.Empty());
    strip->HasNormalColour2 = true;
    strip->NormalColour2 = 0x0000FF;  // red
    FSkin->SetActive(true);
    ASSERT_TRUE(WaitSkinned(form));
    TWinSkinForm* skinner = SkinnerOf(form->Handle());
    ASSERT_NE(skinner, nullptr);
    ASSERT_NE(SkinnerFor(skinner, f.Bar), nullptr);
    EXPECT_EQ(SkinnerFor(skinner, f.Bar)->ClassName(), "TSkinToolBar");
    EXPECT_TRUE(SkinnerFor(skinner, f.Bar)->Is<TSkinBox>());
    ASSERT_NE(SkinnerFor(skinner, f.Menu), nullptr);
    EXPECT_EQ(SkinnerFor(skinner, f.Menu)->ClassName(), "TSkinMenuButton");
    ASSERT_NE(SkinnerFor(skinner, f.Cool), nullptr);
    EXPECT_EQ(SkinnerFor(skinner, f.Cool)->ClassName(), "TSkinCoolBar");
    EXPECT_TRUE(f.Bar->Flat());

    // The tool bar's buttons, state by state.
    const HWND bar = f.Bar->Handle();
    RECT client{};
    GetClientRect(bar, &client);
    const SIZE barSize{client.right, client.bottom};
    auto expectFrame = [&](int button, int frame, const char* state) {
        const RECT r = f.Bar->Buttons(button)->BoundsRect();
        const TPixelsOf inner = InnerOf(bar, r);
        const TPixelsOf expected = ExpectedButtonFrame(FSkin, inner.Width, inner.Height, frame);
        int wrong = 0;
        EXPECT_TRUE(BorderMatches(inner, expected, 2, &wrong)) << state << ": " << wrong << " pixels differ";
        return inner;
    };
    const TPixelsOf normal = expectFrame(0, 1, "normal");
    EXPECT_GT(CountColour(normal, 0xFF0000), 3) << "the caption in the strip's normal colour";
    expectFrame(1, 2, "checked");
    expectFrame(3, 1, "drop-down, normal");
    {
        // Disabled: no frame, the bar's gradient, the caption not red.
        const RECT r = f.Bar->Buttons(2)->BoundsRect();
        const TPixelsOf inner = InnerOf(bar, r);
        int wrong = 0;
        EXPECT_TRUE(BorderMatches(inner, GradientUnder(FSkin, barSize, r), 2, &wrong)) << wrong;
        EXPECT_EQ(CountColour(inner, 0xFF0000), 0);
    }
    SendMessageA(bar, TB_SETHOTITEM, 0, 0);
    expectFrame(0, 4, "hot");
    SendMessageA(bar, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
    expectFrame(0, 1, "no longer hot");
    const RECT plainRect = f.Bar->Buttons(0)->BoundsRect();
    const LPARAM at = MAKELPARAM((plainRect.left + plainRect.right) / 2, (plainRect.top + plainRect.bottom) / 2);
    SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    expectFrame(0, 2, "pressed");
    SendMessageA(bar, WM_LBUTTONUP, 0, at);
    Pump(20);
    EXPECT_EQ(f.Clicks, 1);
    SendMessageA(bar, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
    expectFrame(0, 1, "released");
    // A check button clicked up shows the normal frame.
    f.Bar->Buttons(1)->SetDown(false);
    expectFrame(1, 1, "checked off");

    // The program's own button drawing stays its own and gets no frame.
    const int ownBefore = f.OwnDraws;
    const RECT mine = f.Own->Buttons(0)->BoundsRect();
    const TPixelsOf own = InnerOf(f.Own->Handle(), mine);
    EXPECT_GT(f.OwnDraws, ownBefore);
    EXPECT_FALSE(BorderMatches(own, ExpectedButtonFrame(FSkin, own.Width, own.Height, 1), 2));

    // The drop-down menus draw their items from the skin.
    const COLORREF menuText = SkinColourRgb(FSkin, scMenuText) & 0xFFFFFF;
    const COLORREF shadow = SkinColourRgb(FSkin, scButtonShadow) & 0xFFFFFF;
    ASSERT_NE(menuText, shadow);
    for (TPopupMenu* menu : {f.Drop, f.ButtonMenu}) {
        EXPECT_TRUE(menu->OwnerDraw());
        const std::vector<COLORREF> colours = ItemTextColours(menu);
        EXPECT_EQ(colours[0], menuText);
        EXPECT_EQ(colours[1], shadow) << "a disabled item in the disabled colour";
    }

    // The menu button: normal, hot, pressed, focused, disabled.
    const HWND menuButton = f.Menu->Handle();
    auto expectMenuFrame = [&](int frame, const char* state) {
        int wrong = 0;
        const TPixelsOf now = ReadWindow(menuButton);
        EXPECT_TRUE(BorderMatches(now, ExpectedButtonFrame(FSkin, now.Width, now.Height, frame), 3, &wrong))
            << state << ": " << wrong << " pixels differ";
    };
    SetFocus(form->Handle());
    expectMenuFrame(1, "normal");
    SendMessageA(menuButton, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    expectMenuFrame(4, "hot");
    SendMessageA(menuButton, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    expectMenuFrame(2, "pressed");
    SendMessageA(menuButton, WM_MOUSELEAVE, 0, 0);
    ASSERT_EQ(GetFocus(), menuButton);
    expectMenuFrame(4, "focused");
    f.Menu->SetEnabled(false);
    expectMenuFrame(3, "disabled");
    f.Menu->SetEnabled(true);
    SetFocus(focusBefore);

    // The cool bar: both bands on the face colour, the bar's own colour kept.
    const COLORREF face = SkinColourRgb(FSkin, scButtonFace) & 0xFFFFFF;
    const TPixelsOf cool = ReadWindow(f.Cool->Handle());
    for (int i = 0; i < 2; ++i) {
        const RECT band = f.Cool->BandRect(i);
        EXPECT_EQ(cool.At((band.left + band.right) / 2, band.top + 1), Dib(face)) << "band " << i;
        EXPECT_EQ(f.Cool->Bands()->Items(i)->Color(), static_cast<TColor>(FSkin->FaceColour()));
        // The band's title in the skin's text colour, as the bar holds it.
        REBARBANDINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = RBBIM_COLORS;
        SendMessageA(f.Cool->Handle(), RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&info));
        const COLORREF faceRgb = SkinColourRgb(FSkin, scButtonFace);
        const TColor own = i == 0 ? static_cast<TColor>(faceRgb) : clBtnText;
        EXPECT_EQ(info.clrFore, SkinCaptionColour(FSkin, own, faceRgb)) << "band " << i;
        EXPECT_GE(ContrastRatio(info.clrFore, faceRgb), LEGIBLE_CONTRAST) << "band " << i;
    }
    EXPECT_EQ(f.Cool->Color(), static_cast<TColor>(RGB(10, 200, 30)));

    // Everything back: pixels, Flat, the events, the menus, the bands.
    strip->HasNormalColour2 = false;
    FSkin->SetActive(false);
    ASSERT_TRUE(WaitUnskinned(form));
    f.Bar->Buttons(1)->SetDown(true);
    EXPECT_FALSE(f.Bar->Flat());
    EXPECT_FALSE(static_cast<bool>(f.Bar->OnCustomDraw));
    EXPECT_FALSE(static_cast<bool>(f.Bar->OnCustomDrawButton));
    EXPECT_TRUE(static_cast<bool>(f.Own->OnCustomDrawButton));
    EXPECT_FALSE(f.Drop->OwnerDraw());
    EXPECT_FALSE(f.ButtonMenu->OwnerDraw());
    EXPECT_EQ(ItemTextColours(f.Drop), plainMenu);
    EXPECT_EQ(f.Cool->Bands()->Items(0)->Color(), static_cast<TColor>(RGB(200, 30, 30)));
    EXPECT_EQ(f.Cool->Bands()->Items(1)->Color(), static_cast<TColor>(RGB(30, 30, 200)));
    EXPECT_EQ(f.Cool->Bands()->Items(0)->TextColor(), static_cast<TColor>(SkinColourRgb(FSkin, scButtonFace)));
    EXPECT_EQ(f.Cool->Bands()->Items(1)->TextColor(), clBtnText);
    const TPixelsOf after = ReadWindow(form->Handle());
    EXPECT_TRUE(SamePixels(after, plainLook));
}

// What the SkinControls set decides: without xcToolbar neither bar is
// touched (Flat, events, bands as they were); without xcButton the menu
// button stays plain while its drop-down menu still draws from the skin;
// without xcPopupMenu the form's own pass leaves its menus alone, and the
// bars' and the button's drop-down menus are still drawn from the skin
// (unless the tool bars are off too).
TEST_F(ToolBarSkinTest, SkinControlsDecideWhatTheBarsAndTheMenuButtonGet) {
    const struct {
        const char* What;
        TSkinControlTypes Off;
        bool Bars;
        bool MenuButton;
        bool DropSkinned;
    } cases[] = {
        {"everything", 0, true, true, true},
        {"no tool bars", SkinControl(xcToolbar), false, true, true},
        {"no buttons", SkinControl(xcButton), true, false, true},
        {"no popup menus", SkinControl(xcPopupMenu), true, true, true},
        {"no popup menus nor tool bars", SkinControl(xcPopupMenu) | SkinControl(xcToolbar), false, true, false},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.What);
        TBarsForm f;
        TForm* form = SkinnedForm([&](TForm* target) {
            FSkin->SetSkinControls(DEFAULT_SKIN_CONTROLS & ~test.Off);
            f.Build(target);
        });
        TWinSkinForm* skinner = SkinnerOf(form->Handle());
        ASSERT_NE(skinner, nullptr);
        TSkinControl* bar = SkinnerFor(skinner, f.Bar);
        TSkinControl* cool = SkinnerFor(skinner, f.Cool);
        TSkinControl* menu = SkinnerFor(skinner, f.Menu);
        EXPECT_EQ(bar != nullptr, test.Bars);
        EXPECT_EQ(cool != nullptr, test.Bars);
        EXPECT_EQ(f.Bar->Flat(), test.Bars);
        EXPECT_EQ(static_cast<bool>(f.Bar->OnCustomDrawButton), test.Bars);
        EXPECT_EQ(f.Cool->Bands()->Items(0)->Color() == static_cast<TColor>(FSkin->FaceColour()), test.Bars);
        EXPECT_EQ(menu != nullptr && menu->ClassName() == "TSkinMenuButton", test.MenuButton);
        EXPECT_TRUE(f.ButtonMenu->OwnerDraw());
        EXPECT_EQ(f.Drop->OwnerDraw(), test.DropSkinned);
        Forms.pop_back();
        delete form;
        Pump(20);
        FreeSkinManager();
    }
}

// The frame a button's custom-draw state shows, for every state that
// decides it (pure: no window needed).
TEST(ToolButtonFrame, FollowsTheStateInItsOrder) {
    const struct {
        TCustomDrawState State;
        int Frame;
    } cases[] = {
        {cdsDefault, 1},
        {cdsDefault | cdsHot, 4},
        {cdsDefault | cdsFocused, 4},
        {cdsDefault | cdsSelected | cdsHot, 2},
        {cdsDefault | cdsSelected | cdsDisabled, 2},
        {cdsDefault | cdsDisabled, 0},
        {cdsDefault | cdsGrayed, 0},
        {cdsChecked, 0},
        {0, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(ToolButtonFrame(c.State), c.Frame) << std::hex << c.State;
}

}  // namespace
