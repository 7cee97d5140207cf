// The dish detail view: opened from a tile with the zoom and back, the swipe that turns pages,
// the computed page walk, the set-meal item view that gives its line back untouched, the
// cooking-method counts of an existing line, ordering with its question, the video states, and
// the downloaded pictures of web-menu dishes.

#include <algorithm>

#include "MenuFixture.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Text.h"
#include "online/NSHTTPServer.h"
#include "platform/media/MoviePlayer.h"
#include "screens/kit/UINumViewController.h"
#include "screens/lineedit/UICaipFormViewController.h"
#include "screens/lineedit/UIQuickCaipViewController.h"
#include "screens/menu/MyScrollView.h"
#include "screens/menu/UICaipViewController.h"
#include "support/EventWait.h"
#include "websim/WebSim.h"

namespace {

class DetailView : public MenuFixture {
protected:
    UICaipViewController& detail() { return *root->caipViewController; }
    // A finger moving over the picture area by (dx, dy).
    void swipe(double dx, double dy) {
        ui::dragBy(*window, {384, 300}, {dx, dy}, 0.2);
        loop().drain();
    }
};

TEST_F(DetailView, ATileOpensItWithAZoomAndBackShrinksThePictureAgain) {
    auto cats = flatMenu({3});
    cats[0]->caips[1]->m_strName2 = "Fried rice";
    auto& m = openMenu();
    tapOn(*tile(1)->ShowCaipB);
    ASSERT_TRUE(root->caipViewController);
    EXPECT_FALSE(m.canTouch());
    ASSERT_TRUE(m.showCaipIV());
    advance(0.5);
    EXPECT_TRUE(m.canTouch());
    EXPECT_EQ(root->view()->subviews().back(), detail().view()) << "in front once the zoom ended";
    EXPECT_EQ(detail().caipName()->text(), "菜0-1");
    EXPECT_EQ(detail().caipName2()->text(), "Fried rice");
    EXPECT_EQ(detail().caipDanw()->text(), "元/份");
    EXPECT_TRUE(detail().scrollView()) << "the stand-in picture";
    EXPECT_FALSE(detail().bt_taocan()) << "no set-meal button for a plain dish";

    tap("返回");
    EXPECT_FALSE(root->caipViewController);
    advance(0.5);
    EXPECT_FALSE(m.showCaipIV()) << "the enlarged picture is gone after its way back";
    EXPECT_TRUE(m.canTouch());

    tap("列表");
    advance(1);
    tapOn(*tile(0)->ShowCaipB);
    EXPECT_FALSE(m.showCaipIV()->superview()) << "no zoom in the text list";
    EXPECT_TRUE(m.canTouch());
    tap("返回");
    EXPECT_TRUE(m.canTouch()) << "released at once on the way back";
}

// The order form lies on the view and edits its line; while the form has a pad open, the view's
// back and video only close the pad; slid out, the form is out of reach.
TEST_F(DetailView, TheOrderFormEditsTheLineAndBackAndVideoFirstCloseItsPad) {
    auto cats = flatMenu({3});
    cats[0]->caips[1]->m_strDanw = "例";  // sold by the serving
    openMenu();
    tapOn(*tile(1)->ShowCaipB);
    advance(0.5);
    auto& d = detail();
    auto line = d.m_dish();
    tap("点菜单");
    advance(0.3);
    auto form = d.caipFormController();
    ASSERT_TRUE(form);
    EXPECT_EQ(form->view()->frame().y(), 0) << "slid in";
    EXPECT_EQ(form->m_dish, line);
    EXPECT_EQ(form->m_zuofs, d.m_zuofs());
    tapOn(*form->bt_add);
    EXPECT_FLOAT_EQ(line->m_fQuantity, 2);
    tap("中");
    EXPECT_EQ(d.caipPrice()->text(), platform::fmt("%g", 10 * NSServer::getFMIDSTYLE())) << "the view shows the portion's price";
    EXPECT_EQ(d.caipDanw()->text(), "元/中");

    auto openPad = [&] {
        tapOn(*form->bt_shul);
        ASSERT_TRUE(form->numController);
    };
    // The pad covers the screen, so the view's back and video are called as a stray touch would
    // reach them: with the pad open each only closes the pad.
    const std::function<void()> touches[] = {
        [&] { d.backTo(); },
        [&] { d.play(); },  // the dish has no video: it would say so
    };
    for (std::size_t k = 0; k < std::size(touches); ++k) {
        openPad();
        touches[k]();
        advance(0.3);
        EXPECT_FALSE(form->numController) << k;
        EXPECT_TRUE(root->caipViewController) << k;
        EXPECT_EQ(alertMessage(), "") << k;
    }

    // A swipe on the form pages the view in the same line and tree, and the form follows.
    ui::dragBy(*window, form->tx_buttom->convertRectTo(form->tx_buttom->bounds(), window.get()).center(), {-80, 0}, 0.2);
    loop().drain();
    advance(1);
    EXPECT_EQ(d.m_dish(), line);
    EXPECT_EQ(line->caipID(), "D0-2");
    EXPECT_EQ(d.caipName()->text(), "菜0-2");
    EXPECT_EQ(form->tx_buttom->text().rfind("菜0-2 1份", 0), 0u) << "the form follows the page: " << form->tx_buttom->text();

    tap("点菜单");
    advance(0.3);
    EXPECT_EQ(form->view()->frame().y(), UICaipFormViewController::kHeight) << "slid out";
    EXPECT_FALSE(ui::tapView(*window, *form->bt_add).ok) << "out of sight and out of reach";
    tap("返回");
    EXPECT_FALSE(root->caipViewController);
    EXPECT_FALSE(form->view()->superview());
}

TEST_F(DetailView, ADemoDishShowsThePackagesPictureAndDescription) {
    auto& m = openMenu();  // the demo menu
    auto demo = m.nowCplb()->caips[0];
    root->showBigCaip1(demo);
    root->showBigCaip();
    auto picture = std::dynamic_pointer_cast<ui::ImageView>(detail().scrollView());
    ASSERT_TRUE(picture && picture->image());
    EXPECT_EQ(picture->image()->name(), "0" + std::to_string(std::stoi(demo->strID())) + ".bmp");
    EXPECT_NE(detail().text()->text().find(demo->m_strName), std::string::npos);
    EXPECT_EQ(detail().text()->alpha(), 1);

    auto cats = flatMenu({1});  // a dish of no demo, without files: the stand-in, no description
    root->showBigCaip1(cats[0]->caips[0]);
    picture = std::dynamic_pointer_cast<ui::ImageView>(detail().scrollView());
    ASSERT_TRUE(picture && picture->image());
    EXPECT_EQ(picture->image()->name(), "nopic2.bmp");
    EXPECT_EQ(detail().text()->alpha(), 0);
}

TEST_F(DetailView, TheZoomablePictureGrowsByAFifthPerTapAndTheAreaEnlargesOnce) {
    auto& m = openMenu();  // the demo menu
    NSServer::setisCaiph(false);
    root->showBigCaip1(m.nowCplb()->caips[0]);
    root->showBigCaip();
    auto zoomable = std::dynamic_pointer_cast<MyScrollView>(detail().scrollView());
    ASSERT_TRUE(zoomable);
    ASSERT_TRUE(zoomable->image());
    EXPECT_EQ(zoomable->caiViewController(), &detail());
    tapOn(*zoomable);
    EXPECT_DOUBLE_EQ(zoomable->zoomScale(), 1.2);
    for (int i = 0; i < 20; ++i) tapOn(*zoomable);
    EXPECT_DOUBLE_EQ(zoomable->zoomScale(), 10) << "at most ten times";

    tap("大图");
    EXPECT_FALSE(detail().canTouch());
    advance(0.4);
    EXPECT_TRUE(detail().canTouch());
    EXPECT_EQ(detail().caiView()->frame(), (ui::Rect{0, 0, 768, 1004}));
    EXPECT_EQ(zoomable->frame(), (ui::Rect{0, 0, 768, 1004}));
    EXPECT_EQ(zoomable->contentSize().width, 768);
    tap("大图");  // already large: nothing changes
    advance(0.4);
    EXPECT_EQ(detail().caiView()->frame(), (ui::Rect{0, 0, 768, 1004}));
    NSServer::setisCaiph(true);
}

TEST_F(DetailView, ASwipeTurnsOnePageOnlyWhenLongAndLevelEnough) {
    flatMenu({4});
    openMenu();
    tapOn(*tile(0)->ShowCaipB);
    advance(0.5);
    struct Case { double dx, dy; const char* shown; } cases[] = {
        {-24, 0, "D0-0"}, {-30, 21, "D0-0"}, {-25, 20, "D0-1"}, {25, 0, "D0-0"}, {25, 0, "D0-3"},
    };
    for (const auto& c : cases) {
        swipe(c.dx, c.dy);
        advance(1);
        EXPECT_EQ(detail().m_dish()->caipID(), c.shown) << c.dx << "," << c.dy;
    }
}

TEST_F(DetailView, ThePageWalkIsComputedOverTheMenu) {
    auto cats = flatMenu({5});
    cats[0]->caips[2]->m_strCategory = "";  // passed over: no category
    openMenu();
    root->showBigCaip1(cats[0]->caips[1]);
    auto& d = detail();
    d.nextCaip();
    EXPECT_EQ(d.m_dish()->caipID(), "D0-3") << "the next dish with a category";
    advance(1);

    // A dish the menu lacks: where a walk of a million steps would end, both ways.
    auto stranger = std::make_shared<NSCaipClass>();
    stranger->setM_strID("X");
    d.getSelectCaip(stranger);
    d.nextCaip();
    EXPECT_EQ(d.m_dish()->caipID(), "D0-" + std::to_string(999999 % 5));
    advance(1);
    d.getSelectCaip(stranger);
    d.lastCaip();
    EXPECT_EQ(d.m_dish()->caipID(), "D0-" + std::to_string(4 - 999999 % 5));
    advance(1);

    // The only dish with a category comes round again; an empty menu turns nothing.
    for (auto& dish : db()->m_CaipArray) dish->m_strCategory = "";
    db()->m_CaipArray[3]->m_strCategory = "C0";
    d.getSelectCaip(db()->m_CaipArray[3]);
    d.nextCaip();
    EXPECT_EQ(d.m_dish()->caipID(), "D0-3");
    advance(1);
    db()->m_CaipArray.clear();
    d.nextCaip();
    EXPECT_TRUE(d.canTouch());
    EXPECT_EQ(d.m_dish()->caipID(), "D0-3");
}

TEST_F(DetailView, AnItemLineComesBackUntouchedAfterPageTurns) {
    auto cats = flatMenu({3});
    auto item = std::make_shared<NSDishClass>();
    item->CopyCaip(cats[0]->caips[0]);
    item->m_fQuantity = 2;
    item->m_bisExp = true;
    item->m_parentpos = 7;
    openMenu();
    root->showBigCaipForEx(item);
    auto& d = *root->bom_caipViewController;
    EXPECT_EQ(d.m_dish(), item) << "the item line itself";
    d.nextCaip();
    advance(1);
    EXPECT_EQ(item->caipID(), "D0-1") << "a page turn changes the line in place";
    tap("返回");
    EXPECT_FALSE(root->bom_caipViewController);
    EXPECT_EQ(item->caipID(), "D0-0");
    EXPECT_EQ(item->m_fQuantity, 2);
    EXPECT_TRUE(item->m_bisExp);
    EXPECT_EQ(item->m_parentpos, 7);
}

TEST_F(DetailView, AnExistingLineShowsItsCookingMethodsWithTheirCounts) {
    auto cats = flatMenu({1});
    struct Case { const char* counts; const char* third; } cases[] = {{"2,3,1", "1"}, {"2,3", ""}};
    for (const auto& c : cases) {
        auto l = std::make_shared<NSDishClass>();
        l->CopyCaip(cats[0]->caips[0]);
        l->m_strZuofID = "11,12,13";
        l->m_strZfjiag = "1;0,2;0,3;0";
        l->m_strZuofShul = c.counts;
        l->AddKouwID("11,12,13");
        UICaipViewController d;
        d.getSelectDish(l);
        auto& t = *d.m_zuofs();
        ASSERT_EQ(t.m_length, 4) << c.counts;
        EXPECT_EQ(t.m_uint[1], 1);
        EXPECT_EQ(t.m_str1[1], "2");
        EXPECT_EQ(t.m_str1[2], "3");
        EXPECT_EQ(t.m_str1[3], c.third) << c.counts;
        EXPECT_EQ(t.m_state[2], "2;0");
        EXPECT_FALSE(l->FindKouwID("11")) << "the checks live in the tree";
    }

    // A head with add-ons: an add-on line named like a method checks it, with quantity / head's.
    auto head = std::make_shared<NSDishClass>();
    head->CopyCaip(cats[0]->caips[0]);
    head->m_strZuofID = "11";
    head->m_strZfjiag = "1;0";
    head->m_fQuantity = 2;
    head->m_bisSet = head->m_bAddOn = head->m_bisExp = true;
    head->m_parentpos = 0;
    auto addOn = std::make_shared<NSDishClass>();
    addOn->m_strCaipName = "11";  // the method's name when the taste table lacks it
    addOn->m_fQuantity = 6;
    addOn->m_bisExp = true;
    addOn->m_parentpos = 0;
    lines() = {head, addOn};
    UICaipViewController d;
    d.getSelectDish(head);
    EXPECT_EQ(d.m_zuofs()->m_uint[1], 1);
    EXPECT_EQ(d.m_zuofs()->m_str1[1], "3");
}

TEST_F(DetailView, OrderingAsksWhenTheDeskHasTheDishAndTheSearchViewHasNoWayBack) {
    auto cats = flatMenu({2});
    auto sent = std::make_shared<NSDishClass>();
    sent->CopyCaip(cats[0]->caips[0]);
    sent->m_iState = 6;
    lines() = {sent};
    openMenu();
    root->showBigCaip1(cats[0]->caips[0]);
    root->showBigCaip();
    tap("点菜");
    EXPECT_EQ(alertMessage(), "本桌已点过该菜品，是否再点一份？");
    tap("取消");
    EXPECT_FALSE(root->quickCaipViewController);
    tap("点菜");
    tap("确定");
    ASSERT_TRUE(root->quickCaipViewController);
    EXPECT_EQ(root->quickCaipViewController->m_dish(), detail().m_dish());
    root->quickCaipViewController = nullptr;

    root->showBigCaipForSearch(cats[0]->caips[1]);
    auto search = root->caipViewController.get();
    root->view()->bringSubviewToFront(search->view().get());
    tap("返回");
    EXPECT_EQ(root->caipViewController.get(), search) << "opened from the search, back leads nowhere";
}

// A web-menu dish without a picture of its own shows the picture of its address: the tile asks
// for it when it is built, the detail view opened meanwhile waits for that same download, and
// both draw the picture once it is in the picture cache. A cached picture is not asked for again,
// and a dish with a picture in the picture folder keeps it without asking.
TEST_F(DetailView, PicturesOfWebMenuDishesAreDownloadedOnceAndShown) {
    websim::WebSim web;
    ASSERT_GT(web.start(0), 0);
    NSHTTPServer::setHTTPAddress(web.baseURL());
    auto pictureRequests = [&] {
        std::vector<std::string> targets;
        for (const auto& r : web.requests())
            if (r.page.empty()) targets.push_back(r.target);
        return targets;
    };
    auto answered = [&] {
        const bool none = testsupport::pumpUntil(loop(), [] { return NSHTTPServer::inFlight() == 0; });
        loop().drain();
        return none;
    };
    auto imageSize = [](const std::shared_ptr<ui::Image>& image) { return image ? image->size() : ui::Size{}; };
    const ui::Size drawn{320, 240};  // the simulator's pictures
    auto detailPicture = [&] {
        auto* plain = dynamic_cast<ui::ImageView*>(detail().scrollView().get());
        auto* zoomable = dynamic_cast<MyScrollView*>(detail().scrollView().get());
        return plain ? plain->image() : zoomable ? zoomable->image() : nullptr;
    };

    auto cats = flatMenu({3});
    const std::string base = "http://127.0.0.1:" + std::to_string(web.port()) + "/upload/";
    cats[0]->caips[1]->m_strPic = base + "d1.png";
    cats[0]->caips[2]->m_strPic = base + "d2.png";
    for (const char* own : {"D0-2T.BMP", "D0-2.BMP"})
        platform::fs::writeAtomically(NSServer::getCaippicPath() + "/" + own, "the restaurant's own");

    web.setFault("pic", websim::Fault::Held);
    openMenu();
    ASSERT_TRUE(tile(1));
    EXPECT_NE(imageSize(tile(1)->cappicIV->image()), drawn) << "the no-picture plate while it comes";
    tapOn(*tile(1)->ShowCaipB);
    advance(0.5);
    ASSERT_TRUE(testsupport::pumpUntil(loop(), [&] { return !pictureRequests().empty(); }));
    web.releaseHeld();
    web.clearFaults();
    ASSERT_TRUE(answered());
    EXPECT_EQ(pictureRequests(), std::vector<std::string>{"/upload/d1.png"}) << "one download for tile and detail";
    EXPECT_EQ(imageSize(tile(1)->cappicIV->image()), drawn);
    EXPECT_EQ(imageSize(detailPicture()), drawn);

    swipe(-80, 0);  // to D0-2, which has a picture of its own
    advance(1);
    swipe(80, 0);   // back to D0-1, from the cache
    advance(1);
    tap("返回");
    advance(1);
    tapOn(*tile(1)->ShowCaipB);
    advance(0.5);
    ASSERT_TRUE(answered());
    EXPECT_EQ(pictureRequests().size(), 1u);
    EXPECT_EQ(imageSize(detailPicture()), drawn) << "drawn from the cache when it opens";
    web.stop();
}

TEST_F(DetailView, AVideoPlaysThenRestsForFiveSeconds) {
    auto cats = flatMenu({2});
    openMenu();
    root->showBigCaip1(cats[0]->caips[0]);
    root->showBigCaip();
    tap("视频");
    EXPECT_EQ(alertMessage(), "该菜品没有视频");
    tap("确定");

    platform::fs::writeAtomically(NSServer::getCaippicPath() + "/D0-0.MP4", "not really a film");
    media::MoviePlayer::setStandInDuration(2);
    tap("视频");
    ASSERT_TRUE(detail().moviePlayer());
    advance(2.5);  // the video ends by itself
    EXPECT_FALSE(detail().moviePlayer());
    EXPECT_FALSE(detail().canPlay());
    tap("视频");
    EXPECT_EQ(alertMessage(), "视频刚播放完，请稍后再试");
    tap("确定");
    advance(5);
    EXPECT_TRUE(detail().canPlay());
    tap("视频");
    ASSERT_TRUE(detail().moviePlayer());
    ASSERT_TRUE(detail().moviePlayer()->fullscreenView());
    tap("Done");  // leaving full screen stops it too
    EXPECT_FALSE(detail().moviePlayer());
    media::MoviePlayer::setStandInDuration(10);
}

}  // namespace
