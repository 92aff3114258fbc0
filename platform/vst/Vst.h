#pragma once
// All of our VST 2.4 definitions in one include.
#include "platform/vst/VstEvents.h"
#include "platform/vst/VstOpcodes.h"
#include "platform/vst/VstPins.h"
#include "platform/vst/VstRecord.h"
#include "platform/vst/VstTimeInfo.h"
