// The welcome screen's skinned menu: loading the screen-layout files into forms, the page swipe,
// and the skin videos.

#include "screens/skin/UIWelcomeViewController.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "GData/GDataXML.h"
#include "core/NSServer.h"
#include "model/NSCaipDBClass.h"
#include "model/NSCplbTreeClass.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Text.h"
#include "platform/media/MoviePlayer.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/NotificationCenter.h"
#include "screens/kit/ScreenRoot.h"
#include "screens/kit/VirtualButton.h"
#include "screens/skin/NSScreen.h"
#include "screens/skin/SkinLayout.h"
#include "screens/skin/VirtualCaipShow.h"
#include "screens/skin/VirtualForm.h"

namespace {

// Swipe thresholds in points.
constexpr double kSwipeAcross = 25;
constexpr double kSwipeUpMost = 20;
constexpr double kCurlSeconds = 0.5;
// A video may start again this long after the last one stopped.
constexpr double kReplayPause = 5.0;
constexpr const char* kPageCurl = "showForm";
constexpr const char* kPageSound = "TURNPAGE";
// The layout file held no form to show.
constexpr const char* kUnreadableSkinWord = "skin1";

using ElementPtr = std::shared_ptr<GDataXMLElement>;

std::string text(const ElementPtr& element) {
    if (!element) return "";
    return element->stringValue().value_or("");
}

// The file deciphered, cut after the closing root tag, parsed; none when it does not parse.
ElementPtr layoutRoot(const std::string& path, std::shared_ptr<GDataXMLDocument>& document) {
    std::string xml = NSServer().stringDataReadFromFile(path, std::string(skin::kLayoutKey));
    if (auto end = xml.find(skin::kRootClose); end != std::string::npos)
        xml.resize(end + std::char_traits<char>::length(skin::kRootClose));
    if (xml.empty() || !platform::isValidUTF8(xml)) return nullptr;
    document = GDataXMLDocument::initWithDataOptionsError(xml, 0, nullptr);
    return document ? document->rootElement() : nullptr;
}

// The first direct child element of each name, gathered in one pass. The numbered elements of a
// layout file are looked up through it, so reading a file costs what the file holds: never the
// numbers it claims (FormCnt), nor a search of all children per number.
using Children = std::unordered_map<std::string, ElementPtr>;

Children childElements(const ElementPtr& element) {
    Children children;
    if (!element) return children;
    for (const auto& node : element->children())
        if (node->isElement()) children.try_emplace(node->name(), std::static_pointer_cast<GDataXMLElement>(node));
    return children;
}

ElementPtr child(const Children& children, const std::string& name) {
    auto it = children.find(name);
    return it == children.end() ? nullptr : it->second;
}

std::shared_ptr<VirtualCaipShow> readSlot(const Children& form, int j, VirtualForm& owner) {
    auto image = child(form, platform::fmt("CaipImage%i", j));
    auto name = child(form, platform::fmt("CaipName%i", j));
    auto price = child(form, platform::fmt("CaipPrice%i", j));
    auto quick = child(form, platform::fmt("CaipQuickSel%i", j));
    if (!image && !name && !price && !quick) return nullptr;
    auto slot = std::make_shared<VirtualCaipShow>();
    slot->supForm = &owner;
    if (image) {
        slot->isShowBig = skin::boolFromText(attributeText(image, "isShowBig"));
        slot->locationI = skin::rectFromText(attributeText(image, "rect"));
    }
    if (name) slot->locationN = skin::rectFromText(attributeText(name, "rect"));
    if (price) slot->locationP = skin::rectFromText(attributeText(price, "rect"));
    if (quick) {
        slot->quickSelSkinPath = attributeText(quick, "skins");
        slot->locationS = skin::rectFromText(attributeText(quick, "rect"));
    }
    return slot;
}

std::shared_ptr<VirtualButton> readButton(const ElementPtr& element) {
    auto button = std::make_shared<VirtualButton>();
    button->isResImage = false;
    button->upImageView = elementText(element, "Skin");
    button->downImageView = elementText(element, "SkinF");
    button->func = elementText(element, "Func");
    button->location = skin::rectFromText(elementText(element, "Rect"));
    return button;
}

}  // namespace

