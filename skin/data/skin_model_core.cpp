// The skin model and its build (see skin_model_core.h).
#include "skin/data/skin_model_core.h"

#include <algorithm>
#include <utility>

#include "skin/data/colour_text.h"
#include "skin/data/quick_ini.h"
#include "skin/data/skin_reader.h"

namespace {

// System colour indices of the platform, kept symbolic in the model.
enum : int {
    SYS_SCROLLBAR = 0,
    SYS_MENU = 4,
    SYS_MENUTEXT = 7,
    SYS_WINDOWTEXT = 8,
    SYS_CAPTIONTEXT = 9,
    SYS_HIGHLIGHT = 13,
    SYS_HIGHLIGHTTEXT = 14,
    SYS_BTNFACE = 15,
    SYS_BTNSHADOW = 16,
    SYS_BTNTEXT = 18,
    SYS_INACTIVECAPTIONTEXT = 19,
    SYS_BTNHIGHLIGHT = 20,
    SYS_3DDKSHADOW = 21,
};

constexpr const char* SECTION_NAMES[SKIN_SECTION_COUNT] = {
    "Progress",           "Progress.Chunk",     "Personality",         "GroupBoxEdge",
    "GroupBox",           "Tabs",               "StatusBarEdges",      "Tab.Pane",
    "ToolBars",           "ComboButton",        "SunkEdge",            "ExtraImages",
    "Headerbar",          "MenuItem",           "MenuBackground",      "Scrollbar",
    "HorzScroll",         "VertScroll",         "HorzScrollThumb",     "VertScrollThumb",
    "Trackbar.ThumbHorz", "Trackbar.ThumbVert", "Trackbar.ThumbLeft",  "Trackbar.ThumbRight",
    "Trackbar.ThumbUp",   "Trackbar.ThumbDown", "UpDown.Horz",         "UpDown.Vert",
    "Track",              "TRACKVERT",          "ComboxArrow",         "Toolbar",
};

constexpr const char* BORDER_NAMES[SKIN_BORDER_COUNT] = {"Left", "Right", "Top", "Bottom"};

// The "Colours" keys and their defaults when absent.
struct TColourKey {
    const char* Key;        // null: not read
    TSkinColour Default;
};
constexpr TColourKey COLOUR_KEYS[SKIN_COLOUR_COUNT] = {
    {"WindowText", SkinSystemColour(SYS_WINDOWTEXT)},
    {"TitleTextActive", SkinSystemColour(SYS_CAPTIONTEXT)},
    {"TitleTextNoActive", SkinSystemColour(SYS_INACTIVECAPTIONTEXT)},
    {"ButtonFace", SkinSystemColour(SYS_BTNFACE)},
    {"ButtonText", SkinSystemColour(SYS_BTNTEXT)},
    {"ButtonHilight", SkinSystemColour(SYS_BTNHIGHLIGHT)},
    {"Buttonlight", SkinSystemColour(SYS_BTNHIGHLIGHT)},
    {"ButtonShadow", SkinSystemColour(SYS_BTNSHADOW)},
    {"ButtonDkShadow", SkinSystemColour(SYS_3DDKSHADOW)},
    {nullptr, 0},
    {nullptr, 0},
    {"HilightText", SkinSystemColour(SYS_HIGHLIGHTTEXT)},
    {"Hilight", SkinSystemColour(SYS_HIGHLIGHT)},
    {"Menubar", 0},         // default: the face colour as just read
    {"MenuBarText", SkinSystemColour(SYS_MENUTEXT)},
    {"MenuText", SkinSystemColour(SYS_MENUTEXT)},
    {"Menu", SkinSystemColour(SYS_MENU)},
    {nullptr, 0},           // sampled after the build
    {"Scrollbar", SkinSystemColour(SYS_SCROLLBAR)},
};

// How a section is read.
enum class TReader {
    Generic,    // TDataSkinObject, "Image"
    Border,     // TDataSkinBorder, "Image" and a second image, no "Frame"
    BoxLabel,   // TDataSkinBoxLabel, "Image" and the background keys, no "Frame"
    Progress,   // TDataSkinBorder, "Bitmap", "Style", margins, "Trans", "Tile"
};

// The frame count a section has after the build.
enum TFrameRule : int {
    FRAME_AS_READ = -1,
    FRAME_PROGRESS = -2,        // 1 with a style, else 2
    FRAME_HEADER = -3,          // as read, 5 when 0
    FRAME_COUNT_KEY = -4,       // the section's "FrameCount" (3)
};

struct TSectionRule {
    TSkinSection Slot;
    TReader Reader;
    const char* SecondKey;      // Border: the key of Bitmap2
    int Frames;                 // a count, or a TFrameRule
};

// Step one of the sections: read before the combo box image is mirrored.
constexpr TSectionRule FIRST_SECTIONS[] = {
    {ssProgress, TReader::Progress, nullptr, FRAME_PROGRESS},
    {ssProgressChunk, TReader::Generic, nullptr, FRAME_AS_READ},
};
constexpr TSectionRule MIDDLE_SECTIONS[] = {
    {ssGroupBoxEdge, TReader::Generic, nullptr, 2},
    {ssGroupBox, TReader::BoxLabel, nullptr, 1},
    {ssTabs, TReader::Border, "Border", 5},
    {ssStatusBarEdges, TReader::Generic, nullptr, 3},
    {ssTabPane, TReader::Generic, nullptr, 1},
    {ssToolBars, TReader::Generic, nullptr, 5},
    {ssComboButton, TReader::Border, nullptr, 4},
    {ssSunkEdge, TReader::Generic, nullptr, 4},
};
constexpr TSectionRule LAST_SECTIONS[] = {
    {ssExtraImages, TReader::Generic, nullptr, 5},
    {ssHeaderbar, TReader::Generic, nullptr, FRAME_HEADER},
    {ssMenuItem, TReader::Generic, nullptr, 5},
    {ssMenuBackground, TReader::Generic, nullptr, 1},
    {ssScrollbar, TReader::Generic, nullptr, 23},
    {ssHorzScroll, TReader::Generic, nullptr, 4},
    {ssVertScroll, TReader::Generic, nullptr, 4},
    {ssHorzScrollThumb, TReader::Generic, nullptr, FRAME_COUNT_KEY},
    {ssVertScrollThumb, TReader::Generic, nullptr, FRAME_COUNT_KEY},
    {ssTrackbarThumbHorz, TReader::Generic, nullptr, 5},
    {ssTrackbarThumbVert, TReader::Generic, nullptr, 5},
    {ssTrackbarThumbLeft, TReader::Generic, nullptr, 5},
    {ssTrackbarThumbRight, TReader::Generic, nullptr, 5},
    {ssTrackbarThumbUp, TReader::Generic, nullptr, 5},
    {ssTrackbarThumbDown, TReader::Generic, nullptr, 5},
    {ssUpDownHorz, TReader::Border, "GlyphImage", 8},
    {ssUpDownVert, TReader::Border, "GlyphImage", 8},
    {ssTrack, TReader::Generic, nullptr, FRAME_AS_READ},
    {ssTrackVert, TReader::Generic, nullptr, FRAME_AS_READ},
};

std::string UpperCase(std::string text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (SkinIsLeadByte(text, i)) {
            ++i;
            continue;
        }
        if (text[i] >= 'a' && text[i] <= 'z') text[i] = static_cast<char>(text[i] - 'a' + 'A');
    }
    return text;
}

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// Reads the image a value of the description names; empty when the value
// names nothing loadable.
TSkinImage LoadImage(const TSkinReader& reader, const std::string& value) {
    TBmpImage image;
    if (!value.empty() && reader.DecodeBitmap(value, image)) return TSkinImage(std::move(image));
    return TSkinImage();
}

