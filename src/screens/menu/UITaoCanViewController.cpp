#include "screens/menu/UITaoCanViewController.h"

#include <algorithm>
#include <cmath>

#include "core/NSServer.h"
#include "core/NSStaticUnit.h"
#include "model/NSATreeClass.h"
#include "model/NSCaipDBClass.h"
#include "platform/ui/TableViewCell.h"
#include "screens/kit/ScreenKit.h"
#include "screens/kit/ScreenRoot.h"
#include "screens/menu/MenuKit.h"
#include "screens/menu/NSCaipViewCell.h"

namespace {

constexpr const char* kSoldOutTitle = "沽清列表";
constexpr const char* kDemoMarker = "测试^";
constexpr double kBottomHeight = 72;
constexpr double kRowHeight = 80;

// A sold-out row: the description runs under the name across the row, as many lines as it takes,
// and the row grows to hold it. A text view keeps 8 points of margin on every side.
constexpr double kSoldOutTextLeft = 105, kSoldOutTextTop = 35, kSoldOutRight = 16, kTextMargin = 8;
constexpr double kSoldOutPriceWidth = 220;

ui::Font itemTextFont() { return ui::Font::systemFont(15); }

double soldOutTextWidth(double rowWidth) { return std::max(0.0, rowWidth - kSoldOutTextLeft - kSoldOutRight); }

double soldOutTextHeight(const std::string& text, double rowWidth) {
    const double inner = std::max(0.0, soldOutTextWidth(rowWidth) - 2 * kTextMargin);
    return std::ceil(ui::measureText(text, itemTextFont(), inner).height) + 2 * kTextMargin;
}

// An item dish for a line whose dish the menu lacks: what the line itself knows of it.
std::shared_ptr<NSCaipClass> placeholderFor(const NSDishClass& line) {
    auto dish = std::make_shared<NSCaipClass>();
    dish->Clear();
    dish->setM_strID(line.m_strCaipID);
    dish->m_strName = line.m_strCaipName;
    dish->m_strPrice = line.m_strPrice;
    dish->m_strDanw = line.m_strUnits;
    return dish;
}

// The thumbnail of an item: the picture folder's, the demo picture by its picture number, or
// the no-picture one.
std::shared_ptr<ui::Image> itemPicture(const NSCaipClass& dish) {
    bool exists = false;
    auto image = menu::folderPicture(dish.strID(), "T.BMP", &exists);
    if (exists) return image;
    if (auto at = dish.m_strName3.find(kDemoMarker); at != std::string::npos) {
        const long long number = platform::leadingLongLong(dish.m_strName3.substr(at + std::string(kDemoMarker).size()));
        return kit::picture(platform::fmt("t%lldt.bmp", number + 1));
    }
    return kit::picture("nopic1.bmp");
}

}  // namespace

UITaoCanViewController::UITaoCanViewController(std::string nibName) : ui::ViewController(std::move(nibName)) {}

UITaoCanViewController::~UITaoCanViewController() {
    if (tb_dishs_) {
        tb_dishs_->setDataSource(nullptr);
        tb_dishs_->setTableDelegate(nullptr);
    }
}

bool UITaoCanViewController::getSelectDish(const std::shared_ptr<NSDishClass>& line) {
    m_dish_ = line;
    return true;
}

const NSDishList& UITaoCanViewController::m_ExDishs() const {
    static const NSDishList none;
    return m_dish_ ? m_dish_->m_ExDishs : none;
}

void UITaoCanViewController::loadExDishs() {
    m_ExCaips_.clear();
    if (!m_dish_) return;
    auto db = NSServer::getCaipDB();
    if (m_dish_->m_bisExp) {
        // Every item keeps a dish beside it, so rows, removal and the adders stay in step even
        // for an item the menu no longer has.
        for (const auto& item : m_dish_->m_ExDishs) {
            auto dish = db ? db->GetCaipFromID(item->caipID()) : nullptr;
            m_ExCaips_.push_back(dish ? dish : placeholderFor(*item));
        }
        return;
    }
    m_dish_->m_bisExp = true;
    m_dish_->m_ExDishs.clear();
    if (!db || !db->m_Bom) return;
    const auto& bom = *db->m_Bom;
    for (std::size_t k = 1; k < bom.m_str1.size() && k < bom.m_str2.size(); ++k) {
        if (bom.m_str1[k] != m_dish_->caipID()) continue;
        auto dish = db->GetCaipFromID(bom.m_str2[k]);
        if (!dish) continue;
        auto item = std::make_shared<NSDishClass>();
        item->Release();
        item->CopyCaip(dish);
        item->m_bisExp = true;
        item->m_fQuantity = 1;
        item->m_fQuantity2 = 0;
        addItem(item, dish);
    }
}

void UITaoCanViewController::addItem(const std::shared_ptr<NSDishClass>& line, const std::shared_ptr<NSCaipClass>& dish) {
    if (!m_dish_ || !line) return;
    m_dish_->m_ExDishs.push_back(line);
    m_ExCaips_.push_back(dish ? dish : placeholderFor(*line));
}

