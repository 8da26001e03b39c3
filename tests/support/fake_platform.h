#pragma once
#include <set>
#include <vector>

#include "platform/platform.h"
#include "platform/surface.h"

namespace brawl {

// A platform of plain fakes for tests that drive game operations directly.
struct FakeClock : Clock {
  double seconds = 36000.0;
  float Seconds() override { return static_cast<float>(seconds); }
  void Pause(int ms) override { seconds += ms > 0 ? ms / 1000.0 : 0.0; }
};

struct FakeKeyboard : Keyboard {
  std::set<Key> held;
  bool Held(Key key) override { return held.count(key) != 0; }
};

struct FakeDisplay : Display {
  int flips = 0;
  bool pointer_shown = true;
  bool restored = false;
  bool close_requested = false;
  void Open(int, int) override {}
  void Flip(const Surface&) override { ++flips; }
  void ShowPointer(bool shown) override { pointer_shown = shown; }
  void Restore() override { restored = true; }
  bool Pump() override { return close_requested; }
};

struct FakeAudio : Audio {
  std::vector<bool> playing;
  bool Open() override { return true; }
  int Load(const std::string&) override { return 0; }
  int Play(int) override {
    playing.push_back(true);
    return static_cast<int>(playing.size() - 1);
  }
  bool IsPlaying(int handle) override { return playing.at(handle); }
};

struct FakeJoysticks : JoystickDevices {
  int attached = 0;
  RawJoystick reading[2];
  int Open(int max) override { return attached < max ? attached : max; }
  RawJoystick Read(int index) override { return reading[index]; }
};

struct FakeDialog : SettingsDialog {
  DialogControls shown;
  std::vector<DialogEvent> pending;
  bool visible = false;
  std::vector<bool> waits;  // the wait flag of every pump, in order
  void Place(int, int) override {}
  void Apply(const DialogControls& controls) override { shown = controls; }
  void Show() override { visible = true; }
  void Hide() override { visible = false; }
  void Pump(DialogControls&, std::vector<DialogEvent>& events, bool wait) override {
    waits.push_back(wait);
    events.insert(events.end(), pending.begin(), pending.end());
    pending.clear();
  }
};

struct FakePlatform {
  FakeClock clock;
  FakeKeyboard keyboard;
  FakeDisplay display;
  FakeAudio audio;
  FakeJoysticks joysticks;
  FakeDialog dialog;
  Platform platform{"/nowhere/", clock, keyboard, display, audio, joysticks, dialog};
};

}  // namespace brawl
