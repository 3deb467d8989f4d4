#include "exchange/Letters.h"

#include "components/Cp1250.h"
#include "exchange/LetterChoice.h"
#include "foundation/Dialogs.h"
#include "foundation/Download.h"
#include "foundation/Folders.h"
#include "foundation/Settings.h"
#include "foundation/TextHelpers.h"

#include <QCryptographicHash>
#include <QEventLoop>
#include <QFile>
#include <QPointer>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTimer>
#include <atomic>
#include <memory>
#include <thread>

namespace kml {

QString LetterKey(qlonglong id) {
    return QString::fromLatin1(
        QCryptographicHash::hash(ToCp1250(QStringLiteral("key=") + QString::number(id)),
                                 QCryptographicHash::Md5)
            .toHex());
}

QString LetterAddress(const QString& link, const LetterRecord& record, int letter) {
    QString address = link;
    address.replace(QStringLiteral("%type%"), QString::number(record.tab), Qt::CaseInsensitive);
    if (record.tab != 2) {
        address.replace(QStringLiteral("%id%"), QString::number(record.id), Qt::CaseInsensitive);
        address += QStringLiteral("&key=") + LetterKey(record.id) + QStringLiteral("&client=") +
                   QString::number(record.customer);
    }
    address += QStringLiteral("&mail=") + QString::number(letter);
    return address;
}

QString LetterAnswerFile() {
    const quint32 n = QRandomGenerator::global()->bounded(2147483647u);
    return DataFolder() + QStringLiteral("/level") + QString::number(n) + QStringLiteral(".txt");
}

bool FetchInBackground(const QString& address, const QString& file, int connectSeconds, int totalSeconds) {
    struct State {
        std::atomic<bool> done{false};
        bool ok = false;
    };
    auto state = std::make_shared<State>();
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&loop, state] {
        if (state->done)
            loop.quit();
    });
    std::thread worker([state, address, file, connectSeconds, totalSeconds] {
        state->ok = DownloadFile(address, file, DownloadLimits{connectSeconds, totalSeconds});
        state->done = true;
    });
    poll.start();
    if (!state->done)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    return state->ok;
}

bool SendLetter(const LetterRecord& record) {
    const LetterText letter = ChooseLetterText(std::nullopt, true);
    if (!letter.letter)
        return false;
    const QString file = LetterAnswerFile();
    const QString address = LetterAddress(Beall().levelkuldlink, record, int(*letter.letter));
    const bool answered = FetchInBackground(address, file);
    const QString answer = answered ? ReadTextFile(file) : QString();
    QFile::remove(file);
    if (!answered) {
        ShowError(letter_text::Failed);
        return false;
    }
    ShowInfo(answer);
    return true;
}

int SendMail(const QString& subject, const QString& body, const QString& attachment,
             const QString& recipientAddress, const QString& recipientName, const QString& senderAddress,
             const QString& senderName) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
    if (program.isEmpty()) {
        ShowError(letter_text::NoMailProgram);
        return -1;
    }
    QStringList arguments;
    if (!subject.isEmpty())
        arguments << QStringLiteral("--subject") << subject;
    if (!body.isEmpty())
        arguments << QStringLiteral("--body") << body;
    if (!attachment.isEmpty())
        arguments << QStringLiteral("--attach") << attachment;
    if (!recipientAddress.isEmpty())
        arguments << (recipientName.isEmpty()
                          ? recipientAddress
                          : QStringLiteral("%1 <%2>").arg(recipientName, recipientAddress));
    if (!QProcess::startDetached(program, arguments))
        return 1;
    return 0;
}

} // namespace kml
