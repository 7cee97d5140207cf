#pragma once
// The set-meal screen: the items of one set-meal line, one item tile a row, with their number
// and total price; items are removed here, added through the dish menu in set-meal add mode and
// opened in the detail view. With type 2 it is the read-only sold-out list.

#include <memory>
#include <string>
#include <vector>

#include "model/NSCaipClass.h"
#include "model/NSDishClass.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"
#include "screens/lineedit/SetMealTarget.h"

class NSCaipViewCell;
class ScreenRoot;

class UITaoCanViewController : public ui::ViewController,
                               public ui::TableViewDataSource,
                               public ui::TableViewDelegate,
                               public SetMealTarget {
public:
    static constexpr int kSetMeal = 1;
    static constexpr int kSoldOut = 2;

    explicit UITaoCanViewController(std::string nibName = "UITaoCanViewController");
    ~UITaoCanViewController() override;

    // 1 set-meal items, 2 the sold-out list (read only); set before the view loads.
    void setType(int type) { type_ = type; }
    int type() const { return type_; }
    void setRootController(ScreenRoot* root) { rootController_ = root; }
    bool getSelectDish(const std::shared_ptr<NSDishClass>& line);
    // Builds the item lines (the set meal's rows of the set-meal table, the first time) and the
    // item dishes beside them.
    void loadExDishs();

    const std::shared_ptr<NSDishClass>& m_dish() const override { return m_dish_; }
    // The item lines: the set-meal line's own list.
    const NSDishList& m_ExDishs() const;
    const NSCaipList& m_ExCaips() const { return m_ExCaips_; }
    // Appends an item line and its dish, keeping the two lists in step.
    void addItem(const std::shared_ptr<NSDishClass>& line, const std::shared_ptr<NSCaipClass>& dish) override;
    const std::shared_ptr<ui::TableView>& tb_dishs() { view(); return tb_dishs_; }
    const std::shared_ptr<ui::Label>& lb_title() { view(); return lb_title_; }
    const std::shared_ptr<ui::Label>& lb_shul() { view(); return lb_shul_; }
    const std::shared_ptr<ui::Label>& lb_money() { view(); return lb_money_; }
    const std::shared_ptr<ui::Label>& lb_moneytitle() { view(); return lb_moneytitle_; }
    const std::shared_ptr<ui::Button>& bt_add() { view(); return bt_add_; }
    // The tile of each row built so far.
    const std::vector<std::shared_ptr<NSCaipViewCell>>& caipViewCells() const { return caipViewCells_; }

    // Writes the count and the total.
    void showCaipMoney();
    // Actions.
    void addCaip();
    void onCancel();
    void removeBomCai(int row);
    void showBigCai(int row);

    void loadView() override;
    void viewDidLoad() override;
    void viewDidUnload() override;

    int numberOfSections(ui::TableView&) override;
    int numberOfRows(ui::TableView&, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRow(ui::TableView&, const ui::IndexPath& path) override;
    // Set-meal rows are of one height; a sold-out row is as tall as its description needs.
    double heightForRow(ui::TableView&, const ui::IndexPath& path) override;

private:
    // The text under a row's name: a sold-out dish's description, else the item's quantity and
    // tastes.
    std::string itemText(int row) const;

    ScreenRoot* rootController_ = nullptr;
    int type_ = kSetMeal;
    std::shared_ptr<NSDishClass> m_dish_;
    NSCaipList m_ExCaips_;
    std::vector<std::shared_ptr<NSCaipViewCell>> caipViewCells_;

    std::shared_ptr<ui::TableView> tb_dishs_;
    std::shared_ptr<ui::Button> bt_back_, bt_add_;
    std::shared_ptr<ui::Label> lb_title_, lb_moneytitle_, lb_shul_, lb_money_;
    std::shared_ptr<ui::View> im_bottom_;
};
