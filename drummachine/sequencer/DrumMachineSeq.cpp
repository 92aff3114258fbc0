#include "drummachine/sequencer/DrumMachineSeq.h"

#include <ctime>

DrumMachineSeq::DrumMachineSeq (SequencerOwner& ownerToUse, const juce::String& application, const juce::String& prefix)
    : owner (ownerToUse), applicationName (application), resourcePrefix (prefix)
{
    for (auto& threshold : randomizerThresholds)
        threshold.store (0.2f);
    resetRandomizer();

    // A fixed start, then the clock, so two sessions do not begin with the
    // same random patterns.
    randomSource.reseed (1234);
    randomSource.reseed ((uint32_t) std::time (nullptr));
}

DrumMachineSeq::~DrumMachineSeq() = default;

//==============================================================================
// Neutral defaults: a sequencer without a store does nothing.

bool DrumMachineSeq::hasHostAndNativePatterns() const { return false; }
int DrumMachineSeq::getNumAlternativePatternExtensions() const { return 0; }
juce::String DrumMachineSeq::getAlternativePatternExtension (int) const { return {}; }
int DrumMachineSeq::getNumAlternativeBankExtensions() const { return 0; }
juce::String DrumMachineSeq::getAlternativeBankExtension (int) const { return {}; }

void DrumMachineSeq::startHost (int) {}
void DrumMachineSeq::startNative() {}
void DrumMachineSeq::stopHost() {}
void DrumMachineSeq::stopNative() {}
double DrumMachineSeq::locate (double beats) { return beats; }
void DrumMachineSeq::setNativeCursor (int, int) {}
void DrumMachineSeq::setHostCursor (int, int) {}
void DrumMachineSeq::playHostStep (bool) {}
void DrumMachineSeq::playNativeStep (bool) {}
void DrumMachineSeq::advanceHostStep() {}
bool DrumMachineSeq::advanceNativeStep() { return false; }
int DrumMachineSeq::getHostPattern() const { return 0; }
int DrumMachineSeq::getNativePattern() const { return 0; }
int DrumMachineSeq::getHostStep() const { return 0; }
int DrumMachineSeq::getNativeStep() const { return 0; }

int DrumMachineSeq::getHostPatternLength() const { return 16; }
int DrumMachineSeq::getNativePatternLength() const { return 16; }
double DrumMachineSeq::getHostPatternTempo() const { return 120.0; }
double DrumMachineSeq::getNativePatternTempo() const { return 120.0; }
double DrumMachineSeq::getHostPatternShuffle() const { return 0.0; }
double DrumMachineSeq::getNativePatternShuffle() const { return 0.0; }
double DrumMachineSeq::getHostPatternFlam() const { return Pattern::initialFlam; }
double DrumMachineSeq::getNativePatternFlam() const { return Pattern::initialFlam; }
int DrumMachineSeq::getHostPatternScale() const { return 4; }
int DrumMachineSeq::getNativePatternScale() const { return 4; }
juce::String DrumMachineSeq::getHostPatternName() const { return {}; }
juce::String DrumMachineSeq::getNativePatternName() const { return {}; }

void DrumMachineSeq::latchNativePattern() {}
bool DrumMachineSeq::hasNativePatternChanged() const { return false; }
bool DrumMachineSeq::isNextPattern (int) const { return false; }

int DrumMachineSeq::getStepOffValue() const { return 0; }
int DrumMachineSeq::getStepOnValue() const { return 0; }
int DrumMachineSeq::getStepAccentValue() const { return 0; }
int DrumMachineSeq::getStepFlamValue() const { return 0; }
int DrumMachineSeq::getNumPatterns (int) const { return 0; }

const Pattern& DrumMachineSeq::getEditedPattern() const
{
    static const Pattern none;
    return none;
}

int DrumMachineSeq::getEditedPatternIndex() const { return 0; }
void DrumMachineSeq::editNextPattern() {}
void DrumMachineSeq::editPreviousPattern() {}
juce::String DrumMachineSeq::getEditedPatternName() const { return {}; }
void DrumMachineSeq::setEditedPatternName (const juce::String&) {}
int DrumMachineSeq::getEditedPatternLength() const { return 16; }
void DrumMachineSeq::setEditedPatternLength (int) {}
double DrumMachineSeq::getEditedPatternFlam() const { return Pattern::initialFlam; }
void DrumMachineSeq::setEditedPatternFlam (double) {}
double DrumMachineSeq::getEditedPatternShuffle() const { return 0.0; }
void DrumMachineSeq::setEditedPatternShuffle (double) {}
double DrumMachineSeq::getEditedPatternTempo() const { return 120.0; }
void DrumMachineSeq::setEditedPatternTempo (double) {}
int DrumMachineSeq::getEditedPatternScale() const { return 4; }
void DrumMachineSeq::setEditedPatternScale (int) {}
void DrumMachineSeq::shiftRowLeft (int, int) {}
void DrumMachineSeq::shiftRowRight (int, int) {}
int DrumMachineSeq::getStep (int, int) const { return -1; }
void DrumMachineSeq::setStep (int, int, int) {}
void DrumMachineSeq::toggleStep (int, int, bool) {}
int DrumMachineSeq::getNextToggleValue (int, bool) const { return 0; }
void DrumMachineSeq::clearRow (int) {}
void DrumMachineSeq::clearEditedPattern() {}
void DrumMachineSeq::copyRowToClipboard (int) {}
void DrumMachineSeq::copyPatternToClipboard() {}
void DrumMachineSeq::pasteRow (int, int) {}
void DrumMachineSeq::pastePattern() {}
bool DrumMachineSeq::isEditingHostPattern() const { return false; }
bool DrumMachineSeq::isEditingNativePattern() const { return false; }
bool DrumMachineSeq::editHostPattern() { return false; }
bool DrumMachineSeq::editNativePattern() { return false; }
bool DrumMachineSeq::editChainStartPattern() { return false; }
juce::String DrumMachineSeq::getPatternName (int) const { return {}; }
void DrumMachineSeq::setPatternName (int, const juce::String&, int) {}
void DrumMachineSeq::readEditionStateXml (const juce::XmlElement&) {}

std::unique_ptr<juce::XmlElement> DrumMachineSeq::createEditionStateXml() const
{
    return std::make_unique<juce::XmlElement> ("DMSeqEditionState");
}

void DrumMachineSeq::copyPatternToBackup (int) {}
void DrumMachineSeq::restoreRowFromBackup (int, int) {}
void DrumMachineSeq::setStepOff (int, int, int) {}
void DrumMachineSeq::setStepOn (int, int, int) {}
void DrumMachineSeq::setStepAccent (int, int, int) {}
void DrumMachineSeq::setStepFlam (int, int, int) {}
void DrumMachineSeq::setStepAtCursor (int, int, int) {}

bool DrumMachineSeq::copyPattern (int index, Pattern& destination) const
{
    if (const auto* pattern = findPattern (index))
    {
        destination = *pattern;
        return true;
    }
    return false;
}

bool DrumMachineSeq::storePattern (int index, const Pattern& source)
{
    if (findPattern (index) == nullptr)
        return false;

    Pattern prepared;
    prepared.copyFrom (source); // ranges checked before the guard is taken
    const PatternRewriteScope guard (owner);
    return writePatternRecord (index, prepared);
}

const Pattern* DrumMachineSeq::findPattern (int) const { return nullptr; }
bool DrumMachineSeq::writePatternRecord (int, const Pattern&) { return false; }
