#pragma once
// A grouped table: it asks its data source for sections, rows and cells, and its delegate for
// header views, heights and selection, then lays everything out top to bottom. The layout is
// what the simulator draws and hit-tests.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/UIKit/NSIndexPath.h"
#include "host/UIKit/UITableViewCell.h"

class UITableView;

class UITableViewDataSource {
public:
    virtual ~UITableViewDataSource() = default;
    virtual NSInteger numberOfSectionsInTableView(const std::shared_ptr<UITableView>& tableView) = 0;
    virtual NSInteger numberOfRowsInSection(const std::shared_ptr<UITableView>& tableView, NSInteger section) = 0;
    virtual std::shared_ptr<UITableViewCell> cellForRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
        NSIndexPath indexPath) = 0;
    virtual std::optional<std::string> titleForHeaderInSection(const std::shared_ptr<UITableView>&, NSInteger) { return {}; }
    virtual std::optional<std::string> titleForFooterInSection(const std::shared_ptr<UITableView>&, NSInteger) { return {}; }
};

class UITableViewDelegate {
public:
    virtual ~UITableViewDelegate() = default;
    virtual std::shared_ptr<UIView> viewForHeaderInSection(const std::shared_ptr<UITableView>&, NSInteger) { return nullptr; }
    // A negative height asks for the table's automatic height.
    virtual CGFloat heightForHeaderInSection(const std::shared_ptr<UITableView>&, NSInteger) { return -1; }
    virtual CGFloat heightForRowAtIndexPath(const std::shared_ptr<UITableView>&, NSIndexPath) { return -1; }
    virtual void didSelectRowAtIndexPath(const std::shared_ptr<UITableView>&, NSIndexPath) {}
};

inline constexpr CGFloat UITableViewAutomaticDimension = -1;

class UITableView : public UIView {
public:
    NS_CLASS(UITableView)

    void setDataSource(const std::shared_ptr<UITableViewDataSource>& source) { _dataSource = source; }
    void setDelegate(const std::shared_ptr<UITableViewDelegate>& delegate) { _delegate = delegate; }

    struct Row {
        NSIndexPath indexPath;
        std::shared_ptr<UITableViewCell> cell;
        CGRect rect;  // in content coordinates
    };
    struct Section {
        std::shared_ptr<UIView> headerView;  // a custom header view, placed in headerRect
        std::optional<std::string> headerTitle;
        CGRect headerRect;
        std::vector<Row> rows;
        std::optional<std::string> footerTitle;
        CGRect footerRect;
    };

    // Asks the data source and delegate for everything again and lays it out at the table's width.
    void reloadData();
    const std::vector<Section>& sections() const { return _sections; }
    CGFloat contentHeight() const { return _contentHeight; }
    CGFloat contentOffset() const { return _contentOffset; }
    void setContentOffset(CGFloat offset);

    // The row under a point in content coordinates, if any.
    std::optional<NSIndexPath> indexPathForRowAtPoint(CGPoint point) const;
    std::shared_ptr<UITableViewCell> cellForRowAtIndexPath(NSIndexPath indexPath) const;
    // A user's tap on a row: the cell is selected, then the delegate is told.
    void selectRowAtIndexPath(NSIndexPath indexPath);
    void deselectRowAtIndexPath(NSIndexPath indexPath, bool animated);

    static constexpr CGFloat kDefaultRowHeight = 44;
    static constexpr CGFloat kFooterFontSize = 13;

private:
    std::weak_ptr<UITableViewDataSource> _dataSource;
    std::weak_ptr<UITableViewDelegate> _delegate;
    std::vector<Section> _sections;
    CGFloat _contentHeight = 0;
    CGFloat _contentOffset = 0;
};
