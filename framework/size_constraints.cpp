// TSizeConstraints: the limits of a control's size (see controls.h).
#include "framework/controls.h"

#include <algorithm>

// ---- TSizeConstraints ---------------------------------------------------------

using PConstraints = TPropBuilder<TSizeConstraints>;
IMPLEMENT_CLASS(TSizeConstraints,
    PConstraints::Integer("MaxHeight", &TSizeConstraints::MaxHeight, &TSizeConstraints::SetMaxHeight),
    PConstraints::Integer("MaxWidth", &TSizeConstraints::MaxWidth, &TSizeConstraints::SetMaxWidth),
    PConstraints::Integer("MinHeight", &TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight),
    PConstraints::Integer("MinWidth", &TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth))

void TSizeConstraints::Changed()
{
    if (OnChange) OnChange(this);
}

void TSizeConstraints::SetMinWidth(int value)
{
    FMinWidth = std::max(value, 0);
    if (FMaxWidth && FMaxWidth < FMinWidth) FMaxWidth = FMinWidth;
    Changed();
}

void TSizeConstraints::SetMinHeight(int value)
{
    FMinHeight = std::max(value, 0);
    if (FMaxHeight && FMaxHeight < FMinHeight) FMaxHeight = FMinHeight;
    Changed();
}

void TSizeConstraints::SetMaxWidth(int value)
{
    FMaxWidth = std::max(value, 0);
    if (FMaxWidth && FMinWidth > FMaxWidth) FMinWidth = FMaxWidth;
    Changed();
}

void TSizeConstraints::SetMaxHeight(int value)
{
    FMaxHeight = std::max(value, 0);
    if (FMaxHeight && FMinHeight > FMaxHeight) FMinHeight = FMaxHeight;
    Changed();
}

void TSizeConstraints::Apply(int& width, int& height) const
{
    if (FMaxWidth && width > FMaxWidth) width = FMaxWidth;
    if (FMinWidth && width < FMinWidth) width = FMinWidth;
    if (FMaxHeight && height > FMaxHeight) height = FMaxHeight;
    if (FMinHeight && height < FMinHeight) height = FMinHeight;
}

void TSizeConstraints::Assign(const TPersistent& source)
{
    const auto* other = As<TSizeConstraints>(const_cast<TPersistent*>(&source));
    if (!other) return TPersistent::Assign(source);
    FMinWidth = other->FMinWidth;
    FMinHeight = other->FMinHeight;
    FMaxWidth = other->FMaxWidth;
    FMaxHeight = other->FMaxHeight;
    Changed();
}
