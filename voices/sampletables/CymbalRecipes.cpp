#include "voices/sampletables/CymbalRecipes.h"

#include "voices/sampletables/SampleTables.h"
#include "voices/sampletables/SynthesisKit.h"

#include <cmath>

namespace sampletables
{
namespace
{
using kit::Biquad;
using Shape = kit::Biquad::Shape;

constexpr int oversampling = 4;
constexpr double rate = sourceRate * oversampling; // Hz of the synthesis grid
constexpr double tablePeak = 0.97;                 // of full scale
constexpr double decimationCutoff = 14500.0;       // Hz, under the table's 15600 Hz Nyquist

double attack(double seconds, double length) noexcept { return seconds < length ? seconds / length : 1.0; }

// drive > 0 rounds the loudest peaks off, as a hot recording would, so a
// short metallic hit is not all crest and no body once peak-normalised.
std::vector<double> finish(std::vector<double>&& oversampled, double fadeSeconds, double drive)
{
    auto table = kit::decimate(oversampled, oversampling, decimationCutoff, rate);
    if (drive > 0.0)
    {
        kit::normaliseAndFade(table, 1.0, 0.0, sourceRate);
        for (double& x : table)
            x = std::tanh(drive * x) / std::tanh(drive);
    }
    kit::normaliseAndFade(table, tablePeak, fadeSeconds, sourceRate);
    return table;
}

// Hi-hat: a square bank through two resonant bands above 7 kHz, plus
// high-passed noise for the sizzle.
struct HatRecipe
{
    std::vector<double> squares; // Hz
    double bandLow, bandHigh;    // Hz
    double noiseCorner;          // Hz
    double metalMix, noiseMix;
    double fastDecay, slowDecay, slowShare; // seconds, seconds, 0..1
    double fadeSeconds;
    double drive;
};

std::vector<double> makeHat(const HatRecipe& recipe, std::size_t length, std::uint64_t seed)
{
    kit::SquareBank metal(recipe.squares, 0.8, rate);
    kit::Noise noise(seed);
    Biquad lowBand, highBand, metalHighPass, noiseHighPass1, noiseHighPass2;
    lowBand.set(Shape::bandPass, recipe.bandLow, 1.6, rate);
    highBand.set(Shape::bandPass, recipe.bandHigh, 1.4, rate);
    metalHighPass.set(Shape::highPass, recipe.bandLow * 0.75, 0.707, rate);
    noiseHighPass1.set(Shape::highPass, recipe.noiseCorner, 0.707, rate);
    noiseHighPass2.set(Shape::highPass, recipe.noiseCorner, 0.9, rate);

    std::vector<double> out(length * oversampling);

    for (std::size_t i = 0; i < out.size(); ++i)
    {
        const double t = static_cast<double>(i) / rate;
        const double m = metal.next();
        const double bright = metalHighPass.process(lowBand.process(m) + 0.8 * highBand.process(m));
        const double hiss = noiseHighPass2.process(noiseHighPass1.process(noise.next()));
        const double envelope = attack(t, 0.0003)
                                * ((1.0 - recipe.slowShare) * std::exp(-t / recipe.fastDecay)
                                   + recipe.slowShare * std::exp(-t / recipe.slowDecay));
        out[i] = (recipe.metalMix * bright + recipe.noiseMix * hiss) * envelope;
    }

    return finish(std::move(out), recipe.fadeSeconds, recipe.drive);
}
} // namespace

std::vector<double> makeClosedHiHat()
{
    const HatRecipe recipe { { 331.7, 477.3, 563.9, 709.1, 941.3, 1186.7 },
                             7900.0, 11600.0, 7500.0,
                             1.0, 0.75,
                             0.030, 0.090, 0.15,
                             0.015, 2.0 };
    return makeHat(recipe, 8128, 0x01d3a7ull);
}

std::vector<double> makeOpenHiHat()
{
    const HatRecipe recipe { { 331.7, 477.3, 563.9, 709.1, 941.3, 1186.7 },
                             7300.0, 11000.0, 6500.0,
                             1.0, 0.8,
                             0.050, 0.38, 0.7,
                             0.080, 2.0 };
    return makeHat(recipe, 24722, 0x0b5e44ull);
}

std::vector<double> makeCrash()
{
    constexpr std::size_t length = 32768;
    // Two banks whose members sit a few hertz apart beat slowly against each
    // other: that beating is the wash of a large cymbal.
    kit::SquareBank lowMetal({ 241.3, 367.9, 452.1, 598.7, 773.3, 1021.9 }, 0.9, rate);
    kit::SquareBank highMetal({ 243.9, 371.2, 455.8, 603.1, 779.6, 1027.4, 1311.8, 1709.2 }, 0.9, rate);
    kit::Noise noise(0xc4a5bull);
    Biquad metalHighPass, metalBand, noiseHighPass, darkening1, darkening2;
    metalHighPass.set(Shape::highPass, 2600.0, 0.707, rate);
    metalBand.set(Shape::bandPass, 7500.0, 0.6, rate);
    noiseHighPass.set(Shape::highPass, 1800.0, 0.707, rate);

    std::vector<double> out(length * oversampling);

    for (std::size_t i = 0; i < out.size(); ++i)
    {
        const double t = static_cast<double>(i) / rate;

        // The cymbal darkens as it rings: the low-pass closes from 15 kHz to 9 kHz.
        if (i % 32 == 0)
        {
            const double corner = 9000.0 + 6000.0 * std::exp(-t / 0.4);
            darkening1.set(Shape::lowPass, corner, 0.6, rate);
            darkening2.set(Shape::lowPass, corner * 1.1, 0.6, rate);
        }

        const double m = lowMetal.next() + highMetal.next();
        const double metal = metalHighPass.process(m) + 0.6 * metalBand.process(m);
        const double hiss = noiseHighPass.process(noise.next());
        const double splash = std::exp(-t / 0.045);
        const double body = std::exp(-t / 0.7) * (1.0 - 0.6 * std::exp(-t / 0.025));
        const double x = (0.7 * metal * (0.5 * splash + body) + 1.3 * hiss * (1.1 * splash + body));
        out[i] = darkening2.process(darkening1.process(x)) * attack(t, 0.0008);
    }

    return finish(std::move(out), 0.05, 1.5);
}

std::vector<double> makeRide()
{
    constexpr std::size_t length = 32768;
    kit::Noise noise(0x51de7ull);

    // The ping: a cluster of clear partials between 3 and 8 kHz.
    const kit::PartialBank ping({ { 2963.0, 0.45, 0.40, 1.3 },
                                   { 3271.0, 0.30, 0.30, 2.6 },
                                   { 3549.0, 0.60, 0.50, 2.1 },
                                   { 3907.0, 0.35, 0.30, 1.2 },
                                   { 4188.0, 0.50, 0.45, 1.7 },
                                   { 4613.0, 0.30, 0.28, 3.1 },
                                   { 5027.0, 0.40, 0.35, 2.9 },
                                   { 5561.0, 0.25, 0.25, 1.9 },
                                   { 6121.0, 0.30, 0.28, 3.3 },
                                   { 7346.0, 0.25, 0.22, 2.4 } },
                                 noise);
    // The bell: lower, inharmonic partials that ring longest.
    const kit::PartialBank bell({ { 713.0, 0.42, 1.10, 0.9 },
                                   { 1069.0, 0.38, 0.95, 1.4 },
                                   { 1587.0, 0.32, 0.85, 1.1 },
                                   { 2219.0, 0.26, 0.70, 1.8 } },
                                 noise);
    kit::SquareBank metal({ 407.3, 523.9, 671.1, 839.7, 1103.3, 1377.9, 1619.3, 1877.1 }, 0.8, rate);
    Biquad washBand, washHighPass, stickBand, hissHighPass;
    washBand.set(Shape::bandPass, 7600.0, 0.6, rate);
    washHighPass.set(Shape::highPass, 3500.0, 0.707, rate);
    stickBand.set(Shape::bandPass, 5200.0, 0.8, rate);
    hissHighPass.set(Shape::highPass, 6000.0, 0.707, rate);

    std::vector<double> out(length * oversampling);

    for (std::size_t i = 0; i < out.size(); ++i)
    {
        const double t = static_cast<double>(i) / rate;
        const double white = noise.next();
        const double stick = stickBand.process(white) * std::exp(-t / 0.004);
        const double wash = washHighPass.process(washBand.process(metal.next())) * std::exp(-t / 0.6)
                            + 0.5 * hissHighPass.process(white) * std::exp(-t / 0.4);
        const double x = 0.3 * ping.at(t) + 0.25 * bell.at(t) + 2.0 * stick + 3.0 * wash;
        out[i] = x * attack(t, 0.0005);
    }

    return finish(std::move(out), 0.05, 0.0);
}
} // namespace sampletables
