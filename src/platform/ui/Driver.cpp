#include "platform/ui/Driver.h"

#include <cmath>
#include <cstdio>
#include <functional>

#include "platform/foundation/RunLoop.h"

#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/Control.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/PickerView.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/Switch.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"

namespace ui {

namespace {

std::string num(double v) {
    if (std::abs(v - std::round(v)) < 1e-9) return std::to_string(static_cast<long long>(std::llround(v)));
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", v);
    std::string s = buf;
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    return s;
}

// Quotes and escapes a text so that one view stays on one line.
std::string quoted(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') { out += '\\'; out += c; }
        else if (c == '\n') out += "\\n";
        else if (c == '\t') out += "\\t";
        else if (c == '\r') out += "\\r";
        else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            // Every other control character by its code: a script quoting the dump gets the very
            // same text back, so a tap by the printed title finds the view.
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02x", static_cast<unsigned char>(c));
            out += code;
        } else out += c;
    }
    return out + "\"";
}

bool visibleSelf(const View& v) { return !v.isHidden() && v.alpha() >= 0.01; }

bool visibleInTree(const View& v) {
    for (const View* p = &v; p; p = p->superview())
        if (!visibleSelf(*p)) return false;
    return true;
}

// A wheel may hold thousands of rows; the dump shows the first ones and says how many it left out.
constexpr int kMaxDumpedRows = 200;
// Finding a row by its title reads at most this many rows of a wheel.
constexpr int kMaxSearchedRows = 10000;

void dumpRows(const PickerView& picker, int depth, std::string& out) {
    for (int c = 0; c < picker.numberOfComponents(); ++c) {
        const int rows = picker.numberOfRowsInComponent(c);
        const int selected = picker.selectedRowInComponent(c);
        for (int r = 0; r < rows && r < kMaxDumpedRows; ++r) {
            out.append(static_cast<std::size_t>(depth) * 2, ' ');
            out += "Row " + std::to_string(c) + "/" + std::to_string(r);
            std::string title = picker.titleForRow(r, c);
            if (!title.empty()) out += " title=" + quoted(title);
            if (r == selected) out += " [selected]";
            out += '\n';
        }
        if (rows > kMaxDumpedRows) {
            out.append(static_cast<std::size_t>(depth) * 2, ' ');
            out += "Row " + std::to_string(c) + "/... " + std::to_string(rows - kMaxDumpedRows) + " more\n";
        }
    }
}

void dumpInto(const View& v, int depth, std::string& out) {
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
    out += v.className();
    Rect f = v.frame();
    out += " frame=(" + num(f.x()) + "," + num(f.y()) + "," + num(f.width()) + "," + num(f.height()) + ")";
    if (v.tag() != 0) out += " tag=" + std::to_string(v.tag());
    std::string title = titleOf(v);
    if (!title.empty()) out += " title=" + quoted(title);
    if (auto* iv = dynamic_cast<const ImageView*>(&v); iv && iv->currentImage() && !iv->currentImage()->name().empty())
        out += " image=" + quoted(iv->currentImage()->name());
    if (auto* b = dynamic_cast<const Button*>(&v); b && b->currentBackgroundImage() && !b->currentBackgroundImage()->name().empty())
        out += " image=" + quoted(b->currentBackgroundImage()->name());
    if (auto* s = dynamic_cast<const Switch*>(&v)) out += s->isOn() ? " on" : " off";
    if (v.isHidden()) out += " [hidden]";
    if (v.alpha() < 1) out += " alpha=" + num(v.alpha());
    if (auto* c = dynamic_cast<const Control*>(&v)) {
        if (!c->isEnabled()) out += " [disabled]";
        if (c->isSelected()) out += " [selected]";
    }
    if (auto* c = dynamic_cast<const TableViewCell*>(&v); c && c->isSelected()) out += " [selected]";
    // A container that refuses touches shuts off everything it holds, so it is marked too.
    if (!v.isUserInteractionEnabled() && (dynamic_cast<const Control*>(&v) || !v.subviews().empty()))
        out += " [no-touch]";
    if (v.isFirstResponder()) out += " [focus]";
    out += '\n';
    if (auto* picker = dynamic_cast<const PickerView*>(&v)) dumpRows(*picker, depth + 1, out);
    for (auto& c : v.subviews()) dumpInto(*c, depth + 1, out);
}

