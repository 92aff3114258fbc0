#include "toolkit/binding/GUIController.h"

#include "framework/core/XmlTags.h"

GUIController::GUIController() = default;

GUIController::~GUIController() = default;

void GUIController::parameterChanged (Parameter* parameter)
{
    const ParameterBinding::ScopedRefresh refreshing (binding);
    updateFromParameter (parameter);
}

void GUIController::addAction (const juce::String&, int, const juce::String&)
{
}

void GUIController::updateFromParameter (Parameter*)
{
}

void GUIController::addListener (Listener* listener)
{
    if (listener != nullptr)
        listeners.addIfNotAlreadyThere (listener);
}

void GUIController::removeListener (Listener* listener)
{
    listeners.removeAllInstancesOf (listener);
}

void GUIController::loadFromXml (const juce::XmlElement& element, SkinReader& reader)
{
    if (auto* links = findChildWithTag (&element, "links"))
    {
        for (auto* link : links->getChildIterator())
        {
            if (! tagIs (link, "link") || link->getStringAttribute ("as") != "connectedTo")
                continue;

            if (auto* parameter = reader.findParameter (link->getStringAttribute ("param")))
                bindParameter (parameter);
        }
    }

    if (auto* actions = findChildWithTag (&element, "actions"))
    {
        for (auto* action : actions->getChildIterator())
        {
            if (! tagIs (action, "action"))
                continue;

            const auto type = action->getStringAttribute ("type");

            if (type.isEmpty())
            {
                reader.report ("an action without a type");
                continue;
            }

            const int eventId = reader.findEvent (action->getStringAttribute ("event"));

            if (eventId != -1)
                addAction (type, eventId, reader.getContext().getEventDisplayName (eventId));
        }
    }
}

void GUIController::refreshFromParameter()
{
    if (auto* parameter = binding.getParameter())
        parameterChanged (parameter);
}

template <typename Call>
void GUIController::callListeners (Call&& call)
{
    // The walk goes over a copy, so that listeners removed meanwhile are
    // skipped and the others are told exactly once; it stops when a
    // listener deleted this control.
    const juce::WeakReference<GUIController> alive (this);
    const auto toTell = listeners;

    for (int i = toTell.size(); --i >= 0;)
    {
        auto* listener = toTell.getUnchecked (i);

        if (! listeners.contains (listener))
            continue;

        call (*listener);

        if (alive == nullptr)
            return;
    }
}

void GUIController::notifyGestureBegin()
{
    callListeners ([this] (Listener& l) { l.controllerDragStarted (this); });
}

void GUIController::notifyGestureEnd()
{
    callListeners ([this] (Listener& l) { l.controllerDragEnded (this); });
}

void GUIController::notifyValueChanged()
{
    callListeners ([this] (Listener& l) { l.controllerValueChanged (this); });
}

void GUIController::notifyEventFired (int eventId)
{
    callListeners ([this, eventId] (Listener& l) { l.controllerEventFired (this, eventId); });
}

void GUIController::writeNormalised (float normalised)
{
    if (binding.writeNormalised (normalised))
        notifyValueChanged();
}

void GUIController::writeValue (float value)
{
    if (binding.writeValue (value))
        notifyValueChanged();
}

void GUIController::writeBool (bool value)
{
    if (binding.writeBool (value))
        notifyValueChanged();
}

void GUIController::writeInt (int value)
{
    if (binding.writeInt (value))
        notifyValueChanged();
}

void GUIController::writeText (const juce::String& text)
{
    if (binding.writeText (text))
        notifyValueChanged();
}

GUIController::ScopedGesture::ScopedGesture (GUIController& controller) : owner (controller)
{
    if (! owner.binding.isBound())
        return;

    parameterGesture.emplace (owner.binding);
    owner.notifyGestureBegin();
}

GUIController::ScopedGesture::~ScopedGesture()
{
    if (! parameterGesture.has_value())
        return;

    // The host hears of the end first, as it heard of the begin first.
    parameterGesture.reset();
    owner.notifyGestureEnd();
}
