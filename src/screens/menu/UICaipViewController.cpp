#include "screens/menu/UICaipViewController.h"

#include <algorithm>
#include <cmath>

#include "core/NSServer.h"
#include "core/NSStaticUnit.h"
#include "model/NSATreeClass.h"
#include "model/NSCaipClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "online/NSPicCache.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/RunLoop.h"
#include "platform/media/MoviePlayer.h"
#include "platform/ui/Animation.h"
#include "screens/kit/ScreenKit.h"
#include "screens/kit/ScreenRoot.h"
#include "screens/kit/UINumViewController.h"
#include "screens/kit/UISelectViewController.h"
#include "screens/lineedit/UICaipFormViewController.h"
#include "screens/menu/MenuKit.h"
#include "screens/menu/MyScrollView.h"

namespace {

// A swipe: at least this far sideways, at most this far up or down.
constexpr double kSwipeLength = 25;
constexpr double kSwipeDrift = 20;
// The walk of a page turn that finds no dish with a category ends after this many steps.
constexpr long long kWalkLimit = 1000000;

// The entries of a ","-list, each ended by a "," (one is appended): "a,b" gives a and b, and
// "a,b," gives a, b and an empty entry.
std::vector<std::string> splitComma(const std::string& text) {
    std::vector<std::string> parts;
    std::string rest = text + ",";
    for (std::size_t at = 0, comma; (comma = rest.find(',', at)) != std::string::npos; at = comma + 1)
        parts.push_back(rest.substr(at, comma - at));
    return parts;
}

// A frame that takes no touch of its own: only what lies in it does.
class FormArea : public ui::View {
public:
    using ui::View::View;
    ui::View* hitTest(ui::Point p, const ui::Event* event) override {
        ui::View* hit = ui::View::hitTest(p, event);
        return hit == this ? nullptr : hit;
    }
};

std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

}  // namespace

UICaipViewController::UICaipViewController(std::string nibName)
    : ui::ViewController(std::move(nibName)), m_dish_(std::make_shared<NSDishClass>()),
      m_zuofs_(std::make_shared<NSATreeClass>()) {}

UICaipViewController::~UICaipViewController() {
    releaseCaipForm();
    for (auto& alert : ui::AlertView::visibleAlerts())
        if (alert->delegate() == this) alert->setDelegate(nullptr);
    dropPlayerObservers();
    if (moviePlayer_) moviePlayer_->stop();
}

// ---- Line set-up -----------------------------------------------------------------------------

bool UICaipViewController::getSelectCaip(const std::shared_ptr<NSCaipClass>& dish) {
    m_dish_->Release();
    m_dish_->CopyCaip(dish);
    m_dish_->m_fQuantity = 1;
    m_dish_->m_fQuantity2 = 0;
    buildZuofs(false);
    return true;
}

bool UICaipViewController::getSelectDish(const std::shared_ptr<NSDishClass>& line) {
    if (!line) return true;
    m_dishmodifybuffer_ = NSDishClass::initWithDish(*line);
    m_dish_ = line;
    buildZuofs(true);
    return true;
}

