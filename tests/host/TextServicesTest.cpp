#include "host/TextServices.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <limits>
#include <string>

using namespace host;

namespace
{
template <typename Convert>
std::string text(Convert&& convert, int maxLength = 31)
{
    char buffer[64];
    std::memset(buffer, '#', sizeof buffer);
    convert(buffer, maxLength);
    EXPECT_LE(std::strlen(buffer), static_cast<size_t>(maxLength));
    return buffer;
}
} // namespace

TEST(TextServices, IntegersIncludingZeroAndTheMostNegative)
{
    EXPECT_EQ(text([](char* t, int m) { int2string(0, t, m); }), "0");
    EXPECT_EQ(text([](char* t, int m) { int2string(-42, t, m); }), "-42");
    EXPECT_EQ(text([](char* t, int m) { int2string(99999999, t, m); }), "99999999");
    EXPECT_EQ(text([](char* t, int m) { int2string(100000000, t, m); }), "Huge!");
    EXPECT_EQ(text([](char* t, int m) { int2string(INT_MIN, t, m); }), "-2147483648");
    EXPECT_EQ(text([](char* t, int m) { int2string(-12345, t, m); }, 3), "-12");
}

TEST(TextServices, FloatsFillEightCharacters)
{
    EXPECT_EQ(text([](char* t, int m) { float2string(1.5f, t, m); }), "1.500000");
    EXPECT_EQ(text([](char* t, int m) { float2string(-1.5f, t, m); }), "-1.50000");
    EXPECT_EQ(text([](char* t, int m) { float2string(0.0f, t, m); }), "0.000000");
    EXPECT_EQ(text([](char* t, int m) { float2string(123.25f, t, m); }), "123.2500");
    EXPECT_EQ(text([](char* t, int m) { float2string(9.9999999f, t, m); }), "10.00000");
    EXPECT_EQ(text([](char* t, int m) { float2string(1234567.0f, t, m); }), "1234567.");
    EXPECT_EQ(text([](char* t, int m) { float2string(12345678.0f, t, m); }), "12345678.");
    EXPECT_EQ(text([](char* t, int m) { float2string(100000000.0f, t, m); }), "Huge!");
    EXPECT_EQ(text([](char* t, int m) { float2string(-9999999.0f, t, m); }), "-9999999.");
    EXPECT_EQ(text([](char* t, int m) { float2string(-10000000.0f, t, m); }), "Huge!");
    EXPECT_EQ(text([](char* t, int m) { float2string(std::numeric_limits<float>::quiet_NaN(), t, m); }), "Huge!");
}

TEST(TextServices, DecibelsHertzAndMilliseconds)
{
    EXPECT_EQ(text([](char* t, int m) { dB2string(1.0f, t, m); }), "0.000000");
    EXPECT_EQ(text([](char* t, int m) { dB2string(0.0f, t, m); }), "-oo");
    EXPECT_EQ(text([](char* t, int m) { dB2string(-1.0f, t, m); }), "-oo");
    EXPECT_EQ(text([](char* t, int m) { dB2string(10.0f, t, m); }), "20.00000");
    EXPECT_EQ(text([](char* t, int m) { Hz2string(100.0f, 44100.0f, t, m); }), "441.0000");
    // No samples, no frequency: the host's buffer is still terminated.
    EXPECT_EQ(text([](char* t, int m) { Hz2string(0.0f, 44100.0f, t, m); }), "");
    EXPECT_EQ(text([](char* t, int m) { ms2string(441.0f, 44100.0f, t, m); }), "10.00000");
    EXPECT_EQ(text([](char* t, int m) { ms2string(441.0f, 0.0f, t, m); }), "");
}

TEST(TextServices, CopiesAreCutAtCharacterBoundaries)
{
    EXPECT_EQ(text([](char* t, int m) { copyText(t, "Pulsetta", m); }, 4), "Puls");
    // "Grün" is 5 bytes; cutting at 3 would split the two-byte character.
    EXPECT_EQ(text([](char* t, int m) { copyText(t, "Gr\xC3\xBCn", m); }, 3), "Gr");
    EXPECT_EQ(text([](char* t, int m) { copyText(t, "Gr\xC3\xBCn", m); }, 4), "Gr\xC3\xBC");
    EXPECT_EQ(text([](char* t, int m) { copyText(t, nullptr, m); }), "");
    EXPECT_EQ(text([](char* t, int m) { copyText(t, "abc", m); }, 0), "");
    copyText(nullptr, "abc", 3); // nothing to write into: nothing happens
}
