// The order list's screen: its layout, the header figures, the rows with their line codes and
// buttons, choosing a row, the serving-mode cycle, the quantity steps, the line detail popup, the
// waiter-mode button, the overlay guard, the closing of the list's dialogs and the way back.
#include "screens/orderlist/UIDishLViewController.h"

#include "core/NSServer.h"
#include "model/NSCaipClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "model/NSUserClass.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Text.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "screens/kit/ScreenKit.h"
#include "screens/kit/ScreenRoot.h"
#include "screens/kit/UILoginViewController.h"
#include "screens/kit/UINumViewController.h"
#include "screens/kit/UISelectViewController.h"
#include "screens/orderlist/OrderListRules.h"

namespace {

constexpr double kWidth = 768;
constexpr double kHeight = 1004;
constexpr double kTableTop = 212;
constexpr double kToolbarHeight = 64;
constexpr double kPopupSeconds = 3.0;

const ui::Color kRowGrey = ui::Color::rgb(100, 100, 100);
const ui::Color kEvenRow = ui::Color::rgb(255, 236, 204);
// A line that may already be on the server: dark orange, readable on both row bands.
const ui::Color kUnsureMark = ui::Color::rgb(170, 60, 0);

std::shared_ptr<ui::Label> rowLabel(ui::View& parent, const ui::Rect& frame, const std::string& text,
                                    const ui::Font& font, ui::TextAlignment alignment, ui::Color color) {
    auto label = kit::label(parent, frame, text, font, alignment, color);
    label->setBackgroundColor(ui::Color::clearColor());
    return label;
}

std::shared_ptr<ui::Button> rowButtonAt(ui::View& parent, const ui::Rect& frame, int row,
                                        std::function<void()> action) {
    auto button = std::make_shared<ui::Button>(ui::Button::Type::Custom, frame);
    button->setTag(row);
    button->addTarget(ui::ControlEvent::TouchUpInside, [action = std::move(action)](ui::Control&) { action(); });
    parent.addSubview(button);
    return button;
}

}  // namespace

UIDishLViewController::UIDishLViewController(std::string nibName) : ui::ViewController(std::move(nibName)) {}

UIDishLViewController::~UIDishLViewController() {
    // Alerts that outlive the list must not call it back.
    for (auto& weak : alerts_)
        if (auto alert = weak.lock(); alert && alert->delegate() == this) alert->setDelegate(nullptr);
    if (auto timer = xTimer_.lock()) timer->invalidate();
}

std::shared_ptr<UIDishLViewController> UIDishLViewController::self() {
    return std::static_pointer_cast<UIDishLViewController>(shared_from_this());
}

const std::shared_ptr<ui::TableView>& UIDishLViewController::m_dishTable() {
    view();
    return m_dishTable_;
}

// ---- View ----------------------------------------------------------------------------------------

void UIDishLViewController::loadView() {
    auto view = kit::screenView({0, 0, kWidth, kHeight});
    auto bar = kit::titleBar(*view, kWidth, "已点菜单", [this] { backToSelectCaip(); });
    bt_back = bar.back;
    buildHeader(*view);

    m_dishTable_ = std::make_shared<ui::TableView>(
        ui::Rect{0, kTableTop, kWidth, kHeight - kTableTop - kToolbarHeight});
    m_dishTable_->setRowHeight(kRowHeight);
    m_dishTable_->setBackgroundColor(kit::kPanel);
    m_dishTable_->setDataSource(this);
    m_dishTable_->setTableDelegate(this);
    view->addSubview(m_dishTable_);

    // The toolbar: the operations a waiter reaches most, the rest behind the function menu.
    const double top = kHeight - kToolbarHeight + 6;
    auto tool = [&](int i, const std::string& title, std::function<void()> action,
                    kit::ButtonKind kind = kit::ButtonKind::Secondary) {
        return kit::button(*view, {8 + i * 108.0, top, 100, 52}, title, std::move(action), kind);
    };
    bt_send = tool(0, "送单", [this] { sendAllDish(); }, kit::ButtonKind::Primary);
    bt_del = tool(1, "删除", [this] { delDishs(std::nullopt); });
    bt_call = tool(2, "呼叫", [this] { call(); });
    bt_otherFun = tool(3, "功能", [this] { otherFun(); });
    bt_trun = tool(4, "换台", [this] { turnDesk(); });
    bt_giving = tool(5, "赠送", [this] { giving(std::nullopt); });
    bt_yuding = tool(6, "提交订单", [this] { onSendToYuding(); });
    setView(view);
}

