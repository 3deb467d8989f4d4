#pragma once

// The maker's online services: the new-version notice and the news item,
// read from the maker's web server over HTTPS a little after the main window
// appears, and the maker's message from the shop's own table uzenet.
//
// Every failure of the web services is silent: no network, a server that
// does not answer, an error status, an answer that is not what the endpoint
// gives: nothing is shown. The downloads run on a thread of their own with a
// connect limit of 5 s and a total of 15 s, so the program never waits for
// the maker's server; the answer is handled back on the user-interface
// thread.
//
//     MakerChecks checks({ProgramVersion, CurrentMakerEndpoint()}, this);
//     checks.start(); // TimerVerzio (2 s) and TimerHirek (10 s), once each

#include "foundation/Download.h"
#include "foundation/WindowOperation.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <optional>

namespace kml {

class BackgroundDownload;

// The number by which the maker's endpoints know this program.
inline constexpr int MakerProductNumber = 47;

// Where the maker's endpoints are: scheme, host and port without a trailing
// "/" (the ini setting TarnovaCim of section Defaults), and the certificate
// authority the server's certificate must be signed by ("" the system's).
struct MakerEndpoint {
    QString base = QStringLiteral("https://www.tarnova.hu");
    QString caFile;
};
inline const QString MakerEndpointSection = QStringLiteral("Defaults");
inline const QString MakerEndpointKey = QStringLiteral("TarnovaCim");
// The ini setting, with the authority SetMakerCaFile gave.
MakerEndpoint CurrentMakerEndpoint();
// Tests trust their own local authority through this; the program never
// calls it.
void SetMakerCaFile(const QString& caFile);

// The addresses, from the base: "/verziokovetes.php?prg=47",
// "/hirfolyam.php?prg=47&hir=" + last accepted news, "/hirek.php?hir=" +
// news number.
QString VersionAddress(const MakerEndpoint& endpoint);
QString NewsAddress(const MakerEndpoint& endpoint, int lastAccepted);
QString NewsDetailsAddress(const MakerEndpoint& endpoint, int newsNumber);

// ---- Answers ------------------------------------------------------------------

// The text of a downloaded answer file: UTF-8 (a letter with a combining
// accent made one letter); a file that is not valid UTF-8 is read as cp1250
// and repaired (RepairUtf8).
QString ReadAnswerFile(const QString& path);

// A version answer "version|notice": the version is four dotted whole
// numbers of at most 15 characters in all (it is stored in
// verzioelfogadva); anything else is no answer.
struct VersionNotice {
    QString version;
    QString text;
};
std::optional<VersionNotice> ParseVersionAnswer(const QString& answer);
// The fourth dotted number of a version; 0 when it is not a number.
int BuildNumber(const QString& version);
// Whether a notice of version is news to a shop that accepted `accepted`
// and runs `own`: only the build numbers count.
bool IsNewerBuild(const QString& version, const QString& accepted, const QString& own);

// A news answer "number|title|text": the number is digits only and above
// 0; "0", an empty first field or anything else (an error page) is no news.
struct NewsItem {
    int number = 0;
    QString title;
    QString text;
};
std::optional<NewsItem> ParseNewsAnswer(const QString& answer);

// "Többet ne figyelmeztessen": the notice of this version is not shown
// again (the version must be one ParseVersionAnswer gave).
void AcceptVersion(const QString& version);
// "Többet ne mutassa": news up to this number are not shown again; a stored
// number that is higher stays, a NULL one counts as 0.
void AcceptNews(int newsNumber);
// The stored values (0 / "" when NULL).
int AcceptedNews();

// ---- The windows ----------------------------------------------------------------

// "Verziókövetés: " + version, modal; true when "Többet ne figyelmeztessen"
// was ticked at "OK".
inline WindowOperation<bool(const QString& version, const QString& notice)> ShowVersionNotice{
    "ShowVersionNotice"};
// "Hírek", not modal: the news with its details link; "OK" with "Többet ne
// mutassa" ticked calls AcceptNews.
inline WindowOperation<void(const NewsItem& news, const QString& detailsAddress)> ShowNewsWindow{
    "ShowNewsWindow"};

// ---- The checks -------------------------------------------------------------------

struct MakerCheckSettings {
    QString ownVersion;              // the program's version text
    MakerEndpoint endpoint;          // where to ask
    QString dataFolder;              // where Verkov.txt and hirkov.txt go
    DownloadLimits limits = {5, 15}; // connect and total, seconds
};

class MakerChecks final : public QObject {
    Q_OBJECT
public:
    explicit MakerChecks(MakerCheckSettings settings, QObject* parent = nullptr);
    ~MakerChecks() override; // abandons a download still running

    // Starts TimerVerzio (2000 ms) and TimerHirek (10000 ms); each fires once.
    void start();
    QTimer& timerVerzio() { return m_timerVerzio; }
    QTimer& timerHirek() { return m_timerHirek; }

    // CheckNewVersion and CheckNews: start the download and return at once;
    // versionChecked / newsChecked tell when the answer was dealt with.
    void checkNewVersion();
    void checkNews();
    bool isChecking() const;

signals:
    // shown: whether the window was shown.
    void versionChecked(bool shown);
    void newsChecked(bool shown);

private:
    void versionArrived(bool ok);
    void newsArrived(bool ok);
    QString answerPath(const char* name) const;

    MakerCheckSettings m_settings;
    QTimer m_timerVerzio;
    QTimer m_timerHirek;
    BackgroundDownload* m_versionDownload = nullptr;
    BackgroundDownload* m_newsDownload = nullptr;
};

// ---- The maker's message ------------------------------------------------------------

// The first unread row of uzenet.
struct MakerMessage {
    int number = 0;
    QString text;
    QString link;
    bool onlyOnce = false; // csakegyszer not 'N': red panel, "Rendben" alone
};
std::optional<MakerMessage> ReadMakerMessage();
// "Rendben": the message is dated read and shown again at the next start
// (unless the server counts a message shown once as read); forGood
// ("Rendben / többet ne figyelmeztessen") marks it read.
void AcknowledgeMakerMessage(int number, bool forGood);

namespace maker_text {
inline const QString VersionCaption = QStringLiteral("Verziókövetés");
inline const QString VersionHeading = QStringLiteral("Új verzió megjelenés");
inline const QString VersionDontWarn = QStringLiteral("Többet ne figyelmeztessen");
inline const QString NewsCaption = QStringLiteral("Hírek");
inline const QString NewsDetails = QStringLiteral("Részletek:");
inline const QString NewsDontShow = QStringLiteral("Többet ne mutassa");
inline const QString MessageOk = QStringLiteral("Rendben");
inline const QString MessageOkForGood = QStringLiteral("Rendben\ntöbbet ne figyelmeztessen");
} // namespace maker_text

} // namespace kml
