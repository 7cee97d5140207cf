#include <functional>

#include <gtest/gtest.h>

#include "UiFixture.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/Driver.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ScrollView.h"

using namespace ui;

namespace {

class Driving : public uitest::ScreenTest {};

TEST_F(Driving, DumpsTheTreeOneViewALine) {
    auto panel = add<View>(Rect{0, 20, 768, 1004});
    auto b = std::make_shared<Button>(Button::Type::Custom, Rect{10, 20.5, 100, 40});
    b->setTitle("开台 \"1\"");
    b->setTag(3);
    b->setEnabled(false);
    panel->addSubview(b);
    auto l = std::make_shared<Label>(Rect{0, 0, 50, 20});
    l->setText("two\nlines");
    l->setHidden(true);
    panel->addSubview(l);
    panel->setAlpha(0.5);
    EXPECT_EQ(dumpTree(*window),
              "Window frame=(0,0,768,1024)\n"
              "  View frame=(0,20,768,1004) alpha=0.5\n"
              "    Button frame=(10,20.5,100,40) tag=3 title=\"开台 \\\"1\\\"\" [disabled]\n"
              "    Label frame=(0,0,50,20) title=\"two\\nlines\" [hidden]\n");
}

TEST_F(Driving, TapsGoThroughHitTestingAndReportWhyTheyFailed) {
    auto ok = add<Button>(Button::Type::RoundedRect, Rect{0, 0, 100, 50});
    ok->setTitle("OK");
    int taps = 0;
    ok->addTarget(ControlEvent::TouchUpInside, [&](Control&) { ++taps; });
    auto& okRef = *ok;

    struct Case { const char* what; std::function<void()> arrange; const char* error; };
    std::shared_ptr<View> cover;
    Case cases[] = {
        {"plain", [] {}, nullptr},
        {"disabled", [&] { okRef.setEnabled(false); }, "disabled"},
        {"hidden", [&] { okRef.setHidden(true); }, "no visible view"},
        {"covered", [&] { cover = add<View>(Rect{0, 0, 300, 300}); }, "covered"},
        {"off screen", [&] { okRef.setFrame({900, 0, 100, 50}); }, "outside"},
    };
    for (auto& c : cases) {
        c.arrange();
        int before = taps;
        auto r = tapTitle(*window, "OK");
        if (!c.error) {
            EXPECT_TRUE(r.ok) << c.what << ": " << r.error;
            EXPECT_EQ(taps, before + 1) << c.what;
        } else {
            EXPECT_FALSE(r.ok) << c.what;
            EXPECT_NE(r.error.find(c.error), std::string::npos) << c.what << ": " << r.error;
            EXPECT_EQ(taps, before) << c.what;
        }
        okRef.setEnabled(true);
        okRef.setHidden(false);
        okRef.setFrame({0, 0, 100, 50});
        if (cover) cover->removeFromSuperview();
        cover.reset();
    }
    ok->setTag(9);
    EXPECT_TRUE(tapTag(*window, 9).ok);
    EXPECT_FALSE(tapAt(*window, {500, 500}).ok);
}

TEST_F(Driving, AViewThatTakesNoTouchesIsTappedWhereItLiesUnlessSomethingCoversIt) {
    // A price label drawn over a button: the button beneath gets the tap.
    auto button = add<Button>(Button::Type::Custom, Rect{0, 0, 200, 60});
    int taps = 0;
    button->addTarget(ControlEvent::TouchUpInside, [&](Control&) { ++taps; });
    auto price = add<Label>(Rect{10, 10, 100, 40});
    price->setText("￥58");
    price->setTag(5);
    auto r = tapTag(*window, 5);
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.hit, button.get());
    EXPECT_TRUE(tapTitle(*window, "￥58").ok);
    EXPECT_EQ(taps, 2);

    // A sheet laid over both takes the touch: that is a covered label, not a tap on the sheet.
    auto sheet = add<View>(Rect{0, 0, 300, 300});
    r = tapTag(*window, 5);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("covered by View"), std::string::npos) << r.error;
    EXPECT_EQ(taps, 2);

    // A button in a panel that refuses touches cannot be tapped, even where nothing covers it:
    // the touch would reach the button beneath instead.
    sheet->removeFromSuperview();
    auto panel = add<View>(Rect{0, 0, 200, 60});
    panel->setUserInteractionEnabled(false);
    auto inner = std::make_shared<Button>(Button::Type::Custom, Rect{0, 0, 200, 60});
    inner->setTag(6);
    panel->addSubview(inner);
    r = tapTag(*window, 6);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("takes no touches"), std::string::npos) << r.error;
    EXPECT_EQ(taps, 2);

    // With nothing beneath, the touch would stop at the view that holds the panel and nothing
    // would happen: the tap fails the same way, by the button's title or its own label.
    panel->removeFromSuperview();
    button->removeFromSuperview();
    price->removeFromSuperview();
    auto holder = add<View>(Rect{0, 0, 400, 400});
    auto shut = std::make_shared<View>(Rect{20, 20, 300, 300});
    shut->setUserInteractionEnabled(false);
    holder->addSubview(shut);
    auto deep = std::make_shared<Button>(Button::Type::Custom, Rect{10, 10, 100, 50});
    deep->setTitle("里面");
    int deepTaps = 0;
    deep->addTarget(ControlEvent::TouchUpInside, [&](Control&) { ++deepTaps; });
    shut->addSubview(deep);
    auto caption = std::make_shared<Label>(Rect{0, 0, 100, 20});
    caption->setText("说明");
    deep->addSubview(caption);
    for (const char* title : {"里面", "说明"}) {
        r = tapTitle(*window, title);
        EXPECT_FALSE(r.ok) << title;
        EXPECT_NE(r.error.find("lies inside View"), std::string::npos) << title << ": " << r.error;
    }
    EXPECT_EQ(deepTaps, 0);
    EXPECT_NE(dumpTree(*window).find("  View frame=(20,20,300,300) [no-touch]\n"), std::string::npos) << dumpTree(*window);
    shut->setUserInteractionEnabled(true);
    EXPECT_TRUE(tapTitle(*window, "里面").ok);
    EXPECT_EQ(deepTaps, 1);
}

