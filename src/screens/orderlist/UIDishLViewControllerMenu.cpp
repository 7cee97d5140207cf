// The function menu, the list's alerts and custom panels with the one answer that routes them by
// tag, the decoration of the panels with their fields, and the way the list opens its dialogs.
#include "core/NSServer.h"
#include "model/NSATreeClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Image.h"
#include "platform/ui/TextView.h"
#include "screens/kit/ScreenKit.h"
#include "screens/kit/ScreenRoot.h"
#include "screens/kit/UINumViewController.h"
#include "screens/kit/UISelectViewController.h"
#include "screens/orderlist/UIDishLViewController.h"

namespace {

// The function menu: five columns of four rows, the last cell empty.
constexpr int kMenuColumns = 5;
constexpr double kMenuCellWidth = 152;
constexpr double kMenuCellHeight = 56;
constexpr double kMenuHeight = 4 * kMenuCellHeight + 8;
constexpr double kToolbarHeight = 64;

const ui::Color kPanelText = ui::Color::white(0.3);

std::shared_ptr<ui::Label> panelLabel(ui::View& panel, double y, const std::string& text) {
    auto label = kit::label(panel, {10, y, 120, 30}, text, kit::smallFont(), ui::TextAlignment::Right, kPanelText);
    label->setBackgroundColor(ui::Color::clearColor());
    return label;
}

std::shared_ptr<ui::TextField> panelField(ui::TextFieldDelegate* delegate, double y, ui::KeyboardType keyboard,
                                          const std::string& text) {
    auto field = std::make_shared<ui::TextField>(ui::Rect{140, y, 130, 30});
    field->setDelegate(delegate);
    field->setKeyboardType(keyboard);
    field->setText(text);
    field->setTextAlignment(ui::TextAlignment::Center);
    field->setReturnKeyType(ui::ReturnKeyType::Done);
    field->setBorderStyle(ui::TextField::BorderStyle::RoundedRect);
    return field;
}

}  // namespace

// ---- Words and alerts ------------------------------------------------------------------------------

std::string UIDishLViewController::word(const std::string& key) { return ScreenRoot::word(key); }

std::string UIDishLViewController::wordFormat(const std::string& key, const std::string& fallback,
                                              const std::vector<platform::FormatArg>& args) {
    // A word table without the text still shows the values, in a format of our own.
    std::string format = word(key);
    if (format.empty()) format = fallback;
    return platform::format(format, args);
}

std::shared_ptr<ui::AlertView> UIDishLViewController::ask(int tag, const std::string& title,
                                                          const std::string& message,
                                                          const std::optional<std::string>& cancel,
                                                          const std::vector<std::string>& others) {
    auto alert = std::make_shared<ui::AlertView>(title, message, this, cancel, others);
    alert->setTag(tag);
    std::erase_if(alerts_, [](const auto& weak) { return weak.expired(); });
    alerts_.push_back(alert);
    alert->show();
    return alert;
}

void UIDishLViewController::tell(const std::string& text, const std::string& titleWord) {
    if (NSServer::getIsShowAlert()) {
        if (rootController_) rootController_->showAyncStyle(text);
        return;
    }
    NSServer::setIsShowAlert(true);
    ask(0, word(titleWord), text, word("onok"));
}

void UIDishLViewController::showPanel(int tag, const std::string& title, const std::string& cancel,
                                      const std::vector<std::string>& others) {
    auto panel = std::make_shared<UIMyAlertViewController>();
    panel->updateWithTitle(title, "", self(), cancel, others);
    panel->setTag(tag);
    panel->show();
}

// ---- Dialogs ---------------------------------------------------------------------------------------

void UIDishLViewController::openPicker(std::shared_ptr<NSATreeClass> tree, bool multi, int tag,
                                       const std::string& title) {
    auto picker = std::make_shared<UISelectViewController>();
    selectViewController = picker;
    picker->upViewController = this;
    picker->m_tree = std::move(tree);
    picker->m_bmulti = multi;
    picker->m_tag = tag;
    ui::View& dialog = *picker->view();
    picker->m_title->setText(title);
    fadeIn(dialog, true);
}

