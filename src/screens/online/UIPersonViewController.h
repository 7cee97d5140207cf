#pragma once
// The personal centre of a logged-in customer: the way to the password change, the profile edit
// and the points.

#include <string>

#include "screens/online/UIOnlinePage.h"

class UIPersonViewController : public UIOnlineBackPage<&ScreenRoot::personBack> {
public:
    explicit UIPersonViewController(std::string nibName = "UIPersonViewController");

protected:
    void buildContent(ui::View& view) override;
};
