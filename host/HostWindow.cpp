#include "host/HostWindow.h"

// JUCE's X window system, for the display connection its windows use; before any JUCE header.
#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#include <juce_gui_basics/juce_gui_basics.h>

namespace host
{
std::optional<bool> isWindowViewable(void* nativeWindow)
{
    auto* windowSystem = juce::XWindowSystem::getInstanceWithoutCreating();
    auto* display = windowSystem != nullptr ? windowSystem->getDisplay() : nullptr;
    if (display == nullptr || nativeWindow == nullptr)
        return std::nullopt;
    const juce::XWindowSystemUtilities::ScopedXLock lock;
    XWindowAttributes attributes {};
    // The error of a window that is gone goes to JUCE's handler, which only logs it.
    if (juce::X11Symbols::getInstance()->xGetWindowAttributes(display, reinterpret_cast<::Window>(nativeWindow), &attributes) == 0)
        return std::nullopt;
    return attributes.map_state == IsViewable;
}
} // namespace host
