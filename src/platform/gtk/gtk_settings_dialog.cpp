#include "platform/gtk/gtk_settings_dialog.h"

#include "base/file_reader.h"
#include "base/i18n.h"
#include "base/timing_trace.h"

namespace brawl {

namespace {

// The window's designed layout, in pixels of its client area.
struct Spot {
  int left, top, width, height;
};
constexpr Spot kFrame1{16, 16, 289, 81};
// The joystick boxes sit inside the frame, relative to it.
constexpr Spot kCheck1[2] = {{24, 16, 145, 25}, {24, 48, 145, 25}};
constexpr Spot kCheck2{40, 104, 193, 25};
constexpr Spot kCheck3{40, 136, 225, 12};
constexpr Spot kCommand2{16, 160, 289, 33};
constexpr Spot kCommand1{16, 200, 289, 33};

// The designed sizes hold the captions at 9 points only with slim check marks and buttons.
constexpr char kCss[] =
    "window, window * { font-family: \"IPAPGothic\"; font-size: 9pt; }"
    "checkbutton { padding: 0; }"
    "checkbutton check { min-width: 13px; min-height: 13px; margin: 0 3px 0 0; }"
    "checkbutton label { margin: 0; padding: 0; }"
    "button { padding-top: 2px; padding-bottom: 2px; }";

// The picture of `file`, read as every file of the game is (a pipe at that name is refused at
// once); null when there is none to show.
ObjectHandle<GdkPixbuf> LoadIcon(const std::string& file) {
  constexpr int64_t kMaxIconBytes = 4 << 20;
  std::string bytes;
  if (file.empty() || !ReadWholeFile(file, kMaxIconBytes, bytes).reason.empty()) return nullptr;
  const ObjectHandle<GdkPixbufLoader> loader(gdk_pixbuf_loader_new());
  // A loader that fails to take the bytes has closed itself.
  if (!gdk_pixbuf_loader_write(loader.get(), reinterpret_cast<const guchar*>(bytes.data()), bytes.size(),
                               nullptr) ||
      !gdk_pixbuf_loader_close(loader.get(), nullptr))
    return nullptr;
  GdkPixbuf* picture = gdk_pixbuf_loader_get_pixbuf(loader.get());
  return ObjectHandle<GdkPixbuf>(picture != nullptr ? GDK_PIXBUF(g_object_ref(picture)) : nullptr);
}

GtkWidget* PutAt(GtkWidget* fixed, GtkWidget* widget, Spot at, int dx = 0, int dy = 0) {
  gtk_widget_set_size_request(widget, at.width, at.height);
  gtk_fixed_put(GTK_FIXED(fixed), widget, at.left + dx, at.top + dy);
  return widget;
}

}  // namespace

void DrainGtkEvents() {
  while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
}

GtkSettingsDialog::GtkSettingsDialog(std::string icon_file) : icon_file_(std::move(icon_file)) {}

GtkSettingsDialog::~GtkSettingsDialog() {
  if (window_) {
    // Our own destroy is no close request.
    g_signal_handlers_disconnect_by_data(window_.get(), this);
    window_.reset();
    DrainGtkEvents();
  }
  if (css_) {
    GdkScreen* screen = gdk_screen_get_default();
    if (screen != nullptr)
      gtk_style_context_remove_provider_for_screen(screen, GTK_STYLE_PROVIDER(css_.get()));
  }
}

void GtkSettingsDialog::Build(int width, int height) {
  css_.reset(gtk_css_provider_new());
  gtk_css_provider_load_from_data(css_.get(), kCss, -1, nullptr);
  gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(css_.get()),
                                            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);

