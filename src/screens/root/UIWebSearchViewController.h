#pragma once
// The web page screen: a full screen with a title field, a back button and a web view that loads
// one fixed public page. The dish menu opens it through the root (showWebSearch).

#include <memory>

#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/WebView.h"

class SwitchViewController;

class UIWebSearchViewController : public ui::ViewController {
public:
    // The page the screen shows.
    static constexpr const char* kAddress = "https://www.wikipedia.org/";
    // The device orientations, as shouldAutorotateToInterfaceOrientation numbers them.
    static constexpr int kPortrait = 1, kPortraitUpsideDown = 2, kLandscapeRight = 3, kLandscapeLeft = 4;

    explicit UIWebSearchViewController(std::string nibName = "UIWebSearchViewController");

    // Kept without ownership: the root outlives its screens.
    void setRootController(SwitchViewController* root) { rootController_ = root; }

    void loadView() override;
    void viewDidLoad() override;
    void viewDidUnload() override;
    // Pictures and the title field's place for the landscape flag and the interface type.
    void showInterface(bool first);
    // Landscape orientations (3 and 4) make the view 1024 x 748, portrait ones 768 x 1004.
    bool shouldAutorotateToInterfaceOrientation(int orientation) override;
    // The back button.
    void onCancel();

    const std::shared_ptr<ui::ImageView>& iv_back() const { return iv_back_; }
    const std::shared_ptr<ui::Button>& bt_back() const { return bt_back_; }
    const std::shared_ptr<ui::TextField>& tf_title() const { return tf_title_; }
    const std::shared_ptr<ui::WebView>& wv_bbiao() const { return wv_bbiao_; }

private:
    std::shared_ptr<ui::ImageView> iv_back_;
    SwitchViewController* rootController_ = nullptr;
    std::shared_ptr<ui::Button> bt_back_;
    std::shared_ptr<ui::TextField> tf_title_;
    std::shared_ptr<ui::WebView> wv_bbiao_;
};
