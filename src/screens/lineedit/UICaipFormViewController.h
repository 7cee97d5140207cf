#pragma once
// The dish order form: a 320 x 460 panel lying on the dish detail view that edits the view's order
// line in place: quantity (+1, -1, pad), second quantity, portion ("例", "中", "大") or one of the
// line's units, unit price, cooking methods with their quantities, tastes, a free-text requirement
// and a manual surcharge; it shows a one-line summary with the line price, and a horizontal swipe
// pages the detail view to the next or previous dish. It writes no file and sends nothing: its
// changes live in the line, the detail view's method tree and the menu's taste marks.

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"
#include "screens/kit/NSDialogProtocols.h"

class CaipFormHost;
class NSATreeClass;
class NSCaipClass;
class NSDishClass;
class UINumViewController;
class UISelectViewController;

class UICaipFormViewController : public ui::ViewController,
                                 public NSNumDlg,
                                 public NSSelectDlg,
                                 public ui::TextFieldDelegate,
                                 public ui::TableViewDataSource,
                                 public ui::TableViewDelegate,
                                 public ui::AlertViewDelegate {
public:
    static constexpr double kWidth = 320;
    static constexpr double kHeight = 460;
    // Tabs of the table.
    static constexpr int kMethodsTab = 1, kTastesTab = 2, kFreeTextTab = 3, kUnitsTab = 4;
    // Pad tags (the quantity pad has none).
    static constexpr int kPricePad = 760006, kMethodQuantityPad = 760007, kSurchargePad = 760008,
                         kSecondQuantityPad = 760009;
    static constexpr int kTastePicker = 980002;
    // How far a finger must move sideways, and may drift up or down, to page.
    static constexpr double kSwipeMin = 25, kSwipeDrift = 20;

    explicit UICaipFormViewController(std::string nibName = "UICaipFormViewController");
    ~UICaipFormViewController() override;

    // What the detail view's form action does: a new form on the host for its line and method
    // tree, lying just below the host's panel (y 460) until it is slid up.
    static std::shared_ptr<UICaipFormViewController> addCaipForm(CaipFormHost& host, std::shared_ptr<NSDishClass> line,
                                                                 std::shared_ptr<NSATreeClass> zuofs);
    // Slides the form up when it lies below, else back down, over 0.3 s.
    void showCaipForm();

    // The host paged to another dish in the same line and tree: the form takes that dish's
    // portions and redraws, so that it never shows the dish paged away from.
    void followDish();

    // Kept without ownership: the host holds the form.
    void setCaipController(CaipFormHost* host) { caipController = host; }
    void setM_dish(std::shared_ptr<NSDishClass> line) { m_dish = std::move(line); }
    void setM_zuofs(std::shared_ptr<NSATreeClass> tree) { m_zuofs = std::move(tree); }

    // The closing rule: ends the free-text editing, then answers whether a pad or picker is open,
    // closing it unless only asked.
    bool isSubViewShow(bool onlyAsk);

    // ---- actions ----
    void back();
    void shulAdd();
    void shulDel();
    void OnButtonShul();
    void tiaoz();
    void changePrice();
    void OnButtonZf();
    void OnButtonKouw();
    void OnButtonSpec();
    void OnButtonUnits();
    void unitsL();
    void unitsZ();
    void unitsD();
    void didSelectZuof(int row);
    void didSelectKouw(int row);
    void didSelectUnits(int index);
    void OnButtonJiaj();
    void showDish();

    // ---- answers ----
    void NumDlgOk() override;
    void NumDlgCancel() override;
    void SelectDlgOk() override;
    void SelectDlgCancel() override;
    void alertViewClickedButtonAtIndex(ui::AlertView&, int) override;
    bool textFieldShouldReturn(ui::TextField& field) override;
    void textFieldDidBeginEditing(ui::TextField& field) override;
    void textFieldDidEndEditing(ui::TextField& field) override;
    int numberOfRows(ui::TableView&, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRow(ui::TableView&, const ui::IndexPath& path) override;
    double heightForRow(ui::TableView&, const ui::IndexPath&) override;
    void didSelectRow(ui::TableView&, const ui::IndexPath&) override { isSubViewShow(false); }
    void touchesBegan(const ui::TouchSet& touches, const ui::Event* event) override;
    void touchesMoved(const ui::TouchSet& touches, const ui::Event* event) override;
    void touchesEnded(const ui::TouchSet& touches, const ui::Event* event) override;

    void loadView() override;
    void viewDidLoad() override;
    void viewDidUnload() override;

    std::shared_ptr<NSDishClass> m_dish;
    std::shared_ptr<NSCaipClass> m_caip;
    std::shared_ptr<NSATreeClass> m_zuofs;
    int tableType = kMethodsTab;
    int changeZuoShulRow = 0;
    CaipFormHost* caipController = nullptr;
    std::shared_ptr<UINumViewController> numController;
    std::shared_ptr<UISelectViewController> selectController;
    std::vector<std::shared_ptr<ui::Button>> zuofkwBS;
    ui::Point gestureStartPoint;

    std::shared_ptr<ui::TextField> tf_require;
    std::shared_ptr<ui::Button> bt_jiaj;
    std::shared_ptr<ui::ImageView> iv_Units, im_back;
    std::shared_ptr<ui::TableView> tb_zuofkw;
    std::shared_ptr<ui::Label> tx_Num, tx_Unit, tx_Price, tx_buttom, tx_danj;
    std::shared_ptr<ui::Button> bt_Zuof, bt_Kouw, bt_Spec, bt_Units, bt_UnitsL, bt_UnitsZ, bt_UnitsD;
    std::shared_ptr<ui::Button> bt_add, bt_del, bt_shul, bt_shul2, bt_changePrice, bt_back;

private:
    bool soldByPortion() const;
    // The menu dish of the line, its portion buttons and the portion of the line.
    void takeDish();
    void addUnitsButton();
    void showInterface();
    // The portion rule: the line's unit (and, for a dish sold by "例", its price) for a portion.
    void changePrice(const std::string& portion);
    void choosePortion(const std::string& portion, const std::shared_ptr<ui::Button>& button);
    void selectTab(int tab);
    void openPad(int tag, const std::string& preset, const std::string& title, bool sign);
    void slideTo(double y);
    // A method, taste or unit button of the table, reused from zuofkwBS when one has the tag.
    std::shared_ptr<ui::Button> itemButton(int tag, const ui::Rect& frame, const std::string& title, bool checked,
                                           std::function<void()> action);
    std::string methodText() const;
    std::string tasteText();

    // The swipe of this touch has paged already: one page per touch.
    bool paged_ = false;
    bool touchOpen_ = false;
};
