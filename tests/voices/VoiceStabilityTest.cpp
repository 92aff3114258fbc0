#include "DspTestKit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <cstdint>
#include <vector>

namespace
{
/** Deterministic choices for the hit pattern. */
class Dice
{
public:
    double next()
    {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>(state >> 11) / 9007199254740992.0;
    }

private:
    std::uint64_t state = 0x2545f4914f6cdd1dull;
};
} // namespace

// A minute per rate: 40 s of two-second rounds of dense hits at random
// velocities (accents above 1 included) and random sound settings, jumping
// to their ends now and then, then 20 s of silence. Every voice and the
// trigger-out pulse must stay finite and within a sane bound throughout, the
// synthesised voices must switch themselves off, and the silence must leave
// no denormal numbers behind. At 22.05 and 32 kHz this is what shows an
// unstable clap burst smoother.
TEST(VoiceStability, EveryVoiceFiniteAndBoundedAtEveryRateOverAMinuteOfHitsAndSilence)
{
    const double rates[] = { 8000.0, 11025.0, 16000.0, 22050.0, 32000.0, 44100.0, 48000.0, 88200.0, 96000.0, 192000.0 };
    // The loudest is the bass drum's click with Attack at 1 under an accented
    // hit at full level and volume, some tens at the high rates.
    constexpr double bound = 100.0;

    for (const double rate : rates)
    {
        auto core = dsptest::makeCore(rate);
        core->setTriggerOutEnabled(true);
        core->setTriggerOutSource(instrument::snareDrum);
        core->initTriggerOutPulse();
        for (int slot = 0; slot < instrument::numVoices; ++slot)
            core->setParameter(slot, 1.0f);

        Dice dice;
        const auto round = static_cast<std::int64_t>(rate * 2.0);
        const std::int64_t silenceFrom = round * 20, total = round * 30, lastSecond = total - round / 2;
        double loudest[instrument::numVoices] = {};
        bool sound = true;

        // Rendered in runs from one hit or settings change to the next, as
        // the drum machine renders between events.
        constexpr std::int64_t longestRun = 512;
        std::vector<std::vector<double>> out(instrument::numVoices, std::vector<double>(longestRun));
        std::vector<double*> outputs;
        for (auto& voice : out)
            outputs.push_back(voice.data());
        std::int64_t rendered = 0;
        const auto renderUpTo = [&](std::int64_t end) {
            while (rendered < end && sound)
            {
                const auto frames = std::min(longestRun, end - rendered);
                core->render(outputs.data(), static_cast<int>(frames));
                for (std::int64_t i = 0; i < frames; ++i)
                {
                    const std::int64_t n = rendered + i;
                    for (int slot = 0; slot < instrument::numVoices; ++slot)
                    {
                        const double x = out[static_cast<std::size_t>(slot)][static_cast<std::size_t>(i)];
                        if (! std::isfinite(x) || (n >= lastSecond && std::fpclassify(x) == FP_SUBNORMAL))
                        {
                            ADD_FAILURE() << "voice " << slot << " at " << rate << " Hz, sample " << n << ": " << x;
                            sound = false;
                        }
                        loudest[slot] = std::max(loudest[slot], std::fabs(x));
                    }
                    const double pulse = core->processTriggerOut();
                    if (! std::isfinite(pulse) || std::fabs(pulse) >= 1.0)
                    {
                        ADD_FAILURE() << "trigger-out at " << rate << " Hz, sample " << n << ": " << pulse;
                        sound = false;
                    }
                }
                rendered += frames;
            }
        };

        for (std::int64_t n = 0; n < total && sound; ++n)
        {
            const std::int64_t inRound = n % round;
            if (inRound == 0 && n < silenceFrom)
            {
                renderUpTo(n);
                for (int index = instrument::firstControlParameter; index <= instrument::mainVolumeParameter; ++index)
                    core->setParameter(index, static_cast<float>(dice.next() < 0.2 ? std::round(dice.next()) : dice.next()));
            }
            if (inRound < round / 2 && n < silenceFrom && dice.next() < 40.0 / rate)
            {
                renderUpTo(n);
                core->trigger(static_cast<int>(dice.next() * instrument::numVoices), static_cast<float>(0.1 + 1.278 * dice.next()));
            }
        }
        renderUpTo(total);

        for (int slot = 0; slot < instrument::numVoices; ++slot)
        {
            EXPECT_LT(loudest[slot], bound) << "voice " << slot << " at " << rate << " Hz";
            EXPECT_GT(loudest[slot], 0.01) << "voice " << slot << " silent at " << rate << " Hz";
        }
        for (int slot = instrument::bassDrum; slot < instrument::rimShot; ++slot)
            EXPECT_FALSE(core->getVoice(slot).isActive()) << slot << " at " << rate;
    }
}
