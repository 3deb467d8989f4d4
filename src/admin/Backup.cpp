#include "admin/Backup.h"

#include "components/Connection.h"
#include "components/Cp1250.h"
#include "foundation/Conversions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <stdexcept>
#include <zip.h>

namespace kml {
namespace {

[[noreturn]] void Fail(const QString& text) {
    throw std::runtime_error(text.toStdString());
}

QString ZipError(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString text = QString::fromLocal8Bit(zip_error_strerror(&error));
    zip_error_fini(&error);
    return text;
}

void ArchiveScript(const QString& scriptFile, const QString& zipFile, const QString& entryName) {
    int code = 0;
    zip_t* archive = zip_open(QFile::encodeName(zipFile).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive)
        Fail(QStringLiteral("Hiba az archiválás közben\r\n") + ZipError(code));
    const auto failWith = [archive](const QString& reason) {
        zip_discard(archive);
        Fail(QStringLiteral("Hiba az archiválás közben\r\n") + reason);
    };
    zip_source_t* source = zip_source_file(archive, QFile::encodeName(scriptFile).constData(), 0, -1);
    if (!source)
        failWith(QString::fromLocal8Bit(zip_strerror(archive)));
    const zip_int64_t index = zip_file_add(archive, entryName.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        zip_source_free(source);
        failWith(QString::fromLocal8Bit(zip_strerror(archive)));
    }
    zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_DEFLATE, 6);
    if (zip_close(archive) != 0)
        failWith(QString::fromLocal8Bit(zip_strerror(archive)));
}

} // namespace

QString SuggestedBackupName(const QString& database, const QDateTime& when) {
    return database + QLatin1Char('-') + when.toString(QStringLiteral("yyyy-MM-dd-hh-mm-ss"));
}

bool IsZipName(const QString& fileName) {
    return QFileInfo(fileName).suffix().toLower() == QLatin1String("zip");
}

void WriteDataBackup(Connection& connection, const QString& fileName, const ProgressFn& progress) {
    if (!IsZipName(fileName)) {
        try {
            DumpTablesToFile(connection, fileName, progress);
        } catch (const DbError&) {
            throw;
        } catch (const std::runtime_error& e) {
            Fail(QStringLiteral("A mentés fájlja nem írható: ") + fileName + QStringLiteral("\r\n") +
                 QString::fromLocal8Bit(e.what()));
        }
        return;
    }
    // The script waits in a private folder, never beside the archive.
    QTemporaryDir dir;
    if (!dir.isValid())
        Fail(QStringLiteral("Nem hozható létre átmeneti mappa: ") + dir.errorString());
    const QString entryName = QFileInfo(fileName).completeBaseName() + QStringLiteral(".sql");
    const QString script = dir.filePath(QStringLiteral("mentes.sql"));
    try {
        DumpTablesToFile(connection, script, progress);
    } catch (const DbError&) {
        throw;
    } catch (const std::runtime_error& e) {
        Fail(QStringLiteral("A mentés átmeneti fájlja nem írható\r\n") + QString::fromLocal8Bit(e.what()));
    }
    ArchiveScript(script, fileName, entryName);
}

