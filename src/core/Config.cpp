// Kovra.ini, the folder layout and the device preset.

#include <array>

#include "GData/GDataXML.h"
#include "core/NSServer.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Text.h"

namespace {

constexpr std::uint64_t kMaxIniBytes = 1 << 20;

// An integer read as BOOL keeps its low 8 bits.
bool readBool(const std::string& text) { return static_cast<signed char>(platform::leadingInt(text) & 0xff) != 0; }

int readOutTime(const std::string& text) {
    int seconds = platform::leadingInt(text);
    return seconds > 0 ? seconds : 20;  // a time-out of 0 or less would never wait for a reply
}

void applyDefault(const std::string& key) {
    if (key == "ip") NSServer::setIP("");
    else if (key == "ip2") NSServer::setIP2("");
    else if (key == "deskName") NSServer::setSetDeskName("");
    else if (key == "userName") NSServer::setSetUserName("");
    else if (key == "userPassword") NSServer::setSetUserPassword("");
    else if (key == "outtime") NSServer::setOutTime(20);
    else if (key == "iscaiph") NSServer::setisCaiph(true);
    else if (key == "isLongSocket") NSServer::setIsLongSocket(false);
    else if (key == "FMIDSTYLE") NSServer::setFMIDSTYLE(2.0f);
    else if (key == "FBIGSTYLE") NSServer::setFBIGSTYLE(3.0f);
    else if (key == "InterType") NSServer::setInterfaceType(2);
    else if (key == "canheng") NSServer::setCanHeng(true);
    else if (key == "isShowTitleMoney") NSServer::setIsShowTitleMoney(true);
}

void applyValue(const std::string& key, const std::string& text) {
    if (key == "ip") NSServer::setIP(text);
    else if (key == "ip2") NSServer::setIP2(text);
    else if (key == "deskName") NSServer::setSetDeskName(text);
    else if (key == "userName") NSServer::setSetUserName(text);
    else if (key == "userPassword") NSServer::setSetUserPassword(text);
    else if (key == "outtime") NSServer::setOutTime(readOutTime(text));
    else if (key == "iscaiph") NSServer::setisCaiph(readBool(text));
    else if (key == "isLongSocket") NSServer::setIsLongSocket(readBool(text));
    else if (key == "FMIDSTYLE") NSServer::setFMIDSTYLE(static_cast<float>(platform::leadingDouble(text)));
    else if (key == "FBIGSTYLE") NSServer::setFBIGSTYLE(static_cast<float>(platform::leadingDouble(text)));
    else if (key == "InterType") NSServer::setInterfaceType(platform::leadingInt(text));
    else if (key == "canheng") NSServer::setCanHeng(readBool(text));
    else if (key == "isShowTitleMoney") NSServer::setIsShowTitleMoney(readBool(text));
}

std::string iniPath() { return platform::fmt("%@/Kovra.ini", NSServer::getDataPath()); }

void createFolderIfMissing(const std::string& path) {
    if (!platform::fs::isFolder(path)) platform::fs::createFolder(path);
}

}  // namespace

void NSServer::loadEnc() { setEnc(kUTF8Encoding); }

void NSServer::loadPath() {
    std::string base = platform::cachesFolder();
    setDocPath(base);
    setTemPath(platform::temporaryFolder());
    setDataPath(platform::fmt("%@/data", base));
    setCaippicPath(platform::fmt("%@/caippic", base));
    setSkinsPath(platform::fmt("%@/skins", base));
    setMediaPath(platform::fmt("%@/media", base));
    setShopPath(platform::fmt("%@/shop", base));
}

