#pragma once

// Keyboard and mouse-wheel behaviour shared by every list: the list windows
// (ListWindow) and the main window's four lists use these same pieces.
//
// SearchKeyHandover binds one search box to one or more grids:
//   - typing a digit, a letter a-z or a Hungarian accented letter (either
//     case, no Ctrl/Alt) in any of the grids puts the focus into the search
//     box and replaces its text by that character in lower case, the caret
//     after it (the search box's textChanged then runs the search);
//   - Up, Down, Page Up and Page Down in the search box put the focus into
//     the hand-over grid; with no hand-over grid nothing happens.
// The hand-over grid may change while the window lives. The main window
// binds its one search box to all of its list grids and tells the binder
// which grid is current:
//
//     auto* keys = new SearchKeyHandover(Edit1, this);
//     keys->addGrid(DBGrid2); keys->addGrid(DBGrid22); keys->addGrid(DBGrid1); ...
//     keys->setHandoverResolver([this] { return currentListGrid(); }); // null on the planner tab
//
// WheelToArrowKeys turns the mouse wheel, anywhere inside one window, into
// Up (forward turn, away from the user) or Down (backward turn) key presses
// sent to the window's focused control. setSuspended(true) switches it off
// (the main window does so while the week planner is open).
//
//     auto* wheel = new WheelToArrowKeys(this); // this: the window

#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

class QAbstractItemView;
class QLineEdit;
class QWidget;

namespace kml {

// The text a key typed into a grid puts into the search box: the character
// in lower case when it is a digit, a letter a-z or one of á é í ó ö ő ú ü ű
// (either case); empty for every other key.
QString SearchStartText(const QString& typed);

class SearchKeyHandover final : public QObject {
    Q_OBJECT
public:
    explicit SearchKeyHandover(QLineEdit* searchBox, QObject* parent = nullptr);

    // Typing in this grid starts a new search.
    void addGrid(QAbstractItemView* grid);
    // The grid that arrow and page keys in the search box hand over to.
    void setHandoverGrid(QAbstractItemView* grid);
    // Asked at every hand-over instead of a fixed grid; may return null.
    void setHandoverResolver(std::function<QAbstractItemView*()> resolver);
    // Enter in the search box also hands over (the device-type list does so).
    void setEnterHandsOver(bool on) { m_enterHandsOver = on; }

    QAbstractItemView* handoverGrid() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QLineEdit> m_search;
    std::vector<QPointer<QAbstractItemView>> m_grids;
    QPointer<QAbstractItemView> m_target;
    std::function<QAbstractItemView*()> m_resolver;
    bool m_enterHandsOver = false;
};

class WheelToArrowKeys final : public QObject {
    Q_OBJECT
public:
    // Watches the wheel inside window (and its child widgets) until either
    // goes away.
    explicit WheelToArrowKeys(QWidget* window);
    ~WheelToArrowKeys() override;

    void setSuspended(bool suspended) { m_suspended = suspended; }
    bool isSuspended() const { return m_suspended; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_window;
    bool m_suspended = false;
};

} // namespace kml
