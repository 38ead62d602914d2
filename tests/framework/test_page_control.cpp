// Page controls and status bars driven in-process: which tabs are on the
// strip, which sheet is shown and where, the user's choice of a tab, the
// style bits; status bar panels as the window reports them.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/page_control.h"
#include "framework/status_bar.h"
#include "framework/std_controls.h"

namespace {

class TPagesForm : public TForm {
    DECLARE_CLASS_INLINE(TPagesForm, TForm)
public:
    explicit TPagesForm(TComponent* owner) : TForm(owner)
    {
        // In the design's pixels at every display scale: these tests read
        // pixel positions (scaling has tests of its own).
        SetScaled(false);
        SetBounds(20, 20, 600, 400);
        Pages = new TPageControl(this);
        Pages->SetParent(this);
        Pages->SetBounds(0, 0, 500, 300);
        const char* captions[] = {"收支管理", "辅助工具", "关于"};
        for (const char* caption : captions) {
            auto* sheet = new TTabSheet(this);
            sheet->SetPageControl(Pages);
            sheet->SetCaption(caption);
            Sheets.push_back(sheet);
        }
        Button = new TButton(this);
        Button->SetParent(Sheets[1]);
        Button->SetBounds(28, 40, 75, 25);
        Status = new TStatusBar(this);
        Status->SetParent(this);
        FinishCreation();
    }
    TPageControl* Pages;
    std::vector<TTabSheet*> Sheets;
    TButton* Button;
    TStatusBar* Status;
};

std::vector<std::string> TabTexts(HWND tabs)
{
    std::vector<std::string> texts;
    int count = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[64] = {};
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(tabs, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
        texts.push_back(text);
    }
    return texts;
}

// The sheets whose windows are visible.
std::vector<TTabSheet*> Shown(const TPagesForm& form)
{
    std::vector<TTabSheet*> shown;
    for (TTabSheet* sheet : form.Sheets)
        if (sheet->HandleAllocated() && IsWindowVisible(sheet->HandleIfAllocated())) shown.push_back(sheet);
    return shown;
}

TEST(PageControl, TabsFollowTheSheetsAndOneSheetIsShown)
{
    TPagesForm form(nullptr);
    form.Show();
    HWND tabs = form.Pages->Handle();
    EXPECT_EQ(TabTexts(tabs), (std::vector<std::string>{"收支管理", "辅助工具", "关于"}));
    EXPECT_EQ(form.Pages->ActivePage(), form.Sheets[0]);
    EXPECT_EQ(Shown(form), std::vector<TTabSheet*>{form.Sheets[0]});

    char name[32] = {};
    GetClassNameA(form.Sheets[0]->Handle(), name, sizeof name);
    EXPECT_STREQ(name, "TTabSheet");
    EXPECT_EQ(GetParent(form.Sheets[0]->Handle()), tabs);

    // The sheet covers the display area exactly.
    RECT display;
    GetClientRect(tabs, &display);
    SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    RECT sheet;
    GetWindowRect(form.Sheets[0]->Handle(), &sheet);
    MapWindowPoints(nullptr, tabs, reinterpret_cast<POINT*>(&sheet), 2);
    EXPECT_TRUE(EqualRect(&sheet, &display)) << sheet.left << "," << sheet.top << "," << sheet.right << ","
                                             << sheet.bottom;
    EXPECT_GT(display.top, 10) << "the strip is above the sheet";

    // Choosing from code shows that sheet and selects its tab.
    int changes = 0;
    form.Pages->OnChange = [&](TObject*) { ++changes; };
    form.Pages->SetActivePageIndex(2);
    EXPECT_EQ(Shown(form), std::vector<TTabSheet*>{form.Sheets[2]});
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(changes, 0);

    // A sheet resized with its page control.
    form.Pages->SetBounds(0, 0, 400, 250);
    GetClientRect(tabs, &display);
    SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    EXPECT_EQ(form.Sheets[2]->Width(), display.right - display.left);
    EXPECT_EQ(form.Sheets[2]->Height(), display.bottom - display.top);
}

TEST(PageControl, HiddenTabsLeaveTheStripAndTheActivePageMovesOn)
{
    TPagesForm form(nullptr);
    form.Show();
    HWND tabs = form.Pages->Handle();
    struct Step {
        const char* Name;
        int Sheet;
        bool Visible;
        std::vector<std::string> Tabs;
        int Active;   // sheet index, -1 for none
        int TabIndex;
    } steps[] = {
        {"hide an inactive tab", 1, false, {"收支管理", "关于"}, 0, 0},
        {"hide the active tab: the next takes over", 0, false, {"关于"}, 2, 0},
        {"show a tab again: in page order", 0, true, {"收支管理", "关于"}, 2, 1},
        {"hide the last tab shown", 2, false, {"收支管理"}, 0, 0},
        {"hide every tab", 0, false, {}, -1, -1},
        {"a tab comes back and is shown", 1, true, {"辅助工具"}, 1, 0},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.Name);
        form.Sheets[s.Sheet]->SetTabVisible(s.Visible);
        EXPECT_EQ(TabTexts(tabs), s.Tabs);
        TTabSheet* active = s.Active >= 0 ? form.Sheets[s.Active] : nullptr;
        EXPECT_EQ(form.Pages->ActivePage(), active);
        EXPECT_EQ(form.Pages->TabIndex(), s.TabIndex);
        EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), s.TabIndex);
        EXPECT_EQ(Shown(form), active ? std::vector<TTabSheet*>{active} : std::vector<TTabSheet*>{});
    }
    // The button on the shown sheet is reachable.
    EXPECT_TRUE(IsWindowVisible(form.Button->Handle()));
}

