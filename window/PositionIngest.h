#pragma once

#include "window/IngestJob.h"

#include <QObject>
#include <QThread>

#include <memory>

class PositionIngestWorker;

// Hands position answers to a worker thread that parses and stores them, and brings the
// results back to this object's thread in the order the answers came.
class PositionIngest : public QObject
{
    Q_OBJECT
public:
    explicit PositionIngest(QObject *parent = nullptr);
    // Waits for the answers handed over so far: what reached the worker is stored.
    ~PositionIngest() override;

    void submit(IngestJob job);
    // Answers handed over whose results have not come back yet.
    int pending() const { return m_pending; }

signals:
    void ingested(const IngestResult &result);

private:
    QThread m_thread;
    std::unique_ptr<PositionIngestWorker> m_worker;
    int m_pending = 0;
};
