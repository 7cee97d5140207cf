// The look of each control. Colours and shapes are the familiar ones of touch-screen controls, so
// that a waiter knows each at a glance; nothing here changes what a control does.

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/render/Painters.h"
#include "platform/render/UiHooks.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Button.h"
#include "platform/ui/DatePicker.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/PickerView.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/Switch.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "platform/ui/WebView.h"

namespace render::paint {

namespace {

using ui::Color;
using ui::Rect;

constexpr double kPi = 3.14159265358979323846;
const Color kSelectionTop = Color::rgb(5, 140, 245);
const Color kSelectionBottom = Color::rgb(1, 93, 230);
const Color kGreySelection = Color::white(0.85);
const Color kPlaceholder = Color::white(0.42);  // still lighter than typed text, readable on white
const Color kFieldBorder = Color::white(0.6);

Rect boundsOf(const ui::View& v) {
    return {0, 0, v.frame().width(), v.frame().height()};
}

Ellipsis ellipsisFor(ui::LineBreakMode m) {
    switch (m) {
    case ui::LineBreakMode::TruncateHead: return Ellipsis::Start;
    case ui::LineBreakMode::TruncateMiddle: return Ellipsis::Middle;
    case ui::LineBreakMode::TruncateTail: return Ellipsis::End;
    default: return Ellipsis::None;
    }
}

void label(cairo_t* cr, const ui::Label& l) {
    if (l.text().empty()) return;
    const Rect r = boundsOf(l);
    // A one-line label that may shrink its font has measured the size its text fits in.
    const ui::Font font = l.shownFont();
    const Color colour = l.isHighlighted() ? l.highlightedTextColor() : l.textColor();
    const Ellipsis ellipsis = ellipsisFor(l.lineBreakMode());
    if (l.shadowColor()) {
        const ui::Size o = l.shadowOffset();
        text(cr, l.text(), font, *l.shadowColor(), r.offsetBy(o.width, o.height), l.textAlignment(),
             l.numberOfLines(), ellipsis);
    }
    text(cr, l.text(), font, colour, r, l.textAlignment(), l.numberOfLines(), ellipsis);
}

void imageView(cairo_t* cr, const ui::ImageView& v) {
    const auto& img = v.currentImage();
    if (!img) return;
    const Rect r = boundsOf(v);
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, r.width(), r.height());
    cairo_clip(cr);
    image(cr, *img, ui::placeImage(img->size(), r, v.contentMode()));
    cairo_restore(cr);
}

void button(cairo_t* cr, const ui::Button& b) {
    const Rect r = boundsOf(b);
    const bool highlighted = b.isHighlighted();
    if (b.buttonType() == ui::Button::Type::RoundedRect) {
        if (highlighted)
            gradient(cr, r.insetBy(0.5, 0.5), kSelectionTop, kSelectionBottom, 9);
        else
            fill(cr, r.insetBy(0.5, 0.5), Color::whiteColor(), 9);
        stroke(cr, r.insetBy(0.5, 0.5), Color::white(0.55), 1, 9);
    }
    const auto background = b.currentBackgroundImage();
    if (background) {
        image(cr, *background, r);
        // A pressed button without a picture of its own is drawn darker.
        if (highlighted && b.adjustsImageWhenHighlighted() && !b.backgroundImageForState(ui::ControlState::Highlighted)) {
            cairo_save(cr);
            cairo_set_source_rgba(cr, 0, 0, 0, 0.3);
            cairo_rectangle(cr, r.x(), r.y(), r.width(), r.height());
            cairo_clip(cr);
            cairo_push_group(cr);
            image(cr, *background, r);
            cairo_pattern_t* mask = cairo_pop_group(cr);
            cairo_set_source_rgba(cr, 0, 0, 0, 0.3);
            cairo_mask(cr, mask);
            cairo_pattern_destroy(mask);
            cairo_restore(cr);
        }
    }
    const ui::EdgeInsets in = b.contentEdgeInsets();
    Rect content{in.left, in.top, r.width() - in.left - in.right, r.height() - in.top - in.bottom};
    const std::string title = b.currentTitle();
    if (const auto picture = b.currentImage()) {
        const ui::Size s = picture->size();
        if (title.empty()) {
            image(cr, *picture, ui::placeImage(s, content, ui::ContentMode::Center), b.isEnabled() ? 1.0 : 0.5);
        } else {
            // Picture on the left of the title, the pair centred.
            const double tw = std::min(ui::measureText(title, b.titleFont()).width, content.width() - s.width);
            const double x = content.x() + std::max(0.0, (content.width() - s.width - tw) / 2);
            image(cr, *picture, Rect{x, content.midY() - s.height / 2, s.width, s.height});
            content = Rect{x + s.width, content.y(), std::max(0.0, tw), content.height()};
        }
    }
    if (!title.empty()) {
        if (const auto shadow = b.currentTitleShadowColor())
            text(cr, title, b.titleFont(), *shadow, content.offsetBy(0, -1), b.titleAlignment(), 1, Ellipsis::Middle);
        Color colour = b.currentTitleColor();
        if (highlighted && b.buttonType() == ui::Button::Type::RoundedRect &&
            !b.titleColorForState(ui::ControlState::Highlighted))
            colour = Color::whiteColor();
        // A disabled button without a colour of its own for that state shows a faded title.
        if (!b.isEnabled() && !b.titleColorForState(ui::ControlState::Disabled)) colour.alpha *= 0.45;
        text(cr, title, b.titleFont(), colour, content, b.titleAlignment(), 1, Ellipsis::Middle);
    }
    if (highlighted && b.showsTouchWhenHighlighted()) {
        cairo_pattern_t* glow = cairo_pattern_create_radial(r.midX(), r.midY(), 0, r.midX(), r.midY(), 20);
        cairo_pattern_add_color_stop_rgba(glow, 0, 1, 1, 1, 0.8);
        cairo_pattern_add_color_stop_rgba(glow, 1, 1, 1, 1, 0);
        cairo_set_source(cr, glow);
        cairo_arc(cr, r.midX(), r.midY(), 20, 0, 2 * kPi);
        cairo_fill(cr);
        cairo_pattern_destroy(glow);
    }
}

// The frame of a text field's border, and where its text goes inside.
void textField(cairo_t* cr, const ui::TextField& f) {
    const Rect r = boundsOf(f);
    double inset = 0;
    switch (f.borderStyle()) {
    case ui::TextField::BorderStyle::RoundedRect:
        fill(cr, r.insetBy(0.5, 0.5), Color::whiteColor(), 7);
        stroke(cr, r.insetBy(0.5, 0.5), kFieldBorder, 1, 7);
        inset = 8;
        break;
    case ui::TextField::BorderStyle::Line:
        stroke(cr, r.insetBy(0.5, 0.5), Color::blackColor(), 1);
        inset = 4;
        break;
    case ui::TextField::BorderStyle::Bezel:
        fill(cr, r, Color::whiteColor());
        stroke(cr, r.insetBy(1, 1), Color::white(0.45), 2);
        inset = 6;
        break;
    case ui::TextField::BorderStyle::None: break;
    }
    const Rect box{inset, 0, std::max(0.0, r.width() - 2 * inset), r.height()};
    const std::string shown = f.displayText();
    if (shown.empty()) {
        text(cr, f.placeholder(), f.font(), kPlaceholder, box, f.textAlignment());
    } else {
        text(cr, shown, f.font(), f.textColor(), box, f.textAlignment(), 1, Ellipsis::Start);
    }
    if (f.isEditing()) {
        // A steady caret after the text: frames do not depend on the time they are drawn at.
        const double w = std::min(box.width(), ui::measureText(shown, f.font()).width);
        const double x = f.textAlignment() == ui::TextAlignment::Center  ? box.midX() + w / 2
                         : f.textAlignment() == ui::TextAlignment::Right ? box.maxX()
                                                                         : box.x() + w;
        const double h = f.font().size * 1.2;
        fill(cr, Rect{x + 1, r.midY() - h / 2, 2, h}, Color::rgb(66, 107, 242));
    }
}

void textView(cairo_t* cr, const ui::TextView& v) {
    const Rect r = boundsOf(v);
    const ui::Point origin = v.bounds().origin;
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, r.width(), r.height());
    cairo_clip(cr);
    const double width = std::max(0.0, r.width() - 16);
    // Top-aligned: a text view starts at its first line, not in its middle.
    const double textHeight = ui::measureText(v.text(), v.font(), width).height;
    text(cr, v.text(), v.font(), v.textColor(), Rect{8 - origin.x, 8 - origin.y, width, textHeight},
         v.textAlignment(), 0, Ellipsis::None);
    cairo_restore(cr);
}

