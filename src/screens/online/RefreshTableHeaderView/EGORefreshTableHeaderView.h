#pragma once
// A header above a table's first row: dragged down past the threshold and let go, it asks its
// owner to reload, spins while the owner loads, keeps the table pulled open meanwhile, and shows
// the time of the last update. It knows nothing of what is loaded: the owner forwards the
// table's scroll events and ends the loading.

#include <memory>
#include <optional>

#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/View.h"

class EGORefreshTableHeaderView;

class EGORefreshTableHeaderDelegate {
public:
    virtual ~EGORefreshTableHeaderDelegate() = default;
    virtual void egoRefreshTableHeaderDidTriggerRefresh(EGORefreshTableHeaderView&) = 0;
    virtual bool egoRefreshTableHeaderDataSourceIsLoading(EGORefreshTableHeaderView&) = 0;
    // The moment of the last update (seconds since 1970), or none when the owner keeps none.
    virtual std::optional<double> egoRefreshTableHeaderDataSourceLastUpdated(EGORefreshTableHeaderView&) {
        return std::nullopt;
    }
};

class EGORefreshTableHeaderView : public ui::View {
public:
    enum State { Pulling = 0, Normal = 1, Loading = 2 };
    // Pulled deeper than this, a release refreshes.
    static constexpr double kTrigger = 65.0;
    // How deep the table stays open while loading.
    static constexpr double kOpen = 60.0;
    static constexpr const char* kDefaultsKey = "EGORefreshTableView_LastRefresh";

    explicit EGORefreshTableHeaderView(const ui::Rect& frame);
    const char* className() const override { return "EGORefreshTableHeaderView"; }

    // An observer pointer the owner clears before it goes away.
    void setDelegate(EGORefreshTableHeaderDelegate* d) { _delegate = d; }
    EGORefreshTableHeaderDelegate* delegate() const { return _delegate; }
    State state() const { return _state; }
    const std::shared_ptr<ui::Label>& lastUpdatedLabel() const { return _lastUpdatedLabel; }
    const std::shared_ptr<ui::Label>& statusLabel() const { return _statusLabel; }
    const std::shared_ptr<ui::ImageView>& arrow() const { return _arrowImage; }
    const std::shared_ptr<ui::ActivityIndicatorView>& activityView() const { return _activityView; }

    void refreshLastUpdatedDate();
    void egoRefreshScrollViewDidScroll(ui::ScrollView& scrollView);
    void egoRefreshScrollViewDidEndDragging(ui::ScrollView& scrollView);
    void egoRefreshScrollViewDataSourceDidFinishedLoading(ui::ScrollView& scrollView);

private:
    void setState(State state);
    bool ownerIsLoading();
    EGORefreshTableHeaderDelegate* _delegate = nullptr;
    State _state = Normal;
    std::shared_ptr<ui::Label> _lastUpdatedLabel;
    std::shared_ptr<ui::Label> _statusLabel;
    std::shared_ptr<ui::ImageView> _arrowImage;
    std::shared_ptr<ui::ActivityIndicatorView> _activityView;
};
