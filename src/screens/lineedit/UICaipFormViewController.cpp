// The dish order form: layout, redraw, tabs and their table, portions and units, cooking methods
// and tastes, and the swipe. The pads and the free text are in UICaipFormViewControllerPads.cpp.

#include "screens/lineedit/UICaipFormViewController.h"

#include "core/NSServer.h"
#include "model/NSATreeClass.h"
#include "model/NSCaipClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDishClass.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Text.h"
#include "platform/ui/Animation.h"
#include "platform/ui/TableViewCell.h"
#include "screens/kit/ScreenKit.h"
#include "screens/kit/UINumViewController.h"
#include "screens/kit/UISelectViewController.h"
#include "screens/lineedit/CaipFormHost.h"
#include "screens/lineedit/LineEditKit.h"

using lineedit::word;

namespace {

constexpr ui::Color kItemInk = ui::Color::rgb(90, 90, 90);
const std::string kPortionSmall = "例", kPortionMiddle = "中", kPortionLarge = "大";
// Units stand three to a row, as many rows as the table gives them.
constexpr int kUnitsPerRow = 3;

int rowsFor(int items) { return items <= 0 ? 0 : (items + 2) / 3; }

}  // namespace

UICaipFormViewController::UICaipFormViewController(std::string nibName) : ui::ViewController(std::move(nibName)) {}

UICaipFormViewController::~UICaipFormViewController() {
    if (numController) numController->upViewController = nullptr;
    if (selectController) selectController->upViewController = nullptr;
    if (tb_zuofkw) {
        tb_zuofkw->setDataSource(nullptr);
        tb_zuofkw->setTableDelegate(nullptr);
    }
    if (tf_require) tf_require->setDelegate(nullptr);
}

std::shared_ptr<UICaipFormViewController> UICaipFormViewController::addCaipForm(CaipFormHost& host,
                                                                                std::shared_ptr<NSDishClass> line,
                                                                                std::shared_ptr<NSATreeClass> zuofs) {
    auto form = std::make_shared<UICaipFormViewController>();
    form->setCaipController(&host);
    form->setM_dish(std::move(line));
    form->setM_zuofs(std::move(zuofs));
    form->view()->setFrame({0, kHeight, kWidth, kHeight});
    host.formArea().addSubview(form->view());
    return form;
}

void UICaipFormViewController::showCaipForm() { slideTo(view()->frame().y() > 200 ? 0 : kHeight); }

void UICaipFormViewController::slideTo(double y) {
    ui::Animation::begin(std::nullopt);
    ui::Animation::setDuration(0.3);
    view()->setFrame({0, y, kWidth, kHeight});
    ui::Animation::commit();
}

bool UICaipFormViewController::soldByPortion() const { return m_caip && m_caip->m_strDanw == kPortionSmall && !m_caip->strID().empty(); }

// ---- layout -------------------------------------------------------------------------------------

void UICaipFormViewController::loadView() {
    auto v = std::make_shared<ui::View>(ui::Rect{0, 0, kWidth, kHeight});
    v->setBackgroundColor(kit::kPanel);
    // The form lies on the white description of the detail view: its edge must show.
    v->setBorder(1, kit::kLine);
    setView(v);
}