TEST_F(Driving, ADumpedTitleTappedAsPrintedFindsItsView) {
    // Titles with control characters print escaped, as a script writes them; a picture with no
    // text of its own is named by its accessibility label.
    auto desk = add<Button>(Button::Type::Custom, Rect{0, 0, 200, 60});
    desk->setTitle("A01\r\n空闲\x01");
    int taps = 0;
    desk->addTarget(ControlEvent::TouchUpInside, [&](Control&) { ++taps; });
    auto pad = add<View>(Rect{0, 100, 200, 200});
    auto key = std::make_shared<ImageView>(Rect{0, 0, 60, 60});
    key->setAccessibilityLabel("7");
    pad->addSubview(key);
    const std::string tree = dumpTree(*window);
    EXPECT_NE(tree.find("title=\"A01\\r\\n空闲\\x01\""), std::string::npos) << tree;
    EXPECT_NE(tree.find("ImageView frame=(0,0,60,60) title=\"7\""), std::string::npos) << tree;
    EXPECT_TRUE(tapTitle(*window, "A01\r\n空闲\x01").ok);
    EXPECT_EQ(taps, 1);
    EXPECT_TRUE(tapTitle(*window, "7").ok);
}

struct Zoomer : ScrollViewDelegate {
    View* zoomed = nullptr;
    View* viewForZooming(ScrollView&) override { return zoomed; }
};

TEST_F(Driving, ScrollViewPagesAndZoomsWithinItsLimits) {
    auto pages = add<ScrollView>(Rect{0, 0, 300, 200});
    pages->setContentSize({900, 200});
    pages->setPagingEnabled(true);
    drag(*window, {250, 100}, {100, 100});  // 150 points: just past half a page
    EXPECT_EQ(pages->contentOffset().x, 300);
    drag(*window, {250, 100}, {150, 100});  // 100 points: back to the same page
    EXPECT_EQ(pages->contentOffset().x, 300);

    pages->removeFromSuperview();
    auto zoom = add<ScrollView>(Rect{0, 0, 300, 200});
    auto picture = std::make_shared<ImageView>(Rect{0, 0, 300, 200});
    zoom->addSubview(picture);
    Zoomer z;
    z.zoomed = picture.get();
    zoom->setDelegate(&z);
    zoom->setMinimumZoomScale(1);
    zoom->setMaximumZoomScale(10);
    zoom->setZoomScale(1.5);
    EXPECT_EQ(picture->frame().size, (Size{450, 300}));
    EXPECT_EQ(zoom->contentSize(), (Size{450, 300}));
    zoom->setZoomScale(50);
    EXPECT_EQ(zoom->zoomScale(), 10);
    zoom->setZoomScale(0.1);
    EXPECT_EQ(picture->frame().size, (Size{300, 200}));
}

// Opens a header above the content, 60 points deep, when the content is let go 65 points or more
// past its top.
struct PullToReload : ScrollViewDelegate {
    void scrollViewDidEndDragging(ScrollView& s, bool) override {
        if (s.contentOffset().y <= -65) s.setContentInset({60, 0, 0, 0});
    }
};

TEST_F(Driving, AScrollViewRestsWithinTheInsetItsEndOfDragHandlerSet) {
    auto list = add<ScrollView>(Rect{0, 0, 300, 400});
    list->setContentSize({300, 1000});
    PullToReload reload;
    list->setDelegate(&reload);
    struct Case { double pull, offset, inset; } cases[] = {
        {200, -60, 60},  // let go 100 points past the top: rests open
        {100, 0, 0},     // 50 points: springs back
    };
    for (auto& c : cases) {
        list->setContentInset({});
        list->setContentOffset({0, 0});
        drag(*window, {150, 100}, {150, 100 + c.pull});
        home.loop().advanceBy(1);
        EXPECT_DOUBLE_EQ(list->contentOffset().y, c.offset) << c.pull;
        EXPECT_DOUBLE_EQ(list->contentInset().top, c.inset) << c.pull;
    }
    // When the reload is over and the inset goes, the header closes.
    drag(*window, {150, 100}, {150, 300});
    ASSERT_DOUBLE_EQ(list->contentOffset().y, -60);
    list->setContentInset({});
    EXPECT_DOUBLE_EQ(list->contentOffset().y, 0);
    list->setDelegate(nullptr);
}

TEST_F(Driving, TelephoneAddressesAreRecordedNotDialled) {
    auto& app = Application::shared();
    app.clearOpenedURLs();
    EXPECT_TRUE(app.openURL("telprompt://02088888888"));
    EXPECT_FALSE(app.openURL("nonsense"));
    EXPECT_EQ(app.openedURLs(), (std::vector<std::string>{"telprompt://02088888888", "nonsense"}));
}

}  // namespace
