#include "DspTestKit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

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

// A minute per rate: two-second rounds of dense hits at random velocities
// (accents above 1 included) and random sound settings, then silence. Every
// voice must stay finite and within a sane bound throughout.
TEST(VoiceStability, EveryVoiceFiniteAndBoundedAtEveryRateOverAMinute)
{
    const double rates[] = { 8000.0, 11025.0, 16000.0, 22050.0, 32000.0, 44100.0, 48000.0, 88200.0, 96000.0, 192000.0 };
    constexpr double bound = 100.0; // full level, full volume, accents up to 1.378

    for (const double rate : rates)
    {
        auto core = dsptest::makeCore(rate);
        core->setParameter(instrument::mainVolumeParameter, 1.0f);
        for (int slot = 0; slot < instrument::numVoices; ++slot)
            core->setParameter(slot, 1.0f);

        Dice dice;
        const auto round = static_cast<std::int64_t>(rate * 2.0);
        const std::int64_t total = round * 30;
        double loudest[instrument::numVoices] = {};
        double out[instrument::numVoices] = {};
        bool finite = true;

        for (std::int64_t n = 0; n < total && finite; ++n)
        {
            const std::int64_t inRound = n % round;
            if (inRound == 0)
                for (int index = 12; index <= 48; ++index)
                    core->setParameter(index, static_cast<float>(dice.next() < 0.2 ? std::round(dice.next()) : dice.next()));
            if (inRound < round / 2 && dice.next() < 40.0 / rate)
                core->trigger(static_cast<int>(dice.next() * instrument::numVoices),
                              static_cast<float>(0.1 + 1.278 * dice.next()));

            core->process(out);
            for (int slot = 0; slot < instrument::numVoices; ++slot)
            {
                if (! std::isfinite(out[slot]))
                {
                    ADD_FAILURE() << "voice " << slot << " at " << rate << " Hz, sample " << n;
                    finite = false;
                }
                loudest[slot] = std::max(loudest[slot], std::fabs(out[slot]));
            }
        }

        for (int slot = 0; slot < instrument::numVoices; ++slot)
        {
            EXPECT_LT(loudest[slot], bound) << "voice " << slot << " at " << rate << " Hz";
            EXPECT_GT(loudest[slot], 0.01) << "voice " << slot << " silent at " << rate << " Hz";
        }
    }
}
