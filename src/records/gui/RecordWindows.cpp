#include "records/gui/RecordWindows.h"

#include "foundation/Conversions.h"
#include "foundation/Settings.h"
#include "patterns/gui/FormEditor.h"
#include "records/CatalogueWindows.h"
#include "records/CustomerWindows.h"
#include "records/DeviceTypes.h"
#include "records/DeviceWindows.h"
#include "records/TextWindows.h"
#include "records/Texts.h"
#include "records/TypeWindows.h"
#include "records/gui/Tfrm_Szerkeszt.h"
#include "records/gui/Tfrm_ToroltRekordok.h"
#include "records/gui/Tfrm_TorzsKeszulek.h"
#include "records/gui/Tfrm_TorzsKeszulek_Szerkeszt.h"
#include "records/gui/Tfrm_TorzsLevelSzoveg.h"
#include "records/gui/Tfrm_TorzsLevelSzoveg_Szerkeszt.h"
#include "records/gui/Tfrm_TorzsMlapTipus.h"
#include "records/gui/Tfrm_TorzsSzotar.h"
#include "records/gui/Tfrm_TorzsTetel.h"
#include "records/gui/Tfrm_TorzsTetel_Szerkeszt.h"
#include "records/gui/Tfrm_TorzsTipus.h"
#include "records/gui/Tfrm_TorzsTipus_Szerkeszt.h"
#include "records/gui/Tfrm_TorzsUgyfel.h"
#include "records/gui/Tfrm_Torzsadat.h"
#include "records/gui/Tfrm_Torzsadat_Szerkeszt.h"

#include <QApplication>

namespace kml {
namespace {

void InstallTextWindows() {
    ChooseDictionaryText.install([](const QString& search, bool chooser) {
        return Tfrm_TorzsSzotar(QApplication::activeWindow()).run(search, chooser);
    });
    EditDictionaryText.install([](const QString& title) {
        FormEditor window(DictionaryEditorDefinition(title), QApplication::activeWindow());
        window.resize(480, 360);
        if (title.isEmpty())
            window.startNew();
        else if (!window.startEdit(title))
            return QString();
        return window.exec() == QDialog::Accepted ? window.savedKeyValue().toString() : QString();
    });
    ChooseWorkSheetType.install([](RowKey select, bool chooser) {
        Tfrm_TorzsMlapTipus window(QApplication::activeWindow());
        return window.choose(select, chooser, window.windowTitle());
    });
    EditWorkSheetType.install(
        [](RowKey type) { return RunFormEditor(WorkSheetTypeEditorDefinition(Beall().prgtipus), type); });
    ChooseLetterText.install([](RowKey select, bool chooser) {
        Tfrm_TorzsLevelSzoveg window(QApplication::activeWindow());
        LetterText letter;
        letter.letter = window.choose(select, chooser, window.windowTitle()).key;
        if (letter.letter) {
            letter.name = VarStr(window.currentValue(QStringLiteral("levelszoveg_nev")));
            letter.subject = VarStr(window.currentValue(QStringLiteral("targysor")));
            letter.text = VarStr(window.currentValue(QStringLiteral("szoveg")));
        }
        return letter;
    });
    EditLetterText.install([](RowKey letter) { return Tfrm_TorzsLevelSzoveg_Szerkeszt::Run(letter); });
}

void InstallCatalogueWindows() {
    ChooseCatalogueItem.install([](RowKey select, bool chooser) {
        Tfrm_TorzsTetel window(QApplication::activeWindow());
        return window.choose(select, chooser, window.windowTitle());
    });
    EditCatalogueItem.install([](RowKey item) { return Tfrm_TorzsTetel_Szerkeszt::Run(item); });
    ShowDeletedRecords.install([] { Tfrm_ToroltRekordok(QApplication::activeWindow()).exec(); });
}

} // namespace

void InstallRecordWindows() {
    EditCustomer.install([](RowKey customer) { return Tfrm_Szerkeszt::Run(customer); });
    OpenCustomerList.install([](RowKey select, bool chooser, const QString& caption) {
        Tfrm_TorzsUgyfel window(QApplication::activeWindow());
        return window.choose(select, chooser, caption);
    });
    InstallTextWindows();
    InstallCatalogueWindows();
    // Device types, lookup tables and devices.
    OpenDeviceTypeList.install(&Tfrm_TorzsTipus::Run);
    ChoosePictureFile.install(&Tfrm_TorzsTipus::ChoosePicture);
    EditDeviceType.install(&Tfrm_TorzsTipus_Szerkeszt::Run);
    OpenLookupTable.install(&Tfrm_Torzsadat::Run);
    EditLookupRow.install(&Tfrm_Torzsadat_Szerkeszt::Run);
    ChooseDevice.install(&Tfrm_TorzsKeszulek::Run);
    EditDevice.install(&Tfrm_TorzsKeszulek_Szerkeszt::Run);
}

} // namespace kml
