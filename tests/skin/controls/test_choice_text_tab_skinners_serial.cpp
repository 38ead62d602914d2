// Check boxes, radio buttons, edits, combo boxes, date pickers and tabs on a
// skinned form, read back from their windows: every state's frame of the
// skin at its place, the looks following clicks, keys and the pointer, text
// and keys working as without the skin, and each control given back
// pixel-identical when the skin is switched off.
#include "control_skin_support.h"

#include <commctrl.h>

#include <set>

#include "framework/combo_box.h"
#include "framework/ext_controls.h"
#include "framework/memo.h"
#include "framework/page_control.h"
#include "framework/std_controls.h"
#include "framework/tab_control.h"
#include "skin/controls/check_drawing.h"
#include "skin/controls/check_skinner.h"
#include "skin/controls/edit_drawing.h"
#include "skin/controls/edit_skinner.h"
#include "skin/controls/picker_arrow.h"
#include "skin/controls/range_skinners.h"
#include "skin/data/skin_draw.h"
#include "skin/data/skin_scale.h"
#include "skin/controls/tab_skinner.h"

namespace {

using namespace controltest;

template <class T>
T* Put(TForm* form, TWinControl* parent, int x, int y, int w, int h)
{
    auto* control = new T(form);
    control->SetParent(parent);
    control->SetBounds(x, y, w, h);
    return control;
}

// The box of a check box or radio button as the skin draws it in state
// `frame`, over the face colour, at its place in a control of `width` x
// `height`.
TPixelsOf ExpectedBox(TSkinData* skin, int width, int height, bool radio, bool leftText, int frame, UINT dpi = 0)
{
    TDataSkinButton* buttons = (dpi ? skin->ModelFor(dpi) : ScaledSkin(skin)).Buttons.get();
    const TSkinImage& strip = radio ? buttons->RadioBitmap : buttons->CheckBitmap;
    const int frames = radio ? buttons->RadioButtonFrame : buttons->CheckButtonFrame;
    TPixelsOf expected;
    expected.Width = width;
    expected.Height = height;
    void* bits = nullptr;
    TGdiBitmap bitmap = skin::MakeDibSection(width, height, 32, &bits);
    TMemoryDC memory(nullptr);
    TSelectObject selected(memory, bitmap);
    RECT rect{0, 0, width, height};
    TGdiBrush face(CreateSolidBrush(SkinColourRgb(skin, scButtonFace)));
    FillRect(memory, &rect, face);
    skin::TCheckLayout layout = skin::CheckLayout(rect, strip.Width() / frames, strip.Height(), leftText, false, radio);
    skin::DrawCheckFrame(memory, layout.Box, strip.Handle(), frame, frames);
    GdiFlush();
    const auto* data = static_cast<const std::uint32_t*>(bits);
    expected.Pixels.assign(data, data + static_cast<size_t>(width) * height);
    return expected;
}

// Whether the box area of `actual` shows `expected`'s box.
bool BoxShows(const TPixelsOf& actual, const TPixelsOf& expected, const RECT& box)
{
    if (actual.Width != expected.Width || actual.Height != expected.Height) return false;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x)
            if (actual.At(x, y) != expected.At(x, y)) return false;
    return true;
}

RECT BoxOf(TSkinData* skin, int width, int height, bool radio, bool leftText, UINT dpi = 0)
{
    const TDataSkinButton* buttons = (dpi ? skin->ModelFor(dpi) : ScaledSkin(skin)).Buttons.get();
    const TSkinImage& strip = radio ? buttons->RadioBitmap : buttons->CheckBitmap;
    const int frames = radio ? buttons->RadioButtonFrame : buttons->CheckButtonFrame;
    return skin::CheckLayout(RECT{0, 0, width, height}, strip.Width() / frames, strip.Height(), leftText, false, radio)
        .Box;
}

LPARAM Centre(const RECT& r) { return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2); }

// A control's size as laid out: the form scales its 96-DPI design.
SIZE ClientSize(TWinControl* c)
{
    RECT client{};
    GetClientRect(c->Handle(), &client);
    return SIZE{client.right, client.bottom};
}

class ChoiceTextTabSkinTest : public ControlSkinTest {};

