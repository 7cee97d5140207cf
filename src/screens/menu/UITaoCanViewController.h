#pragma once
// Stand-in for the set-meal screen: lists the item lines of a set-meal line (or of the sold-out
// list) and goes back, until the real screen arrives.

#include <memory>
#include <string>

#include "screens/host/StandInViewController.h"

class UITaoCanViewController : public StandInPage<&SwitchViewController::BomCaiBackToSelect>,
                               public StandInLineTable {
public:
    static constexpr int kSetMeal = 1;
    static constexpr int kSoldOut = 2;

    explicit UITaoCanViewController(std::string nibName = "UITaoCanViewController");

    // 1 set-meal items, 2 the sold-out list (read only).
    void setType(int type) { type_ = type; }
    int type() const { return type_; }
    bool getSelectDish(const std::shared_ptr<NSDishClass>& line);
    // Takes the line's item lines; the first time the line is marked as expanded.
    void loadExDishs();
    // The item table (its rows: the item lines).
    const std::shared_ptr<ui::TableView>& tb_dishs();

protected:
    void buildContent(ui::View& view) override { addLineTable(view, kContentTop); }
    const std::vector<std::shared_ptr<NSDishClass>>& tableLines() override { return items_; }

private:
    int type_ = kSetMeal;
    std::shared_ptr<NSDishClass> line_;
    std::vector<std::shared_ptr<NSDishClass>> items_;
};
