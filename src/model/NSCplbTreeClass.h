#pragma once
// One node of the menu's category tree (at most two levels: top-level categories with their
// second-level ones), with the class operations that build and search that tree.

#include <memory>
#include <string>
#include <vector>

#include "model/NSCaipClass.h"
#include "model/NSCplbClass.h"

class NSCaipDBClass;
class NSCplbTreeClass;
using NSCplbTreeList = std::vector<std::shared_ptr<NSCplbTreeClass>>;

class NSCplbTreeClass {
public:
    NSCplbTreeList subCplbTrees;  // second-level nodes, in the order added
    NSCaipList caips;             // the category's dishes (shared with the menu's dish list)
    std::shared_ptr<NSCplbClass> cplb;
    std::weak_ptr<NSCplbTreeClass> superCplbTree;  // set for second-level nodes placed under the last top-level one

    // Starts a new build of a tree: both placement cursors are emptied. A placement below the top
    // level clears the one-level flag of the given database, or of the hub's database when none
    // is given.
    static void beginCplbTreeBuild(const std::shared_ptr<NSCaipDBClass>& db = nullptr);
    // Places a new node (its category set) by its parent id; called once per category in file
    // order within one build. A node that names the last second-level node as its parent takes
    // that node's place.
    static void addCplbTreeToCplbTrees(const std::shared_ptr<NSCplbTreeClass>& node, NSCplbTreeList& trees);
    // Appends the dish to the first node (second-level nodes searched too) of its category.
    static void addCaipToCplbTrees(const std::shared_ptr<NSCaipClass>& caip, NSCplbTreeList& trees);
    // The nodes addCaipToCplbTrees would append a dish of that category to, in order (one with
    // unique category ids). Lets a loader place many dishes of one category at the cost of one.
    static void getCaipPlaces(const std::string& category, const NSCplbTreeList& trees,
                              std::vector<NSCplbTreeClass*>& places);
    // The node of that category id, searched depth first; null when none.
    static std::shared_ptr<NSCplbTreeClass> getCplbTreeFromCplbTrees(const std::string& id,
                                                                     const NSCplbTreeList& trees);
};
