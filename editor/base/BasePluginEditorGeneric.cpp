// The generic layout: where no skin is built, one plain control per host
// parameter, in rows across the editor.
#include "editor/base/BasePluginEditor.h"

#include "framework/core/Parameters.h"
#include "toolkit/skin/GFXKnob.h"
#include "toolkit/skin/GFXToggleButton.h"

namespace
{
constexpr int controlWidth = 50, controlHeight = 80; // pixels
constexpr int columnWidth = 64;                     // pixels
constexpr int rowHeight = 120;                      // pixels
constexpr int firstRowY = 30;                       // pixels, below the plug-in's name
constexpr int leftMargin = 5;                       // pixels

// The plain control that fits the parameter's kind, as a component and as
// the controller that binds to it.
std::pair<std::unique_ptr<juce::Component>, GUIController*> makeGenericControl (Parameter& parameter, const juce::String& name)
{
    if (dynamic_cast<BoolParameter*> (&parameter) != nullptr)
    {
        auto button = std::make_unique<GFXToggleButton> (name);
        GUIController* controller = button.get();
        return { std::move (button), controller };
    }

    if (dynamic_cast<IntParameter*> (&parameter) != nullptr)
    {
        auto selector = std::make_unique<GFXSwitch> (name);
        GUIController* controller = selector.get();
        return { std::move (selector), controller };
    }

    auto knob = std::make_unique<GFXKnob> (name);
    GUIController* controller = knob.get();
    return { std::move (knob), controller };
}
} // namespace

bool BasePluginEditor::hasGapAfterParameter (int) { return false; }
bool BasePluginEditor::hasRowBreakAfterParameter (int) { return false; }

void BasePluginEditor::buildGenericControls()
{
    const int columnsPerRow = juce::jmax (1, (getWidth() - 2 * leftMargin) / columnWidth);
    int column = 0, row = 0;

    const auto nextRow = [&] {
        column = 0;
        ++row;
    };

    for (int index = 0; index < processor.getNumHostParameters(); ++index)
    {
        if (auto* parameter = processor.getHostParameterMap().getParameter (index))
        {
            auto [component, controller] = makeGenericControl (*parameter, parameter->getName());
            component->setBounds (column * columnWidth + leftMargin, firstRowY + row * rowHeight, controlWidth, controlHeight);
            controller->bindParameter (parameter);
            controller->refreshFromParameter();
            controller->addListener (this);
            addAndMakeVisible (*component);
            genericControls.push_back (std::move (component));
            ++column;
        }

        if (hasGapAfterParameter (index))
            ++column;

        if (hasRowBreakAfterParameter (index) || column >= columnsPerRow)
            nextRow();
    }

    genericControlsCreated();
}
