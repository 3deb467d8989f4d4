#include "shell/Beallit.h"

#include "components/DbError.h"
#include "foundation/Conversions.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "shell/AppError.h"

#include <QDir>
#include <limits>

namespace kml {
namespace {

const QString SettingsTable = QStringLiteral("beallit");
const QString ProgramTypeColumn = QStringLiteral("prgtipus");

} // namespace

void OpenSettingsRow(Table& row) {
    constexpr int NoRow = std::numeric_limits<int>::min();
    const int first =
        QueryInt(QStringLiteral("SELECT beallit FROM beallit ORDER BY beallit LIMIT 1;"), NoRow);
    if (first == NoRow || !row.load(first))
        row.startNew();
}

SettingsValues ReadSettingsValues(const TBeall& settings, const Table& row) {
    SettingsValues values;
    values.vanPennart = settings.vanPennart;
    values.pennart = settings.pennart;
    values.teljesKep = settings.teljesKep;
    values.alapNyomtato = settings.alapNyomtato;
    values.formatDb = settings.formatDb;
    values.formatFt = settings.formatFt;
    values.kepek = settings.kepek;

    FillList(values.programTypeNames, settings_text::ProgramTypeNamesSql);
    QStringList keys;
    FillList(keys, settings_text::ProgramTypeKeysSql);
    for (const QString& key : keys)
        values.programTypes << StrInt(key);
    // The item of the row's number, so that a number without a prgtipus row
    // (or a gap among the numbers) never shows another type's name.
    const QVariant current = row.value(ProgramTypeColumn);
    values.programType = current.isNull() ? -1 : int(values.programTypes.indexOf(current.toInt()));
    return values;
}

int ChosenProgramType(const SettingsValues& values) {
    if (values.programType < 0 || values.programType >= values.programTypes.size())
        return 0;
    return values.programTypes[values.programType];
}

void SetSettingsLimits(FieldLimits& limits) {
    limits.setRange(QStringLiteral("mlaphatid"), 0, 3650, QStringLiteral("Munkalap hatidő (nap)"));
    limits.setRange(QStringLiteral("autocikkszamhossz"), 1, 15, QStringLiteral("Cikkszám hossza (max 15)"));
    limits.setRange(QStringLiteral("afakulcs"), 0, 100, QStringLiteral("Áfa kulcs"));
    limits.setRange(QStringLiteral("kepport"), 1, 65535, QStringLiteral("Port"));
    limits.setRange(QStringLiteral("visszateres_nap"), 0, 3650,
                    QStringLiteral("Visszatérő javítás figyelése (nap)"));
}

void AcceptSettings(Table& row, const SettingsValues& values, TBeall& settings) {
    row.setValue(ProgramTypeColumn, ChosenProgramType(values));
    row.post();
    settings.vanPennart = values.vanPennart;
    settings.pennart = values.pennart;
    settings.teljesKep = values.teljesKep;
    settings.alapNyomtato = values.alapNyomtato;
    settings.formatDb = values.formatDb;
    settings.formatFt = values.formatFt;
    settings.kepek = values.kepek;
    if (!settings.kepek.isEmpty() && !QDir(settings.kepek).exists())
        QDir().mkpath(settings.kepek); // a folder that cannot be made is noticed where it is used
}

void CancelSettings(Table& row) {
    if (row.isActive())
        row.cancel();
}

bool EditSettings() {
    Table row(SettingsTable);
    OpenSettingsRow(row);
    SettingsValues values = ReadSettingsValues(Beall(), row);
    FieldLimits limits;
    SetSettingsLimits(limits);
    for (;;) {
        if (!SettingsWindow(row, values)) {
            CancelSettings(row);
            return false;
        }
        if (!limits.check(row))
            continue;
        try {
            AcceptSettings(row, values, Beall());
            return true;
        } catch (const DbError& e) {
            if (!e.connectionLost())
                throw;
            HandleAppError(AppErrorText(e.text()));
        }
    }
}

} // namespace kml
