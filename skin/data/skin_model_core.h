// The skin model: every skin object of a loaded skin, its colour tables and
// caption buttons, and the build that makes them from a skin description and
// the container's bitmaps.
//
// The build is standard-library C++ so that the skin tool can print a
// skin's model. The few images it derives by drawing (the combo box
// composite and the toolbar gradient) and what depends on the running
// system (the scroll-arrow width, system colours) come from a TSkinComposer:
// skin_model.h has the GDI one the program uses.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "skin/data/skin_objects.h"

class TQuickIni;
class TSkinReader;

// Entries of the colour table, keyed by the "Colours" section.
enum TSkinColourIndex {
    scWindowText,          // 0
    scTitleTextActive,
    scTitleTextNoActive,
    scButtonFace,          // the skin's face colour
    scButtonText,
    scButtonHilight,
    scButtonlight,
    scButtonShadow,
    scButtonDkShadow,
    scUnused9,
    scUnused10,
    scHilightText,
    scHilight,
    scMenubar,
    scMenuBarText,
    scMenuText,
    scMenu,
    scTopSample,           // 17: sampled from the "Top" border
    scScrollbar,
    SKIN_COLOUR_COUNT
};

inline constexpr int SKIN_CUSTOM_COLOUR_COUNT = 10;

// The four window borders.
enum TSkinBorderSide { sbLeft, sbRight, sbTop, sbBottom, SKIN_BORDER_COUNT };

// Slots of the section objects, in the order the build fills them. Each is
// null when the skin does not have the section (or its image key is empty),
// except ComboxArrow and Toolbar, which every build makes.
enum TSkinSection {
    ssProgress,
    ssProgressChunk,
    ssMenuBar,              // the menu bar band, named "Personality"
    ssGroupBoxEdge,
    ssGroupBox,
    ssTabs,
    ssStatusBarEdges,
    ssTabPane,
    ssToolBars,
    ssComboButton,
    ssSunkEdge,
    ssExtraImages,
    ssHeaderbar,
    ssMenuItem,
    ssMenuBackground,
    ssScrollbar,
    ssHorzScroll,
    ssVertScroll,
    ssHorzScrollThumb,
    ssVertScrollThumb,
    ssTrackbarThumbHorz,
    ssTrackbarThumbVert,
    ssTrackbarThumbLeft,
    ssTrackbarThumbRight,
    ssTrackbarThumbUp,
    ssTrackbarThumbDown,
    ssUpDownHorz,
    ssUpDownVert,
    ssTrack,
    ssTrackVert,
    ssComboxArrow,
    ssToolbar,
    SKIN_SECTION_COUNT
};

// The name of a section slot as the skin description writes it
// ("Progress.Chunk", "Personality", "TRACKVERT", "ComboxArrow", ...).
const char* SkinSectionName(TSkinSection section);
// The name of a border ("Left", "Right", "Top", "Bottom").
const char* SkinBorderName(TSkinBorderSide side);
// The key of a colour table entry ("WindowText", ...); empty for 9, 10 and 17.
const char* SkinColourKey(int index);

// What the build needs of the system it runs on.
class TSkinComposer {
public:
    virtual ~TSkinComposer() = default;
    // Width of a horizontal scroll bar's arrow button.
    virtual int ScrollArrowWidth() = 0;
    // The plain red-green-blue value of a colour (system colours resolved).
    virtual TSkinColour ResolveColour(TSkinColour colour) = 0;
    // One 50 x 21 cell per "SunkEdge" frame k (side by side in a strip
    // prefilled with magenta): frame k of `sunkEdge` fitted to the cell,
    // frame k of `comboButton` fitted to its right `buttonWidth` pixels
    // (transparent), frame k of `extraImages` centred there when given, and
    // the edit area (2, 2)-(49 - buttonWidth, 18) magenta.
    virtual TBmpImage ComposeComboStrip(const TDataSkinObject& sunkEdge, const TDataSkinObject& comboButton,
                                        const TDataSkinObject* extraImages, int buttonWidth) = 0;
    // A width x height image holding a gradient from `from` to `to`, top to bottom.
    virtual TBmpImage Gradient(int width, int height, TSkinColour from, TSkinColour to) = 0;
    // Colour maths of the drawing code: BlendColours and Saturation.
    virtual TSkinColour Blend(TSkinColour colour1, TSkinColour colour2, int weight) = 0;
    virtual int Saturation(TSkinColour colour) = 0;
};

