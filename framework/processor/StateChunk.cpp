#include "framework/processor/StateChunk.h"

#include "framework/core/XmlGuard.h"

#include <cstring>

namespace statechunk
{
namespace
{
constexpr juce::uint32 magic = 0x21324356; // the library's state-blob magic
constexpr int headerSize = 8;              // magic and text length
} // namespace

void write (const juce::XmlElement& element, juce::MemoryBlock& destination)
{
    const auto text = element.toString (juce::XmlElement::TextFormat().singleLine());
    const auto textSize = text.getNumBytesAsUTF8();

    destination.setSize (headerSize + textSize + 1, true);
    auto* bytes = static_cast<char*> (destination.getData());

    const juce::uint32 header[] = { juce::ByteOrder::swapIfBigEndian (magic),
                                    juce::ByteOrder::swapIfBigEndian ((juce::uint32) textSize) };
    std::memcpy (bytes, header, sizeof (header));
    text.copyToUTF8 (bytes + headerSize, textSize + 1);
}

std::unique_ptr<juce::XmlElement> read (const void* data, int sizeInBytes)
{
    if (data == nullptr || sizeInBytes <= headerSize)
        return nullptr;

    const auto* bytes = static_cast<const char*> (data);

    if (juce::ByteOrder::littleEndianInt (bytes) != magic)
        return nullptr;

    const auto textSize = juce::ByteOrder::littleEndianInt (bytes + 4);

    if (textSize == 0 || textSize > (juce::uint32) (sizeInBytes - headerSize))
        return nullptr;

    // A writer that counted the text's terminating NUL is still read.
    auto size = (size_t) textSize;
    while (size > 0 && bytes[headerSize + size - 1] == 0)
        --size;

    return xmlguard::parse (bytes + headerSize, size);
}
} // namespace statechunk
