#pragma once
// A dish picture that zooms: a tap enlarges it by a fifth (up to ten times), pinching aside.

#include <memory>
#include <string>

#include "platform/ui/ImageView.h"
#include "platform/ui/ScrollView.h"

class UICaipViewController;

class MyScrollView : public ui::ScrollView, public ui::ScrollViewDelegate {
public:
    // `name`: a file of the picture folder when one of that name exists there, else a picture
    // file path (a package picture, or a web-menu dish's picture in the picture cache).
    MyScrollView(const ui::Rect& frame, const std::string& name);
    ~MyScrollView() override;
    const char* className() const override { return "MyScrollView"; }

    // The picture is fitted into the new frame, whose size becomes the content size.
    void setFrame(const ui::Rect& frame) override;
    const std::shared_ptr<ui::ImageView>& imageView() const { return imageView_; }
    const std::shared_ptr<ui::Image>& image() const { return image_; }
    void setCaiViewController(UICaipViewController* owner) { caiViewController_ = owner; }
    UICaipViewController* caiViewController() const { return caiViewController_; }

    ui::View* viewForZooming(ui::ScrollView&) override { return imageView_.get(); }
    bool scrollViewShouldScrollToTop(ui::ScrollView&) override { return false; }
    void touchesEnded(const ui::TouchSet& touches, const ui::Event* event) override;
    // The rectangle of the frame's size divided by the scale, centred on the point.
    ui::Rect zoomRectForScale(double scale, ui::Point center) const;

private:
    std::shared_ptr<ui::ImageView> imageView_;
    std::shared_ptr<ui::Image> image_;
    UICaipViewController* caiViewController_ = nullptr;
};
