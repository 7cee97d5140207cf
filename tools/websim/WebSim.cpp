#include "websim/WebSim.h"

#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "websim/WebSimPictures.h"

namespace websim {

namespace {

using Query = std::multimap<std::string, std::string>;

std::string param(const Query& q, const char* key) {
    const auto it = q.find(key);
    return it == q.end() ? std::string() : it->second;
}
bool has(const Query& q, const char* key) { return q.find(key) != q.end(); }
int intParam(const Query& q, const char* key, int fallback = 0) {
    const std::string v = param(q, key);
    return v.empty() ? fallback : std::atoi(v.c_str());
}
double numParam(const Query& q, const char* key) { return std::atof(param(q, key).c_str()); }

double metresBetween(double lat1, double lng1, double lat2, double lng2) {
    constexpr double kRad = 3.14159265358979323846 / 180.0;
    const double dLat = (lat2 - lat1) * kRad, dLng = (lng2 - lng1) * kRad;
    const double a = std::sin(dLat / 2) * std::sin(dLat / 2) +
                     std::cos(lat1 * kRad) * std::cos(lat2 * kRad) * std::sin(dLng / 2) * std::sin(dLng / 2);
    return 6371000.0 * 2 * std::atan2(std::sqrt(a), std::sqrt(1 - a));
}

std::string sixDecimals(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%f", v);
    return buf;
}

nlohmann::json shopRow(const Shop& s) {
    nlohmann::json row = {{"DataID", s.id},        {"TogoName", s.name},     {"sortname", s.sortname},
                          {"address", s.address},  {"Picture", s.picture},   {"ctid", s.ctid},
                          {"mymoney", s.mymoney},  {"lat", sixDecimals(s.lat)}, {"lng", sixDecimals(s.lng)}};
    for (std::size_t i = 0; i < s.times.size() && i < 3; ++i) {
        row["Time" + std::to_string(i + 1) + "Start"] = s.times[i].first;
        row["Time" + std::to_string(i + 1) + "End"] = s.times[i].second;
    }
    return row;
}

// One page of shop rows: "page" the page given (1 when none), "total" the page count.
nlohmann::json shopPage(const std::vector<const Shop*>& shops, int pageindex, int pageSize) {
    const int total = std::max(1, static_cast<int>((shops.size() + pageSize - 1) / pageSize));
    const int page = std::clamp(pageindex, 1, total);
    nlohmann::json list = nlohmann::json::array();
    for (std::size_t i = static_cast<std::size_t>((page - 1) * pageSize);
         i < shops.size() && i < static_cast<std::size_t>(page * pageSize); ++i)
        list.push_back(shopRow(*shops[i]));
    return {{"page", page}, {"total", total}, {"list", list}};
}

const char* const kPages[] = {"Login", "Regedit", "GetShopListByLocation", "GetShopDetailByShopId",
                              "CollectionShopByUser", "GetCollectionListByUserId", "GetShopTypeList",
                              "getcityinfo", "GetUserInfo", "ResetPassword", "SaveUserInfo", "SubmitOrder",
                              "GetOrderListByUserId", "GetOrderDetailByOrderId", "GetFoodTypeListByShopId",
                              "GetFoodListByShopId"};

}  // namespace

struct WebSim::Server {
    httplib::Server http;
};

Shop* World::shop(const std::string& id) {
    for (auto& s : shops)
        if (s.id == id) return &s;
    return nullptr;
}
Customer* World::customer(const std::string& id) {
    for (auto& c : customers)
        if (c.id == id) return &c;
    return nullptr;
}
Order* World::order(const std::string& id) {
    for (auto& o : orders)
        if (o.id == id) return &o;
    return nullptr;
}

WebSim::WebSim() : world_(World::demo()) {}

WebSim::~WebSim() { stop(); }

std::string WebSim::baseURL() const { return "http://127.0.0.1:" + std::to_string(port_) + "/app/Android/"; }

std::string WebSim::picture(const std::string& path) {
    PictureSubject subject;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        subject = pictureSubject(world_, path);
    }
    const std::string key = subject.kind == PictureSubject::Kind::Other ? std::string() : path;
    {
        std::lock_guard<std::mutex> lock(picturesMutex_);
        const auto it = pictures_.find(key);
        if (it != pictures_.end()) return it->second;
    }
    // Drawn outside the lock: two requests may both draw a new one, and the first is kept.
    std::string png = drawPicture(subject);
    std::lock_guard<std::mutex> lock(picturesMutex_);
    return pictures_.emplace(key, std::move(png)).first->second;
}