// ---- Loading ------------------------------------------------------------------------------------

bool UIWelcomeViewController::RelsolveXmlToForm() {
    NSServer::setMustHeng(false);
    NSServer::setMustShu(false);
    if (!getFormXmlWithName(skin::kMainLayout, forms_)) return false;
    if (!getFormXmlWithName(skin::kSecondLayout, forms2_) && !NSServer::isMustHeng()) NSServer::setMustShu(true);
    return true;
}

bool UIWelcomeViewController::getFormXmlWithName(const std::string& fileName, FormMap& forms) {
    const std::string path = platform::fmt("%@/%@", NSServer::getSkinsPath(), fileName);
    if (!platform::fs::exists(path)) return false;
    std::shared_ptr<GDataXMLDocument> document;
    ElementPtr root = layoutRoot(path, document);
    const std::string mainForm = elementText(root, "MainForm");

    if (fileName == skin::kMainLayout) {
        if (elementText(root, "ScreenWidth") == "1024") NSServer::setMustHeng(true);
        auto saver = std::make_shared<NSScreen>();
        saver->welcomeViewController = std::static_pointer_cast<UIWelcomeViewController>(shared_from_this());
        auto savers = firstElement(root, "Screensavers");
        saver->time = platform::leadingDouble(elementText(savers, "Time")) / 1000.0;
        saver->func = elementText(savers, "Func");
        if (screen_) screen_->screenOver();
        screen_ = saver;
        if (auto company = firstElement(root, "CompID")) NSServer::setJtNO(text(company));
    }

    // Forms 1 to FormCnt, a missing number skipped: the forms the file holds within that count,
    // in number order.
    const int count = platform::leadingInt(elementText(root, "FormCnt"));
    std::map<int, ElementPtr> numbered;
    for (const auto& [name, element] : childElements(root))
        if (auto n = skin::numberedName(name, "Form"); n && *n <= count) numbered.emplace(*n, element);
    auto categories = NSServer::getCaipDB();
    for (const auto& [n, element] : numbered) {
        const std::string name = platform::fmt("Form%i", n);
        const Children parts = childElements(element);
        auto form = std::make_shared<VirtualForm>();
        form->noState = (platform::leadingInt(attributeText(element, "noState")) & 0xFF) != 0;
        if (n == 1 && mainForm.empty()) nowForm_ = form;
        form->formName = name;
        form->imageView = elementText(element, "Skin");
        if (form->noState) {
            form->useCplbTree = categories ? NSCplbTreeClass::getCplbTreeFromCplbTrees(
                                                 elementText(element, "CategoryId"), categories->rootCplbTrees)
                                           : nullptr;
            if (!form->useCplbTree) form->noState = false;
        }
        if (form->noState) {
            for (int j = 1;; ++j) {
                auto slot = readSlot(parts, j, *form);
                if (!slot) break;
                form->addCaipShow(std::move(slot));
            }
            // Without slots there is nothing to page through: the buttons still work.
            if (form->virtualCaipShows.empty()) form->noState = false;
        }
        for (int k = 1;; ++k) {
            auto button = child(parts, platform::fmt("Button%i", k));
            if (!button) break;
            form->addButton(readButton(button));
        }
        forms[name] = form;
        if (mainForm == name) nowForm_ = form;
    }
    if (const std::string& remembered = NSServer::getWelShowFormName(); !remembered.empty())
        if (auto it = forms_.find(remembered); it != forms_.end()) nowForm_ = it->second;
    return true;
}

