#include "core/NSServer.h"

#include <cmath>
#include <fstream>
#include <unistd.h>

#include "core/NSLangueManager.h"
#include "model/NSATreeClass.h"
#include "model/NSDeskClass.h"
#include "model/NSUserClass.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Text.h"

namespace {

// The hub's file-scope state. Every value starts as zero or none, but canR.
struct HubState {
    std::string ip, ip2;
    int port = 0;
    int outtime = 20;  // the configuration's default until it is read
    bool caiph = false, longSocket = false;
    float midStyle = 0, bigStyle = 0;
    int interfaceType = 0;
    bool canHeng = false, showTitleMoney = false;
    std::string setDeskName, setUserName, setUserPassword;

    std::string mac;
    std::optional<std::string> jtNO;
    std::shared_ptr<NSDeskClass> nowDesk;
    std::shared_ptr<NSUserClass> user;
    std::shared_ptr<NSDeskList> outDesks;
    std::shared_ptr<NSATreeClass> desks;
    std::shared_ptr<NSCaipDBClass> caipDB;
    std::shared_ptr<NSCplbTreeClass> useCplbTree;
    std::string copyDeskId;
    std::shared_ptr<NSDishList> rubbishs, caipCopys;
    std::shared_ptr<NSLangueManager> langueManager;
    std::shared_ptr<NSTcpNet> tcp;
    std::weak_ptr<SwitchViewController> rootController;
    std::string welShowFormName;

    std::string docPath, temPath, dataPath, caippicPath, skinsPath, mediaPath, shopPath;
    unsigned enc = 0;

    bool showAlert = false, waiterUser = false, sendClose = false, send = false, hengB = false;
    bool mustShu = false, mustHeng = false, canR = true;
};

HubState& hub() {
    static HubState state;
    return state;
}

std::function<void()>& enrolmentHook() {
    static std::function<void()> hook;
    return hook;
}

int& standardPort() {
    static int port = 7992;
    return port;
}

}  // namespace

// ---- configuration values ----

const std::string& NSServer::getIp() { return hub().ip; }
void NSServer::setIP(const std::string& ip) {
    hub().ip = ip;
    // Every non-empty set enrols again; the enrolment itself returns at once when a key is stored.
    if (!ip.empty() && enrolmentHook()) enrolmentHook()();
}
const std::string& NSServer::getIp2() { return hub().ip2; }
void NSServer::setIP2(const std::string& ip) { hub().ip2 = ip; }
int NSServer::getPort() { return hub().port; }
void NSServer::setPort(int port) { hub().port = port; }
int NSServer::getStandardPort() { return standardPort(); }
void NSServer::setStandardPort(int port) { standardPort() = port; }
int NSServer::getOutTime() { return hub().outtime; }
void NSServer::setOutTime(int seconds) {
    // Every exchange waits in rounds counted against the time-out: one of 0 or less could never
    // be waited for, so it is refused and the previous value kept.
    if (seconds > 0) hub().outtime = seconds;
}
bool NSServer::isCaiph() { return hub().caiph; }
void NSServer::setisCaiph(bool value) { hub().caiph = value; }
bool NSServer::isLongSocket() { return hub().longSocket; }
void NSServer::setIsLongSocket(bool value) { hub().longSocket = value; }
float NSServer::getFMIDSTYLE() { return hub().midStyle; }
void NSServer::setFMIDSTYLE(float value) { hub().midStyle = value; }
float NSServer::getFBIGSTYLE() { return hub().bigStyle; }
void NSServer::setFBIGSTYLE(float value) { hub().bigStyle = value; }
int NSServer::getInterfaceType() { return hub().interfaceType; }
void NSServer::setInterfaceType(int value) { hub().interfaceType = value; }
bool NSServer::getCanHeng() { return hub().canHeng; }
void NSServer::setCanHeng(bool value) { hub().canHeng = value; }
bool NSServer::getIsShowTitleMoney() { return hub().showTitleMoney; }
void NSServer::setIsShowTitleMoney(bool value) { hub().showTitleMoney = value; }
const std::string& NSServer::getSetDeskName() { return hub().setDeskName; }
void NSServer::setSetDeskName(const std::string& value) { hub().setDeskName = value; }
const std::string& NSServer::getSetUserName() { return hub().setUserName; }
void NSServer::setSetUserName(const std::string& value) { hub().setUserName = value; }
const std::string& NSServer::getSetUserPassword() { return hub().setUserPassword; }
void NSServer::setSetUserPassword(const std::string& value) { hub().setUserPassword = value; }

