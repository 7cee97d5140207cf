#pragma once
// The views of one dish tile: picture, names, price, description, the quantity badge and three
// buttons (open the detail view, add one, remove one). The dish menu screen keeps its tiles for
// one load of its table; the set-meal screen builds its item tiles on the same holder.

#include <memory>

#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextView.h"

class NSCaipViewCell {
public:
    NSCaipViewCell();
    // A tile owns its views: they leave whatever cell holds them with it.
    ~NSCaipViewCell();
    NSCaipViewCell(const NSCaipViewCell&) = delete;
    NSCaipViewCell& operator=(const NSCaipViewCell&) = delete;

    int num = -1;  // the position of the tile's dish in the list shown
    std::shared_ptr<ui::ImageView> cappicIV;
    std::shared_ptr<ui::Label> nameL;
    std::shared_ptr<ui::Label> eNameL;
    std::shared_ptr<ui::Label> priceL;
    std::shared_ptr<ui::Button> SelCaipB;
    std::shared_ptr<ui::Button> cancelCaipB;
    std::shared_ptr<ui::TextView> textL;
    std::shared_ptr<ui::Button> ShowCaipB;
    std::shared_ptr<ui::ImageView> selCaipV;  // the badge picture, made when first needed
    std::shared_ptr<ui::Label> shul_l;        // the badge number, or the text list's quantity column
};
