#pragma once

#include "FactoryBank.h"
#include "TestProduct.h"
#include "support/MessageLoop.h"
#include "support/TemporaryUserFolders.h"

#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

#include <memory>

// Runs the message loop for a while (timers included), so that what is
// pending has run.
inline void deliverMessages()
{
    testing_support::runMessagesFor (20);
}

// Every processor test runs with the message manager on this thread and the
// user's folders redirected to a fresh temporary folder.
class ProcessorTest : public ::testing::Test,
                      protected testing_support::TemporaryUserFolders
{
protected:
    ProcessorTest() : TemporaryUserFolders ("pulsetta-processor-test-") {}

    static std::unique_ptr<TestProduct> makeProduct()
    {
        auto* created = BasePlugin::startUp (std::make_unique<TestProduct>());
        return std::unique_ptr<TestProduct> (static_cast<TestProduct*> (created));
    }

    juce::File settingsFile() const { return folder.getChildFile ("Kyxworks/Pulsetta/Pulsetta.ini"); }

    juce::ScopedJuceInitialiser_GUI juce;
};

// Records what the processor reports to the host.
struct HostRecorder : juce::AudioProcessorListener
{
    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value) override
    {
        const juce::ScopedLock sl (lock);
        changes.push_back ({ index, value });
    }

    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}

    size_t count() const
    {
        const juce::ScopedLock sl (lock);
        return changes.size();
    }

    juce::CriticalSection lock;
    std::vector<std::pair<int, float>> changes;
};
