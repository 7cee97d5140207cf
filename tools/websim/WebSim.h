#pragma once
// The web-service simulator: the online ordering service's pages on 127.0.0.1 over real HTTP,
// with a small demo world (cities, cuisine types, shops with positions and menus, customers and
// their orders) that keeps what the terminal changes (registrations, logins, favourites, orders,
// points), a log of every request, and fault modes for the client's failure paths. The tests run
// it in-process on a port they choose; the program `websim` runs it for the demo.

#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

namespace websim {

// How a page answers.
enum class Fault {
    None,       // the page's own answer
    NoAnswer,   // holds the request without answering (until the fault is lifted or the server stops)
    Slow,       // the page's own answer, after the configured delay
    HtmlError,  // an HTML error page with status 200
    BadJson,    // a cut-off JSON text with status 200
    Status,     // the page's own answer body, with status 500
    DeepJson,   // valid JSON nested 100,000 arrays deep (200 KB), with status 200
    Held,       // the page's own answer, held until releaseHeld() (requests arriving while it is set)
};

struct LoggedRequest {
    std::string target;                             // as it came on the wire, still escaped
    std::string page;                               // "Login", ...; "" for a picture
    std::multimap<std::string, std::string> query;  // decoded
    std::multimap<std::string, std::string> headers;
};

struct Shop {
    std::string id, name, sortid, sortname, address, ctid, mymoney, picture, tel, foodclass, landmark,
        introduce, togoUrl;
    std::vector<std::pair<std::string, std::string>> times;  // up to three opening periods
    double lat = 0, lng = 0;  // the service's coordinates
    int togoType = 4;
    std::string distance = "0";
    nlohmann::json foodtypes = nlohmann::json::array();  // "foodtypelist" elements
    nlohmann::json foods = nlohmann::json::array();      // "foodlist" elements
};

struct Customer {
    std::string id, username, password, email, phone, truename, qq, address, receiver;
    int sex = 0;
    int point = 0;
    std::vector<std::string> favourites;  // shop ids
};

struct Order {
    std::string id, userid, shopid, orderTime, totalPrice = "0", sendmoney = "0", packagefree = "0", mode,
        payMode, payTime, payState = "0", sentTime, remark, eatNum, userName, tel, address;
    int state = 0;
    int orderType = 1;
    nlohmann::json foods = nlohmann::json::array();  // "foodlist" elements of the detail
};

// The simulated service's world. The demo world is filled by demo().
struct World {
    nlohmann::json cities = nlohmann::json::array();     // "datelist" elements
    nlohmann::json shoptypes = nlohmann::json::array();  // "shoptypelist" elements
    std::vector<Shop> shops;
    std::vector<Customer> customers;
    std::vector<Order> orders;
    int nextCustomer = 2000;  // past the demo customer's id
    int nextOrder = 6000;  // past the demo orders' numbers
    int pageSize = 10;

    static World demo();
    Shop* shop(const std::string& id);
    Customer* customer(const std::string& id);
    Order* order(const std::string& id);
};

class WebSim {
public:
    WebSim();
    ~WebSim();
    WebSim(const WebSim&) = delete;
    WebSim& operator=(const WebSim&) = delete;

    // Listens on 127.0.0.1 (port 0: any free port) and serves on background threads. Answers the
    // port, or 0 when it cannot listen.
    int start(int port = 0);
    void stop();
    int port() const { return port_; }
    // The service base URL the client is pointed at: "http://127.0.0.1:<port>/app/Android/".
    std::string baseURL() const;

    // A fault for one page ("Login", "GetShopListByLocation", ...; "pic" for pictures), or for
    // every page with "".
    void setFault(const std::string& page, Fault fault);
    void clearFaults();
    void setSlowSeconds(double seconds);
    // Lets go the held answer of every request already in the log (each as it was made when its
    // request came), also one whose thread has not begun to hold it yet; requests that come later
    // are held again while the fault stays.
    void releaseHeld();

    std::vector<LoggedRequest> requests() const;
    void clearLog();
    void setLogging(bool on) { logging_ = on; }

    // The world, under the simulator's lock.
    template <typename F>
    auto withWorld(F&& f) {
        std::lock_guard<std::mutex> lock(mutex_);
        return f(world_);
    }

    // The PNG picture at an upload address ("upload/shop101.png"): a shop's front, a dish of a
    // shop's menu, or a plain dish for an address the world does not know. Each is drawn once and
    // kept, so there are at most as many as the world has shops and dishes, and one more.
    std::string picture(const std::string& path);

private:
    struct Server;
    Fault faultFor(const std::string& page) const;
    // The page's JSON answer (status 200), or nothing for an unknown page.
    std::optional<nlohmann::json> answer(const std::string& page,
                                         const std::multimap<std::string, std::string>& query);
    void holdFor(double seconds);

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    World world_;
    std::map<std::string, Fault> faults_;
    double slowSeconds_ = 0.5;
    std::uint64_t releases_ = 0;  // releaseHeld() calls so far
    std::vector<LoggedRequest> log_;
    bool logging_ = false;
    std::mutex picturesMutex_;
    std::map<std::string, std::string> pictures_;  // by address; "" the plain dish
    std::unique_ptr<Server> server_;
    std::thread thread_;
    int port_ = 0;
};

}  // namespace websim
