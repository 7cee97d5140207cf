// The root's moves between the ordering screens: dish menu, dish detail view, set-meal chooser and
// screen, sold-out list, order list and order-line editor, with the screen announcements that
// tell the back office which screen shows the current desk.

#include "core/NSServer.h"
#include "model/NSATreeClass.h"
#include "model/NSCaipClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSCplbTreeClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Animation.h"
#include "screens/lineedit/UIQuickCaipViewController.h"
#include "screens/lineedit/UISelectBomViewController.h"
#include "screens/menu/UICaipViewController.h"
#include "screens/menu/UISearchCaipViewController.h"
#include "screens/menu/UISelectCaipViewController.h"
#include "screens/menu/UITaoCanViewController.h"
#include "screens/orderlist/UIDishLViewController.h"
#include "screens/root/SwitchViewController.h"
#include "screens/skin/UIWelcomeViewController.h"
#include "screens/skin/VirtualForm.h"

namespace {

constexpr const char* kMenuShown = "selectcaipdlg";
constexpr const char* kDishShown = "caipdlg";
constexpr const char* kListShown = "dishlistdlg";
constexpr const char* kWelcomeShown = "zirevovuzud";

// The screen announcement for the current desk (none while it has no id).
void announce(const std::string& key, const std::optional<std::string>& param) {
    NSServer::sendTV(key, NSServer::getNowDesk()->m_strDeskID, param);
}

// Whether the set meal offers a choice: a row of the set-meal table for it with ";" in its
// candidate list.
bool setMealHasChoice(const NSDishClass& line) {
    auto db = NSServer::getCaipDB();
    if (!db || !db->m_Bom) return false;
    const auto& ids = db->m_Bom->m_str1;
    const auto& candidates = db->m_Bom->m_str2;
    for (std::size_t k = 1; k < ids.size() && k < candidates.size(); ++k)
        if (ids[k] == line.caipID() && candidates[k].find(';') != std::string::npos) return true;
    return false;
}

}  // namespace

bool SwitchViewController::menuHasCategories() {
    auto db = NSServer::getCaipDB();
    return db && !db->rootCplbTrees.empty();
}

std::shared_ptr<NSCplbTreeClass> SwitchViewController::firstShownCategory(const std::shared_ptr<NSCplbTreeClass>& node) {
    if (!node) return nullptr;
    return node->subCplbTrees.empty() ? node : node->subCplbTrees.front();
}

std::shared_ptr<NSCplbTreeClass> SwitchViewController::firstShownCategory() {
    return menuHasCategories() ? firstShownCategory(NSServer::getCaipDB()->rootCplbTrees.front()) : nullptr;
}

std::shared_ptr<UICaipViewController> SwitchViewController::makeDetail(int origin) {
    auto detail = std::make_shared<UICaipViewController>();
    detail->setRootController(this);
    detail->setType(origin);
    return detail;
}

void SwitchViewController::slideUp(ui::ViewController& screen, const std::string& name) {
    const ui::Rect r = frameRect_;
    addOnTop(screen, {0, r.height(), r.width(), r.height()});
    animate(name, 0.5, [&] { screen.view()->setFrame(r); });
}

void SwitchViewController::slideDown(ui::ViewController* screen, const std::string& name) {
    const ui::Rect r = frameRect_;
    animate(name, 0.5, [&] {
        if (screen) screen->view()->setFrame({0, r.height(), r.width(), r.height()});
    });
}

// ---- Welcome screen and dish menu -------------------------------------------------------------

