// Pictures of the entry editor's two tabs, the delete confirmation and the
// category editor over a small ledger, saved as BMP files in the build's
// screenshots folder for people to look at. Each picture is checked to be
// the whole window and to show more than a blank face. Serial: the windows
// are shown on the display.
#include "tests/app/ledger_windows_fixture.h"

#include <memory>
#include <set>

namespace {

// The build's screenshots folder: beside the folder of the test program.
std::wstring ScreenshotFolder()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    folder.resize(folder.find_last_of(L'\\'));               // .../build/tests
    folder.resize(folder.find_last_of(L'\\') + 1);           // .../build/
    folder += L"screenshots\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

struct TCapture {
    int Width = 0, Height = 0;
    std::vector<unsigned char> Pixels;  // 32-bit BGRX, top row first
    size_t DistinctColours() const
    {
        std::set<unsigned> colours;
        for (size_t i = 0; i + 3 < Pixels.size(); i += 4)
            colours.insert(Pixels[i] | Pixels[i + 1] << 8 | Pixels[i + 2] << 16);
        return colours.size();
    }
};

// Copies the whole window, frame included, from its own device context.
TCapture CaptureWindow(HWND window)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Application->ProcessMessages();
    RECT r;
    GetWindowRect(window, &r);
    TCapture capture;
    capture.Width = r.right - r.left;
    capture.Height = r.bottom - r.top;
    HDC windowDc = GetWindowDC(window);
    HDC memoryDc = CreateCompatibleDC(windowDc);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = capture.Width;
    info.bmiHeader.biHeight = -capture.Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memoryDc, bitmap);
    BitBlt(memoryDc, 0, 0, capture.Width, capture.Height, windowDc, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* bytes = static_cast<const unsigned char*>(bits);
    capture.Pixels.assign(bytes, bytes + static_cast<size_t>(capture.Width) * capture.Height * 4);
    SelectObject(memoryDc, old);
    DeleteObject(bitmap);
    DeleteDC(memoryDc);
    ReleaseDC(window, windowDc);
    return capture;
}

void SaveBmp(const TCapture& capture, const std::wstring& path)
{
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = capture.Width;
    header.biHeight = -capture.Height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + capture.Pixels.size());
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(f, &file, sizeof file, &written, nullptr);
    WriteFile(f, &header, sizeof header, &written, nullptr);
    WriteFile(f, capture.Pixels.data(), static_cast<DWORD>(capture.Pixels.size()), &written, nullptr);
    CloseHandle(f);
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
        const wchar_t* file;
        TForm* form;
        void (*prepare)();
    };
    const TShot shots[] = {
        {L"entry_editor_add.bmp", Form2, [] { Form1->ButtonaddnewinfoClick(nullptr); }},
        {L"entry_editor_edit.bmp", Form2, [] { DoubleClickGrid(1); }},
        {L"delete_confirm.bmp", Form3, [] { Form1->ButtondelClick(nullptr); }},
        {L"category_editor.bmp", Form4, [] { Form2->ButtoneditxmlbClick(nullptr); }},
    };
    const std::wstring folder = ScreenshotFolder();
    for (const TShot& shot : shots) {
        SCOPED_TRACE(WideToAnsi(shot.file));
        shot.prepare();
        ASSERT_TRUE(shot.form->Visible());
        SetForegroundWindow(shot.form->Handle());
        Application->ProcessMessages();
        TCapture capture = CaptureWindow(shot.form->Handle());
        SaveBmp(capture, folder + shot.file);
        EXPECT_EQ(capture.Width, shot.form->Width());
        EXPECT_EQ(capture.Height, shot.form->Height());
        EXPECT_GT(capture.DistinctColours(), 4u);
        shot.form->Hide();
    }
}

}  // namespace
