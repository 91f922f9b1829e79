// Synthesises the game's 15 sound effects and writes them to assets/sounds as
// NN-name.wav, PCM 16-bit mono at 11025 samples per second.
//
//   gen_sounds [SOUNDS_DIR]
//
// Every sound is built from noise, filters and decaying partials with fixed
// seeds, so a run gives the same files every time. Each is scaled to peak at
// -3 dBFS: the game plays effects at half amplitude, so two of them together
// still stay clear of the 16-bit limit. Starts and ends are faded over a few
// milliseconds so that nothing clicks.
#include "tools/wav.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr double RATE = WAV_SAMPLE_RATE;
constexpr double PI = 3.14159265358979323846;
constexpr double PEAK = 0.7079; // -3 dBFS

using Wave = std::vector<double>;

Wave makeWave(double seconds) {
    return Wave(static_cast<size_t>(seconds * RATE + 0.5), 0.0);
}

double timeOf(size_t n) {
    return static_cast<double>(n) / RATE;
}

size_t sampleAt(double seconds) {
    return static_cast<size_t>(std::max(0.0, seconds) * RATE);
}

// A small fixed-seed generator: white noise and random choices that are the
// same on every machine.
struct Random {
    uint32_t state;
    uint32_t next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    double unit() { return (next() >> 8) / 16777216.0; } // [0, 1)
    double between(double lo, double hi) { return lo + (hi - lo) * unit(); }
    double noise() { return 2.0 * unit() - 1.0; } // [-1, 1)
};

// Second-order filter sections after the well-known audio cookbook formulas;
// their coefficients may be recomputed every sample for sweeps.
struct Biquad {
    double b0 = 0, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;

    double run(double x) {
        double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }
};

enum class Shape { Low, High, Band };

void tune(Biquad& f, Shape shape, double freq, double q) {
    freq = std::clamp(freq, 20.0, RATE * 0.45);
    double w = 2 * PI * freq / RATE;
    double alpha = std::sin(w) / (2 * q);
    double c = std::cos(w);
    double a0 = 1 + alpha;
    switch (shape) {
    case Shape::Low:
        f.b0 = (1 - c) / 2;
        f.b1 = 1 - c;
        f.b2 = (1 - c) / 2;
        break;
    case Shape::High:
        f.b0 = (1 + c) / 2;
        f.b1 = -(1 + c);
        f.b2 = (1 + c) / 2;
        break;
    case Shape::Band: // unit gain at the centre
        f.b0 = alpha;
        f.b1 = 0;
        f.b2 = -alpha;
        break;
    }
    f.b0 /= a0;
    f.b1 /= a0;
    f.b2 /= a0;
    f.a1 = -2 * c / a0;
    f.a2 = (1 - alpha) / a0;
}

Biquad filter(Shape shape, double freq, double q) {
    Biquad f;
    tune(f, shape, freq, q);
    return f;
}

// A struck body rings in a few partials that die away exponentially; each is
// added as a decaying sine starting at `start`.
struct Mode {
    double freq;
    double amp;
    double tau; // seconds for the partial to fall to 1/e
};

void strike(Wave& w, double start, const std::vector<Mode>& modes, double gain) {
    size_t from = sampleAt(start);
    for (const Mode& m : modes) {
        size_t length = std::min(w.size() - std::min(w.size(), from), sampleAt(m.tau * 7));
        for (size_t i = 0; i < length; i++) {
            double t = timeOf(i);
            // A 1 ms onset keeps the attack sharp without a step.
            double onset = std::min(1.0, t / 0.001);
            w[from + i] +=
                gain * m.amp * onset * std::exp(-t / m.tau) * std::sin(2 * PI * m.freq * t);
        }
    }
}

