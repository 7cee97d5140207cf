#include "platform/foundation/Digest.h"

#include <set>

#include <gtest/gtest.h>

namespace {

std::string md5Hex(std::string_view bytes) {
    auto d = platform::md5(bytes);
    return platform::hex(std::string_view(reinterpret_cast<const char*>(d.data()), d.size()));
}

TEST(Digest, Md5AndHex) {
    EXPECT_EQ(md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(md5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(platform::hex(std::string("\x00\x0f\xa0\xff", 4)), "000fa0ff");
}

TEST(Digest, UuidsAreRandomVersionFourInUpperCase) {
    // 8-4-4-4-12 upper-case hex digits, version 4, RFC 4122 variant
    const std::string shape = "hhhhhhhh-hhhh-4hhh-vhhh-hhhhhhhhhhhh";
    std::set<std::string> seen;
    for (int i = 0; i < 20; ++i) {
        std::string id = platform::uuidString();
        ASSERT_EQ(id.size(), shape.size()) << id;
        for (std::size_t k = 0; k < id.size(); ++k) {
            const std::string allowed = shape[k] == 'h'   ? "0123456789ABCDEF"
                                        : shape[k] == 'v' ? "89AB"
                                                          : std::string(1, shape[k]);
            EXPECT_NE(allowed.find(id[k]), std::string::npos) << id;
        }
        seen.insert(id);
    }
    EXPECT_EQ(seen.size(), 20u);
    std::set<std::uint32_t> draws;
    for (int i = 0; i < 20; ++i) draws.insert(platform::random32());
    EXPECT_GT(draws.size(), 15u);
}

}  // namespace
