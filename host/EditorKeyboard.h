#pragma once
// What the binding asks of an editor's components about the keyboard.
//
// A host's keys (its transport keys, its shortcuts) belong to the host unless
// the editor has a use for them. A component that has one while it holds the
// keyboard focus (a text being edited, a window that Escape closes, an open
// menu) says so here; whenever the focused component and its parents say
// nothing, the binding gives the keyboard back to the host. A text editor
// and a JUCE modal window (a file dialog, its questions) always have a use.
// Message thread.
#include <juce_gui_basics/juce_gui_basics.h>

namespace editorkeyboard
{
inline const juce::Identifier& usesKeysProperty()
{
    static const juce::Identifier name { "usesKeys" };
    return name;
}

inline void setUsesKeys(juce::Component& component, bool usesKeys)
{
    component.getProperties().set(usesKeysProperty(), usesKeys);
}

// True when the focused component, or one of its parents, has a use for keys.
inline bool hasAUseForKeys(const juce::Component* focused)
{
    for (auto* component = focused; component != nullptr; component = component->getParentComponent())
        if (dynamic_cast<const juce::TextEditor*>(component) != nullptr || component->isCurrentlyModal(false)
            || static_cast<bool>(component->getProperties().getWithDefault(usesKeysProperty(), false)))
            return true;
    return false;
}
} // namespace editorkeyboard