// The image a key of a section names, with the larger pictures the skin
// ships for other scales under the same key followed by "." and the scale.
TSkinImage LoadImage(const TSkinReader& reader, const TQuickIni& ini, const std::string& section,
                     const std::string& key, const std::string& value) {
    TSkinImage image = LoadImage(reader, value);
    if (image.Empty()) return image;
    for (const auto& [dpi, name] : SkinScaleVariantKeys(ini, section, key)) {
        TBmpImage larger;
        if (reader.DecodeBitmap(name, larger)) image.AddVariant(dpi, std::move(larger));
    }
    return image;
}

TSkinImage LoadImage(const TSkinReader& reader, const TQuickIni& ini, const std::string& section,
                     const std::string& key) {
    return LoadImage(reader, ini, section, key, ini.ReadString(section, key, ""));
}

// A colour key: the colour text, or `defaultColour` when absent or empty.
TSkinColour ReadColour(const TQuickIni& ini, const std::string& section, const std::string& key,
                       TSkinColour defaultColour, bool* given = nullptr) {
    const std::string text = ini.ReadString(section, key, "");
    TSkinColour colour = defaultColour;
    const bool parsed = ParseColourText(text, colour);
    if (given) *given = parsed;
    return parsed ? colour : defaultColour;
}

// Back to a freshly made object of the given name.
void ResetObject(TDataSkinObject& o, const std::string& name) {
    o.LeftWidth = o.TopHeight = o.RightWidth = o.BottomHeight = 0;
    o.Bitmap.Clear();
    o.Trans = o.Tile = 0;
    o.Name = name;
    o.Frame = o.Style = 0;
    o.NormalColour = o.MouseOverColour = o.PressedColour = -1;
    o.NormalColour2 = o.MouseOverColour2 = o.PressedColour2 = 0;
}

