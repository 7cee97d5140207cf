#include "platform/ui/ImageView.h"

#include <algorithm>

namespace ui {

Rect placeImage(Size img, const Rect& b, ContentMode mode) {
    if (img.width <= 0 || img.height <= 0) return {b.origin, {0, 0}};
    double sx = b.width() / img.width, sy = b.height() / img.height;
    auto centred = [&](double w, double h) { return Rect{b.x() + (b.width() - w) / 2, b.y() + (b.height() - h) / 2, w, h}; };
    switch (mode) {
        case ContentMode::ScaleToFill: return b;
        case ContentMode::ScaleAspectFit: { double s = std::min(sx, sy); return centred(img.width * s, img.height * s); }
        case ContentMode::ScaleAspectFill: { double s = std::max(sx, sy); return centred(img.width * s, img.height * s); }
        case ContentMode::Center: return centred(img.width, img.height);
        case ContentMode::Top: return {b.x() + (b.width() - img.width) / 2, b.y(), img.width, img.height};
        case ContentMode::Bottom: return {b.x() + (b.width() - img.width) / 2, b.maxY() - img.height, img.width, img.height};
        case ContentMode::Left: return {b.x(), b.y() + (b.height() - img.height) / 2, img.width, img.height};
        case ContentMode::Right: return {b.maxX() - img.width, b.y() + (b.height() - img.height) / 2, img.width, img.height};
        case ContentMode::TopLeft: return {b.x(), b.y(), img.width, img.height};
        case ContentMode::TopRight: return {b.maxX() - img.width, b.y(), img.width, img.height};
        case ContentMode::BottomLeft: return {b.x(), b.maxY() - img.height, img.width, img.height};
        case ContentMode::BottomRight: return {b.maxX() - img.width, b.maxY() - img.height, img.width, img.height};
    }
    return b;
}

ImageView::ImageView() { setDefaultInteraction(false); }
ImageView::ImageView(const Rect& frame) : View(frame) { setDefaultInteraction(false); }
ImageView::ImageView(std::shared_ptr<Image> image) : image_(std::move(image)) {
    setDefaultInteraction(false);
    if (image_) setFrame({{0, 0}, image_->size()});
}

void ImageView::setImage(std::shared_ptr<Image> image) {
    if (image == image_) return;
    image_ = std::move(image);
    setNeedsDisplay();
}
void ImageView::setHighlightedImage(std::shared_ptr<Image> image) { highlightedImage_ = std::move(image); setNeedsDisplay(); }
void ImageView::setHighlighted(bool h) { highlighted_ = h; setNeedsDisplay(); }
void ImageView::setContentMode(ContentMode mode) { contentMode_ = mode; setNeedsDisplay(); }

const std::shared_ptr<Image>& ImageView::currentImage() const {
    return highlighted_ && highlightedImage_ ? highlightedImage_ : image_;
}

Size ImageView::sizeThatFits(Size size) const { return image_ ? image_->size() : size; }

}  // namespace ui
