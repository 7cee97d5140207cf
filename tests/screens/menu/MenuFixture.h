#pragma once
// The dish menu on the screens' fixture: the terminal started against the back-office simulator
// with a current desk "A1", a small menu of its own (or the demo menu the terminal starts with),
// and helpers to reach the tiles and the current desk's lines.

#include <memory>
#include <string>
#include <vector>

#include "ScreenFixture.h"
#include "model/NSATreeClass.h"
#include "model/NSCaipClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSCplbClass.h"
#include "model/NSCplbTreeClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "platform/render/UiHooks.h"
#include "screens/menu/NSCaipViewCell.h"
#include "screens/menu/UICaipViewController.h"
#include "screens/menu/UICplbViewController.h"
#include "screens/menu/UISelectCaipViewController.h"
#include "support/EventWait.h"

class MenuFixture : public ScreenFixture {
protected:
    void SetUp() override {
        ScreenFixture::SetUp();
        render::installUiHooks();  // the tiles' pictures are decoded as on the device
        launch("127.0.0.1");
        desk = std::make_shared<NSDeskClass>();
        desk->m_strDeskID = "A1";
        NSServer::setNowDesk(desk);
        advance(1);  // past the start's own timers
        sim.clearRecords();
    }

    std::shared_ptr<NSCaipDBClass> db() { return NSServer::getCaipDB(); }

    // A category node (top level unless put under another).
    static std::shared_ptr<NSCplbTreeClass> category(const std::string& id, const std::string& name) {
        auto node = std::make_shared<NSCplbTreeClass>();
        node->cplb = std::make_shared<NSCplbClass>();
        node->cplb->m_strUid = id;
        node->cplb->m_strCtname = name;
        return node;
    }
    // A dish of the menu, in the node's category.
    std::shared_ptr<NSCaipClass> addDish(const std::shared_ptr<NSCplbTreeClass>& node, const std::string& id,
                                         const std::string& name, const std::string& price = "10") {
        auto d = std::make_shared<NSCaipClass>();
        d->Clear();
        d->setM_strID(id);
        d->m_strName = name;
        d->m_strPrice = price;
        d->m_strDanw = "份";
        d->m_strCategory = node && node->cplb ? node->cplb->m_strUid : "";
        db()->m_CaipArray.push_back(d);
        if (node) node->caips.push_back(d);
        return d;
    }
    // A one-level menu of `counts[k]` dishes in category k ("C0", "C1", ...), dish ids "Dk-n".
    std::vector<std::shared_ptr<NSCplbTreeClass>> flatMenu(const std::vector<int>& counts) {
        db()->m_CaipArray.clear();
        db()->rootCplbTrees.clear();
        db()->isOneLevel = true;
        for (std::size_t k = 0; k < counts.size(); ++k) {
            auto node = category("C" + std::to_string(k), "类" + std::to_string(k));
            for (int n = 0; n < counts[k]; ++n)
                addDish(node, "D" + std::to_string(k) + "-" + std::to_string(n), "菜" + std::to_string(k) + "-" + std::to_string(n));
            db()->rootCplbTrees.push_back(node);
        }
        return db()->rootCplbTrees;
    }

    // Opens the dish menu as the welcome screen does and lets its transition end.
    UISelectCaipViewController& openMenu() {
        root->begin(std::nullopt);
        settle();
        return *root->selectCaipViewController;
    }
    UISelectCaipViewController& menu() { return *root->selectCaipViewController; }
    std::shared_ptr<NSCaipViewCell> tile(int index) { return menu().tileAt(index); }

    // Taps a view through the window's hit-testing.
    void tapOn(ui::View& view) {
        auto r = ui::tapView(*window, view);
        ASSERT_TRUE(r.ok) << r.error << "\n" << dump();
        loop().drain();
    }
    void select(int index) {
        auto t = tile(index);
        ASSERT_TRUE(t) << "no tile " << index;
        tapOn(*t->SelCaipB);
    }
    void minus(int index) {
        auto t = tile(index);
        ASSERT_TRUE(t) << "no tile " << index;
        tapOn(*t->cancelCaipB);
    }
    void answerAlert(const std::string& button) { tap(button); }

    NSDishList& lines() { return NSServer::getNowDesk()->m_DishList; }
    // The announcements heard since the last call.
    std::vector<std::string> heard(std::size_t expected) {
        loop().drain();
        sim.waitForAnnouncements(expected, testsupport::kEventWaitSeconds);
        std::vector<std::string> got;
        for (const auto& a : sim.announcements()) got.push_back(a.bytes);
        sim.clearRecords();
        return got;
    }

    std::shared_ptr<NSDeskClass> desk;
};
