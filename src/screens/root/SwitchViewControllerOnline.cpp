// The root's openers and closers of the online pages, and the way from the online home into the
// dish menu.

#include "core/NSServer.h"
#include "online/NSShopDBClass.h"
#include "online/NSWebMenuImport.h"
#include "platform/foundation/Text.h"
#include "screens/menu/UISelectCaipViewController.h"
#include "screens/online/UIChooseCityViewController.h"
#include "screens/online/UICollectionShopViewController.h"
#include "screens/online/UICustomerLoginViewController.h"
#include "screens/online/UICustomerRegistViewController.h"
#include "screens/online/UIDingCanViewController.h"
#include "screens/online/UIDingDanXViewController.h"
#include "screens/online/UIDingListViewController.h"
#include "screens/online/UIFunctionViewController.h"
#include "screens/online/UIJiFenViewController.h"
#include "screens/online/UIMapFindViewController.h"
#include "screens/online/UIModifyPersonViewController.h"
#include "screens/online/UIPasswordViewController.h"
#include "screens/online/UIPersonViewController.h"
#include "screens/online/UIShopShowViewController.h"
#include "screens/root/SwitchViewController.h"

namespace {

constexpr const char* kLoginFirst = "请先登录然后进行预定";

enum class Frame { ScreenRect, Own };

// Opens a page into its slot on top of the root's view; `configure` hands it its values before
// it is placed.
template <class Page>
std::shared_ptr<Page> openPage(SwitchViewController& root, ScreenSlot<Page>& slot, Frame frame,
                               const std::function<void(Page&)>& configure = nullptr) {
    auto page = std::make_shared<Page>();
    page->setRootViewController(&root);
    slot = page;
    if (configure) configure(*page);
    if (frame == Frame::ScreenRect) page->view()->setFrame(root.frameRect());
    root.view()->addSubview(page->view());
    return page;
}

}  // namespace

bool SwitchViewController::customerOrLogin() {
    auto store = NSServer::getShopDB();
    if (store && store->m_nowuser && !store->m_nowuser->m_id.empty()) return true;
    customerLogin();
    showMessage(kLoginFirst);
    return false;
}

void SwitchViewController::showshop(const std::shared_ptr<NSShopClass>& shop) {
    openPage<UIShopShowViewController>(*this, shopShowViewController, Frame::ScreenRect,
                                       [&](auto& page) { page.setM_shop(shop); });
}

void SwitchViewController::shopshowback() {
    shopShowViewController = nullptr;
    // The shop may have been added to or taken off the favourites.
    if (collectionShopViewController) collectionShopViewController->loadShop();
}

void SwitchViewController::showJif() { openPage(*this, jiFenViewController, Frame::ScreenRect); }
void SwitchViewController::JifBack() { jiFenViewController = nullptr; }

void SwitchViewController::modifyPerson() { openPage(*this, modifyPersonViewController, Frame::ScreenRect); }
void SwitchViewController::modifyPersonBack() { modifyPersonViewController = nullptr; }

void SwitchViewController::showPersonCenter() {
    if (customerOrLogin()) openPage(*this, personViewController, Frame::Own);
}
void SwitchViewController::personBack() { personViewController = nullptr; }

void SwitchViewController::modifyPassword() { openPage(*this, passwordViewCOntroller, Frame::Own); }
void SwitchViewController::passwordBack() { passwordViewCOntroller = nullptr; }

void SwitchViewController::showdingcan(const std::shared_ptr<NSShopClass>& shop, int kind) {
    if (!customerOrLogin()) return;
    openPage<UIDingCanViewController>(*this, dingCanViewController, Frame::ScreenRect, [&](auto& page) {
        page.setM_shop(shop);
        page.setDingtype(kind);
    });
}
void SwitchViewController::dingcanback() { dingCanViewController = nullptr; }

void SwitchViewController::customerLogin() { openPage(*this, customerLoginViewController, Frame::ScreenRect); }
void SwitchViewController::customerLoginBack() { customerLoginViewController = nullptr; }

void SwitchViewController::showCollection() {
    if (customerOrLogin()) openPage(*this, collectionShopViewController, Frame::Own);
}
void SwitchViewController::collectionBack() { collectionShopViewController = nullptr; }

void SwitchViewController::searchShop(const std::string& text) {
    openPage<UIMapFindViewController>(*this, mapFindViewController, Frame::ScreenRect, [&](auto& page) {
        page.setM_strSearchText(text);
        page.setShowShopType(UIMapFindViewController::kListView);
        page.setty(3);
    });
}

void SwitchViewController::showmapfind(bool map, int ty) {
    openPage<UIMapFindViewController>(*this, mapFindViewController, Frame::ScreenRect, [&](auto& page) {
        if (!map) page.setShowShopType(UIMapFindViewController::kListView);
        page.setty(ty);
    });
}
void SwitchViewController::mapfindback() { mapFindViewController = nullptr; }

void SwitchViewController::showDingL() {
    if (customerOrLogin()) openPage(*this, dingListViewController, Frame::ScreenRect);
}
void SwitchViewController::DingLBack() { dingListViewController = nullptr; }

void SwitchViewController::showDingDX(const std::shared_ptr<NSDingDClass>& order) {
    openPage<UIDingDanXViewController>(*this, dingDXViewController, Frame::ScreenRect,
                                       [&](auto& page) { page.setM_dingd(order); });
}
void SwitchViewController::dingDxBack() { dingDXViewController = nullptr; }
std::shared_ptr<NSDingDClass> SwitchViewController::dingDXOrder() const {
    return dingDXViewController ? dingDXViewController->m_dingd() : nullptr;
}

void SwitchViewController::chooseCity() { openPage(*this, chooseCityViewController, Frame::ScreenRect); }

void SwitchViewController::cityBackToFun() {
    chooseCityViewController = nullptr;
    if (functionViewController) functionViewController->bt_city()->setTitle(UIFunctionViewController::cityTitle());
}

void SwitchViewController::showFunction() {
    if (!functionViewController) {
        auto home = std::make_shared<UIFunctionViewController>();
        home->setRootViewController(this);
        functionViewController = home;
    }
    functionViewController->view()->setFrame(frameRect_);
    view()->addSubview(functionViewController->view());
}

void SwitchViewController::functionBack() {
    takeOffScreen(functionViewController.controller());
    endGuestOrder();
}

void SwitchViewController::endGuestOrder() {
    // A cart kept as the desk before a desk choice would be merged into the next desk opened.
    if (NSWebMenuImport::isGuestCart(chooseDeskBuffer)) chooseDeskBuffer = nullptr;
    NSWebMenuImport::endGuestOrder();
    // Held on, its order would take the waiter's own lines as the guest's cart ("提交订单").
    dingDXViewController = nullptr;
}

void SwitchViewController::showRegist() { openPage(*this, customerRegistViewController, Frame::ScreenRect); }
void SwitchViewController::registBack() { customerRegistViewController = nullptr; }

void SwitchViewController::selectDish() {
    takeOffScreen(functionViewController.controller());
    if (!menuHasCategories()) {
        showRootAlert(word("switch2"));
        return;
    }
    NSServer::setUseCplbTree(nullptr);
    auto menu = std::make_shared<UISelectCaipViewController>();
    menu->setRootController(this);
    selectCaipViewController = menu;
    menu->setNowCplb(firstShownCategory());
    addOnTop(*menu, frameRect_);
    menu->flashCaip();
}
