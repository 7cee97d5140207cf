#pragma once
// Draws a view tree with cairo, back to front: each view's background, its own content (the text
// of a label, the title and pictures of a button, ...), its subviews shifted by its bounds origin,
// then its border; hidden and fully transparent views are skipped, animations are drawn at their
// current values, and the flip and page-curl transitions at their current progress.

#include <string>

#include <cairo.h>

#include "platform/ui/View.h"
#include "platform/ui/Window.h"

namespace render {

// Draws `view` at its frame in the current cairo coordinates (those of its superview).
void drawView(cairo_t* cr, const ui::View& view);

// The whole window, drawn into a new image surface of its size times `scale` (the caller
// destroys it). The screen is black where no view paints.
cairo_surface_t* drawWindow(const ui::Window& window, double scale = 1.0);
// Draws the window at one pixel per point and writes it as a PNG file.
bool saveScreenshot(const ui::Window& window, const std::string& path);

}  // namespace render
