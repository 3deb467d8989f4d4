#pragma once

#include "worksheets/WorkSheetEditing.h"

#include <QWidget>
#include <set>

namespace kml {

// The garment drawing of the work sheet's "Póló" page: the garment from the
// front, the side and the back, with a marker where the picture goes. Each
// side shows at most one marker, the one its position code chooses
// (GarmentMarkerFor); the others of that side are hidden.
class GarmentDrawing final : public QWidget {
    Q_OBJECT
public:
    explicit GarmentDrawing(QWidget* parent = nullptr);

    // The position codes of m01 (front), m02 (side) and m03 (back).
    void setPositions(const QString& front, const QString& side, const QString& back);
    bool isShown(GarmentMarker marker) const { return m_shown.count(marker) > 0; }

    QSize sizeHint() const override { return {420, 170}; }
    QSize minimumSizeHint() const override { return {300, 130}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::set<GarmentMarker> m_shown;
};

} // namespace kml
