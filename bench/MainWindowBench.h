#pragma once

// Keystrokes typed into the real main window: Tfrm_Main is built on the
// shop (start-up steps included), shown offscreen, and every keystroke puts
// the text into the search box Edit1, whose change runs the window's own
// search (its list controller, detail panels, counter). When the list's query
// is then still receiving rows (Query::openAsync), the event loop runs until
// a screenful is there (first screen) and until every row is (complete); the
// shown list grid is painted at both points. A window that reads every row
// before it returns (Query::open) has its first screen when it is complete.

#include "ListBench.h"
#include "components/Connection.h"

#include <memory>

namespace kml {
class Tfrm_Main;
}

namespace kml::bench {

class MainWindowBench final : public SearchTarget {
public:
    explicit MainWindowBench(const ConnectionOptions& options);
    ~MainWindowBench() override;

    // Brings a list to the front as the user would: "folyamatban" and
    // "osszes" are the work-sheet tab on its first two status tabs,
    // "ugyfelek" the customer tab, "keszulekek" the device tab.
    void select(const QString& list);

    KeystrokeTimes type(const QString& text) override;
    QString statement() const override;

private:
    ListController& currentList() const;
    Query& currentQuery() const;

    std::unique_ptr<Tfrm_Main> m_window;
};

} // namespace kml::bench
