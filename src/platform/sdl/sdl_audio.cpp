#include "platform/sdl/sdl_audio.h"

#include <cstring>
#include <filesystem>
#include <string>

#include "base/fatal_error.h"
#include "base/i18n.h"
#include "formats/wave.h"

namespace brawl {

namespace {

constexpr int kChannels = 8;
// Handles pack the play's serial and its channel; the serial wraps long before an int would.
constexpr uint32_t kSerialMask = 0x0FFFFFFF;

int HandleOf(uint32_t serial, int channel) {
  return static_cast<int>((serial & kSerialMask) * kChannels + static_cast<uint32_t>(channel));
}

// Whether the machine has a sound card to play on: a playback device of the kernel's sound
// system (/dev/snd/pcmC<card>D<device>p).
bool HasPlaybackDevice() {
  std::error_code error;
  for (std::filesystem::directory_iterator it("/dev/snd", error), end; !error && it != end;
       it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.starts_with("pcmC") && name.ends_with("p")) return true;
  }
  return false;
}

// With no sound card only a sound server can play. The drivers that go to the card itself
// (ALSA, and sndio and OSS, which reach it through ALSA or its device) can only fail, and
// ALSA's library says so in lines of its own on stderr: the player is told once, by the game.
// So SDL tries only the others, not its file and silent drivers either, which always open.
// A driver the player chose stays theirs.
void LeaveOutTheCardsDriversWithoutACard() {
  if (SDL_GetHint(SDL_HINT_AUDIODRIVER) != nullptr || HasPlaybackDevice()) return;
  std::string drivers;
  for (int i = 0; i < SDL_GetNumAudioDrivers(); ++i) {
    const std::string name = SDL_GetAudioDriver(i);
    if (name == "alsa" || name == "sndio" || name == "dsp" || name == "disk" || name == "dummy") continue;
    drivers += (drivers.empty() ? "" : ",") + name;
  }
  // Nothing left to try: a name no driver has, so that SDL tries none.
  SDL_SetHint(SDL_HINT_AUDIODRIVER, drivers.empty() ? "none" : drivers.c_str());
}

}  // namespace

SdlAudio::~SdlAudio() {
  Close();
}

void SdlAudio::Close() {
  if (mixer_open_) {
    Mix_HaltChannel(-1);
    for (auto& wave : waves_) wave->chunk.reset();
    Mix_CloseAudio();
    mixer_open_ = false;
  }
  audio_.Stop();
}

bool SdlAudio::Open() {
  Close();
  LeaveOutTheCardsDriversWithoutACard();
  if (!audio_.Start(SDL_INIT_AUDIO)) return false;
  if (Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
    audio_.Stop();
    return false;
  }
  mixer_open_ = true;
  Mix_AllocateChannels(kChannels);
  channel_play_.assign(kChannels, 0);
  return true;
}

int SdlAudio::Load(const std::string& path) {
  // Checked by our own reader first, so a bad file gets our message, not the mixer's.
  Wave wave = ReadWave(path);
  auto loaded = std::make_unique<Loaded>();

  if (mixer_open_) {
    int rate = 0, channels = 0;
    Uint16 format = 0;
    if (Mix_QuerySpec(&rate, &format, &channels) == 0)
      throw Fatal(_("cannot load wave"), path, Mix_GetError());
    const SDL_AudioFormat source = wave.bits_per_sample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    const size_t frame_bytes = static_cast<size_t>(wave.channels * wave.bits_per_sample / 8);
    const size_t bytes = static_cast<size_t>(wave.frames) * frame_bytes;

    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, source, static_cast<Uint8>(wave.channels), wave.sample_rate, format,
                          static_cast<Uint8>(channels), rate) < 0) {
      throw Fatal(_("cannot load wave"), path,
                  Fill(_("cannot convert for the sound device: {1}"), {SDL_GetError()}));
    }
    cvt.len = static_cast<int>(bytes);
    loaded->samples.assign(bytes * static_cast<size_t>(cvt.len_mult) + 16, 0);
    std::memcpy(loaded->samples.data(), wave.samples.data(), bytes);
    if (cvt.needed != 0) {
      cvt.buf = loaded->samples.data();
      if (SDL_ConvertAudio(&cvt) != 0) {
        throw Fatal(_("cannot load wave"), path,
                    Fill(_("cannot convert for the sound device: {1}"), {SDL_GetError()}));
      }
      loaded->samples.resize(static_cast<size_t>(cvt.len_cvt));
    } else {
      loaded->samples.resize(bytes);
    }
    if (!loaded->samples.empty()) {
      loaded->chunk.reset(
          Mix_QuickLoad_RAW(loaded->samples.data(), static_cast<Uint32>(loaded->samples.size())));
      if (!loaded->chunk) throw Fatal(_("cannot load wave"), path, Mix_GetError());
    }
  }
  waves_.push_back(std::move(loaded));
  return static_cast<int>(waves_.size() - 1);
}

int SdlAudio::Play(int wave) {
  if (wave < 0 || static_cast<size_t>(wave) >= waves_.size() || !waves_[static_cast<size_t>(wave)]->chunk) {
    return -1;  // silent: ends at once
  }
  const int channel = Mix_PlayChannel(-1, waves_[static_cast<size_t>(wave)]->chunk.get(), 0);
  if (channel < 0 || channel >= kChannels) return -1;  // the mixer is full: as if it ended at once
  const uint32_t serial = ++plays_ & kSerialMask;
  channel_play_[static_cast<size_t>(channel)] = serial;
  return HandleOf(serial, channel);
}

bool SdlAudio::IsPlaying(int handle) {
  if (handle < 0 || !mixer_open_) return false;
  const int channel = handle % kChannels;
  const uint32_t serial = static_cast<uint32_t>(handle / kChannels);
  if (channel_play_[static_cast<size_t>(channel)] != serial) return false;
  return Mix_Playing(channel) != 0;
}

}  // namespace brawl
