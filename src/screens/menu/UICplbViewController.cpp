#include "screens/menu/UICplbViewController.h"

#include "core/NSServer.h"
#include "model/NSCaipDBClass.h"
#include "model/NSCplbTreeClass.h"
#include "platform/ui/TableViewCell.h"
#include "screens/kit/ScreenKit.h"
#include "screens/menu/MenuKit.h"
#include "screens/menu/UISelectCaipViewController.h"

namespace {

constexpr ui::Color kRowText = ui::Color::rgb(81, 88, 88);
// Above the header's chevron, which begins 28 points down the 40-point header.
constexpr double kHeaderNameHeight = 28;

std::string nameOf(const std::shared_ptr<NSCplbTreeClass>& node) {
    return node && node->cplb ? node->cplb->m_strCtname : "";
}

const NSCplbTreeList& topLevel() {
    static const NSCplbTreeList empty;
    auto db = NSServer::getCaipDB();
    return db ? db->rootCplbTrees : empty;
}

std::shared_ptr<ui::Label> rowLabel(const ui::Rect& frame, const std::string& text, double size, ui::Color color) {
    auto label = std::make_shared<ui::Label>(frame);
    label->setText(text);
    label->setTextColor(color);
    label->setFont(ui::Font::boldSystemFont(size));
    label->setNumberOfLines(2);
    label->setTextAlignment(ui::TextAlignment::Left);
    label->setUserInteractionEnabled(false);
    return label;
}

}  // namespace

UICplbViewController::UICplbViewController(std::string nibName) : ui::ViewController(std::move(nibName)) {
    selectImageView_ = std::make_shared<ui::ImageView>(kit::picture(kit::interfacePicture(110)));
    selectImageView_->setUserInteractionEnabled(false);
    selectLabel_ = rowLabel({10, 0, 55, 40}, "", 12, ui::Color{73 / 225.0, 86 / 225.0, 119 / 225.0, 1});
}

UICplbViewController::~UICplbViewController() {
    if (cplbTable_) {
        cplbTable_->setDataSource(nullptr);
        cplbTable_->setTableDelegate(nullptr);
    }
}

UICplbViewController::Mode UICplbViewController::mode() {
    auto db = NSServer::getCaipDB();
    const bool oneLevel = db && db->isOneLevel;
    if (NSServer::getUseCplbTree()) return oneLevel ? Mode::RestrictedOneLevel : Mode::Restricted;
    return oneLevel ? Mode::OneLevel : Mode::TwoLevels;
}

void UICplbViewController::loadView() {
    imageDown_ = kit::picture(kit::interfacePicture(120));
    imageDown2_ = kit::picture(kit::interfacePicture(121));
    imageDown3_ = kit::picture(kit::interfacePicture(111));
    // The table is the column itself, so it takes the whole height the dish menu gives the
    // column, and scrolls where the open categories need more.
    cplbTable_ = std::make_shared<ui::TableView>(ui::Rect{0, 0, 65, 321});
    cplbTable_->setBackgroundColor(kit::kPanel);
    cplbTable_->setDataSource(this);
    cplbTable_->setTableDelegate(this);
    cplbTable_->setSeparatorStyle(ui::TableView::SeparatorStyle::None);
    setView(cplbTable_);
}

void UICplbViewController::viewDidUnload() {
    cplbTable_.reset();
    imageDown_.reset();
    imageDown2_.reset();
    imageDown3_.reset();
}

int UICplbViewController::numberOfSections(ui::TableView&) {
    switch (mode()) {
    case Mode::OneLevel:
    case Mode::Restricted: return 1;
    case Mode::RestrictedOneLevel: return 0;
    case Mode::TwoLevels: break;
    }
    // One open flag per top-level category; a synchronisation may have changed their number, so
    // the list follows it (new categories start closed).
    sections_isopen_.resize(topLevel().size(), 0);
    return static_cast<int>(topLevel().size());
}

int UICplbViewController::numberOfRows(ui::TableView&, int section) {
    switch (mode()) {
    case Mode::OneLevel: return static_cast<int>(topLevel().size());
    case Mode::Restricted: return static_cast<int>(NSServer::getUseCplbTree()->subCplbTrees.size());
    case Mode::RestrictedOneLevel: return 0;
    case Mode::TwoLevels: break;
    }
    if (section < 0 || section >= static_cast<int>(topLevel().size())) return 0;
    if (section >= static_cast<int>(sections_isopen_.size()) || sections_isopen_[section] != 1) return 0;
    const auto& subs = topLevel()[section]->subCplbTrees;
    return subs.empty() ? 1 : static_cast<int>(subs.size());
}

