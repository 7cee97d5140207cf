#pragma once
// A push button: custom (only what it is given) or rounded-rectangle type; per-state title, title
// colour, picture and background picture, falling back to the normal state's; highlighted while a
// touch is down on it.

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/ui/Control.h"
#include "platform/ui/Font.h"
#include "platform/ui/Image.h"

namespace ui {

class Button : public Control {
public:
    enum class Type { Custom, RoundedRect, DetailDisclosure, InfoLight, InfoDark, ContactAdd };

    explicit Button(Type type = Type::Custom);
    Button(Type type, const Rect& frame);
    static std::shared_ptr<Button> withType(Type type) { return std::make_shared<Button>(type); }
    const char* className() const override { return "Button"; }

    Type buttonType() const { return type_; }

    void setTitle(std::optional<std::string> title, ControlState state = ControlState::Normal);
    void setTitleColor(std::optional<Color> color, ControlState state = ControlState::Normal);
    void setTitleShadowColor(std::optional<Color> color, ControlState state = ControlState::Normal);
    void setImage(std::shared_ptr<Image> image, ControlState state = ControlState::Normal);
    void setBackgroundImage(std::shared_ptr<Image> image, ControlState state = ControlState::Normal);

    // Exactly what was set for `state` (no fallback).
    std::optional<std::string> titleForState(ControlState state) const;
    std::optional<Color> titleColorForState(ControlState state) const;
    std::shared_ptr<Image> imageForState(ControlState state) const;
    std::shared_ptr<Image> backgroundImageForState(ControlState state) const;

    // What is drawn now: the current state's value, else the normal state's.
    std::string currentTitle() const;  // "" when none
    Color currentTitleColor() const;   // the type's default when none
    std::optional<Color> currentTitleShadowColor() const;
    std::shared_ptr<Image> currentImage() const;
    std::shared_ptr<Image> currentBackgroundImage() const;

    const Font& titleFont() const { return font_; }
    void setTitleFont(const Font& font);
    TextAlignment titleAlignment() const { return titleAlignment_; }
    void setTitleAlignment(TextAlignment a);
    EdgeInsets contentEdgeInsets() const { return contentInsets_; }
    void setContentEdgeInsets(EdgeInsets insets);
    bool showsTouchWhenHighlighted() const { return showsTouch_; }
    void setShowsTouchWhenHighlighted(bool shows) { showsTouch_ = shows; }
    bool adjustsImageWhenHighlighted() const { return adjustsImage_; }
    void setAdjustsImageWhenHighlighted(bool adjusts) { adjustsImage_ = adjusts; }

    Size sizeThatFits(Size size) const override;

private:
    template <typename T>
    static const T* lookup(const std::map<ControlState, T>& m, ControlState s);

    Type type_;
    std::map<ControlState, std::string> titles_;
    std::map<ControlState, Color> titleColors_;
    std::map<ControlState, Color> titleShadowColors_;
    std::map<ControlState, std::shared_ptr<Image>> images_;
    std::map<ControlState, std::shared_ptr<Image>> backgrounds_;
    Font font_ = Font::boldSystemFont(15);
    TextAlignment titleAlignment_ = TextAlignment::Center;
    EdgeInsets contentInsets_;
    bool showsTouch_ = false;
    bool adjustsImage_ = true;
};

}  // namespace ui
