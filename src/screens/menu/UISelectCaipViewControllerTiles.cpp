// The rows of the dish table and their tiles: one, two or three tiles a row by display mode and
// orientation, built once per load of the table (a row that comes back into view moves its tiles
// into the new cell), with the quantity badge and the sold-out and remaining-quantity marks.

#include "core/NSServer.h"
#include "core/NSStaticUnit.h"
#include "model/NSCaipClass.h"
#include "online/NSPicCache.h"
#include "platform/ui/TableViewCell.h"
#include "screens/kit/ScreenKit.h"
#include "screens/menu/MenuKit.h"
#include "screens/menu/NSCaipViewCell.h"
#include "screens/menu/UISelectCaipViewController.h"

namespace {

using R = ui::Rect;

// Where the views of a tile go; `none` marks a view the layout leaves out.
struct TileLayout {
    R picture, show, name, ename, price, text, select, cancel, quantity;
    bool hasEName = false, hasText = false, quantityColumn = false, priceLeft = false;
};

constexpr R none{};

// Every price ends where the tile's minus button begins, so no part of it lies under a button.
TileLayout portraitLayout(int mode, int slot) {
    switch (mode) {
    case UISelectCaipViewController::kPictureGrid:
        if (slot == 0)
            return {{1, 0, 126, 94}, none, {1, 94, 125, 20}, none, {1, 115, 65, 20}, none, {96, 115, 30, 20}, {66, 115, 30, 20}, none,
                    false, false, false, true};
        return {{128, 0, 126, 94}, none, {127, 94, 124, 20}, none, {127, 115, 67, 20}, none, {224, 115, 30, 20}, {194, 115, 30, 20},
                none, false, false, false, true};
    case UISelectCaipViewController::kPictureList:
        return {{15, 17, 210, 158}, none, {240, 17, 230, 30}, {475, 17, 150, 30}, {240, 147, 178, 40}, {240, 47, 300, 100},
                {480, 150, 80, 28}, {420, 150, 57, 28}, none, true, true, false, false};
    default:
        return {none, {0, 0, 130, 40}, {2, 0, 115, 40}, none, {115, 0, 64, 40}, none, {224, 10, 30, 20}, {180, 10, 30, 20},
                {210, 0, 15, 40}, false, false, true, false};
    }
}

TileLayout landscapeLayout(int mode, int slot) {
    switch (mode) {
    case UISelectCaipViewController::kPictureGrid: {
        static const double pictureX[] = {10, 307, 595}, nameX[] = {10, 303, 591}, enameX[] = {156, 449, 742},
                            priceX[] = {15, 303, 591}, selectX[] = {190, 483, 776}, cancelX[] = {130, 423, 716};
        return {{pictureX[slot], 12, 259, 195}, none, {nameX[slot], 207, 146, 30}, {enameX[slot], 207, 146, 30},
                {priceX[slot], 237, cancelX[slot] - priceX[slot], 30}, none, {selectX[slot], 237, 80, 28},
                {cancelX[slot], 237, 57, 28}, none, true, false, false, false};
    }
    case UISelectCaipViewController::kPictureList:
        return {{15, 17, 210, 158}, none, {236, 17, 330, 30}, {571, 17, 250, 30}, {236, 147, 200, 40}, {236, 47, 300, 100},
                {740, 150, 80, 28}, {680, 150, 57, 28}, none, true, true, false, false};
    default:
        return {none, {0, 0, 450, 50}, {50, 10, 340, 30}, none, {540, 5, 140, 40}, none, {740, 11, 80, 28}, {680, 11, 57, 28},
                none, false, false, false, false};
    }
}

// The smallest size a price shrinks to in a one-line layout.
constexpr double kSmallestPriceSize = 10;

// The select button of a sold-out dish says so in place of its plus: the word drawn over the
// plus ran into it. The word takes the largest size up to the tile's own that fits the button.
void showSoldOut(ui::Button& select) {
    const std::string word = menu::word("yigq2");
    select.setBackgroundImage(nullptr);
    select.setTitle(word);
    select.setTitleColor(ui::Color::redColor());
    ui::Font font = ui::Font::withName("Helvetica", 13);
    while (font.size > kSmallestPriceSize && ui::measureText(word, font).width > select.frame().width())
        font.size -= 1;
    select.setTitleFont(font);
}

// The sample description of a demo dish without a description file.
constexpr const char* kDemoDescription = "主料:天然龙虾，秘制酱料，鲍鱼汁\r\n口味:鲜香爽口，不油不腻";

// The thumbnail of a dish tile: the picture folder's, a web-menu dish's downloaded picture, the
// demo picture, or the no-picture one.
std::shared_ptr<ui::Image> thumbnail(const NSCaipClass& dish) {
    bool exists = false;
    auto image = menu::folderPicture(dish.strID(), "T.BMP", &exists);
    if (exists) return image;
    if (auto cached = menu::cachedWebPicture(menu::webPictureAddress(dish, "T.BMP")))
        if (auto downloaded = ui::Image::withContentsOfFile(*cached)) return downloaded;
    if (menu::isDemoDish(dish)) return kit::picture(platform::fmt("0%lldt.bmp", menu::idNumber(dish.strID())));
    return kit::picture("nopic1.bmp");
}

// The tile's picture box and the button over it.
void showThumbnail(NSCaipViewCell& tile, const NSCaipClass& dish, const R& box) {
    auto image = NSStaticUnit::createRoundedRectImage(thumbnail(dish), {});
    tile.cappicIV->setImage(image);
    tile.cappicIV->setFrame(NSStaticUnit::getCaipICGRect(image ? image->size() : ui::Size{}, box));
    tile.ShowCaipB->setFrame(tile.cappicIV->frame());
}

}  // namespace

