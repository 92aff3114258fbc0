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
} // namespace host