void UICaipViewController::buildZuofs(bool fromLine) {
    auto db = NSServer::getCaipDB();
    NSDishClass& line = *m_dish_;
    m_zuofs_->RemoveAll();
    const auto ids = splitComma(line.m_strZuofID), prices = splitComma(line.m_strZfjiag);
    const auto counts = splitComma(line.m_strZuofShul);
    int row = 0;
    for (std::size_t k = 0; k < ids.size() && k < prices.size(); ++k) {
        if (ids[k].empty()) continue;
        const int n = m_zuofs_->AddItem(ids[k], db ? db->GetKouwNameByID(ids[k]) : ids[k], prices[k]);
        m_zuofs_->m_str1[n] = "";
        m_zuofs_->m_uint[n] = line.FindKouwID(ids[k]) ? 1 : -1;
        ++row;
        if (!fromLine) continue;
        if (m_zuofs_->m_uint[n] == 1) {
            if (static_cast<std::size_t>(row) <= counts.size()) m_zuofs_->m_str1[n] = counts[row - 1];
            line.DelKouwID(ids[k]);
        }
        if (line.m_bisSet && line.m_bAddOn && line.m_fQuantity != 0) {
            for (const auto& other : NSServer::getNowDesk()->m_DishList) {
                if (other->m_bisSet || !other->m_bisExp || other->m_parentpos != line.m_parentpos) continue;
                if (other->m_strCaipName != m_zuofs_->m_name[n]) continue;
                m_zuofs_->m_uint[n] = 1;
                m_zuofs_->m_str1[n] = platform::fmt("%g", static_cast<double>(other->m_fQuantity / line.m_fQuantity));
            }
        }
    }
    if (!db || !db->m_kouws) return;
    auto& kouws = *db->m_kouws;
    const int rows = std::min({kouws.m_length, static_cast<int>(kouws.m_code.size()), static_cast<int>(kouws.m_uint.size())});
    for (int r = 1; r < rows; ++r) {
        if (line.FindKouwID(kouws.m_code[r])) {
            kouws.m_uint[r] = 1;
            line.DelKouwID(kouws.m_code[r]);
        } else {
            kouws.m_uint[r] = -1;
        }
    }
}

// ---- View ------------------------------------------------------------------------------------

void UICaipViewController::loadView() {
    const ui::Rect frame = menu::screenRect(rootController_);
    setView(kit::screenView(frame));
    auto& v = *view();
    const double w = frame.width(), h = frame.height();
    auto act = [this](void (UICaipViewController::*op)()) { return menu::action(*this, op); };
    auto bar = kit::titleBar(v, w, "菜品详情", act(&UICaipViewController::backTo));
    bt_back_ = bar.back;

    caiView_ = std::make_shared<ui::View>(kPictureArea);
    caiView_->setClipsToBounds(true);
    v.addSubview(caiView_);

    const double y = kPictureArea.y() + kPictureArea.height() + 12;
    caipName_ = kit::label(v, {24, y, 460, 40}, "", kit::titleFont());
    caipName2_ = kit::label(v, {24, y + 42, 460, 30}, "", kit::bodyFont(), ui::TextAlignment::Left, kit::kMuted);
    caipPrice_ = kit::label(v, {w - 24 - 240, y, 240, 40}, "", kit::bigFont(), ui::TextAlignment::Right, kit::kAccentInk);
    caipDanw_ = kit::label(v, {w - 24 - 240, y + 42, 240, 30}, "", kit::bodyFont(), ui::TextAlignment::Right, kit::kMuted);
    text_ = std::make_shared<ui::TextView>(ui::Rect{24, y + 80, w - 48, h - (y + 80) - 80});
    text_->setEditable(false);
    text_->setFont(kit::bodyFont());
    text_->setTextColor(kit::kInk);
    v.addSubview(text_);

    auto bottom = std::make_shared<ui::View>(ui::Rect{0, h - 72, w, 72});
    bottom->setBackgroundColor(kit::kBar);
    v.addSubview(bottom);
    const double by = h - 72 + (72 - 52) / 2;
    bt_big_ = kit::button(v, {24, by, 112, 52}, "大图", act(&UICaipViewController::showMaxPig));
    bt_movie_ = kit::button(v, {146, by, 112, 52}, "视频", act(&UICaipViewController::play));
    bt_form_ = kit::button(v, {268, by, 112, 52}, "点菜单", act(&UICaipViewController::toggleCaipForm));
    bt_taocan_ = kit::button(v, {390, by, 112, 52}, "套餐", act(&UICaipViewController::BomShow));
    bt_select_ = kit::button(v, {w - 24 - 200, by, 200, 52}, "点菜", act(&UICaipViewController::selectCaip),
                             kit::ButtonKind::Primary);
    // The form stands at the right, just above the bottom bar, over the picture and the prices.
    formArea_ = std::make_shared<FormArea>(ui::Rect{w - 24 - UICaipFormViewController::kWidth,
                                                    h - 72 - 8 - UICaipFormViewController::kHeight,
                                                    UICaipFormViewController::kWidth, UICaipFormViewController::kHeight});
    formArea_->setClipsToBounds(true);
    v.addSubview(formArea_);
}

