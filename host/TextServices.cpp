#include "host/TextServices.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace host
{
void copyText(char* destination, const char* source, vst::VstInt32 maxLength) noexcept
{
    if (destination == nullptr || maxLength < 0)
        return;
    if (source == nullptr)
    {
        destination[0] = 0;
        return;
    }
    size_t length = std::strlen(source);
    if (length > static_cast<size_t>(maxLength))
    {
        length = static_cast<size_t>(maxLength);
        // Never leave half of a multi-byte character behind.
        while (length > 0 && (static_cast<unsigned char>(source[length]) & 0xC0) == 0x80)
            --length;
    }
    std::memcpy(destination, source, length);
    destination[length] = 0;
}

void int2string(vst::VstInt32 value, char* text, vst::VstInt32 maxLength) noexcept
{
    if (value >= 100000000)
    {
        copyText(text, "Huge!", maxLength);
        return;
    }
    // The magnitude is taken in 64 bits: negating the most negative int32 would overflow.
    const int64_t wide = value;
    char digits[24];
    std::snprintf(digits, sizeof digits, "%s%lld", wide < 0 ? "-" : "",
                  static_cast<long long>(wide < 0 ? -wide : wide));
    copyText(text, digits, maxLength);
}

void float2string(float value, char* text, vst::VstInt32 maxLength) noexcept
{
    const double v = value;
    if (!std::isfinite(v) || v > 99999999.0 || v < -9999999.0)
    {
        copyText(text, "Huge!", maxLength);
        return;
    }
    constexpr int width = 8; // characters, counting the sign and the point
    const int signWidth = v < 0 ? 1 : 0;
    int integerDigits = 1;
    for (double whole = std::floor(std::fabs(v)); whole >= 10.0; whole /= 10.0)
        ++integerDigits;
    const int fractionDigits = std::max(0, width - signWidth - integerDigits - 1);
    char formatted[48];
    std::snprintf(formatted, sizeof formatted, "%.*f", fractionDigits, v);
    if (fractionDigits == 0)
        std::strcat(formatted, ".");
    // Rounding may carry into one more integer digit: keep the width, not the last fraction digit.
    const char* point = std::strchr(formatted, '.');
    const size_t keep = std::max<size_t>(width, static_cast<size_t>(point - formatted) + 1);
    formatted[std::min(keep, std::strlen(formatted))] = 0;
    copyText(text, formatted, maxLength);
}

void dB2string(float value, char* text, vst::VstInt32 maxLength) noexcept
{
    if (!(value > 0.0f))
        copyText(text, "-oo", maxLength);
    else
        float2string(static_cast<float>(20.0 * std::log10(static_cast<double>(value))), text, maxLength);
}

void Hz2string(float samples, float sampleRate, char* text, vst::VstInt32 maxLength) noexcept
{
    if (samples == 0.0f)
        copyText(text, "", maxLength);
    else
        float2string(sampleRate / samples, text, maxLength);
}

void ms2string(float samples, float sampleRate, char* text, vst::VstInt32 maxLength) noexcept
{
    if (sampleRate == 0.0f)
        copyText(text, "", maxLength);
    else
        float2string(static_cast<float>(static_cast<double>(samples) * 1000.0 / static_cast<double>(sampleRate)), text, maxLength);
}
} // namespace host
