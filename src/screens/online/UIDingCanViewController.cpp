#include "screens/online/UIDingCanViewController.h"

#include <nlohmann/json.hpp>

#include "core/NSServer.h"
#include "online/NSCustomerClass.h"
#include "online/NSDingDClass.h"
#include "online/NSJsonResolver.h"
#include "online/NSShopDBClass.h"
#include "online/NSWebPages.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Text.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Image.h"
#include "platform/ui/TableViewCell.h"
#include "screens/online/UIDingDanXViewController.h"

namespace {

constexpr const char* kDate = "yyyy-MM-dd";
constexpr const char* kTime = "HH:mm";
constexpr double kPanelDrop = 260;

}  // namespace

UIDingCanViewController::UIDingCanViewController(std::string nibName)
    : UIOnlineBackPage(std::move(nibName), "在线订餐") {}

UIDingCanViewController::~UIDingCanViewController() {
    if (tb_dcl_) {
        tb_dcl_->setDataSource(nullptr);
        tb_dcl_->setTableDelegate(nullptr);
    }
    if (pv_sex_) {
        pv_sex_->setDataSource(nullptr);
        pv_sex_->setDelegate(nullptr);
    }
}

const std::vector<std::string>& UIDingCanViewController::tableTypeTexts() {
    static const std::vector<std::string> texts{"只订大厅", "只订包房", "优先订大厅，包房也可以", "优先订包房，大厅也可以"};
    return texts;
}

const std::vector<std::string>& UIDingCanViewController::tableTypeMoulds() {
    static const std::vector<std::string> moulds{"大厅", "包间", "优先大厅包间亦可", "优先包间大厅亦可"};
    return moulds;
}

void UIDingCanViewController::buildContent(ui::View& v) {
    const double w = v.bounds().width(), h = v.bounds().height();
    if (m_shop_) titleBar_.title->setText(platform::fmt("%@ - %@", dingtype_ == kTakeAway ? "外卖" : "订座", m_shop_->m_strName));
    double y = kit::kBarHeight + 24;
    tf_name_ = formFields(v, y, {{"姓名"}})[0];
    kit::label(v, {formLeft(), y, 160, kit::kTouch}, "称呼");
    bt_sex_ = kit::button(v, {formLeft() + 170, y, 160, kit::kTouch}, "先生", act(&UIDingCanViewController::onSelectSex));
    y += kFormStep;
    auto f = formFields(v, y, {{"电话", false, ui::KeyboardType::PhonePad}, {"人数", false, ui::KeyboardType::NumberPad}});
    tf_tel_ = f[0];
    tf_rens_ = f[1];
    kit::label(v, {formLeft(), y, 160, kit::kTouch}, dingtype_ == kTakeAway ? "送餐时间" : "用餐时间");
    bt_date_ = kit::button(v, {formLeft() + 170, y, 200, kit::kTouch}, "", act(&UIDingCanViewController::onSelectDate));
    bt_time_ = kit::button(v, {formLeft() + 386, y, 140, kit::kTouch}, "", act(&UIDingCanViewController::onSelectTime));
    y += kFormStep;
    tf_beiz_ = formFields(v, y, {{"备注"}})[0];
    tf_add_ = formField(v, y, "送餐地址");
    tb_dcl_ = std::make_shared<ui::TableView>(ui::Rect{formLeft(), y, formWidth(), 160});
    tb_dcl_->setDataSource(this);
    tb_dcl_->setTableDelegate(this);
    tb_dcl_->setTag(0);
    v.addSubview(tb_dcl_);
    y += 184;
    bt_submit_ = formButton(v, y, "提交订单", act(&UIDingCanViewController::onSubmit));

    // The picker panel, shown over the form while a date, time or salutation is picked.
    v_packerView_ = std::make_shared<ui::View>(ui::Rect{0, kPanelDrop, w, h});
    v_packerView_->setBackgroundColor(kit::kShade);
    auto sheet = std::make_shared<ui::View>(ui::Rect{0, h - 320, w, 320});
    sheet->setBackgroundColor(kit::kPanel);
    v_packerView_->addSubview(sheet);
    kit::button(*sheet, {16, 8, 120, kit::kTouch}, "取消", act(&UIDingCanViewController::onSelectBack));
    kit::button(*sheet, {w - 136, 8, 120, kit::kTouch}, "确定", act(&UIDingCanViewController::onSelectOk),
                kit::ButtonKind::Primary);
    dp_date_ = std::make_shared<ui::DatePicker>(ui::Rect{0, 64, w, 256});
    sheet->addSubview(dp_date_);
    pv_sex_ = std::make_shared<ui::PickerView>(ui::Rect{0, 64, w, 256});
    pv_sex_->setDataSource(this);
    pv_sex_->setDelegate(this);
    sheet->addSubview(pv_sex_);
}

