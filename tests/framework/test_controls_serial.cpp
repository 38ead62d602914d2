// What the framework's properties do to real windows: form styles and
// placement, focus and tab order, inherited fonts and colours, visibility,
// layout inside bevels, accelerators and the application's message hook.
// Serial: forms are shown and take the focus.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/std_controls.h"

namespace {

class Controls : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->SetMessageBoxHandler([this](const std::string& text, const std::string&, UINT) {
            Boxes.push_back(text);
            return IDOK;
        });
    }
    void TearDown() override
    {
        Application->SetMessageBoxHandler(nullptr);
        Application->OnMessage = nullptr;
        Application->ProcessMessages();
        Application->ResetTerminated();
    }
    std::vector<std::string> Boxes;
};

template <class T>
T* Add(TForm& form, TWinControl* parent, int left, int top, int width, int height)
{
    T* control = new T(&form);
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
}

TEST_F(Controls, FormPropertiesBecomeWindowStyles)
{
    const LONG captionBits = WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    struct Case {
        const char* Name;
        TFormBorderStyle Border;
        TBorderIcons Icons;
        TFormStyle Style;
        LONG Expected;
        LONG ExpectedEx;  // of WS_EX_TOPMOST | WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW
    } cases[] = {
        {"sizeable, all icons", bsSizeable, 7, fsNormal, captionBits, 0},
        {"single: not sizeable", bsSingle, 7, fsNormal, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0},
        {"single, system menu only", bsSingle, BorderIcon(biSystemMenu), fsNormal, WS_CAPTION | WS_SYSMENU, 0},
        {"single, no icons", bsSingle, 0, fsNormal, WS_CAPTION, 0},
        {"dialog: no boxes", bsDialog, 7, fsNormal, WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME},
        {"tool window", bsToolWindow, 7, fsNormal, WS_CAPTION | WS_SYSMENU, WS_EX_TOOLWINDOW},
        {"none", bsNone, 7, fsNormal, 0, 0},
        {"stays on top", bsSingle, BorderIcon(biSystemMenu), fsStayOnTop, WS_CAPTION | WS_SYSMENU, WS_EX_TOPMOST},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TForm form(nullptr);
        form.SetBorderStyle(c.Border);
        form.SetBorderIcons(c.Icons);
        form.SetFormStyle(c.Style);
        HWND window = form.Handle();
        EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & captionBits, c.Expected);
        EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & (WS_EX_TOPMOST | WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW),
                  c.ExpectedEx);
        EXPECT_FALSE(IsWindowVisible(window)) << "forms start hidden";
        // Changing a border property on a live form rebuilds its window.
        form.SetBorderIcons(0);
        EXPECT_EQ(GetWindowLongA(form.Handle(), GWL_STYLE) & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    }
}

TEST_F(Controls, DesktopCentredFormOpensInTheMiddle)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 400, 300);
    form.SetPosition(poDesktopCenter);
    form.Show();
    RECT r;
    GetWindowRect(form.Handle(), &r);
    // 400 x 300 at 96 DPI, its client area in proportion at other scales.
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2);
    EXPECT_EQ(form.Left(), r.left);
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
    EXPECT_TRUE(form.Active());
    EXPECT_EQ(Screen->ActiveForm(), &form);
    form.Hide();
    EXPECT_FALSE(IsWindowVisible(form.Handle()));
}

TEST_F(Controls, TabMovesTheFocusAlongTheTabOrder)
{
    TForm form(nullptr);
    auto* first = Add<TEdit>(form, &form, 10, 10, 100, 21);
    auto* panel = Add<TPanel>(form, &form, 10, 40, 300, 100);
    auto* inner = Add<TEdit>(form, panel, 10, 10, 100, 21);
    auto* disabled = Add<TButton>(form, panel, 120, 10, 75, 25);
    disabled->SetEnabled(false);
    auto* hidden = Add<TButton>(form, &form, 10, 150, 75, 25);
    hidden->SetVisible(false);
    auto* last = Add<TButton>(form, &form, 100, 150, 75, 25);
    std::vector<TWinControl*> order;
    form.GetTabOrderList(order);
    std::vector<TWinControl*> expected = {first, panel, inner, disabled, hidden, last};
    EXPECT_EQ(order, expected);

    std::vector<TWinControl*> entered;
    for (TWinControl* c : {static_cast<TWinControl*>(first), static_cast<TWinControl*>(inner),
                           static_cast<TWinControl*>(last)})
        c->OnEnter = [&entered](TObject* sender) { entered.push_back(static_cast<TWinControl*>(sender)); };
    form.Show();
    EXPECT_EQ(form.ActiveControl(), first) << "activation focuses the first control that can take it";
    // Tab skips the panel (no tab stop), the disabled and the hidden button,
    // then wraps round; Shift is not held.
    HWND focus = first->Handle();
    for (TWinControl* next : {static_cast<TWinControl*>(inner), static_cast<TWinControl*>(last),
                              static_cast<TWinControl*>(first)}) {
        PostMessageA(focus, WM_KEYDOWN, VK_TAB, 1);
        Application->ProcessMessages();
        EXPECT_EQ(GetFocus(), next->Handle());
        EXPECT_EQ(form.ActiveControl(), next);
        focus = GetFocus();
    }
    std::vector<TWinControl*> expectedEntered = {first, inner, last, first};
    EXPECT_EQ(entered, expectedEntered);

    // Tab order can be changed.
    last->SetTabOrder(0);
    order.clear();
    form.GetTabOrderList(order);
    EXPECT_EQ(order.front(), last);
}

