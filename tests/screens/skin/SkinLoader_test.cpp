// The screen-layout files and their loader: the texts they hold, the forms, slots and buttons
// made of them, which form shows first, the orientation, and files that cannot be read.

#include <map>

#include "platform/render/UiHooks.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "screens/skin/SkinMenuFixture.h"

namespace {

TEST(SkinTexts, RectanglesReadMissingNumbersAsZero) {
    struct Case {
        const char* text;
        ui::Rect rect;
    } cases[] = {
        {"10,20,110,70", {10, 20, 100, 50}},
        {" 10, 20 ,110.5,70", {10, 20, 100.5, 50}},
        {"0,0,0,0", {0, 0, 0, 0}},
        {"10,20", {10, 20, -10, -20}},  // a short text: x2 and y2 are 0
        {"", {0, 0, 0, 0}},
        {"a,b,c,d", {0, 0, 0, 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(skin::rectFromText(c.text), c.rect) << c.text;
}

TEST(SkinTexts, YesNoTextsAndActionArguments) {
    struct Bool {
        const char* text;
        bool value;
    } bools[] = {{"true", true}, {"YES", true}, {" t", true}, {"1", true}, {"-007", true}, {"false", false},
                 {"no", false}, {"0", false}, {"000", false}, {"", false}, {"  ", false}};
    for (const auto& c : bools) EXPECT_EQ(skin::boolFromText(c.text), c.value) << '"' << c.text << '"';

    EXPECT_EQ(skin::argumentOf("RunF(1001,false)"), "1001,false");
    EXPECT_EQ(skin::argumentOf("Open()"), "");
    EXPECT_EQ(skin::argumentOf("Open(Form3"), std::nullopt);
    EXPECT_EQ(skin::argumentOf("Open)Form3("), std::nullopt);
    EXPECT_EQ(skin::formNumber("Form12"), 12);
    EXPECT_EQ(skin::formNumber("Form"), 0);
    // Only a name as "Form%i" writes it names form n.
    struct Numbered {
        const char* name;
        std::optional<int> n;
    } numbered[] = {{"Form1", 1},          {"Form2147483647", 2147483647}, {"Form2147483648", std::nullopt},
                    {"Form", std::nullopt}, {"Form0", std::nullopt},         {"Form01", std::nullopt},
                    {"Form+1", std::nullopt}, {"Form-1", std::nullopt},      {"Form1x", std::nullopt},
                    {"form1", std::nullopt}, {"Form99999999999", std::nullopt}};
    for (const auto& c : numbered) EXPECT_EQ(skin::numberedName(c.name, "Form"), c.n) << c.name;

    // Names from a layout file never leave their folder.
    EXPECT_EQ(skin::fileInFolder("/s", "main.png"), "/s/MAIN.PNG");
    for (const char* bad : {"", "..", ".", "../x.png", "a/b.png", "a\\b.png"})
        EXPECT_EQ(skin::fileInFolder("/s", bad), std::nullopt) << bad;
}

class SkinLoader : public SkinMenuFixture {};

TEST_F(SkinLoader, ReadsFormsSlotsAndButtonsAsTheFileGivesThem) {
    start();
    putOn("<ZirevOvuZud><MainForm>Form3</MainForm><FormCnt>4</FormCnt><CompID>17</CompID>"
          "<Screensavers><Time>60000</Time><Func>movie(INTRO)</Func></Screensavers>"
          "<Form1><Skin>back1.png</Skin>"
          "<Button1><Skin>up.png</Skin><SkinF>down.png</SkinF><Func>Run(000001)</Func><Rect>10,20,110,70</Rect></Button1>"
          "<Button2><Func>CheckList</Func></Button2>"  // no Rect: an empty rectangle
          "<Button4><Func>Set</Func><Rect>1,1,2,2</Rect></Button4>"  // after a gap: not read
          "</Form1>"
          "<Form3 noState=\"257\"><CategoryId>000001</CategoryId>"
          "<CaipName1 rect=\"0,0,100,30\"/>"
          "<CaipImage2 isShowBig=\"no\" rect=\"5,6\"/><CaipQuickSel2 skins=\"q.png\" rect=\"0,100,50,150\"/>"
          "<CaipName4 rect=\"0,0,1,1\"/>"  // after slot 3 is missing: not read
          "</Form3>"
          "<Form4 noState=\"256\"><CategoryId>000001</CategoryId><CaipName1 rect=\"0,0,1,1\"/></Form4>"
          "<Form5><Skin>never.png</Skin></Form5>"
          "</ZirevOvuZud>");
    auto& w = *welcome();
    ASSERT_TRUE(w.hasXml());
    std::vector<std::string> names;
    for (auto& [name, f] : w.forms()) names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"Form1", "Form3", "Form4"}));
    EXPECT_EQ(NSServer::getJtNO(), "17");
    ASSERT_TRUE(w.screen());
    EXPECT_DOUBLE_EQ(w.screen()->time, 60.0);
    EXPECT_EQ(w.screen()->func, "movie(INTRO)");

    auto& main = *w.forms().at("Form1");
    EXPECT_EQ(main.imageView, "back1.png");
    EXPECT_FALSE(main.isCategoryForm());
    ASSERT_EQ(main.virtualButtons.size(), 2u);
    const auto& b1 = *main.virtualButtons[0];
    EXPECT_FALSE(b1.isResImage);
    EXPECT_EQ(b1.upImageView, "up.png");
    EXPECT_EQ(b1.downImageView, "down.png");
    EXPECT_EQ(b1.func, "Run(000001)");
    EXPECT_EQ(b1.location, (ui::Rect{10, 20, 100, 50}));
    EXPECT_EQ(main.virtualButtons[1]->location, (ui::Rect{0, 0, 0, 0}));

    auto& category = *w.forms().at("Form3");
    EXPECT_TRUE(category.isCategoryForm()) << "the low 8 bits of noState";
    ASSERT_EQ(category.virtualCaipShows.size(), 2u);
    const auto& nameOnly = *category.virtualCaipShows[0];
    EXPECT_TRUE(nameOnly.isShowBig) << "no CaipImage keeps the first value";
    EXPECT_EQ(nameOnly.locationN, (ui::Rect{0, 0, 100, 30}));
    EXPECT_EQ(nameOnly.locationI, (ui::Rect{}));
    EXPECT_EQ(nameOnly.supForm, &category);
    const auto& second = *category.virtualCaipShows[1];
    EXPECT_FALSE(second.isShowBig);
    EXPECT_EQ(second.locationI, (ui::Rect{5, 6, -5, -6}));
    EXPECT_EQ(second.quickSelSkinPath, "q.png");
    EXPECT_EQ(second.locationS, (ui::Rect{0, 100, 50, 50}));
    EXPECT_FALSE(w.forms().at("Form4")->isCategoryForm()) << "noState 256 has no low bits";

    // Drawn, a slot makes only the parts it has a rectangle for.
    ASSERT_EQ(w.nowForm().get(), &category);
    EXPECT_TRUE(nameOnly.caipName);
    EXPECT_FALSE(nameOnly.caipImage || nameOnly.caipPrice || nameOnly.caipQuickSel);
    EXPECT_EQ(nameOnly.caipName->text(), "翡翠花菇扒鲍脯") << "the first hot dish";
    EXPECT_TRUE(second.caipQuickSel);
    EXPECT_FALSE(second.caipImage || second.caipName || second.caipPrice);
}

TEST_F(SkinLoader, TheWorkIsBoundedByWhatTheFileHoldsNotByTheCountItClaims) {
    start();
    // A count of two thousand million with a handful of forms loads at once, each form within
    // the count under its own name; a name "%i" would not write is no form.
    putOn("<ZirevOvuZud><FormCnt>2000000000</FormCnt>"
          "<Form1>" + buttonsXml({"Run"}) + "</Form1>"
          "<Form1><Skin>second.png</Skin></Form1>"  // only the first element of a name counts
          "<Form2000000000/><Form2000000001/><Form007/><Form0/>"
          "</ZirevOvuZud>");
    ASSERT_TRUE(welcome()->hasXml());
    std::vector<std::string> names;
    for (auto& [name, f] : welcome()->forms()) names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"Form1", "Form2000000000"}));
    EXPECT_EQ(form().formName, "Form1");
    EXPECT_EQ(form().virtualButtons.size(), 1u);
    EXPECT_EQ(form().imageView, "");

    // A form of many slots reads them in one pass.
    std::string many;
    for (int j = 1; j <= 20000; ++j) many += platform::fmt("<CaipName%i rect=\"0,0,1,1\"/>", j);
    putOn("<ZirevOvuZud><FormCnt>2</FormCnt><Form1/><Form2 noState=\"1\"><CategoryId>000001</CategoryId>" + many +
          "</Form2></ZirevOvuZud>");
    ASSERT_TRUE(welcome()->hasXml());
    EXPECT_EQ(welcome()->forms().at("Form2")->virtualCaipShows.size(), 20000u);
}

