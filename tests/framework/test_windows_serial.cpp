// Framework windows driven in-process with messages: the window property
// lookup, WindowProc replacement, errors in event handlers, a hook's
// subclass at creation, closing, constraints, keys, painting and timers.
// Serial: forms are shown and activated.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <stdexcept>

#include "framework/application.h"
#include "framework/std_controls.h"
#include "framework/timer.h"

namespace {

class TTestForm : public TForm {
    DECLARE_CLASS_INLINE(TTestForm, TForm)
public:
    explicit TTestForm(TComponent* owner) : TForm(owner)
    {
        // In the design's pixels at every display scale: these tests read
        // pixel positions (scaling has tests of its own).
        SetScaled(false);
        SetCaption("test");
        SetBounds(40, 40, 400, 300);
        Button = new TButton(this);
        Button->SetName("Button");
        Button->SetParent(this);
        Button->SetBounds(10, 10, 75, 25);
        Button->SetCaption("OK");
        Edit = new TEdit(this);
        Edit->SetParent(this);
        Edit->SetBounds(10, 50, 120, 21);
    }
    TButton* Button;
    TEdit* Edit;
};

struct Box {
    std::string Text, Caption;
    UINT Flags;
};

// Every test records the message boxes instead of showing them.
class Windows : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->SetTitle("Ravelbook");
        Application->SetMessageBoxHandler([this](const std::string& text, const std::string& caption, UINT flags) {
            Boxes.push_back({text, caption, flags});
            return Answer;
        });
    }
    void TearDown() override
    {
        Application->SetMessageBoxHandler(nullptr);
        Application->ProcessMessages();
        Application->ResetTerminated();
    }
    std::vector<Box> Boxes;
    int Answer = IDOK;
};

