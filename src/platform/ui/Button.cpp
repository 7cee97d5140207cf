#include "platform/ui/Button.h"

#include <algorithm>

namespace ui {

Button::Button(Type type) : type_(type) {}
Button::Button(Type type, const Rect& frame) : Control(frame), type_(type) {}

template <typename T>
const T* Button::lookup(const std::map<ControlState, T>& m, ControlState s) {
    auto it = m.find(s);
    if (it != m.end()) return &it->second;
    it = m.find(ControlState::Normal);
    return it != m.end() ? &it->second : nullptr;
}

template <typename T, typename V>
static void setFor(std::map<ControlState, T>& m, ControlState s, V value, bool present) {
    if (present) m[s] = std::move(value);
    else m.erase(s);
}

void Button::setTitle(std::optional<std::string> title, ControlState state) {
    bool has = title.has_value();
    setFor(titles_, state, has ? std::move(*title) : std::string(), has);
    setNeedsDisplay();
}
void Button::setTitleColor(std::optional<Color> color, ControlState state) {
    setFor(titleColors_, state, color.value_or(Color{}), color.has_value());
    setNeedsDisplay();
}
void Button::setTitleShadowColor(std::optional<Color> color, ControlState state) {
    setFor(titleShadowColors_, state, color.value_or(Color{}), color.has_value());
    setNeedsDisplay();
}
void Button::setImage(std::shared_ptr<Image> image, ControlState state) {
    setFor(images_, state, image, image != nullptr);
    setNeedsDisplay();
}
void Button::setBackgroundImage(std::shared_ptr<Image> image, ControlState state) {
    setFor(backgrounds_, state, image, image != nullptr);
    setNeedsDisplay();
}

std::optional<std::string> Button::titleForState(ControlState s) const {
    auto it = titles_.find(s);
    return it == titles_.end() ? std::nullopt : std::optional<std::string>(it->second);
}
std::optional<Color> Button::titleColorForState(ControlState s) const {
    auto it = titleColors_.find(s);
    return it == titleColors_.end() ? std::nullopt : std::optional<Color>(it->second);
}
std::shared_ptr<Image> Button::imageForState(ControlState s) const {
    auto it = images_.find(s);
    return it == images_.end() ? nullptr : it->second;
}
std::shared_ptr<Image> Button::backgroundImageForState(ControlState s) const {
    auto it = backgrounds_.find(s);
    return it == backgrounds_.end() ? nullptr : it->second;
}

std::string Button::currentTitle() const {
    const std::string* t = lookup(titles_, state());
    return t ? *t : std::string();
}

Color Button::currentTitleColor() const {
    if (const Color* c = lookup(titleColors_, state())) return *c;
    if (type_ == Type::Custom) return Color::whiteColor();
    if (state() == ControlState::Highlighted) return Color::whiteColor();
    return Color(0.196, 0.310, 0.522);
}

std::optional<Color> Button::currentTitleShadowColor() const {
    const Color* c = lookup(titleShadowColors_, state());
    return c ? std::optional<Color>(*c) : std::nullopt;
}

std::shared_ptr<Image> Button::currentImage() const {
    const auto* i = lookup(images_, state());
    return i ? *i : nullptr;
}

std::shared_ptr<Image> Button::currentBackgroundImage() const {
    const auto* i = lookup(backgrounds_, state());
    return i ? *i : nullptr;
}

void Button::setTitleFont(const Font& font) { font_ = font; setNeedsDisplay(); }
void Button::setTitleAlignment(TextAlignment a) { titleAlignment_ = a; setNeedsDisplay(); }
void Button::setContentEdgeInsets(EdgeInsets insets) { contentInsets_ = insets; setNeedsDisplay(); }

Size Button::sizeThatFits(Size) const {
    Size t = measureText(currentTitle(), font_, 0);
    Size img = currentImage() ? currentImage()->size() : Size{};
    Size bg = currentBackgroundImage() ? currentBackgroundImage()->size() : Size{};
    double w = t.width + img.width + contentInsets_.left + contentInsets_.right;
    double h = std::max(t.height, img.height) + contentInsets_.top + contentInsets_.bottom;
    return {std::max(w, bg.width), std::max(h, bg.height)};
}

}  // namespace ui
