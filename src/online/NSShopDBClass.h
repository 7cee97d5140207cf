#pragma once
// The online store: the state of the guest part (current customer, chosen city, the service's
// cities and cuisine types, the collected shops), held by the hub (NSServer::getShopDB) for the
// whole run, and its files in the shop folder.

#include <memory>
#include <string>
#include <vector>

#include "online/NSCaixClass.h"
#include "online/NSCityClass.h"
#include "online/NSCustomerClass.h"
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
    // Reads the stored login, chosen city and lists back, then refreshes the lists and the
    // customer from the service.
    void loadFromDB();
};
