#include "drummachine/sequencer/PulsettaSeq.h"

// Playback: cursors, chain, played steps and pending taps. Neutral bodies
// until the playback lands.

void DrumMachineSeq::writePendingTaps (int /*host*/)
{
}

void PulsettaSeq::startHost (int /*pattern*/)
{
}

void PulsettaSeq::startNative()
{
}

void PulsettaSeq::stopHost()
{
}

void PulsettaSeq::stopNative()
{
}

double PulsettaSeq::locate (double beats)
{
    return beats;
}

void PulsettaSeq::setNativeCursor (int /*pattern*/, int /*step*/)
{
}

void PulsettaSeq::setHostCursor (int /*pattern*/, int /*step*/)
{
}

void PulsettaSeq::playHostStep (bool /*flamPass*/)
{
}

void PulsettaSeq::playNativeStep (bool /*flamPass*/)
{
}

void PulsettaSeq::advanceHostStep()
{
}

bool PulsettaSeq::advanceNativeStep()
{
    return false;
}

int PulsettaSeq::getHostPattern() const
{
    return hostPattern.load (std::memory_order_relaxed);
}

int PulsettaSeq::getNativePattern() const
{
    return nativePattern.load (std::memory_order_relaxed);
}

int PulsettaSeq::getHostStep() const
{
    return hostStep.load (std::memory_order_relaxed);
}

int PulsettaSeq::getNativeStep() const
{
    return nativeStep.load (std::memory_order_relaxed);
}

void PulsettaSeq::latchNativePattern()
{
}

bool PulsettaSeq::hasNativePatternChanged() const
{
    return false;
}

bool PulsettaSeq::isNextPattern (int /*slot*/) const
{
    return false;
}

void PulsettaSeq::setStepAtCursor (int /*row*/, int /*value*/, int /*host*/)
{
}

int PulsettaSeq::getAudibleStep (int /*row*/, int /*step*/) const
{
    return 0;
}

void PulsettaSeq::setChain (int /*slotA*/, int /*slotB*/, int /*bank*/)
{
}

void PulsettaSeq::selectChainInPendingBank (int /*slotA*/, int /*slotB*/)
{
}

void PulsettaSeq::setChainEnd (int /*slot*/)
{
}

void PulsettaSeq::updateChainDuration()
{
}
