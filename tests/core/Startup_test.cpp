#include <memory>

#include <gtest/gtest.h>

#include "core/CoreFixture.h"
#include "core/NSServer.h"
#include "core/SwitchAppDelegate.h"
#include "model/NSATreeClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Pasteboard.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace {

class StartupTest : public CoreTest {};

TEST_F(StartupTest, FreshStartOnAnEmptyCachesFolder) {
    NSServer::resetForTesting();
    auto app = std::make_unique<SwitchAppDelegate>();
    SwitchAppDelegate& delegate = *app;

    for (const auto& folder : {NSServer::getDataPath(), NSServer::getCaippicPath(), NSServer::getSkinsPath(),
                               NSServer::getShopPath(), NSServer::getMediaPath()})
        EXPECT_TRUE(platform::fs::isFolder(folder)) << folder;
    EXPECT_EQ(NSServer::getMacAdr(), "null");

    auto db = NSServer::getCaipDB();
    ASSERT_TRUE(db);
    EXPECT_EQ(db->m_CaipArray.size(), 15u);
    EXPECT_EQ(db->rootCplbTrees.size(), 2u);

    ASSERT_TRUE(NSServer::getOutDesk());
    EXPECT_TRUE(NSServer::getOutDesk()->empty());
    auto tree = NSServer::getDesks();
    ASSERT_TRUE(tree);
    ASSERT_EQ(tree->m_length, 3);
    EXPECT_EQ(tree->m_name[1], "一楼宴会区");
    EXPECT_EQ(tree->m_code[2], "00010024");
    EXPECT_TRUE(NSServer::getLangueManager());

    // The program's end: the screens still read the hub after the delegate heard of it; the hub's
    // objects go with the delegate.
    delegate.willTerminate();
    EXPECT_TRUE(NSServer::getCaipDB());
    app.reset();
    EXPECT_FALSE(NSServer::getCaipDB());
    EXPECT_FALSE(NSServer::getOutDesk());
}

TEST_F(StartupTest, OfflineDesksComeBackAfterARestartLinkedToTheMenu) {
    {
        SwitchAppDelegate first;
        auto dish = NSServer::getCaipDB()->m_CaipArray.front();
        auto line = std::make_shared<NSDishClass>();
        line->CopyCaip(dish);
        line->m_fQuantity = 2;
        auto desk = NSServer::getNowDesk();  // a new offline desk
        desk->m_iClientNum = 3;
        desk->m_DishList.push_back(line);
        NSServer::saveSelectDish0();
        first.willTerminate();
    }
    NSServer::resetForTesting();
    SwitchAppDelegate second;
    auto desks = NSServer::getOutDesk();
    ASSERT_TRUE(desks);
    ASSERT_EQ(desks->size(), 1u);
    EXPECT_EQ((*desks)[0]->m_iClientNum, 3);
    ASSERT_EQ((*desks)[0]->m_DishList.size(), 1u);
    // The menu is loaded before the offline desks, so the line finds its dish again.
    auto& line = *(*desks)[0]->m_DishList[0];
    EXPECT_EQ(line.pCaip, NSServer::getCaipDB()->m_CaipArray.front());
    EXPECT_EQ(line.m_strCaipID, line.pCaip->m_strID);
    EXPECT_EQ(NSServer::getNowDesk(), (*desks)[0]);
}

}  // namespace

namespace {

TEST_F(StartupTest, LaunchInstallsTheRootControllerThatTheScreenHostMakes) {
    SwitchAppDelegate delegate;
    auto window = std::make_shared<ui::Window>();
    // No screen host: an empty window, still shown.
    EXPECT_TRUE(delegate.didFinishLaunching(*window));
    EXPECT_FALSE(window->rootViewController());

    auto root = std::make_shared<ui::ViewController>();
    SwitchAppDelegate::setRootControllerMaker([&] { return root; });
    EXPECT_TRUE(delegate.didFinishLaunching(*window));
    EXPECT_EQ(window->rootViewController(), root);
    EXPECT_EQ(delegate.switchViewController(), root);
    SwitchAppDelegate::setRootControllerMaker(nullptr);
    delegate.willTerminate();
    EXPECT_FALSE(delegate.switchViewController());
}

TEST_F(StartupTest, TemporaryFilesOfInterruptedWritesAreRemoved) {
    NSServer::loadPath();
    NSServer::createDir();
    platform::fs::createFolder(platform::Pasteboard::folder());
    const std::string left[] = {NSServer::getDataPath() + "/.Kovra.ini.tmp-a1B2c3",
                                NSServer::getCaippicPath() + "/.A.BMP.tmp-XyZ123",
                                platform::preferencesFolder() + "/.defaults.plist.tmp-000000",
                                platform::Pasteboard::folder() + "/.board.tmp-q1w2e3"};
    const std::string kept[] = {NSServer::getDataPath() + "/caip.dat.tmp-a1B2c3",  // not one of ours
                                NSServer::getDataPath() + "/.hidden", NSServer::getDataPath() + "/D1.ATD"};
    for (const auto& path : left) ASSERT_TRUE(platform::fs::writeAtomically(path, "half")) << path;
    for (const auto& path : kept) ASSERT_TRUE(platform::fs::writeAtomically(path, "mine")) << path;

    SwitchAppDelegate delegate;
    for (const auto& path : left) EXPECT_FALSE(platform::fs::exists(path)) << path;
    for (const auto& path : kept) EXPECT_EQ(platform::fs::readAll(path), "mine") << path;
    delegate.willTerminate();
}

}  // namespace
