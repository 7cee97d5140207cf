#include "backoffice/SimRestaurant.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "Film.h"
#include "GData/GDataXML.h"
#include "core/NSEncDec.h"
#include "platform/foundation/Text.h"
#include "restaurantgen/RestaurantGen.h"
#include "skingen/SkinGen.h"

namespace backoffice {

namespace {

std::string esc(const std::string& text) { return platform::escapeXml(text, true); }

std::string attr(const char* name, const std::string& value) {
    return platform::fmt(" %s=\"%@\"", name, esc(value));
}

std::string el(const char* name, const std::string& value) {
    return platform::fmt("<%s>%@</%s>", name, esc(value), name);
}

std::string num(double v) { return platform::fmt("%g", v); }

std::string nowText() {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
    return buf;
}

SimRestaurant::Answer ok(const std::string& inner = "<code>0</code>") {
    return {BackOfficeSim::reply(inner), false};
}

SimRestaurant::Answer refused(const std::string& why) {
    return {BackOfficeSim::errorReplyText(why), false};
}

// A 24-bit bottom-up BMP of one colour with a darker frame: small, and any decoder reads it.
std::string bitmap(int w, int h, unsigned rgb) {
    const int stride = (w * 3 + 3) & ~3;
    const unsigned size = 54u + static_cast<unsigned>(stride * h);
    std::string b(size, '\0');
    auto put32 = [&](size_t at, unsigned v) {
        for (int i = 0; i < 4; ++i) b[at + static_cast<size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, size);
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<unsigned>(w));
    put32(22, static_cast<unsigned>(h));
    b[26] = 1;
    b[28] = 24;
    put32(34, size - 54);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool frame = x < 3 || y < 3 || x >= w - 3 || y >= h - 3;
            const unsigned c = frame ? (rgb >> 1) & 0x7F7F7F : rgb;
            const size_t at = 54u + static_cast<size_t>(y * stride + x * 3);
            b[at] = static_cast<char>(c & 0xFF);
            b[at + 1] = static_cast<char>((c >> 8) & 0xFF);
            b[at + 2] = static_cast<char>((c >> 16) & 0xFF);
        }
    return b;
}

std::string upper(const std::string& s) { return platform::toUpper(s); }

// What a line costs: its quantity at its unit price, and its surcharges once for the line.
double lineAmount(const SimLine& l) { return platform::leadingDouble(l.price) * l.quantity + l.addAmount; }

// The unit price a refresh reports for a line. A refresh carries no surcharge, so a line with one
// reports the price that gives its whole amount over its quantity, as its bill charges it.
std::string bookedPrice(const SimLine& l) {
    if (l.addAmount == 0 || l.quantity == 0) return l.price;
    return platform::fmt("%.10g", lineAmount(l) / l.quantity);
}

// The bill's total as the terminal adds it up: the items of a set meal count only under a head
// without a price of its own (until the next line outside the group), lines served as mode 7 not
// at all.
double billTotal(const SimDesk& d) {
    double total = 0;
    bool freeHead = false;
    for (const auto& l : d.lines) {
        if (l.serving == 7) continue;
        const bool member = l.isExp || !l.parent.empty();
        const double amount = lineAmount(l);
        if (l.isSet && amount == 0) {
            freeHead = true;
            continue;
        }
        if (freeHead || !member || l.isSet) {
            total += amount;
            if (!member) freeHead = false;
        }
    }
    return total;
}

// An amount of money in yuan: at most two decimals, none when whole.
std::string money(double v) {
    std::string text = platform::fmt("%.2f", std::round(v * 100) / 100);
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text == "-0" ? "0" : text;
}

// Row attributes of a line in a desk reply.
std::string lineRow(const SimLine& l, bool detail) {
    std::string row = "<row";
    row += attr("id", l.xfmxID) + attr("gds", l.caipID) + attr("qty", num(l.quantity));
    if (l.quantity2 > 0) row += attr("qty2", num(l.quantity2));
    row += attr("dw", l.units) + attr("prc", bookedPrice(l)) + attr("kw", l.tasteIDs) +
           attr("stat", platform::fmt("%i", l.state)) + attr("fs", platform::fmt("%i", l.serving)) +
           attr("time", l.time) + attr("usr", l.waiter) + attr("cz", l.waiter);
    if (l.varQty) row += attr("Var", "1");
    if (l.isSet) row += attr("Set", "1");
    if (l.isExp) row += attr("Exp", "1");
    if (l.addOn) row += attr("AddOn", "1");
    if (!l.parent.empty()) row += attr("pare", l.parent);
    if (detail) row += attr("pf", l.remark);
    return row + ">" + esc(l.uid) + "</row>";
}

}  // namespace

