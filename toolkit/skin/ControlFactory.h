#pragma once

#include "toolkit/binding/GUIController.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <utility>

// The skin's control vocabulary: one table (in ControlFactory.cpp) from an
// element's tag to the class that builds it. A class is added by adding its
// line to that table:
//   { "Display", [] (const juce::String& name, SkinContext&) { return makeSkinWidget<GFXDisplay> (name); } },

// A control made by the factory: the component the panel owns and shows,
// and the same object as the controller that reads its skin element.
struct SkinWidget
{
    std::unique_ptr<juce::Component> component;
    GUIController* controller = nullptr;
};

// Makes a widget class that is both a component and a controller, with the
// given component name (and whatever else its constructor takes).
template <typename Widget, typename... Arguments>
SkinWidget makeSkinWidget (const juce::String& name, Arguments&&... arguments)
{
    auto widget = std::make_unique<Widget> (name, std::forward<Arguments> (arguments)...);
    GUIController* controller = widget.get();
    return { std::move (widget), controller };
}

namespace toolkit
{
// Message thread. A new, unloaded control for the element's tag (compared
// without regard to case) with the given component name. Empty, with the
// problem noted on the reader, when the tag is unknown.
SkinWidget createControl (const juce::String& tag, const juce::String& name, SkinReader& reader);
} // namespace toolkit
