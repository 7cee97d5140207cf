#pragma once
// The plain screen of a screen whose real one is still to come: a title bar naming it with a back
// button, the current desk beneath, and room for the few controls the root and the desk flow need
// of it. Each such screen derives from this and keeps its real class name, so that a person can
// reach it and go back.

#include <memory>
#include <string>

#include "platform/ui/Label.h"
#include "platform/ui/ViewController.h"

class NSDishClass;
class SwitchViewController;
namespace ui {
class TableViewCell;
}

class StandInViewController : public ui::ViewController {
public:
    StandInViewController(std::string nibName, std::string screenName);

    // Kept without ownership: the root outlives its screens.
    void setRootController(SwitchViewController* root) { rootController_ = root; }
    void setRootViewController(SwitchViewController* root) { rootController_ = root; }
    SwitchViewController* rootController() const { return rootController_; }

    void loadView() override;
    // Shows the current desk again.
    void refreshDesk();
    const std::string& screenName() const { return screenName_; }

    // A row of an order line: name, quantity, unsent or sent.
    static std::shared_ptr<ui::TableViewCell> lineCell(const NSDishClass& line);

protected:
    // The back button.
    virtual void back() = 0;
    // Whether the screen has a back button at all.
    virtual bool hasBack() const { return true; }
    // Adds the screen's own controls below the desk line (from y = kContentTop).
    virtual void buildContent(ui::View&) {}
    static constexpr double kContentTop = 120;

    SwitchViewController* rootController_ = nullptr;

private:
    std::string screenName_;
    std::shared_ptr<ui::Label> deskLabel_;
};