// A loaded skin. The borders, the title and "Buttons" always exist and are
// refilled by every build; section objects are made by the build when the
// skin has them.
class TSkinModel {
public:
    TSkinModel();
    ~TSkinModel();
    TSkinModel(const TSkinModel&) = delete;
    TSkinModel& operator=(const TSkinModel&) = delete;

    std::string SkinName;
    std::array<std::unique_ptr<TDataSkinBorder>, SKIN_BORDER_COUNT> Borders;
    std::unique_ptr<TDataSkinTitle> Title;
    std::unique_ptr<TDataSkinButton> Buttons;
    std::array<std::unique_ptr<TDataSkinObject>, SKIN_SECTION_COUNT> Sections;
    // Caption buttons in file order, then the three MDI child buttons.
    std::vector<std::unique_ptr<TDataSkinSysButton>> CaptionButtons;

    std::array<TSkinColour, SKIN_COLOUR_COUNT> Colours{};
    std::array<bool, SKIN_COLOUR_COUNT> ColourGiven{};
    std::vector<TSkinColour> NumberedColours;
    std::array<TSkinColour, SKIN_CUSTOM_COLOUR_COUNT> CustomColours{};

    TSkinColour FaceColour() const { return Colours[scButtonFace]; }
    TDataSkinBorder* Border(TSkinBorderSide side) const { return Borders[side].get(); }
    TDataSkinObject* Object(TSkinSection section) const { return Sections[section].get(); }
    // The object of a section by its name, case ignored: every section slot,
    // "Buttons", "Title" and the four borders (by their own names); null when
    // the skin lacks it.
    TDataSkinObject* FindObject(const std::string& name) const;
    // A numbered colour, or `fallback` for an index outside the table.
    TSkinColour NumberedColour(int index, TSkinColour fallback) const;

    // Back to the state of a component that has loaded nothing: empty
    // borders, title and buttons, no sections, system-colour defaults.
    void Reset();
};

// Builds the model from `ini` and the bitmaps of `reader` into `model`, in
// the order the skinners rely on. Never fails: missing keys, sections and
// images fall back to defaults or empty objects.
void BuildSkinModel(TSkinModel& model, const TQuickIni& ini, const TSkinReader& reader,
                    TSkinComposer& composer);

// The built-in track images used when a skin has no "Track" / "TRACKVERT"
// section: 16 x 4 and 4 x 16 in silver, grey and white.
TBmpImage BuiltInTrackImage(bool vertical);

// Frames of a check box or radio button image whose frame count is not
// given: width / 13 below 16 pixels of height, width / 16 from there, at
// least 4.
int CheckImageFrames(int width, int height);

// Frames of a caption button image with no "frame" key.
int CaptionButtonFrames(int action, int width, int height);

// The scale the skin's images and sizes are drawn for (pixels an inch), and
// the largest scale a skin may ship pictures for.
inline constexpr int SKIN_DESIGN_DPI = 96;
inline constexpr int SKIN_MAX_VARIANT_DPI = 960;

// The larger pictures a skin ships for an image key of a section: every key
// written as the image key, ".", and a scale above 96 ("Image.192",
// "ButtonImage.144", "Top.192"), with the value it names; in file order,
// the first of a repeated scale kept.
std::vector<std::pair<int, std::string>> SkinScaleVariantKeys(const TQuickIni& ini, const std::string& section,
                                                              const std::string& key);

// Pixel helpers the build uses on images.
TBmpImage MirrorImage(const TBmpImage& image);
TBmpImage CropImage(const TBmpImage& image, int x, int y, int width, int height);
// Every magenta pixel set to `colour` (plain red-green-blue).
TBmpImage ReplaceMagenta(const TBmpImage& image, TSkinColour colour);
