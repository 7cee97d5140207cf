#include "screens/menu/UISelectCaipViewController.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "GData/GDataXML.h"
#include "core/NSServer.h"
#include "core/NSStaticUnit.h"
#include "model/NSCaipClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSCplbTreeClass.h"
#include "model/NSDeskClass.h"
#include "platform/foundation/FileSystem.h"
#include "platform/ui/Animation.h"
#include "screens/kit/ScreenKit.h"
#include "screens/kit/ScreenRoot.h"
#include "screens/menu/MenuKit.h"
#include "screens/menu/NSCaipViewCell.h"
#include "screens/menu/UICaipViewController.h"
#include "screens/menu/UICplbViewController.h"

namespace {

constexpr const char* kNoPictureMarker = "nopig.dat";
constexpr const char* kNewDishes = "新菜";
constexpr const char* kSpecialities = "特色菜";
// A special-list file names a few dozen dishes; anything far larger is not one.
constexpr std::uint64_t kMaxSpecialList = 4 * 1024 * 1024;

constexpr double kBarHeight = 64;
constexpr double kSearchHeight = 44;
constexpr double kChooserWidth = 65;

// The rows a page turn moves, by display mode.
int nextStep(int mode, bool landscape) {
    switch (mode) {
    case UISelectCaipViewController::kPictureGrid: return landscape ? 2 : 3;
    case UISelectCaipViewController::kTextList: return landscape ? 11 : 16;
    case UISelectCaipViewController::kPictureList: return landscape ? 3 : 4;
    default: return 1;
    }
}

// The previous page ignores the orientation.
int lastStep(int mode) {
    switch (mode) {
    case UISelectCaipViewController::kPictureGrid: return 3;
    case UISelectCaipViewController::kTextList: return 16;
    case UISelectCaipViewController::kPictureList: return 4;
    default: return 1;
    }
}

// The category id, none for a pseudo category (a special list or a search result).
std::optional<std::string> categoryId(const std::shared_ptr<NSCplbTreeClass>& node) {
    if (!node || !node->cplb || node->cplb->m_strUid.empty()) return std::nullopt;
    return node->cplb->m_strUid;
}

std::string noPictureMarkerPath() { return platform::fs::join(NSServer::getDataPath(), kNoPictureMarker); }

}  // namespace

UISelectCaipViewController::UISelectCaipViewController(std::string nibName) : ui::ViewController(std::move(nibName)) {
    if (platform::fs::exists(noPictureMarkerPath())) ShowType_ = kTextList;
    cplbController_ = std::make_shared<UICplbViewController>();
    cplbController_->setSelectCaipController(this);
}

UISelectCaipViewController::~UISelectCaipViewController() {
    for (auto& alert : ui::AlertView::visibleAlerts())
        if (alert->delegate() == this) alert->setDelegate(nullptr);
    if (cplbController_) cplbController_->setSelectCaipController(nullptr);
    if (caipTable_) {
        caipTable_->setDataSource(nullptr);
        caipTable_->setTableDelegate(nullptr);
    }
    if (caipSearchBar_) caipSearchBar_->setDelegate(nullptr);
}

// ---- View ------------------------------------------------------------------------------------

