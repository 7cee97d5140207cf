// The desk tree: rooms, their desks with the states of a desk-state reply, the bills of desks that
// hold several, and on request the offline desks, built from the room and desk table files.

#include <unordered_map>

#include "GData/GDataXML.h"
#include "core/NSServer.h"
#include "model/NSATreeClass.h"
#include "model/NSDeskClass.h"
#include "platform/foundation/Text.h"

namespace {

using Elements = std::vector<std::shared_ptr<GDataXMLElement>>;

Elements childElements(const std::shared_ptr<GDataXMLElement>& element, const char* name) {
    if (!element) return {};
    return element->elementsForName(name).value_or(Elements());
}

// The rows of a table file: the record elements of the root's first data element.
Elements tableRows(const std::string& fileName) {
    auto text = NSServer().stringDataReadFromFile(NSServer::getDataPath() + "/" + fileName);
    if (text.empty()) return {};
    auto document = GDataXMLDocument::initWithDataOptionsError(text, 0, nullptr);
    if (!document) return {};
    return childElements(firstElement(document->rootElement(), "data"), "record");
}

Elements replyDesks(const std::string& reply) {
    auto document = GDataXMLDocument::initWithDataOptionsError(reply, 0, nullptr);
    if (!document) return {};
    return childElements(firstElement(document->rootElement(), "data"), "desk");
}

// State, bill id and the server's two integers and caption of a desk or bill element.
void applyState(NSATreeClass& tree, int node, const std::shared_ptr<GDataXMLElement>& element) {
    tree.m_state[node] = attributeText(element, "f2");
    tree.m_str1[node] = attributeText(element, "f3");
    tree.m_uint[node] = platform::leadingInt(attributeText(element, "f4"));
    tree.m_int2[node] = platform::leadingInt(attributeText(element, "f7"));
    tree.m_str2[node] = attributeText(element, "f6");
}

}  // namespace

void NSServer::loadDesks(const std::optional<std::string>& reply, bool offline) {
    auto tree = std::make_shared<NSATreeClass>();
    // Each row's texts are read once, and the desks are grouped by room id (each group in file
    // order), so a large floor plan costs no room-by-desk scan.
    struct DeskRow { std::string id, name, capacity; };
    std::unordered_map<std::string, std::vector<DeskRow>> desksByRoom;
    bool anyDesk = false;
    for (const auto& row : tableRows("zuot.dat")) {
        anyDesk = true;
        desksByRoom[attributeText(row, "f3")].push_back(
            {attributeText(row, "f1"), attributeText(row, "f2"), attributeText(row, "f4")});
    }
    auto rooms = tableRows("ssdept.dat");
    // The reply's desk elements by desk id, each list in reply order.
    std::unordered_map<std::string, Elements> states;
    if (reply)
        for (const auto& element : replyDesks(*reply)) states[attributeText(element, "f1")].push_back(element);

    if (!anyDesk && rooms.empty()) {
        int room = tree->AddChild4(0, "", "一楼宴会区", "");
        tree->AddChild4(room, "00010024", "Y1", "10");
    }

    for (const auto& roomRow : rooms) {
        const auto roomID = attributeText(roomRow, "f1");
        int room = tree->AddChild4(0, "", attributeText(roomRow, "f2"), "");
        auto roomDesks = desksByRoom.find(roomID);
        if (roomDesks == desksByRoom.end()) continue;
        for (const auto& row : roomDesks->second) {
            int desk = tree->AddChild4(room, row.id, row.name, row.capacity);
            if (!reply) continue;
            tree->m_state[desk] = "1";
            auto found = states.find(row.id);
            if (found == states.end()) continue;
            for (const auto& state : found->second) {
                auto bills = childElements(state, "bill");
                if (bills.empty()) {
                    applyState(*tree, desk, state);
                    continue;
                }
                tree->m_state[desk] = "6";
                for (const auto& bill : bills) {
                    int node = tree->AddChild4(desk, row.id, row.name, "");
                    applyState(*tree, node, bill);
                }
            }
        }
    }

    if (reply && offline) {
        int entry = tree->AddChild4(0, "", "离线点菜", "新建");
        tree->m_str2[entry] = "新建";
        if (auto outDesks = getOutDesk()) {
            for (std::size_t i = 0; i < outDesks->size(); ++i) {
                const auto& desk = (*outDesks)[i];
                if (!desk) continue;
                int node = tree->AddChild4(
                    0, desk->m_strKongjID,
                    platform::fmt("%i人 %i菜", desk->m_iClientNum, static_cast<int>(desk->m_DishList.size())),
                    "离线新建");
                tree->m_uint[node] = static_cast<int>(i);
                tree->m_str2[node] = platform::fmt("%g元", static_cast<double>(desk->GetAllDishPrice()));
            }
        }
    }
    setDesks(tree);
}
