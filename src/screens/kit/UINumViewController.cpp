#include "screens/kit/UINumViewController.h"

#include "core/NSLangueManager.h"
#include "core/NSServer.h"
#include "net/RootServices.h"
#include "platform/foundation/Text.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Window.h"
#include "screens/kit/ScreenKit.h"
#include "screens/kit/ScreenRoot.h"

namespace {

std::string word(const char* key) { return ScreenRoot::word(key); }

}  // namespace

UINumViewController::UINumViewController() : ui::ViewController("UINumViewController") {}

std::array<VirtualButton*, 10> UINumViewController::digitKeys() {
    return {&m_btn00, &m_btn01, &m_btn02, &m_btn03, &m_btn04, &m_btn05, &m_btn06, &m_btn07, &m_btn08, &m_btn09};
}

std::vector<VirtualButton*> UINumViewController::keysInOrder() {
    return {&m_btnBS, &m_btn09, &m_btn08, &m_btn07, &m_btn06, &m_btn05, &m_btn04, &m_btn03,
            &m_btn02, &m_btn01, &m_btClear, &m_btdot, &m_btn00, &m_btnOK, &m_btnCancel, &m_btnFuS};
}

void UINumViewController::viewDidLoad() {
    isfirst = true;
    if (auto root = ScreenRoot::current()) view()->setFrame(root->frameRect());
    view()->setBackgroundColor(kit::kShade);
    showInterface();
    if (m_tag == 760002 || m_tag == 760004) NSServer().playSound("RENS");
}

void UINumViewController::viewDidUnload() {
    label.reset();
    l_title.reset();
    i_title.reset();
    im_back.reset();
    m_panel.reset();
    for (VirtualButton* key : keysInOrder()) {
        key->removeText();
        key->unShowButton();
    }
}

void UINumViewController::showInterface() {
    const ui::Rect frame = view()->frame();
    m_panel = std::make_shared<ui::View>(ui::Rect{(frame.width() - kPanelWidth) / 2,
                                                  (frame.height() - kPanelHeight) / 2, kPanelWidth, kPanelHeight});
    m_panel->setBackgroundColor(kit::kPanel);
    m_panel->setCornerRadius(8);
    view()->addSubview(m_panel);

    const int type = NSServer::getInterfaceType();
    im_back = std::make_shared<ui::ImageView>(ui::Rect{0, 0, kPanelWidth, kPanelHeight});
    m_panel->addSubview(im_back);
    auto background = onlyWhole ? kit::picture(platform::fmt("%i-136-whole.png", type))
                                : kit::picture(platform::fmt("%i-136.png", type));
    if (background) im_back->setImage(background);

    i_title = std::make_shared<ui::ImageView>(ui::Rect{0, 0, kPanelWidth, 64});
    m_panel->addSubview(i_title);
    l_title = kit::label(*m_panel, {16, 18, kPanelWidth - 32, 36}, s_title, kit::titleFont(), ui::TextAlignment::Center);
    // A long question (a dish name with its quantity) is read whole in a smaller size.
    l_title->setAdjustsFontSizeToFitWidth(true);
    l_title->setMinimumFontSize(12);
    // The text ends a little inside the display box of the background picture.
    label = kit::label(*m_panel, {48, 76, 156, 42}, m_strNum, kit::bigFont(), ui::TextAlignment::Right);

    struct KeySpec {
        VirtualButton* key;
        ui::Rect rect;
        const char* face;  // drawn only when the background picture is missing
    };
    std::vector<KeySpec> keys = {
        {&m_btn01, {60, 128, 57, 45}, "1"},  {&m_btn02, {130, 128, 57, 45}, "2"}, {&m_btn03, {205, 128, 57, 45}, "3"},
        {&m_btn04, {60, 184, 57, 45}, "4"},  {&m_btn05, {130, 184, 57, 45}, "5"}, {&m_btn06, {205, 184, 57, 45}, "6"},
        {&m_btn07, {60, 243, 57, 45}, "7"},  {&m_btn08, {130, 243, 57, 45}, "8"}, {&m_btn09, {205, 243, 57, 45}, "9"},
        {&m_btn00, {60, 301, 57, 45}, "0"},  {&m_btdot, {130, 301, 57, 45}, "."}, {&m_btClear, {205, 301, 57, 45}, "C"},
        {&m_btnFuS, {38, 362, 60, 40}, "±"}, {&m_btnBS, {218, 82, 55, 30}, nullptr},
    };
    if (onlyWhole) {
        // A point key that a whole number ignores would turn "2.5" into 25: there is none, and the
        // zero key spans its place, as on the whole-number picture, so that the row stays full.
        std::erase_if(keys, [this](const KeySpec& k) { return k.key == &m_btdot; });
        for (KeySpec& k : keys)
            if (k.key == &m_btn00) k.rect = {60, 301, 127, 45};
        m_btdot.location = {};
    }
    for (const KeySpec& k : keys) {
        if (!background && k.face) plainButtonFace(*m_panel, k.rect, k.face, kit::kQuiet);
        k.key->create(*m_panel, k.rect, "", "");
        // The digits are painted on the background picture; the key is named by its face.
        if (k.face && k.key->imageView) k.key->imageView->setAccessibilityLabel(k.face);
    }
    m_btnBS.setText(word("del"), ui::Color::blackColor(), ui::Font::withName("Helvetica", 17), *m_panel);

    const ui::Color white = ui::Color::whiteColor();
    const ui::Font bold{"Helvetica", 17, true};
    if (!background) {
        plainButtonFace(*m_panel, {101, 362, 60, 40}, "", kit::kMuted);
        plainButtonFace(*m_panel, {169, 362, 60, 40}, "", kit::kAccent);
    }
    m_btnCancel.create(*m_panel, {101, 362, 60, 40}, "", platform::fmt("%i-7.png", type));
    m_btnCancel.setText(word("cancel"), white, bold, *m_panel);
    m_btnOK.create(*m_panel, {169, 362, 60, 40}, "", platform::fmt("%i-8.png", type));
    m_btnOK.setText(word("onok"), white, bold, *m_panel);
}

