#include "drummachine/sequencer/PatternXml.h"

#include "framework/core/TextNumbers.h"

namespace PatternXml
{
namespace
{
// The file keeps flam as a 0..1 figure over the range 0.121..0.383.
constexpr double flamSpan = Pattern::maxFlam - Pattern::minFlam; // 0.262
constexpr double flamToFile = 3.8167938931297707;                 // 1 / 0.262
// Files without "application" come from an older version that kept shuffle
// as 0..1 of the full 0.8 swing.
constexpr double oldShuffleScale = 0.8;

int rowOfChild (const juce::XmlElement& child)
{
    const int row = instruments::getIndexOfCode (child.getTagName());
    if (row >= 0)
        return row;
    if (child.getTagName() == "TA") // older name of the accent row, exact
        return Pattern::accentTrack;
    return -1;
}
} // namespace

int32_t stepValueOf (juce::juce_wchar character) noexcept
{
    switch (character)
    {
        case 'o': return Pattern::stepOn;
        case 'O': return Pattern::stepAccent;
        case 'X': case 'x': return Pattern::stepFlam;
        default: return Pattern::stepOff;
    }
}

char characterOf (int32_t stepValue) noexcept
{
    switch (stepValue)
    {
        case Pattern::stepOn: return 'o';
        case Pattern::stepAccent: return 'O';
        case Pattern::stepFlam: return 'X';
        default: return '.';
    }
}

Pattern read (const juce::XmlElement& element)
{
    Pattern pattern;
    pattern.setName (element.getStringAttribute ("name"));
    pattern.setLength (readIntAttribute (element, "length", 16));
    pattern.setScale (readIntAttribute (element, "scale", readIntAttribute (element, "stepsPerBeat", 4)));

    double shuffle = readDecimalAttribute (element, "shuffle", 0.0);
    if (! element.hasAttribute ("application"))
        shuffle *= oldShuffleScale;
    pattern.setShuffle (shuffle);

    pattern.setTempo (readDecimalAttribute (element, "tempo", 120.0));
    pattern.setFlam (Pattern::minFlam + flamSpan * readDecimalAttribute (element, "flam", 0.5));

    pattern.clearSteps();
    for (auto* child : element.getChildIterator())
    {
        const int row = rowOfChild (*child);
        if (row < 0)
            continue;

        // Kept in a local: the text of a row made of several text nodes is
        // assembled into a new string.
        const auto rowText = child->getAllSubText();
        auto text = rowText.getCharPointer(); // one code point per step
        for (int step = 0; step < Pattern::numSteps && ! text.isEmpty(); ++step)
            pattern.setStep (row, step, stepValueOf (text.getAndAdvance()));
    }
    return pattern;
}

std::unique_ptr<juce::XmlElement> create (const Pattern& pattern, const juce::String& applicationName)
{
    auto element = std::make_unique<juce::XmlElement> ("Pattern");
    element->setAttribute ("application", applicationName);
    element->setAttribute ("name", pattern.getName());
    element->setAttribute ("length", pattern.getLength());
    element->setAttribute ("scale", pattern.getScale());
    element->setAttribute ("shuffle", pattern.getShuffle());
    element->setAttribute ("tempo", pattern.getTempo());
    element->setAttribute ("flam", (pattern.getFlam() - Pattern::minFlam) * flamToFile);

    for (int row = 0; row < Pattern::numTracks; ++row)
    {
        char text[Pattern::numSteps + 1] = {};
        for (int step = 0; step < pattern.getLength(); ++step)
            text[step] = characterOf (pattern.getStep (row, step));

        auto* child = element->createNewChildElement (instruments::getShortCode (row));
        child->addTextElement (juce::String (text));
    }
    return element;
}
} // namespace PatternXml
