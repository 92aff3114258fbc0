#include "framework/processor/StateChunk.h"

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

    const auto text = juce::String::fromUTF8 (bytes + headerSize, (int) textSize);

    if (text.isEmpty())
        return nullptr;

    return juce::XmlDocument::parse (text);
}
} // namespace statechunk
