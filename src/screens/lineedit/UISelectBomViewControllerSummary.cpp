// The set-meal chooser's summary page: the merged items with their quantity, cooking methods and
// tastes, the tastes of all items at once, the number of sets, and the commit of the set line
// with its items to the current desk as one line group.

#include <algorithm>

#include "core/NSServer.h"
#include "model/NSATreeClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "platform/foundation/Text.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/TableViewCell.h"
#include "screens/kit/ScreenKit.h"
#include "screens/kit/UINumViewController.h"
#include "screens/kit/UISelectViewController.h"
#include "screens/lineedit/LineEditKit.h"
#include "screens/lineedit/UISelectBomViewController.h"

using lineedit::word;

std::shared_ptr<NSDishClass> UISelectBomViewController::lineAt(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= allSelectDishs.size()) return nullptr;
    return allSelectDishs[static_cast<std::size_t>(row)];
}

int UISelectBomViewController::numberOfRows(ui::TableView&, int) { return static_cast<int>(allSelectDishs.size()); }

std::shared_ptr<ui::TableViewCell> UISelectBomViewController::cellForRow(ui::TableView&, const ui::IndexPath& path) {
    auto line = lineAt(path.row);
    auto cell = std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::Default, "SimpleTableIdentifier");
    cell->setSelectionStyle(ui::TableViewCell::SelectionStyle::None);
    if (!line) return cell;
    ui::View& content = *cell->contentView();
    const std::string tastes = line->isUnsent() ? line->GetKouwShulString() : line->m_strKouw;
    const std::string text = tastes.empty() ? line->m_strCaipName : platform::fmt("%@,%@", line->m_strCaipName, tastes);
    if (isHeader(*line)) {
        kit::label(content, {10, 0, 250, 30}, text, ui::Font::systemFont(16));
        cell->setBackgroundView(std::make_shared<ui::ImageView>(kit::picture("2-130.png")));
        return cell;
    }
    kit::label(content, {0, 0, 165, 30}, text, ui::Font::systemFont(14));
    const int row = path.row;
    auto quantity = std::make_shared<ui::Button>(ui::Button::Type::Custom, ui::Rect{165, 0, 40, 30});
    quantity->setTitle(platform::fmt("%g%@", line->m_fQuantity, line->m_strUnits));
    quantity->setTitleFont(ui::Font::systemFont(14));
    quantity->setTitleColor(ui::Color::rgb(0, 0, 0));
    quantity->setTag(row);
    quantity->addTarget(ui::ControlEvent::TouchUpInside, [this, row](ui::Control&) { onButtonShul(row); });
    content.addSubview(quantity);
    struct Action {
        double x;
        const char* title;
        void (UISelectBomViewController::*act)(int);
    } actions[] = {{205, "做法", &UISelectBomViewController::listzuof}, {244, "口味", &UISelectBomViewController::listkouw}};
    for (const Action& a : actions) {
        auto b = std::make_shared<ui::Button>(ui::Button::Type::Custom, ui::Rect{a.x, 3, 38, 24});
        b->setTitle(std::string(a.title));
        b->setBackgroundImage(kit::picture("2-16.png"));
        b->setTitleFont(ui::Font::systemFont(14));
        b->setTitleColor(kit::kInk);
        b->setTag(row);
        auto act = a.act;
        b->addTarget(ui::ControlEvent::TouchUpInside, [this, row, act](ui::Control&) { (this->*act)(row); });
        content.addSubview(b);
    }
    return cell;
}

// ---- an item's quantity, methods and tastes ----------------------------------------------------

void UISelectBomViewController::onButtonShul(int row) {
    // Items of a priced set meal come at the set's price: their quantities are fixed.
    if (!m_dish_ || m_dish_->GetPrice() != 0) return;
    auto line = lineAt(row);
    if (!line || numController || selectViewController) return;
    m_zuofdish = line;
    // The pad's tag is not set: it is the only pad of the summary.
    numController = lineedit::openPad(this, *view(), 0, lineedit::numberText(line->m_fQuantity), std::string(), false,
                                      lineedit::screenRect(rootController_));
}

void UISelectBomViewController::NumDlgOk() {
    if (!numController) return;
    if (m_zuofdish) m_zuofdish->m_fQuantity = static_cast<float>(platform::leadingDouble(numController->m_strNum));
    tv_list->reloadData();
    NumDlgCancel();
}

void UISelectBomViewController::listzuof(int row) {
    auto line = lineAt(row);
    if (!line) return;
    m_zuofdish = line;
    m_zuofs = lineedit::cookingMethodTree(*line);
    openPicker(m_zuofs, kItemMethods, line->m_iMultizuof != 0, line->GetKouwDefine(), "请选择做法!");
}

void UISelectBomViewController::listkouw(int row) {
    auto line = lineAt(row);
    auto db = NSServer::getCaipDB();
    if (!line || !db || !db->m_kouws) return;
    m_zuofdish = line;
    lineedit::markTastesFrom(*line, *db->m_kouws);
    auto copy = std::make_shared<NSATreeClass>();
    copy->copy(*db->m_kouws);
    openPicker(copy, kItemTastes, true, line->GetKouwDefine(),
               lineedit::wordFormat("caipf6", {m_dish_ ? m_dish_->m_strCaipName : std::string()}));
}

