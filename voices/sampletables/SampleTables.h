#pragma once

#include <cstdint>

// The four built-in 8-bit cymbal tables: offset binary at a source rate of
// 31200 Hz, each byte XOR-ed with makeKey()[i % 64]. Their bytes are made at
// build time by voices/sampletables/Generator.cpp.
namespace sampletables
{
constexpr double sourceRate = 31200.0; // Hz

struct Table
{
    const std::uint8_t* bytes;
    std::uint32_t length; // samples(one byte each)
};

extern const Table closedHiHat; // 8128 samples
extern const Table openHiHat;   // 24722 samples
extern const Table crash;       // 32768 samples
extern const Table ride;        // 32768 samples
} // namespace sampletables
