// The set-meal chooser's group walk: the choice groups of the set-meal table one after another,
// their candidates and picks, and the merge of the picks into the summary.

#include "screens/lineedit/UISelectBomViewController.h"

#include <algorithm>

#include "core/NSServer.h"
#include "model/NSATreeClass.h"
#include "model/NSCaipClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDishClass.h"
#include "platform/foundation/Text.h"
#include "screens/kit/ScreenKit.h"
#include "screens/kit/ScreenRoot.h"
#include "screens/kit/UINumViewController.h"
#include "screens/kit/UISelectViewController.h"
#include "screens/lineedit/LineEditKit.h"

using lineedit::word;

namespace {

constexpr ui::Color kChoiceInk = ui::Color::rgb(90, 111, 150);

// The dish id of a candidate entry: its text before the first ",".
std::string entryDishID(const std::string& entry) { return entry.substr(0, entry.find(',')); }

std::vector<std::string> splitEntries(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    while (true) {
        const auto semi = text.find(';', from);
        parts.push_back(text.substr(from, semi == std::string::npos ? std::string::npos : semi - from));
        if (semi == std::string::npos) break;
        from = semi + 1;
    }
    return parts;
}

const std::string* column(const std::vector<std::string>& c, int i) {
    return i >= 0 && static_cast<std::size_t>(i) < c.size() ? &c[static_cast<std::size_t>(i)] : nullptr;
}

}  // namespace

UISelectBomViewController::UISelectBomViewController(std::string nibName) : ui::ViewController(std::move(nibName)) {
    canSelectBtns.reserve(10);
    hasSelectBtns.reserve(10);
    nowcanSelectCaips.reserve(10);
    nowSelectDishs.reserve(10);
    allSelectDishs.reserve(10);
}

UISelectBomViewController::~UISelectBomViewController() {
    if (numController) numController->upViewController = nullptr;
    if (selectViewController) selectViewController->upViewController = nullptr;
    if (tv_list) {
        tv_list->setDataSource(nullptr);
        tv_list->setTableDelegate(nullptr);
    }
}

bool UISelectBomViewController::isHeader(const NSDishClass& line) { return line.caipID() == kGroupHeader; }

ui::Rect UISelectBomViewController::pageFrame() const {
    const ui::Rect b = rootController_ ? rootController_->frameRect() : ui::Rect{0, 0, 768, 1004};
    return {(b.width() - kPageWidth) / 2, (b.height() - kPageHeight) / 2, kPageWidth, kPageHeight};
}

void UISelectBomViewController::loadView() { setView(lineedit::shadedScreen(rootController_)); }

void UISelectBomViewController::viewDidLoad() {
    im_btn = kit::picture("2-126.png");

    selectBomView = std::make_shared<ui::View>(ui::Rect{0, 0, kPageWidth, kPageHeight});
    selectBomView->setBackgroundColor(kit::kPanel);
    ui::View& g = *selectBomView;
    dishname_L = kit::label(g, {10, 6, 300, 30}, "", kit::titleFont(), ui::TextAlignment::Center);
    first_L = kit::label(g, {10, 38, 300, 30}, "", kit::smallFont());
    hasselect_L = kit::label(g, {15, 241, 90, 24}, word("hasselect"), kit::smallFont());
    second_L = kit::label(g, {105, 241, 210, 24}, "", kit::smallFont(), ui::TextAlignment::Left, kit::kMuted);
    bt_cancel = kit::button(g, {15, 400, 135, 48}, word("oncancel2"), [this] { onCancel(); });
    bt_next = kit::button(g, {170, 400, 135, 48}, word("onnext2"), [this] { nextSelect(); }, kit::ButtonKind::Primary);

    showBomListView = std::make_shared<ui::View>(ui::Rect{0, 0, kPageWidth, kPageHeight});
    showBomListView->setBackgroundColor(kit::kPanel);
    ui::View& s = *showBomListView;
    dishname2_L = kit::label(s, {10, 6, 300, 30}, "", kit::titleFont(), ui::TextAlignment::Center);
    tv_list = std::make_shared<ui::TableView>(ui::Rect{0, 40, kPageWidth, 290});
    tv_list->setDataSource(this);
    tv_list->setTableDelegate(this);
    s.addSubview(tv_list);
    kit::button(s, {4, 340, 44, 44}, "-5", [this] { QuantityDel5(); });
    kit::button(s, {52, 340, 44, 44}, "-1", [this] { QuantityDel(); });
    bomQ_L = kit::label(s, {100, 340, 50, 44}, "1", kit::bigFont(), ui::TextAlignment::Center);
    kit::button(s, {154, 340, 44, 44}, "+1", [this] { QuantityAdd(); });
    kit::button(s, {202, 340, 44, 44}, "+5", [this] { QuantityAdd5(); });
    kit::button(s, {252, 340, 64, 44}, "全部口味", [this] { onButtonAllKouw(); })->setTitleFont(kit::smallFont());
    bt_cancel2 = kit::button(s, {15, 400, 135, 48}, word("oncancel2"), [this] { onCancel(); });
    bt_ok = kit::button(s, {170, 400, 135, 48}, word("onok2"), [this] { onOk(); }, kit::ButtonKind::Primary);

    // A set meal whose table rows are all gone shows its (empty) summary rather than a blank page.
    if (!beginSelect()) showListView();
}

