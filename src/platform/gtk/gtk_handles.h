#pragma once
#include <gtk/gtk.h>

#include <memory>

namespace brawl {

// Owners of GTK's handles. A top-level widget is destroyed (GTK holds its reference);
// any other object drops the one reference we hold.
struct WidgetDestroyer {
  void operator()(GtkWidget* widget) const { gtk_widget_destroy(widget); }
};
struct ObjectUnref {
  void operator()(gpointer object) const { g_object_unref(object); }
};

using WindowWidget = std::unique_ptr<GtkWidget, WidgetDestroyer>;
template <typename T>
using ObjectHandle = std::unique_ptr<T, ObjectUnref>;

}  // namespace brawl
