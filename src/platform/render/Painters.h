#pragma once
// Inside the drawing layer: the painters of each kind of control and the shapes they share.
// Every painter draws in the view's own coordinates (its bounds, origin at the top left).

#include <cairo.h>

#include "platform/render/Text.h"
#include "platform/ui/Font.h"
#include "platform/ui/Image.h"
#include "platform/ui/View.h"

namespace render::paint {

// Draws what the view's kind shows above its background; false for a plain view.
bool content(cairo_t* cr, const ui::View& view);
// Drawn above the subviews (a cell's delete button, a table's index).
void overlay(cairo_t* cr, const ui::View& view);

void roundedRect(cairo_t* cr, const ui::Rect& r, double radius);
void fill(cairo_t* cr, const ui::Rect& r, const ui::Color& c, double radius = 0);
void stroke(cairo_t* cr, const ui::Rect& r, const ui::Color& c, double width, double radius = 0);
// A vertical gradient from `top` to `bottom` inside r.
void gradient(cairo_t* cr, const ui::Rect& r, const ui::Color& top, const ui::Color& bottom, double radius = 0);
// The picture scaled into r; a stretchable picture keeps its caps and stretches its middle.
void image(cairo_t* cr, const ui::Image& img, const ui::Rect& r, double alpha = 1.0);
void text(cairo_t* cr, const std::string& s, const ui::Font& font, const ui::Color& colour, const ui::Rect& r,
          ui::TextAlignment align = ui::TextAlignment::Left, int lines = 1, Ellipsis ellipsis = Ellipsis::End);

}  // namespace render::paint