int RestoreDataBackup(Connection& connection, const QString& fileName, const ProgressFn& progress) {
    if (!IsZipName(fileName)) {
        QFile file(fileName);
        if (!file.open(QIODevice::ReadOnly))
            Fail(QStringLiteral("A fájl nem olvasható: ") + fileName + QStringLiteral("\r\n") +
                 file.errorString());
        return RestoreDataScript(connection, file, file.size(), progress);
    }
    int code = 0;
    zip_t* archive = zip_open(QFile::encodeName(fileName).constData(), ZIP_RDONLY, &code);
    if (!archive)
        Fail(QStringLiteral("Az archívum nem olvasható: ") + fileName + QStringLiteral("\r\n") +
             ZipError(code));
    struct Closer {
        zip_t* archive;
        ~Closer() { zip_discard(archive); }
    } closer{archive};
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        if (zip_stat_index(archive, zip_uint64_t(i), 0, &stat) != 0 || !stat.name)
            continue;
        if (!QString::fromUtf8(stat.name).toLower().endsWith(QLatin1String(".sql")))
            continue;
        zip_file_t* file = zip_fopen_index(archive, zip_uint64_t(i), 0);
        if (!file)
            Fail(QStringLiteral("Az archívum nem olvasható: ") +
                 QString::fromLocal8Bit(zip_strerror(archive)));
        // The script is unpacked into a private folder and restored from there.
        QTemporaryDir dir;
        QFile script(dir.filePath(QStringLiteral("mentes.sql")));
        if (!dir.isValid() || !script.open(QIODevice::ReadWrite)) {
            zip_fclose(file);
            Fail(QStringLiteral("Nem hozható létre átmeneti fájl: ") + script.errorString());
        }
        QByteArray chunk(1 << 16, Qt::Uninitialized);
        for (;;) {
            const zip_int64_t n = zip_fread(file, chunk.data(), zip_uint64_t(chunk.size()));
            if (n < 0) {
                const QString reason = QString::fromLocal8Bit(zip_file_strerror(file));
                zip_fclose(file);
                Fail(QStringLiteral("Az archívum nem olvasható: ") + reason);
            }
            if (n == 0)
                break;
            if (script.write(chunk.constData(), n) != n) {
                zip_fclose(file);
                Fail(QStringLiteral("Nem írható az átmeneti fájl: ") + script.errorString());
            }
        }
        zip_fclose(file);
        script.seek(0);
        return RestoreDataScript(connection, script, script.size(), progress);
    }
    Fail(QStringLiteral("Az archívumban nincs SQL fájl: ") + fileName);
}

QString FindDumpProgram(const QString& configured) {
    const QString path = configured.trimmed();
    if (!path.isEmpty()) {
        if (path.contains(QLatin1Char('/'))) {
            const QFileInfo info(path);
            return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
        }
        return QStandardPaths::findExecutable(path);
    }
    for (const char* name : {"mariadb-dump", "mysqldump"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!found.isEmpty())
            return found;
    }
    return {};
}

QStringList FullBackupArguments(const ConnectionEntry& entry, const QString& optionFile,
                                const QString& resultFile) {
    QStringList arguments{QStringLiteral("--defaults-extra-file=") + optionFile};
    if (!entry.host.isEmpty())
        arguments << QStringLiteral("--host=") + entry.host;
    arguments << QStringLiteral("--port=") +
                     QString::number(entry.port.isEmpty() ? 3306 : StrInt(entry.port));
    if (!entry.user.isEmpty())
        arguments << QStringLiteral("--user=") + entry.user;
    arguments << QStringLiteral("--compress") << QStringLiteral("--default-character-set=latin2")
              << QStringLiteral("--single-transaction") << QStringLiteral("--routines")
              << QStringLiteral("--events") << QStringLiteral("--triggers")
              << QStringLiteral("--no-tablespaces") << QStringLiteral("--complete-insert")
              << QStringLiteral("--result-file=") + resultFile << QStringLiteral("--databases")
              << entry.database;
    return arguments;
}

QByteArray DumpOptionFileText(const QString& password) {
    QByteArray value;
    for (const char c : ToCp1250(password)) {
        switch (c) {
        case '\\':
            value += "\\\\";
            break;
        case '"':
            value += "\\\"";
            break;
        case '\n':
            value += "\\n";
            break;
        case '\r':
            value += "\\r";
            break;
        case '\t':
            value += "\\t";
            break;
        default:
            value += c;
        }
    }
    return "[client]\npassword=\"" + value + "\"\n";
}

FullBackupRun::FullBackupRun(QObject* parent) : QObject(parent) {}

