#pragma once
// Writes 8-bit RGB pixels as a PNG file (zlib's deflate, no filters): what a
// test saw in a window, for people to look at.
#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace testing_support
{
// rgb holds width * height pixels, three bytes each, row by row. False when
// the file could not be written.
inline bool writePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb)
{
    auto bigEndian = [](std::vector<uint8_t>& out, uint32_t value) {
        for (int shift = 24; shift >= 0; shift -= 8)
            out.push_back(static_cast<uint8_t>(value >> shift));
    };
    std::vector<uint8_t> file { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n' };
    auto chunk = [&](const char* type, const std::vector<uint8_t>& data) {
        bigEndian(file, static_cast<uint32_t>(data.size()));
        const size_t start = file.size();
        file.insert(file.end(), type, type + 4);
        file.insert(file.end(), data.begin(), data.end());
        bigEndian(file, static_cast<uint32_t>(crc32(0, file.data() + start, static_cast<uInt>(file.size() - start))));
    };

    std::vector<uint8_t> header;
    bigEndian(header, static_cast<uint32_t>(width));
    bigEndian(header, static_cast<uint32_t>(height));
    header.insert(header.end(), { 8, 2, 0, 0, 0 }); // 8 bits, RGB, deflate, no filter method, no interlace

    // Each row starts with its filter type (0: none).
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    std::vector<uint8_t> rows;
    for (int y = 0; y < height; ++y)
    {
        rows.push_back(0);
        rows.insert(rows.end(), rgb.begin() + static_cast<long>(y * rowBytes), rgb.begin() + static_cast<long>((y + 1) * rowBytes));
    }
    uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, rows.data(), static_cast<uLong>(rows.size()), Z_BEST_COMPRESSION) != Z_OK)
        return false;
    packed.resize(packedSize);

    chunk("IHDR", header);
    chunk("IDAT", packed);
    chunk("IEND", {});
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    return static_cast<bool>(out);
}
} // namespace testing_support
