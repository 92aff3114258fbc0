#pragma once

#include "SkinPackageBytes.h"

#include "editor/skin/SkinFiles.h"
#include "framework/processor/BasePlugin.h"
#include "support/TemporaryUserFolders.h"

#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <zlib.h>

// Skin packages made in the test: an inner archive of "skin.xml" and images,
// its MD5, and the outer archive of both, written to the skins folder of a
// processor whose folders are redirected to a fresh temporary folder.
namespace skin_testing
{
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

// Writes the package's bytes as "<name>.kyxskin" into the folder (made when missing).
inline juce::File writePackageFile (const juce::File& folder, const juce::String& name, const juce::MemoryBlock& package)
{
    folder.createDirectory();
    const auto file = folder.getChildFile (name + skinfiles::packageExtension);
    file.replaceWithData (package.getData(), package.getSize());
    return file;
}

// Writes "<name>.kyxskin" holding "<name>.md5" with digestText and
// "<name>.skin" with inner; an entry is left out when its bytes are null.
inline juce::File writePackage (const juce::File& folder, const juce::String& name, const juce::MemoryBlock* digestText,
                                const juce::MemoryBlock* inner, int compressionLevel = 0)
{
    return writePackageFile (folder, name, packageOf (name, digestText, inner, compressionLevel));
}

// A package whose digest matches its inner archive.
inline juce::File writeValidPackage (const juce::File& folder, const juce::String& name, const juce::MemoryBlock& inner, int compressionLevel = 0)
{
    return writePackageFile (folder, name, validPackageOf (name, inner, compressionLevel));
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