TEST_F(Controls, FocusChangesAreAnnouncedToEveryControl)
{
    TForm form(nullptr);
    auto* panel = Add<TPanel>(form, &form, 0, 0, 200, 100);
    auto* edit = Add<TEdit>(form, panel, 10, 10, 100, 21);
    auto* button = Add<TButton>(form, &form, 10, 120, 75, 25);
    struct TWatcher {
        TWndMethod Saved;
        std::vector<LPARAM> News;
        void Proc(TMessage& m)
        {
            if (m.Msg == CM_FOCUSCHANGED) News.push_back(m.LParam);
            Saved(m);
        }
    } watcher;
    watcher.Saved = button->WindowProc();
    button->SetWindowProc(TWndMethod(&watcher, &TWatcher::Proc));
    form.Show();
    edit->SetFocus();
    ASSERT_FALSE(watcher.News.empty());
    EXPECT_EQ(watcher.News.back(), reinterpret_cast<LPARAM>(edit)) << "heard although the edit is inside a panel";
    button->SetFocus();
    EXPECT_EQ(watcher.News.back(), reinterpret_cast<LPARAM>(button));
    button->SetWindowProc(watcher.Saved);
}

TEST_F(Controls, FontsAndColoursComeFromTheParentUntilSetOwn)
{
    TForm form(nullptr);
    form.Font()->SetName("宋体");
    form.Font()->SetHeight(-12);
    form.Font()->SetCharset(GB2312_CHARSET);
    form.SetColor(clTeal);
    auto* panel = Add<TPanel>(form, &form, 0, 0, 200, 100);
    auto* inherits = Add<TButton>(form, panel, 10, 10, 75, 25);
    auto* own = Add<TButton>(form, panel, 100, 10, 75, 25);
    own->Font()->SetHeight(-20);
    auto* label = Add<TLabel>(form, panel, 10, 50, 40, 20);
    panel->SetParentColor(true);
    form.HandleNeeded();

    EXPECT_EQ(inherits->Font()->Charset(), GB2312_CHARSET);
    EXPECT_TRUE(inherits->ParentFont());
    EXPECT_FALSE(own->ParentFont()) << "setting a font of its own ends inheriting";
    EXPECT_EQ(panel->Color(), clTeal);
    EXPECT_EQ(label->Color(), clTeal) << "a label takes its parent's colour";

    form.Font()->SetHeight(-16);
    form.SetColor(clNavy);
    EXPECT_EQ(inherits->Font()->Height(), -16) << "through the panel, two levels down";
    EXPECT_EQ(own->Font()->Height(), -20);
    EXPECT_EQ(label->Color(), clNavy);

    // The windows use the fonts the objects describe.
    auto windowFont = [](TWinControl* c) {
        LOGFONTA lf{};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(c->Handle(), WM_GETFONT, 0, 0)), sizeof lf, &lf);
        return lf;
    };
    EXPECT_EQ(windowFont(inherits).lfHeight, -16);
    EXPECT_EQ(windowFont(inherits).lfCharSet, GB2312_CHARSET);
    EXPECT_EQ(windowFont(own).lfHeight, -20);
}

