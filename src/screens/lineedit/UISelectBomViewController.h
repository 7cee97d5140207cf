#pragma once
// The set-meal item chooser: composes one set meal whose set-meal table offers choices. It walks
// the set meal's choice groups one after another, shows each group's candidate dishes, collects
// the group's picks (asking for cooking methods where a dish requires one) and merges them into a
// summary; after the last group the summary page lets the waiter adjust the items and the number
// of sets, and OK commits the set line with its items to the current desk as one line group
// (UISelectBomViewControllerSummary.cpp).

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"
#include "screens/kit/NSDialogProtocols.h"

class NSATreeClass;
class NSCaipClass;
class NSDishClass;
class ScreenRoot;
class UINumViewController;
class UISelectViewController;

class UISelectBomViewController : public ui::ViewController,
                                  public NSNumDlg,
                                  public NSSelectDlg,
                                  public ui::TableViewDataSource,
                                  public ui::TableViewDelegate,
                                  public ui::AlertViewDelegate {
public:
    // The dish id of a group header line in the summary.
    static constexpr const char* kGroupHeader = "bomname";
    // Picker tags of the summary page; any other tag is a pick's cooking methods.
    static constexpr int kItemMethods = 980001;
    static constexpr int kItemTastes = 980002;
    static constexpr int kAllTastes = 980010;
    static constexpr double kPageWidth = 320;
    static constexpr double kPageHeight = 460;

    explicit UISelectBomViewController(std::string nibName = "UISelectBomViewController");
    ~UISelectBomViewController() override;

    void setM_dish(std::shared_ptr<NSDishClass> line) { m_dish_ = std::move(line); }
    const std::shared_ptr<NSDishClass>& m_dish() const { return m_dish_; }
    // Kept without ownership: the root outlives its screens.
    void setRootController(ScreenRoot* root) { rootController_ = root; }

    // ---- group walk ----
    // Starts the next choice group; false when the set-meal table has none left.
    bool beginSelect();
    void showCanSelect(const std::vector<std::string>& entries);
    void showhasSelect();
    void showListView();
    void select(int tag);
    void unSelect(int tag);
    void nextSelect();
    void onCancel();

    // ---- summary page ----
    void onButtonShul(int row);
    void listzuof(int row);
    void listkouw(int row);
    void onButtonAllKouw();
    void QuantityAdd();
    void QuantityAdd5();
    void QuantityDel();
    void QuantityDel5();
    void onOk();

    // ---- dialog answers ----
    void SelectDlgOk() override;
    void SelectDlgCancel() override;
    void NumDlgOk() override;
    void NumDlgCancel() override;
    void alertViewClickedButtonAtIndex(ui::AlertView& alert, int buttonIndex) override;

    // ---- table ----
    int numberOfRows(ui::TableView&, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRow(ui::TableView&, const ui::IndexPath& path) override;
    double heightForRow(ui::TableView&, const ui::IndexPath&) override { return 30; }

    void loadView() override;
    void viewDidLoad() override;
    void viewDidUnload() override;

    // The group page and the summary page, and their labels and buttons.
    std::shared_ptr<ui::View> selectBomView, showBomListView;
    std::shared_ptr<ui::Label> dishname_L, dishname2_L, first_L, second_L, bomQ_L, hasselect_L;
    std::shared_ptr<ui::Button> bt_ok, bt_cancel, bt_cancel2, bt_next;
    std::shared_ptr<ui::TableView> tv_list;
    std::shared_ptr<ui::Image> im_btn;

    int pageindex = 0;
    std::vector<std::shared_ptr<ui::Button>> canSelectBtns, hasSelectBtns;
    std::vector<std::shared_ptr<NSCaipClass>> nowcanSelectCaips;
    std::vector<std::shared_ptr<NSDishClass>> nowSelectDishs;
    std::vector<std::shared_ptr<NSDishClass>> allSelectDishs;
    int selectCaipNum = 0;
    float bomQuantity = 1;
    std::shared_ptr<NSDishClass> m_zuofdish;
    std::shared_ptr<NSATreeClass> m_zuofs;
    std::vector<std::string> m_allKouws;
    std::shared_ptr<UISelectViewController> selectViewController;
    std::shared_ptr<UINumViewController> numController;

private:
    // A candidate or chosen button of the group page.
    std::shared_ptr<ui::Button> choiceButton(const ui::Rect& frame, const std::string& title, int tag);
    // The tree picker over the chooser.
    void openPicker(std::shared_ptr<NSATreeClass> tree, int tag, bool multi, const std::string& writeText,
                    const std::string& title);
    ui::Rect pageFrame() const;
    void setCount(float count);
    // The summary's line at a row, or null.
    std::shared_ptr<NSDishClass> lineAt(int row) const;
    static bool isHeader(const NSDishClass& line);

    std::shared_ptr<NSDishClass> m_dish_;
    ScreenRoot* rootController_ = nullptr;
};
