#pragma once

#include "framework/processor/CollectionProduct.h"
#include "platform/UserFolders.h"
#include "support/MessageLoop.h"
#include "tools/TempFolder.h"
#include "toolkit/widgets/ScriptedFileDialogs.h"
#include "toolkit/windows/AlertWindow.h"

#include <gtest/gtest.h>

#include <memory>

// The framework's option pages are tested on a product that keeps its
// presets in a collection, with the user's folders in a temporary folder,
// under a Desktop whose file dialogs the test answers.
namespace pages_test
{
class FrameworkPageTest : public ::testing::Test
{
protected:
    FrameworkPageTest()
    {
        platform::redirectApplicationDataFolders (temp.path.string());
        desktop.setSize (800, 600);
        product = CollectionProduct::create (presetsFolder());
    }

    ~FrameworkPageTest() override { platform::redirectApplicationDataFolders (""); }

    juce::File file (const juce::String& path) const { return juce::File (juce::String (temp.path.string())).getChildFile (path); }
    juce::File presetsFolder() const { return file ("presets"); }

    // The alert shown over the Desktop, or null.
    Kyx::AlertWindow* findShownAlert() { return findShownAlert (desktop); }

    // Clicks the button of that text on the alert shown, then runs the
    // message loop.
    void answer (const juce::String& buttonText)
    {
        auto& alert = toolkit_test::ref (findShownAlert());
        for (int i = 0; i < alert.getNumButtons(); ++i)
            if (alert.getButton (i)->getButtonText() == buttonText)
                alert.buttonClicked (alert.getButton (i));
        testing_support::runPendingMessages();
    }

    TempFolder temp { "pulsetta-framework-pages-" };
    toolkit_test::DialogDesktop desktop;
    std::unique_ptr<CollectionProduct> product;

private:
    static Kyx::AlertWindow* findShownAlert (juce::Component& component)
    {
        for (auto* child : component.getChildren())
        {
            if (auto* alert = dynamic_cast<Kyx::AlertWindow*> (child); alert != nullptr && alert->isVisible())
                return alert;
            if (auto* found = findShownAlert (*child))
                return found;
        }
        return nullptr;
    }
};
} // namespace pages_test
