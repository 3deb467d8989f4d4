#include "foundation/LastAction.h"

namespace kml {
namespace {

QString g_lastAction;

} // namespace

void SetLastAction(const QString& name) {
    g_lastAction = name;
}

QString LastAction() {
    return g_lastAction;
}

} // namespace kml
