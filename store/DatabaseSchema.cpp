#include "store/DatabaseSchema.h"

#include "store/MessagePresenter.h"
#include "store/Sql.h"

#include <QCoreApplication>
#include <QDebug>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

struct SeededRace
{
    const QString &statement;
    int taskId;
    int von;
    int bis;
};

void createNew(QSqlQuery &query)
{
    query.exec(Sql::Version::create);
    query.prepare(Sql::Version::insert);
    query.bindValue(QStringLiteral(":version"), Sql::schemaVersion);
    query.exec();
    query.exec(Sql::Regatta::create);
    query.exec(Sql::Regatta::insertRace2010);
    query.exec(Sql::Regatta::insertRace2011);
    query.exec(Sql::Ship::create);
    query.exec(Sql::Track::create);
}

void runUpgradeSteps(QSqlQuery &query, int version)
{
    for (const Sql::Upgrade::Step &step : Sql::Upgrade::steps) {
        if (version > step.threshold)
            continue;
        for (int i = 0; i < step.count; ++i)
            query.exec(QString::fromLatin1(step.statements[i]));
    }
}

void seed2024Races(QSqlQuery &query)
{
    int firstId = 2024;
    query.exec(Sql::Regatta::selectMaxId);
    if (query.next() && query.value(0).toInt() != 0)
        firstId = query.value(0).toInt() + 1;
    query.clear();

    query.exec(Sql::Regatta::select2024);
    if (query.next())
        return;
    query.clear();

    const SeededRace races[] = {
        {Sql::Regatta::insert2024Test, 279, 1712743200, 1712987940},
        {Sql::Regatta::insert2024Training, 280, 1712988000, 1713167940},
        {Sql::Regatta::insert2024Race, 281, 1713168000, 1713628800},
    };
    int id = firstId;
    for (const SeededRace &race : races) {
        query.prepare(race.statement);
        query.bindValue(QStringLiteral(":id"), id++);
        query.bindValue(QStringLiteral(":event_id"), 125);
        query.bindValue(QStringLiteral(":task_id"), race.taskId);
        query.bindValue(QStringLiteral(":von"), race.von);
        query.bindValue(QStringLiteral(":bis"), race.bis);
        query.exec();
    }
}

} // namespace

void DatabaseSchema::createOrUpgrade(bool fileExisted, MessagePresenter &messages)
{
    QSqlDatabase db = QSqlDatabase::database();
    QSqlQuery query;
    int version = 1;
    if (!fileExisted) {
        messages.show(MessagePresenter::Icon::Information,
                      QCoreApplication::translate("DatabaseSchema", "Initialisierung..."),
                      QCoreApplication::translate("DatabaseSchema", "Die Datenbank wird in der Version %1 neu angelegt.\n\n")
                          .arg(1),
                      MessageRequest::Ok);
        // Everything up to the version update is one transaction: a start that is killed on
        // the way leaves an empty file, which the next start creates anew, never half a schema.
        db.transaction();
        createNew(query);
    } else {
        query.prepare(Sql::Version::select);
        query.exec();
        if (query.next()) {
            version = query.value(0).toInt();
            if (version > Sql::schemaVersion - 1)
                return;
        }
        query.finish();
        db.transaction();
    }

    messages.show(MessagePresenter::Icon::Information, QCoreApplication::translate("DatabaseSchema", "Update..."),
                  QCoreApplication::translate("DatabaseSchema",
                                              "Die Datenbank wird von Version %1 auf die neueste Version %2 aktualisiert.\n\n")
                      .arg(version)
                      .arg(Sql::schemaVersion),
                  MessageRequest::Ok);

    runUpgradeSteps(query, version);
    seed2024Races(query);

    query.clear();
    query.prepare(Sql::Version::update);
    query.bindValue(QStringLiteral(":version"), Sql::schemaVersion);
    query.exec();
    query.finish();
    if (!db.commit()) {
        qWarning() << "DatabaseSchema::createOrUpgrade," << db.lastError().text();
        db.rollback();
    }
}
