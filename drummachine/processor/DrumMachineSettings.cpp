// The drum machine's sections of the state chunk and of the user settings.
// A state restore is read into a plain record on the message thread first;
// only copying it in happens under the callback lock, between two blocks.
#include "drummachine/processor/DrumMachine.h"
#include "drummachine/sequencer/Pattern.h"

#include "framework/core/TextNumbers.h"
#include "framework/core/XmlTags.h"

#include <algorithm>

struct DrumMachine::RestoredState
{
    bool intSeq = true, intSync = true, hostMode = false, noteOff = false;
    bool pattWriteMode = false, autoFollow = false;
    std::array<int, numInstruments> outputs {};
    bool triggerOutEnabled = false;
    int triggerOutInstrument = 0;
    int triggerOutOutput = 12;
    bool triggerOutRead = false;
};

namespace
{
constexpr const char* internalSequencerTag = "InternalSequencer";
constexpr const char* audioOutputSettingsTag = "AudioOutputSettings";

const char* patternSourceName (DrumMachineSeq::PatternSource source)
{
    switch (source)
    {
        case DrumMachineSeq::PatternSource::clearPatterns: return "clearPatterns";
        case DrumMachineSeq::PatternSource::userDefinedPatterns: return "userDefinedPatterns";
        case DrumMachineSeq::PatternSource::factoryPatterns: break;
    }
    return "factoryPatterns";
}
} // namespace

//==== Plug-in state ===================================================================

std::unique_ptr<juce::XmlElement> DrumMachine::createPluginStateXml()
{
    auto root = BasePluginOldStyle::createPluginStateXml();
    if (root == nullptr || sequencer == nullptr)
        return root;

    const bool seqOn = isInternalSequencerOn();
    const bool editing = isPatternWriteMode() || isHostMode();

    auto internalSequencer = std::make_unique<juce::XmlElement> (internalSequencerTag);
    internalSequencer->addChildElement (createOnOffStateXml ("IntSeq", seqOn).release());
    internalSequencer->addChildElement (createOnOffStateXml ("IntSync", isInternalSyncOn()).release());
    internalSequencer->addChildElement (createOnOffStateXml ("HostMode", isHostMode()).release());
    internalSequencer->addChildElement (createOnOffStateXml ("NoteOff", isNoteOffMode()).release());
    internalSequencer->addChildElement (createOnOffStateXml ("PattWriteMode", seqOn && editing).release());
    const bool following = seqOn && editing && ! isLengthMode() && (isAutoFollow() || isTapMode());
    internalSequencer->addChildElement (createOnOffStateXml ("AutoFollow", following).release());
    internalSequencer->addChildElement (sequencer->createEditionStateXml().release());

    auto outputs = std::make_unique<juce::XmlElement> (audioOutputSettingsTag);
    auto* triggerOut = outputs->createNewChildElement ("TriggerOut");
    triggerOut->setAttribute ("state", isTriggerOutEnabled() ? "on" : "off");
    triggerOut->setAttribute ("instrument", instruments::getShortCode (getTriggerOutInstrument()));
    triggerOut->setAttribute ("output", getTriggerOutOutput());
    outputs->addChildElement (createOutputAssignmentsXml (true).release());

    root->insertChildElement (internalSequencer.release(), 0);
    root->insertChildElement (outputs.release(), 1);
    root->insertChildElement (sequencer->createPatternsStateXml().release(), 2);
    root->addChildElement (drumMap.createDrumMapXml().release());
    return root;
}

std::unique_ptr<juce::XmlElement> DrumMachine::createOutputAssignmentsXml (bool current) const
{
    auto assignments = std::make_unique<juce::XmlElement> ("OutAssignations");
    for (int i = 0; i < numInstruments; ++i)
        assignments->createNewChildElement (instruments::getShortCode (i))->setAttribute ("out", current ? getOutputNumber (i) : getDefaultOutputNumber (i));
    return assignments;
}

void DrumMachine::restorePluginState (const juce::XmlElement& element)
{
    BasePluginOldStyle::restorePluginState (element);
    if (! isPluginStateXml (&element) || sequencer == nullptr)
        return;

    // Everything is read on this thread first.
    RestoredState state;
    state.intSeq = isInternalSequencerOn();
    state.intSync = isInternalSyncOn();
    state.hostMode = isHostMode();
    state.noteOff = isNoteOffMode();
    state.pattWriteMode = isPatternWriteMode();
    state.autoFollow = isAutoFollow();
    for (int i = 0; i < numInstruments; ++i)
        state.outputs[(size_t) i] = getOutputNumber (i);
    state.triggerOutEnabled = isTriggerOutEnabled();
    state.triggerOutInstrument = getTriggerOutInstrument();
    state.triggerOutOutput = getTriggerOutOutput();

    for (auto* child : element.getChildIterator())
    {
        if (tagIs (child, audioOutputSettingsTag))
        {
            for (auto* piece : child->getChildIterator())
            {
                if (tagIs (piece, "TriggerOut"))
                    readTriggerOut (*piece, state);
                else if (tagIs (piece, "OutAssignations"))
                    readOutputAssignments (*piece, true, &state);
            }
        }
        else if (DrumMap::isDrumMapXml (*child))
        {
            // The audio side reads its own copy of the keys, refreshed below.
            // A map this version cannot read leaves the current one in place.
            drumMap.readDrumMapXml (*child);
        }
        else if (tagIs (child, internalSequencerTag))
        {
            readInternalSequencerState (*child, state);
        }
        else if (tagIs (child, "PatternsState"))
        {
            // Parsed here; the records are copied in under the rewrite guard.
            sequencer->readPatternsState (*child);
        }
    }

    applyRestoredState (state);

    for (int i = 0; i < numInstruments; ++i)
        getParameterManager().setInt (outputNumberParameter + i, state.outputs[(size_t) i]);
    refreshAllStates();
}

