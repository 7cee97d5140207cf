#pragma once
// The few flat shapes every generated picture is made of: rounded faces, glyphs in
// the terminal's font, and simple line icons.

#include <string>

#include <cairo.h>

#include "Palette.h"

namespace artgen {

void setColour(cairo_t* cr, Rgb c, double alpha = 1.0);
void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
void fillRect(cairo_t* cr, double x, double y, double w, double h, Rgb c, double r = 0, double alpha = 1.0);
void strokeRect(cairo_t* cr, double x, double y, double w, double h, Rgb c, double width, double r = 0,
                double alpha = 1.0);
// Text centred in the box, in the terminal's font (size in pixels).
void glyph(cairo_t* cr, const std::string& text, double x, double y, double w, double h, double size, Rgb c,
           bool bold = false);
// An open chevron pointing left (-1) or right (+1), up (-2) or down (+2), centred on (cx, cy).
void chevron(cairo_t* cr, double cx, double cy, double size, int direction, Rgb c, double width);
// A small check mark inside the box.
void checkMark(cairo_t* cr, double x, double y, double w, double h, Rgb c, double width);
// The backspace key's sign: a tag pointing left with a cross inside.
void backspaceSign(cairo_t* cr, double cx, double cy, double w, double h, Rgb c, double width);

}  // namespace artgen
