#include "framework/core/TextNumbers.h"

#include <limits>
#include <locale.h>
#include <stdlib.h>
#include <locale>
#include <sstream>

juce::String toStreamText (double value)
{
    std::ostringstream stream;
    stream.imbue (std::locale::classic());
    stream << value;
    return juce::String (stream.str());
}

double parseDecimal (const juce::String& text) noexcept
{
    static const locale_t cLocale = newlocale (LC_ALL_MASK, "C", nullptr);

    if (cLocale == locale_t())
        return 0.0;

    return strtod_l (text.toRawUTF8(), nullptr, cLocale);
}

double parseFiniteDouble (const juce::String& text) noexcept
{
    return finiteOr (parseDecimal (text), 0.0);
}

double readDecimalAttribute (const juce::XmlElement& element, juce::StringRef name, double fallback) noexcept
{
    return element.hasAttribute (name) ? parseDecimal (element.getStringAttribute (name)) : fallback;
}

int readIntAttribute (const juce::XmlElement& element, juce::StringRef name, int fallback) noexcept
{
    return element.hasAttribute (name) ? parseLeadingInt (element.getStringAttribute (name)) : fallback;
}

int parseLeadingInt (const juce::String& text) noexcept
{
    auto p = text.getCharPointer();

    while (p.isWhitespace())
        ++p;

    bool negative = false;
    if (*p == '-' || *p == '+')
    {
        negative = (*p == '-');
        ++p;
    }

    // Accumulated in 64 bits and stopped at the int range, so a long run of
    // digits cannot overflow.
    constexpr long long limit = static_cast<long long> (std::numeric_limits<int>::max()) + 1;
    long long magnitude = 0;

    while (p.isDigit())
    {
        magnitude = juce::jmin (limit, magnitude * 10 + static_cast<long long> (*p - '0'));
        ++p;
    }

    const long long value = negative ? -magnitude : magnitude;
    return static_cast<int> (juce::jlimit (static_cast<long long> (std::numeric_limits<int>::min()),
                                           static_cast<long long> (std::numeric_limits<int>::max()),
                                           value));
}
