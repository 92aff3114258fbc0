// The product's pattern store and its editing operations. Message thread
// unless noted; single-step writes are one word each and need no guard,
// everything that rewrites more than one word goes through the owner's guard.

#include "drummachine/sequencer/PulsettaSeq.h"

#include <algorithm>

#include "framework/core/TextNumbers.h"
#include "framework/core/XmlTags.h"

namespace
{
const Pattern& neutralPattern()
{
    static const Pattern pattern;
    return pattern;
}
} // namespace

PulsettaSeq::PulsettaSeq (SequencerOwner& ownerToUse, const juce::String& application, const juce::String& prefix)
    : DrumMachineSeq (ownerToUse, application, prefix)
{
    chain.store (Chain {});
    if (! nativeRunning.load())
        editChainStartPattern();
}

PulsettaSeq::~PulsettaSeq() = default;

//==== Files =======================================================================

bool PulsettaSeq::hasHostAndNativePatterns() const { return false; }
int PulsettaSeq::getNumAlternativePatternExtensions() const { return 1; }
juce::String PulsettaSeq::getAlternativePatternExtension (int i) const { return i == 0 ? ".xml" : ""; }
int PulsettaSeq::getNumAlternativeBankExtensions() const { return 1; }
juce::String PulsettaSeq::getAlternativeBankExtension (int i) const { return i == 0 ? ".xml" : ""; }

// Patterns from any source are read, stamped with our name or not.
bool PulsettaSeq::isPatternXml (const juce::XmlElement& element, int) const
{
    return tagIs (&element, "Pattern");
}

const Pattern* PulsettaSeq::findPattern (int index) const
{
    return patternAt (index);
}

bool PulsettaSeq::writePatternRecord (int index, const Pattern& source)
{
    if (! isValidPattern (index))
        return false;
    patterns[(size_t) index] = source;
    return true;
}

//==== Fields under the cursors =======================================================

namespace
{
template <typename Field>
auto fieldOf (const Pattern* pattern, Field field)
{
    return field (pattern != nullptr ? *pattern : neutralPattern());
}
} // namespace

int PulsettaSeq::getHostPatternLength() const { return fieldOf (patternAt (getHostPattern()), [] (const Pattern& p) { return p.getLength(); }); }
int PulsettaSeq::getNativePatternLength() const { return fieldOf (patternAt (getNativePattern()), [] (const Pattern& p) { return p.getLength(); }); }
double PulsettaSeq::getHostPatternTempo() const { return fieldOf (patternAt (getHostPattern()), [] (const Pattern& p) { return p.getTempo(); }); }
double PulsettaSeq::getNativePatternTempo() const { return fieldOf (patternAt (getNativePattern()), [] (const Pattern& p) { return p.getTempo(); }); }
double PulsettaSeq::getHostPatternShuffle() const { return fieldOf (patternAt (getHostPattern()), [] (const Pattern& p) { return p.getShuffle(); }); }
double PulsettaSeq::getNativePatternShuffle() const { return fieldOf (patternAt (getNativePattern()), [] (const Pattern& p) { return p.getShuffle(); }); }
double PulsettaSeq::getHostPatternFlam() const { return fieldOf (patternAt (getHostPattern()), [] (const Pattern& p) { return p.getFlam(); }); }
double PulsettaSeq::getNativePatternFlam() const { return fieldOf (patternAt (getNativePattern()), [] (const Pattern& p) { return p.getFlam(); }); }
int PulsettaSeq::getHostPatternScale() const { return fieldOf (patternAt (getHostPattern()), [] (const Pattern& p) { return p.getScale(); }); }
int PulsettaSeq::getNativePatternScale() const { return fieldOf (patternAt (getNativePattern()), [] (const Pattern& p) { return p.getScale(); }); }
juce::String PulsettaSeq::getHostPatternName() const { return fieldOf (patternAt (getHostPattern()), [] (const Pattern& p) { return p.getName(); }); }
juce::String PulsettaSeq::getNativePatternName() const { return fieldOf (patternAt (getNativePattern()), [] (const Pattern& p) { return p.getName(); }); }

//==== Step values and the store ======================================================

int PulsettaSeq::getStepOffValue() const { return Pattern::stepOff; }
int PulsettaSeq::getStepOnValue() const { return Pattern::stepOn; }
int PulsettaSeq::getStepAccentValue() const { return Pattern::stepAccent; }
int PulsettaSeq::getStepFlamValue() const { return Pattern::stepFlam; }
int PulsettaSeq::getNumPatterns (int) const { return numPatterns; }

