#include <gtest/gtest.h>

#include "core/CoreFixture.h"
#include "core/NSServer.h"
#include "model/NSATreeClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"

namespace {

class DeskTreeTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        platform::fs::createFolder(NSServer::getDataPath());
    }

    // A table file as the synchronisation stores it: enciphered with the device key.
    void putTable(const std::string& name, const std::string& records) {
        ASSERT_TRUE(NSServer().stringDataWriteToFile(
            dataFile(name), std::nullopt,
            "<?xml version=\"1.0\" encoding=\"GBK\"?><morvane><data>" + records + "</data></morvane>"));
    }

    // Each node as "parent|code|name|state|str1|uint|int2|str2".
    static std::vector<std::string> nodes() {
        auto t = NSServer::getDesks();
        std::vector<std::string> out;
        for (int i = 1; i < t->m_length; ++i)
            out.push_back(std::to_string(t->m_pid[i]) + "|" + t->m_code[i] + "|" + t->m_name[i] + "|" +
                          t->m_state[i] + "|" + t->m_str1[i] + "|" + std::to_string(t->m_uint[i]) + "|" +
                          std::to_string(t->m_int2[i]) + "|" + t->m_str2[i]);
        return out;
    }

    static std::shared_ptr<NSDeskClass> offlineDesk(int guests, std::vector<float> prices) {
        auto desk = std::make_shared<NSDeskClass>();
        desk->m_iClientNum = guests;
        for (float p : prices) {
            auto line = std::make_shared<NSDishClass>();
            line->m_strPrice = "1";
            line->m_fQuantity = p;
            desk->m_DishList.push_back(line);
        }
        return desk;
    }
};

TEST_F(DeskTreeTest, WithoutTableFilesTheDefaultRoomAndDesk) {
    NSServer::setOutDesk(std::make_shared<NSDeskList>(NSDeskList{offlineDesk(2, {20, 12.5f, 13})}));
    NSServer::loadDesks(std::nullopt, true);  // no reply: no offline section either
    EXPECT_EQ(nodes(), (std::vector<std::string>{"0||一楼宴会区|||0|0|", "1|00010024|Y1|10||0|0|"}));

    NSServer::loadDesks("<morvane><data><desk f1=\"00010024\" f2=\"6\"/></data></morvane>", true);
    EXPECT_EQ(nodes(), (std::vector<std::string>{
                           "0||一楼宴会区|||0|0|", "1|00010024|Y1|10||0|0|",  // the reply is not applied
                           "0||离线点菜|新建||0|0|新建", "0||2人 3菜|离线新建||0|0|45.5元"}));
}

TEST_F(DeskTreeTest, RoomsDesksStatesAndBills) {
    putTable("ssdept.dat", "<record f1=\"R1\" f2=\"大厅\"/><record f1=\"R2\" f2=\"包间\"/><record f1=\"R3\" f2=\"空\"/>");
    putTable("zuot.dat",
             "<record f1=\"D1\" f2=\"A1\" f3=\"R1\" f4=\"4\"/><record f1=\"D2\" f2=\"A2\" f3=\"R1\" f4=\"6\"/>"
             "<record f1=\"D3\" f2=\"V1\" f3=\"R2\" f4=\"10\"/><record f1=\"D9\" f2=\"X\" f3=\"R9\" f4=\"2\"/>");

    NSServer::loadDesks(std::nullopt, false);
    EXPECT_EQ(nodes(), (std::vector<std::string>{"0||大厅|||0|0|", "1|D1|A1|4||0|0|", "1|D2|A2|6||0|0|",
                                                 "0||包间|||0|0|", "4|D3|V1|10||0|0|", "0||空|||0|0|"}));

    // D1 listed twice (applied in turn), D2 with two bills (the next room stays under the root),
    // D3 absent (free), D8 unknown (ignored).
    NSServer::setOutDesk(std::make_shared<NSDeskList>(NSDeskList{offlineDesk(3, {30})}));
    NSServer::loadDesks(
        "<morvane><data>"
        "<desk f1=\"D1\" f2=\"4\" f3=\"B0\" f4=\"1\" f6=\"早\" f7=\"2\"/>"
        "<desk f1=\"D2\" f2=\"x\" f3=\"ignored\"><bill f2=\"6\" f3=\"B1\" f4=\"3\" f6=\"张\" f7=\"9\"/>"
        "<bill f2=\"5\" f3=\"B2\"/></desk>"
        "<desk f1=\"D1\" f2=\"6\" f3=\"B5\" f4=\"x\" f6=\"晚\"/>"
        "<desk f1=\"D8\" f2=\"6\"/>"
        "</data></morvane>",
        false);
    EXPECT_EQ(nodes(), (std::vector<std::string>{
                           "0||大厅|||0|0|", "1|D1|A1|6|B5|0|0|晚", "1|D2|A2|6||0|0|",
                           "3|D2|A2|6|B1|3|9|张", "3|D2|A2|5|B2|0|0|", "0||包间|||0|0|",
                           "6|D3|V1|1||0|0|", "0||空|||0|0|"}));  // no offline section: flag NO
}

TEST_F(DeskTreeTest, UnparsableReplyFreesEveryDeskAndKeepsTheOfflineSection) {
    putTable("ssdept.dat", "<record f1=\"R1\" f2=\"大厅\"/>");
    putTable("zuot.dat", "<record f1=\"D1\" f2=\"A1\" f3=\"R1\" f4=\"4\"/>");
    NSServer::setOutDesk(std::make_shared<NSDeskList>());
    NSServer::loadDesks("<morvane><data", true);
    EXPECT_EQ(nodes(), (std::vector<std::string>{"0||大厅|||0|0|", "1|D1|A1|1||0|0|",
                                                 "0||离线点菜|新建||0|0|新建"}));
}

}  // namespace