  // The desktop entry's class (StartupWMClass), so that a dock shows the window under the
  // game's entry; set before the window is realized.
  gdk_set_program_class(BRAWL_APP_ID);
  window_.reset(gtk_window_new(GTK_WINDOW_TOPLEVEL));
  GtkWindow* window = GTK_WINDOW(window_.get());
  gtk_window_set_title(window, _("Pre-Sortie Settings"));
  gtk_window_set_resizable(window, FALSE);
  // A dialog: window managers neither maximise nor tile it.
  gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_DIALOG);
  // The installed icon; without the file, the icon theme's by the game's name.
  const ObjectHandle<GdkPixbuf> icon = LoadIcon(icon_file_);
  if (icon) {
    gtk_window_set_icon(window, icon.get());
  } else {
    gtk_window_set_icon_name(window, BRAWL_APP_ID);
  }

  GtkWidget* fixed = gtk_fixed_new();
  gtk_widget_set_size_request(fixed, width, height);
  gtk_container_add(GTK_CONTAINER(window), fixed);

  // A GtkFixed inside the frame would shift the boxes down by the caption's height, so
  // the boxes go on the window's own layout at the frame's origin plus their offset.
  PutAt(fixed, gtk_frame_new(_("Controls")), kFrame1);
  check1_[0] = PutAt(fixed, gtk_check_button_new_with_label(_("1P uses a joystick")), kCheck1[0],
                     kFrame1.left, kFrame1.top);
  check1_[1] = PutAt(fixed, gtk_check_button_new_with_label(_("2P uses a joystick")), kCheck1[1],
                     kFrame1.left, kFrame1.top);
  check2_ = PutAt(fixed, gtk_check_button_new_with_label(_("Sortie in high-res mode (heavy)")), kCheck2);
  check3_ = PutAt(fixed, gtk_check_button_new_with_label(_("See your machine's limits... (fps)")), kCheck3);
  command2_ =
      PutAt(fixed, gtk_button_new_with_label(_("Ouch... my stomach hurts. Sortie called off")), kCommand2);
  command1_ = PutAt(fixed, gtk_button_new_with_label(_("Sortie!")), kCommand1);

  // Tab order: the start button first, then top to bottom with the quit button before
  // the frame-rate box.
  GList* chain = nullptr;
  for (GtkWidget* widget : {command1_, check1_[0], check1_[1], check2_, command2_, check3_}) {
    chain = g_list_append(chain, widget);
  }
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  gtk_container_set_focus_chain(GTK_CONTAINER(fixed), chain);
  G_GNUC_END_IGNORE_DEPRECATIONS
  g_list_free(chain);

  // Enter on a box launches, as on the start button, instead of toggling what the player
  // has just ticked; Space still toggles.
  for (GtkWidget* box : {check1_[0], check1_[1], check2_, check3_}) {
    g_signal_connect(box, "key-press-event", G_CALLBACK(OnBoxKey), this);
  }
  // Escape is the quit button, as in any desktop dialog.
  g_signal_connect(window_.get(), "key-press-event", G_CALLBACK(OnWindowKey), this);
  g_signal_connect(command1_, "clicked", G_CALLBACK(OnLaunch), this);
  g_signal_connect(command2_, "clicked", G_CALLBACK(OnQuit), this);
  g_signal_connect(window_.get(), "delete-event", G_CALLBACK(OnDelete), this);
  g_signal_connect(window_.get(), "map-event", G_CALLBACK(OnMapped), nullptr);
  g_signal_connect(window_.get(), "destroy", G_CALLBACK(OnDestroy), this);

  // Centred as the window manager sees fit: it alone knows the size of its frame.
  gtk_window_set_position(window, GTK_WIN_POS_CENTER);
  gtk_widget_show_all(fixed);
}

gboolean GtkSettingsDialog::OnBoxKey(GtkWidget*, GdkEventKey* event, gpointer self) {
  const guint key = event->keyval;
  if (key != GDK_KEY_Return && key != GDK_KEY_KP_Enter && key != GDK_KEY_ISO_Enter) return FALSE;
  GtkWidget* start = static_cast<GtkSettingsDialog*>(self)->command1_;
  if (gtk_widget_is_sensitive(start)) gtk_button_clicked(GTK_BUTTON(start));
  return TRUE;
}

gboolean GtkSettingsDialog::OnWindowKey(GtkWidget*, GdkEventKey* event, gpointer self) {
  if (event->keyval != GDK_KEY_Escape) return FALSE;
  GtkWidget* quit = static_cast<GtkSettingsDialog*>(self)->command2_;
  if (gtk_widget_is_sensitive(quit)) gtk_button_clicked(GTK_BUTTON(quit));
  return TRUE;
}

