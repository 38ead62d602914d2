// Combo boxes, list boxes and memos driven in-process with messages: items
// and text kept with the window, the user's typing and choosing, the memo's
// byte limit and line breaks.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/combo_box.h"
#include "framework/memo.h"
#include "framework/text_limit.h"

namespace {

class TEditorsForm : public TForm {
    DECLARE_CLASS_INLINE(TEditorsForm, TForm)
public:
    explicit TEditorsForm(TComponent* owner) : TForm(owner)
    {
        SetBounds(30, 30, 500, 400);
        Font()->SetName("宋体");
        Font()->SetCharset(GB2312_CHARSET);
        Font()->SetHeight(-12);
        Combo = new TComboBox(this);
        Combo->SetParent(this);
        Combo->SetBounds(10, 10, 150, 21);
        List = new TComboBox(this);
        List->SetParent(this);
        List->SetStyle(csDropDownList);
        List->SetBounds(10, 40, 150, 21);
        Memo = new TMemo(this);
        Memo->SetParent(this);
        Memo->SetBounds(10, 80, 300, 120);
        Memo->SetScrollBars(ssVertical);
        FinishCreation();
    }
    TComboBox* Combo;
    TComboBox* List;
    TMemo* Memo;
};

std::string WindowText(HWND window)
{
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// Sends a user's choice of item `index`, as the list does when clicked.
void Choose(TComboBox* combo, int index)
{
    HWND window = combo->Handle();
    SendMessageA(window, CB_SETCURSEL, index, 0);
    SendMessageA(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(window));
}

TEST(ComboBox, ItemsTextAndIndexRoundTripBeforeAndAfterTheWindow)
{
    TEditorsForm form(nullptr);
    // Set up while there is no window yet: kept, then handed to the window.
    form.List->Items()->Add("支出");
    form.List->Items()->Add("收入");
    form.List->SetItemIndex(1);
    form.Combo->Items()->Add("50");
    form.Combo->Items()->Add("100");
    form.Combo->SetText("请选择该选项");
    ASSERT_FALSE(form.Combo->HandleAllocated());
    EXPECT_EQ(form.List->Text(), "收入");

    HWND combo = form.Combo->Handle();
    HWND list = form.List->Handle();
    EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(WindowText(combo), "请选择该选项");
    EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(form.List->Text(), "收入");

    // Items added by the window are the control's items too.
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("国际域名"));
    ASSERT_EQ(form.Combo->Items()->Count(), 3);
    EXPECT_EQ(form.Combo->Items()->Get(2), "国际域名");
    char buffer[32] = {};
    form.Combo->Items()->Insert(0, "虚拟空间ASP");
    SendMessageA(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(buffer));
    EXPECT_STREQ(buffer, "虚拟空间ASP");
    EXPECT_THROW(form.Combo->Items()->Get(9), EListError);

    // A list-only box shows a choice or nothing.
    form.List->SetText("支出");
    EXPECT_EQ(form.List->ItemIndex(), 0);
    form.List->SetText("别的");
    EXPECT_EQ(form.List->ItemIndex(), -1);
    EXPECT_EQ(form.List->Text(), "");
    form.List->SetItemIndex(7);
    EXPECT_EQ(form.List->ItemIndex(), -1);

    // A rebuilt window keeps items, text and choice.
    form.List->SetItemIndex(1);
    form.Combo->SetStyle(csSimple);
    form.List->RecreateWnd();
    EXPECT_EQ(form.Combo->Items()->Count(), 4);
    EXPECT_EQ(form.Combo->Text(), "请选择该选项");
    EXPECT_EQ(form.List->ItemIndex(), 1);
    EXPECT_EQ(form.List->Text(), "收入");
}

TEST(ComboBox, UserTypingAndChoosingRunOnChangeButCodeDoesNot)
{
    TEditorsForm form(nullptr);
    std::vector<std::string> changes, selects;
    form.Combo->OnChange = [&](TObject*) { changes.push_back(form.Combo->Text()); };
    form.Combo->OnSelect = [&](TObject*) { selects.push_back(form.Combo->Text()); };
    form.Combo->Items()->Add("支出");
    form.Combo->Items()->Add("收入");
    EXPECT_EQ(form.Combo->EditHandle(), nullptr) << "no window yet";
    form.Combo->HandleNeeded();
    HWND edit = form.Combo->EditHandle();
    ASSERT_NE(edit, nullptr);

    // Typing: each key reaches the edit inside, which tells the combo box.
    SendMessageA(edit, WM_CHAR, '5', 1);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0], "5");
    // Text put into the edit and announced as the combo box announces it.
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("工资"));
    SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(form.Combo->Handle()), CBN_EDITCHANGE),
                 reinterpret_cast<LPARAM>(form.Combo->Handle()));
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[1], "工资");
    EXPECT_TRUE(selects.empty());
    changes.erase(changes.begin());

    // Choosing: the text is the item's by the time OnSelect and OnChange run.
    Choose(form.Combo, 1);
    ASSERT_EQ(selects.size(), 1u);
    EXPECT_EQ(selects[0], "收入");
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[1], "收入");
    EXPECT_EQ(WindowText(edit), "收入");

    // Code changes the text without the event.
    form.Combo->SetText("项目名称");
    form.Combo->SetItemIndex(0);
    EXPECT_EQ(changes.size(), 2u);
    EXPECT_EQ(form.Combo->Text(), "支出");

    // Choosing in a list-only box changes what it shows.
    std::vector<std::string> listChanges;
    form.List->Items()->Add("支出");
    form.List->Items()->Add("收入");
    form.List->OnChange = [&](TObject*) { listChanges.push_back(form.List->Text()); };
    Choose(form.List, 0);
    ASSERT_EQ(listChanges.size(), 1u);
    EXPECT_EQ(listChanges[0], "支出");
}

