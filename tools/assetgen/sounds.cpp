// The sound effects, synthesised: up to two layers (a tone and a noise) through one
// envelope and one low-pass filter. Plain arithmetic only (no sin, exp or pow), so the
// samples are the same on every machine that rounds IEEE doubles the usual way.
#include "sounds.h"

#include "picture.h"

#include <cstdint>
#include <cmath>

namespace {

enum Wave { WAVE_NONE, WAVE_SQUARE, WAVE_TRIANGLE, WAVE_SAW, WAVE_SINE, WAVE_NOISE };

struct Layer {
    Wave wave;
    double f0, f1;        // pitch at the start and at the end, Hz (noise: how often it changes)
    double curve;         // the slide follows t^curve (1: straight)
    double duty;          // share of a square's period spent high
    double level;
    double switchHz;      // two-tone: every 1/switchHz seconds the pitch alternates ...
    double switchRatio;   // ... between itself and itself times this (0: one tone)
};

struct SoundSpec {
    const char *file;
    double seconds;
    Layer tone, noise;
    double attack;            // seconds of the rise at the start
    double decayPower;        // then the level falls as (1 - t/seconds)^decayPower; 0: holds
    double pulseHz;           // beats: each period starts loud and dies away (0: none)
    double lowpass0, lowpass1;   // filter step at the start and at the end (1: open)
    double peak;              // the loudest sample, as a share of full scale
    uint32_t seed;
};

constexpr Layer NONE = {WAVE_NONE, 0, 0, 1, 0, 0, 0, 0};

// The effects, in the game's order.
const SoundSpec SOUNDS[] = {
    // The hero's shot: a quick falling square chirp with a little hiss.
    {"shot.wav", 0.16, {WAVE_SQUARE, 1400, 350, 0.6, 0.3, 1.0, 0, 0},
     {WAVE_NOISE, 12000, 3000, 1, 0, 0.15, 0, 0}, 0.002, 1.6, 0, 1.0, 1.0, 0.9, 1},
    // A cannon's shell leaving the barrel: a low falling thump and a burst of filtered noise.
    {"shell.wav", 0.40, {WAVE_SINE, 160, 50, 1, 0, 1.0, 0, 0},
     {WAVE_NOISE, 6000, 800, 1, 0, 0.6, 0, 0}, 0.004, 2.0, 0, 0.5, 0.1, 0.9, 2},
    // A two-way gun: a harder, shorter square bark.
    {"twoways.wav", 0.18, {WAVE_SQUARE, 620, 260, 1, 0.5, 0.8, 0, 0},
     {WAVE_NOISE, 9000, 2000, 1, 0, 0.3, 0, 0}, 0.002, 1.5, 0, 0.8, 0.4, 0.9, 3},
    // A ceiling gun's volley: a rising saw under a rush of noise.
    {"volley.wav", 0.30, {WAVE_SAW, 300, 900, 1, 0, 0.6, 0, 0},
     {WAVE_NOISE, 10000, 4000, 1, 0, 0.7, 0, 0}, 0.01, 1.2, 0, 0.6, 0.3, 0.9, 4},
    // A ceiling gun's ray finds the hero: a two-tone alarm, 880 and 660 Hz.
    {"alarm.wav", 0.48, {WAVE_SQUARE, 880, 880, 1, 0.5, 1.0, 12.5, 0.75}, NONE, 0.005, 0.4, 0, 0.7, 0.7, 0.8, 5},
    // An object explodes: noise sinking from a hiss to a rumble over a low sine.
    {"explosion.wav", 0.80, {WAVE_SINE, 90, 30, 1, 0, 0.5, 0, 0},
     {WAVE_NOISE, 7000, 300, 0.5, 0, 1.0, 0, 0}, 0.003, 2.2, 0, 0.7, 0.08, 0.95, 6},
    // A shot ends against a wall or the hero: a short tick.
    {"shotend.wav", 0.07, NONE, {WAVE_NOISE, 8000, 2000, 1, 0, 1.0, 0, 0}, 0.001, 2.0, 0, 0.6, 0.3, 0.8, 7},
    // The hero jumps: a rising square.
    {"jump.wav", 0.16, {WAVE_SQUARE, 280, 720, 1, 0.25, 1.0, 0, 0}, NONE, 0.004, 1.0, 0, 0.7, 0.7, 0.8, 8},
    // The hero lands: a dull low thud.
    {"land.wav", 0.09, {WAVE_TRIANGLE, 140, 60, 1, 0, 1.0, 0, 0},
     {WAVE_NOISE, 3000, 1000, 1, 0, 0.5, 0, 0}, 0.001, 2.0, 0, 0.5, 0.5, 0.85, 9},
    // Through an exit to another screen: a rising triangle that steps up by fifths.
    {"exit.wav", 0.45, {WAVE_TRIANGLE, 330, 990, 1, 0, 1.0, 20, 1.5}, NONE, 0.01, 0.8, 0, 1.0, 1.0, 0.8, 10},
    // A train car rolling: a loop of eight clacks a second over a low hum. It starts and
    // ends on a clack, so it repeats without a seam.
    {"train.wav", 0.50, {WAVE_TRIANGLE, 55, 55, 1, 0, 0.4, 0, 0},
     {WAVE_NOISE, 2000, 2000, 1, 0, 1.0, 0, 0}, 0.0, 0.0, 8, 0.25, 0.25, 0.8, 11},
};

double Frac(double v) { return v - std::floor(v); }

// One period of a wave at phase p in [0, 1), from -1 to 1.
double WaveAt(const Layer &l, double p) {
    switch (l.wave) {
    case WAVE_SQUARE: return p < l.duty ? 1.0 : -1.0;
    case WAVE_TRIANGLE: return p < 0.5 ? 4.0 * p - 1.0 : 3.0 - 4.0 * p;
    case WAVE_SAW: return 2.0 * p - 1.0;
    case WAVE_SINE: {   // two parabolas, within half a percent of a sine
        const double q = p < 0.5 ? 2.0 * p : 2.0 * p - 1.0;
        const double h = 4.0 * q * (1.0 - q);
        return p < 0.5 ? h : -h;
    }
    default: return 0.0;
    }
}

// t^curve for t in [0, 1] with the few curves the table uses, by plain arithmetic.
double Curve(double t, double curve) {
    if (curve == 0.5) return std::sqrt(t);   // correctly rounded everywhere
    if (curve == 0.6) return std::sqrt(t) * (0.8 + 0.2 * t);
    if (curve == 2.0) return t * t;
    return t;
}

// (1 - u)^power for the powers the table uses: a product of whole powers and square roots.
double Decay(double u, double power) {
    const double v = 1.0 - u;
    if (power <= 0.0) return 1.0;
    double r = 1.0;
    double left = power;
    while (left >= 1.0) {
        r *= v;
        left -= 1.0;
    }
    // The fraction of a power left over, to the nearest quarter.
    if (left >= 0.125) {
        const double s = std::sqrt(v);
        if (left < 0.375) r *= std::sqrt(s);
        else if (left < 0.625) r *= s;
        else r *= s * std::sqrt(s);
    }
    return r;
}

uint32_t NextRandom(uint32_t &state) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

std::vector<int16_t> Render(const SoundSpec &s) {
    const int count = (int)(s.seconds * SFX_FILE_RATE + 0.5);
    std::vector<double> out(count);
    double tonePhase = 0.0, noisePhase = 1.0, noiseValue = 0.0, filtered = 0.0;
    uint32_t random = 0x9E3779B9u ^ s.seed * 2654435761u;
    for (int i = 0; i < count; i++) {
        const double t = (double)i / SFX_FILE_RATE;
        const double u = (double)i / count;
        double v = 0.0;
        if (s.tone.wave != WAVE_NONE) {
            double f = s.tone.f0 + (s.tone.f1 - s.tone.f0) * Curve(u, s.tone.curve);
            if (s.tone.switchHz > 0.0 && (int)(t * s.tone.switchHz) % 2 == 1) f *= s.tone.switchRatio;
            tonePhase = Frac(tonePhase + f / SFX_FILE_RATE);
            v += s.tone.level * WaveAt(s.tone, tonePhase);
        }
        if (s.noise.wave == WAVE_NOISE) {
            const double f = s.noise.f0 + (s.noise.f1 - s.noise.f0) * Curve(u, s.noise.curve);
            noisePhase += f / SFX_FILE_RATE;
            if (noisePhase >= 1.0) {   // sample and hold: lower rates sound darker
                noisePhase = Frac(noisePhase);
                noiseValue = (double)(NextRandom(random) >> 8) / 8388608.0 - 1.0;
            }
            v += s.noise.level * noiseValue;
        }
        const double step = s.lowpass0 + (s.lowpass1 - s.lowpass0) * u;
        filtered += step * (v - filtered);
        double env = s.attack > 0.0 && t < s.attack ? t / s.attack : 1.0;
        env *= Decay(u, s.decayPower);
        if (s.pulseHz > 0.0) {
            const double beat = 1.0 - Frac(t * s.pulseHz);
            env *= 0.15 + 0.85 * beat * beat * beat;
        }
        out[i] = filtered * env;
    }
    double loudest = 0.0;
    for (double v : out) loudest = std::fmax(loudest, std::fabs(v));
    std::vector<int16_t> samples(count);
    const double scale = loudest > 0.0 ? s.peak * 32767.0 / loudest : 0.0;
    for (int i = 0; i < count; i++) samples[i] = (int16_t)std::lround(out[i] * scale);
    return samples;
}

void Put16(std::vector<uint8_t> &b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t> &b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
void PutTag(std::vector<uint8_t> &b, const char *tag) { b.insert(b.end(), tag, tag + 4); }

}  // namespace

std::vector<int16_t> SynthesiseSound(const std::string &file) {
    for (const SoundSpec &s : SOUNDS)
        if (file == s.file) return Render(s);
    return {};
}

std::vector<std::string> SoundFileNames() {
    std::vector<std::string> names;
    for (const SoundSpec &s : SOUNDS) names.push_back(s.file);
    return names;
}

std::vector<uint8_t> EncodeWav(const std::vector<int16_t> &samples, int rate, int channels) {
    const uint32_t dataBytes = (uint32_t)samples.size() * 2;
    std::vector<uint8_t> b;
    b.reserve(44 + dataBytes);
    PutTag(b, "RIFF");
    Put32(b, 36 + dataBytes);
    PutTag(b, "WAVE");
    PutTag(b, "fmt ");
    Put32(b, 16);
    Put16(b, 1);   // PCM
    Put16(b, (uint32_t)channels);
    Put32(b, (uint32_t)rate);
    Put32(b, (uint32_t)(rate * channels * 2));
    Put16(b, (uint32_t)(channels * 2));
    Put16(b, 16);
    PutTag(b, "data");
    Put32(b, dataBytes);
    for (int16_t s : samples) Put16(b, (uint16_t)s);
    return b;
}

bool GenerateSounds(const std::string &outDir, std::string *error) {
    for (const SoundSpec &s : SOUNDS) {
        const std::string path = outDir + "/" + s.file;
        if (!WriteFile(path, EncodeWav(Render(s), SFX_FILE_RATE, 1))) {
            *error = "cannot write " + path;
            return false;
        }
    }
    return true;
}