std::shared_ptr<ui::TableViewCell> UISelectCaipViewController::buildRow(int row, bool landscape) {
    auto cell = std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::Default, "SimpleTableIdentifier");
    cell->setSelectionStyle(ui::TableViewCell::SelectionStyle::None);
    std::vector<int> indexes;
    if (ShowType_ == kPictureGrid) {
        const int per = landscape ? 3 : 2;
        for (int k = 0; k < per; ++k) indexes.push_back(per * row + k);
    } else if (ShowType_ == kTextList || ShowType_ == kPictureList) {
        indexes.push_back(row);
    }
    const auto* list = dishes();
    auto& content = *cell->contentView();
    for (std::size_t slot = 0; slot < indexes.size(); ++slot) {
        const int i = indexes[slot];
        if (!list || i >= static_cast<int>(list->size())) break;
        const NSCaipClass& dish = *(*list)[i];
        auto tile = tileAt(i);
        if (!tile) {
            tile = std::make_shared<NSCaipViewCell>();
            tile->num = i;
            caipViewCells_.push_back(tile);
            setUpTile(*tile, dish, static_cast<int>(slot), landscape);
        }
        std::vector<std::shared_ptr<ui::View>> order;
        if (ShowType_ == kPictureGrid) {
            order = {tile->ShowCaipB, tile->cappicIV, tile->nameL};
            if (landscape) order.push_back(tile->eNameL);
            order.push_back(tile->priceL);
            if (landscape) order.insert(order.end(), {tile->cancelCaipB, tile->SelCaipB});
            else order.insert(order.end(), {tile->SelCaipB, tile->cancelCaipB});
        } else if (ShowType_ == kPictureList) {
            order = {tile->SelCaipB, tile->ShowCaipB, tile->textL, tile->cappicIV, tile->nameL, tile->eNameL, tile->priceL,
                     tile->cancelCaipB};
        } else {
            order = {tile->cancelCaipB, tile->SelCaipB, tile->ShowCaipB, tile->nameL};
            if (!landscape) order.push_back(tile->shul_l);
            order.push_back(tile->priceL);
        }
        for (auto& v : order) content.addSubview(v);
        addSelTb(dish, *tile);
    }
    if (landscape && ShowType_ == kTextList && list && row < static_cast<int>(list->size())) {
        auto number = kit::label(content, {10, 10, 50, 30}, platform::fmt("%i.", row + 1), ui::Font::systemFont(17));
        number->setTextColor(ui::Color::blackColor());
    }
    return cell;
}

