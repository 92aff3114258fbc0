#pragma once

#include <juce_cryptography/juce_cryptography.h>
#include <juce_graphics/juce_graphics.h>

#include <cstdio> // jpeglib.h needs FILE and size_t declared first
#include <cstdlib>
#include <jpeglib.h>

#include <utility>
#include <vector>

// The bytes of skin packages made in a test or a fuzz target: images, zip
// archives and the package around an inner archive. Nothing here needs a
// test framework.
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

inline juce::MemoryBlock jpegOf (const juce::Image& image)
{
    juce::MemoryOutputStream out;
    juce::JPEGImageFormat().writeImageToStream (image, out);
    return out.getMemoryBlock();
}

// A progressive JPEG (JUCE writes baseline ones only): a first scan of coarse
// values, later ones refining them.
inline juce::MemoryBlock progressiveJpegOf (const juce::Image& image)
{
    jpeg_compress_struct info {};
    jpeg_error_mgr errors {};
    info.err = jpeg_std_error (&errors);
    jpeg_create_compress (&info);
    unsigned char* written = nullptr;
    unsigned long writtenSize = 0;
    jpeg_mem_dest (&info, &written, &writtenSize);
    info.image_width = (JDIMENSION) image.getWidth();
    info.image_height = (JDIMENSION) image.getHeight();
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults (&info);
    jpeg_simple_progression (&info);
    jpeg_start_compress (&info, TRUE);

    std::vector<JSAMPLE> row ((size_t) image.getWidth() * 3);
    for (int y = 0; y < image.getHeight(); ++y)
    {
        for (int x = 0; x < image.getWidth(); ++x)
        {
            const auto colour = image.getPixelAt (x, y);
            row[(size_t) x * 3] = colour.getRed();
            row[(size_t) x * 3 + 1] = colour.getGreen();
            row[(size_t) x * 3 + 2] = colour.getBlue();
        }
        JSAMPROW rows[] = { row.data() };
        jpeg_write_scanlines (&info, rows, 1);
    }

    jpeg_finish_compress (&info);
    juce::MemoryBlock jpeg (written, writtenSize);
    jpeg_destroy_compress (&info);
    std::free (written);
    return jpeg;
}

// A picture with detail in every block, so that its compressed forms have
// scans worth cutting.
inline juce::Image makeTestPicture (int width, int height)
{
    juce::Image image (juce::Image::RGB, width, height, false);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixelAt (x, y, juce::Colour ((juce::uint8) (x * 37 + y * 11), (juce::uint8) (y * 53), (juce::uint8) ((x ^ y) * 29)));
    return image;
}

// A zip archive of the entries, each stored (level 0) or deflated (1 to 9).
inline juce::MemoryBlock zipOf (const Entries& entries, int compressionLevel = 0)
{
    const juce::Time entryTime (2024, 0, 1, 12, 0); // zip times start in 1980
    juce::ZipFile::Builder builder;

    // The streams read the entries in place (they outlive the builder):
    // JUCE copies an empty block through a null pointer.
    for (const auto& [name, bytes] : entries)
        builder.addEntry (new juce::MemoryInputStream (bytes, false), compressionLevel, name, entryTime);

    juce::MemoryOutputStream out;
    builder.writeToStream (out, nullptr);
    return out.getMemoryBlock();
}

inline juce::String md5Of (const juce::MemoryBlock& bytes)
{
    static const char nothing = 0; // an empty block has no data to point at, and MD5 copies from it all the same
    return juce::MD5 (bytes.isEmpty() ? &nothing : bytes.getData(), bytes.getSize()).toHexString();
}

// The package "<name>.kyxskin" as bytes: "<name>.md5" holding digestText and
// "<name>.skin" holding inner; an entry is left out when its bytes are null.
inline juce::MemoryBlock packageOf (const juce::String& name, const juce::MemoryBlock* digestText, const juce::MemoryBlock* inner,
                                    int compressionLevel = 0)
{
    Entries entries;
    if (digestText != nullptr)
        entries.emplace_back (name + ".md5", *digestText);
    if (inner != nullptr)
        entries.emplace_back (name + ".skin", *inner);
    return zipOf (entries, compressionLevel);
}

// A package whose digest matches its inner archive.
inline juce::MemoryBlock validPackageOf (const juce::String& name, const juce::MemoryBlock& inner, int compressionLevel = 0)
{
    const auto digest = bytesOf (md5Of (inner));
    return packageOf (name, &digest, &inner, compressionLevel);
}
} // namespace skin_testing