void UICaipFormViewController::viewDidLoad() {
    ui::View& v = *view();
    im_back = kit::pictureView(v, {0, 0, kWidth, kHeight}, "");
    tx_buttom = kit::label(v, {8, 4, 304, 44}, "", kit::smallFont());
    bt_del = kit::button(v, {8, 52, 44, 44}, "-1", [this] { shulDel(); });
    tx_Num = kit::label(v, {54, 52, 56, 44}, "", kit::bigFont(), ui::TextAlignment::Center);
    bt_add = kit::button(v, {112, 52, 44, 44}, "+1", [this] { shulAdd(); });
    bt_shul = kit::button(v, {162, 52, 72, 44}, word("shul"), [this] { OnButtonShul(); });
    bt_shul2 = kit::button(v, {240, 52, 72, 44}, "条/只", [this] { tiaoz(); });
    tx_Unit = kit::label(v, {8, 100, 60, 44}, "", kit::bodyFont(), ui::TextAlignment::Center);
    bt_UnitsL = kit::button(v, {74, 100, 72, 44}, "", [this] { unitsL(); });
    bt_UnitsZ = kit::button(v, {156, 100, 72, 44}, "", [this] { unitsZ(); });
    bt_UnitsD = kit::button(v, {238, 100, 72, 44}, "", [this] { unitsD(); });
    // The portion marker lies beneath the portion buttons: they let it show through.
    for (auto* b : {&bt_UnitsL, &bt_UnitsZ, &bt_UnitsD}) (*b)->setBackgroundColor(ui::Color::clearColor());
    tx_danj = kit::label(v, {8, 148, 50, 44}, "单价");
    tx_Price = kit::label(v, {58, 148, 110, 44}, "");
    bt_changePrice = kit::button(v, {172, 148, 68, 44}, "改价", [this] { changePrice(); });
    bt_back = kit::button(v, {244, 148, 68, 44}, "收起", [this] { back(); });
    const std::pair<std::shared_ptr<ui::Button>*, std::pair<const char*, void (UICaipFormViewController::*)()>> tabs[] = {
        {&bt_Zuof, {"做法", &UICaipFormViewController::OnButtonZf}},
        {&bt_Kouw, {"口味", &UICaipFormViewController::OnButtonKouw}},
        {&bt_Spec, {"要求", &UICaipFormViewController::OnButtonSpec}},
        {&bt_Units, {"单位", &UICaipFormViewController::OnButtonUnits}},
    };
    double x = 4;
    for (const auto& [slot, tab] : tabs) {
        auto act = tab.second;
        *slot = kit::button(v, {x, 196, 76, 44}, tab.first, [this, act] { (this->*act)(); });
        x += 78;
    }
    tb_zuofkw = std::make_shared<ui::TableView>(ui::Rect{0, 244, kWidth, kHeight - 244});
    tb_zuofkw->setDataSource(this);
    tb_zuofkw->setTableDelegate(this);
    v.addSubview(tb_zuofkw);

    takeDish();
    OnButtonZf();
}

void UICaipFormViewController::takeDish() {
    auto db = NSServer::getCaipDB();
    m_caip = db && m_dish ? db->GetCaipFromID(m_dish->caipID()) : nullptr;
    zuofkwBS.clear();
    addUnitsButton();
    if (m_dish) {
        const std::string unit = m_dish->m_strUnits;
        if (unit == kPortionSmall) unitsL();
        else if (unit == kPortionMiddle) unitsZ();
        else if (unit == kPortionLarge) unitsD();
    }
}

void UICaipFormViewController::followDish() {
    if (!isViewLoaded()) return;
    takeDish();
    showDish();
}

void UICaipFormViewController::viewDidUnload() {
    if (tb_zuofkw) {
        tb_zuofkw->setDataSource(nullptr);
        tb_zuofkw->setTableDelegate(nullptr);
    }
    tb_zuofkw.reset();
    tf_require.reset();
    bt_jiaj.reset();
    iv_Units.reset();
    im_back.reset();
    tx_Num.reset();
    tx_Unit.reset();
    tx_Price.reset();
    tx_buttom.reset();
    tx_danj.reset();
    bt_Zuof.reset();
    bt_Kouw.reset();
    bt_Spec.reset();
    bt_Units.reset();
    bt_UnitsL.reset();
    bt_UnitsZ.reset();
    bt_UnitsD.reset();
    bt_add.reset();
    bt_del.reset();
    bt_shul.reset();
    bt_shul2.reset();
    bt_changePrice.reset();
    bt_back.reset();
    zuofkwBS.clear();
    m_caip.reset();
}

