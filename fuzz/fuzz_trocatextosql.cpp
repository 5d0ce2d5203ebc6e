// The search windows' SQL rewriting, every form, as the windows drive it: the query's text comes back
// with CR LF line ends, each result is set back into the query and rewritten again.
//
// Input: the SQL text, optionally "\0" and the field name; the settings are read from the last bytes
// (form, clicked column, previous column, descending, rounds, UTF-16 reading), so a bare SQL text is a
// valid input too.
#include "Entrada.h"
#include "search/TrocaTextoSQL.h"

#include <algorithm>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

// The alias after the k-th " AS " of the upper-cased text (what a column title would carry), or empty.
QString apelido(const QString& textoAux, int k) {
    const QString as = QStringLiteral(" AS ");
    qsizetype p = -1;
    for (int i = 0; i <= k; ++i) {
        p = textoAux.indexOf(as, p + 1);
        if (p < 0)
            return {};
    }
    qsizetype fim = p + as.size();
    while (fim < textoAux.size() && textoAux.at(fim) != u' ' && textoAux.at(fim) != u',' &&
           textoAux.at(fim) != u'\r' && textoAux.at(fim) != u'\n')
        ++fim;
    return textoAux.mid(p + as.size(), fim - p - as.size());
}

// What the window passes: upper-cased with full Unicode rules, except for the explicit field.
QString nomeDoChamador(const QString& nome, FormaTroca forma) {
    return forma == FormaTroca::TextoDaSQL ? nome : nome.toUpper();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho) {
    FuzzedDataProvider fdp(dados, tamanho);
    auto forma = static_cast<FormaTroca>(fdp.ConsumeIntegralInRange<int>(0, 2));
    int coluna = fdp.ConsumeIntegralInRange<int>(-1, 6);
    int colAnt = fdp.ConsumeIntegralInRange<int>(-1, 6);
    const bool decrescente = fdp.ConsumeBool();
    const int voltas = fdp.ConsumeIntegralInRange<int>(1, 4);
    const bool utf16 = fdp.ConsumeBool();
    const std::vector<uint8_t> resto = fdp.ConsumeRemainingBytes<uint8_t>();

    const auto nul = std::find(resto.begin(), resto.end(), uint8_t{0});
    const std::vector<uint8_t> bytesSql(resto.begin(), nul);
    const std::vector<uint8_t> bytesNome(nul == resto.end() ? nul : nul + 1, resto.end());
    const QString sql = utf16 ? fuzz::deUtf16(bytesSql) : fuzz::deUtf8(bytesSql);
    const bool nomeDado = nul != resto.end();
    const QString nomeDaEntrada = utf16 ? fuzz::deUtf16(bytesNome) : fuzz::deUtf8(bytesNome);

    QString texto = fuzz::comoQuery(sql);
    const QString textoAux = texto.toUpper();

    // The pieces on their own.
    fuzz::tenta([&] { (void)TrataOrdem(textoAux, forma, coluna, colAnt, decrescente); });
    fuzz::tenta([&] { (void)TrataOrdem(sql, forma, coluna, colAnt, decrescente); });
    const QString semUpper = ApagaUpper(textoAux);
    FUZZ_CHECK(semUpper == textoAux || semUpper.size() == textoAux.size() - 6, textoAux);
    (void)ApagaUpper(sql);
    const QString nomeDaColuna = nomeDado ? nomeDaEntrada : apelido(textoAux, std::max(coluna, 0));
    fuzz::tenta([&] {
        const QString campo = RetornaCampo(textoAux, nomeDaColuna.toUpper());
        FUZZ_CHECK(campo == nomeDaColuna.toUpper() || textoAux.contains(campo), textoAux);
    });

    // A session in the window: every result goes back into the query and is rewritten again, the
    // column just used becoming the previous one.
    for (int volta = 0; volta < voltas; ++volta) {
        const QString nome = nomeDado ? nomeDaEntrada : apelido(texto.toUpper(), std::max(coluna, 0));
        QString novo;
        const bool ok = fuzz::tenta([&] {
            novo = TrocaTextoSQL(texto, nomeDoChamador(nome, forma), forma, coluna, colAnt, decrescente);
        });
        if (!ok)
            break;
        FUZZ_CHECK(novo.contains(QStringLiteral(" as varchar(254))) ")), novo);
        texto = fuzz::comoQuery(novo);
        if (forma != FormaTroca::TextoDaSQL)
            colAnt = coluna;
        forma = static_cast<FormaTroca>((static_cast<int>(forma) + 1) % 3);
        coluna = (coluna + volta) % 4;
    }
    return 0;
}
