// The dish order form's pads, its closing rule, the free text and the alert answer.

#include "core/NSServer.h"
#include "model/NSATreeClass.h"
#include "model/NSCaipClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDishClass.h"
#include "platform/foundation/Text.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Window.h"
#include "screens/kit/UINumViewController.h"
#include "screens/kit/UISelectViewController.h"
#include "screens/lineedit/CaipFormHost.h"
#include "screens/lineedit/LineEditKit.h"
#include "screens/lineedit/UICaipFormViewController.h"

using lineedit::word;

bool UICaipFormViewController::isSubViewShow(bool onlyAsk) {
    // The text typed so far is taken before anything else happens.
    if (tf_require && tf_require->isEditing()) tf_require->resignFirstResponder();
    // A dialog already fading out is not faded again.
    if (numController) {
        if (!onlyAsk && numController->view()->alpha() > 0.99)
            lineedit::closeDialog(*this, &UICaipFormViewController::numController, "ShulBack");
        return true;
    }
    if (selectController) {
        if (!onlyAsk && selectController->view()->alpha() > 0.99)
            lineedit::closeDialog(*this, &UICaipFormViewController::selectController, "SelectBack");
        return true;
    }
    return false;
}

void UICaipFormViewController::openPad(int tag, const std::string& preset, const std::string& title, bool sign) {
    if (!caipController) return;
    // The second quantity counts pieces (fish, crabs): a whole number.
    numController = lineedit::openPad(this, caipController->formHostView(), tag, preset, title, sign, std::nullopt,
                                      tag == kSecondQuantityPad);
}

void UICaipFormViewController::back() { slideTo(kHeight); }

void UICaipFormViewController::shulAdd() {
    if (isSubViewShow(false) || !m_dish) return;
    m_dish->m_fQuantity += 1;
    showDish();
}

void UICaipFormViewController::shulDel() {
    if (isSubViewShow(false) || !m_dish) return;
    if (m_dish->m_fQuantity >= 1) m_dish->m_fQuantity -= 1;
    showDish();
}

void UICaipFormViewController::OnButtonShul() {
    if (isSubViewShow(false) || !m_dish) return;
    openPad(0, lineedit::numberText(m_dish->m_fQuantity), "", false);
}

void UICaipFormViewController::tiaoz() {
    if (isSubViewShow(false) || !m_dish) return;
    openPad(kSecondQuantityPad, lineedit::numberText(m_dish->m_fQuantity2), word("caipf1"), false);
}

void UICaipFormViewController::changePrice() {
    if (isSubViewShow(false) || !m_dish || m_dish->m_iPrice == 0) return;
    openPad(kPricePad, m_dish->m_strPrice, "", false);
}

void UICaipFormViewController::OnButtonJiaj() {
    if (tf_require) textFieldShouldReturn(*tf_require);
    if (isSubViewShow(false) || !m_dish) return;
    // It keeps the place the pad gives itself, like the other pads: its keys are laid out when it
    // loads, and a smaller frame afterwards would leave them outside where a finger reaches.
    openPad(kSurchargePad, lineedit::numberText(m_dish->m_fPrice3), "", m_caip && m_caip->m_bCustom);
}

void UICaipFormViewController::NumDlgOk() {
    if (!numController || !m_dish) return;
    const UINumViewController& pad = *numController;
    const std::string typed = pad.m_strNum;
    const double v = platform::leadingDouble(typed);
    switch (pad.m_tag) {
    case kMethodQuantityPad:
        if (!m_zuofs || !lineedit::setMethodQuantity(*m_zuofs, changeZuoShulRow, typed)) {
            lineedit::report(word("caipf5"));
            return;
        }
        break;
    case kSurchargePad:
        if (v < 0 && !pad.canFuS) {
            lineedit::report(word("caipf4"));
            return;
        }
        m_dish->m_fPrice3 = static_cast<float>(v);
        break;
    case kPricePad:
        if (v < 0) {
            lineedit::report(word("caipf3"));
            return;
        }
        m_dish->m_strPrice = typed;
        if (caipController)
            if (auto label = caipController->caipPrice()) label->setText(typed);
        break;
    case kSecondQuantityPad:
        m_dish->m_fQuantity2 = static_cast<float>(v);
        break;
    default:
        m_dish->m_fQuantity = static_cast<float>(v);
        break;
    }
    isSubViewShow(false);
    showDish();
}

void UICaipFormViewController::NumDlgCancel() { isSubViewShow(false); }

void UICaipFormViewController::alertViewClickedButtonAtIndex(ui::AlertView&, int) { NSServer::setIsShowAlert(false); }

bool UICaipFormViewController::textFieldShouldReturn(ui::TextField& field) {
    field.resignFirstResponder();
    return true;
}

void UICaipFormViewController::textFieldDidBeginEditing(ui::TextField& field) {
    // The form rises above the on-screen keyboard; a hardware keyboard covers nothing.
    if (ui::Window::keyboardCoversScreen(field)) slideTo(-200);
}

void UICaipFormViewController::textFieldDidEndEditing(ui::TextField& field) {
    if (!m_dish) return;
    auto db = NSServer::getCaipDB();
    lineedit::replaceFreeText(*m_dish, db.get(), field.text());
    showDish();
    if (ui::Window::keyboardCoversScreen(field)) slideTo(0);
}
