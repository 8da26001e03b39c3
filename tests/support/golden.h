#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gfx/surface.h"

namespace brawl {

// Golden pictures live in tests/golden/ of the source tree. A mismatch saves the picture
// that was made and a diff picture (differing pixels red, the rest the golden picture
// dimmed) in <build>/golden-failures/. With BRAWL_UPDATE_GOLDEN=1 in the environment the
// golden picture is rewritten from the one made instead of compared.

// Any PNG as an RGB565 surface; fails the current test and returns an empty surface when
// the file cannot be read.
Surface LoadPng(const std::string& path);

::testing::AssertionResult MatchesGolden(const Surface& actual, const std::string& name);

// The picture the flip of pass `pass` shows in a headless run of `script` with `args`
// added; fails the current test (and returns an empty surface) when the run fails.
Surface HeadlessScreenshot(const std::string& script, int pass, const std::vector<std::string>& args = {});

}  // namespace brawl