// A short burst of filtered noise: the contact of the strike.
void click(Wave& w, double start, double seconds, double brightness, double gain, Random& rnd) {
    Biquad lp = filter(Shape::Low, brightness, 0.7);
    size_t from = sampleAt(start);
    size_t length = sampleAt(seconds * 4);
    for (size_t i = 0; i < length && from + i < w.size(); i++)
        w[from + i] += gain * lp.run(rnd.noise()) * std::exp(-timeOf(i) / seconds);
}

// Filtered noise whose centre frequency and level follow functions of time.
void sweptNoise(Wave& w, Shape shape, double q, const std::function<double(double)>& freq,
                const std::function<double(double)>& level, Random& rnd, double start = 0) {
    Biquad f;
    for (size_t n = sampleAt(start); n < w.size(); n++) {
        double t = timeOf(n);
        tune(f, shape, freq(t), q);
        w[n] += level(t) * f.run(rnd.noise());
    }
}

// Raised-cosine fades at both ends, then scaled to the common peak.
void finish(Wave& w, double fadeIn, double fadeOut) {
    size_t in = std::min(w.size(), sampleAt(fadeIn));
    size_t out = std::min(w.size(), sampleAt(fadeOut));
    for (size_t i = 0; i < in; i++)
        w[i] *= 0.5 - 0.5 * std::cos(PI * i / in);
    for (size_t i = 0; i < out; i++)
        w[w.size() - 1 - i] *= 0.5 - 0.5 * std::cos(PI * i / out);
    double peak = 0;
    for (double s : w)
        peak = std::max(peak, std::abs(s));
    if (peak > 0)
        for (double& s : w)
            s *= PEAK / peak;
}

double attackDecay(double t, double attack, double tau) {
    return t < attack ? t / attack : std::exp(-(t - attack) / tau);
}

// ---------------------------------------------------------------------------

// A crack, a roar of noise whose brightness falls away, a low boom dropping
// in pitch and a long rumble underneath.
Wave explose() {
    Wave w = makeWave(1.45);
    Random rnd{0x1E5A0001};
    sweptNoise(
        w, Shape::High, 0.7, [](double) { return 1500.0; },
        [](double t) { return 1.2 * std::exp(-t / 0.012); }, rnd);
    sweptNoise(
        w, Shape::Low, 0.8, [](double t) { return 250 + 3500 * std::exp(-t / 0.12); },
        [](double t) { return 1.5 * attackDecay(t, 0.003, 0.30); }, rnd);
    Biquad rumble1 = filter(Shape::Low, 220, 0.7), rumble2 = filter(Shape::Low, 220, 0.7);
    double phase = 0;
    for (size_t n = 0; n < w.size(); n++) {
        double t = timeOf(n);
        w[n] += 1.6 * attackDecay(t, 0.02, 0.5) * rumble2.run(rumble1.run(rnd.noise()));
        phase += 2 * PI * (55 + 90 * std::exp(-t / 0.08)) / RATE;
        w[n] += 0.45 * (1 - std::exp(-t / 0.004)) * std::exp(-t / 0.35) * std::sin(phase);
    }
    finish(w, 0.001, 0.25);
    return w;
}

// Stone grinding on stone: irregular stick-slip jolts ringing through the
// door's low resonances, over a bed of friction noise, ending in a heavy thud
// as it comes to rest.
Wave doorend() {
    Wave w = makeWave(1.45);
    Random rnd{0xD0012002};
    const double grindEnd = 1.12;
    Wave jolts = makeWave(1.45);
    for (double t = 0.02; t < grindEnd - 0.03;) {
        click(jolts, t, 0.004, 1800, rnd.between(0.5, 1.0), rnd);
        // The door starts stiffly, runs faster, and slows into its stop.
        double rate = 18 + 16 * std::sin(PI * t / grindEnd);
        t += rnd.between(0.7, 1.3) / rate;
    }
    Biquad body1 = filter(Shape::Band, 190, 4), body2 = filter(Shape::Band, 430, 6);
    Biquad body3 = filter(Shape::Band, 880, 5), friction = filter(Shape::Band, 650, 1.2);
    for (size_t n = 0; n < w.size(); n++) {
        double t = timeOf(n);
        double level =
            t < grindEnd ? std::min(1.0, t / 0.08) * std::min(1.0, (grindEnd - t) / 0.1) : 0.0;
        double j = jolts[n];
        w[n] += 8.0 * body1.run(j) + 6.0 * body2.run(j) + 3.5 * body3.run(j);
        w[n] += level * 0.5 * friction.run(rnd.noise());
    }
    strike(w, grindEnd, {{70, 0.9, 0.13}, {140, 0.8, 0.07}, {290, 0.4, 0.04}}, 1.0);
    click(w, grindEnd, 0.01, 500, 1.5, rnd);
    finish(w, 0.005, 0.12);
    return w;
}