void UICaipFormViewController::addUnitsButton() {
    if (iv_Units) iv_Units->removeFromSuperview();
    iv_Units.reset();
    if (soldByPortion()) {
        bt_UnitsL->setTitle(kPortionSmall);
        bt_UnitsZ->setTitle(kPortionMiddle);
        bt_UnitsD->setTitle(kPortionLarge);
        iv_Units = std::make_shared<ui::ImageView>(kit::picture(kit::interfacePicture(31)));
        iv_Units->setFrame(bt_UnitsL->frame());
        iv_Units->setUserInteractionEnabled(false);
        view()->insertSubview(iv_Units, 1);
    } else {
        bt_UnitsL->setTitle(std::string());
        bt_UnitsZ->setTitle(m_caip ? m_caip->m_strDanw : std::string());
        bt_UnitsD->setTitle(std::string());
    }
    // Without portions the outer two buttons have nothing to offer: blank boxes would look broken.
    bt_UnitsL->setHidden(!soldByPortion());
    bt_UnitsD->setHidden(!soldByPortion());
}

void UICaipFormViewController::showInterface() {
    if (!iv_Units || !m_dish || !soldByPortion()) return;
    const std::string& unit = m_dish->m_strUnits;
    const auto& b = unit == kPortionLarge ? bt_UnitsD : unit == kPortionMiddle ? bt_UnitsZ : bt_UnitsL;
    iv_Units->setFrame(b->frame());
}

// ---- redraw -----------------------------------------------------------------------------------

std::string UICaipFormViewController::methodText() const {
    std::string text;
    for (int i = 1; m_zuofs && i < lineedit::rowsOf(*m_zuofs); ++i) {
        if (m_zuofs->m_uint[i] != 1) continue;
        if (!text.empty()) text += ",";
        text += m_zuofs->m_name[i];
        if (!m_zuofs->m_str1[i].empty()) text += "*" + m_zuofs->m_str1[i];
    }
    return text;
}

std::string UICaipFormViewController::tasteText() {
    std::string names;
    auto db = NSServer::getCaipDB();
    if (db && db->m_kouws) {
        const NSATreeClass& t = *db->m_kouws;
        for (int i = 1; i < lineedit::rowsOf(t); ++i) {
            if (t.m_uint[i] != 1) continue;
            if (!names.empty()) names += ",";
            names += t.m_name[i];
        }
    }
    const std::string listed = m_dish->CreateKouwString();
    if (names.empty()) return listed;
    return listed.empty() ? names : names + "," + listed;
}

void UICaipFormViewController::showDish() {
    if (!m_dish || !isViewLoaded()) return;
    NSDishClass& line = *m_dish;
    const std::string currency = word("yuan");
    tx_Num->setText(lineedit::numberText(line.m_fQuantity));
    tx_Unit->setText(line.m_strUnits);
    tx_Price->setText(line.m_strPrice + currency);
    auto db = NSServer::getCaipDB();
    line.m_fPrice2 = m_zuofs ? lineedit::methodSurcharge(line, *m_zuofs, db.get()) : 0.0f;
    // The table is built anew: its item buttons go, and the free-text row's controls unless it stays.
    for (auto& b : zuofkwBS) b->removeFromSuperview();
    zuofkwBS.clear();
    if (tableType != kFreeTextTab) {
        if (tf_require) {
            tf_require->setDelegate(nullptr);
            tf_require->removeFromSuperview();
        }
        if (bt_jiaj) bt_jiaj->removeFromSuperview();
        tf_require.reset();
        bt_jiaj.reset();
    }
    const std::string methods = methodText();
    const std::string tastes = tasteText();
    const std::string tail = methods.empty() ? tastes : (tastes.empty() ? methods : methods + "," + tastes);
    if (line.m_fQuantity2 == 0)
        tx_buttom->setText(platform::fmt("%@ %g%@ %g%@ %@", line.m_strCaipName, line.m_fQuantity, line.m_strUnits,
                                         line.GetPrice(), currency, tail));
    else
        tx_buttom->setText(platform::fmt("%@ %g%@ %g条/只 %g%@ %@", line.m_strCaipName, line.m_fQuantity,
                                         line.m_strUnits, line.m_fQuantity2, line.GetPrice(), currency, tail));
    tb_zuofkw->reloadData();
}

// ---- tabs and table ---------------------------------------------------------------------------

void UICaipFormViewController::selectTab(int tab) {
    if (isSubViewShow(false)) return;
    const std::pair<int, std::shared_ptr<ui::Button>*> buttons[] = {
        {kMethodsTab, &bt_Zuof}, {kTastesTab, &bt_Kouw}, {kFreeTextTab, &bt_Spec}, {kUnitsTab, &bt_Units}};
    for (const auto& [t, b] : buttons) (*b)->setBackgroundImage(t == tab ? kit::picture(kit::interfacePicture(48)) : nullptr);
    tableType = tab;
    showDish();
}

