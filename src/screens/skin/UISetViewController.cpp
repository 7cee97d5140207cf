#include "screens/skin/UISetViewController.h"

#include <filesystem>
#include <system_error>

#include "core/NSLangueManager.h"
#include "core/NSServer.h"
#include "model/NSDeskClass.h"
#include "model/NSUserClass.h"
#include "net/NSTcpNet.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Text.h"
#include "platform/ui/Application.h"
#include "platform/ui/Window.h"
#include "screens/kit/ScreenKit.h"
#include "screens/kit/ScreenRoot.h"
#include "screens/skin/UIWelcomeViewController.h"

namespace {

constexpr const char* kCellIdentifier = "SimpleTableIdentifier";
constexpr double kBottomHeight = 70;
// Controls sit right of the row labels; fields are as tall as a finger needs.
constexpr double kControlX = 360;
constexpr double kFieldY = 3;
constexpr double kFieldHeight = kit::kTouch;

bool s_nextOpeningIsAdmin = false;

std::string word(const std::string& key) { return ScreenRoot::word(key); }

// Removes the entries of a folder that `doomed` names; failures are ignored (a wipe goes on with
// what it can remove). A folder that is not set is left alone rather than read as the current one.
template <typename Pred>
void removeEntries(const std::string& folder, Pred doomed) {
    if (folder.empty() || !platform::fs::isFolder(folder)) return;
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    for (const auto& name : names)
        if (doomed(name)) platform::fs::remove(platform::fs::join(folder, name));
}

std::shared_ptr<ui::TableViewCell> rowCell(const std::string& label, bool action) {
    auto cell = std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::Default, kCellIdentifier);
    cell->setSelectionStyle(action ? ui::TableViewCell::SelectionStyle::Gray : ui::TableViewCell::SelectionStyle::None);
    if (!label.empty()) {
        auto& text = cell->textLabel();
        text->setText(label);
        text->setFont(kit::bodyFont());
        text->setTextColor(kit::kInk);
        text->setTextAlignment(action ? ui::TextAlignment::Center : ui::TextAlignment::Left);
    }
    return cell;
}

}  // namespace

UISetViewController::UISetViewController() : ui::ViewController("UISetViewController") {
    runByAdmin_ = s_nextOpeningIsAdmin;
    s_nextOpeningIsAdmin = false;
}

UISetViewController::~UISetViewController() {
    // The views and alerts may outlive the screen for a moment: they must not call it back.
    for (auto& weak : alerts_)
        if (auto alert = weak.lock()) alert->setDelegate(nullptr);
    if (talbe_) {
        talbe_->setDataSource(nullptr);
        talbe_->setTableDelegate(nullptr);
    }
    for (auto* field : {&tf_ip1_, &tf_ip2_, &tf_outtime_, &tf_deskName_, &tf_userName_, &tf_userPassword_})
        if (*field) (*field)->setDelegate(nullptr);
}

void UISetViewController::markNextOpeningAsAdministrator(bool admin) { s_nextOpeningIsAdmin = admin; }

bool UISetViewController::hasSkin() {
    return platform::fs::exists(platform::fmt("%@/%@", NSServer::getSkinsPath(), "INTERFACE.XML"));
}

bool UISetViewController::isAdministrator() const {
    return runByAdmin_ || NSServer::getNowUser()->m_strUserDesc == kAdminDesc;
}

void UISetViewController::loadView() {
    ui::Rect frame{0, 0, ui::Window::kScreenWidth, ui::Window::kScreenHeight - ui::Window::kStatusBarHeight};
    if (rootController_) frame = rootController_->frameRect();
    setView(kit::screenView(frame));
    auto& v = *view();
    const double w = v.bounds().width(), h = v.bounds().height();

    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    auto self = [weak] { return std::static_pointer_cast<UISetViewController>(weak.lock()); };
    auto bar = kit::titleBar(v, w, word("set"), [self] { if (auto s = self()) s->backToWel(); }, word("back"));
    bt_back_ = bar.back;
    bt_save_ = kit::button(*bar.bar, {w - 108, 8, 96, kit::kTouch}, word("onok"),
                           [self] { if (auto s = self()) s->onok(); }, kit::ButtonKind::OnBar);

    talbe_ = std::make_shared<ui::TableView>(ui::Rect{0, kit::kBarHeight, w, h - kit::kBarHeight - kBottomHeight});
    talbe_->setBackgroundColor(kit::kPanel);
    talbe_->setDataSource(this);
    talbe_->setTableDelegate(this);
    v.addSubview(talbe_);

    const double bottom = h - kBottomHeight;
    computerID_ = kit::label(v, {20, bottom + 13, w - 300, kit::kTouch}, "", kit::smallFont(),
                             ui::TextAlignment::Left, kit::kMuted);
    bt_update_ = kit::button(v, {w - 24 - 240, bottom + 7, 240, 56}, word("shez12"),
                             [self] { if (auto s = self()) s->updateSys(); });
}