// Front-most first: later siblings and children are drawn over earlier ones and their parent.
void collect(View& v, const std::function<bool(View&)>& match, std::vector<View*>& out) {
    if (!visibleSelf(v)) return;
    auto children = v.subviews();
    for (auto it = children.rbegin(); it != children.rend(); ++it) collect(**it, match, out);
    if (match(v)) out.push_back(&v);
}

Rect visibleRectInWindow(const View& target) {
    Rect r = target.convertRectTo(target.bounds(), nullptr);
    for (const View* p = target.superview(); p; p = p->superview()) {
        if (p->clipsToBounds() || !p->superview()) r = r.intersection(p->convertRectTo(p->bounds(), nullptr));
    }
    return r;
}

const Control* disabledControlOnPath(const View* hit) {
    for (const View* v = hit; v; v = v->superview())
        if (auto* c = dynamic_cast<const Control*>(v); c && !c->isEnabled()) return c;
    return nullptr;
}

std::string describe(const View& v) {
    std::string s = v.className();
    std::string t = titleOf(v);
    if (!t.empty()) s += " " + quoted(t);
    if (v.tag() != 0) s += " tag=" + std::to_string(v.tag());
    return s;
}


// Whether `a` is drawn over `b`: a later sibling (or something inside one) is drawn over an
// earlier one and everything inside it; a view is drawn under its own subviews.
bool drawnInFront(const View& a, const View& b) {
    if (b.isDescendantOf(&a)) return false;
    if (a.isDescendantOf(&b)) return true;
    for (const View* pa = &a; pa->superview(); pa = pa->superview()) {
        const View* parent = pa->superview();
        if (!b.isDescendantOf(parent)) continue;
        const View* pb = &b;
        while (pb->superview() != parent) pb = pb->superview();
        for (auto& child : parent->subviews()) {
            if (child.get() == pa) return false;
            if (child.get() == pb) return true;
        }
        return false;
    }
    return false;
}

// Where a finger goes to reach `target` (the centre of its part on screen) and the view that
// takes the touch there. Fails when the target cannot be reached: not in the window, hidden,
// off the screen, nothing takes a touch there, or a view drawn over it takes the touch.
TapResult aim(Window& window, View& target, Point& at) {
    TapResult r;
    if (target.window() != &window) {
        r.error = describe(target) + " is not on screen";
        return r;
    }
    if (!visibleInTree(target)) {
        r.error = describe(target) + " is hidden";
        return r;
    }
    Rect vis = visibleRectInWindow(target);
    if (vis.isEmpty()) {
        r.error = describe(target) + " lies outside the screen";
        return r;
    }
    at = vis.center();
    View* hit = window.hitTest(at, nullptr);
    r.hit = hit;
    if (!hit || hit == &window) {
        r.error = describe(target) + " takes no touches";
        return r;
    }
    // The target itself or a part of it; the control or view that holds a part that takes no
    // touches (a label in a button, the picture of a key in a keypad); or, for a target that
    // takes no touches, whatever lies beneath it. A view drawn over the target covers it.
    if (!hit->isDescendantOf(&target) && !target.isDescendantOf(hit)) {
        if (drawnInFront(*hit, target)) {
            r.error = describe(target) + " is covered by " + describe(*hit);
            return r;
        }
        // A control is meant to take the touch itself, not pass it on.
        if (target.isUserInteractionEnabled()) {
            r.error = describe(target) + " takes no touches there";
            return r;
        }
    } else if (hit != &target && !hit->isDescendantOf(&target) && target.isUserInteractionEnabled()) {
        // The touch stops at a view that holds the target: the target never gets it, so nothing
        // a person would expect happens. Usually a container between them refuses touches.
        for (const View* p = target.superview(); p && p != hit; p = p->superview())
            if (!p->isUserInteractionEnabled()) {
                r.error = describe(target) + " lies inside " + describe(*p) + ", which takes no touches";
                return r;
            }
        r.error = describe(target) + " takes no touches there; " + describe(*hit) + " gets them";
        return r;
    }
    if (const Control* d = disabledControlOnPath(hit)) {
        r.error = describe(*d) + " is disabled";
        return r;
    }
    r.ok = true;
    return r;
}

