#pragma once
// Shows one picture (or its highlighted picture) placed by a content mode. Takes no touches by
// default.

#include <memory>

#include "platform/ui/Image.h"
#include "platform/ui/View.h"

namespace ui {

enum class ContentMode { ScaleToFill, ScaleAspectFit, ScaleAspectFill, Center, Top, Bottom, Left, Right,
                         TopLeft, TopRight, BottomLeft, BottomRight };

// Where a picture of `imageSize` lands inside `bounds` for a content mode.
Rect placeImage(Size imageSize, const Rect& bounds, ContentMode mode);

class ImageView : public View {
public:
    ImageView();
    explicit ImageView(const Rect& frame);
    // Frame (0, 0, picture size) when the picture exists.
    explicit ImageView(std::shared_ptr<Image> image);
    const char* className() const override { return "ImageView"; }

    const std::shared_ptr<Image>& image() const { return image_; }
    void setImage(std::shared_ptr<Image> image);
    const std::shared_ptr<Image>& highlightedImage() const { return highlightedImage_; }
    void setHighlightedImage(std::shared_ptr<Image> image);
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool h);
    ContentMode contentMode() const { return contentMode_; }
    void setContentMode(ContentMode mode);
    // The picture drawn now (highlighted when highlighted and there is one).
    const std::shared_ptr<Image>& currentImage() const;

    Size sizeThatFits(Size size) const override;

private:
    std::shared_ptr<Image> image_;
    std::shared_ptr<Image> highlightedImage_;
    bool highlighted_ = false;
    ContentMode contentMode_ = ContentMode::ScaleToFill;
};

}  // namespace ui
