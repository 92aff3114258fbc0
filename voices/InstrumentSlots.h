#pragma once

/** The eleven voice slots of the core, in instrument order, and the range of
    sound parameters that belongs to each voice. */
namespace instrument
{
enum Slot : int
{
    bassDrum = 0,
    snareDrum = 1,
    lowTom = 2,
    midTom = 3,
    hiTom = 4,
    rimShot = 5,
    handClap = 6,
    closedHiHat = 7,
    openHiHat = 8,
    crash = 9,
    ride = 10,
    accent = 11 // the accent track: no sound of its own
};

constexpr int numVoices = 11;

/** Sound parameter indices: 0..10 are the voices' levels, 11 the accent
    level, 12..48 the voices' own controls, 49 the main volume. */
constexpr int accentLevelParameter = 11;
constexpr int firstControlParameter = 12;
constexpr int mainVolumeParameter = 49;

/** The first sound parameter of each voice's own controls and how many it has. */
constexpr int firstControlOf[numVoices] = { 12, 17, 22, 27, 32, 37, 39, 41, 43, 45, 47 };
constexpr int controlCountOf[numVoices] = { 5, 5, 5, 5, 5, 2, 2, 2, 2, 2, 2 };
} // namespace instrument