void GtkSettingsDialog::Place(int width, int height) {
  if (window_ || destroyed_) return;
  Build(width, height);
}

void GtkSettingsDialog::Apply(const DialogControls& controls) {
  Place(320, 240);
  if (!window_) return;
  for (int i = 0; i < 2; ++i) {
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(check1_[i]), controls.joystick_ticked[i]);
    gtk_widget_set_sensitive(check1_[i], controls.joystick_enabled[i]);
  }
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(check2_), controls.hires_ticked);
  gtk_widget_set_sensitive(check2_, controls.hires_enabled);
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(check3_), controls.fps_ticked);
  gtk_widget_set_sensitive(check3_, controls.fps_enabled);
  gtk_widget_set_sensitive(command1_, controls.launch_enabled);
  gtk_widget_set_sensitive(command2_, controls.quit_enabled);
}

void GtkSettingsDialog::Show() {
  Place(320, 240);
  if (!window_) return;
  gtk_window_present(GTK_WINDOW(window_.get()));
  // Enter launches at once.
  gtk_widget_grab_focus(command1_);
}

void GtkSettingsDialog::Hide() {
  if (!window_) return;
  // Taken first: the drain may find the window destroyed.
  GdkDisplay* display = gtk_widget_get_display(window_.get());
  gtk_widget_hide(window_.get());
  DrainGtkEvents();
  // The window must be gone from the screen before the game's window takes it.
  gdk_display_sync(display);
}

void GtkSettingsDialog::Pump(DialogControls& controls, std::vector<DialogEvent>& events, bool wait) {
  // Sleeps in GTK until the window system has something, unless there is news already.
  if (wait && pending_.empty()) {
    // A stop signal wakes nothing in GTK: the caller looks for one at least five times a second.
    GSource* wake = g_timeout_source_new(200);
    g_source_set_callback(
        wake, [](gpointer) -> gboolean { return G_SOURCE_REMOVE; }, nullptr, nullptr);
    g_source_attach(wake, nullptr);
    gtk_main_iteration_do(TRUE);
    g_source_destroy(wake);
    g_source_unref(wake);
  }
  DrainGtkEvents();
  if (window_) {
    for (int i = 0; i < 2; ++i) {
      controls.joystick_ticked[i] = gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(check1_[i]));
    }
    controls.hires_ticked = gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(check2_));
    controls.fps_ticked = gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(check3_));
  }
  events.insert(events.end(), pending_.begin(), pending_.end());
  pending_.clear();
}

gboolean GtkSettingsDialog::OnMapped(GtkWidget*, GdkEvent*, gpointer) {
  TraceTiming("settings-window-mapped");
  return FALSE;
}

void GtkSettingsDialog::OnLaunch(GtkButton*, gpointer self) {
  TraceTiming("launch");
  static_cast<GtkSettingsDialog*>(self)->pending_.push_back(DialogEvent::Launch);
}

void GtkSettingsDialog::OnQuit(GtkButton*, gpointer self) {
  static_cast<GtkSettingsDialog*>(self)->pending_.push_back(DialogEvent::Quit);
}

// The close box always closes: the window goes at once and the game hears of it.
gboolean GtkSettingsDialog::OnDelete(GtkWidget* widget, GdkEvent*, gpointer self) {
  static_cast<GtkSettingsDialog*>(self)->pending_.push_back(DialogEvent::Close);
  gtk_widget_hide(widget);
  return TRUE;
}

// A window destroyed by the window system (xkill, some window managers) is destroyed by GTK
// itself, widgets and all: that is the close request, and none of the widgets is ours any
// more.
void GtkSettingsDialog::OnDestroy(GtkWidget*, gpointer self) {
  auto* dialog = static_cast<GtkSettingsDialog*>(self);
  (void)dialog->window_.release();
  dialog->check1_[0] = dialog->check1_[1] = nullptr;
  dialog->check2_ = dialog->check3_ = dialog->command1_ = dialog->command2_ = nullptr;
  dialog->destroyed_ = true;
  dialog->pending_.push_back(DialogEvent::Close);
}

}  // namespace brawl
