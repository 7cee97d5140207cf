#include "core/OpenUDID.h"

#include <map>
#include <vector>

#include "platform/foundation/Date.h"
#include "platform/foundation/Digest.h"
#include "platform/foundation/Pasteboard.h"
#include "platform/foundation/Text.h"
#include "platform/foundation/UserDefaults.h"

namespace {

const char* const kSlotPrefix = "org.kovra.terminal.udid";  // also the archive's type name
const char* const kKeyUDID = "OpenUDID";
const char* const kKeyAppUID = "OpenUDID_appUID";
const char* const kKeyCreated = "OpenUDID_createdTS";
const char* const kKeySlot = "OpenUDID_slot";
const char* const kKeyOptOut = "OpenUDID_optOutTS";
constexpr int kSlotCount = 100;

std::optional<std::string>& cached() {
    static std::optional<std::string> value;
    return value;
}

std::optional<std::string> stringIn(const platform::PlistDict& dict, const char* key) {
    auto it = dict.find(key);
    if (it == dict.end() || !it->second.string()) return std::nullopt;
    return *it->second.string();
}

void report(OpenUDID::Error* error, int code, std::string text) {
    if (error) *error = OpenUDID::Error{code, std::move(text)};
}

}  // namespace

std::string OpenUDID::slotName(int n) { return platform::fmt("%@%d", std::string(kSlotPrefix) + ".slot.", n); }

void OpenUDID::clearCacheForTesting() { cached().reset(); }

std::string OpenUDID::value() { return valueWithError(nullptr); }

std::string OpenUDID::_generateFreshOpenUDID() {
    std::string uuid = platform::uuidString();
    auto digest = platform::md5(uuid);
    std::string out;
    for (auto byte : digest) out += platform::fmt("%02x", static_cast<unsigned>(byte));
    out += platform::fmt("%08x", static_cast<long long>(platform::random32() % 4294967295u));
    return out;
}

platform::PlistDict OpenUDID::_getDictFromPasteboard(const std::string& slotName) {
    auto board = platform::Pasteboard::withName(slotName, false);
    if (!board) return {};
    auto bytes = board->dataForType(kSlotPrefix);
    if (!bytes) return {};
    auto value = platform::plistFromXml(*bytes);
    if (!value || !value->dict()) return {};
    return *value->dict();
}

void OpenUDID::_setDictForPasteboard(const platform::PlistDict& dict, const std::string& slotName) {
    auto board = platform::Pasteboard::withName(slotName, true);
    if (board) board->setData(kSlotPrefix, platform::plistToXml(dict));
}

std::string OpenUDID::valueWithError(Error* error) {
    if (cached()) {
        report(error, 0, "OpenUDID in cache from first call");
        return *cached();
    }
    auto& defaults = platform::UserDefaults::standard();

    std::string appUID;
    if (auto stored = defaults.stringForKey(kKeyAppUID)) {
        appUID = *stored;
    } else {
        // Kept where it is read back, so the next run recognises its own slot.
        appUID = platform::uuidString();
        defaults.setObject(kKeyAppUID, appUID);
    }

    std::optional<platform::PlistDict> local = defaults.dictionaryForKey(kKeyUDID);
    std::optional<std::string> udid, ownSlot;
    std::optional<platform::PlistValue> optOutDate;
    if (local) {
        udid = stringIn(*local, kKeyUDID);
        ownSlot = stringIn(*local, kKeySlot);
        auto it = local->find(kKeyOptOut);
        if (it != local->end()) optOutDate = it->second;
    }

    std::optional<std::string> availableSlot;
    std::map<std::string, int> frequency;
    std::vector<std::string> seenOrder;
    for (int n = 0; n < kSlotCount; ++n) {
        std::string name = slotName(n);
        auto board = platform::Pasteboard::withName(name, false);
        platform::PlistDict dict = board ? _getDictFromPasteboard(name) : platform::PlistDict{};
        auto id = stringIn(dict, kKeyUDID);
        if (!board || !id) {
            if (!availableSlot) availableSlot = name;
            continue;
        }
        if (!frequency.count(*id)) seenOrder.push_back(*id);
        frequency[*id]++;
        if (stringIn(dict, kKeyAppUID) == appUID) {
            ownSlot = name;
            // The slot can tell the date of an opt-out; one it does not hold yet (written
            // before the opt-out) does not undo it.
            auto it = dict.find(kKeyOptOut);
            if (optOutDate && it != dict.end()) optOutDate = it->second;
        }
    }

    std::optional<std::string> mostReliable;
    int best = 0;
    for (const auto& id : seenOrder) {
        if (frequency[id] >= best) {  // the last of those with the highest count
            best = frequency[id];
            mostReliable = id;
        }
    }

    bool save = false, compromised = false;
    if (udid) {
        compromised = mostReliable && *mostReliable != *udid;
    } else {
        udid = mostReliable ? *mostReliable : _generateFreshOpenUDID();
        if (!local) {
            local = platform::PlistDict{{kKeyAppUID, appUID},
                                        {kKeyCreated, platform::PlistDate{platform::currentDate()}}};
        }
        // A local dictionary that lost its identifier receives the chosen one, so it is the
        // same on the next run.
        (*local)[kKeyUDID] = *udid;
        save = true;
    }

    if (availableSlot && (!ownSlot || *ownSlot == *availableSlot)) {
        (*local)[kKeySlot] = *availableSlot;
        save = true;
        _setDictForPasteboard(*local, *availableSlot);
    }
    if (save) defaults.setObject(kKeyUDID, *local);

    std::string result;
    if (optOutDate) {
        result = platform::fmt("%040x", 0);
        report(error, 1, platform::fmt("Application with unique id %@ is opted-out from OpenUDID as of %@",
                                       appUID, optOutDate->date() ? platform::formatDate(optOutDate->date()->seconds, "yyyy-MM-dd HH:mm:ss") : std::string()));
    } else {
        result = *udid;
        if (compromised)
            report(error, 2, "Found a discrepancy between stored OpenUDID (reliable) and redundant copies; "
                             "one of the apps on the device is most likely corrupting the OpenUDID protocol");
        else
            report(error, 0, "OpenUDID succesfully retrieved");
    }
    cached() = result;
    return result;
}

void OpenUDID::setOptOut(bool optOut) {
    value();
    auto& defaults = platform::UserDefaults::standard();
    platform::PlistDict local = defaults.dictionaryForKey(kKeyUDID).value_or(platform::PlistDict{});
    if (optOut) local[kKeyOptOut] = platform::PlistDate{platform::currentDate()};
    else local.erase(kKeyOptOut);
    defaults.setObject(kKeyUDID, local);
    cached().reset();
}
