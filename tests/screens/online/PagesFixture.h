#pragma once
// The guest pages as a guest meets them: the terminal launched headless on a manual clock, the
// web-service simulator on a loopback port of its own as the online service, and a device that
// stands in the demo world's city (its position and the place the geocoder names). Answers of
// the HTTP worker are waited for as they are posted to the run loop.

#include <chrono>
#include <map>
#include <string>
#include <thread>

#include "online/NSHTTPServer.h"
#include "online/NSShopDBClass.h"
#include "platform/location/LocationManager.h"
#include "platform/location/ReverseGeocoder.h"
#include "platform/render/UiHooks.h"
#include "platform/ui/TextField.h"
#include "screens/root/DialogFixture.h"
#include "support/EventWait.h"
#include "websim/WebSim.h"

namespace pagestest {

// Where the demo world's shops stand, as the device sees it.
constexpr double kLat = 31.2304;
constexpr double kLng = 121.4737;

inline location::Placemark shanghai() {
    location::Placemark p;
    p.country = "中国";
    p.administrativeArea = "上海市";
    p.locality = "上海市";
    p.subLocality = "黄浦区";
    p.thoroughfare = "中山路";
    p.subThoroughfare = "10号";
    p.coordinate = {kLat, kLng};
    return p;
}

using testsupport::kEventWaitSeconds;

class PagesTest : public DialogFixture {
protected:
    void SetUp() override {
        DialogFixture::SetUp();
        render::installUiHooks();  // pictures decoded, texts measured as drawn
        ASSERT_GT(web.start(0), 0);
        NSHTTPServer::setHTTPAddress(web.baseURL());
        location::LocationManager::setDevicePosition(location::Coordinate{kLat, kLng});
        location::LocationManager::setAccessDenied(false);
        location::ReverseGeocoder::setPlace(shanghai());
        NSServer::setShopDB(nullptr);  // read again from this test's own home
        launch("127.0.0.1");
        advance(1);
        NSServer::getShopDB();  // as the online home does when it first shows
        answers();              // the store's first refreshes (cities, cuisines)
    }
    void TearDown() override {
        answers();
        location::LocationManager::setDevicePosition(std::nullopt);
        location::ReverseGeocoder::setPlace(std::nullopt);
        DialogFixture::TearDown();
        NSServer::setShopDB(nullptr);
        web.stop();
    }

    // Runs the main loop until every request sent has been answered.
    bool answers(double seconds = kEventWaitSeconds) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        loop().drain();
        while (NSHTTPServer::inFlight() > 0) {
            if (std::chrono::steady_clock::now() > until) return false;
            loop().waitForPosted(0.05);
            loop().drain();
        }
        loop().drain();
        return true;
    }
    // Taps, then lets the answers of what the tap asked for in.
    void tapAndWait(const std::string& title) {
        tap(title);
        ASSERT_TRUE(answers());
    }

    // The return key of the keyboard, in the field being edited.
    void pressReturn() {
        if (auto* field = dynamic_cast<ui::TextField*>(window->firstResponder())) field->returnKey();
        loop().drain();
    }

    void logIn(const std::string& id = "1001") {
        auto c = std::make_shared<NSCustomerClass>();
        c->m_id = id;
        c->m_name = "demo";
        c->m_tel = "13800000000";
        c->m_truename = "王小明";
        c->m_sex = 1;
        NSServer::getShopDB()->m_nowuser = c;
    }
    // From the welcome screen, a take-away order at that shop nearby, for 2 to 中山路10号, submitted
    // and its answer's alert shut: the shop's dish menu comes next.
    void takeAwayOrderAt(const std::string& shop) {
        tap("在线服务");
        tapAndWait("附近商家");
        tapAndWait(shop);
        tapAndWait("外卖");
        tap("人数");
        type("2");
        tap("送餐地址");
        type("中山路10号");
        tapAndWait("提交订单");
        tap("确定");
    }
    // The requests the simulator had for one page, oldest first.
    std::vector<websim::LoggedRequest> requestsFor(const std::string& page) const {
        std::vector<websim::LoggedRequest> out;
        for (auto& r : web.requests())
            if (r.page == page) out.push_back(r);
        return out;
    }
    static std::string value(const websim::LoggedRequest& r, const std::string& key) {
        auto it = r.query.find(key);
        return it == r.query.end() ? "<none>" : it->second;
    }
    static bool has(const websim::LoggedRequest& r, const std::string& key) { return r.query.count(key) != 0; }

    websim::WebSim web;
};

}  // namespace pagestest