void SwitchViewController::begin(const std::optional<std::string>& key) {
    if (!menuHasCategories()) {
        showRootAlert(word("switch2"));
        return;
    }
    auto db = NSServer::getCaipDB();
    std::shared_ptr<NSCplbTreeClass> tree;
    if (key) tree = NSCplbTreeClass::getCplbTreeFromCplbTrees(*key, db->rootCplbTrees);
    NSServer::setUseCplbTree(tree);

    auto menu = std::make_shared<UISelectCaipViewController>();
    menu->setRootController(this);
    selectCaipViewController = menu;
    menu->view()->setFrame(frameRect_);
    menu->setNowCplb(tree ? firstShownCategory(tree) : firstShownCategory());
    announce(kMenuShown, key);

    view()->addSubview(menu->view());
    animate("begin", 0.75, [this] {
        ui::Animation::setCurve(ui::Animation::Curve::EaseInOut);
        ui::Animation::setTransition(ui::Animation::Transition::FlipFromRight, *view(), true);
    });
    welcomeViewController = nullptr;
    menu->flashCaip();
}

void SwitchViewController::backToWel() {
    // Before the welcome screen shows: it marks the current desk's dishes from the menu.
    endGuestOrder();
    if (!welcomeViewController) {
        auto welcome = std::make_shared<UIWelcomeViewController>("UIWelcomeViewController", false);
        welcome->setRootController(this);
        welcomeViewController = welcome;
    }
    addOnTop(*welcomeViewController, frameRect_);
    // The screen saver counts its idle time from the welcome screen's return, not from before.
    welcomeViewController->restartScreenSaver();
    announce(kWelcomeShown, "");
    // Not the root's transition: nothing happens when it ends.
    ui::Animation::begin(std::string("View Flip"));
    ui::Animation::setDuration(0.75);
    ui::Animation::setCurve(ui::Animation::Curve::EaseInOut);
    ui::Animation::setTransition(ui::Animation::Transition::FlipFromLeft, *view(), true);
    ui::Animation::commit();
}

// ---- Dish detail view and set meals -------------------------------------------------------------

bool SwitchViewController::showBigCaip1(const std::shared_ptr<NSCaipClass>& dish) {
    auto detail = makeDetail(UICaipViewController::kFromMenu);
    detail->getSelectCaip(dish);
    caipViewController = detail;
    auto line = detail->m_dish();
    if (line && line->m_bisSet && !line->m_bAddOn && setMealHasChoice(*line)) {
        auto chooser = std::make_shared<UISelectBomViewController>();
        selectBomViewController = chooser;
        chooser->setM_dish(line);
        chooser->setRootController(this);
        fadeIn(*chooser->view(), frameRect_);
        return false;
    }
    detail->view()->setFrame(frameRect_);
    // Beneath every screen while the menu enlarges the tapped picture over it.
    view()->insertSubview(detail->view(), 0);
    return true;
}

void SwitchViewController::showBigCaip() {
    std::string id;
    if (auto* detail = caipViewController.get().get()) {
        if (detail->isViewLoaded() && detail->view()->superview() == view().get()) view()->bringSubviewToFront(detail->view().get());
        if (detail->m_dish()) id = detail->m_dish()->caipID();
    }
    announce(kDishShown, id);
}

void SwitchViewController::backToSelectCaip(bool animated) {
    caipViewController = nullptr;
    if (selectCaipViewController) selectCaipViewController->bigCaiBack(animated);
    announce(kMenuShown, "");
}

void SwitchViewController::bomSelectCaipBack() {
    if (selectBomViewController) fadeOut("bomsb", *selectBomViewController->view());
}

void SwitchViewController::showBomDish(const std::shared_ptr<NSDishClass>& line) {
    auto setMeal = std::make_shared<UITaoCanViewController>();
    taoCanViewController = setMeal;
    setMeal->setRootController(this);
    setMeal->getSelectDish(line);
    setMeal->loadExDishs();
    slideUp(*setMeal, "bomcai");
}

void SwitchViewController::BomCaiBackToSelect() {
    if (auto* detail = caipViewController.controller()) view()->insertSubview(detail->view(), 2);
    if (auto* setMeal = taoCanViewController.controller()) view()->bringSubviewToFront(setMeal->view().get());
    slideDown(taoCanViewController.controller(), "bomcaiback");
}

