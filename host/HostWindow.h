#pragma once
// The host's window as the X server has it now: the host may hide it (unmap
// it, or a window holding it) without a call to the plug-in, and JUCE is
// told nothing of a window it did not make. Message thread.
#include <optional>

namespace host
{
// True while the window and all its ancestors are mapped; nothing when the
// window is gone or there is no display.
std::optional<bool> isWindowViewable(void* nativeWindow);

// The window that has the X keyboard focus now; null when none, the root, or no display.
void* keyboardFocusWindow();
// True for the native window of any of JUCE's windows in this module.
bool isOneOfOurWindows(void* nativeWindow);
// Gives the keyboard focus to the window; false (and nothing happens) when it is gone or not viewable.
bool giveKeyboardFocusTo(void* nativeWindow);
} // namespace host