void WebSim::setFault(const std::string& page, Fault fault) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        faults_[page] = fault;
    }
    wake_.notify_all();
}

void WebSim::clearFaults() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        faults_.clear();
    }
    wake_.notify_all();
}

void WebSim::setSlowSeconds(double seconds) {
    std::lock_guard<std::mutex> lock(mutex_);
    slowSeconds_ = seconds;
}

void WebSim::releaseHeld() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++releases_;
    }
    wake_.notify_all();
}

Fault WebSim::faultFor(const std::string& page) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = faults_.find(page);
    if (it != faults_.end() && it->second != Fault::None) return it->second;
    it = faults_.find("");
    return it == faults_.end() ? Fault::None : it->second;
}

std::vector<LoggedRequest> WebSim::requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return log_;
}

void WebSim::clearLog() {
    std::lock_guard<std::mutex> lock(mutex_);
    log_.clear();
}

void WebSim::holdFor(double seconds) {
    std::unique_lock<std::mutex> lock(mutex_);
    wake_.wait_for(lock, std::chrono::duration<double>(seconds), [this] { return stopping_; });
}

int WebSim::start(int port) {
    stop();
    server_ = std::make_unique<Server>();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = false;
    }
    auto handle = [this](const httplib::Request& req, httplib::Response& res, const std::string& page) {
        LoggedRequest logged{req.target, page, {}, {}};
        for (const auto& [k, v] : req.params) logged.query.emplace(k, v);
        for (const auto& [k, v] : req.headers) logged.headers.emplace(k, v);
        // A held answer waits for a release after the request was logged: a test that saw the
        // request and released it has released this one, however late its thread gets here.
        std::uint64_t heldAt = 0;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            log_.push_back(logged);
            heldAt = releases_;
        }
        if (logging_) std::fprintf(stderr, "websim: %s\n", req.target.c_str());

        const std::string faultPage = page.empty() ? "pic" : page;
        Fault fault = faultFor(faultPage);
        if (fault == Fault::NoAnswer) {
            // Held until the fault is lifted or the server stops; the client gives up first.
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait_for(lock, std::chrono::seconds(60), [&] {
                if (stopping_) return true;
                auto it = faults_.find(faultPage);
                auto all = faults_.find("");
                return (it == faults_.end() || it->second != Fault::NoAnswer) &&
                       (all == faults_.end() || all->second != Fault::NoAnswer);
            });
            fault = Fault::None;
            if (stopping_) {
                res.status = 503;
                return;
            }
        }
        if (fault == Fault::HtmlError) {
            res.set_content("<html><head><title>Runtime Error</title></head><body><h1>Server Error in "
                            "'/app' Application.</h1></body></html>",
                            "text/html; charset=utf-8");
            return;
        }
        if (fault == Fault::BadJson) {
            res.set_content("{\"state\":\"1\",\"list\":[{\"DataID\":", "text/plain; charset=utf-8");
            return;
        }
        if (fault == Fault::DeepJson) {
            constexpr std::size_t kDepth = 100000;
            res.set_content(std::string(kDepth, '[') + std::string(kDepth, ']'), "text/plain; charset=utf-8");
            return;
        }
        // The answer is made when the request arrives; a slow answer only comes later.
        std::string body = page.empty() ? picture(req.path.substr(1)) : std::string();
        std::string type = "image/png";
        if (!page.empty()) {
            std::optional<nlohmann::json> json;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                json = answer(page, logged.query);
            }
            if (!json) {
                res.status = 404;
                return;
            }
            body = json->dump();
            type = "text/plain; charset=utf-8";
        }
        if (fault == Fault::Slow) {
            double seconds;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                seconds = slowSeconds_;
            }
            holdFor(seconds);
        }
        if (fault == Fault::Held) {
            // Bounded like a request without answer: the client gives up first.
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait_for(lock, std::chrono::seconds(60), [&] { return stopping_ || releases_ != heldAt; });
        }
        res.set_content(body, type);
        if (fault == Fault::Status) res.status = 500;
    };

    // One request per connection, as the service's clients use it; it also lets stop() end at
    // once instead of waiting out idle keep-alive connections.
    server_->http.set_keep_alive_max_count(1);
    for (const char* page : kPages) {
        const std::string name = page;
        server_->http.Get("/app/Android/" + name + "\\.aspx",
                          [handle, name](const httplib::Request& req, httplib::Response& res) { handle(req, res, name); });
    }
    server_->http.Get("/upload/.*", [handle](const httplib::Request& req, httplib::Response& res) {
        handle(req, res, "");
    });

    int bound = 0;
    if (port == 0) {
        bound = server_->http.bind_to_any_port("127.0.0.1");
    } else if (server_->http.bind_to_port("127.0.0.1", port)) {
        bound = port;
    }
    if (bound <= 0) {
        server_.reset();
        return 0;
    }
    port_ = bound;
    thread_ = std::thread([this] { server_->http.listen_after_bind(); });
    // A stop() before the loop runs would go unnoticed and leave it listening for ever.
    while (!server_->http.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return port_;
}