void ReadMargins(const TQuickIni& ini, const std::string& s, TDataSkinObject& o) {
    o.LeftWidth = ini.ReadInteger(s, "LeftWidth", 0);
    o.TopHeight = ini.ReadInteger(s, "TopHeight", 0);
    o.RightWidth = ini.ReadInteger(s, "RightWidth", 0);
    o.BottomHeight = ini.ReadInteger(s, "BottomHeight", 0);
}

void ReadColourIndices(const TQuickIni& ini, const std::string& s, TDataSkinObject& o) {
    o.NormalColour = ini.ReadInteger(s, "NormalColour", -1);
    o.MouseOverColour = ini.ReadInteger(s, "MouseOverColour", -1);
    o.PressedColour = ini.ReadInteger(s, "PressedColour", -1);
}

std::unique_ptr<TDataSkinObject> ReadSection(const TQuickIni& ini, const TSkinReader& reader,
                                             const TSectionRule& rule, TSkinColour buttonText) {
    const std::string s = SECTION_NAMES[rule.Slot];
    const std::string image = ini.ReadString(s, rule.Reader == TReader::Progress ? "Bitmap" : "Image", "");
    if (image.empty()) return nullptr;

    std::unique_ptr<TDataSkinObject> object;
    switch (rule.Reader) {
    case TReader::Generic: object = std::make_unique<TDataSkinObject>(s); break;
    case TReader::Border:
    case TReader::Progress: object = std::make_unique<TDataSkinBorder>(s); break;
    case TReader::BoxLabel: object = std::make_unique<TDataSkinBoxLabel>(s); break;
    }
    TDataSkinObject& o = *object;
    o.Bitmap = LoadImage(reader, ini, s, rule.Reader == TReader::Progress ? "Bitmap" : "Image", image);
    o.Style = ini.ReadInteger(s, "Style", 0);
    ReadMargins(ini, s, o);
    o.Trans = ini.ReadInteger(s, "Trans", 0);
    o.Tile = ini.ReadInteger(s, "Tile", 0);
    if (rule.Reader == TReader::Progress) {
        if (o.Tile > 1) o.Tile = 1;
        return object;
    }
    if (rule.Reader == TReader::Generic) o.Frame = ini.ReadInteger(s, "Frame", 0);
    if (rule.Reader == TReader::Border && rule.SecondKey)
        static_cast<TDataSkinBorder&>(o).Bitmap2 = LoadImage(reader, ini, s, rule.SecondKey);
    if (rule.Reader == TReader::BoxLabel) {
        auto& label = static_cast<TDataSkinBoxLabel&>(o);
        label.BackgroundLeftShift = ini.ReadInteger(s, "BackgroundLeftShift", 0);
        label.BackgroundRightShift = ini.ReadInteger(s, "BackgroundRightShift", 0);
        label.BackgroundAlignment = ini.ReadInteger(s, "BackgroundAlignment", 0);
    }
    ReadColourIndices(ini, s, o);
    o.NormalColour2 = ReadColour(ini, s, "NormalColour2", buttonText);
    o.MouseOverColour2 = ReadColour(ini, s, "MouseOverColour2", buttonText);
    o.PressedColour2 = ReadColour(ini, s, "PressedColour2", buttonText);
    if (o.Tile > 1) o.Tile = 0;
    return object;
}

void ReadSections(TSkinModel& model, const TQuickIni& ini, const TSkinReader& reader, const TSectionRule* first,
                  const TSectionRule* last) {
    const TSkinColour buttonText = model.Colours[scButtonText];
    for (const TSectionRule* rule = first; rule != last; ++rule)
        model.Sections[rule->Slot] = ReadSection(ini, reader, *rule, buttonText);
}

void ApplyFrameRules(TSkinModel& model, const TQuickIni& ini, const TSectionRule* first, const TSectionRule* last) {
    for (const TSectionRule* rule = first; rule != last; ++rule) {
        TDataSkinObject* o = model.Object(rule->Slot);
        if (!o) continue;
        switch (rule->Frames) {
        case FRAME_AS_READ: break;
        case FRAME_PROGRESS: o->Frame = o->Style != 0 ? 1 : 2; break;
        case FRAME_HEADER:
            if (o->Frame == 0) o->Frame = 5;
            break;
        case FRAME_COUNT_KEY: o->Frame = ini.ReadInteger(SECTION_NAMES[rule->Slot], "FrameCount", 3); break;
        default: o->Frame = rule->Frames; break;
        }
    }
}

