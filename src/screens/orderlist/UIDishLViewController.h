#pragma once
// Stand-in for the order list: the current desk's lines in a table, the desk and send buttons
// that lead through the root's login gate and desk flow, and the send itself once a waiter and a
// desk are known. The full list (its function menu, popups and dialogs) comes later.

#include <memory>
#include <optional>
#include <string>

#include "screens/host/StandInViewController.h"

class NSDeskClass;

class UIDishLViewController : public StandInViewController,
                              public NSLoginDlg,
                              public StandInDialogOwner,
                              public StandInLineTable {
public:
    static constexpr int kLoginChooseDesk = 765002;
    static constexpr int kLoginSend = 765003;
    // The resume word of a call made after the login already passed.
    static constexpr const char* kNoLogin = "NO_LOGIN";
    // sendIndex after the desk button opened the desk picker.
    static constexpr int kFromDeskButton = -2;

    explicit UIDishLViewController(std::string nibName = "UIDishLViewController");

    // Where the back button leads: the welcome screen (YES) or the dish menu (NO).
    void setIsBackToWel(bool value) { isBackToWel_ = value; }
    bool isBackToWel() const { return isBackToWel_; }
    // The row being sent (-1 all) while a send waits for a desk; -2 after the desk button.
    int sendIndex() const { return sendIndex_; }
    void setSendIndex(int index) { sendIndex_ = index; }

    // NSLoginDlg: 765002 opens the desk picker, 765003 resumes the send.
    void loginBack(int loginType, bool ok) override;
    // The desk button; with "NO_LOGIN" the login already passed.
    void chooseDesk(const std::optional<std::string>& word);
    // Sends the current desk's order; with "NO_LOGIN" at once, without login or confirmation.
    bool onSendCaip(const std::optional<std::string>& word, int row);
    // Refreshes the current desk from the server and completes its lines from the menu.
    bool updateMenu();
    void addToolBar() {}
    // The table of the current desk's lines.
    const std::shared_ptr<ui::TableView>& m_dishTable();

protected:
    void back() override;
    void buildContent(ui::View& view) override;
    const std::vector<std::shared_ptr<NSDishClass>>& tableLines() override;

private:
    // Closes a dialog of the root that is open; answers whether there was one.
    bool closeRootDialog();
    void reload();

    bool isBackToWel_ = false;
    int sendIndex_ = -1;
    // The desk whose lines the table shows.
    std::shared_ptr<NSDeskClass> deskShown_;
};
