#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <optional>

// Our windows as the X server has them: what JUCE does not ask it or keeps
// from an earlier answer. Message thread.

// Makes a window of its own on the desktop (a file dialog) transient for
// the top-level window that holds the owner's window: the host's window,
// for an editor inside it. The window manager then keeps the dialog above
// that window and with it, so it cannot fall behind the host. Best done
// before the dialog is first shown; nothing happens when either has no
// window.
void makeTransientForWindowOf (juce::Component& dialog, juce::Component& owner);

// Where the window holding the component has its top-left corner on the
// screen now, in pixels: asked of the server, since JUCE learns that a
// host's window has moved (and ours, inside it, with it) only from the next
// mouse event. Nothing when the component has no window, or its window is
// not viewable (unmapped, or inside a window that is).
std::optional<juce::Point<int>> windowScreenPosition (juce::Component& component);