void UISelectCaipViewController::loadView() {
    const ui::Rect frame = menu::screenRect(rootController_);
    setView(kit::screenView(frame));
    auto& v = *view();
    const double w = frame.width(), h = frame.height();
    auto act = [this](void (UISelectCaipViewController::*op)()) { return menu::action(*this, op); };

    auto bar = kit::titleBar(v, w, type_ == kSetMealAdd ? "加入套餐" : "点菜", act(&UISelectCaipViewController::backToWel));
    bt_back_ = bar.back;

    caipSearchBar_ = std::make_shared<ui::SearchBar>(ui::Rect{kChooserWidth, kit::kBarHeight, w - kChooserWidth, kSearchHeight});
    caipSearchBar_->setPlaceholder("简码或菜名");
    caipSearchBar_->setDelegate(this);
    v.addSubview(caipSearchBar_);

    const double top = kit::kBarHeight + kSearchHeight;
    caipTable_ = std::make_shared<ui::TableView>(ui::Rect{kChooserWidth + 4, top, w - kChooserWidth - 4, h - top - kBarHeight});
    caipTable_->setDataSource(this);
    caipTable_->setTableDelegate(this);
    v.addSubview(caipTable_);

    cplbController_->view()->setFrame({0, top, kChooserWidth, h - top - kBarHeight});
    v.addSubview(cplbController_->view());

    // The bottom bar: special lists, display modes, paging, the function menu and the list.
    auto bottom = std::make_shared<ui::View>(ui::Rect{0, h - kBarHeight, w, kBarHeight});
    bottom->setBackgroundColor(kit::kBar);
    v.addSubview(bottom);
    const double gap = 6, by = h - kBarHeight + (kBarHeight - kit::kTouch) / 2;
    double x = 8;
    auto add = [&](const std::string& title, void (UISelectCaipViewController::*op)(), kit::ButtonKind kind,
                   double bw = 74) {
        auto b = kit::button(v, {x, by, bw, kit::kTouch}, title, act(op), kind);
        x += bw + gap;
        return b;
    };
    bt_daily1_ = add(kNewDishes, &UISelectCaipViewController::showDailynew, kit::ButtonKind::Secondary);
    bt_recom1_ = add(kSpecialities, &UISelectCaipViewController::showRecommend, kit::ButtonKind::Secondary);
    bt_grid_ = add("大图", &UISelectCaipViewController::show6Pig, kit::ButtonKind::Secondary);
    bt_text_ = add("列表", &UISelectCaipViewController::showNoPig, kit::ButtonKind::Secondary);
    bt_list_ = add("图文", &UISelectCaipViewController::showListPig, kit::ButtonKind::Secondary);
    bt_last_ = add("上一页", &UISelectCaipViewController::lastPage, kit::ButtonKind::Secondary);
    bt_next_ = add("下一页", &UISelectCaipViewController::nextPage, kit::ButtonKind::Secondary);
    bt_otherFun_ = add("功能", &UISelectCaipViewController::otherFun, kit::ButtonKind::Secondary);
    bt_dishl_ = add(type_ == kSetMealAdd ? "完成" : "已点菜单", &UISelectCaipViewController::dishlist,
                    kit::ButtonKind::Primary, w - 8 - x);

    // The lit special-list buttons: a mark laid over the button of the list shown.
    auto lit = [&](const std::shared_ptr<ui::Button>& under) {
        auto mark = std::make_shared<ui::Button>(ui::Button::Type::Custom, under->frame());
        mark->setBackgroundColor(ui::Color::rgb(196, 84, 44, 0.35));
        mark->setUserInteractionEnabled(false);
        mark->setAlpha(0.02);
        v.addSubview(mark);
        return mark;
    };
    bt_daily_ = lit(bt_daily1_);
    bt_recom_ = lit(bt_recom1_);

    // The ordered-count badge on the list button's corner.
    const ui::Rect list = bt_dishl_->frame();
    iv_yuan_ = kit::pictureView(v, {list.x() + list.width() - 22, list.y() - 12, 28, 18}, "1-46.png");
    iv_yuan_->setUserInteractionEnabled(false);
    lb_dln_ = kit::label(v, iv_yuan_->frame(), "", kit::smallFont(), ui::TextAlignment::Center, kit::kOnDark);
    iv_yuan_->setAlpha(0);
    lb_dln_->setAlpha(0);
}

void UISelectCaipViewController::viewDidLoad() {
    // The screen draws its own bar behind the search field.
    for (auto& sub : caipSearchBar_->subviews())
        if (std::string(sub->className()) == "UISearchBarBackground") {
            sub->removeFromSuperview();
            break;
        }
    ui::ViewController::viewDidLoad();
}

