#pragma once

#include "window/IngestJob.h"

#include <QObject>
#include <QString>

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

    // Runs on the worker's thread.
    void ingest(const IngestJob &job);
    // Closes the worker's connection; the last call on its thread.
    void close();

    // Parses the answer's lines: the positions to offer to the table, and the newest time
    // of those left out because they are known or repeated.
    // The answer's new positions into rows, refused lines into result.
    static void parse(const IngestJob &job, std::vector<PositionRow> &rows, IngestResult &result,
                      qint32 &newestKnown);

signals:
    void ingested(const IngestResult &result);

private:
    bool open(QString *error);

    QString m_source;
    QString m_connection;
    std::unique_ptr<PositionStore> m_store;
};
