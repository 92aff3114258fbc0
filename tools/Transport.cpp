#include "tools/Transport.h"

#include <cmath>

namespace clihost
{
void Transport::locate(double quarterNotes)
{
    ppq = quarterNotes;
    samplePos = quarterNotes * 60.0 / tempo * rate;
    changed = true;
}

void Transport::setTimeSignature(int num, int den)
{
    if (num > 0 && den > 0)
    {
        numerator = num;
        denominator = den;
        changed = true;
    }
}

void Transport::holdReportedSamplePosition(bool hold)
{
    sampleHeld = hold;
    heldSamplePos = samplePos;
}

void Transport::advance(int64_t frames, const std::vector<TempoChange>& changesWithin)
{
    changed = false;
    jitterUp = !jitterUp;
    int64_t done = 0;
    for (const auto& change : changesWithin)
    {
        move(change.frame - done);
        tempo = change.beatsPerMinute;
        changed = true;
        done = change.frame;
    }
    move(frames - done);
}

void Transport::move(int64_t frames)
{
    if (!playing)
        return;
    samplePos += static_cast<double>(frames);
    ppq += static_cast<double>(frames) / rate * tempo / 60.0;
}

vst::VstTimeInfo Transport::timeInfo() const
{
    vst::VstTimeInfo info {};
    info.samplePos = sampleHeld ? heldSamplePos : samplePos;
    info.sampleRate = rate;
    info.ppqPos = rounding > 0.0 ? std::round(ppq * rounding) / rounding : ppq;
    info.tempo = tempo + (jitterUp ? tempoJitter : -tempoJitter);
    const double quarterNotesPerBar = numerator * 4.0 / denominator;
    info.barStartPos = std::floor(ppq / quarterNotesPerBar + 1e-9) * quarterNotesPerBar;
    info.timeSigNumerator = numerator;
    info.timeSigDenominator = denominator;
    info.flags = vst::kVstTempoValid | vst::kVstPpqPosValid | vst::kVstBarsValid | vst::kVstTimeSigValid;
    if (playing)
        info.flags |= vst::kVstTransportPlaying;
    if (changed)
        info.flags |= vst::kVstTransportChanged;
    return info;
}
} // namespace clihost
