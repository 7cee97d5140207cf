#include <memory>

#include <gtest/gtest.h>

#include "UiFixture.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/Driver.h"
#include "platform/ui/NotificationCenter.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"

using namespace ui;

namespace {

class Controls : public uitest::ScreenTest {};

TEST_F(Controls, ButtonRunsTouchDownAndTouchUpInsideOnlyForATouchEndingInside) {
    auto b = add<Button>(Button::Type::RoundedRect, Rect{10, 10, 100, 40});
    std::vector<std::string> log;
    b->addTarget(ControlEvent::TouchDown, [&](Control&) { log.push_back("down"); });
    b->addTarget(ControlEvent::TouchUpInside, [&](Control&) { log.push_back("up-inside"); });
    b->addTarget(ControlEvent::TouchUpOutside, [&](Control&) { log.push_back("up-outside"); });
    window->touchBegan(0, {20, 20});
    EXPECT_TRUE(b->isHighlighted());
    window->touchEnded(0, {20, 20});
    EXPECT_FALSE(b->isHighlighted());
    window->touchBegan(0, {20, 20});
    window->touchMoved(0, {300, 300});
    EXPECT_FALSE(b->isHighlighted());
    window->touchEnded(0, {300, 300});
    b->setEnabled(false);
    window->tap({20, 20});
    EXPECT_EQ(log, (std::vector<std::string>{"down", "up-inside", "down", "up-outside"}));
}

TEST_F(Controls, ButtonFallsBackToTheNormalStateForTitlesColoursAndPictures) {
    Button b(Button::Type::Custom);
    auto normal = std::make_shared<Image>(2, 2, std::vector<std::uint8_t>(16, 255));
    auto pressed = std::make_shared<Image>(2, 2, std::vector<std::uint8_t>(16, 0));
    b.setTitle("OK");
    b.setTitleColor(Color::redColor());
    b.setBackgroundImage(normal);
    b.setBackgroundImage(pressed, ControlState::Highlighted);
    b.setTitle("Pressed", ControlState::Highlighted);
    EXPECT_EQ(b.currentTitle(), "OK");
    EXPECT_EQ(b.currentBackgroundImage(), normal);
    b.setHighlighted(true);
    EXPECT_EQ(b.currentTitle(), "Pressed");
    EXPECT_EQ(b.currentTitleColor(), Color::redColor());
    EXPECT_EQ(b.currentBackgroundImage(), pressed);
    b.setEnabled(false);  // disabled wins, and has nothing of its own
    EXPECT_EQ(b.currentTitle(), "OK");
    EXPECT_FALSE(b.titleForState(ControlState::Disabled).has_value());
}

TEST_F(Controls, AnActionMayCloseTheScreenThatHoldsTheButton) {
    auto screen = add<View>(Rect{0, 0, 200, 200});
    std::weak_ptr<View> weakScreen = screen;
    auto b = std::make_shared<Button>(Button::Type::Custom, Rect{0, 0, 50, 50});
    screen->addSubview(b);
    int after = 0;
    b->addTarget(ControlEvent::TouchUpInside, [&](Control&) { weakScreen.lock()->removeFromSuperview(); });
    b->addTarget(ControlEvent::TouchUpInside, [&](Control&) { ++after; });
    std::weak_ptr<View> weakButton = b;
    screen.reset();
    b.reset();
    window->tap({10, 10});
    EXPECT_EQ(after, 1);
    EXPECT_TRUE(weakScreen.expired());
    EXPECT_TRUE(weakButton.expired());
}

struct FieldLog : TextFieldDelegate {
    std::vector<std::string> log;
    bool allowBegin = true, allowChange = true;
    bool textFieldShouldBeginEditing(TextField&) override { log.push_back("should-begin"); return allowBegin; }
    void textFieldDidBeginEditing(TextField&) override { log.push_back("did-begin"); }
    void textFieldDidEndEditing(TextField& f) override { log.push_back("did-end " + f.text()); }
    bool shouldChangeCharacters(TextField&, std::size_t at, std::size_t len, const std::string& s) override {
        log.push_back("change " + std::to_string(at) + "+" + std::to_string(len) + " '" + s + "'");
        return allowChange;
    }
    bool textFieldShouldReturn(TextField& f) override {
        log.push_back("return");
        f.resignFirstResponder();
        return true;
    }
};

class TextFields : public uitest::ScreenTest {
protected:
    TextFields() {
        token = NotificationCenter::defaultCenter().addObserver(KeyboardWillShowNotification, nullptr,
                                                                [this](const Notification&) { keyboard.push_back("show"); });
        token2 = NotificationCenter::defaultCenter().addObserver(KeyboardWillHideNotification, nullptr,
                                                                 [this](const Notification&) { keyboard.push_back("hide"); });
        first->setDelegate(&d1);
        second->setDelegate(&d2);
    }
    ~TextFields() override {
        NotificationCenter::defaultCenter().removeObserver(token);
        NotificationCenter::defaultCenter().removeObserver(token2);
    }
    NotificationCenter::Token token, token2;
    std::vector<std::string> keyboard;
    FieldLog d1, d2;
    std::shared_ptr<TextField> first = add<TextField>(Rect{10, 10, 200, 31});
    std::shared_ptr<TextField> second = add<TextField>(Rect{10, 60, 200, 31});
};

TEST_F(TextFields, TapFocusesRaisesTheKeyboardOnceAndTypedTextArrivesThroughTheDelegate) {
    window->tap({20, 20});
    EXPECT_TRUE(first->isFirstResponder());
    EXPECT_TRUE(window->isKeyboardVisible());
    EXPECT_TRUE(typeText(*window, "ab"));
    EXPECT_TRUE(typeText(*window, "菜"));
    window->deleteBackward();
    EXPECT_EQ(first->text(), "ab");
    // Moving to the second field keeps the keyboard up: no hide and show in between.
    window->tap({20, 70});
    EXPECT_TRUE(second->isFirstResponder());
    EXPECT_EQ(keyboard, (std::vector<std::string>{"show"}));
    window->pressReturn();
    EXPECT_FALSE(window->isKeyboardVisible());
    EXPECT_EQ(keyboard, (std::vector<std::string>{"show", "hide"}));
    EXPECT_EQ(d1.log, (std::vector<std::string>{"should-begin", "did-begin", "change 0+0 'ab'", "change 2+0 '菜'",
                                                "change 2+1 ''", "did-end ab"}));
    EXPECT_EQ(d2.log, (std::vector<std::string>{"should-begin", "did-begin", "return", "did-end "}));
    EXPECT_FALSE(typeText(*window, "lost"));
}

TEST_F(TextFields, DelegateRefusalsAndLimitsHold) {
    d1.allowBegin = false;
    EXPECT_FALSE(first->becomeFirstResponder());
    EXPECT_FALSE(window->isKeyboardVisible());
    d1.allowBegin = true;
    ASSERT_TRUE(first->becomeFirstResponder());
    d1.allowChange = false;
    typeText(*window, "x");
    EXPECT_EQ(first->text(), "");
    d1.allowChange = true;
    first->setMaxLength(3);
    typeText(*window, "12");
    typeText(*window, "3456");
    EXPECT_EQ(first->text(), "123");
    // A character outside the basic plane counts two units and is never cut in half.
    first->setText("12");
    typeText(*window, "😀");
    EXPECT_EQ(first->text(), "12");
    first->setMaxLength(0);
    typeText(*window, "😀");
    window->deleteBackward();
    EXPECT_EQ(first->text(), "12");
}

TEST_F(TextFields, InputMethodTextIsShownWhileComposedAndDroppedWhenFocusGoes) {
    first->setSecureTextEntry(true);
    ASSERT_TRUE(first->becomeFirstResponder());
    typeText(*window, "pw");
    window->setMarkedText("ca");
    EXPECT_EQ(first->text(), "pw");
    EXPECT_EQ(first->displayText(), "\u2022\u2022ca");
    window->insertText("菜");  // the input method commits
    EXPECT_EQ(first->text(), "pw菜");
    EXPECT_EQ(first->markedText(), "");
    window->setMarkedText("d");
    // A field that leaves the window gives up the keyboard.
    first->removeFromSuperview();
    EXPECT_EQ(window->firstResponder(), nullptr);
    EXPECT_FALSE(window->isKeyboardVisible());
    EXPECT_EQ(first->markedText(), "");
}

// Fields and text views edit with the same code: what holds for one holds for the other.
TEST_F(Controls, TextFieldsAndTextViewsTypeOnlyWhatTheirKeyboardHas) {
    auto field = add<TextField>(Rect{10, 10, 200, 31});
    auto view = add<TextView>(Rect{10, 60, 200, 100});
    struct Case {
        KeyboardType keyboard;
        const char* typed;      // from the keyboard, piece by piece
        const char* composed;   // what an input method shows before it commits
        const char* committed;  // what it then commits
        const char* text;
        const char* marked;     // the composition as shown
    } cases[] = {
        {KeyboardType::NumberPad, "1a2.3", "yi", "一", "123", ""},
        {KeyboardType::NumberPad, "12 ", "4", "45", "1245", "4"},
        {KeyboardType::DecimalPad, "1a2.3", "yi", "一", "12.3", ""},
        {KeyboardType::DecimalPad, "-0,5", "", "..", "05..", ""},
        {KeyboardType::Default, "1a", "yi", "一", "1a一", "yi"},
    };
    for (TextEditor* editor : std::initializer_list<TextEditor*>{field.get(), view.get()}) {
        auto* asView = dynamic_cast<View*>(editor);
        for (auto& c : cases) {
            editor->setKeyboardType(c.keyboard);
            ASSERT_TRUE(asView->becomeFirstResponder());
            editor->setText("");
            for (const char* p = c.typed; *p; ++p) window->insertText(std::string(1, *p));
            window->setMarkedText(c.composed);
            EXPECT_EQ(editor->markedText(), c.marked) << asView->className() << " " << c.typed;
            window->insertText(c.committed);
            EXPECT_EQ(editor->text(), c.text) << asView->className() << " " << c.typed;
            EXPECT_EQ(editor->markedText(), "");
        }
        // The limit counts UTF-16 units and never cuts a character in half; backspace takes a
        // whole character.
        editor->setKeyboardType(KeyboardType::Default);
        editor->setMaxLength(3);
        editor->setText("12");
        window->insertText("😀");
        EXPECT_EQ(editor->text(), "12") << asView->className();
        editor->setMaxLength(0);
        window->insertText("😀");
        window->deleteBackward();
        EXPECT_EQ(editor->text(), "12") << asView->className();

        // Giving up the focus drops the composition and lowers the keyboard.
        window->setMarkedText("ab");
        EXPECT_TRUE(editor->isEditing());
        EXPECT_TRUE(asView->resignFirstResponder());
        EXPECT_FALSE(editor->isEditing()) << asView->className();
        EXPECT_EQ(editor->markedText(), "") << asView->className();
        EXPECT_FALSE(window->isKeyboardVisible()) << asView->className();
    }
}

struct AlertLog : AlertViewDelegate {
    std::vector<std::string> log;
    void willPresentAlertView(AlertView& a) override { log.push_back("present " + std::to_string(a.tag())); }
    void alertViewClickedButtonAtIndex(AlertView& a, int i) override {
        // A handler may block (an exchange) and have the screen drawn meanwhile: the answered
        // question is no longer on it.
        log.push_back("clicked " + std::to_string(i) + " " + a.buttonTitleAtIndex(i) + (a.isHidden() ? "" : " shown"));
    }
    void alertViewDidDismissWithButtonIndex(AlertView&, int i) override { log.push_back("dismissed " + std::to_string(i)); }
};

TEST_F(Controls, AlertAnswersByButtonIndexCoversTheScreenAndGoesAwayAfterwards) {
    auto under = add<Button>(Button::Type::RoundedRect, Rect{0, 0, 768, 1024});
    under->setTitle("under");
    AlertLog d;
    std::weak_ptr<AlertView> weak;
    {
        auto alert = std::make_shared<AlertView>("提示", "您需要下载演示数据么？", &d, "取消",
                                                 std::vector<std::string>{"确定", "稍后", "never shown"});
        alert->setTag(5);
        EXPECT_EQ(alert->numberOfButtons(), 3);
        EXPECT_EQ(alert->addButtonWithTitle("more"), -1);
        ASSERT_TRUE(alert->show());
        weak = alert;
    }
    auto blocked = tapTitle(*window, "under");
    EXPECT_FALSE(blocked.ok);
    EXPECT_NE(blocked.error.find("covered"), std::string::npos) << blocked.error;

    auto r = tapTitle(*window, "确定");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(d.log, (std::vector<std::string>{"present 5", "clicked 1 确定", "dismissed 1"}));
    EXPECT_TRUE(AlertView::visibleAlerts().empty());
    EXPECT_FALSE(weak.expired());  // released on the next turn, not inside its own handler
    home.loop().runOnce();
    EXPECT_TRUE(weak.expired());
    EXPECT_TRUE(tapTitle(*window, "under").ok);
}

TEST_F(Controls, AlertWithoutCancelNumbersItsButtonsFromZero) {
    AlertLog d;
    auto alert = std::make_shared<AlertView>("t", std::nullopt, &d, std::nullopt, std::vector<std::string>{"A", "B"});
    EXPECT_EQ(alert->cancelButtonIndex(), -1);
    EXPECT_EQ(alert->firstOtherButtonIndex(), 0);
    alert->show();
    ASSERT_TRUE(tapTitle(*window, "B").ok);
    EXPECT_EQ(d.log[1], "clicked 1 B");
}

TEST_F(Controls, AnAlertForgetsADelegateThatWentWhileItWasUp) {
    auto d = std::make_unique<AlertLog>();
    auto alert = std::make_shared<AlertView>("t", std::nullopt, d.get(), "取消");
    ASSERT_TRUE(alert->show());
    d.reset();  // a screen closed under its own alert
    EXPECT_EQ(alert->delegate(), nullptr);
    EXPECT_TRUE(tapTitle(*window, "取消").ok);
    EXPECT_TRUE(AlertView::visibleAlerts().empty());
}

struct SearchLog : SearchBarDelegate {
    std::vector<std::string> log;
    void searchBarTextDidChange(SearchBar&, const std::string& t) override { log.push_back("change " + t); }
    void searchBarSearchButtonClicked(SearchBar& s) override {
        log.push_back("search");
        s.resignFirstResponder();
    }
};

TEST_F(Controls, SearchBarReportsEveryChangeAndTheSearchKey) {
    auto bar = add<SearchBar>(Rect{0, 0, 300, 44});
    SearchLog d;
    bar->setDelegate(&d);
    EXPECT_STREQ(bar->subviews().front()->className(), "UISearchBarBackground");
    ASSERT_TRUE(bar->becomeFirstResponder());
    typeText(*window, "鱼");
    window->deleteBackward();
    window->pressReturn();
    bar->setText("汤");
    EXPECT_EQ(d.log, (std::vector<std::string>{"change 鱼", "change ", "search", "change 汤"}));
    EXPECT_FALSE(window->isKeyboardVisible());
}

}  // namespace
