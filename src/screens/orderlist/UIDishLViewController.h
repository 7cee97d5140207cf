#pragma once
// The order list: the current desk's order lines with the header figures (waiter, total, dish
// count, desk, guests), and every operation on them: sending with its refresh and roll-back,
// local line operations, returns and gifts, kitchen, desk and bill requests, and the submit of
// the lines as the cart of an online order. It keeps no order of its own: every row and figure
// reads the current desk from the hub afresh, and every change is saved back at once.
//
// The operations live in several files by area:
//   UIDishLViewController.cpp         screen, header and rows, overlay guard, dialogs' closing
//   UIDishLViewControllerSend.cpp     sending, login continuation and the refresh
//   UIDishLViewControllerMenu.cpp     function menu, alerts and their answers, panel decoration
//   UIDishLViewControllerLines.cpp    local line operations (delete, restore, copy, paste, tastes)
//   UIDishLViewControllerReturns.cpp  returns and gifts
//   UIDishLViewControllerDialogs.cpp  the tree picker's and the number pad's answers
//   UIDishLViewControllerKitchen.cpp  hasten, serve, weigh, call, sold-out list, tablet sync
//   UIDishLViewControllerDesk.cpp     desk, guests, total, transfer, clear, join, opened desk
//   UIDishLViewControllerPrint.cpp    bill printing with its discount panel
//   UIDishLViewControllerOnline.cpp   the online-order submit

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/NSServer.h"
#include "platform/foundation/Text.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"
#include "screens/kit/NSDialogProtocols.h"
#include "screens/kit/UIMyAlertViewController.h"
#include "screens/kit/UIShowXViewController.h"

class NSATreeClass;
class NSDeskClass;
class NSDishClass;
class NSHTTPServer;
class ScreenRoot;
class UINumViewController;
class UISelectViewController;
namespace platform {
class Timer;
}
namespace ui {
class ImageView;
class TextView;
}  // namespace ui

