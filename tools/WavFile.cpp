#include "tools/WavFile.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

namespace clihost
{
namespace
{
constexpr uint16_t formatFloat = 3;
constexpr uint16_t formatExtensible = 0xFFFE;
constexpr uint32_t bytesPerSample = 4;
// KSDATAFORMAT_SUBTYPE_IEEE_FLOAT
constexpr uint8_t floatSubFormat[16] = { 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                         0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71 };
constexpr uint32_t plainFormatBytes = 18;    // the 16 common bytes and cbSize = 0
constexpr uint32_t extensionBytes = 22;      // cbSize of the extensible format
// The extensible fmt chunk carries two zero bytes after its 40: SoX 14.4
// reads the sub-format and then looks for a second cbSize, warning when the
// chunk ends there. Readers go by the chunk's size, so the pad is harmless.
constexpr uint32_t extensibleFormatBytes = 16 + 2 + extensionBytes + 2;

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

std::vector<uint8_t> formatChunk(uint32_t numChannels, uint32_t rate)
{
    const bool extensible = numChannels > 2;
    std::vector<uint8_t> chunk;
    putTag(chunk, "fmt ");
    put32(chunk, extensible ? extensibleFormatBytes : plainFormatBytes);
    put16(chunk, extensible ? formatExtensible : formatFloat);
    put16(chunk, numChannels);
    put32(chunk, rate);
    put32(chunk, rate * numChannels * bytesPerSample); // bytes per second
    put16(chunk, numChannels * bytesPerSample);         // bytes per frame
    put16(chunk, 8 * bytesPerSample);                   // bits per sample
    if (!extensible)
    {
        put16(chunk, 0); // cbSize: no extension
        return chunk;
    }
    put16(chunk, extensionBytes);
    put16(chunk, 8 * bytesPerSample); // valid bits
    put32(chunk, 0); // no speaker positions: the outputs are plain numbered channels
    chunk.insert(chunk.end(), std::begin(floatSubFormat), std::end(floatSubFormat));
    put16(chunk, 0); // the pad
    return chunk;
}

// The format and where the samples are, from a whole file's bytes.
struct Layout
{
    uint32_t numChannels = 0, sampleRate = 0;
    size_t dataOffset = 0, dataBytes = 0;
};

bool isFloatFormat(const uint8_t* fmt, uint32_t size)
{
    if (size < 16 || get16(fmt + 14) != 8 * bytesPerSample)
        return false;
    const uint32_t tag = get16(fmt);
    if (tag == formatFloat)
        return true;
    return tag == formatExtensible && size >= 16 + 2 + extensionBytes && get16(fmt + 16) >= extensionBytes
           && std::memcmp(fmt + 24, floatSubFormat, 16) == 0;
}

bool findLayout(const std::vector<uint8_t>& bytes, Layout& layout)
{
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        return false;
    bool haveFormat = false;
    for (size_t at = 12; at + 8 <= bytes.size();)
    {
        const uint8_t* chunk = bytes.data() + at;
        const uint32_t size = get32(chunk + 4);
        const size_t available = bytes.size() - at - 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0)
        {
            if (size > available || !isFloatFormat(chunk + 8, size))
                return false;
            layout.numChannels = get16(chunk + 10);
            layout.sampleRate = get32(chunk + 12);
            haveFormat = true;
        }
        else if (std::memcmp(chunk, "data", 4) == 0)
        {
            if (!haveFormat || size > available)
                return false;
            layout.dataOffset = at + 8;
            layout.dataBytes = size;
            return layout.numChannels != 0 && size % (layout.numChannels * bytesPerSample) == 0;
        }
        if (size > available)
            return false;
        at += 8 + size + (size & 1); // chunks are word-aligned
    }
    return false;
}
} // namespace

WavWriter::WavWriter(const std::string& path, size_t channels, double sampleRate) : numChannels(channels)
{
    if (numChannels == 0 || numChannels > 0xFFFF || !(sampleRate > 0.0))
        return;
    std::vector<uint8_t> header;
    header.reserve(128); // every header fits
    putTag(header, "RIFF");
    put32(header, 0); // the RIFF size, filled in by finish()
    putTag(header, "WAVE");
    const auto format = formatChunk(static_cast<uint32_t>(numChannels), static_cast<uint32_t>(sampleRate));
    header.insert(header.end(), format.begin(), format.end());
    putTag(header, "fact"); // every format but PCM carries its frame count
    put32(header, 4);
    factFramesAt = header.size();
    put32(header, 0);
    putTag(header, "data");
    put32(header, 0);
    headerBytes = header.size();
    file.emplace(path);
    file->write(header.data(), header.size());
}

bool WavWriter::isGood() const { return file && file->isGood(); }

uint64_t WavWriter::maxFrames(size_t channels)
{
    return channels == 0 ? 0 : (0xFFFFFF00u - 128) / (channels * bytesPerSample);
}

bool WavWriter::append(const float* const* channels, size_t count)
{
    if (!isGood() || count > maxFrames(numChannels) - frames)
    {
        file.reset();
        return false;
    }
    constexpr size_t sliceFrames = 4096;
    for (size_t done = 0; done < count;)
    {
        const size_t slice = std::min(sliceFrames, count - done);
        interleaved.clear();
        for (size_t frame = done; frame < done + slice; ++frame)
            for (size_t channel = 0; channel < numChannels; ++channel)
            {
                uint32_t bits = 0;
                std::memcpy(&bits, &channels[channel][frame], 4);
                put32(interleaved, bits);
            }
        if (!file->write(interleaved.data(), interleaved.size()))
            return false;
        done += slice;
    }
    frames += count;
    return true;
}

bool WavWriter::finish()
{
    if (!isGood())
        return false;
    const auto dataBytes = static_cast<uint32_t>(frames * numChannels * bytesPerSample);
    std::vector<uint8_t> size;
    put32(size, static_cast<uint32_t>(headerBytes - 8 + dataBytes));
    put32(size, static_cast<uint32_t>(frames));
    put32(size, dataBytes);
    return file->writeAt(4, size.data(), 4) && file->writeAt(factFramesAt, size.data() + 4, 4)
           && file->writeAt(headerBytes - 4, size.data() + 8, 4) && file->commit();
}

bool writeWav(const std::string& path, const std::vector<std::vector<float>>& channels, double sampleRate)
{
    const size_t frames = channels.empty() ? 0 : channels.front().size();
    for (const auto& channel : channels)
        if (channel.size() != frames)
            return false;
    if (channels.empty() || frames > WavWriter::maxFrames(channels.size()))
        return false; // refused before a temporary file is made
    std::vector<const float*> pointers;
    for (const auto& channel : channels)
        pointers.push_back(channel.data());
    WavWriter writer(path, channels.size(), sampleRate);
    return writer.append(pointers.data(), frames) && writer.finish();
}

bool readWav(const std::string& path, std::vector<std::vector<float>>& channels, double& sampleRate)
{
    std::ifstream file(path, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    Layout layout;
    if (!findLayout(bytes, layout))
        return false;
    sampleRate = layout.sampleRate;
    const size_t frames = layout.dataBytes / (layout.numChannels * bytesPerSample);
    channels.assign(layout.numChannels, std::vector<float>(frames));
    const uint8_t* sample = bytes.data() + layout.dataOffset;
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
