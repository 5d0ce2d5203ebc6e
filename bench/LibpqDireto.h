#pragma once
// What both benchmark programs need straight from libpq and /proc: a connection with the
// program's session settings, owners for libpq handles, and the process's peak memory.
// Header-only, so the bare window still carries nothing of the program's library.
#include <QByteArray>
#include <QFile>

#include <libpq-fe.h>
#include <memory>

namespace bench {

struct FechaConexao {
    void operator()(PGconn* c) const { PQfinish(c); }
};
struct LimpaResultado {
    void operator()(PGresult* r) const { PQclear(r); }
};
using Conexao = std::unique_ptr<PGconn, FechaConexao>;
using Resultado = std::unique_ptr<PGresult, LimpaResultado>;

// The same session settings as the program's connection, so the server does the same work.
// Check the status of what comes back: the connection may have failed.
inline Conexao conectaDireto(const QByteArray& host, const QByteArray& port, const QByteArray& user,
                             const QByteArray& password, const QByteArray& dbname, const char* aplicacao) {
    const char* chaves[] = {"host",
                            "port",
                            "user",
                            "password",
                            "dbname",
                            "client_encoding",
                            "options",
                            "application_name",
                            "connect_timeout",
                            nullptr};
    const char* valores[] = {host.constData(),
                             port.constData(),
                             user.constData(),
                             password.constData(),
                             dbname.constData(),
                             "UTF8",
                             "-c default_transaction_read_only=on -c DateStyle=ISO",
                             aplicacao,
                             "15",
                             nullptr};
    return Conexao(PQconnectdbParams(chaves, valores, 0));
}

// Peak resident memory of this process in kB, -1 when unknown.
inline long picoDeMemoria() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& linha : f.readAll().split('\n'))
        if (linha.startsWith("VmHWM:"))
            return linha.mid(6).trimmed().split(' ').front().toLong();
    return -1;
}

} // namespace bench
