#include "support/MessageLoop.h"

#include "framework/core/ParameterManager.h"
#include "framework/core/Parameters.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace
{
struct RecordingListener : Parameter::Listener
{
    explicit RecordingListener (std::vector<int>* orderLog = nullptr, int tag = 0) : log (orderLog), id (tag) {}

    void parameterChanged (Parameter* p) override
    {
        ++changes;
        lastValue = p->getValue();
        onMessageThread = juce::MessageManager::getInstance()->isThisTheMessageThread();
        if (log != nullptr)
            log->push_back (id);
    }

    void parameterGestureBegin (Parameter*) override { ++begins; }
    void parameterGestureEnd (Parameter*) override { ++ends; }

    std::vector<int>* log;
    int id;
    int changes = 0, begins = 0, ends = 0;
    float lastValue = -1.0f;
    bool onMessageThread = false;
};

class ParameterNotification : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testing_support::becomeMessageThread();
        testing_support::runPendingMessages();
    }

    FloatParameter parameter { 5, "Bass Drum Level", 0.0f, 1.0f, 0.5f };
};
} // namespace

TEST_F (ParameterNotification, EqualOrSilentChangesCallNobodyNowOrLater)
{
    RecordingListener immediate, deferred;
    parameter.addListener (&immediate);
    parameter.addAsyncListener (&deferred);

    parameter.setValue (0.5f, true);
    parameter.setNormalised (0.5f, true);
    parameter.setValue (0.9f, false);
    testing_support::runPendingMessages();

    EXPECT_EQ (parameter.getValue(), 0.9f);
    EXPECT_EQ (immediate.changes + deferred.changes, 0);
}

TEST_F (ParameterNotification, ImmediateListenersRunAtOnceLastAddedFirst)
{
    std::vector<int> order;
    RecordingListener first (&order, 1), second (&order, 2), third (&order, 3), deferred;
    parameter.addListener (&first);
    parameter.addListener (&second);
    parameter.addListener (&third);
    parameter.addAsyncListener (&deferred);
    EXPECT_FALSE (parameter.addListener (&second)) << "never twice";
    EXPECT_FALSE (parameter.addListener (nullptr));

    parameter.setValue (0.7f, true);
    EXPECT_EQ (order, (std::vector<int> { 3, 2, 1 }));
    EXPECT_EQ (second.changes, 1);

    parameter.removeListener (&second);
    order.clear();
    parameter.setValue (0.8f, true);
    EXPECT_EQ (order, (std::vector<int> { 3, 1 }));

    parameter.notifyGestureBegin();
    parameter.notifyGestureEnd();
    EXPECT_EQ (first.begins + first.ends, 2);
    EXPECT_EQ (deferred.begins, 0) << "gestures are immediate only";
}

TEST_F (ParameterNotification, ManyChangesOnAnotherThreadGiveOneDeferredCallWithTheLatestValue)
{
    RecordingListener deferred;
    parameter.addAsyncListener (&deferred);

    std::thread audio ([this] {
        for (int i = 1; i <= 1000; ++i)
            parameter.setValue (static_cast<float> (i) / 1000.0f, true);
    });
    audio.join();

    EXPECT_FALSE (parameter.isUpdatePending()) << "the other thread posted a message";
    EXPECT_TRUE (parameter.isUpdateRequestWaiting());
    testing_support::runPendingMessages();
    EXPECT_EQ (deferred.changes, 0) << "nothing before the message thread polls";

    EXPECT_TRUE (parameter.pollUpdateRequest());
    EXPECT_EQ (deferred.changes, 1);
    EXPECT_EQ (deferred.lastValue, 1.0f);
    EXPECT_TRUE (deferred.onMessageThread);
    EXPECT_FALSE (parameter.pollUpdateRequest()) << "delivered once";
    EXPECT_EQ (deferred.changes, 1);

    // On the message thread a change posts at once.
    parameter.setValue (0.25f, true);
    EXPECT_TRUE (parameter.isUpdatePending());
    EXPECT_FALSE (parameter.isUpdateRequestWaiting());
    testing_support::runPendingMessages();
    EXPECT_EQ (deferred.changes, 2);
    EXPECT_EQ (deferred.lastValue, 0.25f);
}

TEST_F (ParameterNotification, ADeferredListenerMayRemoveItself)
{
    struct SelfRemoving : Parameter::Listener
    {
        void parameterChanged (Parameter* p) override
        {
            ++changes;
            p->removeAsyncListener (this);
        }
        int changes = 0;
    };

    SelfRemoving a, b;
    RecordingListener c;
    parameter.addAsyncListener (&c);
    parameter.addAsyncListener (&a);
    parameter.addAsyncListener (&b);

    parameter.setValue (0.1f, true);
    testing_support::runPendingMessages();
    parameter.setValue (0.2f, true);
    testing_support::runPendingMessages();

    EXPECT_EQ (a.changes, 1);
    EXPECT_EQ (b.changes, 1);
    EXPECT_EQ (c.changes, 2);
}


TEST_F (ParameterNotification, ManagedParametersShareOneDeliveryAndPostNothingFromOtherThreads)
{
    ParameterManager manager;
    for (int i = 0; i < 50; ++i)
        manager.addParameter (std::make_unique<FloatParameter> (i, "P" + juce::String (i), 0.0f, 1.0f, 0.0f));

    RecordingListener deferred;
    manager.addAsyncListenerToAll (&deferred);

    std::thread automation ([&manager] {
        for (int round = 1; round <= 3; ++round)
            for (int i = 0; i < 50; ++i)
                manager.setValue (i, static_cast<float> (round) / 4.0f);
    });
    automation.join();

    EXPECT_FALSE (manager.isDeferredNotificationPosted()) << "the automation thread posted a message";
    testing_support::runPendingMessages();
    EXPECT_EQ (deferred.changes, 0) << "nothing before the message thread polls";

    EXPECT_TRUE (manager.pollDeferredNotifications());
    EXPECT_EQ (deferred.changes, 50) << "one deferred call per parameter";
    EXPECT_EQ (deferred.lastValue, 0.75f);
    EXPECT_FALSE (manager.pollDeferredNotifications());
    EXPECT_EQ (deferred.changes, 50);

    // From the message thread the manager posts its one message as before.
    manager.setValue (3, 0.1f);
    EXPECT_TRUE (manager.isDeferredNotificationPosted());
    testing_support::runPendingMessages();
    EXPECT_EQ (deferred.changes, 51);
}


TEST_F (ParameterNotification, NotifyAllTellsEveryListenerTheCurrentValue)
{
    ParameterManager manager;
    manager.addParameter (std::make_unique<IntParameter> (1, "A", 0, 9, 3));
    manager.addParameter (std::make_unique<BoolParameter> (2, "B", true));

    RecordingListener immediate, deferred;
    manager.addListenerToAll (&immediate);
    manager.addAsyncListenerToAll (&deferred);

    manager.notifyAll();
    EXPECT_EQ (immediate.changes, 2);
    EXPECT_EQ (deferred.changes, 0);
    manager.deliverDeferredNotifications();
    EXPECT_EQ (deferred.changes, 2);

    manager.notifyParameter (1);
    manager.notifyParameter (42); // unknown: nothing
    testing_support::runPendingMessages();
    EXPECT_EQ (immediate.changes, 3);
    EXPECT_EQ (deferred.changes, 3);

    manager.removeAsyncListenerFromAll (&deferred);
    manager.setInt (1, 5);
    testing_support::runPendingMessages();
    EXPECT_EQ (deferred.changes, 3);
}