void UISetViewController::viewDidLoad() {
    computerID_->setText(platform::fmt(word("shez23"), NSServer::getMacAdr(), kVersion));
    ui::ViewController::viewDidLoad();
}

void UISetViewController::viewDidUnload() {
    if (talbe_) {
        talbe_->setDataSource(nullptr);
        talbe_->setTableDelegate(nullptr);
    }
    for (auto* field : {&tf_ip1_, &tf_ip2_, &tf_outtime_, &tf_deskName_, &tf_userName_, &tf_userPassword_})
        field->reset();
    iscaiph_.reset();
    isShowTitleMoney_.reset();
    isHeng_.reset();
    computerID_.reset();
    talbe_.reset();
    bt_back_.reset();
    bt_save_.reset();
    bt_update_.reset();
}

// ---- The table -----------------------------------------------------------------------------------

int UISetViewController::numberOfRows(ui::TableView&, int section) {
    const bool skin = hasSkin(), admin = isAdministrator();
    switch (section) {
        case 0: return skin && !admin ? 0 : 6;
        case 1: return skin && !admin ? 3 : 4;
        case 2: return skin && admin ? 4 : 1;
        default: return 0;
    }
}

std::optional<std::string> UISetViewController::titleForHeader(ui::TableView&, int section) {
    static const char* const keys[] = {"shez20", "shez21", "shez22"};
    if (section < 0 || section > 2) return std::nullopt;
    return word(keys[section]);
}

std::shared_ptr<ui::View> UISetViewController::viewForHeader(ui::TableView& table, int section) {
    auto title = titleForHeader(table, section);
    if (!title) return nullptr;
    const double w = table.frame().width();
    auto header = std::make_shared<ui::View>(ui::Rect{0, 0, w, kHeaderHeight});
    header->setBackgroundColor(kit::kQuiet);
    kit::label(*header, {10, 0, w - 20, kHeaderHeight}, *title, kit::smallFont(), ui::TextAlignment::Left,
               kit::kMuted);
    return header;
}

