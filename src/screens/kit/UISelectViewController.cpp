#include "screens/kit/UISelectViewController.h"

#include <algorithm>

#include "core/NSServer.h"
#include "model/NSATreeClass.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Text.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Window.h"
#include "screens/kit/ScreenKit.h"
#include "screens/kit/ScreenRoot.h"

namespace {

void setMark(NSATreeClass& tree, int row, int mark) {
    if (row < 0) return;
    if (static_cast<std::size_t>(row) >= tree.m_uint.size()) tree.m_uint.resize(row + 1, 0);
    tree.m_uint[row] = mark;
}

// The slot picture of a row, by its state (in the desk tree: free, open, reserved...).
const char* statePicture(const std::string& state) {
    if (state == "6") return "2-139.png";
    if (state == "7" || state == "4") return "2-140.png";
    if (state == "5") return "2-138.png";
    return "2-137.png";
}
// The face drawn in place of that picture while the package lacks it.
ui::Color stateColor(const std::string& state) {
    if (state == "6") return kit::kAccent;
    if (state == "7" || state == "4") return ui::Color::rgb(222, 170, 70);
    if (state == "5") return ui::Color::rgb(120, 160, 110);
    return kit::kQuiet;
}
// Search results in these states show no picture while held.
bool heldWithoutPicture(const std::string& state) {
    return state == "6" || state == "7" || state == "4" || state == "5" || state == "离线新建" || state == "新建";
}

// Between the rows of the search text: a byte that never occurs in UTF-8, so no typed text can
// match across two rows.
constexpr char kRowBreak = '\xFF';

// Marks every row of `starts` whose part of `all` holds `text`.
void markRows(const std::string& all, const std::vector<std::size_t>& starts, const std::string& text,
              std::vector<char>& matched) {
    if (text.empty() || text.find(kRowBreak) != std::string::npos) return;
    std::size_t from = 0;
    while (from < all.size()) {
        const std::size_t at = all.find(text, from);
        if (at == std::string::npos) break;
        // The row holding the hit; the next search starts at the following row.
        const std::size_t row = std::upper_bound(starts.begin(), starts.end(), at) - starts.begin() - 1;
        if (row >= matched.size()) break;
        matched[row] = 1;
        from = starts[row + 1];
    }
}

std::string asciiLower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

const ui::Font kSlotFont = ui::Font::withName("Helvetica", 13);
const ui::Font kButtonFont{"Helvetica", 13, true};

}  // namespace

UISelectViewController::UISelectViewController() : ui::ViewController("UISelectViewController") {}

UISelectViewController::~UISelectViewController() {
    if (m_writer) m_writer->setDelegate(nullptr);
}

void UISelectViewController::viewDidLoad() {
    if (auto root = ScreenRoot::current()) view()->setFrame(root->frameRect());
    view()->setBackgroundColor(kit::kShade);
    showInterface();
}

bool UISelectViewController::shouldAutorotateToInterfaceOrientation(int) {
    if (auto root = ScreenRoot::current()) view()->setFrame(root->frameRect());
    return true;
}

void UISelectViewController::viewDidUnload() {
    m_bt.clear();
    m_slotFaces.clear();
    m_btNext.reset();
    m_btPrev.reset();
    m_btOK.reset();
    m_btUp.reset();
    m_btWrite.reset();
    im_back.reset();
    if (m_writer) m_writer->setDelegate(nullptr);
    m_writer.reset();
    m_panel.reset();
}