void DrumMachine::applyRestoredState (const RestoredState& state)
{
    const juce::ScopedLock lock (getCallbackLock());

    if (intSeq.exchange (state.intSeq) != state.intSeq)
        noteOffFlushPending = true; // sent at the next block's first sample
    intSync = state.intSync;
    hostMode = state.hostMode;
    noteOffMode = state.noteOff;
    pattWriteMode = state.pattWriteMode;
    autoFollow = state.autoFollow;
    for (int i = 0; i < numInstruments; ++i)
        outputNumber[(size_t) i] = state.outputs[(size_t) i];

    if (state.triggerOutRead && core != nullptr)
    {
        core->setTriggerOutEnabled (state.triggerOutEnabled);
        core->setTriggerOutSource (state.triggerOutInstrument);
        core->initTriggerOutPulse();
        triggerOutOutput = state.triggerOutOutput;
    }

    copyKeyMapLocked();
}

void DrumMachine::readTriggerOut (const juce::XmlElement& element, RestoredState& state) const
{
    state.triggerOutRead = true;
    state.triggerOutEnabled = readOnOffState (element);
    const int instrument = instruments::getIndexOfCode (element.getStringAttribute ("instrument"));
    if (instrument >= 0)
        state.triggerOutInstrument = instrument;
    const int output = readIntAttribute (element, "output", getNumOutputs());
    state.triggerOutOutput = std::clamp (output, 1, getNumOutputs());
}

void DrumMachine::readOutputAssignments (const juce::XmlElement& element, bool current, RestoredState* state)
{
    for (auto* child : element.getChildIterator())
    {
        const int instrument = instruments::getIndexOfCode (child->getTagName());
        const int out = readIntAttribute (*child, "out", 0);
        if (! isValidInstrument (instrument) || out < 1 || out > getNumOutputs())
            continue;

        if (! current)
            setDefaultOutputNumber (instrument, out);
        else if (state != nullptr)
            state->outputs[(size_t) instrument] = out;
    }
}

void DrumMachine::readInternalSequencerState (const juce::XmlElement& element, RestoredState& state)
{
    for (auto* child : element.getChildIterator())
    {
        if (tagIs (child, "IntSeq"))
            state.intSeq = readOnOffState (*child);
        else if (tagIs (child, "IntSync"))
            state.intSync = readOnOffState (*child);
        else if (tagIs (child, "HostMode"))
            state.hostMode = readOnOffState (*child);
        else if (tagIs (child, "NoteOff"))
            state.noteOff = readOnOffState (*child);
        else if (tagIs (child, "PattWriteMode"))
            state.pattWriteMode = readOnOffState (*child);
        else if (tagIs (child, "AutoFollow"))
            state.autoFollow = readOnOffState (*child);
        else if (tagIs (child, "DMSeqEditionState"))
            sequencer->readEditionStateXml (*child);
    }
}

//==== User settings ===================================================================

std::unique_ptr<juce::XmlElement> DrumMachine::createUserSettingsXml()
{
    auto root = BasePluginOldStyle::createUserSettingsXml();
    if (root == nullptr)
        return root;

    auto* outputs = root->createNewChildElement (audioOutputSettingsTag);
    outputs->createNewChildElement ("OutCharacteristics")->setAttribute ("type", defaultOutputMode == monoOutputs ? "mono" : "stereo");
    outputs->addChildElement (createOutputAssignmentsXml (false).release());

    auto* internalSequencer = root->createNewChildElement (internalSequencerTag);
    internalSequencer->addChildElement (createOnOffStateXml ("IntSeq", sequencerDefaults.intSeq).release());
    internalSequencer->addChildElement (createOnOffStateXml ("IntSync", sequencerDefaults.intSync).release());
    internalSequencer->addChildElement (createOnOffStateXml ("HostMode", sequencerDefaults.hostMode).release());
    internalSequencer->addChildElement (createOnOffStateXml ("NoteOff", sequencerDefaults.noteOff).release());
    auto* detection = internalSequencer->createNewChildElement ("HostPlayDetection");
    const int playDetection = getHostPlayDetection();
    if (playDetection == byTransportChange)
        detection->setAttribute ("type", "byTransportChange");
    else if (playDetection == byLowestCNoteOn)
        detection->setAttribute ("type", "byLowestCNoteOn");
    return root;
}