SimRestaurant::SimRestaurant(Restaurant restaurant) {
    if (restaurant == Restaurant::Demo) loadDemo();
    else loadTests();
    rebates = {{"01", "九折"}, {"02", "八八折"}, {"03", "会员价"}};
}

void SimRestaurant::addSkinPicturesAndFilm() {
    files["png"].push_back({"SKIN1.BMP", 1, bitmap(64, 64, 0x803020), std::nullopt});
    files["png"].push_back({"SKIN2.BMP", 1, bitmap(64, 64, 0x208030), std::nullopt});
    // The promotional film the demo skin plays; made once in a process, as every simulator serves it.
    static const std::string film = artgen::demoFilm().value_or(std::string(4096, '\x47'));
    files["mpg"].push_back({"DEMO.MPG", 1, film, std::nullopt});
}

void SimRestaurant::loadTests() {
    restaurantgen::Options o;
    o.dishes = 60;
    o.seed = 7;
    const auto made = restaurantgen::makeTables(o);
    for (const auto& [file, doc] : made) tables[file.substr(0, file.size() - 4)] = doc;
    tables["zuotzt"] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><morvane><data>"
        "<record f1=\"1\" f2=\"空闲\" f3=\"16777215\"/><record f1=\"4\" f2=\"预订\" f3=\"16776960\"/>"
        "<record f1=\"6\" f2=\"开台\" f3=\"16711680\"/></data></morvane>";
    tables["caipu"] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><morvane><data><user></user><pass></pass>"
        "<deskid></deskid><compid>0</compid></data></morvane>";

    // Waiters and desks come from the generated tables, so replies and files agree.
    auto parse = [](const std::string& text) { return GDataXMLDocument::initWithDataOptionsError(text, 0, nullptr); };
    if (auto doc = parse(tables["yonghxx"])) {
        if (auto rows = firstElement(doc->rootElement(), "data")->elementsForName("record"))
            for (auto& r : *rows) passwords[attributeText(r, "f1")] = "123";
    }
    // The terminal's built-in demo user logs in at the demo server without a password.
    passwords["User"] = "";
    std::map<std::string, std::string> roomNames;
    if (auto doc = parse(tables["ssdept"])) {
        if (auto rows = firstElement(doc->rootElement(), "data")->elementsForName("record"))
            for (auto& r : *rows) roomNames[attributeText(r, "f1")] = attributeText(r, "f2");
    }
    if (auto doc = parse(tables["zuot"])) {
        if (auto rows = firstElement(doc->rootElement(), "data")->elementsForName("record"))
            for (auto& r : *rows) {
                SimDesk d;
                d.id = attributeText(r, "f1");
                d.name = attributeText(r, "f2");
                d.room = roomNames[attributeText(r, "f3")];
                desks[d.id] = d;
                deskOrder.push_back(d.id);
            }
    }

    indexMenuPrices();
    std::vector<std::string> dishIDs;
    if (auto doc = parse(tables["caip"])) {
        if (auto rows = firstElement(doc->rootElement(), "data")->elementsForName("row"))
            for (auto& r : *rows) dishIDs.push_back(attributeText(r, "f1"));
    }
    for (size_t i = 0; i < dishIDs.size(); ++i) {
        const unsigned colour = 0x204060u + static_cast<unsigned>(i) * 0x0B1713u;
        const std::string& id = dishIDs[i];
        files["bmp"].push_back({id + ".BMP", 1, bitmap(160, 120, colour), std::nullopt});
        files["bmp"].push_back({id + "T.BMP", 1, bitmap(80, 60, colour), std::nullopt});
        files["bmp"].push_back({id + "M.TXT", 1, "主料:时令鲜蔬\r\n口味:清淡爽口", std::nullopt});
    }
    addSkinPicturesAndFilm();
    if (dishIDs.size() >= 6) {
        specialLists["Dailynew"] = {dishIDs[0], dishIDs[1], dishIDs[2]};
        specialLists["Recommend"] = {dishIDs[3], dishIDs[4], dishIDs[5]};
        sellOut[dishIDs[5]] = "0";
    }

    // One desk reserved for the demo, so the reservation flow has something to open.
    if (deskOrder.size() >= 3 && dishIDs.size() >= 2) {
        SimReservation y;
        y.consumeID = "Y0001";
        y.guests = 6;
        y.company = "演示公司";
        y.diningTime = "18:30";
        y.guestName = "王先生";
        y.telephone = "13800000000";
        y.bookingTime = "2026-01-01 10:00";
        y.remark = "靠窗";
        y.deskIDs = {deskOrder[2]};
        y.dishes = {{dishIDs[0], 1, "", 0}, {dishIDs[1], 2, "", 0}};
        reservations[deskOrder[2]] = y;
        desks[deskOrder[2]].state = "4";
        desks[deskOrder[2]].consumeID = y.consumeID;
        desks[deskOrder[2]].guests = y.guests;
    }
}