void UICaipViewController::viewDidLoad() {
    showDish();
    // Only a set meal (not an add-on head) has items to show.
    if (!(m_dish_->m_bisSet && !m_dish_->m_bAddOn)) {
        bt_taocan_->removeFromSuperview();
        bt_taocan_.reset();
    }
    ui::ViewController::viewDidLoad();
}

void UICaipViewController::viewDidUnload() {
    releaseCaipForm();
    formArea_.reset();
    bt_form_.reset();
    removePictureView();
    caiView_.reset();
    text_.reset();
    bt_taocan_.reset();
    bt_back_.reset();
    bt_select_.reset();
    bt_movie_.reset();
    bt_big_.reset();
}

void UICaipViewController::removePictureView() {
    if (scrollView_) scrollView_->removeFromSuperview();
    scrollView_.reset();
}

void UICaipViewController::showDish() {
    if (!isViewLoaded()) return;
    removePictureView();
    auto db = NSServer::getCaipDB();
    const std::string id = m_dish_->caipID();
    auto dish = db ? db->GetCaipFromID(id) : nullptr;
    const bool demo = dish && menu::isDemoDish(*dish);
    const ui::Rect area{0, 0, caiView_->frame().width(), caiView_->frame().height()};
    const std::string file = id + ".BMP";
    const std::string fallback = demo ? platform::fmt("0%lld.bmp", menu::idNumber(id)) : std::string("nopic2.bmp");
    // A web-menu dish without a picture of its own shows the one downloaded for it.
    const auto cached = dish ? menu::cachedWebPicture(menu::webPictureAddress(*dish, ".BMP")) : std::nullopt;

    if (NSServer::isCaiph()) {
        bool exists = false;
        auto image = menu::folderPicture(id, ".BMP", &exists);
        if (!exists && cached) image = ui::Image::withContentsOfFile(*cached);
        if (!exists && !image) image = kit::picture(fallback);
        image = NSStaticUnit::createRoundedRectImage(image, image ? image->size() : ui::Size{});
        auto plain = std::make_shared<ui::ImageView>(image);
        plain->setFrame(area);
        if (area.width() != 1024 && area.width() != 768)
            plain->setFrame(NSStaticUnit::getCaipICGRect(image ? image->size() : ui::Size{}, area));
        scrollView_ = plain;
    } else {
        std::string name = file;
        if (id.empty() || !platform::fs::exists(platform::fs::join(NSServer::getCaippicPath(), file)))
            name = cached ? *cached : platform::Bundle::pathForResource(fallback).value_or("");
        auto zoomable = std::make_shared<MyScrollView>(area, name);
        zoomable->setFrame(area);
        zoomable->setCaiViewController(this);
        scrollView_ = zoomable;
    }

    std::string description;
    if (auto own = menu::folderDescription(id)) description = *own;
    else if (demo) {
        if (auto path = platform::Bundle::pathForResource(platform::fmt("0%lldm.txt", menu::idNumber(id))))
            if (auto bytes = platform::fs::readAll(*path, 64 * 1024); bytes && platform::isValidUTF8(*bytes)) description = *bytes;
    }
    caipName_->setText(m_dish_->m_strCaipName);
    caipName2_->setText(dish ? dish->m_strName2 : "");
    caipPrice_->setText(m_dish_->m_strPrice);
    caipDanw_->setText(platform::fmt("%@/%@", menu::word("yuan"), m_dish_->m_strUnits));
    caiView_->addSubview(scrollView_);
    text_->setText(description);
    text_->setAlpha(description.empty() ? 0 : 1);
    if (!cached) downLoadPic();
}

