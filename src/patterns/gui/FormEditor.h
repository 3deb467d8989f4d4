#pragma once

#include "patterns/EditorDefinition.h"
#include "patterns/gui/EditWindow.h"

#include <optional>

class QLineEdit;
class QPushButton;

namespace kml {

// A record editor built from its table of fields (EditorDefinition): one
// labelled control per field in the order given, then OK and Mégsem.
class FormEditor : public EditWindow {
    Q_OBJECT
public:
    explicit FormEditor(EditorDefinition definition, QWidget* parent = nullptr);

    const EditorDefinition& definition() const { return m_definition; }
    // The control of a field (its first one), for tests and windows that
    // adjust one.
    QWidget* control(const QString& field) const;
    // Every lookup text shown again from the row.
    void showLookups();

protected:
    bool validate() override;

private:
    struct LookupControl {
        const EditorField* field;
        QLineEdit* text;
    };
    EditorDefinition m_definition;
    std::vector<std::pair<QString, QWidget*>> m_controls;
    std::vector<LookupControl> m_lookups;
};

// Opens the editor for the row with the key (a new row when none), modally;
// the saved row's key, or nothing when the user cancelled or there is no
// such row.
std::optional<qlonglong> RunFormEditor(const EditorDefinition& definition, std::optional<qlonglong> key,
                                       QWidget* parent = nullptr);
// The same with a window already made (a window class of its own).
std::optional<qlonglong> RunFormEditor(FormEditor& window, std::optional<qlonglong> key);

} // namespace kml
