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

// Dates are read in ISO form (Result). libpq sends PGDATESTYLE as the start-up parameter
// DateStyle, which poolers accept and keep for their client whichever server session serves it
// (unlike "options"); it is set only while a connection is being made.
class DataIsoNoInicio {
public:
    DataIsoNoInicio() : m_tinha(qEnvironmentVariableIsSet(kVariavel)), m_antes(qgetenv(kVariavel)) {
        qputenv(kVariavel, "ISO");
    }
    ~DataIsoNoInicio() {
        if (m_tinha)
            qputenv(kVariavel, m_antes);
        else
            qunsetenv(kVariavel);
    }
    DataIsoNoInicio(const DataIsoNoInicio&) = delete;
    DataIsoNoInicio& operator=(const DataIsoNoInicio&) = delete;

private:
    static constexpr const char* kVariavel = "PGDATESTYLE";
    bool m_tinha;
    QByteArray m_antes;
};

bool datasIso(PGconn* c) {
    const char* estilo = PQparameterStatus(c, "DateStyle");
    return estilo != nullptr && qstrncmp(estilo, "ISO", 3) == 0;
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
    // Text arrives as UTF8, dates as ISO (DataIsoNoInicio). No "options": connection poolers
    // refuse it; the read-only rule comes with every statement (execute()).
    keys.push_back("client_encoding");
    values.push_back("UTF8");
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

    const DataIsoNoInicio iso;
    std::unique_ptr<PGconn, Finish> conn(PQconnectdbParams(k.data(), v.data(), 0));
    if (!conn)
        throw Error(QStringLiteral("Sem memória para abrir a conexão com o banco de dados"));
    if (PQstatus(conn.get()) != CONNECTION_OK)
        throw Error(QString::fromUtf8(PQerrorMessage(conn.get())).trimmed());
    m_conn = std::move(conn);
    ajustaCodificacao();
}

// A SQL_ASCII server refuses to send its non-ASCII bytes as UTF8 ("invalid byte sequence"): the
// session then asks for no conversion and the texts are read as they come (Codificacao).
void Connection::ajustaCodificacao() {
    m_casasMonetarias = -2; // a new session may have another lc_monetary
    m_codificacao = Codificacao::Utf8;
    const char* servidor = PQparameterStatus(m_conn.get(), "server_encoding");
    if (servidor == nullptr || qstrcmp(servidor, "SQL_ASCII") != 0)
        return;
    if (PQsetClientEncoding(m_conn.get(), "SQL_ASCII") != 0)
        throw Error(QString::fromUtf8(PQerrorMessage(m_conn.get())).trimmed());
    m_codificacao = Codificacao::SqlAscii;
}

PGresult* Connection::execute(const QByteArray& command, int nParams, const unsigned* types,
                              const char* const* values) {
    static constexpr char kInicio[] = "BEGIN READ ONLY";
    // Only when the session does not report ISO dates (a server or pooler that dropped the
    // start-up setting) does the statement fix them itself.
    static constexpr char kDatas[] = "SELECT set_config('DateStyle', 'ISO', true)";
    static constexpr char kFim[] = "COMMIT";
    PGconn* const c = m_conn.get();
    if (!c || PQenterPipelineMode(c) != 1)
        return nullptr;
    std::vector<const char*> sqls{kInicio};
    if (!datasIso(c))
        sqls.push_back(kDatas);
    // The statement's own result is the one at this step; whatever failed first wins over it.
    const int doComando = static_cast<int>(sqls.size());
    sqls.push_back(command.constData());
    sqls.push_back(kFim);
    const int etapas = static_cast<int>(sqls.size());
    const auto envia = [&](int i) {
        const bool comando = i == doComando;
        return PQsendQueryParams(c, sqls[static_cast<size_t>(i)], comando ? nParams : 0,
                                 comando ? types : nullptr, comando ? values : nullptr, nullptr, nullptr,
                                 0) == 1;
    };
    int enviados = 0;
    while (enviados < etapas && envia(enviados))
        ++enviados;
    const bool sincronizado = PQpipelineSync(c) == 1;

    PGresult* resposta = nullptr;
    PGresult* falha = nullptr;
    int etapa = 0; // whose results are coming; each statement's end with a nullptr
    while (PQstatus(c) == CONNECTION_OK) {
        PGresult* r = PQgetResult(c);
        if (!r) {
            if (++etapa > enviados && !sincronizado)
                break;
            continue;
        }
        const ExecStatusType status = PQresultStatus(r);
        if (status == PGRES_PIPELINE_SYNC) {
            PQclear(r);
            break;
        }
        const bool erro = status == PGRES_FATAL_ERROR || status == PGRES_BAD_RESPONSE;
        if (erro && !falha)
            falha = r;
        else if (etapa == doComando && !resposta && status != PGRES_PIPELINE_ABORTED && !erro)
            resposta = r;
        else
            PQclear(r);
    }
    PQexitPipelineMode(c);
    // A failed statement leaves its transaction open and aborted until it is rolled back.
    if (PQstatus(c) == CONNECTION_OK && PQtransactionStatus(c) != PQTRANS_IDLE)
        PQclear(PQexec(c, "ROLLBACK"));
    if (falha) {
        PQclear(resposta);
        return falha;
    }
    return resposta;
}

int Connection::casasMonetarias() {
    if (m_casasMonetarias != -2)
        return m_casasMonetarias;
    // money to numeric keeps the locale's decimals as the numeric's scale.
    const std::unique_ptr<PGresult, decltype(&PQclear)> r(
        execute("SELECT scale(1::money::numeric)", 0, nullptr, nullptr), PQclear);
    m_casasMonetarias = -1;
    if (r && PQresultStatus(r.get()) == PGRES_TUPLES_OK && PQntuples(r.get()) == 1) {
        bool ok = false;
        const int casas = QByteArray(PQgetvalue(r.get(), 0, 0)).toInt(&ok);
        if (ok && casas >= 0 && casas <= 10)
            m_casasMonetarias = casas;
    }
    return m_casasMonetarias;
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
    if (PQstatus(m_conn.get()) != CONNECTION_OK) {
        const DataIsoNoInicio iso;
        PQreset(m_conn.get());
        if (connected())
            ajustaCodificacao();
    }
    return connected();
}

QString Connection::lastError() const {
    return m_conn ? QString::fromUtf8(PQerrorMessage(m_conn.get())).trimmed() : QString();
}

} // namespace db
