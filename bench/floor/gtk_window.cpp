// The floor of the settings window's start-up: a bare GTK 3 window with one button. It prints
// the wall-clock time at which the window is mapped, in the game's timing-trace format, and ends.
#include <gtk/gtk.h>

#include <cstdio>
#include <ctime>

namespace {

gboolean OnMapped(GtkWidget*, GdkEvent*, gpointer) {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  std::fprintf(stderr, "brawl: timing: settings-window-mapped %lld.%06ld\n",
               static_cast<long long>(now.tv_sec), now.tv_nsec / 1000);
  gtk_main_quit();
  return FALSE;
}

}  // namespace

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_container_add(GTK_CONTAINER(window), gtk_button_new_with_label("OK"));
  g_signal_connect(window, "map-event", G_CALLBACK(OnMapped), nullptr);
  gtk_widget_show_all(window);
  gtk_main();
  return 0;
}
