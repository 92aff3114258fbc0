#include "toolkit/binding/WidgetTestKit.h"
#include "toolkit/binding/BaseGFXController.h"
#include "toolkit/binding/ParameterController.h"

#include <gtest/gtest.h>

using namespace widget_testing;

namespace
{
struct ActionRecorder : GUIController
{
    void addAction (const juce::String& type, int id, const juce::String& name) override
    {
        actions.add (type + " " + juce::String (id) + " " + name);
    }

    void updateFromParameter (Parameter* p) override
    {
        shown.push_back (p->getValue());
        writeNormalised (0.0f); // an echo the binding must drop
    }

    using GUIController::notifyEventFired;
    using GUIController::writeNormalised;

    juce::StringArray actions;
    std::vector<float> shown;
};

struct StripController : BaseGFXController, juce::Component
{
};
} // namespace

TEST (GUIController, LinksBindTheLastConnectedParameterAndActionsTheirEvents)
{
    TestSkin skin;
    ActionRecorder controller;
    const auto problems = loadControl (controller, R"(
        <Knob name="K">
          <links>
            <link as="connectedTo" param="Level"/>
            <link as="blink" param="Tempo" time="200"/>
            <LINK as="connectedTo" param="Tune"/>
            <link as="connectedTo" param="Nowhere"/>
          </links>
          <actions>
            <action type="onClick" event="PLAY"/>
            <action type="onRightClick" event="Play"/>
            <action type="" event="STOP"/>
            <Action type="onClickWithCtrl" event="STOP"/>
          </actions>
        </Knob>)", skin);

    EXPECT_EQ (controller.getBoundParameter(), &skin.parameter ("Tune"));
    EXPECT_EQ (controller.actions, juce::StringArray ({ "onClick 10 Play", "onClickWithCtrl 11 Stop" }));
    EXPECT_EQ (problems, juce::StringArray ({ "Knob \"K\": no parameter named \"Nowhere\"", "Knob \"K\": no event named \"Play\"",
                                              "Knob \"K\": an action without a type" }));

    // Registered with the second parameter only, which it follows on the
    // message thread; its own echo is dropped.
    skin.parameter ("Level").setValue (0.3f, true);
    skin.parameter ("Tune").setValue (0.6f, true);
    testing_support::runPendingMessages();
    EXPECT_EQ (controller.shown, (std::vector<float> { 0.0f, 0.6f }));
    EXPECT_FLOAT_EQ (skin.parameter ("Tune").getValue(), 0.6f);

    controller.writeNormalised (0.25f);
    EXPECT_FLOAT_EQ (skin.parameter ("Tune").getValue(), 0.25f) << "the user's own change is written";
}

TEST (GUIController, DestroyedControllerLeavesItsParameter)
{
    TestSkin skin;
    {
        ActionRecorder controller;
        controller.bindParameter (&skin.parameter ("Level"));
    }
    skin.parameter ("Level").setValue (0.5f, true);
    testing_support::runPendingMessages(); // would reach a dead listener otherwise
}

TEST (GUIController, ListenersRemovedOrTheControllerDeletedDuringANotificationAreSafe)
{
    struct Remover : GUIController::Listener
    {
        void controllerEventFired (GUIController* c, int) override
        {
            ++calls;
            if (toRemove != nullptr)
                c->removeListener (toRemove);
            if (deleteIt)
                owner.reset();
        }

        int calls = 0;
        GUIController::Listener* toRemove = nullptr;
        bool deleteIt = false;
        std::unique_ptr<ActionRecorder>& owner;
        explicit Remover (std::unique_ptr<ActionRecorder>& o) : owner (o) {}
    };

    auto controller = std::make_unique<ActionRecorder>();
    Remover first (controller), second (controller), third (controller);
    for (auto* l : { &first, &second, &third })
        controller->addListener (l);
    controller->addListener (&second);
    controller->addListener (nullptr);

    third.toRemove = &third; // itself
    controller->notifyEventFired (1);
    EXPECT_EQ (std::vector<int> ({ first.calls, second.calls, third.calls }), std::vector<int> ({ 1, 1, 1 }));

    second.toRemove = &first; // one not yet told
    controller->notifyEventFired (1);
    EXPECT_EQ (std::vector<int> ({ first.calls, second.calls, third.calls }), std::vector<int> ({ 1, 2, 1 }));

    first.deleteIt = true;
    controller->addListener (&first); // told before second
    controller->notifyEventFired (1);
    EXPECT_EQ (controller, nullptr);
    EXPECT_EQ (second.calls, 2) << "the walk stops with its controller";
}

