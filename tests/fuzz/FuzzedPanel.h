#pragma once

#include "toolkit/skin/PanelFromXml.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdio>
#include <cstdlib>

namespace juce
{
// Defined by juce_events for Linux, not declared in a public header: runs the
// next queued message, returning false when none was waiting.
bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
} // namespace juce

namespace fuzzing
{
// Ends the run with a failed check, saying which.
[[noreturn]] inline void fail (const char* what)
{
    std::fprintf (stderr, "%s\n", what);
    std::abort();
}

// What the skin targets check of a skin's build: refused, it says why; built,
// its panel paints as the editor shows it, into at most the editor's area
// (a sized parent: with no display a parentless component may not ask for
// its screen), and what its controls left for the message loop runs, as the
// host's idle calls would run it.
inline void checkAndPaint (PanelBuild& build, juce::Component& editor)
{
    if (build.panel == nullptr)
    {
        if (build.problems.isEmpty())
            fail ("a skin refused without a reason");
        return;
    }

    editor.addAndMakeVisible (*build.panel);
    juce::Image image (juce::Image::ARGB, editor.getWidth(), editor.getHeight(), true);
    juce::Graphics g (image);
    editor.paintEntireComponent (g, true);
    editor.removeAllChildren();
    build.panel.reset();

    for (int i = 0; i < 10000 && juce::dispatchNextMessageOnSystemQueue (true); ++i)
    {
    }
}
} // namespace fuzzing
