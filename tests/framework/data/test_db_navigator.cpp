// The record navigator over a real ledger file: which buttons are enabled
// where the cursor stands, what each button does when clicked, and how
// enabled and disabled glyphs look.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "framework/data/ado_connection.h"
#include "framework/data/db_navigator.h"
#include "framework/display_scale.h"
#include "framework/forms.h"
#include "tests/framework/data/store_test_folder.h"

namespace {

class NavigatorTest : public ::testing::Test {
protected:
    NavigatorTest()
    {
        MakeLedgerFile(FFolder.File(L"data.mdb"));
        FConnection.SetConnectionStringW(L"Data Source=" + FFolder.File(L"data.mdb"));
        for (const char* name : {"a", "b", "c", "d"})
            FConnection.Execute(std::string("insert into data (项目名称, 金额) values ('") + name + "', '1')");
        FQuery.SetConnection(&FConnection);
        FSource.SetDataSet(&FQuery);
        FForm.SetBounds(0, 0, 300, 100);
        FNavigator = new TDBNavigator(&FForm);
        FNavigator->SetParent(&FForm);
        FNavigator->SetBounds(8, 8, 240, 25);
        FNavigator->SetDataSource(&FSource);
        FNavigator->Handle();
    }
    void Open(const std::string& sql = "select * from data order by 编号 asc")
    {
        FQuery.Close();
        FQuery.SQL().Clear();
        FQuery.SQL().Add(sql);
        FQuery.Open();
    }
    void Click(TNavigateBtn button)
    {
        RECT r = FNavigator->ButtonRect(button);
        LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageA(FNavigator->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(FNavigator->Handle(), WM_LBUTTONUP, 0, at);
    }
    // The enabled buttons as a string of letters: F P N L E S C R.
    std::string Enabled() const
    {
        std::string letters;
        for (int b = 0; b < NAVIGATE_BUTTON_COUNT; ++b)
            letters += FNavigator->ButtonEnabled(static_cast<TNavigateBtn>(b)) ? "FPNLESCR"[b] : '-';
        return letters;
    }
    std::string Name() { return FQuery.FieldByName("项目名称").AsString(); }

    TTempFolder FFolder;
    TADOConnection FConnection{nullptr};
    TADOQuery FQuery{nullptr};
    TDataSource FSource{nullptr};
    TForm FForm{nullptr};
    TDBNavigator* FNavigator;
};

TEST_F(NavigatorTest, ButtonsAreEnabledAsTheCursorAllows)
{
    EXPECT_EQ(Enabled(), "--------") << "no open query";
    Open();
    struct Case {
        const char* step;
        std::function<void()> action;
        const char* enabled;
    } cases[] = {
        {"opened: at the beginning", [] {}, "--NLE--R"},
        {"next", [&] { FQuery.Next(); }, "FPNLE--R"},
        {"last: at the end", [&] { FQuery.Last(); }, "FP--E--R"},
        {"edit", [&] { FQuery.Edit(); }, "FP---SCR"},
        {"cancel", [&] { FQuery.Cancel(); }, "FP--E--R"},
        {"first", [&] { FQuery.First(); }, "--NLE--R"},
        {"empty result", [&] { Open("select * from data where 1 = 0"); }, "-------R"},
        {"read-only result", [&] { Open("select count(*) from data"); }, "--NL---R"},
        {"closed", [&] { FQuery.Close(); }, "--------"},
        {"disabled source", [&] { Open(); FSource.SetEnabled(false); }, "--------"},
    };
    for (const Case& c : cases) {
        c.action();
        EXPECT_EQ(Enabled(), c.enabled) << c.step;
    }

    // Only the buttons shown can be enabled, and only they take room.
    FSource.SetEnabled(true);
    FQuery.Next();
    FNavigator->SetVisibleButtons(NavButton(nbFirst) | NavButton(nbPrior) | NavButton(nbNext) | NavButton(nbLast) |
                                  NavButton(nbRefresh));
    EXPECT_EQ(Enabled(), "FPNL---R");
    RECT edit = FNavigator->ButtonRect(nbEdit);
    EXPECT_TRUE(IsRectEmpty(&edit));
    RECT first = FNavigator->ButtonRect(nbFirst), refresh = FNavigator->ButtonRect(nbRefresh);
    EXPECT_EQ(first.left, 0);
    EXPECT_EQ(refresh.right, FNavigator->ClientWidth());
    EXPECT_EQ(first.right - first.left, FNavigator->ClientWidth() / 5);
}

TEST_F(NavigatorTest, ClickedButtonsMoveEditAndRefreshTheQuery)
{
    Open();
    std::vector<TNavigateBtn> clicked;
    FNavigator->OnNavClick = [&](TNavigateBtn b) { clicked.push_back(b); };
    struct Case {
        TNavigateBtn button;
        int recNo;
        const char* name;
    } moves[] = {{nbNext, 2, "b"}, {nbNext, 3, "c"}, {nbLast, 4, "d"}, {nbPrior, 3, "c"}, {nbFirst, 1, "a"}};
    for (const Case& c : moves) {
        Click(c.button);
        EXPECT_EQ(FQuery.RecNo(), c.recNo) << "button " << c.button;
        EXPECT_EQ(Name(), c.name);
    }
    EXPECT_EQ(clicked.size(), 5u);

    // A disabled button does nothing (the cursor is at the beginning).
    Click(nbPrior);
    EXPECT_EQ(FQuery.RecNo(), 1);
    EXPECT_EQ(clicked.size(), 5u);

    // Edit, change, cancel: nothing written. Edit, change, post: written.
    Click(nbEdit);
    EXPECT_EQ(FQuery.State(), dsEdit);
    FQuery.FieldByName("项目名称").SetAsString("dropped");
    Click(nbCancel);
    EXPECT_EQ(FQuery.State(), dsBrowse);
    EXPECT_EQ(Name(), "a");
    Click(nbEdit);
    FQuery.FieldByName("项目名称").SetAsString("kept");
    Click(nbPost);
    EXPECT_EQ(RawQuery(FFolder.File(L"data.mdb"), U8(u8"select 项目名称 from data order by 编号"))[0], "kept");

    // Refresh runs the query again and stays on the same row, even when rows
    // before it went away; the row's new values show.
    FQuery.SetRecNo(3);
    RawQuery(FFolder.File(L"data.mdb"), U8(u8"update data set 项目名称 = 'c2' where 项目名称 = 'c'"));
    RawQuery(FFolder.File(L"data.mdb"), U8(u8"delete from data where 项目名称 = 'kept'"));
    RawQuery(FFolder.File(L"data.mdb"), U8(u8"insert into data (项目名称) values ('e')"));
    Click(nbRefresh);
    EXPECT_EQ(FQuery.RecordCount(), 4);
    EXPECT_EQ(Name(), "c2");
    EXPECT_EQ(FQuery.RecNo(), 2);
    // When the current row itself is gone, the same position is kept.
    RawQuery(FFolder.File(L"data.mdb"), U8(u8"delete from data where 项目名称 = 'c2'"));
    Click(nbRefresh);
    EXPECT_EQ(FQuery.RecNo(), 2);
    EXPECT_EQ(Name(), "d");
}

// The buttons are drawn in the navigator's colour (a skinned window gives it
// the skin's face): the glyph in the button text colour where that reads,
// in white on a dark face, faint when the button is disabled; a pressed
// button's edges turn round.
TEST_F(NavigatorTest, GlyphsShowWhetherAButtonIsEnabledOnAnyFace)
{
    Open();  // at the beginning: first disabled, next enabled
    // The glyphs (9 x 9 at 96) and the edges are drawn at the window's
    // scale, in a navigator laid out at it as a scaled form lays it out.
    const UINT dpi = static_cast<UINT>(ControlPixelsPerInch(FNavigator));
    const auto px = [dpi](int value) { return ScaleToDpi(value, dpi); };
    FNavigator->SetBounds(8, 8, px(240), px(25));
    auto centre = [&](TNavigateBtn b) {
        RECT r = FNavigator->ButtonRect(b);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    };
    const POINT next = centre(nbNext), first = centre(nbFirst);
    const RECT nextRect = FNavigator->ButtonRect(nbNext);
    for (TColor face : {clBtnFace, static_cast<TColor>(RGB(44, 47, 53))}) {
        SCOPED_TRACE(face);
        FNavigator->SetColor(face);
        RECT client = FNavigator->ClientRect();
        TBitmap picture(client.right, client.bottom, pf32bit);
        FNavigator->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(picture.Canvas()->Handle()), PRF_CLIENT);
        auto at = [&](int x, int y) { return static_cast<COLORREF>(picture.Canvas()->Pixel(x, y)) & 0xFFFFFF; };
        const COLORREF faceRgb = ColorToRGB(face);
        const COLORREF glyph = at(next.x - px(1), next.y);
        const COLORREF faint = at(first.x - px(4), first.y);
        EXPECT_EQ(at(next.x + px(8), next.y), faceRgb) << "button face beside the glyph";
        if (face == clBtnFace)
            EXPECT_EQ(glyph, ColorToRGB(clBtnText));
        else
            EXPECT_EQ(glyph, RGB(255, 255, 255)) << "the button text colour would be lost on a dark face";
        EXPECT_NE(faint, glyph);
        EXPECT_NE(faint, faceRgb) << "a disabled glyph is faint, not gone";
        // Raised: the top-left edge lighter than the face, the bottom-right darker.
        auto lum = [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); };
        for (int i = 0; i < px(1); ++i) {
            EXPECT_GT(lum(at(nextRect.left + i, nextRect.top + px(5))), lum(faceRgb)) << "edge column " << i;
            EXPECT_LT(lum(at(nextRect.right - 1 - i, nextRect.top + px(5))), lum(faceRgb)) << "edge column " << i;
        }
        EXPECT_EQ(at(nextRect.left + px(1), nextRect.top + px(5)), faceRgb) << "the edge is as wide as the scale";
        // Held down: the edges turn round and the glyph moves down and right.
        SendMessageA(FNavigator->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(next.x, next.y));
        FNavigator->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(picture.Canvas()->Handle()), PRF_CLIENT);
        EXPECT_LT(lum(at(nextRect.left, nextRect.top + px(5))), lum(faceRgb));
        EXPECT_EQ(at(next.x, next.y + px(1)), glyph);
        SendMessageA(FNavigator->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(0, 40));
    }
}

}  // namespace
