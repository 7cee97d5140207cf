// The online pages' own widgets on the manual clock: the scrolling label's geometry, timing and
// pauses; the pull-to-refresh header's states; the address the locating operation composes.

#include <ctime>

#include "PagesFixture.h"
#include "online/NSGPSOper.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Font.h"
#include "platform/ui/TableView.h"
#include "screens/online/RefreshTableHeaderView/EGORefreshTableHeaderView.h"
#include "screens/online/UIMyLabel.h"

namespace {

using pagestest::PagesTest;
class Widgets : public PagesTest {};

constexpr const char* kLong = "一家名字很长很长很长很长很长很长的川菜馆子";

TEST_F(Widgets, AScrollingLabelGlidesToItsEndAndBackWithPauses) {
    auto label = MarqueeLabel::withRate({0, 0, 200, 30}, 7.0, 10);
    const double w = ui::measureText(kLong, label->subLabel()->font(), 9999).width;
    ASSERT_GT(w, 180);
    label->setText(std::string(kLong));
    EXPECT_EQ(label->homeLabelFrame(), (ui::Rect{10, 0, w + 10, 30}));
    EXPECT_DOUBLE_EQ(label->awayLabelFrame().x(), 10 + 200 - 20 - w);
    const double leg = std::abs(label->awayLabelFrame().x()) / 7.0;
    EXPECT_DOUBLE_EQ(label->animationDuration(), leg);

    // Where the text is drawn now.
    auto x = [&] { return label->subLabel()->presentationFrame().x(); };
    const double home = label->homeLabelFrame().x(), away = label->awayLabelFrame().x();
    advance(0.21);  // faded out and in again
    EXPECT_EQ(x(), home);
    advance(0.95);  // the pause before the first leg
    EXPECT_EQ(x(), home);
    EXPECT_TRUE(label->awayFromHome());
    advance(0.05 + leg);  // the leg to the end
    EXPECT_NEAR(x(), away, 0.01);
    advance(0.25);  // the short pause there
    EXPECT_NEAR(x(), away, 0.01);
    advance(0.05 + leg);  // and back
    EXPECT_NEAR(x(), home, 0.01);

    // Going to the background puts the text at rest; coming back starts the loop again.
    advance(1.0 + leg / 2);
    EXPECT_LT(x(), home - 1);
    ui::NotificationCenter::defaultCenter().post(ui::ApplicationDidEnterBackgroundNotification);
    loop().drain();
    EXPECT_EQ(x(), home);
    advance(2 * leg + 2);
    EXPECT_EQ(x(), home) << "the loop has stopped";
    EXPECT_FALSE(label->awayFromHome());
    ui::NotificationCenter::defaultCenter().post(ui::ApplicationWillEnterForegroundNotification);
    advance(1.0 + leg + 0.01);
    EXPECT_NEAR(x(), away, 0.01);
}

TEST_F(Widgets, AScreenCoveringTheLabelsScreenStopsTheLoop) {
    auto screen = std::make_shared<ui::ViewController>();
    auto label = MarqueeLabel::withRate({0, 0, 200, 30}, 7.0, 10);
    screen->view()->addSubview(label);
    label->setText(std::string(kLong));
    advance(1.5);
    auto x = [&] { return label->subLabel()->presentationFrame().x(); };
    EXPECT_LT(x(), label->homeLabelFrame().x());
    ui::ViewController other;
    auto navigate = [&](ui::ViewController* last, ui::ViewController* next) {
        ui::NotificationCenter::defaultCenter().post(
            MarqueeLabel::kNavigationDidShow, nullptr,
            {{"UINavigationControllerLastVisibleViewController", last},
             {"UINavigationControllerNextVisibleViewController", next}});
        loop().drain();
    };
    navigate(screen.get(), &other);
    EXPECT_EQ(x(), label->homeLabelFrame().x());
    advance(60);
    EXPECT_EQ(x(), label->homeLabelFrame().x());
    navigate(&other, screen.get());
    advance(1.5);
    EXPECT_LT(x(), label->homeLabelFrame().x());
}

TEST_F(Widgets, AFittingTextStaysAndTheSameTextChangesNothing) {
    auto shared = std::make_shared<MarqueeLabel>(ui::Rect{0, 0, 300, 30});  // duration mode, 7 s a leg
    MarqueeLabel& label = *shared;
    EXPECT_DOUBLE_EQ(label.lengthOfScroll(), 7.0);
    label.setText(std::string("蜀香园"));
    advance(0.2);
    EXPECT_FALSE(label.labelShouldScroll());
    advance(10);
    EXPECT_EQ(label.subLabel()->presentationFrame(), label.homeLabelFrame());
    label.setText(std::string("蜀香园"));
    EXPECT_EQ(label.subLabel()->alpha(), 1.0) << "no fade for the same text";

    // The fade given at creation is capped at half the width; a later one is not.
    auto capped = MarqueeLabel::withRate({0, 0, 200, 30}, 7.0, 150);
    EXPECT_EQ(capped->fadeLength(), 100);
    capped->setFadeLength(150);
    EXPECT_EQ(capped->fadeLength(), 150);
    EXPECT_DOUBLE_EQ(capped->maskFraction(), 0.75);
}

TEST_F(Widgets, OnlyALabelThatDoesNotFitIsReplaced) {
    ui::View parent({0, 0, 400, 100});
    const ui::Font font = ui::Font::systemFont(17);
    const double w = ui::measureText(kLong, font, 2000).width;
    for (double width : {w, w - 1}) {
        auto label = std::make_shared<ui::Label>(ui::Rect{0, 0, width, 30});
        label->setFont(font);
        label->setText(kLong);
        parent.addSubview(label);
        auto shown = UIMyLabel::labelScroll(parent, label);
        EXPECT_EQ(shown == label, width == w) << width;
        EXPECT_EQ(label->superview() == &parent, width == w) << width;
        EXPECT_EQ(shown->superview(), &parent);
        shown->removeFromSuperview();
    }
}

// An owner of a pull-to-refresh header that forwards its table's scrolling.
struct Owner : EGORefreshTableHeaderDelegate, ui::ScrollViewDelegate {
    void egoRefreshTableHeaderDidTriggerRefresh(EGORefreshTableHeaderView&) override { ++triggers; }
    bool egoRefreshTableHeaderDataSourceIsLoading(EGORefreshTableHeaderView&) override { return loading; }
    std::optional<double> egoRefreshTableHeaderDataSourceLastUpdated(EGORefreshTableHeaderView&) override {
        return updated;
    }
    void scrollViewDidScroll(ui::ScrollView& s) override { header->egoRefreshScrollViewDidScroll(s); }
    void scrollViewDidEndDragging(ui::ScrollView& s, bool) override { header->egoRefreshScrollViewDidEndDragging(s); }
    int triggers = 0;
    bool loading = false;
    std::optional<double> updated;
    EGORefreshTableHeaderView* header = nullptr;
};

TEST_F(Widgets, ThePullToRefreshHeaderFollowsThePull) {
    auto shared = std::make_shared<ui::ScrollView>(ui::Rect{0, 0, 320, 400});
    ui::ScrollView& table = *shared;
    table.setContentSize({320, 800});
    auto header = std::make_shared<EGORefreshTableHeaderView>(ui::Rect{0, -400, 320, 400});
    Owner owner;
    owner.header = header.get();
    header->setDelegate(&owner);
    table.setDelegate(&owner);
    table.addSubview(header);
    // A finger moved by twice the distance pulls the table that far past its top.
    auto pull = [&](double depth) {
        table.beginDrag({100, 100});
        table.dragTo({100, 100 + 2 * depth});
    };

    pull(65);
    EXPECT_EQ(table.contentOffset().y, -65);
    EXPECT_EQ(header->state(), EGORefreshTableHeaderView::Normal) << "exactly the threshold turns nothing";
    table.dragTo({100, 100 + 2 * 80});
    EXPECT_EQ(header->state(), EGORefreshTableHeaderView::Pulling);
    EXPECT_EQ(header->statusLabel()->text(), "松开即刷新...");
    table.dragTo({100, 100 + 2 * 30});
    EXPECT_EQ(header->state(), EGORefreshTableHeaderView::Normal);
    table.dragTo({100, 100 + 2 * 65});
    table.endDrag();
    EXPECT_EQ(owner.triggers, 1) << "a release at the threshold refreshes";
    EXPECT_EQ(header->state(), EGORefreshTableHeaderView::Loading);
    EXPECT_EQ(header->statusLabel()->text(), "载入中...");
    EXPECT_EQ(table.contentInset().top, 60);

    table.setContentOffset({0, 10});
    EXPECT_EQ(table.contentInset().top, 0);
    table.setContentOffset({0, -100});
    EXPECT_EQ(table.contentInset().top, 60);

    header->egoRefreshScrollViewDataSourceDidFinishedLoading(table);
    EXPECT_EQ(header->state(), EGORefreshTableHeaderView::Normal);
    EXPECT_EQ(table.contentInset().top, 0);

    owner.loading = true;
    pull(90);
    table.endDrag();
    EXPECT_EQ(owner.triggers, 1) << "nothing while the owner loads";
    EXPECT_EQ(header->state(), EGORefreshTableHeaderView::Normal);
}

TEST_F(Widgets, TheLastUpdateLineIsShownAndKept) {
    auto& defaults = platform::UserDefaults::standard();
    EGORefreshTableHeaderView header({0, -400, 320, 400});
    Owner owner;
    header.setDelegate(&owner);
    header.refreshLastUpdatedDate();
    EXPECT_EQ(header.lastUpdatedLabel()->text(), "");
    EXPECT_FALSE(defaults.stringForKey(EGORefreshTableHeaderView::kDefaultsKey));

    std::tm at{};
    at.tm_year = 2026 - 1900;
    at.tm_mon = 11;
    at.tm_mday = 8;
    at.tm_hour = 18;
    at.tm_min = 5;
    at.tm_isdst = -1;
    owner.updated = static_cast<double>(std::mktime(&at));
    header.refreshLastUpdatedDate();
    EXPECT_EQ(header.lastUpdatedLabel()->text(), "最后更新时间: 12/08/2026 06:05:PM");
    EXPECT_EQ(defaults.stringForKey(EGORefreshTableHeaderView::kDefaultsKey), header.lastUpdatedLabel()->text());
}

TEST(LocatingAddress, FiveOrSixPartsAsThePlaceHasThem) {
    auto place = pagestest::shanghai();
    EXPECT_EQ(NSGPSOper::composeAddress(place), "中国上海市上海市黄浦区中山路10号");
    place.subLocality.reset();
    EXPECT_EQ(NSGPSOper::composeAddress(place), "中国上海市上海市中山路10号");
    place.thoroughfare.reset();
    EXPECT_EQ(NSGPSOper::composeAddress(place), "中国上海市上海市(null)10号");
}

}  // namespace
