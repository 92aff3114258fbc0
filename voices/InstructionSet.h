#pragma once

/** Which of the voices' sample loops run: the ones built for SSE2, which
    every x86-64 processor has, or the ones built for AVX2. Both give the same
    bits; AVX2 only gives them faster. */
enum class InstructionSet
{
    sse2,
    avx2
};

/** The widest set this processor and system can run (any thread). */
InstructionSet bestInstructionSet();
