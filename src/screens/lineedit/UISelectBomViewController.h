#pragma once
// Stand-in for the set-meal item chooser: names the set meal and closes, until the real chooser
// arrives. It opens no picker or pad of its own, so its dialog answers have nothing to close.

#include <memory>
#include <string>

#include "screens/host/NSDialogProtocols.h"
#include "screens/host/StandInViewController.h"

class NSDishClass;

class UISelectBomViewController : public StandInViewController, public NSSelectDlg, public NSNumDlg {
public:
    explicit UISelectBomViewController(std::string nibName = "UISelectBomViewController");

    void setM_dish(std::shared_ptr<NSDishClass> line) { m_dish_ = std::move(line); }
    const std::shared_ptr<NSDishClass>& m_dish() const { return m_dish_; }

    void SelectDlgOk() override {}
    void SelectDlgCancel() override {}
    void NumDlgOk() override {}
    void NumDlgCancel() override {}

protected:
    void back() override;
    void buildContent(ui::View& view) override;

private:
    std::shared_ptr<NSDishClass> m_dish_;
};
