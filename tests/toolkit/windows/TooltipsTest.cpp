#include "toolkit/widgets/ScriptedFileDialogs.h"

#include "toolkit/widgets/FileDialogs.h"
#include "toolkit/windows/WindowComponent.h"

#include <gtest/gtest.h>

// A tooltip showing over the editor goes when a dialog opens: a window of
// the editor's own, or a file dialog.
TEST (Tooltips, AreHiddenWhenADialogOpens)
{
    for (const bool fileDialog : { false, true })
    {
        SCOPED_TRACE (fileDialog ? "file dialog" : "window");
        toolkit_test::DialogDesktop desktop;
        juce::Component page;
        page.setBounds (desktop.getLocalBounds());
        desktop.addAndMakeVisible (page);
        WindowComponent window;
        page.addChildComponent (window);
        juce::TooltipWindow tooltips (&desktop);
        tooltips.displayTip ({ 20, 20 }, "Play");
        ASSERT_TRUE (tooltips.isVisible());

        if (fileDialog)
            FileDialogs::open (page, "Load pattern", {}, "*.xrptr", {});
        else
            window.show();

        EXPECT_FALSE (tooltips.isVisible());
        testing_support::runPendingMessages(); // the dialog's answer
    }
}
