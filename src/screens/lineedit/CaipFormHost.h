#pragma once
// What the dish order form needs of the dish detail view that carries it: paging to the next or
// previous dish, redrawing the view's line, its price label, and its view, over which the form
// lays its pads and pickers. The detail view implements it and hands itself to the form.

#include <memory>

namespace ui {
class Label;
class View;
}  // namespace ui

class CaipFormHost {
public:
    virtual ~CaipFormHost() = default;
    // Page the detail view to the next / previous dish, in the same line and method-tree objects.
    virtual void nextCaip() = 0;
    virtual void lastCaip() = 0;
    // Redraw the detail view's display of its line.
    virtual void showDish() = 0;
    // The detail view's price label (null when it has none).
    virtual std::shared_ptr<ui::Label> caipPrice() = 0;
    // The detail view's own view: the pads and pickers of the form open over it.
    virtual ui::View& formHostView() = 0;
    // Where the form's own panel lies; the host's view unless the host gives it a frame of its own.
    virtual ui::View& formArea() { return formHostView(); }
};
