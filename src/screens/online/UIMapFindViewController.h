#pragma once
// The shop search: the service's shops around the device (narrowed by distance, sorted, one
// cuisine or all) or by name in the chosen city, page by page, as pins on a map with a callout
// or as a list that loads the next page when its end comes into view. A chosen shop opens its
// detail.

#include <memory>
#include <optional>
#include <string>

#include "online/NSGPSOper.h"
#include "platform/location/MapView.h"
#include "platform/ui/TableView.h"
#include "screens/online/RefreshTableHeaderView/EGORefreshTableHeaderView.h"
#include "screens/online/UIOnlinePage.h"
#include "screens/online/UIShopListTable.h"

// The pin of one shop.
class GooglePoint : public location::Annotation {
public:
    explicit GooglePoint(const location::Coordinate& c) : coordinate_(c) {}
    GooglePoint(const location::Coordinate& c, std::string title, std::string subtitle)
        : coordinate_(c), title_(std::move(title)), subtitle_(std::move(subtitle)) {}
    location::Coordinate coordinate() const override { return coordinate_; }
    std::optional<std::string> title() const override { return title_; }
    std::optional<std::string> subtitle() const override { return subtitle_; }
    const std::string& m_tag() const { return tag_; }
    void setM_tag(std::string tag) { tag_ = std::move(tag); }

private:
    location::Coordinate coordinate_;
    std::string title_, subtitle_, tag_;
};

class UIMapFindViewController : public UIOnlineBackPage<&ScreenRoot::mapfindback>,
                                public NSGPSOwner,
                                public location::MapViewDelegate,
                                public ui::TableViewDataSource,
                                public ui::TableViewDelegate {
public:
    explicit UIMapFindViewController(std::string nibName = "UIMapFindViewController");
    ~UIMapFindViewController() override;

    static constexpr int kMapView = 1001;
    static constexpr int kListView = 1002;

    // Set by the opener before the view loads.
    void setM_strSearchText(std::string text) { m_strSearchText_ = std::move(text); }
    const std::string& m_strSearchText() const { return m_strSearchText_; }
    void setShowShopType(int type) { showShopType_ = type; }
    int showShopType() const { return showShopType_; }
    void setty(int ty) { list_.findShopStuct.ty = ty; }
    int ty() const { return list_.findShopStuct.ty; }

    const FindShopStuct& findShopStuct() const { return list_.findShopStuct; }
    const std::vector<std::shared_ptr<NSShopClass>>& m_shops() const { return list_.m_shops; }
    const std::shared_ptr<NSGPSOper>& gpsoper() const { return gpsoper_; }
    const std::shared_ptr<location::MapView>& mapView() const { return mapView_; }
    const std::shared_ptr<ui::TableView>& tb_shop() const { return tb_shop_; }
    const std::shared_ptr<ui::Button>& callOutBt() const { return callOutBt_; }
    const std::shared_ptr<ui::Label>& lb_pagenum() const { return lb_pagenum_; }
    const std::shared_ptr<EGORefreshTableHeaderView>& refreshHeaderView() const { return list_.refreshHeaderView(); }

    void loadShop();
    // Tag 0 the previous page, 1 the next; the page is asked for again even when it stays.
    void pageoper(int tag);
    void receiveServerMessage(const std::string& answer);
    void loadShowView();
    void changemaplist();
    void selectNearFilter(int tag);
    void selectSortName(int tag);
    void selectCaix();
    void onSelectShop();
    void showShop(const std::shared_ptr<NSShopClass>& shop);

    void viewDidLoad() override;
    void didReceiveMemoryWarning() override;
    void gpsOnOk(NSGPSOper& oper) override;

    std::shared_ptr<location::AnnotationView> viewForAnnotation(location::MapView&,
                                                                const std::shared_ptr<location::Annotation>&) override;
    void didSelectAnnotationView(location::MapView&, location::AnnotationView&) override;
    void didDeselectAnnotationView(location::MapView&, location::AnnotationView&) override;
    void regionWillChange(location::MapView&, bool animated) override;

    // The cuisine table (the shop table is the list's own).
    int numberOfSections(ui::TableView&) override { return 2; }
    int numberOfRows(ui::TableView&, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRow(ui::TableView&, const ui::IndexPath&) override;
    double heightForRow(ui::TableView&, const ui::IndexPath&) override { return 40; }
    void didSelectRow(ui::TableView&, const ui::IndexPath&) override;

    void doneLoadingTableViewData() { list_.doneLoadingTableViewData(); }

protected:
    void buildContent(ui::View& view) override;

private:
    void sendPage(std::optional<int> pageindex);
    // Shows one of the three filter panels, or hides it when it is up; the other two close.
    void togglePanel(const std::shared_ptr<ui::View>& panel, double height);
    void closePanel(const std::shared_ptr<ui::View>& panel);
    void closeOtherPanels(const ui::View* keep);
    // A panel button: tag 0 shows or hides the panel; any other applies its choice, starts a new
    // search and closes the panel.
    void panelChoice(const std::shared_ptr<ui::View>& panel, int tag, const std::function<void()>& apply);
    ui::Rect panelFrame(double height) const;

    std::string m_strSearchText_;
    int showShopType_ = kMapView;
    bool hasLoad_ = false;
    UIShopListTable list_;
    std::shared_ptr<NSGPSOper> gpsoper_;
    std::shared_ptr<location::MapView> mapView_;
    std::shared_ptr<ui::View> showMapView_, showTableView_;
    std::shared_ptr<ui::View> selectNearFilterView_, selectSortName_, selectCaix_;
    std::shared_ptr<ui::TableView> tb_caix_, tb_shop_;
    std::shared_ptr<ui::Button> callOutBt_, bt_maplist_, bt_selectNearFilter_, bt_caix_;
    std::shared_ptr<ui::Label> lb_shopname_, lb_shopaprice_, lb_shopsortname_, lb_shopTime_, lb_pagenum_;
    location::AnnotationView* nowPin_ = nullptr;
};
