#include "online/NSOnlineOrders.h"

#include <nlohmann/json.hpp>

#include "core/NSServer.h"
#include "online/NSJsonResolver.h"
#include "online/NSShopDBClass.h"
#include "online/NSWebMenuImport.h"
#include "online/NSWebPages.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Text.h"

namespace dingd {

std::string stateText(int state) {
    static const char* const kStates[] = {"未审核", "审核通过", "正在打印", "处理成功", "处理失败", "订单取消", "已失效"};
    return state >= 0 && state <= 6 ? kStates[state] : "";
}

bool isTakeAway(const NSDingDClass& order) { return order.m_iOrderType == 0; }

namespace {
std::string timeText(const NSDingDClass& o) {
    return platform::fmt(isTakeAway(o) ? "送达时间:%@" : "就餐时间:%@", o.m_strOrderTime);
}
}  // namespace

OrderRowTexts rowTexts(const NSDingDClass& o) {
    OrderRowTexts row;
    row.number = platform::fmt("订单号:%@", o.m_strOrderid);
    row.type = isTakeAway(o) ? "外卖" : "中餐预订";
    row.shop = o.m_strTogoName;
    row.time = timeText(o);
    row.state = stateText(o.m_iState);
    row.total = platform::fmt("总价:%@元", o.m_strTotalPrice);
    if (isTakeAway(o)) row.deliveryFee = platform::fmt("外送费:%@元", o.m_strSendmoney);
    return row;
}

std::string summaryText(const NSDingDClass& o) {
    std::string text = platform::fmt(
        "预定单号:%@\r\n商户名称:%@\r\n%@ %@\r\n桌台类型:%@\t\t 人数:%@人\r\n姓名:%@\t\t电话:%@\r\n地址:%@\r\n"
        "付款方式:%@\t金额:%@元\r\n付款时间:%@\r\n",
        o.m_strOrderid, o.m_strTogoName, timeText(o), stateText(o.m_iState), o.m_strMode, o.m_strEatNum,
        o.m_strUserName, o.m_strUserTel, o.m_strAddress, o.m_strPayMode, o.m_strTotalPrice, o.m_strPayTime);
    if (isTakeAway(o)) text += platform::fmt("外送费:%@元", o.m_strSendmoney);
    return text;
}

std::vector<std::shared_ptr<NSDingDClass>> readOrderList(const nlohmann::json& answer, int& page, int& total) {
    page = json_read::integer(answer, "page");
    total = json_read::integer(answer, "total");
    std::vector<std::shared_ptr<NSDingDClass>> orders;
    for (const auto& e : json_read::list(answer, "orderlist")) {
        auto o = std::make_shared<NSDingDClass>();
        o->m_iState = json_read::integer(e, "State");
        o->m_strOrderid = json_read::text(e, "OrderID");
        o->m_strOrderTime = json_read::text(e, "orderTime");
        o->m_strPackagefree = json_read::text(e, "Packagefree");
        o->m_strSendmoney = json_read::text(e, "sendmoney");
        o->m_strTogoName = json_read::text(e, "TogoName");
        o->m_strTotalPrice = json_read::text(e, "TotalPrice");
        o->m_iOrderType = json_read::integer(e, "OrderType");
        orders.push_back(std::move(o));
    }
    return orders;
}

NSDishList readOrderDetail(NSDingDClass& o, const nlohmann::json& answer) {
    o.m_strPayMode = json_read::text(answer, "PayMode");
    o.m_strPayTime = json_read::text(answer, "paytime");
    o.m_strPayState = json_read::text(answer, "paystate");
    o.m_strTogoId = json_read::text(answer, "TogoId");
    o.m_strSendTime = json_read::text(answer, "SentTime");
    o.m_strRemark = json_read::text(answer, "Remark");
    o.m_strMode = json_read::text(answer, "mode");
    o.m_strEatNum = json_read::text(answer, "EatNum");
    o.m_strUserName = json_read::text(answer, "UserName");
    o.m_strUserTel = json_read::text(answer, "Tel");
    o.m_strAddress = json_read::text(answer, "Address");
    o.m_iTogoType = json_read::integer(answer, "typeid");

    NSDishList dishes;
    for (const auto& e : json_read::list(answer, "foodlist")) {
        auto line = std::make_shared<NSDishClass>();  // unsent, serving mode 0
        line->m_strCaipName = json_read::text(e, "foodname");
        line->m_strCaipID = std::make_shared<const std::string>(json_read::text(e, "FoodID"));
        line->m_fQuantity = json_read::number(e, "Num");
        line->m_strPrice = json_read::text(e, "FoodPrice");
        line->m_strRemark = json_read::text(e, "remark");
        dishes.push_back(std::move(line));
    }
    return dishes;
}

}  // namespace dingd

void NSDingListLoader::loadList() {
    const std::string url = webpages::orderList(NSServer::getShopDB()->m_nowuser->m_id);
    platform::log(url);
    NSHTTPServer::getText(url, shared_from_this(), &NSDingListLoader::receiveServerMessage, &turn_);
}

void NSDingListLoader::receiveServerMessage(const std::string& answer, NSHTTPServer&) {
    platform::log(answer);
    NSJsonResolver resolver;
    auto orders = dingd::readOrderList(resolver.resolveJson(answer).value_or(nlohmann::json()), pagenum, totelpage);
    a_dingds.insert(a_dingds.end(), orders.begin(), orders.end());
    if (onLoaded) onLoaded();
}

NSDingDetailLoader::NSDingDetailLoader() : importer(std::make_shared<NSWebMenuImport>()) {}

void NSDingDetailLoader::loadDingDanX() {
    NSHTTPServer::getText(webpages::orderDetail(m_dingd->m_strOrderid), shared_from_this(),
                          &NSDingDetailLoader::receiveServerMessage, &turn_);
}

void NSDingDetailLoader::receiveServerMessage(const std::string& answer, NSHTTPServer&) {
    // An answer that is no JSON (an error page) tells as little as none: it must not wipe the
    // order's record, nor leave the guest choosing dishes while no shop menu comes in.
    NSJsonResolver resolver;
    const auto detail = answer.empty() ? std::nullopt : resolver.resolveJson(answer);
    if (!detail) {
        if (showMessage) showMessage("网络连接异常");
        return;
    }
    m_dishs = dingd::readOrderDetail(*m_dingd, *detail);
    if (isCurrent && !isCurrent()) return;
    // The shop's menu comes in for the dishes chosen next (also for a reservation-only shop).
    loadShopCaip();
    if (onShown) onShown();
}

void NSDingDetailLoader::loadShopCaip() {
    importer->m_dingd = m_dingd;
    importer->showMessage = showMessage;
    importer->loadShopCaip();
}
