#pragma once
#include <gdk-pixbuf/gdk-pixbuf.h>

#include "platform/gtk/gtk_handles.h"

namespace brawl {

// The settings window's 32 x 32 icon, a target, drawn from a 16-colour palette.
ObjectHandle<GdkPixbuf> MakeWindowIcon();

}  // namespace brawl