std::string UICplbViewController::rowName(int section, int row) {
    const auto& top = topLevel();
    auto at = [](const NSCplbTreeList& list, int k) -> std::shared_ptr<NSCplbTreeClass> {
        return k >= 0 && k < static_cast<int>(list.size()) ? list[k] : nullptr;
    };
    switch (mode()) {
    case Mode::OneLevel: return nameOf(at(top, row));
    case Mode::Restricted: return nameOf(at(NSServer::getUseCplbTree()->subCplbTrees, row));
    case Mode::RestrictedOneLevel: return "";
    case Mode::TwoLevels: break;
    }
    auto node = at(top, section);
    if (!node) return "";
    return node->subCplbTrees.empty() ? nameOf(node) : nameOf(at(node->subCplbTrees, row));
}

std::shared_ptr<ui::TableViewCell> UICplbViewController::cellForRow(ui::TableView&, const ui::IndexPath& path) {
    auto cell = std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::Default, "");
    cell->setSelectionStyle(ui::TableViewCell::SelectionStyle::None);
    const std::string name = rowName(path.section, path.row);
    auto button = std::make_shared<ui::Button>(ui::Button::Type::Custom, ui::Rect{0, 0, 65, 40});
    if (imageDown3_) button->setBackgroundImage(imageDown3_);
    button->setTag(path.section * kSectionTag + path.row);
    button->setTitle(name);
    // The title is carried for the highlight; the label beneath shows it.
    button->setTitleColor(ui::Color::clearColor());
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    button->addTarget(ui::ControlEvent::TouchDown, [weak](ui::Control& sender) {
        if (auto s = std::static_pointer_cast<UICplbViewController>(weak.lock())) s->didSelectRow(static_cast<ui::Button&>(sender));
    });
    button->addSubview(rowLabel({10, 0, 55, 40}, name, 12, kRowText));
    cell->contentView()->addSubview(button);
    if (button->tag() == selectButtontag_) flashSelect(*button);
    return cell;
}

double UICplbViewController::heightForHeader(ui::TableView&, int) {
    auto db = NSServer::getCaipDB();
    return db && db->isOneLevel ? 0 : 40;
}

std::shared_ptr<ui::View> UICplbViewController::viewForHeader(ui::TableView&, int section) {
    const Mode m = mode();
    if (m == Mode::OneLevel || m == Mode::RestrictedOneLevel) return nullptr;
    const bool open = section < static_cast<int>(sections_isopen_.size()) && sections_isopen_[section] == 1;
    auto header = std::make_shared<ui::Button>(ui::Button::Type::Custom, ui::Rect{0, 0, 65, 45});
    header->setTag(section);
    if (auto picture = open ? imageDown2_ : imageDown_) header->setBackgroundImage(picture);
    header->addTarget(ui::ControlEvent::TouchUpInside, menu::tagAction(*this, &UICplbViewController::onSection));
    if (m == Mode::TwoLevels && section < static_cast<int>(topLevel().size())) {
        const std::string name = nameOf(topLevel()[section]);
        header->setTitle(name);
        header->setTitleColor(ui::Color::clearColor());
        // The header picture draws its chevron in the lower-right corner, where a four-character
        // name ends: the name stands above it.
        header->addSubview(rowLabel({10, 0, 55, kHeaderNameHeight}, name, 13, kRowText));
    }
    return header;
}

void UICplbViewController::onSection(int section) {
    // Without flags (a restricted menu never counts the whole tree) there is nothing to open.
    if (section < 0 || section >= static_cast<int>(sections_isopen_.size())) return;
    for (int i = 0; i < static_cast<int>(sections_isopen_.size()); ++i) {
        if (i == section) continue;
        if (sections_isopen_[i] == 1) sections_isopen_[i] = 0;
        cplbTable_->reloadSections({i}, ui::RowAnimation::None);
    }
    sections_isopen_[section] = sections_isopen_[section] == 0 ? 1 : 0;
    cplbTable_->reloadSections({section}, ui::RowAnimation::Fade);
}

void UICplbViewController::didSelectRow(ui::Button& row) {
    if (!selectCaipController_ || !selectCaipController_->nowCplb() || !selectCaipController_->canTouch()) return;
    if (isSubViewShow(false)) return;
    supCplbCount_ = row.tag() / kSectionTag;
    subCplbCount_ = row.tag() % kSectionTag;
    flashSelect(row);
    selectCaipController_->changeCplbFlash();
}

void UICplbViewController::flashSelect(ui::Button& row) {
    selectButtontag_ = row.tag();
    selectImageView_->setFrame({0, 0, 65, 40});
    row.addSubview(selectImageView_);
    selectLabel_->setFrame({10, 0, 55, 40});
    selectLabel_->setText(row.titleForState(ui::ControlState::Normal).value_or(""));
    row.addSubview(selectLabel_);
}

bool UICplbViewController::isSubViewShow(bool onlyAsk) {
    return selectCaipController_ && !onlyAsk && selectCaipController_->isSubViewShow(false);
}
