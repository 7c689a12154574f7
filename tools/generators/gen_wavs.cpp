// Synthesises the clock's sounds: the alarm chirp and the three hourly tunes, as small
// 8-bit mono PCM files. Usage: gen_wavs OUTPUT_FOLDER
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 11025;
constexpr double kPi = 3.14159265358979;

struct NoteEvent {
    double start;   // seconds
    int midi;       // note number, 69 = A4
    double length;  // seconds the note rings
    double volume;
};

double Frequency(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

// A music-box / bell voice: a few inharmonic partials with their own decays.
void AddBell(std::vector<double>& out, const NoteEvent& n) {
    static const double partials[][3] = {{1.0, 1.0, 2.6}, {2.0, 0.45, 4.0}, {3.01, 0.22, 6.0}, {4.2, 0.10, 8.0}};
    double f = Frequency(n.midi);
    size_t begin = size_t(n.start * kRate);
    size_t count = size_t(n.length * kRate);
    for (size_t i = 0; i < count && begin + i < out.size(); ++i) {
        double t = double(i) / kRate;
        double attack = std::min(1.0, t / 0.004);
        double release = std::min(1.0, (n.length - t) / 0.05);
        double v = 0;
        for (auto& p : partials) {
            double pf = f * p[0];
            if (pf > kRate / 2.2) continue;
            v += p[1] * std::exp(-t * p[2]) * std::sin(2 * kPi * pf * t);
        }
        out[begin + i] += n.volume * attack * std::max(0.0, release) * v;
    }
}

// A soft square-ish beep for the alarm.
void AddBeep(std::vector<double>& out, double start, double freq, double length) {
    size_t begin = size_t(start * kRate);
    size_t count = size_t(length * kRate);
    for (size_t i = 0; i < count && begin + i < out.size(); ++i) {
        double t = double(i) / kRate;
        double env = std::min(1.0, t / 0.005) * std::min(1.0, (length - t) / 0.02);
        double s = std::sin(2 * kPi * freq * t);
        out[begin + i] += 0.6 * env * (s + 0.3 * std::sin(6 * kPi * freq * t));
    }
}

bool WriteWav(const std::string& path, std::vector<double> samples) {
    double peak = 1e-9;
    for (double s : samples) peak = std::max(peak, std::abs(s));
    std::vector<uint8_t> pcm;
    for (double s : samples) pcm.push_back(uint8_t(std::clamp(128 + int(std::lround(s / peak * 110)), 0, 255)));
    std::vector<uint8_t> f;
    auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) f.push_back(uint8_t(v >> (8 * i)));
    };
    auto put16 = [&](uint16_t v) {
        f.push_back(uint8_t(v));
        f.push_back(uint8_t(v >> 8));
    };
    auto tag = [&](const char* t) { f.insert(f.end(), t, t + 4); };
    tag("RIFF");
    put32(uint32_t(36 + pcm.size()));
    tag("WAVE");
    tag("fmt ");
    put32(16);
    put16(1);  // PCM
    put16(1);  // mono
    put32(kRate);
    put32(kRate);  // bytes per second
    put16(1);
    put16(8);
    tag("data");
    put32(uint32_t(pcm.size()));
    f.insert(f.end(), pcm.begin(), pcm.end());
    if (pcm.size() % 2) f.push_back(0);
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    bool ok = std::fwrite(f.data(), 1, f.size(), out) == f.size();
    return std::fclose(out) == 0 && ok;
}

// Plays a melody given as (midi, beats) pairs with an optional bass note per bar.
std::vector<double> Render(const std::vector<std::pair<int, double>>& melody, double beat, double tail,
                           const std::vector<int>& bass = {}, double barBeats = 4) {
    double total = 0;
    for (auto& m : melody) total += m.second;
    std::vector<double> out(size_t((total * beat + tail) * kRate), 0.0);
    double t = 0;
    for (auto& m : melody) {
        if (m.first > 0) AddBell(out, {t * beat, m.first, std::max(0.8, m.second * beat + 0.6), 0.8});
        t += m.second;
    }
    for (size_t i = 0; i < bass.size(); ++i)
        if (bass[i] > 0) AddBell(out, {i * barBeats * beat, bass[i], barBeats * beat + 0.5, 0.45});
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    std::string dir = argv[1];

    // Alarm: a bright double chirp, short enough to repeat every third of a second.
    std::vector<double> alarm(size_t(0.3 * kRate), 0.0);
    AddBeep(alarm, 0.00, 1568, 0.09);
    AddBeep(alarm, 0.13, 2093, 0.10);

    // Tune 1 (about 6 s): a rising music-box greeting in C major.
    const int C5 = 72, D5 = 74, E5 = 76, F5 = 77, G5 = 79, A5 = 81, B5 = 83, C6 = 84;
    std::vector<std::pair<int, double>> tune1 = {{C5, 1}, {E5, 1}, {G5, 1}, {C6, 2}, {B5, 1}, {G5, 1}, {A5, 1},
                                                 {F5, 2}, {D5, 1}, {F5, 1}, {E5, 1}, {D5, 1}, {C5, 3}};
    std::vector<double> music1 = Render(tune1, 0.3, 1.2, {48, 53, 55, 48});

    // Tune 2 (about 14 s): a gentle lullaby in F major, two phrases.
    const int F4 = 65, G4 = 67, A4 = 69, Bb4 = 70, C5b = 72, D5b = 74;
    std::vector<std::pair<int, double>> tune2 = {
        {F4, 1},  {A4, 1},  {C5b, 2}, {Bb4, 1},           {A4, 1},  {G4, 2},  {A4, 1}, {Bb4, 1}, {C5b, 1},
        {D5b, 1}, {C5b, 3}, {0, 1},   {D5b, 1},           {C5b, 1}, {Bb4, 2}, {A4, 1}, {G4, 1},  {F4, 2},
        {G4, 1},  {A4, 1},  {G4, 1},  {C5b - 12 + 12, 1}, {F4, 4}};
    std::vector<double> music2 = Render(tune2, 0.42, 1.6, {53, 58, 53, 48, 58, 53, 48, 53});

    // Tune 3 (about 17 s): the four-phrase tower chime, then the hour bell.
    const int E4 = 64, Fs4 = 66, Gs4 = 68, B3 = 59;
    std::vector<std::pair<int, double>> tune3 = {{Gs4, 1}, {Fs4, 1}, {E4, 1},      {B3, 2},      {0, 1},      {E4, 1},
                                                 {Gs4, 1}, {Fs4, 1}, {B3, 2},      {0, 1},       {E4, 1},     {Fs4, 1},
                                                 {Gs4, 1}, {E4, 2},  {0, 1},       {Gs4, 1},     {E4, 1},     {Fs4, 1},
                                                 {B3, 2},  {0, 2},   {40 + 12, 2}, {40 + 12, 2}, {40 + 12, 3}};
    std::vector<double> music3 = Render(tune3, 0.5, 2.5);

    bool ok = WriteWav(dir + "/alarm.wav", alarm) && WriteWav(dir + "/MUSIC1.WAV", music1) &&
              WriteWav(dir + "/MUSIC2.WAV", music2) && WriteWav(dir + "/MUSIC3.WAV", music3);
    if (!ok) {
        std::fprintf(stderr, "gen_wavs: cannot write into %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