// A view that takes no touches stands for the control or cell it sits on.
View* standIn(View* target) {
    if (!target->isUserInteractionEnabled())
        for (View* p = target->superview(); p; p = p->superview())
            if (p->isUserInteractionEnabled() && (dynamic_cast<Control*>(p) || dynamic_cast<TableViewCell*>(p)))
                return p;
    return target;
}

// Lays the finger on `from`, moves it by `by` in `moves` equal moves with `pause` seconds of the
// manual clock before each, and lifts it.
void stroke(Window& window, Point from, Point by, int moves, double pause) {
    auto& loop = platform::RunLoop::main();
    moves = std::max(1, moves);
    window.touchBegan(0, from);
    for (int i = 1; i <= moves; ++i) {
        if (pause > 0 && loop.manualClock()) loop.advanceBy(pause);
        const double t = static_cast<double>(i) / moves;
        window.touchMoved(0, {from.x + by.x * t, from.y + by.y * t});
    }
    window.touchEnded(0, {from.x + by.x, from.y + by.y});
}

// The same in moves of at most 10 points spread over `seconds`; see dragBy.
void stroke(Window& window, Point from, Point by, double seconds) {
    const int moves = std::max(1, static_cast<int>(std::ceil(std::hypot(by.x, by.y) / 10)));
    stroke(window, from, by, moves, std::isfinite(seconds) && seconds > 0 ? seconds / moves : 0);
}

}  // namespace

namespace {

std::string shownText(const View& v) {
    if (auto* b = dynamic_cast<const Button*>(&v)) return b->currentTitle();
    if (auto* l = dynamic_cast<const Label*>(&v)) return l->text();
    if (auto* f = dynamic_cast<const TextField*>(&v)) return f->text().empty() ? f->placeholder() : f->text();
    if (auto* t = dynamic_cast<const TextView*>(&v)) return t->text();
    if (auto* c = dynamic_cast<const TableViewCell*>(&v)) return c->existingTextLabel() ? c->existingTextLabel()->text() : "";
    if (auto* s = dynamic_cast<const SearchBar*>(&v)) return s->text().empty() ? s->placeholder() : s->text();
    if (auto* a = dynamic_cast<const AlertView*>(&v)) return a->title().value_or("");
    if (auto* s = dynamic_cast<const SegmentedControl*>(&v)) return s->titleForSegment(s->selectedSegmentIndex());
    if (auto* w = dynamic_cast<const WebView*>(&v)) return w->url();
    return "";
}

}  // namespace

std::string titleOf(const View& v) {
    std::string text = shownText(v);
    return text.empty() ? v.accessibilityLabel() : text;
}

std::string dumpTree(const View& root) {
    std::string out;
    dumpInto(root, 0, out);
    return out;
}

std::vector<View*> findViewsWithTitle(View& root, std::string_view title) {
    std::vector<View*> out;
    // A cell's label stands for the cell: a tap on the label's place reaches the cell anyway.
    collect(root, [title](View& v) { return !titleOf(v).empty() && titleOf(v) == title; }, out);
    return out;
}

std::vector<View*> findViewsWithTag(View& root, int tag) {
    std::vector<View*> out;
    collect(root, [tag](View& v) { return v.tag() == tag; }, out);
    return out;
}

TapResult tapAt(Window& window, Point p) {
    TapResult r;
    View* hit = window.hitTest(p, nullptr);
    if (!hit || hit == &window) {
        r.error = "nothing takes a touch at (" + num(p.x) + "," + num(p.y) + ")";
        return r;
    }
    if (const Control* c = disabledControlOnPath(hit)) {
        r.error = describe(*c) + " is disabled";
        r.hit = hit;
        return r;
    }
    r.hit = window.tap(p);
    r.ok = true;
    return r;
}