// ---- View ------------------------------------------------------------------------------------

void UITaoCanViewController::loadView() {
    const ui::Rect frame = menu::screenRect(rootController_);
    setView(kit::screenView(frame));
    auto& v = *view();
    const double w = frame.width(), h = frame.height();
    auto act = [this](void (UITaoCanViewController::*op)()) { return menu::action(*this, op); };
    auto bar = kit::titleBar(v, w, "套餐明细", act(&UITaoCanViewController::onCancel));
    bt_back_ = bar.back;
    lb_title_ = bar.title;
    bt_add_ = kit::button(*bar.bar, {w - 24 - 120, (kit::kBarHeight - kit::kTouch) / 2, 120, kit::kTouch}, "添加",
                          act(&UITaoCanViewController::addCaip), kit::ButtonKind::OnBar);

    tb_dishs_ = std::make_shared<ui::TableView>(ui::Rect{0, kit::kBarHeight, w, h - kit::kBarHeight - kBottomHeight});
    tb_dishs_->setDataSource(this);
    tb_dishs_->setTableDelegate(this);
    v.addSubview(tb_dishs_);

    im_bottom_ = std::make_shared<ui::View>(ui::Rect{0, h - kBottomHeight, w, kBottomHeight});
    im_bottom_->setBackgroundColor(kit::kBar);
    v.addSubview(im_bottom_);
    const double y = h - kBottomHeight + (kBottomHeight - 40) / 2;
    lb_moneytitle_ = kit::label(v, {24, y, 260, 40}, "", kit::bodyFont(), ui::TextAlignment::Left, kit::kOnDark);
    lb_shul_ = kit::label(v, {290, y, 120, 40}, "", kit::bigFont(), ui::TextAlignment::Right, kit::kOnDark);
    lb_money_ = kit::label(v, {w - 24 - 300, y, 300, 40}, "", kit::bigFont(), ui::TextAlignment::Right, kit::kOnDark);
}

void UITaoCanViewController::viewDidLoad() {
    ui::ViewController::viewDidLoad();
    if (type_ == kSoldOut) {
        bt_add_->setAlpha(0);
        lb_title_->setText(kSoldOutTitle);
    }
}

void UITaoCanViewController::viewDidUnload() {
    tb_dishs_.reset();
    bt_add_.reset();
    bt_back_.reset();
    lb_title_.reset();
    lb_moneytitle_.reset();
    lb_shul_.reset();
    lb_money_.reset();
    im_bottom_.reset();
}

void UITaoCanViewController::showCaipMoney() {
    if (type_ == kSoldOut) {
        lb_moneytitle_->setText("");
        lb_shul_->setText("");
        lb_money_->setText("");
        im_bottom_->setBackgroundColor(ui::Color::clearColor());
        return;
    }
    float sum = 0;
    for (const auto& item : m_ExDishs()) sum += item->GetPrice();
    lb_moneytitle_->setText(menu::word("allfensallmoney"));
    lb_shul_->setText(platform::fmt("%i", static_cast<int>(m_ExDishs().size())));
    lb_money_->setText(platform::fmt("%g", static_cast<double>(sum)));
}

// ---- Table -----------------------------------------------------------------------------------

int UITaoCanViewController::numberOfSections(ui::TableView&) {
    showCaipMoney();
    // Rows past the items have no tile any more.
    if (caipViewCells_.size() > m_ExCaips_.size()) caipViewCells_.resize(m_ExCaips_.size());
    return 1;
}

int UITaoCanViewController::numberOfRows(ui::TableView&, int) {
    return std::max(1, static_cast<int>(m_ExCaips_.size()));
}

std::string UITaoCanViewController::itemText(int row) const {
    if (row < 0 || row >= static_cast<int>(m_ExCaips_.size()) || row >= static_cast<int>(m_ExDishs().size())) return {};
    const NSCaipClass& dish = *m_ExCaips_[row];
    const NSDishClass& line = *m_ExDishs()[row];
    if (type_ == kSoldOut) {
        if (auto description = menu::folderDescription(dish.strID())) return *description;
    }
    const std::string tastes = line.isUnsent() ? line.GetKouwShulString() : line.m_strKouw;
    return menu::wordFormat("taocan2", {static_cast<double>(line.m_fQuantity), line.m_strUnits, tastes});
}

double UITaoCanViewController::heightForRow(ui::TableView& table, const ui::IndexPath& path) {
    if (type_ != kSoldOut) return kRowHeight;
    const double needed = kSoldOutTextTop + soldOutTextHeight(itemText(path.row), table.bounds().width());
    return std::max(kRowHeight, std::ceil(needed));
}