void UICaipFormViewController::OnButtonZf() { selectTab(kMethodsTab); }
void UICaipFormViewController::OnButtonSpec() { selectTab(kFreeTextTab); }
void UICaipFormViewController::OnButtonUnits() { selectTab(kUnitsTab); }

void UICaipFormViewController::OnButtonKouw() {
    if (isSubViewShow(false)) return;
    selectTab(kTastesTab);
    auto db = NSServer::getCaipDB();
    if (!db || !db->hasKouwC || !db->m_kouws || !caipController || !m_dish) return;
    auto copy = std::make_shared<NSATreeClass>();
    copy->copy(*db->m_kouws);
    selectController = lineedit::openPicker(this, caipController->formHostView(), copy, kTastePicker, true, std::string(),
                                            lineedit::wordFormat("caipf6", {m_dish->m_strCaipName}), std::nullopt);
}

int UICaipFormViewController::numberOfRows(ui::TableView&, int) {
    auto db = NSServer::getCaipDB();
    switch (tableType) {
    case kFreeTextTab: return 1;
    case kMethodsTab: return m_zuofs ? rowsFor(lineedit::rowsOf(*m_zuofs)) : 0;
    case kTastesTab: return db && db->m_kouws ? rowsFor(lineedit::rowsOf(*db->m_kouws)) : 0;
    case kUnitsTab: return m_dish ? rowsFor(static_cast<int>(m_dish->m_muNameArray.size())) : 0;
    default: return 0;
    }
}

double UICaipFormViewController::heightForRow(ui::TableView&, const ui::IndexPath&) {
    return tableType == kFreeTextTab ? 40 : 30;
}

std::shared_ptr<ui::Button> UICaipFormViewController::itemButton(int tag, const ui::Rect& frame, const std::string& title,
                                                                 bool checked, std::function<void()> action) {
    for (auto& b : zuofkwBS)
        if (b->tag() == tag) return b;
    auto b = std::make_shared<ui::Button>(ui::Button::Type::Custom, frame);
    b->setTitle(title);
    b->setTitleColor(kItemInk);
    b->setTitleFont(ui::Font::systemFont(15));
    // Outlined, so that an unchecked item still reads as something to tap.
    b->setCornerRadius(4);
    b->setBorder(1, kit::kLine);
    b->setTag(tag);
    if (checked) b->setBackgroundImage(kit::picture(kit::interfacePicture(49)));
    b->addTarget(ui::ControlEvent::TouchUpInside, [action = std::move(action)](ui::Control&) { action(); });
    zuofkwBS.push_back(b);
    return b;
}

