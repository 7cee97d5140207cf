#pragma once
// The line editors as a waiter meets them: the terminal launched on a desk of its own, the demo
// menu with a few dishes added that carry what the editors handle (cooking methods with their
// surcharge entries, a method sold as a dish of its own, tastes, extra units, a custom dish, set
// meals with choice groups), and taps on the pads' and pickers' keys.

#include <map>
#include <memory>
#include <string>

#include "../root/ScreenFixture.h"
#include "model/NSATreeClass.h"
#include "model/NSCaipClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "model/NSKouwClass.h"
#include "screens/kit/UINumViewController.h"
#include "screens/kit/UISelectViewController.h"

class LineEditFixture : public ScreenFixture {
protected:
    void SetUp() override {
        ScreenFixture::SetUp();
        launch("127.0.0.1");
        window->makeKeyAndVisible();
        db = NSServer::getCaipDB();
        db->m_kouws->RemoveAll();
        addTaste("T1", "少辣");
        addTaste("T2", "多辣");
        addTaste("T3", "少盐");
        addMethod("M1", "清蒸");
        addMethod("M2", "红烧");
        addMethod("M3", "加蛋");  // also a dish of its own (E1)
        addMethod("M4", "葱油");
        // Entries: "5;1" marks with quantity 1, "3;0" asks the quantity, ";0" is its own flag.
        addDish("F1", "鲈鱼", "38", "例", "M1,M2,M4,", "5;1,3;0,;0");
        addDish("F2", "牛排", "90", "份", "M1,M2,M3,", "5;1,2;1,0;1").m_iMultizuof = 0;
        dish("F2").m_iMustzuof = 8;
        addDish("E1", "加蛋", "8", "份");
        addDish("B1", "啤酒", "10", "瓶");
        addUnit("B1", "箱", "100");
        addUnit("B1", "扎", "");
        addDish("C1", "自定义菜", "0", "份").m_bCustom = true;
        addDish("P1", "时价海鲜", "0", "斤").m_iPrice = 1;
        desk = std::make_shared<NSDeskClass>();
        desk->m_strDeskID = "A1";
        desk->m_strDeskName = "一号桌";
        NSServer::setNowDesk(desk);
        advance(1);
    }

    NSCaipClass& addDish(const std::string& id, const std::string& name, const std::string& price,
                         const std::string& unit, const std::string& methods = "", const std::string& surcharges = "") {
        auto d = std::make_shared<NSCaipClass>();
        d->Clear();
        d->setM_strID(id);
        d->m_strName = name;
        d->m_strPrice = price;
        d->m_strDanw = unit;
        d->m_strZuofID = methods;
        d->m_strZfjiag = surcharges;
        d->m_iPrice = 0;
        db->m_CaipArray.push_back(d);
        return *d;
    }
    NSCaipClass& dish(const std::string& id) { return *db->GetCaipFromID(id); }
    void addTaste(const std::string& id, const std::string& name) {
        db->m_kouws->AddItem(id, name, "");
        addKouw(id, name, false);
    }
    void addMethod(const std::string& id, const std::string& name) { addKouw(id, name, true); }
    void addKouw(const std::string& id, const std::string& name, bool method) {
        auto k = std::make_shared<NSKouwClass>();
        k->m_strKouwid = id;
        k->m_strKouw = name;
        k->m_bZuof = method;
        db->m_KwzfArray.push_back(k);
    }
    void addUnit(const std::string& id, const std::string& name, const std::string& price) {
        db->m_Units->AddItem(id, name, price);
    }

    // A fresh line of quantity 1 from a menu dish, as the dish menu makes it.
    std::shared_ptr<NSDishClass> newLine(const std::string& id) {
        auto line = std::make_shared<NSDishClass>();
        line->CopyCaip(db->GetCaipFromID(id));
        line->m_fQuantity = 1;
        return line;
    }

    // Taps the view as a finger would; the test fails when the tap cannot reach it.
    void tapView(ui::View& v) {
        auto r = ui::tapView(*window, v);
        ASSERT_TRUE(r.ok) << r.error << "\n" << dump();
        loop().drain();
    }
    // Taps the front-most control titled `title` inside `within`.
    void tapIn(ui::View& within, const std::string& title) {
        auto found = ui::findViewsWithTitle(within, title);
        ASSERT_FALSE(found.empty()) << "no \"" << title << "\" in\n" << ui::dumpTree(within);
        tapView(*found.front());
    }
    void tapPoint(ui::View& panel, const ui::Rect& rect) {
        auto r = ui::tapAt(*window, panel.convertPointTo(rect.center(), nullptr));
        ASSERT_TRUE(r.ok) << r.error << "\n" << dump();
        loop().drain();
    }
    // Types on a pad's keys (digits, '.', 'B' backspace, 'S' sign), then OK unless told not to.
    void padType(UINumViewController& pad, const std::string& keys, bool ok = true) {
        const std::map<char, VirtualButton*> byChar = {
            {'0', &pad.m_btn00}, {'1', &pad.m_btn01}, {'2', &pad.m_btn02}, {'3', &pad.m_btn03},
            {'4', &pad.m_btn04}, {'5', &pad.m_btn05}, {'6', &pad.m_btn06}, {'7', &pad.m_btn07},
            {'8', &pad.m_btn08}, {'9', &pad.m_btn09}, {'.', &pad.m_btdot}, {'B', &pad.m_btnBS},
            {'S', &pad.m_btnFuS}};
        for (char k : keys) tapPoint(*pad.m_panel, byChar.at(k)->location);
        if (ok) tapPoint(*pad.m_panel, pad.m_btnOK.location);
    }
    void padCancel(UINumViewController& pad) { tapPoint(*pad.m_panel, pad.m_btnCancel.location); }
    // Taps slot k (from 0) of a picker's page, then, when asked, its OK.
    void pickSlot(UISelectViewController& picker, int k) { tapPoint(*picker.m_panel, picker.m_bt[k]->location); }
    void pickerOk(UISelectViewController& picker) { tapPoint(*picker.m_panel, picker.m_btOK->location); }
    // Lets the picker fade in, taps its slots and OK, and lets it fade out.
    void choose(std::shared_ptr<UISelectViewController> picker, std::initializer_list<int> slots) {
        ASSERT_TRUE(picker);
        advance(0.3);
        for (int k : slots) pickSlot(*picker, k);
        pickerOk(*picker);
        advance(0.3);
    }

    std::shared_ptr<NSCaipDBClass> db;
    std::shared_ptr<NSDeskClass> desk;
};
