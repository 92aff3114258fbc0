#include "framework/processor/BasePlugin.h"

#include "framework/core/FloatParameter.h"
#include "framework/core/ResourceLoader.h"
#include "framework/core/XmlTags.h"
#include "framework/presets/Preset.h"
#include "framework/presets/XmlFiles.h"
#include "framework/processor/AudioProcessorEditorWrapper.h"
#include "framework/processor/PersistentEditorHooks.h"
#include "framework/processor/StateChunk.h"
#include "platform/UserFolders.h"

#include <cmath>

namespace
{
// The parameter that the host is setting on this thread, so that its own
// change is not reported back to it, while a change of the same parameter
// made at that moment on another thread (MIDI, the editor) still is.
// Initial-exec: glibc places it in the static thread-local block when the
// module loads, instead of allocating it on each thread's first touch (which
// would be an allocation on the audio thread's first block).
thread_local const Parameter* parameterSetByHost __attribute__ ((tls_model ("initial-exec"))) = nullptr;

constexpr int pollIntervalMs = 25;
constexpr int maxUnreadableCopies = 999; // beyond that the settings are not saved at all

const char* const commandNames[] = { "Options",          "About",
                                     "Select next preset", "Select previous preset",
                                     "Browse presets",   "Save preset",
                                     "Save preset as",   "Copy current preset",
                                     "Paste copied preset", "Store current preset",
                                     "Toggle Midi Learn" };
} // namespace

// Runs the instance's poll on the message thread.
class BasePlugin::PollTimer final : public juce::Timer
{
public:
    explicit PollTimer (BasePlugin& o) : owner (o) {}
    void timerCallback() override { owner.pollAudioFlags(); } // message thread

private:
    BasePlugin& owner;
};

BasePlugin::BasePlugin (const BusesProperties& buses)
    : HostedProcessor (buses)
{
    parameterManager.loadFromResource ("parameters.xml");
    eventsMap.loadFromResource ("events.xml");

    for (int i = 0; i < (int) std::size (commandNames); ++i)
        eventsMap.addEvent (optionsCommand + i, commandNames[i]);
}

BasePlugin::~BasePlugin()
{
    stopPolling();
    cancelPendingUpdate();
    deletePersistentEditor();
}

void BasePlugin::deletePersistentEditor()
{
    persistentEditor.reset();
}

juce::AudioProcessor* BasePlugin::startUp (std::unique_ptr<BasePlugin> plugin)
{
    if (plugin == nullptr)
        return nullptr;

    if (plugin->isDebugMode())
        plugin->addDebugParametersAndEvents();

    plugin->initialise();
    plugin->persistentEditor = plugin->createEditorComponent();

    if (auto* editor = plugin->getEditorHooks())
    {
        editor->initialise();
        editor->postInitialise();
        editor->startRunning();
        // The editor's settings are part of what this instance found.
        plugin->rememberSettingsDocument();
    }

    plugin->parameterManager.notifyAll();
    plugin->postInitialise();

    // The collections belong to the product and go before this base does,
    // so the base never has to leave their listener lists.
    for (int i = 0; i < plugin->getNumPresetCollections(); ++i)
        if (auto* collection = plugin->getPresetCollection (i))
            collection->addListener (plugin.get());

    if (plugin->isStateDumpEnabled())
        if (const auto dump = xmlfiles::readDocument (plugin->getStateDumpFile()))
            plugin->restoreStateDocument (dump.get());

    plugin->pollTimer = std::make_unique<PollTimer> (*plugin);
    plugin->pollTimer->startTimer (pollIntervalMs);
    return plugin.release();
}

PersistentEditorHooks* BasePlugin::getEditorHooks() const noexcept
{
    return dynamic_cast<PersistentEditorHooks*> (persistentEditor.get());
}

void BasePlugin::addListener (Listener* listener)
{
    if (listener != nullptr)
        listeners.addIfNotAlreadyThere (listener);
}

void BasePlugin::removeListener (Listener* listener)
{
    listeners.removeFirstMatchingValue (listener);
}

