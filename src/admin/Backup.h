#pragma once

// Backups of a shop's database: the data script (".sql", or one ".sql"
// entry in a ".zip" archive) written and restored by the program itself,
// and the full backup (schema, routines, events and data) made by the
// external dump program.

#include "admin/ConnectionEntries.h"
#include "foundation/DataScript.h"

#include <QDateTime>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace kml {

// The name a save dialog suggests: database + "-" + yyyy-mm-dd-hh-mm-ss.
QString SuggestedBackupName(const QString& database, const QDateTime& when);

// Whether the file is a ZIP archive by its name (".zip" in any letter case).
bool IsZipName(const QString& fileName);

// Writes the data script of the connection's database to fileName. For a
// ".zip" name the script is written to a private temporary file and packed
// into a new archive (an existing one replaced only when the new one is
// complete) as the one entry basename + ".sql"; no file beside it is
// touched. Throws std::runtime_error (Hungarian text) when a file cannot be
// written or archived, DbError for a failed statement; a partly written
// file is never left under fileName.
void WriteDataBackup(Connection& connection, const QString& fileName, const ProgressFn& progress = {});

// Restores a data script (".sql", or the ".sql" entry of a ".zip") into the
// connection's database (RestoreDataScript). Throws std::runtime_error
// (Hungarian) when the file cannot be read, DbError for a failed statement.
int RestoreDataBackup(Connection& connection, const QString& fileName, const ProgressFn& progress = {});

// The full backup's dump program: the configured path when one is set (it
// must be an executable file), otherwise "mariadb-dump" (then "mysqldump")
// from PATH. "" when there is none.
QString FindDumpProgram(const QString& configured);

// The dump program's arguments, without a shell and without the password:
// the option file (which holds it) first, then the connection, the options
// of a consistent full backup with routines, events and triggers, and the
// database named so that the dump creates and selects it.
QStringList FullBackupArguments(const ConnectionEntry& entry, const QString& optionFile,
                                const QString& resultFile);

// The text of the option file that hands the password to the dump program.
QByteArray DumpOptionFileText(const QString& password);

// One run of the dump program, watched without blocking: start() returns at
// once, finished() reports the result. The password is in an option file
// (mode 0600) in a private temporary folder that lives as long as the run.
// The dump goes to a temporary file beside the chosen one, which replaces
// the chosen file only after a successful run; a failed run removes it.
class FullBackupRun final : public QObject {
    Q_OBJECT
public:
    explicit FullBackupRun(QObject* parent = nullptr);
    ~FullBackupRun() override;

    // False, with the reason in error (Hungarian), when the run cannot
    // start: no dump program, the option file cannot be written.
    bool start(const QString& program, const ConnectionEntry& entry, const QString& fileName, QString& error);
    bool isRunning() const;
    // The process, for callers that look at it (its arguments, its id).
    const QProcess* process() const { return m_process.get(); }

signals:
    // ok: the file is complete. message: what to tell the user ("" on
    // success): the exit code and the last lines of the error output.
    void finished(bool ok, const QString& message);

private:
    void onFinished(int exitCode, QProcess::ExitStatus status);
    void onError(QProcess::ProcessError error);
    void finish(bool ok, const QString& message);

    std::unique_ptr<QProcess> m_process;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_fileName;
    QString m_partFile;
    bool m_done = true;
};

} // namespace kml
