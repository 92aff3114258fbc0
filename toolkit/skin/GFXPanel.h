#pragma once

#include "toolkit/binding/BaseGFXController.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <vector>

// The skin panel: paints its background (frame 0 of its image, a light grey
// without one, nothing when transparent) and owns the controls it builds from
// its skin element, nested panels included. Message thread.
//
//   <Panel name="MainPanel">
//     <gfx resource="background.png" transparent="no"/>
//     <controls ofsX="0" ofsY="0"> ...controls, one element each... </controls>
//   </Panel>
// Every control is built by the control factory, reads its own element, shows
// its parameter's value and is added on top of the ones before it; then all
// are moved by (ofsX, ofsY).
class GFXPanel : public BaseGFXController, public juce::Component
{
public:
    explicit GFXPanel (const juce::String& name = {});
    ~GFXPanel() override;

    // The listener hears from the panel and from every control in it,
    // however deeply nested.
    void addListener (GUIController::Listener* listener) override;

    void loadFromXml (const juce::XmlElement& element, SkinReader& reader) override;

    void paint (juce::Graphics& g) override;

    bool isTransparent() const noexcept { return transparent; }

    // Panels nested deeper than this (the outermost counting 1) are built
    // empty.
    static constexpr int maxDepth = 8;

private:
    void buildControls (const juce::XmlElement& controls, SkinReader& reader);

    bool transparent = false;
    std::vector<std::unique_ptr<juce::Component>> ownedControls;
};
