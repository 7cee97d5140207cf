// The layout every request must have: the envelope and, per command word, the children of `data`
// in their order. The simulator refuses anything else, so a terminal that builds a request wrong
// fails its tests loudly instead of being understood by a lenient peer.

#include <algorithm>
#include <map>
#include <vector>

#include "GData/GDataXML.h"
#include "backoffice/SimRestaurant.h"
#include "platform/foundation/Text.h"

namespace backoffice {

namespace {

using Names = std::vector<std::string>;

Names childNames(const std::shared_ptr<GDataXMLElement>& element) {
    Names out;
    if (!element) return out;
    for (auto& c : element->children())
        if (c->isElement()) out.push_back(c->name());
    return out;
}

Names attributeNames(const std::shared_ptr<GDataXMLElement>& element) {
    Names out;
    for (auto& a : element->attributes()) out.push_back(a->name());
    return out;
}

std::string joined(const Names& names) {
    std::string out;
    for (auto& n : names) out += (out.empty() ? "" : ",") + n;
    return out;
}

std::shared_ptr<GDataXMLElement> child(const std::shared_ptr<GDataXMLElement>& e, const std::string& name) {
    return firstElement(e, name);
}

// Every child of `list` is named `name`; answers the problem or "".
std::string allNamed(const std::shared_ptr<GDataXMLElement>& list, const std::string& name) {
    for (auto& n : childNames(list))
        if (n != name) return platform::fmt("%@ holds %@", list->name(), n);
    return "";
}

// The attributes of an "adddish" row: present ones in this order, the unconditional ones always.
std::string addDishRow(const std::shared_ptr<GDataXMLElement>& row) {
    static const Names order = {"Set",    "AddOn",      "Exp",    "uid",   "gds",  "qty",  "VarQty", "tasteid",
                                "taste",  "dishremark", "chucfs", "price", "qty2", "danw", "addamt"};
    static const Names always = {"uid", "gds", "qty", "tasteid", "taste", "dishremark", "chucfs", "price", "danw"};
    const Names got = attributeNames(row);
    size_t at = 0;
    for (auto& name : got) {
        auto it = std::find(order.begin() + static_cast<long>(at), order.end(), name);
        if (it == order.end()) return "row attributes out of order or unknown: " + joined(got);
        at = static_cast<size_t>(it - order.begin()) + 1;
    }
    for (auto& name : always)
        if (std::find(got.begin(), got.end(), name) == got.end()) return "row without " + name;
    return "";
}

std::string xiaofmx(const std::shared_ptr<GDataXMLElement>& x) {
    static const Names want = {"xiaofmxid", "uid", "dishid", "qty", "tasteid", "dishremark", "chucfs", "price"};
    const Names got = childNames(x);
    return got == want ? "" : "xiaofmx holds " + joined(got);
}

}  // namespace

std::string requestLayoutProblem(const ReceivedRequest& r) {
    if (!r.document) return "not XML";
    auto root = r.document->rootElement();
    if (root->name() != "morvane") return "root is " + root->name();
    static const std::string decl = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<morvane ";
    if (r.raw.compare(0, decl.size(), decl) != 0) return "declaration or line break missing";
    if (r.raw.size() < 11 || r.raw.compare(r.raw.size() - 11, 11, "</morvane>\n") != 0)
        return "no line break after the root";
    const Names envelope = attributeNames(root);
    if (envelope != Names{"UID", "dev", "cmd", "seq", "dnt"}) return "envelope attributes " + joined(envelope);
    if (r.dev != "iphone" || r.seq != "0" || (r.dnt != "0" && r.dnt != "1")) return "envelope values";
    if (r.command.empty()) return "command word cannot be deciphered with the UID";
    if (childNames(root) != Names{"data"}) return "root holds " + joined(childNames(root));

    auto data = r.data();
    const Names got = childNames(data);
    static const Names custom = {"waiterid", "deskid", "consumeid", "param1", "param2"};
    static const std::map<std::string, Names> fixed = {
        {"query", {"table"}},
        {"treedata", custom},
        {"getfile", custom},
        {"deskstate", {"spaceid", "deskid"}},
        {"opendesk", {"type", "desk"}},
        {"adddish", {"deskid", "rens", "waiterid", "consumeid", "detail"}},
        {"deldish", {"deskid", "rens", "waiterid", "consumeid", "detail"}},
        {"printalldish", {"deskid", "rens", "waiterid", "consumeid", "detail"}},
        {"hasten", {"waiterid", "xiaofmxid", "deskid", "caipid", "type", "msg"}},
        {"updatemenu", {"deskid", "rens", "waiterid", "consumeid"}},
        {"disconnect", {"param1", "param2"}},
        {"changedesk", {"waiterid", "deskid", "consumeid", "tardeskid", "tarconsumeid"}},
        {"cleardesk", {"waiterid", "deskid", "deskstate", "consumeid"}},
        {"login", {"waiterid", "password", "lostdish", "maxdishid", "clientver", "openuid"}},
    };
    const std::string& c = r.command;
    if ((c == "disconnect") != (r.cmd == "disconnect")) return "disconnect must be sent in plain text";
    auto it = fixed.find(c);
    if (it != fixed.end()) {
        if (got != it->second) return c + " data holds " + joined(got);
    } else {
        // A custom command: the five fields, then what its word appends.
        Names want = custom;
        if (c == "setdeskpeoples" && got.size() > 5) want.insert(want.end(), {"param3", "param4"});
        if (c == "yudopen") want.insert(want.end(), {"desk", "caip"});
        const bool known = c == "call" || c == "check" || c == "setdeskpeoples" || c == "ipadload" ||
                           c == "rebatexiaof" || c == "yudinfo" || c == "print" || c == "deskdetail" ||
                           c == "yudopen" || c == "modifyqty" || c == "rebatedish" || c == "deskunion";
        const bool fits = known ? got == want
                                : got.size() >= custom.size() && std::equal(custom.begin(), custom.end(), got.begin());
        if (!fits) return c + " data holds " + joined(got);
    }

    if (c == "query") {
        auto table = child(data, "table");
        if (attributeNames(table) != Names{"field"}) return "table without its field list";
        // The fields each table is asked for, in their order.
        static const std::map<std::string, std::string> tableFields = {
            {"yonghxx", "yonghxx_yhm,yonghxx_qm,yonghxx_mm"},
            {"caip", "cp_id,cp_code,cp_qcode,cp_name,cp_size,cp_unit,cp_price,cp_cate,cp_var,cp_mzuof,cp_azuof"},
            {"stCategory", "uid,ctname,ctparentid,ctorder"},
            {"ssdept", "uid,dptName"},
            {"tuidyy", "tuidyy_id,tuidyy_neir"},
            {"zuot", "zuot_id,zuot_mingc,ZUOT_CANTID,zuot_maxrs"},
            {"zuotzt", "zuotzt_id,zuotzt_mingc,zuotzt_color"},
            {"caipu", "caipu_id,caipu_mingc"},
            {"stBom", "BmPuid,BmCuid,BmQty,BmType,BmShl"},
            {"stUnits", "*"},
            {"kouw", "kouw_id,kouw_neir,kouw_bz"},
        };
        auto want = tableFields.find(table->stringValue().value_or(""));
        if (want != tableFields.end() && attributeText(table, "field") != want->second)
            return "fields of " + want->first + ": " + attributeText(table, "field");
    }
    if (c == "opendesk" && childNames(child(data, "desk")) != Names{"deskid", "rens", "waiterid"})
        return "opendesk desk holds " + joined(childNames(child(data, "desk")));
    if (c == "login" && elementText(data, "clientver") != "00-201310241706") return "client version";
    if (c == "adddish") {
        auto detail = child(data, "detail");
        if (auto p = allNamed(detail, "row"); !p.empty()) return p;
        for (auto& row : detail->elementsForName("row").value_or(std::vector<std::shared_ptr<GDataXMLElement>>{}))
            if (auto p = addDishRow(row); !p.empty()) return p;
    }
    if (c == "deldish" || c == "printalldish") {
        auto detail = child(data, "detail");
        if (auto p = allNamed(detail, "xiaofmx"); !p.empty()) return p;
        for (auto& x : detail->elementsForName("xiaofmx").value_or(std::vector<std::shared_ptr<GDataXMLElement>>{}))
            if (auto p = xiaofmx(x); !p.empty()) return p;
    }
    if (c == "changedesk") {
        if (attributeNames(child(data, "deskid")) != Names{"name"} || attributeNames(child(data, "tardeskid")) != Names{"name"})
            return "changedesk desks without their names";
    }
    if (c == "yudopen") {
        for (auto& row : child(data, "desk")->elementsForName("row").value_or(std::vector<std::shared_ptr<GDataXMLElement>>{}))
            if (attributeNames(row) != Names{"rens", "usr"}) return "yudopen desk row " + joined(attributeNames(row));
        if (auto p = allNamed(child(data, "desk"), "row"); !p.empty()) return p;
        if (auto p = allNamed(child(data, "caip"), "row"); !p.empty()) return p;
        static const Names order = {"gds", "qty", "fs", "kw", "var", "Set", "Exp"};
        for (auto& row : child(data, "caip")->elementsForName("row").value_or(std::vector<std::shared_ptr<GDataXMLElement>>{})) {
            Names got = attributeNames(row);
            Names head(got.begin(), got.begin() + static_cast<long>(std::min<size_t>(5, got.size())));
            bool ok = head == Names(order.begin(), order.begin() + 5);
            for (size_t i = 5; ok && i < got.size(); ++i) ok = got[i] == "Set" || got[i] == "Exp";
            if (got.size() == 7 && got[5] != "Set") ok = false;
            if (!ok) return "yudopen caip row " + joined(got);
        }
    }
    return "";
}

}  // namespace backoffice