void ReadBorders(TSkinModel& model, const TQuickIni& ini, const TSkinReader& reader) {
    const std::string p = "Personality";
    for (int side = 0; side < SKIN_BORDER_COUNT; ++side) {
        TDataSkinBorder& b = *model.Borders[side];
        const std::string n = BORDER_NAMES[side];
        ResetObject(b, n);
        b.Bitmap2.Clear();
        b.Bitmap = LoadImage(reader, ini, p, n);
        const int startEnd = ini.ReadInteger(p, n + "TopHeight", 0);
        const int finishEnd = ini.ReadInteger(p, n + "BotHeight", 0);
        if (side == sbLeft || side == sbRight) {
            b.TopHeight = startEnd;
            b.BottomHeight = finishEnd;
        } else {
            b.LeftWidth = startEnd;
            b.RightWidth = finishEnd;
        }
        b.Frame = ini.ReadInteger(p, n + "Frame", 1);
        b.Tile = std::min(ini.ReadInteger(p, n + "Stretch", 1), 1);
        b.Trans = ini.ReadInteger(p, n + "Trans", 1);
    }
}

void ReadColours(TSkinModel& model, const TQuickIni& ini, const std::vector<std::string>& sections) {
    for (int i = 0; i < SKIN_COLOUR_COUNT; ++i) {
        const TColourKey& k = COLOUR_KEYS[i];
        model.ColourGiven[i] = false;
        if (!k.Key) {
            model.Colours[i] = 0;
            continue;
        }
        const TSkinColour fallback = i == scMenubar ? model.Colours[scButtonFace] : k.Default;
        bool given = false;
        model.Colours[i] = ReadColour(ini, "Colours", k.Key, fallback, &given);
        model.ColourGiven[i] = given;
    }

    model.NumberedColours.clear();
    for (const std::string& name : sections) {
        const std::string upper = UpperCase(name);
        if (StartsWith(upper, "COLOUR") && upper != "COLOURS")
            model.NumberedColours.push_back(ReadColour(ini, name, "color", SkinSystemColour(SYS_WINDOWTEXT)));
    }

    for (int i = 0; i < SKIN_CUSTOM_COLOUR_COUNT; ++i)
        model.CustomColours[i] = ReadColour(ini, "Customcolors", "Color" + std::to_string(i), SKIN_WHITE);
}

void ReadCaptionButtons(TSkinModel& model, const TQuickIni& ini, const TSkinReader& reader,
                        const std::vector<std::string>& sections) {
    model.CaptionButtons.clear();
    bool remembered = false;
    int rememberedX = 0, rememberedY = 0;
    for (const std::string& name : sections) {
        const std::string upper = UpperCase(name);
        if (!StartsWith(upper, "BUTTON") || upper == "BUTTON" || upper == "BUTTONS" || upper == "BUTTON.RADIO" ||
            upper == "BUTTON.CHECKBOX")
            continue;
        if (ini.ReadInteger(name, "Action", 0) == -1 && ini.ReadInteger(name, "Visibility", -1) != 0) continue;

        auto b = std::make_unique<TDataSkinSysButton>(upper);
        b->Action = ini.ReadInteger(name, "Action", 0);
        b->Align = ini.ReadInteger(name, "Align", 0);
        b->Xcoord = ini.ReadInteger(name, "Xcoord", 0);
        b->Ycoord = ini.ReadInteger(name, "Ycoord", 0);
        b->Visibility = ini.ReadInteger(name, "Visibility", 0);
        b->Visibility1 = ini.ReadInteger(name, "Visibility1", b->Action == -1 ? -1 : 0);
        b->CombineOp = ini.ReadInteger(name, "CombineOp", -1);
        b->Frame = ini.ReadInteger(name, "frame", 0);
        b->Bitmap = LoadImage(reader, ini, name, "ButtonImage");

        // The restore button of a maximized window sits where the maximize
        // button of the normal window was.
        if (b->Action == 1 && b->Visibility == 2) {
            remembered = true;
            rememberedX = b->Xcoord;
            rememberedY = b->Ycoord;
        }
        if (b->Action == 4 && remembered) {
            b->Xcoord = rememberedX;
            b->Ycoord = rememberedY;
        }
        if (b->Frame == 0) b->Frame = CaptionButtonFrames(b->Action, b->Bitmap.Width(), b->Bitmap.Height());
        if (b->Action == 3 || b->Action == 11) b->Bitmap.Clear();   // draws the window icon
        model.CaptionButtons.push_back(std::move(b));
    }

    // The minimize, restore and close buttons of a maximized MDI child, cut
    // from one image of twelve frames.
    const TSkinImage mdi = LoadImage(reader, ini.ReadString("MDICONTROLS", "Image", ""));
    const int a = mdi.Width() / 12;
    for (int i = 0; i < 3; ++i) {
        auto b = std::make_unique<TDataSkinSysButton>("MDICONTROLS");
        b->Action = 7 + i;
        b->Align = b->Visibility = b->Visibility1 = 100;
        b->CombineOp = -1;
        b->Frame = 4;
        if (!mdi.Empty()) {
            b->Bitmap = TSkinImage(CropImage(mdi.Image(), 4 * a * i, 0, 4 * a, mdi.Height()));
            b->Xcoord = (a + 4) * (3 - i);
        }
        model.CaptionButtons.push_back(std::move(b));
    }
}

