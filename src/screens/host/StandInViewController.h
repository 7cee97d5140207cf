#pragma once
// The plain screen of a screen whose real one is still to come: a title bar naming it with a back
// button, the current desk beneath, and room for the few controls the root and the desk flow need
// of it. Each such screen derives from this and keeps its real class name, so that a person can
// reach it and go back.

#include <memory>
#include <string>

#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"
#include "screens/host/NSDialogProtocols.h"
#include "screens/host/SwitchViewController.h"

class NSDishClass;

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
    // A line below the desk naming the order line (empty without one).
    std::shared_ptr<ui::Label> addNote(ui::View& view, const std::shared_ptr<NSDishClass>& line);

    SwitchViewController* rootController_ = nullptr;

private:
    std::string screenName_;
    std::shared_ptr<ui::Label> deskLabel_;
};

// A stand-in whose back button calls one operation of the root.
template <void (SwitchViewController::*Back)()>
class StandInPage : public StandInViewController {
public:
    using StandInViewController::StandInViewController;

protected:
    void back() override {
        if (rootController_) (rootController_->*Back)();
    }
};

// A stand-in opens no picker or pad of its own, so its answers as their owner have nothing to
// close.
class StandInDialogOwner : public NSSelectDlg, public NSNumDlg {
public:
    void SelectDlgOk() override {}
    void SelectDlgCancel() override {}
    void NumDlgOk() override {}
    void NumDlgCancel() override {}
};

// A table of order lines below a stand-in's own controls.
class StandInLineTable : public ui::TableViewDataSource {
public:
    int numberOfRows(ui::TableView&, int) override;
    std::shared_ptr<ui::TableViewCell> cellForRow(ui::TableView&, const ui::IndexPath& path) override;

protected:
    // The lines the table lists now.
    virtual const std::vector<std::shared_ptr<NSDishClass>>& tableLines() = 0;
    // Adds the table to `view` from `top` to the bottom.
    void addLineTable(ui::View& view, double top);

    std::shared_ptr<ui::TableView> lineTable_;
};
