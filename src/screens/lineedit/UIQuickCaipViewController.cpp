// The order-line editor's screen: its layout, the keypad, units, cooking methods, tastes, pads and
// the free-text slide. The commit is in UIQuickCaipViewControllerCommit.cpp.

#include "screens/lineedit/UIQuickCaipViewController.h"

#include <algorithm>

#include "core/NSServer.h"
#include "model/NSATreeClass.h"
#include "model/NSCaipClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDishClass.h"
#include "platform/foundation/Text.h"
#include "platform/ui/Animation.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Window.h"
#include "screens/kit/ScreenKit.h"
#include "screens/kit/ScreenRoot.h"
#include "screens/kit/UINumViewController.h"
#include "screens/kit/UISelectViewController.h"
#include "screens/lineedit/LineEditKit.h"

using lineedit::word;

namespace {

constexpr double kCardWidth = 560;
constexpr double kCardHeight = 600;
constexpr double kPanelTop = 53;
// How far the panel slides up while the free text is typed, so the keyboard leaves it visible.
constexpr double kFreeTextLift = 140;
// The look of the method and unit buttons.
constexpr ui::Color kOptionInk = ui::Color::rgb(90, 111, 150);

std::shared_ptr<ui::TextField> field(ui::View& parent, const ui::Rect& frame, ui::TextFieldDelegate* delegate) {
    auto f = std::make_shared<ui::TextField>(frame);
    f->setBorderStyle(ui::TextField::BorderStyle::RoundedRect);
    f->setFont(kit::bodyFont());
    f->setDelegate(delegate);
    parent.addSubview(f);
    return f;
}

}  // namespace

UIQuickCaipViewController::UIQuickCaipViewController(std::string nibName) : ui::ViewController(std::move(nibName)) {}

UIQuickCaipViewController::~UIQuickCaipViewController() {
    if (sv_zuof) sv_zuof->setDelegate(nullptr);
    if (sv_guig) sv_guig->setDelegate(nullptr);
    // The pad and picker hold this editor as a plain owner pointer.
    if (numController) numController->upViewController = nullptr;
    if (selectController) selectController->upViewController = nullptr;
}

bool UIQuickCaipViewController::isCustom() const { return m_caip_ && m_caip_->m_bCustom; }

void UIQuickCaipViewController::loadView() { setView(lineedit::shadedScreen(rootController_)); }

