#include "screens/kit/UILoginViewController.h"

#include "core/NSServer.h"
#include "model/NSATreeClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSUserClass.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Text.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/Window.h"
#include "screens/kit/ScreenKit.h"
#include "screens/kit/ScreenRoot.h"

namespace {

// The built-in administrator code: typed as the password with no user name.
constexpr const char* kAdminCode = "4062";
constexpr ui::Color kListGrey{0.392, 0.392, 0.392, 1};

std::shared_ptr<NSATreeClass> userTable() {
    auto db = NSServer::getCaipDB();
    return db ? db->m_users : nullptr;
}

}  // namespace

UILoginViewController::UILoginViewController() : ui::ViewController("UILoginViewController") {}

UILoginViewController::~UILoginViewController() {
    if (userId) userId->setDelegate(nullptr);
    if (userPassword) userPassword->setDelegate(nullptr);
    if (tb_name) {
        tb_name->setDataSource(nullptr);
        tb_name->setTableDelegate(nullptr);
    }
}

ui::Rect UILoginViewController::screenRect() const {
    if (auto root = rootController.lock()) return root->frameRect();
    if (auto root = ScreenRoot::current()) return root->frameRect();
    return {0, 0, 768, 1004};
}

ui::View* UILoginViewController::requesterView() const {
    auto requester = lastViewController.lock();
    auto* screen = dynamic_cast<ui::ViewController*>(requester.get());
    return screen && screen->isViewLoaded() ? screen->view().get() : nullptr;
}

void UILoginViewController::viewDidLoad() {
    const ui::Rect screen = screenRect();
    const double width = screen.width();
    ui::View& panel = *view();
    panel.setFrame({0, screen.y() + screen.height() - kPanelHeight, width, kPanelHeight});
    panel.setBackgroundColor(kit::kPanel);
    panel.setBorder(1, kit::kLine);

    tb_name = std::make_shared<ui::TableView>(ui::Rect{16, 8, 220, kPanelHeight - 16});
    tb_name->setRowHeight(kit::kTouch);
    tb_name->setDataSource(this);
    tb_name->setTableDelegate(this);
    tb_name->setBorder(1, kit::kLine);
    panel.addSubview(tb_name);

    const double x = 252;
    lb_userid = kit::label(panel, {x, 8, 80, kit::kTouch}, "");
    lb_password = kit::label(panel, {x, 58, 80, kit::kTouch}, "");
    auto makeField = [&](double y, bool secure) {
        auto field = std::make_shared<ui::TextField>(ui::Rect{x + 84, y, 260, kit::kTouch});
        field->setBorderStyle(ui::TextField::BorderStyle::RoundedRect);
        field->setFont(kit::bodyFont());
        field->setSecureTextEntry(secure);
        field->setMaxLength(64);
        field->setDelegate(this);
        panel.addSubview(field);
        return field;
    };
    userId = makeField(8, false);
    userId->setReturnKeyType(ui::ReturnKeyType::Next);
    userPassword = makeField(58, true);
    userPassword->setReturnKeyType(ui::ReturnKeyType::Done);

    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    auto act = [weak](void (UILoginViewController::*op)()) {
        return [weak, op] {
            if (auto self = weak.lock()) (static_cast<UILoginViewController&>(*self).*op)();
        };
    };
    m_btnOK = kit::button(panel, {x + 84, 108, 120, kit::kTouch}, "", act(&UILoginViewController::onOk),
                          kit::ButtonKind::Primary);
    m_btnCancel = kit::button(panel, {x + 224, 108, 120, kit::kTouch}, "", act(&UILoginViewController::onCancel));

    // The requester slides up by the panel's height to uncover it.
    if (ui::View* requester = requesterView()) {
        ui::Animation::begin(std::string("begin"));
        ui::Animation::setDuration(0.3);
        requester->setFrame({0, screen.y() - kPanelHeight, screen.width(), screen.height()});
        ui::Animation::commit();
    }

    if (auto picture = kit::picture(kit::interfacePicture(119))) {
        // The key picture is light: the titles go dark on it.
        for (auto* button : {m_btnOK.get(), m_btnCancel.get()}) {
            button->setBackgroundImage(picture);
            button->setTitleColor(kit::kInk);
        }
    }
    if (NSServer::getInterfaceType() == 2) {
        const ui::Color sand{0.898, 0.8, 0.627, 1};
        panel.setBackgroundColor(sand);
        tb_name->setBackgroundColor(sand);
    }
    m_btnOK->setTitle(ScreenRoot::word("onok"));
    m_btnCancel->setTitle(ScreenRoot::word("cancel"));
    lb_userid->setText(ScreenRoot::word("userid"));
    lb_password->setText(ScreenRoot::word("password"));
}

