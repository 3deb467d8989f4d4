#pragma once

#include "patterns/EditorDefinition.h"
#include "patterns/gui/EditWindow.h"

#include <memory>

class QLineEdit;
class QTabWidget;

namespace kml {

class ListController;
class ListGrid;
class PictureView;

// A record editor built from its table of fields (EditorDefinition): one
// labelled control per field in the order given (on tabs when the fields
// name pages), then OK and Mégsem.
class FormEditor : public EditWindow {
    Q_OBJECT
public:
    explicit FormEditor(EditorDefinition definition, QWidget* parent = nullptr);
    ~FormEditor() override;

    const EditorDefinition& definition() const { return m_definition; }
    // The control of a field (its first one), for tests and windows that
    // adjust one. A picture's and a detail list's are found by their label.
    QWidget* control(const QString& field) const;
    // The tabs; nothing when no field names a page.
    QTabWidget* pages() const { return m_pages; }
    // The detail list of a DetailList field (by its label).
    ListController* detailList(const QString& label) const;
    // Every lookup text, picture and detail list shown again from the row.
    void showLookups();

protected:
    bool validate() override;

private:
    struct LookupControl {
        const EditorField* field;
        QLineEdit* text;
    };
    struct PictureControl {
        const EditorField* field;
        PictureView* view;
    };
    struct DetailControl {
        const EditorField* field;
        std::unique_ptr<ListController> list;
        ListGrid* grid;
    };
    QWidget* makeControl(const EditorField& field, QWidget* page);
    QWidget* pageFor(const QString& caption);

    EditorDefinition m_definition;
    QTabWidget* m_pages = nullptr;
    std::vector<std::pair<QString, QWidget*>> m_controls;
    std::vector<LookupControl> m_lookups;
    std::vector<PictureControl> m_pictures;
    std::vector<DetailControl> m_details;
};

// Opens the editor for the row with the key (a new row when none), modally;
// the saved row's key, or nothing when the user cancelled or there is no
// such row.
RowKey RunFormEditor(const EditorDefinition& definition, RowKey key, QWidget* parent = nullptr);
// The same with a window already made (a window class of its own).
RowKey RunFormEditor(FormEditor& window, RowKey key);

} // namespace kml
