#include "toolkit/widgets/CheckBox_V2.h"

#include "toolkit/lookandfeel/ToolkitDrawing.h"
#include "toolkit/widgets/ToggleButtonLook.h"

namespace
{
// tick.svg: a black tick on a 32 x 32 view box.
constexpr char tickSvg[] =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">)"
    R"(<path d="M6 16.5 L13 24 L26 7.5" fill="none" stroke="#000000" stroke-width="4.5")"
    R"( stroke-linecap="round" stroke-linejoin="round"/></svg>)";

std::unique_ptr<juce::Drawable> makeTick()
{
    if (auto drawable = toolkit::createDrawableFromSvg (tickSvg, sizeof (tickSvg) - 1))
        return drawable;

    return std::make_unique<juce::DrawableComposite>();
}
} // namespace

CheckBox_V2::CheckBox_V2()
    : tick (makeTick())
{
    setWantsKeyboardFocus (false);
    setClickingTogglesState (true);

    tick->setInterceptsMouseClicks (false, false);
    tick->setMouseClickGrabsKeyboardFocus (false);
    addAndMakeVisible (*tick);
    updateTick();
}

CheckBox_V2::~CheckBox_V2() = default;

void CheckBox_V2::changeWidthToFitText (int height)
{
    toolkit::fitToggleButtonToText (*this, height);
}

juce::Rectangle<int> CheckBox_V2::getBoxArea() const
{
    const int side = juce::jmax (0, getHeight() - 6);
    return { 3, 3, side, side };
}

void CheckBox_V2::updateTick()
{
    // isEnabled is false as well when a parent is disabled.
    tick->setAlpha (isEnabled() ? 1.0f : 0.5f);
    tick->setVisible (getToggleState());
}

void CheckBox_V2::enablementChanged()
{
    juce::TextButton::enablementChanged();
    updateTick();
}

void CheckBox_V2::resized()
{
    const auto box = getBoxArea();

    if (! box.isEmpty())
        tick->setTransformToFit (box.toFloat(), juce::RectanglePlacement::centred);
}

void CheckBox_V2::buttonStateChanged()
{
    // Dropped while the box only shows the parameter's value.
    getBinding().writeBool (getToggleState());
    updateTick();
}

void CheckBox_V2::updateFromParameter (Parameter* parameter)
{
    if (parameter != nullptr)
        setToggleState (parameter->getBool(), juce::dontSendNotification);
}

void CheckBox_V2::paintButton (juce::Graphics& g, bool isMouseOver, bool isButtonDown)
{
    juce::Path box;
    box.addRoundedRectangle (getBoxArea().toFloat().reduced (0.5f), 4.0f);
    toolkit::fillToggleShape (g, box, toolkit::getButtonFaceColour (*this, isMouseOver, isButtonDown));
    toolkit::drawToggleLabel (g, *this);
}
