// The checks of `skintool check` (see skin_check.h).
#include "skin_check.h"

#include <map>

#include "skin/data/bmp_file.h"
#include "skin/data/quick_ini.h"
#include "skin/data/skin_model_core.h"
#include "skin/data/skin_scale.h"

namespace {

// How many frames an image of a section holds.
enum class TFrames {
    Fixed,          // Count
    Key,            // the section's key FrameKey, default Count; 0 reads as ZeroMeans
    ProgressStyle,  // 1 when "Style" is not 0, else 2
    Unchecked,      // a second image whose layout the skinners decide
};

// Which margins must fit inside a frame.
enum class TMargins {
    None,
    Generic,        // LeftWidth, TopHeight, RightWidth, BottomHeight
    GenericCut4,    // the same, each cut to 4 when read
    VerticalEnds,   // Key+"TopHeight" and Key+"BotHeight" against the height
    HorizontalEnds, // Key+"TopHeight" and Key+"BotHeight" against one frame's width
    MenuBar,        // "TileLeftMenu" and "TileRightMenu" (default 1) against a frame's width
};

struct TImageRule {
    const char* Section;
    const char* Key;
    TFrames Frames;
    int Count;
    const char* FrameKey;
    int ZeroMeans;
    TMargins Margins;
    bool Vertical = false;   // frames stacked from top to bottom
};

constexpr TImageRule RULES[] = {
    {.Section = "Buttons", .Key = "Bitmap", .Frames = TFrames::Fixed, .Count = 5, .FrameKey = nullptr, .ZeroMeans = 0, .Margins = TMargins::Generic},
    {.Section = "Progress", .Key = "Bitmap", .Frames = TFrames::ProgressStyle, .Count = 0, .FrameKey = nullptr, .ZeroMeans = 0, .Margins = TMargins::Generic},
    {.Section = "Progress.Chunk", .Key = "Image", .Frames = TFrames::Key, .Count = 0, .FrameKey = "Frame", .ZeroMeans = 1, .Margins = TMargins::Generic},
    {.Section = "GroupBoxEdge", .Key = "Image", .Frames = TFrames::Fixed, .Count = 2, .FrameKey = nullptr, .ZeroMeans = 0, .Margins = TMargins::Generic},
    {.Section = "GroupBox", .Key = "Image", .Frames = TFrames::Fixed, .Count = 1, .FrameKey = nullptr, .ZeroMeans = 0, .Margins = TMargins::Generic},
    {.Section = "Tabs", .Key = "Image", .Frames = TFrames::Fixed, .Count = 5, .FrameKey = nullptr, .ZeroMeans = 0, .Margins = TMargins::Generic},
    {.Section = "Tabs", .Key = "Border", .Frames = TFrames::Unchecked, .Count = 0, .FrameKey = nullptr, .ZeroMeans = 0, .Margins = TMargins::None},
    {.Section = "StatusBarEdges", .Key = "Image", .Frames = TFrames::Fixed, .Count = 3, .FrameKey = nullptr, .ZeroMeans = 0, .Margins = TMargins::Generic},
    {.Section = "Tab.Pane", .Key = "Image", .Frames = TFrames::Fixed, .Count = 1, .FrameKey = nullptr, .ZeroMeans = 0, .Margins = TMargins::GenericCut4},
    {.Section = "ToolBars", .Key = "Image", .Frames = TFrames::Fixed, .Count = 5, .FrameKey = nullptr, .ZeroMeans = 0, .Margins = TMargins::Generic},
    {.Section = "ComboButton", .Key = "Image", .Frames = TFrames::Fixed, .Count = 4, .FrameKey = nullptr, .ZeroMeans = 0, .Margins = TMargins::Generic},
    {.Section = "SunkEdge", .Key = "Image", .Frames = TFrames::Fixed, .Count = 4, .FrameKey = nullptr, .ZeroMeans = 0, .Margins = TMargins::Generic},
    {.Section = "ExtraImages", .Key = "Image", .Frames = TFrames::Fixed, .Count = 5, .FrameKey = nullptr, .ZeroMeans = 0, .Margins = TMargins::Generic},
    {.Section = "Headerbar", .Key = "Image", .Frames = TFrames::Key, .Count = 0, .FrameKey = "Frame", .ZeroMeans = 5, .Margins = TMargins::Generic},
    {.Section = "MenuItem", .Key = "Image", .Frames = TFrames::Fixed, .Count = 5, .FrameKey = nullptr, .ZeroMeans = 0, .Margins = TMargins::Generic},
    {.Section = "MenuBackground", .Key = "Image", .Frames = TFrames::Fixed, .Count = 1, .FrameKey = nullptr, .ZeroMeans = 0, .Margins = TMargins::Generic},
    {.Section = "Scrollbar", .Key = "Image", .Frames = TFrames::Fixed, .Count = 23, .FrameKey = nullptr, .ZeroMeans = 0, .Margins = TMargins::Generic},
    {.Section = "HorzScroll", .Key = "Image", .Frames = TFrames::Fixed, .Count = 4, .FrameKey = nullptr, .ZeroMeans = 0, .Margins = TMargins::Generic},
    {.Section = "VertScroll", .Key = "Image", .Frames = TFrames::Fixed, .Count = 4, .FrameKey = nullptr, .ZeroMeans = 0, .Margins = TMargins::Generic},
    {.Section = "HorzScrollThumb", .Key = "Image", .Frames = TFrames::Key, .Count = 3, .FrameKey = "FrameCount", .ZeroMeans = 0, .Margins = TMargins::Generic},
    {.Section = "VertScrollThumb", .Key = "Image", .Frames = TFrames::Key, .Count = 3, .FrameKey = "FrameCount", .ZeroMeans = 0, .Margins = TMargins::Generic},
    {.Section = "Trackbar.ThumbHorz", .Key = "Image", .Frames = TFrames::Fixed, .Count = 5, .FrameKey = nullptr, .ZeroMeans = 0, .Margins = TMargins::Generic},
    {.Section = "Trackbar.ThumbVert", .Key = "Image", .Frames = TFrames::Fixed, .Count = 5, .FrameKey = nullptr, .ZeroMeans = 0, .Margins = TMargins::Generic},
    {.Section = "Trackbar.ThumbLeft", .Key = "Image", .Frames = TFrames::Fixed, .Count = 5, .FrameKey = nullptr, .ZeroMeans = 0, .Margins = TMargins::Generic},
    {.Section = "Trackbar.ThumbRight", .Key = "Image", .Frames = TFrames::Fixed, .Count = 5, .FrameKey = nullptr, .ZeroMeans = 0, .Margins = TMargins::Generic},
    {.Section = "Trackbar.ThumbUp", .Key = "Image", .Frames = TFrames::Fixed, .Count = 5, .FrameKey = nullptr, .ZeroMeans = 0, .Margins = TMargins::Generic},
    {.Section = "Trackbar.ThumbDown", .Key = "Image", .Frames = TFrames::Fixed, .Count = 5, .FrameKey = nullptr, .ZeroMeans = 0, .Margins = TMargins::Generic},
    {.Section = "UpDown.Horz", .Key = "Image", .Frames = TFrames::Fixed, .Count = 8, .FrameKey = nullptr, .ZeroMeans = 0, .Margins = TMargins::Generic},
    {.Section = "UpDown.Horz", .Key = "GlyphImage", .Frames = TFrames::Unchecked, .Count = 0, .FrameKey = nullptr, .ZeroMeans = 0, .Margins = TMargins::None},
    {.Section = "UpDown.Vert", .Key = "Image", .Frames = TFrames::Fixed, .Count = 8, .FrameKey = nullptr, .ZeroMeans = 0, .Margins = TMargins::Generic},
    {.Section = "UpDown.Vert", .Key = "GlyphImage", .Frames = TFrames::Unchecked, .Count = 0, .FrameKey = nullptr, .ZeroMeans = 0, .Margins = TMargins::None},
    {.Section = "Track", .Key = "Image", .Frames = TFrames::Key, .Count = 0, .FrameKey = "Frame", .ZeroMeans = 1, .Margins = TMargins::Generic},
    {.Section = "TRACKVERT", .Key = "Image", .Frames = TFrames::Key, .Count = 0, .FrameKey = "Frame", .ZeroMeans = 1, .Margins = TMargins::Generic},
    {.Section = "Personality", .Key = "Left", .Frames = TFrames::Key, .Count = 1, .FrameKey = "LeftFrame", .ZeroMeans = 0, .Margins = TMargins::VerticalEnds},
    {.Section = "Personality", .Key = "Right", .Frames = TFrames::Key, .Count = 1, .FrameKey = "RightFrame", .ZeroMeans = 0, .Margins = TMargins::VerticalEnds},
    {.Section = "Personality", .Key = "Top", .Frames = TFrames::Key, .Count = 1, .FrameKey = "TopFrame", .ZeroMeans = 0, .Margins = TMargins::HorizontalEnds, .Vertical = true},
    {.Section = "Personality", .Key = "Bottom", .Frames = TFrames::Key, .Count = 1, .FrameKey = "BottomFrame", .ZeroMeans = 0, .Margins = TMargins::HorizontalEnds, .Vertical = true},
    {.Section = "Personality", .Key = "menuBar", .Frames = TFrames::Fixed, .Count = 2, .FrameKey = nullptr, .ZeroMeans = 0, .Margins = TMargins::MenuBar, .Vertical = true},
    {.Section = "Personality", .Key = "TextBack", .Frames = TFrames::Fixed, .Count = 2, .FrameKey = nullptr, .ZeroMeans = 0, .Margins = TMargins::None, .Vertical = true},
    {.Section = "MDICONTROLS", .Key = "Image", .Frames = TFrames::Fixed, .Count = 12, .FrameKey = nullptr, .ZeroMeans = 0, .Margins = TMargins::None},
};

class TChecker {
public:
    TChecker(const TSkinSource& source, TCheckReport& report) : FSource(source), FReport(report) {}