// The discount of a bill as the back office applies it: a template code (or "get" for the one the
// bill has, "" for none) and an amount off ("" none), answered with the template, the bill's
// total, the discount and what is due.
std::string SimRestaurant::discountText(SimDesk& desk, const std::string& code, const std::string& amount) {
    if (code != "get") desk.rebateCode = code;
    desk.rebateAmount = platform::leadingDouble(amount);
    std::string name = "无";
    double rate = 1;
    if (!desk.rebateCode.empty()) {
        for (const auto& [c, n] : rebates)
            if (c == desk.rebateCode) name = n;
        auto it = rebateRates.find(desk.rebateCode);
        if (it != rebateRates.end()) rate = it->second;
    }
    const double total = std::round(billTotal(desk) * 100) / 100;
    const double off = std::min(total, std::round((total * (1 - rate) + desk.rebateAmount) * 100) / 100);
    return platform::fmt("折扣:%@\n消费金额:%@元\n折扣金额:%@元\n应收金额:%@元", name, money(total), money(off),
                         money(total - off));
}

SimDesk* SimRestaurant::findDesk(const std::string& id) {
    auto it = desks.find(id);
    return it == desks.end() ? nullptr : &it->second;
}

SimLine* SimRestaurant::findLine(SimDesk& desk, const std::string& xfmxID) {
    for (auto& l : desk.lines)
        if (l.xfmxID == xfmxID) return &l;
    return nullptr;
}

std::string SimRestaurant::newBill() { return platform::fmt("X%06i", static_cast<long long>(++billCounter_)); }
std::string SimRestaurant::newLineID() { return platform::fmt("%i", static_cast<long long>(900000 + ++lineCounter_)); }

void SimRestaurant::openDesk(SimDesk& desk, int guests, const std::string& waiter) {
    desk.state = "6";
    if (desk.consumeID.empty()) desk.consumeID = newBill();
    desk.guests = guests;
    desk.waiter = waiter;
    desk.openTime = nowText();
}

void SimRestaurant::freeDesk(SimDesk& desk) {
    desk.state = "1";
    desk.consumeID.clear();
    desk.guests = 0;
    desk.waiter.clear();
    desk.openTime.clear();
    desk.lines.clear();
    desk.printed = 0;
    desk.remark.clear();
    desk.joined = false;
    desk.rebateCode.clear();
    desk.rebateAmount = 0;
}

SimRestaurant::Answer SimRestaurant::handle(const ReceivedRequest& r) {
    const std::string& c = r.command;
    if (!r.document || !r.data()) return refused("请求格式错误");
    if (c == "disconnect") return {std::nullopt, true};
    if (c == "check") return check(r);
    if (c == "login") return login(r);
    if (c == "query") return query(r);
    if (c == "treedata") return treedata(r);
    if (c == "getfile") return getfile(r);
    if (c == "deskstate") return deskstate(r);
    if (c == "opendesk") return opendesk(r);
    if (c == "adddish") return adddish(r);
    if (c == "deldish") return deldish(r);
    if (c == "hasten") return hasten(r);
    if (c == "updatemenu") return updatemenu(r, false);
    if (c == "deskdetail") return updatemenu(r, true);
    if (c == "changedesk") return changedesk(r);
    if (c == "cleardesk") return cleardesk(r);
    if (c == "printalldish") return printalldish(r);
    return custom(r);
}

