#pragma once
// A map standing in for the map service's: a region of the earth shown on a plain background
// (there are no map tiles here), annotations placed by their coordinates as pin views the
// delegate makes, selection of a pin by a tap (a tap on the open map deselects it), and the
// region changes the delegate hears of. A drag across the map pans its region. While it shows
// the user's location, the device's own position is one more annotation of the map, drawn as a
// blue dot unless the delegate gives it a view.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/location/Coordinate.h"
#include "platform/location/LocationManager.h"
#include "platform/ui/View.h"

namespace location {

// Something placed on a map.
class Annotation {
public:
    virtual ~Annotation() = default;
    virtual Coordinate coordinate() const = 0;
    virtual std::optional<std::string> title() const { return std::nullopt; }
    virtual std::optional<std::string> subtitle() const { return std::nullopt; }
};

class MapView;

// The device's own position on a map. The map keeps it; it stands on the map while the map shows
// the user's location and has heard where the device is.
class UserLocation : public Annotation {
public:
    Coordinate coordinate() const override { return coordinate_; }

private:
    friend class MapView;
    Coordinate coordinate_;
};

// The view of one annotation on the map, centred on its coordinate.
class AnnotationView : public ui::View {
public:
    AnnotationView(std::shared_ptr<Annotation> annotation, std::string reuseIdentifier);
    const char* className() const override { return "AnnotationView"; }
    const std::shared_ptr<Annotation>& annotation() const { return annotation_; }
    void setAnnotation(std::shared_ptr<Annotation> a) { annotation_ = std::move(a); }
    const std::string& reuseIdentifier() const { return reuseIdentifier_; }
    bool canShowCallout() const { return canShowCallout_; }
    void setCanShowCallout(bool c) { canShowCallout_ = c; }
    bool isSelected() const { return selected_; }
    // A tap selects the annotation; the touch does not reach the map beneath.
    void touchesBegan(const ui::TouchSet&, const ui::Event*) override {}
    void touchesMoved(const ui::TouchSet&, const ui::Event*) override {}
    void touchesEnded(const ui::TouchSet& touches, const ui::Event* event) override;

private:
    friend class MapView;
    std::shared_ptr<Annotation> annotation_;
    std::string reuseIdentifier_;
    bool canShowCallout_ = true;
    bool selected_ = false;
};

// A pin: a coloured head on a needle whose tip marks the coordinate.
class PinAnnotationView : public AnnotationView {
public:
    enum class PinColor { Red, Green, Purple };
    static constexpr double kWidth = 16;
    static constexpr double kHeight = 32;

    PinAnnotationView(std::shared_ptr<Annotation> annotation, std::string reuseIdentifier);
    const char* className() const override { return "PinAnnotationView"; }
    PinColor pinColor() const { return color_; }
    void setPinColor(PinColor c);
    // The pin falls into place when it is added to the map.
    bool animatesDrop() const { return animatesDrop_; }
    void setAnimatesDrop(bool a) { animatesDrop_ = a; }

private:
    PinColor color_ = PinColor::Red;
    bool animatesDrop_ = false;
    std::shared_ptr<ui::View> head_;
};

// The map's own view of the device's position: a blue dot in a white ring.
class UserLocationView : public AnnotationView {
public:
    static constexpr double kSize = 18;
    explicit UserLocationView(std::shared_ptr<Annotation> annotation);
    const char* className() const override { return "UserLocationView"; }
};

// All optional; an observer pointer the delegate clears before it goes away.
class MapViewDelegate {
public:
    virtual ~MapViewDelegate() = default;
    // Null: the map's own pin (red), or its own dot for the device's position.
    virtual std::shared_ptr<AnnotationView> viewForAnnotation(MapView&, const std::shared_ptr<Annotation>&) { return nullptr; }
    virtual void didSelectAnnotationView(MapView&, AnnotationView&) {}
    virtual void didDeselectAnnotationView(MapView&, AnnotationView&) {}
    virtual void regionWillChange(MapView&, bool /*animated*/) {}
    virtual void regionDidChange(MapView&, bool /*animated*/) {}
};

class MapView : public ui::View, private LocationManagerDelegate {
public:
    enum class MapType { Standard, Satellite, Hybrid };

