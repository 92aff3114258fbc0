#include "support/MessageLoop.h"

#include "framework/core/MidiControl.h"
#include "framework/core/ParameterManager.h"
#include "framework/core/Parameters.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

namespace
{
struct RecordingListener : MidiControl::Listener, Parameter::Listener
{
    void midiControlMapChanged() override { ++mapChanges; }
    void midiLearnStateChanged (MidiControl&) override { ++learnChanges; }
    void midiControllerMoved (MidiControl& control) override
    {
        ++moves;
        lastMoved = control.getLastMovedParameter();
    }
    void parameterChanged (Parameter*) override { ++parameterChanges; }

    int mapChanges = 0, learnChanges = 0, moves = 0, parameterChanges = 0;
    Parameter* lastMoved = nullptr;
};

class MidiControlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testing_support::becomeMessageThread();
        testing_support::runPendingMessages();

        for (auto* name : { "A", "B", "Main Volume" })
        {
            auto p = std::make_unique<FloatParameter> (manager.getNumParameters(), name, 0.0f, 1.0f, 0.0f);
            p->setAutomatable (true);
            manager.addParameter (std::move (p));
        }
        manager.addParameter (std::make_unique<FloatParameter> (3, "Activity", 0.0f, 1.0f, 0.0f));

        a = manager.getParameterByName ("A");
        b = manager.getParameterByName ("B");
        control.setMapName ("Pulsetta");
        control.addListener (&listener);
    }

    void controller (int channel, int number, int value)
    {
        const juce::uint8 bytes[] = { static_cast<juce::uint8> (0xb0 + channel - 1), static_cast<juce::uint8> (number),
                                      static_cast<juce::uint8> (value) };
        control.processMidiMessage (bytes, 3);
    }

    // As the audio thread: nothing of ours may wait in the message queue afterwards.
    template <typename Function>
    void onAudioThread (Function&& work)
    {
        testing_support::runPendingMessages();
        listener = {};
        std::thread (std::forward<Function> (work)).join();
        EXPECT_FALSE (control.isUpdatePending()) << "the audio thread posted a message";
        EXPECT_FALSE (manager.isDeferredNotificationPosted()) << "the audio thread posted a message";
        testing_support::runPendingMessages();
    }

    static std::unique_ptr<juce::XmlElement> parse (const char* text) { return juce::parseXML (juce::String (text)); }

    ParameterManager manager;
    MidiControl control { manager };
    RecordingListener listener;
    Parameter* a = nullptr;
    Parameter* b = nullptr;
};
} // namespace

TEST_F (MidiControlTest, ControllerScalesOnEveryChannelAndOtherMessagesAreIgnored)
{
    control.assign (7, a, true);
    controller (10, 7, 64);
    EXPECT_EQ (a->getValue(), 64.0f * 0.007874016f);
    controller (1, 7, 127);
    EXPECT_EQ (a->getValue(), 1.0f);
    controller (16, 7, 0);
    EXPECT_EQ (a->getValue(), 0.0f);
    testing_support::runPendingMessages();
    EXPECT_EQ (listener.moves, 1) << "one message for the moves before the message thread ran";
    EXPECT_EQ (listener.lastMoved, a);

    control.setLearnMode (true);
    const juce::uint8 noteOn[] = { 0x90, 7, 100 }, pitchBend[] = { 0xe0, 7, 100 }, badNumber[] = { 0xb0, 200, 100 };
    const juce::uint8 shortController[] = { 0xb0, 7 };
    control.processMidiMessage (noteOn, 3);
    control.processMidiMessage (pitchBend, 3);
    control.processMidiMessage (shortController, 2);
    control.processMidiMessage (badNumber, 3);
    control.processMidiMessage (nullptr, 3);
    testing_support::runPendingMessages();
    EXPECT_EQ (a->getValue(), 0.0f);
    EXPECT_EQ (control.getLearnController(), -1);
}

TEST_F (MidiControlTest, ControllersOnTheAudioThreadPostNothingAndThePollDeliversOnce)
{
    a->addAsyncListener (&listener);
    control.assign (7, a, true);
    onAudioThread ([this] {
        for (int value = 0; value < 128; ++value)
            controller (1, 7, value);
    });

    EXPECT_EQ (a->getValue(), 1.0f) << "the value itself changes at once";
    EXPECT_EQ (listener.moves + listener.parameterChanges, 0) << "nothing before the message thread polls";
    EXPECT_TRUE (control.pollUpdateRequest());
    EXPECT_TRUE (manager.pollDeferredNotifications());
    EXPECT_FALSE (control.pollUpdateRequest());
    EXPECT_FALSE (manager.pollDeferredNotifications());
    testing_support::runPendingMessages();
    EXPECT_EQ (listener.moves, 1) << "delivered once";
    EXPECT_EQ (listener.lastMoved, a);
    EXPECT_EQ (listener.parameterChanges, 1);
    a->removeAsyncListener (&listener);
}

