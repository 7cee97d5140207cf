#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/location/LocationManager.h"
#include "platform/location/MapView.h"
#include "platform/location/ReverseGeocoder.h"
#include "platform/ui/Driver.h"
#include "platform/ui/Window.h"
#include "support/TempHome.h"

namespace {

using location::Coordinate;

class Reports : public location::LocationManagerDelegate, public location::ReverseGeocoderDelegate {
public:
    std::vector<std::string> heard;
    void didUpdateToLocation(location::LocationManager&, const Coordinate& now,
                             const std::optional<Coordinate>& before) override {
        heard.push_back("fix " + std::to_string(now.latitude) + (before ? " after a fix" : ""));
    }
    void didFailWithError(location::LocationManager&, int code) override {
        heard.push_back("error " + std::to_string(code));
    }
    void didFindPlacemark(location::ReverseGeocoder&, const location::Placemark& p) override {
        heard.push_back("place " + p.locality.value_or("-") + " at " + std::to_string(p.coordinate.latitude));
    }
    void didFailWithError(location::ReverseGeocoder&, const std::string&) override { heard.push_back("no place"); }
};

class Location : public testsupport::TempHomeTest {
protected:
    void SetUp() override {
        location::LocationManager::setDevicePosition(std::nullopt);
        location::LocationManager::setAccessDenied(false);
        location::ReverseGeocoder::setPlace(std::nullopt);
    }
    Reports reports;
};

TEST_F(Location, TheDevicePositionIsReportedFromTheRunLoopThroughTheDistanceFilter) {
    auto manager = location::LocationManager::create();
    manager->setDelegate(&reports);
    manager->setDistanceFilter(250);
    manager->startUpdatingLocation();
    EXPECT_TRUE(reports.heard.empty());  // never inside the call
    home.loop().drain();
    EXPECT_EQ(reports.heard, std::vector<std::string>{"error 0"});

    location::LocationManager::setDevicePosition(Coordinate{30.0, 120.0});
    home.loop().drain();
    location::LocationManager::setDevicePosition(Coordinate{30.001, 120.0});  // about 111 m
    home.loop().drain();
    location::LocationManager::setDevicePosition(Coordinate{30.01, 120.0});   // about 1.1 km
    home.loop().drain();
    EXPECT_EQ(reports.heard, (std::vector<std::string>{"error 0", "fix 30.000000", "fix 30.010000 after a fix"}));

    manager->stopUpdatingLocation();
    location::LocationManager::setDevicePosition(Coordinate{31.0, 120.0});
    home.loop().drain();
    EXPECT_EQ(reports.heard.size(), 3u);

    location::LocationManager::setAccessDenied(true);
    manager->startUpdatingLocation();
    manager.reset();  // let go of before the turn: nobody is told
    home.loop().drain();
    EXPECT_EQ(reports.heard.size(), 3u);
    auto refused = location::LocationManager::create();
    refused->setDelegate(&reports);
    refused->startUpdatingLocation();
    home.loop().drain();
    EXPECT_EQ(reports.heard.back(), "error 1");
}

TEST_F(Location, ReverseGeocodingAnswersTheSetPlaceOrFails) {
    auto geocoder = location::ReverseGeocoder::create(Coordinate{30.25, 120.0});
    geocoder->setDelegate(&reports);
    geocoder->start();
    home.loop().drain();
    location::Placemark place;
    place.locality = "杭州市";
    location::ReverseGeocoder::setPlace(place);
    geocoder->start();
    home.loop().drain();
    EXPECT_EQ(reports.heard, (std::vector<std::string>{"no place", "place 杭州市 at 30.250000"}));

    geocoder->start();
    geocoder->cancel();
    auto released = location::ReverseGeocoder::create(Coordinate{});
    released->setDelegate(&reports);
    released->start();
    released.reset();
    home.loop().drain();
    EXPECT_EQ(reports.heard.size(), 2u);
}

struct Shop : location::Annotation {
    Coordinate at;
    std::string name;
    Shop(Coordinate c, std::string n) : at(c), name(std::move(n)) {}
    Coordinate coordinate() const override { return at; }
    std::optional<std::string> title() const override { return name; }
};

class Pins : public location::MapViewDelegate {
public:
    std::vector<std::string> heard;
    std::shared_ptr<location::AnnotationView> viewForAnnotation(location::MapView& map,
                                                                const std::shared_ptr<location::Annotation>& a) override {
        if (a == map.userLocation()) return nullptr;  // the device keeps the map's own view
        auto v = std::dynamic_pointer_cast<location::PinAnnotationView>(map.dequeueReusableAnnotationView("pin"));
        if (!v) v = std::make_shared<location::PinAnnotationView>(a, "pin");
        v->setPinColor(location::PinAnnotationView::PinColor::Green);
        return v;
    }
    void didSelectAnnotationView(location::MapView&, location::AnnotationView& v) override {
        heard.push_back("select " + v.annotation()->title().value_or(""));
        static_cast<location::PinAnnotationView&>(v).setPinColor(location::PinAnnotationView::PinColor::Red);
    }
    void didDeselectAnnotationView(location::MapView&, location::AnnotationView& v) override {
        heard.push_back("deselect " + v.annotation()->title().value_or(""));
    }
    void regionWillChange(location::MapView&, bool) override { heard.push_back("region"); }
};

// A 400-point map in a window, 0.02 degrees around (30, 120), with pins made by `pins`.
class Maps : public Location {
protected:
    void SetUp() override {
        Location::SetUp();
        window->makeKeyAndVisible();
        window->addSubview(map);
        map->setDelegate(&pins);
        map->setRegion({{30.0, 120.0}, {0.02, 0.02}}, false);
        pins.heard.clear();
    }
    void TearDown() override { map->setDelegate(nullptr); }
    std::shared_ptr<ui::Window> window = std::make_shared<ui::Window>();
    std::shared_ptr<location::MapView> map = std::make_shared<location::MapView>(ui::Rect{0, 0, 400, 400});
    Pins pins;
};

TEST_F(Maps, PinsStandOnTheirCoordinatesAndATapSelectsOne) {
    auto a = std::make_shared<Shop>(Coordinate{30.0, 120.0}, "甲");
    auto b = std::make_shared<Shop>(Coordinate{30.005, 119.995}, "乙");
    map->addAnnotations({a, b});

    auto* pa = dynamic_cast<location::PinAnnotationView*>(map->viewForAnnotation(a.get()));
    ASSERT_TRUE(pa);
    EXPECT_EQ(pa->pinColor(), location::PinAnnotationView::PinColor::Green);
    // The needle's tip is on the coordinate: the centre of the map, and a quarter up and left.
    EXPECT_NEAR(pa->frame().midX(), 200, 1e-6);
    EXPECT_NEAR(pa->frame().maxY(), 200, 1e-6);
    auto* pb = map->viewForAnnotation(b.get());
    EXPECT_NEAR(pb->frame().midX(), 100, 1e-6);
    EXPECT_NEAR(pb->frame().maxY(), 100, 1e-6);

    EXPECT_TRUE(ui::tapView(*window, *pa).ok);
    EXPECT_TRUE(ui::tapView(*window, *pb).ok);
    EXPECT_TRUE(ui::tapAt(*window, {300, 300}).ok);  // the open map
    EXPECT_EQ(pins.heard, (std::vector<std::string>{"select 甲", "deselect 甲", "select 乙", "deselect 乙"}));
    EXPECT_TRUE(map->selectedAnnotations().empty());

    // Dragging pans the map; the pins move with it.
    pins.heard.clear();
    ui::drag(*window, {300, 300}, {200, 300});
    EXPECT_FALSE(pins.heard.empty());
    EXPECT_EQ(pins.heard.front(), "region");
    EXPECT_GT(map->region().center.longitude, 120.0);
    EXPECT_NEAR(pa->frame().midX(), 100, 2);

    // Removed pins go back to the queue the delegate takes them from.
    map->removeAnnotations(map->annotations());
    EXPECT_TRUE(map->annotations().empty());
    EXPECT_EQ(map->subviews().size(), 0u);
    map->addAnnotation(std::make_shared<Shop>(Coordinate{30.0, 120.0}, "丙"));
    EXPECT_TRUE(map->viewForAnnotation(map->annotations()[0].get()) == pa || map->viewForAnnotation(map->annotations()[0].get()) == pb);
}

TEST_F(Maps, TheMapShowsTheDevicesOwnPositionAsAnAnnotationOfItsOwn) {
    map->addAnnotation(std::make_shared<Shop>(Coordinate{30.0, 120.0}, "甲"));

    // Shown only once the device's position is known.
    map->setShowsUserLocation(true);
    home.loop().drain();
    EXPECT_FALSE(map->isUserLocationVisible());
    location::LocationManager::setDevicePosition(Coordinate{30.005, 120.005});
    home.loop().drain();
    ASSERT_TRUE(map->isUserLocationVisible());
    const auto& own = map->userLocation();
    EXPECT_EQ(map->annotations().size(), 2u);
    EXPECT_EQ(map->annotations().back(), own);

    // The delegate makes pins for the shops; the device keeps the map's own dot, centred on it,
    // and the dot follows the device.
    auto* dot = map->viewForAnnotation(own.get());
    ASSERT_TRUE(dynamic_cast<location::UserLocationView*>(dot));
    EXPECT_NEAR(dot->frame().midX(), 300, 1e-6);
    EXPECT_NEAR(dot->frame().midY(), 100, 1e-6);
    location::LocationManager::setDevicePosition(Coordinate{30.0, 120.0});
    home.loop().drain();
    EXPECT_EQ(map->viewForAnnotation(own.get()), dot);
    EXPECT_NEAR(dot->frame().midY(), 200, 1e-6);

    // Clearing the map's pins leaves the device's position; hiding it takes it away.
    map->removeAnnotations(map->annotations());
    EXPECT_EQ(map->annotations(), (std::vector<std::shared_ptr<location::Annotation>>{own}));
    map->setShowsUserLocation(false);
    EXPECT_TRUE(map->annotations().empty());
    EXPECT_TRUE(map->subviews().empty());
    location::LocationManager::setDevicePosition(Coordinate{30.005, 120.005});
    home.loop().drain();
    EXPECT_FALSE(map->isUserLocationVisible());
}

}  // namespace