// A torch catching: a whoosh of noise that rises in pitch as the flame takes
// and settles down, with a soft low puff and a few early crackles.
Wave enflam() {
    Wave w = makeWave(0.8);
    Random rnd{0xE0F1A003};
    auto level = [](double t) {
        return t < 0.09 ? (t / 0.09) * (t / 0.09) : std::exp(-(t - 0.09) / 0.22);
    };
    sweptNoise(
        w, Shape::Band, 1.3,
        [](double t) {
            return t < 0.2 ? 300 + 1900 * t / 0.2 : 700 + 1500 * std::exp(-(t - 0.2) / 0.2);
        },
        level, rnd);
    sweptNoise(
        w, Shape::Low, 0.7, [](double) { return 220.0; }, [&](double t) { return 1.4 * level(t); },
        rnd);
    for (double t = 0.12; t < 0.6; t += rnd.between(0.03, 0.09)) {
        // One draw per statement: the order of a call's arguments is the
        // compiler's choice, and the files must not depend on it.
        double pitch = rnd.between(2200, 3400);
        double gain = rnd.between(0.1, 0.25) * level(t);
        strike(w, t, {{pitch, 1, 0.003}}, gain);
    }
    finish(w, 0.003, 0.1);
    return w;
}

// A ball dropping into a wooden box: a hollow knock from the box's low modes,
// then smaller and quicker bounces as it settles.
Wave ballbox() {
    Wave w = makeWave(0.55);
    Random rnd{0xBA11B004};
    const std::vector<Mode> box = {
        {165, 1.0, 0.09}, {340, 0.6, 0.06}, {590, 0.4, 0.04}, {1250, 0.25, 0.015}};
    const double hits[][2] = {{0.0, 1.0}, {0.14, 0.45}, {0.23, 0.2}, {0.285, 0.08}};
    for (const auto& hit : hits) {
        strike(w, hit[0] + 0.002, box, hit[1]);
        click(w, hit[0] + 0.002, 0.002, 3000, 0.6 * hit[1], rnd);
    }
    finish(w, 0.001, 0.1);
    return w;
}

// The player recoiling from fire: a short low puff, then a sizzling hiss that
// flickers as it dies away.
Wave infire() {
    Wave w = makeWave(0.55);
    Random rnd{0x1AF1E005};
    // The flicker: a fresh random level every 10 ms, smoothed.
    Wave flicker = makeWave(0.55);
    double target = 1, value = 1;
    for (size_t n = 0; n < flicker.size(); n++) {
        if (n % 110 == 0)
            target = rnd.between(0.5, 1.0);
        value += (target - value) * 0.02;
        flicker[n] = value;
    }
    Biquad hp = filter(Shape::High, 2000, 0.7);
    Biquad band = filter(Shape::Band, 3600, 0.8);
    Biquad puff = filter(Shape::Low, 300, 0.7);
    for (size_t n = 0; n < w.size(); n++) {
        double t = timeOf(n);
        w[n] += 1.6 * flicker[n] * attackDecay(t, 0.012, 0.18) * band.run(hp.run(rnd.noise()));
        w[n] += 2.0 * attackDecay(t, 0.005, 0.03) * puff.run(rnd.noise());
    }
    finish(w, 0.002, 0.1);
    return w;
}

