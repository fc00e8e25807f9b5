#include "window/PositionIngest.h"

#include "window/PositionIngestWorker.h"

#include <QSqlDatabase>

PositionIngest::PositionIngest(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<IngestJob>();
    qRegisterMetaType<IngestResult>();
    m_thread.setObjectName(QStringLiteral("positions"));
    // Without a parent: it lives on the worker thread and is deleted here once that ended.
    m_worker = std::make_unique<PositionIngestWorker>(QLatin1String(QSqlDatabase::defaultConnection));
    m_worker->moveToThread(&m_thread);
    connect(m_worker.get(), &PositionIngestWorker::ingested, this, [this](const IngestResult &result) {
        --m_pending;
        emit ingested(result);
    });
    m_thread.start();
}

PositionIngest::~PositionIngest()
{
    // Queued after every answer handed over, so those are stored first.
    QMetaObject::invokeMethod(m_worker.get(), &PositionIngestWorker::close, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

void PositionIngest::submit(IngestJob job)
{
    ++m_pending;
    if (m_worker->enqueue(std::move(job)))
        QMetaObject::invokeMethod(m_worker.get(), &PositionIngestWorker::drain, Qt::QueuedConnection);
}