TEST_F(ChoiceTextTabSkinTest, CheckBoxesAndRadioButtonsShowEveryStateAndFollowClicksAndSpace)
{
    TCheckBox* check = nullptr;
    TCheckBox* grayed = nullptr;
    TCheckBox* disabled = nullptr;
    TCheckBox* leftText = nullptr;
    std::vector<TRadioButton*> radios;
    TForm* form = SkinnedForm([&](TForm* f) {
        check = Put<TCheckBox>(f, f, 10, 10, 150, 21);
        check->SetCaption("选中");
        grayed = Put<TCheckBox>(f, f, 10, 40, 150, 21);
        grayed->SetAllowGrayed(true);
        grayed->SetState(cbGrayed);
        disabled = Put<TCheckBox>(f, f, 10, 70, 150, 21);
        disabled->SetChecked(true);
        disabled->SetEnabled(false);
        leftText = Put<TCheckBox>(f, f, 10, 100, 150, 21);
        leftText->SetAlignment(taLeftJustify);
        leftText->SetCaption("Box at the right");
        for (int i = 0; i < 3; ++i) radios.push_back(Put<TRadioButton>(f, f, 200, 10 + 30 * i, 150, 21));
        radios[0]->SetChecked(true);
    }, true, true);
    TWinSkinForm* skinner = SkinnerOf(form->Handle());
    ASSERT_TRUE(skinner);
    ASSERT_TRUE(dynamic_cast<TSkinCheckBox*>(SkinnerFor(skinner, check)));
    ASSERT_TRUE(dynamic_cast<TSkinRadioButton*>(SkinnerFor(skinner, radios[1])));
    EXPECT_EQ(SkinnerFor(skinner, check)->Variant(), 1) << "a framework check box is painted whole";

    auto shows = [&](TWinControl* c, bool radio, bool left, int frame) {
        const SIZE at = ClientSize(c);
        return BoxShows(ReadWindow(c->Handle()), ExpectedBox(FSkin, at.cx, at.cy, radio, left, frame),
                        BoxOf(FSkin, at.cx, at.cy, radio, left));
    };
    EXPECT_TRUE(shows(check, false, false, 1)) << "unchecked";
    EXPECT_TRUE(shows(grayed, false, false, 4)) << "grayed";
    EXPECT_TRUE(shows(disabled, false, false, 4)) << "checked and disabled";
    EXPECT_TRUE(shows(leftText, false, true, 1)) << "box at the right edge";
    // The caption is drawn in the skin: text pixels left of the box.
    TPixelsOf left = ReadWindow(leftText->Handle());
    int ink = 0;
    for (int y = 0; y < left.Height; ++y)
        for (int x = 0; x < left.Width * 2 / 3; ++x) ink += left.At(x, y) == 0;
    EXPECT_GT(ink, 5) << "the caption in black";

    // A click toggles it; the space key toggles it back.
    const RECT box = BoxOf(FSkin, ClientSize(check).cx, ClientSize(check).cy, false, false);
    SendMessageA(check->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Centre(box));
    SendMessageA(check->Handle(), WM_LBUTTONUP, 0, Centre(box));
    EXPECT_TRUE(check->Checked());
    EXPECT_TRUE(shows(check, false, false, 2)) << "checked by a click";
    check->SetFocus();
    SendMessageA(check->Handle(), WM_KEYDOWN, VK_SPACE, 0);
    SendMessageA(check->Handle(), WM_KEYUP, VK_SPACE, 0xC0000001);
    EXPECT_FALSE(check->Checked());
    EXPECT_TRUE(shows(check, false, false, 1)) << "cleared by the space key";

    // A click on another radio button moves the check.
    EXPECT_TRUE(shows(radios[0], true, false, 2));
    const RECT circle = BoxOf(FSkin, ClientSize(radios[2]).cx, ClientSize(radios[2]).cy, true, false);
    SendMessageA(radios[2]->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Centre(circle));
    SendMessageA(radios[2]->Handle(), WM_LBUTTONUP, 0, Centre(circle));
    EXPECT_TRUE(radios[2]->Checked());
    EXPECT_FALSE(radios[0]->Checked());
    EXPECT_TRUE(shows(radios[2], true, false, 2));
    EXPECT_TRUE(shows(radios[0], true, false, 1));
}

