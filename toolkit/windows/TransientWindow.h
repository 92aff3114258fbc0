#pragma once

namespace juce
{
class Component;
}

// Makes a window of its own on the desktop (a file dialog) transient for
// the top-level window that holds the owner's window: the host's window,
// for an editor inside it. The window manager then keeps the dialog above
// that window and with it, so it cannot fall behind the host. Best done
// before the dialog is first shown; nothing happens when either has no
// window. Message thread.
void makeTransientForWindowOf (juce::Component& dialog, juce::Component& owner);
