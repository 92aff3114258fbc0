#include "DspTestKit.h"

#include "voices/CookbookBiquad.h"
#include "voices/sampletables/SampleTableKey.h"
#include "voices/sampletables/SampleTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace
{
constexpr double tableRate = sampletables::sourceRate;

dsptest::Signal decode(const sampletables::Table& table)
{
    const auto key = sampletables::makeKey();
    dsptest::Signal samples;
    for (std::uint32_t i = 0; i < table.length; ++i)
        samples.push_back((table.bytes[i] ^ key[i % sampletables::keyLength]) / 128.0 - 1.0);
    return samples;
}

double energy(const dsptest::Signal& signal, std::size_t begin, std::size_t end)
{
    double sum = 0.0;
    for (std::size_t i = begin; i < end; ++i)
        sum += signal[i] * signal[i];
    return sum;
}

/** Share of the signal's energy above a frequency (Hz), through a fourth-order high-pass. */
double shareAbove(const dsptest::Signal& signal, double frequency)
{
    Biquad first, second;
    first.coefficients = cookbook::highPass(frequency, 1.9, tableRate); // about Q 0.7: no resonant peak
    second.coefficients = first.coefficients;
    dsptest::Signal high;
    for (const double x : signal)
        high.push_back(second.process(first.process(x)));
    return energy(high, 0, high.size()) / energy(signal, 0, signal.size());
}

struct TableCase
{
    const char* name;
    const sampletables::Table* table;
    std::uint32_t length;
};

const TableCase tables[] = { { "closed hi-hat", &sampletables::closedHiHat, 8128 },
                             { "open hi-hat", &sampletables::openHiHat, 24722 },
                             { "crash", &sampletables::crash, 32768 },
                             { "ride", &sampletables::ride, 32768 } };
} // namespace

TEST(SampleTables, LengthsUseTheWholeRangeAndEndInSilenceStoredUnderAFixedKey)
{
    const auto key = sampletables::makeKey();
    EXPECT_EQ(key, sampletables::makeKey());
    int distinct = 0;
    for (std::size_t i = 1; i < key.size(); ++i)
        distinct += key[i] != key[i - 1];
    EXPECT_GT(distinct, 50);

    for (const auto& entry : tables)
    {
        SCOPED_TRACE(entry.name);
        ASSERT_EQ(entry.table->length, entry.length);
        const auto samples = decode(*entry.table);
        EXPECT_GT(dsptest::peak(samples), 0.85);
        EXPECT_EQ(dsptest::peak(samples, samples.size() - 8, 0), 0.0);

        // Stored scrambled: the silent end is not a run of 0x80 bytes.
        int plainSilence = 0;
        for (std::uint32_t i = entry.length - 64; i < entry.length; ++i)
            plainSilence += entry.table->bytes[i] == 0x80;
        EXPECT_LT(plainSilence, 8);
    }
}

TEST(SampleTables, EachDecaysNaturallyWithinItsTable)
{
    for (const auto& entry : tables)
    {
        SCOPED_TRACE(entry.name);
        const auto samples = decode(*entry.table);
        const std::size_t eighth = samples.size() / 8;
        double previous = energy(samples, 0, eighth);
        for (std::size_t part = 1; part < 8; ++part)
        {
            const double current = energy(samples, part * eighth, (part + 1) * eighth);
            EXPECT_LT(current, previous) << part;
            previous = current;
        }
        EXPECT_LT(energy(samples, 7 * eighth, samples.size()), energy(samples, 0, eighth) * 0.05);
    }
}

TEST(SampleTables, HiHatsAreBrightCymbalsAreBroad)
{
    const auto closed = decode(sampletables::closedHiHat);
    const auto open = decode(sampletables::openHiHat);
    const auto crash = decode(sampletables::crash);
    const auto ride = decode(sampletables::ride);

    // Hi-hats: nearly all their energy above 2 kHz, most of it above 5 kHz.
    for (const auto* hat : { &closed, &open })
    {
        EXPECT_GT(shareAbove(*hat, 2000.0), 0.95);
        EXPECT_GT(shareAbove(*hat, 5000.0), 0.6);
    }
    // The crash spreads from the low mids to the top; the ride sits between.
    EXPECT_GT(shareAbove(crash, 2000.0), 0.5);
    EXPECT_LT(shareAbove(crash, 2000.0), 0.9);
    EXPECT_GT(shareAbove(crash, 5000.0), 0.15);
    EXPECT_GT(shareAbove(ride, 5000.0), 0.2);
    EXPECT_LT(shareAbove(ride, 5000.0), shareAbove(closed, 5000.0));
}