void UIDishLViewController::openPad(int tag, const std::string& preset, const std::string& title,
                                    bool screenFrame) {
    auto pad = std::make_shared<UINumViewController>();
    numViewController = pad;
    pad->upViewController = this;
    pad->m_strNum = preset;
    pad->m_tag = tag;
    // Guests come whole: their pads take no point.
    pad->onlyWhole = tag == kPadGuests || tag == kPadJoinGuests;
    pad->s_title = title;
    pad->setTitle(title);
    fadeIn(*pad->view(), screenFrame);
}

void UIDishLViewController::fadeIn(ui::View& dialog, bool screenFrame) {
    if (screenFrame) dialog.setFrame(rootController_ ? rootController_->frameRect() : view()->bounds());
    dialog.setAlpha(0);
    view()->addSubview(dialog.shared_from_this());
    ui::Animation::begin(std::nullopt);
    ui::Animation::setDuration(0.3);
    dialog.setAlpha(1);
    ui::Animation::commit();
}

std::optional<int> UIDishLViewController::pickedRow() const {
    if (!selectViewController || !selectViewController->m_tree) return std::nullopt;
    const NSATreeClass& tree = *selectViewController->m_tree;
    const int row = selectViewController->m_pos;
    // A tree with nothing but its root offers no row: there is nothing to answer with.
    if (tree.m_length < 2 || row < 1 || row >= tree.m_length || static_cast<std::size_t>(row) >= tree.m_code.size())
        return std::nullopt;
    return row;
}

// ---- Function menu ---------------------------------------------------------------------------------

void UIDishLViewController::otherFun() {
    if (v_otherFun) {
        closeMenuPanel();
        return;
    }
    const double height = rootController_ ? rootController_->frameRect().size.height : view()->bounds().size.height;
    const double top = height - kToolbarHeight - kMenuHeight;
    const double width = view()->bounds().size.width;
    const std::optional<std::string> menu = std::string("menu");  // a press: questions are asked
    // The modify entry works on the first chosen line as it is when the menu opens.
    int firstChosen = 0;
    const auto& lines = NSServer::getNowDesk()->m_DishList;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i]->m_bisChoose) {
            firstChosen = static_cast<int>(i);
            break;
        }
    const std::vector<std::pair<const char*, std::function<void()>>> entries = {
        {"全部删除", [this, menu] { delAllDish(menu); }},
        {"全部即起", [this, menu] { allJiQ(menu); }},
        {"全部叫起", [this, menu] { allJiaoQ(menu); }},
        {"整桌要求", [this] { allDishKouw(); }},
        {"还原删除", [this] { undelDishes(); }},
        {"催菜知会", [this] { onNote(); }},
        {"划菜", [this] { huacai(); }},
        {"新建离线", [this] { newOutDesk(); }},
        {"清空桌台", [this] { clearDesk(); }},
        {"并台", [this] { addDeskXiaoF(); }},
        {"换台", [this] { turnDesk(); }},
        {"修改开台", [this] { changeDeskTit(); }},
        {"复制菜单", [this] { copyDeskDishs(); }},
        {"黏贴菜单", [this, menu] { pasteDeskDishs(menu); }},
        {"打印账单", [this, menu] { print(menu); }},
        {"查看沽清", [this] { flashSellOut(); }},
        {"修改菜品", [this, firstChosen] { modifyCaip(firstChosen); }},
        {"赠送菜肴", [this, menu] { giving(menu); }},
        {"ipad同步", [this] { readipad(); }},
    };
    auto panel = std::make_shared<ui::View>(ui::Rect{-width, top, width, kMenuHeight});
    panel->setBackgroundColor(ui::Color::rgb(255, 236, 204));
    auto background = kit::picture(kit::interfacePicture(119));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const double x = static_cast<double>(i % kMenuColumns) * kMenuCellWidth + 6;
        const double y = static_cast<double>(i / kMenuColumns) * kMenuCellHeight + 6;
        auto button = std::make_shared<ui::Button>(ui::Button::Type::Custom,
                                                   ui::Rect{x, y, kMenuCellWidth - 6, kMenuCellHeight - 6});
        // Dark titles: the entries' picture is a light face.
        button->setTitleColor(background ? kit::kInk : kit::kOnDark);
        button->setTitleFont(kit::bodyFont());
        if (background) button->setBackgroundImage(background);
        else button->setBackgroundColor(kit::kBar);
        button->setTitle(std::string(entries[i].first));
        if (i == 16) button->setTag(firstChosen);
        button->addTarget(ui::ControlEvent::TouchUpInside,
                          [run = entries[i].second](ui::Control&) { run(); });
        panel->addSubview(button);
    }
    v_otherFun = panel;
    view()->addSubview(panel);
    std::weak_ptr<UIDishLViewController> weak = self();
    ui::Animation::begin(std::string());
    ui::Animation::setDuration(0.3);
    ui::Animation::setDidStop([weak](const std::optional<std::string>& name, bool done, void* ctx) {
        if (auto list = weak.lock()) list->animationFinish(name, done, ctx);
    });
    panel->setFrame({0, top, width, kMenuHeight});
    ui::Animation::commit();
}

