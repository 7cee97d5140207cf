#pragma once
// The root screen controller: its view fills the window and every other screen and dialog lives
// inside it as a subview. It opens screens on demand into slots of their own, switches between
// them with named transitions, closes them when they call the matching back operation, and hosts
// the services every screen uses to talk to the waiter: the message panel, the wait logo and the
// root's side of the alert-or-message rule.
//
// The operations live in several files by theme:
//   SwitchViewController.cpp        start, slots, transitions and their dispatcher, message panel,
//                                   wait logo, settings slide, demo-data offer, web page screen
//   SwitchViewControllerNav.cpp     ordering screens (dish menu, detail view, set meals, order
//                                   list, order-line editor) and their screen announcements
//   SwitchViewControllerOnline.cpp  the online pages
//   SwitchViewControllerDesk.cpp,
//   SwitchViewControllerLogin.cpp   desk flow and login gate

#include <atomic>
#include <cstddef>
#include <functional>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/ui/AlertView.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/ViewController.h"
#include "screens/host/NSDialogProtocols.h"

namespace ui {
class ActivityIndicatorView;
class View;
}  // namespace ui

class NSCaipClass;
class NSDishClass;
class NSDeskClass;
class NSYuDingClass;
class NSShopClass;
class NSCplbTreeClass;
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

class SwitchViewController;

// One screen slot of the root. It owns the open screen; storing another screen or null lets the
// previous one go, and a screen that is let go of takes its view out of the root's view with it,
// so no view outlives the screen that drew it. Storing a screen needs its class to be complete;
// clearing the slot and reaching the screen as a controller do not.
template <class T>
class ScreenSlot {
public:
    explicit ScreenSlot(SwitchViewController& owner) : owner_(owner) {}
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

    SwitchViewController& owner_;
    std::shared_ptr<T> screen_;
    std::shared_ptr<ui::ViewController> base_;
};

