#pragma once

#include <cstddef>
#include <string_view>

// Files compiled into the module at build time, in place of the resource
// section a Windows module carries. A resource is named like a file: its name,
// a dot and its type ("parameters.xml" is resource PARAMETERS of type XML,
// "default.xrptrb" is resource DEFAULT of type XRPTRB). Look-ups ignore case.
namespace platform
{
struct Resource
{
    const unsigned char* data = nullptr;
    std::size_t size = 0; // bytes; data[size] is always 0

    explicit operator bool() const noexcept { return data != nullptr; }
    std::string_view text() const noexcept { return { reinterpret_cast<const char*> (data), size }; }
};

// Any thread. An empty Resource when there is none of that name.
Resource findResource (std::string_view fileName) noexcept;
Resource findResource (std::string_view name, std::string_view type) noexcept;

// Any thread. The file-like names of every embedded resource, in build order;
// index past the end gives an empty view.
std::size_t getNumResources() noexcept;
std::string_view getResourceFileName (std::size_t index) noexcept;

namespace detail
{
struct EmbeddedFile
{
    const char* fileName;
    const unsigned char* data;
    std::size_t size;
};
extern const EmbeddedFile embeddedFiles[]; // ends with a null fileName
} // namespace detail
} // namespace platform
