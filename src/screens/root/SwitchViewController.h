#pragma once
// The root screen controller: its view fills the window and every other screen and dialog lives
// inside it as a subview. It opens screens on demand into slots of their own, switches between
// them with named transitions, closes them when they call the matching back operation, and hosts
// the services every screen uses to talk to the waiter: the message panel, the wait logo and the
// root's side of the alert-or-message rule. The screens know it as ScreenRoot (screens/kit), whose
// slots it holds and whose operations it implements (the overrides below).
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
#include "screens/kit/ScreenRoot.h"

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

class SwitchViewController : public ScreenRoot {
public:
    SwitchViewController();
    ~SwitchViewController() override;

    // Makes the root, registers it with the hub (where ScreenRoot::current finds it) and installs
    // the host's services for the server client; the application delegate calls it when launching
    // has finished.
    static std::shared_ptr<SwitchViewController> create();

    // The wait logo while it is up, else null.
    const std::shared_ptr<ui::ActivityIndicatorView>& progressInd() const { return progressInd_; }
    // The last text given to showAyncStyle.
    const std::string& style() const { return style_; }

    // ---- Services for every screen -------------------------------------------------------------
    // The screen rectangle; every screen and dialog places its view from it.
    ui::Rect frameRect() const override { return frameRect_; }
    void setFrameRect(const ui::Rect& rect) { frameRect_ = rect; }
    // A text on the message panel from any thread; on the main thread the panel is drawn at once
    // so that it shows while an exchange blocks.
    void showAyncStyle(const std::string& text) override;
    // A text on the message panel (main thread).
    void showMessage(const std::string& text) override;
    // Fades the message panel out.
    void clearShow() override;
    // The wait logo around a blocking exchange: drawn before showWaitLogo returns; calls from
    // another thread are carried to the main thread.
    void showWaitLogo();
    void releaseWaitLogo();
    // The main-thread halves of showAyncStyle and showWaitLogo.
    void show(const std::string& text);
    void showWait();

    // The alert-or-message rule with the root as the alert's delegate (title words["tishi"],
    // button words["onok"]): the text goes to the message panel while an alert is shown.
    void showRootAlert(const std::string& text) override;
    // A question of the root (its answer comes to alertViewClickedButtonAtIndex by tag); does
    // not touch the alert-shown flag.
    std::shared_ptr<ui::AlertView> askRoot(int tag, const std::string& title,
                                           const std::string& message, const std::string& button0,
                                           const std::string& button1);
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
    void set() override;
    void setBack() override;

    // ---- Demo data ------------------------------------------------------------------------------
    // NO: the offer at start; YES: the download.
    void downloadData1(bool download);
    void downloadData();

    // ---- Ordering screens -----------------------------------------------------------------------
    void begin(const std::optional<std::string>& key) override;
    void backToWel() override;
    bool showBigCaip1(const std::shared_ptr<NSCaipClass>& dish) override;
    void showBigCaip() override;
    void backToSelectCaip(bool animated) override;
    void bomSelectCaipBack() override;
    void showBomDish(const std::shared_ptr<NSDishClass>& line) override;
    void BomCaiBackToSelect() override;
    void showBigCaipForEx(const std::shared_ptr<NSDishClass>& item) override;
    void BigCaipExBack() override;
    void bomAddCaip() override;
    void bom_showBigCaip1(const std::shared_ptr<NSCaipClass>& dish) override;
    void bom_showBigCaip() override;
    void bom_backToSelectCaip(bool animated) override;
    void bomAddCaipBack() override;
    void showSellOutList() override;
    void dishlist() override;
    void dishlistBackToSelectCaip() override;
    void showQuickCaip(const std::shared_ptr<NSCaipClass>& dish, const std::shared_ptr<NSDishClass>& line,
                       bool setMealItem) override;
    void modifyCaip(const std::shared_ptr<NSDishClass>& line) override;
    void quickCaipBack() override;
    void showBigCaipForSearch(const std::shared_ptr<NSCaipClass>& dish) override;
    // The dish search screen closes: its view leaves and the screen beneath shows again.
    void searchCaipBack() override;
    void caipBackToDishlist() override;
    void welShowDishList() override;
    void welDishListBack() override;
    void welBigCaipBack() override;
    void welShowBigCaip(const std::shared_ptr<NSCaipClass>& dish) override;