// ---- run-time values ----

const std::string& NSServer::getMacAdr() { return hub().mac; }
void NSServer::setMacAdr(const std::string& key) { hub().mac = key; }
std::string NSServer::getJtNO() { return hub().jtNO.value_or("0"); }
void NSServer::setJtNO(const std::optional<std::string>& number) { hub().jtNO = number; }

std::shared_ptr<NSDeskClass> NSServer::getNowDesk() {
    if (hub().nowDesk) return hub().nowDesk;
    auto outDesks = getOutDesk();
    if (outDesks && !outDesks->empty()) {
        setNowDesk(outDesks->front());
        return hub().nowDesk;
    }
    auto desk = std::make_shared<NSDeskClass>();
    setNowDesk(desk);
    if (!hub().outDesks) hub().outDesks = std::make_shared<NSDeskList>();
    hub().outDesks->push_back(desk);
    return desk;
}

void NSServer::setNowDesk(std::shared_ptr<NSDeskClass> desk) {
    // The desk already held has its saved lines already: reading them again would duplicate the
    // unsent lines, which could then be sent twice.
    if (desk && desk == hub().nowDesk) return;
    hub().nowDesk = std::move(desk);
    if (hub().nowDesk && !hub().nowDesk->m_strDeskID.empty()) loadNowDesk();
}

std::shared_ptr<NSUserClass> NSServer::getNowUser() {
    if (!hub().user) setNowUser(std::make_shared<NSUserClass>());
    return hub().user;
}
void NSServer::setNowUser(std::shared_ptr<NSUserClass> user) { hub().user = std::move(user); }
std::shared_ptr<NSDeskList> NSServer::getOutDesk() { return hub().outDesks; }
void NSServer::setOutDesk(std::shared_ptr<NSDeskList> desks) { hub().outDesks = std::move(desks); }
std::shared_ptr<NSATreeClass> NSServer::getDesks() { return hub().desks; }
void NSServer::setDesks(std::shared_ptr<NSATreeClass> desks) { hub().desks = std::move(desks); }
std::shared_ptr<NSCaipDBClass> NSServer::getCaipDB() { return hub().caipDB; }
void NSServer::setCaipDB(std::shared_ptr<NSCaipDBClass> db) { hub().caipDB = std::move(db); }
std::shared_ptr<NSCplbTreeClass> NSServer::getUseCplbTree() { return hub().useCplbTree; }
void NSServer::setUseCplbTree(std::shared_ptr<NSCplbTreeClass> tree) { hub().useCplbTree = std::move(tree); }
const std::string& NSServer::getCopyDeskId() { return hub().copyDeskId; }
void NSServer::setCopyDeskId(const std::string& id) { hub().copyDeskId = id; }

std::shared_ptr<NSDishList> NSServer::getRubbishs() {
    if (!hub().rubbishs) hub().rubbishs = std::make_shared<NSDishList>();
    return hub().rubbishs;
}
std::shared_ptr<NSDishList> NSServer::getCaipCopys() {
    if (!hub().caipCopys) hub().caipCopys = std::make_shared<NSDishList>();
    return hub().caipCopys;
}
std::shared_ptr<NSLangueManager> NSServer::getLangueManager() {
    if (!hub().langueManager) hub().langueManager = std::make_shared<NSLangueManager>();
    return hub().langueManager;
}
void NSServer::setLangueManager(std::shared_ptr<NSLangueManager> manager) {
    hub().langueManager = std::move(manager);
}
std::shared_ptr<NSTcpNet> NSServer::getTcp() { return hub().tcp; }
void NSServer::setTcp(std::shared_ptr<NSTcpNet> tcp) { hub().tcp = std::move(tcp); }
std::shared_ptr<SwitchViewController> NSServer::getRootController() { return hub().rootController.lock(); }
void NSServer::setRootController(const std::shared_ptr<SwitchViewController>& root) {
    hub().rootController = root;
}
const std::string& NSServer::getWelShowFormName() { return hub().welShowFormName; }
void NSServer::setWelShowFormName(const std::string& name) { hub().welShowFormName = name; }

// ---- folders and encoding ----

