#pragma once
// One online order: its summary and its dishes, asked for when the page's view loads; the answer
// also imports the order's shop's web menu, on which the select-dish button then opens the dish
// menu. The root keeps the page as its `dingDXViewController`, so the dishes chosen next are sent
// for this order. The online order form keeps a page of this class, never shown, only to hold the
// import of its shop's menu (`loadShopCaip`).

#include <memory>
#include <string>

#include "online/NSDingDClass.h"
#include "online/NSOnlineOrders.h"
#include "platform/ui/TableView.h"
#include "screens/online/UIOnlinePage.h"

namespace ui {
class TextView;
}

class UIDingDanXViewController : public UIOnlineBackPage<&ScreenRoot::dingDxBack>,
                                 public ui::TableViewDataSource,
                                 public ui::TableViewDelegate {
public:
    static constexpr double kRowHeight = 40;

    explicit UIDingDanXViewController(std::string nibName = "UIDingDanXViewController");
    ~UIDingDanXViewController() override;

    // Set before the view loads.
    void setM_dingd(std::shared_ptr<NSDingDClass> order) { detail_->m_dingd = std::move(order); }
    const std::shared_ptr<NSDingDClass>& m_dingd() const { return detail_->m_dingd; }
    const NSDishList& m_dishs() const { return detail_->m_dishs; }
    const std::shared_ptr<ui::TextView>& tv_dingdan() const { return tv_dingdan_; }
    const std::shared_ptr<ui::TableView>& tb_caipin() const { return tb_caipin_; }
    const std::shared_ptr<ui::Button>& bt_SelectDish() const { return bt_SelectDish_; }

    void loadDingDanX();
    // Fills the summary and the dish table from the order.
    void showDingDan();
    // Opens the dish menu (on the order's shop's menu once it is imported).
    void selectDish();
    // Imports the order's shop's web menu into the menu database (an order without a shop is
    // not imported).
    void loadShopCaip();

    void viewDidLoad() override;
    void viewDidUnload() override;

    int numberOfRows(ui::TableView&, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRow(ui::TableView&, const ui::IndexPath& path) override;
    double heightForRow(ui::TableView&, const ui::IndexPath&) override { return kRowHeight; }

protected:
    void buildContent(ui::View& view) override;

private:
    std::shared_ptr<NSDingDetailLoader> detail_ = std::make_shared<NSDingDetailLoader>();
    std::shared_ptr<ui::TextView> tv_dingdan_;
    std::shared_ptr<ui::TableView> tb_caipin_;
    std::shared_ptr<ui::Button> bt_SelectDish_;
};
