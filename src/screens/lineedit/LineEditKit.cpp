#include "screens/lineedit/LineEditKit.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/NSServer.h"
#include "model/NSATreeClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDishClass.h"
#include "model/NSKouwClass.h"
#include "net/RootServices.h"
#include "platform/foundation/Text.h"
#include "platform/ui/Animation.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/View.h"
#include "screens/kit/ScreenKit.h"
#include "screens/kit/ScreenRoot.h"
#include "screens/kit/UINumViewController.h"
#include "screens/kit/UISelectViewController.h"

namespace lineedit {

int rowsOf(const NSATreeClass& tree) {
    std::size_t n = static_cast<std::size_t>(std::max(0, tree.m_length));
    for (std::size_t size : {tree.m_uint.size(), tree.m_code.size(), tree.m_name.size(), tree.m_state.size(),
                             tree.m_str1.size(), tree.m_pid.size()})
        n = std::min(n, size);
    return static_cast<int>(n);
}

double Surcharge::price() const { return platform::leadingDouble(pricePart); }

Surcharge readSurcharge(const std::string& entry) {
    Surcharge s;
    const auto semi = entry.find(';');
    if (semi != std::string::npos && semi >= 1) {
        s.pricePart = entry.substr(0, semi);
        s.flag = entry.substr(semi + 1);
        s.split = true;
    } else {
        s.pricePart = entry;
        s.flag = entry;
    }
    return s;
}

std::string methodTitle(const std::string& name, const std::string& entry, const std::string& currency,
                        bool spacedWithCurrency) {
    const Surcharge s = readSurcharge(entry);
    if (!s.split) return name + entry;
    // The integer part, as the buttons have always shown it; an absurd entry must not overflow.
    const double price = s.price();
    const long long whole = std::isfinite(price) && std::fabs(price) < 1e15 ? static_cast<long long>(price) : 0;
    if (spacedWithCurrency) return platform::fmt("%@ %i%@", name, whole, currency);
    return platform::fmt("%@%i", name, whole);
}

std::shared_ptr<NSATreeClass> cookingMethodTree(const NSDishClass& line) {
    auto tree = std::make_shared<NSATreeClass>();
    auto db = NSServer::getCaipDB();
    // Names by id, the first of equal ids winning as in the menu's own look-up: a dish may offer
    // hundreds of methods in a menu of hundreds of tastes and methods.
    std::unordered_map<std::string_view, const std::string*> names;
    if (db)
        for (const auto& k : db->m_KwzfArray)
            if (k) names.try_emplace(k->m_strKouwid, &k->m_strKouw);
    const std::string ids = line.m_strZuofID + ",";
    const std::string prices = line.m_strZfjiag + ",";
    std::size_t i = 0, p = 0;
    while (true) {
        const auto ic = ids.find(',', i);
        const auto pc = prices.find(',', p);
        if (ic == std::string::npos || pc == std::string::npos) break;
        const std::string id = ids.substr(i, ic - i);
        if (!id.empty()) {
            const auto named = names.find(id);
            const int row = tree->AddItem(id, named != names.end() ? *named->second : id, prices.substr(p, pc - p));
            tree->m_uint[row] = line.FindKouwID(id) ? 1 : -1;
        }
        i = ic + 1;
        p = pc + 1;
    }
    return tree;
}

float methodSurcharge(const NSDishClass& line, const NSATreeClass& methods, const NSCaipDBClass* db) {
    const bool ownLines = line.m_bAddOn || !line.m_bisExp;
    double total = 0;
    for (int r = 1; r < rowsOf(methods); ++r) {
        if (methods.m_uint[r] != 1) continue;
        const double q = platform::leadingDouble(methods.m_str1[r]);
        std::shared_ptr<NSCaipClass> named = ownLines && db ? db->GetCaipFromName(methods.m_name[r]) : nullptr;
        if (named)
            total += platform::leadingDouble(named->m_strPrice) * q * line.m_fQuantity;
        else
            total += readSurcharge(methods.m_state[r]).price() * q;
    }
    return static_cast<float>(total);
}

namespace {

// Marks or asks for one row as a tap on an unmarked method does; true when a quantity is asked.
bool chooseRow(NSATreeClass& methods, int row) {
    if (methods.m_uint[row] == 1) {
        methods.m_uint[row] = 0;
        return false;
    }
    const Surcharge entry = readSurcharge(methods.m_state[row]);
    if (entry.flag == "0") return true;
    if (entry.flag == "1") methods.m_str1[row].assign(1, '1');
    methods.m_uint[row] = 1;
    return false;
}

}  // namespace

bool tapMethod(NSATreeClass& methods, int row, bool severalAllowed) {
    if (row < 1 || row >= rowsOf(methods)) return false;
    if (severalAllowed) return chooseRow(methods, row);
    bool ask = false;
    for (int r = 0; r < rowsOf(methods); ++r) {
        if (r == row)
            ask = chooseRow(methods, r);
        else
            methods.m_uint[r] = 0;
    }
    return ask;
}

bool setMethodQuantity(NSATreeClass& methods, int row, const std::string& typed) {
    if (row < 1 || row >= rowsOf(methods)) return false;
    if (!(platform::leadingDouble(typed) > 0)) return false;
    methods.m_uint[row] = 1;
    methods.m_str1[row] = typed;
    return true;
}

void markTastesFrom(const NSDishClass& line, NSATreeClass& tastes) {
    for (int r = 1; r < rowsOf(tastes); ++r)
        tastes.m_uint[r] = line.FindKouwID(tastes.m_code[r]) ? 1 : -1;
}

void takeMarks(NSDishClass& line, const NSATreeClass& tree) {
    for (int r = 1; r < rowsOf(tree); ++r) {
        if (tree.m_uint[r] == 1)
            line.AddKouwID(tree.m_code[r] + ",");
        else
            line.DelKouwID(tree.m_code[r]);
    }
}

void replaceFreeText(NSDishClass& line, NSCaipDBClass* db, const std::string& text) {
    line.DelKouwID(line.GetKouwDefine());
    if (db) db->m_strSpec = text;
    line.AddKouwID(text + ",");
}

std::string numberText(double value) { return platform::fmt("%g", value); }

std::shared_ptr<ui::View> shadedScreen(const ScreenRoot* root) {
    const ui::Rect frame = root ? root->frameRect() : ui::Rect{0, 0, 768, 1004};
    auto v = std::make_shared<ui::View>(ui::Rect{0, 0, frame.width(), frame.height()});
    v->setBackgroundColor(kit::kShade);
    return v;
}

std::optional<ui::Rect> screenRect(const ScreenRoot* root) {
    if (!root) return std::nullopt;
    return root->frameRect();
}

void fadeInDialog(ui::View& parent, ui::View& dialog, const std::optional<ui::Rect>& frame) {
    if (frame) dialog.setFrame(*frame);
    dialog.setAlpha(0);
    parent.addSubview(dialog.shared_from_this());
    ui::Animation::begin(std::nullopt);
    ui::Animation::setDuration(0.3);
    dialog.setAlpha(1);
    ui::Animation::commit();
}

void fadeOutDialog(ui::View& dialog, const std::string& name, std::function<void()> done) {
    std::weak_ptr<ui::View> weak = dialog.shared_from_this();
    ui::Animation::begin(name);
    ui::Animation::setDuration(0.3);
    ui::Animation::setDidStop([weak, done = std::move(done)](const std::optional<std::string>&, bool, void*) {
        if (auto view = weak.lock()) view->removeFromSuperview();
        if (done) done();
    });
    dialog.setAlpha(0);
    ui::Animation::commit();
}

void showOnlyInSight(ui::ScrollView& strip) {
    const ui::Rect sight = strip.bounds();
    for (const auto& item : strip.subviews()) item->setHidden(!item->frame().intersects(sight));
}

std::shared_ptr<UINumViewController> openPad(NSNumDlg* owner, ui::View& over, int tag, const std::string& preset,
                                             const std::string& title, bool sign,
                                             const std::optional<ui::Rect>& frame, bool whole) {
    auto pad = std::make_shared<UINumViewController>();
    pad->upViewController = owner;
    pad->m_strNum = preset;
    pad->m_tag = tag;
    pad->canFuS = sign;
    pad->onlyWhole = whole;
    pad->s_title = title;
    fadeInDialog(over, *pad->view(), frame);
    return pad;
}

std::shared_ptr<UISelectViewController> openPicker(NSSelectDlg* owner, ui::View& over, std::shared_ptr<NSATreeClass> tree,
                                                   int tag, bool multi, const std::string& writeText,
                                                   const std::string& title, const std::optional<ui::Rect>& frame) {
    auto picker = std::make_shared<UISelectViewController>();
    picker->upViewController = owner;
    picker->m_tree = std::move(tree);
    picker->m_bmulti = multi;
    picker->m_tag = tag;
    picker->m_writeText = writeText;
    ui::View& dialog = *picker->view();
    picker->m_title->setText(title);
    fadeInDialog(over, dialog, frame);
    return picker;
}

void report(const std::string& text) { showAlertOrMessage(word("tishi"), text, word("onok")); }

std::string word(const std::string& key) { return ScreenRoot::word(key); }

std::string wordFormat(const std::string& key, const std::vector<std::string>& args) {
    return ScreenRoot::wordFormat(key, args);
}

}  // namespace lineedit
