#pragma once
// The city chooser: the service's cities grouped by the pinyin initial of their names, under a
// row naming the city the device is in; choosing one makes it the online store's chosen city.

#include <memory>
#include <string>
#include <vector>

#include "online/NSCityClass.h"
#include "online/NSGPSOper.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/TableView.h"
#include "screens/online/UIOnlinePage.h"

class UIChooseCityViewController : public UIOnlineBackPage<&ScreenRoot::cityBackToFun>,
                                   public NSGPSOwner,
                                   public ui::TableViewDataSource,
                                   public ui::TableViewDelegate,
                                   public ui::SearchBarDelegate {
public:
    // A letter group: the key ("a".."z" or "#"), then the names in the store's order.
    using Group = std::vector<std::string>;

    explicit UIChooseCityViewController(std::string nibName = "UIChooseCityViewController");
    ~UIChooseCityViewController() override;

    // The groups of the cities, keys in ascending order ("#" first).
    static std::vector<Group> groupCities(const std::vector<std::shared_ptr<NSCityClass>>& cities);
    // The group key of a name: the pinyin initial of its first character, "#" for any other
    // character and for an empty name.
    static std::string groupKey(const std::string& name);
    // The first city whose name contains the chosen name or is contained in it, or null.
    static std::shared_ptr<NSCityClass> matchCity(const std::vector<std::shared_ptr<NSCityClass>>& cities,
                                                  const std::string& chosen);

    const std::vector<Group>& citysZiM() const { return citysZiM_; }
    const std::shared_ptr<NSGPSOper>& gpsoper() const { return gpsoper_; }
    const std::shared_ptr<ui::TableView>& tb_citys() const { return tb_citys_; }

    void viewDidLoad() override;
    void gpsOnOk(NSGPSOper& oper) override;
    void searchBarSearchButtonClicked(ui::SearchBar& bar) override;
    // Makes the named city the chosen one and goes back, or tells that the service has none.
    void chooseName(const std::string& name);

    int numberOfSections(ui::TableView&) override;
    int numberOfRows(ui::TableView&, int section) override;
    std::optional<std::string> titleForHeader(ui::TableView&, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRow(ui::TableView&, const ui::IndexPath&) override;
    double heightForRow(ui::TableView&, const ui::IndexPath&) override { return 40.0; }
    std::vector<std::string> sectionIndexTitles(ui::TableView&) override;
    int sectionForSectionIndexTitle(ui::TableView&, const std::string&, int index) override { return index + 1; }
    void didSelectRow(ui::TableView&, const ui::IndexPath&) override;

protected:
    void buildContent(ui::View& view) override;

private:
    std::vector<Group> citysZiM_;
    std::shared_ptr<NSGPSOper> gpsoper_;
    std::shared_ptr<ui::TableView> tb_citys_;
    std::shared_ptr<ui::SearchBar> m_citySearchBar_;
};
