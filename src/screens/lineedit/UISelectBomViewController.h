#pragma once
// Stand-in for the set-meal item chooser: names the set meal and closes, until the real chooser
// arrives.

#include <memory>
#include <string>

#include "screens/host/StandInViewController.h"

class UISelectBomViewController : public StandInPage<&SwitchViewController::bomSelectCaipBack>,
                                  public StandInDialogOwner {
public:
    explicit UISelectBomViewController(std::string nibName = "UISelectBomViewController");

    void setM_dish(std::shared_ptr<NSDishClass> line) { m_dish_ = std::move(line); }
    const std::shared_ptr<NSDishClass>& m_dish() const { return m_dish_; }

protected:
    void buildContent(ui::View& view) override { addNote(view, m_dish_); }

private:
    std::shared_ptr<NSDishClass> m_dish_;
};