    // ---- Web page screen ------------------------------------------------------------------------
    void showWebSearch() override;
    void WebSearchBack();

    // ---- Desk flow and login (SwitchViewControllerDesk.cpp, SwitchViewControllerLogin.cpp) -----
    // The fixed-desk check: "1" from the start-up timer, "NO_LOGIN" once the login passed.
    void chooseSetDesk(const std::string& word) override;
    void trunDesk() override;
    void chooseDesk(bool offlineSection) override;
    void SelectDlgOk() override;
    void SelectDlgCancel() override;
    void NumDlgOk() override;
    void NumDlgCancel() override;
    // None: ask about the merge; "NOALERT": merge; "": go on without merging.
    void outDeskAddToDesk(const std::optional<std::string>& word);
    void yudingBack();
    void yudingBackOK();
    void yudingOpen(const std::shared_ptr<NSYuDingClass>& reservation);
    void show1();
    // The answers of the root's alerts (alertView:clickedButtonAtIndex:).
    void alertViewClickedButtonAtIndex(ui::AlertView& alert, int buttonIndex) override;
    // The login gate: the requester hears loginBack(loginType, ok).
    void login(const std::shared_ptr<NSLoginDlg>& requester, int loginType) override;
    // Asks the open login panel to close.
    void loginBack() override;
    // Steps of the desk flow: the desk picker with its tag and title; a desk-tree row chosen in
    // the picker or named by the fixed-desk configuration; a transfer target and the transfer
    // itself; the order list's table reloaded when there is a list.
    void openDeskPicker(int tag, const std::string& title);
    void openDeskRow(int row, bool fixedDesk);
    // The desk just read and made current goes on: the guests pad for a free desk, the
    // reservation dialog for a reserved one, else the merge of an offline order and the send.
    void deskOpened(const std::shared_ptr<NSDeskClass>& desk, bool fixedDesk);
    void chooseTransferTarget(int row);
    void transferToBuffer();
    void reloadDishList();

    // ---- Online pages ---------------------------------------------------------------------------
    void showshop(const std::shared_ptr<NSShopClass>& shop) override;
    void shopshowback() override;
    void showJif() override;
    void JifBack() override;
    void modifyPerson() override;
    void modifyPersonBack() override;
    void showPersonCenter() override;
    void personBack() override;
    void modifyPassword() override;
    void passwordBack() override;
    void showdingcan(const std::shared_ptr<NSShopClass>& shop, int kind) override;
    void dingcanback() override;
    void customerLogin() override;
    void customerLoginBack() override;
    void showCollection() override;
    void collectionBack() override;
    void searchShop(const std::string& text) override;
    void showmapfind(bool map, int ty) override;
    void mapfindback() override;
    void showDingL() override;
    void DingLBack() override;
    void showDingDX(const std::shared_ptr<NSDingDClass>& order) override;
    void dingDxBack() override;
    std::shared_ptr<NSDingDClass> dingDXOrder() const override;
    void chooseCity() override;
    void cityBackToFun() override;
    void showRegist() override;
    void registBack() override;
    void selectDish() override;
    // The online home: made at the first visit and kept; put on top again at every later one.
    void showFunction() override;
    // Takes the online home off the screen (it stays kept for the next visit).
    void functionBack() override;

    // Called by a slot when it lets go of a screen: takes the screen's view out of the root's.
    void screenLetGo(std::shared_ptr<ui::ViewController> screen) override;

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
    // The welcome screen comes back: a guest's online order is over, and the waiter's terminal is
    // as it was before it (menu, current desk, offline orders, no online order held).
    void endGuestOrder();

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
