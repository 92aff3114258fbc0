#include "tools/skinart/SkinDocument.h"

namespace skinart
{
namespace
{
juce::String argb (juce::Colour colour) { return colour.toDisplayString (true); }

void addPosition (juce::XmlElement& element, juce::Point<int> position)
{
    auto* pos = element.createNewChildElement ("pos");
    pos->setAttribute ("left", position.x);
    pos->setAttribute ("top", position.y);
}

void addSize (juce::XmlElement& element, juce::Rectangle<int> bounds)
{
    auto* size = element.createNewChildElement ("size");
    size->setAttribute ("width", bounds.getWidth());
    size->setAttribute ("height", bounds.getHeight());
}

void addStrip (juce::XmlElement& element, const juce::String& image, int frames)
{
    auto* gfx = element.createNewChildElement ("gfx");
    gfx->setAttribute ("resource", image);
    gfx->setAttribute ("framesNum", frames);
}

std::unique_ptr<juce::XmlElement> makeControl (const Control& control)
{
    auto element = std::make_unique<juce::XmlElement> (tagOf (control.element));
    element->setAttribute ("name", control.name);

    switch (control.element)
    {
        case Element::switchKnob: element->setAttribute ("style", "Rotary"); break;
        case Element::multiStateButton:
            element->setAttribute ("style", control.threeD ? "3D" : "2D");
            element->setAttribute ("states", control.states);
            break;
        case Element::numericDisplay:
            element->setAttribute ("digitsNum", control.digits);
            element->setAttribute ("firstDigitOrder", control.firstDigitOrder);
            element->setAttribute ("minValue", juce::String (control.minValue));
            element->setAttribute ("maxValue", juce::String (control.maxValue));
            if (control.continuous)
                element->setAttribute ("control", "continous"); // the widgets' spelling
            break;
        case Element::display:
            element->setAttribute ("backgroundColour", argb (control.background));
            element->setAttribute ("caretColour", argb (control.caret));
            element->setAttribute ("readonly", "no");
            break;
        case Element::knob:
        case Element::animation:
        case Element::button:
        case Element::patternNumberDisplay: break;
    }
    for (const auto& [attribute, value] : control.attributes)
        element->setAttribute (attribute, value);

    if (control.link.isNotEmpty())
    {
        auto* link = element->createNewChildElement ("links")->createNewChildElement ("link");
        link->setAttribute ("as", "connectedTo");
        link->setAttribute ("param", control.link);
    }
    if (! control.actions.empty())
    {
        auto* actions = element->createNewChildElement ("actions");
        for (const auto& action : control.actions)
        {
            auto* entry = actions->createNewChildElement ("action");
            entry->setAttribute ("type", action.type);
            entry->setAttribute ("event", action.event);
        }
    }

    switch (control.element)
    {
        case Element::numericDisplay:
        {
            auto* digits = element->createNewChildElement ("digits");
            for (const auto& image : control.digitImages)
                digits->createNewChildElement ("gfx")->setAttribute ("resource", image);
            addSize (*element, control.bounds);
            break;
        }
        case Element::patternNumberDisplay:
        {
            auto* gfx = element->createNewChildElement ("gfx");
            const char* const positions[] = { "firstDigit", "secondDigit", "thirdDigit", "fourthDigit" };
            for (size_t i = 0; i < control.digitImages.size(); ++i)
                gfx->setAttribute (positions[i], control.digitImages[i]);
            addSize (*element, control.bounds);
            break;
        }
        case Element::display:
        {
            auto* gfx = element->createNewChildElement ("gfx");
            gfx->setAttribute ("resource", control.image);
            gfx->setAttribute ("fontHeight", lcdFont::glyphHeight);
            gfx->setAttribute ("firstASCII", juce::String::charToString ((juce::juce_wchar) lcdFont::firstGlyph));
            addSize (*element, control.bounds);
            break;
        }
        case Element::knob:
        case Element::switchKnob:
        case Element::animation:
        case Element::button:
        case Element::multiStateButton: addStrip (*element, control.image, control.frames); break;
    }
    addPosition (*element, control.bounds.getPosition());
    return element;
}
} // namespace

std::unique_ptr<juce::XmlElement> makeSkinDocument (const SkinLayout& layout, const juce::String& backgroundFile)
{
    auto root = std::make_unique<juce::XmlElement> ("PluginEditor");
    root->setAttribute ("application", "Pulsetta");

    auto* panel = root->createNewChildElement ("Panel");
    panel->setAttribute ("name", "MainPanel");
    addStrip (*panel, backgroundFile, 1);
    addPosition (*panel, {});
    addSize (*panel, { layout.width, layout.height });

    auto* controls = panel->createNewChildElement ("controls");
    for (const auto& control : layout.controls)
        controls->addChildElement (makeControl (control).release());
    return root;
}
} // namespace skinart