std::string WindowClass(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

TEST_F(Windows, ObjectIsFoundFromItsWindow)
{
    TTestForm form(nullptr);
    HWND button = form.Button->Handle();
    EXPECT_TRUE(form.HandleAllocated()) << "a child's window needs its parent's";
    struct Case {
        TWinControl* Control;
        const char* ClassName;
    } cases[] = {{&form, "TTestForm"}, {form.Button, "TButton"}, {form.Edit, "TEdit"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ClassName);
        HWND window = c.Control->Handle();
        EXPECT_EQ(FindControl(window), c.Control);
        EXPECT_EQ(WindowClass(window), c.ClassName);
        EXPECT_EQ(GetPropA(window, ControlAtomName().c_str()), c.Control) << "found by the property's name too";
    }
    char expected[64];
    wsprintfA(expected, "ControlOfs%.8X%.8X", static_cast<UINT>(reinterpret_cast<UINT_PTR>(GetModuleHandleA(nullptr))), GetCurrentThreadId());
    EXPECT_EQ(ControlAtomName(), expected);

    // Windows that are not the framework's have no object.
    HWND plain = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 1, 1, form.Handle(), nullptr, nullptr, nullptr);
    EXPECT_EQ(FindControl(plain), nullptr);
    EXPECT_EQ(FindControl(GetDesktopWindow()), nullptr);
    EXPECT_EQ(FindControl(nullptr), nullptr);

    // Child windows have distinct control IDs that find them again.
    EXPECT_NE(GetDlgCtrlID(button), GetDlgCtrlID(form.Edit->Handle()));
    EXPECT_EQ(GetDlgItem(form.Handle(), GetDlgCtrlID(button)), button);

    // The superclassed button still is a button.
    EXPECT_EQ(SendMessageA(button, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON, DLGC_BUTTON);
}

// Stands in front of a control's WindowProc like a skinner does.
struct TSpy {
    TWndMethod Saved;
    std::vector<UINT> Seen;
    void Proc(TMessage& m)
    {
        Seen.push_back(m.Msg);
        if (m.Msg == WM_USER + 5) {
            m.Result = 99;
            return;
        }
        Saved(m);
    }
};

TEST_F(Windows, ReplacedWindowProcSeesMessagesUntilRestored)
{
    TTestForm form(nullptr);
    HWND button = form.Button->Handle();
    int clicks = 0;
    form.Button->OnClick = [&](TObject*) { ++clicks; };

    TSpy spy;
    spy.Saved = form.Button->WindowProc();
    EXPECT_TRUE(spy.Saved == TWndMethod(static_cast<TControl*>(form.Button), &TControl::WndProc));
    form.Button->SetWindowProc(TWndMethod(&spy, &TSpy::Proc));
    EXPECT_TRUE(form.Button->WindowProc() == TWndMethod(&spy, &TSpy::Proc));

    EXPECT_EQ(SendMessageA(button, WM_USER + 5, 0, 0), 99);
    form.Button->SetEnabled(false);
    form.Button->SetEnabled(true);
    SendMessageA(button, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("添加"));
    SendMessageA(button, BM_CLICK, 0, 0);
    auto saw = [&](UINT msg) { return std::count(spy.Seen.begin(), spy.Seen.end(), msg); };
    EXPECT_EQ(saw(WM_USER + 5), 1);
    EXPECT_EQ(saw(CM_ENABLEDCHANGED), 2) << "framework notifications pass the slot too";
    EXPECT_EQ(saw(CN_COMMAND), 1) << "the reflected click passes the slot";
    EXPECT_EQ(form.Button->Caption(), "添加") << "forwarded messages are handled as before";
    EXPECT_EQ(clicks, 1);

    form.Button->SetWindowProc(spy.Saved);
    spy.Seen.clear();
    EXPECT_EQ(SendMessageA(button, WM_USER + 5, 0, 0), 0);
    SendMessageA(button, BM_CLICK, 0, 0);
    EXPECT_TRUE(spy.Seen.empty());
    EXPECT_EQ(clicks, 2);
}

TEST_F(Windows, ErrorInEventHandlerReachesErrorBoxAndWindowGoesOn)
{
    TTestForm form(nullptr);
    HWND button = form.Button->Handle();
    struct Case {
        std::function<void()> Throw;
        const char* Text;
    } cases[] = {
        {[] { throw EConvertError("'abc' is not a valid integer value"); }, "'abc' is not a valid integer value"},
        {[] { throw std::runtime_error("disk full"); }, "disk full"},
        {[] { throw 42; }, "Unknown error"},
    };
    for (const Case& c : cases) {
        Boxes.clear();
        form.Button->OnClick = [&](TObject*) { c.Throw(); };
        SendMessageA(button, BM_CLICK, 0, 0);
        ASSERT_EQ(Boxes.size(), 1u);
        EXPECT_EQ(Boxes[0].Text, c.Text);
        EXPECT_EQ(Boxes[0].Caption, "Ravelbook");
        EXPECT_EQ(Boxes[0].Flags, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    }
    // The same window keeps working.
    Boxes.clear();
    int clicks = 0;
    form.Button->OnClick = [&](TObject*) { ++clicks; };
    SendMessageA(button, BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(Boxes.empty());
    EXPECT_EQ(FindControl(button), form.Button);
}

// A hook that subclasses framework windows as they are created, before the
// framework's procedure has seen any message.
WNDPROC HookedOldProc = nullptr;
HWND HookedWindow = nullptr;
int HookedMessages = 0;
HHOOK CbtHook = nullptr;

LRESULT CALLBACK HookSubclass(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    ++HookedMessages;
    if (msg == WM_USER + 77) return 4242;
    return CallWindowProcA(HookedOldProc, window, msg, wParam, lParam);
}

LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && !HookedWindow && WindowClass(reinterpret_cast<HWND>(wParam)) == "TPanel") {
        HookedWindow = reinterpret_cast<HWND>(wParam);
        HookedOldProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(HookedWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HookSubclass)));
    }
    return CallNextHookEx(CbtHook, code, wParam, lParam);
}

