#include "common/Funcoes.h"

#include "base/AppError.h"
#include "db/DM.h"
#include "db/Query.h"

#include <QApplication>
#include <QLocale>
#include <QScopeGuard>

#include <cmath>

namespace {

const QDate kDataVazia(1500, 1, 1);
const QDate kDiaZero(1899, 12, 30);

// The separator a locale writes between the parts of a date or a time: the first character of its
// format that is neither a pattern letter nor a quote.
QString separadorDoFormato(const QString& formato, const QString& padrao) {
    for (const QChar c : formato)
        if (!c.isLetter() && c != u'\'' && !c.isSpace())
            return QString(c);
    return padrao;
}

// The locale's long time format without its time-zone part: a missing date is shown as a local
// wall-clock time, and the zone name would only add noise.
QString formatoHoraLonga(const QLocale& local) {
    const QString formato = local.timeFormat(QLocale::LongFormat);
    QString semZona;
    bool citando = false;
    for (const QChar c : formato) {
        if (c == u'\'')
            citando = !citando;
        if (!citando && c == u't')
            continue;
        semZona += c;
    }
    return semZona.trimmed();
}

// "#,##0.00": groups of three and two decimals with the user's separators.
QString formataMoeda(double valor) {
    const QLocale local;
    QString digitos = QString::number(std::fabs(valor), 'f', 2);
    const qsizetype ponto = digitos.indexOf(u'.');
    const QString inteiros = digitos.left(ponto);
    const QString decimais = digitos.mid(ponto + 1);
    QString agrupado;
    for (qsizetype i = 0; i < inteiros.size(); ++i) {
        if (i > 0 && (inteiros.size() - i) % 3 == 0)
            agrupado += local.groupSeparator();
        agrupado += inteiros.at(i);
    }
    const bool zero = inteiros == u"0" && decimais == u"00";
    return (valor < 0 && !zero ? QStringLiteral("-") : QString()) + agrupado + local.decimalPoint() +
           decimais;
}

db::Value valorVazio(db::FieldGroup grupo) {
    switch (grupo) {
    case db::FieldGroup::Text:
        return db::Value::fromText(QString());
    case db::FieldGroup::Number:
        return db::Value::fromInt(0, 32);
    case db::FieldGroup::Boolean:
        return db::Value::fromBool(false);
    case db::FieldGroup::Date:
    case db::FieldGroup::DateTime:
        return db::Value::fromDateTime(QDateTime(kDataVazia, QTime(0, 0)));
    case db::FieldGroup::Time:
        return db::Value::fromDateTime(0.0);
    case db::FieldGroup::Other:
        break;
    }
    return {};
}

db::Value valorOuVazio(const db::Query& query, int coluna) {
    const db::Value v = query.value(coluna);
    return v.isNull() ? valorVazio(query.field(coluna).group) : v;
}

} // namespace

bool sql_OpenQuery(db::Query& Query) {
    if (Query.active())
        return true;
    QApplication::setOverrideCursor(Qt::BusyCursor);
    const auto restaura = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    try {
        Query.open();
    } catch (const std::exception& e) {
        QApplication::changeOverrideCursor(Qt::ArrowCursor);
        const auto* erro = dynamic_cast<const AppError*>(&e);
        const QString mensagem = erro ? erro->message() : QString::fromUtf8(e.what());
        throw AppError(QStringLiteral("Erro na abertura da tabela") + QStringLiteral("\r\r") + mensagem +
                       QStringLiteral("\r\r") + Query.sql());
    }
    return true;
}

db::Value EncontraValor(const QString& TextoSql, const db::Value& Parametro) {
    if (DM == nullptr)
        throw AppError(QStringLiteral("Conexão com o banco de dados não está aberta"));
    db::Query query(&DM->FDConnection1);
    query.setSql(TextoSql);
    if (Parametro.isArray()) {
        const auto& itens = Parametro.array();
        for (size_t i = 0; i < itens.size(); ++i)
            query.setParam(static_cast<int>(i), itens[i]);
    } else if (query.paramCount() > 0) {
        query.setParam(0, Parametro);
    }
    sql_OpenQuery(query);
    query.first();

    if (query.fieldCount() == 1)
        return valorOuVazio(query, 0);
    if (query.fieldCount() == 0)
        return {};
    std::vector<db::Value> valores;
    valores.reserve(static_cast<size_t>(query.fieldCount()));
    for (int c = 0; c < query.fieldCount(); ++c)
        valores.push_back(valorOuVazio(query, c));
    return db::Value::fromArray(std::move(valores));
}

