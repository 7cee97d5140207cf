#include "screens/orderlist/DishLineRow.h"

#include "core/NSServer.h"
#include "model/NSCaipClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDishClass.h"
#include "platform/foundation/Text.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableViewCell.h"
#include "screens/kit/ScreenKit.h"
#include "screens/kit/ScreenRoot.h"
#include "screens/orderlist/OrderListRules.h"

namespace kit {

namespace {
constexpr ui::Color kGrey{0.392, 0.392, 0.392, 1};
constexpr ui::Color kRed{1, 0, 0, 1};
}  // namespace

std::shared_ptr<ui::TableViewCell> dishLineCell(const NSDishClass& line, int row, double height, double pictureY) {
    auto cell = std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::Default, "");
    cell->setSelectionStyle(ui::TableViewCell::SelectionStyle::None);
    ui::View& content = *cell->contentView();
    const ui::Color color = line.m_iState == NSDishClass::kVoid ? kRed : kGrey;

    std::string taste = line.isUnsent() ? line.GetKouwShulString() : line.m_strKouw;
    std::string name = line.m_strCaipName;
    auto db = NSServer::getCaipDB();
    auto dish = db && line.m_strCaipID ? db->GetCaipFromID(*line.m_strCaipID) : nullptr;
    // A custom dish carries its free-text requirement as its name.
    if (dish && dish->m_bCustom && !line.GetKouwDefine().empty()) {
        name = taste;
        taste.clear();
    }

    auto column = [&](double x, double width, const std::string& text, ui::TextAlignment alignment,
                      const ui::Color& textColor) {
        return label(content, {x, 0, width, height}, text, ui::Font::boldSystemFont(14), alignment, textColor);
    };
    const bool groupItem = line.m_bisExp && !line.m_bisSet;
    column(0, 18, groupItem ? "--" : platform::fmt("%i", row + 1), ui::TextAlignment::Center, kGrey);
    if (const char* icon = orderlist::servingModePicture(line.m_iType)) pictureView(content, {18, pictureY, 18, 18}, icon);
    column(36, 125, taste.empty() ? name : platform::fmt("%@,%@", name, taste), ui::TextAlignment::Left, color)
        ->setNumberOfLines(2);
    column(161, 45, platform::fmt(line.m_iVarQty != 0 ? "约%g%@" : "%g%@", line.m_fQuantity, line.m_strUnits),
           ui::TextAlignment::Right, color);
    column(206, 45, platform::fmt("%g", line.GetPrice()), ui::TextAlignment::Right, color);
    const char* state = orderlist::stateWord(line.m_iState);
    column(251, 50, state ? ScreenRoot::word(state) : std::string(), ui::TextAlignment::Right, color);
    return cell;
}

}  // namespace kit
