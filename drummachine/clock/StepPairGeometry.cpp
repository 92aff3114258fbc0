#include "drummachine/clock/StepPairGeometry.h"

#include <cmath>

StepPairGeometry StepPairGeometry::around (double position, double stepLength, double shuffle, double gateFraction)
{
    const double pairLength = 2.0 * stepLength;

    StepPairGeometry g;
    g.pairEnd = std::ceil (position / pairLength) * pairLength;
    g.pairStart = g.pairEnd - pairLength;
    g.secondStart = g.pairEnd - stepLength + shuffle * stepLength;
    g.firstEnd = g.pairStart + (g.secondStart - g.pairStart) * gateFraction;
    g.secondEnd = g.secondStart + (g.pairEnd - g.secondStart) * gateFraction;

    const bool inSecondStep = position >= g.secondStart && g.secondStart > 0.0;
    g.notFirst = (2.0 * std::trunc (position / pairLength) + (inSecondStep ? 1.0 : 0.0)) != 0.0;
    return g;
}

bool StepPairGeometry::isInFirstHalfOfStep (double position) const
{
    if (position > secondStart)
        return position - secondStart < pairEnd - position;
    return position - pairStart < secondStart - position;
}
