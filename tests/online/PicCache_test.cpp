// The picture cache: only pictures are kept, each under a name of its own inside the cache folder.

#include "OnlineFixture.h"
#include "online/NSPicCache.h"

namespace onlinetest {
namespace {

using OnlinePictures = OnlineTest;

TEST_F(OnlinePictures, CacheNamesStayInTheFolderAndTellAddressesApart) {
    const std::string folder = platform::fs::join(NSServer::getTemPath(), "pic");
    const std::string urls[] = {"http://a/upload/x.png", "http://b/other/x.png", "http://a/../../etc/passwd",
                                "x.png", "http://a/upload/", "http://a/upload/x.png?v=2"};
    std::set<std::string> paths;
    for (const auto& url : urls) {
        const std::string path = piccache::cachePath(url);
        EXPECT_EQ(path.rfind(folder + "/", 0), 0u) << url;
        EXPECT_EQ(path.find('/', folder.size() + 1), std::string::npos) << url;
        paths.insert(path);
    }
    EXPECT_EQ(paths.size(), std::size(urls));
    EXPECT_TRUE(platform::fs::isFolder(folder));
}

TEST_F(OnlinePictures, OnlyPicturesAreCachedAndACachedOneIsNotFetchedAgain) {
    const std::string url = NSHTTPServer::pictureURL("upload/shop101.png");
    // An error page in place of the picture is not kept.
    sim.setFault("pic", websim::Fault::HtmlError);
    std::string got = "unset";
    piccache::fetch(url, nullptr, [&](const std::string& path) { got = path; });
    ASSERT_TRUE(pumpUntil([&] { return got != "unset"; }));
    EXPECT_EQ(got, "");
    EXPECT_FALSE(platform::fs::exists(piccache::cachePath(url)));

    sim.clearFaults();
    got = "unset";
    piccache::fetch(url, nullptr, [&](const std::string& path) { got = path; });
    ASSERT_TRUE(pumpUntil([&] { return got != "unset"; }));
    ASSERT_EQ(got, piccache::cachePath(url));
    EXPECT_EQ(platform::fs::readAll(got).value_or(""), sim.picture("upload/shop101.png"));

    // From the cache at once, without a request.
    sim.clearLog();
    got = "unset";
    piccache::fetch(url, nullptr, [&](const std::string& path) { got = path; });
    EXPECT_EQ(got, piccache::cachePath(url));
    ASSERT_TRUE(settle());
    EXPECT_TRUE(sim.requests().empty());
}

}  // namespace
}  // namespace onlinetest