void BasePlugin::addDebugParametersAndEvents()
{
    // Initialise makes the processor their listener, as it does for every parameter.
    for (int i = 0; i < numDebugItems; ++i)
    {
        parameterManager.addParameter (std::make_unique<FloatParameter> (firstDebugParameterId + i, "Debug Parameter " + juce::String (i), 0.0f, 1.0f, 0.0f));
        eventsMap.addEvent (firstDebugEventId + i, "Debug Event " + juce::String (i));
    }
}

//==============================================================================
void BasePlugin::initialise()
{
    hostParameterMap.setPluginName (getPluginName());
    hostParameterMap.setNumSlots (getNumHostParameters());
    hostParameterMap.onBindingChanged = [this] { updateHostDisplay(); };
    midiControl.setMapName (getPluginName());
    recordParameterDefaults();

    parameterManager.addListenerToAll (this);
    loadUserSettings();

    if (midiControl.getUseUserMap())
        midiControl.loadFromFile (midiControl.getUserMapFile());

    loadHostParametersMap();

    // Loading the maps may have adjusted a setting; that is still what this
    // instance found, not a change of the user's.
    rememberSettingsDocument();
}

void BasePlugin::recordParameterDefaults()
{
    for (int i = 0; i < parameterManager.getNumParameters(); ++i)
        if (auto* parameter = parameterManager.getParameterAt (i))
            defaultValues[parameter->getId()] = parameter->getNormalised();
}

bool BasePlugin::isPluginStateXml (const juce::XmlElement* element) const
{
    return isApplicationXml (element, "PluginState");
}

void BasePlugin::restorePluginState (const juce::XmlElement& element)
{
    auto* editor = getEditorHooks();

    if (editor == nullptr || ! isPluginStateXml (&element))
        return;

    for (auto* child : element.getChildIterator())
    {
        if (editor->isStateTag (*child))
        {
            editor->restoreStateXml (*child);
            return;
        }
    }
}

std::unique_ptr<juce::XmlElement> BasePlugin::createPluginStateXml()
{
    auto root = createApplicationXml ("PluginState");

    if (auto* editor = getEditorHooks())
        if (auto state = editor->createStateXml())
            root->addChildElement (state.release());

    return root;
}

juce::String BasePlugin::getParameterTextById (int id)
{
    return parameterManager.toString (id);
}

juce::String BasePlugin::getParameterNameById (int id)
{
    return parameterManager.getName (id);
}

juce::File BasePlugin::getModuleFile() const
{
    return juce::File::getSpecialLocation (juce::File::currentExecutableFile);
}

//==============================================================================
juce::File BasePlugin::getUserDataFolder() const
{
    return juce::File (juce::String (platform::getUserApplicationDataFolder())).getChildFile ("Kyxworks").getChildFile (getPluginName());
}

juce::File BasePlugin::getCommonDataFolder() const
{
    return juce::File (juce::String (platform::getCommonApplicationDataFolder())).getChildFile ("Kyxworks").getChildFile (getPluginName());
}

juce::File BasePlugin::getUserSettingsFile() const
{
    return getUserDataFolder().getChildFile (getPluginName() + ".ini");
}

juce::File BasePlugin::getStateDumpFile() const
{
    return getUserSettingsFile().getSiblingFile (getPluginName() + ".dump");
}

bool BasePlugin::isUserSettingsXml (const juce::XmlElement* element) const
{
    return isApplicationXml (element, "UserSettings");
}

void BasePlugin::loadUserSettings()
{
    const auto file = getUserSettingsFile();
    const auto root = xmlfiles::readDocument (file);

    if (isUserSettingsXml (root.get()))
    {
        readBaseUserSettings (*root);
        readUserSettings (*root);
    }

    // Remembered so that the save at closing does not replace the user's
    // file with defaults.
    settingsFileUnreadable = file.exists() && ! isUserSettingsXml (root.get());

    copyDefaultQualities();
    userSettingsLoaded();
    rememberSettingsDocument();
}

std::unique_ptr<juce::XmlElement> BasePlugin::createSettingsDocument()
{
    auto root = createUserSettingsXml();

    if (root != nullptr)
        addUserSettingsXml (*root);

    return root;
}

void BasePlugin::rememberSettingsDocument()
{
    // An unreadable file is not what this instance holds: its first save
    // still goes through the protection below.
    if (settingsFileUnreadable)
        return;

    if (const auto root = createSettingsDocument())
        settingsDocumentOnDisk = root->toString();
}