TEST_F(ChoiceTextTabSkinTest, CheckBoxesFollowTheirWindowToAnotherScale)
{
    // The form is told it moved to monitors of 192 and 144 pixels an inch:
    // the boxes are then drawn from the skin at that scale, in every state,
    // as large as the skin's box times the factor, and a click on the
    // scaled box toggles it. The form lays its controls out at the new scale
    // too, so each box is found in its control's present size.
    TCheckBox* check = nullptr;
    TCheckBox* disabled = nullptr;
    TRadioButton* radio = nullptr;
    TForm* form = SkinnedForm([&](TForm* f) {
        check = Put<TCheckBox>(f, f, 10, 10, 150, 30);
        check->SetCaption("选中");
        disabled = Put<TCheckBox>(f, f, 10, 50, 150, 30);
        disabled->SetChecked(true);
        disabled->SetEnabled(false);
        radio = Put<TRadioButton>(f, f, 10, 90, 150, 30);
        radio->SetCaption("单选");
    }, true, true);
    const TDataSkinButton* design = FSkin->Model().Buttons.get();
    const int designBox = design->CheckBitmap.Width() / design->CheckButtonFrame;
    for (UINT dpi : {192u, 144u}) {
        SCOPED_TRACE(dpi);
        RECT place{};
        GetWindowRect(form->Handle(), &place);
        SendMessageA(form->Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&place));
        Pump(60);
        auto sizeOf = ClientSize;
        const SIZE size = sizeOf(check);
        EXPECT_EQ(size.cx, ScaleToDpi(150, dpi)) << "the form scaled its controls";
        const RECT box = BoxOf(FSkin, size.cx, size.cy, false, false, dpi);
        EXPECT_EQ(box.right - box.left, SkinScaled(designBox, static_cast<int>(dpi)));
        auto shows = [&](TWinControl* c, bool isRadio, int frame) {
            const SIZE at = sizeOf(c);
            return BoxShows(ReadWindow(c->Handle()), ExpectedBox(FSkin, at.cx, at.cy, isRadio, false, frame, dpi),
                            BoxOf(FSkin, at.cx, at.cy, isRadio, false, dpi));
        };
        const SIZE radioSize = sizeOf(radio);
        EXPECT_TRUE(shows(check, false, check->Checked() ? 2 : 1)) << "clear";
        EXPECT_TRUE(shows(disabled, false, 4)) << "checked and disabled";
        EXPECT_TRUE(shows(radio, true, 1)) << "radio, clear";
        const bool before = check->Checked();
        SendMessageA(check->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(box.right - 2, box.bottom - 2));
        SendMessageA(check->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(box.right - 2, box.bottom - 2));
        Pump(20);
        EXPECT_NE(check->Checked(), before);
        EXPECT_TRUE(shows(check, false, check->Checked() ? 2 : 1)) << "toggled";
        SendMessageA(radio->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Centre(BoxOf(FSkin, radioSize.cx, radioSize.cy, true, false, dpi)));
        SendMessageA(radio->Handle(), WM_LBUTTONUP, 0, Centre(BoxOf(FSkin, radioSize.cx, radioSize.cy, true, false, dpi)));
        Pump(20);
        EXPECT_TRUE(radio->Checked());
        EXPECT_TRUE(shows(radio, true, 2)) << "radio, chosen";
        radio->SetChecked(false);
        Pump(20);
    }
}

