// Status bars: a strip of text panels along the bottom of a form.
//
// TStatusBar superclasses the common control msctls_statusbar32 (window
// class "TStatusBar"). Panels is the list of panels, each with its own
// width, text, bevel and alignment; the window's parts are the panels' right
// edges added up, so every panel gets exactly its width (the strip may end
// before the bar does, or run past it). With SimplePanel the bar shows one
// text (SimpleText) over its whole width instead.
//
// The bar is aligned to the bottom of its parent (Align alBottom) and keeps
// the height it is given. The size grip shows when SizeGrip is set and the
// form the bar is on can be resized.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "framework/controls.h"
#include "framework/std_controls.h"

enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };
extern const TEnumInfo StatusPanelBevelEnum;
enum TStatusPanelStyle { psText, psOwnerDraw };
extern const TEnumInfo StatusPanelStyleEnum;

class TCustomStatusBar;
class TStatusPanels;

class TStatusPanel : public TPersistent {
    DECLARE_CLASS(TStatusPanel, TPersistent)
public:
    explicit TStatusPanel(TStatusPanels* collection) : FCollection(collection) {}

    const std::string& Text() const { return FText; }
    void SetText(const std::string& value);
    int Width() const { return FWidth; }
    void SetWidth(int value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TStatusPanelBevel Bevel() const { return FBevel; }
    void SetBevel(TStatusPanelBevel value);
    TStatusPanelStyle Style() const { return FStyle; }
    void SetStyle(TStatusPanelStyle value);
    // Its position in the list.
    int Index() const;
    void Assign(const TPersistent& source) override;

private:
    TStatusPanels* FCollection;
    std::string FText;
    int FWidth = 50;
    TAlignment FAlignment = taLeftJustify;
    TStatusPanelBevel FBevel = pbLowered;
    TStatusPanelStyle FStyle = psText;
};

// The panels of one status bar, in order from the left.
class TStatusPanels : public TPersistent {
    DECLARE_CLASS(TStatusPanels, TPersistent)
public:
    explicit TStatusPanels(TCustomStatusBar* bar) : FBar(bar) {}
    ~TStatusPanels() override;

    int Count() const { return static_cast<int>(FItems.size()); }
    // Throws EListError for a bad index.
    TStatusPanel* Items(int index) const;
    TStatusPanel* operator[](int index) const { return Items(index); }
    TStatusPanel* Add();
    void Delete(int index);
    void Clear();
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    TCustomStatusBar* StatusBar() const { return FBar; }
    void Assign(const TPersistent& source) override;

private:
    friend class TStatusPanel;
    // A panel's width, bevel or count changed (all parts), or one panel's
    // text (that panel only; -1 for all).
    void Changed(int panel);

    TCustomStatusBar* FBar;
    std::vector<std::unique_ptr<TStatusPanel>> FItems;
    int FUpdateCount = 0;
    bool FPending = false;
};

using TDrawPanelEvent = std::function<void(TCustomStatusBar* bar, TStatusPanel* panel, const RECT& rect)>;

class TCustomStatusBar : public TWinControl {
    DECLARE_CLASS(TCustomStatusBar, TWinControl)
public:
    explicit TCustomStatusBar(TComponent* owner);
    ~TCustomStatusBar() override;

    TStatusPanels* Panels() const { return FPanels.get(); }
    void SetPanels(TStatusPanels* panels);
    bool SimplePanel() const { return FSimplePanel; }
    void SetSimplePanel(bool value);
    const std::string& SimpleText() const { return FSimpleText; }
    void SetSimpleText(const std::string& value);
    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool value);

    // Sends the panels' layout and texts to the window: all parts, or the
    // text of one panel.
    void UpdatePanels();
    void UpdatePanelText(int index);

    void WndProc(TMessage& message) override;
    // The panels' widths scale with the bar.
    void ChangeScale(int multiplier, int divisor) override;

    TDrawPanelEvent OnDrawPanel;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWindowDone() override;
    virtual void DrawPanel(TStatusPanel* panel, const RECT& rect);

private:
    std::unique_ptr<TStatusPanels> FPanels;
    bool FSimplePanel = false;
    std::string FSimpleText;
    bool FSizeGrip = true;
};

class TStatusBar : public TCustomStatusBar {
    DECLARE_CLASS_INLINE(TStatusBar, TCustomStatusBar)
public:
    explicit TStatusBar(TComponent* owner) : TCustomStatusBar(owner) {}
};
