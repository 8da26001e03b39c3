#include "game/state_dump.h"

#include <charconv>
#include <cmath>

#include "game/game.h"

namespace brawl {

namespace {

void AppendInt(std::string& out, int64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

void AppendString(std::string& out, const char* text) {
  out += '"';
  out += text;  // the game's own file names: nothing to escape
  out += '"';
}

void AppendVec(std::string& out, const Vec3& v) {
  out += '[';
  AppendDumpFloat(out, v.x);
  out += ',';
  AppendDumpFloat(out, v.y);
  out += ',';
  AppendDumpFloat(out, v.z);
  out += ']';
}

// Writes `"name":value` pairs, with the commas between them.
struct Fields {
  std::string& out;
  bool first = true;

  void Name(const char* name) {
    if (!first) out += ',';
    first = false;
    out += '"';
    out += name;
    out += "\":";
  }
  void Int(const char* name, int64_t value) {
    Name(name);
    AppendInt(out, value);
  }
  void Float(const char* name, float value) {
    Name(name);
    AppendDumpFloat(out, value);
  }
};

void AppendFighter(std::string& out, const FighterState& f) {
  out += '{';
  Fields o{out};
  o.Float("Life", f.Life);
  o.Float("X", f.X);
  o.Float("Z", f.Z);
  o.Float("Cooldown", f.Cooldown);
  o.Float("DirX", f.DirX);
  o.Float("DirY", f.DirY);
  o.Float("DirZ", f.DirZ);
  out += '}';
}

void AppendBullet(std::string& out, const BulletState& b) {
  out += '{';
  Fields o{out};
  o.Int("Active", b.Active ? -1 : 0);
  o.Float("X", b.X);
  o.Float("Y", b.Y);
  o.Float("Z", b.Z);
  o.Float("DirX", b.DirX);
  o.Float("DirY", b.DirY);
  o.Float("DirZ", b.DirZ);
  out += '}';
}

void AppendBlood(std::string& out, const BloodState& b) {
  out += '{';
  Fields o{out};
  o.Int("Active", b.Active ? -1 : 0);
  o.Float("X", b.X);
  o.Float("Y", b.Y);
  o.Float("Z", b.Z);
  o.Float("T", b.T);
  o.Float("VX", b.VX);
  o.Float("VZ", b.VZ);
  out += '}';
}

// Each player's ten slots, as [[...ten...],[...ten...]].
template <typename Slot, typename Append>
void AppendSlots(std::string& out, const Slot (&slots)[2][kSlots], Append append) {
  out += '[';
  for (int p = 0; p < 2; ++p) {
    if (p) out += ',';
    out += '[';
    for (int i = 0; i < kSlots; ++i) {
      if (i) out += ',';
      append(out, slots[p][i]);
    }
    out += ']';
  }
  out += ']';
}

}  // namespace

void AppendDumpFloat(std::string& out, float value) {
  if (!std::isfinite(value)) {
    out += "null";
    return;
  }
  // %.9g in the C locale, whatever locale the process runs in.
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                    std::chars_format::general, 9);
  out.append(buffer, result.ptr);
}

std::string StateDumpLine(const Game& game, int64_t pass) {
  return StateDumpLine(game.match, game.loop, game.sound, pass, "");
}

std::string StateDumpLine(const Match& match, const LoopState& loop, const SoundSlots& sound, int64_t pass,
                          const std::string& extra) {
  std::string out;
  out.reserve(4096);
  out += '{';
  Fields o{out};
  o.Int("pass", pass);
  o.Int("GameMode", static_cast<int>(match.GameMode));
  o.Int("Winner", match.Winner);
  o.Int("TitleChoice", match.TitleChoice);
  o.Float("Fps", loop.Fps);
  o.Float("SpeedFactor", loop.SpeedFactor);
  o.Int("SpeedLock", match.SpeedLock ? 1 : 0);
  o.Int("FpsFrameCount", loop.FpsFrameCount);

  o.Name("Heading");
  out += '[';
  AppendInt(out, match.Heading[0]);
  out += ',';
  AppendInt(out, match.Heading[1]);
  out += ']';

  o.Name("Fighter");
  out += '[';
  AppendFighter(out, match.Fighter[0]);
  out += ',';
  AppendFighter(out, match.Fighter[1]);
  out += ']';

  o.Name("Bullet");
  AppendSlots(out, match.Bullet, AppendBullet);
  o.Name("Blood");
  AppendSlots(out, match.Blood, AppendBlood);

  o.Name("Camera");
  out += '[';
  for (int p = 0; p < 2; ++p) {
    if (p) out += ',';
    AppendVec(out, match.Poses.Camera[p].position);
  }
  out += ']';

  o.Name("SoundBusy");
  out += '[';
  for (int i = 0; i < kSoundSlots; ++i) {
    if (i) out += ',';
    AppendInt(out, sound.SoundBusy[i] ? -1 : 0);
  }
  out += ']';

  o.Name("Sounds");
  out += '[';
  for (size_t i = 0; i < sound.Requested.size(); ++i) {
    if (i) out += ',';
    AppendString(out, WaveName(sound.Requested[i]));
  }
  out += ']';
  out += extra;
  out += '}';
  return out;
}

}  // namespace brawl
