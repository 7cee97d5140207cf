#pragma once
// The order list open on the screen of a launched terminal, against the back-office simulator's
// restaurant: a waiter "0001" logged in and in waiter mode, the menu synchronised, and helpers to
// put lines on a desk, tap a row's buttons, work the list's picker and pad, and read a row as a
// waiter reads it.

#include <memory>
#include <string>
#include <vector>

#include "DialogFixture.h"
#include "GData/GDataXML.h"
#include "model/NSATreeClass.h"
#include "model/NSCaipClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "model/NSUserClass.h"
#include "platform/foundation/Text.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableViewCell.h"
#include "screens/kit/UINumViewController.h"
#include "screens/kit/UISelectViewController.h"
#include "screens/orderlist/UIDishLViewController.h"

class OrderListFixture : public DialogFixture {
protected:
    using Row = UIDishLViewController::RowButton;

    void SetUp() override {
        DialogFixture::SetUp();
        for (const char* kind : {"bmp", "png", "mpg"}) sim.removeFiles(kind);
        launch("127.0.0.1");
        advance(0.2);  // past the start-up fixed-desk check
        ASSERT_TRUE(NSServer().ayncCaip());
        NSServer::loadDesks(std::nullopt, false);
        auto tree = NSServer::getDesks();
        for (int row = 1; row < tree->m_length; ++row)
            if (!tree->m_code[row].empty()) floor.push_back(row);
        ASSERT_GE(floor.size(), 3u);
        waiter = std::make_shared<NSUserClass>();
        waiter->m_strUserID = waiter->m_strUserName = "0001";
        waiter->m_iDishCount = 40;
        openListAsWaiter();
    }
    // The waiter logged in, in waiter mode, with the order list open.
    void openListAsWaiter() {
        NSServer::setNowUser(waiter);
        NSServer::setIsWaiterUser(true);
        root->dishlist();
        settle();
        list = root->listViewController.get();
        ASSERT_TRUE(list);
    }

    // The id and name of the n-th desk of the floor.
    std::string deskID(std::size_t n) const { return NSServer::getDesks()->m_code[floor.at(n)]; }
    std::string deskName(std::size_t n) const { return NSServer::getDesks()->m_name[floor.at(n)]; }

    // The n-th desk of the floor opened on the server and made current, as the desk flow leaves it.
    std::shared_ptr<NSDeskClass> openDesk(std::size_t n = 0, int guests = 2) {
        auto desk = std::make_shared<NSDeskClass>();
        desk->m_strDeskID = deskID(n);
        desk->m_strDeskName = deskName(n);
        NSServer::setNowDesk(desk);
        desk->m_iClientNum = guests;
        EXPECT_TRUE(NSServer().OpenDesk(*desk));
        EXPECT_TRUE(NSServer().XDeskDetail(*desk));
        return desk;
    }

    const std::shared_ptr<NSCaipClass>& dish(std::size_t menuIndex) const {
        return NSServer::getCaipDB()->m_CaipArray.at(menuIndex);
    }
    // A new unsent line of that menu dish, as the line editor appends it.
    std::shared_ptr<NSDishClass> line(std::size_t menuIndex, float quantity = 1, bool chosen = false) {
        auto l = std::make_shared<NSDishClass>();
        l->CopyCaip(dish(menuIndex));
        l->m_fQuantity = quantity;
        l->m_struid = "-1";
        l->m_bisChoose = chosen;
        return l;
    }
    // A line with the cooking method "00001" chosen some times and a manual surcharge, as the line
    // editor leaves it: the surcharges are amounts for the whole line.
    struct Surcharged {
        std::size_t dish;  // menu index
        float quantity;
        int methodCount;
        float methodPrice;  // the method's surcharge for each count
        float manual;
    };
    std::shared_ptr<NSDishClass> surchargedLine(const Surcharged& s) {
        auto l = line(s.dish, s.quantity);
        if (s.methodCount > 0) {
            l->AddKouwID("00001");
            l->m_strZuofShul = platform::fmt("%i,", s.methodCount);
        }
        l->m_fPrice2 = s.methodPrice * static_cast<float>(s.methodCount);
        l->m_fPrice3 = s.manual;
        return l;
    }
    // Sends every unsent line of the current desk, as after a confirmation.
    bool sendAll() {
        list->setSendIndex(-1);
        return list->onSendCaip(std::string(UIDishLViewController::kNoLogin), -1);
    }
    void showDesk() {
        list->m_dishTable()->reloadData();
        loop().drain();
    }
    std::vector<std::shared_ptr<NSDishClass>>& lines() { return NSServer::getNowDesk()->m_DishList; }
    // The lines the desk's saved-order file holds now.
    std::vector<std::shared_ptr<NSDishClass>> savedLines(const std::string& deskID) {
        auto reread = std::make_shared<NSDeskClass>();
        reread->m_strDeskID = deskID;
        NSServer::loadSelectDish(reread);
        return reread->m_DishList;
    }

