#include "db/Query.h"

#include "db/Connection.h"
#include "db/Error.h"
#include "db/Placeholders.h"
#include "db/TiposPg.h"

#include <QRegularExpression>
#include <algorithm>
#include <libpq-fe.h>
#include <memory>
#include <optional>

namespace db {

namespace {

QStringList splitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            lines.append(text.mid(start, i - start));
            if (text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

// The server's answer until it is known to be a result.
struct Limpa {
    void operator()(PGresult* r) const { PQclear(r); }
};
using Resposta = std::unique_ptr<PGresult, Limpa>;

// The text form of a parameter and the type the server is told about (0: let it infer).
std::pair<QByteArray, Oid> bindable(const Value& v) {
    switch (v.kind()) {
    case ValueKind::Int:
    case ValueKind::UInt:
        return {QByteArray::number(v.toInt()), INT8OID};
    case ValueKind::Float:
        return {QByteArray::number(v.toDouble(), 'g', 17), FLOAT8OID};
    case ValueKind::Currency:
        return {QByteArray::number(v.toDouble(), 'f', 4), NUMERICOID};
    case ValueKind::Bool:
        return {v.toBool() ? "true" : "false", BOOLOID};
    case ValueKind::DateTime:
        return {v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toUtf8(), TIMESTAMPOID};
    default:
        return {v.toString().toUtf8(), 0};
    }
}

// Rewrites the text parameters that hold characters beyond ASCII in Windows-1252; false when
// none changed (or one has no Windows-1252 form).
bool emWindows1252(const std::vector<Value>& params, std::vector<QByteArray>& texts) {
    bool mudou = false;
    for (size_t i = 0; i < params.size(); ++i) {
        if (bindable(params[i]).second != 0)
            continue;
        const QString texto = params[i].toString();
        const bool soAscii =
            std::all_of(texto.begin(), texto.end(), [](QChar c) { return c.unicode() < 0x80; });
        if (soAscii)
            continue;
        const std::optional<QByteArray> legado = paraWindows1252(texto);
        if (!legado)
            return false;
        texts[i] = *legado;
        mudou = true;
    }
    return mudou;
}

} // namespace

Query::Query(Connection* connection, QObject* parent) : QObject(parent), m_connection(connection) {}

Query::~Query() = default;

void Query::setSql(const QString& text) {
    close();
    m_lines = splitLines(text);
    const TranslatedSql t = translatePlaceholders(m_lines.join(u'\n'));
    m_translated = t.text;
    m_paramCount = t.paramCount;
    m_params.resize(static_cast<size_t>(m_paramCount)); // values of surviving positions are kept
}

void Query::clearSql() {
    setSql(QString());
}

void Query::addSqlLine(const QString& line) {
    setSql(sql() + line);
}

QString Query::sql() const {
    QString s;
    for (const QString& line : m_lines) {
        s += line;
        s += QStringLiteral("\r\n");
    }
    return s;
}

void Query::setParam(int index, const Value& value) {
    if (index < 0 || index >= m_paramCount)
        throw RangeError(
            QStringLiteral("Parâmetro %1 fora da lista de parâmetros (%2)").arg(index).arg(m_paramCount));
    m_params[static_cast<size_t>(index)] = value;
}

Value Query::param(int index) const {
    if (index < 0 || index >= m_paramCount)
        throw RangeError(
            QStringLiteral("Parâmetro %1 fora da lista de parâmetros (%2)").arg(index).arg(m_paramCount));
    return m_params[static_cast<size_t>(index)];
}

void Query::open() {
    if (active())
        return;
    if (!m_connection || (!m_connection->connected() && !m_connection->handle()))
        throw Error(QStringLiteral("Conexão com o banco de dados não está aberta"), {}, sql());
    // A connection lost since the last query is made again before this one runs.
    if (!m_connection->connected() && !m_connection->restore())
        throw Error(m_connection->lastError(), {}, sql());

    std::vector<QByteArray> texts;
    std::vector<Oid> types;
    std::vector<const char*> values;
    texts.reserve(m_params.size());
    for (const Value& p : m_params) {
        auto [text, oid] = bindable(p);
        texts.push_back(text);
        types.push_back(oid);
    }
    for (size_t i = 0; i < m_params.size(); ++i)
        values.push_back(m_params[i].isNull() || m_params[i].isEmpty() ? nullptr : texts[i].constData());

    const QByteArray command = m_translated.toUtf8();
    const auto executa = [&] {
        return Resposta(m_connection->execute(command, m_paramCount, types.data(), values.data()));
    };
    Resposta res = executa();
    // The connection broke under this query (a server restart is noticed only now). The session
    // is read-only, so running the query again on a new connection is safe; if none can be made,
    // the failure of the query itself is what is reported.
    if (!m_connection->connected() && m_connection->restore())
        res = executa();
    // A SQL_ASCII database compares bytes, and typed text may be stored in either form: when
    // the UTF-8 form finds nothing, the Windows-1252 form is tried.
    if (m_connection->codificacao() == Codificacao::SqlAscii && res &&
        PQresultStatus(res.get()) == PGRES_TUPLES_OK && PQntuples(res.get()) == 0 &&
        emWindows1252(m_params, texts)) {
        for (size_t i = 0; i < m_params.size(); ++i)
            values[i] = m_params[i].isNull() || m_params[i].isEmpty() ? nullptr : texts[i].constData();
        res = executa();
    }
    if (!res)
        throw Error(QString::fromUtf8(PQerrorMessage(m_connection->handle())).trimmed(), {}, sql());
    const ExecStatusType status = PQresultStatus(res.get());
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
        const char* state = PQresultErrorField(res.get(), PG_DIAG_SQLSTATE);
        throw Error(QString::fromUtf8(PQresultErrorMessage(res.get())).trimmed(),
                    state ? QString::fromLatin1(state) : QString(), sql());
    }

