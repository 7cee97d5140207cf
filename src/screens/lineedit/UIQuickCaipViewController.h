#pragma once
// Stand-in for the order-line editor: names the dish and closes, until the real editor arrives.

#include <memory>
#include <string>

#include "screens/host/StandInViewController.h"

class NSCaipClass;

class UIQuickCaipViewController : public StandInPage<&SwitchViewController::quickCaipBack>,
                                  public StandInDialogOwner {
public:
    // The line becomes an item of the set meal open on the set-meal screen.
    static constexpr int kSetMealItem = 4;

    explicit UIQuickCaipViewController(std::string nibName = "UIQuickCaipViewController");

    void setM_caip(std::shared_ptr<NSCaipClass> dish) { m_caip_ = std::move(dish); }
    void setM_dish(std::shared_ptr<NSDishClass> line) { m_dish_ = std::move(line); }
    const std::shared_ptr<NSCaipClass>& m_caip() const { return m_caip_; }
    const std::shared_ptr<NSDishClass>& m_dish() const { return m_dish_; }
    void setType(int type) { type_ = type; }
    int type() const { return type_; }
    void setIsModify(bool modify) { isModify_ = modify; }
    bool isModify() const { return isModify_; }

protected:
    void buildContent(ui::View& view) override { addNote(view, m_dish_); }

private:
    std::shared_ptr<NSCaipClass> m_caip_;
    std::shared_ptr<NSDishClass> m_dish_;
    int type_ = 0;
    bool isModify_ = false;
};