void WebSim::stop() {
    if (!server_) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    server_->http.stop();
    if (thread_.joinable()) thread_.join();
    server_.reset();
}

std::optional<nlohmann::json> WebSim::answer(const std::string& page, const Query& q) {
    World& w = world_;
    using nlohmann::json;

    if (page == "Login") {
        for (const auto& c : w.customers) {
            if (c.username == param(q, "username") && c.password == param(q, "password") && !c.username.empty())
                return json{{"state", "1"}, {"userid", c.id}};
        }
        return json{{"state", "0"}, {"userid", ""}};
    }
    if (page == "Regedit") {
        const std::string username = param(q, "username"), tel = param(q, "tel"), email = param(q, "email");
        if (username.empty() || param(q, "password").empty()) return json{{"state", -1}};
        for (const auto& c : w.customers) {
            if (c.username == username) return json{{"state", -2}};
            if (!tel.empty() && c.phone == tel) return json{{"state", -3}};
            if (!email.empty() && c.email == email) return json{{"state", -4}};
        }
        Customer c;
        c.id = std::to_string(++w.nextCustomer);
        c.username = username;
        c.password = param(q, "password");
        c.email = email;
        c.phone = tel;
        c.address = param(q, "address");
        c.sex = intParam(q, "sex");
        c.truename = param(q, "truename");
        c.receiver = param(q, "receiver");
        w.customers.push_back(std::move(c));
        return json{{"state", 1}};
    }
    if (page == "GetShopListByLocation") {
        std::vector<const Shop*> found;
        if (has(q, "shopname") || has(q, "ctid")) {
            const std::string ctid = param(q, "ctid"), name = param(q, "shopname");
            for (const auto& s : w.shops)
                if ((ctid.empty() || s.ctid == ctid) && s.name.find(name) != std::string::npos) found.push_back(&s);
        } else {
            const double lat = numParam(q, "lat"), lng = numParam(q, "lng");
            const int nearfilter = intParam(q, "nearfilter", 1000);
            const std::string shoptype = param(q, "shoptype");
            std::vector<std::pair<double, const Shop*>> near;
            for (const auto& s : w.shops) {
                const double d = metresBetween(lat, lng, s.lat, s.lng);
                if (nearfilter > 0 && d > nearfilter) continue;
                if (!shoptype.empty() && shoptype != "0" && s.sortid != shoptype) continue;
                near.emplace_back(param(q, "sortname") == "expense" ? std::atof(s.mymoney.c_str()) : d, &s);
            }
            const bool ascending = intParam(q, "sortflag", 1) != 0;
            std::stable_sort(near.begin(), near.end(), [ascending](const auto& a, const auto& b) {
                return ascending ? a.first < b.first : a.first > b.first;
            });
            for (const auto& [key, s] : near) found.push_back(s);
        }
        return shopPage(found, intParam(q, "pageindex", 1), w.pageSize);
    }
    if (page == "GetShopDetailByShopId") {
        const Shop* s = w.shop(param(q, "shopid"));
        if (!s) return json::object();
        return json{{"Picture", s->picture},       {"Tel", s->tel},           {"Foodclass", s->foodclass},
                    {"LandmarkName", s->landmark}, {"Introduce", s->introduce}, {"TogoType", std::to_string(s->togoType)},
                    {"distance", s->distance},     {"TogoUrl", s->togoUrl}};
    }
    if (page == "CollectionShopByUser") {
        Customer* c = w.customer(param(q, "userID"));
        const std::string shopID = param(q, "shopID"), type = param(q, "comType");
        if (!c || !w.shop(shopID)) return json{{"state", -1}};
        auto& fav = c->favourites;
        if (type == "Add") {
            if (std::find(fav.begin(), fav.end(), shopID) == fav.end()) fav.push_back(shopID);
            return json{{"state", 1}};
        }
        if (type == "Del") {
            fav.erase(std::remove(fav.begin(), fav.end(), shopID), fav.end());
            return json{{"state", 0}};
        }
        return json{{"state", -1}};
    }
    if (page == "GetCollectionListByUserId") {
        std::vector<const Shop*> found;
        if (const Customer* c = w.customer(param(q, "userid")))
            for (const auto& id : c->favourites)
                if (const Shop* s = w.shop(id)) found.push_back(s);
        return shopPage(found, intParam(q, "pageindex", 1), w.pageSize);
    }
    if (page == "GetShopTypeList") return json{{"shoptypelist", w.shoptypes}};
    if (page == "getcityinfo") return json{{"datelist", w.cities}};
    if (page == "GetUserInfo") {
        const Customer* c = w.customer(param(q, "userid"));
        if (!c) return json::object();
        return json{{"email", c->email}, {"username", c->username}, {"truename", c->truename}, {"phone", c->phone},
                    {"qq", c->qq},       {"sex", std::to_string(c->sex)}, {"point", std::to_string(c->point)}};
    }
    if (page == "ResetPassword") {
        Customer* c = w.customer(param(q, "userid"));
        if (!c) return json{{"state", -1}};
        if (c->password != param(q, "oldpassword")) return json{{"state", 0}};
        c->password = param(q, "newpassword");
        return json{{"state", 1}};
    }
    if (page == "SaveUserInfo") {
        Customer* c = w.customer(param(q, "userid"));
        if (!c) return json{{"state", -1}};
        const std::string username = param(q, "username");
        for (const auto& other : w.customers)
            if (other.id != c->id && other.username == username) return json{{"state", 0}};
        c->email = param(q, "email");
        c->username = username;
        c->phone = param(q, "phone");
        c->truename = param(q, "truename");
        c->sex = intParam(q, "sex");
        return json{{"state", 1}};
    }
    if (page == "SubmitOrder") {
        const json failed = {{"orderid", "0"}, {"orderstate", "0"}};
        const json model = json::parse(param(q, "ordermodel"), nullptr, false);
        if (!model.is_array() || model.empty() || !model[0].is_object()) return failed;
        const json& m = model[0];
        const auto text = [&m](const char* key) {
            auto it = m.find(key);
            return it != m.end() && it->is_string() ? it->get<std::string>() : std::string();
        };
        const json cart = m.value("cartlist", json::array());
        const std::string existing = text("OrderID");
        if (!existing.empty()) {
            // Dishes for an order already placed: taken while the order is open (waiting for its
            // review, or through it); one being printed, done, failed, cancelled or expired takes
            // nothing and answers 2.
            Order* o = w.order(existing);
            if (!o) return failed;
            if (o->state != 0 && o->state != 1) return json{{"orderid", o->id}, {"orderstate", "2"}};
            double total = std::atof(o->totalPrice.c_str());
            for (const auto& line : cart) {
                if (!line.is_object()) continue;
                const auto lineText = [&line](const char* key) {
                    auto it = line.find(key);
                    return it != line.end() && it->is_string() ? it->get<std::string>() : std::string();
                };
                o->foods.push_back({{"foodname", lineText("PName")}, {"FoodID", lineText("PId")},
                                    {"Num", lineText("PNum")},       {"FoodPrice", lineText("PPrice")},
                                    {"remark", lineText("Remark")}});
                total += std::atof(lineText("PPrice").c_str()) * std::atof(lineText("PNum").c_str()) +
                         std::atof(lineText("addprice").c_str());
            }
            char buf[32];
            std::snprintf(buf, sizeof buf, "%g", total);
            o->totalPrice = buf;
            return json{{"orderid", o->id}, {"orderstate", "1"}};
        }
        Customer* c = w.customer(text("UserID"));
        const Shop* s = w.shop(text("TogoID"));
        if (!c || !s) return failed;
        Order o;
        o.id = std::to_string(++w.nextOrder);
        o.userid = c->id;
        o.shopid = s->id;
        o.orderType = text("OrderType") == "0" ? 0 : 1;
        o.orderTime = text("SendTime");
        o.sentTime = text("SendTime");
        o.remark = text("Remark");
        o.eatNum = text("EatNum");
        o.userName = text("UserName");
        o.tel = text("Tel");
        o.address = text("Address");
        o.mode = text("mould");
        o.payMode = "货到付款";
        o.sendmoney = o.orderType == 0 ? "5" : "0";
        w.orders.push_back(o);
        c->point += 10;  // every order placed earns points
        return json{{"orderid", o.id}, {"orderstate", "1"}};
    }
    if (page == "GetOrderListByUserId") {
        json list = json::array();
        for (const auto& o : w.orders) {
            if (o.userid != param(q, "userid")) continue;
            const Shop* s = w.shop(o.shopid);
            list.push_back({{"State", std::to_string(o.state)}, {"OrderID", o.id}, {"orderTime", o.orderTime},
                            {"Packagefree", o.packagefree}, {"sendmoney", o.sendmoney},
                            {"TogoName", s ? s->name : std::string()}, {"TotalPrice", o.totalPrice},
                            {"OrderType", std::to_string(o.orderType)}});
        }
        return json{{"page", 1}, {"total", 1}, {"orderlist", list}};
    }
    if (page == "GetOrderDetailByOrderId") {
        const Order* o = w.order(param(q, "orderid"));
        if (!o) return json::object();
        const Shop* s = w.shop(o->shopid);
        return json{{"PayMode", o->payMode},   {"paytime", o->payTime},  {"paystate", o->payState},
                    {"TogoId", o->shopid},     {"SentTime", o->sentTime}, {"Remark", o->remark},
                    {"mode", o->mode},         {"EatNum", o->eatNum},    {"UserName", o->userName},
                    {"Tel", o->tel},           {"Address", o->address},
                    {"typeid", std::to_string(s ? s->togoType : 4)}, {"foodlist", o->foods}};
    }
    if (page == "GetFoodTypeListByShopId") {
        const Shop* s = w.shop(param(q, "shopid"));
        return json{{"foodtypelist", s ? s->foodtypes : json::array()}};
    }
    if (page == "GetFoodListByShopId") {
        const Shop* s = w.shop(param(q, "shopid"));
        return json{{"foodlist", s ? s->foods : json::array()}};
    }
    return std::nullopt;
}

}  // namespace websim
