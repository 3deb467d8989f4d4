#pragma once

// Notification letters through the shop's letter service, and handing a
// message to the desktop's mail program.
//
// SendLetter lets the user choose a letter text, builds the service's
// address from the levelkuldlink setting for the record of the main
// window's current tab, calls it (HTTP GET, off the user-interface thread,
// with a connect timeout of 5 s and a total of 15 s, while the windows keep
// painting) and shows the service's answer as plain text. A failed call, an
// answer other than 2xx or a timeout says "Sikertelen küldés.". The answer
// goes through a temporary file "level<N>.txt" in the data folder that is
// removed in every case.

#include <QString>

namespace kml {

namespace letter_text {
inline const QString Failed = QStringLiteral("Sikertelen küldés.");
inline const QString NoMailProgram =
    QStringLiteral("Nem található levelezőprogram: az xdg-email nincs telepítve (xdg-utils csomag), ezért a "
                   "levél nem adható át.");
inline const QString MailNotStarted = QStringLiteral("A levelezőprogram nem indítható.");
} // namespace letter_text

// What a letter is about: the main window's tab (0 work sheets, 1
// customers, 2 day planner, 3 devices), the record's number and its
// customer's number (NULL numbers as 0).
struct LetterRecord {
    int tab = 0;
    qlonglong id = 0;
    qlonglong customer = 0;
};

// The lookup key of a record: the MD5 digest of "key=" + id, 32 lower-case
// hex digits, computed here over the text's Windows-1250 bytes, so that it
// equals the server's MD5('key=' + id) on the latin2 connection. The letter
// service gets it with the record's number, and a work sheet's status
// address carries it (StatusAddress). It only makes a record's address
// hard to guess from its number; it is not a secret.
QString RecordKey(qlonglong id);

// The service's address: link with every "%type%" (any letter case)
// replaced by the tab; except on the day planner, every "%id%" replaced by
// the id and "&key=" + RecordKey(id) + "&client=" + customer appended; then
// "&mail=" + letter.
QString LetterAddress(const QString& link, const LetterRecord& record, int letter);

// The answer file's name in the data folder: "level" + a random number
// from 0 to 2147483646 + ".txt".
QString LetterAnswerFile();

// GETs the address into file off the user-interface thread: connect
// timeout connectSeconds, the whole call at most totalSeconds. Waits with
// an event loop that paints but takes no user input. True on a 2xx answer
// written to the file.
bool FetchInBackground(const QString& address, const QString& file, int connectSeconds = 5,
                       int totalSeconds = 15);

// The action "Levél küldés" for the record. Returns whether the service
// answered (the answer was shown).
bool SendLetter(const LetterRecord& record);

// Hands a message to the desktop mail program's compose window through
// xdg-email (--subject, --body, --attach and the recipient, started with an
// argument list, never through a shell). xdg-email has no sender: the mail
// program uses its own account. 0 when started; -1, after a message in the
// error box, when there is no xdg-email; 1 when it could not be started.
int SendMail(const QString& subject, const QString& body, const QString& attachment,
             const QString& recipientAddress = {}, const QString& recipientName = {},
             const QString& senderAddress = {}, const QString& senderName = {});

} // namespace kml
