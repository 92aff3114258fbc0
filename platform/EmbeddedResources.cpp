#include "platform/EmbeddedResources.h"

namespace platform
{
namespace
{
char lowerAscii (char c) noexcept
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char> (c - 'A' + 'a') : c;
}

bool equalsIgnoringCase (std::string_view a, std::string_view b) noexcept
{
    if (a.size() != b.size())
        return false;

    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii (a[i]) != lowerAscii (b[i]))
            return false;

    return true;
}
} // namespace

Resource findResource (std::string_view fileName) noexcept
{
    for (auto* file = detail::embeddedFiles; file->fileName != nullptr; ++file)
        if (equalsIgnoringCase (file->fileName, fileName))
            return { file->data, file->size };

    return {};
}

Resource findResource (std::string_view name, std::string_view type) noexcept
{
    for (auto* file = detail::embeddedFiles; file->fileName != nullptr; ++file)
    {
        const std::string_view fileName (file->fileName);
        const auto dot = fileName.rfind ('.');

        if (dot != std::string_view::npos
            && equalsIgnoringCase (fileName.substr (0, dot), name)
            && equalsIgnoringCase (fileName.substr (dot + 1), type))
            return { file->data, file->size };
    }

    return {};
}

std::size_t getNumResources() noexcept
{
    std::size_t count = 0;
    while (detail::embeddedFiles[count].fileName != nullptr)
        ++count;
    return count;
}

std::string_view getResourceFileName (std::size_t index) noexcept
{
    return index < getNumResources() ? std::string_view (detail::embeddedFiles[index].fileName) : std::string_view();
}
} // namespace platform
