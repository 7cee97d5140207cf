#include "screens/online/RefreshTableHeaderView/EGORefreshTableHeaderView.h"

#include <algorithm>
#include <cmath>

#include "platform/foundation/Date.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/Text.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Image.h"

namespace {

constexpr ui::Color kText = ui::Color::rgb(87, 108, 137);

std::shared_ptr<ui::Label> headerLabel(ui::View& parent, const ui::Rect& frame, const ui::Font& font) {
    auto l = std::make_shared<ui::Label>(frame);
    l->setFont(font);
    l->setTextColor(kText);
    l->setShadowColor(ui::Color{0.9, 0.9, 0.9, 1});
    l->setShadowOffset({0, 1});
    l->setBackgroundColor(ui::Color::clearColor());
    l->setTextAlignment(ui::TextAlignment::Center);
    parent.addSubview(l);
    return l;
}

}  // namespace

EGORefreshTableHeaderView::EGORefreshTableHeaderView(const ui::Rect& frame) : ui::View(frame) {
    const double w = frame.width(), h = frame.height();
    setBackgroundColor(ui::Color::rgb(226, 231, 237));
    setOpaque(true);
    _lastUpdatedLabel = headerLabel(*this, {0, h - 30, w, 20}, ui::Font::systemFont(12));
    _statusLabel = headerLabel(*this, {0, h - 48, w, 20}, ui::Font::boldSystemFont(13));
    _arrowImage = std::make_shared<ui::ImageView>(ui::Rect{25, h - 65, 30, 55});
    _arrowImage->setContentMode(ui::ContentMode::ScaleAspectFit);
    _arrowImage->setImage(ui::Image::named("blueArrow.png"));
    addSubview(_arrowImage);
    _activityView = std::make_shared<ui::ActivityIndicatorView>(ui::ActivityIndicatorView::Style::Gray);
    _activityView->setFrame({25, h - 38, 20, 20});
    addSubview(_activityView);
    setState(Normal);
}

bool EGORefreshTableHeaderView::ownerIsLoading() {
    return _delegate && _delegate->egoRefreshTableHeaderDataSourceIsLoading(*this);
}

void EGORefreshTableHeaderView::refreshLastUpdatedDate() {
    const auto date = _delegate ? _delegate->egoRefreshTableHeaderDataSourceLastUpdated(*this) : std::nullopt;
    if (!date) {
        _lastUpdatedLabel->setText("");
        return;
    }
    const std::string text = platform::fmt("最后更新时间: %@", platform::formatDate(*date, "MM/dd/yyyy hh:mm:a"));
    _lastUpdatedLabel->setText(text);
    auto& defaults = platform::UserDefaults::standard();
    defaults.setObject(kDefaultsKey, platform::PlistValue{text});
    defaults.synchronize();
}

void EGORefreshTableHeaderView::setState(State state) {
    switch (state) {
        case Pulling:
            _statusLabel->setText("松开即刷新...");
            _arrowImage->setTransform(ui::Transform::rotation(M_PI));
            break;
        case Normal:
            _statusLabel->setText("下拉可以刷新...");
            _activityView->stopAnimating();
            _arrowImage->setHidden(false);
            _arrowImage->setTransform(ui::Transform::identity());
            refreshLastUpdatedDate();
            break;
        case Loading:
            _statusLabel->setText("载入中...");
            _activityView->startAnimating();
            _arrowImage->setHidden(true);
            break;
    }
    _state = state;
}

void EGORefreshTableHeaderView::egoRefreshScrollViewDidScroll(ui::ScrollView& table) {
    const double y = table.contentOffset().y;
    if (_state == Loading) {
        const double top = std::min(std::max(-y, 0.0), kOpen);
        table.setContentInset({top, 0, 0, 0});
        return;
    }
    if (!table.isDragging()) return;
    const bool loading = ownerIsLoading();
    if (_state == Pulling && y > -kTrigger && y < 0 && !loading) {
        setState(Normal);
    } else if (_state == Normal && y < -kTrigger && !loading) {
        setState(Pulling);
    }
    if (table.contentInset().top != 0) table.setContentInset({0, 0, 0, 0});
}

void EGORefreshTableHeaderView::egoRefreshScrollViewDidEndDragging(ui::ScrollView& table) {
    const bool loading = ownerIsLoading();
    if (table.contentOffset().y > -kTrigger || loading) return;
    if (_delegate) _delegate->egoRefreshTableHeaderDidTriggerRefresh(*this);
    setState(Loading);
    table.setContentInset({kOpen, 0, 0, 0});
}

void EGORefreshTableHeaderView::egoRefreshScrollViewDataSourceDidFinishedLoading(ui::ScrollView& table) {
    table.setContentInset({0, 0, 0, 0});
    setState(Normal);
}
