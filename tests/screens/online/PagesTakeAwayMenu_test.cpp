// The take-away menu a guest chooses from: the shop's dishes in the terminal's own dish menu and
// detail view, with the pictures the web service has for them.

#include <set>

#include "PagesFixture.h"
#include "platform/ui/Driver.h"
#include "screens/menu/MyScrollView.h"
#include "screens/menu/NSCaipViewCell.h"
#include "screens/menu/UICaipViewController.h"
#include "screens/menu/UISelectCaipViewController.h"

namespace {

using pagestest::PagesTest;
class TakeAwayMenu : public PagesTest {};

// Each picture is downloaded once: the tiles ask for theirs as they are built and draw them when
// they arrive; the detail view draws its dish's from the cache, and asks for nothing again.
TEST_F(TakeAwayMenu, TheTilesAndTheDetailViewShowTheServicesPictures) {
    const ui::Size drawn{320, 240};  // the simulator's pictures
    auto size = [](const std::shared_ptr<ui::Image>& image) { return image ? image->size() : ui::Size{}; };
    auto pictures = [&] {
        std::vector<std::string> targets;
        for (const auto& r : web.requests())
            if (r.page.empty() && r.target.find("/upload/food") == 0) targets.push_back(r.target);
        return targets;
    };
    logIn();
    takeAwayOrderAt("蜀香园");
    advance(1);
    ASSERT_TRUE(answers());
    ASSERT_TRUE(root->selectCaipViewController);
    auto& menu = *root->selectCaipViewController;
    ASSERT_EQ(menu.caipViewCells().size(), 3u) << dump();
    for (const auto& tile : menu.caipViewCells()) EXPECT_EQ(size(tile->cappicIV->image()), drawn) << tile->num;
    const auto fetched = pictures();
    EXPECT_EQ(fetched.size(), 3u);
    EXPECT_EQ(std::set<std::string>(fetched.begin(), fetched.end()).size(), fetched.size()) << "none twice";

    ASSERT_TRUE(ui::tapView(*window, *menu.caipViewCells()[1]->ShowCaipB).ok);
    advance(1);
    ASSERT_TRUE(answers());
    ASSERT_TRUE(root->caipViewController);
    auto* plain = dynamic_cast<ui::ImageView*>(root->caipViewController->scrollView().get());
    auto* zoomable = dynamic_cast<MyScrollView*>(root->caipViewController->scrollView().get());
    EXPECT_EQ(size(plain ? plain->image() : zoomable ? zoomable->image() : nullptr), drawn);
    EXPECT_EQ(pictures(), fetched) << "the cached picture is not asked for again";
}

}  // namespace