void DrumMachine::readUserSettings (const juce::XmlElement& element)
{
    BasePluginOldStyle::readUserSettings (element);
    if (! isUserSettingsXml (&element))
        return;

    for (auto* child : element.getChildIterator())
    {
        if (tagIs (child, audioOutputSettingsTag))
        {
            for (auto* piece : child->getChildIterator())
            {
                if (tagIs (piece, "OutCharacteristics"))
                {
                    const auto type = piece->getStringAttribute ("type");
                    if (type == "mono")
                        defaultOutputMode = monoOutputs;
                    else if (type == "stereo")
                        defaultOutputMode = stereoOutputs;
                }
                else if (tagIs (piece, "OutAssignations"))
                {
                    readOutputAssignments (*piece, false, nullptr);
                }
            }
        }
        else if (tagIs (child, internalSequencerTag))
        {
            readInternalSequencerSettings (*child);
        }
    }
}

void DrumMachine::readInternalSequencerSettings (const juce::XmlElement& element)
{
    for (auto* child : element.getChildIterator())
    {
        if (tagIs (child, "IntSeq"))
            sequencerDefaults.intSeq = readOnOffState (*child);
        else if (tagIs (child, "IntSync"))
            sequencerDefaults.intSync = readOnOffState (*child);
        else if (tagIs (child, "HostMode"))
            sequencerDefaults.hostMode = readOnOffState (*child);
        else if (tagIs (child, "NoteOff"))
            sequencerDefaults.noteOff = readOnOffState (*child);
        else if (tagIs (child, "HostPlayDetection"))
        {
            const auto type = child->getStringAttribute ("type");
            if (type == "byTransportChange")
                setHostPlayDetection (byTransportChange);
            else if (type == "byLowestCNoteOn")
                setHostPlayDetection (byLowestCNoteOn);
        }
    }
}

//==== Resources settings ===============================================================

std::unique_ptr<juce::XmlElement> DrumMachine::createResourcesSettingsXml()
{
    auto root = BasePluginOldStyle::createResourcesSettingsXml();
    if (root == nullptr)
        return root;

    auto* patterns = root->createNewChildElement ("DMSeqRes");
    const bool separate = sequencer != nullptr && sequencer->hasHostAndNativePatterns();
    const char* const tags[2] = { separate ? "HostPatterns" : "Patterns", "NativePatterns" };
    for (int store = 0; store < (separate ? 2 : 1); ++store)
    {
        const auto& setting = patternSources[(size_t) store];
        auto* entry = patterns->createNewChildElement (tags[store]);
        entry->setAttribute ("default", patternSourceName (setting.source));
        if (setting.source == DrumMachineSeq::PatternSource::userDefinedPatterns)
            entry->setAttribute ("file", setting.file);
    }

    auto* map = root->createNewChildElement ("DrumMap");
    if (drumMap.getChoice() == DrumMap::userDefinedDrumMap)
    {
        map->setAttribute ("default", "userDefinedDrumMap");
        map->setAttribute ("file", drumMap.getUserDrumMapFile());
    }
    else
    {
        map->setAttribute ("default", "factoryMapping");
    }
    return root;
}

void DrumMachine::readResourcesSettings (const juce::XmlElement& element)
{
    BasePluginOldStyle::readResourcesSettings (element);
    if (! tagIs (&element, "ResourcesSettings"))
        return;

    for (auto* child : element.getChildIterator())
    {
        if (tagIs (child, "DMSeqRes"))
        {
            for (auto* entry : child->getChildIterator())
            {
                const int store = tagIs (entry, "NativePatterns") ? 1 : (tagIs (entry, "Patterns") || tagIs (entry, "HostPatterns") ? 0 : -1);
                if (store < 0)
                    continue;
                auto& setting = patternSources[(size_t) store];
                const auto choice = entry->getStringAttribute ("default");
                if (choice == "factoryPatterns")
                    setting.source = DrumMachineSeq::PatternSource::factoryPatterns;
                else if (choice == "clearPatterns")
                    setting.source = DrumMachineSeq::PatternSource::clearPatterns;
                else if (choice == "userDefinedPatterns")
                {
                    setting.source = DrumMachineSeq::PatternSource::userDefinedPatterns;
                    setting.file = entry->getStringAttribute ("file");
                }
            }
        }
        else if (tagIs (child, "DrumMap"))
        {
            const auto choice = child->getStringAttribute ("default");
            if (choice == "factoryMapping")
                drumMap.setChoice (DrumMap::factoryMapping);
            else if (choice == "userDefinedDrumMap")
            {
                drumMap.setChoice (DrumMap::userDefinedDrumMap);
                drumMap.setUserDrumMapFile (child->getStringAttribute ("file"));
            }
        }
    }
}