void ReadButtons(TSkinModel& model, const TQuickIni& ini, const TSkinReader& reader) {
    const std::string s = "Buttons";
    TDataSkinButton& b = *model.Buttons;
    ResetObject(b, s);
    ReadMargins(ini, s, b);
    b.Trans = ini.ReadInteger(s, "Trans", 0);
    b.Tile = ini.ReadInteger(s, "Tile", 0);
    if (b.Tile > 1) b.Tile = 0;
    b.Bitmap = LoadImage(reader, ini, s, "Bitmap");
    b.CheckBitmap = LoadImage(reader, ini, s, "CheckButton");
    b.RadioBitmap = LoadImage(reader, ini, s, "RadioButton");
    ReadColourIndices(ini, s, b);
    b.RadioButtonFrame = ini.ReadInteger(s, "RadioButtonFrame", 0);
    b.CheckButtonFrame = ini.ReadInteger(s, "CheckButtonFrame", 0);
    const TSkinColour buttonText = model.Colours[scButtonText];
    b.NormalColour2 = ReadColour(ini, s, "NormalColour2", buttonText, &b.HasNormalColour2);
    b.MouseOverColour2 = ReadColour(ini, s, "MouseOverColour2", buttonText, &b.HasMouseOverColour2);
    b.PressedColour2 = ReadColour(ini, s, "PressedColour2", buttonText, &b.HasPressedColour2);
}

void ReadTitle(TSkinModel& model, const TQuickIni& ini, const TSkinReader& reader) {
    const std::string p = "Personality";
    TDataSkinTitle& t = *model.Title;
    ResetObject(t, "Title");
    t.Bitmap = LoadImage(reader, ini, p, "TextBack");
    t.LeftWidth = ini.ReadInteger(p, "TextShift", 0);
    t.TopHeight = ini.ReadInteger(p, "TextShiftVert", 0);
    t.RightWidth = ini.ReadInteger(p, "TextRightClip", 0);
    t.BottomHeight = 0;
    t.TextAlignment = ini.ReadInteger(p, "TextAlignment", 0);
    t.Textbackground = ini.ReadInteger(p, "Textbackground", 0);
    t.TXTBackleft = ini.ReadInteger(p, "TXTBackleft", 0);
    t.TXTBackRight = ini.ReadInteger(p, "TXTBackRight", 0);
    t.FontHeight = ini.ReadInteger("Fonts", "FontHeight", 14);
    const auto rgb = [&](const std::string& prefix, TSkinColour& colour) {
        const int r = ini.ReadInteger(p, prefix + "R", -1);
        const int g = ini.ReadInteger(p, prefix + "G", -1);
        const int b = ini.ReadInteger(p, prefix + "B", -1);
        colour = r >= 0 && g >= 0 && b >= 0 ? SkinRgb(r, g, b) : SKIN_NO_COLOUR;
    };
    rgb("ActiveText", t.ActiveTextColour);
    rgb("InActiveText", t.InactiveTextColour);
    t.Frame = 2;
}

void ReadMenuBar(TSkinModel& model, const TQuickIni& ini, const TSkinReader& reader) {
    const std::string p = "Personality";
    auto& slot = model.Sections[ssMenuBar];
    slot.reset();
    const std::string image = ini.ReadString(p, "menuBar", "");
    if (image.empty()) return;
    slot = std::make_unique<TDataSkinObject>(p);
    slot->Bitmap = LoadImage(reader, ini, p, "menuBar", image);
    slot->TopHeight = slot->BottomHeight = 0;
    slot->Tile = std::min(ini.ReadInteger(p, "TileMenu", 1), 1);
    slot->LeftWidth = ini.ReadInteger(p, "TileLeftMenu", 1);
    slot->RightWidth = ini.ReadInteger(p, "TileRightMenu", 1);
    slot->Frame = 2;
}

