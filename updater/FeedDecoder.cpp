#include "updater/FeedDecoder.h"

#include <QRegularExpression>

namespace {
const QByteArray declarationStart = "<?xml";
// A declaration longer than this is not waited for; the XML reader judges it as UTF-8.
constexpr qsizetype longestDeclaration = 1024;

bool isXmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
} // namespace

void FeedDecoder::clear()
{
    *this = FeedDecoder();
}

QString FeedDecoder::decode(const QByteArray &piece)
{
    if (m_failed)
        return QString();
    m_bytes += piece;
    if (m_stage == Stage::Sniffing && !chooseEncoding())
        return QString();
    return decodeFrom(m_decodedUpTo);
}

bool FeedDecoder::chooseEncoding()
{
    if (m_bytes.size() < 4)
        return false;
    // UTF-16 and UTF-32 show in the first four bytes, by their mark or by how '<' looks.
    const std::optional<QStringConverter::Encoding> detected =
        QStringConverter::encodingForData(QByteArrayView(m_bytes).first(4), u'<');
    if (detected && *detected != QStringConverter::Utf8) {
        m_encodingName = QStringConverter::nameForEncoding(*detected);
    } else {
        // Otherwise the XML declaration may name the encoding; a UTF-8 mark overrides it.
        // Only the first bytes count, however many have arrived: a declaration is looked
        // for where the document starts, not wherever a "?>" turns up later.
        const qsizetype mark = detected ? 3 : 0;
        const QByteArray head = m_bytes.mid(mark, longestDeclaration);
        if (head.size() <= declarationStart.size() && declarationStart.startsWith(head))
            return false;
        if (head.startsWith(declarationStart) && isXmlSpace(head.at(declarationStart.size()))) {
            const qsizetype end = head.indexOf("?>");
            if (end < 0 && head.size() < longestDeclaration)
                return false;
            static const QRegularExpression encoding(QStringLiteral("\\sencoding\\s*=\\s*([\"'])([^\"']*)\\1"));
            const QRegularExpressionMatch match =
                encoding.match(QString::fromLatin1(end < 0 ? head : head.left(end)));
            if (match.hasMatch() && mark == 0) {
                const QByteArray name = match.captured(2).toLatin1();
                if (!QStringDecoder(name.constData()).isValid()) {
                    fail(QStringLiteral("Encoding %1 is unsupported").arg(QString::fromLatin1(name)));
                    return false;
                }
                m_encodingName = name;
            }
        }
    }
    m_decoder = makeDecoder();
    m_stage = Stage::Decoding;
    return true;
}

QStringDecoder FeedDecoder::makeDecoder() const
{
    return m_encodingName.isEmpty() ? QStringDecoder(QStringDecoder::Utf8) : QStringDecoder(m_encodingName.constData());
}

QString FeedDecoder::decodeFrom(qsizetype start)
{
    QString text = m_decoder.decode(QByteArrayView(m_bytes).sliced(start));
    m_decodedUpTo = m_bytes.size();
    if (m_decoder.hasError()) {
        // Decoding again from the start up to the first bad byte gives the text before it,
        // whatever pieces the bytes came in.
        QStringDecoder fresh = makeDecoder();
        const QString before = fresh.decode(QByteArrayView(m_bytes).first(firstBadByteEnd(start) - 1));
        text = before.mid(m_decodedChars);
    }
    m_decodedChars += text.size();
    countLines(text);
    if (m_decoder.hasError())
        fail(QStringLiteral("Encountered incorrectly encoded content."));
    return text;
}

// The shortest prefix of the bytes that does not decode; the bytes up to cleanUpTo do.
qsizetype FeedDecoder::firstBadByteEnd(qsizetype cleanUpTo) const
{
    qsizetype clean = cleanUpTo;
    qsizetype bad = m_bytes.size();
    while (bad - clean > 1) {
        const qsizetype middle = clean + (bad - clean) / 2;
        QStringDecoder probe = makeDecoder();
        // The decoder works when its result is taken, not when it is called.
        const QString ignored = probe.decode(QByteArrayView(m_bytes).first(middle));
        (probe.hasError() ? bad : clean) = middle;
    }
    return bad;
}

// Line ends as XML counts them: LF, CR LF and a lone CR.
void FeedDecoder::countLines(const QString &text)
{
    for (const QChar c : text) {
        if (c == QLatin1Char('\n')) {
            if (!m_afterCarriageReturn)
                ++m_lines;
        } else if (c == QLatin1Char('\r')) {
            ++m_lines;
        }
        m_afterCarriageReturn = c == QLatin1Char('\r');
    }
}

void FeedDecoder::fail(const QString &text)
{
    m_failed = true;
    m_errorLine = m_lines;
    m_errorText = text;
}
