#pragma once
// A fresh device for core tests: a temporary home, an empty hub with its folder paths set, no
// cached device identifier, and a program package of the test's own.

#include <string>

#include "core/NSServer.h"
#include "core/OpenUDID.h"
#include "platform/foundation/FileSystem.h"
#include "support/TempHome.h"

class CoreTest : public testsupport::TempHomeTest {
protected:
    void SetUp() override {
        NSServer::resetForTesting();
        OpenUDID::clearCacheForTesting();
        package = home.path() + "/package";
        platform::fs::createFolder(package);
        platform::Bundle::setResourceFolder(package);
        NSServer::loadEnc();
        NSServer::loadPath();
    }
    void TearDown() override {
        NSServer::resetForTesting();
        platform::Bundle::setResourceFolder(KOVRA_SOURCE_DIR "/resources");
    }
    std::string dataFile(const std::string& name) const { return NSServer::getDataPath() + "/" + name; }
    void putInPackage(const std::string& name, const std::string& bytes) {
        platform::fs::writeAtomically(package + "/" + name, bytes);
    }

    std::string package;
};
