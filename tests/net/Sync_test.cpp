// The synchronisation of tables, special lists, pictures, skins and videos against the simulator.

#include <algorithm>
#include <memory>

#include <chrono>

#include "GData/GDataXML.h"
#include "base64/GTMBase64.h"
#include "backoffice/BackOfficeSim.h"
#include "core/CoreFixture.h"
#include "net/SimFixture.h"
#include "core/NSEncDec.h"
#include "model/NSCaipDBClass.h"
#include "net/NSTcpNet.h"
#include "net/RootServices.h"
#include "platform/foundation/Network.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/Text.h"

namespace {

using backoffice::BackOfficeSim;

const char* const kTables[] = {"yonghxx", "caip",  "stCategory", "ssdept", "tuidyy", "zuot",
                               "zuotzt",  "caipu", "stBom",      "stUnits", "kouw"};

class SyncTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        NSServer::setIP("127.0.0.1");
        NSServer::setOutTime(1);
        NSServer::createDir();
        NSServer::loadMacAdr();
        pics = NSServer::getCaippicPath();
        for (const char* kind : {"bmp", "png", "mpg"}) sim.removeFiles(kind);
    }
    void serve(const std::string& kind, const std::string& name, int stamp, const std::string& bytes,
               std::optional<long long> listedSize = std::nullopt) {
        sim.setFile(kind, {name, stamp, bytes, listedSize});
    }
    std::vector<std::string> fetched() const {
        std::vector<std::string> names;
        for (const auto& r : sim.requestsFor("getfile")) names.push_back(r.field("param1"));
        return names;
    }
    std::map<std::string, std::string> index(const std::string& path) const {
        std::map<std::string, std::string> out;
        if (auto dict = platform::readPlistDictFile(path))
            for (const auto& [k, v] : *dict) out[k] = v.string() ? *v.string() : "?";
        return out;
    }
    // The start of a BMP file, plain as the server has it, or enciphered with a device key as a
    // run stores it.
    static std::string bmpHead() {
        return "BM" + std::string(12, '\0') + std::string("\x28\0\0\0", 4) + std::string(40, '\x11');
    }
    static std::string storedPicture(const std::string& key) { return NSEncDec().Decrypt(bmpHead(), key); }
    std::string pics;
};

TEST_F(SyncTest, MenuSyncStoresTablesListsAndPicturesThenReloadsTheMenu) {
    const std::string picture(3000, '\x5a');
    serve("bmp", "a.bmp", 5, picture);
    serve("bmp", "B.TXT", 7, "主料");
    serve("bmp", "C.BMP", 9, std::string(20, 'c'), 10);  // the list announces 10 bytes
    sim.setSpecialList("Dailynew", {"D1", "D2"});
    platform::fs::writeAtomically(pics + "/B.TXT", "stale");  // no index yet: fetched all the same
    auto oldMenu = NSServer::getCaipDB();

    ASSERT_TRUE(NSServer().ayncCaip());

    // Every table as served: Base64 of the document enciphered with the device key.
    auto queries = sim.requestsFor("query");
    ASSERT_EQ(queries.size(), std::size(kTables));
    for (size_t i = 0; i < std::size(kTables); ++i) {
        EXPECT_EQ(queries[i].field("table"), kTables[i]);
        EXPECT_EQ(NSServer().stringDataReadFromFile(dataFile(std::string(kTables[i]) + ".dat")),
                  sim.tableDocument(kTables[i])) << kTables[i];
    }
    auto fields = [](const backoffice::ReceivedRequest& r) {
        return attributeText(firstElement(r.data(), "table"), "field");
    };
    EXPECT_EQ(fields(queries[2]), "uid,ctname,ctparentid,ctorder");
    EXPECT_EQ(fields(queries[9]), "*");

    auto daily = platform::fs::readAll(dataFile("Dailynew.dat"));
    ASSERT_TRUE(daily);
    auto doc = GDataXMLDocument::initWithDataOptionsError(*daily, 0, nullptr);
    ASSERT_TRUE(doc);
    auto rows = firstElement(doc->rootElement(), "data")->elementsForName("row");
    ASSERT_TRUE(rows && rows->size() == 2u);
    EXPECT_EQ(attributeText(rows->at(1), "code"), "D2");
    EXPECT_TRUE(platform::fs::exists(dataFile("Recommend.dat")));

    // Pictures under their upper-cased names; the picture reads back as served.
    EXPECT_EQ(NSServer().readCaipImageData(pics + "/A.BMP"), picture);
    EXPECT_EQ(platform::fs::readAll(pics + "/B.TXT"), "主料");
    EXPECT_EQ(platform::fs::readAll(pics + "/C.BMP")->size(), 10u);
    EXPECT_EQ(index(pics + "/caippic.dat"),
              (std::map<std::string, std::string>{{"A.BMP", "5"}, {"B.TXT", "7"}, {"C.BMP", "9"}}));
    EXPECT_TRUE(root->showed("正在更新图片(1/4)\r\nA.BMP"));
    EXPECT_TRUE(root->showed("正在更新图片(3/4)\r\nC.BMP"));
    EXPECT_TRUE(root->showed("正在更新桌台数据..."));

    EXPECT_NE(NSServer::getCaipDB(), oldMenu);
    EXPECT_FALSE(NSServer::getCaipDB()->m_CaipArray.empty());
}

