#include "screens/kit/VirtualButton.h"

#include "core/NSServer.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Text.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Responder.h"
#include "platform/ui/Window.h"
#include "screens/kit/ScreenKit.h"

namespace {

enum class Lookup { Found, Missing, KeepOld };

// The picture of a package resource, or of a skins-folder file named in upper case. A skin name
// that could leave the folder is treated like a missing file.
Lookup lookUp(const std::string& name, bool isResImage, std::shared_ptr<ui::Image>& out) {
    if (isResImage) {
        out = ui::Image::named(name);
        return out ? Lookup::Found : Lookup::Missing;
    }
    const std::string file = platform::toUpper(name);
    if (file.find('/') != std::string::npos || file.find('\\') != std::string::npos || file == "." || file == "..")
        return Lookup::KeepOld;
    const std::string path = platform::fs::join(NSServer::getSkinsPath(), file);
    if (!platform::fs::exists(path)) return Lookup::KeepOld;
    out = ui::Image::withContentsOfFile(path);
    return out ? Lookup::Found : Lookup::KeepOld;
}

std::shared_ptr<ui::Label> makeLabel(const ui::Rect& frame, const std::string& text, const ui::Color& color,
                                     const ui::Font& font) {
    auto label = std::make_shared<ui::Label>(frame);
    label->setNumberOfLines(3);
    label->setBackgroundColor(ui::Color::clearColor());
    label->setText(text);
    label->setTextColor(color);
    label->setFont(font);
    label->setTextAlignment(ui::TextAlignment::Center);
    return label;
}

}  // namespace

VirtualButton::~VirtualButton() {
    if (quickCaipView) quickCaipView->removeFromSuperview();
    // The label stays in the owner's view until that view goes.
    if (imageView) imageView->removeFromSuperview();
}

bool VirtualButton::hits(double x, double y) const {
    return x > location.x() && x < location.x() + location.width() && y > location.y() &&
           y < location.y() + location.height();
}

void VirtualButton::create(ui::View& view, const ui::Rect& rect, const std::string& up, const std::string& down) {
    location = rect;
    upImageView = up;
    downImageView = down;
    showButtonUp(view);
}

bool VirtualButton::drawPicture(const std::string& name, ui::View& view) {
    bool made = false;
    if (!imageView) {
        imageView = std::make_shared<ui::ImageView>(location);
        view.addSubview(imageView);
        made = true;
    }
    std::shared_ptr<ui::Image> picture;
    switch (lookUp(name, isResImage, picture)) {
        case Lookup::Found: imageView->setImage(picture); break;
        case Lookup::Missing: imageView->setImage(nullptr); break;
        case Lookup::KeepOld: break;
    }
    return made;
}

void VirtualButton::showButtonUp(ui::View& view) {
    if (upImageView.empty()) {
        if (imageView) imageView->setImage(nullptr);
        return;
    }
    drawPicture(upImageView, view);
}

bool VirtualButton::onButtonDown(double x, double y, ui::View& view) {
    if (!hits(x, y)) return false;
    if (downImageView.empty()) {
        if (imageView) imageView->setImage(nullptr);
        return true;
    }
    if (drawPicture(downImageView, view) && ladel) {
        // The new image view lies over the label: repeat the label inside it.
        ui::Rect inner{0, 0, imageView->frame().width(), imageView->frame().height()};
        imageView->addSubview(makeLabel(inner, ladel->text(), ladel->textColor(), ladel->font()));
    }
    return true;
}

bool VirtualButton::onButtonUp(double x, double y, ui::View& view) {
    if (!hits(x, y)) return false;
    showButtonUp(view);
    if (ui::Window* window = view.window()) window->displayNow();
    return true;
}

void VirtualButton::setText(const std::string& text, const ui::Color& color, const ui::Font& font, ui::View& view) {
    removeText();
    ladel = makeLabel(location, text, color, font);
    view.addSubview(ladel);
}

void VirtualButton::removeText() {
    if (!ladel) return;
    ladel->removeFromSuperview();
    ladel.reset();
}

void VirtualButton::unShowButton() {
    if (imageView) {
        imageView->removeFromSuperview();
        imageView->setImage(nullptr);
        imageView.reset();
    }
    if (quickCaipView) {
        quickCaipView->removeFromSuperview();
        quickCaipView.reset();
    }
}

std::shared_ptr<VirtualButton> VirtualButton::copyButton(const VirtualButton& other) {
    auto copy = std::make_shared<VirtualButton>();
    copy->downImageView = other.downImageView;
    copy->func = other.func;
    copy->isResImage = other.isResImage;
    copy->location = other.location;
    copy->m_tag = other.m_tag;
    return copy;
}

std::shared_ptr<ui::View> plainButtonFace(ui::View& parent, const ui::Rect& rect, const std::string& text,
                                          const ui::Color& color) {
    auto face = std::make_shared<ui::View>(rect.insetBy(2, 2));
    face->setBackgroundColor(color);
    face->setCornerRadius(6);
    face->setBorder(1, kit::kLine);
    face->setUserInteractionEnabled(false);
    parent.addSubview(face);
    if (!text.empty())
        kit::label(*face, {0, 0, face->frame().width(), face->frame().height()}, text, kit::titleFont(),
                   ui::TextAlignment::Center);
    return face;
}

VirtualButton* pressFirstHit(const std::vector<VirtualButton*>& buttons, const ui::Touch& touch, ui::View& view) {
    const ui::Point p = touch.locationInView(&view);
    for (VirtualButton* button : buttons)
        if (button->onButtonDown(p.x, p.y, view)) return button;
    return nullptr;
}

VirtualButton* releaseFirstHit(const std::vector<VirtualButton*>& buttons, const ui::Touch& touch, ui::View& view) {
    const ui::Point p = touch.locationInView(&view);
    for (VirtualButton* button : buttons)
        if (button->onButtonUp(p.x, p.y, view)) return button;
    return nullptr;
}
