#pragma once
// The profile edit of the logged-in customer: e-mail, phone, full name and user name.

#include <memory>
#include <string>

#include "screens/online/UIOnlinePage.h"

class UIModifyPersonViewController : public UIOnlineBackPage<&ScreenRoot::modifyPersonBack> {
public:
    explicit UIModifyPersonViewController(std::string nibName = "UIModifyPersonViewController");

    const std::shared_ptr<ui::TextField>& tf_username() const { return tf_username_; }
    const std::shared_ptr<ui::TextField>& tf_email() const { return tf_email_; }
    const std::shared_ptr<ui::TextField>& tf_telephone() const { return tf_telephone_; }
    const std::shared_ptr<ui::TextField>& tf_truename() const { return tf_truename_; }

    void viewDidLoad() override;
    void onSubmit();
    void receiveServerMessage(const std::string& answer);

protected:
    void buildContent(ui::View& view) override;

private:
    std::shared_ptr<ui::TextField> tf_username_, tf_email_, tf_telephone_, tf_truename_;
};
