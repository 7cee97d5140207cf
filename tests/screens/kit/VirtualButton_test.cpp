// The image button: hit tests, pictures of the package and of the skins folder, labels.

#include <cairo.h>

#include "core/CoreFixture.h"
#include "platform/render/Png.h"
#include "platform/render/UiHooks.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "screens/kit/VirtualButton.h"

namespace {

std::string pngOfSize(int w, int h) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    auto bytes = render::encodePng(s);
    cairo_surface_destroy(s);
    return bytes.value_or("");
}

class ImageButton : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        render::installUiHooks();
        ui::Image::clearCache();
        putInPackage("up.png", pngOfSize(4, 4));
        putInPackage("down.png", pngOfSize(5, 5));
        platform::fs::createFolder(NSServer::getSkinsPath());
    }
    void TearDown() override {
        ui::Image::clearCache();
        CoreTest::TearDown();
    }
    int pictureWidth(const VirtualButton& b) const {
        return b.imageView && b.imageView->image() ? b.imageView->image()->width() : 0;
    }
    std::shared_ptr<ui::View> owner = std::make_shared<ui::View>(ui::Rect{0, 0, 300, 300});
};

TEST_F(ImageButton, APointOnAnEdgeMisses) {
    VirtualButton b;
    b.create(*owner, {10, 20, 30, 40}, "", "");
    struct Case { double x, y; bool hit; } cases[] = {
        {25, 40, true}, {10.5, 20.5, true}, {39.9, 59.9, true},
        {10, 40, false}, {40, 40, false}, {25, 20, false}, {25, 60, false}, {0, 0, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(b.onButtonDown(c.x, c.y, *owner), c.hit) << c.x << "," << c.y;
        EXPECT_EQ(b.onButtonUp(c.x, c.y, *owner), c.hit) << c.x << "," << c.y;
    }
    // Without pictures the button still answers, but never draws.
    EXPECT_FALSE(b.imageView);
    EXPECT_TRUE(owner->subviews().empty());
}

TEST_F(ImageButton, PressingShowsThePressedPictureAndReleasingTheNormalOne) {
    VirtualButton b;
    b.create(*owner, {0, 0, 50, 50}, "up.png", "down.png");
    EXPECT_EQ(pictureWidth(b), 4);
    EXPECT_TRUE(b.onButtonDown(10, 10, *owner));
    EXPECT_EQ(pictureWidth(b), 5);
    EXPECT_TRUE(b.onButtonUp(10, 10, *owner));
    EXPECT_EQ(pictureWidth(b), 4);

    // No pressed picture: nothing shows while held, the normal picture comes back on release.
    b.downImageView.clear();
    EXPECT_TRUE(b.onButtonDown(10, 10, *owner));
    EXPECT_EQ(pictureWidth(b), 0);
    EXPECT_TRUE(b.onButtonUp(10, 10, *owner));
    EXPECT_EQ(pictureWidth(b), 4);

    // A name the package lacks empties the image view.
    b.upImageView = "missing.png";
    b.showButtonUp(*owner);
    EXPECT_EQ(pictureWidth(b), 0);
}

TEST_F(ImageButton, PressingALabelledButtonRepeatsTheLabelOverThePicture) {
    VirtualButton b;
    b.create(*owner, {0, 0, 60, 40}, "", "down.png");
    b.setText("确定", ui::Color::whiteColor(), ui::Font::boldSystemFont(17), *owner);
    ASSERT_FALSE(b.imageView);
    EXPECT_TRUE(b.onButtonDown(30, 20, *owner));
    ASSERT_TRUE(b.imageView);
    // The new image view lies over the label and carries its own copy of it.
    EXPECT_EQ(owner->subviews().back(), b.imageView);
    ASSERT_EQ(b.imageView->subviews().size(), 1u);
    auto* inner = dynamic_cast<ui::Label*>(b.imageView->subviews()[0].get());
    ASSERT_TRUE(inner);
    EXPECT_EQ(inner->text(), "确定");
    EXPECT_EQ(inner->frame(), (ui::Rect{0, 0, 60, 40}));

    b.setText("取消", ui::Color::blackColor(), ui::Font::systemFont(13), *owner);
    EXPECT_EQ(b.ladel->text(), "取消");
    b.removeText();
    EXPECT_FALSE(b.ladel);
}

TEST_F(ImageButton, SkinPicturesAreFoundByTheUpperCaseName) {
    platform::fs::writeAtomically(NSServer::getSkinsPath() + "/A.PNG", pngOfSize(7, 7));
    VirtualButton b;
    b.isResImage = false;
    for (const char* name : {"a.png", "A.PNG"}) {
        b.imageView.reset();
        b.create(*owner, {0, 0, 10, 10}, name, "");
        EXPECT_EQ(pictureWidth(b), 7) << name;
    }
    // A missing skin file, or a name that would leave the folder, keeps the picture shown.
    for (const char* name : {"b.png", "../A.PNG"}) {
        b.upImageView = name;
        b.showButtonUp(*owner);
        EXPECT_EQ(pictureWidth(b), 7) << name;
    }
}

TEST_F(ImageButton, ACopyHasNoNormalPicture) {
    VirtualButton b;
    b.create(*owner, {1, 2, 3, 4}, "up.png", "down.png");
    b.m_tag = 9;
    b.func = "open";
    auto copy = VirtualButton::copyButton(b);
    EXPECT_EQ(copy->location, b.location);
    EXPECT_EQ(copy->m_tag, 9);
    EXPECT_EQ(copy->func, "open");
    EXPECT_EQ(copy->downImageView, "down.png");
    EXPECT_TRUE(copy->upImageView.empty());
    EXPECT_FALSE(copy->imageView);

    b.unShowButton();
    EXPECT_FALSE(b.imageView);
    EXPECT_TRUE(owner->subviews().empty());
}

}  // namespace