void UIDingCanViewController::viewDidLoad() {
    if (dingtype_ == kReservation) tf_add_->setAlpha(0);
    else tb_dcl_->setAlpha(0);
    userInfoLoad();
    for (int i = 0; i < 4; ++i) {
        auto tick = std::make_shared<ui::ImageView>(ui::Rect{formWidth() - 40, 11, 21, 18});
        tick->setImage(ui::Image::named("2-83.png"));
        a_gous_.push_back(tick);
    }
    // The shop's web menu is imported while the guest fills in the form (a seat-only shop has
    // no dishes to order).
    if (m_shop_->m_iType != 2) {
        importHolder_ = std::make_shared<UIDingDanXViewController>();
        auto order = std::make_shared<NSDingDClass>();
        order->m_strTogoId = m_shop_->m_strID;
        importHolder_->setM_dingd(order);
        if (auto* r = root()) r->dingDXViewController = importHolder_;
        importHolder_->loadShopCaip();
    }
}

void UIDingCanViewController::userInfoLoad() {
    const NSCustomerClass& c = customer();
    tf_tel_->setText(c.m_tel);
    tf_name_->setText(c.m_truename);
    const double now = platform::currentDate();
    bt_date_->setTitle(platform::formatDate(now, kDate));
    bt_time_->setTitle(platform::formatDate(now, kTime));
    dp_date_->setDate(now);
    setSex(c.m_sex == 0 ? 0 : 1);
    pv_sex_->selectRow(c.m_sex == 0 ? 0 : 1, 0, false);
}

void UIDingCanViewController::setSex(int sex) {
    bt_sex_->setTitle(sex == 0 ? "先生" : "女士");
    bt_sex_->setTag(sex);
}

std::string UIDingCanViewController::titleForRow(ui::PickerView&, int row, int) {
    return row == 0 ? "先生" : row == 1 ? "女士" : "";
}

void UIDingCanViewController::onSelectDate() {
    dp_date_->setMode(ui::DatePicker::Mode::Date);
    dp_date_->setHidden(false);
    pv_sex_->setHidden(true);
    pindex_ = 1;
    showpackerview();
}

void UIDingCanViewController::onSelectTime() {
    dp_date_->setMode(ui::DatePicker::Mode::Time);
    dp_date_->setMinuteInterval(5);
    dp_date_->setHidden(false);
    pv_sex_->setHidden(true);
    pindex_ = 2;
    showpackerview();
}

void UIDingCanViewController::onSelectSex() {
    pv_sex_->setHidden(false);
    dp_date_->setHidden(true);
    pindex_ = 3;
    showpackerview();
}

void UIDingCanViewController::showpackerview() {
    const double w = view()->bounds().width(), h = view()->bounds().height();
    v_packerView_->setFrame({0, kPanelDrop, w, h});
    view()->addSubview(v_packerView_);
    ui::Animation::begin("showp");
    ui::Animation::setDuration(0.3);
    v_packerView_->setFrame({0, 0, w, h});
    ui::Animation::commit();
}

void UIDingCanViewController::onSelectBack() {
    const double w = view()->bounds().width(), h = view()->bounds().height();
    std::weak_ptr<ui::View> panel = v_packerView_;
    ui::Animation::begin("pback");
    ui::Animation::setDuration(0.3);
    ui::Animation::setDidStop([panel](const std::optional<std::string>& name, bool, void*) {
        if (auto p = panel.lock(); p && name == "pback") p->removeFromSuperview();
    });
    v_packerView_->setFrame({0, kPanelDrop, w, h});
    ui::Animation::commit();
}

void UIDingCanViewController::onSelectOk() {
    onSelectBack();
    switch (pindex_) {
        case 1: bt_date_->setTitle(platform::formatDate(dp_date_->date(), kDate)); break;
        case 2: bt_time_->setTitle(platform::formatDate(dp_date_->date(), kTime)); break;
        case 3: setSex(pv_sex_->selectedRowInComponent(0) == 0 ? 0 : 1); break;
        default: break;
    }
}

std::shared_ptr<ui::TableViewCell> UIDingCanViewController::cellForRow(ui::TableView& t, const ui::IndexPath& p) {
    auto cell = std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::Default, "SimpleTableIdentifier");
    cell->setSelectionStyle(ui::TableViewCell::SelectionStyle::None);
    if (p.row < 0 || p.row >= 4) return cell;
    auto l = kit::label(*cell->contentView(), {10, 0, 360, 40}, tableTypeTexts()[p.row], ui::Font::systemFont(15.0));
    if (p.row < static_cast<int>(a_gous_.size())) {
        a_gous_[p.row]->setAlpha(t.tag() == p.row ? 1.0 : 0);
        cell->contentView()->addSubview(a_gous_[p.row]);
    }
    return cell;
}

