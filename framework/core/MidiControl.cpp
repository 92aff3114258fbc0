#include "framework/core/MidiControl.h"

#include "framework/core/ParameterManager.h"
#include "framework/core/TextNumbers.h"
#include "framework/core/XmlGuard.h"
#include "framework/core/XmlTags.h"

namespace
{
bool isController (int controller) noexcept
{
    return juce::isPositiveAndBelow (controller, MidiControl::numControllers);
}

// A controller value 0..127 as a normalised value (127 gives 1).
constexpr float controllerScale = 0.007874016f;
} // namespace

MidiControl::MidiControl (ParameterManager& parameterManager) : manager (parameterManager)
{
}

MidiControl::~MidiControl()
{
    cancelPendingUpdate();
}

void MidiControl::addListener (Listener* listener)
{
    if (listener != nullptr)
        listeners.addIfNotAlreadyThere (listener);
}

void MidiControl::removeListener (Listener* listener)
{
    listeners.removeFirstMatchingValue (listener);
}

Parameter* MidiControl::getParameterForController (int controller) const noexcept
{
    return isController (controller) ? slots[(size_t) controller].load() : nullptr;
}

int MidiControl::getControllerFor (const Parameter* parameter) const noexcept
{
    if (parameter != nullptr)
        for (int cc = 0; cc < numControllers; ++cc)
            if (slots[(size_t) cc].load() == parameter)
                return cc;

    return -1;
}

Parameter* MidiControl::getLearnParameter() const
{
    const juce::ScopedLock sl (lock);
    return learnParameter;
}

int MidiControl::getLearnController() const
{
    const juce::ScopedLock sl (lock);
    return learnController;
}

void MidiControl::mark (std::atomic<bool>& flag)
{
    flag.store (true);
    requestUpdate(); // off the message thread: a flag for the poll, no message
}

//==============================================================================
void MidiControl::assign (int controller, Parameter* parameter, bool notify)
{
    const juce::ScopedLock sl (lock);
    assignLocked (controller, parameter, notify);
}

void MidiControl::assignLocked (int controller, Parameter* parameter, bool notify)
{
    if (! isController (controller) || slots[(size_t) controller].load() == parameter)
        return;

    if (parameter != nullptr)
        for (auto& slot : slots)
            if (slot.load() == parameter)
                slot.store (nullptr);

    slots[(size_t) controller].store (parameter);

    if (notify)
        mark (mapChangedPending);
}

void MidiControl::unassign (int controller)
{
    const juce::ScopedLock sl (lock);

    if (! isController (controller) || slots[(size_t) controller].load() == nullptr)
        return;

    slots[(size_t) controller].store (nullptr);
    mark (mapChangedPending);

    if (learnMode.load())
    {
        learnParameter = nullptr;
        learnController = -1;
        tryLearnAssignLocked();
    }
}

void MidiControl::clear (bool notify)
{
    const juce::ScopedLock sl (lock);

    for (auto& slot : slots)
        slot.store (nullptr);

    if (notify)
        mark (mapChangedPending);
}

//==============================================================================
void MidiControl::setLearnMode (bool shouldBeOn)
{
    {
        const juce::ScopedLock sl (lock);

        if (learnMode.load() == shouldBeOn)
            return;

        learnParameter = nullptr;
        learnController = -1;
        learnMode.store (shouldBeOn);
        forgetHandedOverControllers();
    }

    // Told at once, but outside the lock, so that no listener's work ever
    // runs while the lock is held.
    callListeners ([this] (Listener& l) { l.midiLearnStateChanged (*this); });
}

void MidiControl::setLearnParameter (Parameter* parameter)
{
    const juce::ScopedLock sl (lock);

    if (parameter == learnParameter)
        return;

    const bool waitingForParameter = learnController >= 0 && learnParameter == nullptr;

    if (! waitingForParameter)
        learnController = getControllerFor (parameter);

    learnParameter = parameter;
    tryLearnAssignLocked();
}

void MidiControl::setLearnController (int controller)
{
    const juce::ScopedLock sl (lock);
    setLearnControllerLocked (controller);
}

void MidiControl::setLearnControllerLocked (int controller)
{
    if (! isController (controller) || controller == learnController)
        return;

    const bool waitingForController = learnParameter != nullptr && learnController < 0;

    if (! waitingForController)
        learnParameter = slots[(size_t) controller].load();

    learnController = controller;
    tryLearnAssignLocked();
}

void MidiControl::pickLearnController (int controller)
{
    const juce::ScopedLock sl (lock);

    if (! isController (controller))
        return;

    learnController = controller;
    learnParameter = slots[(size_t) controller].load();
    tryLearnAssignLocked();
}

void MidiControl::tryLearnAssign()
{
    const juce::ScopedLock sl (lock);
    tryLearnAssignLocked();
}

void MidiControl::tryLearnAssignLocked()
{
    // An occupied controller is never taken over by learn: the user frees it first.
    if (learnParameter != nullptr && isController (learnController)
        && slots[(size_t) learnController].load() == nullptr)
        assignLocked (learnController, learnParameter, true);

    mark (learnStateChangedPending);
}

