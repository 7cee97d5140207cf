// The number pad driven by taps on its keys.

#include <map>

#include "platform/foundation/Sound.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Window.h"
#include "screens/kit/UINumViewController.h"
#include "screens/root/DialogFixture.h"

namespace {

class NumPad : public DialogFixture {
protected:
    std::shared_ptr<UINumViewController> open(const std::string& preset, bool canFuS, int tag = 760001,
                                              bool whole = false) {
        auto pad = std::make_shared<UINumViewController>();
        pad->m_strNum = preset;
        pad->canFuS = canFuS;
        pad->onlyWhole = whole;
        pad->upViewController = &owner;
        pad->m_tag = tag;
        host(pad);
        return pad;
    }
    // Keys by the character a test writes for them: digits, '.', 'B' backspace, 'C' clear, 'S' sign.
    void press(UINumViewController& pad, const std::string& keys) {
        const std::map<char, VirtualButton*> byChar = {
            {'0', &pad.m_btn00}, {'1', &pad.m_btn01}, {'2', &pad.m_btn02}, {'3', &pad.m_btn03},
            {'4', &pad.m_btn04}, {'5', &pad.m_btn05}, {'6', &pad.m_btn06}, {'7', &pad.m_btn07},
            {'8', &pad.m_btn08}, {'9', &pad.m_btn09}, {'.', &pad.m_btdot}, {'B', &pad.m_btnBS},
            {'C', &pad.m_btClear}, {'S', &pad.m_btnFuS}};
        for (char k : keys) tapButton(*pad.m_panel, *byChar.at(k));
    }
    RecordingOwner owner;
};

TEST_F(NumPad, EveryKeyIsInTheDumpAndATapByWhatItPrintsPressesIt) {
    auto pad = open("", true);
    const std::string tree = ui::dumpTree(*window);
    for (const char* face : {"1", "2", "3", "4", "5", "6", "7", "8", "9", "0", ".", "C", "±"})
        EXPECT_NE(tree.find("title=\"" + std::string(face) + "\""), std::string::npos) << face << "\n" << tree;
    for (const char* face : {"7", "0", ".", "5", "±", "C"}) {
        auto r = ui::tapTitle(*window, face);
        ASSERT_TRUE(r.ok) << face << ": " << r.error;
    }
    EXPECT_EQ(pad->m_strNum, "-70.");
}

TEST_F(NumPad, KeysEditTheTextAndTheFirstDigitReplacesThePreset) {
    struct Case { const char* preset; bool canFuS; const char* keys; const char* text; } cases[] = {
        {"2", false, "5", "5"},       // the preset is replaced
        {"2", false, "B5", "5"},      // backspace empties a one-character text, then 5 appends
        {"2", false, ".", "."},
        {"12", false, "B3", "13"},    // touched preset: the digit is appended
        {"12", false, "C", "1"},      // clear acts as backspace
        {"", false, "B", ""},
        {"1", false, "007", "007"},   // no checks of leading zeros
        {"1", false, "1.0.5", "1.05"},  // but one point at most
        {"1", false, "..", "."},
        {"5", true, "S", "-5"},
        {"-5", true, "S", "5"},
        {"0", true, "S", "0"},
        {"", true, "S", ""},
        {".", true, "S", "."},
        {"5", false, "S", "5"},       // no sign without canFuS
        {"3", true, "S7", "7"},       // the sign leaves the preset untouched
        {"2", false, "5B", ""},
    };
    for (const Case& c : cases) {
        auto pad = open(c.preset, c.canFuS);
        press(*pad, c.keys);
        EXPECT_EQ(pad->m_strNum, c.text) << c.preset << " + " << c.keys;
        EXPECT_EQ(pad->label->text(), c.text) << c.preset << " + " << c.keys;
        pad->view()->removeFromSuperview();
    }
    EXPECT_TRUE(owner.calls.empty());
}

TEST_F(NumPad, AWholeNumberPadOffersNoPointAndItsZeroTakesThePointsPlace) {
    launch("127.0.0.1");  // a keyboard's point is refused by the root's alert
    auto pad = open("3", false, 760001, true);
    expectWholeNumberPad(*pad);
    // The bottom row stays full: a finger where the point key stands on other pads types zero.
    tapAt(*pad->m_panel, {130, 301, 57, 45});
    ASSERT_TRUE(ui::tapTitle(*window, "0").ok);
    loop().drain();
    EXPECT_EQ(pad->m_strNum, "00");
    EXPECT_EQ(pad->label->text(), "00");
    EXPECT_TRUE(owner.calls.empty());
}

TEST_F(NumPad, OkRefusesATextThatIsNoNumberAndPassesTheRest) {
    launch("127.0.0.1");  // the refusal is told by the root's alert
    struct Case { const char* preset; const char* keys; bool passed; } cases[] = {
        {"2", ".", false},            // a lone point
        {"5", "SB", false},           // a lone sign
        {"", "3S.", true},            // -3.
        {"-.", "", false},
        {"", "", true},               // nothing typed: the owner answers it
        {"1.23457e+06", "", true},    // a large preset as "%g" writes it
        {"12abc", "", false},
        {"1e", "", false},
        {".5", "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.preset << " + " << c.keys);
        auto pad = open(c.preset, true);
        press(*pad, c.keys);
        owner.calls.clear();
        tapButton(*pad->m_panel, pad->m_btnOK);
        EXPECT_EQ(owner.calls.size(), c.passed ? 1u : 0u);
        EXPECT_EQ(alerts().empty(), c.passed);
        if (!c.passed) {
            EXPECT_EQ(alertMessage(), "退菜数量不正确");
            tap("确定");
            EXPECT_TRUE(pad->view()->superview()) << "the pad stays for another number";
        }
        pad->view()->removeFromSuperview();
    }
}

TEST_F(NumPad, OkAndCancelGoToTheOwnerAndLeaveTheTextAlone) {
    auto pad = open("", false);
    tapButton(*pad->m_panel, pad->m_btnOK);
    EXPECT_EQ(owner.calls, std::vector<std::string>{"NumDlgOk"});
    EXPECT_EQ(pad->m_strNum, "");

    pad->m_strNum = "8";
    tapButton(*pad->m_panel, pad->m_btnCancel);
    EXPECT_EQ(owner.calls.back(), "NumDlgCancel");
    EXPECT_EQ(pad->m_strNum, "8");
    // The pad stays up: closing it is the owner's business.
    EXPECT_TRUE(pad->view()->superview());
}

TEST_F(NumPad, AKeyboardTypesOnThePadWhenNoFieldHasTheFocus) {
    auto pad = open("12", false);
    for (const std::string key : {"4", ".", "5", ui::Window::kKeyBackspace, "7", "x"}) window->pressKey(key);
    EXPECT_EQ(pad->m_strNum, "4.7") << "the first digit replaces the preset; an unknown key does nothing";
    EXPECT_TRUE(window->pressKey(ui::Window::kKeyReturn));
    EXPECT_TRUE(window->pressKey(ui::Window::kKeyEscape));
    EXPECT_EQ(owner.calls, (std::vector<std::string>{"NumDlgOk", "NumDlgCancel"}));

    // An alert over the pad takes Return first: the pad beneath is out of reach.
    auto alert = std::make_shared<ui::AlertView>("提示", "人数不能为0", nullptr, "确定");
    ASSERT_TRUE(alert->show());
    EXPECT_TRUE(window->pressKey(ui::Window::kKeyReturn)) << "its only button answers";
    EXPECT_TRUE(ui::AlertView::visibleAlerts().empty());
    EXPECT_EQ(owner.calls.size(), 2u);
}

TEST_F(NumPad, TitleAndSoundComeWhenTheViewIsBuilt) {
    auto player = std::make_shared<platform::RecordingSoundPlayer>();
    platform::setSoundPlayer(player);
    platform::fs::createFolder(NSServer::getSkinsPath());
    platform::fs::writeAtomically(NSServer::getSkinsPath() + "/RENS.WAV", "RIFF");

    auto lost = std::make_shared<UINumViewController>();
    lost->setTitle("before the view");  // no title line yet: the text is lost
    lost->m_tag = 760003;
    host(lost);
    EXPECT_EQ(lost->l_title->text(), "");
    EXPECT_TRUE(player->played.empty());

    auto guests = std::make_shared<UINumViewController>();
    guests->s_title = "请输入A1的就餐人数";
    guests->m_tag = 760004;
    host(guests);
    EXPECT_EQ(guests->l_title->text(), "请输入A1的就餐人数");
    ASSERT_EQ(player->played.size(), 1u);
    EXPECT_NE(player->played[0].find("RENS"), std::string::npos);
    platform::setSoundPlayer(nullptr);
}

}  // namespace
