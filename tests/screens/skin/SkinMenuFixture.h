#pragma once
// The skinned menu on the real root: layout files written into the skins folder as the skin
// update stores them, the welcome screen put into its skinned mode, and taps, swipes and reads
// of the forms through the window.

#include <string>
#include <vector>

#include "core/NSEncDec.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "platform/foundation/Text.h"
#include "platform/media/MoviePlayer.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "screens/kit/VirtualButton.h"
#include "screens/skin/NSScreen.h"
#include "screens/skin/SkinFixture.h"
#include "screens/skin/SkinLayout.h"
#include "screens/skin/VirtualCaipShow.h"
#include "screens/skin/VirtualForm.h"

class SkinMenuFixture : public SkinFixture {
protected:
    // Button k of a plain test form: a 100 x 60 box in rows of six from (20, 100).
    static ui::Rect buttonRect(int k) {
        return {20.0 + ((k - 1) % 6) * 120, 100.0 + ((k - 1) / 6) * 80, 100, 60};
    }
    static std::string rectText(const ui::Rect& r) {
        return platform::fmt("%g,%g,%g,%g", r.x(), r.y(), r.x() + r.width(), r.y() + r.height());
    }
    static std::string buttonsXml(const std::vector<std::string>& funcs) {
        std::string xml;
        for (size_t i = 0; i < funcs.size(); ++i) {
            const int k = static_cast<int>(i) + 1;
            xml += platform::fmt("<Button%i><Func>%@</Func><Rect>%@</Rect></Button%i>", k,
                                 platform::escapeXml(funcs[i]), rectText(buttonRect(k)), k);
        }
        return xml;
    }
    // Slot j of a category form: three columns, two rows from (20, 300).
    static ui::Rect slotPicture(int j) {
        return {20.0 + ((j - 1) % 3) * 250, 300.0 + ((j - 1) / 3) * 300, 160, 120};
    }
    static std::string slotsXml(int count) {
        std::string xml;
        for (int j = 1; j <= count; ++j) {
            const ui::Rect p = slotPicture(j);
            xml += platform::fmt("<CaipImage%i isShowBig=\"true\" rect=\"%@\"/>", j, rectText(p));
            xml += platform::fmt("<CaipName%i rect=\"%@\"/>", j, rectText({p.x(), p.y() + 130, 200, 30}));
            xml += platform::fmt("<CaipPrice%i rect=\"%@\"/>", j, rectText({p.x(), p.y() + 165, 200, 30}));
            xml += platform::fmt("<CaipQuickSel%i rect=\"%@\"/>", j, rectText({p.x(), p.y() + 200, 100, 50}));
        }
        return xml;
    }
    // The menu used by most tests, over the demo menu (热菜 000001: 11 dishes from 4001; 汤羹
    // 000002: 4 dishes from 9001): Form1 plain with the given buttons, Form2 the hot dishes in six
    // slots, Form3 the soups in three; both with the order list and a way home at the bottom.
    static std::string menuLayout(const std::vector<std::string>& mainButtons, const std::string& mainForm = "",
                                  const std::string& extra = "") {
        const std::string bottom =
            "<Button1><Func>CheckList</Func><Rect>20,900,220,980</Rect></Button1>"
            "<Button2><Func>Open(Form1)</Func><Rect>540,900,740,980</Rect></Button2>";
        return "<ZirevOvuZud><MainForm>" + mainForm + "</MainForm><FormCnt>3</FormCnt>" + extra +
               "<Form1>" + buttonsXml(mainButtons) + "</Form1>" +
               "<Form2 noState=\"1\"><CategoryId>000001</CategoryId>" + slotsXml(6) + bottom + "</Form2>" +
               "<Form3 noState=\"1\"><CategoryId>000002</CategoryId>" + slotsXml(3) + bottom + "</Form3>" +
               "</ZirevOvuZud>";
    }

    // A layout file enciphered as the skins folder keeps it.
    void writeLayout(const std::string& file, const std::string& xml) {
        platform::fs::createFolder(NSServer::getSkinsPath());
        ASSERT_TRUE(NSServer().stringDataWriteToFile(NSServer::getSkinsPath() + "/" + file,
                                                     std::string(skin::kLayoutKey), xml));
    }
    // Writes the main layout and lets the welcome screen put it on, as after a skin update.
    void putOn(const std::string& xml) {
        writeLayout(skin::kMainLayout, xml);
        if (!welcome()) root->backToWel();
        welcome()->startSkin();
        settle();
    }
    void startSkinned(const std::string& xml) {
        start();
        putOn(xml);
        ASSERT_TRUE(welcome()->hasXml()) << dump();
    }

    // A video file in the media folder (the player stands in for decoding: any bytes play).
    void addVideo(const std::string& name) {
        platform::fs::createFolder(NSServer::getMediaPath());
        platform::fs::writeAtomically(NSServer::getMediaPath() + "/" + name, "video");
    }

    VirtualForm& form() const { return *welcome()->nowForm(); }
    std::vector<std::string> slotNames() const {
        std::vector<std::string> names;
        for (auto& slot : form().virtualCaipShows) names.push_back(slot->caipName ? slot->caipName->text() : "?");
        return names;
    }
    // A release at the centre of a rectangle of the welcome screen's view.
    void tapRect(const ui::Rect& r) {
        ASSERT_TRUE(tapWelcomeAt(r.x() + r.width() / 2, r.y() + r.height() / 2)) << dump();
    }
    void tapButton(int k) { tapRect(buttonRect(k)); }
    void tapQuickSel(int slot) {
        auto& button = form().virtualCaipShows.at(static_cast<size_t>(slot))->caipQuickSel;
        ASSERT_TRUE(button);
        auto r = ui::tapView(*window, *button);
        ASSERT_TRUE(r.ok) << r.error;
        loop().drain();
    }
    // A finger put down at `from` and moved by `by` on the welcome screen (points of its view).
    void swipe(ui::Point from, ui::Point by) {
        auto at = [&](ui::Point p) { return welcome()->view()->convertPointTo(p, nullptr); };
        window->touchBegan(0, at(from));
        window->touchMoved(0, at({from.x + by.x, from.y + by.y}));
        window->touchEnded(0, at({from.x + by.x, from.y + by.y}));
        loop().drain();
    }

    NSDishList& lines() const { return NSServer::getNowDesk()->m_DishList; }
    std::shared_ptr<NSDishClass> line(const std::string& dishID, int state = NSDishClass::kUnsent) const {
        auto l = std::make_shared<NSDishClass>();
        l->CopyCaip(NSServer::getCaipDB()->GetCaipFromID(dishID));
        l->m_fQuantity = 1;
        l->m_iState = state;
        return l;
    }
};