void cellBackground(cairo_t* cr, const ui::TableViewCell& c) {
    const Rect r = boundsOf(c);
    if (c.backgroundColor().isClear() && !c.backgroundView()) fill(cr, r, Color::whiteColor());
    const bool lit = c.isSelected() || c.isHighlighted();
    if (lit && !c.selectedBackgroundView()) {
        if (c.selectionStyle() == ui::TableViewCell::SelectionStyle::Blue)
            gradient(cr, r, kSelectionTop, kSelectionBottom);
        else if (c.selectionStyle() == ui::TableViewCell::SelectionStyle::Gray)
            fill(cr, r, kGreySelection);
    }
    const double mid = r.midY();
    const Color mark = lit ? Color::whiteColor() : Color::white(0.5);
    switch (c.accessoryType()) {
    case ui::TableViewCell::AccessoryType::DisclosureIndicator:
        if (c.accessoryView()) break;
        cairo_set_source_rgba(cr, mark.red, mark.green, mark.blue, 1);
        cairo_set_line_width(cr, 3);
        cairo_move_to(cr, r.maxX() - 20, mid - 6);
        cairo_line_to(cr, r.maxX() - 14, mid);
        cairo_line_to(cr, r.maxX() - 20, mid + 6);
        cairo_stroke(cr);
        break;
    case ui::TableViewCell::AccessoryType::Checkmark:
        if (c.accessoryView()) break;
        cairo_set_source_rgba(cr, lit ? 1 : 0.2, lit ? 1 : 0.3, lit ? 1 : 0.5, 1);
        cairo_set_line_width(cr, 3);
        cairo_move_to(cr, r.maxX() - 30, mid);
        cairo_line_to(cr, r.maxX() - 24, mid + 7);
        cairo_line_to(cr, r.maxX() - 12, mid - 8);
        cairo_stroke(cr);
        break;
    case ui::TableViewCell::AccessoryType::DetailDisclosureButton:
        if (c.accessoryView()) break;
        cairo_set_source_rgb(cr, 0.2, 0.45, 0.9);
        cairo_arc(cr, r.maxX() - 22, mid, 11, 0, 2 * kPi);
        cairo_fill(cr);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_set_line_width(cr, 2.5);
        cairo_move_to(cr, r.maxX() - 24, mid - 5);
        cairo_line_to(cr, r.maxX() - 19, mid);
        cairo_line_to(cr, r.maxX() - 24, mid + 5);
        cairo_stroke(cr);
        break;
    case ui::TableViewCell::AccessoryType::None: break;
    }
}