void UISelectCaipViewController::viewDidUnload() {
    caipTable_.reset();
    caipSearchBar_.reset();
    bt_recom_.reset();
    bt_daily_.reset();
    bt_recom1_.reset();
    bt_daily1_.reset();
    bt_next_.reset();
    bt_last_.reset();
    bt_otherFun_.reset();
    bt_dishl_.reset();
    bt_back_.reset();
    iv_yuan_.reset();
    lb_dln_.reset();
    nowCplb_.reset();
}

bool UISelectCaipViewController::isSubViewShow(bool) {
    if (caipSearchBar_) caipSearchBar_->resignFirstResponder();
    return false;
}

// ---- Refresh and table -----------------------------------------------------------------------

const std::vector<std::shared_ptr<NSCaipClass>>* UISelectCaipViewController::dishes() const {
    return nowCplb_ ? &nowCplb_->caips : nullptr;
}

int UISelectCaipViewController::dishCount() const {
    auto* list = dishes();
    return list ? static_cast<int>(list->size()) : 0;
}

void UISelectCaipViewController::flashCaip() {
    view();
    caipTable_->reloadData();

    const bool special = nowCplb_ && nowCplb_->cplb && nowCplb_->cplb->m_strUid.empty();
    const std::string name = special ? nowCplb_->cplb->m_strCtname : "";
    bt_recom_->setAlpha(name == kSpecialities ? 1.0 : 0.02);
    bt_daily_->setAlpha(name == kNewDishes && name != kSpecialities ? 1.0 : 0.02);

    auto desk = NSServer::getNowDesk();
    if (type_ != kSetMealAdd && desk && !desk->m_DishList.empty()) {
        desk->GetAllDishPrice();
        iv_yuan_->setAlpha(1);
        lb_dln_->setAlpha(1);
        lb_dln_->setText(platform::fmt("%i", desk->m_iCaipCount));
    } else {
        iv_yuan_->setAlpha(0);
        lb_dln_->setAlpha(0);
        lb_dln_->setText("");
    }
}

int UISelectCaipViewController::numberOfSections(ui::TableView& table) {
    caipViewCells_.clear();
    table.setSeparatorStyle(ui::TableView::SeparatorStyle::SingleLine);
    return 1;
}

int UISelectCaipViewController::numberOfRows(ui::TableView&, int) {
    const int n = dishCount();
    int rows = n;
    if (ShowType_ == kPictureGrid) rows = NSServer::getIsHengB() ? (n + 2) / 3 : (n + 1) / 2;
    return std::max(rows, 1);
}

double UISelectCaipViewController::heightForRow(ui::TableView&, const ui::IndexPath&) {
    const bool landscape = NSServer::getIsHengB();
    switch (ShowType_) {
    case kPictureGrid: return landscape ? 280 : 136;
    case kPictureList: return landscape ? 190 : 200;
    default: return 40;
    }
}

std::shared_ptr<ui::TableViewCell> UISelectCaipViewController::cellForRow(ui::TableView&, const ui::IndexPath& path) {
    return buildRow(path.row, NSServer::getIsHengB());
}

void UISelectCaipViewController::didSelectRow(ui::TableView&, const ui::IndexPath&) { isSubViewShow(false); }

int UISelectCaipViewController::rowOfTile(int index) const {
    if (ShowType_ == kPictureGrid) return index / (NSServer::getIsHengB() ? 3 : 2);
    return index;
}

std::shared_ptr<NSCaipViewCell> UISelectCaipViewController::tileAt(int index) const {
    for (const auto& tile : caipViewCells_)
        if (tile->num == index) return tile;
    return nullptr;
}

ui::Rect UISelectCaipViewController::tilePictureRect(int index, const ui::Rect& frame) const {
    const ui::Rect row = caipTable_->rectForRow({0, rowOfTile(index)});
    const ui::Rect table = caipTable_->frame();
    return {frame.x() + row.x() + table.x(), frame.y() + row.y() + table.y() - caipTable_->contentOffset().y,
            frame.width(), frame.height()};
}

