#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "app/env_ini.h"
#include "platform/fatal_error.h"
#include "platform/headless/input_script.h"
#include "platform/scene/xfile_reader.h"
#include "platform/surface.h"
#include "platform/wave.h"
#include "support/run_brawl.h"

namespace brawl {

namespace fs = std::filesystem;

// Every file of the fuzz corpora through its reader. A damaged file is refused with exactly
// its line ("@" stands for the file's path); an intact one is read into what its summary says.
namespace {

const std::map<std::string, std::string> kExpected = {
    {"bitmap/compression_4.bmp", "bitmap: @: unsupported compression 4"},
    {"bitmap/core_header.bmp", "4x4, #8b818ee9"},
    {"bitmap/cut_at_10.bmp", "bitmap: @: truncated header"},
    {"bitmap/cut_at_40.bmp", "bitmap: @: truncated header"},
    {"bitmap/cut_at_54.bmp", "bitmap: @: truncated: no pixel data"},
    {"bitmap/cut_last_byte.bmp", "bitmap: @: truncated: pixel data needs 102 bytes, the file has 101"},
    {"bitmap/depth_7.bmp", "bitmap: @: unsupported depth of 7 bits per pixel"},
    {"bitmap/empty.bmp", "bitmap: @: not a BMP file"},
    {"bitmap/generated_lifebar.bmp", "128x6, #a00f1f26"},
    {"bitmap/generated_sprite.bmp", "32x32, #1d7870f3"},
    {"bitmap/header_size_99.bmp", "bitmap: @: unknown BMP header size 99"},
    {"bitmap/height_zero.bmp", "bitmap: @: empty picture"},
    {"bitmap/huge_claim.bmp", "bitmap: @: picture too large (20000x2)"},
    {"bitmap/huge_run_length.bmp", "bitmap: @: picture too large (16384x16384)"},
    {"bitmap/mono.bmp", "9x3, #66330c91"},
    {"bitmap/not_bmp_png.bmp", "bitmap: @: not a BMP file"},
    {"bitmap/not_bmp_text.bmp", "bitmap: @: not a BMP file"},
    {"bitmap/offset_beyond.bmp", "bitmap: @: truncated: no pixel data"},
    {"bitmap/pal4.bmp", "5x4, #770622cd"},
    {"bitmap/pal8.bmp", "bitmap: @: A BMP image contains a pixel with a color out of the palette"},
    {"bitmap/pal8_plain.bmp", "4x1, #d63426e4"},
    {"bitmap/pal8_topdown.bmp", "6x2, #bc98dc07"},
    {"bitmap/palette_index_outside.bmp",
     "bitmap: @: A BMP image contains a pixel with a color out of the palette"},
    {"bitmap/rgb16_bitfields.bmp", "4x2, #04a8ebd5"},
    {"bitmap/rgb24_bottomup.bmp", "3x2, #42ca0118"},
    {"bitmap/rgb24_topdown.bmp", "3x2, #43cc0217"},
    {"bitmap/rgb24_topdown_same.bmp", "3x2, #42ca0118"},
    {"bitmap/rgb32_plain.bmp", "2x1, #a725beec"},
    {"bitmap/rgb32_v5.bmp", "2x2, #226bf4ab"},
    {"bitmap/rle4.bmp", "4x2, #97180bae"},
    {"bitmap/rle8.bmp", "4x3, #bbb067cd"},
    {"bitmap/run_length_screen.bmp", "640x640, #4e269dc5"},
    {"bitmap/taller_than_data.bmp", "bitmap: @: truncated: pixel data needs 1254 bytes, the file has 102"},
    {"bitmap/truncated.bmp", "bitmap: @: truncated: pixel data needs 822 bytes, the file has 200"},
    {"bitmap/width_huge.bmp", "bitmap: @: picture too large (1073741824x4)"},
    {"bitmap/width_negative.bmp", "bitmap: @: empty picture"},
    {"bitmap/width_zero.bmp", "bitmap: @: empty picture"},
    {"env_ini/control_bytes.ini", "settings file: @: field 1 is not a number: \"1?[2J?\""},
    {"env_ini/crlf_quoted_label.ini", "wait 700, hires 1, fps 0"},
    {"env_ini/empty.ini",
     "settings file: @: has 0 of its six fields (a number and a label on each of three lines)"},
    {"env_ini/empty_number.ini", "settings file: @: field 3 is not a number: \"\""},
    {"env_ini/field_5_huge.ini",
     "settings file: @: field 5 is outside -32768..32767: 99999999999999999999999"},
    {"env_ini/five_fields.ini",
     "settings file: @: has 5 of its six fields (a number and a label on each of three lines)"},
    {"env_ini/five_fields_trailing_comma.ini",
     "settings file: @: has 5 of its six fields (a number and a label on each of three lines)"},
    {"env_ini/garbage_after_sixth.ini", "wait 1, hires 0, fps -1"},
    {"env_ini/generated.ini", "wait 1000, hires 0, fps 0"},
    {"env_ini/hex_number.ini", "settings file: @: field 3 is not a number: \"0x1\""},
    {"env_ini/huge_field.ini",
     "settings file: @: field 1 is outside -32768..32767: 7777777777777777777777777777777777777777..."},
    {"env_ini/negative.ini", "wait -500, hires 0, fps 0"},
    {"env_ini/not_number.ini", "settings file: @: field 1 is not a number: \"abc\""},
    {"env_ini/one_line.ini", "wait 5, hires 1, fps 1"},
    {"env_ini/out_of_range.ini", "settings file: @: field 1 is outside -32768..32767: 99999"},
    {"env_ini/plain.ini", "wait 0, hires 1, fps 1"},
    {"env_ini/quoted_number_spanning_lines.ini", "settings file: @: field 3 is not a number: \"?0,\""},
    {"env_ini/text_after_quote.ini", "wait 1, hires 2, fps 3"},
    {"env_ini/too_few.ini",
     "settings file: @: has 2 of its six fields (a number and a label on each of three lines)"},
    {"env_ini/unclosed_quote.ini",
     "settings file: @: has 4 of its six fields (a number and a label on each of three lines)"},
    {"env_ini/word_for_number.ini", "settings file: @: field 1 is not a number: \"fast\""},
    {"input_script/bad_count.txt", "@, line 2: the count must be between 1 and 1000000000, not 0"},
    {"input_script/bad_key.txt", "@, line 3: unknown key 'Jump'"},
    {"input_script/crlf.txt", "3 steps, 1000000004 passes"},
    {"input_script/joysticks.txt", "2 steps, 20 passes"},
    {"input_script/one_player.txt", "3 steps, 126 passes"},
    {"input_script/two_players.txt", "5 steps, 93 passes"},
    {"wave/bits24.wav", "cannot load wave: @: unsupported 24-bit samples (8 or 16 expected)"},
    {"wave/chunk_id_line_break.wav", "cannot load wave: @: chunk 'd?\?\?' claims 6316032 bytes, only 4 left"},
    {"wave/chunk_id_zero.wav", "cannot load wave: @: chunk '?\?\?\?' claims 255 bytes, only 0 left"},
    {"wave/data_claims_too_much.wav",
     "cannot load wave: @: chunk 'data' claims 4294967280 bytes, only 100 left"},
    {"wave/data_cut_short.wav", "cannot load wave: @: header claims 144 bytes, file holds 134"},
    {"wave/data_first.wav", "1 ch, 22050 Hz, 16 bit, 8 frames, 0.36281179138321995 ms, #29abad55"},
    {"wave/empty.wav", "cannot load wave: @: not a RIFF/WAVE file"},
    {"wave/empty_data.wav", "1 ch, 22050 Hz, 16 bit, 0 frames, 0 ms, #811c9dc5"},
    {"wave/generated_fire.wav", "1 ch, 22050 Hz, 16 bit, 3528 frames, 160 ms, #509bb16f"},
    {"wave/list_chunk.wav", "1 ch, 22050 Hz, 16 bit, 8 frames, 0.36281179138321995 ms, #29abad55"},
    {"wave/mono16.wav", "1 ch, 22050 Hz, 16 bit, 8 frames, 0.36281179138321995 ms, #29abad55"},
    {"wave/no_channels.wav", "cannot load wave: @: unsupported channel count 0"},
    {"wave/no_data_chunk.wav", "cannot load wave: @: no format chunk"},
    {"wave/not_pcm.wav", "cannot load wave: @: not PCM (format tag 3)"},
    {"wave/not_riff.wav", "cannot load wave: @: not a RIFF/WAVE file"},
    {"wave/odd_data.wav", "1 ch, 22050 Hz, 8 bit, 3 frames, 0.1360544217687075 ms, #02f36c4c"},
    {"wave/riff_claims_more.wav", "cannot load wave: @: header claims 263 bytes, file holds 44"},
    {"wave/riff_only.wav", "cannot load wave: @: not a RIFF/WAVE file"},
    {"wave/stereo16_odd_list.wav", "2 ch, 8000 Hz, 16 bit, 1000 frames, 125 ms, #a3b87e05"},
    {"wave/stereo8.wav", "2 ch, 22050 Hz, 8 bit, 5 frames, 0.22675736961451248 ms, #15890b16"},
    {"wave/truncated.wav", "cannot load wave: @: header claims 124 bytes, file holds 60"},
    {"wave/zero_rate.wav", "cannot load wave: @: unsupported sample rate 0"},
    {"xfile/bad_number.x", "arena mesh: @: line 5: expected a number, found 'zero'"},
    {"xfile/binary.x", "arena mesh: @: binary .x files are not supported; save it as text"},
    {"xfile/compressed_bzip.x",
     "arena mesh: @: compressed .x files are not supported; save it as uncompressed text"},
    {"xfile/compressed_tzip.x",
     "arena mesh: @: compressed .x files are not supported; save it as uncompressed text"},
    {"xfile/face_index_out_of_range.x", "arena mesh: @: line 8: face 0 names vertex 3 of a mesh with 3"},
    {"xfile/float_size_control_bytes.x", "arena mesh: @: unknown float size '0?\?\?' in the header"},
    {"xfile/format_line_break.x", "arena mesh: @: unknown .x format '0;;?'"},
    {"xfile/good.x", "5 vertices, 3 triangles, 3 materials, #84822f8d"},
    {"xfile/huge_count.x",
     "arena mesh: @: line 3: 4000000000 vertices claimed, more than the rest of the file can hold"},
    {"xfile/infinite_coordinate.x", "arena mesh: @: line 5: expected a number, found 'inf'"},
    {"xfile/material_index_out_of_range.x", "arena mesh: @: line 13: face 0 takes material 1 of 1"},
    {"xfile/misspelt_template.x", "arena mesh: @: holds no mesh"},
    {"xfile/negative_count.x", "arena mesh: @: line 3: expected a whole number, found '-3'"},
    {"xfile/no_header.x", "arena mesh: @: not a .x file (no 'xof ' header)"},
    {"xfile/no_materials.x", "4 vertices, 2 triangles, 1 materials, #06dc0f27"},
    {"xfile/no_mesh.x", "arena mesh: @: holds no mesh"},
    {"xfile/normals_face_mismatch.x", "arena mesh: @: line 12: MeshNormals has 2 faces for a mesh with 1"},
    {"xfile/one_material_for_all.x", "4 vertices, 2 triangles, 2 materials, #328517a7"},
    {"xfile/short_header.x", "arena mesh: @: not a .x file (no 'xof ' header)"},
    {"xfile/too_few_materials.x", "arena mesh: @: line 15: the material list names 2 materials but gives 1"},
    {"xfile/truncated.x", "arena mesh: @: line 41: the file ends where a number should be"},
    {"xfile/two_corner_face.x", "arena mesh: @: line 8: face 0 has 2 corners, fewer than 3"},
    {"xfile/unclosed_string.x", "arena mesh: @: line 2: a string is not closed"},
    {"xfile/unclosed_unknown_template.x",
     "arena mesh: @: line 14: the file ends inside an object (a '}' is missing)"},
    {"xfile/unknown_material.x", "arena mesh: @: line 13: material 'Missing' is not defined"},
    {"xfile/uv_second_mesh.x", "6 vertices, 2 triangles, 2 materials, #4c74f092"},
};

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
      for (const Vec3& v : m.vertices) put({v.x, v.y, v.z});
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
  size_t seen = 0;
  for (const char* kind : {"bitmap", "env_ini", "input_script", "wave", "xfile"})
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
