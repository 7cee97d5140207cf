#pragma once
// Turning a position into a place, standing in for the map service: it answers the place that
// the shell or a test set (or fails when none is set) from the main run loop. A geocoder let go of
// before it answered never answers.

#include <memory>
#include <optional>
#include <string>

#include "platform/location/Coordinate.h"

namespace location {

// The parts of an address; an absent part is none, not "".
struct Placemark {
    std::optional<std::string> country;
    std::optional<std::string> administrativeArea;
    std::optional<std::string> locality;
    std::optional<std::string> subLocality;
    std::optional<std::string> thoroughfare;
    std::optional<std::string> subThoroughfare;
    Coordinate coordinate;
};

class ReverseGeocoder;

class ReverseGeocoderDelegate {
public:
    virtual ~ReverseGeocoderDelegate() = default;
    virtual void didFindPlacemark(ReverseGeocoder&, const Placemark&) {}
    virtual void didFailWithError(ReverseGeocoder&, const std::string& /*error*/) {}
};

class ReverseGeocoder : public std::enable_shared_from_this<ReverseGeocoder> {
public:
    static std::shared_ptr<ReverseGeocoder> create(const Coordinate& coordinate);

    const Coordinate& coordinate() const { return coordinate_; }
    // An observer pointer the delegate clears before it goes away.
    void setDelegate(ReverseGeocoderDelegate* d) { delegate_ = d; }
    // The answer comes on the run loop's next turn.
    void start();
    void cancel();
    bool isQuerying() const { return querying_; }

    // The place every geocoding answers with; none makes them fail.
    static void setPlace(std::optional<Placemark> place);

private:
    explicit ReverseGeocoder(const Coordinate& c) : coordinate_(c) {}
    void answer();

    Coordinate coordinate_;
    ReverseGeocoderDelegate* delegate_ = nullptr;
    bool querying_ = false;
    unsigned generation_ = 0;
};

}  // namespace location
