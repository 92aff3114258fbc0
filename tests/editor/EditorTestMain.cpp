#include "support/MessageLoop.h"

#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

// The editor tests run on the message thread with JUCE's GUI initialised and
// no display: panels and pages are painted into images, and deferred work is flushed
// with testing_support::runPendingMessages.
int main (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);
    juce::ScopedJuceInitialiser_GUI juce;
    testing_support::becomeMessageThread();
    return RUN_ALL_TESTS();
}