std::shared_ptr<ui::TableViewCell> UICaipFormViewController::cellForRow(ui::TableView&, const ui::IndexPath& path) {
    auto cell = std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::Default, "SimpleTableIdentifier");
    cell->setSelectionStyle(ui::TableViewCell::SelectionStyle::None);
    ui::View& content = *cell->contentView();
    const int r = path.row;
    auto db = NSServer::getCaipDB();
    if (tableType == kMethodsTab && m_zuofs) {
        for (int c = 1; c <= 3; ++c) {
            const int row = 3 * r + c;
            if (row >= lineedit::rowsOf(*m_zuofs)) break;
            auto b = itemButton(row, {100.0 * c - 100, 0, 98, 30},
                                lineedit::methodTitle(m_zuofs->m_name[row], m_zuofs->m_state[row], "", false),
                                m_zuofs->m_uint[row] == 1, [this, row] { didSelectZuof(row); });
            content.addSubview(b);
        }
    } else if (tableType == kTastesTab && db && db->m_kouws) {
        const NSATreeClass& t = *db->m_kouws;
        for (int c = 1; c <= 3; ++c) {
            const int row = 3 * r + c;
            if (row >= lineedit::rowsOf(t)) break;
            const std::string& state = t.m_state[row];
            auto b = itemButton(row, {100.0 * c - 100, 1, 98, 30}, t.m_name[row] + state.substr(0, state.find(';')),
                                t.m_uint[row] == 1, [this, row] { didSelectKouw(row); });
            content.addSubview(b);
        }
    } else if (tableType == kUnitsTab && m_dish) {
        const auto& names = m_dish->m_muNameArray;
        for (int c = 0; c < kUnitsPerRow; ++c) {
            const int index = kUnitsPerRow * r + c;
            if (index >= static_cast<int>(names.size())) break;
            auto b = itemButton(index, {8 + 102.0 * c, 1, 98, 34}, names[index], names[index] == m_dish->m_strUnits,
                                [this, index] { didSelectUnits(index); });
            b->setTitleFont(kit::bodyFont());
            content.addSubview(b);
        }
    } else if (tableType == kFreeTextTab && m_dish) {
        bool fresh = false;
        if (!tf_require) {
            tf_require = std::make_shared<ui::TextField>(ui::Rect{9, 3, 236, 34});
            tf_require->setTextAlignment(ui::TextAlignment::Left);
            tf_require->setBorderStyle(ui::TextField::BorderStyle::RoundedRect);
            tf_require->setPlaceholder(word("caipf2"));
            tf_require->setReturnKeyType(ui::ReturnKeyType::Done);
            tf_require->setDelegate(this);
            fresh = true;
        }
        if (!bt_jiaj) {
            bt_jiaj = std::make_shared<ui::Button>(ui::Button::Type::Custom, ui::Rect{250, 1, 60, 38});
            bt_jiaj->setBackgroundImage(kit::picture("1-31.png"));
            bt_jiaj->setTitleColor(kItemInk);
            bt_jiaj->addTarget(ui::ControlEvent::TouchUpInside, [this](ui::Control&) { OnButtonJiaj(); });
        }
        bt_jiaj->setTitle(m_dish->m_fPrice3 > 0 ? platform::fmt("%g%@", m_dish->m_fPrice3, word("yuan")) : std::string("加价"));
        tf_require->setText(m_dish->GetKouwDefine());
        content.addSubview(tf_require);
        content.addSubview(bt_jiaj);
        if (fresh) {
            // After the cell is in the table, so the field is in the window when it takes the keyboard.
            std::weak_ptr<ui::TextField> weak = tf_require;
            platform::RunLoop::main().post([weak] {
                if (auto f = weak.lock(); f && f->window()) f->becomeFirstResponder();
            });
        }
    }
    return cell;
}

// ---- choosing ---------------------------------------------------------------------------------

void UICaipFormViewController::didSelectZuof(int row) {
    if (isSubViewShow(false) || !m_zuofs) return;
    const bool several = m_caip && m_caip->m_iMultizuof != 0;
    if (lineedit::tapMethod(*m_zuofs, row, several)) {
        changeZuoShulRow = row;
        const std::string typed = m_zuofs->m_str1[row];
        openPad(kMethodQuantityPad, typed.empty() ? "1" : typed, "", false);
        if (several) return;
    }
    showDish();
}

void UICaipFormViewController::didSelectKouw(int row) {
    if (isSubViewShow(false)) return;
    auto db = NSServer::getCaipDB();
    if (!db || !db->m_kouws || row < 1 || row >= lineedit::rowsOf(*db->m_kouws)) return;
    NSATreeClass& t = *db->m_kouws;
    // A category row is only a heading.
    if (t.GetChildNumber(row) >= 1) return;
    t.m_uint[row] = t.m_uint[row] == 1 ? 0 : 1;
    showDish();
}

void UICaipFormViewController::didSelectUnits(int index) {
    if (isSubViewShow(false) || !m_dish || index < 0) return;
    const auto i = static_cast<std::size_t>(index);
    if (i >= m_dish->m_muNameArray.size()) return;
    if (i < m_dish->m_muPriceArray.size() && !m_dish->m_muPriceArray[i].empty()) m_dish->m_strPrice = m_dish->m_muPriceArray[i];
    m_dish->m_strUnits = m_dish->m_muNameArray[i];
    showDish();
    if (caipController) caipController->showDish();
}

