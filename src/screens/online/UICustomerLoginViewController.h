#pragma once
// The customer login of the online ordering service; a customer who logs in is kept in the
// online store until logging out.

#include <memory>
#include <string>

#include "screens/online/UIOnlinePage.h"

class UICustomerLoginViewController : public UIOnlinePage {
public:
    explicit UICustomerLoginViewController(std::string nibName = "UICustomerLoginViewController");

    const std::shared_ptr<ui::TextField>& tf_userid() const { return tf_userid_; }
    const std::shared_ptr<ui::TextField>& tf_password() const { return tf_password_; }

    void login();
    void regist();
    void receiveServerMessage(const std::string& answer);
    // Closes the page; with a customer logged in the store loads the profile.
    void onBack() override;
    bool textFieldShouldReturn(ui::TextField& field) override;

protected:
    void buildContent(ui::View& view) override;

private:
    std::shared_ptr<ui::TextField> tf_userid_, tf_password_;
};
