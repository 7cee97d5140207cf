#pragma once
// The shop list that the shop search and the collected shops share: the shops in order of
// arrival without repeated ids, the placeholder row "无" when an answer left the list empty, the
// loading row that asks for the next page as it comes into view, the shop rows with one picture
// view per picture address filled from the picture cache, the page counters of the answers, and
// the pull-to-refresh header over the list. It is the shop table's data source and delegate.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "online/NSHTTPServer.h"
#include "online/NSShopClass.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/TableView.h"
#include "screens/online/RefreshTableHeaderView/EGORefreshTableHeaderView.h"

// The search state of a shop list.
struct FindShopStuct {
    float lat = 0;  // the device's last fix
    float lng = 0;
    int nearfilter = 1000;  // metres
    std::string shoptype = "0";  // cuisine type id, "0" every cuisine
    std::string cid;
    std::string sortname = "distance";  // or "expense"
    int sortflag = 1;
    int pagenum = 1;
    int totelpage = 1;
    int ty = 0;
};

class UIShopListTable : public ui::TableViewDataSource,
                        public ui::TableViewDelegate,
                        public EGORefreshTableHeaderDelegate {
public:
    ~UIShopListTable() override;
    static constexpr double kShopRowHeight = 90;
    static constexpr double kLoadingRowHeight = 40;

    std::vector<std::shared_ptr<NSShopClass>> m_shops;
    FindShopStuct findShopStuct;
    std::shared_ptr<ui::ActivityIndicatorView> progressInd;
    std::map<std::string, std::shared_ptr<ui::ImageView>> i_caips;

    // Asks for the next page (the loading row came into view).
    std::function<void()> nextPage;
    // Starts a new load (the header was pulled).
    std::function<void()> reload;
    // Opens a chosen shop.
    std::function<void(const std::shared_ptr<NSShopClass>&)> open;
    // Keeps the owner alive until a picture download has answered.
    std::function<std::shared_ptr<void>()> keeper;
    // With a position, the rows show the distance from it.
    bool showsDistance = false;
    // Every request of the list (a new search or load, a refresh, a page) goes out under this
    // turn: only the answer of the newest one is read, so a late answer of an earlier request
    // never joins the list that a later one started.
    NSRequestTurn turn;

    // A new search or load: empty list, page 1 of 1.
    void reset();
    // A request of the list has gone out under `turn`. Until its answer is in, the loading row
    // asks for nothing more: a second page asked meanwhile would outdate the first one.
    void sent() { waiting_ = true; }
    // A page of answer: the counters, then the shops of "list" not yet listed (each row also
    // handed to `everyRow` first), then the placeholder when the list stayed empty.
    void readPage(const nlohmann::json& answer,
                  const std::function<void(const std::shared_ptr<NSShopClass>&)>& everyRow = nullptr);
    // An answer of a list request: false for none (the load has ended all the same); otherwise
    // its page is read as readPage does (an answer that is no JSON reads as an empty page).
    bool receive(const std::string& answer,
                 const std::function<void(const std::shared_ptr<NSShopClass>&)>& everyRow = nullptr);
    // The page label's text: "page/total".
    std::string pageText() const;

    int numberOfRows() const;
    double heightForRow(int row) const;
    std::shared_ptr<ui::TableViewCell> cellForRow(int row);
    // The shop a row opens, or null for the loading row and the placeholder.
    std::shared_ptr<NSShopClass> shopForRow(int row) const;

    // Makes `table` this list's table and puts the pull-to-refresh header just above its content.
    void attach(const std::shared_ptr<ui::TableView>& table, double width);
    const std::shared_ptr<EGORefreshTableHeaderView>& refreshHeaderView() const { return header_; }
    // Tag 0 the previous page, 1 the next; answers the page to ask for (the same at either end).
    int turnPage(int tag);
    // The load has ended, with or without an answer: the header may be pulled again.
    void doneLoadingTableViewData();

    int numberOfRows(ui::TableView&, int) override { return numberOfRows(); }
    std::shared_ptr<ui::TableViewCell> cellForRow(ui::TableView&, const ui::IndexPath& p) override {
        return cellForRow(p.row);
    }
    double heightForRow(ui::TableView&, const ui::IndexPath& p) override { return heightForRow(p.row); }
    void willDisplayCell(ui::TableView&, ui::TableViewCell& cell, const ui::IndexPath&) override;
    void didSelectRow(ui::TableView&, const ui::IndexPath& p) override;
    void scrollViewDidScroll(ui::ScrollView& s) override;
    void scrollViewDidEndDragging(ui::ScrollView& s, bool willDecelerate) override;

    void egoRefreshTableHeaderDidTriggerRefresh(EGORefreshTableHeaderView&) override;
    bool egoRefreshTableHeaderDataSourceIsLoading(EGORefreshTableHeaderView&) override { return reloading_; }
    std::optional<double> egoRefreshTableHeaderDataSourceLastUpdated(EGORefreshTableHeaderView&) override;

    // The picture view of an address, made and filled from the cache once.
    std::shared_ptr<ui::ImageView> pictureView(const std::string& url);

private:
    void setRowPic(const std::string& url);
    // The page holds the table; it may be gone before the list.
    std::weak_ptr<ui::TableView> table_;
    std::shared_ptr<EGORefreshTableHeaderView> header_;
    bool reloading_ = false;
    bool waiting_ = false;
};