// ---- Paging ----------------------------------------------------------------------------------

void UISelectCaipViewController::nextPage() {
    menu::announce("nextpage", "");
    const int step = nextStep(ShowType_, NSServer::getIsHengB());
    const auto topPath = caipTable_->indexPathForRowAt(caipTable_->contentOffset());
    const int top = topPath ? topPath->row : 0;
    const int rows = caipTable_->numberOfRows(0);
    int target = top + step;
    if (target > rows - step) target = rows - step;
    if (target >= 0) caipTable_->scrollToRow({topPath ? topPath->section : 0, target}, ui::ScrollPosition::Top, true);
}

void UISelectCaipViewController::lastPage() {
    menu::announce("lastpage", "");
    const auto topPath = caipTable_->indexPathForRowAt(caipTable_->contentOffset());
    const int top = topPath ? topPath->row : 0;
    const int target = std::max(0, top - lastStep(ShowType_));
    caipTable_->scrollToRow({topPath ? topPath->section : 0, target}, ui::ScrollPosition::Top, true);
}

// ---- Transitions -----------------------------------------------------------------------------

void UISelectCaipViewController::pageCurl() {
    menu::beginAnimation(*this, "page", 0.75);
    ui::Animation::setCurve(ui::Animation::Curve::EaseInOut);
    ui::Animation::setTransition(ui::Animation::Transition::CurlUp, *view(), true);
    ui::Animation::commit();
}

void UISelectCaipViewController::animationFinish(const std::optional<std::string>& name, bool) {
    const std::string n = name.value_or("");
    if (n == "showBigCaip") {
        if (rootController_) {
            if (type_ == kSetMealAdd) rootController_->bom_showBigCaip();
            else rootController_->showBigCaip();
        }
    } else if (n == "BigCaipBack") {
        if (showCaipIV_) showCaipIV_->removeFromSuperview();
        showCaipIV_.reset();
    } else if (auto fly = bufferImageVS_.find(platform::leadingInt(n)); fly != bufferImageVS_.end() &&
                                                                        std::to_string(fly->first) == n) {
        // A flown picture has done its work: it leaves the screen at once.
        fly->second->removeFromSuperview();
        bufferImageVS_.erase(fly);
    }
    canTouch_ = true;
}

// ---- Display modes ---------------------------------------------------------------------------

void UISelectCaipViewController::switchMode(int mode) {
    ShowType_ = mode;
    flashCaip();
    canTouch_ = false;
    pageCurl();
    if (mode == kTextList) platform::fs::writeAtomically(noPictureMarkerPath(), "");
    else if (mode == kPictureGrid) platform::fs::remove(noPictureMarkerPath());
}

void UISelectCaipViewController::showNoPig() { switchMode(kTextList); }
void UISelectCaipViewController::show6Pig() { switchMode(kPictureGrid); }
void UISelectCaipViewController::showListPig() { switchMode(kPictureList); }

// ---- Categories ------------------------------------------------------------------------------

void UISelectCaipViewController::changeCplbFlash() {
    isSubViewShow(false);
    canTouch_ = false;
    const auto oldId = categoryId(nowCplb_);
    loadNowCplb();
    flashCaip();
    const auto newId = categoryId(nowCplb_);
    if (oldId && newId && *oldId == *newId) {
        animationFinish(std::string("page"), true);
        return;
    }
    NSServer().playSound("TURNPAGE");
    menu::announce("leib", newId.value_or(""));
    pageCurl();
    caipTable_->scrollToRow({0, 0}, ui::ScrollPosition::Top, false);
}

