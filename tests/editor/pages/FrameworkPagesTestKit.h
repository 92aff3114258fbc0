#pragma once

#include "framework/processor/CollectionProduct.h"
#include "support/MessageLoop.h"
#include "support/TemporaryUserFolders.h"
#include "toolkit/widgets/ScriptedFileDialogs.h"
#include "toolkit/windows/ShownAlerts.h"

#include <gtest/gtest.h>

#include <memory>

// The framework's option pages are tested on a product that keeps its
// presets in a collection, with the user's folders in a temporary folder,
// under a Desktop whose file dialogs the test answers.
namespace pages_test
{
class FrameworkPageTest : public ::testing::Test,
                          protected testing_support::TemporaryUserFolders
{
protected:
    FrameworkPageTest() : TemporaryUserFolders ("pulsetta-framework-pages-")
    {
        desktop.setSize (800, 600);
        product = CollectionProduct::create (presetsFolder());
    }

    juce::File file (const juce::String& path) const { return folder.getChildFile (path); }
    juce::File presetsFolder() const { return file ("presets"); }

    // The alert shown over the Desktop, or null.
    Kyx::AlertWindow* shownAlert() { return toolkit_test::findShownAlert (desktop); }

    // Clicks the button of that text on the alert shown.
    void answer (const juce::String& buttonText) { toolkit_test::answerShownAlert (desktop, buttonText); }

    toolkit_test::DialogDesktop desktop;
    std::unique_ptr<CollectionProduct> product;
};
} // namespace pages_test
