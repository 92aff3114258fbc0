#include "framework/core/ImageDecoder.h"

#include "framework/core/ImageHeader.h"

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first
#include <cstring>

#include <jpeglib.h>
#include <png.h>

namespace imagedecoder
{
namespace
{
bool isPng (const unsigned char* bytes, std::size_t size) noexcept
{
    static const unsigned char signature[] = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n' };
    return size >= sizeof (signature) && std::memcmp (bytes, signature, sizeof (signature)) == 0;
}

// Every pixel of an ARGB image premultiplied, as JUCE keeps them.
void premultiply (juce::Image::BitmapData& pixels, int width, int height)
{
    for (int y = 0; y < height; ++y)
    {
        auto* pixel = reinterpret_cast<juce::PixelARGB*> (pixels.getLinePointer (y));

        for (int x = 0; x < width; ++x)
            pixel[x].premultiply();
    }
}

//==============================================================================
// libpng's simplified API: each call returns false on any error, having
// caught it inside libpng.
juce::Image decodePng (const void* data, std::size_t size)
{
    png_image png;
    std::memset (&png, 0, sizeof (png));
    png.version = PNG_IMAGE_VERSION;

    // Frees what libpng holds however the reading ends (a second free does nothing).
    const struct Release
    {
        png_image& png;
        ~Release() { png_image_free (&png); }
    } release { png };

    if (png_image_begin_read_from_memory (&png, data, size) == 0 || ! imageheader::isUsableSize (png.width, png.height))
        return {};

    // JUCE keeps a pixel's bytes as B, G, R (and A) here: libpng writes them so.
    static_assert (juce::PixelARGB::indexB == 0 && juce::PixelARGB::indexA == 3 && juce::PixelRGB::indexB == 0,
                   "JUCE's pixel layout on a little-endian machine");
    const bool hasAlpha = (png.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    png.format = hasAlpha ? PNG_FORMAT_BGRA : PNG_FORMAT_BGR;

    const int width = (int) png.width, height = (int) png.height;
    juce::Image image (hasAlpha ? juce::Image::ARGB : juce::Image::RGB, width, height, false);
    juce::Image::BitmapData pixels (image, juce::Image::BitmapData::writeOnly);

    if (png_image_finish_read (&png, nullptr, pixels.data, (png_int_32) pixels.lineStride, nullptr) == 0)
        return {};

    if (hasAlpha)
        premultiply (pixels, width, height);

    return image;
}

//==============================================================================
// libjpeg reports an error by calling the error manager's exit, which must
// not return. Ours jumps back to the setjmp of a function below that is
// still running; those functions hold nothing with a destructor, so the jump
// skips no clean-up, and the caller destroys the decompressor afterwards.
struct JpegDecoding
{
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    jpeg_progress_mgr progress;
    std::jmp_buf failed;
};

// A progressive file may hold any number of scans, each a pass over the
// whole picture: far fewer than this make any real image.
constexpr int maxJpegScans = 500;

[[noreturn]] void leave (j_common_ptr info)
{
    std::longjmp (static_cast<JpegDecoding*> (info->client_data)->failed, 1);
}

// Level -1 is a warning: libjpeg warns of damaged data (a file cut short,
// a bad code, a missing marker) and carries on with grey. Anything else is
// a trace message.
void emitMessage (j_common_ptr info, int level)
{
    if (level < 0)
        leave (info);
}

void printNothing (j_common_ptr) {}

void limitScans (j_common_ptr info)
{
    if (reinterpret_cast<j_decompress_ptr> (info)->input_scan_number > maxJpegScans)
        leave (info);
}

// Reads the header and starts the decompressor, RGB out; false on any
// failure or a size beyond the limits.
bool startJpeg (JpegDecoding& decoding, const unsigned char* bytes, std::size_t size)
{
    if (setjmp (decoding.failed) != 0)
        return false;

    auto& info = decoding.info;
    jpeg_create_decompress (&info); // keeps err and client_data, clears the rest
    info.progress = &decoding.progress;
    jpeg_mem_src (&info, bytes, (unsigned long) size);

    if (jpeg_read_header (&info, TRUE) != JPEG_HEADER_OK || ! imageheader::isUsableSize (info.image_width, info.image_height))
        return false;

    info.out_color_space = JCS_RGB;
    jpeg_start_decompress (&info);
    return info.output_components == 3 && imageheader::isUsableSize (info.output_width, info.output_height);
}

// Reads every row into the image's RGB pixels, through the row buffer (three
// bytes a pixel), and finishes the file.
bool readJpegRows (JpegDecoding& decoding, JSAMPROW row, juce::uint8* firstLine, int lineStride, int pixelStride)
{
    if (setjmp (decoding.failed) != 0)
        return false;

    auto& info = decoding.info;

    while (info.output_scanline < info.output_height)
    {
        auto* line = firstLine + (std::ptrdiff_t) info.output_scanline * lineStride;

        if (jpeg_read_scanlines (&info, &row, 1) != 1)
            return false;

        for (JDIMENSION x = 0; x < info.output_width; ++x)
            reinterpret_cast<juce::PixelRGB*> (line + (std::ptrdiff_t) x * pixelStride)->setARGB (0xff, row[3 * x], row[3 * x + 1], row[3 * x + 2]);
    }

    jpeg_finish_decompress (&info);
    return true;
}

juce::Image decodeJpeg (const void* data, std::size_t size)
{
    JpegDecoding decoding;
    std::memset (&decoding, 0, sizeof (decoding)); // destroying a decompressor never created does nothing
    decoding.info.err = jpeg_std_error (&decoding.errors);
    decoding.errors.error_exit = leave;
    decoding.errors.emit_message = emitMessage;
    decoding.errors.output_message = printNothing;
    decoding.progress.progress_monitor = limitScans;
    decoding.info.client_data = &decoding; // where leave finds the jump

    const struct Destroy
    {
        jpeg_decompress_struct& info;
        ~Destroy() { jpeg_destroy_decompress (&info); }
    } destroy { decoding.info };

    if (! startJpeg (decoding, static_cast<const unsigned char*> (data), size))
        return {};

    const int width = (int) decoding.info.output_width, height = (int) decoding.info.output_height;
    juce::HeapBlock<JSAMPLE> row ((size_t) width * 3);
    juce::Image image (juce::Image::RGB, width, height, false);
    juce::Image::BitmapData pixels (image, juce::Image::BitmapData::writeOnly);

    if (! readJpegRows (decoding, row, pixels.data, pixels.lineStride, pixels.pixelStride))
        return {};

    return image;
}
} // namespace

juce::Image decode (const void* data, std::size_t size)
{
    if (! imageheader::isDecodable (data, size))
        return {};

    return isPng (static_cast<const unsigned char*> (data), size) ? decodePng (data, size) : decodeJpeg (data, size);
}
} // namespace imagedecoder
