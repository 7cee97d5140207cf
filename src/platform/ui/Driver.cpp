#include "platform/ui/Driver.h"

#include <cmath>
#include <cstdio>
#include <functional>

#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/Control.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
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
        else if (static_cast<unsigned char>(c) < 0x20) out += ' ';
        else out += c;
    }
    return out + "\"";
}

bool visibleSelf(const View& v) { return !v.isHidden() && v.alpha() >= 0.01; }

bool visibleInTree(const View& v) {
    for (const View* p = &v; p; p = p->superview())
        if (!visibleSelf(*p)) return false;
    return true;
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
    if (!v.isUserInteractionEnabled() && dynamic_cast<const Control*>(&v)) out += " [no-touch]";
    if (v.isFirstResponder()) out += " [focus]";
    out += '\n';
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

}  // namespace

std::string titleOf(const View& v) {
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
    Point c = vis.center();
    View* hit = window.hitTest(c, nullptr);
    if (!hit) {
        r.error = describe(target) + " takes no touches";
        return r;
    }
    if (hit != &target && !hit->isDescendantOf(&target)) {
        // A label or picture inside a control is passed over by hit-testing; anything else that
        // took the touch covers the target.
        if (!target.isDescendantOf(hit)) {
            r.error = describe(target) + " is covered by " + describe(*hit);
        } else {
            r.error = describe(target) + " takes no touches";
        }
        r.hit = hit;
        return r;
    }
    if (const Control* d = disabledControlOnPath(hit)) {
        r.error = describe(*d) + " is disabled";
        r.hit = hit;
        return r;
    }
    r.hit = window.tap(c);
    r.ok = true;
    return r;
}

TapResult tapTitle(Window& window, std::string_view title) {
    auto found = findViewsWithTitle(window, title);
    if (found.empty()) return {false, "no visible view titled " + quoted(std::string(title)), nullptr};
    // A label that takes no touches stands for the control or cell it sits on.
    View* target = found.front();
    if (!target->isUserInteractionEnabled())
        for (View* p = target->superview(); p; p = p->superview())
            if (p->isUserInteractionEnabled() && (dynamic_cast<Control*>(p) || dynamic_cast<TableViewCell*>(p))) {
                target = p;
                break;
            }
    if (!target->isUserInteractionEnabled()) {
        // A plain label: tap where it is and let hit-testing decide who gets it.
        Rect vis = visibleRectInWindow(*target);
        if (vis.isEmpty()) return {false, describe(*target) + " lies outside the screen", nullptr};
        return tapAt(window, vis.center());
    }
    return tapView(window, *target);
}

TapResult tapTag(Window& window, int tag) {
    auto found = findViewsWithTag(window, tag);
    if (found.empty()) return {false, "no visible view with tag " + std::to_string(tag), nullptr};
    return tapView(window, *found.front());
}

void drag(Window& window, Point from, Point to, int steps) {
    if (steps < 1) steps = 1;
    window.touchBegan(0, from);
    for (int i = 1; i <= steps; ++i) {
        double t = static_cast<double>(i) / steps;
        window.touchMoved(0, {from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t});
    }
    window.touchEnded(0, to);
}

bool typeText(Window& window, std::string_view text) { return window.insertText(text); }

}  // namespace ui
