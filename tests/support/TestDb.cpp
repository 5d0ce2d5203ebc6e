#include "TestDb.h"

#include <QProcess>

namespace testsupport {

QString env(const char* name) {
    return qEnvironmentVariable(name);
}

bool testDatabaseConfigured() {
    return !env("ZV_TEST_PGPORT").isEmpty();
}

void applyTestParams(db::Connection& connection) {
    connection.setDriverId(QStringLiteral("PG"));
    connection.setParam(QStringLiteral("server"), env("ZV_TEST_PGHOST"));
    connection.setParam(QStringLiteral("port"), env("ZV_TEST_PGPORT"));
    connection.setParam(QStringLiteral("user_name"), env("ZV_TEST_PGUSER"));
    connection.setParam(QStringLiteral("password"), env("ZV_TEST_PGPASSWORD"));
    connection.setParam(QStringLiteral("database"), env("ZV_TEST_PGDATABASE"));
}

TestDataModule::TestDataModule() : m_dm(std::make_unique<TDM>()) {
    applyTestParams(m_dm->FDConnection1);
    m_dm->FDConnection1.open();
    DM = m_dm.get();
}

TestDataModule::~TestDataModule() {
    if (DM == m_dm.get())
        DM = nullptr;
}

QString superuserQuery(const QString& sql) {
    QProcess p;
    const QString script = env("ZV_SOURCE_DIR") + QStringLiteral("/demo/pgcluster.sh");
    p.start(QStringLiteral("bash"),
            {script, QStringLiteral("psql"), env("ZV_TEST_CLUSTER"), QStringLiteral("-At"),
             QStringLiteral("-d"), env("ZV_TEST_PGDATABASE"), QStringLiteral("-c"), sql});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

} // namespace testsupport
