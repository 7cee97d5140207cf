#pragma once
// The dish search screen: dishes found by quick code or name, six to a page in two rows of
// three pictures with their texts. A tap on a text puts the dish on the current desk or takes
// its unsent line off again; a tap on a picture enlarges it and hands the dish to the host's
// detail view; a sideways swipe turns the page.

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/NSCaipClass.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/ViewController.h"

class ScreenRoot;

class UISearchCaipViewController : public ui::ViewController, public ui::SearchBarDelegate {
public:
    static constexpr int kSlots = 6;

    explicit UISearchCaipViewController(std::string nibName = "UISearchCaipViewController");
    ~UISearchCaipViewController() override;

    void setRootController(ScreenRoot* root) { rootController_ = root; }
    const NSCaipList& m_caips() const { return m_caips_; }
    int firstCaiCount() const { return firstCaiCount_; }
    bool canTouch() const { return canTouch_; }
    const std::shared_ptr<NSCaipClass>& bigShowCaip() const { return bigShowCaip_; }
    // The page's views by slot (0 to 5).
    const std::shared_ptr<ui::ImageView>& caippic(int slot) { view(); return caippic_[slot]; }
    const std::shared_ptr<ui::Label>& text(int slot) { view(); return text_[slot]; }
    // The ordered marks, made at the first fill.
    const std::vector<std::shared_ptr<ui::ImageView>>& selCaipTb() const { return selCaipTb_; }
    const std::shared_ptr<ui::SearchBar>& searchBar() { view(); return searchBar_; }

    void search(const std::string& text);
    void flashCaip();
    void flashSelCaip();
    void nextPage();
    void lastPage();
    // Slot k (1 to 6): the dish goes on the desk or its unsent line comes off.
    void selCaip(int k);
    void showBigCai(int k, const std::shared_ptr<ui::ImageView>& picture);
    void bigCaiBack();
    void back();

    void loadView() override;
    void viewDidLoad() override;
    void viewDidUnload() override;
    void touchesBegan(const ui::TouchSet& touches, const ui::Event* event) override;
    void touchesMoved(const ui::TouchSet& touches, const ui::Event* event) override;
    void touchesEnded(const ui::TouchSet& touches, const ui::Event* event) override;
    void searchBarTextDidChange(ui::SearchBar&, const std::string& text) override;
    void searchBarSearchButtonClicked(ui::SearchBar&) override;
    void animationFinish(const std::optional<std::string>& name, bool finished);

    // Where slot s's picture box lies.
    static ui::Rect pictureBox(int slot);

private:
    void turn(bool forward);
    // Every page view but the enlarged picture, and the search bar, shown or hidden.
    void setPageAlpha(double alpha, bool withMarks);

    ScreenRoot* rootController_ = nullptr;
    NSCaipList m_caips_;
    std::array<std::shared_ptr<ui::ImageView>, kSlots> caippic_;
    std::array<std::shared_ptr<ui::Label>, kSlots> text_;
    int firstCaiCount_ = 0;
    std::shared_ptr<ui::SearchBar> searchBar_;
    ui::Point gestureStartPoint_;
    bool canTouch_ = true;
    std::vector<std::shared_ptr<ui::ImageView>> selCaipTb_;
    struct NowShowCaippic {
        std::shared_ptr<ui::ImageView> caippic;
        ui::Rect frame;
    } nowCaippic_;
    std::shared_ptr<NSCaipClass> bigShowCaip_;
};
