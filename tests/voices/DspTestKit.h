#pragma once

#include "voices/PulsettaCore.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

/** Offline rendering and measuring of the voice engine for tests: no host,
    no real time, any rate. */
namespace dsptest
{
using Signal = std::vector<double>;

/** A trigger at a sample position of a rendering. */
struct Hit
{
    std::int64_t sample = 0;
    int instrument = 0;
    float velocity = 1.0f;
};

/** Every output of a rendering, one signal per voice slot plus the trigger-out. */
struct Rendering
{
    std::array<Signal, instrument::numVoices> voices;
    Signal triggerOut;

    const Signal& voice(int slot) const { return voices[static_cast<std::size_t>(slot)]; }
    /** The sum of every voice. */
    Signal mix() const;
};

/** The value each sound parameter 0..49 has in the product's parameter list. */
float defaultSoundParameter(int index);
/** Sets every sound parameter 0..49 to its default. */
void applyDefaultParameters(PulsettaCore& core);

/** A core at this rate (Hz) with default parameters; the master gain and the
    levels are settled first by rendering preRollSamples of silence. */
std::unique_ptr<PulsettaCore> makeCore(double sampleRate, std::size_t preRollSamples = 0);

/** Renders frames samples, triggering the hits (sorted or not) just before
    their sample is rendered. */
Rendering render(PulsettaCore& core, std::size_t frames, const std::vector<Hit>& hits = {});
/** The same, keeping only one voice. */
Signal renderVoice(PulsettaCore& core, int slot, std::size_t frames, const std::vector<Hit>& hits = {});

/** The highest |x| between begin and end (end 0 means the whole signal). */
double peak(const Signal& signal, std::size_t begin = 0, std::size_t end = 0);
/** Index of the highest |x|. */
std::size_t peakIndex(const Signal& signal);
/** Seconds from the peak until the signal last exceeds the peak lowered by
    this many dB (40 by default); 0 for a silent signal. */
double decayTime(const Signal& signal, double sampleRate, double decibels = 40.0);
bool allFinite(const Signal& signal);

/** Frequency (Hz) from the rising zero crossings between begin and end,
    interpolated between samples. 0 with fewer than two crossings. */
double zeroCrossingFrequency(const Signal& signal, double sampleRate, std::size_t begin, std::size_t end);
/** Frequency (Hz) of the strongest autocorrelation peak in the period range
    of lowest..highest Hz, refined by a parabola. */
double autocorrelationPitch(const Signal& signal, double sampleRate, std::size_t begin, std::size_t end,
                            double lowest, double highest);
/** Frequency (Hz) of the strongest spectral component between lowest and
    highest Hz (Hann window, 0.5 Hz steps). */
double dominantFrequency(const Signal& signal, double sampleRate, std::size_t begin, std::size_t end,
                         double lowest, double highest);

/** Writes a mono 32-bit float WAV file, scaled so the peak is at about -1 dBFS
    when normalise is set. Returns false when the file cannot be written. */
bool writeWav(const std::string& path, const Signal& signal, double sampleRate, bool normalise = true);
/** The folder for files a person may look at (PULSETTA_TEST_OUTPUT, else the
    system's temporary folder). */
std::string outputFolder();
} // namespace dsptest