    // Whether a row shows that amount ("%g") in a column of its own.
    ::testing::AssertionResult rowShowsAmount(int row, float amount) {
        const std::string text = rowText(row);
        if (text.find("|" + platform::fmt("%g", amount) + "|") != std::string::npos)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "row " << row << " shows " << text << ", not " << amount;
    }
    // Taps a button of a row through the window.
    void tapRow(int row, Row which) {
        ui::Button* button = list->rowButton(row, which);
        ASSERT_TRUE(button) << "row " << row << " has no such button\n" << dump();
        auto r = ui::tapView(*window, *button);
        ASSERT_TRUE(r.ok) << r.error << "\n" << dump();
        loop().drain();
    }
    // The texts of a row's labels, left to right, joined by "|".
    std::string rowText(int row) {
        auto cell = list->m_dishTable()->cellForRow({0, row});
        if (!cell) return "(no cell)";
        std::vector<std::pair<double, std::string>> texts;
        for (auto& v : cell->contentView()->subviews())
            if (auto* label = dynamic_cast<ui::Label*>(v.get()); label && !label->text().empty())
                texts.emplace_back(label->frame().origin.x * 100 + label->frame().origin.y, label->text());
        std::sort(texts.begin(), texts.end());
        std::string out;
        for (auto& [x, t] : texts) out += (out.empty() ? "" : "|") + t;
        return out;
    }

    // Opens the function menu and presses one of its buttons.
    void menu(const std::string& title) {
        tap("功能");
        advance(0.3);
        tap(title);
        advance(0.3);
    }

    UISelectViewController& picker() {
        EXPECT_TRUE(list->selectViewController) << dump();
        return *list->selectViewController;
    }
    // Taps the slot of the list's picker that shows `name`, then (optionally) OK.
    void pick(const std::string& name, bool ok = true) {
        ASSERT_TRUE(list->selectViewController) << dump();
        advance(0.3);
        UISelectViewController& p = *list->selectViewController;
        bool found = false;
        for (auto& slot : p.m_bt)
            if (slot->ladel && slot->ladel->text().starts_with(name + "\r\n")) {
                tapButton(*p.m_panel, *slot);
                found = true;
                break;
            }
        ASSERT_TRUE(found) << "no slot shows " << name;
        if (ok) pickerOk();
    }
    void pickerOk() {
        ASSERT_TRUE(list->selectViewController) << dump();
        UISelectViewController& p = *list->selectViewController;
        tapButton(*p.m_panel, *p.m_btOK);
    }
    // Clears the list's number pad, types on it (digits and ".") and presses OK.
    void pad(const std::string& text) {
        ASSERT_TRUE(list->numViewController) << dump();
        advance(0.3);
        UINumViewController& p = *list->numViewController;
        VirtualButton* keys[] = {&p.m_btn00, &p.m_btn01, &p.m_btn02, &p.m_btn03, &p.m_btn04,
                                 &p.m_btn05, &p.m_btn06, &p.m_btn07, &p.m_btn08, &p.m_btn09};
        for (int i = 0; i < 20 && !p.m_strNum.empty(); ++i) tapButton(*p.m_panel, p.m_btnBS);
        for (char c : text) tapButton(*p.m_panel, c == '.' ? p.m_btdot : *keys[c - '0']);
        tapButton(*p.m_panel, p.m_btnOK);
    }

    // The server answers the next request of that command with an error reply.
    void refuseOnce(const std::string& command, const std::string& describe = "拒绝") {
        backoffice::Faults refuse;
        refuse.errorReply = describe;
        refuse.onlyCommand = command;
        refuse.times = 1;
        sim.setFaults(refuse);
    }
    // Answers every alert up with its cancel button.
    void closeAlerts() {
        for (auto& alert : alerts()) alert->dismissWithClickedButtonIndex(0, false);
        NSServer::setIsShowAlert(false);
    }
    // A set meal: its head and items as the set-meal screen appends them.
    std::vector<std::shared_ptr<NSDishClass>> setMeal(std::size_t headIndex, std::vector<std::size_t> items,
                                                      bool chosen = false) {
        std::vector<std::shared_ptr<NSDishClass>> group{line(headIndex, 1, chosen)};
        group[0]->m_bisSet = group[0]->m_bisExp = true;
        for (auto i : items) {
            group.push_back(line(i));
            group.back()->m_bisExp = true;
        }
        return group;
    }

    int requests(const std::string& command) const { return static_cast<int>(sim.requestsFor(command).size()); }
    // The `xiaofmx` rows of the last request of that command: quantity and dish id of each.
    std::vector<std::string> detailRows(const std::string& command) const {
        std::vector<std::string> rows;
        auto all = sim.requestsFor(command);
        if (all.empty()) return rows;
        auto data = all.back().data();
        auto detail = data ? data->elementsForName("detail") : std::nullopt;
        if (!detail || detail->empty()) return rows;
        auto items = detail->front()->elementsForName("xiaofmx");
        if (!items) return rows;
        for (auto& x : *items) {
            auto qty = x->elementsForName("qty");
            auto id = x->elementsForName("xiaofmxid");
            rows.push_back((qty ? qty->front()->stringValue().value_or("") : "") + "@" +
                           (id ? id->front()->stringValue().value_or("") : ""));
        }
        return rows;
    }

    std::vector<int> floor;  // desk rows of the desk tree
    std::shared_ptr<NSUserClass> waiter;
    std::shared_ptr<UIDishLViewController> list;
};