db::Value ConverterValoresString(const db::Value& Dados) {
    if (!Dados.isArray())
        return db::Value::fromText(FormataValorEmString(Dados));
    std::vector<db::Value> textos;
    textos.reserve(Dados.array().size());
    for (const db::Value& v : Dados.array())
        textos.push_back(db::Value::fromText(FormataValorEmString(v)));
    return db::Value::fromArray(std::move(textos));
}

QString FormataValorEmString(const db::Value& valor) {
    switch (valor.kind()) {
    case db::ValueKind::Empty:
    case db::ValueKind::Null:
    case db::ValueKind::Other:
    case db::ValueKind::Array:
        return {};
    case db::ValueKind::Int:
    case db::ValueKind::UInt:
        return QString::number(valor.toInt());
    case db::ValueKind::Float:
    case db::ValueKind::Currency:
        return formataMoeda(valor.toDouble());
    case db::ValueKind::DateTime: {
        const QLocale local;
        const QDateTime dt = valor.toDateTime();
        if (ValorNull(valor)) {
            const QString d = separadorDoFormato(local.dateFormat(QLocale::ShortFormat), QStringLiteral("/"));
            const QString t = separadorDoFormato(local.timeFormat(QLocale::LongFormat), QStringLiteral(":"));
            return dt.toString(QStringLiteral("dd") + d + QStringLiteral("MM") + d +
                               QStringLiteral("yyyy HH") + t + QStringLiteral("mm") + t +
                               QStringLiteral("ss"));
        }
        QString texto = local.toString(dt.date(), QLocale::ShortFormat);
        if (dt.time() != QTime(0, 0))
            texto += u' ' + local.toString(dt.time(), formatoHoraLonga(local));
        return texto;
    }
    case db::ValueKind::Text:
        return valor.text();
    case db::ValueKind::Bool:
        return valor.toBool() ? QStringLiteral("Verdadeiro") : QStringLiteral("Falso");
    }
    return {};
}

bool ValorNull(const db::Value& valor) {
    switch (valor.kind()) {
    case db::ValueKind::Empty:
    case db::ValueKind::Null:
        return true;
    case db::ValueKind::Int:
    case db::ValueKind::UInt:
        return valor.toInt() == 0;
    case db::ValueKind::Float:
    case db::ValueKind::Currency:
        return valor.toDouble() == 0.0;
    case db::ValueKind::DateTime: {
        const QDateTime dt = valor.toDateTime();
        const QTime t = dt.time();
        const bool meiaNoite = t.hour() == 0 && t.minute() == 0 && t.second() == 0;
        return meiaNoite && (dt.date() == kDataVazia || dt.date() == kDiaZero);
    }
    case db::ValueKind::Text:
        return valor.text().isEmpty();
    case db::ValueKind::Bool:
    case db::ValueKind::Other:
    case db::ValueKind::Array:
        return false;
    }
    return false;
}

QString SomenteNumeros(const QString& Documento) {
    QString digitos;
    for (const QChar c : Documento)
        if (c >= u'0' && c <= u'9')
            digitos += c;
    return digitos;
}

QString BuscaDisplayLabel(const db::Query* Ds, const QString& campo) {
    if (Ds != nullptr) {
        const int indice = Ds->fieldIndex(campo);
        if (indice >= 0)
            return Ds->field(indice).name; // the data layer keeps no separate titles
    }
    if (campo.isEmpty())
        throw RangeError(QStringLiteral("Nome de campo vazio"));
    QString titulo = campo;
    if (const QChar c = titulo.at(0); c >= u'a' && c <= u'z')
        titulo[0] = QChar(static_cast<char16_t>(c.unicode() - u'a' + u'A'));
    titulo.replace(u'_', u' ');
    return titulo;
}

qint32 BuscaDisplayWidth(const db::Query* Ds, const QString& campo) {
    if (Ds == nullptr)
        return 0;
    const int indice = Ds->fieldIndex(campo);
    return indice >= 0 ? Ds->field(indice).displayWidth : 0;
}

qint32 RetornaWidthDefault(db::FieldGroup TipoDoCampo) {
    switch (TipoDoCampo) {
    case db::FieldGroup::Text:
        return 35;
    case db::FieldGroup::Number:
        return 15;
    case db::FieldGroup::Boolean:
        return 5;
    case db::FieldGroup::Date:
        return 15;
    case db::FieldGroup::Time:
        return 8;
    case db::FieldGroup::DateTime:
        return 22;
    case db::FieldGroup::Other:
        break;
    }
    return 10;
}
