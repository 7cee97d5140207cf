#pragma once
// The points of the logged-in customer: the stored balance at once, the service's when it
// answers.

#include <memory>
#include <string>

#include "screens/online/UIOnlinePage.h"

class UIJiFenViewController : public UIOnlineBackPage<&ScreenRoot::JifBack> {
public:
    explicit UIJiFenViewController(std::string nibName = "UIJiFenViewController");

    const std::shared_ptr<ui::Label>& lb_jif() const { return lb_jif_; }

    void viewDidLoad() override;
    void getUserInfoFromServer();
    void receiveServerUserInfo(const std::string& answer);

protected:
    void buildContent(ui::View& view) override;

private:
    std::shared_ptr<ui::Label> lb_jif_;
};
