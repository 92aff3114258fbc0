#pragma once

#include "toolkit/binding/BaseGFXController.h"

#include <juce_gui_basics/juce_gui_basics.h>

// A button that shows one of several states (a step, a mode, a mute): the
// state follows its parameter (the nearest of states evenly spaced values)
// and a click only fires an event; the processor's answer changes the
// parameter, which comes back here. The strip holds one frame per state
// (style "2D") or two, released and pressed (style "3D"). A highlighted
// button (the playing step) shows the opposite state; a blinking one shows
// its off look in the dark phase. Message thread.
//
// Element attributes: style="2D"|"3D", states="n" (2 or more),
// clickEvent="onRelease"|"onPress", radioGroupId="n"; gfx resource only (the
// frame count follows from style and states).
class GFXMultiStateButton : public BaseGFXController, public juce::Button, private juce::Timer
{
public:
    explicit GFXMultiStateButton (const juce::String& name = {});
    ~GFXMultiStateButton() override;

    using GUIController::addListener;
    using GUIController::removeListener;
    using juce::Button::addListener;
    using juce::Button::removeListener;

    void addAction (const juce::String& type, int eventId, const juce::String& eventName) override;
    void updateFromParameter (Parameter* parameter) override;
    void loadFromXml (const juce::XmlElement& element, SkinReader& reader) override;

    // Lights state 1 for the given time, then goes back to state 0 (activity
    // lights).
    void flash (int milliseconds);

    void setHighlighted (bool shouldBeHighlighted);
    bool isHighlighted() const noexcept { return highlighted; }

    // Shows the state (the MIDI learn button, which no parameter drives);
    // repaints only when it changed.
    void setButtonStateIndex (int newState);
    int getButtonStateIndex() const noexcept { return state; }
    int getNumStates() const noexcept { return states; }

protected:
    void clicked (const juce::ModifierKeys& modifiers) override;
    void paintButton (juce::Graphics& g, bool isMouseOver, bool isButtonDown) override;
    void blinkStateChanged() override { repaint(); }

private:
    void timerCallback() override; // message thread
    int getFrameToShow (bool pressed) const noexcept;

    bool threeD = false;
    int state = 0;
    int states = 2;
    bool highlighted = false;
    int onClickEvent = -1, onClickWithCtrlEvent = -1, onClickWithShiftEvent = -1, onRightClickEvent = -1;
};