TEST_F (MidiControlTest, LearnFromTheAudioThreadWaitsForThePoll)
{
    control.setLearnMode (true);
    control.setLearnParameter (a);
    onAudioThread ([this] { controller (1, 20, 10); });
    EXPECT_EQ (control.getParameterForController (20), nullptr) << "learn runs on the message thread";

    EXPECT_TRUE (control.pollUpdateRequest());
    testing_support::runPendingMessages();
    EXPECT_EQ (control.getParameterForController (20), a);
    EXPECT_EQ (listener.mapChanges, 1) << "delivered once";
    EXPECT_EQ (listener.learnChanges, 1);
}

TEST_F (MidiControlTest, LearnOnFreeControllersInEitherOrder)
{
    control.setLearnMode (true);
    EXPECT_EQ (listener.learnChanges, 1) << "told at once";
    control.setLearnParameter (a);
    controller (1, 20, 10);
    testing_support::runPendingMessages();
    EXPECT_EQ (control.getParameterForController (20), a);
    EXPECT_EQ (control.getControllerFor (a), 20);
    EXPECT_EQ (listener.mapChanges, 1);
    controller (1, 20, 127); // now the controller drives it
    EXPECT_EQ (a->getValue(), 1.0f);

    controller (3, 21, 0); // controller first, then the parameter
    testing_support::runPendingMessages();
    EXPECT_EQ (control.getLearnController(), 21);
    EXPECT_EQ (control.getLearnParameter(), nullptr);
    control.setLearnParameter (b);
    EXPECT_EQ (control.getParameterForController (21), b);
}

TEST_F (MidiControlTest, LearnNeverTakesATakenController)
{
    control.assign (20, b, false);
    control.setLearnMode (true);
    controller (1, 20, 5);
    testing_support::runPendingMessages();
    EXPECT_EQ (control.getLearnParameter(), b);

    control.setLearnParameter (a);
    EXPECT_EQ (control.getParameterForController (20), b) << "not taken over";
    EXPECT_EQ (control.getLearnController(), -1) << "a has no controller of its own";
    EXPECT_EQ (control.getControllerFor (a), -1);

    control.pickLearnController (20);
    control.unassign (20); // freeing it during learn resets the choice
    EXPECT_EQ (control.getParameterForController (20), nullptr);
    EXPECT_EQ (control.getLearnParameter(), nullptr);
    EXPECT_EQ (control.getLearnController(), -1);
}

TEST_F (MidiControlTest, MovingAParameterFreesItsOldController)
{
    control.assign (3, a, true);
    control.assign (5, a, true);
    EXPECT_EQ (control.getParameterForController (3), nullptr);
    EXPECT_EQ (control.getParameterForController (5), a);

    control.assign (5, b, true); // replaces a
    control.assign (128, a, true);
    control.assign (-1, a, true);
    EXPECT_EQ (control.getControllerFor (a), -1);
    EXPECT_EQ (control.getParameterForController (128), nullptr);
}

TEST_F (MidiControlTest, EndingLearnForgetsAHalfChoiceAndControllersStillQueued)
{
    control.setLearnMode (true);
    control.setLearnParameter (a);
    controller (1, 40, 0);
    control.setLearnMode (false);
    control.setLearnMode (true);
    EXPECT_EQ (control.getLearnParameter(), nullptr);
    controller (1, 30, 0);
    testing_support::runPendingMessages();
    EXPECT_EQ (control.getParameterForController (30), nullptr);
    EXPECT_EQ (control.getParameterForController (40), nullptr);
    EXPECT_EQ (listener.learnChanges, 4);

    control.setLearnMode (true); // no change: nobody is told
    EXPECT_EQ (listener.learnChanges, 4);
}

TEST_F (MidiControlTest, LearnModeListenersRunOutsideTheLockAndAudioNeverWaits)
{
    struct Probe : MidiControl::Listener
    {
        void midiLearnStateChanged (MidiControl& c) override
        {
            // Another thread must get through both the lock-taking query and
            // the audio path while this listener runs.
            auto other = std::async (std::launch::async, [&c] {
                const juce::uint8 bytes[] = { 0xb0, 9, 127 };
                c.processMidiMessage (bytes, 3);
                return c.getLearnController();
            });
            finished = other.wait_for (std::chrono::seconds (30)) == std::future_status::ready;
            if (finished)
                other.get();
        }
        bool finished = false;
    };

    control.assign (9, b, false);
    Probe probe;
    control.addListener (&probe);
    control.setLearnMode (true);

    EXPECT_TRUE (probe.finished);
    EXPECT_EQ (b->getValue(), 1.0f);
}

