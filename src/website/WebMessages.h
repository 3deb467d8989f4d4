#pragma once

// What the web messages window "Üzenetek" does with the data, apart from the
// widgets: the list of the messages the website collected (webuzenet) with
// the login code of the user who acknowledged each one, its two filters, its
// search and acknowledging a message. Text that came from the website is
// the visitors' own: the windows show it as plain text only.

#include "patterns/ListDefinition.h"

#include <QString>
#include <optional>

namespace kml {

namespace webmsg_text {
inline const QString ListCaption = QStringLiteral("Üzenetek");
inline const QString ViewCaption = QStringLiteral("Üzenet");
inline const QString ActiveOnly = QStringLiteral("Csak aktívak");
inline const QString All = QStringLiteral("Összes");
inline const QString Acknowledge = QStringLiteral("Nyugtáz");
inline const QString AcknowledgeQuestion = QStringLiteral("Nyugtázod az üzenetet?");
inline const QString AlreadyAcknowledged =
    QStringLiteral("Az üzenetet közben egy másik munkaállomáson már nyugtázták.");
} // namespace webmsg_text

// The two filters: "(nyugtazva IS NULL)" and "(1 = 1)".
enum class WebMessageFilter { ActiveOnly, All };
QString WebMessageFilterCondition(WebMessageFilter filter);

// The list: newest first; every typed word (up to six) in the sender's name,
// phone or the acknowledging user's login code; a title click sorts by the
// column, the number newest first. Starts with the active ones.
ListDefinition WebMessageListDefinition();

// The filter a window opened on a message starts with: every message for a
// message number, the active ones without.
WebMessageFilter StartingFilter(std::optional<qlonglong> message);

// Marks the message acknowledged now by the user with the login code user
// (nobody when empty). Only a message nobody has acknowledged yet: false,
// and nothing written, when another workstation acknowledged it meanwhile
// (or it is gone).
bool AcknowledgeWebMessage(qlonglong message, const QString& user);

} // namespace kml
