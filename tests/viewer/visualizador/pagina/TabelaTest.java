package visualizador.pagina;

import static org.junit.jupiter.api.Assertions.assertEquals;

import java.math.BigDecimal;
import java.time.LocalDate;
import java.time.LocalDateTime;
import java.util.ArrayList;
import java.util.Collections;
import java.util.List;
import java.util.stream.Stream;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;
import visualizador.design.Alinhamento;
import visualizador.design.Coluna;
import visualizador.design.TipoColuna;

/** The table every format without pages writes: its columns and the rows made from the engine's calls. */
class TabelaTest {
    private static Coluna coluna(String titulo, TipoColuna tipo, Alinhamento a, int casas, boolean total) {
        return new Coluna(titulo, "c", null, null, tipo, 50f, a, casas, total);
    }

    private static final Coluna DEP = coluna("Depósito", TipoColuna.TEXTO, Alinhamento.ESQUERDA, 0, false);
    private static final Coluna PROD = coluna("Produto", TipoColuna.INTEIRO, Alinhamento.DIREITA, 0, false);
    private static final Coluna QTD = coluna("Quantidade", TipoColuna.NUMERO, Alinhamento.DIREITA, 3, true);
    // Centred in the design: a summary still puts its figures to the right.
    private static final Coluna VAL = coluna("Valor", TipoColuna.NUMERO, Alinhamento.CENTRO, 2, true);
    private static final Coluna DATA = coluna("Data", TipoColuna.DATA, Alinhamento.CENTRO, 0, false);
    private static final List<Coluna> NORMAL = List.of(DEP, PROD, QTD, VAL, DATA);
    private static final int[] IDENTIDADE = {0, 1, 2, 3, 4};

    /** Lines in the order of NORMAL, by group. */
    private static final List<List<Object[]>> DOIS_GRUPOS = List.of(
            List.<Object[]>of(new Object[] {"1 - A", 12345L, new BigDecimal("1.500"), new BigDecimal("-3.00"), LocalDate.of(2013, 3, 23)},
                    new Object[] {"1 - A", 2L, new BigDecimal("1000.000"), new BigDecimal("2.25"), null}),
            List.<Object[]>of(new Object[] {"2 - B", 7L, new BigDecimal("-0.500"), new BigDecimal("0.10"), LocalDate.of(2020, 1, 2)}));

    static Stream<Arguments> casos() {
        final List<Object[]> muitas = Collections.nCopies(1234, DOIS_GRUPOS.get(0).get(1));
        return Stream.of(
            Arguments.of("lines, subtotals and the total", NORMAL, IDENTIDADE, false, DOIS_GRUPOS, """
                    [Depósito E, Produto D, Quantidade D, Valor C, Data C] rótulo 2
                    GRUPO:Depósito: 1 - A
                    DETALHE:|1 - A|12345|1,500|-3,00*|23/03/2013
                    DETALHE:|1 - A|2|1.000,000|2,25|
                    SUBTOTAL:Total Depósito: 1 - A: 2 linhas|||1.001,500|-0,75*|
                    GRUPO:Depósito: 2 - B
                    DETALHE:|2 - B|7|-0,500*|0,10|02/01/2020
                    SUBTOTAL:Total Depósito: 2 - B: 1 linha|||-0,500*|0,10|
                    TOTAL:Total geral: 3 linhas|||1.001,000|-0,65*|
                    """),
            Arguments.of("summary: group, count, summed columns", NORMAL, IDENTIDADE, true, DOIS_GRUPOS, """
                    [Depósito E, Linhas D, Quantidade D, Valor D] rótulo 1
                    RESUMO:1 - A|1 - A|2|1.001,500|-0,75*
                    RESUMO:2 - B|2 - B|1|-0,500*|0,10
                    TOTAL_RESUMO:Total geral|Total geral|3|1.001,000|-0,65*
                    """),
            Arguments.of("a summary's count has thousands separators", NORMAL, IDENTIDADE, true, List.of(muitas), """
                    [Depósito E, Linhas D, Quantidade D, Valor D] rótulo 1
                    RESUMO:1 - A|1 - A|1.234|1.234.000,000|2.776,50
                    TOTAL_RESUMO:Total geral|Total geral|1.234|1.234.000,000|2.776,50
                    """),
            Arguments.of("a summed first column: the label spans nothing", List.of(QTD, DEP, PROD, VAL, DATA),
                    new int[] {2, 0, 1, 3, 4}, false, List.of(DOIS_GRUPOS.get(1)), """
                    [Quantidade D, Depósito E, Produto D, Valor C, Data C] rótulo 0
                    GRUPO:Depósito: 2 - B
                    DETALHE:|-0,500*|2 - B|7|0,10|02/01/2020
                    SUBTOTAL:Total Depósito: 2 - B: 1 linha|-0,500*|||0,10|
                    TOTAL:Total geral: 1 linha|-0,500*|||0,10|
                    """),
            Arguments.of("a summed first column in a summary keeps the design's order", List.of(QTD, DEP, PROD, VAL, DATA),
                    new int[] {2, 0, 1, 3, 4}, true, List.of(DOIS_GRUPOS.get(1)), """
                    [Depósito E, Linhas D, Quantidade D, Valor D] rótulo 1
                    RESUMO:2 - B|2 - B|1|-0,500*|0,10
                    TOTAL_RESUMO:Total geral|Total geral|1|-0,500*|0,10
                    """),
            Arguments.of("nothing summed: the label spans the table", List.of(DEP, PROD, DATA), new int[] {0, 1, 4},
                    false, List.of(DOIS_GRUPOS.get(1)), """
                    [Depósito E, Produto D, Data C] rótulo 3
                    GRUPO:Depósito: 2 - B
                    DETALHE:|2 - B|7|02/01/2020
                    SUBTOTAL:Total Depósito: 2 - B: 1 linha|||
                    TOTAL:Total geral: 1 linha|||
                    """),
            Arguments.of("nothing matched", NORMAL, IDENTIDADE, false, List.of(), """
                    [Depósito E, Produto D, Quantidade D, Valor C, Data C] rótulo 2
                    NENHUM_REGISTRO:Nenhum registro para os filtros escolhidos.
                    """),
            Arguments.of("nothing matched in a summary", NORMAL, IDENTIDADE, true, List.of(), """
                    [Depósito E, Linhas D, Quantidade D, Valor D] rótulo 1
                    NENHUM_REGISTRO:Nenhum registro para os filtros escolhidos.
                    """));
    }

