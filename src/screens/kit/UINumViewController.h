#pragma once
// The number pad: the one numeric-entry dialog (guests of a desk, quantities, prices,
// surcharges). It edits one text with sixteen image buttons over a background picture: the text
// holds one point at most, and OK refuses a text that is not a number (the pad stays open); any
// other text goes to the owner, which judges the value. A pad asking for a whole number shows no
// point key (its zero key takes the point's place) and answers a keyboard's point with a message,
// so that "2.5" never silently becomes 25. It never closes itself.

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/ViewController.h"
#include "screens/kit/NSDialogProtocols.h"
#include "screens/kit/VirtualButton.h"

namespace ui {
class ImageView;
class Label;
}  // namespace ui

class UINumViewController : public ui::ViewController {
public:
    // The pad's own size; its keys are placed inside a panel of this size, centred on the screen.
    static constexpr double kPanelWidth = 320;
    static constexpr double kPanelHeight = 420;

    UINumViewController();

    // Set these before the view is first requested: building the view reads them.
    NSNumDlg* upViewController = nullptr;  // the owner; not owned, it outlives the pad
    std::string m_strNum;                  // the text being edited (the owner's preset)
    bool canFuS = false;                   // the sign key works
    bool onlyWhole = false;                // a whole number is asked for (guests, counts): no point key
    int m_tag = 0;                         // the owner's dialog tag
    std::string s_title;                   // title put into l_title when the view is built
    bool isfirst = false;                  // the preset is untouched: the next digit replaces it

    std::shared_ptr<ui::Label> label;      // the display of m_strNum
    std::shared_ptr<ui::Label> l_title;    // the title line
    std::shared_ptr<ui::ImageView> i_title;
    std::shared_ptr<ui::ImageView> im_back;
    std::shared_ptr<ui::View> m_panel;     // where the keys are drawn

    VirtualButton m_btnBS, m_btn09, m_btn08, m_btn07, m_btn06, m_btn05, m_btn04, m_btn03, m_btn02, m_btn01,
        m_btClear, m_btn00, m_btdot, m_btnOK, m_btnFuS, m_btnCancel;

    void viewDidLoad() override;
    void viewDidUnload() override;
    void showInterface();
    void OnButtonBs();
    // Puts the text into the title line; lost when the view is not built yet (use s_title).
    void setTitle(const std::string& text);

    void touchesBegan(const ui::TouchSet& touches, const ui::Event* event) override;
    void touchesEnded(const ui::TouchSet& touches, const ui::Event* event) override;
    // A keyboard's digits, point, Backspace, Return and Escape press the keys they stand for.
    bool keyPressed(const std::string& key) override;

    // The text's value when the whole text is one number: an optional minus sign, digits with at
    // most one point, and the exponent "%g" writes for a large preset. An empty text, a lone
    // point or sign, or anything more is none.
    static std::optional<double> numberIn(std::string_view text);

private:
    // The keys in the order a touch is offered to them.
    std::vector<VirtualButton*> keysInOrder();
    // The digit keys, "0" first.
    std::array<VirtualButton*, 10> digitKeys();
    void pressKey(VirtualButton& key);
    void showNumber();
};
