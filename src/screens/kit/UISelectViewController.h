#pragma once
// The tree picker: the one list-choice dialog. It shows the children of one node of a tree table
// as a page of 20 image buttons, enters nodes that have children, chooses a leaf in single or
// multiple choice and writes the choice back into the tree's m_uint column, turns pages, goes
// up, and for two dialog tags offers a write field for free text that doubles as a search by name
// or by pinyin initials over all leaves. It never closes itself: OK and the up button at the top
// level call the owner, and the owner takes the dialog away.

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"
#include "screens/kit/NSDialogProtocols.h"
#include "screens/kit/VirtualButton.h"

class NSATreeClass;

// A tree's columns may differ in length (builders fill them one by one): reads of an owner's tree
// are bounded by the column read, and answer the empty text or 0 beyond it.
inline const std::string& treeCell(const std::vector<std::string>& column, int row) {
    static const std::string none;
    return row >= 0 && static_cast<std::size_t>(row) < column.size() ? column[row] : none;
}
inline int treeCell(const std::vector<int>& column, int row) {
    return row >= 0 && static_cast<std::size_t>(row) < column.size() ? column[row] : 0;
}

namespace ui {
class ImageView;
class Label;
}  // namespace ui

class UISelectViewController : public ui::ViewController, public ui::TextFieldDelegate {
public:
    static constexpr int kSlots = 20;
    // The dialog's own size: the layout lies in a panel of this size, centred on the screen.
    static constexpr double kPanelWidth = 320;
    static constexpr double kPanelHeight = 480;

    UISelectViewController();
    ~UISelectViewController() override;

    std::shared_ptr<ui::Label> m_title;    // title line; the owner sets its text
    std::shared_ptr<ui::Label> m_editstr;  // summary: what is chosen, and the free text
    std::vector<std::shared_ptr<VirtualButton>> m_bt;  // the 20 slots of a page, row by row
    std::shared_ptr<VirtualButton> m_btNext, m_btPrev, m_btOK, m_btUp;
    std::shared_ptr<VirtualButton> m_btWrite;  // only for the tags that take free text

    // Set these before the view is first requested: building the view reads them.
    NSSelectDlg* upViewController = nullptr;  // the owner; not owned, it outlives the picker
    std::shared_ptr<NSATreeClass> m_tree;     // its m_uint column carries the marks back
    bool m_bmulti = false;
    int m_tag = 0;
    std::string m_writeText;                  // the free text
    std::string m_filter;                     // rows whose m_state contains it are left out

    int m_maxpage = -1;  // last page of the node shown
    int m_parent = 0;    // row whose children are shown; 0 is the root
    int m_pos = 1;       // row of the last chosen leaf
    int m_page = 0;

    std::shared_ptr<ui::TextField> m_writer;        // the write field while it is open
    std::shared_ptr<NSATreeClass> m_searchTree;     // results of the last search, while searching
    std::shared_ptr<ui::ImageView> im_back;
    std::shared_ptr<ui::View> m_panel;              // where the buttons are drawn

    void viewDidLoad() override;
    void viewDidUnload() override;
    bool shouldAutorotateToInterfaceOrientation(int orientation) override;
    void showInterface();
    // Fills the slots with the current page of the node shown; NO without a tree.
    bool FlashSelectBtn();
    void SelBtn(int slot);        // 1..20
    void SelBtnSearch(int slot);  // 1..20
    void OnButtonNext();
    void OnButtonPrev();
    void OnButtonUp();
    void BeginWrite();
    void FlashSeachBtn();
    // The tags whose dialogs offer the write field.
    static bool takesFreeText(int tag) { return tag == 980002 || tag == 980011; }

    void touchesBegan(const ui::TouchSet& touches, const ui::Event* event) override;
    void touchesEnded(const ui::TouchSet& touches, const ui::Event* event) override;
    // With a keyboard: Return presses 确定, Escape 返回.
    bool keyPressed(const std::string& key) override;

    // Write field delegate.
    bool shouldChangeCharacters(ui::TextField& field, std::size_t location, std::size_t length,
                                const std::string& replacement) override;
    bool textFieldShouldReturn(ui::TextField& field) override;

private:
    // The tree's names and their pinyin initials, each laid end to end in one text with a byte
    // between rows that no typed text holds, so a search is two scans of one text each instead of
    // one per row. Made on the first search and kept while the tree keeps its size.
    struct SearchIndex {
        const NSATreeClass* tree = nullptr;
        std::size_t rows = 0;
        std::vector<char> hasChildren;
        std::string names, initials;
        std::vector<std::size_t> nameStart, initialStart;  // per row, plus one past the last
    };

    // The buttons in the order a touch is offered to them.
    std::vector<VirtualButton*> buttonsInOrder() const;
    void actOn(VirtualButton& button);
    int lastPageOf(int node) const;
    // The children of `node` that pass the filter, in row order.
    std::vector<int> childrenOf(int node) const;
    // Shows one row of `tree` in a slot (picture, label, tag).
    void fillSlot(std::size_t slot, const NSATreeClass& tree, int row);
    void blankSlot(std::size_t slot);
    void writeSlotLabel(VirtualButton& slot, const NSATreeClass& tree, int row);
    bool passesFilter(const NSATreeClass& tree, int row) const;
    // The names of the marked rows, in row order, without separator.
    std::string markedNames() const;
    void closeWriter();
    void chooseOk();
    const SearchIndex& searchIndex();

    std::vector<std::shared_ptr<ui::View>> m_slotFaces;  // drawn only while slot pictures are missing
    bool isSearchSel = false;
    SearchIndex m_index;
};