// ---- Touches and page turns ------------------------------------------------------------------

void UICaipViewController::touchesBegan(const ui::TouchSet& touches, const ui::Event*) {
    if (!canTouch_ || !touches.anyObject()) return;
    formSubViewShown(false);
    gestureStartPoint_ = touches.anyObject()->locationInView(view().get());
}

void UICaipViewController::touchesMoved(const ui::TouchSet& touches, const ui::Event*) {
    if (formSubViewShown(true) || !canTouch_ || !touches.anyObject()) return;
    const ui::Point now = touches.anyObject()->locationInView(view().get());
    const double dx = gestureStartPoint_.x - now.x;
    const double dy = std::fabs(gestureStartPoint_.y - now.y);
    if (dx >= kSwipeLength && dy <= kSwipeDrift) nextCaip();
    else if (-dx >= kSwipeLength && dy <= kSwipeDrift) lastCaip();
}

void UICaipViewController::touchesEnded(const ui::TouchSet&, const ui::Event*) { formSubViewShown(false); }

void UICaipViewController::nextCaip() { turnPage(true); }
void UICaipViewController::lastCaip() { turnPage(false); }

void UICaipViewController::turnPage(bool forward) {
    if (type_ == kFromList) return;
    auto db = NSServer::getCaipDB();
    if (!db || db->m_CaipArray.empty()) return;
    const auto& all = db->m_CaipArray;
    const long long n = static_cast<long long>(all.size());
    const std::string id = m_dish_->caipID();
    auto hasCategory = [&](long long k) { return !all[static_cast<std::size_t>(k)]->m_strCategory.empty(); };
    // The dish after (or before) the line's own that has a category, going round the menu once;
    // the line's own dish only when no other has one. Without the line's dish in the menu, or
    // without any dish with a category, the walk gives up where a walk of its step limit ends.
    long long own = -1;
    if (forward) {
        for (long long k = 0; k < n && own < 0; ++k)
            if (all[static_cast<std::size_t>(k)]->strID() == id) own = k;
    } else {
        for (long long k = n - 1; k >= 0 && own < 0; --k)
            if (all[static_cast<std::size_t>(k)]->strID() == id) own = k;
    }
    long long chosen = -1;
    if (own >= 0) {
        for (long long step = 1; step <= n && chosen < 0; ++step) {
            const long long k = forward ? (own + step) % n : ((own - step) % n + n) % n;
            if (hasCategory(k)) chosen = k;
        }
    }
    if (chosen < 0) chosen = forward ? (kWalkLimit - 1) % n : (n - 1) - (kWalkLimit - 1) % n;

    canTouch_ = false;
    getSelectCaip(all[static_cast<std::size_t>(chosen)]);
    menu::beginAnimation(*this, "page", 0.75);
    ui::Animation::setCurve(ui::Animation::Curve::EaseInOut);
    ui::Animation::setTransition(forward ? ui::Animation::Transition::CurlUp : ui::Animation::Transition::CurlDown,
                                 *view(), true);
    ui::Animation::commit();
    if (text_) text_->setText("");
    showDish();
    if (caipFormController_) caipFormController_->followDish();
    menu::announce("caipdlg", m_dish_->caipID());
}

void UICaipViewController::animationFinish(const std::optional<std::string>&, bool) { canTouch_ = true; }

void UICaipViewController::showMaxPig() {
    const bool landscape = NSServer::getIsHengB();
    const double wide = landscape ? 1024 : 768;
    const ui::Rect big = landscape ? ui::Rect{0, 0, 1024, 748} : ui::Rect{0, 0, 768, 1004};
    if (caiView_->frame().width() < wide) {
        canTouch_ = false;
        menu::beginAnimation(*this, "showBigPig", 0.3);
        caiView_->setFrame(big);
        if (scrollView_) scrollView_->setFrame(big);
        ui::Animation::commit();
    } else {
        menu::beginAnimation(*this, "bigPigBack", 0.3);
        ui::Animation::commit();
    }
}

