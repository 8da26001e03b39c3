#include "formats/wave.h"

#include <cstring>
#include <optional>
#include <span>
#include <string_view>

#include "base/fatal_error.h"
#include "base/file_reader.h"
#include "base/i18n.h"
#include "base/printable.h"

namespace brawl {

namespace {

// The game's waves are short cues; three minutes of CD sound is more than any of them.
constexpr int64_t kMaxWaveFileBytes = int64_t{32} << 20;

uint32_t Le32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
uint16_t Le16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}

struct Chunk {
  size_t offset = 0;  // of the chunk's body
  size_t size = 0;
};

}  // namespace

Wave ReadWave(const std::string& path) {
  const char* const what = _("cannot load wave");
  const std::string file = ReadGameFile(path, kMaxWaveFileBytes, what);
  const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(file.data()), file.size());
  const size_t file_size = bytes.size();
  auto bad = [&](const std::string& why) { return Fatal(what, path, why); };

  if (file_size < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
      std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
    throw bad(_("not a RIFF/WAVE file"));
  }
  const uint64_t riff_end = uint64_t{Le32(bytes.data() + 4)} + 8;
  if (riff_end > file_size) {
    throw bad(Fill(_("header claims {1} bytes, file holds {2}"),
                   {std::to_string(riff_end), std::to_string(file_size)}));
  }

  std::optional<Chunk> format, data;
  size_t at = 12;
  // Every chunk: 8 bytes of id and size, its body, one pad byte when the size is odd.
  while (at + 8 <= riff_end) {
    const uint8_t* head = bytes.data() + at;
    const uint64_t size = Le32(head + 4);
    const size_t body = at + 8;
    if (body + size > riff_end) {
      throw bad(Fill(_("chunk '{1}' claims {2} bytes, only {3} left"),
                     {Printable({reinterpret_cast<const char*>(head), 4}), std::to_string(size),
                      std::to_string(riff_end - body)}));
    }
    if (std::memcmp(head, "fmt ", 4) == 0 && !format) format = Chunk{body, static_cast<size_t>(size)};
    if (std::memcmp(head, "data", 4) == 0 && !data) data = Chunk{body, static_cast<size_t>(size)};
    at = body + static_cast<size_t>(size) + (size & 1);
  }
  if (!format) throw bad(_("no format chunk"));
  if (!data) throw bad(_("no data chunk"));
  if (format->size < 16) throw bad(_("format chunk too short"));

  const uint8_t* f = bytes.data() + format->offset;
  const uint16_t tag = Le16(f);
  if (tag != 1) throw bad(Fill(_("not PCM (format tag {1})"), {std::to_string(tag)}));
  Wave wave;
  wave.channels = Le16(f + 2);
  const uint32_t rate = Le32(f + 4);
  const uint16_t block_align = Le16(f + 12);
  wave.bits_per_sample = Le16(f + 14);
  if (wave.bits_per_sample != 8 && wave.bits_per_sample != 16) {
    throw bad(
        Fill(_("unsupported {1}-bit samples (8 or 16 expected)"), {std::to_string(wave.bits_per_sample)}));
  }
  if (wave.channels < 1 || wave.channels > 8) {
    throw bad(Fill(_("unsupported channel count {1}"), {std::to_string(wave.channels)}));
  }
  if (rate < 1000 || rate > 384000) throw bad(Fill(_("unsupported sample rate {1}"), {std::to_string(rate)}));
  wave.sample_rate = static_cast<int>(rate);
  if (block_align != wave.channels * wave.bits_per_sample / 8) {
    throw bad(Fill(_("block size {1} does not match its channels and bits"), {std::to_string(block_align)}));
  }

  // A trailing partial frame cannot be played; it is kept as stored but not counted.
  wave.samples.assign(bytes.begin() + static_cast<std::ptrdiff_t>(data->offset),
                      bytes.begin() + static_cast<std::ptrdiff_t>(data->offset + data->size));
  wave.frames = static_cast<int64_t>(data->size / block_align);
  return wave;
}

double WaveMilliseconds(const Wave& wave) {
  if (wave.sample_rate <= 0) return 0.0;
  return static_cast<double>(wave.frames) * 1000.0 / static_cast<double>(wave.sample_rate);
}

}  // namespace brawl
