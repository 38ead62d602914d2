// The ledger's windows at other display scales: each one, told by the test
// that its monitor's scale changed (as the system does when a window moves to
// a monitor of another scale), takes the suggested rectangle and lays every
// control out in proportion, then goes back to its first layout when the
// scale goes back. Serial: the windows are shown.
#include "tests/app/ledger_windows_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>

#include "framework/combo_box.h"
#include "framework/display_scale.h"
#include "framework/page_control.h"

namespace {

class LedgerScaleTest : public LedgerWindowsTest {};

struct TPlaced {
    TControl* Control;
    RECT Bounds;
    int FontHeight;
};

// The controls the window's design places (the children of pages
// included), not those the system or a parent places: aligned controls fill
// what the frame of the new scale leaves, and a page control puts its pages
// under tabs as high as their font makes them.
void Collect(TWinControl* parent, std::vector<TPlaced>& out)
{
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (c->Align() == alNone && !As<TTabSheet>(c)) out.push_back({c, c->BoundsRect(), c->Font()->Height()});
        if (auto* windowed = As<TWinControl>(c)) Collect(windowed, out);
    }
}

// Within a pixel for positions; sizes that follow a text's extent (labels,
// combo boxes) may differ by a little more than the factor gives.
bool Near(int actual, int expected, int slack) { return std::abs(actual - expected) <= slack; }

void ExpectInProportion(const std::vector<TPlaced>& before, int from, int to)
{
    for (const TPlaced& p : before) {
        SCOPED_TRACE(p.Control->Name() + " " + std::to_string(from) + " -> " + std::to_string(to));
        const RECT now = p.Control->BoundsRect();
        const int sizeSlack = std::max(2, MulDiv(p.Bounds.right - p.Bounds.left, to, from) / 20);
        const int heightSlack = std::max(2, MulDiv(p.Bounds.bottom - p.Bounds.top, to, from) / 10);
        EXPECT_TRUE(Near(now.left, MulDiv(p.Bounds.left, to, from), 1)) << now.left << " from " << p.Bounds.left;
        EXPECT_TRUE(Near(now.top, MulDiv(p.Bounds.top, to, from), 1)) << now.top << " from " << p.Bounds.top;
        EXPECT_TRUE(Near(now.right - now.left, MulDiv(p.Bounds.right - p.Bounds.left, to, from), sizeSlack))
            << "width " << now.right - now.left << " from " << p.Bounds.right - p.Bounds.left;
        // A combo box is as high as the system makes it for its font.
        if (!As<TCustomComboBox>(p.Control)) {
            EXPECT_TRUE(Near(now.bottom - now.top, MulDiv(p.Bounds.bottom - p.Bounds.top, to, from), heightSlack))
                << "height " << now.bottom - now.top << " from " << p.Bounds.bottom - p.Bounds.top;
        }
        EXPECT_TRUE(Near(p.Control->Font()->Height(), MulDiv(p.FontHeight, to, from), 1))
            << "font " << p.Control->Font()->Height() << " from " << p.FontHeight;
    }
}

TEST_F(LedgerScaleTest, EveryWindowIsLaidOutAgainInProportionWhenItsScaleChanges)
{
    StartWith({Entry("a", "支出", "1"), Entry("b", "收入", "2")});
    for (TForm* form : std::initializer_list<TForm*>{Form1, Form2, Form3, Form4}) {
        SCOPED_TRACE(form->Name());
        form->Show();
        HWND window = form->Handle();
        const int start = form->CurrentPixelsPerInch();
        EXPECT_EQ(start, static_cast<int>(WindowDpi(window))) << "made at its monitor's scale";
        std::vector<TPlaced> before;
        Collect(form, before);
        ASSERT_FALSE(before.empty());
        RECT first;
        GetWindowRect(window, &first);
        const int columnWidth = form == Form1 ? Form1->DBGrid1->Columns(6)->Width() : 0;
        const int panelWidth = form == Form1 ? Form1->StatusBar1->Panels()->Items(0)->Width() : 0;

        for (int dpi : {start * 2, start}) {
            const RECT suggested{first.left, first.top, first.left + MulDiv(first.right - first.left, dpi, start),
                                 first.top + MulDiv(first.bottom - first.top, dpi, start)};
            SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
            Application->ProcessMessages();
            RECT placed;
            GetWindowRect(window, &placed);
            EXPECT_TRUE(EqualRect(&placed, &suggested)) << dpi << ": " << placed.right - placed.left << "x"
                                                        << placed.bottom - placed.top;
            EXPECT_EQ(form->CurrentPixelsPerInch(), dpi);
            ExpectInProportion(before, start, dpi);
            if (form == Form1) {
                // The list's columns and the status bar's panels go with it.
                EXPECT_TRUE(Near(Form1->DBGrid1->Columns(6)->Width(), MulDiv(columnWidth, dpi, start), 1));
                EXPECT_TRUE(Near(Form1->StatusBar1->Panels()->Items(0)->Width(), MulDiv(panelWidth, dpi, start), 1));
            }
        }
        // Back at the first scale: the first layout, to the pixel for
        // whole factors.
        for (const TPlaced& p : before) {
            const RECT now = p.Control->BoundsRect();
            EXPECT_TRUE(EqualRect(&now, &p.Bounds)) << p.Control->Name();
        }
        form->Hide();
    }
}

}  // namespace
