#include "screens/skin/VirtualForm.h"

#include <set>

#include "core/NSServer.h"
#include "core/NSStaticUnit.h"
#include "model/NSCaipClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSCplbTreeClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Text.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Button.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "screens/kit/ScreenRoot.h"
#include "screens/kit/VirtualButton.h"
#include "screens/skin/SkinLayout.h"
#include "screens/skin/UIWelcomeViewController.h"
#include "screens/skin/VirtualCaipShow.h"

namespace {

constexpr const char* kFormCurl = "showForm";
constexpr double kCurlSeconds = 0.5;
constexpr double kFlightSeconds = 1.0;

bool contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// The dish a RunF text names: the first part of its argument; none without parentheses.
std::optional<std::string> runFDish(const std::string& func) {
    if (!contains(func, "RunF")) return std::nullopt;
    auto argument = skin::argumentOf(func);
    if (!argument) return std::nullopt;
    return skin::splitComma(*argument).front();
}

// The dish ids with an unsent line in the current desk.
std::set<std::string> orderedDishes() {
    std::set<std::string> ids;
    for (const auto& line : NSServer::getNowDesk()->m_DishList)
        if (line->m_iState == NSDishClass::kUnsent && line->m_strCaipID) ids.insert(*line->m_strCaipID);
    return ids;
}

std::shared_ptr<ui::ImageView> newMark(ui::View& view, ui::Point corner) {
    auto mark = std::make_shared<ui::ImageView>(
        ui::Rect{corner.x, corner.y, VirtualForm::kMarkSize, VirtualForm::kMarkSize});
    if (auto picture = ui::Image::named(VirtualForm::kMarkPicture)) mark->setImage(picture);
    view.addSubview(mark);
    return mark;
}

ui::Rect halved(const ui::Rect& r) { return {r.x(), r.y(), r.width() / 2, r.height() / 2}; }

}  // namespace

VirtualForm::~VirtualForm() = default;

void VirtualForm::addButton(std::shared_ptr<VirtualButton> button) { virtualButtons.push_back(std::move(button)); }

void VirtualForm::addCaipShow(std::shared_ptr<VirtualCaipShow> slot) { virtualCaipShows.push_back(std::move(slot)); }

int VirtualForm::number() const { return skin::formNumber(formName); }

bool VirtualForm::isCategoryForm() const { return noState && useCplbTree && !virtualCaipShows.empty(); }

void VirtualForm::showForm(UIWelcomeViewController& screen) {
    auto& view = *screen.view();
    if (auto path = skin::fileInFolder(NSServer::getSkinsPath(), imageView); path && platform::fs::exists(*path))
        if (auto picture = ui::Image::withContentsOfFile(*path); picture && screen.imageView())
            screen.imageView()->setImage(picture);
    for (auto& button : virtualButtons) button->showButtonUp(view);
    if (isCategoryForm()) {
        pagenum = 0;
        const auto dishes = static_cast<std::int32_t>(useCplbTree->caips.size());
        const auto slots = static_cast<std::int32_t>(virtualCaipShows.size());
        pagenumsize = dishes / slots + (dishes % slots ? 1 : 0);
        for (auto& slot : virtualCaipShows) slot->createAndShow(view);
        showVirtualCaips();
    }
    screen.keepOnlineEntryInFront();
}

void VirtualForm::unShowForm(UIWelcomeViewController& screen) {
    if (screen.imageView()) screen.imageView()->setImage(nullptr);
    for (auto& button : virtualButtons) button->unShowButton();
    if (isCategoryForm())
        for (auto& slot : virtualCaipShows) slot->destroy();
}

bool VirtualForm::showVirtualCaips() {
    if (!isCategoryForm()) return false;
    if (pagenum >= pagenumsize) {
        pagenum = pagenumsize - 1;
        return false;
    }
    if (pagenum < 0) {
        pagenum = 0;
        return false;
    }
    const auto& dishes = useCplbTree->caips;
    for (size_t i = 0; i < virtualCaipShows.size(); ++i) {
        const size_t k = static_cast<size_t>(pagenum) * virtualCaipShows.size() + i;
        if (k < dishes.size())
            virtualCaipShows[i]->showCaip(dishes[k]);
        else
            virtualCaipShows[i]->clean();
    }
    return true;
}

