#pragma once
// The reservation dialog: when a reserved desk is chosen it shows the booking (company, guest,
// times, guests, telephone) and the pre-ordered lines. OK opens the reservation on the server
// with its number of guests; back leaves the reserved desk current without opening it.

#include <memory>

#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

namespace ui {
class Button;
class ImageView;
class Label;
class TextView;
}  // namespace ui

class NSDeskClass;
class NSDishClass;
class NSYuDingClass;
class SwitchViewController;

class UIYuDingViewController : public ui::ViewController,
                               public ui::TableViewDataSource,
                               public ui::TableViewDelegate {
public:
    static constexpr double kPanelWidth = 320;
    static constexpr double kPanelHeight = 480;
    static constexpr double kRowHeight = 30;

    UIYuDingViewController();
    ~UIYuDingViewController() override;

    // Set by the root before the view loads.
    std::weak_ptr<SwitchViewController> rootController;
    std::shared_ptr<NSDeskClass> m_selectDesk;  // the reserved desk (the current desk)
    std::shared_ptr<NSYuDingClass> m_yuDing;

    std::shared_ptr<ui::Label> lb_title;
    std::shared_ptr<ui::TableView> tb_dishs;
    std::shared_ptr<ui::ImageView> im_back;
    std::shared_ptr<ui::Button> bt_back;
    std::shared_ptr<ui::TextView> tv_yuDingInfo;
    std::shared_ptr<ui::Label> lb_tb;
    std::shared_ptr<ui::Button> bt_ok;
    std::shared_ptr<ui::View> m_panel;

    void viewDidLoad() override;
    void viewDidUnload() override;
    void onOk();
    void onCancel();

    int numberOfRows(ui::TableView&, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRow(ui::TableView&, const ui::IndexPath& path) override;
};
