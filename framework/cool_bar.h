// Cool bars: bands side by side or in rows, each holding one child control
// behind a gripper and an optional text.
//
// TCoolBar superclasses the common control ReBarWindow32 (window class
// "TCoolBar"). Its Bands are kept by the object and written into the window
// whenever it is made. A band has a text, its own background Color, a width,
// a Break (it starts a new row) and a Control: a windowed control whose
// parent is the cool bar, which the window then places inside the band.
// The bar paints every band in the band's colour; the bar's own Color shows
// only where there is no band.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "framework/controls.h"

class TCoolBar;
class TCoolBands;

class TCoolBand : public TPersistent {
    DECLARE_CLASS(TCoolBand, TPersistent)
public:
    explicit TCoolBand(TCoolBands* collection) : FCollection(collection) {}

    const std::string& Text() const { return FText; }
    void SetText(const std::string& value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    // The colour of the band's text (its title beside the gripper).
    TColor TextColor() const { return FTextColor; }
    void SetTextColor(TColor value);
    int Width() const { return FWidth; }
    void SetWidth(int value);
    bool Break() const { return FBreak; }
    void SetBreak(bool value);
    TWinControl* Control() const { return FControl; }
    // `control` is made a child of the cool bar.
    void SetControl(TWinControl* control);
    int Index() const;

private:
    friend class TCoolBands;
    friend class TCoolBar;
    TCoolBands* FCollection;
    std::string FText;
    TColor FColor = clBtnFace;
    TColor FTextColor = clBtnText;
    int FWidth = 150;
    bool FBreak = false;
    TWinControl* FControl = nullptr;
};

class TCoolBands : public TPersistent {
    DECLARE_CLASS(TCoolBands, TPersistent)
public:
    explicit TCoolBands(TCoolBar* bar) : FBar(bar) {}
    ~TCoolBands() override;

    int Count() const { return static_cast<int>(FItems.size()); }
    // Throws EListError for a bad index.
    TCoolBand* Items(int index) const;
    TCoolBand* Add();
    void Delete(int index);
    TCoolBar* CoolBar() const { return FBar; }

private:
    friend class TCoolBand;
    friend class TCoolBar;
    TCoolBar* FBar;
    std::vector<std::unique_ptr<TCoolBand>> FItems;
};

class TCoolBar : public TWinControl {
    DECLARE_CLASS(TCoolBar, TWinControl)
public:
    explicit TCoolBar(TComponent* owner);
    ~TCoolBar() override;

    TCoolBands* Bands() const { return FBands.get(); }
    // The band's rectangle in the bar's client area (empty without a window).
    RECT BandRect(int index) const;

    void WndProc(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWindowDone() override;

private:
    friend class TCoolBand;
    friend class TCoolBands;
    // Puts band `index` into the window (insert), or writes the parts of it
    // that `mask` (RBBIM_* bits) names.
    void UpdateBand(int index, bool insert, UINT mask = 0);

    std::unique_ptr<TCoolBands> FBands;
};
