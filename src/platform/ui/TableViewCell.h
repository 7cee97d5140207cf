#pragma once
// One row of a table: a content view with a text label, a detail label and a picture (made when
// first asked for), an accessory mark, a selection style and the selected/highlighted states.

#include <memory>
#include <string>

#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/View.h"

namespace ui {

class TableViewCell : public View {
public:
    enum class Style { Default, Value1, Value2, Subtitle };
    enum class SelectionStyle { None, Blue, Gray };
    enum class AccessoryType { None, DisclosureIndicator, DetailDisclosureButton, Checkmark };

    explicit TableViewCell(Style style = Style::Default, std::string reuseIdentifier = "");
    const char* className() const override { return "TableViewCell"; }

    Style style() const { return style_; }
    const std::string& reuseIdentifier() const { return reuseIdentifier_; }
    // Subviews of a cell belong in its content view.
    const std::shared_ptr<View>& contentView() const { return contentView_; }
    const std::shared_ptr<Label>& textLabel();
    const std::shared_ptr<Label>& detailTextLabel();
    const std::shared_ptr<ImageView>& imageView();
    // Without creating them (drawing and the tree dump).
    Label* existingTextLabel() const { return textLabel_.get(); }
    Label* existingDetailTextLabel() const { return detailTextLabel_.get(); }
    ImageView* existingImageView() const { return imageView_.get(); }

    AccessoryType accessoryType() const { return accessory_; }
    void setAccessoryType(AccessoryType a);
    const std::shared_ptr<View>& accessoryView() const { return accessoryView_; }
    void setAccessoryView(std::shared_ptr<View> v);
    SelectionStyle selectionStyle() const { return selectionStyle_; }
    void setSelectionStyle(SelectionStyle s) { selectionStyle_ = s; }
    const std::shared_ptr<View>& backgroundView() const { return backgroundView_; }
    void setBackgroundView(std::shared_ptr<View> v);
    const std::shared_ptr<View>& selectedBackgroundView() const { return selectedBackgroundView_; }
    void setSelectedBackgroundView(std::shared_ptr<View> v);

    bool isSelected() const { return selected_; }
    virtual void setSelected(bool selected, bool animated = false);
    bool isHighlighted() const { return highlighted_; }
    virtual void setHighlighted(bool highlighted, bool animated = false);
    // The swipe-to-delete button is shown on this cell.
    bool showsDeleteConfirmation() const { return showsDelete_; }
    const std::string& deleteConfirmationTitle() const { return deleteTitle_; }
    // The rectangle of the delete button in the cell's coordinates (empty when not shown).
    Rect deleteConfirmationRect() const;

    void layoutSubviews() override;

private:
    friend class TableView;
    void setDeleteConfirmation(bool shown, std::string title);

    Style style_;
    std::string reuseIdentifier_;
    std::shared_ptr<View> contentView_;
    std::shared_ptr<Label> textLabel_;
    std::shared_ptr<Label> detailTextLabel_;
    std::shared_ptr<ImageView> imageView_;
    std::shared_ptr<View> accessoryView_;
    std::shared_ptr<View> backgroundView_;
    std::shared_ptr<View> selectedBackgroundView_;
    AccessoryType accessory_ = AccessoryType::None;
    SelectionStyle selectionStyle_ = SelectionStyle::Blue;
    bool selected_ = false;
    bool highlighted_ = false;
    bool showsDelete_ = false;
    std::string deleteTitle_;
};

}  // namespace ui
