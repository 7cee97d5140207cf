// A new user's way to the skinned menu: the settings' skin update fetches the demo skin from the
// back office, the welcome screen puts it on at once, and a dish ordered from a slot reaches the
// order list.

#include "model/NSCplbTreeClass.h"
#include "platform/render/UiHooks.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "screens/skin/SkinMenuFixture.h"

namespace {

class SkinUpdate : public SkinMenuFixture {
protected:
    // The centre of the first button of the current form whose action text is `func`.
    void tapFunc(const std::string& func) {
        for (auto& button : form().virtualButtons)
            if (button->func == func) return tapRect(button->location);
        FAIL() << "no button " << func << " on " << form().formName;
    }
    void acknowledge() {
        tap("确定");
        advance(4);
    }
};

TEST_F(SkinUpdate, TheSettingsDressTheTerminalInTheDemoSkinAndASlotOrdersADish) {
    render::installUiHooks();
    start(true);
    tap("设置");
    settle();
    tap("同步菜谱");
    acknowledge();
    tap("更新皮肤和视频");
    acknowledge();
    EXPECT_TRUE(platform::fs::exists(NSServer::getSkinsPath() + "/INTERFACE.XML"));
    tap("返回");
    settle();

    ASSERT_TRUE(welcome()->hasXml()) << dump();
    EXPECT_EQ(form().formName, "Form1");
    EXPECT_TRUE(welcome()->bt_begin()->isHidden()) << "the skin's own buttons take over";
    EXPECT_TRUE(shows("在线服务")) << "the guests' way stays under the skin";
    ASSERT_TRUE(welcome()->imageView()->image());
    EXPECT_EQ(welcome()->imageView()->image()->size(), (ui::Size{768, 1004}));
    for (auto& button : form().virtualButtons) {
        ASSERT_TRUE(button->imageView) << button->func;
        EXPECT_TRUE(button->imageView->image()) << button->func;
    }
    ASSERT_TRUE(welcome()->screen());
    EXPECT_TRUE(welcome()->screen()->isRunning());

    tapFunc("Open(Form2)");
    settle();
    ASSERT_EQ(form().formName, "Form2");
    auto dish = form().virtualCaipShows.at(0)->nowcaip;
    ASSERT_TRUE(dish);
    EXPECT_TRUE(form().virtualCaipShows[0]->caipImage->currentBackgroundImage()) << "the dish's downloaded picture";
    tapQuickSel(0);
    ASSERT_EQ(lines().size(), 1u);
    EXPECT_EQ(lines()[0]->m_strCaipName, dish->m_strName);

    tapFunc("CheckList");
    settle();
    ASSERT_TRUE(root->listViewController);
    EXPECT_TRUE(shows(dish->m_strName)) << dump();
}

TEST_F(SkinUpdate, AMenuSynchronisationRefillsTheSlotsFromTheNewMenu) {
    start(true);
    putOn(menuLayout({}, "Form2"));
    EXPECT_EQ(slotNames().front(), "翡翠花菇扒鲍脯") << "the demo menu's first hot dish";
    // The skin hides the plain settings button; the administrator opens them as after a login.
    UISetViewController::markNextOpeningAsAdministrator(true);
    root->set();
    settle();
    tap("同步菜谱");
    acknowledge();
    tap("返回");
    settle();
    ASSERT_TRUE(welcome()->hasXml());
    ASSERT_EQ(form().formName, "Form2") << "the form shown last";
    // The server's category 000001 now fills the slots with the server's dishes.
    auto category = NSCplbTreeClass::getCplbTreeFromCplbTrees("000001", NSServer::getCaipDB()->rootCplbTrees);
    ASSERT_TRUE(category);
    EXPECT_EQ(form().useCplbTree, category);
    ASSERT_FALSE(category->caips.empty());
    EXPECT_EQ(slotNames().front(), category->caips.front()->m_strName);
}

}  // namespace
