#include "screens/menu/MenuKit.h"

#include "core/NSServer.h"
#include "model/NSATreeClass.h"
#include "model/NSCaipClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "net/RootServices.h"
#include "online/NSPicCache.h"
#include "platform/foundation/FileSystem.h"
#include "platform/ui/Window.h"
#include "screens/kit/ScreenRoot.h"

namespace menu {

namespace {
// Description files are a few lines; anything larger is not one.
constexpr std::uint64_t kMaxDescription = 64 * 1024;
constexpr const char* kDemoMarker = "测试^";
}  // namespace

ui::Rect screenRect(const ScreenRoot* root) {
    if (root) return root->frameRect();
    return {0, 0, ui::Window::kScreenWidth, ui::Window::kScreenHeight - ui::Window::kStatusBarHeight};
}

bool refuseCustomDish(const NSCaipClass& dish, ui::AlertViewDelegate* delegate) {
    if (!dish.m_bCustom || NSServer::isWaiterUser()) return false;
    auto alert = std::make_shared<ui::AlertView>(std::string("提示"), word("selectcaip11"), delegate, std::string("确定"));
    alert->show();
    return true;
}

std::string word(const std::string& key) { return ScreenRoot::word(key); }

std::string wordFormat(const std::string& key, const std::vector<platform::FormatArg>& args,
                       const std::string& fallback) {
    std::string fmt = word(key);
    if (fmt.empty()) return fallback;
    return platform::format(fmt, args);
}

void refuse(const std::string& key) { showAlertOrMessage(word("tishi"), word(key), word("onok")); }

std::shared_ptr<ui::Image> folderPicture(const std::string& id, const std::string& suffix, bool* exists) {
    const std::string path = platform::fs::join(NSServer::getCaippicPath(), id + suffix);
    const bool there = !id.empty() && platform::fs::exists(path);
    if (exists) *exists = there;
    if (!there) return nullptr;
    return NSServer().readCaipImage(path);
}

bool isDemoDish(const NSCaipClass& dish) { return dish.m_strName3.find(kDemoMarker) != std::string::npos; }

long long idNumber(const std::string& id) { return platform::leadingLongLong(id); }

std::optional<std::string> folderDescription(const std::string& id) {
    if (id.empty()) return std::nullopt;
    const std::string path = platform::fs::join(NSServer::getCaippicPath(), id + "M.TXT");
    if (!platform::fs::exists(path)) return std::nullopt;
    auto bytes = platform::fs::readAll(path, kMaxDescription);
    return bytes && platform::isValidUTF8(*bytes) ? *bytes : std::string();
}

std::vector<std::string> soldOutStates(const std::string& id) {
    std::vector<std::string> states;
    auto db = NSServer::getCaipDB();
    if (!db || !db->m_SellOut) return states;
    const auto& t = *db->m_SellOut;
    for (int i = 0; i < t.m_length && i < static_cast<int>(t.m_code.size()); ++i)
        if (t.m_code[i] == id) states.push_back(i < static_cast<int>(t.m_state.size()) ? t.m_state[i] : "");
    return states;
}

std::string markedPrice(const std::string& price, const std::string& state) {
    if (state == "0") {
        if (price.find("(已沽清)") != std::string::npos) return price;
        return wordFormat("yigq1", {price}, price + "(已沽清)");
    }
    if (price.find("(剩余") != std::string::npos) return price;
    return wordFormat("yigq3", {price, state}, price + "(剩余" + state + ")");
}

float unsentQuantity(const std::string& id, bool* any) {
    float sum = 0;
    bool found = false;
    if (auto desk = NSServer::getNowDesk()) {
        for (const auto& line : desk->m_DishList) {
            if (line->m_iState != NSDishClass::kUnsent || line->caipID() != id) continue;
            sum += line->m_fQuantity;
            found = true;
        }
    }
    if (any) *any = found;
    return sum;
}

void announce(const std::string& key, const std::string& param) {
    // Without a desk there is nothing to announce, as for an offline one.
    if (auto desk = NSServer::getNowDesk()) NSServer::sendTV(key, desk->m_strDeskID, param);
}

std::string webPictureAddress(const NSCaipClass& dish, const std::string& suffix) {
    if (dish.m_strPic.empty()) return {};
    const std::string id = dish.strID();
    if (!id.empty() && platform::fs::exists(platform::fs::join(NSServer::getCaippicPath(), id + suffix))) return {};
    return dish.m_strPic;
}

std::optional<std::string> cachedWebPicture(const std::string& address) {
    if (address.empty()) return std::nullopt;
    std::string path = piccache::cachePath(address);
    if (path.empty() || !platform::fs::exists(path)) return std::nullopt;
    return path;
}

}  // namespace menu
