#pragma once
// What every page of the online part shares: a screen of the palette framed to the root's screen
// rectangle with a title bar and its back button, the root held without ownership, alerts whose
// answers come back to one handler per alert, captioned text fields that move the page up while
// a low field is edited, and the asynchronous and blocking requests of the web-service client.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "online/NSHTTPServer.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"
#include "screens/kit/ScreenKit.h"

class ScreenRoot;
class NSCustomerClass;

class UIOnlinePage : public ui::ViewController, public ui::AlertViewDelegate, public ui::TextFieldDelegate {
public:
    UIOnlinePage(std::string nibName, std::string title);
    ~UIOnlinePage() override;

    // Kept without ownership. An answer may reach a page after the root has gone (at the end of a
    // run), so the page asks for it each time: null once it is gone.
    void setRootViewController(ScreenRoot* root);
    ScreenRoot* rootViewController() const { return root(); }
    ScreenRoot* root() const;

    void loadView() override;
    // The back button.
    virtual void onBack() = 0;

    // Fields below this line move the page up while they are edited, so the keyboard leaves them
    // in sight.
    static constexpr double kLowField = 200.0;
    static constexpr double kLift = 150.0;
    void textFieldDidBeginEditing(ui::TextField& field) override;
    void textFieldDidEndEditing(ui::TextField& field) override;
    bool textFieldShouldReturn(ui::TextField& field) override;

    void alertViewClickedButtonAtIndex(ui::AlertView& alert, int buttonIndex) override;

protected:
    // Builds the page's controls under the title bar (from y = kit::kBarHeight).
    virtual void buildContent(ui::View& view) = 0;

    // An alert whose button index goes to `answer` (nothing for a plain notice).
    std::shared_ptr<ui::AlertView> ask(std::optional<std::string> title, const std::string& message,
                                       const std::string& cancel, std::vector<std::string> others = {},
                                       std::function<void(int)> answer = nullptr);
    // The notice every page gives: "提示" / message / "确定".
    void tip(const std::string& message);
    // A text on the root's message panel.
    void showMessage(const std::string& text);
    // The online store's current customer (the empty one when there is no store).
    static const NSCustomerClass& customer();
    // The message of the answer to a change of the customer's account: the state 1 and 0 have
    // their own words, any other is shown as an error code, no answer as a network failure.
    // `state` gets the answer's state (-1 without an answer).
    static std::string changeMessage(const std::string& answer, const char* done, const char* refused, int& state);

    // A closure that runs `op` on this page while it lives (controls hold their pages weakly).
    template <class Self>
    std::function<void()> act(void (Self::*op)()) {
        std::weak_ptr<ui::ViewController> weak = weak_from_this();
        return [weak, op] {
            if (auto s = weak.lock()) (static_cast<Self&>(*s).*op)();
        };
    }
    // `work` on the main run loop's next turn, while the page lives.
    void later(std::function<void(UIOnlinePage&)> work);

    // An asynchronous text request answered to `op`; the page stays alive until the answer.
    template <class Self>
    void request(const std::string& url, void (Self::*op)(const std::string&), NSRequestTurn* turn = nullptr) {
        auto self = std::static_pointer_cast<Self>(shared_from_this());
        Self* raw = self.get();
        NSHTTPServer::getText(url, self, [raw, op](const std::string& answer, NSHTTPServer&) { (raw->*op)(answer); },
                              turn);
    }
    // A blocking text request: the main thread waits for the answer or the time-out, then `op`
    // has the answer on the run loop's next turn.
    template <class Self>
    void requestBlocking(const std::string& url, void (Self::*op)(const std::string&)) {
        auto self = std::static_pointer_cast<Self>(shared_from_this());
        Self* raw = self.get();
        auto r = NSHTTPServer::initWithAddress(url);
        r->setReceiveDelegate(self);
        r->setnetServerDidReceiveSelector([raw, op](const std::string& answer, NSHTTPServer&) { (raw->*op)(answer); });
        r->sendGetToServer(false);
    }

    // A caption and a text field on one line of a form at `y`; answers the field.
    std::shared_ptr<ui::TextField> formField(ui::View& view, double y, const std::string& caption,
                                             bool secure = false);
    // Lines of a form one under another from `y`, which is moved past them; answers the fields.
    struct FormLine {
        const char* caption;
        bool secure = false;
        ui::KeyboardType keyboard = ui::KeyboardType::Default;
    };
    static constexpr double kFormStep = kit::kTouch + 16;
    std::vector<std::shared_ptr<ui::TextField>> formFields(ui::View& view, double& y,
                                                           std::initializer_list<FormLine> lines);
    // The form's main button, centred across the page at `y`.
    std::shared_ptr<ui::Button> formButton(ui::View& view, double y, const std::string& title,
                                           std::function<void()> action);
    // A table of fixed-height rows at `frame` on the page's panel background, fed and answered
    // by the page; and the same table let go of them again (before the page or its view goes).
    static std::shared_ptr<ui::TableView> pageTable(ui::View& view, const ui::Rect& frame, double rowHeight,
                                                    ui::TableViewDataSource* source, ui::TableViewDelegate* delegate);
    static void detachTable(const std::shared_ptr<ui::TableView>& table);

    // The left edge and width of a form's lines on this page.
    double formLeft() const { return 40; }
    double formWidth() const;

    kit::TitleBar titleBar_;

private:
    ScreenRoot* rootViewController_ = nullptr;
    std::weak_ptr<ui::ViewController> rootWeak_;
    std::string title_;
    std::map<const ui::AlertView*, std::function<void(int)>> answers_;
};

// A page whose back button calls one operation of the root.
template <void (ScreenRoot::*Back)()>
class UIOnlineBackPage : public UIOnlinePage {
public:
    using UIOnlinePage::UIOnlinePage;
    void onBack() override;
};

#include "screens/kit/ScreenRoot.h"

template <void (ScreenRoot::*Back)()>
void UIOnlineBackPage<Back>::onBack() {
    if (auto* r = root()) (r->*Back)();
}
