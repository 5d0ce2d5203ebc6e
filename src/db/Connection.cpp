#include "db/Connection.h"

#include "db/Error.h"

#include <libpq-fe.h>
#include <vector>

namespace db {

namespace {

// Our parameter names (kept from the host application's command line) to libpq keywords.
QByteArray libpqKeyword(const QString& name) {
    const QString n = name.toLower();
    if (n == u"server")
        return "host";
    if (n == u"user_name")
        return "user";
    if (n == u"database")
        return "dbname";
    return n.toUtf8();
}

} // namespace

void Connection::Finish::operator()(PGconn* c) const {
    PQfinish(c);
}

Connection::Connection() = default;
Connection::~Connection() = default;

void Connection::setParam(const QString& name, const QString& value) {
    const QString prefix = name + u'=';
    qsizetype found = -1;
    for (qsizetype i = 0; i < m_params.size(); ++i) {
        if (m_params[i].startsWith(prefix, Qt::CaseInsensitive)) {
            found = i;
            break;
        }
    }
    if (value.isEmpty()) {
        if (found >= 0)
            m_params.removeAt(found);
    } else if (found >= 0) {
        m_params[found] = prefix + value;
    } else {
        m_params.append(prefix + value);
    }
}

QString Connection::param(const QString& name) const {
    const QString prefix = name + u'=';
    for (const QString& p : m_params)
        if (p.startsWith(prefix, Qt::CaseInsensitive))
            return p.mid(prefix.size());
    return {};
}

void Connection::open() {
    if (connected())
        return;
    if (m_driverId.compare(u"PG", Qt::CaseInsensitive) != 0)
        throw Error(QStringLiteral("Driver de banco de dados não suportado: \"%1\"").arg(m_driverId));

    std::vector<QByteArray> keys;
    std::vector<QByteArray> values;
    for (const QString& p : m_params) {
        const qsizetype eq = p.indexOf(u'=');
        keys.push_back(libpqKeyword(p.left(eq)));
        values.push_back(p.mid(eq + 1).toUtf8());
    }
    // The session can never write, whatever the SQL says; text arrives as UTF8.
    keys.push_back("client_encoding");
    values.push_back("UTF8");
    keys.push_back("options");
    values.push_back("-c default_transaction_read_only=on -c DateStyle=ISO -c lc_monetary=C");
    keys.push_back("application_name");
    values.push_back("relenderecamento");
    keys.push_back("connect_timeout");
    values.push_back("15");

    std::vector<const char*> k;
    std::vector<const char*> v;
    for (size_t i = 0; i < keys.size(); ++i) {
        k.push_back(keys[i].constData());
        v.push_back(values[i].constData());
    }
    k.push_back(nullptr);
    v.push_back(nullptr);

    std::unique_ptr<PGconn, Finish> conn(PQconnectdbParams(k.data(), v.data(), 0));
    if (!conn)
        throw Error(QStringLiteral("Sem memória para abrir a conexão com o banco de dados"));
    if (PQstatus(conn.get()) != CONNECTION_OK)
        throw Error(QString::fromUtf8(PQerrorMessage(conn.get())).trimmed());
    m_conn = std::move(conn);
}

void Connection::close() {
    m_conn.reset();
}

bool Connection::connected() const {
    return m_conn && PQstatus(m_conn.get()) == CONNECTION_OK;
}

bool Connection::restore() {
    if (!m_conn)
        return false;
    if (PQstatus(m_conn.get()) != CONNECTION_OK)
        PQreset(m_conn.get());
    return connected();
}

QString Connection::lastError() const {
    return m_conn ? QString::fromUtf8(PQerrorMessage(m_conn.get())).trimmed() : QString();
}

} // namespace db
