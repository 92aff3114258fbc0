#pragma once

#include "tools/skinart/SkinLayout.h"

#include <memory>

// The skin document ("skin.xml") written from the layout: the root
// PluginEditor for the product, one MainPanel on the background with every
// control in the widgets' own vocabulary. Build tool only.
namespace skinart
{
std::unique_ptr<juce::XmlElement> makeSkinDocument (const SkinLayout& layout, const juce::String& backgroundFile);
} // namespace skinart
