#include "drummachine/product/Pulsetta.h"

#include "editor/drummachine/PulsettaEditor.h"
#include "framework/core/TextNumbers.h"
#include "framework/core/XmlTags.h"
#include "voices/PulsettaCore.h"

namespace
{
const char* const bankRootTag = "PulsettaBank";
const char* const chainStateTag = "XRState";
const char* const chainTag = "ChainPatterns";
} // namespace

Pulsetta::Pulsetta()
{
    migrateUserSettings();
}

Pulsetta::~Pulsetta()
{
    // Written while every part of the drum machine still exists; the editor
    // then goes while everything it watches is still there.
    saveUserSettings();
    deletePersistentEditor();
}

std::unique_ptr<juce::Component> Pulsetta::createEditorComponent()
{
    return std::make_unique<PulsettaEditor> (*this);
}

std::unique_ptr<DrumMachineCore> Pulsetta::createCore()
{
    return std::make_unique<PulsettaCore> (this);
}

std::unique_ptr<DrumMachineSeq> Pulsetta::createSequencer()
{
    return std::make_unique<PulsettaSeq> (*this, getPluginName(), getResourcePrefix());
}

PulsettaSeq* Pulsetta::getPulsettaSeq() const noexcept
{
    return dynamic_cast<PulsettaSeq*> (getSequencer());
}

PulsettaSeq::Chain Pulsetta::getChain() const noexcept
{
    auto* seq = getPulsettaSeq();
    return seq != nullptr ? seq->getChain() : PulsettaSeq::Chain {};
}

//==== State ==============================================================================

bool Pulsetta::isPluginStateXml (const juce::XmlElement* element) const
{
    return element != nullptr && (DrumMachine::isPluginStateXml (element) || tagIs (element, bankRootTag));
}

std::unique_ptr<juce::XmlElement> Pulsetta::createPluginStateXml()
{
    auto root = DrumMachine::createPluginStateXml();
    if (root == nullptr)
        return root;

    const auto chain = getChain();
    auto* state = new juce::XmlElement (chainStateTag);
    auto* patterns = state->createNewChildElement (chainTag);
    patterns->setAttribute ("first", (int) chain.first);
    patterns->setAttribute ("last", (int) chain.last);
    patterns->setAttribute ("bank", (int) chain.bank);
    root->insertChildElement (state, 0);
    return root;
}

void Pulsetta::restorePluginState (const juce::XmlElement& element)
{
    auto* seq = getPulsettaSeq();
    if (tagIs (&element, bankRootTag))
    {
        // A pattern bank handed over as a chunk: patterns, and nothing else.
        // Pulsetta keeps one bank, written without a type, so any bank is ours.
        if (seq != nullptr)
            for (auto* child : element.getChildIterator())
                if (seq->isBankXml (*child, DrumMachineSeq::singleBank))
                    seq->loadBankXml (*child, DrumMachineSeq::singleBank);
        if (getCurrentPreset() >= 0 && getCurrentPreset() < PresetBank::numPresets)
            applyCurrentPreset();
        refreshPatternState();
        return;
    }

    DrumMachine::restorePluginState (element);
    if (! DrumMachine::isPluginStateXml (&element) || seq == nullptr)
        return;

    for (auto* state : element.getChildIterator())
    {
        if (! tagIs (state, chainStateTag))
            continue;
        for (auto* chain : state->getChildIterator())
        {
            if (! tagIs (chain, chainTag))
                continue;
            // The sequencer holds every value to its range.
            seq->setChain (readIntAttribute (*chain, "first", 0), readIntAttribute (*chain, "last", 0), readIntAttribute (*chain, "bank", 0));
            refreshPatternState();
        }
    }
}