void UIDishLViewController::closeMenuPanel() {
    if (!v_otherFun) return;
    ui::View& panel = *v_otherFun;
    std::weak_ptr<UIDishLViewController> weak = self();
    ui::Animation::begin(std::string("otherfunback"), &panel);
    ui::Animation::setDuration(0.3);
    ui::Animation::setDidStop([weak](const std::optional<std::string>& name, bool done, void* ctx) {
        if (auto list = weak.lock()) list->animationFinish(name, done, ctx);
    });
    ui::Rect frame = panel.frame();
    frame.origin.x = frame.size.width;
    panel.setFrame(frame);
    ui::Animation::commit();
}

// ---- Alert answers ---------------------------------------------------------------------------------

void UIDishLViewController::alertViewClickedButtonAtIndex(ui::AlertView& alert, int buttonIndex) {
    alertViewClickedButtonAtIndex(static_cast<ui::View&>(alert), buttonIndex);
}

void UIDishLViewController::alertViewClickedButtonAtIndex(ui::View& alert, int buttonIndex) {
    NSServer::setIsShowAlert(false);
    const int tag = alert.tag();
    if (tag == kAskUnsure) {
        answerUnsure(buttonIndex);
        return;
    }
    if (buttonIndex == 2) {
        if (tag == kPanelPrint) {
            if (auto field = tf_zhek.lock()) field->resignFirstResponder();
            platform::Timer::schedule(platform::RunLoop::main(), 1.0, false, [](platform::Timer&) { NSServer().XPrint(); });
        } else if (tag == kPanelOpenedDesk) {
            if (!mayBook()) return;
            const bool changed = NSServer().changeDesk(tf_rens ? tf_rens->text() : "", tf_fwy ? tf_fwy->text() : "",
                                                       tf_beiz ? tf_beiz->text() : "");
            tf_rens = tf_fwy = tf_beiz = nullptr;
            tfDeskID.clear();
            if (!changed && leftInDoubt()) return;
            updateMenu();
            reload();
        }
        return;
    }
    if (buttonIndex == 3) {
        if (tag == kPanelPrint) {
            if (auto field = tf_zhek.lock()) field->resignFirstResponder();
            platform::Timer::schedule(platform::RunLoop::main(), 1.0, false, [](platform::Timer&) { NSServer().XPrint2(); });
        }
        return;
    }
    if (buttonIndex != 1) return;
    switch (tag) {
    case kAskDeleteAll: delAllDish(std::nullopt); break;
    case kAskClearDesk: clearDesk(true); break;
    case kAskHold: allJiaoQ(std::nullopt); break;
    case kAskFire: allJiQ(std::nullopt); break;
    case kAskDeleteRow: {
        auto desk = NSServer::getNowDesk();
        desk->clearAllChoose();
        if (auto line = lineAt(sendIndex_)) line->m_bisChoose = true;
        delDishs(std::string(kNoAlert));
        reload();
        save();
        break;
    }
    case kAskDeleteChosen: delDishs(std::string(kNoAlert)); break;
    case kAskSend: onSendCaip(std::string(kNoLogin), sendIndex_); break;
    case kPanelPrint:
        if (auto field = tf_zhek.lock()) field->resignFirstResponder();
        chooseRebate();
        break;
    case kAskWeigh: {
        if (!buffertuiCai || !mayBook()) break;
        auto desk = NSServer::getNowDesk();
        if (!NSServer().XModifyDishQty(*buffertuiCai, *desk, platform::fmt("%g", buffertuiCai->m_fQuantity))) break;
        if (auto line = lineAt(buffertuiCai->m_parentpos)) {
            line->m_fQuantity = buffertuiCai->m_fQuantity;
            line->m_iVarQty = 0;
        }
        // A refreshed line carries its surcharges inside its unit price, so its new amount cannot
        // be worked out here: the list shows the amount the server booked for the new weight.
        updateMenu();
        reload();
        break;
    }
    case kAskPaste: pasteDeskDishs(std::string(kNoAlertPaste)); break;
    case kAskJoin:
        if (bufferoutDesk && bufferoutDesk->m_strDeskState == "1")
            openPad(kPadJoinGuests, "1", wordFormat("dishl58", "请输入%@的人数", {bufferoutDesk->m_strDeskName}));
        else
            addDeskXiaoFOk(std::nullopt);
        break;
    case kPanelOpenedDesk: {
        auto users = NSServer::getCaipDB() ? NSServer::getCaipDB()->m_users : nullptr;
        openPicker(users ? users : std::make_shared<NSATreeClass>(), false, kPickWaiter, word("dishl62"));
        break;
    }
    case kAskTabletSync: {
        // The server's copy is fetched first: a failed fetch leaves the unsent lines as they were.
        if (!NSServer().readipad()) break;
        auto desk = NSServer::getNowDesk();
        NSServer::getRubbishs()->clear();
        while (!desk->m_DishList.empty() && desk->m_DishList.back()->m_iState == NSDishClass::kUnsent)
            desk->m_DishList.pop_back();
        NSServer::loadNowDesk();
        updateMenu();
        reload();
        save();
        break;
    }
    default: break;
    }
}