void BasePlugin::readBaseUserSettings (const juce::XmlElement& root)
{
    auto readMapSettings = [] (const juce::XmlElement& element, auto&& apply)
    {
        apply (element.getStringAttribute ("default").equalsIgnoreCase ("yes"),
               juce::File::isAbsolutePath (element.getStringAttribute ("file")) ? juce::File (element.getStringAttribute ("file")) : juce::File());
    };

    for (auto* child : root.getChildIterator())
    {
        if (tagIs (child, "Presets"))
        {
            if (auto* author = findChildWithTag (child, "Author"))
                setAuthorName (author->getStringAttribute ("name"));
        }
        else if (tagIs (child, "MidiControlMap"))
        {
            readMapSettings (*child, [this] (bool use, const juce::File& file)
            {
                midiControl.setUseUserMap (use);
                midiControl.setUserMapFile (file);
            });
        }
        else if (tagIs (child, "HostParametersMap"))
        {
            readMapSettings (*child, [this] (bool use, const juce::File& file) { setHostParametersMapFile (use, file); });
        }
        else if (tagIs (child, "Preset") && child->getStringAttribute ("name") == "DefaultProcessingQuality")
        {
            Preset quality;

            if (quality.loadFromXml (child, parameterManager, false))
                quality.applyTo (parameterManager);
        }
    }
}

void BasePlugin::copyDefaultQualities()
{
    if (getDefaultRealtimeQualityParameterId() >= 0 && getRealtimeQualityParameterId() >= 0)
        parameterManager.copyValue (getRealtimeQualityParameterId(), getDefaultRealtimeQualityParameterId());

    if (getDefaultOfflineQualityParameterId() >= 0 && getOfflineQualityParameterId() >= 0)
        parameterManager.copyValue (getOfflineQualityParameterId(), getDefaultOfflineQualityParameterId());
}

std::unique_ptr<juce::XmlElement> BasePlugin::createUserSettingsXml()
{
    auto root = createApplicationXml ("UserSettings");
    root->createNewChildElement ("Presets")->createNewChildElement ("Author")->setAttribute ("name", getAuthorName());

    auto addMapSettings = [&root] (const char* tag, bool use, const juce::File& file)
    {
        auto* element = root->createNewChildElement (tag);
        element->setAttribute ("default", use ? "yes" : "no");

        if (file.getFullPathName().isNotEmpty())
            element->setAttribute ("file", file.getFullPathName());
    };

    addMapSettings ("MidiControlMap", midiControl.getUseUserMap(), midiControl.getUserMapFile());
    addMapSettings ("HostParametersMap", useHostMapFile, hostMapFile);

    Preset quality;
    quality.setName ("DefaultProcessingQuality");
    quality.addParameterValue (parameterManager.getParameter (getDefaultRealtimeQualityParameterId()));
    quality.addParameterValue (parameterManager.getParameter (getDefaultOfflineQualityParameterId()));
    root->addChildElement (quality.createXml (parameterManager).release());

    if (auto* editor = getEditorHooks())
        if (auto settings = editor->createSettingsXml())
            root->addChildElement (settings.release());

    return root;
}

bool BasePlugin::saveUserSettings()
{
    const auto root = createSettingsDocument();

    if (root == nullptr)
        return false;

    // Unchanged since loaded or last saved: writing would only put this
    // instance's old copy over what another instance saved in the meantime.
    const auto document = root->toString();

    if (! settingsFileUnreadable && document == settingsDocumentOnDisk)
        return true;

    const auto file = getUserSettingsFile();

    if (settingsFileUnreadable && ! keepUnreadableSettingsFile (file))
        return false;

    if (! xmlfiles::writeDocument (*root, file))
        return false;

    settingsDocumentOnDisk = document;
    return true;
}

