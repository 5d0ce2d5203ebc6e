// The search flows' listing helpers and the multi-choice prefix, and the filtered search's chain:
// listing prepared, first field taken, mark column put in front, the query's round trip, and the
// explicit-field rewrite on top.
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

        // The rewrite may refuse the text, with our exception only.
        fuzz::tenta([&] {
            (void)TrocaTextoSQL(fuzz::comoQuery(marcada), campo, FormaTroca::TextoDaSQL, 0, 0, false);
        });
        fuzz::tenta([&] {
            (void)TrocaTextoSQL(fuzz::comoQuery(listagem), campo, FormaTroca::TextoDaSQL, 0, 0, false);
        });
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho) {
    for (const QString& sql : fuzz::leituras(dados, tamanho))
        confere(sql);
    return 0;
}
