#include "app/data_folder.h"

#include <cstdlib>
#include <filesystem>

#include "app/options.h"
#include "app/program_folder.h"

namespace brawl {

std::string DataFolder(const std::string& program_folder) {
  const char* chosen = std::getenv("BRAWL_DATA_DIR");
  if (chosen != nullptr && *chosen != '\0') return AsFolder(chosen);
  const std::string own = AsFolder(program_folder);
  std::error_code error;
  if (std::filesystem::exists(own + "env.ini", error)) return own;
  const std::string installed = own + "../share/billboard-brawl/";
  if (std::filesystem::is_directory(installed, error)) {
    return AsFolder(std::filesystem::path(installed).lexically_normal().string());
  }
  return own;
}

std::string GameDataFolder(const Options& options) {
  return options.app_path.empty() ? DataFolder(ProgramFolder()) : AsFolder(options.app_path);
}

}  // namespace brawl
