#pragma once
// The registration of a new customer account, sent with the device's position and address.

#include <memory>
#include <string>

#include "online/NSGPSOper.h"
#include "platform/ui/ImageView.h"
#include "screens/online/UIOnlinePage.h"

class UICustomerRegistViewController : public UIOnlineBackPage<&ScreenRoot::registBack>, public NSGPSOwner {
public:
    // Locating starts at once, before the page is shown.
    explicit UICustomerRegistViewController(std::string nibName = "UICustomerRegistViewController");
    ~UICustomerRegistViewController() override;

    const std::shared_ptr<ui::TextField>& tf_userid() const { return tf_userid_; }
    const std::shared_ptr<ui::TextField>& tf_password() const { return tf_password_; }
    const std::shared_ptr<ui::TextField>& tf_password2() const { return tf_password2_; }
    const std::shared_ptr<ui::TextField>& tf_email() const { return tf_email_; }
    const std::shared_ptr<ui::TextField>& tf_telephone() const { return tf_telephone_; }
    const std::shared_ptr<ui::TextField>& tf_address() const { return tf_address_; }
    const std::shared_ptr<ui::TextField>& tf_truename() const { return tf_truename_; }
    const std::shared_ptr<ui::ImageView>& iv_sex() const { return iv_sex_; }
    const std::shared_ptr<NSGPSOper>& gpsoper() const { return gpsoper_; }
    void setM_mode(int mode) { m_mode_ = mode; }
    int m_mode() const { return m_mode_; }

    void gpsOnOk(NSGPSOper& oper) override;
    void onSex(int tag);
    void onRegist();
    void receiveServerMessage(const std::string& answer);

protected:
    void buildContent(ui::View& view) override;

private:
    std::shared_ptr<NSGPSOper> gpsoper_;
    std::shared_ptr<ui::TextField> tf_userid_, tf_password_, tf_password2_, tf_email_, tf_telephone_, tf_address_,
        tf_truename_;
    std::shared_ptr<ui::ImageView> iv_sex_;
    int m_mode_ = 0;
};
