#include "SkinPackages.h"

#include "framework/core/ImageDecoder.h"
#include "framework/core/ImageHeader.h"

namespace
{
using skin_testing::pngStating;

// A 2 x 3 JPEG whose frame header states another size.
juce::MemoryBlock jpegStating (unsigned width, unsigned height)
{
    auto jpeg = skin_testing::jpegOf (juce::Image (juce::Image::RGB, 2, 3, true));
    auto* bytes = static_cast<unsigned char*> (jpeg.getData());
    for (size_t i = 2; i + 9 < jpeg.getSize(); ++i)
        if (bytes[i] == 0xff && bytes[i + 1] == 0xc0)
        {
            const unsigned char size[] = { (unsigned char) (height >> 8), (unsigned char) height, (unsigned char) (width >> 8), (unsigned char) width };
            jpeg.copyFrom (size, (int) i + 5, sizeof (size));
            break;
        }
    return jpeg;
}

// A GIF of one pixel (JUCE writes no GIF).
const unsigned char gif[] = { 'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0, 0, 0, 0xff, 0xff, 0xff,
                              ',', 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0, ';' };
} // namespace

TEST (ImageHeader, StatedSizesAreReadAndOnlyUsableOnesDecoded)
{
    const struct
    {
        const char* what;
        juce::MemoryBlock bytes;
        long long width, height; // -1: no size can be read
        bool decodable;
    } cases[] = {
        { "png", pngStating (2, 3), 2, 3, true },
        { "jpeg", jpegStating (2, 3), 2, 3, true },
        { "png of a million pixels square", pngStating (1000000, 1000000), 1000000, 1000000, false },
        { "png just over the limit", pngStating (4097, 4096), 4097, 4096, false },
        { "png of no pixels", pngStating (0, 5), 0, 5, false },
        { "png of the largest size a header states", pngStating (0xffffffff, 0xffffffff), 0xffffffff, 0xffffffff, false },
        { "jpeg of the largest size", jpegStating (65535, 65535), 65535, 65535, false },
        { "png cut inside its header", juce::MemoryBlock (pngStating (2, 3).getData(), 20), -1, -1, false },
        { "gif, which JUCE decodes reading before its buffer", juce::MemoryBlock (gif, sizeof (gif)), -1, -1, false },
        { "text", skin_testing::bytesOf ("hello"), -1, -1, false },
        { "nothing", juce::MemoryBlock(), -1, -1, false },
    };

    for (const auto& c : cases)
    {
        imageheader::Size size;
        const bool read = imageheader::readSize (c.bytes.getData(), c.bytes.getSize(), size);
        EXPECT_EQ (read, c.width >= 0) << c.what;
        if (read)
        {
            EXPECT_EQ (size.width, c.width) << c.what;
            EXPECT_EQ (size.height, c.height) << c.what;
        }
        EXPECT_EQ (imageheader::isDecodable (c.bytes.getData(), c.bytes.getSize()), c.decodable) << c.what;

        if (c.decodable) // and the decoder agrees on what it decodes
        {
            EXPECT_EQ (imagedecoder::decode (c.bytes.getData(), c.bytes.getSize()).getBounds(),
                       juce::Rectangle<int> ((int) c.width, (int) c.height)) << c.what;
        }
    }
}
