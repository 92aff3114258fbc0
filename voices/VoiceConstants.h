#pragma once

/** Numbers the voices share. */
namespace voiceconstants
{
constexpr double pi = 3.14159265358979323846;
constexpr double twoPi = 2.0 * pi;
/** A trigger's velocity (0..1) times this is a voice's peak level before its
    own gain: the float the level has always been computed from, widened. */
constexpr double velocityScale = static_cast<double>(2.645f);
} // namespace voiceconstants