void UISelectViewController::showInterface() {
    const ui::Rect frame = view()->frame();
    m_panel = std::make_shared<ui::View>(ui::Rect{(frame.width() - kPanelWidth) / 2,
                                                  (frame.height() - kPanelHeight) / 2, kPanelWidth, kPanelHeight});
    m_panel->setBackgroundColor(kit::kPanel);
    m_panel->setCornerRadius(8);
    view()->addSubview(m_panel);
    im_back = std::make_shared<ui::ImageView>(ui::Rect{0, 0, kPanelWidth, kPanelHeight});
    m_panel->addSubview(im_back);
    m_title = kit::label(*m_panel, {16, 16, kPanelWidth - 32, 40}, "", kit::titleFont(), ui::TextAlignment::Center);
    // A long question (a dish name with its quantity) is read whole in a smaller size.
    m_title->setAdjustsFontSizeToFitWidth(true);
    m_title->setMinimumFontSize(12);
    m_editstr = kit::label(*m_panel, {20, 69, 280, 31}, "", kit::bodyFont(), ui::TextAlignment::Left, kit::kMuted);

    // Slots: five rows of four.
    const bool slotPictures = kit::picture(statePicture("")) != nullptr;
    m_bt.clear();
    m_slotFaces.clear();
    for (int i = 0; i < kSlots; ++i) {
        const ui::Rect rect{14.0 + 73 * (i % 4), 110.0 + 50 * (i / 4), 70, 45};
        if (!slotPictures) {
            m_slotFaces.push_back(plainButtonFace(*m_panel, rect, "", kit::kQuiet));
            m_slotFaces.back()->setHidden(true);
        }
        auto slot = std::make_shared<VirtualButton>();
        slot->create(*m_panel, rect, "", "");
        m_bt.push_back(slot);
    }

    // The buttons' row, a finger's height tall.
    const double y = kPanelHeight - 92;
    const std::string picture = kit::interfacePicture(119);
    const bool buttonPictures = kit::picture(picture) != nullptr;
    auto makeButton = [&](double x, const char* key) {
        const ui::Rect rect{x, y, 55, kit::kTouch};
        if (!buttonPictures) plainButtonFace(*m_panel, rect, "", kit::kQuiet);
        auto button = std::make_shared<VirtualButton>();
        button->create(*m_panel, rect, picture, picture);
        button->setText(ScreenRoot::word(key), ui::Color::blackColor(), kButtonFont, *m_panel);
        return button;
    };
    if (takesFreeText(m_tag)) m_btWrite = makeButton(16, "write");
    m_btUp = makeButton(73, "onback");
    m_btPrev = makeButton(130, "lastpage2");
    m_btNext = makeButton(187, "nextpage2");
    m_btOK = makeButton(244, "onok");

    m_maxpage = lastPageOf(m_parent);
    FlashSelectBtn();
    m_editstr->setText((m_bmulti ? markedNames() : std::string()) + " " + m_writeText);
}

std::vector<int> UISelectViewController::childrenOf(int node) const {
    std::vector<int> rows;
    if (!m_tree) return rows;
    for (std::size_t i = 1; i < m_tree->m_pid.size(); ++i)
        if (m_tree->m_pid[i] == node && passesFilter(*m_tree, static_cast<int>(i))) rows.push_back(static_cast<int>(i));
    return rows;
}

int UISelectViewController::lastPageOf(int node) const {
    const int n = static_cast<int>(childrenOf(node).size());
    return (n + kSlots - 1) / kSlots - 1;
}

bool UISelectViewController::passesFilter(const NSATreeClass& tree, int row) const {
    return m_filter.empty() || treeCell(tree.m_state, row).find(m_filter) == std::string::npos;
}

void UISelectViewController::writeSlotLabel(VirtualButton& slot, const NSATreeClass& tree, int row) {
    if (!m_panel) return;
    const bool marked = m_bmulti && treeCell(tree.m_uint, row) == 1;
    const std::string text = platform::fmt(marked ? "* %@ *\r\n%@" : "%@\r\n%@", treeCell(tree.m_name, row),
                                           treeCell(tree.m_str2, row));
    slot.setText(text, ui::Color::blackColor(), kSlotFont, *m_panel);
}

void UISelectViewController::fillSlot(std::size_t slot, const NSATreeClass& tree, int row) {
    VirtualButton& button = *m_bt[slot];
    const std::string& state = treeCell(tree.m_state, row);
    button.upImageView = button.downImageView = statePicture(state);
    button.showButtonUp(*m_panel);
    writeSlotLabel(button, tree, row);
    button.m_tag = row;
    if (slot < m_slotFaces.size()) {
        m_slotFaces[slot]->setBackgroundColor(stateColor(state));
        m_slotFaces[slot]->setHidden(false);
    }
}