void UINumViewController::setTitle(const std::string& text) {
    if (l_title) l_title->setText(text);
}

void UINumViewController::showNumber() {
    if (label) label->setText(m_strNum);
}

void UINumViewController::OnButtonBs() {
    isfirst = false;
    if (m_strNum.empty()) return;
    // Drop the last character, not the last byte: the text may hold a non-ASCII preset.
    std::u16string text = platform::toUtf16(m_strNum);
    text.pop_back();
    if (!text.empty() && text.back() >= 0xD800 && text.back() < 0xDC00) text.pop_back();
    m_strNum = platform::fromUtf16(text);
}

void UINumViewController::touchesBegan(const ui::TouchSet& touches, const ui::Event*) {
    if (ui::Touch* touch = touches.anyObject(); touch && m_panel) pressFirstHit(keysInOrder(), *touch, *m_panel);
}

void UINumViewController::touchesEnded(const ui::TouchSet& touches, const ui::Event*) {
    ui::Touch* touch = touches.anyObject();
    if (!touch || !m_panel) return;
    // The owner may let go of the pad from its callback.
    auto self = shared_from_this();
    if (VirtualButton* key = releaseFirstHit(keysInOrder(), *touch, *m_panel)) pressKey(*key);
    else showNumber();
}

bool UINumViewController::keyPressed(const std::string& key) {
    if (key == "." && onlyWhole && m_panel) {
        // The keyboard has the point key this pad leaves out: refused aloud, since dropping it
        // would turn "2.5" into 25.
        std::string text = word("numpad1");
        if (text.empty()) text = "请输入整数";  // a skin's word table may predate the word
        showAlertOrMessage(word("tishi"), text, word("onok"));
        return true;
    }
    VirtualButton* pressed = nullptr;
    if (key.size() == 1 && key[0] >= '0' && key[0] <= '9') pressed = digitKeys()[key[0] - '0'];
    else if (key == ".") pressed = &m_btdot;
    else if (key == ui::Window::kKeyBackspace) pressed = &m_btnBS;
    else if (key == ui::Window::kKeyReturn) pressed = &m_btnOK;
    else if (key == ui::Window::kKeyEscape) pressed = &m_btnCancel;
    if (!pressed || !m_panel) return false;
    // The owner may let go of the pad from its callback.
    auto self = shared_from_this();
    pressKey(*pressed);
    return true;
}

std::optional<double> UINumViewController::numberIn(std::string_view text) {
    std::size_t i = 0, digits = 0;
    auto skipDigits = [&] {
        const std::size_t from = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
        return i - from;
    };
    if (i < text.size() && text[i] == '-') ++i;
    digits += skipDigits();
    if (i < text.size() && text[i] == '.') {
        ++i;
        digits += skipDigits();
    }
    if (digits == 0) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        if (skipDigits() == 0) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;
    return platform::leadingDouble(text);
}

void UINumViewController::pressKey(VirtualButton& key) {
    if (&key == &m_btnOK) {
        // A lone point or sign would reach the owner as 0, and would be taken as an amount. The
        // empty text goes on: every owner answers "nothing typed" itself.
        if (!m_strNum.empty() && !numberIn(m_strNum)) {
            showAlertOrMessage(word("tishi"), word("dishl45"), word("onok"));
            return;
        }
        if (upViewController) upViewController->NumDlgOk();
        return;
    }
    if (&key == &m_btnCancel) {
        if (upViewController) upViewController->NumDlgCancel();
        return;
    }
    const std::array<VirtualButton*, 10> digits = digitKeys();
    char typed = 0;
    for (int d = 0; d < 10; ++d)
        if (&key == digits[d]) typed = static_cast<char>('0' + d);
    if (&key == &m_btdot) typed = '.';
    if (typed) {
        if (isfirst) {
            isfirst = false;
            m_strNum.clear();
        }
        // A second point would make a text the owners read only up to it ("1.0.5" as 1).
        if (typed != '.' || m_strNum.find('.') == std::string::npos) m_strNum += typed;
    } else if (&key == &m_btnBS || &key == &m_btClear) {
        OnButtonBs();
    } else if (&key == &m_btnFuS && canFuS) {
        const double value = platform::leadingDouble(m_strNum);
        if (value > 0) m_strNum = "-" + m_strNum;
        else if (value < 0) m_strNum.erase(0, 1);
    }
    showNumber();
}