void cellDeleteButton(cairo_t* cr, const ui::TableViewCell& c) {
    if (!c.showsDeleteConfirmation()) return;
    const Rect d = c.deleteConfirmationRect();
    gradient(cr, d, Color::rgb(230, 70, 70), Color::rgb(190, 20, 20), 5);
    text(cr, c.deleteConfirmationTitle(), ui::Font::boldSystemFont(14), Color::whiteColor(), d,
         ui::TextAlignment::Center);
}

// Separators under the rows on screen and the section index strip.
void tableOverlay(cairo_t* cr, const ui::TableView& t) {
    const Rect r = boundsOf(t);
    const ui::Point origin = t.bounds().origin;
    if (t.separatorStyle() != ui::TableView::SeparatorStyle::None && !t.separatorColor().isClear()) {
        const Color c = t.separatorColor();
        cairo_set_source_rgba(cr, c.red, c.green, c.blue, c.alpha);
        for (const auto& p : t.indexPathsForVisibleRows()) {
            const Rect row = t.rectForRow(p);
            const double y = row.maxY() - origin.y - 0.5;
            if (y < 0 || y > r.height()) continue;
            cairo_rectangle(cr, row.x() - origin.x, y - 0.5, row.width(), 1);
        }
        cairo_fill(cr);
    }
    const auto titles = t.sectionIndexTitles();
    if (!titles.empty()) {
        const Rect strip = t.sectionIndexRect();
        const double step = strip.height() / titles.size();
        for (std::size_t i = 0; i < titles.size(); ++i)
            text(cr, titles[i], ui::Font::boldSystemFont(12), Color::white(0.35),
                 Rect{strip.x(), strip.y() + step * i, strip.width(), step}, ui::TextAlignment::Center);
    }
}