// ---- Panel decoration ------------------------------------------------------------------------------

void UIDishLViewController::willPresentAlertView(ui::View& panel) {
    if (panel.tag() == kPanelOpenedDesk) {
        panelLabel(panel, 50, "服务员工号:");
        panelLabel(panel, 90, "人数:");
        panelLabel(panel, 130, "备注:");
        auto desk = NSServer::getNowDesk();
        // What was typed belongs to the desk it was typed for; another desk starts afresh.
        if (!tf_fwy || !tf_rens || !tf_beiz || tfDeskID != desk->m_strDeskID) {
            tf_fwy = panelField(this, 50, ui::KeyboardType::Default, desk->m_strWaiterID);
            tf_rens = panelField(this, 90, ui::KeyboardType::NumberPad, platform::fmt("%i", desk->m_iClientNum));
            tf_beiz = panelField(this, 130, ui::KeyboardType::Default, "");
            tfDeskID = desk->m_strDeskID;
        }
        panel.addSubview(tf_beiz);
        panel.addSubview(tf_rens);
        panel.addSubview(tf_fwy);
    } else if (panel.tag() == kPanelPrint) {
        panelLabel(panel, 50, word("dishl50"));
        auto field = panelField(this, 50, ui::KeyboardType::NumberPad, "0");
        auto text = std::make_shared<ui::TextView>(ui::Rect{12, 85, 258, 135});
        text->setBackgroundColor(ui::Color::clearColor());
        text->setTextColor(kPanelText);
        text->setEditable(false);
        text->setFont(ui::Font::systemFont(14));
        text->setText(NSServer().getNowRebate(rebateid, rebatemoney).value_or(""));
        panel.addSubview(text);
        panel.addSubview(field);
        tv_zhek = text;
        tf_zhek = field;
    }
}
