// Header controls: a row of column titles (sections) that the user can click
// and size by dragging the dividers between them.
//
// THeaderControl superclasses the common control SysHeader32 (window class
// "THeaderControl"). Sections is the list of sections from the left; each has
// its text, width, limits of its width, alignment, an image of Images and
// whether it can be clicked. The window holds the sections while it exists;
// a section's width is the one the window reports, so a width the user
// dragged is read back as it is.
//
// Events: a click on a section that allows it runs OnSectionClick; dragging
// a divider runs OnSectionTrack while the divider moves and OnSectionResize
// once the new width is set. A drag that would take a section beyond its
// MinWidth or MaxWidth stops at that limit.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/controls.h"
#include "framework/image_list.h"
#include "framework/std_controls.h"

class THeaderControl;
class THeaderSections;

enum THeaderSectionStyle { hsText, hsOwnerDraw };
extern const TEnumInfo HeaderSectionStyleEnum;
enum TSectionTrackState { tsTrackBegin, tsTrackMove, tsTrackEnd };

class THeaderSection : public TPersistent {
    DECLARE_CLASS(THeaderSection, TPersistent)
public:
    explicit THeaderSection(THeaderSections* collection) : FCollection(collection) {}

    const std::string& Text() const { return FText; }
    void SetText(const std::string& value);
    // The width in pixels: the window's when it has one.
    int Width() const;
    void SetWidth(int value);
    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int value);
    int MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    bool AllowClick() const { return FAllowClick; }
    void SetAllowClick(bool value) { FAllowClick = value; }
    THeaderSectionStyle Style() const { return FStyle; }
    void SetStyle(THeaderSectionStyle value);
    // Its position in the list; its left and right edges in the header.
    int Index() const;
    int Left() const;
    int Right() const { return Left() + Width(); }

private:
    friend class THeaderSections;
    friend class THeaderControl;
    THeaderSections* FCollection;
    std::string FText;
    int FWidth = 50;
    int FMinWidth = 0;
    int FMaxWidth = 10000;
    TAlignment FAlignment = taLeftJustify;
    int FImageIndex = -1;
    bool FAllowClick = true;
    THeaderSectionStyle FStyle = hsText;
};

class THeaderSections : public TPersistent {
    DECLARE_CLASS(THeaderSections, TPersistent)
public:
    explicit THeaderSections(THeaderControl* header) : FHeader(header) {}
    ~THeaderSections() override;

    int Count() const { return static_cast<int>(FItems.size()); }
    // Throws EListError for a bad index.
    THeaderSection* Items(int index) const;
    THeaderSection* operator[](int index) const { return Items(index); }
    THeaderSection* Add();
    THeaderSection* Insert(int index);
    void Delete(int index);
    void Clear();
    THeaderControl* HeaderControl() const { return FHeader; }

private:
    friend class THeaderSection;
    friend class THeaderControl;
    THeaderControl* FHeader;
    std::vector<std::unique_ptr<THeaderSection>> FItems;
};

using TSectionNotifyEvent = std::function<void(THeaderControl* header, THeaderSection* section)>;
using TSectionTrackEvent =
    std::function<void(THeaderControl* header, THeaderSection* section, int width, TSectionTrackState state)>;

class THeaderControl : public TWinControl {
    DECLARE_CLASS(THeaderControl, TWinControl)
public:
    explicit THeaderControl(TComponent* owner);
    ~THeaderControl() override;

    THeaderSections* Sections() const { return FSections.get(); }
    void SetSections(THeaderSections* value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    // Sections light up under the mouse (the system's own drawing).
    bool HotTrack() const { return FHotTrack; }
    void SetHotTrack(bool value);
    // The sections follow the divider while it is dragged, not only at the end.
    bool FullDrag() const { return FFullDrag; }
    void SetFullDrag(bool value);

    // The section under a client point, or -1.
    int SectionAt(int x, int y) const;

    void WndProc(TMessage& message) override;
    // The sections' widths and limits scale with the control.
    void ChangeScale(int multiplier, int divisor) override;
    void Notification(TComponent* component, TOperation operation) override;

    TSectionNotifyEvent OnSectionClick;
    TSectionNotifyEvent OnSectionResize;
    TSectionTrackEvent OnSectionTrack;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWindowDone() override;
    void DestroyWnd() override;
    virtual void SectionClick(THeaderSection* section);
    virtual void SectionResize(THeaderSection* section);
    virtual void SectionTrack(THeaderSection* section, int width, TSectionTrackState state);

private:
    friend class THeaderSection;
    friend class THeaderSections;
    // Puts section `index` into the window (insert, or update in place).
    void UpdateSection(int index, bool insert);
    // Rebuilds every item of the window from the list.
    void UpdateSections();
    int WindowWidth(int index) const;
    // Keeps a width the user dragged within the section's limits.
    int Clamp(const THeaderSection* section, int width) const;

    std::unique_ptr<THeaderSections> FSections;
    TCustomImageList* FImages = nullptr;
    bool FHotTrack = false;
    bool FFullDrag = true;
    bool FRebuilding = false;
};
