#include "game/state_dump.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "game/game.h"
#include "platform/headless/headless_machine.h"
#include "platform/options.h"

namespace {

std::string Float(float value) {
  std::string out;
  AppendDumpFloat(out, value);
  return out;
}

TEST(DumpFloat, NineSignificantDigitsThatReadBackToTheSameFloat) {
  EXPECT_EQ(Float(60.0f), "60");
  EXPECT_EQ(Float(0.0f), "0");
  EXPECT_EQ(Float(-0.0f), "-0");
  EXPECT_EQ(Float(2.5f), "2.5");
  EXPECT_EQ(Float(0.1f), "0.100000001");
  EXPECT_EQ(Float(49.9969254f), "49.9969254");
  EXPECT_EQ(Float(123456789.0f), "123456792");
  EXPECT_EQ(Float(1e10f), "1e+10");
  EXPECT_EQ(Float(std::numeric_limits<float>::infinity()), "null");
  EXPECT_EQ(Float(-std::numeric_limits<float>::infinity()), "null");
  EXPECT_EQ(Float(std::numeric_limits<float>::quiet_NaN()), "null");
  for (float f : {1.0f / 3.0f, 36000.0166f, -45.0000038f, 1e-30f, 3.4e38f, 1.17549435e-38f}) {
    EXPECT_EQ(std::strtof(Float(f).c_str(), nullptr), f) << Float(f);
  }
}

class StateDump : public ::testing::Test {
 protected:
  HeadlessMachine machine_{Options{}, "/nowhere/"};
  Game game_{machine_.platform};
};

TEST_F(StateDump, FieldsInOrderWithTheirValues) {
  game_.loop.GameMode = 1;
  game_.loop.Winner = 2;
  game_.loop.TitleChoice = 1;
  game_.loop.Fps = 60;
  game_.loop.SpeedFactor = 1;
  game_.loop.SpeedLock = 1;
  game_.loop.FpsFrameCount = 7;
  game_.match.Heading[1] = 180;
  game_.match.Fighter[0] = {128, 50, -45, 0.5f, 0, 0, 1};
  game_.match.Fighter[1].Life = -4;
  game_.match.Bullet[1][9] = {-1, 1, 2, 3, 4, 5, 6};
  game_.match.Blood[0][3] = {-1, 7, 8, 9, 10, 11, 12};
  game_.sound.SoundBusy[0] = -1;
  game_.sound.requested = {"title2.wav", "fire.wav"};

  const std::string line = StateDumpLine(game_, 42);
  EXPECT_EQ(line.find_first_of(" \n"), std::string::npos) << line;
  const auto j = nlohmann::ordered_json::parse(line);
  std::vector<std::string> keys;
  for (const auto& item : j.items()) keys.push_back(item.key());
  EXPECT_EQ(keys, (std::vector<std::string>{"pass", "GameMode", "Winner", "TitleChoice", "Fps", "SpeedFactor",
                                            "SpeedLock", "FpsFrameCount", "Heading", "Fighter", "Bullet",
                                            "Blood", "Camera", "SoundBusy", "Sounds"}));
  EXPECT_EQ(j["pass"], 42);
  EXPECT_EQ(j["GameMode"], 1);
  EXPECT_EQ(j["Winner"], 2);
  EXPECT_EQ(j["FpsFrameCount"], 7);
  EXPECT_EQ(j["Heading"], nlohmann::ordered_json::parse("[0,180]"));

  EXPECT_NE(line.find(R"("Fighter":[{"Life":128,"X":50,"Z":-45,"Cooldown":0.5,"DirX":0,"DirY":0,"DirZ":1},)"
                      R"({"Life":-4,"X":0,"Z":0,"Cooldown":0,"DirX":0,"DirY":0,"DirZ":0}])"),
            std::string::npos)
      << line;
  ASSERT_EQ(j["Bullet"].size(), 2u);
  ASSERT_EQ(j["Bullet"][1].size(), 10u);
  EXPECT_EQ(j["Bullet"][1][9].dump(), R"({"Active":-1,"X":1,"Y":2,"Z":3,"DirX":4,"DirY":5,"DirZ":6})");
  EXPECT_EQ(j["Bullet"][0][0].dump(), R"({"Active":0,"X":0,"Y":0,"Z":0,"DirX":0,"DirY":0,"DirZ":0})");
  ASSERT_EQ(j["Blood"][0].size(), 10u);
  EXPECT_EQ(j["Blood"][0][3].dump(), R"({"Active":-1,"X":7,"Y":8,"Z":9,"T":10,"VX":11,"VZ":12})");
  EXPECT_EQ(j["SoundBusy"].dump(), "[-1,0,0,0,0,0,0,0]");
  EXPECT_EQ(j["Sounds"].dump(), R"(["title2.wav","fire.wav"])");
  // The writer only reads the log; clearing it is the caller's job.
  EXPECT_EQ(game_.sound.requested.size(), 2u);
}

TEST_F(StateDump, CamerasStandWhereTheirFramesAreOrAtTheOriginBeforeTheScene) {
  EXPECT_NE(StateDumpLine(game_, 0).find(R"("Camera":[[0,0,0],[0,0,0]])"), std::string::npos);
  game_.scene.frames.resize(3);
  game_.scene.frames[2].position = {50, 2.5f, -35};
  game_.scene.frames[1].position = {49.9969254f, 2.5f, -65};
  game_.frames.Camera[0] = 2;
  game_.frames.Camera[1] = 1;
  EXPECT_NE(StateDumpLine(game_, 0).find(R"("Camera":[[50,2.5,-35],[49.9969254,2.5,-65]])"),
            std::string::npos);
  game_.frames.Camera[1] = 7;  // not made yet
  EXPECT_NE(StateDumpLine(game_, 0).find(R"("Camera":[[50,2.5,-35],[0,0,0]])"), std::string::npos);
}

TEST_F(StateDump, NegativeZeroAndNonFiniteValues) {
  game_.match.Fighter[0].DirX = -0.0f;
  game_.match.Fighter[0].DirZ = std::numeric_limits<float>::quiet_NaN();
  const std::string line = StateDumpLine(game_, 0);
  EXPECT_NE(line.find(R"("DirX":-0,"DirY":0,"DirZ":null)"), std::string::npos) << line;
  EXPECT_NO_THROW(nlohmann::json::parse(line));
}

TEST_F(StateDump, SoundNamesAreEscaped) {
  game_.sound.requested = {"a\"b\\c\n.wav"};
  const auto j = nlohmann::json::parse(StateDumpLine(game_, 0));
  EXPECT_EQ(j["Sounds"][0], "a\"b\\c\n.wav");
}

}  // namespace
