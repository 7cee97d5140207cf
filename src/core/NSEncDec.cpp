#include "core/NSEncDec.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "base64/GTMBase64.h"

namespace {

constexpr char kKeyText[] =
    "Tq7Lm2Xc9RwPz4Nb8Hs1Kd6Vg3Yf5Ju0Ea7Qo2Ci9Wl4Mn1Rx8Bt3Zp6Hy5Fk0Dv7Gs2Uj9Ne4Oa,.?hW3nPq8Zt5Lr2K"
    "v9Xm4Bc7Jd1Fs6Gy0Ha3Ne8Ou5Ti2Rw9Qz4Mb7Yl1Ck6Ep0Dx3Vj8Ig5Sf2Un9Aow";
static_assert(sizeof(kKeyText) - 1 == 158);

}  // namespace

NSEncDec::NSEncDec() : Enckey_(kKeyText), ikey_(156) {}

std::string NSEncDec::apply(const std::string& data, const std::string& key, bool add) const {
    const auto* K = reinterpret_cast<const uint8_t*>(key.data());
    const auto* E = reinterpret_cast<const uint8_t*>(Enckey_.data());
    const size_t k = key.size();
    const size_t e = Enckey_.size();
    // The used length can never reach past the key text, whatever the setters were given.
    const size_t U = static_cast<size_t>(std::clamp<long long>(ikey_, 0, static_cast<long long>(e)));

    // Table: the key less the key text, then the key text. Keys longer than the key text wrap
    // around it instead of reading past its end.
    // The table lives on the stack for every key of the allowed form.
    uint8_t local[512];
    std::vector<uint8_t> heap;
    uint8_t* T = local;
    if (k + U > sizeof(local)) {
        heap.resize(k + U);
        T = heap.data();
    }
    for (size_t i = 0; i < k; ++i) T[i] = static_cast<uint8_t>(K[i] - (e ? E[i % e] : 0));
    for (size_t j = 0; j < U; ++j) T[k + j] = E[j];

    std::string out(data.size(), '\0');
    const long long L = static_cast<long long>(k + U);
    if (L == 0) {
        out = data;
        return out;
    }

    // Key bytes are taken as signed, as the stored files were written that way.
    int32_t x = 0;
    for (size_t i = 0; i < k; ++i) x ^= static_cast<int32_t>(static_cast<int8_t>(K[i]));
    long long c = L > 1 ? (x % (L - 1)) + 1 : 0;
    // A negative start (only keys with bytes of 0x80 and above) is brought into the table.
    if (c < 0) c += L;
    const long long step = (c % 9) + 1;
    uint8_t bias = 0;  // only its value mod 256 matters

    const auto* D = reinterpret_cast<const uint8_t*>(data.data());
    auto* O = reinterpret_cast<uint8_t*>(out.data());
    for (size_t i = 0; i < data.size(); ++i) {
        const uint8_t t = T[static_cast<size_t>(c)];
        O[i] = add ? static_cast<uint8_t>(D[i] + t + bias) : static_cast<uint8_t>(D[i] - t - bias);
        c += step;
        if (c > L - 1) {
            c %= L;
            bias = static_cast<uint8_t>(bias + step);
        }
    }
    return out;
}

std::string NSEncDec::Decrypt(const std::string& data, const std::string& key) const {
    return apply(data, key, true);
}

std::string NSEncDec::Encrypt(const std::string& data, const std::string& key) const {
    return apply(data, key, false);
}

std::optional<std::string> NSEncDec::encodeBase64(const std::string& data) const {
    return GTMBase64::encodeData(data);
}

std::optional<std::string> NSEncDec::decodeBase64(const std::string& text) const {
    return GTMBase64::decodeData(text);
}
