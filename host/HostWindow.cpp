#include "host/HostWindow.h"

// JUCE's X window system, for the display connection its windows use; before any JUCE header.
#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#include <juce_gui_basics/juce_gui_basics.h>

namespace host
{
namespace
{
::Display* displayOfOurWindows()
{
    auto* windowSystem = juce::XWindowSystem::getInstanceWithoutCreating();
    return windowSystem != nullptr ? windowSystem->getDisplay() : nullptr;
}
} // namespace

std::optional<bool> isWindowViewable(void* nativeWindow)
{
    auto* display = displayOfOurWindows();
    if (display == nullptr || nativeWindow == nullptr)
        return std::nullopt;
    const juce::XWindowSystemUtilities::ScopedXLock lock;
    XWindowAttributes attributes {};
    // The error of a window that is gone goes to JUCE's handler, which only logs it.
    const auto window = reinterpret_cast<::Window>(nativeWindow);
    if (juce::X11Symbols::getInstance()->xGetWindowAttributes(display, window, &attributes) == 0)
        return std::nullopt;
    return attributes.map_state == IsViewable;
}

void* keyboardFocusWindow()
{
    auto* display = displayOfOurWindows();
    if (display == nullptr)
        return nullptr;
    const juce::XWindowSystemUtilities::ScopedXLock lock;
    ::Window focus = None;
    int revertTo = 0;
    auto& x11 = *juce::X11Symbols::getInstance();
    x11.xGetInputFocus(display, &focus, &revertTo);
    // PointerRoot (1), None (0) and the root window are no window to give the keyboard back to.
    if (focus <= PointerRoot || focus == x11.xDefaultRootWindow(display))
        return nullptr;
    return reinterpret_cast<void*>(focus);
}

bool isOneOfOurWindows(void* nativeWindow)
{
    for (int i = juce::ComponentPeer::getNumPeers(); --i >= 0;)
        if (auto* peer = juce::ComponentPeer::getPeer(i); peer != nullptr && peer->getNativeHandle() == nativeWindow)
            return true;
    return false;
}

bool giveKeyboardFocusTo(void* nativeWindow)
{
    auto* display = displayOfOurWindows();
    if (display == nullptr || isWindowViewable(nativeWindow) != true)
        return false;
    const juce::XWindowSystemUtilities::ScopedXLock lock;
    juce::X11Symbols::getInstance()->xSetInputFocus(display, reinterpret_cast<::Window>(nativeWindow), RevertToParent,
                                                    CurrentTime);
    return true;
}
} // namespace host
