// The media player skinner. A media player paints its button bar itself, so
// the skinner lays a panel of its own (TWMediaPlayer) exactly over the
// player and paints the buttons there from the skin's "Buttons" strip and
// the program's button pictures (pictures built into the engine when the
// program carries none); presses on the panel are handed to the player,
// which runs its commands as always.
#pragma once

#include <windows.h>

#include <array>
#include <memory>

#include "framework/graphics.h"
#include "framework/media_player.h"
#include "framework/std_controls.h"
#include "skin/controls/skin_control.h"

class TSkinMP;

// The panel over a skinned media player.
class TWMediaPlayer : public TCustomPanel {
    DECLARE_CLASS(TWMediaPlayer, TCustomPanel)
public:
    TWMediaPlayer(TComponent* owner, TSkinMP* skinner, TWinControl* player, TSkinData* skinData);
    ~TWMediaPlayer() override;

    // Takes the player's bounds, parent and visibility; nothing while the
    // panel has no window and the player is not on screen.
    void FollowPlayer();
    // The visible button under x (overlay coordinates), or -1.
    int ButtonAt(int x) const;
    int PressedButton() const { return FPressed ? FDownButton : -1; }
    int HotButton() const { return FHotButton; }
    // Reads the button pictures again (a new skin brings nothing new here,
    // but a program may carry them or not). The first paint reads them.
    void LoadImages();

    void WndProc(TMessage& message) override;

protected:
    void Paint() override;

private:
    // Reads the player's button sets: visible, enabled, coloured.
    void ReadButtons();

    // The colour of a button's glyph: the skin's button text colour for
    // its state, legible on the face; faint when disabled.
    COLORREF GlyphColour(bool enabled, bool down) const;

    struct TButtonImages {
        TBitmap Enabled, Disabled, Coloured;
        TBitmap Shape;  // the enabled picture, or the built-in one
    };
    std::array<TButtonImages, MP_BUTTON_COUNT> FImages;
    std::array<bool, MP_BUTTON_COUNT> FVisible{};
    std::array<bool, MP_BUTTON_COUNT> FEnabledButton{};
    std::array<bool, MP_BUTTON_COUNT> FColoured{};
    TWinControl* FPlayer;
    TSkinMP* FSkinner;
    TSkinData* FSkinData;
    int FVisibleCount = 0;
    int FButtonWidth = 0;
    int FDownButton = -1;
    int FHotButton = -1;
    bool FPressed = false;
    bool FImagesLoaded = false;
};

class TSkinMP : public TSkinControl {
    DECLARE_CLASS(TSkinMP, TSkinControl)
public:
    explicit TSkinMP(TComponent* owner);
    ~TSkinMP() override;

    void AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool colourManaged, TCanvas* canvas) override;
    void Detach() override;
    void AfterMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;
    void SkinChanged() override;

    TWMediaPlayer* Overlay() const { return FOverlay; }

private:
    TWMediaPlayer* FOverlay = nullptr;
};
