// The Windows side of the skin reader: the message for an unknown container
// version, and skin bitmaps loaded into framework bitmaps.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "framework/graphics.h"
#include "framework/streams.h"
#include "skin/data/bmp_file.h"
#include "skin/data/lzh_codec.h"
#include "skin/data/skin_reader.h"
#include "skin/data/skin_reader_win.h"
#include "tests/thread_windows.h"

namespace {

using TBytes = std::vector<std::uint8_t>;

struct TSeenBox {
    std::string Title;
    std::string Text;
    int Boxes = 0;
};
TSeenBox g_seen;

void CALLBACK AnswerBox(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = nullptr;
    box = testwin::VisibleThreadWindow(testwin::MESSAGE_BOX_CLASS);
    if (!box) return;
    KillTimer(nullptr, id);
    char title[256] = {};
    char text[1024] = {};
    GetWindowTextA(box, title, sizeof title);
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    g_seen.Title = title;
    g_seen.Text = text;
    ++g_seen.Boxes;
    SendMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
}

TBytes WithVersion(std::int32_t version) {
    TBytes plain = BuildSkinContainer({{"skin.ini", {'x'}}});
    TBytes patched;
    AppendLE32(patched, version);
    patched.insert(patched.end(), plain.begin() + 4, plain.end());
    return LzhPackWithSize(patched.data(), patched.size());
}

TEST(SkinReaderWin, UnknownVersionShowsTheOlderSkinMessage) {
    g_seen = TSeenBox();
    const TBytes old = WithVersion(10000);
    TSkinReader reader;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, AnswerBox);
    EXPECT_FALSE(LoadSkinContainer(reader, old.data(), old.size(), "Ravelbook"));
    KillTimer(nullptr, timer);
    EXPECT_EQ(g_seen.Boxes, 1);
    EXPECT_EQ(g_seen.Title, "Ravelbook");
    // The static control shows the carriage return as it stands; the text is
    // the two lines joined by it.
    EXPECT_NE(g_seen.Text.find("This is Older Skin File"), std::string::npos) << g_seen.Text;
    EXPECT_NE(g_seen.Text.find("Please update to new version !"), std::string::npos) << g_seen.Text;
    EXPECT_EQ(g_seen.Text.find('\n'), std::string::npos);
}

TEST(SkinReaderWin, KnownVersionsAndDamageShowNoMessage) {
    g_seen = TSeenBox();
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, AnswerBox);
    TSkinReader reader;
    const TBytes good = WithVersion(70000);
    EXPECT_TRUE(LoadSkinContainer(reader, good.data(), good.size(), "Ravelbook"));
    TMemoryStream stream;
    TBytes damaged;
    AppendLE32(damaged, 50000000);
    damaged.push_back(1);
    stream.Write(damaged.data(), static_cast<std::int64_t>(damaged.size()));
    EXPECT_FALSE(LoadSkinContainer(reader, stream, "Ravelbook"));
    EXPECT_EQ(reader.LastResult(), TSkinLoadResult::Damaged);
    // Give a wrongly shown box the chance to appear.
    MSG msg;
    const DWORD until = GetTickCount() + 200;
    while (GetTickCount() < until)
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    KillTimer(nullptr, timer);
    EXPECT_EQ(g_seen.Boxes, 0);
}

TEST(SkinReaderWin, LoadsSkinBitmapsByDescriptionValue) {
    TBmpImage image;
    image.Width = 4;
    image.Height = 3;
    for (int i = 0; i < 12; ++i) image.Pixels.push_back(i == 5 ? 0xFF00FFu : static_cast<std::uint32_t>(0x102030 * i));
    TSkinReader reader;
    ASSERT_TRUE(reader.Load(PackSkinContainer({{"skin.ini", {}}, {"Frame.bmp", WriteBmp24(image)},
                                               {"broken.bmp", {'B', 'M', 1, 2}}})));

    TBitmap bitmap;
    ASSERT_TRUE(LoadSkinBitmap(reader, "Skins\\FRAME.bmp", bitmap));
    ASSERT_EQ(bitmap.Width(), 4);
    ASSERT_EQ(bitmap.Height(), 3);
    for (int y = 0; y < 3; ++y) {
        const auto* row = static_cast<const std::uint8_t*>(bitmap.ScanLine(y));
        for (int x = 0; x < 4; ++x) {
            const std::uint32_t c = row[3 * x] | (row[3 * x + 1] << 8) | (row[3 * x + 2] << 16);
            EXPECT_EQ(c, image.Pixel(x, y)) << x << "," << y;
        }
    }

    for (const char* value : {"frame.BMP", "missing.bmp", "broken.bmp", ""}) {
        SCOPED_TRACE(value);
        ASSERT_TRUE(LoadSkinBitmap(reader, "frame.bmp", bitmap));
        EXPECT_FALSE(LoadSkinBitmap(reader, value, bitmap));
        EXPECT_TRUE(bitmap.Empty());
    }
}

}  // namespace
