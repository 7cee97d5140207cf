#pragma once
// An image button that is not a view itself: it owns a rectangle and two picture names and draws
// an image view (normal or pressed picture) and an optional centred label into the view its owner
// passes in. The owner forwards its touch points; the button answers whether they hit it.
// The tree picker and the number pad are built from these; the skinned menu forms use the same
// class with pictures of the skins folder.

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"

namespace ui {
class ImageView;
class Label;
class Touch;
class View;
}  // namespace ui

class VirtualButton {
public:
    VirtualButton() = default;
    ~VirtualButton();
    VirtualButton(const VirtualButton&) = delete;
    VirtualButton& operator=(const VirtualButton&) = delete;

    ui::Rect location;           // the rectangle in the owner's view, for drawing and hit tests
    std::string func;            // a skinned-menu button's action text; kept, never read here
    std::string upImageView;     // normal picture ("" = none)
    std::string downImageView;   // pressed picture ("" = none)
    std::shared_ptr<ui::ImageView> imageView;  // made on first need
    bool isResImage = true;      // pictures from the program package (else the skins folder)
    std::shared_ptr<ui::Label> ladel;          // the label over the button, or none
    int m_tag = 0;               // the owner's value (the picker keeps a row number here)
    std::shared_ptr<ui::View> quickCaipView;   // marker view of the skinned forms

    // Sets the rectangle and both picture names, then draws the normal state into `view`.
    void create(ui::View& view, const ui::Rect& rect, const std::string& up, const std::string& down);
    // Draws the normal state into `view`.
    void showButtonUp(ui::View& view);
    // YES when (x, y) hits; the pressed state is then drawn.
    bool onButtonDown(double x, double y, ui::View& view);
    // YES when (x, y) hits; the normal state is then drawn again. The redraw happens here, on the
    // main thread, and the frame is forced out at once: the action that follows the release may
    // block the main thread in a server exchange, and the key must not stay drawn pressed.
    bool onButtonUp(double x, double y, ui::View& view);
    // Replaces the label: `text` centred over the rectangle, at most three lines.
    void setText(const std::string& text, const ui::Color& color, const ui::Font& font, ui::View& view);
    void removeText();
    // Takes the image view and the marker view off the screen and drops them.
    void unShowButton();
    // Strictly inside the rectangle: a point on an edge misses.
    bool hits(double x, double y) const;

    // A button with the other's pressed picture, action, picture source, rectangle and tag; its
    // normal picture, image view and label are not copied.
    static std::shared_ptr<VirtualButton> copyButton(const VirtualButton& other);

private:
    // Puts the named picture into the image view (made on `view` when missing). Answers whether
    // an image view was made now.
    bool drawPicture(const std::string& name, ui::View& view);
};

// The owner's side of a touch: its point in `view` is offered to `buttons` in order and the first
// button hit is pressed (or released, which draws its normal picture again); no other is tried.
// Answers that button, or null when the touch hit none.
VirtualButton* pressFirstHit(const std::vector<VirtualButton*>& buttons, const ui::Touch& touch, ui::View& view);
VirtualButton* releaseFirstHit(const std::vector<VirtualButton*>& buttons, const ui::Touch& touch, ui::View& view);

// A plain face for a button whose package pictures are missing, so that a dialog stays usable
// and legible before its pictures exist: a rounded panel of `color` with `text` centred on it,
// added to `parent` under the button (which draws nothing over it without pictures).
std::shared_ptr<ui::View> plainButtonFace(ui::View& parent, const ui::Rect& rect, const std::string& text,
                                          const ui::Color& color);