TEST_F(Windows, SubclassInstalledByHookAtCreationKeepsItsMessages)
{
    TTestForm form(nullptr);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(150, 10, 100, 50);
    CbtHook = SetWindowsHookExA(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
    ASSERT_NE(CbtHook, nullptr);
    HWND window = panel->Handle();
    UnhookWindowsHookEx(CbtHook);

    ASSERT_EQ(HookedWindow, window);
    EXPECT_GT(HookedMessages, 0) << "creation messages went through the subclass";
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)), HookSubclass)
        << "the framework left the hook's procedure in place";
    EXPECT_EQ(FindControl(window), panel) << "the window was bound through the chained call";

    int before = HookedMessages;
    EXPECT_EQ(SendMessageA(window, WM_USER + 77, 0, 0), 4242);
    SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("面板"));
    EXPECT_GE(HookedMessages, before + 2);
    EXPECT_EQ(panel->Caption(), "面板") << "and messages go on to the framework";
    form.DestroyComponents();
    HookedWindow = nullptr;
}

TEST_F(Windows, ClosingAsksFirstAndDoesWhatOnCloseSays)
{
    struct Case {
        const char* Name;
        bool Allow;
        TCloseAction Action;
        bool Visible, Exists;
    } cases[] = {
        {"refused", false, caHide, true, true},
        {"hide", true, caHide, false, true},
        {"none", true, caNone, true, true},
        {"free", true, caFree, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        auto* form = CreateFormObject<TTestForm>(nullptr);
        int asked = 0, closed = 0;
        form->OnCloseQuery = [&](TObject*, bool& canClose) {
            ++asked;
            canClose = c.Allow;
        };
        form->OnClose = [&](TObject*, TCloseAction& action) {
            ++closed;
            EXPECT_EQ(action, caHide) << "hiding is what closing means by default";
            action = c.Action;
        };
        form->Show();
        HWND window = form->Handle();
        int forms = Screen->FormCount();
        SendMessageA(window, WM_CLOSE, 0, 0);
        Application->ProcessMessages();
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(closed, c.Allow ? 1 : 0);
        EXPECT_EQ(IsWindow(window) != 0, c.Exists);
        EXPECT_EQ(Screen->FormCount(), c.Exists ? forms : forms - 1);
        if (c.Exists) {
            EXPECT_EQ(IsWindowVisible(window) != 0, c.Visible);
            EXPECT_EQ(form->Visible(), c.Visible);
            delete form;
        }
    }
}

TEST_F(Windows, ClosingTheMainFormEndsTheLoop)
{
    auto* form = CreateFormObject<TTestForm>(nullptr);
    Application->SetMainForm(form);
    form->Show();
    Answer = IDNO;
    form->OnCloseQuery = [&](TObject*, bool& canClose) {
        canClose = MessageDlg("您真的要退出吗", mtConfirmation, MsgDlgButton(mbYes) | MsgDlgButton(mbNo)) == mrYes;
    };
    SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
    Application->ProcessMessages();
    EXPECT_FALSE(Application->Terminated());
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Caption, "Confirm");
    EXPECT_EQ(Boxes[0].Flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    Answer = IDYES;
    SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
    Application->ProcessMessages();
    EXPECT_TRUE(Application->Terminated());
    delete form;
    EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST_F(Windows, ConstraintsHoldTheSize)
{
    struct Case {
        int MinW, MinH, MaxW, MaxH;
        int AskW, AskH;
        int W, H;
    } cases[] = {
        {774, 558, 774, 558, 1000, 900, 774, 558},
        {774, 558, 774, 558, 300, 200, 774, 558},
        {300, 200, 0, 0, 100, 100, 300, 200},
        {0, 0, 500, 400, 900, 900, 500, 400},
        {0, 0, 500, 400, 450, 350, 450, 350},
    };
    for (const Case& c : cases) {
        TTestForm form(nullptr);
        form.SetBorderStyle(bsSingle);
        form.Constraints()->SetMinWidth(c.MinW);
        form.Constraints()->SetMinHeight(c.MinH);
        form.Constraints()->SetMaxWidth(c.MaxW);
        form.Constraints()->SetMaxHeight(c.MaxH);
        HWND window = form.Handle();
        form.SetBounds(10, 10, c.AskW, c.AskH);
        EXPECT_EQ(form.Width(), c.W);
        EXPECT_EQ(form.Height(), c.H);
        // The system itself is held too, whoever sizes the window.
        SetWindowPos(window, nullptr, 0, 0, c.AskW, c.AskH, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        RECT r;
        GetWindowRect(window, &r);
        EXPECT_EQ(r.right - r.left, c.W);
        EXPECT_EQ(r.bottom - r.top, c.H);
        EXPECT_EQ(form.Width(), c.W) << "the object follows its window";
        MINMAXINFO info{};
        SendMessageA(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        if (c.MinW) {
            EXPECT_EQ(info.ptMinTrackSize.x, c.MinW);
        }
        if (c.MaxH) {
            EXPECT_EQ(info.ptMaxTrackSize.y, c.MaxH);
        }
    }
}

TEST_F(Windows, ClientSizeAndLayout)
{
    TTestForm form(nullptr);
    form.SetBorderStyle(bsSingle);
    form.SetClientWidth(766);
    form.SetClientHeight(531);
    auto* top = new TPanel(&form);
    top->SetParent(&form);
    top->SetHeight(105);
    top->SetAlign(alTop);
    auto* bottom = new TPanel(&form);
    bottom->SetParent(&form);
    bottom->SetHeight(19);
    bottom->SetAlign(alBottom);
    auto* rest = new TPanel(&form);
    rest->SetParent(&form);
    rest->SetAlign(alClient);
    form.FinishCreation();  // lays the aligned controls out
    form.HandleNeeded();
    RECT client;
    GetClientRect(form.Handle(), &client);
    EXPECT_EQ(client.right, 766);
    EXPECT_EQ(client.bottom, 531);
    RECT expected[] = {{0, 0, 766, 105}, {0, 512, 766, 531}, {0, 105, 766, 512}};
    TPanel* panels[] = {top, bottom, rest};
    for (int i = 0; i < 3; ++i) {
        RECT r = panels[i]->BoundsRect();
        EXPECT_TRUE(EqualRect(&r, &expected[i])) << "panel " << i << ": " << r.left << "," << r.top << "," << r.right
                                                  << "," << r.bottom;
    }
}

TEST_F(Windows, EnterPressesTheDefaultButtonAndEscapeTheCancelButton)
{
    TTestForm form(nullptr);
    auto* search = new TButton(&form);
    search->SetParent(&form);
    search->SetBounds(200, 10, 40, 25);
    int okClicks = 0, searchClicks = 0;
    form.Button->OnClick = [&](TObject*) { ++okClicks; };
    search->OnClick = [&](TObject*) { ++searchClicks; };
    form.Show();
    form.Edit->SetFocus();
    search->SetDefault(true);
    form.Button->SetCancel(true);
    HWND edit = form.Edit->Handle();
    PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
    Application->ProcessMessages();
    EXPECT_EQ(searchClicks, 1);
    EXPECT_EQ(okClicks, 0);
    EXPECT_EQ(GetWindowLongA(search->Handle(), GWL_STYLE) & 0xF, BS_DEFPUSHBUTTON);
    PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 1);
    Application->ProcessMessages();
    EXPECT_EQ(okClicks, 1);
    EXPECT_EQ(searchClicks, 1);
    // Typed keys still reach the edit.
    PostMessageA(edit, WM_CHAR, 'x', 1);
    Application->ProcessMessages();
    EXPECT_EQ(form.Edit->Text(), "x");
    // With KeyPreview the form sees them first and may swallow them.
    form.SetKeyPreview(true);
    form.OnKeyPress = [](TObject*, char& key) {
        if (key == 'q') key = 0;
    };
    PostMessageA(edit, WM_CHAR, 'q', 1);
    PostMessageA(edit, WM_CHAR, 'y', 1);
    Application->ProcessMessages();
    EXPECT_EQ(form.Edit->Text(), "xy");
}

TEST_F(Windows, RecreatingKeepsTextsAndChildren)
{
    TTestForm form(nullptr);
    form.Edit->SetText("工资");
    HWND oldEdit = form.Edit->Handle();
    int changes = 0;
    form.Edit->OnChange = [&](TObject*) { ++changes; };
    SendMessageA(oldEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("奖金"));
    EXPECT_EQ(changes, 1);
    form.Show();
    form.SetBorderStyle(bsDialog);  // needs a new window
    ASSERT_FALSE(IsWindow(oldEdit));
    EXPECT_TRUE(IsWindowVisible(form.Handle())) << "a shown form is shown again";
    HWND edit = form.Edit->Handle();
    EXPECT_EQ(FindControl(edit), form.Edit);
    EXPECT_EQ(GetParent(edit), form.Handle());
    EXPECT_EQ(form.Edit->Text(), "奖金");
    EXPECT_NE(GetWindowLongA(form.Handle(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME, 0);
}

// Builds in its constructor; records the order of Loaded and OnCreate.
class TOrderForm : public TForm {
    DECLARE_CLASS_INLINE(TOrderForm, TForm)
public:
    explicit TOrderForm(TComponent* owner) : TForm(owner)
    {
        Label = new TLabel(this);
        Label->SetParent(this);
        Label->SetCaption("Velmont");
        OnCreate = [this](TObject*) {
            Order.push_back("OnCreate");
            EXPECT_FALSE(Label->HasState(csLoading));
            if (Fail) throw Exception("database missing");
            Order.push_back("after");
        };
    }
    void Loaded() override
    {
        Order.push_back("Loaded");
        TForm::Loaded();
    }
    TLabel* Label;
    std::vector<std::string> Order;
    static inline bool Fail = false;
};

TEST_F(Windows, CreationRunsLoadedThenOnCreate)
{
    for (bool fail : {false, true}) {
        TOrderForm::Fail = fail;
        Boxes.clear();
        std::unique_ptr<TOrderForm> form(CreateFormObject<TOrderForm>(nullptr));
        std::vector<std::string> expected = {"Loaded", "OnCreate"};
        if (!fail) expected.push_back("after");
        EXPECT_EQ(form->Order, expected);
        EXPECT_FALSE(form->HasState(csLoading));
        EXPECT_GT(form->Label->Width(), 0) << "an auto-sized label measured its text when loaded";
        ASSERT_EQ(Boxes.size(), fail ? 1u : 0u);
        if (fail) {
            EXPECT_EQ(Boxes[0].Text, "database missing");
        }
    }
    TOrderForm::Fail = false;
}

TEST_F(Windows, GraphicControlIsPaintedAndClickedThroughItsParent)
{
    TTestForm form(nullptr);
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    label->SetAutoSize(false);
    label->SetBounds(200, 100, 40, 20);
    label->SetColor(clRed);
    int clicks = 0, enters = 0;
    label->OnClick = [&](TObject*) { ++clicks; };
    label->OnMouseEnter = [&](TObject*) { ++enters; };
    HWND window = form.Handle();

    // Painting the form's client area into a bitmap paints the label.
    TBitmap bitmap(400, 300, pf24bit);
    SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(bitmap.Canvas()->Handle()), PRF_CLIENT);
    EXPECT_EQ(bitmap.Canvas()->Pixel(210, 110), clRed);
    EXPECT_NE(bitmap.Canvas()->Pixel(190, 110), clRed);

    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(210, 110));
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(210, 110));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(212, 112));
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(clicks, 1);
    // Released outside the label: no click.
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(210, 110));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(300, 200));
    EXPECT_EQ(clicks, 1);
    ReleaseCapture();
}