// A wheel: a white drum with the rows around the selected one, shaded towards its edges.
void wheel(cairo_t* cr, const Rect& column, double rowHeight, double centreY,
           const std::function<std::string(int offset)>& titleAt, int maxOffset) {
    fill(cr, column.insetBy(2, 0), Color::whiteColor());
    cairo_save(cr);
    cairo_rectangle(cr, column.x(), column.y(), column.width(), column.height());
    cairo_clip(cr);
    const ui::Font font = ui::Font::boldSystemFont(20);
    for (int off = -maxOffset; off <= maxOffset; ++off) {
        const std::string t = titleAt(off);
        if (t.empty()) continue;
        const Rect row{column.x() + 8, centreY + off * rowHeight - rowHeight / 2, column.width() - 16, rowHeight};
        text(cr, t, font, Color::blackColor(), row, ui::TextAlignment::Center);
    }
    cairo_restore(cr);
    cairo_pattern_t* shade = cairo_pattern_create_linear(0, column.minY(), 0, column.maxY());
    cairo_pattern_add_color_stop_rgba(shade, 0, 0, 0, 0, 0.45);
    cairo_pattern_add_color_stop_rgba(shade, 0.35, 0, 0, 0, 0);
    cairo_pattern_add_color_stop_rgba(shade, 0.65, 0, 0, 0, 0);
    cairo_pattern_add_color_stop_rgba(shade, 1, 0, 0, 0, 0.45);
    cairo_set_source(cr, shade);
    cairo_rectangle(cr, column.x() + 2, column.y(), column.width() - 4, column.height());
    cairo_fill(cr);
    cairo_pattern_destroy(shade);
}

void selectionBar(cairo_t* cr, const Rect& r, double rowHeight) {
    const Rect bar{r.x(), r.midY() - rowHeight / 2, r.width(), rowHeight};
    gradient(cr, bar, Color(0.6, 0.65, 0.85, 0.45), Color(0.35, 0.4, 0.7, 0.45));
    stroke(cr, bar, Color(0.4, 0.45, 0.6, 0.8), 1);
}

void pickerView(cairo_t* cr, const ui::PickerView& p) {
    const Rect r = boundsOf(p);
    gradient(cr, r, Color::white(0.25), Color::white(0.1));
    const int n = p.numberOfComponents();
    for (int c = 0; c < n; ++c) {
        const double h = p.rowHeight(c) > 0 ? p.rowHeight(c) : ui::PickerView::kDefaultRowHeight;
        const int selected = p.selectedRowInComponent(c);
        const int rows = p.numberOfRowsInComponent(c);
        const int reach = static_cast<int>(std::ceil(r.height() / h / 2)) + 1;
        wheel(cr, p.rectForComponent(c), h, r.midY(),
              [&](int off) {
                  const int row = selected + off;
                  return selected >= 0 && row >= 0 && row < rows ? p.titleForRow(row, c) : std::string();
              },
              reach);
    }
    if (p.showsSelectionIndicator())
        selectionBar(cr, r, n > 0 && p.rowHeight(0) > 0 ? p.rowHeight(0) : ui::PickerView::kDefaultRowHeight);
}

