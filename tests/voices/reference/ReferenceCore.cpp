#include "ReferenceCore.h"

#include "voices/sampletables/SampleTableKey.h"
#include "voices/sampletables/SampleTables.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace reference
{
namespace
{
constexpr double pi = 3.14159265358979323846;
constexpr double twoPi = 2.0 * pi;
constexpr double velocityScale = static_cast<double>(2.645f);
constexpr double guard = 1e-20;

double held(double v) { return v > 0.0 ? (v < 1.0 ? v : 1.0) : 0.0; }
// The smoother every envelope is made of.
void approach(double& value, double target, double rate) { value = value - ((value - target) * rate + guard); }
double tanhKnee(double e) { return 1.0 - 2.0 / (e + 1.0); }

struct Biquad
{
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0, x1 = 0, x2 = 0, y1 = 0, y2 = 0;

    // Audio-EQ-cookbook designs, the frequency held below 0.45 of the rate.
    void design(int kind, double f, double width, double sr, bool widthIsQ = false)
    {
        f = std::min(std::max(f, 1e-3), sr * 0.45);
        const double w0 = twoPi * f / sr, s = std::sin(w0), c = std::cos(w0);
        const double alpha = widthIsQ ? s / (2.0 * width) : s * std::sinh(std::log(2.0) / 2.0 * width * w0 / s);
        const double a0 = 1.0 + alpha;
        double n0 = alpha, n1 = 0.0, n2 = -alpha; // band-pass
        if (kind == 0) n0 = n2 = (1.0 - c) / 2.0, n1 = 1.0 - c;     // low-pass
        if (kind == 1) n0 = n2 = (1.0 + c) / 2.0, n1 = -(1.0 + c);  // high-pass
        b0 = n0 / a0, b1 = n1 / a0, b2 = n2 / a0, a1 = -2.0 * c / a0, a2 = (1.0 - alpha) / a0;
        x1 = x2 = y1 = y2 = 0.0;
    }
    double run(double x, double offset)
    {
        const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2 + offset;
        x2 = x1, x1 = x, y2 = y1, y1 = y;
        return y;
    }
};

struct HighPass1 // one-pole high-pass, unity gain at Nyquist
{
    double pole = 0, gain = 0, in = 0, out = 0;
    void design(double f, double sr, double memory) { pole = std::exp(-twoPi * f / sr), gain = (pole + 1) / 2, in = out = memory; }
    double run(double x) { out = (x - in) * gain + pole * out + guard; in = x; return out; }
};

struct Resonator
{
    double g = 0, r = 0, m = 0, s1 = 0, s2 = 0, s3 = 0, s4 = 0;
    double run(double e)
    {
        const double limited = std::clamp(m, -1.0, 1.0);
        m = r * s4 * 0.582 + m * 0.418;
        const double u = m * 0.36 + limited * 0.64;
        s1 = std::clamp((e - u) * g + (1.0 - g) * s1 + guard, -1.0, 1.0);
        s2 = g * s1 + (1.0 - g) * s2 + guard;
        s3 = g * s2 + (1.0 - g) * s3 + guard;
        s4 = g * s3 + (1.0 - g) * s4 + guard;
        return s1 - s4;
    }
};
} // namespace

/** The base of every voice: the level, the two 1 Hz low-passes, the mix, the
    peak follower that switches the voice off. */
class Voice
{
public:
    Voice(double lp1Weight, double lp2Weight) : mix1(lp1Weight), mix2(lp2Weight) {}
    virtual ~Voice() = default;

    virtual void setSampleRate(double rate)
    {
        sr = rate, k = 2.0 * (1.0 - std::pow(0.5, 44100.0 / rate));
        active = false, pole1 = std::exp(-twoPi / rate), lp1 = lp2 = 0.0;
        levelRate = k * 0.002, peakDecay = k * 0.0002;
    }
    virtual void control(int, double) {}
    virtual void trigger(double) { start(); }
    virtual double model(double noise) = 0; // one raw sample while active
    void setLevel(double v) { levelTarget = v; }

    double process(double noise)
    {
        const double x = active ? model(noise) : 0.0;
        lp1 = x - (x - lp1) * pole1 + guard;
        lp2 = lp1 - (lp1 - lp2) * pole1 + guard;
        approach(level, levelTarget, levelRate);
        const double y = (mix1 * lp1 + mix2 * lp2 + x) * level;
        peak = peak - (peak * peakDecay + guard);
        peak = std::max(peak, std::fabs(y));
        if (peak < 3e-5)
            active = false;
        return y;
    }

    bool choked = false;

protected:
    void start() { active = true, peak = 0.01; }

    bool active = false;
    double sr = 44100.0, k = 1.0, levelTarget = 0.0;

private:
    double mix1, mix2, lp1 = 0, lp2 = 0, pole1 = 0, level = 0, levelRate = 0, peak = 0, peakDecay = 0;
};

namespace
{
class BassDrum : public Voice
{
public:
    BassDrum() : Voice(0.0, 5.0) {}
    void control(int c, double v) override { raw[c] = v, derive(); }
    void derive()
    {
        const double tune = raw[0], pitch = raw[1], attack = raw[2], decay = raw[3], depth = raw[4];
        tuneRate = (std::exp((tune + 1.0) * -4.795790545596896) * 0.7320499999984234 + 0.0006500000000030731) * k;
        pitchTop = pitch * 0.5 + 0.25;
        baseFrequency = std::exp((pitch + 1.0) * 1.4604727641424877) * 4.9119941345063864 + 8.839150326814135;
        attackGain = attack * 3.0 + 0.25;
        decayRate = (decay >= 0.5 ? 6.518421542318242e-5 / (decay * decay) - std::sqrt(decay) * 1.518421542318241e-5
                                  : std::exp(-decay) * 0.0025 - (decay * decay * 0.002978581871396472 + decay * 0.0010433623628649312))
                  * k;
        sweepDepth = std::pow(depth, 2.321928095) * 5.0;
    }
    void setSampleRate(double rate) override
    {
        Voice::setSampleRate(rate);
        derive();
        phase = pes = smoother = 0.0, shrink = 1.0, clickRate = k * 0.02, smootherRate = k * 0.01;
        noiseHigh.design(350.0, rate, -1.0), clickHigh.design(550.0, rate, 0.0);
        noiseLow.design(0, 3638.0, 3.0, rate), clickLow.design(0, 5555.0, 0.7, rate);
    }
    void trigger(double velocity) override
    {
        if (velocity == 0.0 || levelTarget == 0.0)
            return;
        start();
        gate = clickGate = 1.0, phase = pi / 2.0;
        amplitude = (velocity * velocityScale) * (velocity * velocityScale), doubled = 2.0 * amplitude;
        pe = pes = ae = aes = ce = 0.0, ne = 1.0;
        attackCounter = sr * 0.00228, holdCounter = sr * 0.057;
        peRate = aeRate = k * 0.07, smootherRate = k * 0.2, clickRate = k * 0.005;
    }
    double model(double noise) override
    {
        const bool attackOver = attackCounter < 0.0;
        attackCounter -= 1.0;
        if (attackOver)
        {
            smootherRate = 1.0, gate = 0.0, peRate = tuneRate;
            aeRate = holdCounter > 0.0 ? 0.0 : decayRate;
            holdCounter -= 1.0;
        }
        else
            phase = 0.5 * pi;
        if (attackCounter <= 0.0 && phase > 3.0 * pi / 4.0)
            clickGate = 0.0, clickRate = 1.0;

        approach(pe, gate, peRate), approach(pes, pe, 0.05 * k);
        approach(ae, gate * amplitude, aeRate), approach(aes, ae, 0.05 * k);
        phase += twoPi * ((pitchTop * 510.0 - baseFrequency) * sweepDepth * pes + baseFrequency) / sr;
        if (phase > twoPi)
            phase -= twoPi;
        double w = phase < pi ? (phase - 0.5 * pi) / pi * 0.5 : (0.5 * pi - phase + pi) / pi * 0.5;
        w = (3.0 * w - 0.04) * 2.5;

        double threshold = shrink * 0.6;
        shrink = shrink * (1.0 - k * 0.001 + guard);
        if (w >= -threshold && w <= threshold)
            shrink = 1.0, threshold = 0.6;
        double c = w;
        if (w > threshold)
            c = (tanhKnee(std::exp((w - threshold) * 3.6)) + guard) * 0.5555555555555556 + threshold;
        else if (w < -threshold)
            c = (tanhKnee(std::exp((threshold + w) * 3.6)) + guard) * 0.5555555555555556 - threshold;
        const double oscillator = (w * 0.02 + c * 0.175) * aes;

        const double high = noiseHigh.run(noiseLow.run(noise, guard));
        approach(ce, doubled * clickGate, clickRate);
        const double click = clickLow.run(clickHigh.run(ce), guard);
        const double noiseOut = -(high * 0.01 * doubled + click * 0.07);
        approach(ne, doubled * gate, 0.004 * k);
        const double raw0 = (noiseOut * ne * attackGain + oscillator) * 0.35 * 4.5;
        approach(smoother, raw0, smootherRate);
        return smoother;
    }

private:
    double raw[5] = { 0.5, 0.5, 0.25, 0.25, 0.5 }; // tune, pitch, attack, decay, depth
    double tuneRate = 0, decayRate = 0, pitchTop = 0, attackGain = 0, sweepDepth = 0, baseFrequency = 0;
    double phase = 0, smoother = 0, smootherRate = 0, shrink = 1, attackCounter = 0, holdCounter = 0;
    double gate = 0, clickGate = 0, amplitude = 0, doubled = 0;
    double pe = 0, pes = 0, peRate = 0, ae = 0, aes = 0, aeRate = 0, ce = 0, clickRate = 0, ne = 0;
    HighPass1 noiseHigh, clickHigh;
    Biquad noiseLow, clickLow;
};

class SnareDrum : public Voice
{
public:
    SnareDrum() : Voice(1.0, -10.0) {}
    void control(int c, double v) override { raw[c] = v, derive(); }
    void derive()
    {
        const double tune = raw[0], tone = raw[1], depth = raw[2], decay = raw[3], snappy = raw[4];
        tuneFactor = (tune - 0.5) * 0.64 + 1.0 - 0.02;
        toneRate = k / (1111.111111111111 + 8888.888888888883 * tone - 17777.777777777766 * tone * tone
                        + 17777.777777777774 * tone * tone * tone);
        sweepDepth = 2.0 * depth;
        decayRate = (std::exp(-2.0919371103777964 * decay) * 2.852083333337659 - 0.00208333332702613) * k;
        snappyAmount = 0.75 * snappy;
    }
    void setSampleRate(double rate) override
    {
        Voice::setSampleRate(rate);
        derive();
        for (auto* o : { &osc1, &osc2 })
            *o = Oscillator();
        osc1.cycle = osc2.cycle = 1;
        smoother = 0.0, smootherRate = 0.5;
        hp.design(3822.0, rate, 0.0);
        snappyHigh = previousNoise = 0.0;
        lp.design(0, 3900.0, 1.5, rate, true), bandHigh.design(1, 4000.0, 1.5, rate);
    }
    void trigger(double velocity) override
    {
        if (levelTarget == 0.0 || velocity == 0.0)
            return;
        start();
        linear = velocity * velocityScale, squared = linear * linear;
        for (auto* o : { &osc1, &osc2 })
            o->phase = pi / 2.0, o->sign = o->previousSign = 0.0, o->multiplier = 1.0, o->cycle = 0;
        gate = 1.0;
        attackCounter = noiseCounter = static_cast<int>(std::trunc(sr * 0.002));
        pitchRate = k * 0.07, toneRate12 = bodyRate = smootherRate = k * 0.2, snappyRate = k * 0.005, noiseRate = k * 0.9;
        noiseGate = 0.0;
        pitch1 = pitch2 = tone1 = tone2 = body = snappyEnvelope = noiseEnvelope = 0.0;
    }
    double model(double noise) override
    {
        if (attackCounter < 0)
        {
            smootherRate = 1.0, gate = 0.0;
            if (noiseCounter != 0)
                noiseGate = 1.0;
            snappyRate = toneRate, toneRate12 = decayRate * 0.001, pitchRate = k * 0.0025, bodyRate = k * 0.0003;
        }
        else
            osc1.phase = osc2.phase = 3.0 * pi / 8.0;
        --attackCounter;
        if (noiseGate == 1.0 && --noiseCounter < 1)
            noiseGate = 0.0, noiseRate = k * 0.09;

        const double gated = squared * gate;
        approach(pitch1, gate, pitchRate), approach(pitch2, gate, pitchRate);
        approach(tone1, gated, toneRate12), approach(tone2, gated, toneRate12), approach(body, gated, bodyRate);
        approach(snappyEnvelope, gated, snappyRate), approach(noiseEnvelope, squared * noiseGate, noiseRate);

        double w1 = osc1.advance(tuneFactor * 178.0 + (375.0 - 178.0) * sweepDepth * pitch1, sr, 2, 0.926);
        w1 = ((w1 - 1.0) / osc1.multiplier + 0.65) * 0.8 + 0.48;
        double w2 = osc2.advance(tuneFactor * 258.0 + (549.0 - 258.0) * sweepDepth * pitch2, sr, 3, 0.904);
        w2 = (w2 - 1.0) / osc2.multiplier + 0.75 + 0.6;
        if (w1 > 0.0)
            w1 = tanhKnee(std::exp(4.4 * w1)) / 2.2;
        else if (w1 < -0.3)
            w1 = tanhKnee(std::exp(7.0 * (w1 + 0.3))) / 3.5 - 0.3;
        if (w2 > 0.0)
            w2 = tanhKnee(std::exp(6.0 * w2)) / 3.0;
        else if (w2 < -0.35)
            w2 = tanhKnee(std::exp(9.2 * (w2 + 0.35))) / 4.6 - 0.35;
        w2 -= 0.18;
        const double tone = 0.4 * w2 * tone2 + w1 * tone1 + 0.03 * body * (0.4 * w2 + w1);

        // The snappy band: an inverted high-pass, then a low-pass run twice on the held input.
        snappyHigh = hp.pole * snappyHigh - (noise - previousNoise) * hp.gain + guard;
        previousNoise = noise;
        const double h = snappyHigh;
        const double first = lp.b0 * h + lp.b1 * lp.x1 + lp.b2 * lp.x2 - lp.a1 * lp.y1 - lp.a2 * lp.y2 + guard;
        const double band = lp.b0 * h + lp.b1 * h + lp.b2 * lp.x1 - lp.a1 * first - lp.a2 * lp.y1 + guard;
        lp.x1 = lp.x2 = h, lp.y2 = first, lp.y1 = band;
        const double high = bandHigh.run(band, guard);
        const double snap = std::max(0.0, 1.0 - std::exp(-2.0 * snappyEnvelope) - 0.05);
        const double raw0 = ((snap * 2.0 * band - high * noiseEnvelope) * snappyAmount * linear + tone * 0.5) * 0.748;
        approach(smoother, raw0, smootherRate);
        return smoother;
    }

private:
    struct Oscillator
    {
        double phase = 0, multiplier = 1, sign = 0, previousSign = 0;
        int cycle = 0;
        double advance(double f, double sr, int every, double stretch)
        {
            phase += twoPi * f / sr * multiplier;
            if (phase > twoPi)
                phase -= twoPi;
            previousSign = sign, sign = phase >= pi ? 1.0 : -1.0;
            if (previousSign < 0.0 && sign > 0.0)
                cycle = (cycle + 1) % every, multiplier = cycle == 0 ? stretch : 1.0;
            constexpr double shape = 0.5 * (pi + 1.0);
            return phase >= pi ? (pi / 2.0 - phase + pi) / pi * shape : (phase - pi / 2.0) / pi * shape;
        }
    };
    double raw[5] = { 0.5, 0.25, 0.5, 0.5, 0.5 }; // tune, tone, depth, decay, snappy
    double tuneFactor = 0, toneRate = 0, sweepDepth = 0, decayRate = 0, snappyAmount = 0;
    Oscillator osc1, osc2;
    double pitch1 = 0, pitch2 = 0, tone1 = 0, tone2 = 0, body = 0, snappyEnvelope = 0, noiseEnvelope = 0;
    double pitchRate = 0, toneRate12 = 0, bodyRate = 0, snappyRate = 0, noiseRate = 0;
    int attackCounter = 0, noiseCounter = 0;
    double gate = 0, noiseGate = 0, linear = 0, squared = 0, snappyHigh = 0, previousNoise = 0, smoother = 0, smootherRate = 0;
    HighPass1 hp;
    Biquad lp, bandHigh;
};

class Tom : public Voice
{
public:
    Tom(double f1, double f2, double f3) : Voice(100.0, 0.0), base { f1, f2, f3 } {}
    void control(int c, double v) override { raw[c] = v, derive(); }
    void derive()
    {
        const double tune = raw[0], tone = raw[1], depthValue = raw[2], decay = raw[3], tuneDecayValue = raw[4];
        tuneFactor = (tune - 0.5) * 0.64 + 1.0;
        toneRate = (std::exp(-10.385913701770846 * tone) * 0.09955307262569207 + 0.00044692737430453665) * k;
        depth = 0.8 * depthValue + 1.0;
        decayRate = (std::exp(-4.095385686728296 * decay) * 0.7118518518535202 + 0.18814814814779823) * 0.001 * k;
        tuneDecay = ((1.0 - tuneDecayValue) * (1.0 - tuneDecayValue) * 2.0 + 0.25) * k;
        if (released) // a released tom follows the knobs at once
            rate[mainE] = decayRate, rate[noiseE] = toneRate, rate[sweep1] = tuneDecay * 0.0015, rate[sweep2] = tuneDecay * 0.0002;
    }
    void setSampleRate(double rate0) override
    {
        Voice::setSampleRate(rate0);
        derive();
        for (auto& e : env)
            e = 0.0;
        for (int i = 0; i < 3; ++i)
            phase[i] = smoothed[i] = 0.0;
        waveRate = k * 0.01, rate[mainSmoothed] = k * 0.0008;
        dcBlocker.design(1, 10.0, 6.5, rate0);
    }
    void trigger(double velocity) override
    {
        if (levelTarget == 0.0)
            return;
        start();
        squared = (velocity * velocityScale) * (velocity * velocityScale);
        attackCounter = static_cast<int>(std::trunc(sr * 0.002));
        released = false, gate = 1.0;
        env[pitchE] = 0.5, rate[pitchE] = k * 0.8;
        for (int e : { mainE, second, third, mainSmoothed, noiseE, sweep1, sweep2 })
            env[e] = 0.0, rate[e] = k * 0.1;
        waveRate = k * 0.2, env[bright] = 0.0, rate[bright] = k * 0.05;
    }
    double model(double tomNoise) override
    {
        if (attackCounter >= 0)
            phase[0] = 1.3 * pi, phase[1] = 1.25 * pi, phase[2] = 1.3 * pi, --attackCounter;
        else if (! released)
        {
            released = true, gate = 0.0, waveRate = 1.0;
            rate[mainE] = decayRate, rate[noiseE] = toneRate, rate[pitchE] = k * 0.0007, rate[second] = k * 0.00045;
            rate[sweep1] = tuneDecay * 0.0015, rate[sweep2] = tuneDecay * 0.0002, rate[third] = k * 0.001, rate[bright] = k * 0.005;
        }
        const double target = squared * gate;
        for (int e : { mainE, second, third })
            approach(env[e], target, rate[e]);
        approach(env[mainSmoothed], env[mainE], rate[mainSmoothed]);
        approach(env[noiseE], target, rate[noiseE]);
        for (int e : { sweep1, sweep2, pitchE })
            approach(env[e], gate, rate[e]);
        approach(env[bright], 6.0 * gate, rate[bright]);

        const double sweep = (env[sweep1] + env[sweep2]) * 0.5, b = env[bright];
        double w[3];
        for (int i = 0; i < 3; ++i)
        {
            const double f = base[i], span = f * depth - f;
            const double s = 1.0 - (i == 2 ? 0.575 : 0.565) * (f + span * env[pitchE]) / f;
            phase[i] += twoPi * (f * tuneFactor + sweep * span) / sr;
            if (phase[i] > twoPi)
                phase[i] -= twoPi;
            const double wave = phase[i] >= twoPi * s ? (s * pi - phase[i] + pi) / pi / (1.0 - s) : (phase[i] - s * pi) / pi / s;
            approach(smoothed[i], wave, waveRate);
            w[i] = smoothed[i] * 0.8;
            if (i == 0 && w[0] >= 0.0)
                w[0] *= 5.0 * b + 1.0;
            if (w[i] > 0.1)
                w[i] = 0.1 + tanhKnee(std::exp(13.2 * (w[i] - 0.1))) * 0.15151515151515152;
            else if (w[i] < -0.1)
                w[i] = -0.1 - tanhKnee(std::exp(13.2 * (-w[i] - 0.1))) * 0.15151515151515152;
        }
        if (w[0] >= 0.0)
            w[0] *= 1.0 - 0.2 * b;
        const double mainLevel = 1.0 - std::exp(-env[mainSmoothed]);
        double body = ((1.0 - std::exp(-env[second])) + 1.25 * mainLevel) * w[0] + (1.0 - std::exp(-env[third])) * w[2]
                    + 0.75 * w[1] * mainLevel;
        body = dcBlocker.run(body, guard);
        return (env[noiseE] * tomNoise * 2.0 + body) * 0.143 * 4.5;
    }

private:
    enum { mainE, second, third, mainSmoothed, noiseE, sweep1, sweep2, pitchE, bright, numEnvelopes };
    double base[3];
    double raw[5] = { 0.5, 0.5, 0.5, 0.5, 0.5 }; // tune, tone, depth, decay, tune decay
    double tuneFactor = 0, toneRate = 0, depth = 0, decayRate = 0, tuneDecay = 0;
    double env[numEnvelopes] = {}, rate[numEnvelopes] = {};
    double phase[3] = {}, smoothed[3] = {}, waveRate = 0, gate = 0, squared = 0;
    int attackCounter = 0;
    bool released = true;
    Biquad dcBlocker;
};

class Rimshot : public Voice
{
public:
    Rimshot() : Voice(1.0, -10.0) {}
    void control(int c, double v) override { raw[c] = held(v), derive(); }
    void derive()
    {
        const double t = raw[0] + 0.5, d = 2.0 * raw[1];
        const double decayFactor = 1.0 - (d - 1.0) * 0.032327;
        const double loopGain = (t - 1.0) * 0.75 + (1.0 - (t - 0.5) * 0.5) * (d - 1.0);
        const double f[3] = { 520.0, 236.47, 1080.7 };
        for (int i = 0; i < 3; ++i)
            res[i].g = std::min(1.0, twoPi * (t * f[i] * decayFactor) / sr), res[i].r = loopGain + (i == 2 ? 2.6 : 2.7);
    }
    void setSampleRate(double rate) override
    {
        Voice::setSampleRate(rate);
        derive();
        for (auto& r : res)
            r.m = r.s1 = r.s2 = r.s3 = r.s4 = 0.0;
        excitation = 0.0;
        bandPass.design(2, 700.0, 4.0, rate);
    }
    void trigger(double velocity) override
    {
        if (levelTarget == 0.0)
            return;
        start();
        excitation = 1.0, amplitude = velocity * velocityScale;
    }
    double model(double) override
    {
        excitation *= 1.0 - k * 0.05;
        if (excitation < 1e-30)
            excitation = 0.0;
        const double a = std::clamp(res[0].run(excitation) * 2.5, -1.0, 1.0);
        const double b = res[1].run(excitation) * 1.25;
        const double c = std::clamp(res[2].run(excitation) * 2.5, -1.0, 1.0);
        double x = (a + b + c) * 8.0;
        if (x > 0.05)
            x = 0.05 + tanhKnee(std::exp(2.8 * (x - 0.05))) * 0.7142857142857143;
        else if (x < -0.05)
            x = -0.05 - tanhKnee(std::exp(2.8 * (-x - 0.05))) * 0.7142857142857143;
        return bandPass.run(x * 0.5, 0.0) * amplitude * 0.26775 * 5.625;
    }

private:
    double raw[2] = { 0.5, 0.5 };
    Resonator res[3];
    double excitation = 0, amplitude = 0;
    Biquad bandPass;
};

class HandClap : public Voice
{
public:
    HandClap() : Voice(1.0, -10.0) {}
    // Reverb is taken when the burst window closes: a sounding clap keeps its tail.
    void control(int c, double v) override { raw[c] = held(v), derive(); }
    void derive()
    {
        res.g = std::min(1.0, twoPi * ((1.5 * raw[0] + 0.25) * 1106.0) / sr);
        reverbRate = (std::exp(-13.365219449990862 * raw[1]) * 0.19985031351893462 + 0.00014968648106443428) * k;
    }
    void setSampleRate(double rate) override
    {
        Voice::setSampleRate(rate);
        res = Resonator();
        res.r = 1.5;
        derive();
        const double at44100[4] = { 0.01007, 0.00924, 0.01116, 0.0015 };
        for (int i = 0; i < 4; ++i)
            burstDecay[i] = std::pow(1.0 - at44100[i], 44100.0 / rate);
        burstRate = 1.0 - std::pow(0.9, 44100.0 / rate);
        burstSmoothed = 0.0;
        lowPole = std::exp(-twoPi * 800.0 / rate), low = 0.0;
        high.design(2300.0, rate, 0.0);
        burstIndex = 0, burst = 0.0, windowCounter = 0, window = 0.0, tail = 0.0, tailRate = reverbRate;
    }
    void trigger(double velocity) override
    {
        if (levelTarget == 0.0)
            return;
        start();
        amplitude = velocity * velocityScale;
        windowCounter = static_cast<std::int32_t>(sr * 0.033);
        window = 1.0, burstIndex = 0, burst = 1.0, tail = 0.0, tailRate = k * 0.004;
    }
    double model(double noise) override
    {
        if (windowCounter > 0 && --windowCounter == 0)
            window = 0.0, tailRate = reverbRate;
        burst = burst * burstDecay[burstIndex] + guard;
        if (burst <= 0.01 && burstIndex < 3 && window == 1.0)
            ++burstIndex, burst = burstIndex == 3 ? 0.6 : 1.0;
        const double band = res.run(noise);
        low = (1.0 - lowPole) * band + lowPole * low;
        const double snap = high.run(band);
        approach(tail, window, tailRate);
        approach(burstSmoothed, burst, burstRate);
        return (burstSmoothed * snap * 6.0 - low * tail * 0.2) * 0.5 * 3.125 * amplitude;
    }

private:
    double raw[2] = { 0.5, 1.0 };
    Resonator res;
    double burstDecay[4] = {}, burst = 0, burstRate = 0, burstSmoothed = 0, reverbRate = 0, tail = 0, tailRate = 0;
    std::int32_t burstIndex = 0, windowCounter = 0;
    double window = 0, lowPole = 0, low = 0, amplitude = 0;
    HighPass1 high;
};

/** The four voices playing a built-in 8-bit table through a cubic B-spline. */
class Sampled : public Voice
{
public:
    enum Kind { closedHat, openHat, crash, ride };
    Sampled(Kind kindToUse, const sampletables::Table& source) : Voice(1.0, -10.0), kind(kindToUse)
    {
        if (! hat())
            raw[1] = 1.0; // crash and ride start at their longest decay
        const auto key = sampletables::makeKey();
        for (std::uint32_t i = 0; i < source.length; ++i)
            table.push_back(static_cast<double>(source.bytes[i] ^ key[i % sampletables::keyLength]) / 128.0 - 1.0);
    }
    // A hat's decay rate is taken when its attack ends: a sounding hat keeps its decay.
    void control(int c, double v) override { raw[c] = held(v), derive(); }
    void derive()
    {
        const double t = raw[0], d = raw[1];
        if (kind == ride)
            tuneFactor = std::exp(-6.124135471939625 / (t + 1.0)) * 17.0398005844999 + 0.7826933488566354;
        else
            tuneFactor = std::exp(-6.30702670218395 / (hat() ? static_cast<double>(static_cast<float>(t) + 1.0f) : t + 1.0))
                             * 19.080986484137647 + 0.7152068355371914;
        if (kind == closedHat)
            decayRate = (std::pow(0.009513455798562357, d + 1.0) * 0.23644400215160355 + 0.0002806004366701215) * k;
        if (kind == openHat)
            decayRate = (std::pow(0.8325532073947626, 10.0 * d) * 0.0002499999999939329 + 5.000000001008943e-05) * k;
        decayFactor = d * 0.9 + 0.1;
    }
    void setSampleRate(double rate) override
    {
        Voice::setSampleRate(rate);
        derive();
        playing = choked = false, envelope = position = 0.0, envelopeRate = 0.5, step = 31200.0 / rate;
        smoothedTune = tuneFactor, smoothedDecay = decayFactor;
    }
    void trigger(double velocity) override
    {
        if (levelTarget == 0.0)
            return;
        start();
        position = 0.0, playing = true, envelope = 0.0;
        amplitude = (velocity * velocityScale) * (velocity * velocityScale);
        envelopeRate = k * 0.5;
        attackCounter = std::max(1, static_cast<std::int32_t>(sr * 0.000416));
    }
    double model(double) override
    {
        if (! playing)
            return 0.0;
        double tune = tuneFactor;
        if (kind != closedHat)
            approach(smoothedTune, tuneFactor, levelRate()), tune = smoothedTune;
        if (! hat())
            approach(smoothedDecay, decayFactor, levelRate());
        position += tune * step;
        if (kind == openHat && position >= 16128.0)
            choked = true;
        const double read = readAt(position);
        if (hat())
        {
            if (attackCounter > 0 && --attackCounter == 0)
                amplitude = 0.0, envelopeRate = decayRate;
            approach(envelope, amplitude, envelopeRate);
            return read * envelope * (kind == closedHat ? 0.04 : 0.025) * 4.5;
        }
        const double u = 1.0 - position / (smoothedDecay * 32768.0);
        const double e = u > 0.0 ? (std::exp(u) - 1.0) * 0.36787944117144233 : 0.0;
        return read * e * (kind == crash ? 0.07 : 0.045) * 4.5 * amplitude;
    }

private:
    bool hat() const { return kind == closedHat || kind == openHat; }
    double levelRate() const { return k * 0.002; }
    double readAt(double at)
    {
        const auto n = static_cast<std::int64_t>(std::floor(at));
        const auto end = static_cast<std::int64_t>(table.size());
        if (n >= end + 2)
        {
            playing = active = false;
            return 0.0;
        }
        auto point = [&](std::int64_t i) { return ! choked && i >= 0 && i < end ? table[static_cast<size_t>(i)] : 0.0; };
        const double y0 = point(n - 1), y1 = point(n), y2 = point(n + 1), y3 = point(n + 2), t = at - static_cast<double>(n);
        const double c0 = (y0 + y2) / 6.0 + y1 * 2.0 / 3.0, c1 = (y2 - y0) / 2.0, c2 = (y0 + y2) / 2.0 - y1;
        const double c3 = (y1 - y2) / 2.0 + (y3 - y0) / 6.0;
        return ((c3 * t + c2) * t + c1) * t + c0;
    }

    Kind kind;
    std::vector<double> table;
    double raw[2] = { 0.5, 0.5 };
    double tuneFactor = 1, decayRate = 0, decayFactor = 1, smoothedTune = 1, smoothedDecay = 1;
    double position = 0, step = 0, amplitude = 0, envelope = 0, envelopeRate = 0;
    std::int32_t attackCounter = 0;
    bool playing = false;
};
} // namespace

Core::Core()
{
    voices = { std::make_unique<BassDrum>(), std::make_unique<SnareDrum>(), std::make_unique<Tom>(88.97, 57.67, 165.6),
               std::make_unique<Tom>(110.0, 71.24, 181.65), std::make_unique<Tom>(132.2, 89.89, 249.7),
               std::make_unique<Rimshot>(), std::make_unique<HandClap>(),
               std::make_unique<Sampled>(Sampled::closedHat, sampletables::closedHiHat),
               std::make_unique<Sampled>(Sampled::openHat, sampletables::openHiHat),
               std::make_unique<Sampled>(Sampled::crash, sampletables::crash),
               std::make_unique<Sampled>(Sampled::ride, sampletables::ride) };
    setSampleRate(44100.0);
}

Core::~Core() = default;

void Core::setSampleRate(double rate)
{
    sampleRate = rate, k = 2.0 * (1.0 - std::pow(0.5, 44100.0 / rate));
    for (auto& voice : voices)
        voice->setSampleRate(rate);
    Biquad band;
    band.design(1, 800.0, 1.2, rate);
    b0 = band.b0, b1 = band.b1, b2 = band.b2, a1 = band.a1, a2 = band.a2, x1 = x2 = y1 = y2 = 0.0;
    lowPole = std::exp(-twoPi * 640.0 / rate), low = 0.0;
    burstPeak = burstEnvelope = 0.0, burstRate = k * 0.8, burstCounter = 0;
    s0 = 0x67452301u, s1 = 0xEFCDAB89u;
    masterRate = k * 0.002;
}

void Core::setParameter(int index, float value)
{
    const double v = held(static_cast<double>(value));
    static constexpr int first[11] = { 12, 17, 22, 27, 32, 37, 39, 41, 43, 45, 47 };
    static constexpr int count[11] = { 5, 5, 5, 5, 5, 2, 2, 2, 2, 2, 2 };
    if (index >= 0 && index < 11)
        voices[static_cast<size_t>(index)]->setLevel(v);
    else if (index == 49)
        mainVolume = v;
    else
        for (size_t slot = 0; slot < 11; ++slot)
            if (index >= first[slot] && index < first[slot] + count[slot])
                voices[slot]->control(index - first[slot], v);
}

void Core::trigger(int slot, float velocity)
{
    if (slot < 0 || slot > 10)
        return;
    voices[static_cast<size_t>(slot)]->trigger(static_cast<double>(velocity));
    if (slot >= 2 && slot <= 4)
    {
        burstPeak = std::max(burstPeak, static_cast<double>(velocity));
        burstRate = k * 0.8;
        burstCounter = static_cast<std::int32_t>(std::trunc(sampleRate * 0.002));
    }
    if (slot == 7 || slot == 8)
        voices[7]->choked = slot == 8, voices[8]->choked = slot == 7;
}

void Core::process(double* out)
{
    approach(master, mainVolume, masterRate);
    const double white = static_cast<double>(static_cast<float>(static_cast<std::int32_t>(s1)) * 2.3283064365386963e-10f);
    s0 ^= s1, s1 += s0;

    low = (1.0 - lowPole) * white + lowPole * low;
    const double y = b0 * low + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1, x1 = low, y2 = y1, y1 = y;
    if (burstCounter == 0)
        burstEnvelope = burstPeak, burstRate = k * 0.04;
    if (burstCounter >= 0)
        --burstCounter;
    approach(burstEnvelope, 0.0, burstRate);
    const double tomNoise = (burstEnvelope * 8.0 + 1.0) * y * -0.25;

    for (size_t slot = 0; slot < 11; ++slot)
    {
        const double input = slot >= 2 && slot <= 4 ? tomNoise : (slot == 0 || slot == 1 || slot == 6 ? white : 0.0);
        out[slot] = voices[slot]->process(input) * master;
    }
}
} // namespace reference
