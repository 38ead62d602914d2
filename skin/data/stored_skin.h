// The skin component of Ravelbook's main window as its form stores it:
// active, every kind of control skinned except menu items (the menu bar
// draws its own), the system menu and report previews, and the program's
// own skin.
#pragma once

class TSkinData;
class TStream;

// The name of the RCDATA resource holding the stored "SkinStream" property
// (a 32-bit count, then the compressed skin).
inline constexpr const char* STORED_SKIN_RESOURCE = "SKINSTREAM";

// Sets the stored properties of `skin` and reads the program's stored skin
// from its RCDATA resource. Call while the owning form is being built,
// before Loaded. Without the resource the component is left without a skin
// (Loaded then switches it off).
void ConfigureStoredSkin(TSkinData& skin);
// The same with the "SkinStream" property read from `skinStream`.
void ConfigureStoredSkin(TSkinData& skin, TStream& skinStream);