std::shared_ptr<ui::TableViewCell> UISetViewController::cellForRow(ui::TableView&, const ui::IndexPath& p) {
    // Each row is built afresh from the hub; a control made here replaces the one of the same
    // field, and the save reads the latest.
    auto field = [this](ui::TableViewCell& cell, double x, double width, const std::string& text,
                        ui::KeyboardType keyboard) {
        auto f = std::make_shared<ui::TextField>(ui::Rect{x, kFieldY, width, kFieldHeight});
        f->setFont(kit::bodyFont());
        f->setTextAlignment(ui::TextAlignment::Center);
        f->setBorderStyle(ui::TextField::BorderStyle::RoundedRect);
        f->setKeyboardType(keyboard);
        f->setText(text);
        f->setDelegate(this);
        cell.contentView()->addSubview(f);
        return f;
    };
    auto onOff = [](ui::TableViewCell& cell, bool on) {
        auto s = std::make_shared<ui::Switch>(ui::Rect{kControlX, (kRowHeight - ui::Switch::kHeight) / 2,
                                                       ui::Switch::kWidth, ui::Switch::kHeight});
        s->setOn(on);
        cell.contentView()->addSubview(s);
        return s;
    };
    using KT = ui::KeyboardType;

    std::shared_ptr<ui::TableViewCell> cell;
    switch (p.section * 10 + p.row) {
        case 0:
            cell = rowCell(word("shez1"), false);
            tf_ip1_ = field(*cell, kControlX, 240, NSServer::getIp(), KT::URL);
            break;
        case 1:
            cell = rowCell(word("shez2"), false);
            tf_ip2_ = field(*cell, kControlX, 240, NSServer::getIp2(), KT::URL);
            break;
        case 2:
            cell = rowCell(word("shez3"), false);
            tf_outtime_ = field(*cell, kControlX, 120, platform::fmt("%i", NSServer::getOutTime()), KT::NumberPad);
            break;
        case 3:
            cell = rowCell(word("shez4"), false);
            iscaiph_ = onOff(*cell, NSServer::isCaiph());
            break;
        case 5:
            cell = rowCell(word("shez6"), false);
            isShowTitleMoney_ = onOff(*cell, NSServer::getIsShowTitleMoney());
            break;
        case 10: cell = rowCell(word("shez7"), true); break;
        case 12: cell = rowCell("", true); break;  // highlights, does nothing
        case 13: cell = rowCell(word("shez14"), true); break;
        case 20: cell = rowCell(word("shez15"), true); break;
        case 21:
            cell = rowCell(word("shez16"), false);
            tf_userName_ = field(*cell, kControlX, 180, NSServer::getSetUserName(), KT::NumberPad);
            tf_userPassword_ = field(*cell, kControlX + 200, 180, NSServer::getSetUserPassword(), KT::NumberPad);
            tf_userPassword_->setSecureTextEntry(true);
            break;
        case 22:
            cell = rowCell(word("shez17"), false);
            tf_deskName_ = field(*cell, kControlX, 180, NSServer::getSetDeskName(), KT::NumberPad);
            break;
        case 23: cell = rowCell(word("shez18"), true); break;
        default: cell = rowCell("", false); break;  // 0.4 and 1.1: empty rows
    }
    return cell;
}

void UISetViewController::didSelectRow(ui::TableView& table, const ui::IndexPath& p) {
    if (isSubViewShow(false)) return;
    table.deselectRow(p, true);
    switch (p.section * 10 + p.row) {
        case 10:
            if (auto tcp = NSServer::getTcp()) tcp->allclose();
            if (tf_ip1_ && tf_ip2_) {
                NSServer::setIP(tf_ip1_->text());
                NSServer::setIP2(tf_ip2_->text());
                NSServer::writeINI();
            }
            ui::Application::shared().setIdleTimerDisabled(true);
            ayncCaip();
            ui::Application::shared().setIdleTimerDisabled(false);
            break;
        case 13: delAllData(0); break;
        case 20: delOutDesk(); break;
        case 23: chooseDesk(); break;
        default: break;
    }
}

bool UISetViewController::textFieldShouldReturn(ui::TextField& field) {
    field.resignFirstResponder();
    return true;
}

bool UISetViewController::isSubViewShow(bool keep) {
    if (!rootController_ || !rootController_->selectViewController) return false;
    if (!keep) rootController_->SelectDlgCancel();
    return true;
}

void UISetViewController::touchesEnded(const ui::TouchSet&, const ui::Event*) { isSubViewShow(false); }

// ---- Actions -------------------------------------------------------------------------------------

void UISetViewController::raiseAlert(const std::string& title, const std::string& message,
                                     const std::optional<std::string>& cancel,
                                     const std::vector<std::string>& others, int tag) {
    auto alert = std::make_shared<ui::AlertView>(title, message, this, cancel, others);
    alert->setTag(tag);
    alert->show();
    std::erase_if(alerts_, [](const auto& weak) { return weak.expired(); });
    alerts_.push_back(alert);
}

bool UISetViewController::runMaintenance(const MaintenanceWords& words, const std::function<bool()>& operation) {
    auto say = [this](const char* key) {
        if (rootController_) rootController_->showAyncStyle(word(key));
    };
    say(words.start);
    const bool ok = operation();
    if (!ok) {
        say(words.failed);
        return false;
    }
    say(words.done);
    if (NSServer::getIsShowAlert()) {
        say(words.doneWhileAlert);
    } else {
        NSServer::setIsShowAlert(true);
        raiseAlert(word("shez27"), word(words.doneAlert), std::nullopt, {word("onok")}, 0);
    }
    return true;
}

