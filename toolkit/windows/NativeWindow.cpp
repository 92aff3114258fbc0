// JUCE's X window system, for the display connection its windows use; before any JUCE header.
#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#include <juce_gui_basics/juce_gui_basics.h>

#include "toolkit/windows/NativeWindow.h"

namespace
{
bool hasProperty (::Display* display, ::Window window, ::Atom property)
{
    auto& x11 = *juce::X11Symbols::getInstance();
    ::Atom type = None;
    int format = 0;
    unsigned long items = 0, bytesAfter = 0;
    unsigned char* data = nullptr;
    x11.xGetWindowProperty (display, window, property, 0, 0, False, AnyPropertyType, &type, &format, &items, &bytesAfter, &data);
    if (data != nullptr)
        x11.xFree (data);
    return type != None;
}

// The client's top-level window holding the window: the first of it and its
// ancestors that the window manager marked as managed (WM_STATE), or, with no
// window manager, the last one below the root. None when the window is gone.
::Window topLevelWindowHolding (::Display* display, ::Window window)
{
    auto& x11 = *juce::X11Symbols::getInstance();
    const ::Atom managed = x11.xInternAtom (display, "WM_STATE", True); // None until a window manager made it
    for (auto current = window;;)
    {
        if (managed != None && hasProperty (display, current, managed))
            return current;
        ::Window root = None, parent = None, *children = nullptr;
        unsigned int count = 0;
        if (x11.xQueryTree (display, current, &root, &parent, &children, &count) == 0)
            return None;
        if (children != nullptr)
            x11.xFree (children);
        if (parent == root || parent == None)
            return current;
        current = parent;
    }
}
::Display* displayOfOurWindows()
{
    auto* windowSystem = juce::XWindowSystem::getInstanceWithoutCreating();
    return windowSystem != nullptr ? windowSystem->getDisplay() : nullptr;
}

::Window windowOf (juce::ComponentPeer& peer)
{
    return reinterpret_cast<::Window> (peer.getNativeHandle());
}
} // namespace

void makeTransientForWindowOf (juce::Component& dialog, juce::Component& owner)
{
    auto* dialogPeer = dialog.getPeer();
    auto* ownerPeer = owner.getPeer();
    auto* display = displayOfOurWindows();
    if (dialogPeer == nullptr || ownerPeer == nullptr || display == nullptr)
        return;

    const juce::XWindowSystemUtilities::ScopedXLock lock;
    const auto topLevel = topLevelWindowHolding (display, windowOf (*ownerPeer));
    if (topLevel == None)
        return;
    juce::X11Symbols::getInstance()->xChangeProperty (display, windowOf (*dialogPeer), XA_WM_TRANSIENT_FOR, XA_WINDOW, 32,
                                                      PropModeReplace, reinterpret_cast<const unsigned char*> (&topLevel), 1);
}

std::optional<juce::Point<int>> windowScreenPosition (juce::Component& component)
{
    auto* peer = component.getPeer();
    auto* display = displayOfOurWindows();
    if (peer == nullptr || display == nullptr)
        return std::nullopt;

    auto& x11 = *juce::X11Symbols::getInstance();
    const juce::XWindowSystemUtilities::ScopedXLock lock;
    XWindowAttributes attributes {};
    if (x11.xGetWindowAttributes (display, windowOf (*peer), &attributes) == 0 || attributes.map_state != IsViewable)
        return std::nullopt;
    int x = 0, y = 0;
    ::Window child = None;
    if (x11.xTranslateCoordinates (display, windowOf (*peer), attributes.root, 0, 0, &x, &y, &child) == 0)
        return std::nullopt;
    return juce::Point<int> (x, y);
}
