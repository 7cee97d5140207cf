#pragma once
// The shop list that the shop search and the collected shops share: the shops in order of
// arrival without repeated ids, the placeholder row "无" when an answer left the list empty, the
// loading row that asks for the next page as it comes into view, the shop rows with one picture
// view per picture address filled from the picture cache, and the page counters of the answers.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "online/NSShopClass.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/TableView.h"

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

class UIShopListTable {
public:
    static constexpr double kShopRowHeight = 90;
    static constexpr double kLoadingRowHeight = 40;

    std::vector<std::shared_ptr<NSShopClass>> m_shops;
    FindShopStuct findShopStuct;
    std::shared_ptr<ui::ActivityIndicatorView> progressInd;
    std::map<std::string, std::shared_ptr<ui::ImageView>> i_caips;

    // Asks for the next page (the loading row came into view).
    std::function<void()> nextPage;
    // Keeps the owner alive until a picture download has answered.
    std::function<std::shared_ptr<void>()> keeper;
    // With a position, the rows show the distance from it.
    bool showsDistance = false;

    // A new search or load: empty list, page 1 of 1.
    void reset();
    // A page of answer: the counters, then the shops of "list" not yet listed (each row also
    // handed to `everyRow` first), then the placeholder when the list stayed empty.
    void readPage(const nlohmann::json& answer,
                  const std::function<void(const std::shared_ptr<NSShopClass>&)>& everyRow = nullptr);
    // The page label's text: "page/total".
    std::string pageText() const;

    int numberOfRows() const;
    double heightForRow(int row) const;
    std::shared_ptr<ui::TableViewCell> cellForRow(int row);
    // The shop a row opens, or null for the loading row and the placeholder.
    std::shared_ptr<NSShopClass> shopForRow(int row) const;

    // The picture view of an address, made and filled from the cache once.
    std::shared_ptr<ui::ImageView> pictureView(const std::string& url);

private:
    void setRowPic(const std::string& url);
};