bool BasePlugin::keepUnreadableSettingsFile (const juce::File& file)
{
    // Another instance may have written a good file since.
    if (! file.exists() || isUserSettingsXml (xmlfiles::readDocument (file).get()))
    {
        settingsFileUnreadable = false;
        return true;
    }

    // "<name>.unreadable", or "<name>.unreadable-2" and so on: an earlier
    // copy is never overwritten.
    juce::File copy;

    for (int number = 1; number <= maxUnreadableCopies && copy == juce::File(); ++number)
    {
        const auto candidate = file.getSiblingFile (file.getFileName() + ".unreadable" + (number > 1 ? "-" + juce::String (number) : juce::String()));

        if (! candidate.exists())
            copy = candidate;
    }

    if (copy == juce::File() || ! file.moveFileTo (copy))
        return false;

    unreadableSettingsCopy = copy;
    settingsFileUnreadable = false;
    return true;
}

void BasePlugin::setAuthorName (const juce::String& name)
{
    const juce::ScopedLock sl (authorNameLock);
    authorName = name;
}

juce::String BasePlugin::getAuthorName() const
{
    const juce::ScopedLock sl (authorNameLock);
    return authorName;
}

//==============================================================================
void BasePlugin::loadHostParametersMap()
{
    if (useHostMapFile)
    {
        loadHostParametersMapFile (hostMapFile);
        return;
    }

    const auto text = getResourceAsString ("default." + getResourcePrefix().toLowerCase() + "hpmap");

    if (const auto root = xmlfiles::parseDocument (text))
        applyHostParametersMap (root.get());
}

void BasePlugin::setHostParametersMapFile (bool useFile, const juce::File& file)
{
    useHostMapFile = useFile;
    hostMapFile = file;
}

//==============================================================================
bool BasePlugin::readOnOffState (const juce::XmlElement& element)
{
    return element.getStringAttribute ("state").equalsIgnoreCase ("on");
}

std::unique_ptr<juce::XmlElement> BasePlugin::createOnOffStateXml (const juce::String& tag, bool on)
{
    auto element = std::make_unique<juce::XmlElement> (tag);
    element->setAttribute ("state", on ? "on" : "off");
    return element;
}

bool BasePlugin::isApplicationXml (const juce::XmlElement* element, const juce::String& tag) const
{
    return tagIs (element, tag) && element->getStringAttribute ("application").equalsIgnoreCase (getPluginName());
}

std::unique_ptr<juce::XmlElement> BasePlugin::createApplicationXml (const juce::String& tag) const
{
    auto element = std::make_unique<juce::XmlElement> (tag);
    element->setAttribute ("application", getPluginName());
    return element;
}

//==============================================================================
void BasePlugin::prepareToPlay (double, int)
{
    checkNonRealtime();
    prepared = true;
    preparedPending = true;
    // The binding prepares on the host's UI thread, but a host driving the
    // processor otherwise might prepare from its audio thread: no message here.
    requestUpdate();
}

void BasePlugin::releaseResources()
{
    prepared = false;
}

void BasePlugin::processBlock (juce::AudioBuffer<float>&, juce::MidiBuffer&)
{
    checkNonRealtime();
}

void BasePlugin::checkNonRealtime()
{
    const bool offline = isNonRealtime();

    if (lastNonRealtime.exchange (offline) == offline)
        return;

    nonRealtimeChanged (offline);
    processingModePending = offline ? 2 : 1;
    requestUpdate();
}

juce::AudioProcessorEditor* BasePlugin::createEditor()
{
    if (persistentEditor == nullptr)
        return nullptr;

    return new AudioProcessorEditorWrapper (*this, *persistentEditor);
}

//==============================================================================
void BasePlugin::getStateInformation (juce::MemoryBlock& destination)
{
    if (const auto state = createPluginStateXml())
    {
        statechunk::write (*state, destination);

        if (isStateDumpEnabled())
            xmlfiles::writeDocument (*state, getStateDumpFile());
    }

    stateSavedPending = true;
    requestUpdate();
}

void BasePlugin::setStateInformation (const void* data, int sizeInBytes)
{
    restoreStateDocument (statechunk::read (data, sizeInBytes).get());
}

void BasePlugin::restoreStateDocument (const juce::XmlElement* state)
{
    // Every layer checks the document itself: a product may take other roots
    // (a pattern bank) as well as its own state.
    if (state != nullptr)
        restorePluginState (*state);

    stateRestoredPending = true;
    requestUpdate();
}

void BasePlugin::getCurrentProgramStateInformation (juce::MemoryBlock& destination)
{
    if (const auto state = createCurrentProgramStateXml())
        statechunk::write (*state, destination);
}

