#pragma once
#include <string>

namespace brawl {

// The folder that holds the running executable, ending in exactly one '/'.
// Throws FatalError when the system cannot tell.
std::string ProgramFolder();

// `path` made into a folder name: one trailing '/' added unless it already ends in one.
std::string AsFolder(std::string path);

}  // namespace brawl