    bool temDinheiro = false;
    for (int c = 0; c < PQnfields(res.get()); ++c)
        temDinheiro = temDinheiro || PQftype(res.get(), c) == MONEYOID;
    // Only a result holding money costs the question (once per connection).
    const int casas = temDinheiro ? m_connection->casasMonetarias() : -1;
    m_result = Result(res.release(), m_connection->codificacao(), casas);
    m_fields = m_result.fields();
    m_cache.clear();
    m_pending.clear();
    m_editing = false;
    // A filter that is on stays on across a re-open, bound to the new result's field.
    m_filterColumn = m_filtered ? fieldIndex(m_filterName) : -1;
    rebuildVisibleRows();
    first();
    announce();
}

void Query::close() {
    if (!active())
        return;
    m_result = Result();
    m_fields.clear();
    m_visible.clear();
    m_cache.clear();
    m_pending.clear();
    m_editing = false;
    m_filterColumn = -1;
    m_current = -1;
    m_eof = m_bof = true;
    announce();
}

int Query::fieldIndex(const QString& name) const {
    for (size_t i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

const Field& Query::field(int index) const {
    if (index < 0 || index >= fieldCount())
        throw RangeError(
            QStringLiteral("Campo %1 fora da lista de campos (%2)").arg(index).arg(fieldCount()));
    return m_fields[static_cast<size_t>(index)];
}

void Query::setFieldReadOnly(int index, bool readOnly) {
    field(index); // range check
    m_fields[static_cast<size_t>(index)].readOnly = readOnly;
}

void Query::first() {
    m_current = m_visible.empty() ? -1 : 0;
    m_bof = true;
    m_eof = m_visible.empty();
    announceCurrent();
}

void Query::next() {
    if (m_visible.empty() || m_current + 1 >= rowCount()) {
        m_eof = true;
        return;
    }
    ++m_current;
    m_bof = false;
    announceCurrent();
}

void Query::prior() {
    if (m_current <= 0) {
        m_bof = true;
        return;
    }
    --m_current;
    m_eof = false;
    announceCurrent();
}

void Query::last() {
    m_current = rowCount() - 1;
    m_eof = true;
    m_bof = m_visible.empty();
    announceCurrent();
}

void Query::moveTo(int row) {
    if (m_visible.empty())
        return;
    m_current = qBound(0, row, rowCount() - 1);
    m_bof = m_eof = false;
    announceCurrent();
}

int Query::rawRow(int row) const {
    if (row < 0 || row >= rowCount())
        throw RangeError(QStringLiteral("Linha %1 fora do resultado (%2 linhas)").arg(row).arg(rowCount()));
    return m_visible[static_cast<size_t>(row)];
}

Value Query::rawValue(int raw, int column) const {
    if (column < 0 || column >= fieldCount())
        throw RangeError(
            QStringLiteral("Campo %1 fora da lista de campos (%2)").arg(column).arg(fieldCount()));
    if (auto r = m_cache.find(raw); r != m_cache.end())
        if (auto c = r->second.find(column); c != r->second.end())
            return c->second;
    return m_result.value(raw, column);
}

Value Query::value(int column) const {
    if (m_current < 0) {
        field(column);        // a missing column is still an error
        return Value::null(); // no row: every column counts as null
    }
    if (m_editing)
        if (auto p = m_pending.find(column); p != m_pending.end())
            return p->second;
    return rawValue(rawRow(m_current), column);
}

Value Query::value(int row, int column) const {
    if (m_editing && row == m_current)
        if (auto p = m_pending.find(column); p != m_pending.end())
            return p->second;
    return rawValue(rawRow(row), column);
}

Value Query::value(const QString& fieldName) const {
    const int c = fieldIndex(fieldName);
    if (c < 0)
        throw RangeError(QStringLiteral("Campo '%1' não encontrado").arg(fieldName));
    return value(c);
}

QString Query::displayText(int row, int column) const {
    const Value v = value(row, column);
    switch (v.kind()) {
    case ValueKind::DateTime: {
        const Field& f = field(column);
        const QDateTime dt = v.toDateTime();
        if (f.group == FieldGroup::Date)
            return dt.date().toString(QStringLiteral("dd/MM/yyyy"));
        if (f.group == FieldGroup::Time)
            return dt.time().toString(QStringLiteral("HH:mm:ss"));
        return dt.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    }
    case ValueKind::Float:
    case ValueKind::Currency:
        return QString::number(v.toDouble(), 'f', 2);
    case ValueKind::Bool:
        return v.toBool() ? QStringLiteral("Verdadeiro") : QStringLiteral("Falso");
    default:
        return v.toString();
    }
}

void Query::edit() {
    if (m_current < 0)
        throw RangeError(QStringLiteral("Não há registro para editar"));
    m_editing = true;
}

void Query::setValue(int column, const Value& v) {
    if (field(column).readOnly)
        throw AppError(QStringLiteral("O campo '%1' não pode ser modificado").arg(field(column).name));
    if (!m_editing)
        edit();
    m_pending[column] = v;
}

void Query::post() {
    if (!m_editing)
        return;
    const int raw = rawRow(m_current);
    for (auto& [column, v] : m_pending)
        m_cache[raw][column] = v;
    m_pending.clear();
    m_editing = false;
    if (m_filtered) {
        rebuildVisibleRows();
        const auto it = std::find(m_visible.begin(), m_visible.end(), raw);
        m_current = it == m_visible.end() ? (m_visible.empty() ? -1 : 0) : int(it - m_visible.begin());
        m_eof = m_visible.empty();
    }
    announce();
}

void Query::cancel() {
    m_pending.clear();
    m_editing = false;
}

void Query::setFilterText(const QString& expression) {
    m_filterText = expression;
    m_filterColumn = -1;
    if (m_filtered)
        setFiltered(true);
}

void Query::setFiltered(bool on) {
    if (on) {
        static const QRegularExpression form(QStringLiteral("^\\s*(\\w+)\\s*=\\s*'((?:[^']|'')*)'\\s*$"),
                                             QRegularExpression::UseUnicodePropertiesOption);
        const auto m = form.match(m_filterText);
        if (!m.hasMatch())
            throw AppError(QStringLiteral("Filtro inválido: %1").arg(m_filterText));
        m_filterName = m.captured(1);
        m_filterLiteral = m.captured(2).replace(QStringLiteral("''"), QStringLiteral("'"));
        m_filterColumn = -1;
        if (active()) {
            m_filterColumn = fieldIndex(m_filterName);
            if (m_filterColumn < 0)
                throw AppError(QStringLiteral("Campo '%1' não encontrado").arg(m_filterName));
        }
    }
    if (m_editing)
        post();
    m_filtered = on;
    rebuildVisibleRows();
    first();
    announce();
}

void Query::rebuildVisibleRows() {
    m_visible.clear();
    if (!active())
        return;
    const int n = m_result.rowCount();
    m_visible.reserve(static_cast<size_t>(n));
    for (int r = 0; r < n; ++r) {
        // A result without the filter's field has no row that matches it.
        if (m_filtered && (m_filterColumn < 0 || rawValue(r, m_filterColumn).toString() != m_filterLiteral))
            continue;
        m_visible.push_back(r);
    }
}

void Query::disableControls() {
    ++m_disableCount;
}

void Query::enableControls() {
    if (m_disableCount > 0 && --m_disableCount == 0 && m_pendingChange) {
        m_pendingChange = false;
        emit changed();
        emit currentChanged();
    }
}

void Query::announce() {
    if (m_disableCount > 0) {
        m_pendingChange = true;
        return;
    }
    emit changed();
}

void Query::announceCurrent() {
    if (m_disableCount > 0) {
        m_pendingChange = true;
        return;
    }
    emit currentChanged();
}

} // namespace db
