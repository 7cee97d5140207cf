// The custom alert, the popup and the web page screen, worked by taps.

#include "ScreenFixture.h"
#include "screens/kit/UIMyAlertViewController.h"
#include "screens/kit/UIShowXViewController.h"
#include "screens/root/UIWebSearchViewController.h"

namespace {

struct RecordingDelegate : UIMyAlertViewDelegate {
    std::vector<int> presentedTags;
    std::vector<std::pair<int, int>> answers;  // panel tag, button index
    void willPresentAlertView(ui::View& panel) override {
        presentedTags.push_back(panel.tag());
        // What the order list does: its own field on the panel body.
        auto field = std::make_shared<ui::Label>(ui::Rect{10, 120, 280, 30});
        field->setText("人数字段");
        panel.addSubview(field);
    }
    void alertViewClickedButtonAtIndex(ui::View& panel, int index) override { answers.emplace_back(panel.tag(), index); }
};

class Panels : public ScreenFixture {
protected:
    void SetUp() override {
        ScreenFixture::SetUp();
        launch("127.0.0.1");
        advance(1);
    }
    // Shows a custom alert and lets its creator let go of it at once, as the order list does.
    std::weak_ptr<UIMyAlertViewController> showAlert(int tag, std::vector<std::string> others) {
        auto alert = std::make_shared<UIMyAlertViewController>();
        alert->updateWithTitle("开台", "请输入人数", delegate, "取消", others);
        alert->setTag(tag);
        alert->show();
        return alert;
    }
    std::shared_ptr<RecordingDelegate> delegate = std::make_shared<RecordingDelegate>();
};

TEST_F(Panels, TheCustomAlertStacksItsButtonsAboveCancelAndAnswersWithThePanelBody) {
    auto alert = showAlert(42, {"确定", "打印", "再来"});
    ASSERT_FALSE(alert.expired()) << "a shown panel keeps itself alive";
    EXPECT_EQ(delegate->presentedTags, std::vector<int>{42});
    EXPECT_TRUE(shows("人数字段"));
    EXPECT_TRUE(shows("请输入人数"));

    struct Place {
        const char* title;
        double top;
        int tag;
    } places[] = {{"取消", 355, 0}, {"确定", 310, 1}, {"打印", 265, 2}, {"再来", 220, 3}};
    for (auto& p : places) {
        auto found = ui::findViewsWithTitle(*window, p.title);
        ASSERT_EQ(found.size(), 1u) << p.title;
        EXPECT_EQ(found[0]->frame(), (ui::Rect{0, p.top, 300, 45})) << p.title;
        EXPECT_EQ(found[0]->tag(), p.tag) << p.title;
    }

    tap("打印");
    EXPECT_EQ(delegate->answers, (std::vector<std::pair<int, int>>{{42, 2}}));
    EXPECT_FALSE(shows("请输入人数"));
    loop().drain();
    EXPECT_TRUE(alert.expired()) << "a closed panel ends once nobody holds it";
}

TEST_F(Panels, EveryButtonOfTheCustomAlertClearsTheAlertShownFlagButCancelTellsTheDelegateNothing) {
    for (const char* button : {"取消", "确定"}) {
        NSServer::setIsShowAlert(true);
        auto alert = showAlert(7, {"确定"});
        tap(button);
        EXPECT_FALSE(NSServer::getIsShowAlert()) << button;
        EXPECT_FALSE(shows("请输入人数")) << button;
        loop().drain();
        EXPECT_TRUE(alert.expired()) << button;
    }
    EXPECT_EQ(delegate->answers, (std::vector<std::pair<int, int>>{{7, 1}}));

    // So a failure after a cancelled panel is an alert again, not a line on the message panel.
    showAlertOrMessage("提示", "网络连接失败");
    EXPECT_EQ(alertMessage(), "网络连接失败");
}

struct Owner : UIShowXOwner {
    int closes = 0;
    void clearShow() override { ++closes; }
};

TEST_F(Panels, ThePopupShowsItsTextInTheChosenVariantAndATouchAsksTheOwnerToClose) {
    Owner owner;
    for (bool up : {true, false}) {
        auto popup = std::make_shared<UIShowXViewController>();
        popup->setLastViewController(&owner);
        popup->setUpDowm(up);
        popup->setMessage(up ? "上方说明" : "下方说明");
        EXPECT_EQ(popup->view(), up ? popup->view1() : popup->view2());
        EXPECT_EQ((up ? popup->label1() : popup->label2())->text(), up ? "上方说明" : "下方说明");
        EXPECT_EQ((up ? popup->label2() : popup->label1())->text(), "");
        popup->view()->setFrame({100, 300, 300, 110});
        root->view()->addSubview(popup->view());
        tap(up ? "上方说明" : "下方说明");
        popup->view()->removeFromSuperview();
    }
    EXPECT_EQ(owner.closes, 2);
}

TEST_F(Panels, TheWebPageLoadsItsPageAndGoesBack) {
    root->showWebSearch();
    ASSERT_TRUE(root->webSearchViewController);
    auto page = root->webSearchViewController.get();
    EXPECT_EQ(root->view()->subviews().back(), page->view());
    EXPECT_EQ(page->wv_bbiao()->url(), UIWebSearchViewController::kAddress);
    EXPECT_EQ(page->tf_title()->frame(), (ui::Rect{41, 55, 467, 31}));

    EXPECT_TRUE(page->shouldAutorotateToInterfaceOrientation(UIWebSearchViewController::kLandscapeLeft));
    EXPECT_EQ(page->view()->frame().size, (ui::Size{1024, 748}));
    EXPECT_EQ(page->tf_title()->frame(), (ui::Rect{41, 55, 467, 31})) << "the landscape flag is off";
    page->shouldAutorotateToInterfaceOrientation(UIWebSearchViewController::kPortrait);

    tap("返回");
    EXPECT_FALSE(root->webSearchViewController);
    EXPECT_FALSE(page->view()->superview());
}

}  // namespace
