#include "app/data_folder.h"

#include <cstdlib>
#include <filesystem>

#include "app/options.h"
#include "app/program_folder.h"
#include "base/fatal_error.h"
#include "base/i18n.h"

namespace brawl {

namespace {

std::string Normal(const std::string& folder) {
  return AsFolder(std::filesystem::path(folder).lexically_normal().string());
}

}  // namespace

std::vector<std::string> DataFolderCandidates(const std::string& program_folder) {
  const std::string own = AsFolder(program_folder);
  return {own, Normal(own + "../share/billboard-brawl/"), Normal(own + "../share/games/billboard-brawl/")};
}

std::string DataFolder(const std::string& program_folder) {
  const char* chosen = std::getenv("BRAWL_DATA_DIR");
  if (chosen != nullptr && *chosen != '\0') return AsFolder(chosen);
  const std::vector<std::string> candidates = DataFolderCandidates(program_folder);
  std::string looked;
  for (const std::string& folder : candidates) {
    std::error_code error;
    if (std::filesystem::exists(folder + "env.ini", error)) return folder;
    looked += (looked.empty() ? "" : ", ") + folder;
  }
  throw Fatal(_("cannot find the game's data"), "env.ini",
              Fill(_("looked in {1}; set BRAWL_DATA_DIR to the folder that holds it"), {looked}));
}

std::string GameDataFolder(const Options& options) {
  return options.app_path.empty() ? DataFolder(ProgramFolder()) : AsFolder(options.app_path);
}

std::string LocaleFolder() {
  std::string program_folder;
  try {
    program_folder = ProgramFolder();
  } catch (const FatalError&) {
    return {};
  }
  for (const std::string& folder :
       {program_folder + "locale/", Normal(program_folder + "../share/locale/")}) {
    std::error_code error;
    if (std::filesystem::is_directory(folder, error)) return folder;
  }
  return {};
}

}  // namespace brawl
