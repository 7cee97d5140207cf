#include <functional>

#include <gtest/gtest.h>

#include "UiFixture.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"

using namespace ui;

namespace {

class ViewTree : public uitest::ScreenTest {};

std::vector<View*> children(const View& v) {
    std::vector<View*> out;
    for (auto& c : v.subviews()) out.push_back(c.get());
    return out;
}

TEST_F(ViewTree, OrdersSubviewsAndMovesThemBetweenParents) {
    auto parent = add<View>(Rect{0, 0, 100, 100});
    auto a = std::make_shared<View>(), b = std::make_shared<View>(), c = std::make_shared<View>();
    parent->addSubview(a);
    parent->addSubview(b);
    parent->insertSubview(c, 0);
    EXPECT_EQ(children(*parent), (std::vector<View*>{c.get(), a.get(), b.get()}));
    parent->insertSubview(std::make_shared<View>(), 99);  // clamped to the top
    EXPECT_EQ(parent->subviews().size(), 4u);
    parent->bringSubviewToFront(c.get());
    EXPECT_EQ(parent->subviews().back(), c);
    parent->sendSubviewToBack(b.get());
    EXPECT_EQ(parent->subviews().front(), b);

    // Adding to another parent moves the view; cycles are refused.
    auto other = add<View>();
    other->addSubview(a);
    EXPECT_EQ(a->superview(), other.get());
    EXPECT_EQ(parent->subviews().size(), 3u);
    a->addSubview(other);
    EXPECT_EQ(other->superview(), window.get());
    a->addSubview(a);
    EXPECT_TRUE(a->subviews().empty());

    std::weak_ptr<View> gone = a;
    a.reset();
    gone.lock()->removeFromSuperview();
    EXPECT_TRUE(gone.expired());
}

TEST_F(ViewTree, FindsViewsByTagDepthFirst) {
    auto outer = add<View>();
    auto inner = std::make_shared<View>();
    inner->setTag(7);
    auto deeper = std::make_shared<View>();
    deeper->setTag(7);
    inner->addSubview(deeper);
    outer->addSubview(inner);
    EXPECT_EQ(window->viewWithTag(7), inner.get());
    EXPECT_EQ(window->sharedViewWithTag(7), inner);
    EXPECT_EQ(window->viewWithTag(8), nullptr);
}

TEST_F(ViewTree, ConvertsPointsThroughFramesBoundsAndTransforms) {
    auto a = add<View>(Rect{100, 200, 300, 300});
    auto b = std::make_shared<View>(Rect{10, 20, 50, 50});
    a->addSubview(b);
    EXPECT_EQ(b->convertPointTo({1, 2}, nullptr), (Point{111, 222}));
    EXPECT_EQ(b->convertPointFrom({111, 222}, nullptr), (Point{1, 2}));
    // A scrolled parent shows its content shifted by the bounds origin.
    a->setBounds({{0, 50}, a->frame().size});
    EXPECT_EQ(b->convertPointTo({0, 0}, nullptr), (Point{110, 170}));
    // Scaling by 2 about the centre (25, 25) of b.
    b->setTransform(Transform::scale(2, 2));
    Point p = b->convertPointTo({0, 0}, a.get());
    EXPECT_DOUBLE_EQ(p.x, 10 - 25);
    EXPECT_DOUBLE_EQ(p.y, 20 - 25);
    Point back = b->convertPointFrom(p, a.get());
    EXPECT_NEAR(back.x, 0, 1e-9);
    EXPECT_NEAR(back.y, 0, 1e-9);
}

TEST_F(ViewTree, HitTestingTakesTheFrontMostVisibleInteractiveView) {
    auto back = add<View>(Rect{0, 0, 200, 200});
    auto front = add<View>(Rect{50, 50, 100, 100});
    EXPECT_EQ(window->hitTest({60, 60}, nullptr), front.get());
    EXPECT_EQ(window->hitTest({10, 10}, nullptr), back.get());

    struct Case { const char* what; std::function<void(View&)> change; };
    Case cases[] = {
        {"hidden", [](View& v) { v.setHidden(true); }},
        {"transparent", [](View& v) { v.setAlpha(0.0); }},
        {"no interaction", [](View& v) { v.setUserInteractionEnabled(false); }},
    };
    for (auto& c : cases) {
        c.change(*front);
        EXPECT_EQ(window->hitTest({60, 60}, nullptr), back.get()) << c.what;
        front->setHidden(false);
        front->setAlpha(1);
        front->setUserInteractionEnabled(true);
    }
    // Labels pass touches to what lies beneath them.
    auto label = std::make_shared<Label>(Rect{0, 0, 100, 100});
    front->addSubview(label);
    EXPECT_EQ(window->hitTest({60, 60}, nullptr), front.get());
    // A child sticking out of its parent is not hit outside the parent.
    auto stray = std::make_shared<View>(Rect{90, 90, 100, 100});
    front->addSubview(stray);
    EXPECT_EQ(window->hitTest({170, 170}, nullptr), back.get());
    EXPECT_EQ(window->hitTest({145, 145}, nullptr), stray.get());
}

struct Recorder : View {
    using View::View;
    std::vector<std::string> log;
    void touchesBegan(const TouchSet& t, const Event*) override { note("began", t); }
    void touchesMoved(const TouchSet& t, const Event*) override { note("moved", t); }
    void touchesEnded(const TouchSet& t, const Event*) override { note("ended", t); }
    void touchesCancelled(const TouchSet& t, const Event*) override { note("cancelled", t); }
    void note(const char* what, const TouchSet& t) {
        Point p = t.anyObject()->locationInView(this);
        log.push_back(std::string(what) + " " + std::to_string(int(p.x)) + "," + std::to_string(int(p.y)) +
                      " x" + std::to_string(t.anyObject()->tapCount()));
    }
};

TEST_F(ViewTree, DeliversATouchToTheViewItBeganInWithLocalPointsAndTapCounts) {
    auto r = add<Recorder>(Rect{100, 100, 50, 50});
    window->touchBegan(0, {110, 120});
    window->touchMoved(0, {300, 300});  // far outside: still delivered to r
    window->touchEnded(0, {300, 300});
    EXPECT_EQ(r->log, (std::vector<std::string>{"began 10,20 x1", "moved 200,200 x1", "ended 200,200 x1"}));

    r->log.clear();
    window->tap({110, 110});
    home.loop().advanceBy(0.2);
    window->tap({112, 111});  // near and soon: a double tap
    home.loop().advanceBy(1.0);
    window->tap({112, 111});  // too late: a new single tap
    EXPECT_EQ(r->log[2], "began 12,11 x2");
    EXPECT_EQ(r->log[4], "began 12,11 x1");
}

struct Screen : ViewController {
    std::vector<std::string> log;
    void loadView() override { setView(std::make_shared<View>(Rect{0, 0, 300, 300})); }
    void viewDidLoad() override { log.push_back("didLoad"); }
    void viewWillAppear(bool) override { log.push_back("willAppear"); }
    void viewDidAppear(bool) override { log.push_back("didAppear"); }
    void viewDidUnload() override { log.push_back("didUnload"); }
    void touchesEnded(const TouchSet&, const Event*) override { log.push_back("touch"); }
};

TEST_F(ViewTree, ControllerLoadsItsViewOnceTakesUnhandledTouchesAndUnloadsOffScreen) {
    auto s = std::make_shared<Screen>();
    EXPECT_FALSE(s->isViewLoaded());
    window->setRootViewController(s);
    EXPECT_EQ(s->log, (std::vector<std::string>{"didLoad", "willAppear", "didAppear"}));
    EXPECT_EQ(s->view()->frame(), window->applicationFrame());
    // A label on the screen passes the touch up to the controller through its view.
    auto label = std::make_shared<Label>(Rect{0, 0, 100, 100});
    s->view()->addSubview(label);
    window->tap({10, 30});
    EXPECT_EQ(s->log.back(), "touch");

    s->didReceiveMemoryWarning();  // on screen: kept
    EXPECT_TRUE(s->isViewLoaded());
    s->view()->removeFromSuperview();
    s->didReceiveMemoryWarning();
    EXPECT_FALSE(s->isViewLoaded());
    EXPECT_EQ(s->log.back(), "didUnload");
}

// A screen that takes its view out of its parent as it goes (as the root's screen slots do), so
// a field of it that has the focus gives the focus up from the screen's destructor.
class ClosingScreen : public ViewController {
public:
    std::shared_ptr<ViewController> inner;
    std::shared_ptr<TextField> field;
    ~ClosingScreen() override {
        if (inner && inner->isViewLoaded()) inner->view()->removeFromSuperview();
    }
};

TEST(WindowEnd, TheScreensGoBeforeTheFocusTheyMayStillGiveUp) {
    testsupport::TempHome home;
    auto window = std::make_shared<Window>();
    window->makeKeyAndVisible();
    auto root = std::make_shared<ClosingScreen>();
    window->setRootViewController(root);
    root->inner = std::make_shared<ViewController>();
    root->view()->addSubview(root->inner->view());
    auto field = std::make_shared<TextField>(Rect{10, 10, 200, 31});
    root->inner->view()->addSubview(field);
    root->field = field;
    ASSERT_TRUE(field->becomeFirstResponder());
    std::weak_ptr<TextField> gone = field;
    field.reset();
    root.reset();
    // Giving the focus up once the window had let go of it released the field a second time,
    // while the screen still held it.
    window.reset();
    EXPECT_TRUE(gone.expired());
}

TEST_F(ViewTree, CountsChangesForTheShellOnlyForViewsInTheWindow) {
    auto loose = std::make_shared<Label>();
    auto before = window->changeCount();
    loose->setText("x");
    EXPECT_EQ(window->changeCount(), before);
    window->addSubview(loose);
    auto added = window->changeCount();
    EXPECT_GT(added, before);
    loose->setText("y");
    EXPECT_GT(window->changeCount(), added);
}

}  // namespace