// A hold on a window keeps its controls' Invalidate from asking for a repaint
// (and notes it), leaves other windows' controls alone, nests, and ends with
// its scope.
TEST_F(Windows, HeldInvalidationOfOneWindowIsOnlyNoted)
{
    TTestForm form(nullptr), other(nullptr);
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    label->SetBounds(200, 100, 40, 20);
    form.Show();
    other.Show();
    auto pending = [](HWND window) { return GetUpdateRect(window, nullptr, FALSE) != FALSE; };
    auto settle = [&] {
        for (HWND window : {form.Handle(), form.Button->Handle(), other.Handle(), other.Button->Handle()})
            ValidateRect(window, nullptr);
    };
    settle();
    {
        TInvalidateHold outer(form.Handle());
        EXPECT_FALSE(outer.Held());
        {
            TInvalidateHold inner(other.Button->Handle());  // not a top-level window of a control: holds nothing
            form.Button->Invalidate();
            EXPECT_FALSE(inner.Held());
        }
        EXPECT_TRUE(outer.Held());
        label->Invalidate();
        other.Button->Invalidate();
        EXPECT_FALSE(pending(form.Button->Handle()));
        EXPECT_FALSE(pending(form.Handle()));
        EXPECT_TRUE(pending(other.Button->Handle()));
    }
    settle();
    form.Button->Invalidate();
    label->Invalidate();
    EXPECT_TRUE(pending(form.Button->Handle()));
    EXPECT_TRUE(pending(form.Handle()));
}

