#include "records/gui/Tfrm_TorzsUgyfel.h"

namespace kml {

Tfrm_TorzsUgyfel::Tfrm_TorzsUgyfel(QWidget* parent) : ListWindow(CustomerListDefinition(), parent) {}

} // namespace kml
