#include "online/NSGPSOper.h"

#include "platform/foundation/Log.h"
#include "platform/foundation/Text.h"
#include "platform/ui/Window.h"

NSGPSOper::NSGPSOper() : manager_(location::LocationManager::create()) {
    manager_->setDelegate(this);
    manager_->setDesiredAccuracy(location::LocationManager::kAccuracyBest);
    manager_->setDistanceFilter(250.0);
}

NSGPSOper::~NSGPSOper() {
    close();
    manager_->setDelegate(nullptr);
    // A geocoding still running answers nobody.
    if (geoCoder_) {
        geoCoder_->setDelegate(nullptr);
        geoCoder_->cancel();
    }
    if (errorAlert_) errorAlert_->setDelegate(nullptr);
}

void NSGPSOper::begin() {
    removeWaitView();
    ui::Rect frame{0, 0, ui::Window::kScreenWidth, ui::Window::kScreenHeight};
    if (screenFrame)
        if (auto rect = screenFrame()) frame = *rect;
    uv_wait_ = std::make_shared<ui::View>(frame);
    uv_wait_->setBackgroundColor(ui::Color::clearColor());
    if (auto* window = ui::Window::keyWindow()) window->addSubview(uv_wait_);
    manager_->startUpdatingLocation();
}

void NSGPSOper::removeWaitView() {
    if (uv_wait_) uv_wait_->removeFromSuperview();
    uv_wait_.reset();
}

void NSGPSOper::close() {
    removeWaitView();
    manager_->stopUpdatingLocation();
}

void NSGPSOper::didUpdateToLocation(location::LocationManager&, const location::Coordinate& now,
                                    const std::optional<location::Coordinate>&) {
    lattitude = static_cast<float>(now.latitude);
    longitude = static_cast<float>(now.longitude);
    startedReverseGeoderWithLatitude(lattitude, longitude);
}

void NSGPSOper::startedReverseGeoderWithLatitude(double latitude, double longitude) {
    if (geoCoder_) geoCoder_->setDelegate(nullptr);
    geoCoder_ = location::ReverseGeocoder::create({latitude, longitude});
    geoCoder_->setDelegate(this);
    geoCoder_->start();
}

std::string NSGPSOper::composeAddress(const location::Placemark& p) {
    auto part = [](const std::optional<std::string>& s) { return s ? *s : std::string("(null)"); };
    std::string a = part(p.country) + part(p.administrativeArea) + part(p.locality);
    if (p.subLocality) a += *p.subLocality;
    return a + part(p.thoroughfare) + part(p.subThoroughfare);
}

void NSGPSOper::didFindPlacemark(location::ReverseGeocoder&, const location::Placemark& place) {
    cityname = place.locality;
    address = composeAddress(place);
    if (upviewcontroller) upviewcontroller->gpsOnOk(*this);
    close();
}

void NSGPSOper::didFailWithError(location::ReverseGeocoder&, const std::string& error) {
    platform::log(platform::fmt("城市解析错误 Error: %@", error));
    // No place will come for this fix: the screen is handed back rather than left covered.
    removeWaitView();
}

void NSGPSOper::didFailWithError(location::LocationManager&, int code) {
    if (code == location::LocationManager::kErrorDenied) manager_->stopUpdatingLocation();
    if (errorAlert_) return;  // one notice at a time; a later fix still completes the operation
    std::string message = code == location::LocationManager::kErrorDenied ? "你的访问被拒绝"
                          : code == location::LocationManager::kErrorLocationUnknown
                              ? "无法定位到你的位置!"
                              : platform::fmt("定位失败 (%i)", code);
    errorAlert_ = std::make_shared<ui::AlertView>(std::nullopt, message, this, "确定");
    errorAlert_->show();
}

void NSGPSOper::alertViewDidDismissWithButtonIndex(ui::AlertView& alert, int) {
    if (&alert != errorAlert_.get()) return;
    errorAlert_->setDelegate(nullptr);
    errorAlert_.reset();
    // The guest gets the screen back; updating goes on where it may still bring a fix.
    removeWaitView();
}
