#pragma once
// The order-line editor: the dialog in which a waiter sets up one order line before it goes into
// the current desk (or into the set meal being composed, or, in modify mode, in place in the
// desk): quantity on a keypad or with +1/-1, unit, cooking methods with counts and surcharges,
// tastes, a free-text requirement, a custom dish's name and price, a manual surcharge and a
// second quantity. OK commits the line (UIQuickCaipViewControllerCommit.cpp); cancel closes it.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"
#include "screens/kit/NSDialogProtocols.h"

class NSATreeClass;
class NSCaipClass;
class NSDishClass;
class ScreenRoot;
class UINumViewController;
class UISelectViewController;

class UIQuickCaipViewController : public ui::ViewController,
                                  public NSNumDlg,
                                  public NSSelectDlg,
                                  public ui::TextFieldDelegate,
                                  public ui::AlertViewDelegate,
                                  public ui::ScrollViewDelegate {
public:
    // The line becomes an item of the set meal open on the set-meal screen.
    static constexpr int kSetMealItem = 4;
    // Pad tags: a method's quantity, the manual surcharge, the second quantity.
    static constexpr int kMethodQuantityPad = 760007;
    static constexpr int kSurchargePad = 760008;
    static constexpr int kSecondQuantityPad = 760009;
    static constexpr int kTastePicker = 980002;
    // Keypad tags beyond the digits 0 .. 9.
    static constexpr int kKeyPoint = 10;
    static constexpr int kKeyBackspace = 11;
    // The sender text of onOk that skips the required-method test.
    static constexpr const char* kNoAlert = "NO_ALERT";

    explicit UIQuickCaipViewController(std::string nibName = "UIQuickCaipViewController");
    ~UIQuickCaipViewController() override;

    // Set by the root before the view loads.
    void setM_caip(std::shared_ptr<NSCaipClass> dish) { m_caip_ = std::move(dish); }
    void setM_dish(std::shared_ptr<NSDishClass> line) { m_dish_ = std::move(line); }
    // Kept without ownership: the root outlives its screens.
    void setRootController(ScreenRoot* root) { rootController_ = root; }
    void setType(int type) { type_ = type; }
    void setIsModify(bool modify) { isModify_ = modify; }
    const std::shared_ptr<NSCaipClass>& m_caip() const { return m_caip_; }
    const std::shared_ptr<NSDishClass>& m_dish() const { return m_dish_; }
    const std::shared_ptr<NSATreeClass>& m_zuofs() const { return m_zuofs_; }
    ScreenRoot* rootController() const { return rootController_; }
    int type() const { return type_; }
    bool isModify() const { return isModify_; }

    // ---- actions ----
    void onButtonNum(int tag);
    void onAdd();
    void onDel();
    void onButtonKouw();
    void OnButtonJiaj();
    void tiaoz();
    void selectDanw(int index);
    void selectZuof(int row);
    // The commit; `sender` kNoAlert skips the required-method test.
    void onOk(const std::string& sender = {});
    void onCancel();
    // The set-meal item step of the commit: false unless the editor adds a set-meal item.
    bool addToBom(const std::shared_ptr<NSDishClass>& line);

    // ---- dialog answers ----
    void SelectDlgOk() override;
    void SelectDlgCancel() override;
    void NumDlgOk() override;
    void NumDlgCancel() override;
    void alertViewClickedButtonAtIndex(ui::AlertView& alert, int buttonIndex) override;
    bool textFieldShouldBeginEditing(ui::TextField& field) override;
    void textFieldDidBeginEditing(ui::TextField& field) override;
    void textFieldDidEndEditing(ui::TextField& field) override;
    bool textFieldShouldReturn(ui::TextField& field) override;
    // The method and unit strips show what scrolls into sight.
    void scrollViewDidScroll(ui::ScrollView& strip) override;

    // ---- views ----
    void loadView() override;
    void viewDidLoad() override;
    void viewDidUnload() override;

    // The panel of controls, placed 53 points below the card's top.
    std::shared_ptr<ui::View> subview;
    std::shared_ptr<ui::View> card;      // the dialog's body over the shaded screen
    std::shared_ptr<ui::View> v_keys;    // the keypad's keys
    std::shared_ptr<ui::TextField> tf_num, tf_caipname, tf_price, tf_otherKouw;
    std::shared_ptr<ui::Label> lb_shul, lb_guig, lb_zuof, lb_title;
    std::shared_ptr<ui::Button> bt_del, bt_ok, bt_cancel, bt_kouw, bt_jiaj, bt_add, bt_minus, bt_tiaoz;
    std::shared_ptr<ui::ScrollView> sv_zuof, sv_guig;
    // The method buttons by row (from row 1), null until the row has scrolled into sight; the
    // unit buttons by unit.
    std::vector<std::shared_ptr<ui::Button>> zuofbts, guigbts;
    std::shared_ptr<UINumViewController> numController;
    std::shared_ptr<UISelectViewController> selectController;

private:
    void loadZuof();
    void showZuof();
    void showZuofInSight();
    void loadDanwShow();
    void showDishName();
    void loadModify();
    // A number pad over the editor with the given tag, preset text and title.
    void openPad(int tag, const std::string& preset, const std::string& title, bool sign,
                 const std::optional<ui::Rect>& frame);
    void closePad();
    // A plain option button of the method and unit rows.
    std::shared_ptr<ui::Button> optionButton(ui::View& parent, const ui::Rect& frame, const std::string& title,
                                             bool checked);
    bool isCustom() const;
    // Why the commit must not go on, checked before the line changes; none when it may.
    enum class Refusal { None, MethodRequired, SetMeal, NoName, NoQuantity, SoldOut };
    Refusal checkCommit(double quantity, bool methodTest) const;
    // Whether a marked method will become an add-on line of its own.
    bool becomesAddOn(int row) const;

    std::shared_ptr<NSCaipClass> m_caip_;
    std::shared_ptr<NSDishClass> m_dish_;
    std::shared_ptr<NSATreeClass> m_zuofs_;
    ScreenRoot* rootController_ = nullptr;
    int changeZuoShulRow = 0;
    int type_ = 0;
    bool isModify_ = false;
};
