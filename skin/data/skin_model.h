// The skin model on Windows: the composer that draws the derived images with
// GDI and the whole load of a model from a compressed skin container.
#pragma once

#include <windows.h>

#include <string>

#include "skin/data/skin_model_core.h"

// Draws with the skin engine's frame routines and answers with the running
// system's metrics and colours.
class TGdiSkinComposer : public TSkinComposer {
public:
    int ScrollArrowWidth() override;
    TSkinColour ResolveColour(TSkinColour colour) override;
    TBmpImage ComposeComboStrip(const TDataSkinObject& sunkEdge, const TDataSkinObject& comboButton,
                                const TDataSkinObject* extraImages, int buttonWidth) override;
    TBmpImage Gradient(int width, int height, TSkinColour from, TSkinColour to) override;
    TSkinColour Blend(TSkinColour colour1, TSkinColour colour2, int weight) override;
    int Saturation(TSkinColour colour) override;
};

// The object's margins as the frame routines take them (a RECT of sizes).
RECT SkinMargins(const TDataSkinObject& object);

// Reads a decoded skin: its description (the first entry whose name holds
// ".ini") and its bitmaps, built into `model` with the GDI composer.
void BuildSkinModelFromReader(TSkinModel& model, const TSkinReader& reader);
