#pragma once

#include "patterns/gui/EditWindow.h"
#include "shell/Beallit.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace kml {

// The settings window "Beállítások" (frm_Beallit): four pages over the single
// row of beallit (bound fields, editing-window pattern) and the
// per-workstation values beside it (SettingsValues). OK and Mégsem only
// close the window; EditSettings writes, once it has closed (Beallit.h).
class Tfrm_Beallit final : public EditWindow {
    Q_OBJECT
public:
    explicit Tfrm_Beallit(QWidget* parent = nullptr);

    // The window behind EditSettings: shows the row and the values modally
    // and gives back what the user left in them; true for OK.
    static bool Run(Table& row, SettingsValues& values, QWidget* parent = nullptr);

    // Shows the values beside the row (the row itself: table(), then
    // showValues()).
    void setValues(const SettingsValues& values);
    // The values as the user left them.
    SettingsValues values() const;

    // The file chooser of "Pennart program helye": the invoicing program's
    // file, or any file (on this system a program need not end in ".exe").
    static const QString PennartFileFilter;

    void accept() override;

private:
    void browsePennart();
    void browsePictureFolder();

    SettingsValues m_values; // keeps the program-type list between setValues and values

    QTabWidget* m_pages = nullptr;
    QComboBox* m_printer = nullptr;
    QCheckBox* m_fullScreen = nullptr;
    QLineEdit* m_quantityFormat = nullptr;
    QLineEdit* m_moneyFormat = nullptr;
    QComboBox* m_programType = nullptr;
    QCheckBox* m_vanPennart = nullptr;
    QLineEdit* m_pennart = nullptr;
    QLineEdit* m_pictureFolder = nullptr;
};

} // namespace kml
