#pragma once
// The module entry: asks the host's version, creates the processor through
// createPluginFilter and wraps it in the binding.
#include "platform/vst/VstRecord.h"

namespace host
{
// Host's UI thread; the first call makes it the message thread. Null when the host answers 0 to the
// version query, or when creating the processor fails in any way; nothing is left behind then.
vst::AEffect* pluginEntryPoint(vst::audioMasterCallback host);
} // namespace host
