#pragma once
// The dish detail view: one dish large (a plain or zoomable picture, names, price, unit,
// description, its video on request), with the order line the waiter orders from it and the
// cooking-method tree built from that line. A horizontal swipe turns to the next or previous
// dish of the menu. The origin it was opened from decides where back leads.

#include <memory>
#include <optional>
#include <set>
#include <string>

#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NotificationCenter.h"
#include "platform/ui/TextView.h"
#include "platform/ui/ViewController.h"
#include "screens/lineedit/CaipFormHost.h"

namespace media {
class MoviePlayer;
}
class NSATreeClass;
class NSCaipClass;
class NSDishClass;
class ScreenRoot;
class UICaipFormViewController;

class UICaipViewController : public ui::ViewController, public ui::AlertViewDelegate, public CaipFormHost {
public:
    // Where the view was opened from; the back returns there.
    enum Origin { kFromMenu = 0, kFromList = 1, kFromSearch = 2, kFromSkin = 3, kFromSetMealAdd = 4, kSetMealItem = 5 };
    static constexpr int kReAddTag = 2;
    // The picture area in the view; the dish menu zooms a tapped picture into it.
    static constexpr ui::Rect kPictureArea{24, 76, 720, 540};
    // How long after a video ended no other may start.
    static constexpr double kVideoPause = 5.0;

    explicit UICaipViewController(std::string nibName = "UICaipViewController");
    ~UICaipViewController() override;

    void setRootController(ScreenRoot* root) { rootController_ = root; }
    // A new line of quantity 1 from the menu dish, with its cooking-method tree.
    bool getSelectCaip(const std::shared_ptr<NSCaipClass>& dish);
    // The given line itself (kept with an undo copy), with the checks of its cooking methods.
    bool getSelectDish(const std::shared_ptr<NSDishClass>& line);
    void setType(int origin) { type_ = origin; }
    int type() const { return type_; }
    const std::shared_ptr<NSDishClass>& m_dish() const { return m_dish_; }
    const std::shared_ptr<NSATreeClass>& m_zuofs() const { return m_zuofs_; }
    bool canTouch() const { return canTouch_; }
    bool canPlay() const { return canPlay_; }

    // Draws the line: picture, names, price, unit and description.
    void showDish() override;
    // Page turns over the menu's dishes.
    void nextCaip() override;
    void lastCaip() override;
    // Leaves the view (undoing the changes made to an existing line).
    void backTo();
    // Orders the line (asks first when the desk has the dish already).
    void selectCaip();
    void selectCaip2();
    // The dish video.
    void play();
    void stop();
    void fullBack();
    void clearPlay();
    // The set meal's items.
    void BomShow();
    // Enlarges the picture area.
    void showMaxPig();
    // The line leaves the desk; the line switches between hold and fire now.
    void deleteCai();
    void qicai();
    // The dish order form on this view: a new one for the line and its method tree, lying out of
    // sight; then slid in, or out again.
    void addCaipForm();
    void showCaipForm();
    // The form button: adds the form the first time, then slides it in or out.
    void toggleCaipForm();
    const std::shared_ptr<UICaipFormViewController>& caipFormController() const { return caipFormController_; }
    // Downloads the picture of the web-menu dish on show into the picture cache unless it is
    // there already or on its way; true when a download started. Drawing the dish asks for it.
    bool downLoadPic();
    // A picture download ended (`file` the cached picture, "" when it failed): the dish on show is
    // drawn again when the picture is its own.
    void receivePic(const std::string& address, const std::string& file);

    // Read by tests.
    const std::shared_ptr<ui::View>& scrollView() const { return scrollView_; }
    const std::shared_ptr<ui::View>& caiView() { view(); return caiView_; }
    const std::shared_ptr<ui::Label>& caipName() { view(); return caipName_; }
    const std::shared_ptr<ui::Label>& caipName2() { view(); return caipName2_; }
    std::shared_ptr<ui::Label> caipPrice() override { view(); return caipPrice_; }
    const std::shared_ptr<ui::Label>& caipDanw() { view(); return caipDanw_; }
    const std::shared_ptr<ui::TextView>& text() { view(); return text_; }
    const std::shared_ptr<ui::Button>& bt_taocan() { view(); return bt_taocan_; }
    const std::shared_ptr<media::MoviePlayer>& moviePlayer() const { return moviePlayer_; }
    const std::shared_ptr<ui::Button>& bt_form() { view(); return bt_form_; }

    ui::View& formHostView() override { return *view(); }
    ui::View& formArea() override;

    void loadView() override;
    void viewDidLoad() override;
    void viewDidUnload() override;
    void touchesBegan(const ui::TouchSet& touches, const ui::Event* event) override;
    void touchesMoved(const ui::TouchSet& touches, const ui::Event* event) override;
    void touchesEnded(const ui::TouchSet& touches, const ui::Event* event) override;
    void alertViewClickedButtonAtIndex(ui::AlertView& alert, int buttonIndex) override;
    void animationFinish(const std::optional<std::string>& name, bool finished);

private:
    // The cooking-method tree and the taste marks of the line; for an existing line also the
    // counts of its checked methods and of its add-on lines.
    void buildZuofs(bool fromLine);
    void turnPage(bool forward);
    void removePictureView();
    void dropPlayerObservers();
    // Closes an open pad or picker of the form (only asks when told); true when one was open.
    bool formSubViewShown(bool onlyAsk);
    void releaseCaipForm();

    ScreenRoot* rootController_ = nullptr;
    std::shared_ptr<ui::View> scrollView_;
    std::shared_ptr<NSDishClass> m_dish_;
    std::shared_ptr<NSDishClass> m_dishmodifybuffer_;
    std::shared_ptr<NSATreeClass> m_zuofs_;
    int type_ = kFromMenu;
    bool canTouch_ = true;
    bool canPlay_ = true;
    ui::Point gestureStartPoint_;
    std::shared_ptr<media::MoviePlayer> moviePlayer_;
    std::vector<ui::NotificationCenter::Token> playerObservers_;
    std::shared_ptr<UICaipFormViewController> caipFormController_;
    // Where the form lies: a clipping frame of the form's size, so that the form slid down is
    // out of sight (and out of reach) on this larger view too.
    std::shared_ptr<ui::View> formArea_;
    // The picture addresses asked for and not answered yet.
    std::set<std::string> picturesAwaited_;

    std::shared_ptr<ui::View> caiView_;
    std::shared_ptr<ui::TextView> text_;
    std::shared_ptr<ui::Label> caipName_, caipName2_, caipPrice_, caipDanw_;
    std::shared_ptr<ui::Button> bt_taocan_, bt_back_, bt_select_, bt_movie_, bt_big_, bt_form_;
};
