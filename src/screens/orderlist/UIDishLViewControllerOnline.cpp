// The submit of the current desk's lines as the dish cart of a guest's online order.
#include <nlohmann/json.hpp>

#include "core/NSServer.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "online/NSDingDClass.h"
#include "online/NSHTTPServer.h"
#include "online/NSJsonResolver.h"
#include "net/RootServices.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Text.h"
#include "screens/kit/ScreenRoot.h"
#include "screens/orderlist/OrderListRules.h"
#include "screens/orderlist/UIDishLViewController.h"

std::string UIDishLViewController::orderModel(const std::optional<std::string>& orderID) {
    auto db = NSServer::getCaipDB();
    static const NSKouwList none;
    const NSKouwList& options = db ? db->m_KwzfArray : none;
    nlohmann::json cart = nlohmann::json::array();
    for (const auto& line : NSServer::getNowDesk()->m_DishList) {
        nlohmann::json item;
        item["PNum"] = platform::fmt("%g", line->m_fQuantity);
        item["PId"] = line->caipID();
        item["PPrice"] = line->m_strPrice;
        item["PName"] = line->m_strCaipName;
        item["Funit"] = line->m_strUnits;
        item["Remark"] = line->GetKouwDefine();
        item["addprice"] = platform::fmt("%g", line->m_fPrice2 + line->m_fPrice3);
        item["material"] = orderlist::materialText(*line, options);
        item["owername"] = "";
        item["sname"] = "";
        cart.push_back(std::move(item));
    }
    nlohmann::json model = nlohmann::json::object();
    model["cartlist"] = std::move(cart);
    if (orderID) model["OrderID"] = *orderID;
    return NSJsonResolver::codeJson(nlohmann::json::array({model}));
}

void UIDishLViewController::onSendToYuding() {
    std::optional<std::string> orderID;
    if (auto order = rootController_ ? rootController_->dingDXOrder() : nullptr) orderID = order->m_strOrderid;
    // The model is one query value: "&", "+", "=", "?" and "#" in a name or remark must not end
    // or reshape it on the way.
    const std::string address = NSHTTPServer::getHTTPAddress() + "SubmitOrder.aspx?orderForm=&ordermodel=" +
                                NSHTTPServer::escapeValue(orderModel(orderID));
    platform::log(address);
    NSHTTPServer::getText(address, self(), &UIDishLViewController::receiveServerMessage);
}

void UIDishLViewController::receiveServerMessage(const std::string& answer, NSHTTPServer&) {
    platform::log(answer);
    if (answer.empty()) {
        if (rootController_) rootController_->showMessage("网络连接异常");
        return;
    }
    NSJsonResolver resolver;
    auto top = resolver.resolveJson(answer);
    const int state = top ? json_read::integer(*top, "orderstate") : 0;
    // The root answers this alert: its button only clears the alert-shown flag.
    rootServices().showAlert("提示", state == 1 ? "提交成功" : "提交失败", "确定");
    if (rootController_) {
        rootController_->dishlistBackToSelectCaip();
        rootController_->backToWel();
    }
}
