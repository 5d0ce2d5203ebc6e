package visualizador.pagina;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.math.BigDecimal;
import java.time.LocalDateTime;
import java.util.ArrayList;
import java.util.Collections;
import java.util.List;
import java.util.TreeMap;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import visualizador.design.Alinhamento;
import visualizador.design.Coluna;
import visualizador.design.TipoColuna;

/** The page model on its own, drawn on a surface that only records the text of each page. */
class DiagramacaoTest {
    private static final List<Coluna> COLUNAS = List.of(
            new Coluna("Depósito", "dep", null, "", TipoColuna.TEXTO, 80, Alinhamento.ESQUERDA, 0, false),
            new Coluna("Descrição", "des", null, "", TipoColuna.TEXTO, 200, Alinhamento.ESQUERDA, 0, false, false, true),
            new Coluna("Quantidade", "qtd", null, "", TipoColuna.NUMERO, 60, Alinhamento.DIREITA, 2, true));

    /**
     * Pages of many sizes of group: every line once and in order, a page after the first opens
     * with its group's header (continued or new), no page ends with a group header, and every page
     * carries "Página N de M".
     */
    @ParameterizedTest(name = "{0} grupos de {1} linhas, {2} filtros, página por grupo {3}")
    @CsvSource({"1, 10, 1, false", "3, 60, 1, false", "2, 200, 6, false", "40, 1, 1, false", "25, 7, 6, false",
        "0, 0, 1, false", "3, 60, 1, true", "40, 1, 6, true", "0, 0, 1, true"})
    void nadaSePerdeEOGrupoNuncaFicaSozinho(int grupos, int linhasPorGrupo, int filtros, boolean porGrupo)
            throws Exception {
        final Folhas folhas = new Folhas();
        final Diagramacao<FonteMeioEme> d = new Diagramacao<>(folhas);
        d.inicio(cabecalho(false, filtros).comPaginaPorGrupo(porGrupo));
        final Totais geral = new Totais(COLUNAS);
        final Totais grupo = new Totais(COLUNAS);
        final List<String> esperadas = new ArrayList<>();
        for (int g = 1; g <= grupos; g++) {
            d.inicioGrupo("Depósito: G" + g);
            grupo.zerar();
            for (int k = 1; k <= linhasPorGrupo; k++) {
                final Object[] v = {"G" + g, "P" + g + "-" + k, new BigDecimal(k % 3 == 0 ? "-1.50" : "2.25")};
                d.linha(v);
                geral.somar(v);
                grupo.somar(v);
                esperadas.add("P" + g + "-" + k);
            }
            d.fimGrupo("Depósito: G" + g, grupo);
        }
        d.fim(geral);

        assertEquals(d.paginas(), folhas.corpos.size());
        final List<String> vistas = new ArrayList<>();
        for (int p = 0; p < folhas.corpos.size(); p++) {
            final List<String> corpo = folhas.linhas(p);
            for (String l : corpo) if (l.startsWith("P")) vistas.add(l.split(" ")[0]);
            assertEquals("Página " + (p + 1) + " de " + d.paginas(), folhas.rodapes.get(p));
            // The page's text for the search: its frame's, then its body, as it reads.
            final String texto = folhas.textos.get(p);
            assertTrue(texto.startsWith("relação emitido em 02/01/2026 03:04:00"), texto);
            assertTrue(texto.contains(String.join(" ", corpo).toLowerCase(java.util.Locale.ROOT)), texto);
            assertEquals(p == 0 || filtros <= 4 ? 1 : 2, folhas.molduraDe.get(p));
            if (grupos == 0) {
                assertEquals(List.of(Formatos.NENHUM_REGISTRO), corpo);
                continue;
            }
            if (porGrupo) // one group's lines alone on the page
                assertTrue(corpo.stream().filter(l -> l.startsWith("P")).map(l -> l.split("-")[0]).distinct().count() <= 1);
            final String primeira = corpo.get(0);
            assertTrue(primeira.startsWith("Depósito: G") || primeira.startsWith("Total geral"), "page " + (p + 1) + ": " + primeira);
            assertFalse(corpo.get(corpo.size() - 1).startsWith("Depósito: "), "page " + (p + 1) + " ends with a header");
        }
        assertEquals(esperadas, vistas);
        if (porGrupo) assertTrue(d.paginas() >= grupos);
        if (grupos > 0) {
            final List<String> ultima = folhas.linhas(folhas.corpos.size() - 1);
            assertEquals("Total geral: " + Formatos.linhas(grupos * linhasPorGrupo) + " "
                    + Formatos.numero(geral.soma(2), 2), ultima.get(ultima.size() - 1));
        }
        if (filtros > 4) assertTrue(folhas.molduras.get(2).contains(Diagramacao.FILTROS_NA_PRIMEIRA));
    }

