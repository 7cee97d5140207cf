#include "model/NSCaipDBClass.h"

#include <unordered_map>

#include "GData/GDataXML.h"
#include "core/NSServer.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Text.h"

namespace {

// The rows of one menu data file: Base64 of the document enciphered with the device key; the
// root's first "data" element holds one row element per table row. Holding the document keeps
// the rows valid; anything missing or damaged gives no rows.
struct TableFile {
    std::shared_ptr<GDataXMLDocument> doc;
    std::vector<std::shared_ptr<GDataXMLElement>> rows;
};

TableFile readTable(const std::string& name, const char* rowName) {
    TableFile table;
    const std::string text = NSServer().stringDataReadFromFile(platform::fmt("%@/%@", NSServer::getDataPath(), name));
    if (text.empty()) return table;
    table.doc = GDataXMLDocument::initWithDataOptionsError(text, 0, nullptr);
    auto root = table.doc ? table.doc->rootElement() : nullptr;
    auto data = firstElement(root, "data");
    if (!data) return table;
    if (auto rows = data->elementsForName(rowName)) table.rows = std::move(*rows);
    return table;
}

bool hasAttribute(const std::shared_ptr<GDataXMLElement>& row, const char* name) {
    return row->attributeForName(name) != nullptr;
}

}  // namespace

NSCaipDBClass::NSCaipDBClass()
    : m_Units(std::make_shared<NSATreeClass>()),
      m_AllUnits(std::make_shared<NSATreeClass>()),
      m_kouws(std::make_shared<NSATreeClass>()),
      m_users(std::make_shared<NSATreeClass>()),
      m_SellOut(std::make_shared<NSATreeClass>()),
      m_Tuidyy(std::make_shared<NSATreeClass>()),
      m_Bom(std::make_shared<NSATreeClass>()),
      m_BomGroupName(1),
      m_AddOnList(std::make_shared<NSATreeClass>()),
      m_rebate(std::make_shared<NSATreeClass>()) {}

bool NSCaipDBClass::loadDB() {
    if (!loadDBCplb()) return false;
    loadDBCaip();
    loadDBKwzf();
    loadDBUsers();
    loadDBTuidyy();
    loadDBBom();
    m_SellOut->RemoveAll();
    return true;
}

bool NSCaipDBClass::loadDBCplb() {
    rootCplbTrees.clear();
    isOneLevel = true;
    if (!platform::fs::exists(platform::fmt("%@/stCategory.dat", NSServer::getDataPath()))) {
        loadDefalutCaip();
        return false;
    }
    TableFile table = readTable("stCategory.dat", "record");
    // Placements below the top level clear this database's flag, wherever the hub points.
    auto self = weak_from_this().lock();
    NSCplbTreeClass::beginCplbTreeBuild(self);
    for (auto& row : table.rows) {
        auto cplb = std::make_shared<NSCplbClass>();
        cplb->m_strUid = attributeText(row, "f1");
        cplb->m_strCtname = attributeText(row, "f2");
        cplb->m_strCtparentid = attributeText(row, "f3");
        cplb->m_strCtorder = attributeText(row, "f4");
        if (!self && cplb->m_strCtparentid != cplb->m_strUid) isOneLevel = false;
        auto node = std::make_shared<NSCplbTreeClass>();
        node->cplb = std::move(cplb);
        NSCplbTreeClass::addCplbTreeToCplbTrees(node, rootCplbTrees);
    }
    return true;
}

void NSCaipDBClass::addUnitName(const std::string& unit) {
    if (m_AllUnits->FindID(unit) == -1) m_AllUnits->AddItem(unit, unit, "");
}

