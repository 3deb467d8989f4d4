#include "foundation/gui/QtDialogs.h"

#include "foundation/Settings.h"
#include "foundation/WindowPlacement.h"
#include "foundation/gui/WidgetHelpers.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QDateEdit>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>
#include <exception>

namespace kml {

namespace {

constexpr int MaskedMaxLength = 255;
constexpr int MaskedWidthDialogUnits = 180;
constexpr int RadioItemHeight = 48;
constexpr int RadioExtraHeight = 120;

// The window the dialog belongs to: the open modal window, else the active one.
QWidget* DialogParent() {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

// Texts written with Windows line ends show their breaks in Qt as plain "\n".
QString PlainLines(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

// The window's remembered place: left and top, and the width too when the
// window can be widened; kept in the ini section named after the window.
enum class Remember { Position, PositionAndWidth };

void RestorePlace(QDialog& dialog, Remember what) {
    if (!HasStoredPlace(dialog.objectName())) {
        // Nothing remembered: at its natural size, over the window it belongs to.
        dialog.adjustSize();
        CentreOnOwner(&dialog);
        return;
    }
    int left = 0, top = 0;
    if (what == Remember::PositionAndWidth) {
        // Without a remembered width the window opens at its natural size.
        int height = dialog.height();
        int width = qMax(dialog.sizeHint().width(), dialog.minimumWidth());
        LoadFormBounds(dialog.objectName(), left, top, height, width);
        dialog.resize(qMax(width, dialog.minimumWidth()), dialog.height());
    } else {
        LoadFormPos(dialog.objectName(), left, top);
    }
    dialog.move(left, top);
}

// A place that cannot be written is not worth losing the user's answer for.
void SavePlace(const QDialog& dialog, Remember what) {
    if (what == Remember::PositionAndWidth) {
        try {
            SaveFormBounds(dialog.objectName(), dialog.x(), dialog.y(), dialog.height(), dialog.width());
        } catch (const std::exception&) {
        }
    } else {
        SaveFormPos(dialog.objectName(), dialog.x(), dialog.y());
    }
}

// Shows a designed window modally in its remembered place and remembers the
// place when it closes.
int RunDesigned(QDialog& dialog, Remember what) {
    RestorePlace(dialog, what);
    const int result = dialog.exec();
    SavePlace(dialog, what);
    return result;
}

QPushButton* AddButton(QHBoxLayout* row, const QString& text, const QString& name) {
    auto* button = new QPushButton(text);
    button->setObjectName(name);
    row->addWidget(button);
    return button;
}

// "OK" (the default) and "Mégsem" on the right.
QHBoxLayout* OkCancelRow(QDialog* dialog) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    QPushButton* ok = AddButton(row, dialog_text::Ok, QStringLiteral("btnOk"));
    QPushButton* cancel = AddButton(row, dialog_text::Cancel, QStringLiteral("btnCancel"));
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return row;
}

QLabel* PromptLabel(const QString& prompt) {
    auto* label = new QLabel(PlainLines(prompt));
    label->setObjectName(QStringLiteral("lblPrompt"));
    label->setTextFormat(Qt::PlainText);
    return label;
}

// Swallows the typed characters that the number edit does not take; keys
// that type nothing (arrows, Delete, Enter, Escape, shortcuts) pass.
class NumberKeyFilter final : public QObject {
public:
    NumberKeyFilter(bool pointMarksDecimals, QObject* parent)
        : QObject(parent), m_pointMarksDecimals(pointMarksDecimals) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const QString typed = static_cast<QKeyEvent*>(event)->text();
            if (!typed.isEmpty() && typed.at(0).isPrint() &&
                !NumberEditAccepts(typed.at(0), m_pointMarksDecimals))
                return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_pointMarksDecimals;
};

QMessageBox::Icon BoxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

// ---- Message boxes ----------------------------------------------------------

bool QtDialogs::showMessage(const MessageBoxRequest& request) {
    // The box takes the focus; the window that had it gets it back after.
    const QPointer<QWidget> previous = QApplication::activeWindow();
    QMessageBox box(BoxIcon(request.icon), request.caption, PlainLines(request.text), QMessageBox::NoButton,
                    request.owner ? request.owner : DialogParent());
    box.setTextFormat(Qt::PlainText);
    const QStringList texts = MessageButtonTexts(request.buttons);
    QPushButton* yes = nullptr;
    if (request.buttons == MessageButtons::YesNo) {
        yes = box.addButton(texts.at(0), QMessageBox::YesRole);
        QPushButton* no = box.addButton(texts.at(1), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
    } else {
        QPushButton* ok = box.addButton(texts.at(0), QMessageBox::AcceptRole);
        box.setDefaultButton(ok);
        box.setEscapeButton(ok);
    }
    box.exec();
    if (previous)
        previous->activateWindow();
    return yes == nullptr || box.clickedButton() == yes;
}

// ---- frm_InpStr ------------------------------------------------------------

Tfrm_InpStr::Tfrm_InpStr(const TextRequest& request, TextCheck check, QWidget* parent)
    : QDialog(parent), m_check(std::move(check)) {
    setObjectName(QStringLiteral("frm_InpStr"));
    setWindowTitle(request.caption);
    ApplyFontSize(this);

    m_edit = new QLineEdit(request.text);
    m_edit->setObjectName(QStringLiteral("edtText"));
    if (request.maxLength >= 0)
        m_edit->setMaxLength(request.maxLength);
    if (request.upperCase) {
        connect(m_edit, &QLineEdit::textEdited, this, [this](const QString& text) {
            const QString upper = text.toUpper();
            if (upper != text) {
                const int cursor = m_edit->cursorPosition();
                m_edit->setText(upper);
                m_edit->setCursorPosition(cursor);
            }
        });
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PromptLabel(request.prompt));
    layout->addWidget(m_edit);
    layout->addLayout(OkCancelRow(this));
    setMinimumWidth(320);
    // It can be widened, not heightened.
    setFixedHeight(sizeHint().height());
}

QString Tfrm_InpStr::text() const {
    return m_edit->text();
}

void Tfrm_InpStr::accept() {
    if (m_check && !m_check(m_edit->text())) {
        m_edit->setFocus();
        return;
    }
    QDialog::accept();
}

// ---- frm_Inp ---------------------------------------------------------------

Tfrm_Inp::Tfrm_Inp(const NumberRequest& request, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_Inp"));
    setWindowTitle(request.caption);
    ApplyFontSize(this);

    m_edit = new QLineEdit(request.text);
    m_edit->setObjectName(QStringLiteral("edtNumber"));
    m_edit->setAlignment(Qt::AlignRight);
    m_edit->installEventFilter(new NumberKeyFilter(request.pointMarksDecimals, m_edit));
    m_edit->selectAll();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PromptLabel(request.prompt));
    layout->addWidget(m_edit);
    layout->addLayout(OkCancelRow(this));
    setMinimumWidth(280);
    setFixedSize(sizeHint().expandedTo(minimumSize()));
}

QString Tfrm_Inp::text() const {
    return m_edit->text();
}

// ---- frm_Datumbe ------------------------------------------------------------

Tfrm_Datumbe::Tfrm_Datumbe(const DateRequest& request, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_Datumbe"));
    setWindowTitle(request.caption);
    ApplyFontSize(this);

    m_picker = new QDateEdit(request.date);
    m_picker->setObjectName(QStringLiteral("dtpDate"));
    m_picker->setCalendarPopup(true);
    m_picker->setDisplayFormat(QStringLiteral("yyyy.MM.dd."));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_picker);
    layout->addLayout(OkCancelRow(this));
    setMinimumWidth(240);
    setFixedSize(sizeHint().expandedTo(minimumSize()));
}

QDate Tfrm_Datumbe::date() const {
    return m_picker->date();
}

// ---- frm_Valasztas ----------------------------------------------------------

Tfrm_Valasztas::Tfrm_Valasztas(const TwoWayRequest& request, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_Valasztas"));
    setWindowTitle(request.caption);
    ApplyFontSize(this);

    auto* row = new QHBoxLayout(this);
    QPushButton* first = AddButton(row, PlainLines(request.first), QStringLiteral("btnFirst"));
    QPushButton* second = AddButton(row, PlainLines(request.second), QStringLiteral("btnSecond"));
    for (QPushButton* button : {first, second})
        button->setMinimumSize(160, 80);
    first->setDefault(true);
    connect(first, &QPushButton::clicked, this, [this] {
        m_choice = 0;
        QDialog::accept();
    });
    connect(second, &QPushButton::clicked, this, [this] {
        m_choice = 1;
        QDialog::accept();
    });

    // "Mégsem" in the context menu; Escape closes the same way.
    auto* cancel = new QAction(dialog_text::Cancel, this);
    cancel->setObjectName(QStringLiteral("actCancel"));
    connect(cancel, &QAction::triggered, this, &QDialog::reject);
    addAction(cancel);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    setFixedSize(sizeHint());
}

// ---- frm_Radio ----------------------------------------------------------------

Tfrm_Radio::Tfrm_Radio(const RadioRequest& request, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_Radio"));
    setWindowTitle(request.caption);
    ApplyFontSize(this);

    auto* group = new QGroupBox(request.caption);
    group->setObjectName(QStringLiteral("grpItems"));
    auto* items = new QVBoxLayout(group);
    m_group = new QButtonGroup(this);
    for (int i = 0; i < request.items.size(); ++i) {
        auto* item = new QRadioButton(request.items.at(i));
        item->setObjectName(QStringLiteral("rbItem") + QString::number(i));
        item->setChecked(i == request.index);
        m_group->addButton(item, i);
        items->addWidget(item);
    }
    items->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(OkCancelRow(this));
    setMinimumWidth(260);
    setFixedHeight(
        qMax(RadioItemHeight * int(request.items.size()) + RadioExtraHeight, minimumSizeHint().height()));
}

int Tfrm_Radio::selectedIndex() const {
    return m_group->checkedId();
}

// ---- The input dialogs -------------------------------------------------------

std::optional<QString> QtDialogs::askText(const TextRequest& request, const TextCheck& check) {
    Tfrm_InpStr dialog(request, check, DialogParent());
    if (RunDesigned(dialog, Remember::PositionAndWidth) != QDialog::Accepted)
        return std::nullopt;
    return dialog.text();
}

std::optional<QString> QtDialogs::askNumber(const NumberRequest& request) {
    Tfrm_Inp dialog(request, DialogParent());
    if (RunDesigned(dialog, Remember::Position) != QDialog::Accepted)
        return std::nullopt;
    return dialog.text();
}

std::optional<QDate> QtDialogs::askDate(const DateRequest& request) {
    Tfrm_Datumbe dialog(request, DialogParent());
    if (RunDesigned(dialog, Remember::Position) != QDialog::Accepted)
        return std::nullopt;
    return dialog.date();
}

int QtDialogs::askTwoWay(const TwoWayRequest& request) {
    Tfrm_Valasztas dialog(request, DialogParent());
    RunDesigned(dialog, Remember::Position);
    return dialog.choice();
}

int QtDialogs::askRadio(const RadioRequest& request) {
    Tfrm_Radio dialog(request, DialogParent());
    if (RunDesigned(dialog, Remember::Position) != QDialog::Accepted)
        return -1;
    return dialog.selectedIndex();
}

// Built at run time rather than designed: centred on the screen, sized from
// the font's average character width (180 dialog units, 4 units a character).
std::optional<QString> QtDialogs::askMasked(const MaskedRequest& request) {
    QDialog dialog(DialogParent());
    dialog.setObjectName(QStringLiteral("dlgMasked"));
    dialog.setWindowTitle(request.caption);

    QLabel* prompt = PromptLabel(request.prompt);
    prompt->setWordWrap(true);
    auto* edit = new QLineEdit;
    edit->setObjectName(QStringLiteral("edtMasked"));
    edit->setMaxLength(MaskedMaxLength);
    if (!request.mask.isEmpty())
        edit->setInputMask(request.mask);
    edit->setText(request.text);
    edit->selectAll();

    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(prompt);
    layout->addWidget(edit);
    layout->addLayout(OkCancelRow(&dialog));

    const int averageChar = QFontMetrics(dialog.font()).averageCharWidth();
    dialog.setFixedWidth(MaskedWidthDialogUnits * averageChar / 4);
    dialog.adjustSize();
    if (QScreen* screen = dialog.screen()) {
        QRect frame = dialog.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        dialog.move(frame.topLeft());
    }
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return edit->text();
}

} // namespace kml
