#pragma once
// The online order form: a guest's reservation or take-away order for one shop. It sends the
// order header and, on success, hands over to the dish menu on the shop's web menu, which it
// imports while the guest fills in the form.

#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "online/NSShopClass.h"
#include "platform/ui/DatePicker.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/PickerView.h"
#include "platform/ui/TableView.h"
#include "screens/online/UIOnlinePage.h"

class UIDingDanXViewController;
class NSCustomerClass;

class UIDingCanViewController : public UIOnlineBackPage<&ScreenRoot::dingcanback>,
                                public ui::TableViewDataSource,
                                public ui::TableViewDelegate,
                                public ui::PickerViewDataSource,
                                public ui::PickerViewDelegate {
public:
    explicit UIDingCanViewController(std::string nibName = "UIDingCanViewController");
    ~UIDingCanViewController() override;

    static constexpr int kReservation = 1;
    static constexpr int kTakeAway = 2;

    void setM_shop(std::shared_ptr<NSShopClass> shop) { m_shop_ = std::move(shop); }
    const std::shared_ptr<NSShopClass>& m_shop() const { return m_shop_; }
    void setDingtype(int kind) { dingtype_ = kind; }
    int dingtype() const { return dingtype_; }

    // What the table-type rows show and what each sends as "mould".
    static const std::vector<std::string>& tableTypeTexts();
    static const std::vector<std::string>& tableTypeMoulds();

    // The order header the form sends, from its fields, its shop and the customer; `today` is
    // the date written into the order's dates.
    struct Header {
        int kind = kReservation;
        std::string name, tel, remark, guests, address, date, time, today;
        int sex = 0;
        int tableType = 0;
    };
    static nlohmann::json orderHeader(const Header& h, const NSShopClass& shop, const NSCustomerClass& customer);

    const std::shared_ptr<ui::TextField>& tf_tel() const { return tf_tel_; }
    const std::shared_ptr<ui::TextField>& tf_rens() const { return tf_rens_; }
    const std::shared_ptr<ui::TextField>& tf_name() const { return tf_name_; }
    const std::shared_ptr<ui::TextField>& tf_beiz() const { return tf_beiz_; }
    const std::shared_ptr<ui::TextField>& tf_add() const { return tf_add_; }
    const std::shared_ptr<ui::Button>& bt_date() const { return bt_date_; }
    const std::shared_ptr<ui::Button>& bt_time() const { return bt_time_; }
    const std::shared_ptr<ui::Button>& bt_sex() const { return bt_sex_; }
    const std::shared_ptr<ui::Button>& bt_submit() const { return bt_submit_; }
    const std::shared_ptr<ui::TableView>& tb_dcl() const { return tb_dcl_; }
    const std::shared_ptr<ui::View>& v_packerView() const { return v_packerView_; }
    const std::shared_ptr<ui::DatePicker>& dp_date() const { return dp_date_; }
    const std::shared_ptr<ui::PickerView>& pv_sex() const { return pv_sex_; }
    // The import holder this form made (none for a seat-only shop).
    const std::shared_ptr<UIDingDanXViewController>& importHolder() const { return importHolder_; }

    void viewDidLoad() override;
    void userInfoLoad();
    void onSelectDate();
    void onSelectTime();
    void onSelectSex();
    void onSelectOk();
    void onSelectBack();
    void onSubmit();
    void receiveServerMessage(const std::string& answer);

    int numberOfComponents(ui::PickerView&) override { return 1; }
    int numberOfRows(ui::PickerView&, int) override { return 2; }
    std::string titleForRow(ui::PickerView&, int row, int) override;

    int numberOfRows(ui::TableView&, int) override { return 4; }
    double heightForRow(ui::TableView&, const ui::IndexPath&) override { return 40.0; }
    std::shared_ptr<ui::TableViewCell> cellForRow(ui::TableView&, const ui::IndexPath&) override;
    void didSelectRow(ui::TableView&, const ui::IndexPath&) override;

protected:
    void buildContent(ui::View& view) override;

private:
    void showpackerview();
    void setSex(int sex);
    std::shared_ptr<NSShopClass> m_shop_ = std::make_shared<NSShopClass>();
    int dingtype_ = kReservation;
    int pindex_ = 0;
    std::shared_ptr<ui::View> v_packerView_;
    std::shared_ptr<ui::PickerView> pv_sex_;
    std::shared_ptr<ui::DatePicker> dp_date_;
    std::shared_ptr<ui::TextField> tf_tel_, tf_rens_, tf_name_, tf_beiz_, tf_add_;
    std::shared_ptr<ui::Button> bt_date_, bt_time_, bt_sex_, bt_submit_;
    std::shared_ptr<ui::TableView> tb_dcl_;
    std::vector<std::shared_ptr<ui::ImageView>> a_gous_;
    std::shared_ptr<UIDingDanXViewController> importHolder_;
};
