#pragma once
// The shops the logged-in customer has collected, page by page; each load also rebuilds the
// online store's list of collected shops, which the shop detail consults.

#include <memory>
#include <optional>
#include <string>

#include "platform/ui/TableView.h"
#include "screens/online/UIOnlinePage.h"
#include "screens/online/UIShopListTable.h"

class UICollectionShopViewController : public UIOnlineBackPage<&ScreenRoot::collectionBack> {
public:
    explicit UICollectionShopViewController(std::string nibName = "UICollectionShopViewController");

    const std::vector<std::shared_ptr<NSShopClass>>& m_shops() const { return list_.m_shops; }
    const FindShopStuct& findShopStuct() const { return list_.findShopStuct; }
    const std::shared_ptr<ui::TableView>& tb_shops() const { return tb_shops_; }
    const std::shared_ptr<EGORefreshTableHeaderView>& refreshHeaderView() const { return list_.refreshHeaderView(); }

    // A new load from page 1 (also when a shop detail closes over this page).
    void loadShop();
    void pageoper(int tag);
    void receiveServerMessage(const std::string& answer);
    void showShop(const std::shared_ptr<NSShopClass>& shop);
    void doneLoadingTableViewData() { list_.doneLoadingTableViewData(); }

    void viewDidLoad() override;

protected:
    void buildContent(ui::View& view) override;

private:
    void send(std::optional<int> pageindex);
    UIShopListTable list_;
    std::shared_ptr<ui::TableView> tb_shops_;
};