void UIDishLViewController::buildHeader(ui::View& view) {
    bt_desk = kit::button(view, {16, 70, 250, 52}, "", [this] { chooseDesk(std::nullopt); });
    bt_rens = kit::button(view, {278, 70, 150, 52}, "", [this] { changeRens(); });
    lb_user = kit::label(view, {440, 70, 150, 52}, "", kit::bodyFont(), ui::TextAlignment::Right);
    bt_fwykr = kit::button(view, {602, 70, 150, 52}, "登录", [this] { changefwykr(std::nullopt); });
    l_user = std::make_shared<ui::Label>();  // mirrors the waiter-mode button's title

    kit::label(view, {16, 128, 90, 44}, "合计:", kit::bodyFont(), ui::TextAlignment::Left, kit::kMuted);
    lb_money = kit::label(view, {100, 128, 200, 44}, "0", kit::bigFont());
    // The total is a button too: a waiter types a manual total there.
    bt_money = std::make_shared<ui::Button>(ui::Button::Type::Custom, ui::Rect{16, 128, 290, 44});
    bt_money->addTarget(ui::ControlEvent::TouchUpInside, [this](ui::Control&) { changeMoney(); });
    view.addSubview(bt_money);
    kit::label(view, {330, 128, 90, 44}, "数量:", kit::bodyFont(), ui::TextAlignment::Left, kit::kMuted);
    lb_quality = kit::label(view, {414, 128, 120, 44}, "0", kit::bigFont());

    // Column titles over the rows.
    tableTitle = kit::label(view, {88, 176, 300, 32}, "菜名", kit::smallFont(), ui::TextAlignment::Left, kit::kMuted);
    kit::label(view, {390, 176, 110, 32}, "数量", kit::smallFont(), ui::TextAlignment::Right, kit::kMuted);
    kit::label(view, {500, 176, 100, 32}, "金额", kit::smallFont(), ui::TextAlignment::Right, kit::kMuted);
    kit::label(view, {600, 176, 100, 32}, "状态", kit::smallFont(), ui::TextAlignment::Right, kit::kMuted);
}

void UIDishLViewController::viewDidLoad() {
    showInterface(true);
    showfwykr();
}

void UIDishLViewController::didReceiveMemoryWarning() {
    // The row pictures are the package's shared cache; nothing of our own to drop but the view.
    ui::ViewController::didReceiveMemoryWarning();
}

void UIDishLViewController::viewDidUnload() {
    bt_desk = bt_rens = bt_send = bt_giving = bt_call = bt_del = bt_trun = bt_back = bt_fwykr = bt_otherFun =
        bt_money = bt_yuding = nullptr;
    lb_user = lb_quality = lb_money = tableTitle = nullptr;
    m_dishTable_ = nullptr;
    showXViewController = nullptr;
    v_otherFun = nullptr;
    rowButtons_.clear();
}

void UIDishLViewController::reload() {
    if (m_dishTable_) m_dishTable_->reloadData();
}

void UIDishLViewController::save() { NSServer::saveSelectDish0(); }

std::shared_ptr<NSDishClass> UIDishLViewController::lineAt(int row) const {
    const auto& lines = NSServer::getNowDesk()->m_DishList;
    if (row < 0 || static_cast<std::size_t>(row) >= lines.size()) return nullptr;
    return lines[static_cast<std::size_t>(row)];
}

// ---- Header and rows -----------------------------------------------------------------------------

void UIDishLViewController::refreshHeader() {
    auto desk = NSServer::getNowDesk();
    if (lb_user) lb_user->setText(NSServer::isWaiterUser() ? NSServer::getNowUser()->m_strUserName : "");
    // Computing the total also recounts the dishes, so it runs even when the total is hidden.
    const float total = desk->GetAllDishPrice();
    if (lb_money) lb_money->setText(NSServer::getIsShowTitleMoney() ? platform::fmt("%g", total) : "------");
    if (lb_quality) lb_quality->setText(platform::fmt("%i", desk->m_iCaipCount));
    if (bt_desk) bt_desk->setTitle(word("desk") + desk->m_strDeskName);
    if (bt_rens) bt_rens->setTitle(word("rens") + platform::fmt("%i", desk->m_iClientNum));
    // The cart goes to the web service only while a guest's online order is being filled.
    if (bt_yuding) bt_yuding->setHidden(!(rootController_ && rootController_->dingDXViewController));
}

int UIDishLViewController::numberOfSections(ui::TableView&) {
    refreshHeader();
    return 1;
}

