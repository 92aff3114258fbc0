// The module's factory: one Pulsetta per plug-in instance.
#include "drummachine/product/Pulsetta.h"

// Message thread (the module entry, while the host creates an instance).
juce::AudioProcessor* createPluginFilter()
{
    return BasePlugin::startUp (std::make_unique<Pulsetta>());
}