void UIDingCanViewController::didSelectRow(ui::TableView& t, const ui::IndexPath& p) {
    t.setTag(p.row);
    t.reloadData();
}

nlohmann::json UIDingCanViewController::orderHeader(const Header& h, const NSShopClass& shop,
                                                    const NSCustomerClass& customer) {
    nlohmann::json o = {
        {"cartlist", nlohmann::json::array()},
        {"OrderType", h.kind == kTakeAway ? "0" : "1"},
        {"UserID", customer.m_id},
        {"UserName", h.name},
        {"Tel", h.tel},
        {"State", "0"},
        {"Remark", h.remark},
        {"TogoID", shop.m_strID},
        {"EatNum", h.guests},
        {"SendTime", h.date + " " + h.time},
        {"Sex", h.sex == 0 ? "男" : h.sex == 1 ? "女" : ""},
        {"Address", h.address},
        {"orderTime", h.today},
        {"OrderID", ""},
        {"TotalPrice", "0"},
        {"SetStateTime", h.today},
        {"paytime", h.today},
        {"CustomerName", customer.m_name},
        {"cityid", shop.m_strCityid},
        {"DataID", "0"},
    };
    for (const char* key : {"childNum", "OldNum", "IsPregnant", "environment", "DeskNum", "Currentprice", "Oorderid",
                            "callcount", "callmsg", "writer", "PayMode", "paystate", "paymoney", "PayOrderId", "Inve1",
                            "Inve2", "sid", "bid", "tempcode", "Ogroup", "EatType", "Maincont", "Reveint1", "ReveVar2"})
        o[key] = "0";
    if (h.kind != kTakeAway) {
        const auto& moulds = tableTypeMoulds();
        o["mould"] = h.tableType >= 0 && h.tableType < static_cast<int>(moulds.size()) ? moulds[h.tableType] : "";
    }
    return o;
}

void UIDingCanViewController::onSubmit() {
    if (!bt_submit_->isEnabled()) return;
    if (tf_rens_->text().empty() || platform::toUtf16(tf_tel_->text()).size() <= 4 || tf_name_->text().empty()) {
        tip("人数、姓名不能为空，电话号码格式错误");
        return;
    }
    Header h;
    h.kind = dingtype_;
    h.name = tf_name_->text();
    h.tel = tf_tel_->text();
    h.remark = tf_beiz_->text();
    h.guests = tf_rens_->text();
    h.address = tf_add_->text();
    h.date = bt_date_->currentTitle();
    h.time = bt_time_->currentTitle();
    h.today = platform::formatDate(platform::currentDate(), kDate);
    h.sex = bt_sex_->tag();
    h.tableType = tb_dcl_->tag();
    const auto model = nlohmann::json::array({orderHeader(h, *m_shop_, customer())});
    const std::string url = webpages::submitOrder(NSJsonResolver::codeJson(model));
    platform::log(url);
    // One order per submit: the button waits for the answer.
    bt_submit_->setEnabled(false);
    request(url, &UIDingCanViewController::receiveServerMessage);
}

void UIDingCanViewController::receiveServerMessage(const std::string& answer) {
    if (bt_submit_) bt_submit_->setEnabled(true);
    if (answer.empty()) {
        showMessage("网络连接异常");
        return;
    }
    NSJsonResolver resolver;
    const auto json = resolver.resolveJson(answer).value_or(nlohmann::json());
    const std::string orderid = json_read::text(json, "orderid");
    if (orderid.empty() || orderid == "0") {
        auto* r = root();
        auto alert = std::make_shared<ui::AlertView>("提示", std::string("预定失败"), r, "确定");
        alert->show();
        return;
    }
    const int state = json_read::integer(json, "orderstate");
    const char* message = state == 1 ? "预订成功，订单正在等待审核。订单号:%@"
                          : state == 2 ? "预订成功，订单已经通过审核。订单号:%@"
                                       : "预订成功。订单号:%@";
    // The notice outlives the form, so the root answers it.
    auto notice = std::make_shared<ui::AlertView>("提示", platform::fmt(message, orderid), root(), "确定");
    notice->show();
    auto* r = root();
    if (m_shop_->m_iType != 2 && importHolder_) {
        // The number goes to this form's own order, whatever holder the root has now.
        if (importHolder_->m_dingd()) importHolder_->m_dingd()->m_strOrderid = orderid;
        if (r) r->begin(std::nullopt);
    }
    onBack();
}