// ---- Leaving, ordering, deleting -------------------------------------------------------------

void UICaipViewController::backTo() {
    if (formSubViewShown(false) || !canTouch_) return;
    if (m_dishmodifybuffer_ && m_dishmodifybuffer_ != m_dish_) m_dish_->CopyDish(m_dishmodifybuffer_.get());
    if (!rootController_) return;
    switch (type_) {
    case kFromMenu: rootController_->backToSelectCaip(false); break;
    case kFromList: rootController_->caipBackToDishlist(); break;
    case kFromSkin: rootController_->welBigCaipBack(); break;
    case kFromSetMealAdd: rootController_->bom_backToSelectCaip(false); break;
    case kSetMealItem: rootController_->BigCaipExBack(); break;
    default: break;  // opened from the dish search: it has no way back
    }
}

void UICaipViewController::selectCaip() {
    const auto& lines = NSServer::getNowDesk()->m_DishList;
    const bool onDesk = std::any_of(lines.begin(), lines.end(), [&](const auto& l) { return l->caipID() == m_dish_->caipID(); });
    if (onDesk && type_ != kFromList) {
        auto alert = std::make_shared<ui::AlertView>(menu::word("tishi"), menu::word("caipv1"), this, menu::word("cancel"),
                                                     std::vector<std::string>{menu::word("onok")});
        alert->setTag(kReAddTag);
        alert->show();
        return;
    }
    selectCaip2();
}

void UICaipViewController::selectCaip2() {
    auto db = NSServer::getCaipDB();
    if (rootController_)
        rootController_->showQuickCaip(db ? db->GetCaipFromID(m_dish_->caipID()) : nullptr, m_dish_, type_ == kFromSetMealAdd);
}

void UICaipViewController::alertViewClickedButtonAtIndex(ui::AlertView& alert, int buttonIndex) {
    NSServer::setIsShowAlert(false);
    if (alert.tag() == kReAddTag && buttonIndex == 1) selectCaip2();
}

void UICaipViewController::deleteCai() {
    if (!canTouch_) return;
    NSServer().deleteCaip(m_dish_);
    backTo();
}

void UICaipViewController::qicai() {
    if (m_dish_->m_iType == 0) m_dish_->m_iType = 1;
    else if (m_dish_->m_iType == 1) m_dish_->m_iType = 0;
}

void UICaipViewController::BomShow() {
    if (type_ == kFromList && m_dish_->m_ExDishs.empty()) {
        for (const auto& line : NSServer::getNowDesk()->m_DishList)
            if (!line->m_bisSet && line->m_parentpos == m_dish_->m_parentpos) m_dish_->m_ExDishs.push_back(line);
    }
    if (rootController_) rootController_->showBomDish(m_dish_);
}

bool UICaipViewController::downLoadPic() {
    auto db = NSServer::getCaipDB();
    auto dish = db ? db->GetCaipFromID(m_dish_->caipID()) : nullptr;
    const std::string address = dish ? menu::webPictureAddress(*dish, ".BMP") : std::string();
    if (address.empty() || menu::cachedWebPicture(address) || !picturesAwaited_.insert(address).second) return false;
    // A view closed meanwhile needs no picture: the cache keeps it for the next one.
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    piccache::fetch(address, nullptr, [weak, address](const std::string& file) {
        if (auto self = std::static_pointer_cast<UICaipViewController>(weak.lock())) self->receivePic(address, file);
    });
    return true;
}

void UICaipViewController::receivePic(const std::string& address, const std::string& file) {
    picturesAwaited_.erase(address);
    if (file.empty()) return;
    auto db = NSServer::getCaipDB();
    auto dish = db ? db->GetCaipFromID(m_dish_->caipID()) : nullptr;
    if (dish && dish->m_strPic == address) showDish();
}