void UISelectCaipViewController::loadNowCplb() {
    auto db = NSServer::getCaipDB();
    if (!db || !cplbController_) return;
    const int sub = cplbController_->subCplbCount();
    const int sup = cplbController_->supCplbCount();
    auto at = [](const NSCplbTreeList& list, int k) -> std::shared_ptr<NSCplbTreeClass> {
        return k >= 0 && k < static_cast<int>(list.size()) ? list[k] : nullptr;
    };
    int newSup = sup, newSub = sub;
    if (auto tree = NSServer::getUseCplbTree()) {
        nowCplb_ = db->isOneLevel ? nullptr : at(tree->subCplbTrees, sub);
        newSup = 0;
        if (db->isOneLevel) newSub = 0;
    } else if (db->isOneLevel) {
        nowCplb_ = at(db->rootCplbTrees, sub);
        newSup = sub;
        newSub = 0;
    } else if (auto top = at(db->rootCplbTrees, sup); top && top->subCplbTrees.empty()) {
        nowCplb_ = top;
        newSub = 0;
    } else {
        nowCplb_ = top ? at(top->subCplbTrees, sub) : nullptr;
    }
    cplbController_->setSupCplbCount(newSup);
    cplbController_->setSubCplbCount(newSub);
}

// ---- Special lists and search ----------------------------------------------------------------

void UISelectCaipViewController::showSpecialList(const std::string& file, const std::string& name,
                                                 const std::string& screenKey) {
    auto node = std::make_shared<NSCplbTreeClass>();
    node->cplb = std::make_shared<NSCplbClass>();
    node->cplb->m_strCtname = name;

    std::vector<std::string> codes;
    auto bytes = platform::fs::readAll(platform::fs::join(NSServer::getDataPath(), file), kMaxSpecialList);
    if (auto doc = bytes ? GDataXMLDocument::initWithDataOptionsError(*bytes, 0, nullptr) : nullptr) {
        if (auto root = doc->rootElement()) {
            auto data = root->elementsForName("data");
            if (data && !data->empty()) {
                if (auto rows = data->front()->elementsForName("row"))
                    for (auto& row : *rows)
                        if (auto code = row->attributeForName("code")) codes.push_back(code->stringValue().value_or(""));
            }
        }
    }
    // One walk over the menu finds the dishes of every listed code, in menu order per code.
    if (auto db = NSServer::getCaipDB(); db && !codes.empty()) {
        std::unordered_map<std::string, std::vector<std::shared_ptr<NSCaipClass>>> byId;
        const std::unordered_set<std::string> wanted(codes.begin(), codes.end());
        for (const auto& dish : db->m_CaipArray)
            if (wanted.count(dish->strID())) byId[dish->strID()].push_back(dish);
        for (const auto& code : codes)
            if (auto found = byId.find(code); found != byId.end())
                node->caips.insert(node->caips.end(), found->second.begin(), found->second.end());
    }
    nowCplb_ = node;
    flashCaip();
    menu::announce(screenKey, "");
    pageCurl();
}

void UISelectCaipViewController::showDailynew() { showSpecialList("Dailynew.dat", kNewDishes, "dailynew"); }
void UISelectCaipViewController::showRecommend() { showSpecialList("Recommend.dat", kSpecialities, "recommend"); }

void UISelectCaipViewController::quickSearch(const std::string& text) {
    auto node = std::make_shared<NSCplbTreeClass>();
    if (auto db = NSServer::getCaipDB()) db->GetCaipArrayBySQCode(text, node->caips);
    nowCplb_ = node;
    flashCaip();
    // A result starts at its top, wherever the list it replaces was scrolled to.
    caipTable_->scrollToRow({0, 0}, ui::ScrollPosition::Top, false);
}

void UISelectCaipViewController::searchBarTextDidChange(ui::SearchBar&, const std::string& text) {
    if (text.empty()) return;
    if (ShowType_ != kTextList) showNoPig();
    quickSearch(text);
}

void UISelectCaipViewController::searchBarSearchButtonClicked(ui::SearchBar& bar) {
    bar.resignFirstResponder();
    const std::string text = bar.text();
    if (!text.empty() && ShowType_ != kTextList) showNoPig();
    quickSearch(text);
}

// ---- Function menu and alerts ----------------------------------------------------------------

