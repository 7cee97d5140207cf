// Printing the bills with and without a discount, and the submit of the desk's lines as the
// cart of an online order against the web-service simulator.

#include <optional>
#include <sstream>

#include <nlohmann/json.hpp>

#include "OrderListFixture.h"
#include "model/NSKouwClass.h"
#include "online/NSDingDClass.h"
#include "online/NSHTTPServer.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "screens/online/UIDingDanXViewController.h"
#include "support/EventWait.h"
#include "websim/WebSim.h"

namespace {

class Print : public OrderListFixture {};

TEST_F(Print, WithoutADiscountTheCheckBillIsPrintedASecondLater) {
    auto desk = openDesk();
    sim.setRebateText("");
    showDesk();
    menu("打印账单");
    EXPECT_TRUE(alerts().empty());
    EXPECT_EQ(sim.requestsFor("rebatexiaof").at(0).field("param1"), "get");
    EXPECT_EQ(sim.requestsFor("print").size(), 0u);
    advance(1.0);
    EXPECT_EQ(sim.desk(desk->m_strDeskID)->printed, 1);
}

TEST_F(Print, TheDiscountPanelPrintsEitherBillAndAsksForTheTemplateAndAmountChosen) {
    auto desk = openDesk();
    sim.setRebateText("九折：省12元");
    showDesk();
    menu("打印账单");
    ASSERT_TRUE(shows("打印账单，选择折扣模板:"));
    EXPECT_TRUE(shows("九折：省12元"));
    tap("打印客用单");
    EXPECT_EQ(sim.requestsFor("printalldish").size(), 0u);
    advance(1.0);
    EXPECT_EQ(sim.requestsFor("printalldish").size(), 1u);

    advance(0.5);
    menu("打印账单");
    tap("选择折扣模板");
    ASSERT_TRUE(list->selectViewController);
    pick("取消折扣");
    advance(0.3);
    ASSERT_TRUE(shows("打印账单，已选折扣模板:"));
    EXPECT_EQ(sim.requestsFor("rebatexiaof").back().field("param1"), "") << "the template without a code";
    // The amount typed is asked about with the template chosen.
    auto field = list->tf_zhek.lock();
    ASSERT_TRUE(field);
    EXPECT_EQ(field->text(), "0");
    fill(*field, "15");
    auto asked = sim.requestsFor("rebatexiaof").back();
    EXPECT_EQ(asked.field("param1"), "");
    EXPECT_EQ(asked.field("param2"), "15");
    EXPECT_FLOAT_EQ(list->rebatemoney, 15);
    tap("打印对账单");
    advance(1.0);
    EXPECT_EQ(sim.requestsFor("print").size(), 1u);
}

TEST_F(Print, TheServersDiscountForTheChosenTemplateAndAmountIsShownAndStaysOnTheBill) {
    auto desk = openDesk();
    // Prices entered at ordering: 2 x 50 with a surcharge of 4, and 16.
    auto priced = [this](std::size_t dish, float quantity, const char* price, float surcharge) {
        auto l = line(dish, quantity);
        l->m_strPrice = price;
        l->m_iPrice = 1;
        l->m_fPrice2 = surcharge;
        return l;
    };
    lines() = {priced(0, 2, "50", 4), priced(1, 1, "16", 0)};
    ASSERT_TRUE(sendAll());
    ASSERT_FLOAT_EQ(desk->GetAllDishPrice(), 120);
    showDesk();
    auto shown = [this] {
        auto view = list->tv_zhek.lock();
        return view ? view->text() : std::string("(no discount text)");
    };
    menu("打印账单");
    ASSERT_TRUE(shows("打印账单，选择折扣模板:"));
    EXPECT_EQ(shown(), "折扣:无\n消费金额:120元\n折扣金额:0元\n应收金额:120元");
    tap("选择折扣模板");
    pick("九折");
    advance(0.3);
    ASSERT_TRUE(shows("打印账单，已选折扣模板:"));
    EXPECT_EQ(shown(), "折扣:九折\n消费金额:120元\n折扣金额:12元\n应收金额:108元");
    auto field = list->tf_zhek.lock();
    ASSERT_TRUE(field);
    fill(*field, "15");
    EXPECT_EQ(shown(), "折扣:九折\n消费金额:120元\n折扣金额:27元\n应收金额:93元");
    tap("打印对账单");
    advance(1.0);
    EXPECT_EQ(sim.desk(desk->m_strDeskID)->printed, 1);

    // The bill keeps its template: the next print starts with it.
    menu("打印账单");
    EXPECT_EQ(shown(), "折扣:九折\n消费金额:120元\n折扣金额:12元\n应收金额:108元");
    tap("选择折扣模板");
    pick("取消折扣");
    advance(0.3);
    EXPECT_EQ(shown(), "折扣:无\n消费金额:120元\n折扣金额:0元\n应收金额:120元");
    tap("取消");
    advance(0.3);
}

TEST_F(Print, TheAmountFieldIsNotNamedForAFigureTheServersDiscountGivesOtherwise) {
    openDesk();
    lines() = {line(0, 2), line(1)};
    ASSERT_TRUE(sendAll());
    showDesk();
    menu("打印账单");
    tap("选择折扣模板");
    pick("九折");
    advance(0.3);
    auto field = list->tf_zhek.lock();
    auto text = list->tv_zhek.lock();
    ASSERT_TRUE(field && text && field->superview());
    // The label the panel puts in front of the amount field.
    std::string name;
    for (auto& v : field->superview()->subviews())
        if (auto* label = dynamic_cast<ui::Label*>(v.get()); label && label->frame().origin.y == field->frame().origin.y)
            name = label->text();
    ASSERT_FALSE(name.empty());
    if (name.ends_with(":")) name.pop_back();
    // Each figure the discount text names, with its name: "折扣金额:12元".
    auto figureNamed = [&text](const std::string& wanted) -> std::optional<std::string> {
        std::istringstream lines(text->text());
        for (std::string line; std::getline(lines, line);)
            if (line.starts_with(wanted + ":")) return line.substr(wanted.size() + 1);
        return std::nullopt;
    };
    ASSERT_NE(figureNamed("折扣金额").value_or("0元"), "0元") << "the template takes something off";
    // With nothing typed and with an amount: the field holds that amount beside the server's
    // figures, and no figure carries the field's name with another value.
    for (const char* typed : {"", "15"}) {
        if (*typed) fill(*field, typed);
        EXPECT_EQ(platform::leadingDouble(field->text()), platform::leadingDouble(*typed ? typed : "0"));
        EXPECT_TRUE(figureNamed("折扣金额")) << "no figures beside " << field->text() << " in\n" << text->text();
        const auto figure = figureNamed(name);
        EXPECT_TRUE(!figure || platform::leadingDouble(*figure) == platform::leadingDouble(field->text()))
            << name << " is " << field->text() << " in the field and " << figure.value_or("") << " in\n"
            << text->text();
    }
    tap("取消");
    advance(0.3);
}

class Submit : public OrderListFixture {
protected:
    void SetUp() override {
        OrderListFixture::SetUp();
        ASSERT_GT(web.start(0), 0);
        NSHTTPServer::setHTTPAddress(web.baseURL());
    }
    void TearDown() override {
        pumpUntil([] { return NSHTTPServer::inFlight() == 0; });
        web.stop();
        OrderListFixture::TearDown();
    }
    bool pumpUntil(const std::function<bool()>& done) { return testsupport::pumpUntil(loop(), done); }
    // The root holds an online order being filled.
    void onlineOrder(const std::string& id) {
        auto page = std::make_shared<UIDingDanXViewController>();
        auto order = std::make_shared<NSDingDClass>();
        order->m_strOrderid = id;
        page->setM_dingd(order);
        root->dingDXViewController = page;
    }
    websim::WebSim web;
};

TEST_F(Submit, TheCartReachesTheServiceIntactAndTheListGivesWayToTheWelcomeScreen) {
    web.withWorld([](websim::World& w) { w.order("5002")->state = 0; });
    onlineOrder("5002");
    // Web-menu options of two groups, the later group's option first in the line.
    auto db = NSServer::getCaipDB();
    auto option = [](const char* id, const char* name, const char* group, const char* price) {
        auto o = std::make_shared<NSKouwClass>();
        o->m_strKouwid = id;
        o->m_strKouw = name;
        o->m_strBZ = group;
        o->m_strJiaj = price;
        return o;
    };
    db->m_KwzfArray = {option("o1", "大杯", "规格", ""), option("o2", "加冰", "温度", "1.5"),
                       option("o3", "去冰", "温度", "")};
    auto drink = line(0, 2);
    drink->m_strCaipName = "柠檬&蜂蜜=特调?#1+1";
    drink->m_KouwArray = {"o2", "o1", "o2", "少糖"};
    drink->m_fPrice2 = 3;
    drink->m_fPrice3 = 1.5;
    auto plain = line(1, 0.5);
    plain->m_iState = 1;
    lines() = {drink, plain};
    showDesk();
    ASSERT_FALSE(list->bt_yuding->isHidden()) << "offered while an online order is filled";
    tap("提交订单");
    ASSERT_TRUE(pumpUntil([] { return NSHTTPServer::inFlight() == 0; }));
    loop().drain();

    auto logged = web.requests();
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0].page, "SubmitOrder");
    auto model = nlohmann::json::parse(logged[0].query.find("ordermodel")->second);
    ASSERT_TRUE(model.is_array());
    EXPECT_EQ(model[0]["OrderID"], "5002");
    auto cart = model[0]["cartlist"];
    ASSERT_EQ(cart.size(), 2u) << "sent and unsent lines alike";
    EXPECT_EQ(cart[0]["PName"], "柠檬&蜂蜜=特调?#1+1");
    EXPECT_EQ(cart[0]["PNum"], "2");
    EXPECT_EQ(cart[0]["addprice"], "4.5");
    EXPECT_EQ(cart[0]["Remark"], "少糖");
    EXPECT_EQ(cart[0]["material"], "规格?大杯^#温度?加冰^1.5?加冰^1.5");
    EXPECT_EQ(cart[0]["owername"], "");
    EXPECT_EQ(cart[1]["PNum"], "0.5");
    EXPECT_EQ(cart[1]["material"], "");
    EXPECT_EQ(cart[1]["addprice"], "0");

    EXPECT_EQ(alertMessage(), "提交成功");
    tap("确定");
    advance(1.0);
    EXPECT_FALSE(root->listViewController);
    EXPECT_TRUE(root->welcomeViewController);
}

TEST_F(Submit, NoAnswerKeepsTheListAndWithoutAnOrderTheModelHoldsOnlyTheCart) {
    lines() = {line(0)};
    const auto model = nlohmann::json::parse(UIDishLViewController::orderModel(std::nullopt));
    EXPECT_FALSE(model[0].contains("OrderID"));
    EXPECT_EQ(model[0]["cartlist"].size(), 1u);

    web.setFault("SubmitOrder", websim::Fault::Status);
    list->onSendToYuding();
    ASSERT_TRUE(pumpUntil([] { return NSHTTPServer::inFlight() == 0; }));
    loop().drain();
    EXPECT_EQ(panelText().value_or(""), "网络连接异常");
    advance(1.0);
    EXPECT_TRUE(root->listViewController);
}

}  // namespace
