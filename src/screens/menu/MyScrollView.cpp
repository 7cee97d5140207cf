#include "screens/menu/MyScrollView.h"

#include "core/NSServer.h"
#include "core/NSStaticUnit.h"
#include "platform/foundation/FileSystem.h"

MyScrollView::MyScrollView(const ui::Rect& frame, const std::string& name) : ui::ScrollView(frame) {
    const std::string inFolder = platform::fs::join(NSServer::getCaippicPath(), name);
    if (!name.empty() && platform::fs::exists(inFolder)) image_ = NSServer().readCaipImage(inFolder);
    else if (!name.empty()) image_ = ui::Image::withContentsOfFile(name);
    image_ = NSStaticUnit::createRoundedRectImage(image_, image_ ? image_->size() : ui::Size{});
    const ui::Rect base{0, 0, 320, 240};
    imageView_ = std::make_shared<ui::ImageView>(image_);
    imageView_->setFrame(base);
    setContentSize(base.size);
    imageView_->setFrame(NSStaticUnit::getCaipICGRect(image_ ? image_->size() : ui::Size{}, base));
    setMinimumZoomScale(1);
    setMaximumZoomScale(10);
    setZoomScale(1);
    setDelegate(this);
    setBounces(true);
    setBouncesZoom(true);
    addSubview(imageView_);
}

MyScrollView::~MyScrollView() { setDelegate(nullptr); }

void MyScrollView::setFrame(const ui::Rect& frame) {
    ui::ScrollView::setFrame(frame);
    if (!imageView_) return;
    const ui::Rect inside{0, 0, frame.width(), frame.height()};
    imageView_->setFrame(NSStaticUnit::getCaipICGRect(image_ ? image_->size() : ui::Size{}, inside));
    setContentSize(inside.size);
}

void MyScrollView::touchesEnded(const ui::TouchSet& touches, const ui::Event* event) {
    ui::ScrollView::touchesEnded(touches, event);
    auto* touch = touches.anyObject();
    if (touch && touch->tapCount() != 2) setZoomScale(zoomScale() * 1.2);
}

ui::Rect MyScrollView::zoomRectForScale(double scale, ui::Point center) const {
    const double w = frame().width() / scale, h = frame().height() / scale;
    return {center.x - w / 2, center.y - h / 2, w, h};
}
