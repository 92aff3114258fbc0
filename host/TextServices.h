#pragma once
// Number-to-text conversions offered to the processor for parameter displays.
// Each writes at most maxLength characters plus a terminating zero, so the
// buffer must hold maxLength + 1 bytes.
#include "platform/vst/VstRecord.h"

namespace host
{
// Copies text, cut to maxLength bytes at a UTF-8 character boundary; always terminates.
void copyText(char* destination, const char* source, vst::VstInt32 maxLength) noexcept;

// Whole number; "Huge!" from 100000000 up.
void int2string(vst::VstInt32 value, char* text, vst::VstInt32 maxLength) noexcept;
// Fixed point, 8 characters counting the sign and the point; "Huge!" above 99999999 or below -9999999.
void float2string(float value, char* text, vst::VstInt32 maxLength) noexcept;
// Gain factor as decibels; "-oo" for 0 and below.
void dB2string(float value, char* text, vst::VstInt32 maxLength) noexcept;
// A period of `samples` at `sampleRate` (Hz) as a frequency in Hz; empty for 0 samples.
void Hz2string(float samples, float sampleRate, char* text, vst::VstInt32 maxLength) noexcept;
// `samples` at `sampleRate` (Hz) as milliseconds.
void ms2string(float samples, float sampleRate, char* text, vst::VstInt32 maxLength) noexcept;
} // namespace host
