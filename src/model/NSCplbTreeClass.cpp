#include "model/NSCplbTreeClass.h"

#include "core/NSServer.h"
#include "model/NSCaipDBClass.h"

namespace {

// The cursors of the tree being built. Weak, so that a build left unfinished keeps nothing alive.
struct TreeBuild {
    std::weak_ptr<NSCplbTreeClass> lastTop;
    std::weak_ptr<NSCplbTreeClass> lastSecond;
    std::weak_ptr<NSCaipDBClass> db;
    bool useHub = true;
};

TreeBuild& build() {
    static TreeBuild b;
    return b;
}

const std::string& uidOf(const NSCplbTreeClass& node) {
    static const std::string empty;
    return node.cplb ? node.cplb->m_strUid : empty;
}

void clearOneLevel() {
    auto db = build().useHub ? NSServer::getCaipDB() : build().db.lock();
    if (db) db->isOneLevel = false;
}

}  // namespace

void NSCplbTreeClass::beginCplbTreeBuild(const std::shared_ptr<NSCaipDBClass>& db) {
    build() = TreeBuild{};
    build().db = db;
    build().useHub = db == nullptr;
}

void NSCplbTreeClass::addCplbTreeToCplbTrees(const std::shared_ptr<NSCplbTreeClass>& node, NSCplbTreeList& trees) {
    if (!node) return;
    static const std::string empty;
    const std::string& uid = uidOf(*node);
    const std::string& parent = node->cplb ? node->cplb->m_strCtparentid : empty;
    TreeBuild& b = build();

    if (parent == uid) {
        trees.push_back(node);
        b.lastTop = node;
        return;
    }
    auto top = b.lastTop.lock();
    auto second = b.lastSecond.lock();
    clearOneLevel();
    if (top && parent == uidOf(*top)) {
        top->subCplbTrees.push_back(node);
        node->superCplbTree = top;
    } else if (second && parent == uidOf(*second)) {
        // The named category is replaced by its own child: the tree stays two levels deep.
        if (top) {
            auto& subs = top->subCplbTrees;
            for (auto it = subs.begin(); it != subs.end(); ++it)
                if (*it == second) {
                    subs.erase(it);
                    break;
                }
            subs.push_back(node);
        }
    } else if (top) {
        top->subCplbTrees.push_back(node);
    }
    // Before any top-level category the node is attached nowhere, but it still is the cursor.
    b.lastSecond = node;
}

void NSCplbTreeClass::getCaipPlaces(const std::string& category, const NSCplbTreeList& trees,
                                    std::vector<NSCplbTreeClass*>& places) {
    for (auto& node : trees) {
        if (!node) continue;
        if (uidOf(*node) == category) {
            places.push_back(node.get());
            return;
        }
        // A match below does not end the walk of this level: with repeated ids a dish can land
        // once per level walked.
        if (!node->subCplbTrees.empty()) getCaipPlaces(category, node->subCplbTrees, places);
    }
}

void NSCplbTreeClass::addCaipToCplbTrees(const std::shared_ptr<NSCaipClass>& caip, NSCplbTreeList& trees) {
    if (!caip) return;
    std::vector<NSCplbTreeClass*> places;
    getCaipPlaces(caip->m_strCategory, trees, places);
    for (NSCplbTreeClass* node : places) node->caips.push_back(caip);
}

std::shared_ptr<NSCplbTreeClass> NSCplbTreeClass::getCplbTreeFromCplbTrees(const std::string& id,
                                                                         const NSCplbTreeList& trees) {
    for (auto& node : trees) {
        if (!node) continue;
        if (uidOf(*node) == id) return node;
        if (auto found = getCplbTreeFromCplbTrees(id, node->subCplbTrees)) return found;
    }
    return nullptr;
}
