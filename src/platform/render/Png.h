#pragma once
// Writing drawn screens as PNG files (screenshots), whole and atomically.

#include <optional>
#include <string>

#include <cairo.h>

#include "platform/render/Bitmap.h"

namespace render {

// The PNG bytes of an image surface, or nothing when cairo cannot encode it.
std::optional<std::string> encodePng(cairo_surface_t* surface);
bool writePng(cairo_surface_t* surface, const std::string& path);
bool writePng(const Bitmap& bitmap, const std::string& path);

// A copy of an image surface's pixels (ARGB32 or RGB24) as a Bitmap.
Bitmap bitmapFromSurface(cairo_surface_t* surface);
// An image surface over a copy of the bitmap's pixels; the caller destroys it.
cairo_surface_t* surfaceFromBitmap(const Bitmap& bitmap);

}  // namespace render
