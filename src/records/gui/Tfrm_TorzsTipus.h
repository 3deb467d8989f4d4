#pragma once

#include "patterns/gui/ListWindow.h"

namespace kml {

class PictureView;

// The device types "Típusok": its definition (TypeListDefinition) on the
// list-window pattern, plus the selected type's picture on the right with
// "Kép hozzáadás" (F7), "Kép törlés" (F8) and "Megnéz" (F9). Enter in the
// search box moves into the grid.
class Tfrm_TorzsTipus final : public ListWindow {
    Q_OBJECT
public:
    explicit Tfrm_TorzsTipus(QWidget* parent = nullptr);

    // OpenDeviceTypeList with the real window.
    static ChosenRow Run(RowKey select, bool chooser);
    // ChoosePictureFile with the real dialog.
    static QString ChoosePicture(const QString& folder);

    PictureView* pictureView() const { return m_picture; }

protected:
    void rowChanged() override;

private:
    void addPicture(qlonglong type);
    void removePicture(qlonglong type);
    void openPicture(qlonglong type);

    PictureView* m_picture = nullptr;
};

} // namespace kml