bool NSCaipDBClass::loadDBCaip() {
    m_CaipArray.clear();
    m_AllUnits->RemoveAll();
    TableFile table = readTable("caip.dat", "row");
    m_CaipArray.reserve(table.rows.size());
    // Where each category's dishes go, found once per category: large menus have thousands of
    // dishes in a few hundred categories.
    std::unordered_map<std::string, std::vector<NSCplbTreeClass*>> places;
    for (auto& row : table.rows) {
        auto caip = std::make_shared<NSCaipClass>();
        caip->Clear();
        // The document's own text object for the id, so that equal ids of one file are one text.
        if (auto id = row->attributeForName("f1")) {
            auto shared = id->sharedStringValue();
            caip->setM_strID(shared ? shared : std::make_shared<const std::string>());
        }
        caip->m_strCode = attributeText(row, "f2");
        caip->m_strCXDM = attributeText(row, "f3");
        caip->m_strName = attributeText(row, "f4");
        caip->m_strFenl = attributeText(row, "f5");
        caip->m_strDanw = attributeText(row, "f6");
        caip->m_strPrice = attributeText(row, "f7");
        caip->m_strCategory = attributeText(row, "f8");
        caip->m_iPrice = attributeText(row, "f9") == "1" ? 1 : 0;
        caip->m_iMultizuof = attributeText(row, "f10") == "1" ? 1 : 0;
        caip->m_strZuofID = attributeText(row, "f11");
        caip->setFlags(platform::leadingInt(attributeText(row, "f12")));
        caip->m_strZfjiag = attributeText(row, "f13");
        caip->m_strCost = attributeText(row, "f14");
        caip->m_strMLL = attributeText(row, "f15");
        caip->m_strName2 = attributeText(row, "f16");
        caip->m_strName3 = attributeText(row, "f17");
        m_CaipArray.push_back(caip);
        addUnitName(caip->m_strDanw);
        if (!caip->m_strCategory.empty()) {
            auto [at, fresh] = places.try_emplace(caip->m_strCategory);
            if (fresh) NSCplbTreeClass::getCaipPlaces(caip->m_strCategory, rootCplbTrees, at->second);
            for (NSCplbTreeClass* node : at->second) node->caips.push_back(caip);
        }
    }
    pruneCplbTrees();
    return true;
}

void NSCaipDBClass::pruneCplbTrees() {
    for (auto top = rootCplbTrees.begin(); top != rootCplbTrees.end();) {
        auto& subs = (*top)->subCplbTrees;
        std::erase_if(subs, [](const std::shared_ptr<NSCplbTreeClass>& n) { return !n || n->caips.empty(); });
        if ((*top)->caips.empty() && subs.empty())
            top = rootCplbTrees.erase(top);
        else
            ++top;
    }
}

bool NSCaipDBClass::loadDBKwzf() {
    TableFile table = readTable("kouw.dat", "record");
    std::string lastID;
    std::string category;
    for (auto& row : table.rows) {
        auto kouw = std::make_shared<NSKouwClass>();
        kouw->m_strKouwid = attributeText(row, "f1");
        kouw->m_strKouw = attributeText(row, "f2");
        const std::string& id = kouw->m_strKouwid;
        if (attributeText(row, "f3") == "1") {
            kouw->m_bZuof = true;
        } else if (!hasAttribute(row, "f4")) {
            m_kouws->AddItem(id, kouw->m_strKouw, "");
        } else {
            const std::string parent = attributeText(row, "f4");
            hasKouwC = true;
            kouw->m_strCtparentid = parent;
            if (parent == id) {
                m_kouws->AddChild4(0, id, kouw->m_strKouw, "");
                category.clear();
            } else if (parent == lastID) {
                m_kouws->AddChild3(id, kouw->m_strKouw, "");
                category = lastID;
            } else if (parent == category) {
                m_kouws->AddItem(id, kouw->m_strKouw, "");
            } else {
                const int node = m_kouws->FindID(parent);
                if (node == -1) {
                    m_kouws->AddChild4(0, id, kouw->m_strKouw, "");
                    category.clear();
                } else {
                    m_kouws->AddChild4(node, id, kouw->m_strKouw, "");
                    category = id;
                }
            }
            lastID = id;
        }
        m_KwzfArray.push_back(std::move(kouw));
    }
    return true;
}

bool NSCaipDBClass::loadDBUsers() {
    TableFile table = readTable("yonghxx.dat", "record");
    for (auto& row : table.rows) {
        const int index = m_users->AddItem(attributeText(row, "f1"), attributeText(row, "f2"), attributeText(row, "f4"));
        m_users->m_str1[index] = attributeText(row, "f3");
    }
    return true;
}

