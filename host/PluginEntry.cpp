#include "host/PluginEntry.h"

#include "host/HostCallScope.h"
#include "host/JuceVSTWrapper.h"

namespace host
{
using namespace vst;
using vst::AEffect; // JUCE declares a global AEffect of its own

namespace
{
// Creates the processor with the calling thread marked as building a VST instance.
std::unique_ptr<HostedProcessor> createProcessor()
{
    struct WrapperTypeScope
    {
        WrapperTypeScope()
        {
            juce::PluginHostType::jucePlugInClientCurrentWrapperType = juce::AudioProcessor::wrapperType_VST;
            juce::AudioProcessor::setTypeOfNextNewPlugin(juce::AudioProcessor::wrapperType_VST);
        }
        ~WrapperTypeScope() { juce::AudioProcessor::setTypeOfNextNewPlugin(juce::AudioProcessor::wrapperType_Undefined); }
    } scope;

    std::unique_ptr<juce::AudioProcessor> created(createPluginFilter());
    if (auto* hosted = dynamic_cast<HostedProcessor*>(created.get()))
    {
        created.release();
        return std::unique_ptr<HostedProcessor>(hosted);
    }
    return nullptr;
}
} // namespace

AEffect* pluginEntryPoint(audioMasterCallback host)
{
    if (host == nullptr)
        return nullptr;
    try
    {
        // The instance is made as the message thread, whichever host thread asks for it.
        const HostCallScope scope;
        // Asked before anything of the library is created, so a refused load leaves nothing behind.
        if (host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0)
            return nullptr;

        // Keeps the library (and the message manager, created on this thread by the first instance) alive
        // while the processor is built; the binding then holds it for the instance's life.
        const juce::ScopedJuceInitialiser_GUI libraryInUse;
        auto processor = createProcessor();
        if (processor == nullptr)
            return nullptr;
        auto* wrapper = new JuceVSTWrapper(host, std::move(processor));
        return wrapper->getAeffect();
    }
    catch (...)
    {
        return nullptr;
    }
}
} // namespace host

// The module's only export. Host's UI thread.
extern "C" __attribute__((visibility("default"))) vst::AEffect* VSTPluginMain(vst::audioMasterCallback host)
{
    return host::pluginEntryPoint(host);
}
