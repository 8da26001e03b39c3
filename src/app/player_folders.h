#pragma once
#include <string>

namespace brawl {

struct Options;

// The player's own folders, after the XDG base directories. Each ends in one '/', or is
// empty when there is none to use (no HOME and no XDG variable).

// $XDG_CONFIG_HOME/billboard-brawl/ (default ~/.config/billboard-brawl/); --config-dir
// instead when given. A headless run uses only --config-dir, so that a scripted run gives
// the same dump on every machine.
std::string ConfigFolder(const Options& options);

// $XDG_DATA_HOME/billboard-brawl/screenshots/ (default ~/.local/share/...).
std::string ScreenshotFolder();

// $XDG_STATE_HOME/billboard-brawl/ (default ~/.local/state/...): reports for bug reports.
std::string StateFolder();

// Whether the player's own file at `path` is there to be read. When its folder cannot be
// searched the file counts as absent, with a warning naming it, `what` it is and what the
// game does `instead`.
bool PlayerFileThere(const std::string& path, const char* what, const char* instead);

}  // namespace brawl
