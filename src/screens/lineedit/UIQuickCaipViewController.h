#pragma once
// Stand-in for the order-line editor: names the dish and closes, until the real editor arrives.
// It opens no picker or pad of its own, so its dialog answers have nothing to close.

#include <memory>
#include <string>

#include "screens/host/NSDialogProtocols.h"
#include "screens/host/StandInViewController.h"

class NSCaipClass;
class NSDishClass;

class UIQuickCaipViewController : public StandInViewController, public NSSelectDlg, public NSNumDlg {
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

    void SelectDlgOk() override {}
    void SelectDlgCancel() override {}
    void NumDlgOk() override {}
    void NumDlgCancel() override {}

protected:
    void back() override;
    void buildContent(ui::View& view) override;

private:
    std::shared_ptr<NSCaipClass> m_caip_;
    std::shared_ptr<NSDishClass> m_dish_;
    int type_ = 0;
    bool isModify_ = false;
};
