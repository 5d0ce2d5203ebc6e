#pragma once
// The program's one database connection: a name=value parameter list, opened with
// PQconnectdbParams as a UTF8, read-only session. It never prompts for anything.
#include <QString>
#include <QStringList>
#include <memory>

struct pg_conn;
typedef struct pg_conn PGconn;

namespace db {

class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void setDriverId(const QString& id) { m_driverId = id; }
    const QString& driverId() const { return m_driverId; }

    // Names are compared without regard to case; an empty value removes the entry so that
    // libpq's own default (environment, default port ...) applies.
    void setParam(const QString& name, const QString& value);
    QString param(const QString& name) const;
    const QStringList& params() const { return m_params; } // "name=value" lines

    void open();
    void close();
    bool connected() const;
    // A connection that was open and has been lost (the server restarted, the network dropped) is
    // made again with the same settings, once per call. False when it was never opened or the
    // attempt failed; lastError() then says why.
    bool restore();
    QString lastError() const;
    PGconn* handle() const { return m_conn.get(); }

private:
    struct Finish {
        void operator()(PGconn* c) const;
    };
    QString m_driverId;
    QStringList m_params;
    std::unique_ptr<PGconn, Finish> m_conn;
};

} // namespace db
