#include "online/NSShopDBClass.h"

#include "core/NSEncDec.h"
#include "core/NSServer.h"
#include "online/NSJsonResolver.h"
#include "online/NSWebPages.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Text.h"

namespace {

// The hub keeps the store here rather than in core, so that the core does not depend on the
// online part.
std::shared_ptr<NSShopDBClass>& heldShopDB() {
    static std::shared_ptr<NSShopDBClass> db;
    return db;
}

// The stored files are small; anything much larger is not ours.
constexpr std::uint64_t kMaxFileBytes = 4u * 1024 * 1024;

// The path of a file of the shop folder; "" while no shop folder is set, so nothing is read from
// or written to the file system's root.
std::string shopFile(const char* name) {
    const std::string& folder = NSServer::getShopPath();
    return folder.empty() ? std::string() : platform::fs::join(folder, name);
}

std::string readShopFile(const char* name) {
    const std::string path = shopFile(name);
    if (path.empty()) return {};
    auto bytes = platform::fs::readAll(path, kMaxFileBytes);
    return bytes ? *bytes : std::string();
}

void writeShopFile(const char* name, const std::string& bytes) {
    const std::string path = shopFile(name);
    if (!path.empty()) platform::fs::writeAtomically(path, bytes);  // write errors are ignored
}

// A JSON string literal of the text (quotes included).
std::string quoted(const std::string& text) {
    return nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace

const std::string NSShopDBClass::kUserKey = "pelquoz";

std::shared_ptr<NSShopDBClass> NSServer::getShopDB() {
    auto& db = heldShopDB();
    if (!db) {
        db = std::make_shared<NSShopDBClass>();
        // The first use of the online part brings back the stored login, city and lists.
        db->loadFromDB();
    }
    return db;
}

void NSServer::setShopDB(std::shared_ptr<NSShopDBClass> db) {
    // The new store is held before the old one goes, so handing back the same store keeps it.
    heldShopDB().swap(db);
}

std::string NSShopDBClass::accountText(const NSCustomerClass& c) {
    return "{\"m_id\":" + quoted(c.m_id) + ",\"m_name\":" + quoted(c.m_name) +
           ",\"m_password\":" + quoted(c.m_password) + "}";
}

std::string NSShopDBClass::cityText(const NSCityClass* city) {
    const NSCityClass none;
    const NSCityClass& c = city ? *city : none;
    return "{\"m_id\":" + quoted(c.m_id) + ",\"cityname\":" + quoted(c.cityname) + ",\"isHot\":\"" +
           (c.isHot ? "1" : "0") + "\",\"adddate\":" + quoted(c.adddate) + "}";
}

void NSShopDBClass::saveToDB() {
    // This file pairs the cipher the other way round from the rest of the program: written with
    // Encrypt, read with Decrypt. Existing files depend on it.
    NSEncDec cipher;
    if (auto text = cipher.encodeBase64(cipher.Encrypt(accountText(*m_nowuser), kUserKey))) {
        writeShopFile("user.dat", *text);
    }
    writeShopFile("city.dat", cityText(m_choosecity.get()));
}

void NSShopDBClass::loadFromDB() {
    m_nowuser = std::make_shared<NSCustomerClass>();
    const std::string userFile = readShopFile("user.dat");
    if (!userFile.empty()) {
        NSEncDec cipher;
        if (auto bytes = cipher.decodeBase64(userFile)) {
            NSJsonResolver resolver;
            if (auto account = resolver.resolveJson(cipher.Decrypt(*bytes, kUserKey))) {
                m_nowuser->m_id = json_read::text(*account, "m_id");
                m_nowuser->m_name = json_read::text(*account, "m_name");
                m_nowuser->m_password = json_read::text(*account, "m_password");
            }
        }
    }

    m_choosecity = std::make_shared<NSCityClass>();
    const std::string cityFile = readShopFile("city.dat");
    if (!cityFile.empty()) {
        NSJsonResolver resolver;
        if (auto city = resolver.resolveJson(cityFile)) {
            m_choosecity->m_id = json_read::text(*city, "m_id");
            m_choosecity->cityname = json_read::text(*city, "cityname");
            m_choosecity->isHot = json_read::boolean(*city, "isHot");
            m_choosecity->adddate = json_read::text(*city, "adddate");
        }
    }

    receiveServerCity(readShopFile("citys.dat"));
    getCityFormServer();
    receiveServerCaix(readShopFile("caixs.dat"));
    getCaixFormServer();
    getUserInfoFromServer();
}

void NSShopDBClass::getCityFormServer() {
    NSHTTPServer::getText(
        webpages::cityInfo(), shared_from_this(),
        [this](const std::string& answer, NSHTTPServer&) { receiveServerCity(answer); }, &cityTurn_);
}

void NSShopDBClass::getCaixFormServer() {
    NSHTTPServer::getText(
        webpages::shopTypeList(), shared_from_this(),
        [this](const std::string& answer, NSHTTPServer&) { receiveServerCaix(answer); }, &caixTurn_);
}

void NSShopDBClass::getUserInfoFromServer() {
    // The profile belongs to the customer it was asked for: after a log-out or another login it is
    // not put into the new account.
    std::weak_ptr<NSCustomerClass> askedFor = m_nowuser;
    NSHTTPServer::getText(
        webpages::userInfo(m_nowuser->m_id), shared_from_this(),
        [this, askedFor](const std::string& answer, NSHTTPServer&) {
            if (askedFor.lock() == m_nowuser) receiveServerUserInfo(answer);
        },
        &userTurn_);
}

namespace {
// Replaces the list by the records `make` gives for the elements of the answer's `key` array, in
// answer order (none when the text does not parse); `make` answers null to leave one out.
template <class T, class Make>
void replaceList(std::vector<std::shared_ptr<T>>& list, const std::string& text, const char* key, Make make) {
    list.clear();
    NSJsonResolver resolver;
    const auto answer = resolver.resolveJson(text);
    if (!answer) return;
    for (const auto& e : json_read::list(*answer, key))
        if (auto record = make(e)) list.push_back(std::move(record));
}
}  // namespace

void NSShopDBClass::receiveServerCity(const std::string& text) {
    if (text.empty()) return;
    replaceList(m_citys, text, "datelist", [](const nlohmann::json& e) {
        auto city = std::make_shared<NSCityClass>();
        city->m_id = json_read::text(e, "cityid");
        city->cityname = json_read::text(e, "cname");
        city->isHot = json_read::boolean(e, "ishotcity");
        city->adddate = json_read::text(e, "adddate");
        return city;
    });
    saveCitys(text);  // also when it did not parse: the file keeps the service's last word
}

void NSShopDBClass::receiveServerCaix(const std::string& text) {
    if (text.empty()) return;
    replaceList(m_caixs, text, "shoptypelist", [](const nlohmann::json& e) -> std::shared_ptr<NSCaixClass> {
        // Only the top-level types ("1" as a text) are offered as cuisines.
        if (!json_read::textEquals(e, "Parentid", "1")) return nullptr;
        auto caix = std::make_shared<NSCaixClass>();
        caix->m_srtSortID = json_read::text(e, "SortID");
        caix->m_srtSortName = json_read::text(e, "SortName");
        caix->m_iJOrder = json_read::integer(e, "JOrder");
        caix->m_strParentid = json_read::text(e, "Parentid");
        return caix;
    });
    saveCaix(text);
}

void NSShopDBClass::receiveServerUserInfo(const std::string& text) {
    if (text.empty()) return;
    NSJsonResolver resolver;
    const auto parsed = resolver.resolveJson(text);
    // Text that is no profile (an error page) is no answer: it must not wipe the account.
    if (!parsed || !parsed->is_object()) return;
    const nlohmann::json& answer = *parsed;
    NSCustomerClass& c = *m_nowuser;
    c.m_email = json_read::text(answer, "email");
    c.m_name = json_read::text(answer, "username");
    c.m_truename = json_read::text(answer, "truename");
    c.m_tel = json_read::text(answer, "phone");
    c.m_qq = json_read::text(answer, "qq");
    c.m_sex = json_read::integer(answer, "sex");
    c.m_strJiF = json_read::text(answer, "point");
}

void NSShopDBClass::saveCitys(const std::string& text) { writeShopFile("citys.dat", text); }

void NSShopDBClass::saveCaix(const std::string& text) { writeShopFile("caixs.dat", text); }