bool NSCaipDBClass::loadDBTuidyy() {
    TableFile table = readTable("tuidyy.dat", "record");
    for (auto& row : table.rows)
        m_Tuidyy->AddItem(attributeText(row, "f1"), attributeText(row, "f2"), attributeText(row, "f3"));
    return true;
}

bool NSCaipDBClass::loadDBBom() {
    {
        TableFile table = readTable("stBom.dat", "record");
        // A missing value stands as "" so that every column stays aligned with its rows.
        for (auto& row : table.rows) {
            m_Bom->m_str1.push_back(attributeText(row, "f1"));
            m_Bom->m_str2.push_back(attributeText(row, "f2"));
            m_Bom->m_name.push_back(attributeText(row, "f3"));
            m_Bom->m_code.push_back(attributeText(row, "f4"));
            m_Bom->m_state.push_back(attributeText(row, "f5"));
            m_BomGroupName.push_back(attributeText(row, "f6"));
        }
    }
    TableFile units = readTable("stUnits.dat", "record");
    for (auto& row : units.rows)
        m_Units->AddItem(attributeText(row, "f3"), attributeText(row, "f2"), attributeText(row, "f4"));
    return true;
}

void NSCaipDBClass::loadDefalutCaip() {
    struct Demo {
        const char* name;
        const char* code;
    };
    static const Demo first[] = {
        {"翡翠花菇扒鲍脯", "ZCHGBBF"}, {"黄焖蟹肉金钩翅", "HZXRJGC"}, {"秘制澳洲鲜鲍鱼", "MZAZXBY"},
        {"极品龙虾酸辣羹", "JPLXSLG"}, {"百花北姑红烧官燕", "BHBGHSGY"}, {"冰纷菊花炸桂鱼", "BFJHZGY"},
        {"东星斑", "DXB"}, {"游水基围虾", "YSJWX"}, {"红花蟹", "HHX"}, {"澳洲龙虾", "AZLX"}, {"鲫鱼", "ZY"},
    };
    static const Demo second[] = {
        {"虫草花炖土鸽汤", "CCHZTGT"}, {"宋嫂鱼肉羹", "SSYRG"}, {"是日老火例汤", "SRLHLT"}, {"佛跳墙", "FTQ"},
    };
    struct Category {
        const char* id;
        const char* name;
        const char* order;
        int firstID;
        int firstPicture;
        const Demo* dishes;
        int count;
    };
    const Category categories[] = {
        {"000001", "热菜", "001", 4001, 1, first, static_cast<int>(std::size(first))},
        {"000002", "汤羹", "002", 9001, 2, second, static_cast<int>(std::size(second))},
    };

    static const std::string kCost = "0", kMargin = "100";

    auto self = weak_from_this().lock();
    NSCplbTreeClass::beginCplbTreeBuild(self);
    for (const auto& c : categories) {
        auto cplb = std::make_shared<NSCplbClass>();
        cplb->m_strUid = c.id;
        cplb->m_strCtname = c.name;
        cplb->m_strCtparentid = c.id;
        cplb->m_strCtorder = c.order;
        auto node = std::make_shared<NSCplbTreeClass>();
        node->cplb = std::move(cplb);
        NSCplbTreeClass::addCplbTreeToCplbTrees(node, rootCplbTrees);
    }
    for (int k = 0; k < 2; ++k) {
        const Category& c = categories[k];
        for (int i = 0; i < c.count; ++i) {
            auto caip = std::make_shared<NSCaipClass>();
            caip->Clear();
            caip->setM_strID(platform::fmt("%i", c.firstID + i));
            caip->m_strCode = "01001";
            caip->m_strCXDM = c.dishes[i].code;
            caip->m_strName = c.dishes[i].name;
            caip->m_strName2 = c.dishes[i].code;
            caip->m_strName3 = platform::fmt("测试^%i", c.firstPicture + i);
            caip->m_strFenl.clear();
            caip->m_strDanw = "份";
            caip->m_strPrice = platform::fmt("%i", 20 + 5 * i);
            caip->m_strCategory = platform::fmt("00000%i", k + 1);
            caip->m_iPrice = 0;
            caip->m_iMultizuof = 1;
            caip->m_strZuofID = "00001,";
            caip->m_strZfjiag.clear();
            caip->m_strCost = kCost;
            caip->m_strMLL = kMargin;
            caip->setFlags(NSCaipClass::kFlagRebate);
            addUnitName(caip->m_strDanw);
            NSCplbTreeClass::addCaipToCplbTrees(caip, rootCplbTrees);
            m_CaipArray.push_back(std::move(caip));
        }
    }
    struct Kouw {
        const char* id;
        const char* name;
        bool zuof;
    };
    for (const Kouw& k : {Kouw{"001", "微辣", false}, Kouw{"002", "苏邦菜", false}, Kouw{"00001", "温热", true}}) {
        auto kouw = std::make_shared<NSKouwClass>();
        kouw->m_strKouwid = k.id;
        kouw->m_strKouw = k.name;
        kouw->m_bZuof = k.zuof;
        if (!k.zuof) m_kouws->AddItem(k.id, k.name, "");
        m_KwzfArray.push_back(std::move(kouw));
    }
}

