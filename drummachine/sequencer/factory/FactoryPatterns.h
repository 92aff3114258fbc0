#pragma once

#include <vector>

// The factory pattern bank as a table: eight banks of twelve, each a family of
// styles. Steps are written as in pattern files: "o" on, "O" accented,
// "X" flam, "." off; a row holds one character per step of the pattern.
namespace factory
{
enum Track { BD, SD, LT, MT, HT, RS, HC, CH, OH, CR, RD, AC };

struct Row
{
    Track track;
    const char* steps;
};

struct FactoryPattern
{
    const char* name;
    int length;      // steps
    int scale;       // steps per beat: 3 and 6 for triplet feels, 8 for rolls
    double tempo;    // BPM
    double shuffle;  // 0..0.8: how much longer the first step of each pair is
    double flam;     // 0..1 of the flam range, as the file keeps it
    std::vector<Row> rows;
};

struct FactoryBank
{
    const char* family;
    std::vector<FactoryPattern> patterns;
};

// Build tool only (allocates).
std::vector<FactoryBank> getFactoryBanks();
} // namespace factory