void BasePlugin::setCurrentProgramStateInformation (const void* data, int sizeInBytes)
{
    if (const auto state = statechunk::read (data, sizeInBytes))
        restoreCurrentProgramState (*state);
}

//==============================================================================
float BasePlugin::getParameter (int slot)
{
    if (! isSlotIndex (slot))
        return 0.0f;

    if (auto* parameter = hostParameterMap.getParameter (slot))
        return parameter->getNormalised();

    return lastHostValues[(size_t) slot].load (std::memory_order_relaxed);
}

void BasePlugin::setParameter (int slot, float normalisedValue)
{
    if (! isSlotIndex (slot) || ! std::isfinite (normalisedValue))
        return;

    lastHostValues[(size_t) slot].store (normalisedValue, std::memory_order_relaxed);

    if (auto* parameter = hostParameterMap.getParameter (slot))
    {
        const auto* outer = parameterSetByHost;
        parameterSetByHost = parameter;
        parameter->setNormalised (normalisedValue, true);
        parameterSetByHost = outer;
    }
}

const juce::String BasePlugin::getParameterName (int slot)
{
    if (! isSlotIndex (slot))
        return {};

    if (auto* parameter = hostParameterMap.getParameter (slot))
        return getParameterNameById (parameter->getId());

    return "Parameter " + juce::String (slot + 1);
}

const juce::String BasePlugin::getParameterText (int slot)
{
    if (! isSlotIndex (slot))
        return {};

    if (auto* parameter = hostParameterMap.getParameter (slot))
        return getParameterTextById (parameter->getId());

    return juce::String (lastHostValues[(size_t) slot].load (std::memory_order_relaxed), 8);
}

float BasePlugin::getParameterDefaultValue (int slot)
{
    if (! isSlotIndex (slot))
        return 0.0f;

    if (auto* parameter = hostParameterMap.getParameter (slot))
        if (const auto found = defaultValues.find (parameter->getId()); found != defaultValues.end())
            return found->second;

    return 0.0f;
}

bool BasePlugin::isParameterAutomatable (int slot) const
{
    return isSlotIndex (slot);
}

void BasePlugin::parameterChanged (Parameter* parameter)
{
    if (parameter == parameterSetByHost)
        return;

    if (const int slot = hostParameterMap.getSlotOf (parameter); slot >= 0)
        notifyHostOfParameterChange (slot, parameter->getNormalised());
}

void BasePlugin::parameterGestureBegin (Parameter* parameter)
{
    if (const int slot = hostParameterMap.getSlotOf (parameter); slot >= 0)
        beginHostGesture (slot);
}

void BasePlugin::parameterGestureEnd (Parameter* parameter)
{
    if (const int slot = hostParameterMap.getSlotOf (parameter); slot >= 0)
        endHostGesture (slot);
}

//==============================================================================
void BasePlugin::notifyCurrentPresetChanged()
{
    for (int i = listeners.size(); --i >= 0;)
        if (i < listeners.size())
            listeners.getUnchecked (i)->currentPresetChanged (*this);
}

void BasePlugin::announcePresetBankReplaced() noexcept
{
    presetBankReplacedPending = true;
    requestUpdate();
}

void BasePlugin::stopPolling()
{
    if (pollTimer != nullptr)
        pollTimer->stopTimer();
}

void BasePlugin::pollAudioFlags()
{
    pollUpdateRequest();
    midiControl.pollUpdateRequest();
    parameterManager.pollDeferredNotifications();
}

void BasePlugin::handleAsyncUpdate()
{
    auto tell = [this] (auto callback)
    {
        for (int i = listeners.size(); --i >= 0;)
            if (i < listeners.size())
                (listeners.getUnchecked (i)->*callback) (*this);
    };

    if (stateRestoredPending.exchange (false))
        tell (&Listener::pluginStateRestored);

    if (presetBankReplacedPending.exchange (false))
        tell (&Listener::presetBankReplaced);

    if (stateSavedPending.exchange (false))
        tell (&Listener::pluginStateSaved);

    if (preparedPending.exchange (false))
        tell (&Listener::pluginPrepared);

    if (processingModePending.exchange (0) != 0)
        tell (&Listener::processingModeChanged);
}
