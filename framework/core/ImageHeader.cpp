#include "framework/core/ImageHeader.h"

#include <cstring>

namespace imageheader
{
namespace
{
using Bytes = const unsigned char*;

unsigned bigEndian16 (Bytes p) noexcept { return (unsigned) (p[0] << 8 | p[1]); }
unsigned long bigEndian32 (Bytes p) noexcept { return (unsigned long) p[0] << 24 | (unsigned long) p[1] << 16 | (unsigned long) p[2] << 8 | p[3]; }

bool readPng (Bytes data, std::size_t size, Size& result) noexcept
{
    static const unsigned char signature[] = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n' };

    // The signature, then the header chunk: length, "IHDR", width, height.
    if (size < 24 || std::memcmp (data, signature, sizeof (signature)) != 0 || std::memcmp (data + 12, "IHDR", 4) != 0)
        return false;

    result = { (long long) bigEndian32 (data + 16), (long long) bigEndian32 (data + 20) };
    return true;
}

bool isStartOfFrame (unsigned marker) noexcept
{
    return marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
}

bool readJpeg (Bytes data, std::size_t size, Size& result) noexcept
{
    if (size < 4 || data[0] != 0xff || data[1] != 0xd8)
        return false;

    std::size_t pos = 2;

    while (pos + 4 <= size)
    {
        if (data[pos] != 0xff)
            return false;

        const unsigned marker = data[pos + 1];

        if (marker == 0xff) // fill byte
        {
            ++pos;
            continue;
        }

        if (marker == 0x01 || (marker >= 0xd0 && marker <= 0xd8)) // markers without a length
        {
            pos += 2;
            continue;
        }

        if (isStartOfFrame (marker))
        {
            // Length, precision, height, width.
            if (pos + 9 > size)
                return false;

            result = { (long long) bigEndian16 (data + pos + 7), (long long) bigEndian16 (data + pos + 5) };
            return true;
        }

        pos += 2u + bigEndian16 (data + pos + 2);
    }

    return false;
}
} // namespace

bool readSize (const void* data, std::size_t size, Size& result) noexcept
{
    if (data == nullptr)
        return false;

    const auto bytes = static_cast<Bytes> (data);
    return readPng (bytes, size, result) || readJpeg (bytes, size, result);
}

bool isUsableSize (long long width, long long height) noexcept
{
    // Divided, not multiplied: two sizes of 32 bits overflow a product.
    return width > 0 && height > 0 && width <= maxPixels / height;
}

bool isDecodable (const void* data, std::size_t size) noexcept
{
    Size stated;
    return readSize (data, size, stated) && isUsableSize (stated.width, stated.height);
}
} // namespace imageheader
