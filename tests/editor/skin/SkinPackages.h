#pragma once

#include "editor/skin/SkinFiles.h"
#include "framework/processor/BasePlugin.h"
#include "support/TemporaryUserFolders.h"

#include <gtest/gtest.h>
#include <juce_cryptography/juce_cryptography.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <zlib.h>

#include <utility>
#include <vector>

// Skin packages made in the test: an inner archive of "skin.xml" and images,
// its MD5, and the outer archive of both, written to the skins folder of a
// processor whose folders are redirected to a fresh temporary folder.
namespace skin_testing
{
using Entries = std::vector<std::pair<juce::String, juce::MemoryBlock>>;

inline juce::MemoryBlock bytesOf (const juce::String& text)
{
    return { text.toRawUTF8(), text.getNumBytesAsUTF8() };
}

inline juce::MemoryBlock pngOf (const juce::Image& image)
{
    juce::MemoryOutputStream out;
    juce::PNGImageFormat().writeImageToStream (image, out);
    return out.getMemoryBlock();
}

// A 2 x 3 PNG whose header states another size, its checksum made right
// again, so that only the size tells it from a real one.
inline juce::MemoryBlock pngStating (unsigned long width, unsigned long height)
{
    auto png = pngOf (juce::Image (juce::Image::RGB, 2, 3, true));
    auto* bytes = static_cast<unsigned char*> (png.getData());
    const auto putBigEndian = [bytes] (size_t pos, unsigned long value) {
        for (size_t i = 0; i < 4; ++i)
            bytes[pos + i] = (unsigned char) (value >> (24 - 8 * i));
    };
    putBigEndian (16, width);
    putBigEndian (20, height);
    putBigEndian (29, crc32 (0, bytes + 12, 17));
    return png;
}

// A zip archive of the entries, each stored (level 0) or deflated (1 to 9).
inline juce::MemoryBlock zipOf (const Entries& entries, int compressionLevel = 0)
{
    const juce::Time entryTime (2024, 0, 1, 12, 0); // zip times start in 1980
    juce::ZipFile::Builder builder;

    for (const auto& [name, bytes] : entries)
        builder.addEntry (new juce::MemoryInputStream (bytes, true), compressionLevel, name, entryTime);

    juce::MemoryOutputStream out;
    builder.writeToStream (out, nullptr);
    return out.getMemoryBlock();
}

inline juce::String md5Of (const juce::MemoryBlock& bytes)
{
    return juce::MD5 (bytes.getData(), bytes.getSize()).toHexString();
}

// Writes "<name>.kyxskin" into the folder (made when missing), holding
// "<name>.md5" with digestText and "<name>.skin" with inner; an entry is left
// out when its bytes are null.
inline juce::File writePackage (const juce::File& folder, const juce::String& name, const juce::MemoryBlock* digestText,
                                const juce::MemoryBlock* inner, int compressionLevel = 0)
{
    Entries entries;
    if (digestText != nullptr)
        entries.emplace_back (name + ".md5", *digestText);
    if (inner != nullptr)
        entries.emplace_back (name + ".skin", *inner);
    folder.createDirectory();
    const auto file = folder.getChildFile (name + skinfiles::packageExtension);
    const auto archive = zipOf (entries, compressionLevel);
    file.replaceWithData (archive.getData(), archive.getSize());
    return file;
}

// A package whose digest matches its inner archive.
inline juce::File writeValidPackage (const juce::File& folder, const juce::String& name, const juce::MemoryBlock& inner, int compressionLevel = 0)
{
    const auto digest = bytesOf (md5Of (inner));
    return writePackage (folder, name, &digest, &inner, compressionLevel);
}

// The processor the skins are read for: the product's name, parameters and
// events, and nothing else.
class SkinTestProcessor : public BasePlugin
{
public:
    SkinTestProcessor() : BasePlugin (BusesProperties().withOutput ("Output", juce::AudioChannelSet::stereo())) {}
    juce::String getPluginName() const override { return "Pulsetta"; }
};

struct SkinFolderTest : ::testing::Test,
                        testing_support::TemporaryUserFolders
{
    SkinFolderTest() : TemporaryUserFolders ("pulsetta-skin-test-") { skinsFolder.createDirectory(); }

    juce::ScopedJuceInitialiser_GUI juce;
    SkinTestProcessor processor;
    juce::File skinsFolder = skinfiles::getSkinsFolder (processor);
};
} // namespace skin_testing
