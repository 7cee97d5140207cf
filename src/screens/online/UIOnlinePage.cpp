#include "screens/online/UIOnlinePage.h"

#include <nlohmann/json.hpp>

#include "core/NSServer.h"
#include "online/NSJsonResolver.h"
#include "online/NSShopDBClass.h"
#include "platform/foundation/Text.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/Window.h"
#include "screens/kit/ScreenRoot.h"

UIOnlinePage::UIOnlinePage(std::string nibName, std::string title)
    : ui::ViewController(std::move(nibName)), title_(std::move(title)) {}

void UIOnlinePage::setRootViewController(ScreenRoot* root) {
    rootViewController_ = root;
    rootWeak_ = root ? root->weak_from_this() : std::weak_ptr<ui::ViewController>();
}

ScreenRoot* UIOnlinePage::root() const { return rootWeak_.expired() ? nullptr : rootViewController_; }

UIOnlinePage::~UIOnlinePage() {
    // An alert still up must not answer a page that is gone.
    for (auto& alert : ui::AlertView::visibleAlerts())
        if (alert->delegate() == this) alert->setDelegate(nullptr);
}

void UIOnlinePage::loadView() {
    ui::Rect frame{0, 0, ui::Window::kScreenWidth, ui::Window::kScreenHeight - ui::Window::kStatusBarHeight};
    if (auto* r = root()) frame = r->frameRect();
    setView(kit::screenView(frame));
    titleBar_ = kit::titleBar(*view(), frame.width(), title_, act(&UIOnlinePage::onBack));
    buildContent(*view());
}

std::shared_ptr<ui::TableView> UIOnlinePage::pageTable(ui::View& view, const ui::Rect& frame, double rowHeight,
                                                      ui::TableViewDataSource* source,
                                                      ui::TableViewDelegate* delegate) {
    auto table = std::make_shared<ui::TableView>(frame);
    table->setBackgroundColor(kit::kPanel);
    table->setRowHeight(rowHeight);
    table->setDataSource(source);
    table->setTableDelegate(delegate);
    view.addSubview(table);
    return table;
}

void UIOnlinePage::detachTable(const std::shared_ptr<ui::TableView>& table) {
    if (!table) return;
    table->setDataSource(nullptr);
    table->setTableDelegate(nullptr);
}

double UIOnlinePage::formWidth() const {
    const double w = isViewLoaded() ? const_cast<UIOnlinePage*>(this)->view()->bounds().width() : 768;
    return w - 2 * formLeft();
}

std::shared_ptr<ui::TextField> UIOnlinePage::formField(ui::View& view, double y, const std::string& caption,
                                                       bool secure) {
    kit::label(view, {formLeft(), y, 160, kit::kTouch}, caption);
    auto field = std::make_shared<ui::TextField>(ui::Rect{formLeft() + 170, y, formWidth() - 170, kit::kTouch});
    field->setBorderStyle(ui::TextField::BorderStyle::RoundedRect);
    field->setBackgroundColor(kit::kPanel);
    field->setFont(kit::bodyFont());
    field->setSecureTextEntry(secure);
    field->setPlaceholder(caption);
    field->setDelegate(this);
    view.addSubview(field);
    return field;
}

std::vector<std::shared_ptr<ui::TextField>> UIOnlinePage::formFields(ui::View& view, double& y,
                                                                     std::initializer_list<FormLine> lines) {
    std::vector<std::shared_ptr<ui::TextField>> fields;
    for (const FormLine& line : lines) {
        fields.push_back(formField(view, y, line.caption, line.secure));
        fields.back()->setKeyboardType(line.keyboard);
        y += kFormStep;
    }
    return fields;
}

std::shared_ptr<ui::Button> UIOnlinePage::formButton(ui::View& view, double y, const std::string& title,
                                                     std::function<void()> action) {
    const double w = view.bounds().width();
    return kit::button(view, {(w - 240) / 2, y, 240, 56}, title, std::move(action), kit::ButtonKind::Primary);
}

void UIOnlinePage::textFieldDidBeginEditing(ui::TextField& field) {
    // A low field rises above the on-screen keyboard; a hardware keyboard covers nothing.
    if (field.frame().y() <= kLowField || !isViewLoaded() || !ui::Window::keyboardCoversScreen(field)) return;
    auto& v = *view();
    const ui::Rect home = root() ? root()->frameRect() : v.frame();
    if (v.frame().y() == home.y()) v.setFrame({home.x(), home.y() - kLift, v.frame().width(), v.frame().height()});
}

void UIOnlinePage::textFieldDidEndEditing(ui::TextField& field) {
    if (field.frame().y() <= kLowField || !isViewLoaded()) return;
    auto& v = *view();
    const ui::Rect home = root() ? root()->frameRect() : v.frame();
    if (v.frame().y() != home.y()) v.setFrame({home.x(), home.y(), v.frame().width(), v.frame().height()});
}

bool UIOnlinePage::textFieldShouldReturn(ui::TextField& field) {
    field.resignFirstResponder();
    return true;
}

std::shared_ptr<ui::AlertView> UIOnlinePage::ask(std::optional<std::string> title, const std::string& message,
                                                 const std::string& cancel, std::vector<std::string> others,
                                                 std::function<void(int)> answer) {
    auto alert = std::make_shared<ui::AlertView>(std::move(title), message, this, cancel, std::move(others));
    if (answer) answers_[alert.get()] = std::move(answer);
    alert->show();
    return alert;
}

void UIOnlinePage::tip(const std::string& message) { ask("提示", message, "确定"); }

void UIOnlinePage::alertViewClickedButtonAtIndex(ui::AlertView& alert, int buttonIndex) {
    auto it = answers_.find(&alert);
    if (it == answers_.end()) return;
    auto answer = std::move(it->second);
    answers_.erase(it);
    answer(buttonIndex);
}

void UIOnlinePage::showMessage(const std::string& text) {
    if (auto* r = root()) r->showMessage(text);
}

void UIOnlinePage::later(std::function<void(UIOnlinePage&)> work) {
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    platform::RunLoop::main().post([weak, work = std::move(work)] {
        if (auto s = weak.lock()) work(static_cast<UIOnlinePage&>(*s));
    });
}

const NSCustomerClass& UIOnlinePage::customer() {
    static const NSCustomerClass none;
    auto store = NSServer::getShopDB();
    return store && store->m_nowuser ? *store->m_nowuser : none;
}

std::string UIOnlinePage::changeMessage(const std::string& answer, const char* done, const char* refused, int& state) {
    state = -1;
    if (answer.empty()) return "网络连接异常";
    NSJsonResolver resolver;
    const auto json = resolver.resolveJson(answer).value_or(nlohmann::json());
    state = json_read::integer(json, "state");
    if (state == 1) return done;
    if (state == 0) return refused;
    return platform::fmt("失败，错误代码[%@]", json_read::text(json, "state"));
}
