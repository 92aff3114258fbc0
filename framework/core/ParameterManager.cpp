#include "framework/core/ParameterManager.h"

#include "framework/core/ResourceLoader.h"

// Delivers the deferred notifications of all the manager's parameters with one
// message: however many parameters change before the message thread runs, at
// most one message waits in the queue. Changes made on other threads post
// nothing and wait for pollDeferredNotifications.
class ParameterManager::DeferredDispatcher : public PolledAsyncUpdater
{
public:
    explicit DeferredDispatcher (ParameterManager& m) : manager (m) {}
    ~DeferredDispatcher() override { cancelPendingUpdate(); }

    // Message thread.
    void handleAsyncUpdate() override
    {
        manager.forEachParameter ([] (Parameter& p) { p.deliverDeferredNotification(); });
    }

private:
    ParameterManager& manager;
};

ParameterManager::ParameterManager()
    : dispatcher (std::make_unique<DeferredDispatcher> (*this))
{
}

ParameterManager::~ParameterManager()
{
    dispatcher->cancelPendingUpdate();
    clear();
}

void ParameterManager::loadFromResource (const juce::String& resourceFileName)
{
    if (auto root = juce::parseXML (getResourceAsString (resourceFileName)))
        loadFromXml (*root);
    else
        clear();
}

bool ParameterManager::addParameter (std::unique_ptr<Parameter> parameter)
{
    if (parameter == nullptr)
        return false;

    const SharedReadLock::ScopedWrite writing (lock);

    if (byIndex.contains (parameter->getId()) || byName.contains (parameter->getName()))
        return false;

    parameter->setDeferredDispatcher (dispatcher.get());
    byIndex.set (parameter->getId(), parameter.get());
    byName.set (parameter->getName(), parameter.get());
    parameters.add (parameter.release());
    return true;
}

void ParameterManager::clear()
{
    const SharedReadLock::ScopedWrite writing (lock);
    byIndex.clear();
    byName.clear();

    for (int i = parameters.size(); --i >= 0;)
        parameters.remove (i);
}

int ParameterManager::getNumParameters() const noexcept
{
    const SharedReadLock::ScopedRead reading (lock);
    return parameters.size();
}

Parameter* ParameterManager::getParameterAt (int position) const noexcept
{
    const SharedReadLock::ScopedRead reading (lock);
    return parameters[position];
}

Parameter* ParameterManager::getParameter (int index) const noexcept
{
    const SharedReadLock::ScopedRead reading (lock);
    return byIndex[index];
}

Parameter* ParameterManager::getParameterByName (const juce::String& name) const noexcept
{
    const SharedReadLock::ScopedRead reading (lock);
    return byName[name];
}

int ParameterManager::getIndexOfName (const juce::String& name) const noexcept
{
    auto* p = getParameterByName (name);
    return p != nullptr ? p->getId() : -1;
}

juce::String ParameterManager::getName (int index) const
{
    juce::String name;
    withParameter (index, [&] (Parameter& p) { name = p.getName(); });
    return name;
}

float ParameterManager::getValue (int index) const noexcept
{
    float v = 0.0f;
    withParameter (index, [&] (Parameter& p) { v = p.getValue(); });
    return v;
}

float ParameterManager::getNormalised (int index) const noexcept
{
    float v = 0.0f;
    withParameter (index, [&] (Parameter& p) { v = p.getNormalised(); });
    return v;
}

bool ParameterManager::getBool (int index) const noexcept
{
    bool v = false;
    withParameter (index, [&] (Parameter& p) { v = p.getBool(); });
    return v;
}

juce::String ParameterManager::toString (int index) const
{
    juce::String text;
    withParameter (index, [&] (Parameter& p) { text = p.toString(); });
    return text;
}

void ParameterManager::setValue (int index, float value)
{
    withParameter (index, [&] (Parameter& p) { p.setValue (value, true); });
}

void ParameterManager::setNormalised (int index, float normalised)
{
    withParameter (index, [&] (Parameter& p) { p.setNormalised (normalised, true); });
}

void ParameterManager::setInt (int index, int value)
{
    withParameter (index, [&] (Parameter& p) { p.setInt (value, true); });
}

void ParameterManager::setBool (int index, bool value)
{
    withParameter (index, [&] (Parameter& p) { p.setBool (value, true); });
}

void ParameterManager::setFromString (int index, const juce::String& text)
{
    withParameter (index, [&] (Parameter& p) { p.setFromString (text, true); });
}

void ParameterManager::copyValue (int destinationIndex, int sourceIndex)
{
    const SharedReadLock::ScopedRead reading (lock);
    auto* destination = byIndex[destinationIndex];
    auto* source = byIndex[sourceIndex];

    if (destination != nullptr && source != nullptr)
        destination->setFromParameter (*source, true);
}

void ParameterManager::addListenerToAll (Parameter::Listener* listener)
{
    if (listener != nullptr)
        forEachParameter ([listener] (Parameter& p) { p.addListener (listener); });
}

void ParameterManager::addAsyncListenerToAll (Parameter::Listener* listener)
{
    if (listener != nullptr)
        forEachParameter ([listener] (Parameter& p) { p.addAsyncListener (listener); });
}

void ParameterManager::removeAsyncListenerFromAll (Parameter::Listener* listener)
{
    if (listener != nullptr)
        forEachParameter ([listener] (Parameter& p) { p.removeAsyncListener (listener); });
}

void ParameterManager::addListener (int index, Parameter::Listener* listener)
{
    if (listener != nullptr)
        withParameter (index, [listener] (Parameter& p) { p.addListener (listener); });
}

void ParameterManager::addAsyncListener (int index, Parameter::Listener* listener)
{
    if (listener != nullptr)
        withParameter (index, [listener] (Parameter& p) { p.addAsyncListener (listener); });
}

void ParameterManager::removeAsyncListener (int index, Parameter::Listener* listener)
{
    if (listener != nullptr)
        withParameter (index, [listener] (Parameter& p) { p.removeAsyncListener (listener); });
}

void ParameterManager::notifyAll()
{
    forEachParameter ([] (Parameter& p) { p.notifyListeners(); });
}

void ParameterManager::notifyParameter (int index)
{
    withParameter (index, [] (Parameter& p) { p.notifyListeners(); });
}

void ParameterManager::deliverDeferredNotifications()
{
    if (! dispatcher->pollUpdateRequest())
        dispatcher->handleUpdateNowIfNeeded();
}

bool ParameterManager::pollDeferredNotifications()
{
    return dispatcher->pollUpdateRequest();
}

bool ParameterManager::isDeferredNotificationPosted() const noexcept
{
    return dispatcher->isUpdatePending();
}
