#include "screens/host/StandInViewController.h"

#include "core/NSServer.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "platform/foundation/Text.h"
#include "screens/host/ScreenKit.h"

StandInViewController::StandInViewController(std::string nibName, std::string screenName)
    : ui::ViewController(std::move(nibName)), screenName_(std::move(screenName)) {}

void StandInViewController::loadView() {
    auto view = kit::screenView({0, 0, 768, 1004});
    kit::titleBar(*view, 768, screenName_, hasBack() ? std::function<void()>([this] { back(); }) : nullptr);
    deskLabel_ = kit::label(*view, {24, 70, 720, 40}, "", kit::bodyFont(), ui::TextAlignment::Left, kit::kMuted);
    buildContent(*view);
    setView(view);
    refreshDesk();
}

void StandInViewController::refreshDesk() {
    if (!deskLabel_) return;
    auto desk = NSServer::getNowDesk();
    std::string name = desk && !desk->m_strDeskID.empty() ? desk->m_strDeskName : "离线点菜";
    deskLabel_->setText("当前台：" + name);
}

std::shared_ptr<ui::TableViewCell> StandInViewController::lineCell(const NSDishClass& line) {
    auto cell = kit::columnCell("line", {{16, 420}, {450, 120, ui::TextAlignment::Right}, {600, 150}}, 50);
    const bool unsent = line.m_iState == NSDishClass::kUnsent || line.m_iState == NSDishClass::kSending;
    kit::setColumnTexts(*cell, {line.m_strCaipName, platform::fmt("%g", line.m_fQuantity), unsent ? "未送" : "已送"});
    return cell;
}
