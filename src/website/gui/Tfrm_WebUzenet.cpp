#include "website/gui/Tfrm_WebUzenet.h"

#include "foundation/Dialogs.h"
#include "foundation/Settings.h"
#include "website/WebMessages.h"
#include "website/gui/Tfrm_WebUzenet_Mutat.h"
#include "website/gui/WebListCopy.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>

namespace kml {

Tfrm_WebUzenet::Tfrm_WebUzenet(QWidget* parent) : ListWindow(WebMessageListDefinition(), parent) {
    auto* filters = new QActionGroup(this);
    filters->setExclusive(true);
    m_activeOnly = addListAction(QStringLiteral("aSzur0"), webmsg_text::ActiveOnly, {},
                                 [this] { setFilter(WebMessageFilter::ActiveOnly); });
    m_all = addListAction(QStringLiteral("aSzur1"), webmsg_text::All, {},
                          [this] { setFilter(WebMessageFilter::All); });
    for (QAction* action : {m_activeOnly, m_all}) {
        action->setCheckable(true);
        filters->addAction(action);
    }
    m_activeOnly->setChecked(true);
    addRowAction(QStringLiteral("aMegnyit"), QStringLiteral("Megnyit"), QKeySequence(Qt::Key_F2),
                 [this](qlonglong) { Tfrm_WebUzenet_Mutat::Show(list(), this); });
    addRowAction(QStringLiteral("aNyugtaz"), webmsg_text::Acknowledge, QKeySequence(Qt::Key_F8),
                 [this](qlonglong message) { acknowledge(message); });
    AddCopyAction(*this, [this] { return sortField(); });
}

void Tfrm_WebUzenet::setFilter(WebMessageFilter filter) {
    (filter == WebMessageFilter::ActiveOnly ? m_activeOnly : m_all)->setChecked(true);
    setBaseCondition(WebMessageFilterCondition(filter));
    openAt(std::nullopt);
}

void Tfrm_WebUzenet::rowActivated() {
    listAction(QStringLiteral("aMegnyit"))->trigger();
}

void Tfrm_WebUzenet::acknowledge(qlonglong message) {
    if (!AcknowledgeWebMessage(message, Beall().felhasznalo))
        ShowWarning(webmsg_text::AlreadyAcknowledged, this);
    reread(message);
}

void Tfrm_WebUzenet::Run(std::optional<qlonglong> message) {
    Tfrm_WebUzenet window(QApplication::activeWindow());
    const WebMessageFilter filter = StartingFilter(message);
    (filter == WebMessageFilter::ActiveOnly ? window.m_activeOnly : window.m_all)->setChecked(true);
    window.setBaseCondition(WebMessageFilterCondition(filter));
    window.choose(message && *message >= 1 ? message : std::nullopt, false, webmsg_text::ListCaption);
}

} // namespace kml