void datePicker(cairo_t* cr, const ui::DatePicker& d) {
    const Rect r = boundsOf(d);
    gradient(cr, r, Color::white(0.25), Color::white(0.1));
    const double h = ui::PickerView::kDefaultRowHeight;
    const int reach = static_cast<int>(std::ceil(r.height() / h / 2)) + 1;
    const auto columns = d.columns();
    for (std::size_t i = 0; i < columns.size(); ++i)
        wheel(cr, d.rectForColumn(i), h, r.midY(), [&](int off) { return d.columnTitle(columns[i], off); }, reach);
    selectionBar(cr, r, h);
}

void switchControl(cairo_t* cr, const ui::Switch& s) {
    const Rect r = boundsOf(s).insetBy(0.5, 0.5);
    const double radius = r.height() / 2;
    if (s.isOn()) {
        gradient(cr, r, Color::rgb(0, 85, 190), Color::rgb(35, 118, 220), radius);
        text(cr, "ON", ui::Font::boldSystemFont(16), Color::whiteColor(), Rect{r.x(), r.y(), r.width() - r.height(), r.height()},
             ui::TextAlignment::Center);
    } else {
        gradient(cr, r, Color::white(0.85), Color::white(0.98), radius);
        text(cr, "OFF", ui::Font::boldSystemFont(16), Color::white(0.35),
             Rect{r.x() + r.height(), r.y(), r.width() - r.height(), r.height()}, ui::TextAlignment::Center);
    }
    stroke(cr, r, Color::white(0.55), 1, radius);
    const Rect knob{s.isOn() ? r.maxX() - r.height() : r.x(), r.y(), r.height(), r.height()};
    gradient(cr, knob, Color::white(0.98), Color::white(0.8), radius);
    stroke(cr, knob, Color::white(0.6), 1, radius);
}

void segmented(cairo_t* cr, const ui::SegmentedControl& s) {
    const Rect r = boundsOf(s).insetBy(0.5, 0.5);
    fill(cr, r, Color::whiteColor(), 6);
    for (int i = 0; i < s.numberOfSegments(); ++i) {
        const Rect seg = s.rectForSegment(i);
        const bool on = i == s.selectedSegmentIndex();
        if (on) {
            cairo_save(cr);
            roundedRect(cr, r, 6);
            cairo_clip(cr);
            gradient(cr, seg, kSelectionTop, kSelectionBottom);
            cairo_restore(cr);
        }
        if (i > 0) fill(cr, Rect{seg.x(), r.y(), 1, r.height()}, Color::white(0.6));
        text(cr, s.titleForSegment(i), ui::Font::boldSystemFont(13), on ? Color::whiteColor() : Color::white(0.3), seg,
             ui::TextAlignment::Center);
    }
    stroke(cr, r, Color::white(0.55), 1, 6);
}