std::shared_ptr<ui::TableViewCell> UITaoCanViewController::cellForRow(ui::TableView& table, const ui::IndexPath& path) {
    auto cell = std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::Default, "SimpleTableIdentifier");
    cell->setSelectionStyle(ui::TableViewCell::SelectionStyle::None);
    const int r = path.row;
    if (r < 0 || r >= static_cast<int>(m_ExCaips_.size()) || r >= static_cast<int>(m_ExDishs().size())) return cell;
    const NSCaipClass& dish = *m_ExCaips_[r];
    const NSDishClass& line = *m_ExDishs()[r];

    // One holder per row: a row built again replaces the one built before.
    auto tile = std::make_shared<NSCaipViewCell>();
    tile->num = r;
    if (static_cast<int>(caipViewCells_.size()) <= r) caipViewCells_.resize(r + 1);
    caipViewCells_[r] = tile;

    auto image = NSStaticUnit::createRoundedRectImage(itemPicture(dish), {});
    tile->cappicIV->setImage(image);
    tile->cappicIV->setFrame(NSStaticUnit::getCaipICGRect(image ? image->size() : ui::Size{}, {0, 1, 105, 79}));

    auto wire = [this](ui::Button& button, void (UITaoCanViewController::*op)(int)) {
        button.addTarget(ui::ControlEvent::TouchUpInside, menu::tagAction(*this, op));
    };
    tile->ShowCaipB->setFrame(tile->cappicIV->frame());
    tile->ShowCaipB->setTag(r);
    wire(*tile->ShowCaipB, &UITaoCanViewController::showBigCai);
    tile->SelCaipB->setFrame({245, 7, 60, 26});
    tile->SelCaipB->setTag(r);
    tile->SelCaipB->setTitle(menu::word("moveout"));
    tile->SelCaipB->setTitleFont(ui::Font::systemFont(14));
    tile->SelCaipB->setBackgroundImage(kit::picture(kit::interfacePicture(117)));
    wire(*tile->SelCaipB, &UITaoCanViewController::removeBomCai);

    tile->nameL->setFrame({110, 5, 150, 30});
    tile->nameL->setText(dish.m_strName);
    tile->nameL->setFont(ui::Font::boldSystemFont(15));
    tile->priceL->setFrame({200, 38, 100, 30});
    tile->priceL->setFont(ui::Font::systemFont(15));
    tile->priceL->setText(menu::wordFormat("taocan1", {static_cast<double>(line.GetPrice()), menu::word("yuan")}));
    const std::string text = itemText(r);
    tile->textL->setFrame({105, 35, 100, 60});
    tile->textL->setFont(itemTextFont());
    tile->textL->setTextColor(ui::Color::blackColor());
    if (type_ == kSoldOut) {
        const double w = table.bounds().width();
        tile->textL->setFrame({kSoldOutTextLeft, kSoldOutTextTop, soldOutTextWidth(w), soldOutTextHeight(text, w)});
        tile->priceL->setFrame({w - kSoldOutRight - kSoldOutPriceWidth, 5, kSoldOutPriceWidth, 30});
        tile->priceL->setTextAlignment(ui::TextAlignment::Right);
        tile->nameL->setFrame({110, 5, w - kSoldOutRight - kSoldOutPriceWidth - 110, 30});
    }
    tile->textL->setText(text);

    auto& content = *cell->contentView();
    if (type_ != kSoldOut) content.addSubview(tile->SelCaipB);
    for (auto& v : std::vector<std::shared_ptr<ui::View>>{tile->ShowCaipB, tile->textL, tile->cappicIV, tile->nameL, tile->priceL})
        content.addSubview(v);

    for (const auto& state : menu::soldOutStates(dish.strID())) {
        if (state == "0") tile->SelCaipB->setTitle(menu::word("yigq2"));
        tile->priceL->setText(state == "0" ? menu::wordFormat("yigq1", {tile->priceL->text()}, tile->priceL->text())
                                           : menu::wordFormat("yigq3", {tile->priceL->text(), state}, tile->priceL->text()));
    }
    return cell;
}

// ---- Actions ---------------------------------------------------------------------------------

void UITaoCanViewController::addCaip() {
    if (rootController_) rootController_->bomAddCaip();
}

void UITaoCanViewController::onCancel() {
    if (rootController_) rootController_->BomCaiBackToSelect();
}

void UITaoCanViewController::removeBomCai(int row) {
    if (!m_dish_ || row < 0 || row >= static_cast<int>(m_dish_->m_ExDishs.size())) return;
    m_dish_->m_ExDishs.erase(m_dish_->m_ExDishs.begin() + row);
    if (row < static_cast<int>(m_ExCaips_.size())) m_ExCaips_.erase(m_ExCaips_.begin() + row);
    tb_dishs_->reloadData();
}

void UITaoCanViewController::showBigCai(int row) {
    if (type_ == kSoldOut || row < 0 || row >= static_cast<int>(m_ExDishs().size())) return;
    if (rootController_) rootController_->showBigCaipForEx(m_ExDishs()[row]);
}
