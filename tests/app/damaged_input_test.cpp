#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "app/controls_ini.h"
#include "app/env_ini.h"
#include "base/fatal_error.h"
#include "formats/bitmap.h"
#include "formats/wave.h"
#include "formats/xfile_reader.h"
#include "platform/headless/input_script.h"
#include "support/run_brawl.h"

namespace brawl {

namespace fs = std::filesystem;

// Every file of the fuzz corpora through its reader. A damaged file is refused with exactly
// its line ("@" stands for the file's path); an intact one is read into what its summary says.
namespace {

template <typename T>
uint32_t Fnv(const std::vector<T>& values) {
  uint32_t h = 2166136261u;
  for (const T v : values)
    for (size_t i = 0; i < sizeof v; ++i) h = (h ^ ((v >> (8 * i)) & 0xFF)) * 16777619u;
  return h;
}

std::string Format(const char* format, auto... values) {
  char text[200];
  std::snprintf(text, sizeof text, format, values...);
  return text;
}

// What the reader of the corpus `kind` makes of the file: its refusal or a summary.
std::string Read(const std::string& kind, const std::string& path) {
  try {
    if (kind == "env_ini") {
      const EnvIni e = ReadEnvIni(path);
      return Format("wait %d, hires %d, fps %d", e.wait, e.hires_preset, e.fps_preset);
    }
    if (kind == "wave") {
      const Wave w = ReadWave(path);
      return Format("%d ch, %d Hz, %d bit, %lld frames, %.17g ms, #%08x", w.channels, w.sample_rate,
                    w.bits_per_sample, static_cast<long long>(w.frames), WaveMilliseconds(w), Fnv(w.samples));
    }
    if (kind == "bitmap") {
      const Surface s = LoadBitmap(path);
      if (s.pixels.size() != static_cast<size_t>(s.width) * static_cast<size_t>(s.height))
        return "torn picture";
      return Format("%dx%d, #%08x", s.width, s.height, Fnv(s.pixels));
    }
    if (kind == "xfile") {
      const Mesh m = ReadXFile(path, "arena mesh");
      std::vector<uint32_t> words;  // every number the mesh holds, and its texture names
      auto put = [&](std::initializer_list<float> values) {
        for (const float v : values) words.push_back(std::bit_cast<uint32_t>(v));
      };
      for (const MeshVertex& v : m.vertices) put({v.x, v.y, v.z});
      for (const TexCoord& t : m.uv) put({t.u, t.v});
      for (const Triangle& t : m.triangles) words.insert(words.end(), {t.v[0], t.v[1], t.v[2], t.material});
      for (const Material& a : m.materials) {
        put({a.face_color[0], a.face_color[1], a.face_color[2], a.face_color[3], a.power, a.specular[0],
             a.specular[1], a.specular[2], a.emissive[0], a.emissive[1], a.emissive[2]});
        for (const char c : a.texture) words.push_back(static_cast<unsigned char>(c));
      }
      return Format("%zu vertices, %zu triangles, %zu materials, #%08x", m.vertices.size(),
                    m.triangles.size(), m.materials.size(), Fnv(words));
    }
    if (kind == "controls_ini") {
      const Controls c = ParseControls(ReadFile(path), path);
      const KeyMap today = DefaultKeyMap();
      int moved = 0;
      for (size_t k = 0; k < today.size(); ++k) moved += c.keys[k] == today[k] ? 0 : 1;
      return Format("%d keys moved, pads '%s' '%s'", moved, c.pads[0].c_str(), c.pads[1].c_str());
    }
    // The fuzzer takes the first byte for the number of joysticks attached.
    const std::string bytes = ReadFile(path);
    const InputScript s = ParseInputScript(bytes.substr(1), static_cast<unsigned char>(bytes[0]) % 3, path);
    return Format("%zu steps, %lld passes", s.steps.size(), static_cast<long long>(s.passes));
  } catch (const FatalError& e) {
    return e.what();
  } catch (const UsageError& e) {
    return e.what();
  }
}

TEST(DamagedInput, EveryCorpusFileIsReadOrRefusedWithItsLine) {
  // The table of fuzz/corpus/expected.tsv: each file and what its reader makes of it.
  std::map<std::string, std::string> kExpected;
  for (const auto& row : Rows("fuzz/corpus/expected.tsv")) kExpected[row[0]] = row[1];
  size_t seen = 0;
  for (const char* kind : {"bitmap", "controls_ini", "env_ini", "input_script", "wave", "xfile"})
    for (const auto& entry : fs::directory_iterator(SourceDir() + "/fuzz/corpus/" + kind)) {
      const std::string path = entry.path().string();
      const std::string file = std::string(kind) + "/" + entry.path().filename().string();
      std::string message = Read(kind, path);
      for (size_t at; (at = message.find(path)) != std::string::npos;) message.replace(at, path.size(), "@");
      const auto expected = kExpected.find(file);
      if (expected == kExpected.end()) {
        ADD_FAILURE() << file << " is not in the table: " << message;
        continue;
      }
      EXPECT_EQ(message, expected->second) << file;
      ++seen;
    }
  EXPECT_EQ(seen, kExpected.size()) << "a file of the table is gone from the corpora";
}

// Every cut of an intact file, and every bitmap with a header byte spoiled, is refused with its
// name on one line or read whole, never a crash; every cut of a wave and nearly every cut of
// a mesh is refused.
TEST(DamagedInput, EveryCutOrSpoiledHeaderIsRefusedOrReadNeverCrashes) {
  const std::map<std::string, std::string> kReader = {
      {"wave", "cannot load wave: "}, {"xfile", "arena mesh: "}, {"bitmap", "bitmap: "}};
  const std::string dir = MakeTempDir();
  for (const char* name : {"wave/list_chunk.wav", "xfile/good.x", "bitmap/rgb24_bottomup.bmp",
                           "bitmap/pal8_topdown.bmp", "bitmap/mono.bmp", "bitmap/rle8.bmp"}) {
    const std::string whole = ReadFile(SourceDir() + "/fuzz/corpus/" + name);
    const std::string kind = fs::path(name).parent_path();
    std::vector<std::string> damaged;
    for (size_t length = 0; length < whole.size(); ++length) damaged.push_back(whole.substr(0, length));
    for (size_t at = 0; kind == "bitmap" && at < std::min<size_t>(whole.size(), 54 + 16); ++at)
      for (const char value : {'\x00', '\x01', '\x7F', '\x80', '\xFF'}) {
        damaged.push_back(whole);
        damaged.back()[at] = value;
      }
    size_t refused = 0;
    for (size_t i = 0; i < damaged.size(); ++i) {
      // A new file each time: rewriting one file waits for the disk.
      const std::string path = dir + "/" + std::to_string(i) + fs::path(name).extension().string();
      std::ofstream(path, std::ios::binary) << damaged[i];
      const std::string message = Read(kind, path);
      ASSERT_NE(message, "torn picture") << name << ", copy " << i;
      if (message.find(path) == std::string::npos) continue;  // read: its summary
      ++refused;
      EXPECT_EQ(message.rfind(kReader.at(kind) + path + ": ", 0), 0u) << message;
      EXPECT_EQ(message.find('\n'), std::string::npos) << message;
    }
    if (kind == "wave") {
      EXPECT_EQ(refused, whole.size()) << name;
    } else if (kind == "xfile") {
      EXPECT_GT(refused, whole.size() * 9 / 10) << name;
    }
  }
  fs::remove_all(dir);
}

// A configuration folder the game may not search: both of the player's files there are
// warnings, and the run goes on with today's keys and the installed settings. (Controls files
// that are no file are the data folder test's.)
TEST(DamagedInput, AConfigurationFolderClosedToTheGameIsAWarning) {
  const std::string folder = MakeTempDir() + "/";
  std::ofstream(folder + "controls.ini") << "[player1]\nfire = Nowhere\n";
  fs::permissions(folder, fs::perms::none);
  // Root searches any folder: the game runs without that power here.
  const std::string as_player =
      geteuid() == 0 ? "setpriv --bounding-set=-dac_override,-dac_read_search -- " : "";
  const RunResult run = RunShell("timeout -k 5 20 " + as_player + "'" + BRAWL_EXE +
                                 "' --headless --frames 2 --config-dir '" + folder + "'");
  fs::permissions(folder, fs::perms::owner_all);
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.err,
            "brawl: warning: controls file: " + folder +
                "controls.ini: cannot be reached: Permission denied; the game plays with today's keys\n"
                "brawl: warning: settings file: " +
                folder +
                "env.ini: cannot be reached: Permission denied; the installed one is read instead\n");
  fs::remove_all(folder);
}

TEST(DamagedInput, DeepNestingIsRefusedNotRecursedInto) {
  std::string text = "xof 0302txt 0032\n";
  for (int i = 0; i < 100000; ++i) text += "Frame {";
  try {
    ParseXFile(text, "deep.x", "arena mesh");
    ADD_FAILURE() << "accepted";
  } catch (const FatalError& e) {
    EXPECT_NE(std::string(e.what()).find("nested too deep"), std::string::npos) << e.what();
  }
}

}  // namespace

}  // namespace brawl