const Pattern& PulsettaSeq::getEditedPattern() const { return edited(); }
int PulsettaSeq::getEditedPatternIndex() const { return editedPattern.load (std::memory_order_relaxed); }

//==== Edit cursor ====================================================================

bool PulsettaSeq::moveEditCursorTo (int index)
{
    const int clamped = std::clamp (index, 0, numPatterns - 1);
    return editedPattern.exchange (clamped) != clamped;
}

void PulsettaSeq::editNextPattern() { moveEditCursorTo (getEditedPatternIndex() + 1); }
void PulsettaSeq::editPreviousPattern() { moveEditCursorTo (getEditedPatternIndex() - 1); }
bool PulsettaSeq::isEditingHostPattern() const { return getEditedPatternIndex() == getHostPattern(); }
bool PulsettaSeq::isEditingNativePattern() const { return getEditedPatternIndex() == getNativePattern(); }
bool PulsettaSeq::editHostPattern() { return moveEditCursorTo (getHostPattern()); }
bool PulsettaSeq::editNativePattern() { return moveEditCursorTo (getNativePattern()); }

bool PulsettaSeq::editChainStartPattern()
{
    const Chain current = getChain();
    return moveEditCursorTo (current.first + current.bank * slotsPerBank);
}

//==== Edited pattern's fields ========================================================

juce::String PulsettaSeq::getEditedPatternName() const { return edited().getName(); }
int PulsettaSeq::getEditedPatternLength() const { return edited().getLength(); }
double PulsettaSeq::getEditedPatternFlam() const { return edited().getFlam(); }
double PulsettaSeq::getEditedPatternShuffle() const { return edited().getShuffle(); }
double PulsettaSeq::getEditedPatternTempo() const { return edited().getTempo(); }
int PulsettaSeq::getEditedPatternScale() const { return edited().getScale(); }

void PulsettaSeq::setEditedPatternName (const juce::String& name)
{
    const PatternRewriteScope guard (owner);
    edited().setName (name);
}

void PulsettaSeq::setEditedPatternLength (int length)
{
    const PatternRewriteScope guard (owner);
    edited().setLength (length);
}

void PulsettaSeq::setEditedPatternFlam (double flam)
{
    const PatternRewriteScope guard (owner);
    edited().setFlam (flam);
}

void PulsettaSeq::setEditedPatternShuffle (double shuffle)
{
    const PatternRewriteScope guard (owner);
    edited().setShuffle (shuffle);
}

void PulsettaSeq::setEditedPatternTempo (double bpm)
{
    const PatternRewriteScope guard (owner);
    edited().setTempo (bpm);
}

void PulsettaSeq::setEditedPatternScale (int stepsPerBeat)
{
    const PatternRewriteScope guard (owner);
    edited().setScale (stepsPerBeat);
}

juce::String PulsettaSeq::getPatternName (int index) const
{
    const auto* pattern = patternAt (index);
    return pattern != nullptr ? pattern->getName() : juce::String();
}

void PulsettaSeq::setPatternName (int index, const juce::String& name, int)
{
    if (! isValidPattern (index))
        return;
    const PatternRewriteScope guard (owner);
    patterns[(size_t) index].setName (name);
}

//==== Steps ==========================================================================

void PulsettaSeq::shiftRowLeft (int row, int n)
{
    const PatternRewriteScope guard (owner);
    edited().shiftRowLeft (row, n);
}

void PulsettaSeq::shiftRowRight (int row, int n)
{
    const PatternRewriteScope guard (owner);
    edited().shiftRowRight (row, n);
}

int PulsettaSeq::getStep (int row, int step) const { return edited().getStep (row, step); }
void PulsettaSeq::setStep (int row, int step, int value) { edited().setStep (row, step, value); }

int PulsettaSeq::getNextToggleValue (int value, bool flamModifier) const
{
    if (flamModifier)
        return value == Pattern::stepFlam ? Pattern::stepOff : Pattern::stepFlam;

    switch (value)
    {
        case Pattern::stepOn: return Pattern::stepAccent;
        case Pattern::stepAccent: return Pattern::stepOff;
        default: return Pattern::stepOn;
    }
}

void PulsettaSeq::toggleStep (int row, int step, bool flamModifier)
{
    if (! Pattern::isValidTrack (row) || ! Pattern::isValidStep (step))
        return;

    // The audio thread may write a tap into this step meanwhile: the toggle
    // then starts again from the tapped value instead of overwriting it.
    auto& pattern = edited();
    auto current = pattern.getStep (row, step);
    while (! pattern.compareAndSetStep (row, step, current, getNextToggleValue (current, flamModifier)))
    {
    }
}

