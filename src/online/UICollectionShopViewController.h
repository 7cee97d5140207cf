#pragma once
// Stand-in for the favourite shops page of the online part, until the real page arrives.

#include <memory>
#include <string>

#include "screens/host/StandInViewController.h"
#include "screens/host/SwitchViewController.h"

class UICollectionShopViewController : public StandInViewController {
public:
    explicit UICollectionShopViewController(std::string nibName = "UICollectionShopViewController")
        : StandInViewController(std::move(nibName), "我的收藏") {}
    // Reloads the favourites from their first page.
    void loadShop() { ++loads_; }
    int loads() const { return loads_; }

protected:
    void back() override {
        if (rootController_) rootController_->collectionBack();
    }

private:
    int loads_ = 0;
};
