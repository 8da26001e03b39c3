#include "sounds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "wave_file.h"

namespace brawl {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTopPartial = 9000.0;  // keeps every partial well under the Nyquist limit

using Track = std::vector<double>;

Track Silence(double seconds) {
  return Track(static_cast<size_t>(std::lround(seconds * kSampleRate)), 0.0);
}

double NoteHz(int semitones_from_a4) {
  return 440.0 * std::pow(2.0, semitones_from_a4 / 12.0);
}

// Small fixed generator: the noise is the same on every run.
struct Noise {
  uint32_t state;
  double Next() {
    state = state * 1664525u + 1013904223u;
    return (state >> 8) / double(1u << 24) * 2.0 - 1.0;
  }
};

struct Partial {
  double ratio, amplitude, decay_scale;
};
using Timbre = std::vector<Partial>;

Timbre SoftSquare() {
  return {{1, 1, 1}, {3, 0.22, 0.8}, {5, 0.08, 0.6}, {7, 0.03, 0.5}};
}
Timbre Bell() {
  return {{1, 1, 1}, {2, 0.45, 0.7}, {2.76, 0.3, 0.45}, {5.4, 0.14, 0.3}, {8.93, 0.06, 0.2}};
}
Timbre Brass() {
  Timbre t;
  for (int k = 1; k <= 10; ++k) t.push_back({double(k), 1.0 / k * (k <= 3 ? 1.0 : 0.7), 1.0});
  return t;
}
Timbre Pulse() {
  Timbre t;
  for (int k = 1; k <= 12; ++k) t.push_back({double(k), std::fabs(std::sin(kPi * k * 0.25)) / k, 1.0});
  return t;
}

struct Envelope {
  double attack = 0.005;  // seconds to full level
  double decay = 1e9;     // time constant of the fall after the attack
  double release = 0.02;  // linear fade at the end of the note
};

double Level(const Envelope& e, double t, double length, double decay_scale) {
  if (t < 0 || t >= length) return 0.0;
  double level =
      std::min(1.0, t / e.attack) * std::exp(-std::max(0.0, t - e.attack) / (e.decay * decay_scale));
  if (t > length - e.release) level *= (length - t) / e.release;
  return level;
}

void AddTone(Track& track, double start, double length, double hz, const Timbre& timbre, double gain,
             const Envelope& envelope, double vibrato = 0.0) {
  const size_t first = static_cast<size_t>(std::lround(start * kSampleRate));
  const size_t count = static_cast<size_t>(std::lround(length * kSampleRate));
  for (const Partial& p : timbre) {
    if (hz * p.ratio > kTopPartial) continue;
    double phase = 0.0;
    for (size_t i = 0; i < count && first + i < track.size(); ++i) {
      const double t = i / double(kSampleRate);
      const double bend = 1.0 + vibrato * std::sin(2 * kPi * 5.5 * t) * std::min(1.0, t / 0.15);
      phase += 2 * kPi * hz * p.ratio * bend / kSampleRate;
      track[first + i] += gain * p.amplitude * Level(envelope, t, length, p.decay_scale) * std::sin(phase);
    }
  }
}

// Raised-cosine fades at both ends, no offset, and one loudness for every sound: the
// loudest 50 ms of each is brought to the same level, never past the peak limit.
Track Finish(Track track, double fade_in, double fade_out) {
  double last_in = 0.0, last_out = 0.0;
  for (double& s : track) {  // a gentle high-pass: plucked strings drift
    const double out = s - last_in + 0.995 * last_out;
    last_in = s;
    last_out = out;
    s = out;
  }
  double mean = 0.0;
  for (double s : track) mean += s;
  mean /= track.size();
  for (double& s : track) s -= mean;
  const size_t in = static_cast<size_t>(fade_in * kSampleRate),
               out = static_cast<size_t>(fade_out * kSampleRate);
  for (size_t i = 0; i < in; ++i) track[i] *= 0.5 - 0.5 * std::cos(kPi * i / in);
  for (size_t i = 0; i < out; ++i) track[track.size() - 1 - i] *= 0.5 - 0.5 * std::cos(kPi * i / out);
  const size_t window = kSampleRate / 20;
  double loudest = 0.0, peak = 0.0, sum = 0.0;
  for (size_t i = 0; i < track.size(); ++i) {
    sum += track[i] * track[i];
    if (i >= window) sum -= track[i - window] * track[i - window];
    loudest = std::max(loudest, std::sqrt(std::max(0.0, sum) / window));
    peak = std::max(peak, std::fabs(track[i]));
  }
  const double gain = std::min(0.26 / loudest, 0.85 / peak);
  for (double& s : track) s *= gain;
  return track;
}

// "Ready": two short blips; "go": a bright major chord that rings out to the end.
Track ReadyGo() {
  Track t = Silence(1.0);
  const Envelope blip{0.008, 0.08, 0.03};
  AddTone(t, 0.00, 0.16, NoteHz(7), SoftSquare(), 0.5, blip);
  AddTone(t, 0.30, 0.16, NoteHz(7), SoftSquare(), 0.5, blip);
  const Envelope chord{0.008, 0.35, 0.12};
  for (const int note : {3, 7, 10, 15}) AddTone(t, 0.58, 0.42, NoteHz(note), SoftSquare(), 0.3, chord, 0.006);
  return Finish(t, 0.005, 0.02);
}

// A falling zap with a breath of noise at its start.
Track Fire() {
  Track t = Silence(0.16);
  Noise noise{7};
  double phase = 0.0, phase2 = 0.0;
  for (size_t i = 0; i < t.size(); ++i) {
    const double s = i / double(kSampleRate);
    const double hz = 280.0 + 1500.0 * std::exp(-s / 0.035);
    phase += 2 * kPi * hz / kSampleRate;
    phase2 += 2 * kPi * hz * 1.503 / kSampleRate;
    const double level = std::min(1.0, s / 0.002) * std::exp(-s / 0.06);
    const double tone = std::sin(phase) + 0.28 * std::sin(3 * phase) + 0.25 * std::sin(phase2);
    t[i] = level * tone + 0.25 * std::exp(-s / 0.008) * noise.Next();
  }
  return Finish(t, 0.005, 0.02);
}

// A struck grunt: a low thump, then a voice falling in pitch while its vowel opens from
// "o" to "a" (harmonics weighted by two moving resonances).
Track Hurt() {
  Track t = Silence(0.36);
  std::vector<double> phases(40, 0.0);
  for (size_t i = 0; i < t.size(); ++i) {
    const double s = i / double(kSampleRate);
    const double f0 = 120.0 + 95.0 * std::exp(-s / 0.12);
    const double open = std::min(1.0, s / 0.18);
    const double f1 = 450.0 + 300.0 * open, f2 = 800.0 + 400.0 * open;
    double voice = 0.0;
    for (size_t k = 1; k < phases.size(); ++k) {
      // Every harmonic keeps running and fades out toward the top, so none ever starts
      // or stops with a click as the pitch falls.
      const double hz = f0 * k;
      phases[k] += 2 * kPi * hz / kSampleRate;
      const double taper = std::clamp((4500.0 - hz) / 1500.0, 0.0, 1.0);
      const double r1 = 1.0 / (1.0 + std::pow((hz - f1) / 110.0, 2));
      const double r2 = 0.6 / (1.0 + std::pow((hz - f2) / 150.0, 2));
      voice += taper * (r1 + r2 + 0.04) / std::sqrt(double(k)) * std::sin(phases[k]);
    }
    const double level = std::min(1.0, s / 0.012) * (s < 0.2 ? 1.0 : std::exp(-(s - 0.2) / 0.05));
    const double thump = std::exp(-s / 0.03) * std::sin(2 * kPi * 85.0 * s) * 1.2;
    t[i] = level * voice * 0.6 + thump;
  }
  return Finish(t, 0.005, 0.03);
}

// A bell arpeggio climbing to the octave.
Track BellJingle() {
  Track t = Silence(1.2);
  const Envelope bell{0.004, 0.35, 0.08};
  const int notes[] = {3, 7, 10, 15};
  for (int i = 0; i < 4; ++i)
    AddTone(t, 0.12 * i, 1.2 - 0.12 * i, NoteHz(notes[i]), Bell(), i == 3 ? 0.55 : 0.4, bell);
  return Finish(t, 0.005, 0.03);
}

// A short fanfare: three quick notes and a held one.
Track Fanfare() {
  Track t = Silence(1.1);
  const Envelope quick{0.012, 0.5, 0.03}, held{0.02, 0.9, 0.25};
  for (int i = 0; i < 3; ++i) AddTone(t, 0.11 * i, 0.1, NoteHz(-2), Brass(), 0.35, quick);
  AddTone(t, 0.33, 0.77, NoteHz(3), Brass(), 0.35, held, 0.01);
  AddTone(t, 0.33, 0.77, NoteHz(-2), Brass(), 0.2, held, 0.01);
  return Finish(t, 0.005, 0.03);
}

// A bouncy chip-tune figure on a narrow pulse.
Track ChipTune() {
  Track t = Silence(0.9);
  const Envelope chip{0.006, 0.2, 0.02};
  const int notes[] = {15, 10, 7, 10, 15, 22};
  for (int i = 0; i < 6; ++i) {
    const double length = i == 5 ? 0.3 : 0.1;
    AddTone(t, 0.1 * i, length, NoteHz(notes[i]), Pulse(), 0.35, i == 5 ? Envelope{0.006, 0.15, 0.1} : chip);
  }
  return Finish(t, 0.005, 0.03);
}

// A plucked chord strummed upward (a noise burst ringing in a tuned delay line).
Track Strum() {
  Track t = Silence(1.4);
  Noise noise{2026};
  const int notes[] = {-17, -5, -1, 2, 7};
  for (int n = 0; n < 5; ++n) {
    const double hz = NoteHz(notes[n]);
    const size_t period = static_cast<size_t>(std::lround(kSampleRate / hz));
    std::vector<double> line(period);
    for (double& v : line) v = noise.Next();
    const size_t start = static_cast<size_t>(0.045 * n * kSampleRate);
    double previous = 0.0;
    for (size_t i = 0; start + i < t.size(); ++i) {
      const size_t at = i % period;
      const double v = line[at];
      line[at] = 0.996 * 0.5 * (v + previous);
      previous = v;
      t[start + i] += 0.3 * v * std::min(1.0, i / 40.0);
    }
  }
  return Finish(t, 0.005, 0.2);
}

}  // namespace

int WriteSounds(const std::string& folder) {
  const Track cue = ReadyGo();
  WriteWave(folder + "/readygo.wav", cue);
  WriteWave(folder + "/fire.wav", Fire());
  WriteWave(folder + "/ogaa.wav", Hurt());
  WriteWave(folder + "/title0.wav", BellJingle());
  WriteWave(folder + "/title1.wav", Fanfare());
  WriteWave(folder + "/title2.wav", ChipTune());
  WriteWave(folder + "/title3.wav", Strum());
  return static_cast<int>(std::lround(cue.size() * 1000.0 / kSampleRate));
}

}  // namespace brawl