TEST_F(SyncTest, PictureRowsAreSkippedByIndexStampNameAndSize) {
    platform::PlistDict old;
    for (const char* n : {"S9.BMP", "S10.BMP", "NEG.BMP", "MISSING.BMP"}) old[n] = "100";
    ASSERT_TRUE(platform::writePlistDictFile(pics + "/caippic.dat", old));
    const std::string present = storedPicture(NSServer::getMacAdr());
    for (const char* n : {"S9.BMP", "S10.BMP", "NEG.BMP", "NEW.BMP"})
        platform::fs::writeAtomically(pics + "/" + n, present);

    struct Row { const char* name; int stamp; long long size; bool fetched; } rows[] = {
        {"S9.BMP", 109, 4, false},      {"S10.BMP", 110, 4, true},   {"NEG.BMP", 91, 4, false},
        {"MISSING.BMP", 100, 4, true},  {"new.bmp", 1, 4, true},     {"zero.bmp", 1, 0, false},
        {"old.bak", 1, 4, false},       {"data.Db", 1, 4, false},    {"../EVIL.BMP", 1, 4, false},
        {"a\\b.bmp", 1, 4, false},      {"..", 1, 4, false},         {".", 1, 4, false},
    };
    std::vector<std::string> expected;
    for (const auto& r : rows) {
        serve("bmp", r.name, r.stamp, "xxxx", r.size);
        if (r.fetched) expected.push_back(platform::toUpper(r.name));
    }
    ASSERT_TRUE(NSServer().ayncPic());
    EXPECT_EQ(fetched(), expected);
    EXPECT_FALSE(platform::fs::exists(NSServer::getCaippicPath() + "/../EVIL.BMP"));
    EXPECT_EQ(platform::fs::readAll(pics + "/S9.BMP"), present);
    EXPECT_EQ(index(pics + "/caippic.dat")["S10.BMP"], "110");
    // Skipped rows leave gaps in the count: row 2 of 13 was the first one fetched.
    EXPECT_TRUE(root->showed("正在更新图片(2/13)\r\nS10.BMP"));

    // An index that is no dictionary neither skips nor records anything.
    sim.clearRecords();
    platform::fs::writeAtomically(pics + "/caippic.dat", "not a plist");
    ASSERT_TRUE(NSServer().ayncPic());
    EXPECT_EQ(fetched(), (std::vector<std::string>{"S9.BMP", "S10.BMP", "NEG.BMP", "MISSING.BMP", "NEW.BMP"}));
    EXPECT_EQ(platform::fs::readAll(pics + "/caippic.dat"), "not a plist");
}