void VirtualForm::onButtonDown(ui::Point point, UIWelcomeViewController& screen) {
    for (auto& button : virtualButtons)
        if (button->onButtonDown(point.x, point.y, *screen.view())) return;
}

void VirtualForm::onButtonUp(ui::Point point, UIWelcomeViewController& screen) {
    // The action may switch forms or reload the skin: both the form and the button stay alive
    // until it returns.
    auto keep = shared_from_this();
    for (auto button : std::vector<std::shared_ptr<VirtualButton>>(virtualButtons)) {
        if (!button->onButtonUp(point.x, point.y, *screen.view())) continue;
        onFunc(*button, screen);
        return;
    }
}

void VirtualForm::onFunc(VirtualButton& button, UIWelcomeViewController& screen) {
    if (screen.moviePlayer()) {
        screen.stop();
        return;
    }
    auto root = ScreenRoot::current();
    const std::string text = button.func;
    const auto argument = skin::argumentOf(text);
    if (contains(text, "Run") && !contains(text, "RunF")) {
        if (root) root->begin(argument);
    } else if (contains(text, "Open")) {
        // A name the skin does not hold switches nothing.
        if (!argument) return;
        auto it = screen.forms().find(*argument);
        if (it == screen.forms().end()) return;
        goForm(it->second, number() < skin::formNumber(*argument), screen);
    } else if (contains(text, "RunF")) {
        if (!argument) {
            if (root) root->begin(std::nullopt);
            return;
        }
        const auto parts = skin::splitComma(*argument);
        const std::string flag = parts.size() > 1 ? parts[1] : "true";
        auto dish = NSServer::getCaipDB()->GetCaipFromID(parts[0]);
        if (dish && !dish->m_strName.empty()) {
            if (flag == "false") {
                if (root) root->welShowBigCaip(dish);
            } else {
                quickSel(dish, button, screen);
            }
        }
        flashCaip(screen);
    } else if (contains(text, "CheckList")) {
        if (root) root->welShowDishList();
    } else if (contains(text, "Set")) {
        screen.set(std::nullopt);
    } else if (contains(text, "Movie")) {
        if (!argument) return;
        const auto parts = skin::splitComma(*argument);
        if (parts.size() < 5) return;
        double n[4];
        for (int i = 0; i < 4; ++i) n[i] = platform::leadingDouble(parts[static_cast<size_t>(i)]);
        screen.play({n[0], n[1], n[2] - n[0], n[3] - n[1]}, parts[4]);
    }
}

void VirtualForm::goForm(std::shared_ptr<VirtualForm> target, bool forward, UIWelcomeViewController& screen) {
    if (!target) return;
    auto self = shared_from_this();
    welcomeController = std::static_pointer_cast<UIWelcomeViewController>(screen.shared_from_this());
    auto current = screen.nowForm();
    if (screen.hasXml() && current) {
        const auto& forms = NSServer::getIsHengB() ? screen.forms2() : screen.forms();
        if (auto it = forms.find(target->formName); it != forms.end()) target = it->second;
    }
    // The outgoing form leaves the screen before the new one draws; the curl shows the change.
    if (current) current->unShowForm(screen);
    screen.setNowForm(target);
    NSServer::setWelShowFormName(target->formName);
    target->showForm(screen);
    target->flashCaip(screen);
    NSServer::sendTV("goform", NSServer::getNowDesk()->m_strDeskID, target->formName);

    std::weak_ptr<VirtualForm> weak = self;
    ui::Animation::begin(std::string(kFormCurl));
    ui::Animation::setDuration(kCurlSeconds);
    ui::Animation::setCurve(ui::Animation::Curve::EaseInOut);
    ui::Animation::setDidStop([weak](const std::optional<std::string>& name, bool finished, void* context) {
        if (auto form = weak.lock()) form->animationFinish(name, finished, context);
    });
    auto root = ScreenRoot::current();
    ui::View& curled = root && root->view() ? *root->view() : *screen.view();
    ui::Animation::setTransition(forward ? ui::Animation::Transition::CurlUp : ui::Animation::Transition::CurlDown,
                                 curled, true);
    ui::Animation::commit();
}

