#pragma once
// The locating operation of the online pages: one device position, turned into a city and a
// postal address by reverse geocoding, reported to the page that owns it. While it waits for the
// first answer a transparent view over the screen swallows every touch.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/location/LocationManager.h"
#include "platform/location/ReverseGeocoder.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/View.h"

class NSGPSOper;

// The page that owns a locating operation and hears of each place found.
class NSGPSOwner {
public:
    virtual ~NSGPSOwner() = default;
    virtual void gpsOnOk(NSGPSOper& oper) = 0;
};

class NSGPSOper : public location::LocationManagerDelegate,
                  public location::ReverseGeocoderDelegate,
                  public ui::AlertViewDelegate {
public:
    NSGPSOper();
    ~NSGPSOper() override;
    NSGPSOper(const NSGPSOper&) = delete;
    NSGPSOper& operator=(const NSGPSOper&) = delete;

    // Covers the screen with the wait view and starts locating.
    void begin();
    // Takes the wait view away and stops locating; harmless when repeated.
    void close();

    // Kept without ownership: the owner holds the operation and outlives it.
    NSGPSOwner* upviewcontroller = nullptr;
    // The screen rectangle the wait view covers, asked for at each begin; the page that starts
    // the operation gives its root's. Without it, or without an answer, the whole window.
    std::function<std::optional<ui::Rect>()> screenFrame;
    std::optional<std::string> cityname;  // none until the first place
    std::optional<std::string> address;
    float lattitude = 0;
    float longitude = 0;
    const std::shared_ptr<ui::View>& uv_wait() const { return uv_wait_; }
    const std::shared_ptr<location::LocationManager>& manager() const { return manager_; }

    void startedReverseGeoderWithLatitude(double latitude, double longitude);
    // The address of a place: country, province, city, district when there is one, street and
    // number, run together; a missing part other than the district reads "(null)".
    static std::string composeAddress(const location::Placemark& place);

    void didUpdateToLocation(location::LocationManager&, const location::Coordinate& now,
                             const std::optional<location::Coordinate>& before) override;
    void didFailWithError(location::LocationManager&, int code) override;
    void didFindPlacemark(location::ReverseGeocoder&, const location::Placemark& place) override;
    void didFailWithError(location::ReverseGeocoder&, const std::string& error) override;
    void alertViewDidDismissWithButtonIndex(ui::AlertView& alert, int buttonIndex) override;

private:
    void removeWaitView();
    std::shared_ptr<location::LocationManager> manager_;
    std::shared_ptr<location::ReverseGeocoder> geoCoder_;
    std::shared_ptr<ui::View> uv_wait_;
    std::shared_ptr<ui::AlertView> errorAlert_;
};
