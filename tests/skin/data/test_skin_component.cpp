// The skin component: its published properties and their defaults, the
// class-name table, the stored skin property, loading and failing to load a
// skin, Loaded's rules on SkinControls and Active, skin files, the caption
// hint, the system-menu glyphs and the main window's stored configuration.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/streams.h"
#include "skin/data/skin_component.h"
#include "skin/data/stored_skin.h"
#include "skin_model_support.h"

namespace {

using namespace skintest;

// A memory stream holding `bytes`, positioned at the start.
void Fill(TMemoryStream& stream, const TBytes& bytes) {
    stream.Clear();
    if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    stream.SetPosition(0);
}

// Message boxes answered at once, their texts kept.
class MessageBoxes {
public:
    MessageBoxes() {
        Application->SetMessageBoxHandler([this](const std::string& text, const std::string&, UINT) {
            Texts.push_back(text);
            return IDOK;
        });
    }
    ~MessageBoxes() { Application->SetMessageBoxHandler(nullptr); }
    std::vector<std::string> Texts;
};

// A skin with its name, a face colour and the four window borders (which
// every usable skin has).
TTestSkin NamedSkin(const std::string& name) {
    return TTestSkin{"[TitlebarSkin]\r\nSkinName=" + name + "\r\n[Colours]\r\nButtonFace=1 2 3\r\n"
                     "[Personality]\r\nTop=edge.bmp\r\nBottom=edge.bmp\r\nLeft=edge.bmp\r\nRight=edge.bmp\r\n",
                     {{"edge.bmp", Solid(8, 8, 0x405060)}}};
}

TEST(SkinComponent, PublishedPropertiesHaveTheirDefaults) {
    TSkinData skin(nullptr);
    const std::map<std::string, std::string> expected = {
        {"Active", "False"},
        {"DisableTag", "99"},
        {"SkinControls",
         "[xcMainMenu,xcPopupMenu,xcToolbar,xcControlbar,xcCombo,xcCheckBox,xcRadioButton,xcProgress,xcScrollbar,"
         "xcEdit,xcButton,xcBitBtn,xcSpeedButton,xcSpin,xcPanel,xcGroupBox,xcStatusBar,xcTab,xcTrackBar,"
         "xcSystemMenu]"},
        {"Options", "[xoPreview,xoToolbarBK,xoCaptionButtonHint]"},
        {"SkinFile", ""},
        {"SkinStore", "(none)"},
        {"SkinFormtype", "sfMainform"},
        {"Version", "5.40.07.15"},
        {"MenuUpdate", "True"},
        {"MenuMerge", "False"},
    };
    for (const auto& [name, value] : expected) EXPECT_EQ(GetPropValue(skin, name), value) << name;
    EXPECT_EQ(GetObjectProp(skin, "Skin3rd"), skin.Skin3rd());
    EXPECT_TRUE(skin.NoSkin());
}

TEST(SkinComponent, SetMembersSitAtTheirBitPositions) {
    TSkinData skin(nullptr);
    const struct {
        const char* Property;
        const char* Value;
        unsigned Bits;
    } cases[] = {
        {"SkinControls", "[xcMainMenu]", 1u << 0},
        {"SkinControls", "[xcScrollbar]", 1u << 9},
        {"SkinControls", "[xcSystemMenu,xcFastReport]", 3u << 20},
        {"Options", "[xoMDIScrollbar]", 1u << 0},
        {"Options", "[xoPreview,xoMDIChildBorder]", 1u << 3 | 1u << 8},
        {"Options", "[xoCaptionButtonHint,xoFormScrollbar]", 3u << 10},
    };
    for (const auto& c : cases) {
        SetPropValue(skin, c.Property, c.Value);
        EXPECT_EQ(static_cast<unsigned>(GetOrdProp(skin, c.Property)), c.Bits) << c.Value;
    }
    for (const auto& [value, number] : std::vector<std::pair<std::string, int>>{
             {"sfMainform", 0}, {"sfOnlyThisForm", 1}, {"sfDialog", 2}, {"sfDLL", 3}}) {
        SetPropValue(skin, "SkinFormtype", value);
        EXPECT_EQ(GetOrdProp(skin, "SkinFormtype"), number);
    }
}

TEST(SkinComponent, VersionAndSkinStoreIgnoreWrites) {
    TSkinData skin(nullptr);
    Fill(skin.StoredSkin(), NamedSkin("x").Packed());
    for (const char* name : {"Version", "SkinStore"}) {
        const std::string before = GetStrProp(skin, name);
        SetStrProp(skin, name, "changed");
        EXPECT_EQ(GetStrProp(skin, name), before) << name;
    }
    EXPECT_EQ(skin.SkinStore(), "(none)");   // at run time, even with a skin stored
}

TEST(SkinComponent, ClassNameTableHas118LinesOfTheirKinds) {
    TSkinData skin(nullptr);
    const TStringList& table = *skin.Skin3rd();
    ASSERT_EQ(table.Count(), 118);
    EXPECT_EQ(table.Get(0), "TCategoryButtons=Scrollbar");
    EXPECT_EQ(table.Get(117), "TOVCDBNUMERICFIELD=Edit");

    std::map<std::string, int> kinds;
    for (int i = 0; i < table.Count(); ++i) {
        const std::string line = table.Get(i);
        const std::size_t eq = line.find('=');
        ASSERT_NE(eq, std::string::npos) << line;
        std::string kind = line.substr(eq + 1);
        for (char& ch : kind) ch = static_cast<char>(tolower(static_cast<unsigned char>(ch)));
        ++kinds[kind];
    }
    const std::map<std::string, int> expected = {
        {"scrollbar", 10}, {"pngspeedbutton", 1}, {"pngbitbtn", 1}, {"speedbutton", 3}, {"button", 1},
        {"bitbtn", 3},     {"menubtn", 1},        {"checkgroup", 3}, {"radiogroup", 7},  {"radiobutton", 2},
        {"groupbox", 2},   {"checkbox", 4},       {"panel", 15},     {"edit", 26},       {"combobox", 39},
    };
    EXPECT_EQ(kinds, expected);

    const struct {
        const char* ClassName;
        const char* Kind;
    } lookups[] = {
        {"TLMDGroupBox", "groupbox"},   // the first of two spellings of the class
        {"tlmdgroupbox", "groupbox"},
        {"TcxButton", "bitbtn"},
        {"TWWDBCombobox", "combobox"},
        {"TButton", ""},
        {"TRzButto", ""},               // a prefix of a class is not the class
    };
    for (const auto& l : lookups) EXPECT_EQ(skin.ThirdPartyKind(l.ClassName), l.Kind) << l.ClassName;

    // The answers follow the table as the program changes it after asking:
    // a line added, changed in place, the table replaced, emptied.
    TStringList* edited = skin.Skin3rd();
    edited->Add("TMyGrid=scrollbar");
    EXPECT_EQ(skin.ThirdPartyKind("TMyGrid"), "scrollbar");
    edited->Put(edited->Count() - 1, "TMyGrid=nil");
    EXPECT_EQ(skin.ThirdPartyKind("TMyGrid"), "nil");
    TStringList other;
    other.Add("TButton=bitbtn");
    skin.SetSkin3rd(&other);
    EXPECT_EQ(skin.ThirdPartyKind("TButton"), "bitbtn");
    EXPECT_EQ(skin.ThirdPartyKind("TcxButton"), "");
    edited->Clear();
    EXPECT_EQ(skin.ThirdPartyKind("TButton"), "");
}

TEST(SkinComponent, StoredSkinIsReadWithItsCountAndLoadedAtOnce) {
    TSkinData skin(nullptr);
    const TBytes stored = StoredSkinBytes();
    ASSERT_FALSE(stored.empty()) << RAVELBOOK_SKIN_BIN;
    TMemoryStream in;
    Fill(in, stored);
    skin.ReadSkinStream(in);
    EXPECT_FALSE(skin.NoSkin());
    EXPECT_EQ(skin.Model().SkinName, "Ravelbook");
    EXPECT_EQ(skin.Object(ssScrollbar)->Frame, 23);
    EXPECT_EQ(skin.FaceColour(), SkinRgb(229, 229, 229));
    ASSERT_NE(skin.FaceBrush(), nullptr);
    LOGBRUSH brush{};
    GetObjectA(skin.FaceBrush(), sizeof(brush), &brush);
    EXPECT_EQ(brush.lbColor, RGB(229, 229, 229));

    TMemoryStream out;
    skin.WriteSkinStream(out);
    ASSERT_EQ(out.Size(), static_cast<int64_t>(stored.size()));
    EXPECT_EQ(std::memcmp(out.Memory(), stored.data(), stored.size()), 0);
}

TEST(SkinComponent, StoredPropertyWithoutSkinOrCutShortLoadsNothing) {
    const struct {
        const char* Case;
        TBytes Bytes;
        bool Throws;
    } cases[] = {
        {"count 0", {0, 0, 0, 0}, false},
        {"negative count", {0xFF, 0xFF, 0xFF, 0xFF}, false},
        {"count past the end", {100, 0, 0, 0, 1, 2, 3}, true},
        {"no count", {1, 0}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Case);
        TSkinData skin(nullptr);
        TMemoryStream in;
        Fill(in, c.Bytes);
        if (c.Throws)
            EXPECT_THROW(skin.ReadSkinStream(in), EReadError);
        else
            EXPECT_NO_THROW(skin.ReadSkinStream(in));
        EXPECT_TRUE(skin.NoSkin());
        EXPECT_EQ(skin.StoredSkin().Size(), 0);
    }
}

TEST(SkinComponent, UnknownVersionKeepsTheModelAndEndsLoadedInactive) {
    MessageBoxes boxes;
    TSkinData skin(nullptr);
    skin.BeginLoading();   // as while its form is being built
    TMemoryStream in;
    Fill(in, NamedSkin("first").Stored());
    skin.ReadSkinStream(in);
    ASSERT_FALSE(skin.NoSkin());

    skin.SetActive(true);
    Fill(in, FrameSkinStream(UnknownVersionContainer()));
    skin.ReadSkinStream(in);
    EXPECT_TRUE(skin.NoSkin());
    EXPECT_EQ(skin.Model().SkinName, "first");
    EXPECT_EQ(skin.FaceColour(), SkinRgb(1, 2, 3));
    EXPECT_EQ(boxes.Texts, (std::vector<std::string>{"This is Older Skin File\rPlease update to new version !"}));

    EXPECT_TRUE(skin.Active());
    skin.Loaded();
    EXPECT_FALSE(skin.Active());
}

TEST(SkinComponent, ActiveWithASkinStaysOnAfterLoaded) {
    TSkinData skin(nullptr);
    skin.BeginLoading();
    skin.SetActive(true);
    TMemoryStream in;
    Fill(in, NamedSkin("ok").Stored());
    skin.ReadSkinStream(in);
    skin.Loaded();
    EXPECT_TRUE(skin.Active());
}

TEST(SkinComponent, LoadedKeepsMenuItemsAndSystemMenuApart) {
    const unsigned mainMenu = SkinControl(xcMainMenu), item = SkinControl(xcMenuItem),
                   system = SkinControl(xcSystemMenu), edit = SkinControl(xcEdit);
    const struct {
        unsigned Before, After;
    } cases[] = {
        {mainMenu | item | system | edit, mainMenu | system | edit},
        {mainMenu | edit, mainMenu | edit},
        {item | system | edit, item | edit},
        {system, 0},
        {0, 0},
    };
    for (const auto& c : cases) {
        TSkinData skin(nullptr);
        skin.BeginLoading();
        skin.SetSkinControls(c.Before | SkinControl(xcScrollbar));
        skin.Loaded();
        EXPECT_EQ(skin.SkinControls(), c.After | SkinControl(xcScrollbar)) << std::hex << c.Before;
    }
}

TEST(SkinComponent, WithoutScrollBarInformationScrollBarsAreNotSkinned) {
    ASSERT_NE(SkinGetScrollBarInfoProc, nullptr);   // user32 has it here
    const TGetScrollBarInfoProc saved = SkinGetScrollBarInfoProc;
    SkinGetScrollBarInfoProc = nullptr;
    TSkinData skin(nullptr);
    skin.BeginLoading();
    skin.Loaded();
    SCROLLBARINFO info{};
    const bool answered = SkinGetScrollBarInfo(GetDesktopWindow(), OBJID_VSCROLL, info);
    SkinGetScrollBarInfoProc = saved;
    EXPECT_FALSE(skin.SkinControls() & SkinControl(xcScrollbar));
    EXPECT_FALSE(answered);
}

// A temporary file of the test, removed at the end of the scope.
struct TTempFile {
    explicit TTempFile(const TBytes& bytes) {
        char dir[MAX_PATH], name[MAX_PATH];
        GetTempPathA(MAX_PATH, dir);
        GetTempFileNameA(dir, "skn", 0, name);
        Path = name;
        FILE* f = std::fopen(name, "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    ~TTempFile() { DeleteFileA(Path.c_str()); }
    std::string Path;
};

TEST(SkinComponent, SkinFileLoadsAnExistingFileAndKeepsTheSkinForAMissingOne) {
    TSkinData skin(nullptr);
    skin.BeginLoading();
    TMemoryStream in;
    Fill(in, NamedSkin("stored").Stored());
    skin.ReadSkinStream(in);
    skin.Loaded();
    const int64_t storedSize = skin.StoredSkin().Size();

    MessageBoxes boxes;
    skin.SetSkinFile("Z:\\no\\such\\folder\\missing.skn");
    ASSERT_EQ(boxes.Texts.size(), 1u);
    EXPECT_NE(boxes.Texts[0].find("not found"), std::string::npos) << boxes.Texts[0];
    EXPECT_EQ(skin.Model().SkinName, "stored");
    EXPECT_FALSE(skin.NoSkin());
    EXPECT_EQ(skin.StoredSkin().Size(), storedSize);

    const TBytes fileBytes = NamedSkin("from file").Packed();
    TTempFile file(fileBytes);
    skin.SetSkinFile(file.Path);
    EXPECT_EQ(skin.SkinFile(), file.Path);
    EXPECT_EQ(skin.Model().SkinName, "from file");
    EXPECT_FALSE(skin.NoSkin());
    EXPECT_EQ(skin.StoredSkin().Size(), static_cast<int64_t>(fileBytes.size()));
    EXPECT_EQ(boxes.Texts.size(), 1u);
}

TEST(SkinComponent, CaptionHintShowsOnceAtTheRectangleAndHides) {
    TSkinData skin(nullptr);
    HWND hint = skin.CaptionHintWindow();
    ASSERT_NE(hint, nullptr);
    skin.ShowCaptionHint(RECT{120, 80, 140, 100}, "关闭");
    EXPECT_TRUE(skin.CaptionHintShowing());
    EXPECT_TRUE(IsWindowVisible(hint));
    RECT r;
    GetWindowRect(hint, &r);
    EXPECT_EQ(r.left, 120);
    EXPECT_EQ(r.top, 80);
    EXPECT_GT(r.right - r.left, 6);
    EXPECT_LE(r.right - r.left, 520);

    skin.ShowCaptionHint(RECT{300, 300, 310, 310}, "other");   // already showing: stays where it is
    GetWindowRect(hint, &r);
    EXPECT_EQ(r.left, 120);

    skin.HideCaptionHint();
    EXPECT_FALSE(skin.CaptionHintShowing());
    EXPECT_FALSE(IsWindowVisible(hint));

    skin.SetOptions(skin.Options() & ~SkinOption(xoCaptionButtonHint));
    skin.ShowCaptionHint(RECT{10, 10, 20, 20}, "off");
    EXPECT_FALSE(skin.CaptionHintShowing());
    EXPECT_FALSE(IsWindowVisible(hint));
}

TEST(SkinComponent, MenuGlyphsAreFourMaskedPictures) {
    TSkinData skin(nullptr);
    ASSERT_NE(skin.MenuGlyphs(), nullptr);
    EXPECT_EQ(ImageList_GetImageCount(skin.MenuGlyphs()), 4);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(skin.MenuGlyphs(), &cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);

    // Each glyph drawn on red: its ink is black, the rest stays red.
    const struct {
        int Index;
        POINT Ink;
    } glyphs[] = {{0, {6, 3}}, {1, {8, 2}}, {2, {6, 11}}, {3, {7, 6}}};
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (const auto& g : glyphs) {
        SCOPED_TRACE(g.Index);
        RECT all{0, 0, 16, 16};
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        FillRect(dc, &all, red);
        DeleteObject(red);
        ImageList_Draw(skin.MenuGlyphs(), g.Index, dc, 0, 0, ILD_TRANSPARENT);
        EXPECT_EQ(GetPixel(dc, g.Ink.x, g.Ink.y), RGB(0, 0, 0));
        EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
        EXPECT_EQ(GetPixel(dc, 15, 15), RGB(255, 0, 0));
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST(SkinComponent, LoadedMakesTheCaptionFontAndIconBitmap) {
    TSkinData skin(nullptr);
    skin.BeginLoading();
    skin.Loaded();
    ASSERT_NE(skin.CaptionFont(), nullptr);
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    EXPECT_EQ(skin.CaptionFont()->Name(), metrics.lfCaptionFont.lfFaceName);
    EXPECT_EQ(skin.CaptionFont()->Height(), metrics.lfCaptionFont.lfHeight);

    TBitmap* icon = skin.IconBitmap();
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->Width(), GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(icon->Height(), GetSystemMetrics(SM_CYSMICON));
    EXPECT_EQ(icon->PixelFormat(), pf24bit);
    EXPECT_EQ(icon->TransparentColor(), clFuchsia);
}

TEST(StoredSkinConfiguration, SetsTheMainWindowsPropertiesAndSkin) {
    TSkinData skin(nullptr);
    skin.BeginLoading();
    TMemoryStream in;
    Fill(in, StoredSkinBytes());
    ConfigureStoredSkin(skin, in);
    skin.Loaded();
    EXPECT_TRUE(skin.Active());
    EXPECT_FALSE(skin.NoSkin());
    EXPECT_EQ(skin.Model().SkinName, "Ravelbook");
    EXPECT_EQ(skin.DisableTag(), 99);
    EXPECT_EQ(skin.SkinControls(),
              ALL_SKIN_CONTROLS & ~SkinControl(xcMenuItem) & ~SkinControl(xcSystemMenu) & ~SkinControl(xcFastReport));
    EXPECT_EQ(skin.Options(), DEFAULT_SKIN_OPTIONS);
    EXPECT_EQ(skin.SkinFormtype(), sfMainform);
    EXPECT_TRUE(skin.MenuUpdate());
    EXPECT_FALSE(skin.MenuMerge());
    EXPECT_EQ(skin.Skin3rd()->Count(), 118);
}

TEST(StoredSkinConfiguration, WithoutTheResourceTheComponentEndsInactive) {
    // Test programs carry no SKINSTREAM resource.
    TSkinData skin(nullptr);
    skin.BeginLoading();
    ConfigureStoredSkin(skin);
    skin.Loaded();
    EXPECT_TRUE(skin.NoSkin());
    EXPECT_FALSE(skin.Active());
}

}  // namespace
