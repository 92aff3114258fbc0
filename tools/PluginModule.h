#pragma once
// A VST 2.4 module loaded from a file: opened on construction, closed
// (unloaded) on destruction.
#include "platform/vst/VstRecord.h"

#include <memory>
#include <string>

namespace clihost
{
class PluginModule
{
public:
    // Null with `error` set when the file cannot be loaded or exports no entry.
    static std::unique_ptr<PluginModule> load(const std::string& path, std::string& error);
    ~PluginModule();
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    vst::PluginEntryProc entry() const noexcept { return entryPoint; }
    const std::string& path() const noexcept { return filePath; }

private:
    PluginModule(void* handle, vst::PluginEntryProc entry, std::string path);

    void* handle;
    vst::PluginEntryProc entryPoint;
    std::string filePath;
};
} // namespace clihost