TEST_F(ChoiceTextTabSkinTest, EditsAndCombosKeepTheirTextAndShowTheSkinsEdgeAndButton)
{
    TEdit* edit = nullptr;
    TComboBox* combo = nullptr;
    TComboBox* list = nullptr;
    TComboBox* simple = nullptr;
    TDateTimePicker* picker = nullptr;
    TMemo* memo = nullptr;
    TForm* form = SkinnedForm([&](TForm* f) {
        edit = Put<TEdit>(f, f, 10, 10, 150, 21);
        combo = Put<TComboBox>(f, f, 10, 40, 150, 21);
        for (const char* item : {"支出", "收入"}) combo->Items()->Add(item);
        list = Put<TComboBox>(f, f, 10, 70, 150, 21);
        list->SetStyle(csDropDownList);
        for (const char* item : {"国际域名", "网站建设"}) list->Items()->Add(item);
        simple = Put<TComboBox>(f, f, 10, 100, 150, 80);
        simple->SetStyle(csSimple);
        picker = Put<TDateTimePicker>(f, f, 200, 10, 150, 21);
        memo = Put<TMemo>(f, f, 200, 40, 150, 80);
        memo->SetMaxLength(10);
    }, true, true);
    TWinSkinForm* skinner = SkinnerOf(form->Handle());
    ASSERT_TRUE(dynamic_cast<TSkinEdit*>(SkinnerFor(skinner, edit)));
    auto* comboSkinner = dynamic_cast<TSkinComBox*>(SkinnerFor(skinner, combo));
    ASSERT_TRUE(comboSkinner);
    ASSERT_TRUE(dynamic_cast<TSkinDateTime*>(SkinnerFor(skinner, picker)));

    // Once skinned, the combo boxes show themselves without being asked to
    // repaint: frame, button and text, not a blank box.
    for (TComboBox* c : {combo, list}) {
        const TPixelsOf firstLook = CaptureWindow(c->Handle());
        EXPECT_GT(std::set<std::uint32_t>(firstLook.Pixels.begin(), firstLook.Pixels.end()).size(), 4u);
    }

    // The edit's three-pixel edge, focused or not.
    const COLORREF shadow = SkinColourRgb(FSkin, scButtonShadow) & 0xFFFFFF;
    auto edge = [&](HWND window) {
        TPixelsOf px = ReadWindow(window);
        const std::uint32_t s = (GetRValue(shadow) << 16) | (GetGValue(shadow) << 8) | GetBValue(shadow);
        return px.At(0, px.Height / 2) == s && px.At(1, px.Height / 2) == 0xFFFFFF && px.At(2, px.Height / 2) == 0xFFFFFF;
    };
    EXPECT_TRUE(edge(edit->Handle())) << "unfocused";
    edit->SetFocus();
    EXPECT_TRUE(edge(edit->Handle())) << "focused";

    // Typing goes on as without the skin, Chinese included (GBK byte pairs).
    for (char c : std::string("ab")) SendMessageA(edit->Handle(), WM_CHAR, static_cast<unsigned char>(c), 1);
    for (unsigned char c : std::string("工资")) SendMessageA(edit->Handle(), WM_CHAR, c, 1);
    EXPECT_EQ(edit->Text(), "ab工资");
    // Typing repaints the text and leaves the edge whole; a new size draws
    // the edge again around the new size, on both sides.
    UpdateWindow(edit->Handle());
    EXPECT_TRUE(edge(edit->Handle())) << "after typing";
    edit->SetBounds(10, 10, 170, 21);
    UpdateWindow(edit->Handle());
    EXPECT_TRUE(edge(edit->Handle())) << "resized";
    {
        TPixelsOf px = ReadWindow(edit->Handle());
        ASSERT_EQ(px.Width, 170);
        const std::uint32_t s = (GetRValue(shadow) << 16) | (GetGValue(shadow) << 8) | GetBValue(shadow);
        EXPECT_EQ(px.At(px.Width - 1, px.Height / 2), s) << "the right edge at the new size";
        EXPECT_EQ(px.At(px.Width - 2, px.Height / 2), 0xFFFFFFu);
    }
    HWND comboEdit = combo->EditHandle();
    ASSERT_TRUE(comboEdit);
    for (unsigned char c : std::string("收入")) SendMessageA(comboEdit, WM_CHAR, c, 1);
    EXPECT_EQ(combo->Text(), "收入");
    for (char c : std::string("0123456789ABC")) SendMessageA(memo->Handle(), WM_CHAR, static_cast<unsigned char>(c), 1);
    EXPECT_EQ(memo->Text(), "0123456789") << "the byte limit holds";

    // The combo button: normal, hot over the button only, pressed, disabled,
    // each a different look; a press on it opens the list.
    std::set<std::uint32_t> looks;
    RECT button = comboSkinner->ButtonRect();
    ASSERT_GT(button.right, button.left);
    const int faceRow = ScaleToDpi(3, WindowDpi(combo->Handle()));
    auto buttonPixel = [&] { return ReadWindow(combo->Handle()).At((button.left + button.right) / 2, faceRow); };
    looks.insert(buttonPixel());
    SendMessageA(combo->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
    EXPECT_FALSE(comboSkinner->Hot()) << "over the text part";
    SendMessageA(combo->Handle(), WM_MOUSEMOVE, 0, Centre(button));
    EXPECT_TRUE(comboSkinner->Hot());
    looks.insert(buttonPixel());
    SendMessageA(combo->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Centre(button));
    EXPECT_TRUE(combo->DroppedDown()) << "the press on the skinned button opens the list";
    looks.insert(buttonPixel());
    SendMessageA(combo->Handle(), WM_LBUTTONUP, 0, Centre(button));
    combo->SetDroppedDown(false);
    SendMessageA(combo->Handle(), CM_MOUSELEAVE, 0, 0);
    combo->SetEnabled(false);
    looks.insert(buttonPixel());
    EXPECT_EQ(looks.size(), 4u) << "normal, hot, pressed and disabled differ";

    // A simple combo box has no button: the top right of its edit part is
    // the edit's own white, where a drop-down combo box shows its button.
    auto* simpleSkinner = dynamic_cast<TSkinComBox*>(SkinnerFor(skinner, simple));
    ASSERT_TRUE(simpleSkinner);
    EXPECT_EQ(simpleSkinner->ButtonRect().right - simpleSkinner->ButtonRect().left, 0);
    EXPECT_EQ(ReadWindow(simple->Handle()).At(simple->Width() - 6, 6), 0xFFFFFFu);
    EXPECT_NE(ReadWindow(list->Handle()).At(list->Width() - 6, 6), 0xFFFFFFu);

    // The picker's two-pixel edge.
    TPixelsOf px = ReadWindow(picker->Handle());
    EXPECT_EQ(px.At(0, px.Height / 2), Dib(shadow)) << "the picker's outer edge";
    EXPECT_EQ(px.At(1, px.Height / 2), 0xFFFFFFu) << "the picker's inner edge";
}

// What the picker's arrow button shows in state `frame`: the face colour,
// then that frame of the skin's "ComboxArrow" stretched over it.
TPixelsOf ExpectedArrow(TSkinData* skin, int width, int height, int frame)
{
    TPixelsOf expected;
    expected.Width = width;
    expected.Height = height;
    void* bits = nullptr;
    TGdiBitmap bitmap = skin::MakeDibSection(width, height, 32, &bits);
    TMemoryDC memory(nullptr);
    TSelectObject selected(memory, bitmap);
    RECT rect{0, 0, width, height};
    TGdiBrush face(CreateSolidBrush(SkinColourRgb(skin, scButtonFace)));
    FillRect(memory, &rect, face);
    const TDataSkinObject* arrow = ScaledSkin(skin).Object(ssComboxArrow);
    skin::DrawFrameStretched(memory, rect, arrow->Bitmap.Handle(), frame, std::max(arrow->Frame, 1), false);
    GdiFlush();
    const auto* data = static_cast<const std::uint32_t*>(bits);
    expected.Pixels.assign(data, data + static_cast<size_t>(width) * height);
    return expected;
}

TEST_F(ChoiceTextTabSkinTest, PickerArrowShowsTheSkinsFramesAndOpensTheCalendar)
{
    TDateTimePicker* picker = nullptr;
    TDateTimePicker* leftArrow = nullptr;
    TForm* form = SkinnedForm(
        [&](TForm* f) {
            picker = Put<TDateTimePicker>(f, f, 10, 10, 150, 24);
            leftArrow = Put<TDateTimePicker>(f, f, 10, 50, 150, 24);
            leftArrow->HandleNeeded();
            SetWindowLongA(leftArrow->Handle(), GWL_EXSTYLE,
                           GetWindowLongA(leftArrow->Handle(), GWL_EXSTYLE) | WS_EX_LEFTSCROLLBAR);
        },
        false, true);
    const LONG plainStyle = GetWindowLongA(picker->Handle(), GWL_STYLE);
    const TPixelsOf plain = ReadWindow(picker->Handle());
    FSkin->SetActive(true);
    ASSERT_TRUE(WaitSkinned(form));
    TWinSkinForm* skinner = SkinnerOf(form->Handle());
    auto* pickerSkinner = dynamic_cast<TSkinDateTime*>(SkinnerFor(skinner, picker));
    ASSERT_TRUE(pickerSkinner);
    TArrowButton* arrow = pickerSkinner->Arrow();
    ASSERT_TRUE(arrow);
    HWND button = arrow->Handle();
    EXPECT_EQ(GetParent(button), picker->Handle());
    const int w = GetSystemMetrics(SM_CXHSCROLL), h = picker->Height() - 4;
    EXPECT_EQ(arrow->Width(), w);
    EXPECT_EQ(arrow->Height(), h);
    EXPECT_EQ(arrow->Left(), picker->Width() - w - 4) << "over the drop-down button";
    EXPECT_TRUE(GetWindowLongA(picker->Handle(), GWL_STYLE) & WS_CLIPCHILDREN);
    auto* leftSkinner = dynamic_cast<TSkinDateTime*>(SkinnerFor(skinner, leftArrow));
    ASSERT_TRUE(leftSkinner && leftSkinner->Arrow());
    EXPECT_EQ(leftSkinner->Arrow()->Left(), 2) << "a right-to-left picker's arrow is at the left";

    // Normal, hot and, once the picker is disabled, normal whatever the
    // pointer does.
    ASSERT_FALSE(SamePixels(ExpectedArrow(FSkin, w, h, 1), ExpectedArrow(FSkin, w, h, 4)));
    auto shows = [&](int frame) { return SamePixels(ReadWindow(button), ExpectedArrow(FSkin, w, h, frame)); };
    EXPECT_TRUE(shows(1)) << "normal";
    SendMessageA(button, CM_MOUSEENTER, 0, 0);
    EXPECT_EQ(arrow->ArrowFrame(), 4);
    EXPECT_TRUE(shows(4)) << "hot";
    SendMessageA(button, CM_MOUSELEAVE, 0, 0);
    EXPECT_TRUE(shows(1)) << "left again";
    picker->SetEnabled(false);
    SendMessageA(button, CM_MOUSEENTER, 0, 0);
    EXPECT_TRUE(shows(1)) << "disabled";
    SendMessageA(button, CM_MOUSELEAVE, 0, 0);
    picker->SetEnabled(true);

    // A click on the arrow opens the picker's calendar.
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(w / 2, h / 2));
    SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(w / 2, h / 2));
    PumpUntil([&] { return picker->DroppedDown(); });
    EXPECT_TRUE(picker->DroppedDown());
    keybd_event(VK_ESCAPE, 0, 0, 0);
    keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
    PumpUntil([&] { return !picker->DroppedDown(); });

    // Switched off, the arrow goes and the picker is as it was.
    FSkin->SetActive(false);
    ASSERT_TRUE(WaitUnskinned(form));
    EXPECT_FALSE(IsWindow(button));
    EXPECT_EQ(GetWindowLongA(picker->Handle(), GWL_STYLE), plainStyle);
    EXPECT_TRUE(SamePixels(ReadWindow(picker->Handle()), plain));
}