int NSCaipDBClass::GetCaipArrayBySQCode(const std::string& text, NSCaipList& caips) const {
    const std::string upper = platform::toUpper(text);
    for (const auto& caip : m_CaipArray) {
        if (!caip) continue;
        if (caip->m_strCXDM.find(upper) != std::string::npos || caip->m_strName.find(upper) != std::string::npos)
            caips.push_back(caip);
    }
    return static_cast<int>(caips.size());
}

std::shared_ptr<NSCaipClass> NSCaipDBClass::GetCaipFromID(const std::string& id) const {
    {
        std::lock_guard<std::mutex> lock(m_idIndex.mutex);
        auto& index = m_idIndex;
        if (index.data != m_CaipArray.data() || index.size != m_CaipArray.size()) {
            index.positions.clear();
            for (std::size_t i = 0; i < m_CaipArray.size(); ++i)
                if (m_CaipArray[i]) index.positions.emplace(m_CaipArray[i]->strID(), i);  // the first stays
            index.data = m_CaipArray.data();
            index.size = m_CaipArray.size();
        }
        auto it = index.positions.find(id);
        if (it != index.positions.end() && it->second < m_CaipArray.size()) {
            const auto& caip = m_CaipArray[it->second];
            if (caip && caip->strID() == id) return caip;
        }
    }
    // Unknown to the index, or the list changed in place since it was made: the list answers.
    for (const auto& caip : m_CaipArray)
        if (caip && caip->strID() == id) return caip;
    return nullptr;
}

std::shared_ptr<NSCaipClass> NSCaipDBClass::GetCaipFromName(const std::string& name) const {
    for (const auto& caip : m_CaipArray)
        if (caip && caip->m_strName == name) return caip;
    return nullptr;
}

bool NSCaipDBClass::IsCaipSellOut(const std::string& id) const {
    const int row = m_SellOut->FindID(id);
    return row != -1 && static_cast<size_t>(row) < m_SellOut->m_state.size() && m_SellOut->m_state[row] == "0";
}

bool NSCaipDBClass::FindKouwid(const std::string& id) const {
    for (const auto& kouw : m_KwzfArray)
        if (kouw && kouw->m_strKouwid == id) return true;
    return false;
}

std::string NSCaipDBClass::GetKouwIDByName(const std::string& name) const {
    for (const auto& kouw : m_KwzfArray)
        if (kouw && kouw->m_strKouw == name) return kouw->m_strKouwid;
    return name;
}

std::string NSCaipDBClass::GetKouwNameByID(const std::string& id) const {
    for (const auto& kouw : m_KwzfArray)
        if (kouw && kouw->m_strKouwid == id) return kouw->m_strKouw;
    return id;
}

std::string NSCaipDBClass::GetUserIDFromUserName(const std::string& name) const { return m_users->GetIDFromName(name); }

std::string NSCaipDBClass::GetUserNameFromUserID(const std::string& id) const { return m_users->GetNameFromID(id); }
