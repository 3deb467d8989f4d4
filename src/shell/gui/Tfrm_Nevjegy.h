#pragma once

#include <QDialog>

namespace kml {

// The About window "Névjegy" (frm_Nevjegy): the program's title, the product
// label with its version line under it, the maker's contact block and "OK".
// It keeps its position in the ini section frm_Nevjegy and uses the font size
// setting.
class Tfrm_Nevjegy final : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_Nevjegy(QWidget* parent = nullptr);

    // Shows the window modally and frees it.
    static void ShowAbout(QWidget* parent);

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool m_placed = false;
};

} // namespace kml
