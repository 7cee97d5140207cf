#pragma once
// The root screen controller as every screen sees it: the view every screen lives in, the slots
// that hold the open screens, the services screens use to talk to the waiter, and the operations
// that open and close screens. The root (screens/root/SwitchViewController) implements it; the
// screens below the root know it only through this class, so they never include the root.

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/AlertView.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/ViewController.h"
#include "screens/kit/NSDialogProtocols.h"

class NSCaipClass;
class NSDishClass;
class NSDeskClass;
class NSShopClass;
class NSDingDClass;

class UIFunctionViewController;
class UITaoCanViewController;
class UIWelcomeViewController;
class UISelectCaipViewController;
class UISearchCaipViewController;
class UINumViewController;
class UICaipViewController;
class UIDishLViewController;
class UILoginViewController;
class UISelectViewController;
class UIMessageShowViewController;
class UISetViewController;
class UIYuDingViewController;
class UISelectBomViewController;
class UIQuickCaipViewController;
class UIWebSearchViewController;
class UIChooseCityViewController;
class UICustomerLoginViewController;
class UICustomerRegistViewController;
class UIMapFindViewController;
class UIShopShowViewController;
class UIDingCanViewController;
class UIDingListViewController;
class UIDingDanXViewController;
class UIPersonViewController;
class UIPasswordViewController;
class UIModifyPersonViewController;
class UICollectionShopViewController;
class UIJiFenViewController;

class ScreenRoot;

// One screen slot of the root. It owns the open screen; storing another screen or null lets the
// previous one go, and a screen that is let go of takes its view out of the root's view with it,
// so no view outlives the screen that drew it. Storing a screen needs its class to be complete;
// clearing the slot and reaching the screen as a controller do not.
template <class T>
class ScreenSlot {
public:
    explicit ScreenSlot(ScreenRoot& owner) : owner_(owner) {}
    ScreenSlot(const ScreenSlot&) = delete;
    ScreenSlot& operator=(const ScreenSlot&) = delete;

    ScreenSlot& operator=(std::shared_ptr<T> screen);
    ScreenSlot& operator=(std::nullptr_t);

    const std::shared_ptr<T>& get() const { return screen_; }
    operator const std::shared_ptr<T>&() const { return screen_; }
    T* operator->() const { return screen_.get(); }
    T& operator*() const { return *screen_; }
    explicit operator bool() const { return screen_ != nullptr; }
    bool operator==(std::nullptr_t) const { return screen_ == nullptr; }
    // The open screen as a plain controller (its view), or null.
    ui::ViewController* controller() const { return base_.get(); }

private:
    void letGo(std::shared_ptr<ui::ViewController> old);

    ScreenRoot& owner_;
    std::shared_ptr<T> screen_;
    std::shared_ptr<ui::ViewController> base_;
};

