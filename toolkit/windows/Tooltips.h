#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Hides the tooltip shown over the component's window, if any: a dialog
// opening over the editor must not leave the tip of the control the mouse
// was over showing above or beside it. The editor's tooltip window is a
// child of the editor, so it is looked for among the children of the
// component and of each of its parents. Message thread.
void hideTooltipsOver (juce::Component& component);
