#pragma once
// The device position, standing in for a satellite receiver: the position is whatever the shell
// or a test set (or none), and it is reported from the main run loop to every manager that is
// updating, as a receiver's fixes would be. Without a position, an updating manager hears "no
// position" (code 0); with access refused, "denied" (code 1).

#include <memory>
#include <optional>

#include "platform/location/Coordinate.h"

namespace location {

class LocationManager;

class LocationManagerDelegate {
public:
    virtual ~LocationManagerDelegate() = default;
    virtual void didUpdateToLocation(LocationManager&, const Coordinate& /*now*/,
                                     const std::optional<Coordinate>& /*before*/) {}
    virtual void didFailWithError(LocationManager&, int /*code*/) {}
};

class LocationManager : public std::enable_shared_from_this<LocationManager> {
public:
    static constexpr int kErrorLocationUnknown = 0;
    static constexpr int kErrorDenied = 1;
    static constexpr double kAccuracyBest = -1;

    static std::shared_ptr<LocationManager> create();
    ~LocationManager();

    // An observer pointer the delegate clears before it goes away.
    void setDelegate(LocationManagerDelegate* d) { delegate_ = d; }
    LocationManagerDelegate* delegate() const { return delegate_; }
    void setDesiredAccuracy(double metres) { accuracy_ = metres; }
    double desiredAccuracy() const { return accuracy_; }
    // A new fix is reported only after the device moved this far from the last one reported.
    void setDistanceFilter(double metres) { distanceFilter_ = metres; }
    double distanceFilter() const { return distanceFilter_; }

    // The first report comes on the run loop's next turn.
    void startUpdatingLocation();
    void stopUpdatingLocation();
    bool isUpdating() const { return updating_; }
    const std::optional<Coordinate>& location() const { return last_; }

    // The device: its position (none: it cannot tell) and whether the user refused access.
    static void setDevicePosition(std::optional<Coordinate> position);
    static std::optional<Coordinate> devicePosition();
    static void setAccessDenied(bool denied);

private:
    LocationManager() = default;
    void report();

    LocationManagerDelegate* delegate_ = nullptr;
    double accuracy_ = kAccuracyBest;
    double distanceFilter_ = 0;
    bool updating_ = false;
    std::optional<Coordinate> last_;
};

}  // namespace location
