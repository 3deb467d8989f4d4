#include "services/MakerServices.h"

#include "components/Query.h"
#include "foundation/Conversions.h"
#include "foundation/IniFile.h"
#include "foundation/QueryHelpers.h"
#include "foundation/TextHelpers.h"
#include "services/BackgroundDownload.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>

namespace kml {

namespace {

QString& CaFileOverride() {
    static QString caFile;
    return caFile;
}

bool AllDigits(const QString& text) {
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
}

} // namespace

MakerEndpoint CurrentMakerEndpoint() {
    MakerEndpoint endpoint;
    QString base = IniReadStr(MakerEndpointSection, MakerEndpointKey, endpoint.base).trimmed();
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    if (!base.isEmpty())
        endpoint.base = base;
    endpoint.caFile = CaFileOverride();
    return endpoint;
}

void SetMakerCaFile(const QString& caFile) {
    CaFileOverride() = caFile;
}

QString VersionAddress(const MakerEndpoint& endpoint) {
    return endpoint.base + QStringLiteral("/verziokovetes.php?prg=%1").arg(MakerProductNumber);
}

QString NewsAddress(const MakerEndpoint& endpoint, int lastAccepted) {
    return endpoint.base +
           QStringLiteral("/hirfolyam.php?prg=%1&hir=%2").arg(MakerProductNumber).arg(lastAccepted);
}

QString NewsDetailsAddress(const MakerEndpoint& endpoint, int newsNumber) {
    return endpoint.base + QStringLiteral("/hirek.php?hir=%1").arg(newsNumber);
}

// ---- Answers ----------------------------------------------------------------

QString ReadAnswerFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    // The maker writes UTF-8: read as such, every character survives („ ” –
    // € as well as the Hungarian letters). Anything else is read as cp1250
    // and repaired the old way.
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text.normalized(QString::NormalizationForm_C);
    return RepairUtf8(ReadTextFile(path));
}

std::optional<VersionNotice> ParseVersionAnswer(const QString& answer) {
    static const QRegularExpression dotted(QStringLiteral("^[0-9]{1,5}(\\.[0-9]{1,5}){3}$"));
    const QString version = Token(QStringLiteral("|"), answer, 1);
    if (version.size() > 15 || !dotted.match(version).hasMatch())
        return std::nullopt;
    return VersionNotice{version, Token(QStringLiteral("|"), answer, 2)};
}

int BuildNumber(const QString& version) {
    return StrInt(Token(QStringLiteral("."), version, 4));
}

bool IsNewerBuild(const QString& version, const QString& accepted, const QString& own) {
    return BuildNumber(version) > std::max(BuildNumber(accepted), BuildNumber(own));
}

std::optional<NewsItem> ParseNewsAnswer(const QString& answer) {
    const QString first = Token(QStringLiteral("|"), answer, 1);
    if (!AllDigits(first) || first.size() > 9)
        return std::nullopt;
    NewsItem item;
    item.number = first.toInt();
    if (item.number <= 0)
        return std::nullopt;
    item.title = Token(QStringLiteral("|"), answer, 2);
    item.text = Token(QStringLiteral("|"), answer, 3);
    return item;
}

void AcceptVersion(const QString& version) {
    ExecSql(QStringLiteral("UPDATE beallit SET verzioelfogadva = ") + SqlStr(version) + QLatin1Char(';'));
}

void AcceptNews(int newsNumber) {
    // COALESCE: a NULL stored number is no obstacle (NULL < n is never true).
    ExecSql(QStringLiteral("UPDATE beallit SET hirelfogadva = %1 WHERE COALESCE(hirelfogadva, 0) < %1;")
                .arg(newsNumber));
}

int AcceptedNews() {
    return QueryInt(QStringLiteral("SELECT hirelfogadva FROM beallit;"), 0);
}

// ---- The checks ---------------------------------------------------------------

MakerChecks::MakerChecks(MakerCheckSettings settings, QObject* parent)
    : QObject(parent), m_settings(std::move(settings)) {
    m_timerVerzio.setObjectName(QStringLiteral("TimerVerzio"));
    m_timerVerzio.setInterval(2000);
    m_timerVerzio.setSingleShot(true);
    connect(&m_timerVerzio, &QTimer::timeout, this, &MakerChecks::checkNewVersion);
    m_timerHirek.setObjectName(QStringLiteral("TimerHirek"));
    m_timerHirek.setInterval(10000);
    m_timerHirek.setSingleShot(true);
    connect(&m_timerHirek, &QTimer::timeout, this, &MakerChecks::checkNews);
}

