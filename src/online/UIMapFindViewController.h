#pragma once
// Stand-in for the shop finder of the online part, until the real page arrives.

#include <memory>
#include <string>

#include "screens/host/StandInViewController.h"

class UIMapFindViewController : public StandInPage<&SwitchViewController::mapfindback> {
public:
    explicit UIMapFindViewController(std::string nibName = "UIMapFindViewController")
        : StandInPage(std::move(nibName), "查找商家") {}
    static constexpr int kMapView = 1001;
    static constexpr int kListView = 1002;
    // A non-empty text searches by name instead of by position.
    void setM_strSearchText(std::string text) { searchText_ = std::move(text); }
    const std::string& m_strSearchText() const { return searchText_; }
    void setShowShopType(int type) { showShopType_ = type; }
    int showShopType() const { return showShopType_; }
    // The ty value of every shop-list query.
    void setty(int ty) { ty_ = ty; }
    int ty() const { return ty_; }

private:
    std::string searchText_;
    int showShopType_ = kMapView;
    int ty_ = 0;
};
