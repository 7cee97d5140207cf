#pragma once
// The online store: the state of the guest part (current customer, chosen city, the service's
// cities and cuisine types, the collected shops), held by the hub (NSServer::getShopDB) for the
// whole run, with its files in the shop folder and the three refreshes from the service.

#include <memory>
#include <string>
#include <vector>

#include "online/NSCaixClass.h"
#include "online/NSCityClass.h"
#include "online/NSCustomerClass.h"
#include "online/NSHTTPServer.h"
#include "online/NSShopClass.h"

class NSShopDBClass : public std::enable_shared_from_this<NSShopDBClass> {
public:
    std::vector<std::shared_ptr<NSShopClass>> m_collectionshop;
    std::shared_ptr<NSCityClass> m_choosecity;  // none until chosen or loaded
    std::shared_ptr<NSCustomerClass> m_nowuser = std::make_shared<NSCustomerClass>();  // never null
    std::vector<std::shared_ptr<NSCityClass>> m_citys;
    std::vector<std::shared_ptr<NSCaixClass>> m_caixs;

    // Writes "user.dat" (the login, enciphered) and "city.dat" (the chosen city).
    void saveToDB();
    // Reads the stored login, chosen city and lists back (the lists at once), then refreshes the
    // lists and the customer from the service.
    void loadFromDB();

    // The three refreshes; each answer goes to its receive handler below.
    void getCityFormServer();
    void getCaixFormServer();
    void getUserInfoFromServer();

    // A city or cuisine answer (or the stored text): an empty text changes nothing; any other
    // replaces the list and is stored, also when it does not parse.
    void receiveServerCity(const std::string& text);
    void receiveServerCaix(const std::string& text);
    // Fills the current customer's profile; a member missing from the answer clears its field.
    void receiveServerUserInfo(const std::string& text);

    void saveCitys(const std::string& text);
    void saveCaix(const std::string& text);

    // The texts of the two small files (written with JSON escapes, so every value reads back).
    static std::string accountText(const NSCustomerClass& customer);
    static std::string cityText(const NSCityClass* city);
    // The data key of "user.dat".
    static const std::string kUserKey;

private:
    NSRequestTurn cityTurn_, caixTurn_, userTurn_;
};
