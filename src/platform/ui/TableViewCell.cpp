#include "platform/ui/TableViewCell.h"

#include "platform/ui/Button.h"

namespace ui {

namespace {
constexpr double kAccessoryWidth = 30;
constexpr double kDeleteWidth = 70;
constexpr double kDeleteHeight = 32;
}  // namespace

TableViewCell::TableViewCell(Style style, std::string reuseIdentifier)
    : View(Rect{0, 0, 320, 44}), style_(style), reuseIdentifier_(std::move(reuseIdentifier)) {
    setBackgroundColor(Color::whiteColor());
    contentView_ = std::make_shared<View>(bounds());
    addSubview(contentView_);
}

const std::shared_ptr<Label>& TableViewCell::textLabel() {
    if (!textLabel_) {
        textLabel_ = std::make_shared<Label>();
        textLabel_->setFont(Font::boldSystemFont(style_ == Style::Subtitle ? 18 : 20));
        contentView_->addSubview(textLabel_);
        layoutSubviews();
    }
    return textLabel_;
}

const std::shared_ptr<Label>& TableViewCell::detailTextLabel() {
    if (!detailTextLabel_) {
        detailTextLabel_ = std::make_shared<Label>();
        detailTextLabel_->setFont(Font::systemFont(style_ == Style::Subtitle ? 14 : 17));
        detailTextLabel_->setTextColor(style_ == Style::Value1 ? Color(0.22, 0.33, 0.53) : Color::grayColor());
        contentView_->addSubview(detailTextLabel_);
        layoutSubviews();
    }
    return detailTextLabel_;
}

const std::shared_ptr<ImageView>& TableViewCell::imageView() {
    if (!imageView_) {
        imageView_ = std::make_shared<ImageView>();
        imageView_->setContentMode(ContentMode::Center);
        contentView_->insertSubview(imageView_, 0);
        layoutSubviews();
    }
    return imageView_;
}

void TableViewCell::setAccessoryType(AccessoryType a) {
    accessory_ = a;
    layoutSubviews();
    setNeedsDisplay();
}

void TableViewCell::setAccessoryView(std::shared_ptr<View> v) {
    if (accessoryView_) accessoryView_->removeFromSuperview();
    accessoryView_ = std::move(v);
    if (accessoryView_) addSubview(accessoryView_);
    layoutSubviews();
}

void TableViewCell::setBackgroundView(std::shared_ptr<View> v) {
    if (backgroundView_) backgroundView_->removeFromSuperview();
    backgroundView_ = std::move(v);
    if (backgroundView_) {
        backgroundView_->setFrame(bounds());
        insertSubview(backgroundView_, 0);
    }
}

void TableViewCell::setSelectedBackgroundView(std::shared_ptr<View> v) {
    if (selectedBackgroundView_) selectedBackgroundView_->removeFromSuperview();
    selectedBackgroundView_ = std::move(v);
    if (selectedBackgroundView_) {
        selectedBackgroundView_->setFrame(bounds());
        selectedBackgroundView_->setHidden(!(selected_ || highlighted_));
        insertSubview(selectedBackgroundView_, backgroundView_ ? 1 : 0);
    }
}

static void highlightLabels(TableViewCell& c, bool on) {
    if (c.selectionStyle() == TableViewCell::SelectionStyle::None) on = false;
    if (auto* l = c.existingTextLabel()) l->setHighlighted(on);
    if (auto* l = c.existingDetailTextLabel()) l->setHighlighted(on);
    if (auto* i = c.existingImageView()) i->setHighlighted(on);
    if (auto& b = c.selectedBackgroundView()) b->setHidden(!on);
}

void TableViewCell::setSelected(bool selected, bool) {
    selected_ = selected;
    highlightLabels(*this, selected_ || highlighted_);
    setNeedsDisplay();
}

void TableViewCell::setHighlighted(bool highlighted, bool) {
    highlighted_ = highlighted;
    highlightLabels(*this, selected_ || highlighted_);
    setNeedsDisplay();
}

Rect TableViewCell::deleteConfirmationRect() const {
    if (!showsDelete_) return {};
    return {bounds().width() - kDeleteWidth - 10, (bounds().height() - kDeleteHeight) / 2, kDeleteWidth, kDeleteHeight};
}

void TableViewCell::setDeleteConfirmation(bool shown, std::string title) {
    showsDelete_ = shown;
    deleteTitle_ = std::move(title);
    layoutSubviews();
    setNeedsDisplay();
}

void TableViewCell::layoutSubviews() {
    Rect b = bounds();
    double right = b.width();
    if (accessoryView_) {
        Rect a = accessoryView_->frame();
        accessoryView_->setFrame({right - a.width() - 10, (b.height() - a.height()) / 2, a.width(), a.height()});
        right -= a.width() + 10;
    } else if (accessory_ != AccessoryType::None) {
        right -= kAccessoryWidth;
    }
    if (showsDelete_) right = std::min(right, b.width() - kDeleteWidth - 20);
    contentView_->setFrame({0, 0, right, b.height()});
    if (backgroundView_) backgroundView_->setFrame(b);
    if (selectedBackgroundView_) selectedBackgroundView_->setFrame(b);

    double x = 10;
    if (imageView_ && imageView_->image()) {
        Size s = imageView_->image()->size();
        double w = std::min(s.width, b.height());
        imageView_->setFrame({x, (b.height() - w) / 2, w, w});
        x += w + 10;
    } else if (imageView_) {
        imageView_->setFrame({x, 0, 0, 0});
    }
    double w = std::max(0.0, right - x - 10);
    switch (style_) {
        case Style::Default:
            if (textLabel_) textLabel_->setFrame({x, 0, w, b.height()});
            break;
        case Style::Subtitle:
            if (textLabel_) textLabel_->setFrame({x, 2, w, b.height() * 0.55});
            if (detailTextLabel_) detailTextLabel_->setFrame({x, b.height() * 0.55, w, b.height() * 0.4});
            break;
        case Style::Value1:
        case Style::Value2:
            if (textLabel_) textLabel_->setFrame({x, 0, w / 2, b.height()});
            if (detailTextLabel_) {
                detailTextLabel_->setFrame({x + w / 2, 0, w / 2, b.height()});
                detailTextLabel_->setTextAlignment(style_ == Style::Value1 ? TextAlignment::Right : TextAlignment::Left);
            }
            break;
    }
}

}  // namespace ui
