// The main window's stored skin component (see stored_skin.h).
#include "skin/data/stored_skin.h"

#include "framework/streams.h"
#include "skin/data/skin_component.h"

namespace {

void SetStoredProperties(TSkinData& skin)
{
    skin.SetActive(true);
    skin.SetDisableTag(SKIN_DATA_DEFAULT_DISABLE_TAG);
    skin.SetSkinControls(ALL_SKIN_CONTROLS & ~SkinControl(xcMenuItem) & ~SkinControl(xcSystemMenu) &
                         ~SkinControl(xcFastReport));
    skin.SetOptions(DEFAULT_SKIN_OPTIONS);
    skin.SetSkinFormtype(sfMainform);
    skin.SetMenuUpdate(true);
    skin.SetMenuMerge(false);
}

}  // namespace

void ConfigureStoredSkin(TSkinData& skin, TStream& skinStream)
{
    SetStoredProperties(skin);
    try {
        skin.ReadSkinStream(skinStream);
    } catch (const std::exception&) {
        // A short property: the component stays without a skin.
    }
}

void ConfigureStoredSkin(TSkinData& skin)
{
    SetStoredProperties(skin);
    try {
        TResourceStream stream(GetModuleHandleA(nullptr), STORED_SKIN_RESOURCE);
        skin.ReadSkinStream(stream);
    } catch (const std::exception&) {
        // No stored skin in this program: the component stays without one.
    }
}
