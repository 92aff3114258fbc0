#pragma once

#include "toolkit/binding/BaseGFXController.h"

#include <juce_gui_basics/juce_gui_basics.h>

// A two-way rocker: pressing its "more" half (the upper half of a vertical
// rocker, the right half of a horizontal one) fires "onMoreClick", the other
// half "onLessClick", each with a "...WithCtrl" variant while Ctrl is held.
// Its strip always holds three frames: less pressed, at rest, more pressed.
// Dragged off, it shows its rest frame until the mouse comes back. Message
// thread.
//
// Element attribute: type="vertical" (the default) or "horizontal".
class GFXRocker : public BaseGFXController, public juce::Component
{
public:
    explicit GFXRocker (const juce::String& name = {});

    void addAction (const juce::String& type, int eventId, const juce::String& eventName) override;
    void loadFromXml (const juce::XmlElement& element, SkinReader& reader) override;

    void mouseDown (const juce::MouseEvent& event) override;
    void mouseDrag (const juce::MouseEvent& event) override;
    void mouseUp (const juce::MouseEvent& event) override;
    void paint (juce::Graphics& g) override;

    enum Part
    {
        lessPart = 0,
        restPart = 1,
        morePart = 2
    };

private:
    void showPart (int part);

    bool horizontal = false;
    int pressedPart = restPart;
    int partAtPress = restPart;
    int onLessClickEvent = -1, onMoreClickEvent = -1, onLessClickWithCtrlEvent = -1, onMoreClickWithCtrlEvent = -1;
};