// ---- Dish order form -------------------------------------------------------------------------

ui::View& UICaipViewController::formArea() {
    view();
    return *formArea_;
}

void UICaipViewController::addCaipForm() {
    releaseCaipForm();
    caipFormController_ = UICaipFormViewController::addCaipForm(*this, m_dish_, m_zuofs_);
}

void UICaipViewController::showCaipForm() {
    if (caipFormController_) caipFormController_->showCaipForm();
}

void UICaipViewController::toggleCaipForm() {
    if (!caipFormController_) addCaipForm();
    showCaipForm();
}

bool UICaipViewController::formSubViewShown(bool onlyAsk) {
    return caipFormController_ && caipFormController_->isSubViewShow(onlyAsk);
}

void UICaipViewController::releaseCaipForm() {
    if (!caipFormController_) return;
    // The form's pads and pickers lie on this view; they answer the form, so they go with it.
    if (auto& pad = caipFormController_->numController) pad->view()->removeFromSuperview();
    if (auto& picker = caipFormController_->selectController) picker->view()->removeFromSuperview();
    caipFormController_->setCaipController(nullptr);
    if (caipFormController_->isViewLoaded()) caipFormController_->view()->removeFromSuperview();
    caipFormController_.reset();
}

// ---- Video -----------------------------------------------------------------------------------

void UICaipViewController::play() {
    if (formSubViewShown(false)) return;
    if (!canPlay_) {
        menu::refuse("play1");
        return;
    }
    const std::string path = platform::fs::join(NSServer::getCaippicPath(), upper(m_dish_->caipID()) + ".MP4");
    if (m_dish_->caipID().empty() || !platform::fs::exists(path)) {
        auto alert = std::make_shared<ui::AlertView>(menu::word("tishi"), menu::word("caipv3"), this, menu::word("onok"));
        alert->show();
        return;
    }
    dropPlayerObservers();
    if (moviePlayer_) moviePlayer_->stop();
    moviePlayer_ = media::MoviePlayer::create(path);
    moviePlayer_->setScalingMode(media::MoviePlayer::ScalingMode::AspectFit);
    moviePlayer_->view()->setFrame(kPictureArea);
    view()->addSubview(moviePlayer_->view());
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    auto& center = ui::NotificationCenter::defaultCenter();
    const void* sender = moviePlayer_.get();
    playerObservers_.push_back(center.addObserver(media::PlaybackDidFinishNotification, sender, [weak](const auto&) {
        if (auto s = std::static_pointer_cast<UICaipViewController>(weak.lock())) s->stop();
    }));
    playerObservers_.push_back(center.addObserver(media::DidExitFullscreenNotification, sender, [weak](const auto&) {
        if (auto s = std::static_pointer_cast<UICaipViewController>(weak.lock())) s->fullBack();
    }));
    moviePlayer_->play();
    if (moviePlayer_) moviePlayer_->setFullscreen(true, false);
}

void UICaipViewController::dropPlayerObservers() {
    for (auto token : playerObservers_) ui::NotificationCenter::defaultCenter().removeObserver(token);
    playerObservers_.clear();
}

void UICaipViewController::stop() {
    if (!moviePlayer_) return;
    canPlay_ = false;
    dropPlayerObservers();
    auto player = std::move(moviePlayer_);
    player->stop();
    if (player->isFullscreen()) player->setFullscreen(false, false);
    player->view()->removeFromSuperview();
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    platform::RunLoop::main().schedule(kVideoPause, [weak] {
        if (auto s = std::static_pointer_cast<UICaipViewController>(weak.lock())) s->clearPlay();
    });
}

void UICaipViewController::fullBack() { stop(); }

void UICaipViewController::clearPlay() {
    canPlay_ = true;
    showDish();
}