void UISelectBomViewController::onButtonAllKouw() {
    auto db = NSServer::getCaipDB();
    if (!db || !db->m_kouws) return;
    NSATreeClass& tastes = *db->m_kouws;
    tastes.ClearAllCheck();
    m_allKouws.clear();
    std::vector<std::shared_ptr<NSDishClass>> items;
    for (auto& line : allSelectDishs)
        if (!isHeader(*line)) items.push_back(line);
    // Only tastes every item holds are common; with no items there is nothing in common.
    for (int i = 0; !items.empty() && i < lineedit::rowsOf(tastes); ++i) {
        const std::string& code = tastes.m_code[static_cast<std::size_t>(i)];
        if (std::all_of(items.begin(), items.end(), [&](const auto& line) { return line->FindKouwID(code); })) {
            tastes.m_uint[static_cast<std::size_t>(i)] = 1;
            m_allKouws.push_back(code);
        }
    }
    openPicker(db->m_kouws, kAllTastes, true, std::string(), word("dishl51"));
}

void UISelectBomViewController::SelectDlgOk() {
    if (!selectViewController) return;
    const UISelectViewController& picker = *selectViewController;
    auto db = NSServer::getCaipDB();
    const std::string writeText = picker.m_writeText;
    switch (picker.m_tag) {
    case kItemMethods:
        if (m_zuofdish && picker.m_tree) {
            lineedit::takeMarks(*m_zuofdish, *picker.m_tree);
            lineedit::replaceFreeText(*m_zuofdish, db.get(), writeText);
        }
        break;
    case kItemTastes:
        if (m_zuofdish && db && db->m_kouws && picker.m_tree) {
            db->m_kouws->copy(*picker.m_tree);
            lineedit::takeMarks(*m_zuofdish, *db->m_kouws);
            lineedit::replaceFreeText(*m_zuofdish, db.get(), writeText);
            m_zuofdish->CreateKouwString();
        }
        break;
    case kAllTastes:
        if (db && db->m_kouws) {
            const NSATreeClass& tastes = *db->m_kouws;
            for (auto& line : allSelectDishs) {
                if (line->m_iState != NSDishClass::kUnsent || isHeader(*line)) continue;
                // An unchecked common taste leaves every item; checked ones come back below.
                std::erase_if(line->m_KouwArray, [&](const std::string& entry) {
                    return std::find(m_allKouws.begin(), m_allKouws.end(), entry) != m_allKouws.end();
                });
                for (int i = 1; i < lineedit::rowsOf(tastes); ++i)
                    if (tastes.m_uint[static_cast<std::size_t>(i)] == 1)
                        line->AddKouwID(tastes.m_code[static_cast<std::size_t>(i)] + ",");
                db->m_strSpec = writeText;
                // A single blank asks to take every item's free text away.
                if (writeText == " ") {
                    line->DelKouwID(line->GetKouwDefine());
                    db->m_strSpec.clear();
                }
                line->AddKouwID(db->m_strSpec + ",");
                line->CreateKouwString();
            }
        }
        break;
    default:
        // A pick's cooking methods: the pick joins the group with the checked ones.
        if (m_zuofdish && picker.m_tree) {
            const NSATreeClass& tree = *picker.m_tree;
            for (int i = 1; i < lineedit::rowsOf(tree); ++i)
                if (tree.m_uint[static_cast<std::size_t>(i)] == 1)
                    m_zuofdish->AddKouwID(tree.m_code[static_cast<std::size_t>(i)] + ",");
            nowSelectDishs.push_back(m_zuofdish);
            showhasSelect();
        }
        SelectDlgCancel();
        return;
    }
    tv_list->reloadData();
    SelectDlgCancel();
}

// ---- number of sets and the commit ---------------------------------------------------------------

void UISelectBomViewController::setCount(float count) {
    bomQuantity = std::max(1.0f, count);
    if (bomQ_L) bomQ_L->setText(platform::fmt("%.0f", bomQuantity));
}

void UISelectBomViewController::QuantityAdd() { setCount(bomQuantity + 1); }
void UISelectBomViewController::QuantityAdd5() { setCount(bomQuantity + 5); }
void UISelectBomViewController::QuantityDel() { setCount(bomQuantity - 1 <= 0 ? 1 : bomQuantity - 1); }
void UISelectBomViewController::QuantityDel5() { setCount(bomQuantity - 5 <= 0 ? 1 : bomQuantity - 5); }

void UISelectBomViewController::onOk() {
    if (!m_dish_) return;
    auto desk = NSServer::getNowDesk();
    auto& lines = desk->m_DishList;
    NSDishClass& set = *m_dish_;
    set.m_bisSet = true;
    set.m_bisExp = true;
    set.m_struid = "-1";
    set.m_iState = NSDishClass::kUnsent;
    set.m_parentpos = static_cast<int>(lines.size());
    set.m_fQuantity *= bomQuantity;
    lines.push_back(m_dish_);
    for (auto& item : allSelectDishs) {
        if (isHeader(*item)) continue;
        item->m_fQuantity *= bomQuantity;
        item->m_parentpos = set.m_parentpos;
        item->m_bisExp = true;
        item->m_bisSet = false;
        item->m_struid = "-1";
        item->m_iState = NSDishClass::kUnsent;
        lines.push_back(item);
    }
    NSServer::saveSelectDish0();
    onCancel();
}