// The built-in track image when the skin has none of its own.
void UseBuiltInTrack(TSkinModel& model, TSkinSection slot, bool vertical) {
    if (model.Sections[slot]) return;
    auto track = std::make_unique<TDataSkinObject>(SECTION_NAMES[slot]);
    track->Bitmap = TSkinImage(BuiltInTrackImage(vertical));
    track->LeftWidth = track->TopHeight = track->RightWidth = track->BottomHeight = 3;
    track->Tile = 0;
    track->Frame = 1;
    model.Sections[slot] = std::move(track);
}

// The combo box images: the edge and the button combined into one strip
// per state, and the arrow cells cut from it.
void BuildComboImages(TSkinModel& model, TSkinComposer& composer) {
    TDataSkinObject* sunk = model.Object(ssSunkEdge);
    TDataSkinObject* button = model.Object(ssComboButton);
    auto arrow = std::make_unique<TDataSkinObject>(SECTION_NAMES[ssComboxArrow]);
    if (sunk && button) {
        const int b = composer.ScrollArrowWidth() + 2;
        TBmpImage strip = composer.ComposeComboStrip(*sunk, *button, model.Object(ssExtraImages), b);
        button->Style = 2;
        button->TopHeight = sunk->TopHeight;
        button->BottomHeight = sunk->BottomHeight;
        button->LeftWidth = 2;
        button->RightWidth = b + 2;
        sunk->Bitmap = TSkinImage(MirrorImage(strip));
        sunk->LeftWidth = b + 2;
        sunk->RightWidth = 2;
        button->Bitmap = TSkinImage(std::move(strip));

        const int frames = std::max(sunk->Frame, 1);
        const int w = button->Bitmap.Width() / frames;
        TBmpImage cells;
        cells.Width = 17 * frames;
        cells.Height = 17;
        cells.BitCount = 24;
        cells.Pixels.assign(static_cast<std::size_t>(cells.Width) * 17, SKIN_MAGENTA);
        const TBmpImage& source = button->Bitmap.Image();
        for (int i = 0; i < frames; ++i) {
            const TBmpImage cell = CropImage(source, w * (i + 1) - 19, 2, 17, 17);
            for (int y = 0; y < 17; ++y)
                for (int x = 0; x < 17; ++x)
                    cells.Pixels[static_cast<std::size_t>(y) * cells.Width + 17 * i + x] =
                        cell.Pixels[static_cast<std::size_t>(y) * 17 + x];
        }
        arrow->Bitmap = TSkinImage(std::move(cells));
        arrow->Frame = sunk->Frame;
    } else if (button && !sunk) {
        if (!button->Bitmap.Empty()) {
            const TSkinColour face = composer.ResolveColour(model.FaceColour());
            arrow->Bitmap = TSkinImage(ReplaceMagenta(button->Bitmap.Image(), face));
        }
        arrow->Frame = button->Frame;
    }
    model.Sections[ssComboxArrow] = std::move(arrow);
}

// The colour sampled from the caption border: a third of the way into its
// first frame.
TSkinColour TopSample(const TSkinModel& model) {
    const TDataSkinBorder& top = *model.Borders[sbTop];
    if (top.Bitmap.Empty()) return model.FaceColour();
    const int frames = std::max(top.Frame, 1);
    return top.Bitmap.Colour(top.Bitmap.Width() / 3, (top.Bitmap.Height() / frames) / 3);
}

void BuildToolbar(TSkinModel& model, TSkinComposer& composer, TSkinColour sample) {
    const TSkinColour from = composer.Blend(model.FaceColour(), SKIN_WHITE, 150);
    TSkinColour to = composer.Blend(0x808080, sample, 150);
    const int saturation = composer.Saturation(sample);
    if (saturation > 110) to = composer.Blend(sample, SKIN_WHITE, (5625 - 25 * saturation) / 140 + 50);
    auto toolbar = std::make_unique<TDataSkinObject>(SECTION_NAMES[ssToolbar]);
    toolbar->Bitmap = TSkinImage(composer.Gradient(10, 40, from, to));
    toolbar->Frame = 1;
    model.Sections[ssToolbar] = std::move(toolbar);
}

}  // namespace

const char* SkinSectionName(TSkinSection section) {
    return section >= 0 && section < SKIN_SECTION_COUNT ? SECTION_NAMES[section] : "";
}

const char* SkinBorderName(TSkinBorderSide side) {
    return side >= 0 && side < SKIN_BORDER_COUNT ? BORDER_NAMES[side] : "";
}

