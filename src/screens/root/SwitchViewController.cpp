#include "screens/root/SwitchViewController.h"

#include "core/NSServer.h"
#include "net/RootServices.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Text.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Window.h"
#include "screens/kit/ScreenKit.h"
#include "screens/root/HostServices.h"
#include "screens/root/UIMessageShowViewController.h"
#include "screens/root/UIWebSearchViewController.h"
#include "screens/skin/UISetViewController.h"
#include "screens/skin/UIWelcomeViewController.h"

namespace {

constexpr const char* kDemoMarker = "CSH.dat";
constexpr int kDemoQuestionTag = 6;

}  // namespace

SwitchViewController::SwitchViewController() : ScreenRoot("SwitchViewController") {}

SwitchViewController::~SwitchViewController() {
    // Alerts still up must not call back into a root that is gone.
    for (auto& alert : ui::AlertView::visibleAlerts())
        if (alert->delegate() == this) alert->setDelegate(nullptr);
}

std::shared_ptr<SwitchViewController> SwitchViewController::create() {
    auto root = std::make_shared<SwitchViewController>();
    NSServer::setRootController(root);
    ScreenRoot::setCurrentLookup([] { return std::shared_ptr<ScreenRoot>(NSServer::getRootController()); });
    setRootServices(std::make_shared<HostServices>(root));
    return root;
}

// ---- Start and life -------------------------------------------------------------------------------

void SwitchViewController::loadView() {
    auto view = std::make_shared<ui::View>(
        ui::Rect{0, 0, ui::Window::kScreenWidth, ui::Window::kScreenHeight - ui::Window::kStatusBarHeight});
    view->setBackgroundColor(kit::kPaper);
    view->setOpaque(true);
    setView(view);
}

void SwitchViewController::viewDidLoad() {
    // The application frame: the screen less the status bar. The window already places the
    // root's view below the status bar, so the screens start at its top.
    frameRect_ = {0, 0, ui::Window::kScreenWidth, ui::Window::kScreenHeight - ui::Window::kStatusBarHeight};
    NSServer::setRootController(std::static_pointer_cast<SwitchViewController>(shared_from_this()));
    NSServer().playSound("WELC");

    auto welcome = std::make_shared<UIWelcomeViewController>("UIWelcomeViewController", false);
    welcome->setRootController(this);
    welcomeViewController = welcome;
    welcome->view()->setFrame(frameRect_);
    view()->addSubview(welcome->view());

    ui::ViewController::viewDidLoad();
    after(0.1, [](SwitchViewController& root) { root.chooseSetDesk("1"); });
    // The offer is an alert over the window, which becomes key right after this view loaded.
    after(0, [](SwitchViewController& root) { root.downloadData1(false); });
}

void SwitchViewController::didReceiveMemoryWarning() { ui::ViewController::didReceiveMemoryWarning(); }

void SwitchViewController::viewDidUnload() {
    ui::ViewController::viewDidUnload();
    welcomeViewController = nullptr;
    webSearchViewController = nullptr;
}

void SwitchViewController::screenLetGo(std::shared_ptr<ui::ViewController> screen) {
    if (screen->isViewLoaded() && isViewLoaded() && screen->view()->superview() == view().get())
        screen->view()->removeFromSuperview();
    // A screen may be let go of from its own button's handler: it ends after that handler.
    platform::RunLoop::main().releaseLater(std::move(screen));
}

void SwitchViewController::addOnTop(ui::ViewController& screen, const ui::Rect& frame) {
    screen.view()->setFrame(frame);
    view()->addSubview(screen.view());
}

std::weak_ptr<SwitchViewController> SwitchViewController::weakSelf() {
    return std::static_pointer_cast<SwitchViewController>(shared_from_this());
}

void SwitchViewController::onMainThreadLater(std::function<void(SwitchViewController&)> work) {
    platform::RunLoop::main().post([weak = weakSelf(), work = std::move(work)] {
        if (auto root = weak.lock()) work(*root);
    });
}

void SwitchViewController::takeOffScreen(ui::ViewController* screen) {
    if (screen && screen->isViewLoaded()) screen->view()->removeFromSuperview();
}

void SwitchViewController::after(double seconds, std::function<void(SwitchViewController&)> work) {
    std::weak_ptr<SwitchViewController> weak = weakSelf();
    platform::Timer::schedule(platform::RunLoop::main(), seconds, false,
                              [weak, work = std::move(work)](platform::Timer&) {
                                  if (auto root = weak.lock()) work(*root);
                              });
}

// ---- Words and alerts -----------------------------------------------------------------------------

