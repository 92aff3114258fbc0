#pragma once

#include "toolkit/binding/ParameterController.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

// The settings pages' check box: a small raised box with a tick, its text
// beside it. A click toggles it; when bound, it shows the parameter's bool
// and writes each toggle of the user back to it. The tick shows at half
// alpha when the box or a parent is disabled. Message thread.
class CheckBox_V2 : public juce::TextButton,
                    public ParameterController
{
public:
    CheckBox_V2();
    ~CheckBox_V2() override;

    // Takes the height (a negative one keeps the current height) and the
    // width of the text plus 1.2 x height for the box.
    void changeWidthToFitText (int height);

    // The box: the square at (3, 3) with side height - 6 (none below 6 pixels).
    juce::Rectangle<int> getBoxArea() const;
    const juce::Drawable& getTick() const noexcept { return *tick; }

    void enablementChanged() override;
    void resized() override;
    void paintButton (juce::Graphics& g, bool isMouseOver, bool isButtonDown) override;
    void buttonStateChanged() override;
    void updateFromParameter (Parameter* parameter) override;

private:
    void updateTick();

    std::unique_ptr<juce::Drawable> tick;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CheckBox_V2)
};
