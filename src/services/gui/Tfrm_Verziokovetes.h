#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;

namespace kml {

// "Verziókövetés: version": the heading "Új verzió megjelenés", the maker's
// notice as plain text (never read as markup), the check box "Többet ne
// figyelmeztessen" and "OK".
class Tfrm_Verziokovetes final : public QDialog {
    Q_OBJECT
public:
    Tfrm_Verziokovetes(const QString& version, const QString& notice, QWidget* parent = nullptr);

    // ShowVersionNotice: whether the box was ticked at "OK".
    static bool Run(const QString& version, const QString& notice);

    QLabel* noticeLabel() const { return m_notice; }
    QCheckBox* dontWarn() const { return m_dontWarn; }

private:
    QLabel* m_notice = nullptr;
    QCheckBox* m_dontWarn = nullptr;
};

} // namespace kml