int UIDishLViewController::numberOfRows(ui::TableView&, int) {
    const int rows = static_cast<int>(NSServer::getNowDesk()->m_DishList.size());
    rowButtons_.assign(static_cast<std::size_t>(rows), {});
    return rows;
}

std::shared_ptr<ui::TableViewCell> UIDishLViewController::cellForRow(ui::TableView&, const ui::IndexPath& path) {
    return rowCell(path.row);
}

std::shared_ptr<ui::TableViewCell> UIDishLViewController::rowCell(int r) {
    auto cell = std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::Default);
    cell->setSelectionStyle(ui::TableViewCell::SelectionStyle::None);
    cell->setBackgroundColor(ui::Color::clearColor());
    ui::View& content = *cell->contentView();
    if (r % 2 == 0) {
        auto band = std::make_shared<ui::View>(ui::Rect{0, 0, kWidth, kRowHeight});
        band->setBackgroundColor(kEvenRow);
        content.addSubview(band);
    }
    auto line = lineAt(r);
    if (!line) return cell;
    auto db = NSServer::getCaipDB();
    auto dish = db ? db->GetCaipFromID(line->caipID()) : nullptr;

    const bool unsent = line->isUnsent();
    std::string tastes = unsent ? line->GetKouwShulString() : line->m_strKouw;
    // A custom dish shows the name the waiter typed (kept as its free text) as its name.
    if (dish && dish->m_bCustom && !line->GetKouwDefine().empty()) {
        line->m_strCaipName = tastes;
        tastes.clear();
    }
    const ui::Color colour = line->m_iState == NSDishClass::kVoid ? ui::Color::redColor() : kRowGrey;
    const ui::Font bold = ui::Font::boldSystemFont(16);
    const bool item = line->m_bisExp && !line->m_bisSet;
    RowButtons& buttons = rowButtons_.size() > static_cast<std::size_t>(r) ? rowButtons_[static_cast<std::size_t>(r)]
                                                                              : rowButtons_.emplace_back();

    rowLabel(content, {0, 0, 40, kRowHeight}, item ? "--" : platform::fmt("%i", r + 1), bold,
             ui::TextAlignment::Center, kRowGrey);
    if (const char* picture = orderlist::servingModePicture(line->m_iType))
        kit::pictureView(content, {44, 13, 18, 18}, picture);
    if (line->m_bisChoose) kit::pictureView(content, {4, 10, 24, 23}, "1-24.png");
    buttons.serving = rowButtonAt(content, {0, 0, 84, kRowHeight}, r, [this, r] { changeQC(r); });
    buttons.choose = rowButtonAt(content, {90, 0, 300, kRowHeight}, r, [this, r] { chooseCaip(r); });

    if (tastes.empty()) {
        auto name = rowLabel(content, {88, 0, 300, kRowHeight}, line->m_strCaipName, bold,
                             ui::TextAlignment::Left, colour);
        name->setNumberOfLines(2);
    } else {
        rowLabel(content, {88, 2, 300, 22}, line->m_strCaipName, bold, ui::TextAlignment::Left, colour);
        rowLabel(content, {88, 24, 300, 18}, tastes, ui::Font::systemFont(13), ui::TextAlignment::Left, colour);
    }

    const std::string quantity = platform::fmt(line->m_iVarQty != 0 ? "约%g%@" : "%g%@", line->m_fQuantity,
                                               line->m_strUnits);
    rowLabel(content, {390, 0, 110, kRowHeight}, quantity, bold, ui::TextAlignment::Right, colour);
    if (line->m_iVarQty != 0 && line->m_iState != NSDishClass::kUnsent && line->m_iState != 0)
        buttons.weigh = rowButtonAt(content, {390, 0, 110, kRowHeight}, r, [this, r] { chengZ(r); });
    rowLabel(content, {500, 0, 100, kRowHeight}, platform::fmt("%g", line->GetPrice()), bold,
             ui::TextAlignment::Right, colour);
    if (unsent) buttons.modify = rowButtonAt(content, {600, 0, 104, kRowHeight}, r, [this, r] { modifyCaip(r); });
    auto del = rowButtonAt(content, {708, 0, 56, kRowHeight}, r, [this, r] { delDish(r); });
    del->setImage(kit::picture("2-144.png"));
    buttons.del = del;
    const char* state = orderlist::stateWord(line->m_iState);
    if (unsent && NSServer::isUnsureLine(*NSServer::getNowDesk(), *line)) {
        // It went with a request whose reply never came, and the server has not shown it since.
        const std::string mark = line->m_fQuantity < 0 ? wordFormat("unsure14", "可能已退菜", {})
                                                        : wordFormat("unsure5", "可能已下单", {});
        rowLabel(content, {600, 0, 100, kRowHeight}, mark, bold, ui::TextAlignment::Right, kUnsureMark);
    } else {
        rowLabel(content, {600, 0, 100, kRowHeight}, state ? word(state) : "", bold, ui::TextAlignment::Right, colour);
    }
    return cell;
}

