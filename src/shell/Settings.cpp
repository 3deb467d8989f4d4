#include "shell/Settings.h"

namespace kml {

TBeall& Beall() {
    static TBeall settings;
    return settings;
}

} // namespace kml
