#include "screens/root/UIYuDingViewController.h"

#include "core/NSServer.h"
#include "model/NSCaipClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "model/NSYuDingClass.h"
#include "platform/foundation/Text.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TextView.h"
#include "screens/kit/ScreenKit.h"
#include "screens/orderlist/DishLineRow.h"
#include "screens/root/SwitchViewController.h"

UIYuDingViewController::UIYuDingViewController() : ui::ViewController("UIYuDingViewController") {}

UIYuDingViewController::~UIYuDingViewController() {
    if (tb_dishs) {
        tb_dishs->setDataSource(nullptr);
        tb_dishs->setTableDelegate(nullptr);
    }
}

void UIYuDingViewController::viewDidLoad() {
    auto root = rootController.lock();
    const ui::Rect screen = root ? root->frameRect() : view()->frame();
    view()->setFrame(screen);
    view()->setBackgroundColor(kit::kShade);
    m_panel = std::make_shared<ui::View>(ui::Rect{(screen.width() - kPanelWidth) / 2,
                                                  (screen.height() - kPanelHeight) / 2, kPanelWidth, kPanelHeight});
    m_panel->setBackgroundColor(kit::kPanel);
    m_panel->setCornerRadius(8);
    view()->addSubview(m_panel);
    im_back = kit::pictureView(*m_panel, {0, 0, kPanelWidth, kPanelHeight}, "");

    const std::string deskName = m_selectDesk ? m_selectDesk->m_strDeskName : std::string();
    lb_title = kit::label(*m_panel, {16, 10, kPanelWidth - 32, 36},
                          SwitchViewController::wordFormat("yuding1", {deskName}), kit::titleFont(),
                          ui::TextAlignment::Center);
    tv_yuDingInfo = std::make_shared<ui::TextView>(ui::Rect{16, 48, kPanelWidth - 32, 176});
    tv_yuDingInfo->setEditable(false);
    tv_yuDingInfo->setFont(kit::bodyFont());
    const NSYuDingClass none;
    const NSYuDingClass& r = m_yuDing ? *m_yuDing : none;
    tv_yuDingInfo->setText(platform::fmt(SwitchViewController::word("yuding2"), r.CompanyName, r.GuestName,
                                         r.DiningTime, r.YuDingTime, r.clientNum, r.telephone));
    m_panel->addSubview(tv_yuDingInfo);
    lb_tb = kit::label(*m_panel, {16, 228, kPanelWidth - 32, 2}, "");
    lb_tb->setBackgroundColor(kit::kLine);

    tb_dishs = std::make_shared<ui::TableView>(ui::Rect{(kPanelWidth - 301) / 2, 234, 301, 176});
    tb_dishs->setRowHeight(kRowHeight);
    tb_dishs->setDataSource(this);
    tb_dishs->setTableDelegate(this);
    m_panel->addSubview(tb_dishs);

    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    bt_back = kit::button(*m_panel, {16, 418, 136, kit::kTouch}, SwitchViewController::word("back"), [weak] {
        if (auto self = weak.lock()) static_cast<UIYuDingViewController&>(*self).onCancel();
    });
    bt_ok = kit::button(*m_panel, {168, 418, 136, kit::kTouch}, SwitchViewController::word("finish"), [weak] {
        if (auto self = weak.lock()) static_cast<UIYuDingViewController&>(*self).onOk();
    }, kit::ButtonKind::Primary);
}

void UIYuDingViewController::viewDidUnload() {
    lb_title.reset();
    if (tb_dishs) {
        tb_dishs->setDataSource(nullptr);
        tb_dishs->setTableDelegate(nullptr);
    }
    tb_dishs.reset();
    bt_back.reset();
    bt_ok.reset();
    tv_yuDingInfo.reset();
    im_back.reset();
    lb_tb.reset();
    m_panel.reset();
}

void UIYuDingViewController::onOk() {
    if (m_selectDesk && m_yuDing) m_selectDesk->m_iClientNum = m_yuDing->clientNum;
    if (auto root = rootController.lock()) root->yudingBackOK();
}

void UIYuDingViewController::onCancel() {
    if (auto root = rootController.lock()) root->yudingBack();
}

int UIYuDingViewController::numberOfRows(ui::TableView&, int) {
    return m_yuDing ? static_cast<int>(m_yuDing->m_DishList.size()) : 0;
}

std::shared_ptr<ui::TableViewCell> UIYuDingViewController::cellForRow(ui::TableView&, const ui::IndexPath& path) {
    if (!m_yuDing || path.row < 0 || static_cast<std::size_t>(path.row) >= m_yuDing->m_DishList.size())
        return std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::Default, "");
    return kit::dishLineCell(*m_yuDing->m_DishList[path.row], path.row, kRowHeight, 6);
}
