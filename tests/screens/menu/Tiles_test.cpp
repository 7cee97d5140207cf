// What a dish tile shows: the thumbnail (demo pictures for the demo menu, the stand-in
// otherwise), names and price, the quantity badge of the desk's unsent lines, the sold-out and
// remaining-quantity marks that a reload never doubles, and the text list's quantity column.

#include "MenuFixture.h"

namespace {

class Tiles : public MenuFixture {};

TEST_F(Tiles, TheDemoMenuShowsItsPicturesNamesAndPrices) {
    auto& m = openMenu();  // the demo menu the terminal starts with
    ASSERT_FALSE(m.nowCplb()->caips.empty());
    auto first = tile(0);
    ASSERT_TRUE(first && first->cappicIV->image());
    EXPECT_EQ(first->cappicIV->image()->name(), "0" + std::to_string(std::stoi(m.nowCplb()->caips[0]->strID())) + "t.bmp");
    EXPECT_EQ(first->nameL->text(), m.nowCplb()->caips[0]->m_strName);
    EXPECT_EQ(first->priceL->text(), m.nowCplb()->caips[0]->m_strPrice + "元/" + m.nowCplb()->caips[0]->m_strDanw);
    EXPECT_TRUE(first->cappicIV->frame().width() <= 126 && first->cappicIV->frame().height() <= 94) << "fitted into its box";
    EXPECT_EQ(tile(1)->cappicIV->frame().x() >= 128, true) << "the right tile";

    tap("图文");
    advance(1);
    EXPECT_NE(tile(0)->textL->text().find("主料"), std::string::npos) << "the demo description";
}

TEST_F(Tiles, TheBadgeSumsTheUnsentLinesAndMarksAreNotDoubled) {
    auto cats = flatMenu({3});
    auto dish = cats[0]->caips[0];
    for (auto [q, state] : {std::pair{1.0f, NSDishClass::kUnsent}, {2.5f, NSDishClass::kUnsent}, {4.0f, 6}}) {
        auto l = std::make_shared<NSDishClass>();
        l->CopyCaip(dish);
        l->m_fQuantity = q;
        l->m_iState = state;
        lines().push_back(l);
    }
    db()->m_SellOut->AddItem("D0-1", "", "0");
    db()->m_SellOut->AddItem("D0-2", "", "3");
    auto& m = openMenu();
    EXPECT_EQ(tile(0)->shul_l->text(), "3.5");
    EXPECT_EQ(tile(0)->shul_l->superview(), tile(0)->cappicIV.get()) << "the number sits on the picture";
    EXPECT_EQ(tile(1)->shul_l->superview(), nullptr) << "no badge without unsent lines";
    for (int reload = 0; reload < 2; ++reload) {
        EXPECT_EQ(tile(1)->priceL->text(), "10元/份(已沽清)");
        EXPECT_EQ(tile(1)->SelCaipB->currentTitle(), "已沽清");
        EXPECT_EQ(tile(1)->nameL->textColor(), ui::Color::redColor());
        EXPECT_EQ(tile(2)->priceL->text(), "10元/份(剩余3)");
        m.caipTable()->reloadData();
    }
}

TEST_F(Tiles, MarksStayClearOfTheButtonsAndLeaveThePriceWhole) {
    auto cats = flatMenu({3});
    for (auto& dish : cats[0]->caips) {
        dish->m_strPrice = "298";
        dish->m_strDanw = "斤";
    }
    db()->m_SellOut->AddItem("D0-1", "", "0");
    db()->m_SellOut->AddItem("D0-2", "", "3");
    for (bool landscape : {false, true}) {
        NSServer::setIsHengB(landscape);
        openMenu();
        for (const char* mode : {"大图", "列表", "图文"}) {
            tap(mode);
            advance(1);
            for (int i = 0; i < 3; ++i) {
                SCOPED_TRACE(testing::Message() << (landscape ? "landscape " : "portrait ") << mode << " tile " << i);
                auto t = tile(i);
                ASSERT_TRUE(t);
                const ui::Label& price = *t->priceL;
                const ui::Rect frame = price.frame();
                EXPECT_FALSE(frame.intersects(t->SelCaipB->frame()));
                EXPECT_FALSE(frame.intersects(t->cancelCaipB->frame()));
                // Two lines where the row has room for them; otherwise at least the price itself,
                // in the smallest size the label shrinks to.
                ui::Font font = price.font();
                std::string shown = price.text();
                if (price.numberOfLines() == 1) {
                    font.size = price.minimumFontSize();
                    shown = shown.substr(0, shown.find('(')) + "…";
                }
                const ui::Size text = ui::measureText(shown, font, price.numberOfLines() == 1 ? 0 : frame.width());
                EXPECT_LE(text.width, frame.width()) << shown;
                EXPECT_LE(text.height, frame.height()) << shown;
            }
            ui::Button& select = *tile(1)->SelCaipB;
            EXPECT_EQ(select.currentTitle(), "已沽清");
            EXPECT_FALSE(select.currentBackgroundImage()) << "the word takes the place of the plus";
            EXPECT_LE(ui::measureText(select.currentTitle(), select.titleFont()).width, select.frame().width());
            EXPECT_TRUE(tile(2)->SelCaipB->currentBackgroundImage()) << "a dish with some left keeps its plus";
        }
    }
    NSServer::setIsHengB(false);
}

TEST_F(Tiles, TheTextListShowsTheQuantityColumn) {
    auto cats = flatMenu({2});
    auto& m = openMenu();
    tap("列表");
    advance(1);
    EXPECT_EQ(tile(0)->shul_l->text(), "0");
    EXPECT_FALSE(tile(0)->cappicIV->image()) << "no picture is read";
    select(0);
    EXPECT_EQ(tile(0)->shul_l->text(), "1");
    EXPECT_EQ(m.flyingPictures(), 0u) << "nothing flies in the text list";
    select(0);
    EXPECT_FALSE(alerts().empty()) << "a shown quantity asks first";
}

TEST_F(Tiles, TheLandscapeLayoutsPutThreeTilesARowAndNumberTheTextList) {
    flatMenu({5});
    NSServer::setIsHengB(true);
    auto& m = openMenu();
    EXPECT_EQ(m.caipTable()->numberOfRows(0), 2);
    EXPECT_EQ(tile(4)->cappicIV->superview(), tile(3)->cappicIV->superview()) << "tiles 4 and 5 share the last row";
    EXPECT_GE(tile(2)->cappicIV->frame().x(), 595);
    tap("列表");
    advance(1);
    EXPECT_TRUE(shows("1."));
    EXPECT_TRUE(shows("5."));
    EXPECT_EQ(tile(0)->shul_l->superview(), nullptr) << "no quantity column in the landscape list";
    NSServer::setIsHengB(false);
}

}  // namespace
