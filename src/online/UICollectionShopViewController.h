#pragma once
// Stand-in for the favourite shops page of the online part, until the real page arrives.

#include <memory>
#include <string>

#include "screens/host/StandInViewController.h"

class UICollectionShopViewController : public StandInPage<&SwitchViewController::collectionBack> {
public:
    explicit UICollectionShopViewController(std::string nibName = "UICollectionShopViewController")
        : StandInPage(std::move(nibName), "我的收藏") {}
    // Reloads the favourites from their first page.
    void loadShop() { ++loads_; }
    int loads() const { return loads_; }

private:
    int loads_ = 0;
};
