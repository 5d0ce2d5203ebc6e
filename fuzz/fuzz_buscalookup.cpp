// The search flows' listing helpers and the chains they start: the filtered search (listing prepared,
// first field taken, explicit-field rewrite) and the multi-choice window (mark column put in front,
// cap, rewrites for typing and titles), each through the query's round trip.
#include "Entrada.h"
#include "lookup/BuscaLookup.h"
#include "search/TrocaTextoSQL.h"

namespace {

const QString kMarcacao = QStringLiteral("select cast('' as varchar(1)) as check, ");

void confere(const QString& sql) {
    for (const bool limitar : {false, true}) {
        const QString listagem = PreparaListagem(sql, limitar);
        const QString semPontoEVirgula = sql.endsWith(u';') ? sql.chopped(1) : sql;
        if (limitar && !semPontoEVirgula.contains(QStringLiteral(" limit ")))
            FUZZ_CHECK(listagem == semPontoEVirgula + QStringLiteral(" limit 50;"), sql);
        else
            FUZZ_CHECK(listagem == semPontoEVirgula, sql);

        const QString campo = retornaPrimeiroCampo(listagem);
        FUZZ_CHECK(!campo.contains(u',') && listagem.contains(campo), listagem);

        const QString marcada = ListagemComMarcacao(listagem);
        FUZZ_CHECK(marcada.startsWith(kMarcacao), listagem);
        FUZZ_CHECK(listagem.endsWith(QStringView(marcada).sliced(kMarcacao.size())), listagem);

        // The filtered search's explicit field; the rewrite may refuse the text, with our exception only.
        fuzz::tenta([&] {
            (void)TrocaTextoSQL(fuzz::comoQuery(listagem), campo, FormaTroca::TextoDaSQL, 0, 0, false);
        });

        // The multi-choice window: the mark column in front first, then the cap; typing and titles
        // on the mark column and on the first field.
        const QString multipla =
            fuzz::comoQuery(PreparaListagem(ListagemComMarcacao(semPontoEVirgula), limitar));
        for (const QString& nome : {QStringLiteral("CHECK"), campo.toUpper()})
            for (const FormaTroca forma : {FormaTroca::Digitacao, FormaTroca::Titulo})
                fuzz::tenta([&] { (void)TrocaTextoSQL(multipla, nome, forma, 1, 1, limitar); });
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho) {
    for (const QString& sql : fuzz::leituras(dados, tamanho))
        confere(sql);
    return 0;
}
