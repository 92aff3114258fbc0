#pragma once

#include "toolkit/binding/BaseGFXController.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <optional>

// A push button drawn from a two-frame strip (up, down). A click fires the
// skin's "onClick" event, "onClickWithCtrl" with Ctrl held (nothing when it
// has none), "onRightClick" with the right button; the event's name is the
// tooltip. Bound to a parameter it triggers on press and holds the parameter
// true while held down, false when released, press to release one gesture.
// Message thread.
//
// Element attributes: clickEvent="onRelease"|"onPress", autorepeat="no"|"yes".
class GFXButton : public BaseGFXController, public juce::Button
{
public:
    explicit GFXButton (const juce::String& name = {});

    using GUIController::addListener;
    using GUIController::removeListener;
    using juce::Button::addListener;
    using juce::Button::removeListener;

    void addAction (const juce::String& type, int eventId, const juce::String& eventName) override;
    void loadFromXml (const juce::XmlElement& element, SkinReader& reader) override;

    // Message thread, from the component's mouse and keyboard handling.
    void mouseEnter (const juce::MouseEvent& event) override;
    void modifierKeysChanged (const juce::ModifierKeys& modifiers) override;

protected:
    void clicked (const juce::ModifierKeys& modifiers) override;
    void buttonStateChanged() override;
    void paintButton (juce::Graphics& g, bool isMouseOver, bool isButtonDown) override;

private:
    void updateTooltip (const juce::ModifierKeys& modifiers);

    int onClickEvent = -1, onClickWithCtrlEvent = -1, onRightClickEvent = -1;
    juce::String onClickName, onClickWithCtrlName, onRightClickName;
    bool lastDown = false;
    std::optional<ScopedGesture> gesture;
};
