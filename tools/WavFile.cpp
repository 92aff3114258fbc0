#include "tools/WavFile.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

namespace clihost
{
namespace
{
constexpr uint16_t formatExtensible = 0xFFFE;
// KSDATAFORMAT_SUBTYPE_IEEE_FLOAT
constexpr uint8_t floatSubFormat[16] = { 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                         0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71 };

void put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}
void putTag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }
uint32_t get16(const uint8_t* p) { return static_cast<uint32_t>(p[0] | (p[1] << 8)); }
uint32_t get32(const uint8_t* p) { return get16(p) | (get16(p + 2) << 16); }
} // namespace

bool writeWav(const std::string& path, const std::vector<std::vector<float>>& channels, double sampleRate)
{
    const auto numChannels = static_cast<uint32_t>(channels.size());
    const size_t frames = channels.empty() ? 0 : channels.front().size();
    for (const auto& channel : channels)
        if (channel.size() != frames)
            return false;
    const uint64_t dataBytes = static_cast<uint64_t>(frames) * numChannels * 4;
    if (numChannels == 0 || numChannels > 0xFFFF || dataBytes > 0xFFFFFF00u - 68 || !(sampleRate > 0.0))
        return false;

    std::vector<uint8_t> header;
    putTag(header, "RIFF");
    put32(header, static_cast<uint32_t>(4 + 8 + 40 + 8 + dataBytes));
    putTag(header, "WAVE");
    putTag(header, "fmt ");
    put32(header, 40);
    put16(header, formatExtensible);
    put16(header, numChannels);
    put32(header, static_cast<uint32_t>(sampleRate));
    put32(header, static_cast<uint32_t>(sampleRate) * numChannels * 4);
    put16(header, numChannels * 4);
    put16(header, 32);
    put16(header, 22);
    put16(header, 32);
    put32(header, 0); // no speaker positions: the outputs are plain numbered channels
    header.insert(header.end(), std::begin(floatSubFormat), std::end(floatSubFormat));
    putTag(header, "data");
    put32(header, static_cast<uint32_t>(dataBytes));

    std::vector<uint8_t> data;
    data.reserve(static_cast<size_t>(dataBytes));
    for (size_t frame = 0; frame < frames; ++frame)
        for (const auto& channel : channels)
        {
            uint32_t bits = 0;
            std::memcpy(&bits, &channel[frame], 4);
            put32(data, bits);
        }

    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(header.data()), static_cast<std::streamsize>(header.size()));
    file.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    return static_cast<bool>(file.flush());
}

bool readWav(const std::string& path, std::vector<std::vector<float>>& channels, double& sampleRate)
{
    std::ifstream file(path, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    constexpr size_t headerSize = 68;
    if (bytes.size() < headerSize || std::memcmp(bytes.data(), "RIFF", 4) != 0
        || std::memcmp(bytes.data() + 8, "WAVEfmt ", 8) != 0 || get16(bytes.data() + 20) != formatExtensible
        || get16(bytes.data() + 34) != 32 || std::memcmp(bytes.data() + 44, floatSubFormat, 16) != 0
        || std::memcmp(bytes.data() + 60, "data", 4) != 0)
        return false;
    const uint32_t numChannels = get16(bytes.data() + 22);
    const uint32_t dataBytes = get32(bytes.data() + 64);
    if (numChannels == 0 || dataBytes % (numChannels * 4) != 0 || bytes.size() - headerSize < dataBytes)
        return false;
    sampleRate = get32(bytes.data() + 24);
    const size_t frames = dataBytes / (numChannels * 4);
    channels.assign(numChannels, std::vector<float>(frames));
    const uint8_t* sample = bytes.data() + headerSize;
    for (size_t frame = 0; frame < frames; ++frame)
        for (auto& channel : channels)
        {
            const uint32_t bits = get32(sample);
            std::memcpy(&channel[frame], &bits, 4);
            sample += 4;
        }
    return true;
}
} // namespace clihost