TEST_F(SyncTest, AFailedTableStepKeepsTheLaterTablesAndTheMenu) {
    for (const char* t : kTables) platform::fs::writeAtomically(dataFile(std::string(t) + ".dat"), "OLD");
    sim.overrideReply("query", [](const backoffice::ReceivedRequest& r) -> std::optional<std::string> {
        if (r.field("table") == "zuot") return BackOfficeSim::errorReplyText("桌台表错误");
        return std::nullopt;
    });
    auto menu = NSServer::getCaipDB();
    EXPECT_FALSE(NSServer().ayncCaip());
    for (size_t i = 0; i < std::size(kTables); ++i)
        EXPECT_EQ(platform::fs::readAll(dataFile(std::string(kTables[i]) + ".dat")) == "OLD", i >= 5)
            << kTables[i];
    EXPECT_EQ(NSServer::getCaipDB(), menu);
    EXPECT_EQ(root->alerts, std::vector<std::string>{"桌台表错误"});
    EXPECT_TRUE(sim.requestsFor("treedata").empty());
}

TEST_F(SyncTest, APictureThatNeverArrivesStopsTheRunButKeepsWhatCame) {
    serve("bmp", "ONE.TXT", 3, "one");
    serve("bmp", "TWO.TXT", 3, "two", 1000);  // announced larger than what comes
    serve("bmp", "THREE.TXT", 3, "three");
    auto menu = NSServer::getCaipDB();
    EXPECT_FALSE(NSServer().ayncCaip());
    EXPECT_EQ(platform::fs::readAll(pics + "/ONE.TXT"), "one");
    EXPECT_FALSE(platform::fs::exists(pics + "/TWO.TXT"));
    EXPECT_FALSE(platform::fs::exists(pics + "/THREE.TXT"));
    EXPECT_EQ(index(pics + "/caippic.dat"), (std::map<std::string, std::string>{{"ONE.TXT", "3"}}));
    EXPECT_TRUE(root->showed("接收图片数据异常,请检查网络"));
    EXPECT_TRUE(platform::fs::exists(dataFile("Recommend.dat")));
    EXPECT_NE(NSServer::getCaipDB(), menu);  // the new tables are loaded all the same

    // The next run resumes at the first file missing.
    sim.clearRecords();
    serve("bmp", "TWO.TXT", 3, "two");
    EXPECT_TRUE(NSServer().ayncPic());
    EXPECT_EQ(fetched(), (std::vector<std::string>{"TWO.TXT", "THREE.TXT"}));
}

TEST_F(SyncTest, SkinsThenVideosEachWithTheirIndex) {
    serve("png", "skin1.png", 2, "S1");
    serve("png", "INTERFACE.XML", 4, "<xml/>");
    serve("mpg", "v1.mpg", 6, "V1");
    serve("mpg", "V2.MPG", 8, "V2");
    platform::fs::writeAtomically(NSServer::getSkinsPath() + "/SKIN1.PNG", "S1");
    ASSERT_TRUE(NSServer().updateSys());
    EXPECT_EQ(fetched(), (std::vector<std::string>{"SKIN1.PNG", "INTERFACE.XML", "V1.MPG", "V2.MPG"}));
    EXPECT_EQ(platform::fs::readAll(NSServer::getMediaPath() + "/V2.MPG"), "V2");
    EXPECT_EQ(index(NSServer::getSkinsPath() + "/skins.dat"),
              (std::map<std::string, std::string>{{"INTERFACE.XML", "4"}, {"SKIN1.PNG", "2"}}));
    EXPECT_EQ(index(NSServer::getMediaPath() + "/media.dat"),
              (std::map<std::string, std::string>{{"V1.MPG", "6"}, {"V2.MPG", "8"}}));
    EXPECT_TRUE(root->showed("正在更新文件(2/3)\r\nV2.MPG"));

    // Unchanged files are not fetched again; a failed skin list leaves the videos alone.
    sim.clearRecords();
    ASSERT_TRUE(NSServer().updateSys());
    EXPECT_TRUE(fetched().empty());
    sim.overrideReply("treedata", [](const backoffice::ReceivedRequest& r) -> std::optional<std::string> {
        if (r.field("param1") == "skindir") return BackOfficeSim::errorReplyText("无皮肤");
        return std::nullopt;
    });
    sim.clearRecords();
    EXPECT_FALSE(NSServer().updateSys());
    EXPECT_EQ(sim.requestsFor("treedata").size(), 1u);
}

