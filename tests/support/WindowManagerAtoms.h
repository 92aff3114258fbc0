#pragma once
// Include after every other header: Xlib's macros (None, Bool, Status) clash
// with names elsewhere.
#include <X11/Xlib.h>

namespace testing_support
{
// A bare X server has no window manager, so none of the atoms that JUCE only
// looks up and never makes: without them its windows end the process with an
// X error. They are made here, on a connection that stays open, so the server
// keeps them (Xvfb runs with -noreset).
inline void internWindowManagerAtoms (Display* display)
{
    for (const char* name : { "WM_PROTOCOLS", "WM_TAKE_FOCUS", "WM_DELETE_WINDOW", "_NET_WM_PING", "WM_CHANGE_STATE", "WM_STATE",
                              "_NET_WM_WINDOW_TYPE", "_NET_WM_STATE", "_NET_WM_STATE_HIDDEN", "_NET_WM_WINDOW_TYPE_COMBO",
                              "_NET_WM_WINDOW_TYPE_NORMAL" })
        XInternAtom (display, name, False);
}
} // namespace testing_support