TEST(ComboBox, MaxLengthCountsBytes)
{
    TEditorsForm form(nullptr);
    form.Combo->SetMaxLength(4);
    form.Combo->HandleNeeded();
    HWND edit = form.Combo->EditHandle();
    ASSERT_NE(edit, nullptr);
    int changes = 0;
    form.Combo->OnChange = [&](TObject*) { ++changes; };
    SendMessageA(edit, WM_CHAR, 'a', 1);
    SendMessageA(edit, WM_CHAR, 'b', 1);
    EXPECT_EQ(form.Combo->Text(), "ab");
    // Two bytes left: one Chinese character fits, a second does not.
    SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("工资"));
    EXPECT_EQ(form.Combo->Text(), "ab工");
    SendMessageA(edit, WM_CHAR, 'c', 1);
    EXPECT_EQ(form.Combo->Text(), "ab工");
    EXPECT_GE(changes, 3);
    // Code may set more.
    form.Combo->SetText("国际域名");
    EXPECT_EQ(form.Combo->Text(), "国际域名");
}

TEST(ComboBox, ClearEmptiesListAndText)
{
    TEditorsForm form(nullptr);
    for (TComboBox* combo : {form.Combo, form.List}) {
        SCOPED_TRACE(combo == form.List ? "list only" : "drop down");
        combo->HandleNeeded();
        combo->Items()->Add("国际域名");
        combo->Items()->Add("国内域名");
        combo->SetItemIndex(1);
        ASSERT_EQ(combo->Text(), "国内域名");
        combo->Clear();
        EXPECT_EQ(SendMessageA(combo->Handle(), CB_GETCOUNT, 0, 0), 0);
        EXPECT_EQ(combo->Text(), "");
        EXPECT_EQ(WindowText(combo->Handle()), "");
        EXPECT_EQ(combo->ItemIndex(), -1);
    }
}

TEST(ComboBox, DropDownCountDecidesTheOpenListsHeight)
{
    TEditorsForm form(nullptr);
    form.Show();
    for (int i = 0; i < 30; ++i) form.Combo->Items()->Add(IntToStr(i));
    auto openHeight = [&](int count) {
        form.Combo->SetDropDownCount(count);
        form.Combo->SetDroppedDown(true);
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        GetComboBoxInfo(form.Combo->Handle(), &info);
        RECT r{};
        GetWindowRect(info.hwndList, &r);
        form.Combo->SetDroppedDown(false);
        return static_cast<int>(r.bottom - r.top);
    };
    int item = form.Combo->ItemHeight();
    int eight = openHeight(8), sixteen = openHeight(16);
    EXPECT_GE(sixteen - eight, 7 * item) << "eight more rows";
    EXPECT_LE(sixteen, 17 * item + 8);
    // The closed box keeps its own height.
    RECT closed;
    GetWindowRect(form.Combo->Handle(), &closed);
    EXPECT_LT(closed.bottom - closed.top, 2 * item + 8);
}