TEST_F(SyncTest, DemoDownloadKeepsTheScreenAwakeOnlyWhileItRuns) {
    backoffice::Faults f;
    f.refuse = true;
    sim.setFaults(f);
    EXPECT_FALSE(NSServer().downloadCSH());
    EXPECT_EQ(root->idle, (std::vector<bool>{true, false}));
    sim.clearFaults();
    EXPECT_TRUE(NSServer().downloadCSH());
    EXPECT_EQ(root->idle, (std::vector<bool>{true, false, true, false}));
}

TEST_F(SyncTest, ATableReplyThatIsNoTableKeepsEveryTableAndTheMenu) {
    ASSERT_TRUE(NSServer().ayncCaip());
    std::map<std::string, std::string> before;
    for (const char* t : kTables) before[t] = platform::fs::readAll(dataFile(std::string(t) + ".dat")).value_or("");
    auto menu = NSServer::getCaipDB();
    const std::size_t dishes = menu->m_CaipArray.size();
    ASSERT_GT(dishes, 0u);

    auto enciphered = [](const std::string& text) {
        return GTMBase64::encodeData(NSEncDec().Decrypt(text, NSServer::getMacAdr())).value_or("");
    };
    const std::string notTables[] = {
        "not a table",
        enciphered("not a table either"),
        enciphered("<?xml version=\"1.0\"?><morvane><nodata/></morvane>"),
        NSEncDec().encodeBase64("<morvane><data/></morvane>").value_or(""),  // not enciphered for us
    };
    for (const auto& text : notTables) {
        sim.overrideReply("query", [&](const backoffice::ReceivedRequest& r) -> std::optional<std::string> {
            if (r.field("table") == "caip") return text + "</morvane>\n";
            return std::nullopt;
        });
        EXPECT_FALSE(NSServer().ayncCaip()) << text;
        for (const char* t : kTables)
            EXPECT_EQ(platform::fs::readAll(dataFile(std::string(t) + ".dat")).value_or(""), before[t]) << t;
        EXPECT_EQ(NSServer::getCaipDB(), menu);
        EXPECT_EQ(menu->m_CaipArray.size(), dishes);
    }
}

TEST_F(SyncTest, AFileAnsweredByAnErrorReplyStoresAndIndexesNothing) {
    backoffice::Faults f;
    f.errorReply = "文件不存在";
    f.onlyCommand = "getfile";
    // The error reply is longer than the first file and far shorter than the second: neither is
    // taken for the file, and the second is not waited for until its announced size. With the
    // default time-out such a wait would take 20 s, which no busy machine makes of a prompt answer.
    NSServer::setOutTime(20);
    for (long long size : {3LL, 50000LL}) {
        sim.clearRecords();
        sim.removeFiles("bmp");
        serve("bmp", "ONE.TXT", 3, std::string(static_cast<std::size_t>(size), 'o'));
        serve("bmp", "TWO.TXT", 3, "two");
        sim.setFaults(f);
        root->alerts.clear();
        NSServer::setIsShowAlert(false);
        auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(NSServer().ayncPic()) << size;
        EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 10.0) << size;
        EXPECT_FALSE(platform::fs::exists(pics + "/ONE.TXT")) << size;
        EXPECT_TRUE(index(pics + "/caippic.dat").empty()) << size;
        EXPECT_EQ(root->alerts, std::vector<std::string>{"文件不存在"}) << size;
        EXPECT_EQ(sim.requestsFor("getfile").size(), 1u) << size;  // shown once, not asked again
    }
}

