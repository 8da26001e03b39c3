#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/fatal_error.h"
#include "platform/surface.h"
#include "support/run_brawl.h"

namespace brawl {

namespace {

size_t CountColour(const Surface& s, uint16_t colour) {
  size_t n = 0;
  for (uint16_t p : s.pixels) n += p == colour;
  return n;
}

class SurfaceText : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { font_ = new Font(OpenFont(12)); }
  static void TearDownTestSuite() {
    delete font_;
    font_ = nullptr;
  }
  static Font* font_;
};
Font* SurfaceText::font_ = nullptr;

TEST_F(SurfaceText, UsesTheLow24BitsOfTheForeColour) {
  Surface white = MakeSurface(100, 20), red = MakeSurface(100, 20);
  SetForeColor(white, -1);
  SetForeColor(red, 0x7FFF0000);
  DrawText(white, *font_, 0, 0, "60.0");
  DrawText(red, *font_, 0, 0, "60.0");
  const size_t ink = CountColour(white, 0xFFFF);
  EXPECT_GT(ink, 10u);
  EXPECT_EQ(CountColour(red, 0xF800), ink);
}

TEST_F(SurfaceText, EveryTextKeepsItsOwnPictureWhileOthersComeAndGo) {
  auto picture = [&](const std::string& text) {
    Surface s = MakeSurface(200, 20);
    SetForeColor(s, 0xFFFFFF);
    DrawText(s, *font_, 2, 2, text);
    return s.pixels;
  };
  const auto first = picture("320X240  fps  60.0");
  std::vector<std::vector<uint16_t>> others;
  for (int i = 0; i < 20; ++i) others.push_back(picture("320X240  fps  " + std::to_string(40 + i) + ".5"));
  EXPECT_EQ(picture("320X240  fps  60.0"), first);
  for (int i = 0; i < 20; ++i)
    EXPECT_EQ(picture("320X240  fps  " + std::to_string(40 + i) + ".5"), others[i]) << i;
  EXPECT_NE(others[0], others[1]);
  EXPECT_NE(first, others[0]);
}

TEST_F(SurfaceText, IsClippedAtEveryEdge) {
  Surface whole = MakeSurface(120, 30);
  SetForeColor(whole, 0xFFFFFF);
  DrawText(whole, *font_, 20, 10, "Wjg|Ay");
  // The same text moved so that it hangs over each edge shows the same pixels where visible.
  const int offsets[][2] = {{-35, -15}, {70, 5}, {-30, 20}, {10, -12}, {-500, 0}, {0, 500}};
  for (const auto& o : offsets) {
    Surface s = MakeSurface(120, 30);
    SetForeColor(s, 0xFFFFFF);
    DrawText(s, *font_, 20 + o[0], 10 + o[1], "Wjg|Ay");
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 120; ++x) {
        const int wx = x - o[0], wy = y - o[1];
        const bool seen = wx >= 0 && wx < 120 && wy >= 0 && wy < 30;
        ASSERT_EQ(s.pixels[size_t(y * 120 + x)], seen ? whole.pixels[size_t(wy * 120 + wx)] : 0)
            << "moved by " << o[0] << "," << o[1] << " at " << x << "," << y;
      }
  }
  Surface far = MakeSurface(120, 30);
  SetForeColor(far, 0xFFFFFF);
  for (int p : {INT32_MIN, INT32_MAX}) {
    DrawText(far, *font_, p, 0, "Wjg|Ay");
    DrawText(far, *font_, 0, p, "Wjg|Ay");
    DrawText(far, *font_, p, p, "Wjg|Ay");
  }
  EXPECT_EQ(CountColour(far, 0xFFFF), 0u);
}

TEST(SurfaceFont, NoFontAtAllIsAOneLineFatalError) {
  const std::string dir = MakeTempDir();
  const std::string conf = dir + "/fonts.conf";
  std::ofstream(conf) << "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n";
  const char* old = std::getenv("FONTCONFIG_FILE");
  const std::string saved = old ? old : "";
  setenv("FONTCONFIG_FILE", conf.c_str(), 1);
  std::string message;
  try {
    OpenFont(12);
  } catch (const FatalError& e) {
    message = e.what();
  }
  if (old) {
    setenv("FONTCONFIG_FILE", saved.c_str(), 1);
  } else {
    unsetenv("FONTCONFIG_FILE");
  }
  std::filesystem::remove_all(dir);
  EXPECT_EQ(message.rfind("font: DejaVu Sans: ", 0), 0u) << message;
  EXPECT_EQ(message.find('\n'), std::string::npos) << message;
}

}  // namespace

}  // namespace brawl