TEST_F(SkinLoader, CategoryFormsWithoutCategoryOrSlotsAreButtonForms) {
    start();
    putOn("<ZirevOvuZud><FormCnt>3</FormCnt>"
          "<Form1 noState=\"1\"><CategoryId>999999</CategoryId><CaipName1 rect=\"0,0,1,1\"/>" +
          buttonsXml({"Run"}) + "</Form1>"
          "<Form2 noState=\"1\"><CategoryId>000001</CategoryId>" + buttonsXml({"Run"}) + "</Form2>"
          "<Form3 noState=\"1\">" + buttonsXml({"Run"}) + "</Form3></ZirevOvuZud>");
    for (const char* name : {"Form1", "Form2", "Form3"}) {
        auto& f = *welcome()->forms().at(name);
        EXPECT_FALSE(f.noState) << name;
        EXPECT_FALSE(f.isCategoryForm()) << name;
        EXPECT_EQ(f.virtualButtons.size(), 1u) << name;
        EXPECT_FALSE(f.showVirtualCaips()) << name;
    }
    // A swipe on such a form turns forms, never pages.
    swipe({700, 200}, {-40, 0});
    settle();
    EXPECT_EQ(form().formName, "Form2");
}

TEST_F(SkinLoader, TheFormShownFirstAndTheOrientation) {
    start();
    const std::string second = "<ZirevOvuZud><MainForm>Form2</MainForm><FormCnt>2</FormCnt>"
                               "<Form1/><Form2/></ZirevOvuZud>";
    struct Case {
        const char* what;
        std::string mainForm;
        std::string extra;
        bool secondFile;
        std::string remembered;
        std::string shown;
        bool fromSecond;
        bool mustHeng, mustShu;
    } cases[] = {
        {"no main form", "", "", false, "", "Form1", false, false, true},
        {"the main form", "Form3", "", false, "", "Form3", false, false, true},
        {"the remembered form wins", "Form3", "", false, "Form2", "Form2", false, false, true},
        {"a remembered name the skin lacks", "Form3", "", false, "Form9", "Form3", false, false, true},
        {"the landscape file's main form", "Form3", "", true, "", "Form2", true, false, false},
        {"landscape held, no second file", "", "<ScreenWidth>1024</ScreenWidth>", false, "", "Form1", false, true,
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        platform::fs::remove(NSServer::getSkinsPath() + "/" + skin::kSecondLayout);
        if (c.secondFile) writeLayout(skin::kSecondLayout, second);
        NSServer::setWelShowFormName(c.remembered);
        putOn(menuLayout({}, c.mainForm, c.extra));
        ASSERT_TRUE(welcome()->hasXml());
        EXPECT_EQ(form().formName, c.shown);
        auto& forms = c.fromSecond ? welcome()->forms2() : welcome()->forms();
        EXPECT_EQ(welcome()->nowForm(), forms.at(c.shown));
        EXPECT_EQ(NSServer::isMustHeng(), c.mustHeng);
        EXPECT_EQ(NSServer::isMustShu(), c.mustShu);
    }
}

TEST_F(SkinLoader, FilesThatCannotBeReadLeaveThePlainScreenWithAMessage) {
    start();
    const std::string path = NSServer::getSkinsPath() + "/" + skin::kMainLayout;
    struct Case {
        const char* what;
        std::function<void()> write;
    } cases[] = {
        {"not enciphered text", [&] { platform::fs::writeAtomically(path, "<ZirevOvuZud/>"); }},
        {"not XML", [&] { writeLayout(skin::kMainLayout, "FormCnt=3"); }},
        {"no forms", [&] { writeLayout(skin::kMainLayout, "<ZirevOvuZud><FormCnt>0</FormCnt></ZirevOvuZud>"); }},
        {"forms not counted", [&] { writeLayout(skin::kMainLayout, "<ZirevOvuZud><Form1/></ZirevOvuZud>"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        platform::fs::createFolder(NSServer::getSkinsPath());
        c.write();
        welcome()->startSkin();
        EXPECT_FALSE(welcome()->hasXml());
        EXPECT_FALSE(welcome()->nowForm());
        EXPECT_FALSE(welcome()->bt_begin()->isHidden()) << "the plain screen stays usable";
        EXPECT_EQ(panelText(), "皮肤文件无法读取，继续使用普通界面");
        settle();
        advance(4);
    }
    // Without the file there is nothing to tell.
    platform::fs::remove(path);
    welcome()->startSkin();
    settle();
    advance(4);
    welcome()->startSkin();
    EXPECT_FALSE(panelText());
    EXPECT_FALSE(welcome()->hasXml());
}

TEST_F(SkinLoader, ParsesWithoutEntitiesAndIgnoresWhatFollowsTheRoot) {
    start();
    putOn("<?xml version=\"1.0\"?><!DOCTYPE ZirevOvuZud [<!ENTITY act \"Set\">]>"
          "<ZirevOvuZud><FormCnt>1</FormCnt><Form1>"
          "<Button1><Func>&act;</Func><Rect>20,100,120,160</Rect></Button1>"
          "</Form1></ZirevOvuZud>\x01 trailing bytes that are no XML");
    ASSERT_TRUE(welcome()->hasXml()) << "the text after the closing root tag is cut off";
    EXPECT_EQ(form().virtualButtons.at(0)->func.find("Set"), std::string::npos) << "the entity is not expanded";
    tapButton(1);
    settle();
    EXPECT_FALSE(settings());
}

TEST_F(SkinLoader, PicturesComeOnlyFromTheSkinsFolder) {
    render::installUiHooks();
    start();
    const std::string picture = *platform::fs::readAll(KOVRA_SOURCE_DIR "/resources/2-2.png");
    platform::fs::createFolder(NSServer::getSkinsPath());
    platform::fs::writeAtomically(NSServer::getSkinsPath() + "/BACK.PNG", picture);
    platform::fs::writeAtomically(NSServer::getDataPath() + "/OUTSIDE.PNG", picture);
    struct Case {
        const char* skin;
        bool drawn;
    } cases[] = {{"back.png", true}, {"../Data/outside.png", false}, {"..", false}, {"missing.png", false}};
    for (const auto& c : cases) {
        putOn(platform::fmt("<ZirevOvuZud><FormCnt>1</FormCnt><Form1><Skin>%@</Skin></Form1></ZirevOvuZud>", c.skin));
        ASSERT_TRUE(welcome()->hasXml()) << c.skin;
        auto image = welcome()->imageView()->image();
        EXPECT_EQ(image && image->size().width > 0 && image->name() != "Default.png", c.drawn) << c.skin;
    }
}

}  // namespace
