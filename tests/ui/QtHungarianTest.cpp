// Qt's own dialogs in Hungarian once the program has installed Qt's
// translation: the non-native file dialog (the picture chooser, the PDF save
// of the preview) and a message box's standard buttons. Screenshots of both
// go to build/screenshots/.

#include "TestDatabase.h"
#include "foundation/gui/QtTranslations.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace kml {
namespace {

void Shoot(QWidget* w, const QString& name) {
    const QString path = test::BuildPath(QStringLiteral("screenshots/") + name + QStringLiteral(".png"));
    QDir().mkpath(QFileInfo(path).absolutePath());
    EXPECT_TRUE(w->grab().save(path)) << path.toStdString();
}

QStringList ButtonTexts(QWidget* w) {
    QStringList texts;
    for (const QPushButton* b : w->findChildren<QPushButton*>())
        if (b->isVisible())
            texts << b->text();
    return texts;
}

TEST(QtHungarian, FileDialogAndMessageBoxSpeakHungarian) {
    ASSERT_TRUE(InstallQtHungarian()) << "qt6-translations-l10n is not installed";
    EXPECT_TRUE(InstallQtHungarian()) << "a second call keeps the one installed";

    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QFileDialog dialog(nullptr, QStringLiteral("Kép hozzáadás"), folder.path());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.show();
    QApplication::processEvents();
    QStringList labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        if (label->isVisible())
            labels << label->text();
    const QStringList texts = labels + ButtonTexts(&dialog);
    for (const char* english : {"Look in:", "File name:", "Files of type:", "&Open", "Open", "Cancel"})
        EXPECT_FALSE(texts.contains(QLatin1String(english)))
            << english << " in " << texts.join('|').toStdString();
    EXPECT_TRUE(texts.contains(QCoreApplication::translate("QFileDialog", "Look in:")));
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Look in:"));
    Shoot(&dialog, QStringLiteral("qt-file-dialog-hu"));
    dialog.reject();

    QMessageBox box(QMessageBox::Question, QStringLiteral("Megerősítés"),
                    QStringLiteral("Valóban töröljem a sort?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box.show();
    QApplication::processEvents();
    const QStringList buttons = ButtonTexts(&box);
    for (const char* english : {"&Yes", "&No", "Cancel", "Yes", "No"})
        EXPECT_FALSE(buttons.contains(QLatin1String(english)))
            << english << " in " << buttons.join('|').toStdString();
    EXPECT_EQ(buttons.size(), 3);
    Shoot(&box, QStringLiteral("qt-message-box-hu"));
    box.reject();
}

} // namespace
} // namespace kml
