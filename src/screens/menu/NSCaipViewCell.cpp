#include "screens/menu/NSCaipViewCell.h"

#include "core/NSServer.h"
#include "screens/kit/ScreenKit.h"

namespace {

std::shared_ptr<ui::Label> tileLabel(ui::Color color, const ui::Font& font, ui::TextAlignment alignment) {
    auto label = std::make_shared<ui::Label>();
    label->setTextColor(color);
    label->setFont(font);
    label->setNumberOfLines(1);
    label->setTextAlignment(alignment);
    return label;
}

}  // namespace

NSCaipViewCell::NSCaipViewCell() {
    cappicIV = std::make_shared<ui::ImageView>();
    nameL = tileLabel(ui::Color::blackColor(), ui::Font::withName("Helvetica", 13), ui::TextAlignment::Left);
    eNameL = tileLabel(ui::Color::rgb(128, 128, 128), ui::Font::withName("Helvetica", 17), ui::TextAlignment::Left);
    priceL = tileLabel(ui::Color::blackColor(), ui::Font::withName("Helvetica", 13), ui::TextAlignment::Right);
    textL = std::make_shared<ui::TextView>();
    textL->setEditable(false);
    textL->setTextColor(ui::Color::rgb(86, 100, 139));
    textL->setFont(ui::Font::withName("Helvetica", 17));
    shul_l = tileLabel(ui::Color::whiteColor(), ui::Font::withName("Helvetica-Bold", 13), ui::TextAlignment::Center);
    shul_l->setFrame({10, 10, 28, 18});
    ShowCaipB = std::make_shared<ui::Button>();
    SelCaipB = std::make_shared<ui::Button>();
    cancelCaipB = std::make_shared<ui::Button>();
    if (auto add = kit::picture(kit::interfacePicture(109))) SelCaipB->setBackgroundImage(add);
    if (auto remove = kit::picture(kit::interfacePicture(108))) cancelCaipB->setBackgroundImage(remove);
}

NSCaipViewCell::~NSCaipViewCell() {
    for (ui::View* v : {static_cast<ui::View*>(cappicIV.get()), static_cast<ui::View*>(nameL.get()),
                        static_cast<ui::View*>(eNameL.get()), static_cast<ui::View*>(priceL.get()),
                        static_cast<ui::View*>(SelCaipB.get()), static_cast<ui::View*>(cancelCaipB.get()),
                        static_cast<ui::View*>(textL.get()), static_cast<ui::View*>(ShowCaipB.get()),
                        static_cast<ui::View*>(selCaipV.get()), static_cast<ui::View*>(shul_l.get())})
        if (v) v->removeFromSuperview();
}