void SimRestaurant::indexMenuPrices() {
    menuPrices.clear();
    auto doc = GDataXMLDocument::initWithDataOptionsError(tables["caip"], 0, nullptr);
    auto data = doc ? firstElement(doc->rootElement(), "data") : nullptr;
    auto rows = data ? data->elementsForName("row") : std::nullopt;
    if (!rows) return;
    for (auto& r : *rows) menuPrices[attributeText(r, "f1")] = attributeText(r, "f7");
}

SimRestaurant::Answer SimRestaurant::check(const ReceivedRequest&) {
    std::string key = nextDeviceKey ? *nextDeviceKey : platform::fmt("SIM%08i", static_cast<long long>(++keyCounter_));
    nextDeviceKey.reset();
    assignedKeys.push_back(key);
    return {BackOfficeSim::reply("<device uuid=\"" + key + "\"/>"), false};
}

SimRestaurant::Answer SimRestaurant::login(const ReceivedRequest& r) {
    const std::string echoed = r.field("waiterid");
    auto user = BackOfficeSim::decipherField(echoed, companyNumber);
    // An empty password travels as an empty field.
    auto password = r.field("password").empty()
                        ? std::optional<std::string>("")
                        : BackOfficeSim::decipherField(r.field("password"), companyNumber);
    int code = 0;
    auto known = user ? passwords.find(*user) : passwords.end();
    if (known == passwords.end()) code = 1;
    else if (!password || *password != known->second) code = 2;
    int counter = 0;
    if (user) {
        int& seen = dishCounters[*user];
        seen = std::max(seen, platform::leadingInt(r.field("maxdishid")));
        counter = seen;
    }
    if (loginOptions.dishCount) counter = *loginOptions.dishCount;
    std::string inner = el("waiterid", echoed) + el("code", platform::fmt("%i", code)) +
                        el("dishcount", platform::fmt("%i", counter)) + el("ScaleMid", loginOptions.scaleMid) +
                        el("ScaleLarge", loginOptions.scaleLarge) + "<opt" +
                        attr("SendClose", loginOptions.sendClose ? "1" : "0") +
                        attr("LongSocket", platform::fmt("%i", loginOptions.longSocket)) + "/>";
    return ok(inner);
}

SimRestaurant::Answer SimRestaurant::query(const ReceivedRequest& r) {
    const std::string name = r.field("table");
    auto it = tables.find(name);
    if (it == tables.end()) return refused("表" + name + "不存在");
    // Stored by the terminal as it comes: Base64 of the document enciphered with its key.
    auto text = NSEncDec().encodeBase64(NSEncDec().Decrypt(it->second, r.uid));
    return {text.value_or("") + "</morvane>", false};
}

SimRestaurant::Answer SimRestaurant::treedata(const ReceivedRequest& r) {
    const std::string list = r.field("param1");
    std::string inner;
    auto row = [&](const std::string& code, const std::string& text, const std::string& stat) {
        inner += "<row" + attr("code", code) + attr("stat", stat) + ">" + esc(text) + "</row>";
    };
    if (list == "rebate") {
        for (auto& [code, name] : rebates) row(code, name, "/");
    } else if (list == "picdir" || list == "skindir" || list == "mediadir") {
        if (list == "skindir") addDemoSkin();
        const std::string kind = list == "picdir" ? "bmp" : list == "skindir" ? "png" : "mpg";
        for (auto& f : files[kind])
            row(platform::fmt("%i", f.listedSize ? *f.listedSize : static_cast<long long>(f.bytes.size())), f.name,
                platform::fmt("%i", f.stamp));
    } else {
        auto it = specialLists.find(list);
        if (it != specialLists.end())
            for (auto& id : it->second) row(id, id, "0");
    }
    return ok(inner);
}

