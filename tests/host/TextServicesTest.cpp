#include "host/TextServices.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>
#include <limits>
#include <string>

using namespace host;

TEST(TextServices, ConversionsTerminateWithinTheLengthTheHostGives)
{
    using Convert = std::function<void(char*, int)>;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct
    {
        const char* name;
        Convert convert;
        int maxLength;
        const char* expected;
    } cases[] = {
        { "int 0", [](char* t, int m) { int2string(0, t, m); }, 31, "0" },
        { "int -42", [](char* t, int m) { int2string(-42, t, m); }, 31, "-42" },
        { "int 99999999", [](char* t, int m) { int2string(99999999, t, m); }, 31, "99999999" },
        { "int 100000000", [](char* t, int m) { int2string(100000000, t, m); }, 31, "Huge!" },
        { "int INT_MIN", [](char* t, int m) { int2string(INT_MIN, t, m); }, 31, "-2147483648" },
        { "int cut", [](char* t, int m) { int2string(-12345, t, m); }, 3, "-12" },
        { "float 1.5", [](char* t, int m) { float2string(1.5f, t, m); }, 31, "1.500000" },
        { "float -1.5", [](char* t, int m) { float2string(-1.5f, t, m); }, 31, "-1.50000" },
        { "float rounds up", [](char* t, int m) { float2string(9.9999999f, t, m); }, 31, "10.00000" },
        { "float 1e8", [](char* t, int m) { float2string(100000000.0f, t, m); }, 31, "Huge!" },
        { "float -9999999", [](char* t, int m) { float2string(-9999999.0f, t, m); }, 31, "-9999999." },
        { "float NaN", [nan](char* t, int m) { float2string(nan, t, m); }, 31, "Huge!" },
        { "dB 10", [](char* t, int m) { dB2string(10.0f, t, m); }, 31, "20.00000" },
        { "dB 0", [](char* t, int m) { dB2string(0.0f, t, m); }, 31, "-oo" },
        { "dB -1", [](char* t, int m) { dB2string(-1.0f, t, m); }, 31, "-oo" },
        { "Hz 100 samples", [](char* t, int m) { Hz2string(100.0f, 44100.0f, t, m); }, 31, "441.0000" },
        { "Hz 0 samples", [](char* t, int m) { Hz2string(0.0f, 44100.0f, t, m); }, 31, "" },
        { "ms", [](char* t, int m) { ms2string(441.0f, 44100.0f, t, m); }, 31, "10.00000" },
        { "ms at rate 0", [](char* t, int m) { ms2string(441.0f, 0.0f, t, m); }, 31, "" },
        { "copy cut", [](char* t, int m) { copyText(t, "Pulsetta", m); }, 4, "Puls" },
        // "Grün" is 5 bytes; cutting at 3 would split the two-byte character.
        { "copy UTF-8 cut", [](char* t, int m) { copyText(t, "Gr\xC3\xBCn", m); }, 3, "Gr" },
        { "copy UTF-8 whole", [](char* t, int m) { copyText(t, "Gr\xC3\xBCn", m); }, 4, "Gr\xC3\xBC" },
        { "copy null", [](char* t, int m) { copyText(t, nullptr, m); }, 31, "" },
        { "copy into 0", [](char* t, int m) { copyText(t, "abc", m); }, 0, "" },
    };
    for (const auto& c : cases)
    {
        char buffer[64];
        std::memset(buffer, '#', sizeof buffer); // an unterminated result runs into these
        c.convert(buffer, c.maxLength);
        EXPECT_LE(std::strlen(buffer), static_cast<size_t>(c.maxLength)) << c.name;
        EXPECT_STREQ(buffer, c.expected) << c.name;
    }
    copyText(nullptr, "abc", 3); // nothing to write into: nothing happens
}