TEST_F (MidiControlTest, LoadingSkipsLinesItCannotUse)
{
    control.assign (1, b, false);
    control.setLearnMode (true);

    auto xml = parse (R"(<midiccmap application="pulsetta">
        <assign CC="10" param="Activity"/>
        <assign CC="11" param="Unknown"/>
        <assign CC="128" param="B"/>
        <assign CC="-1" param="B"/>
        <assign param="Main Volume"/>
        <ASSIGN CC="12" param="A"/>
        <assign CC="13" param="a"/>
        <assign CC="14" param="A"/>
        <other CC="15" param="B"/>
    </midiccmap>)");

    EXPECT_TRUE (control.loadFromXml (xml.get()));
    EXPECT_FALSE (control.isLearnModeOn());
    // The old map is replaced; 10 is not automatable; a later line moves the parameter off 12.
    const std::pair<int, Parameter*> expected[] = { { 0, manager.getParameterByName ("Main Volume") }, { 1, nullptr }, { 10, nullptr },
                                                    { 11, nullptr }, { 12, nullptr }, { 13, nullptr }, { 14, a } };
    for (auto& [cc, parameter] : expected)
        EXPECT_EQ (control.getParameterForController (cc), parameter) << cc;
    EXPECT_EQ (control.getControllerFor (b), -1);

    auto ours = parse (R"(<MidiControlMap name="Other" application="PULSETTA"><assign CC="3" param="B"/></MidiControlMap>)");
    EXPECT_TRUE (control.loadFromXml (ours.get())) << "our application, whatever the map's name";
    EXPECT_EQ (control.getParameterForController (3), b);
    control.setMapName ({});
    auto any = parse (R"(<MidiControlMap name="Other"><assign CC="4" param="B"/></MidiControlMap>)");
    EXPECT_TRUE (control.loadFromXml (any.get())) << "no map name accepts every map";
}

TEST_F (MidiControlTest, MapFilesRoundTripAndForeignOrBrokenFilesChangeNothing)
{
    juce::TemporaryFile folder;
    ASSERT_TRUE (folder.getFile().createDirectory());
    const auto file = folder.getFile().getChildFile ("mine" + MidiControl::getMapFileExtension ("XR"));
    EXPECT_EQ (file.getFileExtension(), juce::String (".xrccmap"));

    control.assign (7, a, false);
    control.assign (8, b, false);
    ASSERT_TRUE (control.saveToFile (file));
    EXPECT_TRUE (file.loadFileAsString().contains (R"(<assign CC="7" param="A"/>)"));

    control.clear (false);
    ASSERT_TRUE (control.loadFromFile (file));
    EXPECT_EQ (control.getParameterForController (7), a);
    EXPECT_EQ (control.getParameterForController (8), b);

    const auto broken = folder.getFile().getChildFile ("broken.xrccmap");
    broken.replaceWithText (file.loadFileAsString().dropLastCharacters (40));
    const auto foreign = folder.getFile().getChildFile ("foreign.xrccmap");
    foreign.replaceWithText (R"(<MidiControlMap name="Another Synth"><assign CC="1" param="A"/></MidiControlMap>)");
    const auto hostMap = folder.getFile().getChildFile ("host.xrccmap");
    hostMap.replaceWithText (R"(<HostParametersMap name="Pulsetta"><assign CC="1" param="A"/></HostParametersMap>)");
    const auto binary = folder.getFile().getChildFile ("binary.xrccmap");
    const char garbage[] = { '\x00', '\x7f', '<', '\xff', 'M' };
    binary.replaceWithData (garbage, sizeof (garbage));

    for (auto& bad : { broken, foreign, hostMap, binary, folder.getFile().getChildFile ("missing.xrccmap"), folder.getFile() })
    {
        EXPECT_FALSE (control.loadFromFile (bad)) << bad.getFileName();
        EXPECT_EQ (control.getParameterForController (7), a);
        EXPECT_EQ (control.getParameterForController (8), b);
        EXPECT_EQ (control.getParameterForController (1), nullptr);
    }
    EXPECT_FALSE (control.loadFromXml (nullptr));

    EXPECT_FALSE (control.saveToFile (folder.getFile().getChildFile ("no-such-folder").getChildFile ("x.xrccmap")));
    folder.getFile().deleteRecursively();
}
