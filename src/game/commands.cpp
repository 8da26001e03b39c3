#include "game/commands.h"

#include "game/game.h"
#include "input/joystick.h"
#include "net/replay.h"
#include "platform/keyboard.h"

namespace brawl {

namespace {

struct KeySet {
  Key forward, back, right, left, turn_right, turn_left, fire;
};
constexpr KeySet kKeys[2] = {{Key::Up, Key::Down, Key::Right, Key::Left, Key::Num2, Key::Num1, Key::Num3},
                             {Key::S, Key::X, Key::C, Key::Z, Key::N, Key::B, Key::M}};

PlayerCommands FromKeys(Keyboard& keyboard, int p) {
  const KeySet& k = kKeys[p];
  PlayerCommands c;
  c.forward = keyboard.Held(k.forward);
  c.back = keyboard.Held(k.back);
  c.right = keyboard.Held(k.right);
  c.left = keyboard.Held(k.left);
  c.turn_right = keyboard.Held(k.turn_right);
  c.turn_left = keyboard.Held(k.turn_left);
  c.fire = keyboard.Held(k.fire);
  // Player 1's fourth button is a key of its own; player 2 has none.
  c.spare = p == 0 && keyboard.Held(Key::Num4);
  return c;
}

// One joystick axis gives at most one of its two directions; the four buttons turn right,
// turn left, fire and the spare.
PlayerCommands FromJoystick(Game& game, int i) {
  PollJoystick(game.joy, game.platform.joysticks, i);
  const JoystickState& joy = game.joy;
  PlayerCommands c;
  c.left = joy.JoyX[i] == -1;
  c.right = joy.JoyX[i] == 1;
  c.forward = joy.JoyY[i] == -1;
  c.back = joy.JoyY[i] == 1;
  c.turn_right = joy.JoyButton[i][0] == 1;
  c.turn_left = joy.JoyButton[i][1] == 1;
  c.fire = joy.JoyButton[i][2] == 1;
  c.spare = joy.JoyButton[i][3] == 1;
  return c;
}

}  // namespace

Commands SampleCommands(Game& game) {
  Commands commands;
  Keyboard& keyboard = game.platform.keyboard;
  for (int p = 0; p < 2; ++p) {
    commands.player[p] = game.settings.UseJoystick[p] ? FromJoystick(game, p) : FromKeys(keyboard, p);
  }
  // The shared keys always come from the keyboard, whatever the players steer with.
  commands.enter = keyboard.Held(Key::Enter);
  commands.space = keyboard.Held(Key::Space);
  commands.escape = keyboard.Held(Key::Escape);
  return commands;
}

Commands ReadCommands(Game& game) {
  Commands commands = SampleCommands(game);
  if (const Replay* replay = game.playback; replay != nullptr && !replay->online) {
    const size_t at = static_cast<size_t>(game.passes - 1);
    const bool quit = commands.escape;
    commands = at < replay->passes.size() ? FromReplayPass(replay->passes[at]) : Commands{};
    commands.escape = commands.escape || quit;
  }
  if (game.recording != nullptr) game.recording->passes.push_back(ToReplayPass(commands));
  return commands;
}

}  // namespace brawl