void UICaipFormViewController::unitsL() { choosePortion(kPortionSmall, bt_UnitsL); }
void UICaipFormViewController::unitsZ() { choosePortion(kPortionMiddle, bt_UnitsZ); }
void UICaipFormViewController::unitsD() { choosePortion(kPortionLarge, bt_UnitsD); }

void UICaipFormViewController::choosePortion(const std::string& portion, const std::shared_ptr<ui::Button>& button) {
    if (isSubViewShow(false) || !soldByPortion() || !m_dish) return;
    if (iv_Units) {
        const std::string& now = m_dish->m_strUnits;
        // The marker crosses the middle button between the two ends: it takes twice as long.
        const bool across = (portion == kPortionSmall && now == kPortionLarge) ||
                            (portion == kPortionLarge && now == kPortionSmall);
        ui::Animation::begin(std::nullopt);
        ui::Animation::setDuration(across ? 0.6 : 0.3);
        iv_Units->setFrame(button->frame());
        ui::Animation::commit();
    }
    changePrice(portion);
    showDish();
    // The detail view shows the line's price and unit too: once the form slides away it must not
    // show the portion left.
    if (caipController) caipController->showDish();
}

void UICaipFormViewController::changePrice(const std::string& portion) {
    if (!m_dish) return;
    NSDishClass& line = *m_dish;
    if (m_caip && m_caip->m_bCustom) {
        line.m_strUnits = portion;
        return;
    }
    if (line.m_muNameArray.size() <= 1 && soldByPortion()) {
        const double price = platform::leadingDouble(m_caip->m_strPrice);
        if (portion == kPortionSmall)
            line.m_strPrice = m_caip->m_strPrice;
        else
            line.m_strPrice = lineedit::numberText(price * (portion == kPortionMiddle ? NSServer::getFMIDSTYLE()
                                                                                      : NSServer::getFBIGSTYLE()));
        line.m_strUnits = portion;
        return;
    }
    for (std::size_t i = 0; i < line.m_muNameArray.size(); ++i) {
        if (line.m_muNameArray[i] != portion) continue;
        // A unit without a price of its own keeps the line's price.
        if (i < line.m_muPriceArray.size() && !line.m_muPriceArray[i].empty()) line.m_strPrice = line.m_muPriceArray[i];
        line.m_strUnits = portion;
    }
}

void UICaipFormViewController::SelectDlgOk() {
    auto picker = selectController;
    isSubViewShow(false);
    auto db = NSServer::getCaipDB();
    if (picker && picker->m_tag == kTastePicker && db && db->m_kouws && picker->m_tree) db->m_kouws->copy(*picker->m_tree);
    showDish();
}

void UICaipFormViewController::SelectDlgCancel() { isSubViewShow(false); }

// ---- swipe ------------------------------------------------------------------------------------

void UICaipFormViewController::touchesBegan(const ui::TouchSet& touches, const ui::Event*) {
    touchOpen_ = isSubViewShow(false);
    paged_ = false;
    if (touchOpen_) return;
    if (ui::Touch* touch = touches.anyObject()) gestureStartPoint = touch->locationInView(view().get());
}

void UICaipFormViewController::touchesMoved(const ui::TouchSet& touches, const ui::Event*) {
    if (touchOpen_ || paged_ || isSubViewShow(true) || !caipController) return;
    ui::Touch* touch = touches.anyObject();
    if (!touch) return;
    const ui::Point p = touch->locationInView(view().get());
    const double dx = gestureStartPoint.x - p.x;
    const double dy = std::abs(gestureStartPoint.y - p.y);
    if (dy > kSwipeDrift || std::abs(dx) < kSwipeMin) return;
    // One page per touch: a long swipe must not run through several dishes.
    paged_ = true;
    if (dx > 0)
        caipController->nextCaip();
    else
        caipController->lastCaip();
    // The host shows another dish in the same line: the form follows it at once.
    auto db = NSServer::getCaipDB();
    m_caip = db && m_dish ? db->GetCaipFromID(m_dish->caipID()) : nullptr;
    addUnitsButton();
    showInterface();
    showDish();
}

void UICaipFormViewController::touchesEnded(const ui::TouchSet&, const ui::Event*) { isSubViewShow(false); }