TEST (BaseGFXController, FrameSizeComesFromTheStripAndFaultyFrameCountsAreNoted)
{
    struct Case
    {
        const char* gfx;
        int stripRows, framesNum, frameHeight;
        const char* problem;
    } cases[] = {
        { R"(<gfx resource="s.png" framesNum="61"/>)", 61 * 6, 61, 6, nullptr },
        { R"(<gfx resource="s.png"/>)", 30, 1, 30, nullptr },
        { R"(<gfx resource="s.png" framesNum="0"/>)", 30, 1, 30, "gfx framesNum 0 is out of 1..16384: 1 taken" },
        { R"(<gfx resource="s.png" framesNum="-4"/>)", 30, 1, 30, "gfx framesNum -4 is out of 1..16384: 1 taken" },
        { R"(<gfx resource="s.png" framesNum="40"/>)", 30, 30, 1, "image \"s.png\" cannot hold 40 frames in 30 rows: 30 taken" },
        { R"(<gfx resource="s.png" framesNum="4"/>)", 30, 4, 7, "image \"s.png\" is 30 pixels high, not a whole number of 4 frames" },
        { R"(<gfx resource="none.png" framesNum="0"/>)", 30, 1, 5, "gfx framesNum 0 is out of 1..16384: 1 taken" },
    };

    for (const auto& c : cases)
    {
        TestSkin skin;
        skin.images["s.png"] = juce::Image (juce::Image::ARGB, 8, c.stripRows, true);
        Stage stage;
        StripController controller;
        stage.add (controller);
        const auto problems = loadControl (controller, juce::String ("<Animation>") + c.gfx
                                                           + R"(<size width="9" height="5"/><pos left="3" top="4"/></Animation>)", skin);

        EXPECT_EQ (controller.getFramesNum(), c.framesNum) << c.gfx;
        EXPECT_EQ (controller.getBounds(), juce::Rectangle<int> (3, 4, controller.hasImage() ? 8 : 9, c.frameHeight)) << c.gfx;
        EXPECT_EQ (problems.isEmpty() ? juce::String() : problems[0], c.problem == nullptr ? "" : juce::String ("Animation: ") + c.problem) << c.gfx;
    }
}

TEST (BlinkingComponent, FlipsItsPhaseOnItsTimerAndTellsOnlyRealChanges)
{
    struct Blinker : BlinkingComponent
    {
        void blinkStateChanged() override { ++changes; }
        int changes = 0;
    } blinker;

    blinker.stopBlinking();
    EXPECT_EQ (blinker.changes, 0) << "stopping what does not blink changes nothing";

    blinker.setBlinkPeriod (5);
    blinker.startBlinking();
    EXPECT_TRUE (blinker.isBlinking());
    EXPECT_FALSE (blinker.isBlinkDark());

    testing_support::runMessagesUntil ([&blinker] { return blinker.changes >= 3; }, 2000);

    EXPECT_GE (blinker.changes, 3);
    const bool phase = blinker.getBlinkPhase();
    blinker.stopBlinking();
    EXPECT_FALSE (blinker.isBlinking());
    EXPECT_EQ (blinker.getBlinkPhase(), phase);
    EXPECT_FALSE (blinker.isBlinkDark());
}

TEST (ParameterController, FollowsItsParameterWithoutWritingBack)
{
    struct Shower : ParameterController
    {
        void updateFromParameter (Parameter* p) override
        {
            shown.push_back (p->getValue());
            getBinding().writeNormalised (1.0f);
        }
        std::vector<float> shown;
    };

    FloatParameter parameter (0, "Level", 0.0f, 1.0f, 0.2f);
    {
        Shower shower;
        shower.bindParameter (&parameter);
        parameter.setValue (0.4f, true);
        testing_support::runPendingMessages();
        EXPECT_EQ (shower.shown, (std::vector<float> { 0.2f, 0.4f }));
        EXPECT_FLOAT_EQ (parameter.getValue(), 0.4f);
    }
    parameter.setValue (0.6f, true);
    testing_support::runPendingMessages();
}
