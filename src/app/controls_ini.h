#pragma once
#include <string>

#include "platform/controls.h"

namespace brawl {

struct Options;

// controls.ini: a [player1] and a [player2] section, each with the seven commands
// (forward, back, right, left, turn_right, turn_left, fire) as SDL key names and an
// optional gamepad (its place in the list from 1, its name or its GUID). A command left
// out keeps its key. Throws FatalError naming the file and the line of the first fault.
Controls ParseControls(const std::string& text, const std::string& path);
// The file in the player's configuration folder; today's controls when there is none.
Controls ReadControls(const std::string& config_folder);

// Today's controls as a commented file for the player to edit.
std::string ControlsFileText();
// --write-controls: writes that file into the configuration folder unless one is there
// already, and says where on standard output.
int WriteControlsFile(const Options& options);

}  // namespace brawl