TEST(ComboBox, PublishedPropertiesByName)
{
    TEditorsForm form(nullptr);
    SetStrProp(*form.Combo, "Text", "金额");
    EXPECT_EQ(form.Combo->Text(), "金额");
    EXPECT_EQ(GetEnumProp(*form.List, "Style"), "csDropDownList");
    auto* items = As<TStrings>(GetObjectProp(*form.Combo, "Items"));
    ASSERT_NE(items, nullptr);
    EXPECT_EQ(items, form.Combo->Items());
    EXPECT_EQ(GetObjectProp(*form.Combo, "Font", &TFont::StaticClassInfo()), form.Combo->Font());
    EXPECT_TRUE(form.Combo->InheritsFrom(TCustomComboBox::StaticClassInfo()));
    char name[32] = {};
    GetClassNameA(form.Combo->Handle(), name, sizeof name);
    EXPECT_STREQ(name, "TComboBox");
    EXPECT_EQ(FindControl(form.Combo->Handle()), form.Combo);
    // The superclassed window still is a combo box.
    EXPECT_EQ(SendMessageA(form.Combo->Handle(), CB_GETCOUNT, 0, 0), 0);
}

// ---- byte limits ---------------------------------------------------------------------------

TEST(TextLimit, InsertionsAreCutAtCharacterBoundaries)
{
    struct Case {
        const char* Name;
        std::string Before, After;
        size_t Max;
        bool Cut;
        std::string Result;
        size_t Caret;
    } cases[] = {
        {"fits", "ab", "abc", 3, false, "", 0},
        {"ascii appended", "ab", "abcdef", 4, true, "abcd", 4},
        {"chinese not split", "a", "a工资", 4, true, "a工", 3},
        {"inserted in the middle", "备注", "备工资注", 6, true, "备工注", 4},
        {"already over: insertion dropped", "工资工资", "工资x工资", 4, true, "工资工资", 4},
        {"replacement shortened", "ab", "a工资费用", 5, true, "a工资", 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        std::string result;
        size_t caret = 0;
        ASSERT_EQ(LimitInsertion(c.Before, c.After, c.Max, result, caret), c.Cut);
        if (!c.Cut) continue;
        EXPECT_EQ(result, c.Result);
        EXPECT_EQ(caret, c.Caret);
    }
    EXPECT_EQ(CharBoundaryAtOrBefore("a工资", 2), 1u);
    EXPECT_EQ(CharBoundaryAtOrBefore("a工资", 3), 3u);
}

// ---- memo ------------------------------------------------------------------------------------

TEST(Memo, TypedTextStopsAtTheByteLimit)
{
    TEditorsForm form(nullptr);
    form.Memo->SetMaxLength(500);
    form.Memo->SetText("备注:");
    int changes = 0;
    form.Memo->OnChange = [&](TObject*) { ++changes; };
    HWND memo = form.Memo->Handle();

    // 300 Chinese characters pasted at the end: 600 bytes would not fit.
    std::string chinese;
    for (int i = 0; i < 300; ++i) chinese += "费";
    SendMessageA(memo, EM_SETSEL, 5, 5);
    SendMessageA(memo, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(chinese.c_str()));
    std::string text = form.Memo->Text();
    EXPECT_LE(text.size(), 500u);
    EXPECT_GE(text.size(), 499u);
    EXPECT_EQ(text.substr(0, 5), "备注:");
    EXPECT_EQ((text.size() - 5) % 2, 0u) << "no half character";
    EXPECT_GE(changes, 1);

    // Full: a two-byte character no longer fits anywhere, a one-byte one
    // only when a byte is left.
    std::string full = text;
    SendMessageA(memo, EM_SETSEL, 0, 0);
    SendMessageA(memo, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("字"));
    EXPECT_EQ(form.Memo->Text(), full);
    SendMessageA(memo, EM_SETSEL, 0, 0);
    SendMessageA(memo, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("xy"));
    EXPECT_EQ(form.Memo->Text(), full.size() == 499 ? "x" + full : full);
    // The caret stays after what was kept.
    DWORD start = 0;
    SendMessageA(memo, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    EXPECT_EQ(start, full.size() == 499 ? 1u : 0u);

    // Text from code is taken whole.
    std::string longer(600, 'y');
    form.Memo->SetText(longer);
    EXPECT_EQ(form.Memo->Text(), longer);
}

TEST(Memo, LinesAndTextKeepLineBreaks)
{
    TEditorsForm form(nullptr);
    std::vector<std::string> seen;
    form.Memo->OnChange = [&](TObject*) { seen.push_back(form.Memo->Text()); };
    form.Memo->Lines()->Add("本程序完全免费");
    form.Memo->Lines()->Add("http://example.invalid");
    form.Memo->HandleNeeded();
    form.Memo->Lines()->Add("电话");
    EXPECT_EQ(form.Memo->Text(), "本程序完全免费\r\nhttp://example.invalid\r\n电话");
    EXPECT_EQ(SendMessageA(form.Memo->Handle(), EM_GETLINECOUNT, 0, 0), 3);
    ASSERT_EQ(form.Memo->Lines()->Count(), 3);
    EXPECT_EQ(form.Memo->Lines()->Get(2), "电话");

    // One change for a batch of lines.
    size_t before = seen.size();
    form.Memo->Lines()->BeginUpdate();
    form.Memo->Lines()->Clear();
    form.Memo->Lines()->Add("a");
    form.Memo->Lines()->Add("b");
    form.Memo->Lines()->EndUpdate();
    EXPECT_EQ(seen.size(), before + 1);
    EXPECT_EQ(seen.back(), "a\r\nb");

    // The user's Enter is kept as CR LF in the text.
    form.Memo->SetText("a未填写备注");
    SendMessageA(form.Memo->Handle(), EM_SETSEL, 1, 1);
    SendMessageA(form.Memo->Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("\r\n"));
    EXPECT_EQ(form.Memo->Text(), "a\r\n未填写备注");
    EXPECT_EQ(seen.back(), "a\r\n未填写备注");
    EXPECT_EQ(form.Memo->Lines()->Get(1), "未填写备注");

    // Emptied, then set: the text the ledger stores.
    form.Memo->Clear();
    EXPECT_EQ(form.Memo->Lines()->Count(), 0);
    form.Memo->SetText("备注:");
    EXPECT_EQ(GetStrProp(*form.Memo, "Text"), "备注:");
}

TEST(Memo, ScrollBarsAndWrappingSetTheWindowStyle)
{
    TEditorsForm form(nullptr);
    form.Memo->SetText("保留");
    struct Case {
        TScrollStyle Bars;
        bool Wrap;
        DWORD Has, HasNot;
    } cases[] = {
        {ssNone, true, ES_MULTILINE, WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL},
        {ssVertical, true, WS_VSCROLL, WS_HSCROLL | ES_AUTOHSCROLL},
        {ssHorizontal, false, WS_HSCROLL | ES_AUTOHSCROLL, WS_VSCROLL},
        {ssBoth, false, WS_VSCROLL | WS_HSCROLL, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Bars);
        form.Memo->SetScrollBars(c.Bars);
        form.Memo->SetWordWrap(c.Wrap);
        DWORD style = GetWindowLongA(form.Memo->Handle(), GWL_STYLE);
        EXPECT_EQ(style & c.Has, c.Has);
        EXPECT_EQ(style & c.HasNot, 0u);
        EXPECT_EQ(form.Memo->Text(), "保留") << "the text survives the new window";
    }
    form.Memo->SetReadOnly(true);
    EXPECT_TRUE(GetWindowLongA(form.Memo->Handle(), GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(GetEnumProp(*form.Memo, "ScrollBars"), "ssBoth");
    EXPECT_EQ(GetEnumProp(*form.Memo, "ReadOnly"), "True");
}

}  // namespace
