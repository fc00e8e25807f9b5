#pragma once

#include "window/IngestJob.h"

#include <QMutex>
#include <QObject>
#include <QString>

#include <deque>
#include <memory>

class PositionStore;

// Parses and stores position answers on a thread of its own, through a database connection
// of its own, so that a large answer never holds up the window.
class PositionIngestWorker : public QObject
{
    Q_OBJECT
public:
    // databaseConnection: the connection to clone (same file, same options).
    explicit PositionIngestWorker(const QString &databaseConnection);
    ~PositionIngestWorker() override;

    // Any thread: queues the answer; true if the queue was empty, so that drain() must be
    // called on the worker's thread.
    bool enqueue(IngestJob job);
    // Runs on the worker's thread: stores every queued answer, those that came together in
    // one transaction, until the queue is empty.
    void drain();
    // Closes the worker's connection; the last call on its thread.
    void close();

    // Parses the answer's lines: the positions to offer to the table into rows, refused lines
    // into result, and the newest time of those left out because they are known or repeated.
    static void parse(const IngestJob &job, std::vector<PositionRow> &rows, IngestResult &result,
                      qint32 &newestKnown);

signals:
    void ingested(const IngestResult &result);

private:
    bool open(QString *error);
    void ingest(std::deque<IngestJob> jobs);

    QString m_source;
    QString m_connection;
    std::unique_ptr<PositionStore> m_store;
    QMutex m_mutex;
    std::deque<IngestJob> m_queue;
    bool m_draining = false;
};
