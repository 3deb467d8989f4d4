#include "foundation/Settings.h"

#include "foundation/Dialogs.h"

#include <algorithm>

namespace kml {

TBeall& Beall() {
    static TBeall settings;
    return settings;
}

bool RequireRight(bool right) {
    if (!right)
        ShowError(NoRightMessage);
    return right;
}

int WindowFontSize() {
    const int size = Beall().betumeret;
    return size == 0 ? 9 : std::clamp(size, 8, 10);
}

} // namespace kml
