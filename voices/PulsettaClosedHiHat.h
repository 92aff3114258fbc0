#pragma once

#include "voices/PulsettaHiHat.h"

/** The closed hi-hat: the short hi-hat table with a quick rise and a decay
    set by its Decay control. An open hi-hat hit chokes it (through the core). */
class PulsettaClosedHiHat : public PulsettaHiHat
{
public:
    PulsettaClosedHiHat();
};
