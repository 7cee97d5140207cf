#pragma once
// The shops the logged-in customer has collected, page by page; each load also rebuilds the
// online store's list of collected shops, which the shop detail consults.

#include <memory>
#include <optional>
#include <string>

#include "online/RefreshTableHeaderView/EGORefreshTableHeaderView.h"
#include "online/UIOnlinePage.h"
#include "online/UIShopListTable.h"
#include "platform/ui/TableView.h"

class UICollectionShopViewController : public UIOnlineBackPage<&SwitchViewController::collectionBack>,
                                       public ui::TableViewDataSource,
                                       public ui::TableViewDelegate,
                                       public EGORefreshTableHeaderDelegate {
public:
    explicit UICollectionShopViewController(std::string nibName = "UICollectionShopViewController");
    ~UICollectionShopViewController() override;

    const std::vector<std::shared_ptr<NSShopClass>>& m_shops() const { return list_.m_shops; }
    const FindShopStuct& findShopStuct() const { return list_.findShopStuct; }
    const std::shared_ptr<ui::TableView>& tb_shops() const { return tb_shops_; }
    const std::shared_ptr<EGORefreshTableHeaderView>& refreshHeaderView() const { return _refreshHeaderView; }

    // A new load from page 1 (also when a shop detail closes over this page).
    void loadShop();
    void pageoper(int tag);
    void receiveServerMessage(const std::string& answer);
    void showShop(const std::shared_ptr<NSShopClass>& shop);

    void viewDidLoad() override;

    int numberOfRows(ui::TableView&, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRow(ui::TableView&, const ui::IndexPath&) override;
    double heightForRow(ui::TableView&, const ui::IndexPath&) override;
    void willDisplayCell(ui::TableView&, ui::TableViewCell&, const ui::IndexPath&) override;
    void didSelectRow(ui::TableView&, const ui::IndexPath&) override;
    void scrollViewDidScroll(ui::ScrollView&) override;
    void scrollViewDidEndDragging(ui::ScrollView&, bool willDecelerate) override;

    void egoRefreshTableHeaderDidTriggerRefresh(EGORefreshTableHeaderView&) override;
    bool egoRefreshTableHeaderDataSourceIsLoading(EGORefreshTableHeaderView&) override { return _reloading; }
    std::optional<double> egoRefreshTableHeaderDataSourceLastUpdated(EGORefreshTableHeaderView&) override;
    void doneLoadingTableViewData();

protected:
    void buildContent(ui::View& view) override;

private:
    void send(std::optional<int> pageindex);
    UIShopListTable list_;
    bool _reloading = false;
    std::shared_ptr<ui::TableView> tb_shops_;
    std::shared_ptr<EGORefreshTableHeaderView> _refreshHeaderView;
};