void UISelectViewController::blankSlot(std::size_t slot) {
    VirtualButton& button = *m_bt[slot];
    button.m_tag = 0;
    button.upImageView.clear();
    button.showButtonUp(*m_panel);
    button.removeText();
    if (slot < m_slotFaces.size()) m_slotFaces[slot]->setHidden(true);
}

bool UISelectViewController::FlashSelectBtn() {
    if (!m_tree || !m_panel) return false;
    // A page is a page of the node's own children: in a nested tree no row repeats on the next
    // page and none is skipped, wherever the children lie in the table.
    const std::vector<int> children = childrenOf(m_parent);
    const std::size_t first = static_cast<std::size_t>(std::max(m_page, 0)) * kSlots;
    for (std::size_t s = 0; s < m_bt.size(); ++s) {
        if (first + s < children.size()) fillSlot(s, *m_tree, children[first + s]);
        else blankSlot(s);
    }
    return true;
}

std::string UISelectViewController::markedNames() const {
    std::string names;
    if (!m_tree) return names;
    for (std::size_t i = 1; i < m_tree->m_uint.size(); ++i)
        if (m_tree->m_uint[i] == 1) names += treeCell(m_tree->m_name, static_cast<int>(i));
    return names;
}

void UISelectViewController::SelBtn(int slot) {
    if (slot < 1 || slot > static_cast<int>(m_bt.size()) || !m_tree) return;
    const int r = m_bt[slot - 1]->m_tag;
    if (r < 0 || r >= m_tree->m_length) return;
    if (!childrenOf(r).empty()) {
        m_parent = r;
        m_page = 0;
        m_maxpage = lastPageOf(r);
        FlashSelectBtn();
        return;
    }
    m_pos = r;
    if (m_bmulti) {
        setMark(*m_tree, r, treeCell(m_tree->m_uint, r) == 1 ? -1 : 1);
        writeSlotLabel(*m_bt[slot - 1], *m_tree, r);
        m_editstr->setText(markedNames() + " " + m_writeText);
        return;
    }
    // The desk picker's tree keeps other values in m_uint (an offline desk's index): no marks.
    if (m_tag != 980003) {
        const int chosen = treeCell(m_tree->m_uint, r) == 1 ? 0 : 1;
        for (std::size_t i = 0; i < m_tree->m_uint.size(); ++i) m_tree->m_uint[i] = 0;
        setMark(*m_tree, r, chosen);
    }
    m_editstr->setText(treeCell(m_tree->m_name, r));
}

void UISelectViewController::OnButtonNext() {
    // While results are shown the slots hold result rows: turning the node's page under them
    // would make the next tap read a tree row as a result.
    if (m_searchTree) return;
    if (m_page < m_maxpage) {
        ++m_page;
        FlashSelectBtn();
    }
}

void UISelectViewController::OnButtonPrev() {
    if (m_searchTree) return;
    if (m_page > 0) {
        --m_page;
        FlashSelectBtn();
    }
}

void UISelectViewController::OnButtonUp() {
    if (m_searchTree) {
        closeWriter();
        return;
    }
    if (m_parent < 1) {
        if (upViewController) upViewController->SelectDlgCancel();
        return;
    }
    m_parent = m_tree ? treeCell(m_tree->m_pid, m_parent) : 0;
    m_page = 0;
    m_maxpage = lastPageOf(m_parent);
    FlashSelectBtn();
}

void UISelectViewController::BeginWrite() {
    if (m_writer) {
        closeWriter();
        return;
    }
    if (!m_panel) return;
    m_editstr->setText("");
    m_writer = std::make_shared<ui::TextField>(ui::Rect{20, 69, 280, 31});
    m_writer->setDelegate(this);
    m_writer->setReturnKeyType(ui::ReturnKeyType::Done);
    m_writer->setBorderStyle(ui::TextField::BorderStyle::RoundedRect);
    m_writer->setFont(kit::bodyFont());
    m_writer->setPlaceholder(ScreenRoot::word("writer"));
    if (!m_writeText.empty()) m_writer->setText(m_writeText);
    m_panel->addSubview(m_writer);
    m_writer->becomeFirstResponder();
}