void UIQuickCaipViewController::viewDidLoad() {
    ui::View& v = *view();
    const ui::Rect bounds = v.bounds();
    card = std::make_shared<ui::View>(ui::Rect{(bounds.width() - kCardWidth) / 2, (bounds.height() - kCardHeight) / 2,
                                               kCardWidth, kCardHeight});
    card->setBackgroundColor(kit::kPanel);
    card->setClipsToBounds(true);
    v.addSubview(card);
    auto bar = kit::titleBar(*card, kCardWidth, m_dish_ ? m_dish_->m_strCaipName : std::string());
    lb_title = bar.title;

    subview = std::make_shared<ui::View>(ui::Rect{0, kPanelTop, kCardWidth, kCardHeight - kPanelTop});
    card->addSubview(subview);
    ui::View& p = *subview;

    lb_shul = kit::label(p, {20, 14, 70, 44}, word("shul"));
    tf_num = field(p, {90, 14, 170, 44}, this);
    tf_num->setUserInteractionEnabled(false);
    tf_num->setFont(kit::bigFont());
    bt_minus = kit::button(p, {270, 14, 60, 44}, "-1", [this] { onDel(); });
    bt_add = kit::button(p, {338, 14, 60, 44}, "+1", [this] { onAdd(); });
    bt_tiaoz = kit::button(p, {406, 14, 134, 44}, "条/只", [this] { tiaoz(); });

    // The keypad: digits by their value as tag, then the point and backspace.
    v_keys = std::make_shared<ui::View>(ui::Rect{20, 68, 270, 240});
    p.addSubview(v_keys);
    const char* keys[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", ".", "0", nullptr};
    for (int i = 0; i < 12; ++i) {
        const int tag = keys[i] == nullptr ? kKeyBackspace : (keys[i][0] == '.' ? kKeyPoint : keys[i][0] - '0');
        const ui::Rect f{(i % 3) * 92.0, (i / 3) * 60.0, 86, 54};
        auto key = kit::button(*v_keys, f, keys[i] ? keys[i] : word("del"), [this, tag] { onButtonNum(tag); });
        key->setTitleFont(kit::bigFont());
        key->setTag(tag);
        if (tag == kKeyBackspace) bt_del = key;
    }

    tf_caipname = field(p, {310, 68, 230, 44}, this);
    tf_caipname->setPlaceholder("菜名");
    tf_price = field(p, {310, 120, 230, 44}, this);
    tf_price->setPlaceholder("单价");
    bt_kouw = kit::button(p, {310, 172, 110, 44}, "口味", [this] { onButtonKouw(); });
    bt_jiaj = kit::button(p, {430, 172, 110, 44}, "加价", [this] { OnButtonJiaj(); });
    tf_otherKouw = field(p, {310, 224, 230, 44}, this);
    tf_otherKouw->setPlaceholder(word("caipf2"));
    tf_otherKouw->setReturnKeyType(ui::ReturnKeyType::Done);

    lb_guig = kit::label(p, {20, 320, 70, 40}, word("guig"));
    sv_guig = std::make_shared<ui::ScrollView>(ui::Rect{90, 320, 450, 40});
    sv_guig->setDelegate(this);
    p.addSubview(sv_guig);
    lb_zuof = kit::label(p, {20, 372, 70, 40}, word("zuof2"));
    sv_zuof = std::make_shared<ui::ScrollView>(ui::Rect{90, 372, 450, 85});
    sv_zuof->setDelegate(this);
    p.addSubview(sv_zuof);

    bt_ok = kit::button(p, {20, 475, 250, 56}, word("onok2"), [this] { onOk(); }, kit::ButtonKind::Primary);
    bt_cancel = kit::button(p, {290, 475, 250, 56}, word("oncancel2"), [this] { onCancel(); });

    // The method tree of this opening does not exist yet: the surcharge starts from 0.
    showDishName();
    loadZuof();
    showZuof();
    loadDanwShow();
    loadModify();
}

void UIQuickCaipViewController::viewDidUnload() {
    subview.reset();
    card.reset();
    v_keys.reset();
    tf_num.reset();
    tf_caipname.reset();
    tf_price.reset();
    tf_otherKouw.reset();
    lb_shul.reset();
    lb_guig.reset();
    lb_zuof.reset();
    lb_title.reset();
    bt_del.reset();
    bt_ok.reset();
    bt_cancel.reset();
    bt_kouw.reset();
    bt_jiaj.reset();
    bt_add.reset();
    bt_minus.reset();
    bt_tiaoz.reset();
    sv_zuof.reset();
    sv_guig.reset();
    zuofbts.clear();
    guigbts.clear();
}

// ---- preset, methods, units, fields ----------------------------------------------------------

void UIQuickCaipViewController::loadModify() {
    if (!m_dish_) return;
    auto db = NSServer::getCaipDB();
    if (db && db->m_kouws) lineedit::markTastesFrom(*m_dish_, *db->m_kouws);
    tf_otherKouw->setText(m_dish_->GetKouwDefine());
    tf_num->setText(lineedit::numberText(m_dish_->m_fQuantity));
    if (m_dish_->m_fPrice3 != 0) bt_jiaj->setTitle(platform::fmt("+%g", m_dish_->m_fPrice3));
}

void UIQuickCaipViewController::loadZuof() {
    // Method quantities start empty, in modify mode too: the stored ones are not read back.
    m_zuofs_ = m_dish_ ? lineedit::cookingMethodTree(*m_dish_) : std::make_shared<NSATreeClass>();
}

// Unit and cooking-method buttons are wide enough for a method's name with its surcharge
// ("加辣 2元") in the 14-point bold their titles use; narrower ones cut the name off.
constexpr double kOptionWidth = 105;
constexpr double kOptionPitch = 110;

std::shared_ptr<ui::Button> UIQuickCaipViewController::optionButton(ui::View& parent, const ui::Rect& frame,
                                                                    const std::string& title, bool checked) {
    static const std::string kBackground = "2-82.png";
    auto b = std::make_shared<ui::Button>(ui::Button::Type::Custom, frame);
    b->setBackgroundImage(kit::picture(kBackground));
    // Clear of the check mark at its left.
    b->setContentEdgeInsets({0, 16, 0, 0});
    b->setTitle(title);
    b->setTitleColor(kOptionInk);
    b->setTitleFont(ui::Font::boldSystemFont(14));
    if (checked) b->addSubview(std::make_shared<ui::ImageView>(kit::picture("2-83.png")));
    if (checked) b->subviews().back()->setFrame({5, 18, 21, 18});
    parent.addSubview(b);
    return b;
}

void UIQuickCaipViewController::showZuof() {
    for (auto& b : zuofbts)
        if (b) b->removeFromSuperview();
    const int m = m_zuofs_ ? lineedit::rowsOf(*m_zuofs_) - 1 : 0;
    zuofbts.assign(static_cast<std::size_t>(std::max(0, m)), nullptr);
    sv_zuof->setContentSize({((m + 1) / 2) * kOptionPitch, 85});
    showZuofInSight();
}

void UIQuickCaipViewController::showZuofInSight() {
    // A dish may offer hundreds of methods: their buttons are made as they scroll into sight.
    const ui::Rect sight = sv_zuof->bounds();
    const std::string currency = word("yuan");
    for (int i = 1; i <= static_cast<int>(zuofbts.size()); ++i) {
        const ui::Rect f{((i - 1) / 2) * kOptionPitch, ((i - 1) % 2) * 45.0, kOptionWidth, 40};
        auto& slot = zuofbts[static_cast<std::size_t>(i - 1)];
        if (slot || !f.intersects(sight)) continue;
        slot = optionButton(*sv_zuof, f, lineedit::methodTitle(m_zuofs_->m_name[i], m_zuofs_->m_state[i], currency, true),
                            m_zuofs_->m_uint[i] == 1);
        slot->setTag(i);
        slot->addTarget(ui::ControlEvent::TouchUpInside, [this, i](ui::Control&) { selectZuof(i); });
    }
    lineedit::showOnlyInSight(*sv_zuof);
}

void UIQuickCaipViewController::loadDanwShow() {
    for (auto& b : guigbts) b->removeFromSuperview();
    guigbts.clear();
    if (!m_dish_ || m_dish_->m_muNameArray.empty()) return;
    const auto& names = m_dish_->m_muNameArray;
    sv_guig->setContentSize({names.size() * kOptionPitch, 40});
    for (std::size_t i = 0; i < names.size(); ++i) {
        auto b = optionButton(*sv_guig, {i * kOptionPitch, 0, kOptionWidth, 40}, names[i], names[i] == m_dish_->m_strUnits);
        const int index = static_cast<int>(i);
        b->setTag(index);
        b->addTarget(ui::ControlEvent::TouchUpInside, [this, index](ui::Control&) { selectDanw(index); });
        guigbts.push_back(std::move(b));
    }
    lineedit::showOnlyInSight(*sv_guig);
}

void UIQuickCaipViewController::scrollViewDidScroll(ui::ScrollView& strip) {
    if (&strip == sv_zuof.get())
        showZuofInSight();
    else
        lineedit::showOnlyInSight(strip);
}

void UIQuickCaipViewController::showDishName() {
    if (!m_dish_) return;
    auto db = NSServer::getCaipDB();
    m_dish_->m_fPrice2 = m_zuofs_ ? lineedit::methodSurcharge(*m_dish_, *m_zuofs_, db.get()) : 0.0f;
    if (tf_caipname->text().empty()) {
        tf_caipname->setText(m_dish_->m_strCaipName);
        tf_price->setText(m_dish_->m_strPrice);
    }
    if (!isCustom()) {
        tf_caipname->setUserInteractionEnabled(false);
        tf_price->setUserInteractionEnabled(m_caip_ && m_caip_->m_iPrice == 1);
    }
}

void UIQuickCaipViewController::selectDanw(int index) {
    if (!m_dish_ || index < 0) return;
    const auto i = static_cast<std::size_t>(index);
    if (i >= m_dish_->m_muNameArray.size()) return;
    // A unit without a price of its own keeps the line's price.
    if (i < m_dish_->m_muPriceArray.size() && !m_dish_->m_muPriceArray[i].empty())
        m_dish_->m_strPrice = m_dish_->m_muPriceArray[i];
    m_dish_->m_strUnits = m_dish_->m_muNameArray[i];
    showDishName();
    // The unit's price shows in the field (a price typed for a dish priced at ordering gives way
    // to it); a custom dish keeps what was typed. Method taps leave the field alone.
    if (!isCustom()) tf_price->setText(m_dish_->m_strPrice);
    loadDanwShow();
}

void UIQuickCaipViewController::selectZuof(int row) {
    if (!m_zuofs_) return;
    const bool several = m_caip_ && m_caip_->m_iMultizuof != 0;
    const bool ask = lineedit::tapMethod(*m_zuofs_, row, several);
    if (ask) {
        changeZuoShulRow = row;
        const std::string typed = m_zuofs_->m_str1[row];
        openPad(kMethodQuantityPad, typed.empty() ? "1" : typed, several ? "请输入做法数量:" : "", false,
                lineedit::screenRect(rootController_));
        if (several) return;
    }
    showDishName();
    showZuof();
}

// ---- keypad ------------------------------------------------------------------------------------

void UIQuickCaipViewController::onButtonNum(int tag) {
    std::string text = tf_num->text();
    if (tag == kKeyBackspace) {
        if (text.size() > 1)
            text.pop_back();
        else
            text.assign(1, '0');
    } else {
        // Another tag is an empty key.
        const char key = tag >= 0 && tag <= 9 ? static_cast<char>('0' + tag) : (tag == kKeyPoint ? '.' : '\0');
        const bool hasPoint = text.find('.') != std::string::npos;
        if (platform::leadingInt(text) == 0 && !hasPoint) {
            text.clear();
            if (key) text.push_back(key);
        } else if (key && !(key == '.' && hasPoint)) {
            text.push_back(key);
        }
    }
    if (text == ".") text = "0.";
    tf_num->setText(text);
}

void UIQuickCaipViewController::onAdd() {
    tf_num->setText(lineedit::numberText(platform::leadingDouble(tf_num->text()) + 1));
}

void UIQuickCaipViewController::onDel() {
    tf_num->setText(lineedit::numberText(platform::leadingDouble(tf_num->text()) - 1));
}

// ---- tastes ------------------------------------------------------------------------------------

void UIQuickCaipViewController::onButtonKouw() {
    if (selectController || numController) return;
    auto db = NSServer::getCaipDB();
    // The picker works on a copy: its marks become the choice only at its OK.
    auto copy = std::make_shared<NSATreeClass>();
    if (db && db->m_kouws) copy->copy(*db->m_kouws);
    selectController = lineedit::openPicker(this, *view(), copy, kTastePicker, true, std::string(),
                                            lineedit::wordFormat("caipf6", {m_dish_ ? m_dish_->m_strCaipName : std::string()}),
                                            lineedit::screenRect(rootController_));
}

void UIQuickCaipViewController::SelectDlgOk() {
    if (!selectController) return;
    auto db = NSServer::getCaipDB();
    if (selectController->m_tag == kTastePicker && db && db->m_kouws && selectController->m_tree)
        db->m_kouws->copy(*selectController->m_tree);
    SelectDlgCancel();
}

void UIQuickCaipViewController::SelectDlgCancel() {
    lineedit::closeDialog(*this, &UIQuickCaipViewController::selectController, "SelectBack");
}

// ---- pads --------------------------------------------------------------------------------------

void UIQuickCaipViewController::openPad(int tag, const std::string& preset, const std::string& title, bool sign,
                                        const std::optional<ui::Rect>& frame) {
    if (numController) return;
    // The second quantity counts pieces (fish, crabs): a whole number.
    numController = lineedit::openPad(this, *view(), tag, preset, title, sign, frame, tag == kSecondQuantityPad);
}

void UIQuickCaipViewController::closePad() {
    lineedit::closeDialog(*this, &UIQuickCaipViewController::numController, "ShulBack");
}

void UIQuickCaipViewController::OnButtonJiaj() {
    if (!m_dish_) return;
    openPad(kSurchargePad, lineedit::numberText(m_dish_->m_fPrice3), "请输入加价金额:", isCustom(),
            lineedit::screenRect(rootController_));
}

void UIQuickCaipViewController::tiaoz() {
    if (!m_dish_) return;
    openPad(kSecondQuantityPad, lineedit::numberText(m_dish_->m_fQuantity2), word("caipf1"), false, std::nullopt);
}

void UIQuickCaipViewController::NumDlgOk() {
    if (!numController || !m_dish_) return;
    const UINumViewController& pad = *numController;
    const double v = platform::leadingDouble(pad.m_strNum);
    switch (pad.m_tag) {
    case kMethodQuantityPad:
        if (!m_zuofs_ || !lineedit::setMethodQuantity(*m_zuofs_, changeZuoShulRow, pad.m_strNum)) {
            lineedit::report(word("quickcaip1"));
            return;
        }
        showDishName();
        showZuof();
        break;
    case kSurchargePad:
        if (!pad.canFuS && v < 0) {
            lineedit::report(word("caipf4"));
            return;
        }
        m_dish_->m_fPrice3 = static_cast<float>(v);
        bt_jiaj->setTitle(platform::fmt("+%g", m_dish_->m_fPrice3));
        break;
    case kSecondQuantityPad:
        m_dish_->m_fQuantity2 = static_cast<float>(v);
        break;
    default:
        break;
    }
    closePad();
}

void UIQuickCaipViewController::NumDlgCancel() { closePad(); }

void UIQuickCaipViewController::alertViewClickedButtonAtIndex(ui::AlertView&, int) { NSServer::setIsShowAlert(false); }

// ---- text fields -------------------------------------------------------------------------------

bool UIQuickCaipViewController::textFieldShouldBeginEditing(ui::TextField&) { return true; }

void UIQuickCaipViewController::textFieldDidBeginEditing(ui::TextField& f) {
    // The lift clears the on-screen keyboard; a hardware keyboard covers nothing.
    if (&f != tf_otherKouw.get() || !ui::Window::keyboardCoversScreen(f)) return;
    ui::Animation::begin(std::string());
    ui::Animation::setDuration(0.3);
    ui::Rect r = subview->frame();
    subview->setFrame({r.x(), r.y() - kFreeTextLift, r.width(), r.height()});
    ui::Animation::commit();
}

void UIQuickCaipViewController::textFieldDidEndEditing(ui::TextField& f) {
    if (&f != tf_otherKouw.get() || !subview || !ui::Window::keyboardCoversScreen(f)) return;
    ui::Animation::begin(std::string());
    ui::Animation::setDuration(0.3);
    ui::Rect r = subview->frame();
    subview->setFrame({r.x(), r.y() + kFreeTextLift, r.width(), r.height()});
    ui::Animation::commit();
}

bool UIQuickCaipViewController::textFieldShouldReturn(ui::TextField& f) {
    f.resignFirstResponder();
    return true;
}

void UIQuickCaipViewController::onCancel() {
    if (rootController_) rootController_->quickCaipBack();
}