void UISelectCaipViewController::otherFun() {
    auto alert = std::make_shared<ui::AlertView>(std::string("功能菜单"), std::string("请选择你想操作的功能"), this,
                                                 std::string("取消"), std::vector<std::string>{"查看沽清", "查看报表"});
    alert->setTag(kFunctionMenuTag);
    alert->show();
}

void UISelectCaipViewController::alertViewClickedButtonAtIndex(ui::AlertView& alert, int buttonIndex) {
    NSServer::setIsShowAlert(false);
    if (alert.tag() == kFunctionMenuTag) {
        if (buttonIndex == 1) {
            NSDeskClass desk;
            if (NSServer().XRefreshDishList(desk)) {
                if (rootController_) rootController_->showSellOutList();
                caipTable_->reloadData();
            }
        } else if (buttonIndex == 2) {
            if (rootController_) rootController_->showWebSearch();
        }
    } else if (alert.tag() == kReAddTag && buttonIndex == 1) {
        auto tile = tileAt(bufferButtonTag_);
        selCaip(bufferButtonTag_, tile ? tile->cappicIV : nullptr);
    }
}

// ---- Leaving ---------------------------------------------------------------------------------

void UISelectCaipViewController::dishlist() {
    isSubViewShow(false);
    if (!canTouch_ || !rootController_) return;
    if (type_ == kSetMealAdd) rootController_->bomAddCaipBack();
    else rootController_->dishlist();
}

void UISelectCaipViewController::backToWel() {
    isSubViewShow(false);
    if (!rootController_) return;
    if (type_ == kSetMealAdd) rootController_->bomAddCaipBack();
    else rootController_->backToWel();
}

// ---- The detail view -------------------------------------------------------------------------

void UISelectCaipViewController::showBigCai(int tag) {
    if (!canTouch_) return;
    auto* list = dishes();
    if (!list || tag < 0 || tag >= static_cast<int>(list->size())) return;
    canTouch_ = false;
    auto dish = (*list)[tag];
    if (menu::refuseCustomDish(*dish, this)) {
        canTouch_ = true;
        return;
    }
    auto tile = tileAt(tag);
    if (showCaipIV_) showCaipIV_->removeFromSuperview();
    showCaipIV_ = std::make_shared<ui::ImageView>(tile ? tile->cappicIV->image() : nullptr);
    showCaipIV_->setTag(tag);
    const ui::Rect start = tile ? tile->cappicIV->frame() : ui::Rect{};

    bool zoom = ShowType_ != kTextList;
    if (!zoom) isSubViewShow(false);
    if (rootController_) {
        if (type_ == kSetMealAdd) rootController_->bom_showBigCaip1(dish);
        else if (!rootController_->showBigCaip1(dish)) zoom = false;
    }
    if (!zoom) {
        animationFinish(std::string("showBigCaip"), true);
    } else {
        showCaipIV_->setFrame(tilePictureRect(tag, start));
        view()->addSubview(showCaipIV_);
        const auto image = showCaipIV_->image();
        menu::beginAnimation(*this, "showBigCaip", 0.4);
        showCaipIV_->setFrame(NSStaticUnit::getCaipICGRect(image ? image->size() : ui::Size{},
                                                           UICaipViewController::kPictureArea));
        ui::Animation::commit();
    }
    caipSearchBar_->setText("");
}

void UISelectCaipViewController::bigCaiBack(bool) {
    auto tile = showCaipIV_ ? tileAt(showCaipIV_->tag()) : nullptr;
    if (!tile) {
        if (showCaipIV_) showCaipIV_->removeFromSuperview();
        showCaipIV_.reset();
    } else if (ShowType_ == kTextList) {
        showCaipIV_->removeFromSuperview();
        showCaipIV_.reset();
        canTouch_ = true;
    } else {
        const ui::Rect target = tilePictureRect(showCaipIV_->tag(), tile->cappicIV->frame());
        menu::beginAnimation(*this, "BigCaipBack", 0.4);
        showCaipIV_->setFrame(target);
        ui::Animation::commit();
    }
    flashCaip();
}
