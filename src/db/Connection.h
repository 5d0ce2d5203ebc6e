#pragma once
// The program's one database connection: a name=value parameter list, opened with
// PQconnectdbParams. It never prompts for anything. Statements run through execute(), each in a
// read-only transaction of its own.
#include "db/Codificacao.h"

#include <QString>
#include <QStringList>
#include <memory>

struct pg_conn;
typedef struct pg_conn PGconn;
struct pg_result;
typedef struct pg_result PGresult;

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
    // UTF-8, or no conversion at all when the server's encoding is SQL_ASCII.
    Codificacao codificacao() const { return m_codificacao; }

    // Runs one statement with its parameters in text form (nullptr for NULL, types 0 to let the
    // server infer) in a READ ONLY transaction of its own, in one round trip: a setting made on
    // the session would not reach a pooler's other server sessions. The ISO date style the
    // results are read with is a start-up setting of the connection. Returns the statement's
    // result or the first failure; nullptr only when the connection gave none (PQerrorMessage
    // then says why).
    PGresult* execute(const QByteArray& command, int nParams, const unsigned* types,
                      const char* const* values);

    // The decimals money has in the server's lc_monetary (2 for most currencies, 0 for the yen,
    // 3 for the Kuwaiti dinar): money is written with exactly that many, whatever its symbols.
    // Asked once, when first needed; -1 when the server could not say.
    int casasMonetarias();

private:
    void ajustaCodificacao();

    struct Finish {
        void operator()(PGconn* c) const;
    };
    QString m_driverId;
    QStringList m_params;
    std::unique_ptr<PGconn, Finish> m_conn;
    Codificacao m_codificacao = Codificacao::Utf8;
    int m_casasMonetarias = -2; // -2: not asked yet
};

} // namespace db
