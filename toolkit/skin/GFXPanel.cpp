#include "toolkit/skin/GFXPanel.h"

#include "framework/core/XmlTags.h"
#include "toolkit/binding/SkinXml.h"
#include "toolkit/skin/ControlFactory.h"

GFXPanel::GFXPanel (const juce::String& name) : juce::Component (name)
{
}

GFXPanel::~GFXPanel()
{
    // The controls go last first, the reverse of how they were stacked.
    while (! ownedControls.empty())
        ownedControls.pop_back();
}

void GFXPanel::addListener (GUIController::Listener* listener)
{
    GUIController::addListener (listener);

    for (auto* child : getChildren())
        if (auto* controller = dynamic_cast<GUIController*> (child))
            controller->addListener (listener);
}

void GFXPanel::loadFromXml (const juce::XmlElement& element, SkinReader& reader)
{
    const SkinReader::ScopedPanel level (reader);

    BaseGFXController::loadFromXml (element, reader);

    if (auto* gfx = findChildWithTag (&element, "gfx"))
    {
        const bool shouldBeTransparent = gfx->getBoolAttribute ("transparent");

        if (shouldBeTransparent != transparent)
        {
            transparent = shouldBeTransparent;
            repaint();
        }
    }

    if (auto* controls = findChildWithTag (&element, "controls"))
    {
        if (reader.getPanelDepth() > maxDepth)
            reader.report ("panels nested more than " + juce::String (maxDepth) + " deep: the controls of this one are left out");
        else
            buildControls (*controls, reader);
    }

    applyFrameBounds();
    repaint();
}

void GFXPanel::buildControls (const juce::XmlElement& controls, SkinReader& reader)
{
    int position = 0;

    for (auto* element : controls.getChildIterator())
    {
        if (element->isTextElement())
            continue;

        const SkinReader::ScopedPlace place (reader, *element, ++position);
        auto widget = toolkit::createControl (element->getTagName(), element->getStringAttribute ("name"), reader);

        if (widget.component == nullptr)
            continue;

        widget.controller->loadFromXml (*element, reader);
        widget.controller->refreshFromParameter();
        addAndMakeVisible (*widget.component);
        ownedControls.push_back (std::move (widget.component));
    }

    const int offsetX = reader.readInt (controls, "ofsX", 0, toolkit::skinbounds::offset);
    const int offsetY = reader.readInt (controls, "ofsY", 0, toolkit::skinbounds::offset);

    for (auto* child : getChildren())
        child->setBounds (child->getBounds().translated (offsetX, offsetY));
}

void GFXPanel::paint (juce::Graphics& g)
{
    if (transparent)
        return;

    if (hasImage())
        drawFrame (g, 0);
    else
        g.fillAll (juce::Colour::greyLevel (0.9f));
}