ui::Button* UIDishLViewController::rowButton(int row, RowButton which) const {
    if (row < 0 || static_cast<std::size_t>(row) >= rowButtons_.size()) return nullptr;
    const RowButtons& b = rowButtons_[static_cast<std::size_t>(row)];
    const std::weak_ptr<ui::Button>* slot = nullptr;
    switch (which) {
    case RowButton::Choose: slot = &b.choose; break;
    case RowButton::ServingMode: slot = &b.serving; break;
    case RowButton::Modify: slot = &b.modify; break;
    case RowButton::Delete: slot = &b.del; break;
    case RowButton::Weigh: slot = &b.weigh; break;
    }
    return slot->lock().get();
}

// ---- Row actions ---------------------------------------------------------------------------------

void UIDishLViewController::chooseCaip(int row) {
    if (isSubViewShow(false)) return;
    auto line = lineAt(row);
    if (!line) return;
    sendIndex_ = row;
    line->m_bisChoose = !line->m_bisChoose;
    reload();
}

void UIDishLViewController::changeQC(int row) {
    auto line = lineAt(row);
    if (!line || line->m_iState != NSDishClass::kUnsent) return;
    switch (line->m_iType) {
    case 0: line->m_iType = 1; break;
    case 1: line->m_iType = 4; break;
    case 4: line->m_iType = 0; break;
    default: break;  // modes the cycle does not own stay as they are
    }
    reload();
    save();
}

void UIDishLViewController::addCaipQ(int row) {
    if (isSubViewShow(false)) return;
    auto line = lineAt(row);
    if (!line || line->m_iState != NSDishClass::kUnsent || refuseEditInDoubt(line)) return;
    line->m_fQuantity += 1;
    reload();
    save();
}

void UIDishLViewController::delCaipQ(int row) {
    if (isSubViewShow(false)) return;
    auto line = lineAt(row);
    if (!line || line->m_iState != NSDishClass::kUnsent || line->m_fQuantity - 1 <= 0 || refuseEditInDoubt(line))
        return;
    line->m_fQuantity -= 1;
    reload();
    save();
}

// ---- Line detail popup ---------------------------------------------------------------------------

void UIDishLViewController::showCaipX(int row) {
    if (isSubViewShow(false)) return;
    auto line = lineAt(row);
    if (!line || !m_dishTable_) return;
    const bool unsent = line->isUnsent();
    const std::string tastes = unsent ? line->GetKouwShulString() : line->m_strKouw;
    const double height = UIShowXViewController::kHeight;
    double y = row * kRowHeight - m_dishTable_->contentOffset().y + m_dishTable_->frame().origin.y - height;
    const bool above = y >= 0;
    if (!showXViewController) {
        showXViewController = std::make_shared<UIShowXViewController>();
        showXViewController->setLastViewController(this);
    }
    showXViewController->setUpDowm(above);
    if (!above) y += height + kRowHeight;
    showXViewController->setMessage(wordFormat("dishl22", "菜名：%@\n服务员：%@\n操作员：%@\n时间：%@\n要求：%@",
                                               {line->m_strCaipName, line->m_strWaiterName, line->m_strUserName,
                                                line->m_strTime, tastes}));
    ui::View& popup = *showXViewController->view();
    popup.setFrame({(kWidth - UIShowXViewController::kWidth) / 2, y, UIShowXViewController::kWidth, height});
    popup.setAlpha(0);
    view()->addSubview(popup.shared_from_this());
    std::weak_ptr<UIDishLViewController> weak = self();
    ui::Animation::begin(std::string("showX"));
    ui::Animation::setDuration(0.3);
    popup.setAlpha(1);
    ui::Animation::commit();
    if (auto old = xTimer_.lock()) old->invalidate();
    xTimer_ = platform::Timer::schedule(platform::RunLoop::main(), kPopupSeconds, false, [weak](platform::Timer&) {
        if (auto list = weak.lock()) list->clearShow();
    });
}

void UIDishLViewController::clearShow() {
    if (auto timer = xTimer_.lock(); timer && timer->isValid()) timer->invalidate();
    if (!showXViewController) return;
    fadeOut("showXB", *showXViewController->view(), showXViewController.get());
}

