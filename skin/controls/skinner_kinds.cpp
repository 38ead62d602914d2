// The table of skinner classes that control discovery can create.
#include "skin/controls/skinner_kinds.h"

#include <cstring>

#include "skin/controls/skin_control.h"

// One line per skinner class; its file defines it with DEFINE_SKINNER.
#define RAVELBOOK_SKINNERS(X) \
    X(TSkinButton)            \
    X(TSkinBitButton)         \
    X(TSkinSpeedButton)       \
    X(TSkinMenuButton)        \
    X(TSkinGroupBox)          \
    X(TSkinBox)               \
    X(TSkinBoxH)              \
    X(TSkinToolBar)           \
    X(TSkinCoolBar)           \
    X(TSkinStatusBar)         \
    X(TSkinSizer)             \
    X(TSkinScrollBar)         \
    X(TSkinScControl)         \
    X(TSkinScrollbarH)        \
    X(TComboxScrollBar)       \
    X(TSkinTrackBar)          \
    X(TSkinUpDown)            \
    X(TSkinProgress)          \
    X(TSkinCheckBox)          \
    X(TSkinRadioButton)       \
    X(TSkinEdit)              \
    X(TSkinComBox)            \
    X(TSkinDateTime)          \
    X(TSkinTab)               \
    X(TSkinTabBtn)            \
    X(TSkinTabSheet)          \
    X(TSkinTab31)             \
    X(TSkinObjImage)          \
    X(TSkinAdvPage)           \
    X(TSkinHeader)            \
    X(TSkinListView)          \
    X(TSkinMP)                \
    X(TSkinLabel)

#define RAVELBOOK_DECLARE_SKINNER(Name) TSkinControl* NewSkinner_##Name(TComponent* owner);
RAVELBOOK_SKINNERS(RAVELBOOK_DECLARE_SKINNER)

namespace {

struct TSkinnerKind {
    const char* Name;
    TSkinnerFactory Make;
};

#define RAVELBOOK_SKINNER_ENTRY(Name) {#Name, NewSkinner_##Name},
const TSkinnerKind SKINNER_KINDS[] = {RAVELBOOK_SKINNERS(RAVELBOOK_SKINNER_ENTRY)};

TSkinnerFactory FindFactory(const std::string& name)
{
    for (const TSkinnerKind& kind : SKINNER_KINDS)
        if (name == kind.Name) return kind.Make;
    return nullptr;
}

}  // namespace

TSkinControl* NewSkinner(const std::string& name, TComponent* owner)
{
    const TSkinnerFactory make = FindFactory(name);
    if (!make) return nullptr;
    try {
        return make(owner);
    } catch (...) {
        return nullptr;
    }
}

bool SkinnerAvailable(const std::string& name)
{
    return FindFactory(name) != nullptr;
}
