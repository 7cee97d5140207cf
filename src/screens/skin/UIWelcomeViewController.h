#pragma once
// The welcome screen: the first screen of the terminal and the one every way back from the dish
// menu returns to. A background, a toolbar with the begin and settings buttons, and a hidden
// gesture (two taps in the top-left corner, then two in the lower right) that opens the settings.
// It asks the root's login gate for the settings (765001) and the fixed-desk opening (765006).
//
// It also hosts the skinned full-screen menu: when the skins folder holds the screen-layout file
// it loads the forms (UIWelcomeViewControllerSkin.cpp), draws the current one, hands it presses
// and releases, turns dish pages and forms on a swipe, runs the idle screen saver and plays the
// skin videos.

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/ViewController.h"
#include "screens/kit/NSDialogProtocols.h"

namespace media {
class MoviePlayer;
}
namespace platform {
class Timer;
}

class NSScreen;
class ScreenRoot;
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
    void setRootController(ScreenRoot* root) { rootController_ = root; }
    ScreenRoot* rootController() const { return rootController_; }

    void loadView() override;
    void viewDidLoad() override;
    void viewDidUnload() override;
    // Pictures and titles from the package and the word table.
    void showInterface();

    // Button actions.
    void begin();
    // The settings button, the gesture (no argument) and a finished login (kNoLogin).
    void set(const std::optional<std::string>& argument = std::nullopt);
    // The guests' way into the online service ("在线服务"): the online home over this screen.
    void openOnline();
    // The online entry stays visible under a skin and over the skinned form's pictures, so a
    // skinned terminal keeps its way to the guest part; the form calls it once drawn.
    void keepOnlineEntryInFront();

    // NSLoginDlg
    void loginBack(int loginType, bool ok) override;
    // Whether the root's login panel is open; with keep false the panel is also asked to close.
    bool isSubViewShow(bool keep);

    // ui::AlertViewDelegate: any button of this screen's alerts clears the alert-shown flag.
    void alertViewClickedButtonAtIndex(ui::AlertView&, int buttonIndex) override;

    // The hidden gesture, the presses and releases of the current form, and the page swipe.
    void touchesBegan(const ui::TouchSet& touches, const ui::Event* event) override;
    void touchesEnded(const ui::TouchSet& touches, const ui::Event* event) override;
    void touchesMoved(const ui::TouchSet& touches, const ui::Event* event) override;

    // ---- Skinned menu ----------------------------------------------------------------------------
    using FormMap = std::map<std::string, std::shared_ptr<VirtualForm>>;
    // Loads INTERFACE.XML into `forms` and INTERFACE2.XML into `forms2` and sets the orientation
    // flags; NO when the main file is missing.
    bool RelsolveXmlToForm();
    // Reads one layout file of the skins folder into `forms`; NO only when the file is missing.
    bool getFormXmlWithName(const std::string& fileName, FormMap& forms);
    // Loads the skin when the skins folder holds the layout file and, when it gave a form, shows
    // it and starts the screen saver; a file without forms leaves the plain screen with a message.
    // Called when the screen's view is made and after a skin update.
    void startSkin();
    // Whether this screen is what the waiter sees: its view is in the window and nothing is shown
    // over it (no other screen, panel, pad or alert). The screen saver plays only then.
    bool isShownInFront();
    // The screen saver's idle time counts from now (a touch, or the screen shown again).
    void restartScreenSaver();
    // The end of a dish-page curl: touches are accepted again.
    void animationFinish(const std::optional<std::string>& name, bool finished, void* context);

    // Skin videos: `rect` all zero plays full screen.
    void play(const ui::Rect& rect, const std::string& name);
    void stop();
    void fullBack();
    void clearPlay();

    const FormMap& forms() const { return forms_; }
    const FormMap& forms2() const { return forms2_; }
    const std::shared_ptr<VirtualForm>& nowForm() const { return nowForm_; }
    void setNowForm(std::shared_ptr<VirtualForm> form) { nowForm_ = std::move(form); }
    const std::shared_ptr<NSScreen>& screen() const { return screen_; }
    const std::shared_ptr<media::MoviePlayer>& moviePlayer() const { return moviePlayer_; }

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

private:
    void makeControls();
    // Shows the plain screen's own controls, or hides them under a skin.
    void showPlainControls(bool shown);
    // Ends the video player's notices to this screen.
    void forgetPlayer();
    // One swipe: a dish page of the current form or the neighbouring form.
    void swipe(bool forward);

    std::shared_ptr<ui::ImageView> toolBar_;
    std::shared_ptr<ui::Button> bt_set_;
    std::shared_ptr<ui::Button> bt_begin_;
    std::shared_ptr<ui::Button> bt_online_;  // the guests' way into the online service
    // Where the last touch went down or came up; (-100, -100) while none is under way.
    ui::Point gestureStartPoint_{-100, -100};
    ScreenRoot* rootController_ = nullptr;
    std::shared_ptr<ui::ImageView> imageView_;
    FormMap forms_;
    FormMap forms2_;
    std::shared_ptr<VirtualForm> nowForm_;
    bool hasXml_ = false;
    bool canTouch_ = true;
    std::shared_ptr<media::MoviePlayer> moviePlayer_;
    // The player's two notices while a video plays.
    unsigned long long finishedToken_ = 0;
    unsigned long long exitFullToken_ = 0;
    std::shared_ptr<platform::Timer> clearPlayTimer_;
    bool canPlay_ = true;
    std::shared_ptr<NSScreen> screen_;
    bool copy_ = false;
    // Progress of the hidden settings gesture; 4 opens the settings.
    int touchNum_ = 0;
};
