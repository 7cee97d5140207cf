// The skinned forms on the welcome screen: dish pages and the page swipe, the action texts of
// the buttons, and switching forms with a page curl.

#include "model/NSCplbClass.h"
#include "model/NSCplbTreeClass.h"
#include "platform/ui/Animation.h"
#include "screens/online/UIFunctionViewController.h"
#include "screens/skin/SkinMenuFixture.h"
#include "support/EventWait.h"

namespace {

class SkinForms : public SkinMenuFixture {};

const std::vector<std::string> kHotPage1 = {"翡翠花菇扒鲍脯", "黄焖蟹肉金钩翅", "秘制澳洲鲜鲍鱼",
                                            "极品龙虾酸辣羹", "百花北姑红烧官燕", "冰纷菊花炸桂鱼"};
const std::vector<std::string> kHotPage2 = {"东星斑", "游水基围虾", "红花蟹", "澳洲龙虾", "鲫鱼", ""};

TEST_F(SkinForms, ASwipeTurnsDishPagesThenForms) {
    startSkinned(menuLayout({}, "Form2"));
    // 11 dishes over 6 slots: two pages, the second with one empty slot.
    EXPECT_EQ(form().pagenumsize, 2);
    EXPECT_EQ(slotNames(), kHotPage1);
    EXPECT_EQ(form().virtualCaipShows[0]->caipPrice->text(), "20元/份");

    // Moving up by more than 20 points is no swipe.
    swipe({700, 200}, {-40, -25});
    EXPECT_EQ(slotNames(), kHotPage1);
    EXPECT_TRUE(welcome()->canTouch());

    // Left by 30 while moving 10 up: the next page, with a curl that holds touches until it ends.
    swipe({700, 200}, {-30, -10});
    EXPECT_EQ(form().pagenum, 1);
    EXPECT_EQ(slotNames(), kHotPage2);
    EXPECT_FALSE(form().virtualCaipShows[5]->nowcaip);
    EXPECT_EQ(ui::Animation::transitionOf(*welcome()->view()).transition, ui::Animation::Transition::CurlUp);
    EXPECT_FALSE(welcome()->canTouch());
    swipe({700, 200}, {-30, 0});
    EXPECT_EQ(form().pagenum, 1) << "no swipe while the curl runs";
    settle();
    EXPECT_TRUE(welcome()->canTouch());

    // Past the last page the next form opens, on its first page.
    swipe({700, 200}, {-30, 0});
    EXPECT_EQ(form().formName, "Form3");
    EXPECT_EQ(ui::Animation::transitionOf(*root->view()).transition, ui::Animation::Transition::CurlUp);
    settle();
    EXPECT_EQ(slotNames(), (std::vector<std::string>{"虫草花炖土鸽汤", "宋嫂鱼肉羹", "是日老火例汤"}));
    EXPECT_EQ(NSServer::getWelShowFormName(), "Form3");
    // Four soups over three slots; nothing follows the last form: touches come back at once.
    swipe({700, 200}, {-30, 0});
    settle();
    EXPECT_EQ(slotNames(), (std::vector<std::string>{"佛跳墙", "", ""}));
    swipe({700, 200}, {-30, 0});
    EXPECT_EQ(form().formName, "Form3");
    EXPECT_EQ(form().pagenum, 1);
    EXPECT_TRUE(welcome()->canTouch());

    // Back before the first page: the previous form, on its last page.
    swipe({600, 200}, {40, 0});
    settle();
    EXPECT_EQ(form().pagenum, 0);
    swipe({600, 200}, {40, 30});  // a finger drifting down still swipes
    EXPECT_EQ(form().formName, "Form2");
    EXPECT_EQ(form().pagenum, 1);
    EXPECT_EQ(slotNames(), kHotPage2);
    EXPECT_EQ(ui::Animation::transitionOf(*root->view()).transition, ui::Animation::Transition::CurlDown);
    settle();

    // Form1 is a button form and the first one: back changes nothing.
    tapRect({540, 900, 200, 80});  // Open(Form1)
    settle();
    ASSERT_EQ(form().formName, "Form1");
    swipe({600, 200}, {40, 0});
    EXPECT_EQ(form().formName, "Form1");
    EXPECT_TRUE(welcome()->canTouch());
}

TEST_F(SkinForms, OpenCurlsUpToAHigherFormAndDownOtherwise) {
    start();
    std::string xml = "<ZirevOvuZud><MainForm>Form5</MainForm><FormCnt>5</FormCnt>";
    for (int n = 1; n <= 5; ++n) xml += platform::fmt("<Form%i>%@</Form%i>", n, buttonsXml({"Open(Form3)", "Open(Form9)"}), n);
    xml += "</ZirevOvuZud>";
    struct Case {
        const char* from;
        ui::Animation::Transition curl;
    } cases[] = {{"Form5", ui::Animation::Transition::CurlDown},
                 {"Form2", ui::Animation::Transition::CurlUp},
                 {"Form3", ui::Animation::Transition::CurlDown}};
    for (const auto& c : cases) {
        NSServer::setWelShowFormName(c.from);
        putOn(xml);
        ASSERT_EQ(form().formName, c.from);
        tapButton(2);  // a form the skin does not hold: nothing
        EXPECT_EQ(form().formName, c.from);
        tapButton(1);
        EXPECT_EQ(form().formName, "Form3") << c.from;
        EXPECT_EQ(ui::Animation::transitionOf(*root->view()).transition, c.curl) << c.from;
        settle();
        EXPECT_TRUE(welcome()->canTouch());
        EXPECT_EQ(NSServer::getWelShowFormName(), "Form3");
    }

    // With a desk open the back office hears which form the skin shows.
    auto desk = std::make_shared<NSDeskClass>();
    desk->m_strDeskID = "A1";
    NSServer::setNowDesk(desk);
    NSServer::setIP("127.0.0.1");
    sim.clearRecords();
    tapButton(1);
    loop().drain();
    ASSERT_TRUE(sim.waitForAnnouncements(1, testsupport::kEventWaitSeconds));
    EXPECT_EQ(sim.announcements().front().bytes, "<goform:A1:Form3>");

    // Held in landscape, the switch takes the landscape file's form of that name.
    writeLayout(skin::kSecondLayout, xml);
    NSServer::setWelShowFormName("Form5");
    putOn(xml);
    ASSERT_EQ(welcome()->nowForm(), welcome()->forms().at("Form5")) << "the remembered form, from the main file";
    NSServer::setIsHengB(true);
    tapButton(1);
    EXPECT_EQ(welcome()->nowForm(), welcome()->forms2().at("Form3"));
    NSServer::setIsHengB(false);
}

TEST_F(SkinForms, ActionTextsOfEveryKind) {
    start();
    addVideo("INTRO");
    auto opened = [&] { return root->selectCaipViewController != nullptr; };
    auto shownCategory = [&] {
        auto tree = NSServer::getUseCplbTree();
        return tree ? tree->cplb->m_strUid : std::string("whole menu");
    };
    struct Case {
        const char* func;
        std::function<void()> check;
    } cases[] = {
        {"Run", [&] { EXPECT_TRUE(opened()); EXPECT_EQ(shownCategory(), "whole menu"); }},
        {"Run(000002)", [&] { EXPECT_TRUE(opened()); EXPECT_EQ(shownCategory(), "000002"); }},
        // "Run" is tested first: this is a menu with an unknown category, no video.
        {"Movie(0,0,0,0,RunAway)",
         [&] { EXPECT_TRUE(opened()); EXPECT_EQ(shownCategory(), "whole menu"); }},
        {"RunF", [&] { EXPECT_TRUE(opened()); EXPECT_EQ(shownCategory(), "whole menu"); }},
        {"CheckList", [&] { EXPECT_TRUE(root->listViewController); EXPECT_FALSE(welcome()->view()->superview()); }},
        {"Set", [&] { EXPECT_TRUE(settings()); }},
        {"RunF(4002,false)", [&] { EXPECT_TRUE(root->caipViewController); EXPECT_TRUE(lines().empty()); }},
        {"RunF(4001,FALSE)", [&] {  // the flag is compared case by case: a toggle
             ASSERT_EQ(lines().size(), 1u);
             EXPECT_EQ(*lines()[0]->m_strCaipID, "4001");
             EXPECT_TRUE(form().virtualButtons[0]->quickCaipView) << "the button is marked";
         }},
        {"RunF(9999)", [&] { EXPECT_TRUE(lines().empty()); EXPECT_FALSE(opened()); }},
        {"Movie(1,2,3,4)", [&] { EXPECT_FALSE(welcome()->moviePlayer()); }},
        {"Movie 0,0,0,0,INTRO", [&] { EXPECT_FALSE(welcome()->moviePlayer()); }},
        {"Movie(100,200,400,500,intro)", [&] {
             ASSERT_TRUE(welcome()->moviePlayer());
             EXPECT_EQ(welcome()->moviePlayer()->view()->frame(), (ui::Rect{100, 200, 300, 300}));
             EXPECT_EQ(welcome()->moviePlayer()->contentPath(), NSServer::getMediaPath() + "/INTRO");
             EXPECT_FALSE(welcome()->canTouch());
         }},
        {"Movie(0,0,0,0,../../Data/Kovra.ini)", [&] { EXPECT_FALSE(welcome()->moviePlayer()); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.func);
        // A fresh welcome screen on Form1 with nothing ordered.
        if (settings()) root->setBack();
        if (root->listViewController) root->welDishListBack();
        if (root->caipViewController) root->welBigCaipBack();
        if (!welcome()) root->backToWel();
        root->selectCaipViewController = nullptr;
        root->listViewController = nullptr;
        root->caipViewController = nullptr;
        welcome()->stop();
        advance(6);
        welcome()->setCanTouch(true);
        lines().clear();
        NSServer::setUseCplbTree(nullptr);
        NSServer::setWelShowFormName("");
        putOn(menuLayout({c.func}));
        ASSERT_EQ(form().formName, "Form1");
        tapButton(1);
        c.check();
        settle();
    }
}

TEST_F(SkinForms, ASwipeToAFormNumberTheSkinSkippedStays) {
    // Two forms, numbered 1 and 3: forward from Form1 would be Form2.
    startSkinned("<ZirevOvuZud><FormCnt>3</FormCnt><Form1>" + buttonsXml({"Run"}) + "</Form1><Form3>" +
                 buttonsXml({"Set"}) + "</Form3></ZirevOvuZud>");
    swipe({700, 200}, {-40, 0});
    settle();
    EXPECT_EQ(form().formName, "Form1");
    EXPECT_TRUE(welcome()->canTouch());
}

TEST_F(SkinForms, AReleaseWhileAVideoPlaysOnlyStopsIt) {
    startSkinned(menuLayout({"Run", "Movie(0,0,0,0,INTRO)"}));
    addVideo("INTRO");
    tapButton(2);
    ASSERT_TRUE(welcome()->moviePlayer());
    // Full screen covers the window; the form still hears a release the screen hands it.
    form().onButtonUp({buttonRect(1).x() + 5, buttonRect(1).y() + 5}, *welcome());
    EXPECT_FALSE(welcome()->moviePlayer());
    EXPECT_FALSE(root->selectCaipViewController);
}

TEST_F(SkinForms, TheGuestsWayStaysOverEveryForm) {
    // Form1's one button covers the whole screen; Form2 pages the hot dishes.
    startSkinned("<ZirevOvuZud><FormCnt>2</FormCnt>"
                 "<Form1><Button1><Func>Open(Form2)</Func><Rect>0,0,768,1004</Rect></Button1></Form1>"
                 "<Form2 noState=\"1\"><CategoryId>000001</CategoryId>" + slotsXml(6) + "</Form2></ZirevOvuZud>");
    for (const char* shown : {"Form1", "Form2"}) {
        SCOPED_TRACE(shown);
        ASSERT_EQ(form().formName, shown);
        tap("在线服务");
        ASSERT_TRUE(root->functionViewController);
        EXPECT_EQ(root->functionViewController->view()->superview(), root->view().get());
        tap("返回");
        settle();
        tapRect({20, 20, 100, 100});  // Form1's button opens Form2
        settle();
    }
}

}  // namespace