// A key turning in a lock: a faint scrape, a light click of the wards and the
// solid clack of the bolt drawing back.
Wave serrure() {
    Wave w = makeWave(0.45);
    Random rnd{0x5E4404E6};
    sweptNoise(
        w, Shape::Band, 3, [](double t) { return 2200 + 1500 * t; },
        [](double t) { return t < 0.1 ? 0.25 * std::sin(PI * t / 0.1) : 0.0; }, rnd);
    strike(w, 0.1, {{2300, 0.6, 0.012}, {3550, 0.4, 0.01}, {4700, 0.3, 0.006}}, 0.7);
    click(w, 0.1, 0.0015, 4000, 0.4, rnd);
    strike(w, 0.24, {{850, 1.0, 0.04}, {1900, 0.6, 0.025}, {3100, 0.4, 0.015}}, 1.0);
    click(w, 0.24, 0.002, 2500, 0.6, rnd);
    finish(w, 0.002, 0.06);
    return w;
}

// A lever thrown: the catch clicks free, then the arm clunks against its stop.
Wave switchSound() {
    Wave w = makeWave(0.35);
    Random rnd{0x5A17C007};
    strike(w, 0.0, {{1800, 0.5, 0.01}, {2900, 0.35, 0.008}}, 0.6);
    click(w, 0.0, 0.0015, 3500, 0.3, rnd);
    strike(w, 0.06, {{180, 1.0, 0.07}, {380, 0.7, 0.05}, {760, 0.45, 0.03}, {1500, 0.2, 0.01}},
           1.0);
    click(w, 0.06, 0.005, 1000, 0.8, rnd);
    finish(w, 0.001, 0.06);
    return w;
}

// Flowing water: bubbles that rise in pitch as they close, over a gurgling
// low bed that swells and ebbs.
Wave water() {
    Wave w = makeWave(0.9);
    Random rnd{0x3A7E4008};
    Biquad bed = filter(Shape::Low, 320, 0.9);
    double swell = 0;
    for (size_t n = 0; n < w.size(); n++) {
        double t = timeOf(n);
        swell = 0.6 + 0.4 * std::sin(2 * PI * 5.5 * t + 1.3 * std::sin(2 * PI * 1.7 * t));
        w[n] += 0.5 * swell * bed.run(rnd.noise());
    }
    for (int b = 0; b < 26; b++) {
        double start = rnd.between(0.0, 0.75);
        double f0 = rnd.between(350, 1100);
        double tau = rnd.between(0.01, 0.028);
        double amp = rnd.between(0.35, 1.0);
        size_t from = sampleAt(start);
        double phase = 0;
        for (size_t i = 0; i < sampleAt(tau * 6) && from + i < w.size(); i++) {
            double t = timeOf(i);
            phase += 2 * PI * f0 * (1 + 5 * t) / RATE;
            w[from + i] += amp * std::min(1.0, t / 0.002) * std::exp(-t / tau) * std::sin(phase);
        }
    }
    finish(w, 0.03, 0.15);
    return w;
}

// The bars of an iron grille: many small, quick impacts each setting a few
// inharmonic metal partials ringing, swelling and dying away.
void rattle(Wave& w, double from, double to, double rate, double gain, Random& rnd) {
    const double bars[] = {1020, 1650, 2380, 3170, 4010};
    for (double t = from; t < to; t += rnd.between(0.6, 1.4) / rate) {
        double level = gain * std::sin(PI * (t - from) / (to - from));
        std::vector<Mode> modes;
        for (double f : bars)
            if (rnd.unit() < 0.7)
                modes.push_back({f * rnd.between(0.97, 1.03), rnd.between(0.3, 1.0),
                                 rnd.between(0.012, 0.035)});
        if (rnd.unit() < 0.3)
            modes.push_back({260, 1.2, 0.04});
        strike(w, t, modes, level * rnd.between(0.5, 1.0));
        click(w, t, 0.001, 4000, 0.3 * level, rnd);
    }
}