// ---- Waiter mode ---------------------------------------------------------------------------------

void UIDishLViewController::showfwykr() {
    const bool waiter = NSServer::isWaiterUser();
    // The demo user sees the menu, the transfer and the gift buttons never.
    const bool demo = NSServer::getNowUser()->m_strUserDesc == "*测试";
    for (auto* button : {bt_otherFun.get(), bt_trun.get(), bt_giving.get()})
        if (button) button->setAlpha(waiter && !demo ? 1 : 0);
    const std::string title = waiter ? "注销" : "登录";
    if (bt_fwykr) bt_fwykr->setTitle(title);
    if (l_user) l_user->setText(title);
}

void UIDishLViewController::changefwykr(const std::optional<std::string>& word) {
    if (isSubViewShow(false)) return;
    std::string message;
    if (NSServer::isWaiterUser()) {
        NSServer::setIsWaiterUser(false);
        message = UIDishLViewController::word("dishl20");
    } else if (word == kNoLogin) {
        NSServer::setIsWaiterUser(true);
        message = UIDishLViewController::word("dishl21");
    } else {
        requestLogin(kLoginWaiterMode);
        return;
    }
    showfwykr();
    if (NSServer::getIsShowAlert()) {
        if (rootController_) rootController_->showAyncStyle(message);
    } else {
        NSServer::setIsShowAlert(true);
        ask(0, UIDishLViewController::word("dishl19"), message, UIDishLViewController::word("onok"));
        if (lb_user) lb_user->setText(NSServer::isWaiterUser() ? NSServer::getNowUser()->m_strUserName : "");
    }
}

void UIDishLViewController::requestLogin(int loginType) {
    if (rootController_) rootController_->login(self(), loginType);
}

// ---- Overlay guard and closing ---------------------------------------------------------------------

bool UIDishLViewController::isSubViewShow(bool onlyAsk) {
    auto close = [onlyAsk](auto&& closer) {
        if (!onlyAsk) closer();
        return true;
    };
    if (rootController_) {
        if (rootController_->loginViewController) return close([this] { rootController_->loginBack(); });
        if (rootController_->selectViewController) return close([this] { rootController_->SelectDlgCancel(); });
        if (rootController_->numViewController) return close([this] { rootController_->NumDlgCancel(); });
    }
    if (selectViewController) return close([this] { SelectDlgCancel(); });
    if (numViewController) return close([this] { NumDlgCancel(); });
    if (showXViewController) return close([this] { clearShow(); });
    if (v_otherFun) otherFun();
    return false;
}

void UIDishLViewController::touchesEnded(const ui::TouchSet&, const ui::Event*) { isSubViewShow(false); }

void UIDishLViewController::NumDlgCancel() {
    if (numViewController) fadeOut("ShulBack", *numViewController->view(), numViewController.get());
}

void UIDishLViewController::SelectDlgCancel() {
    m_allKouws = nullptr;
    if (selectViewController) fadeOut("selectback", *selectViewController->view(), selectViewController.get());
}

void UIDishLViewController::fadeOut(const std::string& name, ui::View& view, void* context) {
    std::weak_ptr<UIDishLViewController> weak = self();
    ui::Animation::begin(name, context);
    ui::Animation::setDuration(0.3);
    ui::Animation::setDidStop([weak](const std::optional<std::string>& finished, bool done, void* ctx) {
        if (auto list = weak.lock()) list->animationFinish(finished, done, ctx);
    });
    view.setAlpha(0);
    ui::Animation::commit();
}

void UIDishLViewController::animationFinish(const std::optional<std::string>& name, bool, void* context) {
    if (!name) return;
    // Each closing names the dialog it closed: a newer dialog opened meanwhile in the same field
    // stays.
    auto letGo = [context](auto& field) {
        if (!field || (context && field.get() != context)) return;
        if (field->isViewLoaded()) field->view()->removeFromSuperview();
        field = nullptr;
    };
    if (*name == "selectback") {
        letGo(selectViewController);
    } else if (*name == "ShulBack") {
        letGo(numViewController);
    } else if (*name == "showXB") {
        letGo(showXViewController);
    } else if (*name == "otherfunback") {
        if (v_otherFun && (!context || v_otherFun.get() == context)) {
            v_otherFun->removeFromSuperview();
            v_otherFun = nullptr;
        }
    }
}

void UIDishLViewController::backToSelectCaip() {
    if (isSubViewShow(false) || !rootController_) return;
    if (isBackToWel_) rootController_->welDishListBack();
    else rootController_->dishlistBackToSelectCaip();
}
