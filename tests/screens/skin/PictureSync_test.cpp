// Dish pictures after a menu synchronisation: the dish grid, the detail view and the skinned
// slots draw the pictures the back office sent, also when the demo data stored them before the
// device enrolled (under another device key).

#include "platform/render/UiHooks.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "screens/menu/NSCaipViewCell.h"
#include "screens/menu/UICaipViewController.h"
#include "screens/menu/UISelectCaipViewController.h"
#include "screens/skin/SkinMenuFixture.h"

namespace {

class PictureSync : public SkinMenuFixture {
protected:
    // The size of the picture the back office serves under that name.
    ui::Size served(const std::string& name) {
        for (const auto& file : sim.files("bmp"))
            if (file.name == name)
                if (auto image = ui::Image::withData(file.bytes)) return image->size();
        ADD_FAILURE() << "the back office serves no picture " << name;
        return {};
    }

    // The settings' menu synchronisation against the simulator, typed in as a first set-up.
    void synchronise() {
        tap("设置");
        settle();
        edit(settings()->tf_ip1(), "127.0.0.1");
        tap("同步菜谱");
        ASSERT_EQ(alertMessage(), "菜谱已同步完成");
        tap("确定");
        advance(4);
        tap("返回");
        settle();
    }

    void expectServersPictures() {
        // The dish grid's first tile and the detail view it opens.
        root->begin(std::nullopt);
        settle();
        auto& menu = *root->selectCaipViewController;
        ASSERT_TRUE(menu.nowCplb() && !menu.nowCplb()->caips.empty());
        const std::string id = menu.nowCplb()->caips[0]->strID();
        auto tile = menu.tileAt(0);
        ASSERT_TRUE(tile);
        ASSERT_TRUE(tile->cappicIV->image()) << "tile of " << id;
        EXPECT_EQ(tile->cappicIV->image()->size(), served(id + "T.BMP"));
        ASSERT_TRUE(ui::tapView(*window, *tile->ShowCaipB).ok);
        loop().drain();
        advance(0.5);
        ASSERT_TRUE(root->caipViewController);
        auto picture = std::dynamic_pointer_cast<ui::ImageView>(root->caipViewController->scrollView());
        ASSERT_TRUE(picture && picture->image()) << "detail of " << id;
        EXPECT_EQ(picture->image()->size(), served(id + ".BMP"));
        tap("返回");
        advance(0.5);

        // The skinned slots of the hot dishes.
        putOn(menuLayout({}, "Form2"));
        ASSERT_EQ(form().formName, "Form2");
        for (auto& slot : form().virtualCaipShows) {
            ASSERT_TRUE(slot->nowcaip);
            auto image = slot->caipImage->currentBackgroundImage();
            ASSERT_TRUE(image) << "slot of " << slot->nowcaip->strID();
            EXPECT_EQ(image->size(), served(slot->nowcaip->strID() + "T.BMP"));
        }
    }
};

TEST_F(PictureSync, AfterTheDemoDataTheServersPicturesAreDrawn) {
    render::installUiHooks();
    launch();
    tap("是");  // the demo data, downloaded before any server is set: under the key "null"
    advance(0.3);
    ASSERT_TRUE(alerts().empty()) << alertMessage();
    ASSERT_EQ(NSServer::getMacAdr(), "null");
    synchronise();
    ASSERT_NE(NSServer::getMacAdr(), "null") << "the device enrolled before the synchronisation";
    expectServersPictures();
}

TEST_F(PictureSync, OnAFreshDeviceTheServersPicturesAreDrawn) {
    render::installUiHooks();
    start();
    synchronise();
    expectServersPictures();
}

}  // namespace