void SwitchViewController::showRootAlert(const std::string& text) {
    showAlertOrMessage(word("tishi"), text, word("onok"));
}

std::shared_ptr<ui::AlertView> SwitchViewController::askRoot(int tag, const std::string& title,
                                                             const std::string& message,
                                                             const std::string& button0,
                                                             const std::string& button1) {
    auto alert = std::make_shared<ui::AlertView>(title, message, this, button0,
                                                 std::vector<std::string>{button1});
    alert->setTag(tag);
    alert->show();
    return alert;
}

// ---- Transitions ----------------------------------------------------------------------------------

void SwitchViewController::animate(const std::string& name, double duration, const std::function<void()>& changes) {
    animateWithContext(name, duration, nullptr, changes);
}

void SwitchViewController::animateWithContext(const std::string& name, double duration, void* context,
                                              const std::function<void()>& changes) {
    std::weak_ptr<SwitchViewController> weak = weakSelf();
    ui::Animation::begin(name, context);
    ui::Animation::setDuration(duration);
    ui::Animation::setDidStop([weak](const std::optional<std::string>& finished, bool done, void* ctx) {
        if (auto root = weak.lock()) root->animationFinish(finished, done, ctx);
    });
    changes();
    ui::Animation::commit();
}

void SwitchViewController::fadeIn(ui::View& dialog, const ui::Rect& frame, const std::optional<std::string>& name) {
    dialog.setFrame(frame);
    dialog.setAlpha(0);
    view()->addSubview(dialog.shared_from_this());
    if (name) {
        animate(*name, 0.3, [&dialog] { dialog.setAlpha(1); });
        return;
    }
    ui::Animation::begin(std::nullopt);
    ui::Animation::setDuration(0.3);
    dialog.setAlpha(1);
    ui::Animation::commit();
}

void SwitchViewController::fadeOut(const std::string& name, ui::View& dialog) {
    animate(name, 0.3, [&dialog] { dialog.setAlpha(0); });
}

void SwitchViewController::animationFinish(const std::optional<std::string>& name, bool, void* context) {
    if (!name) return;
    const std::string& n = *name;
    if (n == "dishlistb") {
        listViewController = nullptr;
    } else if (n == "dishlist") {
    } else if (n == "searchCaip") {
        takeOffScreen(selectCaipViewController.controller());
    } else if (n == "loginback") {
        loginViewController = nullptr;
    } else if (n == "selectback") {
        selectViewController = nullptr;
    } else if (n == "numback") {
        numViewController = nullptr;
    } else if (n == "begin") {
    } else if (n == "showM2") {
        // Only the panel that faded out goes: a panel put up after an earlier fade began stays.
        if (messageViewController && reinterpret_cast<std::uintptr_t>(context) == messagePanelNumber_)
            messageViewController = nullptr;
    } else if (n == "showSetBack") {
        setViewController = nullptr;
    } else if (n == "showSet") {
    } else if (n == "bomcai") {
        takeOffScreen(caipViewController.controller());
    } else if (n == "bomcaiback") {
        taoCanViewController = nullptr;
    } else if (n == "bomaddcaipback") {
        bom_selectCaipViewController = nullptr;
    } else if (n == "showM") {
        after(3.0, [](SwitchViewController& root) { root.clearShow(); });
    } else if (n == "yudingback") {
        yudingViewController = nullptr;
    } else if (n == "bomsb") {
        selectBomViewController = nullptr;
        backToSelectCaip(false);
    } else if (n == "quickback") {
        quickCaipViewController = nullptr;
    }
}

// ---- Message panel --------------------------------------------------------------------------------

bool SwitchViewController::onMainThread() const { return std::this_thread::get_id() == mainThread_; }

void SwitchViewController::showAyncStyle(const std::string& text) {
    if (!onMainThread()) {
        // Views change on the main thread only; the text travels with its own call, so each
        // call shows its own text.
        onMainThreadLater([text](SwitchViewController& root) { root.show(text); });
        return;
    }
    show(text);
    // The caller may block in an exchange right after: the panel must reach the screen first.
    if (auto* window = view()->window()) window->displayNow();
}

void SwitchViewController::show(const std::string& text) {
    style_ = text;
    showMessage(text);
}

void SwitchViewController::showMessage(const std::string& text) {
    if (!messageViewController) {
        auto panel = std::make_shared<UIMessageShowViewController>();
        messageViewController = panel;
        ++messagePanelNumber_;
        panel->view()->setAlpha(0);
        panel->view()->setFrame(UIMessageShowViewController::kFrame);
        panel->showMessage(text);
        view()->addSubview(panel->view());
        animate("showM", 0.3, [&panel] { panel->view()->setAlpha(1); });
    }
    messageViewController->showMessage(text);
}

