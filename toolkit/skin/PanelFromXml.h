#pragma once

#include "toolkit/skin/GFXPanel.h"

#include <memory>

// A skin's main panel, built, and every problem found in the skin on the way,
// each with its place ("Panel "MainPanel" > Knob "Tune": no image
// "knob.png""). Problems never stop the build: the panel shows what could be
// read. The panel is null only when the skin is not one for this plug-in.
struct PanelBuild
{
    std::unique_ptr<GFXPanel> panel;
    juce::StringArray problems;
};

namespace toolkit
{
// Message thread. Builds the main panel of a skin document: the root must be
// a "PluginEditor" whose "application" is pluginName (both without regard to
// case), and its first "Panel" child named "MainPanel" (without regard to
// case) becomes the panel, whose component name is "MainEditorPanel".
PanelBuild createPanelFromXml (const juce::XmlElement& root, SkinContext& context, const juce::String& pluginName);
} // namespace toolkit