void UILoginViewController::viewDidUnload() {
    lb_userid.reset();
    lb_password.reset();
    if (tb_name) {
        tb_name->setDataSource(nullptr);
        tb_name->setTableDelegate(nullptr);
    }
    tb_name.reset();
    m_btnOK.reset();
    m_btnCancel.reset();
    if (userId) userId->setDelegate(nullptr);
    if (userPassword) userPassword->setDelegate(nullptr);
    userId.reset();
    userPassword.reset();
}

void UILoginViewController::move(const std::optional<std::string>& name, double requesterY, double panelY) {
    const ui::Rect screen = screenRect();
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    ui::Animation::begin(name);
    ui::Animation::setDuration(0.3);
    ui::Animation::setDidStop([weak](const std::optional<std::string>& finished, bool, void*) {
        if (auto self = weak.lock()) static_cast<UILoginViewController&>(*self).animationFinish(finished);
    });
    if (ui::View* requester = requesterView()) requester->setFrame({0, requesterY, screen.width(), screen.height()});
    view()->setFrame({0, panelY, screen.width(), kPanelHeight});
    ui::Animation::commit();
}

bool UILoginViewController::textFieldShouldBeginEditing(ui::TextField& field) {
    willShow = &field;
    return true;
}

void UILoginViewController::textFieldDidBeginEditing(ui::TextField& field) {
    // A hardware keyboard covers nothing: the panel stays where it is.
    if (!ui::Window::keyboardCoversScreen(field)) return;
    hasKeyBoard = true;
    const double h = screenRect().height();
    move(std::nullopt, -370, h - 370);
}

void UILoginViewController::textFieldDidEndEditing(ui::TextField& field) {
    // Moving from one field to the other records the next field first: no movement in between.
    if (&field != willShow) return;
    if (!ui::Window::keyboardCoversScreen(field)) {
        willShow = nullptr;
        return;
    }
    hasKeyBoard = false;
    const double h = screenRect().height();
    move(std::string("resignFirstResponder"), -kPanelHeight, h - kPanelHeight);
    willShow = nullptr;
}

bool UILoginViewController::textFieldShouldReturn(ui::TextField& field) {
    if (&field == userId.get()) {
        userPassword->becomeFirstResponder();
        return true;
    }
    field.resignFirstResponder();
    // At a desk's keyboard Return after the password logs in, as 确定 does; the tablet's own
    // keyboard only goes away.
    if (&field == userPassword.get() && !ui::Window::keyboardCoversScreen(field)) onOk();
    return true;
}

void UILoginViewController::onCancel() {
    if (!hasKeyBoard) {
        // With a hardware keyboard a field may still have the focus: it gives it up first.
        if (!ui::Window::keyboardCoversScreen(*view())) view()->endEditing(true);
        slideBack();
        return;
    }
    isCancel = true;
    userId->resignFirstResponder();
    userPassword->resignFirstResponder();
}

void UILoginViewController::slideBack() {
    if (closing_) return;
    closing_ = true;
    const ui::Rect screen = screenRect();
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    ui::Animation::begin(std::string("loginback"));
    ui::Animation::setDuration(0.3);
    ui::Animation::setDidStop([weak](const std::optional<std::string>& finished, bool, void*) {
        if (auto self = weak.lock()) static_cast<UILoginViewController&>(*self).animationFinish(finished);
    });
    if (ui::View* requester = requesterView()) requester->setFrame(screen);
    ui::Animation::commit();
}

