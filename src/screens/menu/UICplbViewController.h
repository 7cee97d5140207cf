#pragma once
// The category chooser: the narrow left column of the dish menu screen. A flat list of the
// top-level categories, an accordion of top-level categories opening onto their second-level
// ones, or the second-level categories of the subtree the menu is restricted to. A touched row
// switches the dish menu screen to its category and stays highlighted.

#include <memory>
#include <vector>

#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

class UISelectCaipViewController;

class UICplbViewController : public ui::ViewController,
                             public ui::TableViewDataSource,
                             public ui::TableViewDelegate {
public:
    // A row button's tag: section × kSectionTag + row.
    static constexpr int kSectionTag = 1000000;

    explicit UICplbViewController(std::string nibName = "UICplbViewController");
    ~UICplbViewController() override;

    // The dish menu screen, kept without ownership: it owns the chooser.
    void setSelectCaipController(UISelectCaipViewController* screen) { selectCaipController_ = screen; }
    UISelectCaipViewController* selectCaipController() const { return selectCaipController_; }

    int subCplbCount() const { return subCplbCount_; }
    void setSubCplbCount(int n) { subCplbCount_ = n; }
    int supCplbCount() const { return supCplbCount_; }
    void setSupCplbCount(int n) { supCplbCount_ = n; }
    int selectButtontag() const { return selectButtontag_; }
    const std::vector<int>& sections_isopen() const { return sections_isopen_; }
    const std::shared_ptr<ui::TableView>& cplbTable() { view(); return cplbTable_; }

    // A row touched, a header tapped, a row highlighted. The table's own row selection is not
    // used: the row buttons take the touches.
    using ui::TableViewDelegate::didSelectRow;
    void didSelectRow(ui::Button& row);
    void onSection(int section);
    void flashSelect(ui::Button& row);
    bool isSubViewShow(bool onlyAsk);

    void loadView() override;
    void viewDidUnload() override;

    int numberOfSections(ui::TableView&) override;
    int numberOfRows(ui::TableView&, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRow(ui::TableView&, const ui::IndexPath& path) override;
    double heightForRow(ui::TableView&, const ui::IndexPath&) override { return 40; }
    double heightForHeader(ui::TableView&, int section) override;
    std::shared_ptr<ui::View> viewForHeader(ui::TableView&, int section) override;

private:
    enum class Mode { OneLevel, TwoLevels, Restricted, RestrictedOneLevel };
    static Mode mode();
    // The name of the category a row shows.
    static std::string rowName(int section, int row);

    UISelectCaipViewController* selectCaipController_ = nullptr;
    std::shared_ptr<ui::TableView> cplbTable_;
    std::shared_ptr<ui::Image> imageDown_, imageDown2_, imageDown3_;
    int subCplbCount_ = 0;
    int supCplbCount_ = 0;
    std::shared_ptr<ui::ImageView> selectImageView_;
    std::shared_ptr<ui::Label> selectLabel_;
    std::vector<int> sections_isopen_;
    int selectButtontag_ = 0;
};
