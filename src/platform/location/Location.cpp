#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/foundation/RunLoop.h"
#include "platform/location/Coordinate.h"
#include "platform/location/LocationManager.h"
#include "platform/location/ReverseGeocoder.h"

namespace location {

namespace {

struct Device {
    std::optional<Coordinate> position;
    bool denied = false;
    // The managers updating now, told when the position changes.
    std::vector<std::weak_ptr<LocationManager>> updating;
    std::optional<Placemark> place;
};

Device& device() {
    static Device d;
    return d;
}

}  // namespace

double distanceBetween(const Coordinate& a, const Coordinate& b) {
    constexpr double kEarthRadius = 6371000.0;
    constexpr double kRad = 3.14159265358979323846 / 180.0;
    const double dLat = (b.latitude - a.latitude) * kRad;
    const double dLng = (b.longitude - a.longitude) * kRad;
    const double h = std::sin(dLat / 2) * std::sin(dLat / 2) +
                     std::cos(a.latitude * kRad) * std::cos(b.latitude * kRad) * std::sin(dLng / 2) * std::sin(dLng / 2);
    return 2 * kEarthRadius * std::asin(std::min(1.0, std::sqrt(h)));
}

std::shared_ptr<LocationManager> LocationManager::create() {
    return std::shared_ptr<LocationManager>(new LocationManager());
}

LocationManager::~LocationManager() = default;

void LocationManager::startUpdatingLocation() {
    if (updating_) return;
    updating_ = true;
    auto& list = device().updating;
    list.erase(std::remove_if(list.begin(), list.end(), [](auto& w) { return w.expired(); }), list.end());
    list.push_back(weak_from_this());
    std::weak_ptr<LocationManager> self = weak_from_this();
    platform::RunLoop::main().schedule(0, [self] {
        if (auto m = self.lock()) m->report();
    });
}

void LocationManager::stopUpdatingLocation() {
    updating_ = false;
}

void LocationManager::report() {
    if (!updating_) return;
    // The delegate may let go of this manager in its handler.
    auto keep = shared_from_this();
    const Device& d = device();
    if (d.denied) {
        if (delegate_) delegate_->didFailWithError(*this, kErrorDenied);
        return;
    }
    if (!d.position) {
        if (delegate_) delegate_->didFailWithError(*this, kErrorLocationUnknown);
        return;
    }
    if (last_ && distanceFilter_ > 0 && distanceBetween(*last_, *d.position) < distanceFilter_) return;
    const auto before = last_;
    last_ = d.position;
    if (delegate_) delegate_->didUpdateToLocation(*this, *last_, before);
}

void LocationManager::setDevicePosition(std::optional<Coordinate> position) {
    device().position = position;
    if (!position) return;
    for (auto& w : device().updating) {
        std::weak_ptr<LocationManager> self = w;
        platform::RunLoop::main().schedule(0, [self] {
            if (auto m = self.lock()) m->report();
        });
    }
}

std::optional<Coordinate> LocationManager::devicePosition() {
    return device().position;
}

void LocationManager::setAccessDenied(bool denied) {
    device().denied = denied;
}

std::shared_ptr<ReverseGeocoder> ReverseGeocoder::create(const Coordinate& coordinate) {
    return std::shared_ptr<ReverseGeocoder>(new ReverseGeocoder(coordinate));
}

void ReverseGeocoder::start() {
    if (querying_) return;
    querying_ = true;
    const unsigned generation = ++generation_;
    std::weak_ptr<ReverseGeocoder> self = weak_from_this();
    platform::RunLoop::main().schedule(0, [self, generation] {
        auto g = self.lock();
        if (g && g->querying_ && g->generation_ == generation) g->answer();
    });
}

void ReverseGeocoder::cancel() {
    querying_ = false;
}

void ReverseGeocoder::answer() {
    querying_ = false;
    auto keep = shared_from_this();
    if (!delegate_) return;
    if (auto place = device().place) {
        place->coordinate = coordinate_;
        delegate_->didFindPlacemark(*this, *place);
    } else {
        delegate_->didFailWithError(*this, "no place is known for this position");
    }
}

void ReverseGeocoder::setPlace(std::optional<Placemark> place) {
    device().place = std::move(place);
}

}  // namespace location
