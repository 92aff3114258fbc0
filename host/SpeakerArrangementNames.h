#pragma once
// Channel texts of the VST speaker arrangement types, as the processor receives them.
#include "platform/vst/VstRecord.h"

namespace host
{
// "M", "L R", ... for types 0-28; empty for any other type.
const char* speakerArrangementText(vst::VstInt32 type) noexcept;
} // namespace host