    void Run();

private:
    void Error(const std::string& where, const std::string& text) {
        FReport.Errors.push_back(where + ": " + GbkToUtf8(text));
    }
    void Warning(const std::string& text) { FReport.Warnings.push_back(GbkToUtf8(text)); }

    // Loads the image a key names; false (with an error) when it cannot.
    bool LoadImage(const std::string& section, const std::string& key, const std::string& value,
                   TBmpImage& image);
    void CheckRule(const TImageRule& rule);
    void CheckFrames(const std::string& where, const TBmpImage& image, int frames, bool vertical = false);
    void CheckFit(const std::string& where, const char* what, int first, const char* firstName,
                  int second, const char* secondName, int room);
    void CheckCaptionButtons();
    void CheckFiles();
    // The larger pictures shipped for other scales under `key` + "." + scale:
    // each must be the 96 image's frames scaled, in the same number.
    void CheckScaleVariants(const std::string& section, const std::string& key, const TBmpImage& image, int frames,
                            bool vertical);

    const TSkinSource& FSource;
    TCheckReport& FReport;
    TQuickIni FIni;
};

std::string Where(const std::string& section, const std::string& key) {
    return "[" + section + "] " + key;
}

bool TChecker::LoadImage(const std::string& section, const std::string& key,
                         const std::string& value, TBmpImage& image) {
    const std::string where = Where(section, key);
    const std::string fileName = SkinExtractFileName(value);
    const std::size_t dot = fileName.rfind('.');
    if (fileName.empty() || dot == std::string::npos || fileName.compare(dot, std::string::npos, ".bmp") != 0) {
        Error(where, "\"" + value + "\" does not end in \".bmp\" (exactly, in lower case), so it loads no image");
        return false;
    }
    const TSkinFileEntry* entry = FSource.Find(fileName);
    if (entry == nullptr) {
        Error(where, "names \"" + fileName + "\", which is not in the skin");
        return false;
    }
    std::string reason;
    if (!ParseBmp(entry->Data.data(), entry->Data.size(), image, &reason)) {
        Error(where, "\"" + fileName + "\" is not a readable BMP file (" + reason + ")");
        return false;
    }
    ++FReport.ImagesChecked;
    return true;
}

void TChecker::CheckFrames(const std::string& where, const TBmpImage& image, int frames, bool vertical) {
    if (frames <= 0) {
        Error(where, "frame count " + std::to_string(frames) + " is not positive");
        return;
    }
    if (vertical && image.Height % frames != 0)
        Error(where, "the image is " + std::to_string(image.Height) + " pixels high, which " +
                         std::to_string(frames) + " frames stacked one above the other do not divide");
    if (!vertical && image.Width % frames != 0)
        Error(where, "the image is " + std::to_string(image.Width) + " pixels wide, which " +
                         std::to_string(frames) + " frames do not divide");
}

void TChecker::CheckScaleVariants(const std::string& section, const std::string& key, const TBmpImage& image,
                                  int frames, bool vertical) {
    if (frames <= 0 || (vertical ? image.Height : image.Width) % frames != 0) return;
    TSkinImage base(image);
    const TSkinImageLayout layout{key, &base, frames, vertical, 0, 0, 0, 0};
    const int frameWidth = vertical ? image.Width : image.Width / frames;
    const int frameHeight = vertical ? image.Height / frames : image.Height;
    for (const auto& [dpi, value] : SkinScaleVariantKeys(FIni, section, key)) {
        const std::string variantKey = key + "." + std::to_string(dpi);
        TBmpImage larger;
        if (!LoadImage(section, variantKey, value, larger)) continue;
        int width = 0, height = 0;
        ScaledImageSize(layout, dpi, width, height);
        if (larger.Width == width && larger.Height == height) continue;
        const std::string scaledFrame =
            std::to_string(vertical ? width : width / frames) + "x" + std::to_string(vertical ? height / frames : height);
        Error(Where(section, variantKey),
              "the picture for " + std::to_string(dpi) + " DPI is " + std::to_string(larger.Width) + "x" +
                  std::to_string(larger.Height) + "; it must be " + std::to_string(width) + "x" + std::to_string(height) +
                  ": " + std::to_string(frames) + (frames == 1 ? " frame" : " frames") + (vertical ? " stacked" : "") +
                  " of " + scaledFrame + " (the " + std::to_string(frameWidth) + "x" + std::to_string(frameHeight) +
                  " frame of the 96 DPI image at " + std::to_string(dpi) + " DPI), or it is not used");
    }
}

void TChecker::CheckFit(const std::string& where, const char* what, int first, const char* firstName,
                        int second, const char* secondName, int room) {
    if (first < 0 || second < 0 || first + second > room)
        Error(where, std::string(firstName) + " " + std::to_string(first) + " and " + secondName + " " +
                         std::to_string(second) + " do not fit in the frame's " + what + " of " +
                         std::to_string(room) + " pixels");
}

void TChecker::CheckRule(const TImageRule& rule) {
    const std::string value = FIni.ReadString(rule.Section, rule.Key, "");
    if (value.empty()) return;
    TBmpImage image;
    if (!LoadImage(rule.Section, rule.Key, value, image)) return;
    const std::string where = Where(rule.Section, rule.Key);

    int frames = 0;
    switch (rule.Frames) {
        case TFrames::Fixed: frames = rule.Count; break;
        case TFrames::Key:
            frames = FIni.ReadInteger(rule.Section, rule.FrameKey, rule.Count);
            if (frames == 0 && rule.ZeroMeans > 0) frames = rule.ZeroMeans;
            break;
        case TFrames::ProgressStyle: frames = FIni.ReadInteger(rule.Section, "Style", 0) != 0 ? 1 : 2; break;
        case TFrames::Unchecked: CheckScaleVariants(rule.Section, rule.Key, image, 1, false); return;
    }
    CheckFrames(where, image, frames, rule.Vertical);
    CheckScaleVariants(rule.Section, rule.Key, image, frames, rule.Vertical);
    const int length = rule.Vertical ? image.Height : image.Width;
    if (frames <= 0 || length % frames != 0) return;
    const int frameWidth = rule.Vertical ? image.Width : image.Width / frames;
    const int frameHeight = rule.Vertical ? image.Height / frames : image.Height;

    auto read = [&](const std::string& key, int def) { return FIni.ReadInteger(rule.Section, key, def); };
    const std::string key = rule.Key;
    switch (rule.Margins) {
        case TMargins::None: break;
        case TMargins::Generic:
        case TMargins::GenericCut4: {
            int left = read("LeftWidth", 0), top = read("TopHeight", 0);
            int right = read("RightWidth", 0), bottom = read("BottomHeight", 0);
            if (rule.Margins == TMargins::GenericCut4) {
                left = std::min(left, 4), top = std::min(top, 4);
                right = std::min(right, 4), bottom = std::min(bottom, 4);
            }
            CheckFit(where, "width", left, "LeftWidth", right, "RightWidth", frameWidth);
            CheckFit(where, "height", top, "TopHeight", bottom, "BottomHeight", frameHeight);
            break;
        }
        case TMargins::VerticalEnds:
            CheckFit(where, "height", read(key + "TopHeight", 0), (key + "TopHeight").c_str(),
                     read(key + "BotHeight", 0), (key + "BotHeight").c_str(), frameHeight);
            break;
        case TMargins::HorizontalEnds:
            CheckFit(where, "width", read(key + "TopHeight", 0), (key + "TopHeight").c_str(),
                     read(key + "BotHeight", 0), (key + "BotHeight").c_str(), frameWidth);
            break;
        case TMargins::MenuBar:
            CheckFit(where, "width", read("TileLeftMenu", 1), "TileLeftMenu", read("TileRightMenu", 1),
                     "TileRightMenu", frameWidth);
            break;
    }
}

void TChecker::CheckCaptionButtons() {
    std::vector<std::string> sections;
    FIni.ReadSections(&sections);
    for (const std::string& section : sections) {
        const std::string lowered = SkinLowerCase(section);
        if (lowered.rfind("button", 0) != 0 || lowered == "button" || lowered == "buttons" ||
            lowered == "button.radio" || lowered == "button.checkbox")
            continue;
        const int action = FIni.ReadInteger(section, "Action", 0);
        if (action == 3 || action == 11) continue;   // draws the window icon, its image is unused
        const std::string value = FIni.ReadString(section, "ButtonImage", "");
        if (value.empty()) continue;
        TBmpImage image;
        if (!LoadImage(section, "ButtonImage", value, image)) continue;
        int frames = FIni.ReadInteger(section, "frame", 0);
        if (frames == 0) {
            frames = 6;
            if (image.Height > 0 && static_cast<double>(image.Width) / image.Height <= 3.8) frames = 3;
            if (action < 0) frames = 6;
        }
        CheckFrames(Where(section, "ButtonImage"), image, frames);
        CheckScaleVariants(section, "ButtonImage", image, frames, false);
    }
    // The check and radio images of "Buttons" count their frames themselves
    // when no count is given.
    for (const char* key : {"CheckButton", "RadioButton"}) {
        const std::string value = FIni.ReadString("Buttons", key, "");
        if (value.empty()) continue;
        TBmpImage image;
        if (!LoadImage("Buttons", key, value, image)) continue;
        int frames = FIni.ReadInteger("Buttons", std::string(key) + "Frame", 0);
        if (frames == 0) frames = std::max(4, image.Width / (image.Height < 16 ? 13 : 16));
        CheckFrames(Where("Buttons", key), image, frames);
        CheckScaleVariants("Buttons", key, image, frames, false);
    }
}

void TChecker::CheckFiles() {
    std::map<std::string, int> seen;
    for (const TSkinFileEntry& f : FSource.Files) {
        const std::string lower = SkinLowerCase(f.Name);
        if (++seen[lower] == 2) Warning("\"" + f.Name + "\" appears more than once; only the first is used");
        const bool isBmp = lower.size() > 4 && lower.compare(lower.size() - 4, 4, ".bmp") == 0;
        if (!isBmp) continue;
        TBmpImage image;
        std::string reason;
        if (!ParseBmp(f.Data.data(), f.Data.size(), image, &reason))
            Error(std::string(1, '"').append(GbkToUtf8(f.Name)).append(1, '"'), "not a readable BMP file (" + reason + ")");
    }
}

void TChecker::Run() {
    CheckFiles();
    const TSkinFileEntry* description = nullptr;
    int descriptions = 0;
    for (const TSkinFileEntry& f : FSource.Files) {
        if (SkinLowerCase(f.Name).find(".ini") == std::string::npos) continue;
        if (descriptions++ == 0) description = &f;
    }
    if (description == nullptr) {
        FReport.Errors.push_back("the skin has no .ini description");
        return;
    }
    if (descriptions > 1)
        Warning("the skin holds " + std::to_string(descriptions) + " files named like \".ini\"; only \"" +
                description->Name + "\" is read");
    FIni.LoadFromBuffer(description->Data.data(), description->Data.size());
    for (const TImageRule& rule : RULES) CheckRule(rule);
    CheckCaptionButtons();
}

}  // namespace

TCheckReport CheckSkin(const TSkinSource& source) {
    TCheckReport report;
    TChecker(source, report).Run();
    return report;
}
