// Screenshot checks of the line editor, the set-meal chooser and the dish order form: each draws a screen that is not
// blank and that shows its own texts. With KOVRA_SCREENSHOT_DIR set the pictures are also kept
// there (scripts/screenshots.sh makes docs/screenshots/ so).

#include <cstdlib>
#include <set>

#include "LineEditFixture.h"
#include "platform/render/Bitmap.h"
#include "platform/render/Png.h"
#include "platform/render/Renderer.h"
#include "platform/render/UiHooks.h"
#include "screens/kit/ScreenKit.h"
#include "screens/lineedit/CaipFormHost.h"
#include "screens/lineedit/LineEditKit.h"
#include "screens/lineedit/UICaipFormViewController.h"
#include "screens/lineedit/UIQuickCaipViewController.h"
#include "screens/lineedit/UISelectBomViewController.h"

namespace {

class LineEditPictures : public LineEditFixture {
protected:
    void SetUp() override {
        LineEditFixture::SetUp();
        render::installUiHooks();
    }
    // Draws the window, keeps the picture where asked, and answers how many colours it has.
    std::size_t shoot(const std::string& name) {
        settle();
        std::string path = home.path() + "/" + name;
        if (const char* dir = std::getenv("KOVRA_SCREENSHOT_DIR")) path = std::string(dir) + "/" + name;
        EXPECT_TRUE(render::saveScreenshot(*window, path));
        auto picture = render::decodeImageFile(path);
        if (!picture) return 0;
        std::set<std::uint32_t> colours(picture->pixels.begin(), picture->pixels.end());
        return colours.size();
    }
};

TEST_F(LineEditPictures, TheLineEditorWithMethodsAndATaste) {
    auto line = newLine("F1");
    line->m_fQuantity = 2;
    line->AddKouwID("T1,");
    root->showQuickCaip(db->GetCaipFromID("F1"), line, false);
    advance(0.3);
    auto editor = root->quickCaipViewController.get();
    ASSERT_TRUE(editor);
    tapView(*editor->zuofbts[0]);
    EXPECT_TRUE(shows("清蒸 5元"));
    EXPECT_TRUE(shows("鲈鱼"));
    EXPECT_GT(shoot("lineeditor.png"), 50u) << "the screen draws its controls";
}

TEST_F(LineEditPictures, TheSetMealChooserOnItsFirstGroup) {
    addDish("S1", "双人套餐", "0", "份").m_bisSet = true;
    auto bom = std::make_shared<NSATreeClass>();
    bom->m_str1 = {"", "S1", "S1"};
    bom->m_str2 = {"", "F1;B1;F2;E1", "E1"};
    bom->m_name = {"", "2", "1"};
    db->m_BomGroupName = {"", "主菜", "小菜"};
    db->m_Bom = bom;
    ASSERT_FALSE(root->showBigCaip1(db->GetCaipFromID("S1")));
    advance(0.3);
    auto chooser = root->selectBomViewController.get();
    ASSERT_TRUE(chooser);
    tapView(*chooser->canSelectBtns[0]);
    EXPECT_TRUE(shows("请从主菜中选择2份"));
    EXPECT_GT(shoot("setmeal.png"), 50u);

    tapView(*chooser->canSelectBtns[1]);
    tapView(*chooser->bt_next);  // the second group passes by itself
    EXPECT_TRUE(shows("1瓶"));
    EXPECT_TRUE(shows("小菜"));
    EXPECT_GT(shoot("setmealsummary.png"), 50u);
}

// A stand-in detail view: the form lies on a plain full-screen view.
class PlainHost : public CaipFormHost {
public:
    void nextCaip() override {}
    void lastCaip() override {}
    void showDish() override {}
    std::shared_ptr<ui::Label> caipPrice() override { return nullptr; }
    ui::View& formHostView() override { return *view; }
    std::shared_ptr<ui::View> view = std::make_shared<ui::View>(ui::Rect{0, 0, 320, 480});
};

TEST_F(LineEditPictures, TheDishOrderFormOnItsMethodsTab) {
    PlainHost host;
    host.view->setBackgroundColor(kit::kPaper);
    root->view()->addSubview(host.view);
    auto line = newLine("F1");
    line->m_fQuantity = 2;
    auto form = UICaipFormViewController::addCaipForm(host, line, lineedit::cookingMethodTree(*line));
    form->showCaipForm();
    advance(0.3);
    tapIn(*form->tb_zuofkw, "清蒸5");
    tapView(*form->bt_UnitsZ);
    EXPECT_TRUE(shows("鲈鱼 2中 157元 清蒸*1"));
    EXPECT_GT(shoot("orderform.png"), 50u);
}

}  // namespace