    /** A summary: one line per group with its count and sum, and the grand total. */
    @Test
    void resumoUmaLinhaPorGrupo() throws Exception {
        final Folhas folhas = new Folhas();
        final Diagramacao<FonteMeioEme> d = new Diagramacao<>(folhas);
        d.inicio(cabecalho(true, 1));
        final Totais geral = new Totais(COLUNAS);
        for (int g = 1; g <= 3; g++) {
            final Totais grupo = new Totais(COLUNAS);
            d.inicioGrupo("Depósito: G" + g);
            for (int k = 0; k < g; k++) {
                final Object[] v = {"G" + g, "P", new BigDecimal("-1.25")};
                grupo.somar(v);
                geral.somar(v);
            }
            d.fimGrupo("Depósito: G" + g, grupo);
        }
        d.fim(geral);
        assertEquals(List.of("G1 1 -1,25", "G2 2 -2,50", "G3 3 -3,75", "Total geral 6 -7,50"), folhas.linhas(0));
        assertTrue(folhas.molduras.get(1).contains("Depósito Linhas Quantidade"), folhas.molduras.get(1));
    }

    private static Cabecalho cabecalho(boolean resumo, int filtros) {
        final List<String> f = new ArrayList<>(Collections.nCopies(filtros, "Marca: 3 - TIO"));
        return new Cabecalho("Relação", f, "Depósito", "Código", LocalDateTime.of(2026, 1, 2, 3, 4), COLUNAS, resumo,
                List.of("dep"));
    }

    /** Keeps each page's text by baseline, the frames' and the footers' apart. */
    private static final class Folhas implements visualizador.pagina.Folhas<FonteMeioEme>, PinturaSoDeTexto {
        final List<TreeMap<Float, TreeMap<Float, String>>> corpos = new ArrayList<>();
        final List<Integer> molduraDe = new ArrayList<>();
        final List<String> rodapes = new ArrayList<>();
        final java.util.Map<Integer, String> molduras = new java.util.HashMap<>();
        final List<String> textos = new ArrayList<>();
        private TreeMap<Float, TreeMap<Float, String>> atual = new TreeMap<>();

        List<String> linhas(int pagina) {
            final List<String> l = new ArrayList<>();
            for (TreeMap<Float, String> linha : corpos.get(pagina).descendingMap().values())
                l.add(String.join(" ", linha.values()));
            return l;
        }

        @Override
        public FonteMeioEme normal() {
            return new FonteMeioEme("normal");
        }

        @Override
        public FonteMeioEme negrito() {
            return new FonteMeioEme("negrito");
        }

        @Override
        public Pintura<FonteMeioEme> pintura() {
            return this;
        }

        @Override
        public void rascunho() {
            atual = new TreeMap<>();
        }

        @Override
        public void moldura(int qual) {
            final StringBuilder s = new StringBuilder();
            for (TreeMap<Float, String> linha : atual.descendingMap().values()) s.append(String.join(" ", linha.values())).append('\n');
            molduras.put(qual, s.toString());
        }

        @Override
        public void pagina(int numero, int moldura) {
            assertEquals(corpos.size() + 1, numero);
            atual = new TreeMap<>();
            corpos.add(atual);
            molduraDe.add(moldura);
        }

        @Override
        public void ultimaPagina() {
            atual = null;
        }

        @Override
        public void rodape(int numero) {
            assertEquals(rodapes.size() + 1, numero);
            rodapes.add(String.join(" ", atual.firstEntry().getValue().values()));
        }

        @Override
        public boolean guardaTexto() {
            return true;
        }

        @Override
        public void texto(TrechosDaPagina pagina) {
            final TextoComparavel t = new TextoComparavel();
            pagina.emOrdem(t);
            textos.add(new String(t.bytes(), 0, t.tamanho(), java.nio.charset.StandardCharsets.UTF_8));
        }

        @Override
        public void texto(FonteMeioEme f, float pontos, float x, float y, CharSequence s, int inicio, int fim, boolean reticencias) {
            atual.computeIfAbsent(y, k -> new TreeMap<>()).merge(x, s.subSequence(inicio, fim) + (reticencias ? "…" : ""),
                    String::concat);
        }
    }
}