Wave grille() {
    Wave w = makeWave(0.8);
    Random rnd{0x6A111009};
    rattle(w, 0.0, 0.68, 24, 1.0, rnd);
    finish(w, 0.002, 0.1);
    return w;
}

// The grille swinging shut: a short rattle, then one full metallic clang with
// a dull thud in it, and a last small bounce.
Wave grillec() {
    Wave w = makeWave(0.75);
    Random rnd{0x6A11C00A};
    rattle(w, 0.0, 0.16, 26, 0.5, rnd);
    const std::vector<Mode> clang = {{410, 1.0, 0.25},
                                     {1090, 0.7, 0.2},
                                     {1870, 0.5, 0.14},
                                     {2760, 0.35, 0.1},
                                     {3650, 0.25, 0.07}};
    strike(w, 0.18, clang, 1.0);
    strike(w, 0.18, {{90, 1.2, 0.08}}, 1.0);
    click(w, 0.18, 0.004, 1500, 1.0, rnd);
    strike(w, 0.33, clang, 0.2);
    finish(w, 0.002, 0.12);
    return w;
}

// Stained glass: three light strikes of glass chiming in high, slightly
// inharmonic partials, with a slow beat between close pairs for shimmer.
Wave vitrail() {
    Wave w = makeWave(0.9);
    Random rnd{0x7171A00B};
    strike(w, 0.0, {{1568, 1.0, 0.35}, {1571, 0.5, 0.35}, {2890, 0.5, 0.22}, {4233, 0.3, 0.12}},
           1.0);
    click(w, 0.0, 0.0008, 5000, 0.3, rnd);
    strike(w, 0.12, {{2093, 0.7, 0.3}, {2097, 0.3, 0.3}, {3870, 0.35, 0.18}}, 0.9);
    click(w, 0.12, 0.0008, 5000, 0.2, rnd);
    strike(w, 0.22, {{1760, 0.5, 0.3}, {4100, 0.2, 0.1}}, 0.8);
    finish(w, 0.001, 0.15);
    return w;
}

// Leaving by the exit: a chord of three detuned voices gliding up three
// octaves with a fast tremolo, sprinkled with more and more high sparkles.
Wave telep() {
    Wave w = makeWave(0.95);
    Random rnd{0x7E1E900C};
    const double ratios[] = {1.0, 1.007, 1.5, 1.51, 2.0, 2.013};
    double phases[6] = {};
    for (size_t n = 0; n < w.size(); n++) {
        double t = timeOf(n);
        double base = 220 * std::pow(2.0, 3 * std::min(t, 0.85) / 0.85);
        double tremolo = 1 - 0.35 * (0.5 + 0.5 * std::sin(2 * PI * 16 * t));
        double level = std::min(1.0, t / 0.1) * std::min(1.0, (0.95 - t) / 0.3);
        double sum = 0;
        for (int v = 0; v < 6; v++) {
            phases[v] += 2 * PI * base * ratios[v] / RATE;
            sum += std::sin(phases[v]) / (1 + v / 2);
        }
        w[n] += 0.3 * level * tremolo * sum;
    }
    for (double t = 0.05; t < 0.85; t += rnd.between(0.01, 0.08) * (1 - t))
        strike(w, t, {{rnd.between(3000, 4600), 1, 0.008}}, 0.25 * std::min(1.0, t / 0.4));
    finish(w, 0.005, 0.05);
    return w;
}