void UISelectBomViewController::viewDidUnload() {
    selectBomView.reset();
    showBomListView.reset();
    dishname_L.reset();
    dishname2_L.reset();
    first_L.reset();
    second_L.reset();
    bomQ_L.reset();
    hasselect_L.reset();
    bt_ok.reset();
    bt_cancel.reset();
    bt_cancel2.reset();
    bt_next.reset();
    if (tv_list) {
        tv_list->setDataSource(nullptr);
        tv_list->setTableDelegate(nullptr);
    }
    tv_list.reset();
    im_btn.reset();
}

// ---- the group walk ----------------------------------------------------------------------------

bool UISelectBomViewController::beginSelect() {
    selectBomView->setFrame(pageFrame());
    if (!selectBomView->superview()) view()->addSubview(selectBomView);
    dishname_L->setText(m_dish_ ? m_dish_->m_strCaipName : std::string());

    auto db = NSServer::getCaipDB();
    if (!db || !db->m_Bom || !m_dish_) return false;
    const NSATreeClass& bom = *db->m_Bom;
    int i = pageindex;
    while (i < static_cast<int>(bom.m_str1.size()) && bom.m_str1[static_cast<std::size_t>(i)] != m_dish_->caipID()) ++i;
    if (i >= static_cast<int>(bom.m_str1.size())) return false;

    pageindex = i;
    const std::string* countText = column(bom.m_name, i);
    const std::string count = countText ? *countText : std::string();
    // A negative count would ask for no picks and yet never let the group pass.
    selectCaipNum = std::max(0, platform::leadingInt(count));
    const std::string* candidates = column(bom.m_str2, i);
    const std::vector<std::string> entries = splitEntries(candidates ? *candidates : std::string());

    const std::string* name = column(db->m_BomGroupName, i);
    if (name && !name->empty()) {
        auto header = std::make_shared<NSDishClass>();
        header->setM_strCaipID(std::string(kGroupHeader));
        header->m_strCaipName = *name;
        allSelectDishs.push_back(std::move(header));
        first_L->setText(lineedit::wordFormat("selectbom1", {*name, count}));
        second_L->setText(lineedit::wordFormat("selectbom2", {*name}));
    } else {
        // A group without a name gets no heading line: its items follow the previous group's.
        first_L->setText(lineedit::wordFormat("selectbom3", {count}));
        second_L->setText(word("selectbom4"));
    }
    pageindex = i + 1;
    showCanSelect(entries);
    return true;
}

std::shared_ptr<ui::Button> UISelectBomViewController::choiceButton(const ui::Rect& frame, const std::string& title,
                                                                    int tag) {
    auto b = std::make_shared<ui::Button>(ui::Button::Type::Custom, frame);
    b->setTitle(title);
    b->setTitleFont(ui::Font::boldSystemFont(12));
    b->setTitleColor(kChoiceInk);
    b->setBackgroundImage(im_btn);
    b->setTag(tag);
    selectBomView->addSubview(b);
    return b;
}

void UISelectBomViewController::showCanSelect(const std::vector<std::string>& entries) {
    for (auto& b : canSelectBtns) b->removeFromSuperview();
    canSelectBtns.clear();
    nowcanSelectCaips.clear();
    nowSelectDishs.clear();
    auto db = NSServer::getCaipDB();
    int n = 0;
    for (const std::string& entry : entries) {
        const std::string id = entryDishID(entry);
        if (id.empty()) continue;
        // A candidate the menu does not know cannot be named or ordered.
        auto dish = db ? db->GetCaipFromID(id) : nullptr;
        if (!dish) continue;
        auto b = choiceButton({(n % 3) * 96.0 + 15, (n / 3) * 42.0 + 73, 94, 40}, dish->m_strName, n);
        const int tag = n;
        b->addTarget(ui::ControlEvent::TouchUpInside, [this, tag](ui::Control&) { select(tag); });
        canSelectBtns.push_back(b);
        nowcanSelectCaips.push_back(dish);
        if (entries.size() == 1 && dish->m_iMustzuof == 0) {
            for (int k = 0; k < selectCaipNum; ++k) select(tag);
            nextSelect();
            return;
        }
        ++n;
    }
    showhasSelect();
}