TapResult tapView(Window& window, View& target) {
    Point at;
    TapResult r = aim(window, target, at);
    if (!r.ok) return r;
    r.hit = window.tap(at);
    return r;
}

TapResult tapTitle(Window& window, std::string_view title) {
    auto found = findViewsWithTitle(window, title);
    if (found.empty()) return {false, "no visible view titled " + quoted(std::string(title)), nullptr};
    return tapView(window, *standIn(found.front()));
}

TapResult tapTag(Window& window, int tag) {
    auto found = findViewsWithTag(window, tag);
    if (found.empty()) return {false, "no visible view with tag " + std::to_string(tag), nullptr};
    return tapView(window, *standIn(found.front()));
}

std::vector<View*> onScreenWithTitle(Window& window, std::string_view title) {
    auto found = findViewsWithTitle(window, title);
    std::erase_if(found, [](View* v) { return visibleRectInWindow(*v).isEmpty(); });
    return found;
}

std::vector<View*> onScreenWithTag(Window& window, int tag) {
    auto found = findViewsWithTag(window, tag);
    std::erase_if(found, [](View* v) { return visibleRectInWindow(*v).isEmpty(); });
    return found;
}

TapResult dragBy(Window& window, Point from, Point by, double seconds) {
    View* hit = window.hitTest(from, nullptr);
    if (!hit || hit == &window) return {false, "nothing takes a touch at (" + num(from.x) + "," + num(from.y) + ")", nullptr};
    stroke(window, from, by, seconds);
    return {true, "", hit};
}

TapResult dragViewBy(Window& window, View& target, Point by, double seconds) {
    Point at;
    TapResult r = aim(window, target, at);
    if (!r.ok) return r;
    stroke(window, at, by, seconds);
    return r;
}

TapResult pickRow(Window& window, std::string_view title) {
    std::vector<View*> pickers;
    collect(window, [](View& v) { return dynamic_cast<PickerView*>(&v) != nullptr; }, pickers);
    for (View* v : pickers) {
        auto& picker = static_cast<PickerView&>(*v);
        for (int c = 0; c < picker.numberOfComponents(); ++c) {
            const int rows = std::min(picker.numberOfRowsInComponent(c), kMaxSearchedRows);
            for (int row = 0; row < rows; ++row) {
                if (picker.titleForRow(row, c) != title) continue;
                // The finger goes on the wheel's column, on the centre line, and pushes the
                // wheel at most half the picker's height at a time, as on the glass.
                Point at;
                TapResult r = aim(window, picker, at);
                if (!r.ok) return r;
                const Rect column = picker.convertRectTo(picker.rectForComponent(c), nullptr)
                                        .intersection(visibleRectInWindow(picker));
                if (column.isEmpty()) return {false, describe(picker) + ": the wheel lies outside the screen", nullptr};
                const Point start = column.center();
                if (View* hit = window.hitTest(start, nullptr); !hit || !hit->isDescendantOf(&picker))
                    return {false, describe(picker) + ": the wheel is covered", hit};
                const double h = picker.rowHeight(c);
                const int perStroke = std::max(1, static_cast<int>(column.height() / 2 / h));
                while (picker.selectedRowInComponent(c) != row) {
                    const int before = picker.selectedRowInComponent(c);
                    const int turn = std::clamp(row - before, -perStroke, perStroke);
                    // Pushing the wheel up brings later rows to the centre.
                    stroke(window, start, {0, -turn * h}, 0.0);
                    if (picker.selectedRowInComponent(c) == before) break;
                }
                if (picker.selectedRowInComponent(c) != row)
                    return {false, describe(picker) + ": the wheel stopped at row " +
                                       std::to_string(picker.selectedRowInComponent(c)) + ", not " + std::to_string(row), &picker};
                return {true, "", &picker};
            }
        }
    }
    return {false, "no picker shows a row titled " + quoted(std::string(title)), nullptr};
}

void drag(Window& window, Point from, Point to, int steps) {
    stroke(window, from, {to.x - from.x, to.y - from.y}, steps, 0);
}

bool typeText(Window& window, std::string_view text) { return window.insertText(text); }

}  // namespace ui
