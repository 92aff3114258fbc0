#pragma once

#include "support/MessageLoop.h"
#include "tests/drummachine/product/ProductTestSupport.h"
#include "toolkit/widgets/ScriptedFileDialogs.h"
#include "toolkit/windows/ShownAlerts.h"

#include <memory>

// The product in process with one option page on a stand-in editor whose
// file dialogs the test answers. The page fills the area the product's
// options window gives its pages.
template <typename Page>
class PageTest : public ProductTest
{
protected:
    static constexpr int pageWidth = 620, pageHeight = 420; // pixels

    PageTest()
    {
        desktop.setSize (pageWidth, pageHeight);
        page = std::make_unique<Page> (*product);
        desktop.addAndMakeVisible (*page);
        page->setBounds (desktop.getLocalBounds());
        desktop.sendLookAndFeelChange();
    }

    ~PageTest() override
    {
        page.reset();
        testing_support::runPendingMessages();
    }

    // A user's click on a box or button: it toggles (when it toggles) and tells its listeners.
    static void click (juce::Button& button)
    {
        if (button.getClickingTogglesState())
            button.setToggleState (! button.getToggleState(), juce::sendNotification);
        else
            button.triggerClick();
        testing_support::runPendingMessages();
    }

    // The alert shown over the stand-in editor, or null.
    Kyx::AlertWindow* shownAlert() { return toolkit_test::findShownAlert (desktop); }

    // Clicks the button of the shown alert that has the text.
    void answer (const juce::String& text) { toolkit_test::answerShownAlert (desktop, text); }

    std::unique_ptr<CountingPulsetta> product { makeProduct() };
    toolkit_test::DialogDesktop desktop;
    std::unique_ptr<Page> page;
};
