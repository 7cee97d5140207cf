#include "platform/location/MapView.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/Animation.h"

namespace location {

namespace {

// The land colour of a plain map.
constexpr ui::Color kMapColor = ui::Color::rgb(233, 229, 220);
// A touch that moves farther than this pans the map instead of tapping it.
constexpr double kPanSlop = 6;

ui::Color pinColour(PinAnnotationView::PinColor c) {
    switch (c) {
    case PinAnnotationView::PinColor::Green: return ui::Color::rgb(40, 170, 60);
    case PinAnnotationView::PinColor::Purple: return ui::Color::rgb(150, 60, 200);
    case PinAnnotationView::PinColor::Red: break;
    }
    return ui::Color::rgb(220, 40, 40);
}

}  // namespace

AnnotationView::AnnotationView(std::shared_ptr<Annotation> annotation, std::string reuseIdentifier)
    : annotation_(std::move(annotation)), reuseIdentifier_(std::move(reuseIdentifier)) {}

void AnnotationView::touchesEnded(const ui::TouchSet&, const ui::Event*) {
    if (auto* map = dynamic_cast<MapView*>(superview())) map->select(*this);
}

PinAnnotationView::PinAnnotationView(std::shared_ptr<Annotation> annotation, std::string reuseIdentifier)
    : AnnotationView(std::move(annotation), std::move(reuseIdentifier)) {
    setFrame({0, 0, kWidth, kHeight});
    auto needle = std::make_shared<ui::View>(ui::Rect{kWidth / 2 - 1, 12, 2, kHeight - 12});
    needle->setBackgroundColor(ui::Color::white(0.35));
    needle->setUserInteractionEnabled(false);
    addSubview(needle);
    head_ = std::make_shared<ui::View>(ui::Rect{1, 0, kWidth - 2, kWidth - 2});
    head_->setCornerRadius((kWidth - 2) / 2);
    head_->setBorder(1, ui::Color::white(0.2, 0.6));
    head_->setUserInteractionEnabled(false);
    addSubview(head_);
    setPinColor(PinColor::Red);
}

void PinAnnotationView::setPinColor(PinColor c) {
    color_ = c;
    head_->setBackgroundColor(pinColour(c));
}

UserLocationView::UserLocationView(std::shared_ptr<Annotation> annotation)
    : AnnotationView(std::move(annotation), "") {
    setFrame({0, 0, kSize, kSize});
    setBackgroundColor(ui::Color::rgb(30, 120, 240));
    setCornerRadius(kSize / 2);
    setBorder(3, ui::Color::whiteColor());
}

MapView::MapView(const ui::Rect& frame) : ui::View(frame) {
    setBackgroundColor(kMapColor);
    setClipsToBounds(true);
}

MapView::~MapView() {
    if (locator_) {
        locator_->setDelegate(nullptr);
        locator_->stopUpdatingLocation();
    }
}

void MapView::setShowsUserLocation(bool s) {
    if (s == showsUser_) return;
    showsUser_ = s;
    if (s) {
        locator_ = LocationManager::create();
        locator_->setDelegate(this);
        locator_->startUpdatingLocation();
        return;
    }
    locator_->setDelegate(nullptr);
    locator_->stopUpdatingLocation();
    locator_.reset();
    dropAnnotation(userLocation_);
}

void MapView::didUpdateToLocation(LocationManager&, const Coordinate& now, const std::optional<Coordinate>&) {
    userLocation_->coordinate_ = now;
    if (auto* view = viewForAnnotation(userLocation_.get())) placeView(*view);
    else addAnnotation(userLocation_);
}

ui::Point MapView::pointForCoordinate(const Coordinate& c) const {
    const double w = frame().width(), h = frame().height();
    const double lngSpan = std::max(region_.span.longitudeDelta, 1e-9);
    const double latSpan = std::max(region_.span.latitudeDelta, 1e-9);
    const double west = region_.center.longitude - lngSpan / 2;
    const double north = region_.center.latitude + latSpan / 2;
    return {(c.longitude - west) / lngSpan * w, (north - c.latitude) / latSpan * h};
}

Coordinate MapView::coordinateForPoint(ui::Point p) const {
    const double w = std::max(frame().width(), 1.0), h = std::max(frame().height(), 1.0);
    const double west = region_.center.longitude - region_.span.longitudeDelta / 2;
    const double north = region_.center.latitude + region_.span.latitudeDelta / 2;
    return {north - p.y / h * region_.span.latitudeDelta, west + p.x / w * region_.span.longitudeDelta};
}

void MapView::placeView(AnnotationView& v) const {
    if (!v.annotation()) return;
    const ui::Point p = pointForCoordinate(v.annotation()->coordinate());
    const ui::Size s = v.frame().size;
    // A pin's needle ends on the coordinate; other views are centred on it.
    if (dynamic_cast<PinAnnotationView*>(&v))
        v.setFrame({p.x - s.width / 2, p.y - s.height, s.width, s.height});
    else
        v.setFrame({p.x - s.width / 2, p.y - s.height / 2, s.width, s.height});
}

void MapView::layoutSubviews() {
    for (auto& [annotation, view] : views_) placeView(*view);
}

void MapView::setRegion(const CoordinateRegion& region, bool animated) {
    if (delegate_) delegate_->regionWillChange(*this, animated);
    region_ = region;
    region_.span.latitudeDelta = std::clamp(std::fabs(region_.span.latitudeDelta), 1e-6, 180.0);
    region_.span.longitudeDelta = std::clamp(std::fabs(region_.span.longitudeDelta), 1e-6, 360.0);
    layoutSubviews();
    setNeedsDisplay();
    if (delegate_) delegate_->regionDidChange(*this, animated);
}

void MapView::setCenterCoordinate(const Coordinate& c, bool animated) {
    setRegion({c, region_.span}, animated);
}

void MapView::addAnnotation(std::shared_ptr<Annotation> a) {
    if (!a || views_.count(a.get())) return;
    std::shared_ptr<AnnotationView> view;
    if (delegate_) view = delegate_->viewForAnnotation(*this, a);
    if (!view && a == userLocation_) view = std::make_shared<UserLocationView>(a);
    if (!view) view = std::make_shared<PinAnnotationView>(a, "");
    view->setAnnotation(a);
    view->selected_ = false;
    annotations_.push_back(a);
    views_[a.get()] = view;
    placeView(*view);
    auto* pin = dynamic_cast<PinAnnotationView*>(view.get());
    if (pin && pin->animatesDrop() && window()) {
        // Falls from the top of the map to its place.
        const ui::Rect target = view->frame();
        view->setFrame(target.offsetBy(0, -target.maxY()));
        addSubview(view);
        ui::Animation::begin();
        ui::Animation::setDuration(0.3);
        ui::Animation::setCurve(ui::Animation::Curve::EaseIn);
        view->setFrame(target);
        ui::Animation::commit();
    } else {
        addSubview(view);
    }
}

void MapView::addAnnotations(const std::vector<std::shared_ptr<Annotation>>& list) {
    for (const auto& a : list) addAnnotation(a);
}

void MapView::removeAnnotation(const std::shared_ptr<Annotation>& a) {
    if (a != userLocation_) dropAnnotation(a);
}

void MapView::dropAnnotation(const std::shared_ptr<Annotation>& a) {
    if (!a) return;
    auto it = views_.find(a.get());
    if (it == views_.end()) return;
    auto view = it->second;
    if (selected_ == a) {
        selected_.reset();
        view->selected_ = false;
    }
    views_.erase(it);
    annotations_.erase(std::remove(annotations_.begin(), annotations_.end(), a), annotations_.end());
    view->removeFromSuperview();
    if (!view->reuseIdentifier().empty()) {
        view->setAnnotation(nullptr);
        reusable_[view->reuseIdentifier()].push_back(view);
    }
}

void MapView::removeAnnotations(const std::vector<std::shared_ptr<Annotation>>& list) {
    // A copy: the list may be annotations() itself.
    const auto copy = list;
    for (const auto& a : copy) removeAnnotation(a);
}

AnnotationView* MapView::viewForAnnotation(const Annotation* a) const {
    auto it = views_.find(a);
    return it == views_.end() ? nullptr : it->second.get();
}

std::shared_ptr<AnnotationView> MapView::dequeueReusableAnnotationView(const std::string& reuseIdentifier) {
    auto it = reusable_.find(reuseIdentifier);
    if (it == reusable_.end() || it->second.empty()) return nullptr;
    auto v = it->second.back();
    it->second.pop_back();
    return v;
}

void MapView::select(AnnotationView& v) {
    if (!v.annotation() || viewForAnnotation(v.annotation().get()) != &v) return;
    if (selected_ == v.annotation()) return;
    deselectCurrent();
    // The delegate may remove annotations; hold on to the view while it is told.
    auto keep = views_[v.annotation().get()];
    selected_ = v.annotation();
    v.selected_ = true;
    if (delegate_) delegate_->didSelectAnnotationView(*this, v);
}

void MapView::deselectCurrent() {
    if (!selected_) return;
    auto it = views_.find(selected_.get());
    selected_.reset();
    if (it == views_.end()) return;
    auto keep = it->second;
    keep->selected_ = false;
    if (delegate_) delegate_->didDeselectAnnotationView(*this, *keep);
}

void MapView::selectAnnotation(const std::shared_ptr<Annotation>& a, bool) {
    if (!a) return;
    if (auto* v = viewForAnnotation(a.get())) select(*v);
}

void MapView::deselectAnnotation(const std::shared_ptr<Annotation>& a, bool) {
    if (a && selected_ == a) deselectCurrent();
}

std::vector<std::shared_ptr<Annotation>> MapView::selectedAnnotations() const {
    if (!selected_) return {};
    return {selected_};
}

void MapView::touchesBegan(const ui::TouchSet& touches, const ui::Event*) {
    if (auto* t = touches.anyObject()) dragFrom_ = t->locationInView(this);
    panned_ = false;
}

void MapView::touchesMoved(const ui::TouchSet& touches, const ui::Event*) {
    auto* t = touches.anyObject();
    if (!t || !dragFrom_) return;
    const ui::Point now = t->locationInView(this);
    const double dx = now.x - dragFrom_->x, dy = now.y - dragFrom_->y;
    if (!panned_ && std::hypot(dx, dy) < kPanSlop) return;
    panned_ = true;
    // The earth moves with the finger.
    const double w = std::max(frame().width(), 1.0), h = std::max(frame().height(), 1.0);
    CoordinateRegion r = region_;
    r.center.longitude -= dx / w * r.span.longitudeDelta;
    r.center.latitude += dy / h * r.span.latitudeDelta;
    dragFrom_ = now;
    setRegion(r, false);
}

void MapView::touchesEnded(const ui::TouchSet&, const ui::Event*) {
    // A tap on the open map closes the selection.
    if (!panned_) deselectCurrent();
    dragFrom_.reset();
    panned_ = false;
}

}  // namespace location
