// The reservation dialog's texts and rows.

#include "DialogFixture.h"
#include "model/NSCaipClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "model/NSYuDingClass.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TextView.h"
#include "screens/root/UIYuDingViewController.h"

namespace {

class Reservation : public DialogFixture {
protected:
    std::shared_ptr<UIYuDingViewController> open(std::shared_ptr<NSYuDingClass> booking) {
        auto desk = std::make_shared<NSDeskClass>();
        desk->m_strDeskName = "8号桌";
        auto dialog = std::make_shared<UIYuDingViewController>();
        dialog->m_selectDesk = desk;
        dialog->m_yuDing = std::move(booking);
        host(dialog);
        return dialog;
    }
    // The texts of a row's labels, left to right, and whether each is drawn red.
    static std::vector<std::string> row(UIYuDingViewController& dialog, int r, std::vector<bool>* red = nullptr) {
        auto cell = dialog.cellForRow(*dialog.tb_dishs, {0, r});
        std::vector<std::string> texts;
        for (auto& v : cell->contentView()->subviews())
            if (auto* label = dynamic_cast<ui::Label*>(v.get())) {
                texts.push_back(label->text());
                if (red) red->push_back(label->textColor() == ui::Color(1, 0, 0, 1));
            }
        return texts;
    }
    static std::shared_ptr<NSDishClass> line(const std::string& name, float quantity, int state) {
        auto l = std::make_shared<NSDishClass>();
        l->m_strCaipName = name;
        l->m_fQuantity = quantity;
        l->m_strUnits = "份";
        l->m_strPrice = "12";
        l->m_iState = state;
        return l;
    }
};

TEST_F(Reservation, ShowsTheBookingAndOneRowPerLine) {
    auto booking = std::make_shared<NSYuDingClass>();
    booking->CompanyName = "星河公司";
    booking->GuestName = "李先生";
    booking->DiningTime = "18:00";
    booking->YuDingTime = "09:00";
    booking->clientNum = 6;
    booking->telephone = "138";
    booking->m_DishList = {line("套餐A", 1, 1), line("可乐", 2, 1), line("鲈鱼", 1.5f, 4), line("米饭", 3, 3)};
    booking->m_DishList[0]->m_bisSet = true;
    booking->m_DishList[1]->m_bisExp = true;  // an item of the set meal above
    booking->m_DishList[2]->m_iVarQty = 1;    // weighed at the table

    // A custom dish: its free-text requirement stands as its name.
    auto custom = std::make_shared<NSCaipClass>();
    custom->m_strID = std::make_shared<const std::string>("C900");
    custom->m_bCustom = true;
    auto menu = std::make_shared<NSCaipDBClass>();
    menu->m_CaipArray.push_back(custom);
    NSServer::setCaipDB(menu);
    auto own = line("自定菜", 1, NSDishClass::kUnsent);
    own->m_strCaipID = custom->m_strID;
    own->m_KouwArray = {"少放盐"};
    booking->m_DishList.push_back(own);

    auto dialog = open(booking);
    EXPECT_EQ(dialog->lb_title->text(), "8号桌 预订信息");
    EXPECT_EQ(dialog->tv_yuDingInfo->text(),
              "预订单位：星河公司\n客人姓名：李先生\n用餐时间：18:00\n预订时间：09:00\n人数：6\n电话：138");
    ASSERT_EQ(dialog->tb_dishs->numberOfRows(0), 5);
    std::vector<bool> red;
    EXPECT_EQ(row(*dialog, 0), (std::vector<std::string>{"1", "套餐A", "1份", "12", "已下单"}));
    EXPECT_EQ(row(*dialog, 1), (std::vector<std::string>{"--", "可乐", "2份", "24", "已下单"}));
    EXPECT_EQ(row(*dialog, 2, &red), (std::vector<std::string>{"3", "鲈鱼", "约1.5份", "18", "已退菜"}));
    EXPECT_EQ(red, (std::vector<bool>{false, true, true, true, true})) << "a returned line is red";
    EXPECT_EQ(row(*dialog, 3), (std::vector<std::string>{"4", "米饭", "3份", "36", "已上菜"}));
    EXPECT_EQ(row(*dialog, 4), (std::vector<std::string>{"5", "少放盐", "1份", "12", "未下单"}));
}

TEST_F(Reservation, AnEmptyReservationStillOpensWithNoGuests) {
    launch("127.0.0.1");
    auto dialog = std::make_shared<UIYuDingViewController>();
    auto desk = std::make_shared<NSDeskClass>();
    desk->m_iClientNum = 3;
    dialog->m_selectDesk = desk;
    dialog->m_yuDing = std::make_shared<NSYuDingClass>();
    dialog->rootController = root;
    root->yudingViewController = dialog;
    root->fadeIn(*dialog->view(), dialog->view()->frame());
    EXPECT_EQ(dialog->tb_dishs->numberOfRows(0), 0);
    tap("开台");
    EXPECT_EQ(desk->m_iClientNum, 0);
    EXPECT_EQ(sim.requestsFor("yudopen").size(), 1u) << "the server is still asked to open the reservation";
}

}  // namespace
