#pragma once

#include <array>
#include <cstdint>
#include <memory>

/** The voice engine as it was first written: every voice computed sample by
    sample, straight from its model, with the maths library's exponential.
    The engine's faster rendering is checked against it; nothing here is
    tuned for speed. */
namespace reference
{
class Voice;

class Core
{
public:
    Core();
    ~Core();

    void setSampleRate(double sampleRate);
    /** Sound parameters 0..49, normalised. */
    void setParameter(int index, float value);
    void trigger(int slot, float velocity);
    /** One sample of each of the eleven voices, master volume applied. */
    void process(double* out);

private:
    std::array<std::unique_ptr<Voice>, 11> voices;
    std::uint32_t s0 = 0, s1 = 0; // white noise words
    double sampleRate = 44100.0, k = 1.0;
    // Tom noise: a one-pole low-pass, a high-pass biquad and the burst.
    double lowPole = 0.0, low = 0.0;
    double b0 = 0, b1 = 0, b2 = 0, a1 = 0, a2 = 0, x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    std::int32_t burstCounter = 0;
    double burstPeak = 0.0, burstEnvelope = 0.0, burstRate = 0.0;
    double mainVolume = 0.0, master = 0.0, masterRate = 0.0;
};
} // namespace reference
