#include "tools/RecordPrinter.h"

#include <iomanip>
#include <sstream>

namespace clihost
{
using namespace vst;

namespace
{
std::string fourCharacters(VstInt32 code)
{
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8)
    {
        const char c = static_cast<char>((static_cast<uint32_t>(code) >> shift) & 0xFF);
        text += (c >= 32 && c < 127) ? c : '?';
    }
    return text;
}

std::string flagNames(VstInt32 flags)
{
    static const std::pair<VstInt32, const char*> names[] = {
        { effFlagsHasEditor, "editor" },         { effFlagsHasClip, "clip" },
        { effFlagsHasVu, "vu" },                 { effFlagsCanMono, "mono" },
        { effFlagsCanReplacing, "replacing" },   { effFlagsProgramChunks, "chunks" },
        { effFlagsIsSynth, "synth" },            { effFlagsNoSoundInStop, "no-sound-in-stop" },
        { effFlagsCanDoubleReplacing, "double-replacing" },
    };
    std::string text;
    for (const auto& [flag, name] : names)
        if ((flags & flag) != 0)
            text += (text.empty() ? "" : " ") + std::string(name);
    return text;
}
} // namespace

void printRecord(PluginInstance& instance, std::ostream& out)
{
    const AEffect* effect = instance.effect();
    if (effect == nullptr)
        return;
    const auto hex = [](VstInt32 v) {
        std::ostringstream text;
        text << "0x" << std::hex << std::uppercase << static_cast<uint32_t>(v);
        return text.str();
    };
    out << "name        " << instance.productText(effGetEffectName) << '\n'
        << "vendor      " << instance.productText(effGetVendorString) << '\n'
        << "product     " << instance.productText(effGetProductString) << '\n'
        << "magic       " << fourCharacters(effect->magic) << " (" << hex(effect->magic) << ")\n"
        << "unique ID   " << fourCharacters(effect->uniqueID) << " (" << hex(effect->uniqueID) << ")\n"
        << "version     " << hex(effect->version) << '\n'
        << "flags       " << hex(effect->flags) << " (" << flagNames(effect->flags) << ")\n"
        << "category    " << instance.dispatch(effGetPlugCategory) << '\n'
        << "inputs      " << effect->numInputs << '\n'
        << "outputs     " << effect->numOutputs << '\n'
        << "latency     " << effect->initialDelay << " samples\n"
        << "programs    " << effect->numPrograms << '\n'
        << "parameters  " << effect->numParams << '\n';
    for (int i = 0; i < effect->numOutputs; ++i)
    {
        VstPinProperties pin {};
        if (instance.dispatch(effGetOutputProperties, i, 0, &pin) != 0)
            out << "  output " << std::setw(3) << i << "  " << pin.label
                << ((pin.flags & kVstPinIsStereo) != 0 ? "  (stereo pair)" : "") << '\n';
    }
    for (int i = 0; i < effect->numParams; ++i)
    {
        const auto label = instance.parameterText(effGetParamLabel, i);
        out << "  parameter " << std::setw(3) << i << "  " << std::left << std::setw(18)
            << instance.parameterText(effGetParamName, i) << std::right << std::fixed << std::setprecision(4)
            << instance.getParameter(i) << "  " << instance.parameterText(effGetParamDisplay, i)
            << (label.empty() ? "" : " " + label) << '\n';
    }
}
} // namespace clihost
