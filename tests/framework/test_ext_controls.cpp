// Pictures, date pickers, check boxes, radio buttons, list boxes and group
// boxes, driven in-process: decoding from memory, painting, the user's
// clicks, and the properties the skin engine reads by name.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/ext_controls.h"
#include "framework/group_box.h"
#include "framework/list_box.h"
#include "framework/std_controls.h"
#include "framework/streams.h"

namespace {

class TExtForm : public TForm {
    DECLARE_CLASS_INLINE(TExtForm, TForm)
public:
    explicit TExtForm(TComponent* owner) : TForm(owner)
    {
        // In the design's pixels at every display scale: these tests read
        // pixel positions (scaling has tests of its own).
        SetScaled(false);
        SetBounds(40, 40, 520, 420);
        Image = new TImage(this);
        Image->SetParent(this);
        Image->SetBounds(0, 0, 200, 100);
        Picker = new TDateTimePicker(this);
        Picker->SetParent(this);
        Picker->SetBounds(210, 10, 122, 21);
        Group = new TGroupBox(this);
        Group->SetParent(this);
        Group->SetBounds(0, 110, 250, 120);
        Group->SetCaption("项目类别设置");
        Check = new TCheckBox(this);
        Check->SetParent(Group);
        Check->SetBounds(10, 20, 100, 17);
        Check->SetCaption("选中");
        for (int i = 0; i < 3; ++i) {
            auto* radio = new TRadioButton(this);
            radio->SetParent(Group);
            radio->SetBounds(10, 40 + 20 * i, 100, 17);
            Radios.push_back(radio);
        }
        List = new TListBox(this);
        List->SetParent(this);
        List->SetBounds(260, 110, 121, 129);
        FinishCreation();
    }
    TImage* Image;
    TDateTimePicker* Picker;
    TGroupBox* Group;
    TCheckBox* Check;
    std::vector<TRadioButton*> Radios;
    TListBox* List;
};

// A 24-bit BMP file of `width` x `height` in one colour, as bytes.
std::vector<unsigned char> SolidBmp(int width, int height, TColor color)
{
    TBitmap bitmap(width, height, pf24bit);
    bitmap.Canvas()->Brush()->SetColor(color);
    bitmap.Canvas()->FillRect(RECT{0, 0, width, height});
    TMemoryStream stream;
    bitmap.SaveToStream(stream);
    const auto* bytes = static_cast<const unsigned char*>(stream.Memory());
    return std::vector<unsigned char>(bytes, bytes + stream.Size());
}

COLORREF WindowPixel(HWND window, int x, int y)
{
    HDC dc = GetDC(window);
    COLORREF pixel = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return pixel;
}

TEST(Image, DecodesPicturesFromMemoryAndPaintsThem)
{
    TExtForm form(nullptr);
    form.Show();
    std::vector<unsigned char> bmp = SolidBmp(40, 30, clRed);
    form.Image->LoadFromMemory(bmp.data(), bmp.size());
    ASSERT_EQ(form.Image->Picture()->Width(), 40);
    ASSERT_EQ(form.Image->Picture()->Height(), 30);

    struct Case {
        const char* Name;
        bool Stretch, Center;
        POINT Red, NotRed;
    } cases[] = {
        {"top left", false, false, {5, 5}, {100, 50}},
        {"centred", false, true, {100, 50}, {5, 5}},
        {"stretched", true, false, {190, 90}, {-1, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        form.Image->SetStretch(c.Stretch);
        form.Image->SetCenter(c.Center);
        form.Invalidate();
        form.Update();
        EXPECT_EQ(WindowPixel(form.Handle(), c.Red.x, c.Red.y), RGB(255, 0, 0));
        if (c.NotRed.x >= 0) {
            EXPECT_NE(WindowPixel(form.Handle(), c.NotRed.x, c.NotRed.y), RGB(255, 0, 0));
        }
    }

    // Bytes that are no picture leave the old one in place.
    const char junk[] = "not a picture at all, just text";
    EXPECT_THROW(form.Image->LoadFromMemory(junk, sizeof junk), EInvalidGraphic);
    std::vector<unsigned char> cut(bmp.begin(), bmp.begin() + 60);
    EXPECT_THROW(form.Image->LoadFromMemory(cut.data(), cut.size()), EInvalidGraphic);
    EXPECT_EQ(form.Image->Picture()->Width(), 40);

    // A click on the picture is the image's click.
    int clicks = 0;
    form.Image->OnClick = [&](TObject*) { ++clicks; };
    SendMessageA(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    SendMessageA(form.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    EXPECT_EQ(clicks, 1);
    EXPECT_NE(GetObjectProp(*form.Image, "Picture"), nullptr);
}

TEST(Image, DecodesTheBannerJpeg)
{
    // The banner is drawn by the build; without it there is nothing to read.
    std::string path = std::string(RAVELBOOK_SOURCE_DIR) + "/build/generated/banner.jpg";
    if (!FileExists(path)) GTEST_SKIP() << "no banner at " << path;
    TMemoryStream file;
    file.LoadFromFile(path);
    std::unique_ptr<TBitmap> banner = DecodePicture(file.Memory(), static_cast<size_t>(file.Size()));
    EXPECT_EQ(banner->Width(), 766);
    EXPECT_EQ(banner->Height(), 105);
    // A JPEG that ends early is refused or decoded, never a crash.
    try {
        DecodePicture(file.Memory(), 200);
    } catch (const EInvalidGraphic&) {
    }
}

TEST(DateTimePicker, ShowsTheDateAsTextAndKeepsItWhenReadOnly)
{
    TExtForm form(nullptr);
    form.Picker->SetText("2026/12/8");
    SYSTEMTIME date = form.Picker->DateTime();
    EXPECT_EQ(date.wYear, 2026);
    EXPECT_EQ(date.wMonth, 12);
    EXPECT_EQ(date.wDay, 8);
    EXPECT_EQ(form.Picker->Text(), "2026/12/8");

    // The window shows the same day.
    SYSTEMTIME shown{};
    SendMessageA(form.Picker->Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
    EXPECT_EQ(shown.wYear, 2026);
    EXPECT_EQ(shown.wMonth, 12);
    EXPECT_EQ(shown.wDay, 8);

    for (const char* bad : {"2026/2/30", "abc", "", "2026/12", "二〇二六/12/8"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(form.Picker->SetText(bad), EConvertError);
        EXPECT_EQ(form.Picker->Text(), "2026/12/8");
    }

    form.Picker->SetFormat("yyyy-MM-dd");
    EXPECT_EQ(GetStrProp(*form.Picker, "Text"), "2026-12-08");
    form.Picker->SetFormat("");

    // Read-only: a change that reaches the window is put back.
    form.Picker->SetReadOnly(true);
    SYSTEMTIME other = shown;
    other.wDay = 9;
    SendMessageA(form.Picker->Handle(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&other));
    NMDATETIMECHANGE change{};
    change.nmhdr.hwndFrom = form.Picker->Handle();
    change.nmhdr.code = DTN_DATETIMECHANGE;
    change.st = other;
    SendMessageA(form.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&change));
    EXPECT_EQ(form.Picker->Text(), "2026/12/8");
    SendMessageA(form.Picker->Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
    EXPECT_EQ(shown.wDay, 8);
    EXPECT_EQ(GetEnumProp(*form.Picker, "ReadOnly"), "True");
}

TEST(CheckAndRadio, ClicksToggleAndGroupsStayExclusive)
{
    TExtForm form(nullptr);
    int clicks = 0;
    form.Check->OnClick = [&](TObject*) { ++clicks; };
    SendMessageA(form.Check->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(form.Check->Checked());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(GetEnumProp(*form.Check, "State"), "cbChecked");
    EXPECT_EQ(GetEnumProp(*form.Check, "Checked"), "True");
    SendMessageA(form.Check->Handle(), BM_CLICK, 0, 0);
    EXPECT_FALSE(form.Check->Checked());
    SetEnumProp(*form.Check, "Checked", "True");
    EXPECT_EQ(SendMessageA(form.Check->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(clicks, 2) << "set from code: no click";
    form.Check->RecreateWnd();
    EXPECT_TRUE(form.Check->Checked()) << "kept through a new window";

    auto checked = [&] {
        std::vector<bool> states;
        for (TRadioButton* r : form.Radios) states.push_back(r->Checked());
        return states;
    };
    form.Radios[0]->SetChecked(true);
    EXPECT_EQ(checked(), (std::vector<bool>{true, false, false}));
    int radioClicks = 0;
    form.Radios[2]->OnClick = [&](TObject*) { ++radioClicks; };
    SendMessageA(form.Radios[2]->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(checked(), (std::vector<bool>{false, false, true}));
    EXPECT_EQ(radioClicks, 1);
    form.Radios[1]->SetChecked(true);
    EXPECT_EQ(checked(), (std::vector<bool>{false, true, false}));
    char name[32] = {};
    GetClassNameA(form.Radios[1]->Handle(), name, sizeof name);
    EXPECT_STREQ(name, "TRadioButton");
}

TEST(ListBox, ItemsAndTheUsersChoice)
{
    TExtForm form(nullptr);
    const char* categories[] = {"国际域名", "国内域名", "虚拟空间ASP"};
    for (const char* c : categories) form.List->Items()->Add(c);
    form.List->SetItemIndex(2);
    HWND list = form.List->Handle();
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);

    int clicks = 0;
    form.List->OnClick = [&](TObject*) { ++clicks; };
    RECT r = form.List->ItemRect(1);
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(list, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(form.List->ItemIndex(), 1);
    EXPECT_EQ(clicks, 1);

    form.List->Items()->Delete(1);
    EXPECT_EQ(form.List->Items()->Get(1), "虚拟空间ASP");
    form.List->Items()->SaveToFile(std::string(RAVELBOOK_SOURCE_DIR) + "/build/list_box_test.txt");
    TStringList back;
    back.LoadFromFile(std::string(RAVELBOOK_SOURCE_DIR) + "/build/list_box_test.txt");
    EXPECT_TRUE(back.Equals(*form.List->Items()));
    DeleteFileA((std::string(RAVELBOOK_SOURCE_DIR) + "/build/list_box_test.txt").c_str());
    EXPECT_EQ(As<TStrings>(GetObjectProp(*form.List, "Items")), form.List->Items());
}

// Lines added later: read in place while there is no window, taken in by the
// first change or by the window when it is made, in order after the items
// there were; lines the owner adds to its vector afterwards are not taken.
TEST(ListBox, LinesAddedLaterAreTheSameAsLinesAddedNow)
{
    auto texts = [](HWND list) {
        std::vector<std::string> got;
        for (LRESULT i = 0; i < SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
            char text[64] = {};
            SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            got.push_back(text);
        }
        return got;
    };
    auto lines = std::make_shared<std::vector<std::string>>(std::vector<std::string>{"工资", "房租"});
    {
        // Taken in by the window.
        TExtForm form(nullptr);
        int changes = 0;
        form.List->Items()->Add("首行");
        form.List->AppendLater(lines);
        lines->push_back("以后");
        EXPECT_EQ(form.List->Items()->Count(), 3);
        EXPECT_EQ(form.List->Items()->Get(2), "房租");
        EXPECT_THROW(form.List->Items()->Get(3), EListError);
        EXPECT_EQ(texts(form.List->Handle()), (std::vector<std::string>{"首行", "工资", "房租"}));
        EXPECT_EQ(form.List->Items()->Count(), 3);
        // With a window the lines go in at once, all of them.
        static_cast<TListItems*>(form.List->Items())->OnChange = [&](TObject*) { ++changes; };
        form.List->AppendLater(lines);
        EXPECT_EQ(texts(form.List->Handle()).size(), 6u);
        EXPECT_EQ(changes, 1);
    }
    lines->pop_back();
    {
        // Taken in by a change, before any window.
        TExtForm form(nullptr);
        form.List->AppendLater(lines);
        form.List->Items()->Insert(1, "中间");
        form.List->Items()->PutObjectAt(0, form.List);
        EXPECT_EQ(form.List->Items()->GetObjectAt(0), form.List);
        EXPECT_EQ(form.List->Items()->IndexOf("房租"), 2);
        EXPECT_EQ(texts(form.List->Handle()), (std::vector<std::string>{"工资", "中间", "房租"}));
        EXPECT_EQ(form.List->Items()->GetObjectAt(0), form.List);
        // Cleared before they were taken: gone.
        TExtForm other(nullptr);
        other.List->AppendLater(lines);
        other.List->Clear();
        EXPECT_EQ(other.List->Items()->Count(), 0);
        EXPECT_TRUE(texts(other.List->Handle()).empty());
    }
}

TEST(GroupBox, PaintsAFrameAndHoldsItsControls)
{
    TExtForm form(nullptr);
    form.Show();
    HWND group = form.Group->Handle();
    EXPECT_EQ(GetParent(form.Check->Handle()), group);
    char name[32] = {};
    GetClassNameA(group, name, sizeof name);
    EXPECT_STREQ(name, "TGroupBox");
    EXPECT_EQ(GetStrProp(*form.Group, "Caption"), "项目类别设置");
    UpdateWindow(group);
    // The etched frame's left edge is darker than the face beside it.
    COLORREF face = WindowPixel(group, 5, 100);
    COLORREF edge = WindowPixel(group, 0, 100);
    EXPECT_NE(edge, face);
    EXPECT_EQ(face, ColorToRGB(clBtnFace));
    // Aligned children keep clear of the caption line.
    RECT inside = form.Group->ClientRect();
    TPanel* panel = new TPanel(&form);
    panel->SetParent(form.Group);
    panel->SetAlign(alClient);
    EXPECT_GT(panel->Top(), 8);
    EXPECT_LT(panel->Width(), inside.right);
}

}  // namespace
