#include "toolkit/binding/SkinReader.h"

#include "framework/core/TextNumbers.h"
#include "toolkit/binding/FrameStrip.h"

#include <cmath>

namespace
{
// The attribute's text as a problem quotes it: short enough for a line.
juce::String quoted (const juce::String& text)
{
    constexpr int longest = 24;
    return text.length() <= longest ? text : text.substring (0, longest) + "...";
}

// How a problem goes on after the attribute's place when its bounds changed
// the number the text gave.
template <typename Number>
juce::String outOfBounds (const juce::String& text, Number lowest, Number highest, Number kept)
{
    return " " + quoted (text) + " is out of " + juce::String (lowest) + ".." + juce::String (highest) + ": " + juce::String (kept)
           + " taken";
}
} // namespace

SkinReader::SkinReader (SkinContext& skinContext) : context (skinContext)
{
}

juce::Image SkinReader::findImage (const juce::String& resourceName)
{
    if (resourceName.isEmpty())
    {
        report ("an image without a resource name");
        return {};
    }

    auto image = context.getImage (resourceName);

    if (! image.isValid())
        report ("no image \"" + resourceName + "\"");

    return image;
}

Parameter* SkinReader::findParameter (const juce::String& name)
{
    auto* parameter = context.getParameterByName (name);

    if (parameter == nullptr)
        report ("no parameter named \"" + name + "\"");

    return parameter;
}

int SkinReader::findEvent (const juce::String& eventName)
{
    const int id = context.getEventId (eventName);

    if (id == -1)
        report ("no event named \"" + eventName + "\"");

    return id;
}

int SkinReader::checkFrameCount (const juce::String& resourceName, const juce::Image& strip, int framesNum)
{
    const int height = strip.getHeight();
    const int frames = toolkit::clampFrameCount (framesNum, height);

    if (frames != framesNum)
        report ("image \"" + resourceName + "\" cannot hold " + juce::String (framesNum) + " frames in "
                + juce::String (height) + " rows: " + juce::String (frames) + " taken");
    else if (height % frames != 0)
        report ("image \"" + resourceName + "\" is " + juce::String (height) + " pixels high, not a whole number of "
                + juce::String (frames) + " frames");

    return frames;
}

int SkinReader::readInt (const juce::XmlElement& element, juce::StringRef attribute, int fallback, SkinBounds bounds)
{
    if (! element.hasAttribute (attribute))
        return fallback;

    const auto text = element.getStringAttribute (attribute);
    const int value = parseLeadingInt (text);
    const int kept = clampToRange (value, bounds.lowest, bounds.highest);

    if (kept != value)
        report (describeAttribute (element, attribute) + outOfBounds (text, bounds.lowest, bounds.highest, kept));

    return kept;
}

double SkinReader::readDecimal (const juce::XmlElement& element, juce::StringRef attribute, double fallback, SkinDecimalBounds bounds)
{
    if (! element.hasAttribute (attribute))
        return fallback;

    const auto text = element.getStringAttribute (attribute);
    const double value = parseDecimal (text);

    if (std::isnan (value))
    {
        report (describeAttribute (element, attribute) + " " + quoted (text) + " is no number: " + juce::String (fallback) + " taken");
        return fallback;
    }

    const double kept = clampToRange (value, bounds.lowest, bounds.highest);

    if (kept != value)
        report (describeAttribute (element, attribute) + outOfBounds (text, bounds.lowest, bounds.highest, kept));

    return kept;
}

juce::String SkinReader::describeAttribute (const juce::XmlElement& element, juce::StringRef attribute) const
{
    const juce::String name (attribute);

    if (! placedElements.isEmpty() && placedElements.getLast() == &element)
        return name;

    return element.getTagName() + " " + name;
}

void SkinReader::report (const juce::String& message)
{
    const auto line = places.isEmpty() ? message : places.joinIntoString (" > ") + ": " + message;

    if (problems.contains (line))
        return;

    if (problems.size() < maxProblems)
        problems.add (line);
    else
        ++droppedProblems;
}

juce::StringArray SkinReader::getProblems() const
{
    auto all = problems;

    if (droppedProblems > 0)
        all.add ("and " + juce::String (droppedProblems) + " more problems");

    return all;
}

SkinReader::ScopedPlace::ScopedPlace (SkinReader& skinReader, const juce::XmlElement& element, int position)
    : reader (skinReader)
{
    const auto name = element.getStringAttribute ("name");
    auto place = element.getTagName();

    if (name.isNotEmpty())
        place << " \"" << name << "\"";
    else if (position > 0)
        place << " #" << position;

    reader.places.add (place);
    reader.placedElements.add (&element);
}

SkinReader::ScopedPlace::~ScopedPlace()
{
    reader.places.remove (reader.places.size() - 1);
    reader.placedElements.removeLast();
}