TEST(PageControl, UserChoosingATabAsksAndShowsIt)
{
    TPagesForm form(nullptr);
    form.Show();
    HWND tabs = form.Pages->Handle();
    std::vector<TTabSheet*> changed;
    bool allow = false;
    form.Pages->OnChanging = [&](TObject*, bool& allowChange) { allowChange = allow; };
    form.Pages->OnChange = [&](TObject*) { changed.push_back(form.Pages->ActivePage()); };
    auto click = [&](int tab) {
        RECT r{};
        SendMessageA(tabs, TCM_GETITEMRECT, tab, reinterpret_cast<LPARAM>(&r));
        LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(tabs, WM_LBUTTONUP, 0, at);
    };
    click(1);
    EXPECT_EQ(form.Pages->ActivePage(), form.Sheets[0]) << "refused by OnChanging";
    EXPECT_TRUE(changed.empty());
    allow = true;
    click(1);
    EXPECT_EQ(form.Pages->ActivePage(), form.Sheets[1]);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0], form.Sheets[1]);
    EXPECT_EQ(Shown(form), std::vector<TTabSheet*>{form.Sheets[1]});
}

TEST(PageControl, StyleBitsAndPageOrder)
{
    TPagesForm form(nullptr);
    form.Pages->SetActivePageIndex(1);
    struct Case {
        TTabStyle Style;
        DWORD Bits;
    } cases[] = {{tsFlatButtons, TCS_BUTTONS | TCS_FLATBUTTONS}, {tsButtons, TCS_BUTTONS}, {tsTabs, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Style);
        form.Pages->SetStyle(c.Style);
        HWND tabs = form.Pages->Handle();
        EXPECT_EQ(GetWindowLongA(tabs, GWL_STYLE) & (TCS_BUTTONS | TCS_FLATBUTTONS), c.Bits);
        EXPECT_EQ(TabTexts(tabs).size(), 3u) << "tabs rebuilt with the window";
        EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 1);
        EXPECT_TRUE(GetWindowLongA(form.Sheets[1]->Handle(), GWL_STYLE) & WS_VISIBLE);
    }
    SetEnumProp(*form.Pages, "Style", "tsFlatButtons");
    EXPECT_EQ(form.Pages->Style(), tsFlatButtons);

    form.Sheets[2]->SetPageIndex(0);
    EXPECT_EQ(TabTexts(form.Pages->Handle()), (std::vector<std::string>{"关于", "收支管理", "辅助工具"}));
    EXPECT_EQ(form.Sheets[2]->PageIndex(), 0);
    EXPECT_EQ(form.Pages->Pages(0), form.Sheets[2]);
    EXPECT_EQ(GetStrProp(*form.Sheets[0], "Caption"), "收支管理");
    EXPECT_EQ(GetEnumProp(*form.Sheets[0], "TabVisible"), "True");

    // A sheet that goes away leaves the strip.
    delete form.Sheets[1];
    form.Sheets.erase(form.Sheets.begin() + 1);
    EXPECT_EQ(TabTexts(form.Pages->Handle()), (std::vector<std::string>{"关于", "收支管理"}));
    EXPECT_EQ(form.Pages->PageCount(), 2);
    EXPECT_NE(form.Pages->ActivePage(), nullptr);
}

