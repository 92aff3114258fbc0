// The test product as a module: the real binding and entry around the
// preset bank processor.
#include "TestProduct.h"

juce::AudioProcessor* createPluginFilter()
{
    return BasePlugin::startUp (std::make_unique<TestProduct>());
}
