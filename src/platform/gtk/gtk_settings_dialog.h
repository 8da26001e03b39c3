#pragma once
#include <string>
#include <vector>

#include "platform/gtk/gtk_handles.h"
#include "platform/settings_dialog.h"

namespace brawl {

// The settings window, as a GTK 3 window laid out to the pixel, in the player's language
// (the original Japanese captions for Japanese players). It shows the picture of
// `icon_file`, the installed application icon. GTK must have been started (gtk_init_check)
// before it is made.
class GtkSettingsDialog final : public SettingsDialog {
 public:
  explicit GtkSettingsDialog(std::string icon_file = "");
  ~GtkSettingsDialog() override;
  GtkSettingsDialog(const GtkSettingsDialog&) = delete;
  GtkSettingsDialog& operator=(const GtkSettingsDialog&) = delete;

  void Place(int width, int height) override;
  void Apply(const DialogControls& controls) override;
  void Show() override;
  void Hide() override;
  void Pump(DialogControls& controls, std::vector<DialogEvent>& events, bool wait) override;

  // The top-level window, or null before it is made and once it is destroyed; for tests
  // that look inside.
  GtkWidget* window() const { return window_.get(); }

 private:
  void Build(int width, int height);
  static gboolean OnBoxKey(GtkWidget*, GdkEventKey* event, gpointer self);
  static gboolean OnWindowKey(GtkWidget*, GdkEventKey* event, gpointer self);
  static void OnLaunch(GtkButton*, gpointer self);
  static void OnQuit(GtkButton*, gpointer self);
  static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer self);
  static gboolean OnMapped(GtkWidget*, GdkEvent*, gpointer);
  static void OnDestroy(GtkWidget*, gpointer self);

  std::string icon_file_;
  ObjectHandle<GtkCssProvider> css_;
  WindowWidget window_;
  GtkWidget* check1_[2] = {nullptr, nullptr};
  GtkWidget* check2_ = nullptr;
  GtkWidget* check3_ = nullptr;
  GtkWidget* command1_ = nullptr;
  GtkWidget* command2_ = nullptr;
  std::vector<DialogEvent> pending_;
  bool destroyed_ = false;  // by the window system: it is not made again
};

// Lets GTK run whatever is pending, without waiting.
void DrainGtkEvents();

}  // namespace brawl