void activityIndicator(cairo_t* cr, const ui::ActivityIndicatorView& a) {
    const Rect r = boundsOf(a);
    const double size = std::min(r.width(), r.height());
    if (size <= 0) return;
    const double grey = a.style() == ui::ActivityIndicatorView::Style::Gray ? 0.4 : 1.0;
    const int bright = a.phase();
    if (a.style() == ui::ActivityIndicatorView::Style::WhiteLarge) {
        // The large white mark stands on a dark plate of its own: on the light screens it would
        // be white on cream, and a waiter would see nothing while an exchange holds the screen.
        const double side = size * 1.8;
        fill(cr, Rect{r.midX() - side / 2, r.midY() - side / 2, side, side}, Color::white(0, 0.6), side * 0.18);
    }
    cairo_save(cr);
    cairo_translate(cr, r.midX(), r.midY());
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, size / 10);
    for (int i = 0; i < 12; ++i) {
        // The spoke at the phase is brightest; those behind it fade out.
        const int age = (bright - i + 12) % 12;
        cairo_set_source_rgba(cr, grey, grey, grey, 1.0 - age * 0.07);
        const double angle = i * kPi / 6 - kPi / 2;
        cairo_move_to(cr, std::cos(angle) * size * 0.25, std::sin(angle) * size * 0.25);
        cairo_line_to(cr, std::cos(angle) * size * 0.45, std::sin(angle) * size * 0.45);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

void webView(cairo_t* cr, const ui::WebView& w) {
    const Rect r = boundsOf(w);
    fill(cr, r, Color::whiteColor());
    fill(cr, Rect{0, 0, r.width(), 30}, Color::white(0.9));
    text(cr, w.url(), ui::Font::systemFont(13), Color::white(0.3), Rect{8, 0, r.width() - 16, 30});
    const double width = std::max(0.0, r.width() - 16);
    const double height = std::min(r.height() - 38, ui::measureText(w.pageText(), ui::Font::systemFont(15), width).height);
    text(cr, w.pageText(), ui::Font::systemFont(15), Color::blackColor(), Rect{8, 38, width, std::max(0.0, height)},
         ui::TextAlignment::Left, 0, Ellipsis::None);
}

void searchBarBackground(cairo_t* cr, const ui::View& v) {
    const auto* bar = dynamic_cast<const ui::SearchBar*>(v.superview());
    const Color tint = bar ? bar->tintColor() : Color::rgb(176, 188, 205);
    const Rect r = boundsOf(v);
    gradient(cr, r, Color(std::min(1.0, tint.red + 0.1), std::min(1.0, tint.green + 0.1), std::min(1.0, tint.blue + 0.1)),
             tint);
    fill(cr, Rect{0, r.height() - 1, r.width(), 1}, Color::white(0.45));
}

}  // namespace

bool content(cairo_t* cr, const ui::View& view) {
    // Most derived kinds first: a text view is a scroll view, a date picker a control.
    if (auto* l = dynamic_cast<const ui::Label*>(&view)) return label(cr, *l), true;
    if (auto* b = dynamic_cast<const ui::Button*>(&view)) return button(cr, *b), true;
    if (auto* i = dynamic_cast<const ui::ImageView*>(&view)) return imageView(cr, *i), true;
    if (auto* f = dynamic_cast<const ui::TextField*>(&view)) return textField(cr, *f), true;
    if (auto* c = dynamic_cast<const ui::TableViewCell*>(&view)) return cellBackground(cr, *c), true;
    if (auto* t = dynamic_cast<const ui::TextView*>(&view)) return textView(cr, *t), true;
    if (auto* p = dynamic_cast<const ui::PickerView*>(&view)) return pickerView(cr, *p), true;
    if (auto* d = dynamic_cast<const ui::DatePicker*>(&view)) return datePicker(cr, *d), true;
    if (auto* s = dynamic_cast<const ui::Switch*>(&view)) return switchControl(cr, *s), true;
    if (auto* s = dynamic_cast<const ui::SegmentedControl*>(&view)) return segmented(cr, *s), true;
    if (auto* a = dynamic_cast<const ui::ActivityIndicatorView*>(&view)) return activityIndicator(cr, *a), true;
    if (auto* w = dynamic_cast<const ui::WebView*>(&view)) return webView(cr, *w), true;
    if (std::strcmp(view.className(), "UISearchBarBackground") == 0) return searchBarBackground(cr, view), true;
    return false;
}

void overlay(cairo_t* cr, const ui::View& view) {
    if (auto* c = dynamic_cast<const ui::TableViewCell*>(&view)) return cellDeleteButton(cr, *c);
    if (auto* t = dynamic_cast<const ui::TableView*>(&view)) return tableOverlay(cr, *t);
}

}  // namespace render::paint