std::vector<std::pair<int, std::string>> SkinScaleVariantKeys(const TQuickIni& ini, const std::string& section,
                                                              const std::string& key) {
    std::vector<std::pair<int, std::string>> found;
    const std::string prefix = SkinLowerCase(key) + ".";
    for (const std::string& written : ini.ReadKeys(section)) {
        const std::string name = SkinLowerCase(written);
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string digits = name.substr(prefix.size());
        if (digits.size() > 4 || digits.find_first_not_of("0123456789") != std::string::npos) continue;
        const int dpi = std::stoi(digits);
        if (dpi <= SKIN_DESIGN_DPI || dpi > SKIN_MAX_VARIANT_DPI) continue;
        const std::string value = ini.ReadString(section, written, "");
        if (value.empty()) continue;
        bool repeated = false;
        for (const auto& entry : found) repeated = repeated || entry.first == dpi;
        if (!repeated) found.emplace_back(dpi, value);
    }
    return found;
}

const char* SkinColourKey(int index) {
    return index >= 0 && index < SKIN_COLOUR_COUNT && COLOUR_KEYS[index].Key ? COLOUR_KEYS[index].Key : "";
}

TSkinModel::TSkinModel() {
    for (int side = 0; side < SKIN_BORDER_COUNT; ++side)
        Borders[side] = std::make_unique<TDataSkinBorder>(BORDER_NAMES[side]);
    Title = std::make_unique<TDataSkinTitle>("Title");
    Buttons = std::make_unique<TDataSkinButton>("Buttons");
    Reset();
}

TSkinModel::~TSkinModel() = default;

void TSkinModel::Reset() {
    SkinName.clear();
    for (int side = 0; side < SKIN_BORDER_COUNT; ++side) {
        ResetObject(*Borders[side], BORDER_NAMES[side]);
        Borders[side]->Bitmap2.Clear();
    }
    ResetObject(*Title, "Title");
    Title->TextAlignment = Title->Textbackground = Title->FontHeight = Title->TXTBackleft = Title->TXTBackRight = 0;
    Title->ActiveTextColour = Title->InactiveTextColour = SKIN_NO_COLOUR;
    ResetObject(*Buttons, "Buttons");
    Buttons->CheckBitmap.Clear();
    Buttons->RadioBitmap.Clear();
    Buttons->RadioButtonFrame = Buttons->CheckButtonFrame = 0;
    Buttons->HasNormalColour2 = Buttons->HasMouseOverColour2 = Buttons->HasPressedColour2 = false;
    for (auto& s : Sections) s.reset();
    CaptionButtons.clear();
    for (int i = 0; i < SKIN_COLOUR_COUNT; ++i) {
        Colours[i] = COLOUR_KEYS[i].Key ? COLOUR_KEYS[i].Default : 0;
        ColourGiven[i] = false;
    }
    Colours[scMenubar] = Colours[scButtonFace];
    Colours[scTopSample] = Colours[scButtonFace];
    NumberedColours.clear();
    CustomColours.fill(SKIN_WHITE);
}

TDataSkinObject* TSkinModel::FindObject(const std::string& name) const {
    for (int i = 0; i < SKIN_SECTION_COUNT; ++i)
        if (SkinSameText(name, SECTION_NAMES[i])) return Sections[i].get();
    for (int side = 0; side < SKIN_BORDER_COUNT; ++side)
        if (SkinSameText(name, BORDER_NAMES[side])) return Borders[side].get();
    if (SkinSameText(name, "Buttons")) return Buttons.get();
    if (SkinSameText(name, "Title")) return Title.get();
    return nullptr;
}

TSkinColour TSkinModel::NumberedColour(int index, TSkinColour fallback) const {
    return index >= 0 && index < static_cast<int>(NumberedColours.size()) ? NumberedColours[index] : fallback;
}