TEST_F(Windows, TimerErrorsGoToTheErrorBoxAndTheTimerGoesOn)
{
    TTimer timer(nullptr);
    timer.SetInterval(10);
    int ticks = 0;
    timer.OnTimer = [&](TObject*) {
        if (++ticks == 1) throw Exception("tick failed");
    };
    DWORD start = GetTickCount();
    while (ticks < 3 && GetTickCount() - start < 3000) {
        Application->ProcessMessages();
        Sleep(5);
    }
    EXPECT_GE(ticks, 3);
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, "tick failed");
    timer.SetEnabled(false);
    int stopped = ticks;
    start = GetTickCount();
    while (GetTickCount() - start < 100) {
        Application->ProcessMessages();
        Sleep(5);
    }
    EXPECT_EQ(ticks, stopped);
}

TEST_F(Windows, HintsAreShownForControlsThatAskForThem)
{
    TTestForm form(nullptr);
    form.Button->SetHint("添加记录");
    form.Button->SetShowHint(true);
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    label->SetHint("link");
    label->SetShowHint(true);
    form.Edit->SetHint("not shown: ShowHint is off");
    HWND tip = form.HintWindow();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 2);

    char text[80] = {};
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = form.Handle();
    tool.uId = reinterpret_cast<UINT_PTR>(form.Button->Handle());
    tool.lpszText = text;
    SendMessageA(tip, TTM_GETTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, "添加记录");

    form.Edit->SetShowHint(true);
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 3);
    form.Button->SetShowHint(false);
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 2);
    delete label;
    delete form.Edit;
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 0) << "a control that goes takes its hint along";
}

TEST_F(Windows, ModalFormReturnsTheResultOfItsButton)
{
    TTestForm owner(nullptr);
    owner.Show();
    TTestForm dialog(nullptr);
    dialog.Button->SetModalResult(mrOk);
    PostMessageA(dialog.Button->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_FALSE(dialog.Visible());
    EXPECT_TRUE(IsWindowEnabled(owner.Handle())) << "the other forms work again";
    PostMessageA(dialog.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
}

}  // namespace