TEST_F(Controls, VisibleAndEnabledReachTheWindowAndAreAnnounced)
{
    TForm form(nullptr);
    auto* edit = Add<TEdit>(form, &form, 10, 10, 100, 21);
    std::vector<UINT> heard;
    struct TWatcher {
        TWndMethod Saved;
        std::vector<UINT>* Heard;
        void Proc(TMessage& m)
        {
            if (m.Msg == CM_VISIBLECHANGED || m.Msg == CM_ENABLEDCHANGED) Heard->push_back(m.Msg);
            Saved(m);
        }
    } watcher{edit->WindowProc(), &heard};
    edit->SetWindowProc(TWndMethod(&watcher, &TWatcher::Proc));
    form.Show();
    HWND window = edit->Handle();
    EXPECT_TRUE(IsWindowVisible(window));
    edit->SetVisible(false);
    EXPECT_FALSE(IsWindowVisible(window));
    edit->SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(window));
    edit->SetEnabled(true);
    edit->SetVisible(true);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(IsWindowEnabled(window));
    std::vector<UINT> expected = {CM_VISIBLECHANGED, CM_ENABLEDCHANGED, CM_ENABLEDCHANGED, CM_VISIBLECHANGED};
    EXPECT_EQ(heard, expected);
    edit->SetWindowProc(watcher.Saved);
}

TEST_F(Controls, AlignedControlsKeepInsideBevelsAndFollowResizing)
{
    TForm form(nullptr);
    form.SetScaled(false);  // pixel positions read at every display scale
    form.SetBorderStyle(bsSizeable);
    form.SetClientWidth(300);
    form.SetClientHeight(200);
    auto* panel = Add<TPanel>(form, &form, 0, 0, 0, 0);
    panel->SetAlign(alClient);
    panel->SetBevelOuter(bvRaised);
    panel->SetBevelInner(bvLowered);
    panel->SetBevelWidth(2);
    panel->SetBorderWidth(3);
    auto* strip = Add<TPanel>(form, panel, 0, 0, 10, 30);
    strip->SetAlign(alTop);
    auto* side = Add<TPanel>(form, panel, 0, 0, 50, 10);
    side->SetAlign(alLeft);
    auto* hiddenTop = Add<TPanel>(form, panel, 0, 0, 10, 40);
    hiddenTop->SetAlign(alTop);
    hiddenTop->SetVisible(false);
    form.FinishCreation();  // lays the aligned controls out
    form.HandleNeeded();

    // 2 + 3 + 2 pixels of bevels and border on each side.
    RECT r = strip->BoundsRect();
    EXPECT_EQ(r.left, 7);
    EXPECT_EQ(r.top, 7);
    EXPECT_EQ(r.right, 293);
    EXPECT_EQ(r.bottom, 37) << "the hidden strip takes no room";
    r = side->BoundsRect();
    EXPECT_EQ(r.top, 37);
    EXPECT_EQ(r.bottom, 193);

    form.SetClientWidth(500);
    form.SetClientHeight(260);
    EXPECT_EQ(panel->Width(), 500);
    EXPECT_EQ(strip->Width(), 486);
    EXPECT_EQ(side->Height(), 260 - 37 - 7);
    hiddenTop->SetVisible(true);
    EXPECT_EQ(side->Top(), 7 + 30 + 40) << "showing an aligned control makes room for it";
}

TEST_F(Controls, LabelsSizeThemselvesToTheirText)
{
    TForm form(nullptr);
    form.FinishCreation();
    auto* label = Add<TLabel>(form, &form, 10, 10, 5, 5);
    label->SetCaption("Velmont 我为人人,人人为我");
    int oneLine = label->Width();
    int lineHeight = label->Height();
    EXPECT_GT(oneLine, 50);
    EXPECT_GT(lineHeight, 8);
    label->SetCaption(label->Caption() + label->Caption());
    EXPECT_GT(label->Width(), oneLine);
    label->SetWordWrap(true);
    label->SetWidth(oneLine);
    label->SetCaption("同一天多次进行数据库备份,程序自动删除同一天的旧备份数据,自动建立新备份数据库!");
    EXPECT_LE(label->Width(), oneLine) << "a wrapping label stays within its width";
    EXPECT_GT(label->Width(), oneLine / 2);
    EXPECT_GT(label->Height(), 2 * lineHeight) << "and grows downwards";
    int wrapped = label->Width();
    label->SetAutoSize(false);
    label->SetCaption("x");
    EXPECT_EQ(label->Width(), wrapped) << "without AutoSize the size stays";
}

