#pragma once
// Stand-in for the order list: the current desk's lines in a table, the desk and send buttons
// that lead through the root's login gate and desk flow, and the send itself once a waiter and a
// desk are known. The full list (its function menu, popups and dialogs) comes later.

#include <memory>
#include <optional>
#include <string>

#include "platform/ui/TableView.h"
#include "screens/host/NSDialogProtocols.h"
#include "screens/host/StandInViewController.h"

class UIDishLViewController : public StandInViewController,
                              public NSLoginDlg,
                              public NSSelectDlg,
                              public NSNumDlg,
                              public ui::TableViewDataSource {
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

    // The stand-in opens no picker or pad of its own.
    void SelectDlgOk() override {}
    void SelectDlgCancel() override {}
    void NumDlgOk() override {}
    void NumDlgCancel() override {}

    int numberOfRows(ui::TableView&, int) override;
    std::shared_ptr<ui::TableViewCell> cellForRow(ui::TableView&, const ui::IndexPath& path) override;

protected:
    void back() override;
    void buildContent(ui::View& view) override;

private:
    // Closes a dialog of the root that is open; answers whether there was one.
    bool closeRootDialog();
    void reload();

    bool isBackToWel_ = false;
    int sendIndex_ = -1;
    std::shared_ptr<ui::TableView> m_dishTable_;
};
