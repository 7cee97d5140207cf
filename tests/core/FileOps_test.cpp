#include <gtest/gtest.h>

#include "core/CoreFixture.h"
#include "core/NSEncDec.h"
#include "core/NSServer.h"
#include "platform/foundation/FileSystem.h"

namespace {

class FileOpsTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        NSServer::createDir();
        NSServer::setMacAdr("K9x");
    }
};

TEST_F(FileOpsTest, EncipheredFilesRoundTripWithTheDeviceKeyOrAGivenOne) {
    const std::string xml = "<morvane><data><row f1=\"1\" f2=\"红烧肉\"/></data></morvane>";
    ASSERT_TRUE(NSServer().stringDataWriteToFile(dataFile("caip.dat"), std::nullopt, xml));
    std::string stored = platform::fs::readAll(dataFile("caip.dat")).value_or("");
    EXPECT_EQ(stored.find("morvane"), std::string::npos);  // enciphered and Base64 on disk
    EXPECT_EQ(NSServer().stringDataReadFromFile(dataFile("caip.dat")), xml);
    EXPECT_EQ(NSServer().stringDataReadFromFile(dataFile("caip.dat"), std::string("K9x")), xml);
    EXPECT_NE(NSServer().stringDataReadFromFile(dataFile("caip.dat"), std::string("other")), xml);
}

TEST_F(FileOpsTest, MissingDamagedAndEmptyFiles) {
    EXPECT_EQ(NSServer().stringDataReadFromFile(dataFile("none.dat")), "");
    platform::fs::writeAtomically(dataFile("bad.dat"), "not*base64");
    EXPECT_EQ(NSServer().stringDataReadFromFile(dataFile("bad.dat")), "");
    EXPECT_FALSE(NSServer().stringDataWriteToFile(dataFile("empty.dat"), std::nullopt, ""));
    EXPECT_FALSE(platform::fs::exists(dataFile("empty.dat")));
    // A failed write answers NO.
    EXPECT_FALSE(NSServer().stringWriterToFile(dataFile("no/such/folder/x"), "x"));
    EXPECT_TRUE(NSServer().stringWriterToFile(dataFile("plain.txt"), "文本"));
    EXPECT_EQ(platform::fs::readAll(dataFile("plain.txt")).value_or(""), "文本");
}

TEST_F(FileOpsTest, OnlyThePicturesFirst1024BytesAreEnciphered) {
    for (std::size_t size : {10u, 1024u, 1025u, 5000u}) {
        std::string picture(size, '\0');
        for (std::size_t i = 0; i < size; ++i) picture[i] = static_cast<char>(i * 7);
        std::size_t head = std::min<std::size_t>(size, 1024);
        std::string stored = NSEncDec().Decrypt(picture.substr(0, head), "K9x") + picture.substr(head);
        NSServer().dataWriterToFile(dataFile("p.BMP"), stored);
        EXPECT_EQ(NSServer().readCaipImageData(dataFile("p.BMP")), picture) << size;
    }
    EXPECT_EQ(NSServer().readCaipImageData(dataFile("missing.BMP")), "");
}

}  // namespace