void UISetViewController::ayncCaip() {
    if (isSubViewShow(false)) return;
    const bool synchronised = runMaintenance({"shez29", "shez30", "shez31", "shez31", "shez32"},
                                             [this] { return NSServer().ayncCaip(this); });
    // The rows show what the download changed.
    if (talbe_) talbe_->reloadData();
    // A skin's dish slots page through the categories of the menu just loaded.
    if (synchronised) reloadSkin(false);
}

void UISetViewController::updateSys() {
    if (isSubViewShow(false)) return;
    // The welcome screen behind the settings puts on the new skin at once.
    if (runMaintenance({"shez24", "shez25", "shez26", "shez25", "shez28"},
                       [this] { return NSServer().updateSys(this); }))
        reloadSkin(true);
}

void UISetViewController::reloadSkin(bool newSkin) {
    if (!rootController_ || !rootController_->welcomeViewController) return;
    auto& welcome = *rootController_->welcomeViewController;
    if (newSkin || welcome.hasXml()) welcome.startSkin();
}

void UISetViewController::delAllData(int confirmed) {
    if (confirmed == 0) {
        NSServer::setIsShowAlert(true);
        raiseAlert(word("isok"), word("shez19"), word("cancel"), {word("onok")}, kWipeAlertTag);
        return;
    }
    auto all = [](const std::string&) { return true; };
    removeEntries(NSServer::getSkinsPath(), all);
    removeEntries(NSServer::getDataPath(), [](const std::string& name) { return name != "Kovra.ini"; });
    removeEntries(NSServer::getCaippicPath(), all);
    removeEntries(NSServer::getMediaPath(), all);
    NSServer::loadCaipXml();
}

void UISetViewController::alertViewClickedButtonAtIndex(ui::AlertView& alert, int buttonIndex) {
    NSServer::setIsShowAlert(false);
    if (alert.tag() == kWipeAlertTag && buttonIndex == 1) delAllData(1);
}

void UISetViewController::delOutDesk() {
    if (isSubViewShow(false)) return;
    removeEntries(NSServer::getDataPath(),
                  [](const std::string& name) { return name.find(".ATD") != std::string::npos; });
    NSServer::loadOutDesk();
    // An offline desk was saved in the offline file just removed: it goes with it.
    if (NSServer::getNowDesk()->m_strDeskID.empty()) NSServer::setNowDesk(nullptr);
}

void UISetViewController::chooseDesk() {
    if (isSubViewShow(false)) return;
    if (rootController_) rootController_->chooseDesk(true);
}

void UISetViewController::storeValues(bool withFixedDesk) {
    // Only a control whose row was built is read; the others keep their stored values.
    if (tf_ip1_) NSServer::setIP(tf_ip1_->text());
    if (tf_ip2_) NSServer::setIP2(tf_ip2_->text());
    if (iscaiph_) NSServer::setisCaiph(iscaiph_->isOn());
    if (tf_outtime_) {
        // Nothing, a non-number or a time-out of 0 or less keeps the previous one: with 0 the link
        // would give up on every reply at once, send each request twice and report a failure.
        const int seconds = platform::leadingInt(tf_outtime_->text());
        if (seconds > 0) NSServer::setOutTime(seconds);
    }
    if (withFixedDesk) {
        if (tf_deskName_) NSServer::setSetDeskName(tf_deskName_->text());
        if (tf_userName_) NSServer::setSetUserName(tf_userName_->text());
        if (tf_userPassword_) NSServer::setSetUserPassword(tf_userPassword_->text());
    }
    if (isHeng_) NSServer::setCanHeng(isHeng_->isOn());
    if (isShowTitleMoney_) NSServer::setIsShowTitleMoney(isShowTitleMoney_->isOn());
}

void UISetViewController::onok() {
    if (auto tcp = NSServer::getTcp()) tcp->allclose();
    if (isAdministrator())
        storeValues(true);
    else if (platform::leadingInt(NSServer::getJtNO()) < 1 && NSServer::getIp().empty())
        storeValues(false);  // first set-up: anyone may name the server
    NSServer::setInterfaceType(2);
    NSServer::writeINI();
    if (rootController_) rootController_->setBack();
}

void UISetViewController::backToWel() {
    if (rootController_) rootController_->setBack();
}