class SwitchViewController : public ui::ViewController,
                             public NSSelectDlg,
                             public NSNumDlg,
                             public ui::AlertViewDelegate {
public:
    SwitchViewController();
    ~SwitchViewController() override;

    // Makes the root, registers it with the hub and installs the host's services for the server
    // client; the application delegate calls it when launching has finished.
    static std::shared_ptr<SwitchViewController> create();

    // ---- Slots: non-null exactly while the screen is open (exceptions noted) ----------------
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

    // The wait logo while it is up, else null.
    const std::shared_ptr<ui::ActivityIndicatorView>& progressInd() const { return progressInd_; }
    // The last text given to showAyncStyle.
    const std::string& style() const { return style_; }

    // ---- Services for every screen -------------------------------------------------------------
    // The screen rectangle; every screen and dialog places its view from it.
    ui::Rect frameRect() const { return frameRect_; }
    void setFrameRect(const ui::Rect& rect) { frameRect_ = rect; }
    // A text on the message panel from any thread; on the main thread the panel is drawn at once
    // so that it shows while an exchange blocks.
    void showAyncStyle(const std::string& text);
    // A text on the message panel (main thread).
    void showMessage(const std::string& text);
    // Fades the message panel out.
    void clearShow();
    // The wait logo around a blocking exchange: drawn before showWaitLogo returns; calls from
    // another thread are carried to the main thread.
    void showWaitLogo();
    void releaseWaitLogo();
    // The main-thread halves of showAyncStyle and showWaitLogo.
    void show(const std::string& text);
    void showWait();

    // The alert-or-message rule with the root as the alert's delegate (title words["tishi"],
    // button words["onok"]): the text goes to the message panel while an alert is shown.
    void showRootAlert(const std::string& text);
    // A question of the root (its answer comes to alertViewClickedButtonAtIndex by tag); does
    // not touch the alert-shown flag.
    std::shared_ptr<ui::AlertView> askRoot(int tag, const std::string& title,
                                           const std::string& message, const std::string& button0,
                                           const std::string& button1);
    // A word of the word table ("" when missing).
    static std::string word(const std::string& key);
    // A format of the word table filled through the safe formatter.
    static std::string wordFormat(const std::string& key, const std::vector<std::string>& args);
    // A one-shot timer on the main run loop that keeps the root alive only weakly.
    void after(double seconds, std::function<void(SwitchViewController&)> work);

    // ---- Transitions ----------------------------------------------------------------------------
    // Runs `changes` inside the named animation block with the root as the delegate, so the
    // dispatcher ends it.
    void animate(const std::string& name, double duration, const std::function<void()>& changes);
    // Adds a dialog's view on top at `frame`, transparent, and fades it in over 0.3 s (in the
    // named transition when a name is given).
    void fadeIn(ui::View& view, const ui::Rect& frame, const std::optional<std::string>& name = std::nullopt);
    // Fades a view out over 0.3 s in the named transition ("numback", "selectback", ...).
    void fadeOut(const std::string& name, ui::View& view);
    // The end of every transition whose delegate is the root, dispatched on its name.
    void animationFinish(const std::optional<std::string>& name, bool finished, void* context);

    // ---- Start and life -------------------------------------------------------------------------
    void loadView() override;
    void viewDidLoad() override;
    void didReceiveMemoryWarning() override;
    void viewDidUnload() override;

    // ---- Settings screen ------------------------------------------------------------------------
    void set();
    void setBack();

    // ---- Demo data ------------------------------------------------------------------------------
    // NO: the offer at start; YES: the download.
    void downloadData1(bool download);
    void downloadData();

    // ---- Ordering screens -----------------------------------------------------------------------
    void begin(const std::optional<std::string>& key);
    void backToWel();
    bool showBigCaip1(const std::shared_ptr<NSCaipClass>& dish);
    void showBigCaip();
    void backToSelectCaip(bool animated);
    void bomSelectCaipBack();
    void showBomDish(const std::shared_ptr<NSDishClass>& line);
    void BomCaiBackToSelect();
    void showBigCaipForEx(const std::shared_ptr<NSDishClass>& item);
    void BigCaipExBack();
    void bomAddCaip();
    void bom_showBigCaip1(const std::shared_ptr<NSCaipClass>& dish);
    void bom_showBigCaip();
    void bom_backToSelectCaip(bool animated);
    void bomAddCaipBack();
    void showSellOutList();
    void dishlist();
    void dishlistBackToSelectCaip();
    void showQuickCaip(const std::shared_ptr<NSCaipClass>& dish, const std::shared_ptr<NSDishClass>& line,
                       bool setMealItem);
    void modifyCaip(const std::shared_ptr<NSDishClass>& line);
    void quickCaipBack();
    void showBigCaipForSearch(const std::shared_ptr<NSCaipClass>& dish);
    // The dish search screen closes: its view leaves and the screen beneath shows again.
    void searchCaipBack();
    void caipBackToDishlist();
    void welShowDishList();
    void welDishListBack();
    void welBigCaipBack();
    void welShowBigCaip(const std::shared_ptr<NSCaipClass>& dish);

    // ---- Web page screen ------------------------------------------------------------------------
    void showWebSearch();
    void WebSearchBack();

    // ---- Desk flow and login (SwitchViewControllerDesk.cpp, SwitchViewControllerLogin.cpp) -----
    // The fixed-desk check: "1" from the start-up timer, "NO_LOGIN" once the login passed.
    void chooseSetDesk(const std::string& word);
    void trunDesk();
    void chooseDesk(bool offlineSection);
    void SelectDlgOk() override;
    void SelectDlgCancel() override;
    void NumDlgOk() override;
    void NumDlgCancel() override;
    // nil: ask about the merge; "NOALERT": merge; "": go on without merging.
    void outDeskAddToDesk(const std::optional<std::string>& word);
    void yudingBack();
    void yudingBackOK();
    void yudingOpen(const std::shared_ptr<NSYuDingClass>& reservation);
    void show1();
    // The answers of the root's alerts (alertView:clickedButtonAtIndex:).
    void alertViewClickedButtonAtIndex(ui::AlertView& alert, int buttonIndex) override;
    // The login gate: the requester hears loginBack(loginType, ok).
    void login(const std::shared_ptr<NSLoginDlg>& requester, int loginType);
    // Asks the open login panel to close.
    void loginBack();
    // Steps of the desk flow: the desk picker with its tag and title; a desk-tree row chosen in
    // the picker or named by the fixed-desk configuration; a transfer target and the transfer
    // itself; the order list's table reloaded when there is a list.
    void openDeskPicker(int tag, const std::string& title);
    void openDeskRow(int row, bool fixedDesk);
    void chooseTransferTarget(int row);
    void transferToBuffer();
    void reloadDishList();

    // ---- Online pages ---------------------------------------------------------------------------
    void showshop(const std::shared_ptr<NSShopClass>& shop);
    void shopshowback();
    void showJif();
    void JifBack();
    void modifyPerson();
    void modifyPersonBack();
    void showPersonCenter();
    void personBack();
    void modifyPassword();
    void passwordBack();
    void showdingcan(const std::shared_ptr<NSShopClass>& shop, int kind);
    void dingcanback();
    void customerLogin();
    void customerLoginBack();
    void showCollection();
    void collectionBack();
    void searchShop(const std::string& text);
    void showmapfind(bool map, int ty);
    void mapfindback();
    void showDingL();
    void DingLBack();
    void showDingDX(const std::shared_ptr<NSDingDClass>& order);
    void dingDxBack();
    void chooseCity();
    void cityBackToFun();
    void showRegist();
    void registBack();
    void selectDish();
    // The online home: made at the first visit and kept; put on top again at every later one.
    void showFunction();
    // Takes the online home off the screen (it stays kept for the next visit).
    void functionBack();

    // Called by a slot when it lets go of a screen: takes the screen's view out of the root's.
    void screenLetGo(std::shared_ptr<ui::ViewController> screen);

private:
    // Places a screen's view at `frame` on top of the root's view.
    void addOnTop(ui::ViewController& screen, const ui::Rect& frame);
    void animateWithContext(const std::string& name, double duration, void* context,
                            const std::function<void()>& changes);
    void hideWaitLogoNow();
    bool onMainThread() const;
    // The view the settings screen slides over: the welcome screen's, else the online home's.
    ui::View* screenBesideSettings() const;
    // A dish detail view of that origin, given the root.
    std::shared_ptr<UICaipViewController> makeDetail(int origin);
    // Adds the screen just below the screen rectangle and slides it up into it.
    void slideUp(ui::ViewController& screen, const std::string& name);
    // Slides the screen (when there is one) to just below the screen rectangle.
    void slideDown(ui::ViewController* screen, const std::string& name);
    void openEditor(const std::shared_ptr<NSCaipClass>& dish, const std::shared_ptr<NSDishClass>& line,
                    bool setMealItem, bool modify);
    // Takes the screen's view away, keeping its slot, and shows the welcome screen again.
    void backToWelcomeFrom(ui::ViewController* screen);
    // Takes a screen's view off the root, keeping the screen in its slot.
    static void takeOffScreen(ui::ViewController* screen);
    // The root as the run loop's closures hold it: they do nothing once it has gone.
    std::weak_ptr<SwitchViewController> weakSelf();
    // Runs `work` on the main thread's next turn.
    void onMainThreadLater(std::function<void(SwitchViewController&)> work);
    // Whether the menu has categories to show.
    static bool menuHasCategories();
    // The category a menu shows first for a node: its first sub-category, or the node itself;
    // without a node, that of the menu's first top-level category.
    static std::shared_ptr<NSCplbTreeClass> firstShownCategory(const std::shared_ptr<NSCplbTreeClass>& node);
    static std::shared_ptr<NSCplbTreeClass> firstShownCategory();
    // Whether a customer of the online store is logged in; if not, opens the customer login
    // page with a hint.
    bool customerOrLogin();

    // The thread that made the root runs the run loop and owns every view.
    std::thread::id mainThread_ = std::this_thread::get_id();

    ui::Rect frameRect_;
    std::string style_;
    // Numbers the message panels as they are made. A fade-out names its panel by this number, not
    // by address: a new panel may be made where a released one lay.
    std::uintptr_t messagePanelNumber_ = 0;
    std::shared_ptr<ui::ActivityIndicatorView> progressInd_;
    // Counts wait-logo releases, so that a release that comes before a request from another
    // thread reached the main thread cancels it.
    std::atomic<unsigned> waitGeneration_{0};
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
