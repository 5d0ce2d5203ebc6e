// Translation of the positional parameters :0, :1 ... into libpq's $1, $2 ...
//
// Besides crashes, checks that the translation only ever replaces a ":N" by "$N+1" and leaves every
// other character alone, that paramCount is the highest N plus one, and that no ":N" the translation
// itself would still take for a parameter is left in its output.
#include "Entrada.h"
#include "db/Placeholders.h"

#include <algorithm>

namespace {

bool digitoAscii(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Walks input and output side by side: where they differ, the input must hold ":digits" and the
// output "$" and that number plus one, within 1..paramCount. Returns the highest $k seen.
int confereSubstituicoes(const QString& entrada, const db::TranslatedSql& t) {
    const QString& saida = t.text;
    const QString contexto = entrada + QStringLiteral("\n=>\n") + saida;
    qsizetype i = 0;
    qsizetype o = 0;
    int maior = 0;
    while (i < entrada.size() && o < saida.size()) {
        if (entrada.at(i) == saida.at(o)) {
            ++i;
            ++o;
            continue;
        }
        FUZZ_CHECK(entrada.at(i) == u':' && saida.at(o) == u'$', contexto);
        qsizetype fimI = i + 1;
        while (fimI < entrada.size() && digitoAscii(entrada.at(fimI)))
            ++fimI;
        qsizetype fimO = o + 1;
        while (fimO < saida.size() && digitoAscii(saida.at(fimO)))
            ++fimO;
        FUZZ_CHECK(fimI > i + 1 && fimO > o + 1, contexto);
        bool okI = false;
        bool okO = false;
        const long long n = entrada.mid(i + 1, fimI - i - 1).toLongLong(&okI);
        const long long k = saida.mid(o + 1, fimO - o - 1).toLongLong(&okO);
        FUZZ_CHECK(okI && okO && k == n + 1, contexto);
        FUZZ_CHECK(k >= 1 && k <= t.paramCount, contexto);
        maior = std::max(maior, static_cast<int>(k));
        i = fimI;
        o = fimO;
    }
    FUZZ_CHECK(i == entrada.size() && o == saida.size(), contexto);
    return maior;
}

// Text without quotes, comments or dollar signs: every ":N" neither part of a "::" nor glued to a
// word is a parameter.
bool textoSimples(const QString& s) {
    for (const QChar c : s)
        if (c == u'\'' || c == u'"' || c == u'$' || c == u'-' || c == u'/')
            return false;
    return true;
}

int parametrosDoTextoSimples(const QString& s) {
    int maior = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s.at(i) != u':')
            continue;
        if (i + 1 < s.size() && s.at(i + 1) == u':') {
            ++i;
            continue;
        }
        qsizetype j = i + 1;
        while (j < s.size() && digitoAscii(s.at(j)))
            ++j;
        // Glued to a word it is not a parameter.
        if (j == i + 1 || (i > 0 && (s.at(i - 1).isLetterOrNumber() || s.at(i - 1) == u'_')))
            continue;
        bool ok = false;
        const long long n = s.mid(i + 1, j - i - 1).toLongLong(&ok);
        if (ok && n <= 65534) // absurd numbers stay as they are
            maior = std::max(maior, static_cast<int>(n + 1));
        i = j - 1;
    }
    return maior;
}

void confere(const QString& sql) {
    const db::TranslatedSql t = db::translatePlaceholders(sql);
    const int maior = confereSubstituicoes(sql, t);
    FUZZ_CHECK(maior == t.paramCount, sql);
    if (textoSimples(sql))
        FUZZ_CHECK(t.paramCount == parametrosDoTextoSimples(sql), sql);
    const db::TranslatedSql deNovo = db::translatePlaceholders(t.text);
    FUZZ_CHECK(deNovo.paramCount == 0 && deNovo.text == t.text, t.text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho) {
    for (const QString& sql : fuzz::leituras(dados, tamanho)) {
        confere(sql);
        // As the query holds it: lines joined with line feeds.
        db::Query q;
        q.setSql(sql);
        confere(q.sqlLines().join(u'\n'));
        FUZZ_CHECK(q.paramCount() == db::translatePlaceholders(q.sqlLines().join(u'\n')).paramCount, sql);
    }
    return 0;
}