void MidiControl::forgetHandedOverControllers()
{
    handOver.finishedRead (handOver.getNumReady());
}

//==============================================================================
void MidiControl::processMidiMessage (const juce::uint8* data, int numBytes) noexcept
{
    if (data == nullptr || numBytes < 3 || (data[0] & 0xf0) != 0xb0)
        return;

    const int controller = data[1];

    if (! isController (controller))
        return;

    if (learnMode.load())
    {
        // The learn steps take the lock and tell the editor: they run on the
        // message thread. A full hand-over drops the controller; the next
        // movement of the knob sends it again.
        const auto scope = handOver.write (1);

        if (scope.blockSize1 > 0)
            handOverBuffer[(size_t) scope.startIndex1] = controller;

        requestUpdate();
    }

    if (auto* parameter = slots[(size_t) controller].load())
    {
        parameter->setNormalised (static_cast<float> (data[2]) * controllerScale, true);
        lastMoved.store (parameter);
        mark (controllerMovedPending);
    }
}

void MidiControl::handleAsyncUpdate()
{
    // Only what is there now: a controller stream that keeps coming must not
    // hold the message thread here.
    {
        const auto scope = handOver.read (handOver.getNumReady());
        const juce::ScopedLock sl (lock);

        scope.forEach ([this] (int index) {
            if (learnMode.load())
                setLearnControllerLocked (handOverBuffer[(size_t) index]);
        });
    }

    if (mapChangedPending.exchange (false))
        callListeners ([] (Listener& l) { l.midiControlMapChanged(); });

    if (learnStateChangedPending.exchange (false))
        callListeners ([this] (Listener& l) { l.midiLearnStateChanged (*this); });

    if (controllerMovedPending.exchange (false))
        callListeners ([this] (Listener& l) { l.midiControllerMoved (*this); });
}

//==============================================================================
void MidiControl::setMapName (const juce::String& name)
{
    const juce::ScopedLock sl (lock);
    mapName = name;
}

juce::String MidiControl::getMapName() const
{
    const juce::ScopedLock sl (lock);
    return mapName;
}

void MidiControl::setUseUserMap (bool shouldUse)
{
    const juce::ScopedLock sl (lock);
    useUserMap = shouldUse;
}

bool MidiControl::getUseUserMap() const
{
    const juce::ScopedLock sl (lock);
    return useUserMap;
}

void MidiControl::setUserMapFile (const juce::File& file)
{
    const juce::ScopedLock sl (lock);
    userMapFile = file;
}

juce::File MidiControl::getUserMapFile() const
{
    const juce::ScopedLock sl (lock);
    return userMapFile;
}

bool MidiControl::isMidiControlMapXml (const juce::XmlElement* element) const
{
    if (! tagIs (element, "MidiControlMap") && ! tagIs (element, "MidiCCMap"))
        return false;

    const auto name = getMapName();

    return name.isEmpty() || element->getStringAttribute ("name").equalsIgnoreCase (name)
        || element->getStringAttribute ("application").equalsIgnoreCase (name);
}

bool MidiControl::loadFromXml (const juce::XmlElement* element)
{
    if (! isMidiControlMapXml (element))
        return false;

    setLearnMode (false);

    const juce::ScopedLock sl (lock);

    for (auto& slot : slots)
        slot.store (nullptr);

    for (auto* line : element->getChildIterator())
    {
        if (! tagIs (line, "assign"))
            continue;

        auto* parameter = manager.getParameterByName (line->getStringAttribute ("param"));
        const int controller = parseLeadingInt (line->getStringAttribute ("CC"));

        if (parameter != nullptr && parameter->isAutomatable() && isController (controller))
            assignLocked (controller, parameter, false);
    }

    mark (mapChangedPending);
    return true;
}

std::unique_ptr<juce::XmlElement> MidiControl::createXml() const
{
    auto root = std::make_unique<juce::XmlElement> ("MidiControlMap");
    root->setAttribute ("name", getMapName());

    for (int cc = 0; cc < numControllers; ++cc)
    {
        if (auto* parameter = slots[(size_t) cc].load())
        {
            auto* line = root->createNewChildElement ("assign");
            line->setAttribute ("CC", cc);
            line->setAttribute ("param", parameter->getName());
        }
    }

    return root;
}

bool MidiControl::loadFromFile (const juce::File& file)
{
    const auto root = xmlguard::parseFile (file);
    return root != nullptr && loadFromXml (root.get());
}

bool MidiControl::saveToFile (const juce::File& file) const
{
    return createXml()->writeTo (file, juce::XmlElement::TextFormat());
}

juce::String MidiControl::getMapFileExtension (const juce::String& resourcePrefix)
{
    return "." + resourcePrefix.toLowerCase() + "ccmap";
}

juce::String MidiControl::getMapFilePattern (const juce::String& resourcePrefix, const juce::StringArray& extraExtensions)
{
    auto pattern = "*" + getMapFileExtension (resourcePrefix);

    for (auto& extension : extraExtensions)
        pattern << "; *" << extension;

    return pattern;
}
