#include "screens/kit/ScreenKit.h"

#include <algorithm>

#include "core/NSServer.h"
#include "platform/foundation/Text.h"
#include "platform/ui/Image.h"

namespace kit {

ui::Font titleFont() { return ui::Font::boldSystemFont(24); }
ui::Font bodyFont() { return ui::Font::systemFont(20); }
ui::Font smallFont() { return ui::Font::systemFont(16); }
ui::Font bigFont() { return ui::Font::boldSystemFont(34); }

std::shared_ptr<ui::View> screenView(const ui::Rect& frame) {
    auto view = std::make_shared<ui::View>(frame);
    view->setBackgroundColor(kPaper);
    view->setOpaque(true);
    return view;
}

std::shared_ptr<ui::Label> label(ui::View& parent, const ui::Rect& frame, const std::string& text,
                                 const ui::Font& font, ui::TextAlignment alignment, ui::Color color) {
    auto l = std::make_shared<ui::Label>(frame);
    l->setText(text);
    l->setFont(font);
    l->setTextAlignment(alignment);
    l->setTextColor(color);
    parent.addSubview(l);
    return l;
}

std::shared_ptr<ui::Button> button(ui::View& parent, const ui::Rect& frame, const std::string& title,
                                   std::function<void()> action, ButtonKind kind) {
    ui::Rect f = frame;
    if (f.size.width < kTouch) {
        f.origin.x -= (kTouch - f.size.width) / 2;
        f.size.width = kTouch;
    }
    if (f.size.height < kTouch) {
        f.origin.y -= (kTouch - f.size.height) / 2;
        f.size.height = kTouch;
    }
    auto b = std::make_shared<ui::Button>(ui::Button::Type::Custom, f);
    b->setTitle(title);
    b->setTitleFont(kind == ButtonKind::OnBar ? bodyFont() : ui::Font::boldSystemFont(bodyFont().size));
    switch (kind) {
    case ButtonKind::Primary:
        b->setBackgroundColor(kAccent);
        b->setTitleColor(kOnDark);
        break;
    case ButtonKind::Secondary:
        b->setBackgroundColor(kQuiet);
        b->setTitleColor(kInk);
        b->setBorder(1, kLine);
        break;
    case ButtonKind::OnBar:
        b->setTitleColor(kOnDark);
        b->setBorder(1, kOnDark);
        break;
    }
    b->setTitleColor(kMuted, ui::ControlState::Disabled);
    b->setCornerRadius(8);
    if (action) b->addTarget(ui::ControlEvent::TouchUpInside, [action = std::move(action)](ui::Control&) { action(); });
    parent.addSubview(b);
    return b;
}

std::shared_ptr<ui::Image> picture(const std::string& name) { return ui::Image::named(name); }

std::string interfacePicture(int number) {
    return platform::fmt("%i-%i.png", NSServer::getInterfaceType(), number);
}

std::shared_ptr<ui::ImageView> pictureView(ui::View& parent, const ui::Rect& frame, const std::string& name) {
    auto v = std::make_shared<ui::ImageView>(frame);
    if (auto image = picture(name)) v->setImage(image);
    parent.addSubview(v);
    return v;
}

TitleBar titleBar(ui::View& parent, double width, const std::string& title, std::function<void()> back,
                  const std::string& backTitle) {
    TitleBar t;
    t.bar = std::make_shared<ui::View>(ui::Rect{0, 0, width, kBarHeight});
    t.bar->setBackgroundColor(kBar);
    parent.addSubview(t.bar);
    t.title = label(*t.bar, {120, 0, width - 240, kBarHeight}, title, titleFont(), ui::TextAlignment::Center,
                    kOnDark);
    if (back) t.back = button(*t.bar, {12, 8, 96, kTouch}, backTitle, std::move(back), ButtonKind::OnBar);
    return t;
}

std::vector<std::shared_ptr<ui::Button>> keypad(ui::View& parent, const ui::Rect& area, int columns,
                                                const std::vector<std::string>& keys,
                                                std::function<void(const std::string& key)> pressed) {
    std::vector<std::shared_ptr<ui::Button>> buttons;
    if (columns <= 0 || keys.empty()) return buttons;
    const int rows = static_cast<int>((keys.size() + columns - 1) / columns);
    const double gap = 8;
    const double w = std::max(kTouch, (area.size.width - gap * (columns - 1)) / columns);
    const double h = std::max(kTouch, (area.size.height - gap * (rows - 1)) / rows);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const int r = static_cast<int>(i) / columns;
        const int c = static_cast<int>(i) % columns;
        ui::Rect f{area.origin.x + c * (w + gap), area.origin.y + r * (h + gap), w, h};
        std::string key = keys[i];
        auto b = button(parent, f, key, [pressed, key] { if (pressed) pressed(key); });
        b->setTitleFont(bigFont());
        buttons.push_back(std::move(b));
    }
    return buttons;
}

std::shared_ptr<ui::TableViewCell> columnCell(const std::string& reuseIdentifier,
                                              const std::vector<Column>& columns, double height) {
    auto cell = std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::Default, reuseIdentifier);
    int tag = 1;
    for (const Column& c : columns) {
        auto l = label(*cell->contentView(), {c.x, 0, c.width, height}, "", bodyFont(), c.alignment);
        l->setTag(tag++);
    }
    return cell;
}

void setColumnTexts(ui::TableViewCell& cell, const std::vector<std::string>& texts) {
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (auto* l = dynamic_cast<ui::Label*>(cell.contentView()->viewWithTag(static_cast<int>(i) + 1)))
            l->setText(texts[i]);
    }
}

}  // namespace kit