TEST_F(SyncTest, FilesArriveWholeOnAKeptConnectionAndOddNamesAreSkipped) {
    NSServer::setIsLongSocket(true);
    const std::string tooLong(250, 'N');
    // More bytes than the list announces, the rest of them still on the way when the file is
    // complete (held until the next request comes in on that connection): they must not become
    // the head of the next file.
    serve("bmp", "C.TXT", 2, "0123456789" "LATELATELA", 10);
    serve("bmp", tooLong + ".TXT", 2, "never");
    serve("bmp", "D.TXT", 2, "dd");
    backoffice::Faults slowTail;
    slowTail.lateBytes = "LATELATELALATELATELA";
    slowTail.onlyCommand = "getfile";
    slowTail.times = 1;
    sim.setFaults(slowTail);
    ASSERT_TRUE(NSServer().ayncPic());
    EXPECT_EQ(platform::fs::readAll(pics + "/C.TXT"), "0123456789");
    EXPECT_EQ(platform::fs::readAll(pics + "/D.TXT"), "dd");
    EXPECT_EQ(fetched(), (std::vector<std::string>{"C.TXT", "D.TXT"}));
    EXPECT_EQ(index(pics + "/caippic.dat"), (std::map<std::string, std::string>{{"C.TXT", "2"}, {"D.TXT", "2"}}));
}

TEST_F(SyncTest, LateBytesOnAKeptConnectionNeverBecomeTheHeadOfAFile) {
    NSServer::setIsLongSocket(true);
    // Bytes the server sends after an answer, arriving only once the next file was asked for
    // (the simulator holds them until that request comes in on the connection, so no pending
    // input is there to throw away before it): after a file, and after the file list.
    for (const char* after : {"getfile", "treedata"}) {
        SCOPED_TRACE(after);
        platform::fs::remove(pics);
        NSServer::createDir();
        sim.removeFiles("bmp");
        serve("bmp", "A.TXT", 2, "aaaa");
        serve("bmp", "B.TXT", 2, "bbbb");
        backoffice::Faults late;
        late.lateBytes = "LATE";
        late.onlyCommand = after;
        late.times = 1;
        sim.setFaults(late);
        ASSERT_TRUE(NSServer().ayncPic());
        EXPECT_EQ(platform::fs::readAll(pics + "/A.TXT"), "aaaa");
        EXPECT_EQ(platform::fs::readAll(pics + "/B.TXT"), "bbbb");
        sim.clearFaults();
    }
}

TEST_F(SyncTest, APictureStoredUnderAnotherDeviceKeyIsFetchedAgain) {
    // The demo data is downloaded before the device enrols: its pictures carry the key "null".
    const std::map<std::string, std::string> pictures = {
        {"4001.BMP", bmpHead() + std::string(2000, 'p')},
        {"4001T.BMP", std::string("\x89PNG\r\n\x1a\n", 8) + std::string(100, 't')},
    };
    for (const auto& [name, bytes] : pictures) serve("bmp", name, 5, bytes);
    serve("bmp", "4001M.TXT", 5, "主料");
    NSServer::setMacAdr("null");
    ASSERT_TRUE(NSServer().ayncPic());
    EXPECT_EQ(fetched().size(), 3u);

    // Enrolled: the pictures come again, under the new key, once; the description is stored as
    // it came, under no key, and stays.
    NSServer::setMacAdr("SIM00000007");
    for (const std::vector<std::string>& expected :
         {std::vector<std::string>{"4001.BMP", "4001T.BMP"}, std::vector<std::string>{}}) {
        sim.clearRecords();
        ASSERT_TRUE(NSServer().ayncPic());
        EXPECT_EQ(fetched(), expected);
        for (const auto& [name, bytes] : pictures)
            EXPECT_EQ(NSServer().readCaipImageData(pics + "/" + name), bytes) << name;
        EXPECT_EQ(platform::fs::readAll(pics + "/4001M.TXT"), "主料");
    }
}

}  // namespace
