#include "support/MessageLoop.h"
#include "toolkit/windows/TestDesktop.h"

#include "toolkit/lookandfeel/ToolkitFonts.h"
#include "toolkit/windows/AlertWindow.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using toolkit_test::TestDesktop;

namespace
{
using Factory = std::unique_ptr<Kyx::AlertWindow> (*) (const juce::String&, const juce::String&, Kyx::AlertWindow::Caller*);

struct RecordingCaller : Kyx::AlertWindow::Caller
{
    void alertWindowClosed (Kyx::AlertWindow* window, int result) override
    {
        results.push_back (result);
        if (onClosed)
            onClosed (window);
    }

    std::vector<int> results;
    std::function<void (Kyx::AlertWindow*)> onClosed;
};

struct ShownAlert
{
    explicit ShownAlert (Factory factory)
        : alert (factory ("Pulsetta", "Do you want to overwrite preset 'Kick' ?", &caller))
    {
        desktop.addChildComponent (*alert);
        alert->show();
    }

    TestDesktop desktop;
    RecordingCaller caller;
    std::unique_ptr<Kyx::AlertWindow> alert;
};

constexpr int none = -1;
} // namespace

TEST (AlertWindow, ButtonsKeysAndResultsOfEachFactory)
{
    struct Case
    {
        Factory factory;
        std::vector<juce::String> texts;
        std::vector<int> results;
        int returnResult, escapeResult;
    };
    const Case cases[] = {
        { Kyx::showOkAlert, { "OK" }, { 3 }, 3, 3 },
        { Kyx::showYesNoAlert, { "Yes", "No" }, { 2, 1 }, 2, 1 },
        { Kyx::showYesCancelAlert, { "Yes", "Cancel" }, { 2, 0 }, none, none },
        { Kyx::showSaveOverwriteDiscardAlert, { "Save as", "Overwrite", "Discard" }, { 5, 4, 6 }, none, none },
    };

    for (const auto& c : cases)
    {
        ShownAlert shown (c.factory);
        auto& alert = *shown.alert;
        ASSERT_EQ (alert.getNumButtons(), (int) c.texts.size());

        for (int i = 0; i < alert.getNumButtons(); ++i)
        {
            EXPECT_EQ (alert.getButton (i)->getButtonText(), c.texts[(size_t) i]);
            alert.show();
            alert.buttonClicked (alert.getButton (i));
            testing_support::runPendingMessages();
        }
        EXPECT_EQ (shown.caller.results, c.results);

        for (const auto& [key, expected] : { std::pair (juce::KeyPress::returnKey, c.returnResult),
                                             std::pair (juce::KeyPress::escapeKey, c.escapeResult) })
        {
            shown.caller.results.clear();
            alert.show();
            EXPECT_EQ (alert.keyPressed (juce::KeyPress (key)), expected != none);
            testing_support::runPendingMessages();
            EXPECT_EQ (shown.caller.results, expected == none ? std::vector<int>() : std::vector<int> { expected });
            EXPECT_EQ (alert.isVisible(), expected == none);
        }
    }
}

TEST (AlertWindow, HidesAtOnceAndAnswersOnlyFromTheMessageLoop)
{
    ShownAlert shown (Kyx::showYesNoAlert);

    shown.alert->buttonClicked (shown.alert->getButton (0));
    shown.alert->buttonClicked (shown.alert->getButton (1)); // a second click of the same answer is ignored

    EXPECT_FALSE (shown.alert->isVisible());
    EXPECT_TRUE (shown.caller.results.empty());
    testing_support::runPendingMessages();
    EXPECT_EQ (shown.caller.results, std::vector<int> { 2 });
}

TEST (AlertWindow, TitleCloseButtonHidesWithoutAnAnswer)
{
    ShownAlert shown (Kyx::showOkAlert);

    shown.alert->buttonClicked (&shown.alert->getCloseButton());
    testing_support::runPendingMessages();

    EXPECT_FALSE (shown.alert->isVisible());
    EXPECT_TRUE (shown.caller.results.empty());
}

TEST (AlertWindow, CallerMayDeleteTheAlertInItsCallback)
{
    ShownAlert shown (Kyx::showYesCancelAlert);
    shown.caller.onClosed = [&shown] (Kyx::AlertWindow* window)
    {
        EXPECT_EQ (window, shown.alert.get());
        shown.alert.reset();
    };

    shown.alert->getButton (1)->triggerClick(); // as a mouse click: the button's own message
    testing_support::runPendingMessages();

    EXPECT_EQ (shown.caller.results, std::vector<int> { 0 });
    EXPECT_EQ (shown.alert, nullptr);
    EXPECT_EQ (shown.desktop.getNumChildComponents(), 0);
}

TEST (AlertWindow, DeletedBeforeItsAnswerArrivesAnswersNothing)
{
    ShownAlert shown (Kyx::showOkAlert);
    shown.alert->keyPressed (juce::KeyPress (juce::KeyPress::returnKey));
    shown.alert.reset();
    testing_support::runPendingMessages();
    EXPECT_TRUE (shown.caller.results.empty());
}

TEST (AlertWindow, MessageAboveButtonsAtTheRightUnderAWhiteVeil)
{
    ShownAlert shown (Kyx::showSaveOverwriteDiscardAlert);
    auto& alert = *shown.alert;
    const auto content = alert.getContentArea();
    auto* lastButton = alert.getButton (alert.getNumButtons() - 1);
    const auto lastInAlert = alert.getLocalArea (lastButton->getParentComponent(), lastButton->getBounds());

    EXPECT_EQ (lastInAlert.getRight(), content.getRight());
    EXPECT_EQ (lastInAlert.getBottom(), content.getBottom());
    EXPECT_EQ (lastButton->getHeight(), 22);
    EXPECT_GE (content.getWidth(), (int) toolkit::makeFont (13.0f).getStringWidthFloat (alert.getMessage()));

    // Over a black editor the veil outside the alert is white at alpha 0.25.
    struct Black : juce::Component
    {
        void paint (juce::Graphics& g) override { g.fillAll (juce::Colours::black); }
    } editor;
    editor.setBounds (shown.desktop.getLocalBounds());
    shown.desktop.addAndMakeVisible (editor);
    editor.toBack();
    const auto image = shown.desktop.snapshot();
    const auto veil = image.getPixelAt (2, 2);
    EXPECT_NEAR (veil.getRed(), 0x40, 1);
    EXPECT_EQ (veil.getRed(), veil.getBlue());
}
