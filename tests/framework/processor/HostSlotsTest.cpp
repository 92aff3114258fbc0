#include "ProcessorTestSupport.h"

namespace
{
struct PreparedCounter : BasePlugin::Listener
{
    void pluginPrepared (BasePlugin&) override { ++prepared; }
    int prepared = 0;
};

using HostSlots = ProcessorTest;

TEST_F (HostSlots, UnboundSlotsBadIndexesAndNonFiniteValues)
{
    auto product = makeProduct();
    EXPECT_EQ (product->getParameterText (15), "0.250000000");
    EXPECT_FLOAT_EQ (product->getParameterDefaultValue (15), 0.25f);

    // An unbound slot answers with its number and the host's last value.
    product->unassignHostParameter (5);
    EXPECT_EQ (product->getParameterName (5), "Parameter 6");
    product->setParameter (5, 0.375f);
    EXPECT_FLOAT_EQ (product->getParameter (5), 0.375f);
    EXPECT_EQ (product->getParameterText (5), "0.37500000");
    EXPECT_FLOAT_EQ (product->getParameterDefaultValue (5), 0.0f);

    const float before = product->getParameterManager().getNormalised (0);
    for (int slot : { -1, -128, 84, 128, 1000 })
    {
        product->setParameter (slot, 0.9f);
        EXPECT_FLOAT_EQ (product->getParameter (slot), 0.0f) << slot;
        EXPECT_EQ (product->getParameterName (slot), "") << slot;
        EXPECT_EQ (product->getParameterText (slot), "") << slot;
        EXPECT_FALSE (product->isParameterAutomatable (slot)) << slot;
        EXPECT_FLOAT_EQ (product->getParameterDefaultValue (slot), 0.0f);
    }
    EXPECT_FLOAT_EQ (product->getParameterManager().getNormalised (0), before);
    EXPECT_TRUE (product->isParameterAutomatable (83));

    const float midTomLevel = product->getParameter (3);
    product->setParameter (3, std::numeric_limits<float>::quiet_NaN());
    product->setParameter (3, std::numeric_limits<float>::infinity());
    EXPECT_FLOAT_EQ (product->getParameter (3), midTomLevel);
}

TEST_F (HostSlots, HostChangesAreNotEchoedAndOtherChangesReportedOnce)
{
    auto product = makeProduct();
    HostRecorder host;
    product->addListener (&host);

    product->setParameter (12, 0.8f);
    EXPECT_FLOAT_EQ (product->getParameterManager().getNormalised (12), 0.8f);
    EXPECT_EQ (host.count(), 0u);

    product->getParameterManager().setNormalised (12, 0.2f);
    ASSERT_EQ (host.count(), 1u);
    EXPECT_EQ (host.changes[0].first, 12);
    EXPECT_FLOAT_EQ (host.changes[0].second, 0.2f);

    // A parameter that sits behind no slot is not reported.
    product->getParameterManager().setNormalised (90, 0.7f);
    EXPECT_EQ (host.count(), 1u);

    // Rebound to slot 40, the change is reported on the new slot.
    product->assignHostParameter (40, product->getParameterManager().getParameter (12));
    product->getParameterManager().setNormalised (12, 0.6f);
    ASSERT_EQ (host.count(), 2u);
    EXPECT_EQ (host.changes[1].first, 40);

    product->removeListener (&host);
}

TEST_F (HostSlots, AChangeOnAnotherThreadDuringTheHostsCallIsStillReported)
{
    auto product = makeProduct();
    HostRecorder host;
    product->addListener (&host);

    std::thread other ([&] { product->getParameterManager().setNormalised (20, 0.1f); });
    product->setParameter (21, 0.9f);
    other.join();

    ASSERT_EQ (host.count(), 1u);
    EXPECT_EQ (host.changes[0].first, 20);
    product->removeListener (&host);
}

TEST_F (HostSlots, TwoPreparesBeforeTheMessageLoopGiveOneNotificationAndTheCommandsAreThere)
{
    auto product = makeProduct();
    PreparedCounter first, second;
    product->BasePlugin::addListener (&first);
    product->BasePlugin::addListener (&second);
    product->BasePlugin::addListener (&second);
    product->BasePlugin::addListener (static_cast<BasePlugin::Listener*> (nullptr));

    product->prepareToPlay (44100.0, 512);
    product->prepareToPlay (48000.0, 512);
    deliverMessages();

    EXPECT_EQ (first.prepared, 1);
    EXPECT_EQ (second.prepared, 1);
    EXPECT_EQ (product->getEventsMap().getName (1010), "Toggle Midi Learn");
    product->BasePlugin::removeListener (&first);
    product->BasePlugin::removeListener (&second);
}

} // namespace