TEST_F(Controls, MouseEntersAndLeavesGraphicControls)
{
    TForm form(nullptr);
    auto* a = Add<TLabel>(form, &form, 10, 10, 40, 20);
    a->SetAutoSize(false);
    auto* b = Add<TLabel>(form, &form, 60, 10, 40, 20);
    b->SetAutoSize(false);
    std::vector<std::string> log;
    a->OnMouseEnter = [&](TObject*) { log.push_back("enter a"); };
    a->OnMouseLeave = [&](TObject*) { log.push_back("leave a"); };
    b->OnMouseEnter = [&](TObject*) { log.push_back("enter b"); };
    b->OnMouseLeave = [&](TObject*) { log.push_back("leave b"); };
    HWND window = form.Handle();
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(20, 15));
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(25, 15));
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(70, 15));
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(200, 200));
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(70, 15));
    SendMessageA(window, WM_MOUSELEAVE, 0, 0);
    std::vector<std::string> expected = {"enter a", "leave a", "enter b", "leave b", "enter b", "leave b"};
    EXPECT_EQ(log, expected);
    EXPECT_FALSE(b->MouseInControl());
}

TEST_F(Controls, AltAndTheUnderlinedLetterPressTheButton)
{
    TForm form(nullptr);
    auto* save = Add<TButton>(form, &form, 10, 10, 75, 25);
    save->SetCaption("&Save");
    auto* other = Add<TButton>(form, &form, 100, 10, 75, 25);
    other->SetCaption("S&ize");
    auto* edit = Add<TEdit>(form, &form, 10, 50, 100, 21);
    int saves = 0, others = 0;
    save->OnClick = [&](TObject*) { ++saves; };
    other->OnClick = [&](TObject*) { ++others; };
    form.Show();
    PostMessageA(edit->Handle(), WM_SYSCHAR, 's', 1 << 29);
    PostMessageA(edit->Handle(), WM_SYSCHAR, 'I', 1 << 29);
    Application->ProcessMessages();
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(others, 1);
}

TEST_F(Controls, MessageHookSeesMessagesBeforeTheirWindows)
{
    TForm form(nullptr);
    auto* button = Add<TButton>(form, &form, 10, 10, 75, 25);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    HWND window = button->Handle();
    struct TWatcher {
        TWndMethod Saved;
        int Wheels = 0;
        void Proc(TMessage& m)
        {
            if (m.Msg == WM_MOUSEWHEEL) ++Wheels;
            Saved(m);
        }
    } watcher;
    watcher.Saved = button->WindowProc();
    button->SetWindowProc(TWndMethod(&watcher, &TWatcher::Proc));
    std::vector<UINT> seen;
    Application->OnMessage = [&](MSG& msg, bool& handled) {
        seen.push_back(msg.message);
        if (msg.message == WM_MOUSEWHEEL) handled = true;  // swallowed, as the ledger does
        if (msg.message == WM_USER + 9) throw Exception("hook failed");
    };
    // A handled message reaches no window; an unhandled one does.
    PostMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    PostMessageA(window, BM_CLICK, 0, 0);
    PostMessageA(window, WM_USER + 9, 0, 0);
    Application->ProcessMessages();
    EXPECT_NE(std::find(seen.begin(), seen.end(), static_cast<UINT>(WM_MOUSEWHEEL)), seen.end());
    EXPECT_NE(std::find(seen.begin(), seen.end(), static_cast<UINT>(BM_CLICK)), seen.end());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(watcher.Wheels, 0);
    ASSERT_EQ(Boxes.size(), 1u) << "an error in the hook goes to the error box";
    EXPECT_EQ(Boxes[0], "hook failed");
    button->SetWindowProc(watcher.Saved);
}

TEST_F(Controls, ControlsOutliveAParentTheyDoNotBelongTo)
{
    TForm owner(nullptr);
    auto* panel = new TPanel(nullptr);
    panel->SetParent(&owner);
    auto* edit = Add<TEdit>(owner, panel, 5, 5, 100, 21);
    edit->SetText("kept");
    HWND oldEdit = edit->Handle();
    delete panel;
    EXPECT_EQ(edit->Parent(), nullptr);
    EXPECT_FALSE(edit->HandleAllocated());
    EXPECT_EQ(FindControl(oldEdit), nullptr);
    EXPECT_EQ(edit->Text(), "kept");
    edit->SetParent(&owner);
    EXPECT_TRUE(edit->HandleAllocated()) << "a new parent with a window gives it a window again";
    EXPECT_EQ(edit->Text(), "kept");
    EXPECT_EQ(GetParent(edit->Handle()), owner.Handle());
}

}  // namespace