// The keyboard beep: a short square-ish tone at 1 kHz.
Wave bipkbd() {
    Wave w = makeWave(0.1);
    for (size_t n = 0; n < w.size(); n++) {
        double x = 2 * PI * 1000 * timeOf(n);
        w[n] = std::sin(x) + 0.3 * std::sin(3 * x) + 0.15 * std::sin(5 * x);
    }
    finish(w, 0.004, 0.008);
    return w;
}

// A blade cutting the air: noise through a narrow band that sweeps up and
// back down as the swing passes, quick to rise and slower to fade.
Wave sword() {
    Wave w = makeWave(0.45);
    Random rnd{0x5A0D000E};
    auto bell = [](double t) {
        double width = t < 0.17 ? 0.05 : 0.09;
        double x = (t - 0.17) / width;
        return std::exp(-x * x);
    };
    sweptNoise(
        w, Shape::Band, 2.2, [&](double t) { return 500 + 3000 * bell(t); }, bell, rnd);
    finish(w, 0.005, 0.05);
    return w;
}

// A float catching fire: a quick ignition puff, then a growing fire roar
// full of sharp crackles and pops.
Wave cbrule() {
    Wave w = makeWave(0.9);
    Random rnd{0xCB401E0F};
    sweptNoise(
        w, Shape::Band, 1.5, [](double t) { return 400 + 12000 * t; },
        [](double t) { return t < 0.12 ? 0.8 * std::sin(PI * t / 0.12) : 0.0; }, rnd);
    auto fire = [](double t) {
        return std::min(1.0, t / 0.25) * std::exp(-std::max(0.0, t - 0.4) / 0.35);
    };
    sweptNoise(
        w, Shape::Band, 0.7, [](double) { return 800.0; }, [&](double t) { return 0.5 * fire(t); },
        rnd);
    sweptNoise(
        w, Shape::Low, 0.7, [](double) { return 250.0; }, [&](double t) { return 0.8 * fire(t); },
        rnd);
    for (double t = 0.08; t < 0.85; t += rnd.between(0.004, 0.04)) {
        double gain = rnd.between(0.2, 1.0) * fire(t);
        strike(w, t, {{rnd.between(1800, 3800), 1, rnd.between(0.002, 0.005)}}, gain);
        click(w, t, 0.0005, 5000, gain * 0.8, rnd);
    }
    finish(w, 0.002, 0.12);
    return w;
}

std::vector<int16_t> toSamples(const Wave& w) {
    std::vector<int16_t> samples(w.size());
    for (size_t n = 0; n < w.size(); n++)
        samples[n] = static_cast<int16_t>(std::lround(std::clamp(w[n], -1.0, 1.0) * 32767));
    return samples;
}

struct SoundMaker {
    const char* file;
    Wave (*make)();
};

const SoundMaker SOUNDS[] = {
    {"01-explose.wav", explose},    {"02-doorend.wav", doorend}, {"03-enflam.wav", enflam},
    {"04-ballbox.wav", ballbox},    {"05-infire.wav", infire},   {"06-serrure.wav", serrure},
    {"07-switch.wav", switchSound}, {"08-water.wav", water},     {"09-grille.wav", grille},
    {"10-grillec.wav", grillec},    {"11-vitrail.wav", vitrail}, {"12-telep.wav", telep},
    {"13-bipkbd.wav", bipkbd},      {"14-sword.wav", sword},     {"15-cbrule.wav", cbrule},
};

} // namespace

int main(int argc, char** argv) {
    std::string dir = argc > 1 ? argv[1] : "assets/sounds";
    for (const SoundMaker& sound : SOUNDS) {
        std::vector<int16_t> samples = toSamples(sound.make());
        std::string error = writeWav(dir + "/" + sound.file, samples);
        if (!error.empty()) {
            std::fprintf(stderr, "gen_sounds: %s: %s\n", sound.file, error.c_str());
            return 1;
        }
        std::printf("%s  %zu samples\n", sound.file, samples.size());
    }
    return 0;
}
