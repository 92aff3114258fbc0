#include "SkinPackages.h"

#include "editor/skin/ImageHeader.h"

namespace
{
using Bytes = std::vector<unsigned char>;

Bytes encoded (juce::ImageFileFormat&& format, int width, int height)
{
    juce::Image image (juce::Image::RGB, width, height, true);
    juce::MemoryOutputStream out;
    format.writeImageToStream (image, out);
    auto* data = static_cast<const unsigned char*> (out.getData());
    return Bytes (data, data + out.getDataSize());
}

void putBigEndian16 (Bytes& bytes, size_t pos, unsigned value)
{
    bytes[pos] = (unsigned char) (value >> 8);
    bytes[pos + 1] = (unsigned char) value;
}

Bytes pngClaiming (unsigned long width, unsigned long height)
{
    const auto png = skin_testing::pngStating (width, height);
    auto* data = static_cast<const unsigned char*> (png.getData());
    return Bytes (data, data + png.getSize());
}

Bytes jpegClaiming (unsigned width, unsigned height)
{
    auto jpeg = encoded (juce::JPEGImageFormat(), 2, 3);
    for (size_t i = 2; i + 9 < jpeg.size(); ++i)
        if (jpeg[i] == 0xff && jpeg[i + 1] == 0xc0)
        {
            putBigEndian16 (jpeg, i + 5, height);
            putBigEndian16 (jpeg, i + 7, width);
            break;
        }
    return jpeg;
}

Bytes firstBytes (Bytes bytes, size_t count)
{
    bytes.resize (count);
    return bytes;
}

// A GIF of one pixel (JUCE writes no GIF).
const Bytes gif = { 'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0, 0, 0, 0xff, 0xff, 0xff,
                    ',', 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0, ';' };
} // namespace

TEST (ImageHeader, StatedSizesAreReadAndOnlyUsableOnesDecoded)
{
    const struct
    {
        const char* what;
        Bytes bytes;
        long long width, height; // -1: no size can be read
        bool decodable;
    } cases[] = {
        { "png", pngClaiming (2, 3), 2, 3, true },
        { "jpeg", jpegClaiming (2, 3), 2, 3, true },
        { "png of a million pixels square", pngClaiming (1000000, 1000000), 1000000, 1000000, false },
        { "png just over the limit", pngClaiming (4097, 4096), 4097, 4096, false },
        { "png of no pixels", pngClaiming (0, 5), 0, 5, false },
        { "jpeg of the largest size", jpegClaiming (65535, 65535), 65535, 65535, false },
        { "png cut inside its header", firstBytes (pngClaiming (2, 3), 20), -1, -1, false },
        { "gif, which JUCE decodes reading before its buffer", gif, -1, -1, false },
        { "text", Bytes { 'h', 'e', 'l', 'l', 'o' }, -1, -1, false },
        { "nothing", Bytes(), -1, -1, false },
    };

    for (const auto& c : cases)
    {
        imageheader::Size size;
        const bool read = imageheader::readSize (c.bytes.data(), c.bytes.size(), size);
        EXPECT_EQ (read, c.width >= 0) << c.what;
        if (read)
        {
            EXPECT_EQ (size.width, c.width) << c.what;
            EXPECT_EQ (size.height, c.height) << c.what;
        }
        EXPECT_EQ (imageheader::isDecodable (c.bytes.data(), c.bytes.size()), c.decodable) << c.what;

        if (c.decodable) // and JUCE agrees on what it decodes
        {
            EXPECT_EQ (juce::ImageFileFormat::loadFrom (c.bytes.data(), c.bytes.size()).getBounds(),
                       juce::Rectangle<int> ((int) c.width, (int) c.height)) << c.what;
        }
    }
}
