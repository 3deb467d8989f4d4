#pragma once

#include "patterns/gui/ListWindow.h"

#include <optional>

class QAction;

namespace kml {

enum class WebMessageFilter;

// The web messages "Üzenetek": WebMessageListDefinition on the list-window
// pattern, the message under the grid, the filters "Csak aktívak" and
// "Összes" (one of them checked), "Megnyit" (F2, double click: the message
// view), "Nyugtáz" (F8: the current user has dealt with the message),
// "Másol" (Ctrl+C, the sort column) and "Bezár". The messages are the
// visitors' text: shown as plain text only.
class Tfrm_WebUzenet final : public ListWindow {
    Q_OBJECT
public:
    explicit Tfrm_WebUzenet(QWidget* parent = nullptr);

    // OpenWebMessages with the real window.
    static void Run(std::optional<qlonglong> message);

    // Makes the filter the list's condition, checks its action and opens
    // the list again (the search box's text is not applied until it
    // changes).
    void setFilter(WebMessageFilter filter);

protected:
    void rowActivated() override;

private:
    void acknowledge(qlonglong message);

    QAction* m_activeOnly = nullptr;
    QAction* m_all = nullptr;
};

} // namespace kml
