#pragma once
// The restaurant behind the back-office simulator (the tests' or the demo one): its tables, files
// and desks, and the answer to each request. Not thread-safe: the simulator calls it under its own lock.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "backoffice/BackOfficeSim.h"

namespace backoffice {

// What is wrong with a request's envelope or the layout of its command; "" when nothing.
std::string requestLayoutProblem(const ReceivedRequest& request);

class SimRestaurant {
public:
    explicit SimRestaurant(Restaurant restaurant = Restaurant::Tests);

    // What a request gets back.
    struct Answer {
        std::optional<std::string> bytes;  // nothing: no reply at all
        bool close = false;                // close the connection after the reply
    };
    Answer handle(const ReceivedRequest& request);

    // Plain table documents by table name.
    std::map<std::string, std::string> tables;
    // Served files by kind ("bmp", "png", "mpg").
    std::map<std::string, std::vector<BackOfficeSim::File>> files;
    std::map<std::string, std::vector<std::string>> specialLists;
    std::map<std::string, SimDesk> desks;
    std::vector<std::string> deskOrder;  // desk IDs in floor order
    std::map<std::string, std::string> sellOut;
    std::map<std::string, std::string> menuPrices;             // unit price by dish ID, from the menu
    void indexMenuPrices();                                    // after the menu table changed
    std::optional<std::string> rebateText;  // a test's fixed discount answer
    std::vector<std::pair<std::string, std::string>> rebates;
    // The share of the bill a guest pays under a discount template, by code (1 when not listed).
    std::map<std::string, double> rebateRates = {{"01", 0.9}, {"02", 0.88}, {"03", 0.95}};
    std::string companyNumber = "0";
    LoginOptions loginOptions;
    std::map<std::string, SimReservation> reservations;  // by desk ID
    std::map<std::string, std::string> savedOrders;       // by desk ID
    std::map<std::string, std::string> passwords;         // by waiter ID
    std::map<std::string, int> dishCounters;              // by waiter ID
    std::optional<std::string> nextDeviceKey;
    std::vector<std::string> assignedKeys;
    // The demo skin joins the skin files when they are first listed or fetched: drawing it costs
    // more than every other demo file together, and most runs never ask. Emptying the skin files
    // or setting one of them drops it for good.
    bool demoSkinPending = true;
    void addDemoSkin();

private:
    void loadTests();
    void loadDemo();  // DemoRestaurant.cpp
    // The two skin pictures and the promotional film every restaurant serves.
    void addSkinPicturesAndFilm();

    Answer check(const ReceivedRequest& r);
    Answer login(const ReceivedRequest& r);
    Answer query(const ReceivedRequest& r);
    Answer treedata(const ReceivedRequest& r);
    Answer getfile(const ReceivedRequest& r);
    Answer deskstate(const ReceivedRequest& r);
    Answer opendesk(const ReceivedRequest& r);
    Answer adddish(const ReceivedRequest& r);
    Answer deldish(const ReceivedRequest& r);
    Answer hasten(const ReceivedRequest& r);
    Answer updatemenu(const ReceivedRequest& r, bool detail);
    Answer changedesk(const ReceivedRequest& r);
    Answer cleardesk(const ReceivedRequest& r);
    Answer printalldish(const ReceivedRequest& r);
    Answer custom(const ReceivedRequest& r);

    SimDesk* findDesk(const std::string& id);
    SimLine* findLine(SimDesk& desk, const std::string& xfmxID);
    std::string newBill();
    std::string newLineID();
    std::string discountText(SimDesk& desk, const std::string& code, const std::string& amount);
    void openDesk(SimDesk& desk, int guests, const std::string& waiter);
    void freeDesk(SimDesk& desk);

    long long billCounter_ = 0;
    long long lineCounter_ = 0;
    long long keyCounter_ = 0;
};

}  // namespace backoffice
