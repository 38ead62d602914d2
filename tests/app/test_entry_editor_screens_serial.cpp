// Pictures of the entry editor's two tabs, the delete confirmation and the
// category editor over a small ledger, saved as BMP files in the build's
// screenshots folder for people to look at. Each picture is checked to be
// the whole window and to show more than a blank face. Serial: the windows
// are shown on the display.
#include "tests/app/ledger_windows_fixture.h"
#include "tests/app/window_capture.h"

#include <memory>
#include <set>

namespace {

// Copies the whole window, frame included, once it has painted everything.
TCapture CaptureRepainted(HWND window)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Application->ProcessMessages();
    return CaptureWindow(window);
}

using WindowPicturesTest = LedgerWindowsTest;

TEST_F(WindowPicturesTest, EditorsAndConfirmation)
{
    WriteCategories({"工资", "住房", "日常", "网站建设"});
    StartWith({
        {"工资", "工资", "2026/12/1", "收入", "5000", "十二月的工资"},
        {"房租", "住房", "2026/12/2", "支出", "1500", "第一行\r\n第二行"},
    });
    struct TShot {
        const char* file;
        TForm* form;
        void (*prepare)();
    };
    const TShot shots[] = {
        {"entry_editor_add.bmp", Form2, [] { Form1->ButtonaddnewinfoClick(nullptr); }},
        {"entry_editor_edit.bmp", Form2, [] { DoubleClickGrid(1); }},
        {"delete_confirm.bmp", Form3, [] { Form1->ButtondelClick(nullptr); }},
        {"category_editor.bmp", Form4, [] { Form2->ButtoneditxmlbClick(nullptr); }},
    };
    const std::string folder = ScreenshotFolder();
    for (const TShot& shot : shots) {
        SCOPED_TRACE(shot.file);
        shot.prepare();
        ASSERT_TRUE(shot.form->Visible());
        SetForegroundWindow(shot.form->Handle());
        Application->ProcessMessages();
        TCapture capture = CaptureRepainted(shot.form->Handle());
        EXPECT_TRUE(SaveBmp(capture, folder + shot.file));
        EXPECT_EQ(capture.Width, shot.form->Width());
        EXPECT_EQ(capture.Height, shot.form->Height());
        EXPECT_GT(capture.DistinctColours(), 4u);
        shot.form->Hide();
    }
}

}  // namespace