void BuildSkinModel(TSkinModel& model, const TQuickIni& ini, const TSkinReader& reader, TSkinComposer& composer) {
    std::vector<std::string> sections;
    ini.ReadSections(&sections);

    model.SkinName = ini.ReadString("TitlebarSkin", "SkinName", "");
    ReadBorders(model, ini, reader);
    ReadColours(model, ini, sections);
    ReadCaptionButtons(model, ini, reader, sections);

    ReadButtons(model, ini, reader);
    ReadTitle(model, ini, reader);
    ReadSections(model, ini, reader, std::begin(FIRST_SECTIONS), std::end(FIRST_SECTIONS));
    ReadMenuBar(model, ini, reader);
    ReadSections(model, ini, reader, std::begin(MIDDLE_SECTIONS), std::end(MIDDLE_SECTIONS));
    if (TDataSkinObject* pane = model.Object(ssTabPane)) {
        pane->LeftWidth = std::min(pane->LeftWidth, 4);
        pane->TopHeight = std::min(pane->TopHeight, 4);
        pane->RightWidth = std::min(pane->RightWidth, 4);
        pane->BottomHeight = std::min(pane->BottomHeight, 4);
    }
    if (auto* button = static_cast<TDataSkinBorder*>(model.Object(ssComboButton)); button && !button->Bitmap.Empty())
        button->Bitmap2 = TSkinImage(MirrorImage(button->Bitmap.Image()));

    ReadSections(model, ini, reader, std::begin(LAST_SECTIONS), std::end(LAST_SECTIONS));
    UseBuiltInTrack(model, ssTrack, false);
    UseBuiltInTrack(model, ssTrackVert, true);

    model.Buttons->Frame = 5;
    if (model.Buttons->RadioButtonFrame == 0)
        model.Buttons->RadioButtonFrame = CheckImageFrames(model.Buttons->RadioBitmap.Width(), model.Buttons->RadioBitmap.Height());
    if (model.Buttons->CheckButtonFrame == 0)
        model.Buttons->CheckButtonFrame = CheckImageFrames(model.Buttons->CheckBitmap.Width(), model.Buttons->CheckBitmap.Height());
    ApplyFrameRules(model, ini, std::begin(FIRST_SECTIONS), std::end(FIRST_SECTIONS));
    ApplyFrameRules(model, ini, std::begin(MIDDLE_SECTIONS), std::end(MIDDLE_SECTIONS));
    ApplyFrameRules(model, ini, std::begin(LAST_SECTIONS), std::end(LAST_SECTIONS));

    BuildComboImages(model, composer);
    const TSkinColour sample = TopSample(model);
    BuildToolbar(model, composer, sample);
    model.Colours[scTopSample] = sample;
}

int CheckImageFrames(int width, int height) {
    const int frames = width / (height < 16 ? 13 : 16);
    return std::max(frames, 4);
}

int CaptionButtonFrames(int action, int width, int height) {
    if (action < 0 || width <= 0 || height <= 0) return 6;
    // width / height <= 3.8, in whole numbers
    return width * 10 <= height * 38 ? 3 : 6;
}

TBmpImage MirrorImage(const TBmpImage& image) {
    TBmpImage result = image;
    for (int y = 0; y < image.Height; ++y)
        for (int x = 0; x < image.Width; ++x)
            result.Pixels[static_cast<std::size_t>(y) * image.Width + x] = image.Pixel(image.Width - 1 - x, y);
    return result;
}

TBmpImage CropImage(const TBmpImage& image, int x0, int y0, int width, int height) {
    TBmpImage result;
    result.Width = std::max(width, 0);
    result.Height = std::max(height, 0);
    result.BitCount = 24;
    result.Pixels.assign(static_cast<std::size_t>(result.Width) * result.Height, SKIN_MAGENTA);
    for (int y = 0; y < result.Height; ++y)
        for (int x = 0; x < result.Width; ++x) {
            const int sx = x0 + x, sy = y0 + y;
            if (sx >= 0 && sy >= 0 && sx < image.Width && sy < image.Height)
                result.Pixels[static_cast<std::size_t>(y) * result.Width + x] = image.Pixel(sx, sy);
        }
    return result;
}

TBmpImage ReplaceMagenta(const TBmpImage& image, TSkinColour colour) {
    // TBmpImage pixels are 0x00RRGGBB; the colour has red in the low byte.
    const std::uint32_t pixel = (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
    TBmpImage result = image;
    result.BitCount = 24;
    for (std::uint32_t& p : result.Pixels)
        if ((p & 0xFFFFFF) == 0xFF00FF) p = pixel;
    return result;
}

TBmpImage BuiltInTrackImage(bool vertical) {
    // S silver, G grey, H white.
    static const char* const HORIZONTAL[] = {
        "SSGGGGGGGGGGGGHH",
        "SSHHHHHHHHHHHHHH",
        "GSHHHHHHHHHHHHHH",
        "SSHHHHHHHHHHHHHH",
    };
    static const char* const VERTICAL[] = {
        "SSGS", "SSSS", "GHHH", "GHHH", "GHHH", "GHHH", "GHHH", "GHHH",
        "GHHH", "GHHH", "GHHH", "GHHH", "GHHH", "GHHH", "HHHH", "HHHH",
    };
    const char* const* rows = vertical ? VERTICAL : HORIZONTAL;
    TBmpImage image;
    image.Width = vertical ? 4 : 16;
    image.Height = vertical ? 16 : 4;
    image.BitCount = 24;
    for (int y = 0; y < image.Height; ++y)
        for (int x = 0; x < image.Width; ++x) {
            const char c = rows[y][x];
            image.Pixels.push_back(c == 'S' ? 0xC0C0C0u : c == 'G' ? 0x808080u : 0xFFFFFFu);
        }
    return image;
}