void SwitchViewController::showBigCaipForEx(const std::shared_ptr<NSDishClass>& item) {
    auto detail = makeDetail(UICaipViewController::kSetMealItem);
    detail->getSelectDish(item);
    bom_caipViewController = detail;
    addOnTop(*detail, frameRect_);
}

void SwitchViewController::BigCaipExBack() {
    bom_caipViewController = nullptr;
    if (taoCanViewController) taoCanViewController->tb_dishs()->reloadData();
}

void SwitchViewController::bomAddCaip() {
    auto menu = std::make_shared<UISelectCaipViewController>();
    menu->setRootController(this);
    bom_selectCaipViewController = menu;
    menu->setNowCplb(firstShownCategory());
    menu->setType(UISelectCaipViewController::kSetMealAdd);
    addOnTop(*menu, frameRect_);
    slideDown(taoCanViewController.controller(), "bomaddcaip");
}

void SwitchViewController::bom_showBigCaip1(const std::shared_ptr<NSCaipClass>& dish) {
    auto detail = makeDetail(UICaipViewController::kFromSetMealAdd);
    detail->getSelectCaip(dish);
    bom_caipViewController = detail;
    detail->view()->setFrame(frameRect_);
    view()->insertSubview(detail->view(), 0);
}

void SwitchViewController::bom_showBigCaip() {
    if (auto* detail = bom_caipViewController.controller()) view()->bringSubviewToFront(detail->view().get());
}

void SwitchViewController::bom_backToSelectCaip(bool animated) {
    bom_caipViewController = nullptr;
    if (bom_selectCaipViewController) bom_selectCaipViewController->bigCaiBack(animated);
}

void SwitchViewController::bomAddCaipBack() {
    if (taoCanViewController) taoCanViewController->tb_dishs()->reloadData();
    ui::ViewController* setMeal = taoCanViewController.controller();
    animate("bomaddcaipback", 0.5, [&] {
        if (setMeal) setMeal->view()->setFrame(frameRect_);
    });
}

void SwitchViewController::showSellOutList() {
    auto db = NSServer::getCaipDB();
    NSDishList items;
    if (db && db->m_SellOut) {
        for (const std::string& code : db->m_SellOut->m_code) {
            if (code.empty()) continue;
            auto item = std::make_shared<NSDishClass>();
            item->CopyCaip(db->GetCaipFromID(code));
            item->m_fQuantity = 1.0f;
            items.push_back(std::move(item));
        }
    }
    auto list = std::make_shared<NSDishClass>();
    list->setM_strCaipID(std::string());
    list->m_strCaipName = "沽清列表";
    list->m_ExDishs = std::move(items);
    list->m_bisSet = true;
    list->m_bisExp = true;

    auto setMeal = std::make_shared<UITaoCanViewController>();
    taoCanViewController = setMeal;
    setMeal->setType(UITaoCanViewController::kSoldOut);
    setMeal->setRootController(this);
    setMeal->getSelectDish(list);
    setMeal->loadExDishs();
    slideUp(*setMeal, "");
}

// ---- Order list and order-line editor -----------------------------------------------------------

void SwitchViewController::dishlist() {
    auto list = std::make_shared<UIDishLViewController>();
    listViewController = list;
    list->setRootController(this);
    list->setIsBackToWel(false);
    announce(kListShown, "");
    slideUp(*list, "dishlist");
}

void SwitchViewController::dishlistBackToSelectCaip() {
    if (selectCaipViewController) selectCaipViewController->flashCaip();
    announce(kMenuShown, "");
    slideDown(listViewController.controller(), "dishlistb");
}

