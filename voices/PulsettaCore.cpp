#include "voices/PulsettaCore.h"

#include "voices/NormalisedValue.h"

#include "voices/PulsettaBassDrum.h"
#include "voices/PulsettaSnareDrum.h"
#include "voices/PulsettaTom.h"

#include "voices/PulsettaClosedHiHat.h"
#include "voices/PulsettaCymbal.h"
#include "voices/PulsettaHandClap.h"
#include "voices/PulsettaOpenHiHat.h"
#include "voices/PulsettaRimshot.h"

#include <algorithm>
#include <cstring>

namespace
{
bool isTom(int slot)
{
    return slot == instrument::lowTom || slot == instrument::midTom || slot == instrument::hiTom;
}
} // namespace

PulsettaCore::PulsettaCore(DrumMachine* ownerToUse)
    : DrumMachineCore(ownerToUse)
{
    createVoices();
    // Seed the noise and set every voice up at once, so a core that renders
    // before its first rate change still has noise to play.
    PulsettaCore::setSampleRate(44100.0f);
    master = 0.0;
}

void PulsettaCore::createVoices()
{
    using namespace instrument;
    voices[bassDrum] = std::make_unique<PulsettaBassDrum>();
    voices[snareDrum] = std::make_unique<PulsettaSnareDrum>();
    voices[lowTom] = std::make_unique<PulsettaLowTom>();
    voices[midTom] = std::make_unique<PulsettaMidTom>();
    voices[hiTom] = std::make_unique<PulsettaHiTom>();

    // Rim shot, hand clap and sampled voices
    voices[rimShot] = std::make_unique<PulsettaRimshot>();
    voices[handClap] = std::make_unique<PulsettaHandClap>();
    voices[closedHiHat] = std::make_unique<PulsettaClosedHiHat>();
    voices[openHiHat] = std::make_unique<PulsettaOpenHiHat>();
    voices[crash] = std::make_unique<PulsettaCrash>();
    voices[ride] = std::make_unique<PulsettaRide>();
}

void PulsettaCore::setParameter(std::int32_t index, float value)
{
    // Held to 0..1 (NaN counts as 0), so no value from outside can put an
    // infinite or NaN coefficient into a voice.
    const double v = normalisedValue(static_cast<double>(value));
    if (index >= 0 && index < instrument::numVoices)
    {
        voices[static_cast<std::size_t>(index)]->setLevel(v);
        return;
    }
    if (index == instrument::mainVolumeParameter)
    {
        mainVolume = v;
        return;
    }
    for (int slot = 0; slot < instrument::numVoices; ++slot)
    {
        const int control = index - instrument::firstControlOf[slot];
        if (control >= 0 && control < instrument::controlCountOf[slot])
        {
            voices[static_cast<std::size_t>(slot)]->setControl(control, v);
            return;
        }
    }
    // The accent level (11) and anything unknown are not voice parameters.
}

void PulsettaCore::trigger(std::int32_t slot, float velocity)
{
    DrumMachineCore::trigger(slot, velocity);
    if (slot < 0 || slot >= instrument::numVoices)
        return;

    const double v = static_cast<double>(velocity);
    voices[static_cast<std::size_t>(slot)]->trigger(v);

    if (isTom(slot))
    {
        if (tomNoiseResting)
        {
            tomNoise.catchUp(whiteNoise);
            tomNoiseResting = false;
        }
        startTomNoise(v);
    }

    // The hi-hats choke each other: the one just hit plays, the other stops.
    if (slot == instrument::closedHiHat)
    {
        voices[instrument::closedHiHat]->setChoked(false);
        voices[instrument::openHiHat]->setChoked(true);
    }
    else if (slot == instrument::openHiHat)
    {
        voices[instrument::closedHiHat]->setChoked(true);
        voices[instrument::openHiHat]->setChoked(false);
    }
}

void PulsettaCore::startTomNoise(double velocity)
{
    tomNoise.start(velocity);
}

void PulsettaCore::setSampleRate(float sampleRate)
{
    const double rate = static_cast<double>(sampleRate);
    if (! SampleRateContext::isUsableRate(rate))
        return;

    DrumMachineCore::setSampleRate(sampleRate);
    for (auto& voice : voices)
        voice->setSampleRate(rate);
    tomNoise.setSampleRate(context.sampleRate, context.smoothing);
    tomNoiseResting = false;
    whiteNoise.reseed();
    masterRate = context.smoothing * 0.002;
}

void PulsettaCore::setInstructionSet(InstructionSet set)
{
    instructions = set;
    for (auto& voice : voices)
        voice->setInstructionSet(set);
}