void SwitchViewController::clearShow() {
    auto panel = messageViewController.get();
    void* number = panel ? reinterpret_cast<void*>(messagePanelNumber_) : nullptr;
    animateWithContext("showM2", 0.3, number, [&panel] {
        if (panel) panel->view()->setAlpha(0);
    });
}

// ---- Wait logo ------------------------------------------------------------------------------------

void SwitchViewController::showWaitLogo() {
    if (!onMainThread()) {
        const unsigned generation = waitGeneration_.load();
        onMainThreadLater([generation](SwitchViewController& root) {
            // A release that came after this request and before this turn wins.
            if (root.waitGeneration_.load() == generation) root.showWait();
        });
        return;
    }
    showWait();
}

void SwitchViewController::showWait() {
    if (progressInd_) return;
    const ui::Rect r = frameRect_;
    auto logo = std::make_shared<ui::ActivityIndicatorView>(ui::ActivityIndicatorView::Style::WhiteLarge);
    logo->setFrame({(r.width() - 32) / 2, (r.height() - 32) / 2 - 30, 32, 32});
    progressInd_ = logo;
    view()->insertSubview(logo, 100);
    logo->startAnimating();
    // The caller blocks in an exchange right after: draw the logo now.
    if (auto* window = view()->window()) window->displayNow();
}

void SwitchViewController::releaseWaitLogo() {
    if (!onMainThread()) {
        ++waitGeneration_;
        onMainThreadLater([](SwitchViewController& root) { root.hideWaitLogoNow(); });
        return;
    }
    ++waitGeneration_;
    hideWaitLogoNow();
}

void SwitchViewController::hideWaitLogoNow() {
    if (!progressInd_) return;
    progressInd_->stopAnimating();
    progressInd_->removeFromSuperview();
    progressInd_.reset();
}

// ---- Settings screen ------------------------------------------------------------------------------

ui::View* SwitchViewController::screenBesideSettings() const {
    if (auto* welcome = welcomeViewController.controller()) return welcome->view().get();
    if (auto* home = functionViewController.controller()) return home->view().get();
    return nullptr;
}

void SwitchViewController::set() {
    const ui::Rect r = frameRect_;
    auto settings = std::make_shared<UISetViewController>();
    setViewController = settings;
    settings->setRootController(this);
    addOnTop(*settings, {r.width(), r.origin.y, r.width(), r.height()});
    ui::View* beside = screenBesideSettings();
    animate("showSet", 0.3, [&] {
        if (beside) beside->setFrame({-r.width(), r.origin.y, r.width(), r.height()});
        settings->view()->setFrame(r);
    });
}

void SwitchViewController::setBack() {
    const ui::Rect r = frameRect_;
    ui::View* settings = setViewController ? setViewController.controller()->view().get() : nullptr;
    ui::View* beside = screenBesideSettings();
    animate("showSetBack", 0.3, [&] {
        if (settings) settings->setFrame({r.width(), r.origin.y, r.width(), r.height()});
        if (beside) beside->setFrame(r);
    });
}

// ---- Demo data ------------------------------------------------------------------------------------

void SwitchViewController::downloadData() { downloadData1(true); }

void SwitchViewController::downloadData1(bool download) {
    const std::string marker = platform::fmt("%@/%@", NSServer::getDataPath(), kDemoMarker);
    if (!download) {
        if (platform::fs::exists(marker) || !NSServer::getIp().empty()) return;
        askRoot(kDemoQuestionTag, "提示", "您需要下载演示数据么？", "否", "是");
        return;
    }
    if (!NSServer().downloadCSH()) {
        askRoot(kDemoQuestionTag, "提示", "演示数据下载失败，是否续传？", "否", "是");
        return;
    }
    // The marker holds its own path; the encoding is UTF-8, the only one the hub knows.
    platform::fs::writeAtomically(marker, marker);
    takeOffScreen(welcomeViewController.controller());
    auto welcome = std::make_shared<UIWelcomeViewController>("UIWelcomeViewController", false);
    welcome->setRootController(this);
    welcomeViewController = welcome;
    view()->addSubview(welcome->view());
}

// ---- Web page screen ------------------------------------------------------------------------------

void SwitchViewController::showWebSearch() {
    auto page = std::make_shared<UIWebSearchViewController>();
    webSearchViewController = page;
    page->setRootController(this);
    view()->addSubview(page->view());
}

void SwitchViewController::WebSearchBack() { webSearchViewController = nullptr; }
