#pragma once

/** A parameter value held to the normalised range 0..1; anything that is not
    a number counts as 0, so no setter can put a NaN into a coefficient. */
inline double normalisedValue(double v)
{
    if (! (v > 0.0))
        return 0.0;
    return v < 1.0 ? v : 1.0;
}