// ---- status bar -----------------------------------------------------------------------------

// The length SB_GETTEXTLENGTHA reports counts characters on some systems,
// so the text is read into a buffer that is large enough for any panel here.
std::string PanelText(HWND bar, int index)
{
    char text[512] = {};
    SendMessageA(bar, SB_GETTEXTA, index, reinterpret_cast<LPARAM>(text));
    return text;
}

TEST(StatusBar, PanelsHaveTheirWidthsAndTexts)
{
    TPagesForm form(nullptr);
    const int widths[] = {200, 150, 150, 150, 200};
    for (int w : widths) form.Status->Panels()->Add()->SetWidth(w);
    form.Status->Panels()->Items(0)->SetText("今天是2026/12/8 10:00:00");
    HWND bar = form.Status->Handle();
    form.Status->Panels()->Items(1)->SetText("共 0 个记录");
    form.Status->Panels()->Items(4)->SetText("工资添加成功!");

    int edges[8] = {};
    ASSERT_EQ(SendMessageA(bar, SB_GETPARTS, 8, reinterpret_cast<LPARAM>(edges)), 5);
    int right = 0;
    for (int i = 0; i < 5; ++i) {
        right += widths[i];
        EXPECT_EQ(edges[i], right) << "panel " << i;
    }
    EXPECT_EQ(PanelText(bar, 0), "今天是2026/12/8 10:00:00");
    EXPECT_EQ(PanelText(bar, 1), "共 0 个记录");
    EXPECT_EQ(PanelText(bar, 2), "");
    EXPECT_EQ(PanelText(bar, 4), "工资添加成功!");

    // Bottom of the form, full width, its own height.
    RECT client;
    GetClientRect(form.Handle(), &client);
    EXPECT_EQ(form.Status->Top() + form.Status->Height(), client.bottom);
    EXPECT_EQ(form.Status->Width(), client.right);
    EXPECT_EQ(form.Status->Height(), 19);

    // Panels live on through a new window.
    form.Status->RecreateWnd();
    EXPECT_EQ(PanelText(form.Status->Handle(), 4), "工资添加成功!");

    // One text over everything, and back.
    form.Status->SetSimpleText("简单");
    form.Status->SetSimplePanel(true);
    EXPECT_TRUE(SendMessageA(form.Status->Handle(), SB_ISSIMPLE, 0, 0));
    form.Status->SetSimplePanel(false);
    EXPECT_FALSE(SendMessageA(form.Status->Handle(), SB_ISSIMPLE, 0, 0));
    EXPECT_EQ(PanelText(form.Status->Handle(), 1), "共 0 个记录");
}

TEST(StatusBar, SizeGripOnlyOnSizeableFormsAndPropertiesByName)
{
    struct Case {
        TFormBorderStyle Border;
        bool Grip;
    } cases[] = {{bsSizeable, true}, {bsSingle, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Border);
        TPagesForm form(nullptr);
        form.SetBorderStyle(c.Border);
        bool grip = (GetWindowLongA(form.Status->Handle(), GWL_STYLE) & SBARS_SIZEGRIP) != 0;
        EXPECT_EQ(grip, c.Grip);
    }
    TPagesForm form(nullptr);
    auto* panels = As<TStatusPanels>(GetObjectProp(*form.Status, "Panels"));
    ASSERT_NE(panels, nullptr);
    TStatusPanel* panel = panels->Add();
    SetStrProp(*panel, "Text", "支出金额共:0元");
    SetOrdProp(*panel, "Width", 150);
    EXPECT_EQ(GetEnumProp(*panel, "Bevel"), "pbLowered");
    EXPECT_EQ(PanelText(form.Status->Handle(), 0), "支出金额共:0元");
    EXPECT_EQ(GetEnumProp(*form.Status, "SimplePanel"), "False");
    EXPECT_TRUE(form.Status->InheritsFrom(TCustomStatusBar::StaticClassInfo()));
}

}  // namespace