void PulsettaCore::render(double* const* voiceOutputs, bool* constantOutputs, int numFrames)
{
    if (constantOutputs != nullptr)
        std::fill_n(constantOutputs, instrument::numVoices, false);
    // One value throughout only when the whole call is one run.
    if (numFrames > maxRun)
        constantOutputs = nullptr;
    for (int done = 0; done < numFrames; done += maxRun)
        renderRun(voiceOutputs, constantOutputs, done, std::min(maxRun, numFrames - done));
}

void PulsettaCore::renderRun(double* const* voiceOutputs, bool* constantOutputs, int offset, int numFrames)
{
    using namespace instrument;
    renderMasterAndNoise(numFrames);

    // Each voice's own model first, then the output stages of all of them at once.
    outputStages.clear();
    for (int slot = 0; slot < numVoices; ++slot)
    {
        auto& voice = *voices[static_cast<std::size_t>(slot)];
        double* out = voiceOutputs[slot] + offset;
        const VoiceRun run { isTom(slot) ? tomNoiseRun : whiteNoiseRun, numFrames, instructions };

        if (skipsSilence && voice.isSettled())
        {
            const double y = voice.getSettledOutput();
            if (masterResting && constantOutputs != nullptr)
            {
                out[0] = y * master;
                constantOutputs[slot] = true;
            }
            else if (masterResting)
                std::fill_n(out, numFrames, y * master);
            else
                for (int n = 0; n < numFrames; ++n)
                    out[n] = y * masterGains[n];
        }
        else if (voice.isActive() && ! voice.cannotFadeWithinARun())
        {
            renderFading(voice, run, rawSamples[slot], out);
        }
        else
        {
            const double* raw = silence;
            if (voice.isActive())
            {
                double* modelled = rawSamples[slot];
                for (int n = voice.renderModel(run, modelled); n < numFrames; ++n)
                    modelled[n] = 0.0;
                raw = modelled;
            }
            outputStages.add(voice.getOutputStage(), raw, out);
        }
    }
    outputStages.render(masterGains, numFrames, instructions);

    for (auto& voice : voices)
        voice->checkSettled();
}

void PulsettaCore::renderMasterAndNoise(int numFrames)
{
    using namespace instrument;
    const double nextMaster = master - ((master - mainVolume) * masterRate + 1e-20);
    masterResting = skipsSilence && std::memcmp(&nextMaster, &master, sizeof master) == 0;
    if (masterResting)
    {
        std::fill_n(masterGains, numFrames, master); // at rest: every sample would give it again
    }
    else
    {
        for (int n = 0; n < numFrames; ++n)
        {
            master = master - ((master - mainVolume) * masterRate + 1e-20);
            masterGains[n] = master;
        }
    }

    const auto sounds = [this](int slot) { return voices[static_cast<std::size_t>(slot)]->isActive(); };
    if (skipsSilence && ! sounds(lowTom) && ! sounds(midTom) && ! sounds(hiTom) && (tomNoiseResting || tomNoise.isAtRest()))
    {
        tomNoiseResting = true;
        tomNoise.rest(numFrames);
    }
    else
    {
        tomNoiseResting = false;
    }

    // The white noise runs on whether anything hears it or not.
    if (! tomNoiseResting || sounds(bassDrum) || sounds(snareDrum) || sounds(handClap))
        for (int n = 0; n < numFrames; ++n)
            whiteNoiseRun[n] = whiteNoise.next();
    else
        whiteNoise.skip(numFrames);
    if (! tomNoiseResting)
        tomNoise.render(whiteNoiseRun, tomNoiseRun, numFrames);
}

void PulsettaCore::renderFading(PulsettaInstrument& voice, const VoiceRun& run, double* raw, double* out)
{
    // As many frames at a time as the voice surely sounds through, then frame
    // by frame, each frame's switch-off checked.
    for (int n = 0; n < run.numFrames;)
    {
        const int sure = voice.isActive() ? std::min(run.numFrames - n, voice.framesBeforeItCanFade()) : 0;
        if (sure >= 2)
        {
            for (int m = voice.renderModel({ run.noise + n, sure, run.instructions }, raw); m < sure; ++m)
                raw[m] = 0.0;
            voice.renderOutputStage(raw, masterGains + n, out + n, sure);
            n += sure;
        }
        else
        {
            out[n] = voice.processWithNoise(run.noise[n]) * masterGains[n];
            ++n;
        }
    }
}

void PulsettaCore::process(double* out)
{
    double* frame[instrument::numVoices];
    for (int slot = 0; slot < instrument::numVoices; ++slot)
        frame[slot] = out + slot;
    render(frame, 1);
}
