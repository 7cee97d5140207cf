#pragma once
// The password change of the logged-in customer.

#include <memory>
#include <string>

#include "screens/online/UIOnlinePage.h"

class UIPasswordViewController : public UIOnlineBackPage<&ScreenRoot::passwordBack> {
public:
    explicit UIPasswordViewController(std::string nibName = "UIPasswordViewController");

    const std::shared_ptr<ui::TextField>& tf_username() const { return tf_username_; }
    const std::shared_ptr<ui::TextField>& tf_password() const { return tf_password_; }
    const std::shared_ptr<ui::TextField>& tf_opassword() const { return tf_opassword_; }
    const std::shared_ptr<ui::TextField>& tf_password2() const { return tf_password2_; }

    void viewDidLoad() override;
    void onSubmit();
    void receiveServerMessage(const std::string& answer);

protected:
    void buildContent(ui::View& view) override;

private:
    std::shared_ptr<ui::TextField> tf_username_, tf_password_, tf_opassword_, tf_password2_;
};
