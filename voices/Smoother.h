#pragma once

/** The recursive smoother every envelope of the voices is made of:
    value <- value - ((value - target) * rate + 1e-20). The rate is the
    fraction of the distance covered per sample; the offset keeps a settled
    value from decaying into denormal numbers. */
struct Smoother
{
    double value = 0.0;
    double rate = 0.0;

    double moveToward(double target)
    {
        value = value - ((value - target) * rate + 1e-20);
        return value;
    }
};
