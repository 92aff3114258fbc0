#pragma once
// What the host is told about this plug-in, independent of the processor inside.
#include "platform/vst/VstRecord.h"

namespace host
{
constexpr vst::VstInt32 kPluginUniqueId = vst::fourCharCode("Kx4P");
constexpr vst::VstInt32 kPluginVersion = 0x10602; // 1.6.2
constexpr const char* kPluginName = "Pulsetta";
constexpr const char* kVendorName = "Kyxworks Audio Software";
} // namespace host