MakerChecks::~MakerChecks() {
    delete m_versionDownload;
    delete m_newsDownload;
}

void MakerChecks::start() {
    m_timerVerzio.start();
    m_timerHirek.start();
}

bool MakerChecks::isChecking() const {
    return (m_versionDownload && m_versionDownload->isRunning()) ||
           (m_newsDownload && m_newsDownload->isRunning());
}

QString MakerChecks::answerPath(const char* name) const {
    return m_settings.dataFolder + QLatin1Char('/') + QLatin1String(name);
}

void MakerChecks::checkNewVersion() {
    if (m_versionDownload)
        return; // once per start
    const QString file = answerPath("Verkov.txt");
    QFile::remove(file);
    DownloadLimits limits = m_settings.limits;
    limits.caFile = m_settings.endpoint.caFile;
    m_versionDownload = new BackgroundDownload(VersionAddress(m_settings.endpoint), file, limits, this);
    connect(m_versionDownload, &BackgroundDownload::finished, this, &MakerChecks::versionArrived);
    m_versionDownload->start();
}

void MakerChecks::versionArrived(bool ok) {
    bool shown = false;
    const QString file = answerPath("Verkov.txt");
    if (ok && QFile::exists(file)) {
        if (const std::optional<VersionNotice> notice = ParseVersionAnswer(ReadAnswerFile(file))) {
            const QString accepted =
                QueryStr(QStringLiteral("SELECT verzioelfogadva FROM beallit;"), m_settings.ownVersion);
            if (IsNewerBuild(notice->version, accepted, m_settings.ownVersion)) {
                shown = true;
                if (ShowVersionNotice(notice->version, notice->text))
                    AcceptVersion(notice->version);
            }
        }
    }
    emit versionChecked(shown);
}

void MakerChecks::checkNews() {
    if (m_newsDownload)
        return;
    const int last = AcceptedNews();
    const QString file = answerPath("hirkov.txt");
    QFile::remove(file);
    DownloadLimits limits = m_settings.limits;
    limits.caFile = m_settings.endpoint.caFile;
    m_newsDownload = new BackgroundDownload(NewsAddress(m_settings.endpoint, last), file, limits, this);
    connect(m_newsDownload, &BackgroundDownload::finished, this, &MakerChecks::newsArrived);
    m_newsDownload->start();
}

void MakerChecks::newsArrived(bool ok) {
    bool shown = false;
    const QString file = answerPath("hirkov.txt");
    if (ok && QFile::exists(file)) {
        if (const std::optional<NewsItem> news = ParseNewsAnswer(ReadAnswerFile(file))) {
            shown = true;
            ShowNewsWindow(*news, NewsDetailsAddress(m_settings.endpoint, news->number));
        }
    }
    emit newsChecked(shown);
}

// ---- The maker's message ------------------------------------------------------

std::optional<MakerMessage> ReadMakerMessage() {
    Query qry;
    qry.setSql(QStringLiteral("SELECT * FROM uzenet WHERE olvasva = 'N' ORDER BY 1;"));
    qry.open();
    if (qry.isEmpty())
        return std::nullopt;
    qry.first();
    MakerMessage m;
    m.number = int(qry.asInt(QStringLiteral("uzenet")));
    m.text = qry.asString(QStringLiteral("szoveg"));
    m.link = qry.asString(QStringLiteral("link")).trimmed();
    m.onlyOnce = qry.asString(QStringLiteral("csakegyszer")) != QLatin1String("N");
    return m;
}

void AcknowledgeMakerMessage(int number, bool forGood) {
    if (forGood)
        ExecSql(QStringLiteral("UPDATE uzenet SET olvasva = 'I', dat_olvasva = NOW() WHERE uzenet = %1;")
                    .arg(number));
    else
        ExecSql(QStringLiteral("UPDATE uzenet SET dat_olvasva = NOW() WHERE uzenet = %1;").arg(number));
}

} // namespace kml
