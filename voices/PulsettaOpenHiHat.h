#pragma once

#include "voices/PulsettaHiHat.h"

/** The open hi-hat: the long hi-hat table with a slow decay. It chokes itself
    when its position reaches the open hat's ring-out point, and a closed
    hi-hat hit chokes it at once (through the core). */
class PulsettaOpenHiHat : public PulsettaHiHat
{
public:
    /** Source position (samples) from which the open hat is silent. */
    static constexpr double selfChokePosition = 16128.0;

    PulsettaOpenHiHat();
};