class UIDishLViewController : public ui::ViewController,
                              public NSLoginDlg,
                              public NSSelectDlg,
                              public NSNumDlg,
                              public ui::TableViewDataSource,
                              public ui::TableViewDelegate,
                              public ui::AlertViewDelegate,
                              public UIMyAlertViewDelegate,
                              public UIShowXOwner,
                              public ui::TextFieldDelegate {
public:
    // Login types this screen asks the root's login gate for.
    static constexpr int kLoginChooseDesk = 765002;
    static constexpr int kLoginSend = 765003;
    static constexpr int kLoginReturn = 765004;
    static constexpr int kLoginPrint = 765005;
    static constexpr int kLoginGive = 765007;
    static constexpr int kLoginWaiterMode = 765008;
    // Resume words: the call comes back after its login, question or choice.
    static constexpr const char* kNoLogin = "NO_LOGIN";
    static constexpr const char* kNoAlert = "NO_ALERT";
    static constexpr const char* kNoAlertPaste = "NOALERT";
    static constexpr const char* kNoReason = "NO_YUANY";
    // sendIndex after the desk button opened the desk picker.
    static constexpr int kFromDeskButton = -2;
    // Dialog tags.
    static constexpr int kPickTastes = 980002;
    static constexpr int kPickHastenReason = 980004;
    static constexpr int kPickReturnReason = 980005;
    static constexpr int kPickGiftReason = 980006;
    static constexpr int kPickRebate = 980007;
    static constexpr int kPickWaiter = 980011;
    static constexpr int kPickJoinDesk = 760010;
    static constexpr int kPadGuests = 760002;
    static constexpr int kPadReturnQty = 760005;
    static constexpr int kPadTotal = 760006;
    static constexpr int kPadJoinGuests = 760010;
    static constexpr int kPadWeighSuffix = 86;  // a weigh pad's tag is row * 10000 + 86
    // Alert tags.
    enum AlertTag {
        kAskDeleteAll = 1, kAskHold = 2, kAskFire = 3, kAskDeleteRow = 4, kAskDeleteChosen = 5,
        kAskSend = 6, kPanelPrint = 7, kAskWeigh = 9, kAskPaste = 10, kAskJoin = 11,
        kPanelOpenedDesk = 12, kAskTabletSync = 13, kAskClearDesk = 14, kAskUnsure = 15,
    };
    // The height of a row.
    static constexpr double kRowHeight = 44;

    explicit UIDishLViewController(std::string nibName = "UIDishLViewController");
    ~UIDishLViewController() override;

    // ---- Set by the root ----------------------------------------------------------------------
    void setRootController(ScreenRoot* root) { rootController_ = root; }
    ScreenRoot* rootController() const { return rootController_; }
    // Where the back button leads: the welcome screen (YES) or the dish menu (NO).
    void setIsBackToWel(bool value) { isBackToWel_ = value; }
    bool isBackToWel() const { return isBackToWel_; }
    // The current row: -1 all lines, a row, or -2 after the desk button opened the desk picker.
    int sendIndex() const { return sendIndex_; }
    void setSendIndex(int index) { sendIndex_ = index; }
    void addToolBar() {}
    // The table of the current desk's lines (the view is made on first use).
    const std::shared_ptr<ui::TableView>& m_dishTable();

    // ---- Screen and rows --------------------------------------------------------------------------
    void loadView() override;
    void viewDidLoad() override;
    void didReceiveMemoryWarning() override;
    void viewDidUnload() override;
    void showInterface(bool) {}
    void chooseCaip(int row);
    void changeQC(int row);
    void addCaipQ(int row);
    void delCaipQ(int row);
    void showCaipX(int row);
    void clearShow() override;
    void showfwykr();
    void changefwykr(const std::optional<std::string>& word);
    // Closes the first open dialog or popup (YES), else closes an open function menu (NO).
    bool isSubViewShow(bool onlyAsk);
    void touchesEnded(const ui::TouchSet& touches, const ui::Event* event) override;
    void animationFinish(const std::optional<std::string>& name, bool finished, void* context);
    void backToSelectCaip();
    // The buttons of a row as the table shows it now (null when the row has no such button).
    enum class RowButton { Choose, ServingMode, Modify, Delete, Weigh };
    ui::Button* rowButton(int row, RowButton which) const;

    // Table data source and delegate.
    int numberOfSections(ui::TableView&) override;
    int numberOfRows(ui::TableView&, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRow(ui::TableView&, const ui::IndexPath& path) override;
    bool canEditRow(ui::TableView&, const ui::IndexPath&) override { return true; }
    void commitEditingStyle(ui::TableView&, ui::EditingStyle style, const ui::IndexPath& path) override;
    double heightForRow(ui::TableView&, const ui::IndexPath&) override { return kRowHeight; }
    void didSelectRow(ui::TableView&, const ui::IndexPath&) override { isSubViewShow(false); }
    std::optional<std::string> titleForDeleteConfirmationButton(ui::TableView&, const ui::IndexPath&) override {
        return "删除此菜";
    }

    // ---- Sending and refresh -----------------------------------------------------------------------
    void sendAllDish();
    void sendOneDish(int row);
    bool onSendCaip(const std::optional<std::string>& word, int row);
    void loginBack(int loginType, bool ok) override;
    // Refreshes the current desk from the server (settling a doubt, following a moved bill and
    // telling the waiter as every read does); `quietly` when the tap goes on to a question.
    // `whileWaiting` runs once while the server answers, if the request got written.
    bool updateMenu(bool quietly = false, std::function<void()> whileWaiting = {});
    // Whether a request that books may go out on the current desk now. A desk whose last such
    // request went unanswered is read back from the server first, and the operation stops there:
    // the waiter decides again on the desk as the server holds it.
    bool mayBook();
    // The same for another desk an operation touches (a join's or a transfer's): read back with
    // its saved lines when it is in doubt, and the operation stops.
    bool mayBookOn(const NSDeskClass& other);
    // Whether the last booking request on the current desk went unanswered: the operation ends
    // there, with no further exchange in the same tap.
    static bool leftInDoubt();
    // A line that may already be on the server is not changed before that is settled or decided:
    // true (and the waiter told why) for such a line.
    bool refuseEditInDoubt(const std::shared_ptr<NSDishClass>& line);
    // A guest's cart of a shop's dishes goes to the web service only ("提交订单"), never to a desk
    // or the back office: true (and the guest told so) while it is the current desk.
    bool refuseGuestCart();

    // ---- Function menu and alert answers --------------------------------------------------------
    void otherFun();
    void alertViewClickedButtonAtIndex(ui::AlertView& alert, int buttonIndex) override;
    void alertViewClickedButtonAtIndex(ui::View& panel, int buttonIndex) override;
    using ui::AlertViewDelegate::willPresentAlertView;
    void willPresentAlertView(ui::View& panel) override;

    // ---- Local line operations -------------------------------------------------------------------
    void delAllDish(const std::optional<std::string>& word);
    void allJiQ(const std::optional<std::string>& word);
    void allJiaoQ(const std::optional<std::string>& word);
    void undelDishes();
    void newOutDesk();
    void copyDeskDishs();
    void pasteDeskDishs(const std::optional<std::string>& word);
    void delDishs(const std::optional<std::string>& word);
    void delDish(int row);
    void modifyCaip(int row);
    void allDishKouw();

    // ---- Returns and gifts -------------------------------------------------------------------------
    void delDishLogined();
    void tuiCai();
    void tuiCais(const std::string& reason);
    void giving(const std::optional<std::string>& word);

    // ---- Picker and pad answers --------------------------------------------------------------------
    void SelectDlgOk() override;
    void SelectDlgCancel() override;
    void NumDlgOk() override;
    void NumDlgCancel() override;

    // ---- Kitchen requests --------------------------------------------------------------------------
    void onNote();
    void huacai();
    void chengZ(int row);
    void call();
    void flashSellOut();
    void readipad();

    // ---- Desk requests -----------------------------------------------------------------------------
    void chooseDesk(const std::optional<std::string>& word);
    void changeRens();
    void changeMoney();
    void turnDesk();
    // Asks first; the answer calls it again confirmed.
    void clearDesk(bool confirmed = false);
    void addDeskXiaoF();
    bool addDeskXiaoFOk(const std::optional<std::string>& guests);
    void changeDeskTit();

    // ---- Bill printing -----------------------------------------------------------------------------
    void print(const std::optional<std::string>& word);
    void chooseRebate();
    void textFieldDidEndEditing(ui::TextField& field) override;
    bool textFieldShouldReturn(ui::TextField& field) override;

    // ---- Online-order submit -----------------------------------------------------------------------
    void onSendToYuding();
    void receiveServerMessage(const std::string& answer, NSHTTPServer& request);
    // The order model of the current desk as the web service reads it (JSON text, unescaped).
    static std::string orderModel(const std::optional<std::string>& orderID);

    // ---- Fields ------------------------------------------------------------------------------------
    std::shared_ptr<UISelectViewController> selectViewController;  // the list's own picker while open
    std::shared_ptr<UINumViewController> numViewController;        // the list's own pad while open
    std::shared_ptr<UIShowXViewController> showXViewController;    // the line detail popup
    std::shared_ptr<ui::View> v_otherFun;                          // the function menu while open
    std::shared_ptr<NSDeskClass> bufferoutDesk;                    // offline desk of a send; join target
    std::shared_ptr<NSDishClass> buffertuiCai;                     // the line of a return or weigh
    std::optional<std::string> rebateid;                           // chosen discount template
    float rebatemoney = 0;                                         // typed discount amount
    std::shared_ptr<std::vector<std::string>> m_allKouws;          // tastes every line had
    std::shared_ptr<ui::TextField> tf_fwy, tf_rens, tf_beiz;       // opened-desk panel fields
    std::string tfDeskID;  // the desk whose values the opened-desk fields hold
    // The discount panel's amount field and text: they belong to the panel that is shown.
    std::weak_ptr<ui::TextField> tf_zhek;
    std::weak_ptr<ui::TextView> tv_zhek;
    std::shared_ptr<ui::Button> bt_desk, bt_rens, bt_send, bt_giving, bt_call, bt_del, bt_trun,
        bt_back, bt_fwykr, bt_otherFun, bt_money, bt_yuding;
    std::shared_ptr<ui::Label> lb_user, lb_quality, lb_money, l_user, tableTitle;

private:
    // Shared steps of the operations.
    std::shared_ptr<UIDishLViewController> self();
    void reload();
    static void save();
    static std::string word(const std::string& key);
    // A word used as a format; a missing word falls back to the built-in format.
    static std::string wordFormat(const std::string& key, const std::string& fallback,
                                  const std::vector<platform::FormatArg>& args);
    // The alert-or-message rule with the list as the alert's delegate.
    void tell(const std::string& text, const std::string& titleWord = "tishi");
    // A standard alert of the list: cancel button 0, further buttons from 1.
    std::shared_ptr<ui::AlertView> ask(int tag, const std::string& title, const std::string& message,
                                       const std::optional<std::string>& cancel,
                                       const std::vector<std::string>& others = {});
    // A custom alert panel of the list.
    void showPanel(int tag, const std::string& title, const std::string& cancel,
                   const std::vector<std::string>& others);
    void openPicker(std::shared_ptr<NSATreeClass> tree, bool multi, int tag, const std::string& title);
    void openPad(int tag, const std::string& preset, const std::string& title, bool screenFrame = true);
    // The chosen row of the open picker, when its tree has one to choose.
    std::optional<int> pickedRow() const;
    // Shows a dialog's view over the list (at the screen rectangle when asked) and fades it in.
    void fadeIn(ui::View& dialog, bool screenFrame);
    void fadeOut(const std::string& name, ui::View& view, void* context);
    // Raises the question of an operation called with a sender; answers whether it did.
    bool askFirst(const std::optional<std::string>& sender, int tag, const std::string& messageWord);
    void requestLogin(int loginType);
    // The reason picker's table: rows of the reason table of the given kinds.
    static std::shared_ptr<NSATreeClass> reasonTree(const std::vector<std::string>& kinds);
    std::shared_ptr<NSDishClass> lineAt(int row) const;
    void markSending(NSDeskClass& desk);
    // A return that the server accepted but whose refresh failed: the lines wait, not sendable.
    static void holdAccepted(NSDeskClass& desk);
    static void backToUnsent(NSDeskClass& desk);
    // The send's first turn: nothing to send, the login, the lines in doubt and the
    // confirmation. True when the send goes on at once (an offline desk, to the desk picker).
    bool askToSend(NSDeskClass& desk, int row);
    // A desk whose lines shown are not the server's is read first; false when the send stops.
    bool readIfStale(const std::shared_ptr<NSDeskClass>& desk);
    // Books the marked lines, then the pending returns. False when the send stops; else the last
    // request's note is left for the caller to end (`accepted`).
    bool book(NSDeskClass& desk);
    // The server took a request: the desk's file stops offering its lines, then its note ends.
    static void accepted(NSDeskClass& desk, std::optional<std::string>& written);
    // Before a send: the chosen lines that may already be on the server are named, with what the
    // server holds of their dishes, and the waiter decides; true when that question was asked.
    bool askAboutUnsure(const NSDeskClass& desk, int row);
    void answerUnsure(int buttonIndex);

    std::vector<std::shared_ptr<NSDishClass>> unsureAsked_;
    // Whether the send the question stopped had lines chosen: removing the lines in doubt then
    // leaves only the rest of that choice to send, never every unsent line.
    bool unsureChoice_ = false;
    // A new empty offline desk becomes the current desk.
    static void startOfflineDesk();
    void closeMenuPanel();
    void buildHeader(ui::View& view);
    void refreshHeader();
    std::shared_ptr<ui::TableViewCell> rowCell(int row);
    void sendReturnList(std::vector<std::shared_ptr<NSDishClass>> lines);
    void showOpenedDeskPanel();
    void showRebatePanel(bool first);
    void weighAnswer(int row);

    ScreenRoot* rootController_ = nullptr;
    bool isBackToWel_ = false;
    int sendIndex_ = -1;
    std::shared_ptr<ui::TableView> m_dishTable_;
    std::weak_ptr<platform::Timer> xTimer_;
    std::vector<std::weak_ptr<ui::AlertView>> alerts_;
    // Per row shown: its buttons, for the driver and the tests.
    struct RowButtons {
        std::weak_ptr<ui::Button> choose, serving, modify, del, weigh;
    };
    std::vector<RowButtons> rowButtons_;
    std::string lastLoginWaiter_;
};
