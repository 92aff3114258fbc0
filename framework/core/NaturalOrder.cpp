#include "framework/core/NaturalOrder.h"

namespace
{
using Cursor = juce::String::CharPointerType;

bool isDecimalDigit (juce::juce_wchar c) noexcept
{
    return c >= '0' && c <= '9';
}

// Compares the digit runs at a and b by value without converting them to a
// number (a run may be longer than any integer), and moves both past them.
// leadingZeros records which run carried more leading zeros, to break a tie.
int compareDigitRuns (Cursor& a, Cursor& b, int& leadingZeros) noexcept
{
    int zerosA = 0, zerosB = 0;
    while (*a == '0') { ++a; ++zerosA; }
    while (*b == '0') { ++b; ++zerosB; }

    auto startA = a, startB = b;
    int lengthA = 0, lengthB = 0;
    while (isDecimalDigit (*a)) { ++a; ++lengthA; }
    while (isDecimalDigit (*b)) { ++b; ++lengthB; }

    if (lengthA != lengthB)
        return lengthA < lengthB ? -1 : 1;

    for (; startA != a; ++startA, ++startB)
        if (*startA != *startB)
            return *startA < *startB ? -1 : 1;

    if (leadingZeros == 0 && zerosA != zerosB)
        leadingZeros = zerosA < zerosB ? -1 : 1;

    return 0;
}
} // namespace

int compareNatural (const juce::String& first, const juce::String& second) noexcept
{
    auto a = first.getCharPointer(), b = second.getCharPointer();
    int leadingZeros = 0; // equal numbers: the run with fewer leading zeros first ("7" before "007")

    for (;;)
    {
        const auto ca = *a, cb = *b;

        if (ca == 0 || cb == 0)
        {
            if (ca == cb)
                return leadingZeros;
            return ca == 0 ? -1 : 1;
        }

        if (isDecimalDigit (ca) && isDecimalDigit (cb))
        {
            if (const int order = compareDigitRuns (a, b, leadingZeros))
                return order;
            continue;
        }

        if (ca != cb)
            return ca < cb ? -1 : 1;

        ++a;
        ++b;
    }
}