void UILoginViewController::animationFinish(const std::optional<std::string>& name) {
    if (!name) return;
    if (*name == "resignFirstResponder") {
        if (isCancel) {
            isCancel = false;
            slideBack();
        }
    } else if (*name == "loginback") {
        // Letting go of the panel tells the requester; the panel itself ends on the next turn.
        auto self = shared_from_this();
        if (auto root = rootController.lock(); root && root->loginViewController.get().get() == this)
            root->loginViewController = nullptr;
        else if (view()->superview())
            view()->removeFromSuperview();
        const bool ok = isLoginOK;
        isLoginOK = false;
        if (auto requester = lastViewController.lock()) requester->loginBack(loginType, ok);
    }
}

void UILoginViewController::onOk() {
    const std::string name = userId->text();
    const std::string password = userPassword->text();
    if (name.empty() && password == kAdminCode) {
        auto user = NSServer::getNowUser();
        user->m_strUserDesc = "*系统管理员";
        user->m_strUserName = kAdminCode;
        isLoginOK = true;
        if (auto root = rootController.lock()) root->loginBack();
        return;
    }

    auto user = std::make_shared<NSUserClass>();
    auto users = userTable();
    auto db = NSServer::getCaipDB();
    user->m_strUserID = db ? db->GetUserIDFromUserName(name) : name;
    user->m_strUserName = name;
    user->m_strPassword = password;
    // Line numbers go on across logins.
    user->m_iDishCount = NSServer::getNowUser()->m_iDishCount;
    if (users) {
        const int row = users->FindID(user->m_strUserID);
        if (row >= 0 && static_cast<std::size_t>(row) < users->m_str1.size()) user->m_strUserDesc = users->m_str1[row];
    }

    auto self = shared_from_this();
    const int result = NSServer().login(*user);
    if (result == 0) {
        isLoginOK = true;
        NSServer::setNowUser(user);
        if (auto root = rootController.lock()) root->loginBack();
        return;
    }
    showFailure(failureText(result));
}

std::string UILoginViewController::failureText(int result) {
    const char* key = result == 4 ? "login3" : result == 2 ? "login2" : result == 1 ? "login1" : "login4";
    return platform::fmt("%@ (ID:%i)", ScreenRoot::word(key), result);
}

void UILoginViewController::showFailure(const std::string& text) {
    if (NSServer::getIsShowAlert()) {
        if (auto root = rootController.lock()) root->showAyncStyle(text);
        return;
    }
    NSServer::setIsShowAlert(true);
    auto alert = std::make_shared<ui::AlertView>(ScreenRoot::word("tishi"), text, this,
                                                 ScreenRoot::word("onok"));
    alert->show();
}

void UILoginViewController::alertViewClickedButtonAtIndex(ui::AlertView&, int) { NSServer::setIsShowAlert(false); }

bool UILoginViewController::loginBySetUser() {
    const std::string& name = NSServer::getSetUserName();
    if (name.empty()) return false;
    userId->setText(name);
    userPassword->setText(NSServer::getSetUserPassword());
    onOk();
    return true;
}

int UILoginViewController::numberOfRows(ui::TableView&, int) {
    auto users = userTable();
    return users ? std::max(users->m_length - 1, 0) : 0;
}

std::shared_ptr<ui::TableViewCell> UILoginViewController::cellForRow(ui::TableView&, const ui::IndexPath& path) {
    auto cell = std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::Default, "");
    cell->setSelectionStyle(ui::TableViewCell::SelectionStyle::None);
    auto users = userTable();
    const std::size_t row = static_cast<std::size_t>(path.row) + 1;
    ui::Label& text = *cell->textLabel();
    text.setText(users && row < users->m_name.size() ? users->m_name[row] : "");
    text.setTextAlignment(ui::TextAlignment::Center);
    text.setTextColor(kListGrey);
    text.setFont(ui::Font::withName("Helvetica", 15));
    return cell;
}

void UILoginViewController::didSelectRow(ui::TableView&, const ui::IndexPath& path) {
    auto users = userTable();
    const std::size_t row = static_cast<std::size_t>(path.row) + 1;
    if (users && row < users->m_name.size()) userId->setText(users->m_name[row]);
}