    explicit MapView(const ui::Rect& frame = {});
    ~MapView() override;
    const char* className() const override { return "MapView"; }

    MapViewDelegate* delegate() const { return delegate_; }
    void setDelegate(MapViewDelegate* d) { delegate_ = d; }
    MapType mapType() const { return type_; }
    void setMapType(MapType t) { type_ = t; }
    bool showsUserLocation() const { return showsUser_; }
    // On: the map follows the device's position (from the run loop, as fixes come) and shows it
    // as the annotation userLocation(); off: the annotation leaves the map.
    void setShowsUserLocation(bool s);
    const std::shared_ptr<UserLocation>& userLocation() const { return userLocation_; }
    // Whether the device's position stands on the map now.
    bool isUserLocationVisible() const { return views_.count(userLocation_.get()) != 0; }

    const CoordinateRegion& region() const { return region_; }
    // Tells the delegate before and after; the pins move to their new places.
    void setRegion(const CoordinateRegion& region, bool animated);
    void setCenterCoordinate(const Coordinate& c, bool animated);

    void addAnnotation(std::shared_ptr<Annotation> a);
    void addAnnotations(const std::vector<std::shared_ptr<Annotation>>& list);
    // The device's position is not removed this way: it belongs to the map while shown.
    void removeAnnotation(const std::shared_ptr<Annotation>& a);
    void removeAnnotations(const std::vector<std::shared_ptr<Annotation>>& list);
    const std::vector<std::shared_ptr<Annotation>>& annotations() const { return annotations_; }
    // There are no overlays on this map; removing them is accepted and does nothing.
    void removeOverlays() {}

    AnnotationView* viewForAnnotation(const Annotation* a) const;
    // A view let go of by a removed annotation, for the delegate to use again.
    std::shared_ptr<AnnotationView> dequeueReusableAnnotationView(const std::string& reuseIdentifier);

    void selectAnnotation(const std::shared_ptr<Annotation>& a, bool animated);
    void deselectAnnotation(const std::shared_ptr<Annotation>& a, bool animated);
    std::vector<std::shared_ptr<Annotation>> selectedAnnotations() const;

    // Where a coordinate lies in the map's own coordinates, and back.
    ui::Point pointForCoordinate(const Coordinate& c) const;
    Coordinate coordinateForPoint(ui::Point p) const;

    void layoutSubviews() override;
    void touchesBegan(const ui::TouchSet& touches, const ui::Event* event) override;
    void touchesMoved(const ui::TouchSet& touches, const ui::Event* event) override;
    void touchesEnded(const ui::TouchSet& touches, const ui::Event* event) override;

private:
    friend class AnnotationView;
    void didUpdateToLocation(LocationManager&, const Coordinate& now, const std::optional<Coordinate>& before) override;
    void dropAnnotation(const std::shared_ptr<Annotation>& a);
    void placeView(AnnotationView& v) const;
    void select(AnnotationView& v);
    void deselectCurrent();

    MapViewDelegate* delegate_ = nullptr;
    MapType type_ = MapType::Standard;
    bool showsUser_ = false;
    CoordinateRegion region_{{0, 0}, {1, 1}};
    std::vector<std::shared_ptr<Annotation>> annotations_;
    std::map<const Annotation*, std::shared_ptr<AnnotationView>> views_;
    std::map<std::string, std::vector<std::shared_ptr<AnnotationView>>> reusable_;
    std::shared_ptr<Annotation> selected_;
    std::shared_ptr<UserLocation> userLocation_ = std::make_shared<UserLocation>();
    std::shared_ptr<LocationManager> locator_;
    std::optional<ui::Point> dragFrom_;
    bool panned_ = false;
};

}  // namespace location
