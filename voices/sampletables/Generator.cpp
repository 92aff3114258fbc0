// Build-time tool: synthesises the four cymbal tables, quantises them to 8-bit
// offset binary, scrambles them under the table key and writes them as a C++
// source file that the voice library compiles.
//
//   sampletable_generator <output.cpp> [<folder for preview WAVs>]

#include "voices/sampletables/CymbalRecipes.h"
#include "voices/sampletables/SampleTableKey.h"
#include "voices/sampletables/SampleTables.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace
{
std::vector<std::uint8_t> quantise(const std::vector<double>& table)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(table.size());

    for (const double x : table)
    {
        const long level = std::lround(x * 128.0) + 128;
        bytes.push_back(static_cast<std::uint8_t>(level < 0 ? 0 : level > 255 ? 255 : level));
    }

    return bytes;
}

void writeArray(std::ofstream& out, const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    const auto key = sampletables::makeKey();
    out << "static const std::uint8_t " << name << "Bytes[" << bytes.size() << "] = {";

    for (std::size_t i = 0; i < bytes.size(); ++i)
    {
        if (i % 24 == 0)
            out << "\n   ";
        char text[8];
        std::snprintf(text, sizeof(text), " %u,", static_cast<unsigned>(bytes[i] ^ key[i % sampletables::keyLength]));
        out << text;
    }

    out << "\n};\nconst Table " << name << " { " << name << "Bytes, " << bytes.size() << "u };\n\n";
}

// 16-bit mono WAV of the decoded table, for listening and spectrograms.
void writePreview(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    const auto put32 = [&out](std::uint32_t v) { for (int i = 0; i < 4; ++i) out.put(static_cast<char>((v >> (8 * i)) & 0xff)); };
    const auto put16 = [&out](std::uint16_t v) { out.put(static_cast<char>(v & 0xff)); out.put(static_cast<char>(v >> 8)); };
    const auto dataSize = static_cast<std::uint32_t>(bytes.size() * 2);

    out.write("RIFF", 4);
    put32(36 + dataSize);
    out.write("WAVEfmt ", 8);
    put32(16);
    put16(1);
    put16(1);
    put32(static_cast<std::uint32_t>(sampletables::sourceRate));
    put32(static_cast<std::uint32_t>(sampletables::sourceRate) * 2);
    put16(2);
    put16(16);
    out.write("data", 4);
    put32(dataSize);

    for (const std::uint8_t b : bytes)
        put16(static_cast<std::uint16_t>((static_cast<int>(b) - 128) * 256));
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: %s <output.cpp> [<preview folder>]\n", argv[0]);
        return 2;
    }

    struct Entry
    {
        const char* name;
        std::vector<std::uint8_t> bytes;
    };

    const Entry entries[] = { { "closedHiHat", quantise(sampletables::makeClosedHiHat()) },
                              { "openHiHat", quantise(sampletables::makeOpenHiHat()) },
                              { "crash", quantise(sampletables::makeCrash()) },
                              { "ride", quantise(sampletables::makeRide()) } };

    const std::string outputPath = argv[1];
    const std::string temporaryPath = outputPath + ".tmp";
    {
        std::ofstream out(temporaryPath);
        out << "// Made by voices/sampletables/Generator.cpp at build time. Do not edit.\n\n"
            << "#include \"voices/sampletables/SampleTables.h\"\n\n"
            << "namespace sampletables\n{\n";

        for (const auto& entry : entries)
            writeArray(out, entry.name, entry.bytes);

        out << "} // namespace sampletables\n";

        if (! out)
        {
            std::fprintf(stderr, "could not write %s\n", temporaryPath.c_str());
            return 1;
        }
    }

    if (std::rename(temporaryPath.c_str(), outputPath.c_str()) != 0)
    {
        std::fprintf(stderr, "could not write %s\n", outputPath.c_str());
        return 1;
    }

    if (argc > 2)
        for (const auto& entry : entries)
            writePreview(std::string(argv[2]) + "/" + entry.name + ".wav", entry.bytes);

    return 0;
}