bool UISelectViewController::shouldChangeCharacters(ui::TextField&, std::size_t, std::size_t, const std::string&) {
    // Each edit searches on the text of 0.1 s later.
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    platform::RunLoop::main().schedule(0.1, [weak] {
        if (auto self = weak.lock()) static_cast<UISelectViewController&>(*self).FlashSeachBtn();
    });
    return true;
}

bool UISelectViewController::textFieldShouldReturn(ui::TextField&) {
    closeWriter();
    return true;
}

const UISelectViewController::SearchIndex& UISelectViewController::searchIndex() {
    const NSATreeClass& tree = *m_tree;
    const std::size_t rows = tree.m_name.size();
    if (m_index.tree == &tree && m_index.rows == rows && m_index.hasChildren.size() == rows) return m_index;
    m_index = SearchIndex{};
    m_index.tree = &tree;
    m_index.rows = rows;
    m_index.hasChildren.assign(rows, 0);
    for (std::size_t i = 1; i < tree.m_pid.size(); ++i) {
        const int parent = tree.m_pid[i];
        if (parent >= 0 && static_cast<std::size_t>(parent) < rows) m_index.hasChildren[parent] = 1;
    }
    for (std::size_t i = 0; i < rows; ++i) {
        m_index.nameStart.push_back(m_index.names.size());
        m_index.names += tree.m_name[i];
        m_index.names += kRowBreak;
        m_index.initialStart.push_back(m_index.initials.size());
        for (char16_t c : platform::toUtf16(tree.m_name[i])) m_index.initials += pinyinFirstLetter(c);
        m_index.initials += kRowBreak;
    }
    m_index.nameStart.push_back(m_index.names.size());
    m_index.initialStart.push_back(m_index.initials.size());
    return m_index;
}

void UISelectViewController::FlashSeachBtn() {
    isSearchSel = false;
    if (!m_writer || m_writer->text().empty() || !m_tree || !m_panel) return;
    const std::string& text = m_writer->text();
    const SearchIndex& index = searchIndex();
    const NSATreeClass& tree = *m_tree;

    // A row matches when its name holds the text as typed, or its initials hold it in lower case.
    std::vector<char> matched(index.rows, 0);
    markRows(index.names, index.nameStart, text, matched);
    markRows(index.initials, index.initialStart, asciiLower(text), matched);

    auto results = std::make_shared<NSATreeClass>();
    for (std::size_t i = 0; i < index.rows; ++i) {
        if (!matched[i] || index.hasChildren[i]) continue;
        const int row = static_cast<int>(i);
        const int r = results->AddItem(treeCell(tree.m_code, row), tree.m_name[i], treeCell(tree.m_state, row));
        results->m_int2[r] = treeCell(tree.m_int2, row);
        results->m_pid[r] = treeCell(tree.m_pid, row);
        results->m_str1[r] = treeCell(tree.m_str1, row);
        results->m_str2[r] = treeCell(tree.m_str2, row);
        results->m_uint[r] = treeCell(tree.m_uint, row);
    }
    m_searchTree = results;

    std::size_t s = 0;
    for (int r = 1; r < results->m_length && s < m_bt.size(); ++r) {
        if (results->m_name[r].empty() || !passesFilter(*results, r)) continue;
        fillSlot(s, *results, r);
        if (heldWithoutPicture(results->m_state[r])) m_bt[s]->downImageView.clear();
        ++s;
    }
    for (; s < m_bt.size(); ++s) blankSlot(s);
}