FullBackupRun::~FullBackupRun() {
    if (m_process && m_process->state() != QProcess::NotRunning) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished(3000);
        QFile::remove(m_partFile);
    }
}

bool FullBackupRun::isRunning() const {
    return !m_done;
}

bool FullBackupRun::start(const QString& program, const ConnectionEntry& entry, const QString& fileName,
                          QString& error) {
    const QString executable = FindDumpProgram(program);
    if (executable.isEmpty()) {
        error = QStringLiteral("A mentőprogram nem található: ") +
                (program.trimmed().isEmpty() ? QStringLiteral("mariadb-dump") : program.trimmed());
        return false;
    }
    m_dir = std::make_unique<QTemporaryDir>();
    if (!m_dir->isValid()) {
        error = QStringLiteral("Nem hozható létre átmeneti mappa: ") + m_dir->errorString();
        return false;
    }
    QFile::setPermissions(m_dir->path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString optionFile = m_dir->filePath(QStringLiteral("kapcsolat.cnf"));
    {
        QFile file(optionFile);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) ||
            !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) ||
            file.write(DumpOptionFileText(entry.password)) < 0 || !file.flush()) {
            error = QStringLiteral("A kapcsolat adatai nem írhatók ki: ") + file.errorString();
            return false;
        }
    }
    // The dump is written beside the chosen file and replaces it only when complete.
    const QFileInfo target(fileName);
    QTemporaryFile part(target.absolutePath() + QLatin1Char('/') + target.fileName() +
                        QStringLiteral(".XXXXXX.reszleges"));
    part.setAutoRemove(false);
    if (!part.open()) {
        error = QStringLiteral("A mentés fájlja nem írható: ") + fileName + QStringLiteral("\r\n") +
                part.errorString();
        return false;
    }
    m_partFile = part.fileName();
    part.close();
    m_fileName = fileName;

    m_process = std::make_unique<QProcess>();
    m_process->setProgram(executable);
    m_process->setArguments(FullBackupArguments(entry, optionFile, m_partFile));
    m_process->setProcessChannelMode(QProcess::SeparateChannels);
    m_process->setStandardOutputFile(QProcess::nullDevice());
    connect(m_process.get(), &QProcess::finished, this, &FullBackupRun::onFinished);
    connect(m_process.get(), &QProcess::errorOccurred, this, &FullBackupRun::onError);
    m_done = false;
    m_process->start();
    return true;
}

void FullBackupRun::onError(QProcess::ProcessError error) {
    if (error == QProcess::FailedToStart)
        finish(false, QStringLiteral("A mentőprogram nem indítható: ") + m_process->errorString());
}

void FullBackupRun::onFinished(int exitCode, QProcess::ExitStatus status) {
    const QString errors = QString::fromLocal8Bit(m_process->readAllStandardError()).trimmed();
    QStringList lines = errors.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (lines.size() > 5)
        lines = lines.mid(lines.size() - 5);
    if (status != QProcess::NormalExit || exitCode != 0) {
        QString message =
            status == QProcess::NormalExit
                ? QStringLiteral("A teljes mentés nem sikerült (kilépési kód: %1).").arg(exitCode)
                : QStringLiteral("A teljes mentés megszakadt.");
        if (!lines.isEmpty())
            message += QStringLiteral("\r\n") + lines.join(QStringLiteral("\r\n"));
        finish(false, message);
        return;
    }
    QFile::remove(m_fileName);
    if (!QFile::rename(m_partFile, m_fileName)) {
        finish(false, QStringLiteral("A mentés fájlja nem írható: ") + m_fileName);
        return;
    }
    finish(true, QString());
}

void FullBackupRun::finish(bool ok, const QString& message) {
    if (m_done)
        return;
    m_done = true;
    if (!ok)
        QFile::remove(m_partFile);
    m_dir.reset(); // the option file with the password goes with its folder
    emit finished(ok, message);
}

} // namespace kml
