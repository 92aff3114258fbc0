#pragma once

#include <cstddef>

// The size of an image as its file's header states it, read before any
// decoder sees the file. A decoder allocates the whole picture from the
// header alone, so a few bytes claiming a million pixels square would ask for
// terabytes; an image (imagedecoder::decode) is decoded only when its size
// has been read here and is one a skin can use. Only PNG and JPEG files are
// read: JUCE's GIF decoder reads before its buffer on every image.
namespace imageheader
{
struct Size
{
    long long width = 0;
    long long height = 0;
};

// Far beyond any skin image (a background, a strip of a hundred frames), and
// at most 64 MB once decoded.
inline constexpr long long maxPixels = 4096LL * 4096LL;

// Any thread. The size a PNG or JPEG file states; false for any other file
// or a header that ends too soon.
bool readSize (const void* data, std::size_t size, Size& result) noexcept;

// Any thread. True when the size is at least one pixel and at most
// maxPixels, whatever the numbers (a header may state any).
bool isUsableSize (long long width, long long height) noexcept;

// Any thread. True when the file states a usable size.
bool isDecodable (const void* data, std::size_t size) noexcept;
} // namespace imageheader