void UISelectViewController::SelBtnSearch(int slot) {
    if (slot < 1 || slot > static_cast<int>(m_bt.size()) || !m_searchTree || !m_tree) return;
    const int r = m_bt[slot - 1]->m_tag;
    // Row 0 of the results is their empty root, not a result.
    if (r < 1 || r >= m_searchTree->m_length) return;
    isSearchSel = true;
    const std::string code = treeCell(m_searchTree->m_code, r);
    if (!m_bmulti) {
        int matched = -1;
        for (std::size_t i = 0; i < m_tree->m_uint.size(); ++i) {
            const bool same = !code.empty() && treeCell(m_tree->m_code, static_cast<int>(i)) == code;
            m_tree->m_uint[i] = same ? 1 : 0;
            if (same) matched = static_cast<int>(i);
        }
        // A result without a code names no row of the tree: m_pos keeps the last real choice.
        if (matched >= 0) {
            m_pos = matched;
            closeWriter();
        }
        return;
    }
    const int mark = treeCell(m_searchTree->m_uint, r) == 1 ? -1 : 1;
    setMark(*m_searchTree, r, mark);
    VirtualButton& button = *m_bt[slot - 1];
    writeSlotLabel(button, *m_searchTree, r);
    for (int i = 0; i < m_tree->m_length; ++i) {
        if (treeCell(m_tree->m_code, i) != code) continue;
        setMark(*m_tree, i, treeCell(m_tree->m_uint, i) == 1 ? -1 : 1);
        writeSlotLabel(button, *m_tree, i);
    }
}

void UISelectViewController::closeWriter() {
    if (!m_writer) return;
    if (isSearchSel && m_searchTree) m_writer->setText("");
    m_searchTree.reset();
    // The field may be the one whose return key brought us here: it goes on the next turn.
    auto field = m_writer;
    platform::RunLoop::main().releaseLater(field);
    field->resignFirstResponder();
    m_writeText = field->text();
    field->setDelegate(nullptr);
    field->removeFromSuperview();
    m_writer.reset();
    m_editstr->setText(markedNames() + (m_bmulti ? " " + m_writeText : std::string()));
    FlashSelectBtn();
}

void UISelectViewController::chooseOk() {
    if (!isSearchSel && m_searchTree && m_writer) m_writeText = m_writer->text();
    if (upViewController) upViewController->SelectDlgOk();
}

std::vector<VirtualButton*> UISelectViewController::buttonsInOrder() const {
    std::vector<VirtualButton*> order;
    for (auto& slot : m_bt) order.push_back(slot.get());
    for (auto* b : {m_btUp.get(), m_btPrev.get(), m_btNext.get(), m_btOK.get(), m_btWrite.get()})
        if (b) order.push_back(b);
    return order;
}

void UISelectViewController::actOn(VirtualButton& button) {
    for (std::size_t i = 0; i < m_bt.size(); ++i) {
        if (m_bt[i].get() != &button) continue;
        if (m_searchTree) SelBtnSearch(static_cast<int>(i) + 1);
        else SelBtn(static_cast<int>(i) + 1);
        return;
    }
    if (&button == m_btUp.get()) OnButtonUp();
    else if (&button == m_btPrev.get()) OnButtonPrev();
    else if (&button == m_btNext.get()) OnButtonNext();
    else if (&button == m_btOK.get()) chooseOk();
    else if (&button == m_btWrite.get()) BeginWrite();
}

bool UISelectViewController::keyPressed(const std::string& key) {
    VirtualButton* button = key == ui::Window::kKeyReturn ? m_btOK.get()
                            : key == ui::Window::kKeyEscape ? m_btUp.get() : nullptr;
    if (!button || !m_panel) return false;
    // The owner may let go of the picker from its callback.
    auto self = shared_from_this();
    actOn(*button);
    return true;
}

void UISelectViewController::touchesBegan(const ui::TouchSet& touches, const ui::Event*) {
    if (ui::Touch* touch = touches.anyObject(); touch && m_panel) pressFirstHit(buttonsInOrder(), *touch, *m_panel);
}

void UISelectViewController::touchesEnded(const ui::TouchSet& touches, const ui::Event*) {
    ui::Touch* touch = touches.anyObject();
    if (!touch || !m_panel) return;
    // The owner may let go of the picker from its callback.
    auto self = shared_from_this();
    if (m_writer && !m_searchTree) {
        closeWriter();
        return;
    }
    if (VirtualButton* button = releaseFirstHit(buttonsInOrder(), *touch, *m_panel)) actOn(*button);
}