void UISelectCaipViewController::setUpTile(NSCaipViewCell& tile, const NSCaipClass& dish, int slot, bool landscape) {
    const TileLayout at = landscape ? landscapeLayout(ShowType_, slot) : portraitLayout(ShowType_, slot);
    const int index = tile.num;
    auto wire = [this](ui::Button& button, void (UISelectCaipViewController::*op)(int)) {
        button.removeAllTargets();
        button.addTarget(ui::ControlEvent::TouchUpInside, menu::tagAction(*this, op));
    };
    void (UISelectCaipViewController::*show)(int) = &UISelectCaipViewController::showBigCai;
    void (UISelectCaipViewController::*select)(int) = &UISelectCaipViewController::selCaip;
    void (UISelectCaipViewController::*cancel)(int) = &UISelectCaipViewController::cancelCaip;

    const std::string price = platform::fmt("%@%@/%@", dish.m_strPrice, menu::word("yuan"), dish.m_strDanw);
    tile.nameL->setText(dish.m_strName);
    tile.priceL->setText(price);
    if (at.priceLeft) tile.priceL->setTextAlignment(ui::TextAlignment::Left);

    if (ShowType_ == kTextList) {
        tile.ShowCaipB->setFrame(at.show);
        tile.shul_l->setFrame(at.quantity);
        if (!landscape) {
            tile.shul_l->setText(platform::fmt("%g", static_cast<double>(menu::unsentQuantity(dish.strID()))));
            tile.shul_l->setTextColor(ui::Color::blackColor());
            tile.shul_l->setFont(ui::Font::withName("Helvetica", 13));
        }
    } else {
        showThumbnail(tile, dish, at.picture);
        fetchTilePicture(menu::webPictureAddress(dish, "T.BMP"));
        if (at.hasEName) tile.eNameL->setText(dish.m_strName2);
        if (at.hasText) {
            std::string text;
            if (auto file = menu::folderDescription(dish.strID())) text = *file;
            else if (menu::isDemoDish(dish)) text = kDemoDescription;
            tile.textL->setText(text);
            tile.textL->setFrame(at.text);
        }
        tile.eNameL->setFrame(at.ename);
    }
    tile.nameL->setFrame(at.name);
    tile.priceL->setFrame(at.price);
    // A marked price ("298元/斤(已沽清)") is long for the narrow layouts: it shows whole on two
    // lines where the row has room for them, in a smaller font where it has one.
    const bool twoLines = at.price.height() >= 2 * tile.priceL->font().lineHeight();
    tile.priceL->setNumberOfLines(twoLines ? 2 : 1);
    tile.priceL->setAdjustsFontSizeToFitWidth(!twoLines);
    tile.priceL->setMinimumFontSize(kSmallestPriceSize);
    tile.SelCaipB->setFrame(at.select);
    tile.cancelCaipB->setFrame(at.cancel);
    for (auto* b : {tile.ShowCaipB.get(), tile.SelCaipB.get(), tile.cancelCaipB.get()}) b->setTag(index);
    wire(*tile.ShowCaipB, show);
    wire(*tile.SelCaipB, select);
    wire(*tile.cancelCaipB, cancel);
}

void UISelectCaipViewController::addSelTb(const NSCaipClass& dish, NSCaipViewCell& tile) {
    if (tile.cappicIV->image()) {
        tile.shul_l->setText("");
        bool any = false;
        const float sum = menu::unsentQuantity(dish.strID(), &any);
        if (any) {
            tile.shul_l->setText(platform::fmt("%g", static_cast<double>(sum)));
            if (!tile.selCaipV) {
                tile.selCaipV = std::make_shared<ui::ImageView>(kit::picture("1-46.png"));
                tile.selCaipV->setFrame({10, 10, 28, 18});
            }
            tile.cappicIV->addSubview(tile.selCaipV);
            tile.cappicIV->addSubview(tile.shul_l);
        } else {
            tile.shul_l->removeFromSuperview();
        }
    }
    for (const auto& state : menu::soldOutStates(dish.strID())) {
        if (state == "0") {
            tile.nameL->setTextColor(ui::Color::redColor());
            tile.priceL->setTextColor(ui::Color::redColor());
            showSoldOut(*tile.SelCaipB);
        }
        tile.priceL->setText(menu::markedPrice(tile.priceL->text(), state));
    }
}

// ---- Pictures of web-menu dishes --------------------------------------------------------------

void UISelectCaipViewController::fetchTilePicture(const std::string& address) {
    if (address.empty() || menu::cachedWebPicture(address) || !picturesAwaited_.insert(address).second) return;
    // A menu closed meanwhile needs no picture: the cache keeps it for the next one.
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    piccache::fetch(address, nullptr, [weak, address](const std::string& file) {
        if (auto self = std::static_pointer_cast<UISelectCaipViewController>(weak.lock())) self->receivePic(address, file);
    });
}

void UISelectCaipViewController::receivePic(const std::string& address, const std::string& file) {
    picturesAwaited_.erase(address);
    const auto* list = dishes();
    if (file.empty() || !list || ShowType_ == kTextList) return;
    // Only the tiles built so far show it now; the others find it in the cache when built.
    const bool landscape = NSServer::getIsHengB();
    const int perRow = ShowType_ == kPictureGrid ? (landscape ? 3 : 2) : 1;
    for (const auto& tile : caipViewCells_) {
        if (tile->num < 0 || tile->num >= static_cast<int>(list->size())) continue;
        const NSCaipClass& dish = *(*list)[static_cast<std::size_t>(tile->num)];
        if (dish.m_strPic != address) continue;
        const int slot = tile->num % perRow;
        const TileLayout at = landscape ? landscapeLayout(ShowType_, slot) : portraitLayout(ShowType_, slot);
        showThumbnail(*tile, dish, at.picture);
    }
}
