// The update feed as any bytes: the reader and its judging of items must not crash, and its
// verdict and error line must not depend on how the bytes arrive.
#include "store/AppIdentity.h"
#include "tests/fuzz/FuzzCheck.h"
#include "updater/FeedReader.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdio>

namespace {
struct Verdict
{
    FeedReader::Outcome outcome;
    FeedItem item;
    qint64 errorLine;
    QString errorText;
};

bool sameItem(const FeedItem &a, const FeedItem &b)
{
    return a.title == b.title && a.link == b.link && a.releaseNotesLink == b.releaseNotesLink && a.pubDate == b.pubDate
           && a.url == b.url && a.version == b.version && a.platform == b.platform
           && a.minPrevVersion == b.minPrevVersion && a.programType == b.programType && a.type == b.type
           && a.signature == b.signature && a.length == b.length;
}

bool operator==(const Verdict &a, const Verdict &b)
{
    if (a.outcome != b.outcome)
        return false;
    if (a.outcome == FeedReader::Outcome::Failed)
        return a.errorLine == b.errorLine && a.errorText == b.errorText;
    return a.outcome != FeedReader::Outcome::Decided || sameItem(a.item, b.item);
}

Verdict verdictOf(const FeedReader &reader, FeedReader::Outcome outcome)
{
    return {outcome, reader.item(), reader.errorLine(), reader.errorText()};
}

// Piece lengths taken from the document's own bytes, so every input brings its own cuts.
QList<QByteArray> pieces(const QByteArray &document, int mode)
{
    QList<QByteArray> result;
    qsizetype at = 0;
    qsizetype k = 0;
    while (at < document.size()) {
        qsizetype length = 1;
        if (mode == 1)
            length = 1 + static_cast<unsigned char>(document[k++ % document.size()]) % 17;
        else if (mode == 2)
            length = 1 + static_cast<unsigned char>(document[document.size() - 1 - (k++ % document.size())]) % 97;
        result << document.mid(at, length);
        at += length;
    }
    return result;
}

// As the updater reads the feed: all pieces in, then one parse.
Verdict readAtEnd(const QList<QByteArray> &parts)
{
    FeedReader reader;
    for (const QByteArray &p : parts)
        reader.addData(p);
    return verdictOf(reader, reader.parse());
}

// Parsing after every piece, as a reader that decides while the feed still arrives.
Verdict readAsItComes(const QList<QByteArray> &parts)
{
    FeedReader reader;
    FeedReader::Outcome outcome = FeedReader::Outcome::Undecided;
    for (qsizetype i = 0; i < parts.size() && outcome == FeedReader::Outcome::Undecided; ++i) {
        reader.addData(parts[i]);
        outcome = reader.parse();
    }
    if (parts.isEmpty())
        outcome = reader.parse();
    return verdictOf(reader, outcome);
}

[[noreturn]] void differs(const char *how, const Verdict &whole, const Verdict &split)
{
    std::fprintf(stderr, "%s: whole %d line %lld \"%s\" / pieces %d line %lld \"%s\"\n", how, int(whole.outcome),
                 static_cast<long long>(whole.errorLine), qPrintable(whole.errorText), int(split.outcome),
                 static_cast<long long>(split.errorLine), qPrintable(split.errorText));
    FuzzCheck::fail("the verdict depends on how the bytes arrive", __FILE__, __LINE__);
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzCheck::silenceDiagnostics();
    // Items are judged against the running program's version.
    QCoreApplication::setApplicationVersion(QLatin1String(AppIdentity::applicationVersion));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray document(reinterpret_cast<const char *>(data), qsizetype(size));
    const Verdict whole = readAtEnd({document});
    if (whole.outcome == FeedReader::Outcome::Failed)
        FUZZ_CHECK(whole.errorLine >= 1 && !whole.errorText.isEmpty());
    for (int mode = 0; mode < 3; ++mode) {
        const QList<QByteArray> parts = pieces(document, mode);
        const Verdict atEnd = readAtEnd(parts);
        if (!(atEnd == whole))
            differs("parsed at the end", whole, atEnd);
        // Each parse reads all text so far; byte by byte that would only slow the search.
        if (mode == 0)
            continue;
        const Verdict asItComes = readAsItComes(parts);
        if (!(asItComes == whole))
            differs("parsed after every piece", whole, asItComes);
    }
    return 0;
}
