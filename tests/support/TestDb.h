#pragma once
// The test database: a private PostgreSQL started by scripts/test.sh, described by ZV_TEST_PG*.
#include "db/DM.h"

#include <QString>
#include <memory>

namespace testsupport {

QString env(const char* name);
bool testDatabaseConfigured();

// Connection parameters for the test database in the program's own names (server, port ...).
void applyTestParams(db::Connection& connection);

// Creates the data module (DM) connected to the test database for the test's lifetime.
class TestDataModule {
public:
    TestDataModule(); // throws when the database is not configured or refuses the connection
    ~TestDataModule();
    TDM& dm() { return *m_dm; }

private:
    std::unique_ptr<TDM> m_dm;
};

// Runs psql as the cluster's superuser (for statistics a read-only session cannot change).
QString superuserQuery(const QString& sql);

} // namespace testsupport

// Fails the test (instead of skipping it) when the database is missing: CI must never pass
// silently without one.
#define REQUIRE_TEST_DB()                                                                                    \
    do {                                                                                                     \
        if (!testsupport::testDatabaseConfigured())                                                          \
            QFAIL("ZV_TEST_PG* not set: run the tests through scripts/test.sh");                             \
    } while (0)