void VirtualForm::animationFinish(const std::optional<std::string>& name, bool, void*) {
    if (auto screen = welcomeController.lock()) screen->setCanTouch(true);
    const int tag = platform::leadingInt(name.value_or(""));
    for (auto it = bufferImageVS.begin(); it != bufferImageVS.end();) {
        if ((*it)->tag() == tag) {
            (*it)->removeFromSuperview();
            it = bufferImageVS.erase(it);
        } else {
            ++it;
        }
    }
}

void VirtualForm::flashCaip(UIWelcomeViewController& screen) {
    auto& view = *screen.view();
    const auto ordered = orderedDishes();
    for (auto& button : virtualButtons) {
        const auto dish = runFDish(button->func);
        if (dish && ordered.count(*dish)) {
            if (!button->quickCaipView) button->quickCaipView = newMark(view, button->location.origin);
        } else if (button->quickCaipView) {
            button->quickCaipView->removeFromSuperview();
            button->quickCaipView.reset();
        }
    }
    for (auto& slot : virtualCaipShows) {
        const bool marked = slot->nowcaip && slot->nowcaip->m_strID && ordered.count(*slot->nowcaip->m_strID);
        std::shared_ptr<ui::View> anchor = slot->caipImage ? slot->caipImage : slot->caipQuickSel;
        if (marked && anchor) {
            const ui::Point corner = anchor->frame().origin;
            if (!slot->quickCaipView) slot->quickCaipView = newMark(view, corner);
            slot->quickCaipView->setFrame({corner.x, corner.y, kMarkSize, kMarkSize});
        } else if (slot->quickCaipView) {
            slot->quickCaipView->removeFromSuperview();
            slot->quickCaipView.reset();
        }
    }
}

bool VirtualForm::quickSel(const std::shared_ptr<NSCaipClass>& dish, VirtualButton& button,
                           UIWelcomeViewController& screen) {
    if (!dish) return false;
    return orderToggle(dish, [&](bool adding) { flyThumbnail(*dish, button, screen, adding); });
}

void VirtualForm::flyThumbnail(const NSCaipClass& dish, const VirtualButton& button, UIWelcomeViewController& screen,
                               bool adding) {
    const VirtualButton* list = nullptr;
    for (auto& candidate : virtualButtons)
        if (contains(candidate->func, "CheckList")) {
            list = candidate.get();
            break;
        }
    if (!list) return;
    auto picture = NSStaticUnit::createRoundedRectImage(dishThumbnail(dish, false), {});
    if (!picture) return;
    const ui::Size size = picture->size();
    const ui::Rect atList = halved(NSStaticUnit::getCaipICGRect(size, list->location));
    const ui::Rect atButton = NSStaticUnit::getCaipICGRect(size, button.location);

    auto flying = std::make_shared<ui::ImageView>(adding ? atButton : atList);
    flying->setImage(picture);
    flying->setTag(++bufferImageInt);
    bufferImageVS.push_back(flying);

    std::weak_ptr<VirtualForm> weak = weak_from_this();
    ui::Animation::begin(platform::fmt("%i", flying->tag()));
    ui::Animation::setDuration(kFlightSeconds);
    ui::Animation::setDidStop([weak](const std::optional<std::string>& name, bool finished, void* context) {
        if (auto form = weak.lock()) form->animationFinish(name, finished, context);
    });
    screen.view()->addSubview(flying);
    flying->setFrame(adding ? atList : atButton);
    flying->setAlpha(0);
    ui::Animation::commit();
}
