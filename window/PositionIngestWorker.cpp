#include "window/PositionIngestWorker.h"

#include "store/PositionStore.h"
#include "window/TrackingProtocol.h"

#include <QSqlDatabase>
#include <QSqlError>

#include <algorithm>
#include <atomic>
#include <unordered_set>

using TrackingProtocol::LineError;

PositionIngestWorker::PositionIngestWorker(const QString &databaseConnection)
    : m_source(databaseConnection)
{
    static std::atomic<int> workers{0};
    m_connection = QStringLiteral("brisavela-positions-%1").arg(++workers);
}

PositionIngestWorker::~PositionIngestWorker()
{
    close();
}

bool PositionIngestWorker::open(QString *error)
{
    if (m_store)
        return true;
    // Cloned here, on the thread that will use it.
    QSqlDatabase db = QSqlDatabase::cloneDatabase(m_source, m_connection);
    if (!db.open()) {
        *error = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connection);
        return false;
    }
    m_store = std::make_unique<PositionStore>(db);
    return true;
}

void PositionIngestWorker::close()
{
    if (!m_store)
        return;
    m_store.reset();
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

void PositionIngestWorker::parse(const IngestJob &job, std::vector<PositionRow> &rows, IngestResult &result,
                                 qint32 &newestKnown)
{
    std::unordered_set<qint32> seen;
    newestKnown = 0;
    const QByteArray body = job.body.size() == 1 ? job.body.first() : job.body.join();
    for (const QByteArrayView line : TrackingProtocol::lines(QByteArrayView(body))) {
        LineError error = LineError::None;
        const std::optional<PositionRow> p = TrackingProtocol::parsePosition(line, &error);
        if (!p) {
            result.problems.push_back(error == LineError::FieldCount ? IngestResult::LineProblem::FieldCount
                                                                     : IngestResult::LineProblem::BadValue);
            continue;
        }
        // A position the track holds, or one repeated in the answer, is not offered again;
        // the table's unique index would refuse it all the same.
        if (!seen.insert(p->time).second
            || std::binary_search(job.knownTimes.begin(), job.knownTimes.end(), p->time)) {
            newestKnown = std::max(newestKnown, p->time);
            continue;
        }
        rows.push_back(*p);
    }
}

bool PositionIngestWorker::enqueue(IngestJob job)
{
    const QMutexLocker lock(&m_mutex);
    m_queue.push_back(std::move(job));
    if (m_draining)
        return false;
    m_draining = true;
    return true;
}

void PositionIngestWorker::drain()
{
    for (;;) {
        std::deque<IngestJob> jobs;
        {
            const QMutexLocker lock(&m_mutex);
            if (m_queue.empty()) {
                m_draining = false;
                return;
            }
            jobs.swap(m_queue);
        }
        ingest(std::move(jobs));
    }
}

void PositionIngestWorker::ingest(std::deque<IngestJob> jobs)
{
    std::vector<IngestResult> results(jobs.size());
    std::vector<std::vector<PositionRow>> rows(jobs.size());
    std::vector<PositionStore::Answer> answers(jobs.size());
    for (size_t k = 0; k < jobs.size(); ++k) {
        const IngestJob &job = jobs[k];
        IngestResult &result = results[k];
        result.shipId = job.shipId;
        result.eventId = job.eventId;
        result.tag = job.tag;
        result.generation = job.generation;
        qint32 newestKnown = 0;
        parse(job, rows[k], result, newestKnown);
        answers[k] = {job.shipId, job.eventId, job.lastget, &rows[k], newestKnown};
    }
    // Answers that queued up while the last ones were stored go in together: one commit
    // instead of one each.
    QString error;
    std::vector<PositionStore::Outcome> outcomes;
    if (open(&error)) {
        outcomes = m_store->writeAll(answers);
        // Opened while the file could not be written, SQLite keeps the connection read-only
        // for good; the next answers open it anew.
        if (!outcomes.empty() && !outcomes.front().ok)
            close();
    } else {
        outcomes.resize(jobs.size());
        for (size_t k = 0; k < jobs.size(); ++k)
            outcomes[k] = {false, error, {}, 0, jobs[k].lastget};
    }
    for (size_t k = 0; k < jobs.size(); ++k) {
        IngestResult &result = results[k];
        result.outcome = std::move(outcomes[k]);
        if (result.outcome.ok) {
            result.stored.reserve(result.outcome.inserted.size());
            for (const int i : result.outcome.inserted)
                result.stored.push_back(rows[k][size_t(i)]);
            std::stable_sort(result.stored.begin(), result.stored.end(),
                             [](const PositionRow &a, const PositionRow &b) { return a.time < b.time; });
        }
        emit ingested(result);
    }
}