TEST_F(ChoiceTextTabSkinTest, TabsShowSelectedAndHotTabsAndCtrlTabStillTurnsPages)
{
    TPageControl* pages = nullptr;
    TPageControl* flat = nullptr;
    TTabControl* bottom = nullptr;
    TPageControl* crowded = nullptr;
    TPageControl* inner = nullptr;
    std::vector<TTabSheet*> sheets, crowdedSheets;
    TForm* form = SkinnedForm([&](TForm* f) {
        pages = Put<TPageControl>(f, f, 10, 10, 240, 120);
        for (const char* caption : {"收支管理", "辅助工具", "关于"}) {
            auto* sheet = new TTabSheet(f);
            sheet->SetPageControl(pages);
            sheet->SetCaption(caption);
            sheets.push_back(sheet);
        }
        flat = Put<TPageControl>(f, f, 260, 10, 240, 120);
        flat->SetStyle(tsFlatButtons);
        for (const char* caption : {"添加", "编辑"}) {
            auto* sheet = new TTabSheet(f);
            sheet->SetPageControl(flat);
            sheet->SetCaption(caption);
        }
        bottom = Put<TTabControl>(f, f, 10, 140, 240, 100);
        bottom->SetTabPosition(tpBottom);
        bottom->Tabs()->Add("收入");
        bottom->Tabs()->Add("支出");
        // On a sheet, which keeps the system's face colour as its own.
        inner = Put<TPageControl>(f, sheets[0], 60, 30, 150, 50);
        auto* innerSheet = new TTabSheet(f);
        innerSheet->SetPageControl(inner);
        innerSheet->SetCaption("内");
        crowded = Put<TPageControl>(f, f, 260, 140, 160, 100);
        for (int i = 1; i <= 8; ++i) {
            auto* sheet = new TTabSheet(f);
            sheet->SetPageControl(crowded);
            sheet->SetCaption(("Page " + std::to_string(i)).c_str());
            crowdedSheets.push_back(sheet);
        }
    });
    TWinSkinForm* skinner = SkinnerOf(form->Handle());
    auto* tabSkinner = dynamic_cast<TSkinTab*>(SkinnerFor(skinner, pages));
    ASSERT_TRUE(tabSkinner);
    ASSERT_TRUE(dynamic_cast<TSkinTabBtn*>(SkinnerFor(skinner, flat)));
    ASSERT_TRUE(dynamic_cast<TSkinTab*>(SkinnerFor(skinner, bottom)));
    ASSERT_TRUE(SkinnerFor(skinner, sheets[0]));

    // Selected, ordinary and hot tabs show different frames.
    const RECT first = pages->TabRect(0);
    const RECT second = pages->TabRect(1);
    auto sample = [&](const RECT& tab) { return ReadWindow(pages->Handle()).At(tab.left + 3, tab.top + 4); };
    const std::uint32_t selected = sample(first);
    const std::uint32_t ordinary = sample(second);
    EXPECT_NE(selected, ordinary);
    SendMessageA(pages->Handle(), WM_MOUSEMOVE, 0, Centre(second));
    EXPECT_EQ(tabSkinner->HotTab(), 1);
    const std::uint32_t hot = sample(second);
    EXPECT_NE(hot, ordinary);
    SendMessageA(pages->Handle(), CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(tabSkinner->HotTab(), -1);

    // A row too narrow for its tabs scrolls: wherever it starts, the chosen
    // tab and only it is drawn selected.
    crowded->SetActivePage(crowdedSheets[6]);
    RedrawWindow(crowded->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    ASSERT_LT(crowded->TabRect(0).right, 1) << "the row is scrolled past its first tab";
    auto sampleCrowded = [&](const RECT& tab) { return ReadWindow(crowded->Handle()).At(tab.left + 3, tab.top + 4); };
    EXPECT_EQ(sampleCrowded(crowded->TabRect(6)), selected);
    RECT client{};
    GetClientRect(crowded->Handle(), &client);
    int ordinaryShown = 0;
    for (int i = 0; i < 8; ++i) {
        const RECT tab = crowded->TabRect(i);
        if (i == 6 || tab.right <= tab.left || tab.left < 0 || tab.right > client.right - 40) continue;  // shown, clear of the arrows
        ++ordinaryShown;
        EXPECT_EQ(sampleCrowded(tab), ordinary) << "tab " << i;
    }
    EXPECT_GT(ordinaryShown, 0);

    // The sheet shows the face colour.
    TPixelsOf sheet = ReadWindow(sheets[0]->Handle());
    const COLORREF face = SkinColourRgb(FSkin, scButtonFace);
    const auto faceRgb = static_cast<std::uint32_t>((GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face));
    EXPECT_EQ(sheet.At(5, 5), faceRgb);
    // So does the strip beside the tabs of a page control on that sheet, not
    // the system's grey the sheet keeps as its colour.
    ASSERT_NE(face, GetSysColor(COLOR_BTNFACE)) << "the test skin's face must differ from the system's";
    const RECT innerTab = inner->TabRect(0);
    EXPECT_EQ(ReadWindow(inner->Handle()).At(innerTab.right + 20, innerTab.top + 4), faceRgb);

    // A click and Ctrl+Tab choose pages as without the skin.
    SendMessageA(pages->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Centre(second));
    SendMessageA(pages->Handle(), WM_LBUTTONUP, 0, Centre(second));
    EXPECT_EQ(pages->ActivePage(), sheets[1]);
    EXPECT_NE(sample(pages->TabRect(1)), ordinary) << "the chosen tab is drawn selected";
    pages->SetFocus();
    BYTE keys[256], saved[256];
    GetKeyboardState(saved);
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    pages->Perform(CN_KEYDOWN, VK_TAB, 0);
    SetKeyboardState(saved);
    EXPECT_EQ(pages->ActivePage(), sheets[2]);
}

TEST_F(ChoiceTextTabSkinTest, EveryControlIsGivenBackPixelIdentical)
{
    std::vector<TWinControl*> controls;
    TForm* form = SkinnedForm(
        [&](TForm* f) {
            auto* check = Put<TCheckBox>(f, f, 10, 10, 150, 21);
            check->SetCaption("选中");
            check->SetChecked(true);
            auto* radio = Put<TRadioButton>(f, f, 10, 40, 150, 21);
            radio->SetCaption("收入");
            auto* edit = Put<TEdit>(f, f, 10, 70, 150, 21);
            edit->SetText("工资");
            auto* combo = Put<TComboBox>(f, f, 10, 100, 150, 21);
            combo->Items()->Add("支出");
            combo->SetItemIndex(0);
            auto* picker = Put<TDateTimePicker>(f, f, 10, 130, 150, 21);
            auto* pages = Put<TPageControl>(f, f, 200, 10, 240, 120);
            for (const char* caption : {"添加", "编辑"}) {
                auto* sheet = new TTabSheet(f);
                sheet->SetPageControl(pages);
                sheet->SetCaption(caption);
            }
            auto* tabs = Put<TTabControl>(f, f, 200, 140, 240, 80);
            tabs->Tabs()->Add("收入");
            tabs->Tabs()->Add("支出");
            controls = {check, radio, edit, combo, picker, pages, tabs};
        },
        false);
    std::vector<TPixelsOf> before;
    for (TWinControl* c : controls) before.push_back(ReadWindow(c->Handle()));
    FSkin->SetActive(true);
    ASSERT_TRUE(WaitSkinned(form));
    for (size_t i = 0; i < controls.size(); ++i)
        EXPECT_FALSE(SamePixels(ReadWindow(controls[i]->Handle()), before[i])) << controls[i]->ClassName() << " skinned";
    FSkin->SetActive(false);
    ASSERT_TRUE(WaitUnskinned(form));
    for (size_t i = 0; i < controls.size(); ++i)
        EXPECT_TRUE(SamePixels(ReadWindow(controls[i]->Handle()), before[i])) << controls[i]->ClassName() << " given back";
}

}  // namespace

namespace {

TEST_F(ChoiceTextTabSkinTest, TimePickerIsAnEditAndItsUpDownKeepsInsideTheEdge)
{
    TDateTimePicker* time = nullptr;
    TForm* form = SkinnedForm([&](TForm* f) {
        time = Put<TDateTimePicker>(f, f, 10, 10, 150, 24);
        time->SetKind(dtkTime);
    });
    TWinSkinForm* skinner = SkinnerOf(form->Handle());
    ASSERT_TRUE(dynamic_cast<TSkinEdit*>(SkinnerFor(skinner, time))) << "a time steps with arrows: an edit";
    HWND spin = FindWindowExA(time->Handle(), nullptr, UPDOWN_CLASSA, nullptr);
    ASSERT_TRUE(spin);
    ReadWindow(time->Handle());
    auto* spinSkinner = dynamic_cast<TSkinUpDown*>(SkinnerFor(skinner, nullptr, spin));
    ASSERT_TRUE(spinSkinner) << "skinned on the edit's first paint";
    EXPECT_TRUE(spinSkinner->Embedded());

    RECT own{}, outer{};
    GetWindowRect(spin, &own);
    GetWindowRect(time->Handle(), &outer);
    const int top = std::max(0, 3 - static_cast<int>(own.top - outer.top));
    const int right = std::max(0, 3 - static_cast<int>(outer.right - own.right));
    const int bottom = std::max(0, 3 - static_cast<int>(outer.bottom - own.bottom));
    ASSERT_GT(top + right + bottom, 0) << "the up-down reaches into the edge";
    const TPixelsOf px = ReadWindow(spin);
    auto row = [&](int y, bool white) {
        int count = 0;
        for (int x = 0; x < px.Width - right; ++x) count += px.At(x, y) == 0xFFFFFFu;
        return white ? count == px.Width - right : count < px.Width - right;
    };
    for (int y = 0; y < top; ++y) EXPECT_TRUE(row(y, true)) << "white band at the top, row " << y;
    EXPECT_TRUE(row(top, false)) << "the arrows start inside the edge";
    for (int y = px.Height - bottom; y < px.Height; ++y) EXPECT_TRUE(row(y, true)) << "row " << y;
    for (int x = px.Width - right; x < px.Width; ++x)
        EXPECT_EQ(px.At(x, px.Height / 2), 0xFFFFFFu) << "white band at the right, column " << x;
    EXPECT_NE(px.At(px.Width - right - 1, px.Height / 4), 0xFFFFFFu);
}

}  // namespace
