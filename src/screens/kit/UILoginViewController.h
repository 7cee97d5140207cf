#pragma once
// The login panel: a strip at the bottom of the screen that the requesting screen slides up to
// uncover, with the list of the menu's user names, a user-name and a password field, OK and
// cancel. OK logs the waiter in at the back office or recognises the administrator code; the
// requester hears the outcome (loginBack) when the panel has gone.

#include <memory>
#include <optional>
#include <string>

#include "platform/ui/AlertView.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"
#include "screens/kit/NSDialogProtocols.h"

namespace ui {
class Button;
class Label;
}  // namespace ui

class ScreenRoot;

class UILoginViewController : public ui::ViewController,
                              public ui::TextFieldDelegate,
                              public ui::TableViewDataSource,
                              public ui::TableViewDelegate,
                              public ui::AlertViewDelegate {
public:
    static constexpr double kPanelHeight = 160;

    UILoginViewController();
    ~UILoginViewController() override;

    std::weak_ptr<NSLoginDlg> lastViewController;     // the requester; not kept alive
    std::weak_ptr<ScreenRoot> rootController;
    int loginType = 0;
    std::shared_ptr<ui::TextField> userId;
    std::shared_ptr<ui::TextField> userPassword;
    ui::TextField* willShow = nullptr;  // the field whose editing is about to begin
    bool isCancel = false;     // a close was asked while the keyboard was up
    bool hasKeyBoard = false;  // a field is being edited
    bool isLoginOK = false;    // the outcome reported to the requester
    std::shared_ptr<ui::Button> m_btnOK, m_btnCancel;
    std::shared_ptr<ui::TableView> tb_name;
    std::shared_ptr<ui::Label> lb_userid, lb_password;

    void viewDidLoad() override;
    void viewDidUnload() override;
    void onOk();
    void onCancel();
    // Logs in with the configured user; NO when none is configured.
    bool loginBySetUser();
    // What a refused or failed login shows: "%@ (ID:%i)" with the reason's word and the result.
    static std::string failureText(int result);

    // Text fields.
    bool textFieldShouldBeginEditing(ui::TextField& field) override;
    void textFieldDidBeginEditing(ui::TextField& field) override;
    void textFieldDidEndEditing(ui::TextField& field) override;
    bool textFieldShouldReturn(ui::TextField& field) override;
    // The user list.
    int numberOfRows(ui::TableView&, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRow(ui::TableView&, const ui::IndexPath& path) override;
    void didSelectRow(ui::TableView&, const ui::IndexPath& path) override;
    // The failure alert.
    void alertViewClickedButtonAtIndex(ui::AlertView& alert, int buttonIndex) override;

private:
    ui::Rect screenRect() const;
    // The requester's view, which slides to uncover the panel.
    ui::View* requesterView() const;
    // Moves the requester and the panel in an animation whose end comes back to animationFinish.
    void move(const std::optional<std::string>& name, double requesterY, double panelY);
    void animationFinish(const std::optional<std::string>& name);
    void slideBack();
    void showFailure(const std::string& text);

    bool closing_ = false;  // the panel slides away: a second close must not tell the requester twice
};
