#pragma once
// The settings screen: a table of three sections that edits the values of Kovra.ini (server
// addresses, time-out, picture and title switches, the fixed-desk user and desk) and starts the
// maintenance actions (menu synchronisation, skin and video update, data wipe, deleting the saved
// orders, choosing a desk). Which rows show depends on whether a skin layout file is present and
// whether the screen runs for the administrator.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/Switch.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"

class ScreenRoot;

class UISetViewController : public ui::ViewController,
                            public ui::TableViewDataSource,
                            public ui::TableViewDelegate,
                            public ui::TextFieldDelegate,
                            public ui::AlertViewDelegate {
public:
    // The description that makes a user the administrator.
    static constexpr const char* kAdminDesc = "*系统管理员";
    static constexpr const char* kVersion = "00-201310241706";
    static constexpr int kWipeAlertTag = 1;

    UISetViewController();
    ~UISetViewController() override;

    // The welcome screen marks the next opening as run by the administrator. The mark goes to
    // the screen instead of the logged-in user: a waiter who only looked at the settings keeps
    // his own description (and with it the right to send orders). The next screen made takes
    // the mark and clears it.
    static void markNextOpeningAsAdministrator(bool admin);
    bool isRunByAdministrator() const { return runByAdmin_; }

    // Kept without ownership: the root outlives its screens.
    void setRootController(ScreenRoot* root) { rootController_ = root; }
    ScreenRoot* rootController() const { return rootController_; }

    void loadView() override;
    void viewDidLoad() override;
    void viewDidUnload() override;

    // The two conditions the rows depend on, read afresh each time.
    static bool hasSkin();
    bool isAdministrator() const;

    // Table data source and delegate.
    int numberOfSections(ui::TableView&) override { return 3; }
    int numberOfRows(ui::TableView&, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRow(ui::TableView&, const ui::IndexPath&) override;
    std::optional<std::string> titleForHeader(ui::TableView&, int section) override;
    double heightForRow(ui::TableView&, const ui::IndexPath&) override { return kRowHeight; }
    // The header titles drawn in the palette.
    std::shared_ptr<ui::View> viewForHeader(ui::TableView&, int section) override;
    double heightForHeader(ui::TableView&, int) override { return kHeaderHeight; }
    void didSelectRow(ui::TableView&, const ui::IndexPath&) override;

    // ui::TextFieldDelegate: return hides the keyboard.
    bool textFieldShouldReturn(ui::TextField&) override;
    // ui::AlertViewDelegate: every button clears the alert-shown flag; OK of the wipe question
    // wipes.
    void alertViewClickedButtonAtIndex(ui::AlertView&, int buttonIndex) override;

    // Whether the root's desk picker is open; with keep false it is also closed. Every action
    // asks first and does nothing else while a picker was open.
    bool isSubViewShow(bool keep);
    void touchesEnded(const ui::TouchSet& touches, const ui::Event* event) override;

    // Actions.
    void ayncCaip();   // menu synchronisation with its messages
    void updateSys();  // skin and video update with its messages
    void delAllData(int confirmed);  // 0 asks first, 1 wipes
    void delOutDesk();  // deletes the saved orders
    void chooseDesk();
    void onok();        // save and leave
    void backToWel();   // leave without saving

    const std::shared_ptr<ui::TableView>& talbe() const { return talbe_; }
    const std::shared_ptr<ui::Label>& computerID() const { return computerID_; }
    const std::shared_ptr<ui::TextField>& tf_ip1() const { return tf_ip1_; }
    const std::shared_ptr<ui::TextField>& tf_ip2() const { return tf_ip2_; }
    const std::shared_ptr<ui::TextField>& tf_outtime() const { return tf_outtime_; }
    const std::shared_ptr<ui::TextField>& tf_deskName() const { return tf_deskName_; }
    const std::shared_ptr<ui::TextField>& tf_userName() const { return tf_userName_; }
    const std::shared_ptr<ui::TextField>& tf_userPassword() const { return tf_userPassword_; }
    const std::shared_ptr<ui::Switch>& iscaiph() const { return iscaiph_; }
    const std::shared_ptr<ui::Switch>& isShowTitleMoney() const { return isShowTitleMoney_; }
    // The landscape switch: no row makes it, so it stays absent and canheng keeps its value.
    const std::shared_ptr<ui::Switch>& isHeng() const { return isHeng_; }

private:
    static constexpr double kRowHeight = 50;
    static constexpr double kHeaderHeight = 36;

    void storeValues(bool withFixedDesk);
    // Runs a maintenance download with its start, success and failure words.
    struct MaintenanceWords {
        const char* start;
        const char* done;
        const char* doneWhileAlert;  // the message panel's text when an alert is up already
        const char* doneAlert;       // the alert's message otherwise
        const char* failed;
    };
    bool runMaintenance(const MaintenanceWords& words, const std::function<bool()>& operation);
    // The welcome screen loads its skin again: always after a skin update, after a menu
    // synchronisation only while it wears one.
    void reloadSkin(bool newSkin);
    void raiseAlert(const std::string& title, const std::string& message,
                    const std::optional<std::string>& cancel, const std::vector<std::string>& others,
                    int tag);

    std::shared_ptr<ui::TextField> tf_ip1_;
    ScreenRoot* rootController_ = nullptr;
    std::shared_ptr<ui::Switch> isHeng_;
    std::shared_ptr<ui::TextField> tf_ip2_;
    std::shared_ptr<ui::TextField> tf_outtime_;
    std::shared_ptr<ui::TextField> tf_deskName_;
    std::shared_ptr<ui::TextField> tf_userName_;
    std::shared_ptr<ui::TextField> tf_userPassword_;
    std::shared_ptr<ui::Switch> iscaiph_;
    std::shared_ptr<ui::Switch> isShowTitleMoney_;
    std::shared_ptr<ui::Label> computerID_;
    std::shared_ptr<ui::TableView> talbe_;
    std::shared_ptr<ui::Button> bt_back_;
    std::shared_ptr<ui::Button> bt_save_;
    std::shared_ptr<ui::Button> bt_update_;
    bool runByAdmin_ = false;
    // Alerts this screen raised and that may still be up: they lose their delegate when the
    // screen goes.
    std::vector<std::weak_ptr<ui::AlertView>> alerts_;
};
