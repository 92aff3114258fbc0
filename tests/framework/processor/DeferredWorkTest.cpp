// Work that the audio thread or a host's automation thread sets off (program
// change, mapped controllers, prepare, state, processing mode) posts no
// message from that thread; the instance's poll on the message thread
// delivers it once. From the message thread it is posted at once, as before.
#include "ProcessorTestSupport.h"

#include <thread>

namespace
{
struct NotificationCounter : BasePlugin::Listener
{
    void pluginStateRestored (BasePlugin&) override { ++restored; }
    void pluginStateSaved (BasePlugin&) override { ++saved; }
    void pluginPrepared (BasePlugin&) override { ++prepared; }
    void processingModeChanged (BasePlugin&) override { ++modeChanges; }
    int restored = 0, saved = 0, prepared = 0, modeChanges = 0;
};

struct ChangeCounter : Parameter::Listener, MidiControl::Listener
{
    void parameterChanged (Parameter*) override { ++parameterChanges; }
    void midiControllerMoved (MidiControl&) override { ++controllerMoves; }
    int parameterChanges = 0, controllerMoves = 0;
};

class DeferredWork : public ProcessorTest
{
protected:
    // Nothing of ours waits in the message queue.
    static bool nothingPosted (TestProduct& product)
    {
        return ! product.isUpdatePending() && ! product.getMidiControl().isUpdatePending()
            && ! product.getParameterManager().isDeferredNotificationPosted();
    }

    static std::unique_ptr<TestProduct> makeQuietProduct()
    {
        auto product = makeProduct();
        product->stopPolling();
        return product;
    }

    template <typename Function>
    static void onAnotherThread (Function&& work)
    {
        std::thread other (std::forward<Function> (work));
        other.join();
    }
};

TEST_F (DeferredWork, ProgramChangeAndMappedControllerOnTheAudioThreadAreToldAtThePollOnce)
{
    auto product = makeQuietProduct();
    auto& manager = product->getParameterManager();
    product->setPresetName (5, "Five");
    product->getPreset (5)->setValue (15, 0.9f);
    product->getMidiControl().assign (20, manager.getParameter (60), true);
    product->prepareToPlay (44100.0, 64);
    deliverMessages();
    product->pollAudioFlags();

    ChangeCounter nameWatcher, counter;
    manager.addAsyncListener (BasePluginOldStyle::currentPresetNameId, &nameWatcher);
    manager.addAsyncListener (60, &counter);
    product->getMidiControl().addListener (&counter);

    onAnotherThread ([&] {
        juce::AudioBuffer<float> buffer (12, 64);
        juce::MidiBuffer midi;
        product->handleProgramChange (5);
        product->processBlock (buffer, midi);
        for (int value = 0; value < 128; value += 3)
        {
            const juce::uint8 bytes[] = { 0xb0, 20, (juce::uint8) value };
            product->getMidiControl().processMidiMessage (bytes, 3);
        }
    });

    // The audio's part is done at once, without the message thread.
    EXPECT_EQ (product->getCurrentPreset(), 5);
    EXPECT_FLOAT_EQ (manager.getNormalised (15), 0.9f);
    EXPECT_TRUE (nothingPosted (*product));
    deliverMessages();
    EXPECT_NE (manager.toString (BasePluginOldStyle::currentPresetNameId), "Five") << "published before the poll";
    EXPECT_EQ (counter.controllerMoves + counter.parameterChanges, 0);

    product->pollAudioFlags();
    EXPECT_EQ (manager.toString (BasePluginOldStyle::currentPresetNameId), "Five");
    deliverMessages();
    product->pollAudioFlags();
    EXPECT_EQ (nameWatcher.parameterChanges, 1) << "the name is told once";
    EXPECT_EQ (counter.controllerMoves, 1) << "delivered once";
    EXPECT_EQ (counter.parameterChanges, 1);
    manager.removeAsyncListener (BasePluginOldStyle::currentPresetNameId, &nameWatcher);
    manager.removeAsyncListener (60, &counter);
}

TEST_F (DeferredWork, PrepareStateAndModeOffTheMessageThreadWaitForThePoll)
{
    auto product = makeQuietProduct();
    NotificationCounter counter;
    product->addListener (&counter);
    deliverMessages();
    product->pollAudioFlags();

    juce::MemoryBlock state;
    onAnotherThread ([&] {
        // A host that processes without resuming first prepares here.
        product->prepareToPlay (44100.0, 64);
        product->setNonRealtime (true);
        juce::AudioBuffer<float> buffer (12, 64);
        juce::MidiBuffer midi;
        product->processBlock (buffer, midi);
        product->getStateInformation (state);
        product->setStateInformation (state.getData(), (int) state.getSize());
    });

    EXPECT_TRUE (nothingPosted (*product));
    deliverMessages();
    EXPECT_EQ (counter.prepared + counter.modeChanges + counter.saved + counter.restored, 0);

    product->pollAudioFlags();
    EXPECT_EQ (counter.prepared, 1);
    EXPECT_EQ (counter.modeChanges, 1);
    EXPECT_EQ (counter.saved, 1);
    EXPECT_EQ (counter.restored, 1);

    product->pollAudioFlags();
    deliverMessages();
    EXPECT_EQ (counter.prepared + counter.modeChanges + counter.saved + counter.restored, 4) << "delivered once";

    // From the message thread the message is posted at once, as before.
    product->prepareToPlay (48000.0, 64);
    EXPECT_TRUE (product->isUpdatePending());
    EXPECT_FALSE (product->isUpdateRequestWaiting());
    deliverMessages();
    EXPECT_EQ (counter.prepared, 2);
    product->removeListener (&counter);
}
} // namespace

TEST_F (DeferredWork, ABlockRenderedOnTheMessageThreadAlsoWaitsForThePoll)
{
    // An offline host may render on its UI thread: the block is still audio
    // work, so a program change inside it posts nothing either.
    auto product = makeQuietProduct();
    auto& manager = product->getParameterManager();
    product->setPresetName (7, "Seven");
    product->prepareToPlay (44100.0, 64);
    deliverMessages();
    product->pollAudioFlags();

    juce::AudioBuffer<float> buffer (12, 64);
    juce::MidiBuffer midi;
    product->handleProgramChange (7);
    product->processBlock (buffer, midi);

    EXPECT_EQ (product->getCurrentPreset(), 7);
    EXPECT_TRUE (nothingPosted (*product));
    product->pollAudioFlags();
    EXPECT_EQ (manager.toString (BasePluginOldStyle::currentPresetNameId), "Seven");
}
