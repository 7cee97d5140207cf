#include "core/NSEncDec.h"

#include <random>

#include <gtest/gtest.h>

namespace {

std::string randomBytes(std::mt19937& rng, size_t n, int lo = 0, int hi = 255) {
    std::uniform_int_distribution<int> byte(lo, hi);
    std::string s(n, '\0');
    for (auto& c : s) c = static_cast<char>(byte(rng));
    return s;
}

TEST(NSEncDec, WritesTheBytesTheServerExpects) {
    NSEncDec cipher;
    EXPECT_EQ(cipher.encodeBase64(cipher.Decrypt("adddish", "null")), "yL2Z2a6q1w==");
    EXPECT_EQ(cipher.encodeBase64(cipher.Decrypt("check", "null")), "ysGa2LA=");
    auto read = cipher.decodeBase64("yL2Z2a6q1w==");
    ASSERT_TRUE(read);
    EXPECT_EQ(cipher.Encrypt(*read, "null"), "adddish");
}

TEST(NSEncDec, EmptyKeyWalksTheKeyTextFromOneInStepsOfTwo) {
    // With no key the table is the first 156 characters of the key text, the walk starts at 1
    // with step 2, and after passing the end it starts over with the bias grown by the step.
    NSEncDec cipher;
    const std::string& text = cipher.Enckey();
    ASSERT_EQ(text.size(), 158u);
    ASSERT_EQ(cipher.ikey(), 156);
    std::string out = cipher.Decrypt(std::string(80, '\0'), "");
    ASSERT_EQ(out.size(), 80u);
    for (size_t i = 0; i < 78; ++i) EXPECT_EQ(out[i], text[2 * i + 1]) << i;
    EXPECT_EQ(static_cast<uint8_t>(out[78]), static_cast<uint8_t>(text[1] + 2));
    EXPECT_EQ(static_cast<uint8_t>(out[79]), static_cast<uint8_t>(text[3] + 2));
}

TEST(NSEncDec, EachDirectionUndoesTheOtherForKeysInUse) {
    std::mt19937 rng(11);
    NSEncDec cipher;
    EXPECT_EQ(cipher.Decrypt("", "null"), "");
    EXPECT_EQ(cipher.Encrypt("", "null"), "");
    for (int round = 0; round < 300; ++round) {
        std::string key = randomBytes(rng, rng() % 159, 1, 127);  // ASCII, up to 158 bytes
        std::string data = randomBytes(rng, rng() % 2000);
        std::string written = cipher.Decrypt(data, key);
        ASSERT_EQ(written.size(), data.size());
        EXPECT_EQ(cipher.Encrypt(written, key), data);
        EXPECT_EQ(cipher.Decrypt(cipher.Encrypt(data, key), key), data);
    }
}

TEST(NSEncDec, KeysOutsideTheUsualFormStayInsideTheTable) {
    // Long keys and keys with high bytes must neither read outside the table (checked by the
    // sanitizers) nor lose the round trip.
    std::mt19937 rng(5);
    std::string data = randomBytes(rng, 5000);
    std::vector<std::string> keys = {
        std::string(1000, 'k'), std::string(159, 'z'), std::string(1, '\x80'), std::string(3, '\xFF'),
        "\xE7\xBA\xA2\xE7\x83\xA7", randomBytes(rng, 400), randomBytes(rng, 157, 128, 255),
    };
    for (int i = 0; i < 200; ++i) keys.push_back(randomBytes(rng, rng() % 300));
    NSEncDec cipher;
    for (auto& key : keys) EXPECT_EQ(cipher.Encrypt(cipher.Decrypt(data, key), key), data);

    // A used length beyond the key text, none at all, or no key text: still no stray reads.
    for (int used : {0, 1, 2, 157, 158, 10000, -3}) {
        NSEncDec odd;
        odd.setIkey(used);
        for (const char* key : {"", "k", "null"})
            EXPECT_EQ(odd.Encrypt(odd.Decrypt(data, key), key), data) << used << key;
    }
    NSEncDec noText;
    noText.setEnckey("");
    EXPECT_EQ(noText.Encrypt(noText.Decrypt(data, "null"), "null"), data);
    EXPECT_EQ(noText.Decrypt(data, ""), data);  // nothing to mix in
}

}  // namespace