const std::string& NSServer::getDocPath() { return hub().docPath; }
void NSServer::setDocPath(const std::string& path) { hub().docPath = path; }
const std::string& NSServer::getTemPath() { return hub().temPath; }
void NSServer::setTemPath(const std::string& path) { hub().temPath = path; }
const std::string& NSServer::getDataPath() { return hub().dataPath; }
void NSServer::setDataPath(const std::string& path) { hub().dataPath = path; }
const std::string& NSServer::getCaippicPath() { return hub().caippicPath; }
void NSServer::setCaippicPath(const std::string& path) { hub().caippicPath = path; }
const std::string& NSServer::getSkinsPath() { return hub().skinsPath; }
void NSServer::setSkinsPath(const std::string& path) { hub().skinsPath = path; }
const std::string& NSServer::getMediaPath() { return hub().mediaPath; }
void NSServer::setMediaPath(const std::string& path) { hub().mediaPath = path; }
const std::string& NSServer::getShopPath() { return hub().shopPath; }
void NSServer::setShopPath(const std::string& path) { hub().shopPath = path; }
unsigned NSServer::getEnc() { return hub().enc; }
void NSServer::setEnc(unsigned encoding) { hub().enc = encoding; }

// ---- flags ----

bool NSServer::getIsShowAlert() { return hub().showAlert; }
void NSServer::setIsShowAlert(bool value) { hub().showAlert = value; }
bool NSServer::isWaiterUser() { return hub().waiterUser; }
void NSServer::setIsWaiterUser(bool value) { hub().waiterUser = value; }
bool NSServer::isSendClose() { return hub().sendClose; }
void NSServer::setIsSendClose(bool value) { hub().sendClose = value; }
bool NSServer::isSend() { return true; }
void NSServer::setIsSend(bool value) { hub().send = value; }
bool NSServer::getIsHengB() { return hub().hengB; }
void NSServer::setIsHengB(bool value) { hub().hengB = value; }
bool NSServer::isMustShu() { return hub().mustShu; }
void NSServer::setMustShu(bool value) {
    hub().mustShu = value;
    if (value) hub().mustHeng = false;
}
bool NSServer::isMustHeng() { return hub().mustHeng; }
void NSServer::setMustHeng(bool value) {
    if (value) hub().mustShu = false;
    hub().mustHeng = value;
}
bool NSServer::getCanR() { return hub().canR; }
void NSServer::setCanR(bool value) { hub().canR = value; }

// ---- lifecycle and diagnostics ----

void NSServer::releaseStatic() {
    HubState& h = hub();
    // The second server address, the desk tree and the root controller stay.
    h.langueManager.reset();
    h.tcp.reset();
    h.copyDeskId.clear();
    h.setDeskName.clear();
    h.setUserName.clear();
    h.setUserPassword.clear();
    h.mac.clear();
    h.ip.clear();
    h.docPath.clear();
    h.temPath.clear();
    h.dataPath.clear();
    h.caippicPath.clear();
    h.skinsPath.clear();
    h.caipDB.reset();
    h.useCplbTree.reset();
    h.outDesks.reset();
    h.nowDesk.reset();
    h.shopPath.clear();
    h.user.reset();
    h.jtNO.reset();
    h.welShowFormName.clear();
    h.mediaPath.clear();
    h.rubbishs.reset();
    h.caipCopys.reset();
}

void NSServer::resetForTesting() {
    hub() = HubState();
    forgetUnsureBookings();
    enrolmentHook() = nullptr;
}

void NSServer::setEnrolmentHook(std::function<void()> hook) { enrolmentHook() = std::move(hook); }

void NSServer::saveDebugLog(const std::string& text) {
    std::string path = platform::fmt("%@/log.log", getDataPath());
    std::string old = platform::fs::readAll(path).value_or("");
    std::string date = platform::formatDate(platform::currentDate(), "yyyy-MM-dd HH:mm:ss");
    platform::fs::writeAtomically(path, platform::fmt("%@\r\n%@ %@", old, date, text));
}

double NSServer::usedMemory() {
    std::ifstream statm("/proc/self/statm");
    long long size = 0, resident = 0;
    if (!(statm >> size >> resident)) return 2147483647.0;
    double bytes = static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
    return bytes / 1024 / 1024;
}

// ---- small services ----

double NSServer::D_jw(double lat1, double lng1, double lat2, double lng2) {
    const double pi = 3.14159265;
    const double R = 6371229;
    double a = (lng2 - lng1) * pi * R * std::cos(((lat1 + lat2) / 2) * pi / 180) / 180;
    double b = (lat2 - lat1) * pi * R / 180;
    return std::sqrt(a * a + b * b) / 1000;
}
