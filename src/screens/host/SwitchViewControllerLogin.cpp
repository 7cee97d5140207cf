// Placeholder: the login gate is being written; until then it does nothing.
#include "screens/host/SwitchViewController.h"

void SwitchViewController::login(const std::shared_ptr<NSLoginDlg>&, int) {}
void SwitchViewController::loginBack() {}
