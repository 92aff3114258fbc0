// Several threads look up, read and set parameters while the message thread
// delivers the deferred notifications and drives MIDI learn: run it under the
// sanitizer builds to catch races and memory faults.
#include "support/MessageLoop.h"

#include "framework/core/MidiControl.h"
#include "framework/core/ParameterManager.h"
#include "framework/core/Parameters.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace
{
struct CountingListener : Parameter::Listener
{
    void parameterChanged (Parameter* p) override
    {
        calls.fetch_add (1);
        lastValue.store (p->getValue());
    }
    std::atomic<int> calls { 0 };
    std::atomic<float> lastValue { 0.0f };
};

struct LearnListener : MidiControl::Listener
{
    void midiLearnStateChanged (MidiControl& c) override { seen += c.getLearnController(); }
    int seen = 0;
};
} // namespace

TEST (Concurrency, SettersReadersAndTheMessageThreadTogether)
{
    testing_support::becomeMessageThread();

    ParameterManager manager;
    manager.loadFromResource ("parameters.xml");
    manager.addParameter (std::make_unique<StringParameter> (110001, "Current Preset Name", "Init"));
    manager.addParameter (std::make_unique<EnumParameter> (3001, "Scale", "3;4;6;8"));

    CountingListener immediate, deferred;
    manager.addListenerToAll (&immediate);
    manager.addAsyncListenerToAll (&deferred);

    MidiControl control (manager);
    LearnListener learnListener;
    control.addListener (&learnListener);
    for (int cc = 0; cc < 84; ++cc)
        control.assign (cc, manager.getParameter (cc), false);

    std::atomic<bool> running { true };
    std::vector<std::thread> threads;

    // Each worker counts its passes: the message thread keeps going until
    // every worker has done some work beside it, however late a loaded
    // machine starts them.
    constexpr int numWorkers = 4;
    constexpr int minimumPasses = 200;
    std::atomic<int> passes[numWorkers] = {};
    const auto everyWorkerHasRun = [&] {
        for (const auto& count : passes)
            if (count.load() < minimumPasses)
                return false;
        return true;
    };

    // Audio: MIDI controllers and sequencer-style changes.
    threads.emplace_back ([&] {
        for (int i = 0; running; ++i)
        {
            const juce::uint8 message[] = { 0xb0, static_cast<juce::uint8> (i % 128), static_cast<juce::uint8> (i % 128) };
            control.processMidiMessage (message, 3);
            manager.setInt (84 + i % 11, i % 13);
            manager.setNormalised (3001, static_cast<float> (i % 5) / 4.0f);
            passes[0].fetch_add (1);
        }
    });

    // Host automation from two more threads.
    for (int t = 0; t < 2; ++t)
        threads.emplace_back ([&, t] {
            for (int i = 0; running; ++i)
            {
                const int index = (i * 7 + t) % 143;
                manager.setValue (index, static_cast<float> (i % 100) / 100.0f);
                (void) manager.getNormalised (index);
                (void) manager.toString ((i + t) % 143);
                if ((i & 63) == 0)
                    manager.setFromString (110001, juce::String ("Preset ") + juce::String (i));
                passes[1 + t].fetch_add (1);
            }
        });

    // A reader that also lists parameters by name.
    threads.emplace_back ([&] {
        while (running)
        {
            for (int i = 0; i < 143; ++i)
                (void) manager.getIndexOfName (manager.getName (i));
            passes[3].fetch_add (1);
        }
    });

    // The message thread: deferred notifications, learn, listener changes.
    CountingListener late;
    for (int round = 0; round < 100 || ! everyWorkerHasRun(); ++round)
    {
        testing_support::runPendingMessages (20);
        // What the processor's poll timer does for the other threads' changes.
        manager.pollDeferredNotifications();
        control.pollUpdateRequest();
        control.setLearnMode ((round & 1) == 0);
        control.setLearnParameter (manager.getParameter (round % 84));
        if ((round & 7) == 0)
            manager.addListenerToAll (&late);
        else if ((round & 7) == 4)
            for (int i = 0; i < 143; ++i)
                if (auto* p = manager.getParameter (i))
                    p->removeListener (&late);
    }

    running = false;
    for (auto& t : threads)
        t.join();

    for (int i = 0; i < 143; ++i)
        manager.getParameter (i)->removeListener (&late);

    testing_support::runPendingMessages();
    manager.pollDeferredNotifications();
    control.pollUpdateRequest();
    control.setLearnMode (false);
    testing_support::runPendingMessages();

    EXPECT_GT (immediate.calls.load(), 0);
    EXPECT_GT (deferred.calls.load(), 0);
    EXPECT_LE (deferred.calls.load(), immediate.calls.load());

    // Every value is still inside its range.
    for (int i = 0; i < 143; ++i)
    {
        const float n = manager.getNormalised (i);
        EXPECT_TRUE (n >= 0.0f && n <= 1.0f) << i;
    }
}
