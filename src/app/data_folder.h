#pragma once
#include <string>

namespace brawl {

// Where the game's data files are, for an executable in `program_folder`:
// $BRAWL_DATA_DIR when set; else the program folder itself when it holds env.ini (a
// build folder); else ../share/billboard-brawl beside it (an install) when that exists;
// else the program folder, so that a missing file is reported there. Ends in one '/'.
std::string DataFolder(const std::string& program_folder);

struct Options;
// The data folder of this run: --app-path when given, else DataFolder of the executable's.
std::string GameDataFolder(const Options& options);

}  // namespace brawl