void UISelectBomViewController::showhasSelect() {
    for (auto& b : hasSelectBtns) b->removeFromSuperview();
    hasSelectBtns.clear();
    if (dishname2_L) dishname2_L->setText(m_dish_ ? m_dish_->m_strCaipName : std::string());
    setCount(1);
    for (std::size_t n = 0; n < nowSelectDishs.size(); ++n) {
        const int tag = static_cast<int>(n);
        auto b = choiceButton({(tag % 3) * 96.0 + 15, (tag / 3) * 42.0 + 267, 94, 40},
                              nowSelectDishs[n]->m_strCaipName, tag);
        b->addTarget(ui::ControlEvent::TouchUpInside, [this, tag](ui::Control&) { unSelect(tag); });
        hasSelectBtns.push_back(std::move(b));
    }
}

void UISelectBomViewController::select(int tag) {
    if (static_cast<int>(nowSelectDishs.size()) >= selectCaipNum) return;
    if (tag < 0 || static_cast<std::size_t>(tag) >= nowcanSelectCaips.size()) return;
    auto pick = std::make_shared<NSDishClass>();
    pick->m_fQuantity = 1;
    pick->CopyCaip(nowcanSelectCaips[static_cast<std::size_t>(tag)]);
    if (pick->m_iMustzuof == 0) {
        nowSelectDishs.push_back(std::move(pick));
        showhasSelect();
        return;
    }
    // The pick joins the group only through the method picker's OK.
    m_zuofdish = pick;
    m_zuofs = lineedit::cookingMethodTree(*pick);
    openPicker(m_zuofs, 0, pick->m_iMultizuof != 0, std::string(), word("selectbom6"));
}

void UISelectBomViewController::unSelect(int tag) {
    if (nowSelectDishs.empty() || tag < 0 || static_cast<std::size_t>(tag) >= nowSelectDishs.size()) return;
    nowSelectDishs.erase(nowSelectDishs.begin() + tag);
    showhasSelect();
}

void UISelectBomViewController::nextSelect() {
    if (static_cast<int>(nowSelectDishs.size()) < selectCaipNum) {
        auto alert = std::make_shared<ui::AlertView>(
            word("lost"), platform::fmt(word("selectbom5"), selectCaipNum - static_cast<int>(nowSelectDishs.size())),
            this, word("onok"));
        alert->show();
        return;
    }
    for (auto& pick : nowSelectDishs) {
        auto same = std::find_if(allSelectDishs.begin(), allSelectDishs.end(), [&](const auto& line) {
            return !isHeader(*line) && line->caipID() == pick->caipID() && line->m_KouwArray.empty() &&
                   pick->m_KouwArray.empty();
        });
        if (same != allSelectDishs.end())
            (*same)->m_fQuantity += 1;
        else
            allSelectDishs.push_back(pick);
    }
    nowSelectDishs.clear();
    if (!beginSelect()) showListView();
}

void UISelectBomViewController::showListView() {
    selectBomView->removeFromSuperview();
    showBomListView->setFrame(pageFrame());
    view()->addSubview(showBomListView);
    dishname2_L->setText(m_dish_ ? m_dish_->m_strCaipName : std::string());
    tv_list->reloadData();
}

void UISelectBomViewController::onCancel() {
    if (rootController_) rootController_->bomSelectCaipBack();
}

void UISelectBomViewController::alertViewClickedButtonAtIndex(ui::AlertView&, int) { NSServer::setIsShowAlert(false); }

// ---- pickers and pads --------------------------------------------------------------------------

void UISelectBomViewController::openPicker(std::shared_ptr<NSATreeClass> tree, int tag, bool multi,
                                           const std::string& writeText, const std::string& title) {
    if (selectViewController || numController) return;
    selectViewController = lineedit::openPicker(this, *view(), std::move(tree), tag, multi, writeText, title,
                                                lineedit::screenRect(rootController_));
}

void UISelectBomViewController::SelectDlgCancel() {
    lineedit::closeDialog(*this, &UISelectBomViewController::selectViewController, "SelectBack");
}

void UISelectBomViewController::NumDlgCancel() {
    lineedit::closeDialog(*this, &UISelectBomViewController::numController, "ShulBack");
}