void UIWelcomeViewController::startSkin() {
    const bool present = platform::fs::exists(platform::fmt("%@/%@", NSServer::getSkinsPath(), skin::kMainLayout));
    const bool wasSkinned = hasXml_;
    // A reload replaces whatever skin was on the screen.
    if (nowForm_ && view()) nowForm_->unShowForm(*this);
    if (screen_) screen_->screenOver();
    forms_.clear();
    forms2_.clear();
    nowForm_.reset();
    screen_.reset();
    hasXml_ = false;
    if (present && RelsolveXmlToForm() && nowForm_) hasXml_ = true;
    showPlainControls(!hasXml_);
    if (!hasXml_) {
        // The skin took the package's pictures off the screen.
        if (wasSkinned) showInterface();
        if (present && rootController_) rootController_->showMessage(ScreenRoot::word(kUnreadableSkinWord));
        return;
    }
    nowForm_->showForm(*this);
    nowForm_->flashCaip(*this);
    screen_->screenBegin();
}

bool UIWelcomeViewController::isShownInFront() {
    if (!isViewLoaded() || !view()->window()) return false;
    // From this screen's view up to the window, each view must be the last one shown in its
    // holder: the root adds screens, panels and pads over it, the window its alerts.
    for (const ui::View* v = view().get(); v->superview(); v = v->superview()) {
        if (v->isHidden()) return false;
        const auto& siblings = v->superview()->subviews();
        auto it = std::find_if(siblings.begin(), siblings.end(), [v](const auto& s) { return s.get() == v; });
        if (std::any_of(std::next(it), siblings.end(), [](const auto& s) { return !s->isHidden(); })) return false;
    }
    return true;
}

void UIWelcomeViewController::restartScreenSaver() {
    if (!screen_ || !screen_->isRunning()) return;
    screen_->screenOver();
    screen_->screenBegin();
}

void UIWelcomeViewController::showPlainControls(bool shown) {
    // The online entry is not the plain screen's: it shows under a skin too.
    for (std::shared_ptr<ui::View> control :
         {std::shared_ptr<ui::View>(toolBar_), std::shared_ptr<ui::View>(bt_set_), std::shared_ptr<ui::View>(bt_begin_)})
        if (control) control->setHidden(!shown);
}

// ---- Page swipe ---------------------------------------------------------------------------------

void UIWelcomeViewController::touchesMoved(const ui::TouchSet& touches, const ui::Event*) {
    if (!canTouch_ || gestureStartPoint_.x < 0 || gestureStartPoint_.y < 0) return;
    auto* touch = touches.anyObject();
    if (!touch) return;
    const ui::Point now = touch->locationInView(view().get());
    const double dx = gestureStartPoint_.x - now.x, dy = gestureStartPoint_.y - now.y;
    // The vertical test is signed: a finger drifting down still swipes, one going up does not.
    if (dy > kSwipeUpMost) return;
    if (dx >= kSwipeAcross)
        swipe(true);
    else if (dx <= -kSwipeAcross)
        swipe(false);
}

void UIWelcomeViewController::swipe(bool forward) {
    gestureStartPoint_ = {-100, -100};
    canTouch_ = false;
    auto form = nowForm_;
    if (!form) {
        canTouch_ = true;
        return;
    }
    if (form->isCategoryForm()) {
        forward ? form->virtualNextPage() : form->virtualLastPage();
        if (form->showVirtualCaips()) {
            NSServer().playSound(kPageSound);
            std::weak_ptr<ui::ViewController> weak = weak_from_this();
            ui::Animation::begin(std::string(kPageCurl));
            ui::Animation::setDuration(kCurlSeconds);
            ui::Animation::setCurve(ui::Animation::Curve::EaseInOut);
            ui::Animation::setDidStop([weak](const std::optional<std::string>& name, bool finished, void* context) {
                if (auto self = std::static_pointer_cast<UIWelcomeViewController>(weak.lock()))
                    self->animationFinish(name, finished, context);
            });
            ui::Animation::setTransition(
                forward ? ui::Animation::Transition::CurlUp : ui::Animation::Transition::CurlDown, *view(), true);
            ui::Animation::commit();
            form->flashCaip(*this);
            return;
        }
    }
    const int n = form->number();
    const int next = forward ? n + 1 : n - 1;
    const bool inRange = forward ? next <= static_cast<int>(forms_.size()) : n >= 2;
    auto target = inRange ? forms_.find(platform::fmt("Form%i", next)) : forms_.end();
    // A number the skin skipped has no form to turn to.
    if (target == forms_.end()) {
        canTouch_ = true;
        return;
    }
    NSServer().playSound(kPageSound);
    form->goForm(target->second, forward, *this);
    if (!forward && nowForm_) {
        nowForm_->overPageNum();
        nowForm_->showVirtualCaips();
        nowForm_->flashCaip(*this);
    }
}