class ScreenRoot : public ui::ViewController,
                   public NSSelectDlg,
                   public NSNumDlg,
                   public ui::AlertViewDelegate {
public:
    explicit ScreenRoot(std::string nibName) : ui::ViewController(std::move(nibName)) {}

    // The root registered in the hub, or null when there is none. The root installs the lookup
    // when it is made (setCurrentLookup); until then there is no root.
    static std::shared_ptr<ScreenRoot> current();
    static void setCurrentLookup(std::function<std::shared_ptr<ScreenRoot>()> lookup);
    // The current root's screen rectangle, or none without a root.
    static std::optional<ui::Rect> currentFrame();

    // ---- Slots: non-null exactly while the screen is open (exceptions noted) ----------------
    // Every slot of the root stands here, those of the screens only the root opens too, so that
    // they keep one order and let go of their screens in it when the root goes.
    ScreenSlot<UIFunctionViewController> functionViewController{*this};  // online home; made at the first visit
    ScreenSlot<UITaoCanViewController> taoCanViewController{*this};
    ScreenSlot<UIWelcomeViewController> welcomeViewController{*this};
    ScreenSlot<UISelectCaipViewController> selectCaipViewController{*this};  // kept until the next menu
    ScreenSlot<UINumViewController> numViewController{*this};
    ScreenSlot<UICaipViewController> caipViewController{*this};
    ScreenSlot<UIDishLViewController> listViewController{*this};
    ScreenSlot<UILoginViewController> loginViewController{*this};
    ScreenSlot<UISelectViewController> selectViewController{*this};
    ScreenSlot<UIMessageShowViewController> messageViewController{*this};
    ScreenSlot<UISetViewController> setViewController{*this};
    // The desk that was current before a desk choice (or the transfer target); never cleared.
    std::shared_ptr<NSDeskClass> chooseDeskBuffer;
    ScreenSlot<UISelectCaipViewController> bom_selectCaipViewController{*this};
    ScreenSlot<UICaipViewController> bom_caipViewController{*this};
    ScreenSlot<UIYuDingViewController> yudingViewController{*this};
    ScreenSlot<UISelectBomViewController> selectBomViewController{*this};
    ScreenSlot<UIQuickCaipViewController> quickCaipViewController{*this};
    ScreenSlot<UIWebSearchViewController> webSearchViewController{*this};
    ScreenSlot<UIChooseCityViewController> chooseCityViewController{*this};
    ScreenSlot<UICustomerLoginViewController> customerLoginViewController{*this};
    ScreenSlot<UICustomerRegistViewController> customerRegistViewController{*this};
    ScreenSlot<UIMapFindViewController> mapFindViewController{*this};
    ScreenSlot<UIShopShowViewController> shopShowViewController{*this};
    ScreenSlot<UIDingCanViewController> dingCanViewController{*this};
    ScreenSlot<UIDingListViewController> dingListViewController{*this};
    ScreenSlot<UIDingDanXViewController> dingDXViewController{*this};
    ScreenSlot<UIPersonViewController> personViewController{*this};
    ScreenSlot<UIPasswordViewController> passwordViewCOntroller{*this};
    ScreenSlot<UIModifyPersonViewController> modifyPersonViewController{*this};
    ScreenSlot<UICollectionShopViewController> collectionShopViewController{*this};
    ScreenSlot<UIJiFenViewController> jiFenViewController{*this};
    // The dish search screen while a host shows it; nothing in the program opens it yet.
    ScreenSlot<UISearchCaipViewController> searchCaipViewController{*this};

    // ---- Services for every screen -------------------------------------------------------------
    // The screen rectangle; every screen and dialog places its view from it.
    virtual ui::Rect frameRect() const = 0;
    // A text on the message panel from any thread; on the main thread the panel is drawn at once
    // so that it shows while an exchange blocks.
    virtual void showAyncStyle(const std::string& text) = 0;
    // A text on the message panel (main thread).
    virtual void showMessage(const std::string& text) = 0;
    // Fades the message panel out.
    virtual void clearShow() = 0;
    // The alert-or-message rule with the root as the alert's delegate (title words["tishi"],
    // button words["onok"]): the text goes to the message panel while an alert is shown.
    virtual void showRootAlert(const std::string& text) = 0;
    // A word of the word table ("" when missing).
    static std::string word(const std::string& key);
    // A format of the word table filled through the safe formatter.
    static std::string wordFormat(const std::string& key, const std::vector<std::string>& args);

    // ---- Settings and web page screens ----------------------------------------------------------
    virtual void set() = 0;
    virtual void setBack() = 0;
    virtual void showWebSearch() = 0;

    // ---- Ordering screens -----------------------------------------------------------------------
    virtual void begin(const std::optional<std::string>& key) = 0;
    virtual void backToWel() = 0;
    virtual bool showBigCaip1(const std::shared_ptr<NSCaipClass>& dish) = 0;
    virtual void showBigCaip() = 0;
    virtual void backToSelectCaip(bool animated) = 0;
    virtual void bomSelectCaipBack() = 0;
    virtual void showBomDish(const std::shared_ptr<NSDishClass>& line) = 0;
    virtual void BomCaiBackToSelect() = 0;
    virtual void showBigCaipForEx(const std::shared_ptr<NSDishClass>& item) = 0;
    virtual void BigCaipExBack() = 0;
    virtual void bomAddCaip() = 0;
    virtual void bom_showBigCaip1(const std::shared_ptr<NSCaipClass>& dish) = 0;
    virtual void bom_showBigCaip() = 0;
    virtual void bom_backToSelectCaip(bool animated) = 0;
    virtual void bomAddCaipBack() = 0;
    virtual void showSellOutList() = 0;
    virtual void dishlist() = 0;
    virtual void dishlistBackToSelectCaip() = 0;
    virtual void showQuickCaip(const std::shared_ptr<NSCaipClass>& dish, const std::shared_ptr<NSDishClass>& line,
                               bool setMealItem) = 0;
    virtual void modifyCaip(const std::shared_ptr<NSDishClass>& line) = 0;
    virtual void quickCaipBack() = 0;
    virtual void showBigCaipForSearch(const std::shared_ptr<NSCaipClass>& dish) = 0;
    // The dish search screen closes: its view leaves and the screen beneath shows again.
    virtual void searchCaipBack() = 0;
    virtual void caipBackToDishlist() = 0;
    virtual void welShowDishList() = 0;
    virtual void welDishListBack() = 0;
    virtual void welBigCaipBack() = 0;
    virtual void welShowBigCaip(const std::shared_ptr<NSCaipClass>& dish) = 0;

    // ---- Desk flow and login --------------------------------------------------------------------
    // The fixed-desk check: "1" from the start-up timer, "NO_LOGIN" once the login passed.
    virtual void chooseSetDesk(const std::string& word) = 0;
    virtual void trunDesk() = 0;
    virtual void chooseDesk(bool offlineSection) = 0;
    // The login gate: the requester hears loginBack(loginType, ok).
    virtual void login(const std::shared_ptr<NSLoginDlg>& requester, int loginType) = 0;
    // Asks the open login panel to close.
    virtual void loginBack() = 0;

    // ---- Online pages ---------------------------------------------------------------------------
    virtual void showshop(const std::shared_ptr<NSShopClass>& shop) = 0;
    virtual void shopshowback() = 0;
    virtual void showJif() = 0;
    virtual void JifBack() = 0;
    virtual void modifyPerson() = 0;
    virtual void modifyPersonBack() = 0;
    virtual void showPersonCenter() = 0;
    virtual void personBack() = 0;
    virtual void modifyPassword() = 0;
    virtual void passwordBack() = 0;
    virtual void showdingcan(const std::shared_ptr<NSShopClass>& shop, int kind) = 0;
    virtual void dingcanback() = 0;
    virtual void customerLogin() = 0;
    virtual void customerLoginBack() = 0;
    virtual void showCollection() = 0;
    virtual void collectionBack() = 0;
    virtual void searchShop(const std::string& text) = 0;
    virtual void showmapfind(bool map, int ty) = 0;
    virtual void mapfindback() = 0;
    virtual void showDingL() = 0;
    virtual void DingLBack() = 0;
    virtual void showDingDX(const std::shared_ptr<NSDingDClass>& order) = 0;
    virtual void dingDxBack() = 0;
    // The order of the online order detail kept in dingDXViewController, or null: the order the
    // order list's online submit names. Asked here so the order list needs no online screen.
    virtual std::shared_ptr<NSDingDClass> dingDXOrder() const = 0;
    virtual void chooseCity() = 0;
    virtual void cityBackToFun() = 0;
    virtual void showRegist() = 0;
    virtual void registBack() = 0;
    virtual void selectDish() = 0;
    // The online home: made at the first visit and kept; put on top again at every later one.
    virtual void showFunction() = 0;
    // Takes the online home off the screen (it stays kept for the next visit).
    virtual void functionBack() = 0;

    // Called by a slot when it lets go of a screen: takes the screen's view out of the root's.
    virtual void screenLetGo(std::shared_ptr<ui::ViewController> screen) = 0;
};

template <class T>
ScreenSlot<T>& ScreenSlot<T>::operator=(std::shared_ptr<T> screen) {
    if (screen == screen_) return *this;
    std::shared_ptr<ui::ViewController> old = std::move(base_);
    base_ = screen;
    screen_ = std::move(screen);
    letGo(std::move(old));
    return *this;
}

template <class T>
ScreenSlot<T>& ScreenSlot<T>::operator=(std::nullptr_t) {
    std::shared_ptr<ui::ViewController> old = std::move(base_);
    base_.reset();
    screen_.reset();
    letGo(std::move(old));
    return *this;
}

template <class T>
void ScreenSlot<T>::letGo(std::shared_ptr<ui::ViewController> old) {
    if (old) owner_.screenLetGo(std::move(old));
}