void SwitchViewController::openEditor(const std::shared_ptr<NSCaipClass>& dish, const std::shared_ptr<NSDishClass>& line,
                                      bool setMealItem, bool modify) {
    auto editor = std::make_shared<UIQuickCaipViewController>();
    quickCaipViewController = editor;
    editor->setM_caip(dish);
    editor->setM_dish(line);
    editor->setRootController(this);
    if (setMealItem) editor->setType(UIQuickCaipViewController::kSetMealItem);
    if (modify) editor->setIsModify(true);
    fadeIn(*editor->view(), frameRect_, std::string("showquick"));
}

void SwitchViewController::showQuickCaip(const std::shared_ptr<NSCaipClass>& dish,
                                         const std::shared_ptr<NSDishClass>& line, bool setMealItem) {
    openEditor(dish, line, setMealItem, false);
}

void SwitchViewController::modifyCaip(const std::shared_ptr<NSDishClass>& line) {
    if (!line) return;
    if (line->m_iState != NSDishClass::kUnsent) {
        auto alert = std::make_shared<ui::AlertView>(word("tishi"), std::string("不能修改已下单的菜。"), this, word("onok"));
        alert->show();
        return;
    }
    auto db = NSServer::getCaipDB();
    openEditor(db ? db->GetCaipFromID(line->caipID()) : nullptr, line, false, true);
}

void SwitchViewController::quickCaipBack() {
    if (selectCaipViewController) selectCaipViewController->flashCaip();
    const bool setMealItem =
        quickCaipViewController && quickCaipViewController->type() == UIQuickCaipViewController::kSetMealItem;
    if (!setMealItem && caipViewController) caipViewController.get()->backTo();
    if (listViewController) listViewController->m_dishTable()->reloadData();
    if (quickCaipViewController) fadeOut("quickback", *quickCaipViewController->view());
}

// ---- Entries of screens that nothing opens yet --------------------------------------------------

void SwitchViewController::showBigCaipForSearch(const std::shared_ptr<NSCaipClass>& dish) {
    auto detail = makeDetail(UICaipViewController::kFromSearch);
    detail->getSelectCaip(dish);
    caipViewController = detail;
    view()->insertSubview(detail->view(), 0);
}

void SwitchViewController::searchCaipBack() { searchCaipViewController = nullptr; }

void SwitchViewController::caipBackToDishlist() {
    takeOffScreen(caipViewController.controller());
    if (auto* list = listViewController.controller()) view()->addSubview(list->view());
    caipViewController = nullptr;
    if (listViewController) listViewController->m_dishTable()->reloadData();
}

void SwitchViewController::welShowDishList() {
    auto list = std::make_shared<UIDishLViewController>();
    listViewController = list;
    list->setRootController(this);
    list->setIsBackToWel(true);
    addOnTop(*list, frameRect_);
    takeOffScreen(welcomeViewController.controller());
    announce(kListShown, "");
}

void SwitchViewController::backToWelcomeFrom(ui::ViewController* screen) {
    takeOffScreen(screen);
    if (auto* welcome = welcomeViewController.controller()) view()->addSubview(welcome->view());
    if (welcomeViewController) welcomeViewController->restartScreenSaver();
    // The order may have changed meanwhile: the skinned form marks its dishes again.
    if (welcomeViewController && welcomeViewController->nowForm())
        welcomeViewController->nowForm()->flashCaip(*welcomeViewController);
    announce(kWelcomeShown, "");
}

void SwitchViewController::welDishListBack() { backToWelcomeFrom(listViewController.controller()); }

void SwitchViewController::welBigCaipBack() { backToWelcomeFrom(caipViewController.controller()); }

void SwitchViewController::welShowBigCaip(const std::shared_ptr<NSCaipClass>& dish) {
    auto detail = makeDetail(UICaipViewController::kFromSkin);
    detail->getSelectCaip(dish);
    caipViewController = detail;
    takeOffScreen(welcomeViewController.controller());
    view()->addSubview(detail->view());
    announce(kDishShown, dish && dish->m_strID ? *dish->m_strID : std::string());
}