void UIWelcomeViewController::animationFinish(const std::optional<std::string>&, bool, void*) { canTouch_ = true; }

// ---- Skin videos --------------------------------------------------------------------------------

void UIWelcomeViewController::play(const ui::Rect& rect, const std::string& name) {
    if (!canPlay_) {
        if (rootController_) rootController_->showRootAlert(ScreenRoot::word("play1"));
        return;
    }
    // A name that would leave the media folder plays nothing.
    auto path = skin::fileInFolder(NSServer::getMediaPath(), name);
    if (!path) return;
    if (screen_) screen_->screenOver();
    if (moviePlayer_) stop();
    auto player = media::MoviePlayer::create(*path);
    moviePlayer_ = player;
    player->setScalingMode(media::MoviePlayer::ScalingMode::AspectFit);
    player->view()->setFrame(rect);
    view()->addSubview(player->view());

    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    auto self = [weak] { return std::static_pointer_cast<UIWelcomeViewController>(weak.lock()); };
    auto& center = ui::NotificationCenter::defaultCenter();
    finishedToken_ = center.addObserver(media::PlaybackDidFinishNotification, player.get(), [self](const auto&) {
        if (auto s = self()) {
            s->stop();
            s->canTouch_ = true;
        }
    });
    exitFullToken_ = center.addObserver(media::DidExitFullscreenNotification, player.get(), [self](const auto&) {
        if (auto s = self()) s->fullBack();
    });
    player->play();
    const bool fullScreen = rect.x() == 0 && rect.y() == 0 && rect.width() == 0 && rect.height() == 0;
    if (fullScreen)
        player->setFullscreen(true, false);
    else
        canTouch_ = false;
}

void UIWelcomeViewController::forgetPlayer() {
    auto& center = ui::NotificationCenter::defaultCenter();
    if (finishedToken_) center.removeObserver(finishedToken_);
    if (exitFullToken_) center.removeObserver(exitFullToken_);
    finishedToken_ = exitFullToken_ = 0;
}

void UIWelcomeViewController::stop() {
    if (!moviePlayer_) return;
    canPlay_ = false;
    auto player = std::move(moviePlayer_);
    forgetPlayer();
    player->stop();
    if (player->view()) player->view()->removeFromSuperview();
    if (clearPlayTimer_) clearPlayTimer_->invalidate();
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    clearPlayTimer_ = platform::Timer::schedule(platform::RunLoop::main(), kReplayPause, false, [weak](platform::Timer&) {
        if (auto self = std::static_pointer_cast<UIWelcomeViewController>(weak.lock())) self->clearPlay();
    });
    if (screen_) screen_->screenBegin();
}

void UIWelcomeViewController::clearPlay() { canPlay_ = true; }

void UIWelcomeViewController::fullBack() {
    if (!moviePlayer_) return;
    const ui::Rect frame = moviePlayer_->view()->frame();
    if (frame.x() == 0 && frame.y() == 0 && frame.width() == 0 && frame.height() == 0) stop();
}
