// Placeholder: the desk flow is being written; until then its operations do nothing.
#include "screens/host/SwitchViewController.h"

#include "core/NSServer.h"

void SwitchViewController::chooseSetDesk(const std::string&) {}
void SwitchViewController::trunDesk() {}
void SwitchViewController::chooseDesk(bool) {}
void SwitchViewController::SelectDlgOk() {}
void SwitchViewController::SelectDlgCancel() {}
void SwitchViewController::NumDlgOk() {}
void SwitchViewController::NumDlgCancel() {}
void SwitchViewController::outDeskAddToDesk(const std::optional<std::string>&) {}
void SwitchViewController::yudingBack() {}
void SwitchViewController::yudingBackOK() {}
void SwitchViewController::yudingOpen(const std::shared_ptr<NSYuDingClass>&) {}
void SwitchViewController::show1() {}

void SwitchViewController::alertViewClickedButtonAtIndex(ui::AlertView& alert, int buttonIndex) {
    NSServer::setIsShowAlert(false);
    if (alert.tag() == 6 && buttonIndex == 1) after(0.3, [](SwitchViewController& root) { root.downloadData(); });
}
