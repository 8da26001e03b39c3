#pragma once
#include <string>
#include <vector>

namespace brawl {

// The folders that may hold the game's data files, for an executable in `program_folder`, in
// the order they are searched: the program folder itself (a build folder), then
// ../share/billboard-brawl and ../share/games/billboard-brawl beside it (an install with its
// program in bin/ or games/, under any prefix). Each ends in one '/'.
std::vector<std::string> DataFolderCandidates(const std::string& program_folder);

// Where the game's data files are: $BRAWL_DATA_DIR when set; else the first candidate that
// holds env.ini. Throws FatalError naming every folder it looked in when none does.
std::string DataFolder(const std::string& program_folder);

struct Options;
// The data folder of this run: --app-path when given, else DataFolder of the executable's.
std::string GameDataFolder(const Options& options);

// Where the game's translations are, found like the data: <build folder>/locale, or
// ../share/locale beside the program. Empty when there are none, or no program folder.
std::string LocaleFolder();

}  // namespace brawl
