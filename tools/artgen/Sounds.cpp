#include "Sounds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "LittleEndian.h"

namespace artgen {
namespace {

constexpr int kRate = 22050;

// One struck note: a few harmonics decaying at their own pace, with a short attack so the note
// does not click.
void addBell(std::vector<double>& out, double start, double frequency, double length, double gain) {
    const int first = static_cast<int>(start * kRate);
    const int count = static_cast<int>(length * kRate);
    if (out.size() < static_cast<std::size_t>(first + count)) out.resize(first + count, 0.0);
    const double partials[][3] = {{1.0, 1.0, 1.0}, {2.0, 0.35, 1.8}, {3.01, 0.12, 2.6}};
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double attack = std::min(1.0, t / 0.006);
        double v = 0;
        for (const auto& p : partials)
            v += p[1] * std::exp(-t * p[2] * 4.0 / length) * std::sin(2 * M_PI * frequency * p[0] * t);
        out[first + i] += gain * attack * v;
    }
}

// A soft rustle: noise whose brightness falls, shaped by a quick rise and a longer fall.
std::vector<double> pageTurn() {
    const int count = static_cast<int>(0.28 * kRate);
    std::vector<double> out(count);
    std::uint32_t seed = 0x2545F491u;  // fixed, so the file is the same on every run
    double low = 0, prev = 0;
    for (int i = 0; i < count; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const double noise = (seed >> 8) / double(1 << 24) * 2 - 1;
        const double t = static_cast<double>(i) / count;
        const double cutoff = 0.35 - 0.25 * t;
        low += cutoff * (noise - low);
        const double band = low - prev;  // drop the rumble below the rustle
        prev += 0.02 * (low - prev);
        const double envelope = std::min(1.0, t / 0.12) * std::pow(1 - t, 1.6);
        out[i] = 1.6 * band * envelope + 0.9 * low * envelope;
    }
    return out;
}

void normalise(std::vector<double>& samples, double peak) {
    double top = 0;
    for (double s : samples) top = std::max(top, std::abs(s));
    if (top <= 0) return;
    for (double& s : samples) s *= peak / top;
    // A short fade at the end so the last sample meets silence.
    const std::size_t fade = std::min<std::size_t>(samples.size(), kRate / 200);
    for (std::size_t i = 0; i < fade; ++i) samples[samples.size() - 1 - i] *= static_cast<double>(i) / fade;
}

}  // namespace

std::string wavFile(const std::vector<double>& samples, int sampleRate) {
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::string out;
    out.reserve(44 + dataBytes);
    out += "RIFF";
    put32(out, 36 + dataBytes);
    out += "WAVEfmt ";
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, 1);  // mono
    put32(out, static_cast<std::uint32_t>(sampleRate));
    put32(out, static_cast<std::uint32_t>(sampleRate * 2));
    put16(out, 2);
    put16(out, 16);
    out += "data";
    put32(out, dataBytes);
    for (double s : samples) {
        const double clamped = std::clamp(s, -1.0, 1.0);
        put16(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(clamped * 32767))));
    }
    return out;
}

std::vector<Sound> sounds() {
    std::vector<Sound> out;
    auto add = [&](std::string name, std::vector<double> samples, double peak) {
        normalise(samples, peak);
        out.push_back({std::move(name), wavFile(samples, kRate)});
    };

    // Welcome: a rising major arpeggio that settles on the octave.
    std::vector<double> welc;
    addBell(welc, 0.00, 523.25, 0.9, 0.6);   // C5
    addBell(welc, 0.12, 659.25, 0.85, 0.55); // E5
    addBell(welc, 0.24, 783.99, 0.8, 0.5);   // G5
    addBell(welc, 0.36, 1046.5, 0.9, 0.45);  // C6
    add("WELC.WAV", welc, 0.7);

    // Order sent: two quick notes going up, a fourth apart.
    std::vector<double> send;
    addBell(send, 0.00, 783.99, 0.3, 0.6);  // G5
    addBell(send, 0.09, 1046.5, 0.4, 0.6);  // C6
    add("SEND.WAV", send, 0.7);

    // The guest-count pad: one soft, clear note that asks for input.
    std::vector<double> rens;
    addBell(rens, 0.0, 880.0, 0.35, 0.6);  // A5
    add("RENS.WAV", rens, 0.6);

    add("TURNPAGE.WAV", pageTurn(), 0.6);
    return out;
}

}  // namespace artgen
