#pragma once
// The welcome screen: the first screen of the terminal and the one every way back from the dish
// menu returns to. A background, a toolbar with the begin and settings buttons, and a hidden
// gesture (two taps in the top-left corner, then two in the lower right) that opens the settings.
// It asks the root's login gate for the settings (765001) and the fixed-desk opening (765006).
//
// This is the plain screen. The skinned menu it will host (the forms of the screen-layout files,
// the form shown now, the idle screen saver and the skin videos) is not built yet: `hasXml` stays
// NO and `nowForm` answers nothing, and every place that would hand a touch to a form says so.

#include <memory>
#include <optional>
#include <string>

#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/ViewController.h"
#include "screens/host/NSDialogProtocols.h"

class SwitchViewController;
class VirtualForm;

class UIWelcomeViewController : public ui::ViewController, public NSLoginDlg, public ui::AlertViewDelegate {
public:
    static constexpr int kLoginSettings = 765001;
    static constexpr int kLoginSetDesk = 765006;
    // The argument of set: after a login that already succeeded.
    static constexpr const char* kNoLogin = "NO_LOGIN";

    // `copy` is the throw-away screen of a page turn of the skinned menu; every other creator
    // passes false.
    explicit UIWelcomeViewController(std::string nibName = "UIWelcomeViewController", bool copy = false);
    ~UIWelcomeViewController() override;

    // Kept without ownership: the root outlives its screens.
    void setRootController(SwitchViewController* root) { rootController_ = root; }
    SwitchViewController* rootController() const { return rootController_; }

    void loadView() override;
    void viewDidLoad() override;
    void viewDidUnload() override;
    // Pictures and titles from the package and the word table.
    void showInterface();

    // Button actions.
    void begin();
    // The settings button, the gesture (no argument) and a finished login (kNoLogin).
    void set(const std::optional<std::string>& argument = std::nullopt);

    // NSLoginDlg
    void loginBack(int loginType, bool ok) override;
    // Whether the root's login panel is open; with keep false the panel is also asked to close.
    bool isSubViewShow(bool keep);

    // ui::AlertViewDelegate: any button of this screen's alerts clears the alert-shown flag.
    void alertViewClickedButtonAtIndex(ui::AlertView&, int buttonIndex) override;

    // The hidden gesture.
    void touchesBegan(const ui::TouchSet& touches, const ui::Event* event) override;
    void touchesEnded(const ui::TouchSet& touches, const ui::Event* event) override;

    const std::shared_ptr<ui::ImageView>& toolBar() const { return toolBar_; }
    const std::shared_ptr<ui::ImageView>& imageView() const { return imageView_; }
    const std::shared_ptr<ui::Button>& bt_set() const { return bt_set_; }
    const std::shared_ptr<ui::Button>& bt_begin() const { return bt_begin_; }
    ui::Point gestureStartPoint() const { return gestureStartPoint_; }
    void setGestureStartPoint(ui::Point p) { gestureStartPoint_ = p; }
    bool hasXml() const { return hasXml_; }
    void setHasXml(bool value) { hasXml_ = value; }
    bool canTouch() const { return canTouch_; }
    void setCanTouch(bool value) { canTouch_ = value; }
    bool canPlay() const { return canPlay_; }
    void setCanPlay(bool value) { canPlay_ = value; }
    int touchNum() const { return touchNum_; }
    // The skinned form shown now: none until the skinned menu exists.
    std::shared_ptr<VirtualForm> nowForm() const { return nullptr; }

private:
    void makeControls();

    std::shared_ptr<ui::ImageView> toolBar_;
    std::shared_ptr<ui::Button> bt_set_;
    std::shared_ptr<ui::Button> bt_begin_;
    // Where the last touch went down or came up; (-100, -100) while none is under way.
    ui::Point gestureStartPoint_{-100, -100};
    SwitchViewController* rootController_ = nullptr;
    std::shared_ptr<ui::ImageView> imageView_;
    bool hasXml_ = false;
    bool canTouch_ = true;
    bool canPlay_ = true;
    // Progress of the hidden settings gesture; 4 opens the settings.
    int touchNum_ = 0;
};
