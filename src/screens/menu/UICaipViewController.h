#pragma once
// Stand-in for the dish detail view: shows the line it was given and returns by its origin,
// until the real detail view arrives.

#include <memory>
#include <string>

#include "screens/host/StandInViewController.h"

class NSCaipClass;
class NSDishClass;

class UICaipViewController : public StandInViewController {
public:
    // Where the view was opened from; the back returns there.
    enum Origin { kFromMenu = 0, kFromList = 1, kFromSearch = 2, kFromSkin = 3, kFromSetMealAdd = 4, kSetMealItem = 5 };

    explicit UICaipViewController(std::string nibName = "UICaipViewController");

    // A new line of quantity 1 from the menu dish.
    bool getSelectCaip(const std::shared_ptr<NSCaipClass>& dish);
    // An existing order line.
    void getSelectDish(const std::shared_ptr<NSDishClass>& line);
    void setType(int origin) { type_ = origin; }
    int type() const { return type_; }
    const std::shared_ptr<NSDishClass>& m_dish() const { return m_dish_; }

    // Calls the root's return for the origin.
    void backTo();

protected:
    void back() override { backTo(); }
    void buildContent(ui::View& view) override;

private:
    int type_ = kFromMenu;
    std::shared_ptr<NSDishClass> m_dish_;
    std::shared_ptr<ui::Label> dishLabel_;
};
