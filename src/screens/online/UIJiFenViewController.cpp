#include "screens/online/UIJiFenViewController.h"

#include <nlohmann/json.hpp>

#include "core/NSServer.h"
#include "online/NSJsonResolver.h"
#include "online/NSShopDBClass.h"
#include "online/NSCustomerClass.h"
#include "online/NSWebPages.h"

UIJiFenViewController::UIJiFenViewController(std::string nibName) : UIOnlineBackPage(std::move(nibName), "我的积分") {}

void UIJiFenViewController::buildContent(ui::View& v) {
    const double w = v.bounds().width();
    kit::label(v, {0, kit::kBarHeight + 60, w, 40}, "当前积分", kit::bodyFont(), ui::TextAlignment::Center, kit::kMuted);
    lb_jif_ = kit::label(v, {0, kit::kBarHeight + 110, w, 80}, "", kit::bigFont(), ui::TextAlignment::Center);
}

void UIJiFenViewController::viewDidLoad() {
    getUserInfoFromServer();
    lb_jif_->setText(customer().m_strJiF);
}

void UIJiFenViewController::getUserInfoFromServer() {
    request(webpages::userInfo(customer().m_id), &UIJiFenViewController::receiveServerUserInfo);
}

void UIJiFenViewController::receiveServerUserInfo(const std::string& answer) {
    if (answer.empty()) return;
    NSJsonResolver resolver;
    const std::string point = json_read::text(resolver.resolveJson(answer).value_or(nlohmann::json()), "point");
    if (auto store = NSServer::getShopDB(); store && store->m_nowuser) store->m_nowuser->m_strJiF = point;
    if (lb_jif_) lb_jif_->setText(point);
}
