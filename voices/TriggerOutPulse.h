#pragma once

/** A band-limited rectangular pulse of about 16.4 ms, started on demand, for
    driving external gear from a voice's trigger. Two Dirichlet kernels (a
    positive impulse and a negative one 0.018 periods later) are integrated by
    a leaky integrator; a slow low-pass of the result is subtracted so the
    output always settles back to zero. */
class TriggerOutPulse
{
public:
    /** Sets the period for a rate (Hz) and makes the pulse idle. */
    void init(double sampleRate, double smoothingFactor);
    /** Restarts the pulse; the rising edge comes about 60 samples later. */
    void restart();
    /** One sample of the pulse (about -0.25..0.25). */
    double process();

    bool isRunning() const { return position < period * 0.5; }

    static constexpr double restartPosition = -60.1; // keeps the kernels off their 0/0 points

private:
    /** cos and sin of an angle that grows by a fixed step every sample: turned
        on by one complex multiplication instead of taking a sine. Started
        afresh at every restart, so its rounding cannot build up for longer
        than one pulse (well under 1e-10). */
    struct Phasor
    {
        double cosine = 1.0, sine = 0.0;

        void start(double angle);
        void turn(double byCosine, double bySine)
        {
            const double c = cosine * byCosine - sine * bySine;
            sine = sine * byCosine + cosine * bySine;
            cosine = c;
        }
    };

    /** One Dirichlet kernel sin(M x) / (M sin x) from its two phasors. */
    double kernel(const Phasor& x, const Phasor& mx) const { return mx.sine / (harmonics * x.sine); }

    double period = 1.0;       // P, samples
    double harmonics = 1.0;    // M, odd
    double shift = 0.0;        // D, samples between the two impulses' kernels
    double position = 1.0;     // n
    double kernelDifference = 0.0;
    double integrator = 0.0;
    double smoothed = 0.0;
    double smoothingRate = 0.0; // k * 0.001
    // The kernels' arguments x = pi (n + 1) / P and pi (n + D) / P, and M x.
    Phasor argumentA, harmonicA, argumentB, harmonicB;
    double stepCosine = 1.0, stepSine = 0.0;                 // of pi / P
    double harmonicStepCosine = 1.0, harmonicStepSine = 0.0; // of M pi / P
};
