#pragma once

#include "toolkit/binding/SkinContext.h"

#include <juce_core/juce_core.h>
#include <juce_graphics/juce_graphics.h>

// The range a whole number of a skin may take, both ends included.
struct SkinBounds
{
    int lowest, highest;
};

// The same for a decimal number.
struct SkinDecimalBounds
{
    double lowest, highest;
};

// One reading of a skin: the widgets find images, parameters and events
// through it, and whatever it cannot find, or finds wrong, is noted with the
// place in the skin where it occurred ("Panel "MainPanel" > Knob "Tune":
// no image "knob.png""). Each problem is noted once; the widget carries on
// with a safe default, so a faulty skin still builds and paints, and the
// editor shows the whole list afterwards. Message thread.
class SkinReader
{
public:
    explicit SkinReader (SkinContext& context);

    SkinReader (const SkinReader&) = delete;
    SkinReader& operator= (const SkinReader&) = delete;

    SkinContext& getContext() noexcept { return context; }

    // The image of that resource name; a null image, noted, when the skin
    // has none.
    juce::Image findImage (const juce::String& resourceName);

    // The parameter of that name; null, noted, when there is none.
    Parameter* findParameter (const juce::String& name);

    // The id of the event of that name; -1, noted, when there is none.
    int findEvent (const juce::String& eventName);

    // The number of frames a strip can hold when the skin asks for framesNum
    // (at least 1, at most one per row), noting a count out of that range and
    // a strip whose height is not a whole number of frames.
    int checkFrameCount (const juce::String& resourceName, const juce::Image& strip, int framesNum);

    // A whole number of the skin: the attribute's leading integer (0 when
    // its text has none; the fallback when the element lacks it), kept
    // within the bounds. A skin package is a user's file, so every number is
    // bounded here, where it is read: one outside the bounds is noted with
    // its place and the nearest bound taken.
    int readInt (const juce::XmlElement& element, juce::StringRef attribute, int fallback, SkinBounds bounds);

    // The same for a decimal number; text that is no finite number ("nan",
    // "inf") is noted and takes the fallback.
    double readDecimal (const juce::XmlElement& element, juce::StringRef attribute, double fallback, SkinDecimalBounds bounds);

    // Notes a problem at the current place; a problem already noted there is
    // not noted again.
    void report (const juce::String& message);

    // Every problem noted so far, in the order found, each with its place.
    juce::StringArray getProblems() const;

    // The element being read, for the places of problems noted meanwhile:
    // its tag and its name, or its position among its siblings (1 for the
    // first) when it has no name.
    class ScopedPlace
    {
    public:
        ScopedPlace (SkinReader& reader, const juce::XmlElement& element, int position = 0);
        ~ScopedPlace();

        ScopedPlace (const ScopedPlace&) = delete;
        ScopedPlace& operator= (const ScopedPlace&) = delete;

    private:
        SkinReader& reader;
    };

    // A panel being read; panels within panels count their depth here, so
    // that a skin nesting them without end is refused.
    class ScopedPanel
    {
    public:
        explicit ScopedPanel (SkinReader& reader) noexcept : owner (reader) { ++owner.panelDepth; }
        ~ScopedPanel() { --owner.panelDepth; }

        ScopedPanel (const ScopedPanel&) = delete;
        ScopedPanel& operator= (const ScopedPanel&) = delete;

    private:
        SkinReader& owner;
    };

    // Panels being read, the outermost counting 1.
    int getPanelDepth() const noexcept { return panelDepth; }

    // A skin with more problems than this gets the first ones and a count of
    // the rest.
    static constexpr int maxProblems = 100;

private:
    // "size width" for an attribute of a child of the element being read,
    // "states" for one of the element itself.
    juce::String describeAttribute (const juce::XmlElement& element, juce::StringRef attribute) const;

    SkinContext& context;
    juce::StringArray places;
    juce::Array<const juce::XmlElement*> placedElements;
    juce::StringArray problems;
    int droppedProblems = 0;
    int panelDepth = 0;
};