void PulsettaSeq::clearRow (int row)
{
    const PatternRewriteScope guard (owner);
    if (Pattern::isValidTrack (row))
        edited().clearTrack (row);
    else
        edited().clearSteps();
}

void PulsettaSeq::clearEditedPattern()
{
    const PatternRewriteScope guard (owner);
    edited().clearSteps();
}

void PulsettaSeq::writeStep (int pattern, int row, int step, int32_t value)
{
    if (isValidPattern (pattern))
        patterns[(size_t) pattern].setStep (row, step, value);
}

void PulsettaSeq::setStepOff (int pattern, int row, int step) { writeStep (pattern, row, step, Pattern::stepOff); }
void PulsettaSeq::setStepOn (int pattern, int row, int step) { writeStep (pattern, row, step, Pattern::stepOn); }
void PulsettaSeq::setStepAccent (int pattern, int row, int step) { writeStep (pattern, row, step, Pattern::stepAccent); }
void PulsettaSeq::setStepFlam (int pattern, int row, int step) { writeStep (pattern, row, step, Pattern::stepFlam); }

//==== Clipboard and backup ===========================================================

void PulsettaSeq::copyRowToClipboard (int row)
{
    if (! Pattern::isValidTrack (row))
        return;
    for (int step = 0; step < Pattern::numSteps; ++step)
        clipboard.setStep (row, step, edited().getStep (row, step));
}

void PulsettaSeq::copyPatternToClipboard()
{
    clipboard.copyFrom (edited());
}

void PulsettaSeq::pasteRow (int fromRow, int toRow)
{
    if (! Pattern::isValidTrack (toRow))
        return;
    // Pasting from a row outside the grid clears the target row.
    const PatternRewriteScope guard (owner);
    for (int step = 0; step < Pattern::numSteps; ++step)
        edited().setStep (toRow, step, clipboard.getStep (fromRow, step));
}

void PulsettaSeq::pastePattern()
{
    Pattern prepared;
    prepared.copyFrom (clipboard);
    const PatternRewriteScope guard (owner);
    edited() = prepared;
}

void PulsettaSeq::copyPatternToBackup (int pattern)
{
    if (isValidPattern (pattern))
        backup.copyFrom (patterns[(size_t) pattern]);
}

void PulsettaSeq::restoreRowFromBackup (int pattern, int row)
{
    if (! isValidPattern (pattern) || ! Pattern::isValidTrack (row))
        return;
    const PatternRewriteScope guard (owner);
    for (int step = 0; step < Pattern::numSteps; ++step)
        patterns[(size_t) pattern].setStep (row, step, backup.getStep (row, step));
}

//==== Edition state ==================================================================

void PulsettaSeq::readEditionStateXml (const juce::XmlElement& element)
{
    if (! tagIs (&element, "DMSeqEditionState"))
        return;
    for (auto* child : element.getChildIterator())
        if (tagIs (child, "EditedPattern"))
            moveEditCursorTo (readIntAttribute (*child, "value", 0));
}

std::unique_ptr<juce::XmlElement> PulsettaSeq::createEditionStateXml() const
{
    auto state = DrumMachineSeq::createEditionStateXml();
    state->createNewChildElement ("EditedPattern")->setAttribute ("value", getEditedPatternIndex());
    return state;
}

//==== Pending bank ====================================================================

int PulsettaSeq::choosePendingBank (int lowerBank)
{
    constexpr int lowerBanks = numBanks / 2;
    Chain current = chain.load (std::memory_order_acquire);
    if (lowerBank < 0 || lowerBank >= lowerBanks)
        return current.pendingBank;

    // The choice depends on the pending bank it replaces: decided again on
    // every retry, from the word the swap compares against.
    Chain next;
    do
    {
        next = current;
        next.pendingBank = static_cast<int8_t> (current.pendingBank == lowerBank ? lowerBank + lowerBanks : lowerBank);
    } while (! chain.compare_exchange_weak (current, next, std::memory_order_acq_rel, std::memory_order_acquire));
    return next.pendingBank;
}

//==== Whole-record hand-over =========================================================

void PulsettaSeq::copyAllPatterns (PatternStore& destination) const
{
    destination = patterns;
}

void PulsettaSeq::storeAllPatterns (const PatternStore& source)
{
    auto prepared = std::make_unique<PatternStore>(); // about 80 kB: not on the stack
    for (size_t i = 0; i < prepared->size(); ++i)
        (*prepared)[i].copyFrom (source[i]);

    const PatternRewriteScope guard (owner);
    patterns = *prepared;
}
