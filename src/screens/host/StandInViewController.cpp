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

std::shared_ptr<ui::Label> StandInViewController::addNote(ui::View& view, const std::shared_ptr<NSDishClass>& line) {
    return kit::label(view, {24, kContentTop, 720, 40}, line ? line->m_strCaipName : "");
}

std::shared_ptr<ui::TableViewCell> StandInViewController::lineCell(const NSDishClass& line) {
    auto cell = kit::columnCell("line", {{16, 420}, {450, 120, ui::TextAlignment::Right}, {600, 150}}, 50);
    const bool unsent = line.m_iState == NSDishClass::kUnsent || line.m_iState == NSDishClass::kSending;
    kit::setColumnTexts(*cell, {line.m_strCaipName, platform::fmt("%g", line.m_fQuantity), unsent ? "未送" : "已送"});
    return cell;
}

int StandInLineTable::numberOfRows(ui::TableView&, int) { return static_cast<int>(tableLines().size()); }

std::shared_ptr<ui::TableViewCell> StandInLineTable::cellForRow(ui::TableView&, const ui::IndexPath& path) {
    const auto& lines = tableLines();
    const auto row = static_cast<std::size_t>(path.row);
    return row < lines.size() ? StandInViewController::lineCell(*lines[row]) : std::make_shared<ui::TableViewCell>();
}

void StandInLineTable::addLineTable(ui::View& view, double top) {
    lineTable_ = std::make_shared<ui::TableView>(ui::Rect{0, top, view.frame().width(), view.frame().height() - top});
    lineTable_->setDataSource(this);
    view.addSubview(lineTable_);
}
