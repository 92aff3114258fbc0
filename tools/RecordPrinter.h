#pragma once
// Prints what a plug-in tells about itself: its record, names and parameters.
#include "tools/PluginInstance.h"

#include <ostream>

namespace clihost
{
void printRecord(PluginInstance& instance, std::ostream& out);
} // namespace clihost
