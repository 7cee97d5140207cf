#pragma once
// Connects the view layer to this one: pictures decoded here, text measured as it is drawn, and
// the cairo surface kept with each picture. The shells and tests call installUiHooks() once.

#include <cairo.h>

#include "platform/ui/Font.h"
#include "platform/ui/Image.h"
#include "platform/render/Text.h"

namespace render {

void installUiHooks();

FontSpec fontSpec(const ui::Font& font);
Rgba rgba(const ui::Color& c);
TextAlign textAlign(ui::TextAlignment a);

// The picture as a cairo surface, made once from its pixels and kept with it; the picture owns it.
cairo_surface_t* surfaceOf(const ui::Image& image);

}  // namespace render