    @ParameterizedTest(name = "{0}")
    @MethodSource("casos")
    void linhasDaTabela(String caso, List<Coluna> colunas, int[] ordem, boolean resumo, List<List<Object[]>> grupos,
                        String esperado) throws Exception {
        final Cabecalho c = new Cabecalho("R", List.of(), "Depósito", "Data", LocalDateTime.of(2026, 1, 1, 0, 0), colunas,
                resumo, List.of());
        final StringBuilder lido = new StringBuilder();
        final Totais geral = new Totais(colunas);
        final Totais doGrupo = new Totais(colunas);
        try (DestinoTabela d = new DestinoTabela(new Gravacao(lido))) {
            d.inicio(c);
            for (List<Object[]> grupo : grupos) {
                final String titulo = "Depósito: " + grupo.get(0)[0];
                doGrupo.zerar();
                d.inicioGrupo(titulo);
                for (Object[] normal : grupo) {
                    final Object[] v = new Object[ordem.length];
                    for (int i = 0; i < v.length; i++) v[i] = normal[ordem[i]];
                    geral.somar(v);
                    doGrupo.somar(v);
                    if (!resumo) d.linha(v);
                }
                d.fimGrupo(titulo, doGrupo);
            }
            d.fim(geral);
        }
        assertEquals(esperado, lido.toString());
    }

    /** Each row as the formats see it: kind, label, the printed cells, "*" after a negative one. */
    private static final class Gravacao implements SaidaTabela {
        private final StringBuilder s;
        private boolean completa;

        Gravacao(StringBuilder s) {
            this.s = s;
        }

        @Override
        public void inicio(Tabela t, Cabecalho c) {
            final List<String> colunas = new ArrayList<>();
            for (ColunaTabela col : t.colunas()) colunas.add(col.titulo() + " " + col.alinhamento().name().charAt(0));
            s.append(colunas).append(" rótulo ").append(t.colunasDoRotulo()).append('\n');
        }

        @Override
        public void linha(LinhaTabela l) {
            s.append(l.tipo()).append(':').append(l.rotulo() == null ? "" : l.rotulo());
            for (int i = 0; i < l.valores().length; i++) s.append('|').append(l.texto(i)).append(l.negativo(i) ? "*" : "");
            s.append('\n');
        }

        @Override
        public void fim() {
            completa = true;
        }

        @Override
        public void close() {
            if (!completa) s.append("incompleta\n");
        }
    }
}
