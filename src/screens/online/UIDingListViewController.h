#pragma once
// The logged-in customer's online orders, one row each (number, type, shop, time, state, total
// and, for a take-away order, the delivery fee); choosing a row opens that order's detail. The
// orders are asked for once, when the page's view loads; a new page is made for every visit.

#include <memory>
#include <string>
#include <vector>

#include "online/NSOnlineOrders.h"
#include "platform/ui/TableView.h"
#include "screens/online/UIOnlinePage.h"

class UIDingListViewController : public UIOnlineBackPage<&ScreenRoot::DingLBack>,
                                 public ui::TableViewDataSource,
                                 public ui::TableViewDelegate {
public:
    static constexpr double kRowHeight = 82;

    explicit UIDingListViewController(std::string nibName = "UIDingListViewController");
    ~UIDingListViewController() override;

    int pagenum() const { return list_->pagenum; }
    int totelpage() const { return list_->totelpage; }
    const std::vector<std::shared_ptr<NSDingDClass>>& a_dingds() const { return list_->a_dingds; }
    const std::shared_ptr<ui::TableView>& tb_dingl() const { return tb_dingl_; }

    void loadList();

    void viewDidLoad() override;
    void viewDidUnload() override;

    int numberOfRows(ui::TableView&, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRow(ui::TableView&, const ui::IndexPath& path) override;
    double heightForRow(ui::TableView&, const ui::IndexPath&) override { return kRowHeight; }
    void didSelectRow(ui::TableView&, const ui::IndexPath& path) override;

protected:
    void buildContent(ui::View& view) override;

private:
    std::shared_ptr<NSDingListLoader> list_ = std::make_shared<NSDingListLoader>();
    std::shared_ptr<ui::TableView> tb_dingl_;
};
