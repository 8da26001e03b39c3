#pragma once
#include <string>

namespace brawl {

struct Surface;

// F12's work: `picture` saved as PNG at its own size into `folder`
// (made when missing), named by date and time with a counter so that nothing is
// overwritten. Says where on stdout; a failure is a one-line warning on stderr and the
// game goes on. `counter` counts this run's screenshots.
void SaveScreenshot(const Surface& picture, const std::string& folder, int& counter);

}  // namespace brawl
