#include "tools/PluginModule.h"

#include <dlfcn.h>

namespace clihost
{
std::unique_ptr<PluginModule> PluginModule::load(const std::string& path, std::string& error)
{
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
    {
        const char* reason = dlerror();
        error = reason != nullptr ? reason : "cannot load " + path;
        return nullptr;
    }
    auto entry = reinterpret_cast<vst::PluginEntryProc>(dlsym(handle, vst::kPluginEntryName));
    if (entry == nullptr)
    {
        error = path + " exports no " + vst::kPluginEntryName;
        dlclose(handle);
        return nullptr;
    }
    return std::unique_ptr<PluginModule>(new PluginModule(handle, entry, path));
}

PluginModule::PluginModule(void* moduleHandle, vst::PluginEntryProc entryProc, std::string path)
    : handle(moduleHandle), entryPoint(entryProc), filePath(std::move(path))
{
}

PluginModule::~PluginModule() { dlclose(handle); }
} // namespace clihost
