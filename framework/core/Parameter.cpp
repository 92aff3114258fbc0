#include "framework/core/Parameter.h"

Parameter::Parameter (int parameterId, const juce::String& parameterName)
    : ownId (parameterId), ownName (parameterName)
{
}

Parameter::~Parameter()
{
    cancelPendingUpdate();
}

bool Parameter::addListener (Listener* listener)
{
    return immediateListeners.add (listener);
}

void Parameter::removeListener (Listener* listener)
{
    immediateListeners.remove (listener);
}

bool Parameter::addAsyncListener (Listener* listener)
{
    if (listener == nullptr || deferredListeners.contains (listener))
        return false;

    deferredListeners.add (listener);
    return true;
}

void Parameter::removeAsyncListener (Listener* listener)
{
    deferredListeners.removeAllInstancesOf (listener);
}

void Parameter::notifyListeners()
{
    immediateListeners.callLastToFirst ([this] (Listener& l) { l.parameterChanged (this); });
    scheduleDeferredNotification();
}

void Parameter::notifyGestureBegin()
{
    immediateListeners.callLastToFirst ([this] (Listener& l) { l.parameterGestureBegin (this); });
}

void Parameter::notifyGestureEnd()
{
    immediateListeners.callLastToFirst ([this] (Listener& l) { l.parameterGestureEnd (this); });
}

void Parameter::setDeferredDispatcher (PolledAsyncUpdater* dispatcher) noexcept
{
    deferredDispatcher.store (dispatcher, std::memory_order_release);
}

void Parameter::valueChanged (bool notify)
{
    if (notify)
        notifyListeners();
}

void Parameter::scheduleDeferredNotification()
{
    // One pending flag per parameter: however many changes come before the
    // message thread runs, the deferred listeners are called once and read
    // the value as it is then.
    if (deferredPending.exchange (true, std::memory_order_acq_rel))
        return;

    // Without a message manager nothing would ever deliver; leave the flag
    // clear so that a later change can schedule again.
    if (juce::MessageManager::getInstanceWithoutCreating() == nullptr)
    {
        deferredPending.store (false, std::memory_order_release);
        return;
    }

    // Off the message thread this only raises a flag for the poll.
    if (auto* dispatcher = deferredDispatcher.load (std::memory_order_acquire))
        dispatcher->requestUpdate();
    else
        requestUpdate();
}

void Parameter::handleAsyncUpdate()
{
    deliverDeferredNotification();
}

void Parameter::deliverDeferredNotification()
{
    if (! deferredPending.exchange (false, std::memory_order_acq_rel))
        return;

    // A listener may remove itself (or others) while it is called.
    for (int i = deferredListeners.size(); --i >= 0;)
    {
        if (i >= deferredListeners.size())
            i = deferredListeners.size() - 1;

        if (i < 0)
            break;

        deferredListeners.getUnchecked (i)->parameterChanged (this);
    }
}

std::unique_ptr<Parameter> Parameter::withSettingsOf (std::unique_ptr<Parameter> copy) const
{
    copy->setAutomatable (isAutomatable());
    return copy;
}
