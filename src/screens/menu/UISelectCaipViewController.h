#pragma once
// The dish menu screen: the dishes of one category as picture tiles (two a row), a text list or
// a picture list, beside the category chooser, with the quick search, the new-dish and speciality
// lists, paging, the function menu and the ordered-count badge. Its tiles add and remove dishes
// on the current desk; in set-meal add mode (type 4) they add items to the open set meal.
//
// The operations live in three files by area:
//   UISelectCaipViewController.cpp        creation, table, paging, page curl, category change,
//                                         special lists, quick search, alerts, detail hand-off
//   UISelectCaipViewControllerChoice.cpp  adding and removing a dish, set-meal add mode, the
//                                         fly-to-list animation
//   UISelectCaipViewControllerTiles.cpp   the rows and their tiles, badges and sold-out marks

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

class NSCaipClass;
class NSCplbTreeClass;
class NSCaipViewCell;
class ScreenRoot;
class UICplbViewController;

class UISelectCaipViewController : public ui::ViewController,
                                   public ui::TableViewDataSource,
                                   public ui::TableViewDelegate,
                                   public ui::AlertViewDelegate,
                                   public ui::SearchBarDelegate {
public:
    static constexpr int kNormal = 0;
    static constexpr int kSetMealAdd = 4;
    // Display modes.
    static constexpr int kPictureGrid = 1;
    static constexpr int kTextList = 2;
    static constexpr int kPictureList = 3;
    // Alert tags.
    static constexpr int kFunctionMenuTag = 1;
    static constexpr int kReAddTag = 2;

    explicit UISelectCaipViewController(std::string nibName = "UISelectCaipViewController");
    ~UISelectCaipViewController() override;

    // ---- set by the root ----
    void setRootController(ScreenRoot* root) { rootController_ = root; }
    ScreenRoot* rootController() const { return rootController_; }
    void setNowCplb(std::shared_ptr<NSCplbTreeClass> category) { nowCplb_ = std::move(category); }
    const std::shared_ptr<NSCplbTreeClass>& nowCplb() const { return nowCplb_; }
    void setType(int type) { type_ = type; }
    int type() const { return type_; }

    // The refresh: the table, the special-list buttons and the ordered-count badge.
    void flashCaip();
    // The detail view closed.
    void bigCaiBack(bool animated);

    // ---- for the category chooser ----
    bool canTouch() const { return canTouch_; }
    void setCanTouch(bool can) { canTouch_ = can; }
    // Ends editing in the search bar; answers NO.
    bool isSubViewShow(bool onlyAsk);
    // The category of the chooser's indexes becomes the current one, with its announcement,
    // sound and page curl when it changed.
    void changeCplbFlash();
    // Turns the chooser's indexes into the current category and writes the corrected ones back.
    void loadNowCplb();
    const std::shared_ptr<UICplbViewController>& cplbController() const { return cplbController_; }

    // ---- actions of the screen's buttons ----
    void showDailynew();
    void showRecommend();
    void showNoPig();
    void show6Pig();
    void showListPig();
    void nextPage();
    void lastPage();
    void otherFun();
    void dishlist();
    void backToWel();

    // ---- tiles (UISelectCaipViewControllerChoice.cpp) ----
    // The picture button of the tile with that index: opens the detail view.
    void showBigCai(int tag);
    // The select button: adds one unit (asks first when the desk has the dish already).
    void selCaip(int tag);
    void selCaip(int index, const std::shared_ptr<ui::ImageView>& picture);
    // In set-meal add mode the dish becomes an item of the open set meal (or is refused): YES.
    bool addToBom(const std::shared_ptr<NSCaipClass>& dish);
    // The minus button: removes one unit.
    void cancelCaip(int tag);
    void cancelCaip(int index, const std::shared_ptr<ui::ImageView>& picture);

    // ---- pictures of web-menu dishes (UISelectCaipViewControllerTiles.cpp) ----
    // A picture download ended (`file` the cached picture, "" when it failed): the tiles built so
    // far whose dish it shows draw it.
    void receivePic(const std::string& address, const std::string& file);

    // ---- read by tests and the tiles ----
    int showType() const { return ShowType_; }
    const std::vector<std::shared_ptr<NSCaipViewCell>>& caipViewCells() const { return caipViewCells_; }
    // The tile of that index in the tile cache, or none.
    std::shared_ptr<NSCaipViewCell> tileAt(int index) const;
    const std::shared_ptr<ui::TableView>& caipTable() { view(); return caipTable_; }
    const std::shared_ptr<ui::SearchBar>& caipSearchBar() { view(); return caipSearchBar_; }
    const std::shared_ptr<ui::Label>& lb_dln() { view(); return lb_dln_; }
    const std::shared_ptr<ui::ImageView>& iv_yuan() { view(); return iv_yuan_; }
    const std::shared_ptr<ui::Button>& bt_recom() { view(); return bt_recom_; }
    const std::shared_ptr<ui::Button>& bt_daily() { view(); return bt_daily_; }
    const std::shared_ptr<ui::ImageView>& showCaipIV() const { return showCaipIV_; }
    // The fly-to-list pictures still in flight.
    std::size_t flyingPictures() const { return bufferImageVS_.size(); }
    // The table row that holds the tile of that index in the current mode.
    int rowOfTile(int index) const;

    // ---- view life ----
    void loadView() override;
    void viewDidLoad() override;
    void viewDidUnload() override;

    // ---- table ----
    int numberOfSections(ui::TableView&) override;
    int numberOfRows(ui::TableView&, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRow(ui::TableView&, const ui::IndexPath& path) override;
    double heightForRow(ui::TableView&, const ui::IndexPath& path) override;
    void didSelectRow(ui::TableView&, const ui::IndexPath& path) override;

    // ---- search bar and alerts ----
    void searchBarTextDidChange(ui::SearchBar&, const std::string& text) override;
    void searchBarSearchButtonClicked(ui::SearchBar&) override;
    void alertViewClickedButtonAtIndex(ui::AlertView& alert, int buttonIndex) override;

    // The end of every animation of the screen, by name.
    void animationFinish(const std::optional<std::string>& name, bool finished);

private:
    // The dishes of the current category (none without one).
    const std::vector<std::shared_ptr<NSCaipClass>>* dishes() const;
    int dishCount() const;
    // The screen's page turn on its own view.
    void pageCurl();
    // A display-mode switch.
    void switchMode(int mode);
    // A pseudo category named `name` with the dishes the file lists.
    void showSpecialList(const std::string& file, const std::string& name, const std::string& screenKey);
    // The quick search over every dish.
    void quickSearch(const std::string& text);
    // The rectangle of a tile's picture in the screen's view.
    ui::Rect tilePictureRect(int index, const ui::Rect& pictureFrame) const;
    // The fly-to-list picture from tile to list button (outbound) or back.
    void flyPicture(int index, const std::shared_ptr<ui::ImageView>& picture, bool toList);
    // Tiles (UISelectCaipViewControllerTiles.cpp).
    std::shared_ptr<ui::TableViewCell> buildRow(int row, bool landscape);
    void setUpTile(NSCaipViewCell& tile, const NSCaipClass& dish, int slot, bool landscape);
    void addSelTb(const NSCaipClass& dish, NSCaipViewCell& tile);
    // Downloads the picture address into the picture cache unless it is there or on its way.
    void fetchTilePicture(const std::string& address);

    ScreenRoot* rootController_ = nullptr;
    std::shared_ptr<NSCplbTreeClass> nowCplb_;
    bool canTouch_ = true;
    int ShowType_ = kPictureGrid;
    int type_ = kNormal;
    int bufferImageInt_ = 0;
    int bufferButtonTag_ = -1;
    std::map<int, std::shared_ptr<ui::ImageView>> bufferImageVS_;  // fly-to-list pictures by number
    std::vector<std::shared_ptr<NSCaipViewCell>> caipViewCells_;
    std::shared_ptr<UICplbViewController> cplbController_;
    std::shared_ptr<ui::ImageView> showCaipIV_;
    std::set<std::string> picturesAwaited_;  // picture addresses asked for and not answered yet

    std::shared_ptr<ui::TableView> caipTable_;
    std::shared_ptr<ui::SearchBar> caipSearchBar_;
    std::shared_ptr<ui::Button> bt_recom_, bt_daily_, bt_recom1_, bt_daily1_;
    std::shared_ptr<ui::Button> bt_next_, bt_last_, bt_otherFun_, bt_dishl_, bt_back_;
    std::shared_ptr<ui::Button> bt_grid_, bt_text_, bt_list_;
    std::shared_ptr<ui::ImageView> iv_yuan_;
    std::shared_ptr<ui::Label> lb_dln_;
};