SimRestaurant::Answer SimRestaurant::getfile(const ReceivedRequest& r) {
    const std::string name = upper(r.field("param1"));
    const std::string kind = r.field("param2");
    if (kind == "png") addDemoSkin();
    for (auto& f : files[kind]) {
        if (upper(f.name) != name) continue;
        // Dish pictures travel with their head enciphered with the device key.
        if (kind == "bmp" && name.size() > 4 && name.substr(name.size() - 4) == ".BMP") {
            const size_t head = std::min<size_t>(1024, f.bytes.size());
            return {NSEncDec().Decrypt(f.bytes.substr(0, head), r.uid) + f.bytes.substr(head), false};
        }
        return {f.bytes, false};
    }
    // A raw reply has no room for an error message: the terminal waits in vain.
    return {std::nullopt, true};
}

void SimRestaurant::addDemoSkin() {
    if (!demoSkinPending) return;
    demoSkinPending = false;
    auto parse = [](const std::string& text) { return GDataXMLDocument::initWithDataOptionsError(text, 0, nullptr); };
    // The categories with the most dishes get a form each, in the order of the category file.
    std::map<std::string, int> dishCount;
    std::string featured;
    if (auto doc = parse(tables["caip"])) {
        if (auto rows = firstElement(doc->rootElement(), "data")->elementsForName("row"))
            for (auto& r : *rows) {
                ++dishCount[attributeText(r, "f8")];
                const std::string id = attributeText(r, "f1");
                if (featured.empty() && !sellOut.count(id)) featured = id;
            }
    }
    std::vector<std::pair<int, skingen::Category>> ranked;
    if (auto doc = parse(tables["stCategory"])) {
        if (auto rows = firstElement(doc->rootElement(), "data")->elementsForName("record"))
            for (auto& r : *rows) {
                const std::string id = attributeText(r, "f1");
                if (dishCount[id] > 0) ranked.push_back({dishCount[id], {id, attributeText(r, "f2")}});
            }
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<skingen::Category> categories;
    for (auto& [count, category] : ranked) categories.push_back(category);
    const std::string video = files["mpg"].empty() ? std::string("DEMO.MPG") : files["mpg"].front().name;
    for (auto& f : skingen::demoSkin(categories, featured, video)) files["png"].push_back({f.name, 1, f.bytes, std::nullopt});
}

SimRestaurant::Answer SimRestaurant::deskstate(const ReceivedRequest&) {
    std::string inner;
    for (auto& id : deskOrder) {
        const SimDesk& d = desks[id];
        inner += "<desk" + attr("f1", d.id) + attr("f2", d.state) + attr("f3", d.consumeID) +
                 attr("f4", platform::fmt("%i", d.guests)) +
                 attr("f6", d.state == "1" ? "" : platform::fmt("%i人", d.guests)) + attr("f7", "0") + "/>";
    }
    return ok(inner);
}

SimRestaurant::Answer SimRestaurant::opendesk(const ReceivedRequest& r) {
    auto desk = firstElement(r.data(), "desk");
    const std::string id = elementText(desk, "deskid");
    SimDesk* d = findDesk(id);
    if (!d) return refused("桌台" + id + "不存在");
    if (d->state == "6") return refused("桌台" + d->name + "已开台");
    openDesk(*d, platform::leadingInt(elementText(desk, "rens")), elementText(desk, "waiterid"));
    return ok(el("deskid", d->id) + el("state", d->state) + el("rens", platform::fmt("%i", d->guests)) +
              el("waiter", d->waiter) + el("consumeid", d->consumeID));
}

SimRestaurant::Answer SimRestaurant::adddish(const ReceivedRequest& r) {
    SimDesk* d = findDesk(r.field("deskid"));
    if (!d) return refused("桌台不存在");
    if (d->state != "6" || d->consumeID != r.field("consumeid")) return refused("桌台" + d->name + "未开台");
    const std::string waiter = r.field("waiterid");
    // Group members sent with their head in this same request name it "1": an item belongs to the
    // last set-meal head (none after a plain line), an add-on to the last head or plain line.
    std::string lastHead, lastLine;
    auto rows = firstElement(r.data(), "detail");
    auto list = rows ? rows->elementsForName("row") : std::nullopt;
    if (!list) return ok();
    for (auto& row : *list) {
        const std::string known = row->stringValue().value_or("");
        SimLine* existing = known.empty() ? nullptr : findLine(*d, known);
        SimLine l = existing ? *existing : SimLine{};
        if (!existing) l.xfmxID = newLineID();
        l.uid = attributeText(row, "uid");
        l.caipID = attributeText(row, "gds");
        l.quantity = platform::leadingDouble(attributeText(row, "qty"));
        l.quantity2 = platform::leadingDouble(attributeText(row, "qty2"));
        l.units = attributeText(row, "danw");
        const std::string price = attributeText(row, "price");
        // "-1" asks for the menu's price, which the back office fills in as it books the line.
        if (price == "-1") {
            auto menu = menuPrices.find(l.caipID);
            l.price = menu == menuPrices.end() ? "" : menu->second;
        } else {
            l.price = price;
        }
        l.addAmount = platform::leadingDouble(attributeText(row, "addamt"));
        l.tasteIDs = attributeText(row, "tasteid");
        l.remark = attributeText(row, "dishremark");
        l.serving = platform::leadingInt(attributeText(row, "chucfs"));
        l.varQty = attributeText(row, "VarQty") == "1";
        l.isSet = attributeText(row, "Set") == "1";
        l.addOn = attributeText(row, "AddOn") == "1";
        const std::string exp = attributeText(row, "Exp");
        l.isExp = !exp.empty();
        // A head tops its group; its Exp names itself.
        if (l.isSet) l.parent.clear();
        else l.parent = exp != "1" ? exp : l.addOn ? lastLine : lastHead;
        l.waiter = waiter;
        l.time = nowText();
        if (l.isSet) lastHead = lastLine = l.xfmxID;
        else if (!l.isExp && !l.addOn) {
            lastLine = l.xfmxID;
            lastHead.clear();
        }
        if (existing) *existing = l;
        else d->lines.push_back(l);
        int& counter = dishCounters[waiter];
        counter = std::max(counter, platform::leadingInt(l.uid));
    }
    return ok();
}

SimRestaurant::Answer SimRestaurant::deldish(const ReceivedRequest& r) {
    SimDesk* d = findDesk(r.field("deskid"));
    if (!d || d->state != "6") return refused("桌台未开台");
    auto detail = firstElement(r.data(), "detail");
    auto list = detail ? detail->elementsForName("xiaofmx") : std::nullopt;
    if (!list) return ok();
    // Check every line first: a return is all or nothing.
    for (auto& x : *list)
        if (!findLine(*d, elementText(x, "xiaofmxid"))) return refused("退菜的菜品不存在");
    for (auto& x : *list) {
        const std::string id = elementText(x, "xiaofmxid");
        SimLine* l = findLine(*d, id);
        l->quantity += platform::leadingDouble(elementText(x, "qty"));  // negative for a return
        if (l->quantity <= 0)
            d->lines.erase(std::remove_if(d->lines.begin(), d->lines.end(),
                                          [&](const SimLine& s) { return s.xfmxID == id; }),
                           d->lines.end());
    }
    return ok();
}

SimRestaurant::Answer SimRestaurant::hasten(const ReceivedRequest& r) {
    SimDesk* d = findDesk(r.field("deskid"));
    SimLine* l = d ? findLine(*d, r.field("xiaofmxid")) : nullptr;
    if (!l) return refused("菜品不存在");
    l->state = r.field("type") == "2" ? 3 : 2;
    return ok();
}

SimRestaurant::Answer SimRestaurant::updatemenu(const ReceivedRequest& r, bool detail) {
    // A refresh without a desk asks only for the sold-out list (the menu's "view sold-out").
    std::string sold = "<sellout>";
    for (auto& [id, qty] : sellOut) sold += "<gds" + attr("qty", qty) + ">" + esc(id) + "</gds>";
    sold += "</sellout>";
    if (r.field("deskid").empty() && !detail) return ok("<desk" + attr("rens", "0") + attr("bill", "") + "></desk>" + sold);
    SimDesk* d = findDesk(r.field("deskid"));
    if (!d) return refused("桌台不存在");
    std::string inner = "<desk" + attr("rens", platform::fmt("%i", d->guests)) + attr("bill", d->consumeID);
    if (detail) inner += attr("state", d->state) + attr("waiter", d->waiter) + attr("time", d->openTime);
    inner += ">" + esc(d->id) + "</desk>";
    for (auto& l : d->lines) inner += lineRow(l, detail);
    return ok(inner + sold);
}

SimRestaurant::Answer SimRestaurant::changedesk(const ReceivedRequest& r) {
    SimDesk* from = findDesk(r.field("deskid"));
    SimDesk* to = findDesk(r.field("tardeskid"));
    if (!from || !to || from == to) return refused("桌台不存在");
    if (from->state != "6") return refused("桌台" + from->name + "未开台");
    if (to->state == "6") {
        // An open target takes the lines into its own bill.
        for (auto& l : from->lines) to->lines.push_back(l);
        to->guests += from->guests;
    } else {
        const std::string keep = to->name, room = to->room, id = to->id;
        *to = *from;
        to->id = id;
        to->name = keep;
        to->room = room;
    }
    freeDesk(*from);
    return ok();
}

SimRestaurant::Answer SimRestaurant::cleardesk(const ReceivedRequest& r) {
    SimDesk* d = findDesk(r.field("deskid"));
    if (!d) return refused("桌台不存在");
    freeDesk(*d);
    return ok();
}

SimRestaurant::Answer SimRestaurant::printalldish(const ReceivedRequest& r) {
    SimDesk* d = findDesk(r.field("deskid"));
    if (!d || d->state != "6") return refused("桌台未开台");
    ++d->printed;
    return ok();
}

SimRestaurant::Answer SimRestaurant::custom(const ReceivedRequest& r) {
    const std::string& c = r.command;
    const std::string p1 = r.field("param1"), p2 = r.field("param2");
    SimDesk* d = findDesk(r.field("deskid"));
    if (c == "call") return ok();
    if (c == "print") {
        if (!d || d->state != "6") return refused("桌台未开台");
        ++d->printed;
        return ok();
    }
    if (c == "setdeskpeoples") {
        if (!d || d->state != "6") return refused("桌台未开台");
        d->guests = platform::leadingInt(p2);
        if (auto w = firstElement(r.data(), "param3")) d->waiter = w->stringValue().value_or("");
        if (auto m = firstElement(r.data(), "param4")) d->remark = m->stringValue().value_or("");
        return ok();
    }
    if (c == "ipadload") {
        if (!d) return refused("桌台不存在");
        auto it = savedOrders.find(d->id);
        if (it != savedOrders.end()) return {it->second, false};
        return {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<morvane><desk" + attr("m_strDeskID", d->id) +
                    attr("m_iClientNum", platform::fmt("%i", d->guests)) + attr("m_strWaiterID", d->waiter) +
                    "/></morvane>\n",
                false};
    }
    if (c == "rebatexiaof") {
        if (rebateText) return ok("<html>" + esc(*rebateText) + "</html>");
        if (!d || d->state != "6") return refused("桌台未开台");
        if (p1 != "get" && !p1.empty() &&
            std::none_of(rebates.begin(), rebates.end(), [&](const auto& t) { return t.first == p1; }))
            return refused("折扣模板" + p1 + "不存在");
        return ok("<html>" + esc(discountText(*d, p1, p2)) + "</html>");
    }
    if (c == "modifyqty") {
        SimLine* l = d ? findLine(*d, p1) : nullptr;
        if (!l) return refused("菜品不存在");
        l->quantity = platform::leadingDouble(p2);
        l->varQty = false;  // weighed: the quantity is known now
        return ok();
    }
    if (c == "rebatedish") {
        SimLine* l = d ? findLine(*d, p1) : nullptr;
        if (!l) return refused("菜品不存在");
        l->price = "0";  // given free, surcharges and all
        l->addAmount = 0;
        l->remark = p2;
        return ok();
    }
    if (c == "deskunion") {
        // The desk to join is param1 and the bill it joins is param2; `deskid` carries the
        // joined desk's own bill (an open desk) or nothing, and then `consumeid` holds the guests
        // a free desk is opened with under the bill.
        // A bill over several desks (a reservation) keeps its lines on its first desk.
        // Desks joined to it before never take the lines: the bill's own desk does.
        SimDesk* bill = nullptr;
        for (bool joinedToo : {false, true})
            for (auto& [id, desk] : desks)
                if (!bill && !p2.empty() && desk.state == "6" && desk.consumeID == p2 && (joinedToo || !desk.joined))
                    bill = &desk;
        SimDesk* other = findDesk(p1);
        if (!bill || !other || other == bill) return refused("并台失败");
        if (other->consumeID == bill->consumeID) return refused("桌台已在同一账单");
        const std::string otherBill = r.field("deskid");
        if (otherBill.empty()) {
            const int guests = platform::leadingInt(r.field("consumeid"));
            if (other->state == "6") return refused("桌台已开台");
            if (guests < 1) return refused("人数不能为0");
            other->consumeID = bill->consumeID;
            openDesk(*other, guests, r.field("waiterid"));
            other->joined = true;
            return ok();
        }
        if (other->state != "6" || other->consumeID != otherBill) return refused("桌台账单已变");
        for (auto& l : other->lines) bill->lines.push_back(l);
        other->lines.clear();
        other->consumeID = bill->consumeID;
        other->joined = true;
        return ok();
    }
    if (c == "yudinfo") {
        auto it = reservations.find(p2);
        if (it == reservations.end()) return refused("没有预订信息");
        const SimReservation& y = it->second;
        std::string inner = "<yud" + attr("rens", platform::fmt("%i", y.guests)) + attr("dwmc", y.company) +
                            attr("jcsj", y.diningTime) + attr("grmc", y.guestName) + attr("lxdh", y.telephone) +
                            attr("ydsj", y.bookingTime) + ">" + esc(y.consumeID) + "</yud>" + el("bz", y.remark) +
                            "<desk>";
        for (auto& id : y.deskIDs) inner += "<row" + attr("rens", platform::fmt("%i", y.guests)) + ">" + esc(id) + "</row>";
        inner += "</desk><caip>";
        for (auto& dish : y.dishes)
            inner += "<row" + attr("qty", num(dish.quantity)) + attr("kw", dish.kw) +
                     attr("fs", platform::fmt("%i", dish.serving)) + ">" + esc(dish.caipID) + "</row>";
        return ok(inner + "</caip>");
    }
    if (c == "yudopen") {
        if (!d) return refused("桌台不存在");
        const std::string waiter = r.field("waiterid");
        int guests = d->guests;
        if (auto rows = firstElement(r.data(), "desk") ? firstElement(r.data(), "desk")->elementsForName("row") : std::nullopt)
            for (auto& row : *rows) {
                SimDesk* t = findDesk(row->stringValue().value_or(""));
                if (!t) continue;
                guests = platform::leadingInt(attributeText(row, "rens"));
                t->consumeID = p1.empty() ? t->consumeID : p1;
                openDesk(*t, guests, attributeText(row, "usr").empty() ? waiter : attributeText(row, "usr"));
            }
        if (d->state != "6") openDesk(*d, guests, waiter);
        if (auto rows = firstElement(r.data(), "caip") ? firstElement(r.data(), "caip")->elementsForName("row") : std::nullopt)
            for (auto& row : *rows) {
                SimLine l;
                l.xfmxID = newLineID();
                l.uid = row->stringValue().value_or("");
                l.caipID = attributeText(row, "gds");
                // The reservation's rows carry no price: the back office books the menu's.
                auto menu = menuPrices.find(l.caipID);
                l.price = menu == menuPrices.end() ? "" : menu->second;
                l.quantity = platform::leadingDouble(attributeText(row, "qty"));
                l.serving = platform::leadingInt(attributeText(row, "fs"));
                l.tasteIDs = attributeText(row, "kw");
                l.varQty = platform::leadingInt(attributeText(row, "var")) != 0;
                l.isSet = attributeText(row, "Set") == "1";
                l.isExp = attributeText(row, "Exp") == "1";
                l.waiter = waiter;
                l.time = nowText();
                d->lines.push_back(l);
            }
        reservations.erase(d->id);
        return ok(el("deskid", d->id) + el("rens", platform::fmt("%i", d->guests)) + el("waiterid", d->waiter) +
                  el("xiaofid", d->consumeID));
    }
    return refused("未知命令" + c);
}

}  // namespace backoffice