void NSServer::loadIni() {
    // The port comes first: applying the server address may start the enrolment at once.
    setPort(getStandardPort());

    // Every value is applied before the server address, so that the enrolment the address starts
    // already runs with the configured time-out and link mode.
    static const std::array<const char*, 13> order = {
        "ip2", "deskName", "userName", "userPassword", "iscaiph", "outtime", "FMIDSTYLE",
        "FBIGSTYLE", "isLongSocket", "InterType", "canheng", "isShowTitleMoney", "ip"};

    std::shared_ptr<GDataXMLElement> root;
    std::shared_ptr<GDataXMLDocument> doc;
    if (platform::fs::exists(iniPath())) {
        if (auto bytes = platform::fs::readAll(iniPath(), kMaxIniBytes)) {
            doc = GDataXMLDocument::initWithDataOptionsError(*bytes, 0, nullptr);
            if (doc) root = doc->rootElement();
        }
    }
    for (const char* key : order) {
        auto element = root ? firstElement(root, key) : nullptr;
        if (element) applyValue(key, element->stringValue().value_or(""));
        else applyDefault(key);
    }
}

void NSServer::writeINI() {
    createDir();
    std::string text = platform::fmt(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><morvane><deskName>%@</deskName>"
        "<userName>%@</userName><userPassword>%@</userPassword><ip>%@</ip><ip2>%@</ip2>"
        "<outtime>%i</outtime><iscaiph>%i</iscaiph><isLongSocket>%i</isLongSocket>"
        "<FMIDSTYLE>%f</FMIDSTYLE><FBIGSTYLE>%f</FBIGSTYLE><InterType>%i</InterType>"
        "<canheng>%i</canheng><isShowTitleMoney>%i</isShowTitleMoney></morvane>",
        platform::xmlCharacterData(getSetDeskName()), platform::xmlCharacterData(getSetUserName()),
        platform::xmlCharacterData(getSetUserPassword()), platform::xmlCharacterData(getIp()),
        platform::xmlCharacterData(getIp2()),
        getOutTime(), isCaiph() ? 1 : 0, isLongSocket() ? 1 : 0, getFMIDSTYLE(), getFBIGSTYLE(),
        getInterfaceType(), getCanHeng() ? 1 : 0, getIsShowTitleMoney() ? 1 : 0);
    platform::fs::writeAtomically(iniPath(), text);
}

void NSServer::createDir() {
    createFolderIfMissing(getDataPath());
    createFolderIfMissing(getCaippicPath());

    if (!platform::fs::isFolder(getSkinsPath())) {
        platform::fs::createFolder(getSkinsPath());
        // A new skins folder receives the package's default skin, unless a company's own skin
        // is due (a company number of 1 or more).
        if (platform::leadingInt(getJtNO()) < 1) {
            if (auto layout = platform::Bundle::pathForResource("INTERFACE.XML"))
                platform::fs::copyFile(*layout, platform::fmt("%@/%@", getSkinsPath(), "INTERFACE.XML"));
            for (int i = 1; i <= 99; ++i) {
                std::string name = platform::fmt("%i.jpg", i);
                auto picture = platform::Bundle::pathForResource(name);
                if (!picture) break;
                platform::fs::copyFile(*picture, platform::fmt("%@/%@", getSkinsPath(), platform::toUpper(name)));
            }
        }
    }

    createFolderIfMissing(getShopPath());
    createFolderIfMissing(getMediaPath());
}

bool NSServer::loadCaipu() {
    std::string text = stringDataReadFromFile(platform::fmt("%@/caipu.dat", getDataPath()));
    auto doc = GDataXMLDocument::initWithDataOptionsError(text, 0, nullptr);
    auto root = doc ? doc->rootElement() : nullptr;
    auto data = root ? firstElement(root, "data") : nullptr;
    if (!data) return true;
    // Only what the preset holds replaces the configured values.
    if (auto e = firstElement(data, "user")) setSetUserName(e->stringValue().value_or(""));
    if (auto e = firstElement(data, "pass")) setSetUserPassword(e->stringValue().value_or(""));
    if (auto e = firstElement(data, "deskid")) setSetDeskName(e->stringValue().value_or(""));
    if (auto e = firstElement(data, "compid")) setJtNO(e->stringValue().value_or(""));
    return true;
}
