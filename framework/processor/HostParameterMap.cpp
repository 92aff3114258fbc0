#include "framework/processor/HostParameterMap.h"

#include "framework/core/ParameterManager.h"
#include "framework/core/TextNumbers.h"
#include "framework/core/XmlTags.h"
#include "framework/presets/XmlFiles.h"

HostParameterMap::HostParameterMap (ParameterManager& parameterManager)
    : manager (parameterManager)
{
}

void HostParameterMap::setNumSlots (int newNumSlots)
{
    numSlots.store (juce::jlimit (0, maxSlots, newNumSlots), std::memory_order_relaxed);
}

Parameter* HostParameterMap::getParameter (int slot) const noexcept
{
    return isSlot (slot) ? slots[(size_t) slot].load (std::memory_order_acquire) : nullptr;
}

int HostParameterMap::getSlotOf (const Parameter* parameter) const noexcept
{
    if (parameter == nullptr)
        return -1;

    const int count = getNumSlots();

    for (int slot = 0; slot < count; ++slot)
        if (slots[(size_t) slot].load (std::memory_order_acquire) == parameter)
            return slot;

    return -1;
}

void HostParameterMap::assign (int slot, Parameter* parameter)
{
    if (parameter == nullptr)
    {
        unassign (slot);
        return;
    }

    // Checked before anything moves: a bad line of a map file must not unbind
    // the parameter it names.
    if (! isSlot (slot) || ! parameter->isAutomatable())
        return;

    {
        const juce::ScopedLock sl (lock);

        if (slots[(size_t) slot].load() == parameter)
            return;

        if (const int oldSlot = getSlotOf (parameter); oldSlot >= 0)
            slots[(size_t) oldSlot].store (nullptr, std::memory_order_release);

        slots[(size_t) slot].store (parameter, std::memory_order_release);
    }

    bindingChanged();
}

void HostParameterMap::unassign (int slot)
{
    if (! isSlot (slot))
        return;

    {
        const juce::ScopedLock sl (lock);

        if (slots[(size_t) slot].load() == nullptr)
            return;

        slots[(size_t) slot].store (nullptr, std::memory_order_release);
    }

    bindingChanged();
}

void HostParameterMap::clear()
{
    {
        const juce::ScopedLock sl (lock);

        for (auto& slot : slots)
            slot.store (nullptr, std::memory_order_release);
    }

    bindingChanged();
}

void HostParameterMap::bindingChanged()
{
    if (onBindingChanged)
        onBindingChanged();

    sendChangeMessage();
}

bool HostParameterMap::isMapXml (const juce::XmlElement* element) const
{
    return tagIs (element, "HostParametersMap") && element->getStringAttribute ("name").equalsIgnoreCase (pluginName);
}

bool HostParameterMap::apply (const juce::XmlElement* element)
{
    if (! isMapXml (element))
        return false;

    clear();

    for (auto* line : element->getChildIterator())
    {
        if (! tagIs (line, "assign"))
            continue;

        // "hostParam" counts from 1; a missing, "0" or negative slot binds
        // nothing (checked before the subtraction, which the lowest int
        // would overflow).
        const int hostParam = readIntAttribute (*line, "hostParam", 0);

        if (hostParam < 1 || ! isSlot (hostParam - 1))
            continue;

        assign (hostParam - 1, manager.getParameterByName (line->getStringAttribute ("pluginParam")));
    }

    return true;
}

std::unique_ptr<juce::XmlElement> HostParameterMap::createXml() const
{
    auto element = std::make_unique<juce::XmlElement> ("HostParametersMap");
    element->setAttribute ("name", pluginName);

    for (int slot = 0; slot < getNumSlots(); ++slot)
    {
        if (auto* parameter = getParameter (slot))
        {
            auto* line = element->createNewChildElement ("assign");
            line->setAttribute ("hostParam", slot + 1);
            line->setAttribute ("pluginParam", parameter->getName());
        }
    }

    return element;
}

bool HostParameterMap::loadFile (const juce::File& file)
{
    const auto root = xmlfiles::readDocument (file);
    return apply (root.get());
}

bool HostParameterMap::saveFile (const juce::File& file) const
{
    return xmlfiles::writeDocument (*createXml(), file);
}

juce::String HostParameterMap::getFileExtension (const juce::String& resourcePrefix)
{
    return "." + resourcePrefix.toLowerCase() + "hpmap";
}
