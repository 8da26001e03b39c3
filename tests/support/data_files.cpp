#include "support/data_files.h"

#include <SDL.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/run_brawl.h"

namespace brawl {

std::string CopyOfDataFolder() {
  const std::string folder = MakeTempDir() + "/";
  for (const auto& file : Rows("tests/assets/data_files.tsv"))
    std::filesystem::copy_file(BuildDir() + "/" + file[0], folder + file[0]);
  return folder;
}

void Spoil(const std::string& path, const std::string& how) {
  const std::string verb = how.substr(0, how.find(' ')),
                    rest = how.substr(std::min(how.size(), verb.size() + 1));
  if (verb == "size") return std::filesystem::resize_file(path, std::stoull(rest));
  std::filesystem::remove(path);
  if (verb == "fifo") mkfifo(path.c_str(), 0600);
  if (verb == "dir") std::filesystem::create_directory(path);
  if (verb == "text") std::ofstream(path, std::ios::binary) << rest;
  if (verb == "long")
    std::ofstream(path) << "1 Enter\n# fine\n" << std::string(std::stoul(rest), 'x') << "\n";
  int width = 0, height = 0;
  if (verb == "bmp" && std::istringstream(rest) >> width >> height) WriteBmp(path, width, height);
}

void WriteBmp(const std::string& path, int width, int height) {
  SDL_Surface* grey = SDL_CreateRGBSurfaceWithFormat(0, width, height, 24, SDL_PIXELFORMAT_BGR24);
  SDL_FillRect(grey, nullptr, SDL_MapRGB(grey->format, 9, 9, 9));
  SDL_SaveBMP(grey, path.c_str());
  SDL_FreeSurface(grey);
}

void WriteWave(const std::string& path, uint32_t frames, uint32_t rate) {
  std::string bytes(44 + 2 * static_cast<size_t>(frames), '\0');
  const auto put = [&](size_t at, uint32_t value, int n) {
    for (int i = 0; i < n; ++i)
      bytes[at + static_cast<size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  bytes.replace(0, 4, "RIFF");
  put(4, 36 + 2 * frames, 4);
  bytes.replace(8, 8, "WAVEfmt ");
  put(16, 16, 4);
  put(20, 1, 2);  // PCM
  put(22, 1, 2);  // mono
  put(24, rate, 4);
  put(28, 2 * rate, 4);
  put(32, 2, 2);
  put(34, 16, 2);
  bytes.replace(36, 4, "data");
  put(40, 2 * frames, 4);
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace brawl
