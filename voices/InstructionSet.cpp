#include "voices/InstructionSet.h"

InstructionSet bestInstructionSet()
{
#if defined(__x86_64__) || defined(__i386__)
    // The compiler's check includes the system's support for the wider registers.
    if (__builtin_cpu_supports("avx2"))
        return InstructionSet::avx2;
#endif
    return InstructionSet::sse2;
}
