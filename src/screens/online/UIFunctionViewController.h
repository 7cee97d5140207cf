#pragma once
// The online home: the brand and chosen city on its city button, the login state, a search of
// shops by name, and tiles into the shop search, the dish menu, the personal centre, the
// collected shops, the order list and the city chooser.

#include <memory>
#include <string>

#include "platform/ui/SearchBar.h"
#include "screens/online/UIOnlinePage.h"

class UIFunctionViewController : public UIOnlineBackPage<&ScreenRoot::functionBack>,
                                 public ui::SearchBarDelegate {
public:
    explicit UIFunctionViewController(std::string nibName = "UIFunctionViewController");

    // The shop-search kinds of the tiles (sent as "ty").
    static constexpr int kNearbyMap = 1;
    static constexpr int kNearbyList = 2;

    const std::shared_ptr<ui::Button>& bt_city() {
        view();
        return bt_city_;
    }
    const std::shared_ptr<ui::Button>& bt_user() {
        view();
        return bt_user_;
    }
    const std::shared_ptr<ui::SearchBar>& m_shopSearchBar() {
        view();
        return m_shopSearchBar_;
    }

    // The city button's title for the chosen city.
    static std::string cityTitle();
    // The login-state button: "未登录" or "已登录".
    void showUser();
    // The login-state button: logs in, or asks before logging out.
    void customerLogin();

    void viewDidLoad() override;
    void searchBarSearchButtonClicked(ui::SearchBar& bar) override;

protected:
    void buildContent(ui::View& view) override;

private:
    std::shared_ptr<ui::Button> bt_city_;
    std::shared_ptr<ui::Button> bt_user_;
    std::shared_ptr<ui::SearchBar> m_shopSearchBar_;
};
