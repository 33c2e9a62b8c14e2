// gen_sounds OUTDIR
//
// Synthesises the game's sounds and writes them as WAV files (RIFF, PCM,
// 16 bits, mono, 22050 samples a second) into OUTDIR:
//   note1.wav ... note10.wav  the note of each palette position: the major
//                             pentatonic scale from C5 up two octaves, so any
//                             sequence of picks sounds pleasant
//   pop.wav                   a fill: a short drop in pitch, like a bubble
//   cheer.wav                 a solved picture: a rising arpeggio that ends
//                             on a ringing chord
//
// Every sound starts and ends at silence (a short rise, a smooth fade to 0),
// so no speaker clicks, and peaks at about a third of full scale. A tail of
// silence follows: a player that stops its output as soon as the last
// sample is handed over drops what is still buffered, and that is then
// silence rather than the end of the sound.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

#include "writefile.h"

namespace {

constexpr int Rate = 22050;       // samples a second
constexpr double Level = 0.33;    // the loudest sample, of full scale
constexpr double Attack = 0.008;  // seconds of rise at the start
constexpr double Release = 0.04;  // seconds of fade at the end
constexpr double Tail = 0.15;     // seconds of silence after the sound
constexpr double Pi = std::numbers::pi;

// C5 D5 E5 G5 A5, an octave higher, and so on.
double PentatonicFrequency(int AStep) {
  constexpr int Semitones[5] = {0, 2, 4, 7, 9};
  const int semitone = 12 * (AStep / 5) + Semitones[AStep % 5];
  return 523.2511 * std::pow(2.0, semitone / 12.0);
}

using TSamples = std::vector<double>;

TSamples Silence(double ASeconds) {
  return TSamples(size_t(std::lround(ASeconds * Rate)), 0.0);
}

// A soft bell-like tone: a sine with a little of its octave, dying away.
void AddTone(TSamples& AOut, double AStart, double AFrequency, double ASeconds, double AGain,
             double ADecay) {
  const size_t first = size_t(std::lround(AStart * Rate));
  const size_t count = size_t(std::lround(ASeconds * Rate));
  for (size_t i = 0; i < count && first + i < AOut.size(); ++i) {
    const double t = double(i) / Rate;
    const double rise = t < Attack ? 0.5 - 0.5 * std::cos(Pi * t / Attack) : 1.0;
    const double tail = ASeconds - t;
    const double fall = tail < Release ? 0.5 - 0.5 * std::cos(Pi * tail / Release) : 1.0;
    const double body = std::exp(-t * ADecay);
    const double wave =
        std::sin(2 * Pi * AFrequency * t) + 0.18 * std::sin(4 * Pi * AFrequency * t);
    AOut[first + i] += AGain * rise * fall * body * wave;
  }
}

// Scales the loudest sample to Level, then fades the last Release seconds to
// exactly 0, whatever was added there.
void Finish(TSamples& AOut) {
  double peak = 0;
  for (double s : AOut) peak = std::max(peak, std::fabs(s));
  if (peak > 0)
    for (double& s : AOut) s *= Level / peak;
  const size_t fade = std::min(AOut.size(), size_t(Release * Rate));
  for (size_t i = 0; i < fade; ++i) {
    const double k = double(i) / double(fade);  // 0 at the last sample
    AOut[AOut.size() - 1 - i] *= 0.5 - 0.5 * std::cos(Pi * k);
  }
  if (!AOut.empty()) AOut.front() = AOut.back() = 0;
  AOut.resize(AOut.size() + size_t(Tail * Rate), 0.0);
}

TSamples Note(int AStep) {
  TSamples out = Silence(0.3);
  AddTone(out, 0, PentatonicFrequency(AStep), 0.3, 1.0, 9.0);
  Finish(out);
  return out;
}

// A sine gliding down from 880 to 330 Hz over its 0.14 s, its phase followed
// so the glide stays smooth.
TSamples Pop() {
  TSamples out = Silence(0.16);
  const double seconds = 0.14;
  const size_t count = size_t(seconds * Rate);
  double phase = 0;
  for (size_t i = 0; i < count; ++i) {
    const double t = double(i) / Rate;
    const double f = 330 + (880 - 330) * std::exp(-t * 28);
    phase += 2 * Pi * f / Rate;
    const double rise = t < 0.004 ? 0.5 - 0.5 * std::cos(Pi * t / 0.004) : 1.0;
    out[i] = rise * std::exp(-t * 22) * std::sin(phase);
  }
  Finish(out);
  return out;
}

// C E G C E, a note every 0.11 s, then C E G C together ringing out.
TSamples Cheer() {
  TSamples out = Silence(1.6);
  const int steps[] = {0, 2, 3, 5, 7};
  double at = 0;
  for (int step : steps) {
    AddTone(out, at, PentatonicFrequency(step), 0.35, 0.8, 7.0);
    at += 0.11;
  }
  for (int step : {5, 7, 8, 10}) AddTone(out, at, PentatonicFrequency(step), 1.6 - at, 0.55, 2.6);
  Finish(out);
  return out;
}

void U16(std::vector<uint8_t>& AOut, uint32_t AValue) {
  AOut.push_back(uint8_t(AValue));
  AOut.push_back(uint8_t(AValue >> 8));
}
void U32(std::vector<uint8_t>& AOut, uint32_t AValue) {
  U16(AOut, AValue & 0xFFFF);
  U16(AOut, AValue >> 16);
}

std::vector<uint8_t> Wav(const TSamples& ASamples) {
  const uint32_t dataBytes = uint32_t(ASamples.size() * 2);
  std::vector<uint8_t> out;
  out.insert(out.end(), {'R', 'I', 'F', 'F'});
  U32(out, 36 + dataBytes);
  out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  U32(out, 16);        // the "fmt " chunk's size
  U16(out, 1);         // WAVE_FORMAT_PCM
  U16(out, 1);         // channels
  U32(out, Rate);      // samples a second
  U32(out, Rate * 2);  // bytes a second
  U16(out, 2);         // bytes a sample frame
  U16(out, 16);        // bits a sample
  out.insert(out.end(), {'d', 'a', 't', 'a'});
  U32(out, dataBytes);
  for (double s : ASamples) {
    const long v = std::lround(std::clamp(s, -1.0, 1.0) * 32767);
    U16(out, uint32_t(uint16_t(int16_t(v))));
  }
  return out;
}

bool Write(const std::string& APath, const TSamples& ASamples) {
  if (!tintbox::tools::WriteFile(APath, Wav(ASamples))) return false;
  std::printf("%s: %.2f s\n", APath.c_str(), double(ASamples.size()) / Rate);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: gen_sounds OUTDIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  bool ok = true;
  for (int k = 0; k < 10; ++k)
    ok = Write(dir + "/note" + std::to_string(k + 1) + ".wav", Note(k)) && ok;
  ok = Write(dir + "/pop.wav", Pop()) && ok;
  ok = Write(dir + "/cheer.wav", Cheer()) && ok;
  return ok ? 0 : 1;
}
