// JUCE's X window system, for the display connection its windows use; before any JUCE header.
#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#include <juce_gui_basics/juce_gui_basics.h>

#include "toolkit/windows/TransientWindow.h"

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
} // namespace

void makeTransientForWindowOf (juce::Component& dialog, juce::Component& owner)
{
    auto* dialogPeer = dialog.getPeer();
    auto* ownerPeer = owner.getPeer();
    auto* windowSystem = juce::XWindowSystem::getInstanceWithoutCreating();
    auto* display = windowSystem != nullptr ? windowSystem->getDisplay() : nullptr;
    if (dialogPeer == nullptr || ownerPeer == nullptr || display == nullptr)
        return;

    const juce::XWindowSystemUtilities::ScopedXLock lock;
    const auto topLevel = topLevelWindowHolding (display, reinterpret_cast<::Window> (ownerPeer->getNativeHandle()));
    if (topLevel == None)
        return;
    juce::X11Symbols::getInstance()->xChangeProperty (display, reinterpret_cast<::Window> (dialogPeer->getNativeHandle()),
                                                      XA_WM_TRANSIENT_FOR, XA_WINDOW, 32, PropModeReplace,
                                                      reinterpret_cast<const unsigned char*> (&topLevel), 1);
}
