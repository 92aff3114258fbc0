#pragma once

#include "toolkit/binding/BaseGFXController.h"

#include <juce_gui_basics/juce_gui_basics.h>

// An on/off button that writes its bool parameter when clicked and follows
// it. The strip holds off and on (style "2D") or off up, off down, on up, on
// down (style "3D"). Message thread.
//
// Element attributes: style="2D"|"3D", clickEvent="onRelease"|"onPress",
// radioGroupId="n"; gfx resource only.
class GFXToggleButton : public BaseGFXController, public juce::Button
{
public:
    explicit GFXToggleButton (const juce::String& name = {});

    using GUIController::addListener;
    using GUIController::removeListener;
    using juce::Button::addListener;
    using juce::Button::removeListener;

    void updateFromParameter (Parameter* parameter) override;
    void loadFromXml (const juce::XmlElement& element, SkinReader& reader) override;

protected:
    void clicked (const juce::ModifierKeys& modifiers) override;
    void paintButton (juce::Graphics& g, bool isMouseOver, bool isButtonDown) override;
    void blinkStateChanged() override { repaint(); }

private:
    bool threeD = false;
};
