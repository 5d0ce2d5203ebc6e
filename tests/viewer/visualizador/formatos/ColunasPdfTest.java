package visualizador.formatos;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.math.BigDecimal;
import java.nio.file.Path;
import java.sql.ResultSet;
import java.sql.Statement;
import java.util.ArrayList;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import org.apache.pdfbox.pdmodel.PDDocument;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.ValueSource;
import visualizador.BancoTeste;
import visualizador.dados.Conexao;
import visualizador.dados.MotorRelatorio;
import visualizador.dados.Progresso;
import visualizador.dados.ValoresParametros;
import visualizador.design.Coluna;
import visualizador.design.Design;
import visualizador.pagina.Diagramacao;
import visualizador.pagina.Formatos;
import visualizador.pagina.MedidaColuna;
import visualizador.pagina.Totais;

/** The demo report as the launcher asks for it by default, read back: its paper and how its cells fit. */
class ColunasPdfTest {
    @TempDir
    Path dir;

    /** The text columns, left-aligned: each cell's pieces start where the column's title does. */
    private static final List<String> TEXTOS = List.of("Empresa", "Descrição", "Referência", "Marca");

    @Test
    void relatorioPadraoCabeEmPoucasPaginasUmaLinhaPorProduto() throws Exception {
        final Path pdf = dir.resolve("padrao.pdf");
        final Map<String, Long> preenchidas = new LinkedHashMap<>();
        try (Conexao c = BancoTeste.conectar(dir)) {
            final Design design = BancoTeste.design();
            try (DestinoPdf d = new DestinoPdf(pdf, Progresso.NENHUM)) {
                new MotorRelatorio(c, design, ValoresParametros.analisar(design, List.of())).executar(d, Progresso.NENHUM);
            }
            try (Statement st = c.jdbc().createStatement(); ResultSet rs = st.executeQuery(
                    "SELECT count(*), count(NULLIF(p.proref, '')), count(NULLIF(m.marcasdes, ''))"
                            + " FROM est e JOIN pro p ON p.procod = e.estprocod"
                            + " LEFT JOIN marcas m ON m.marcascod = p.promarcascod"
                            + " WHERE e.estforalinha IS DISTINCT FROM 'S'")) {
                rs.next();
                preenchidas.put("Empresa", rs.getLong(1));
                preenchidas.put("Descrição", rs.getLong(1));
                preenchidas.put("Referência", rs.getLong(2));
                preenchidas.put("Marca", rs.getLong(3));
            }
        }
        final int paginas;
        try (PDDocument d = PDDocument.load(pdf.toFile())) {
            paginas = d.getNumberOfPages();
        }
        final Corpo corpo = Corpo.ler(GlifosPdf.linhas(pdf));
        System.out.printf("Relatório padrão: %d páginas; pedaços além da primeira linha %s; cortadas %s;"
                + " linhas de continuação %d; glifos reduzidos %d%n", paginas, corpo.quebras(preenchidas), corpo.cortadas,
                corpo.continuacoes, corpo.reduzidos);
        assertTrue(paginas <= 150, paginas + " pages");
        for (String coluna : TEXTOS) {
            assertEquals(0, corpo.quebras(preenchidas).get(coluna), coluna + " wrapped");
            if (!coluna.equals("Descrição")) assertEquals(0, corpo.cortadas.get(coluna), coluna + " cut");
        }
        assertEquals(0, corpo.reduzidos, "glyphs set below body size");
        assertEquals(0, corpo.continuacoes, "lines holding only the rest of wrapped cells");
        // Two companies: their codes in the lines, their names on every page's header.
        final String ultima = DestinoPdfTest.texto(pdf, paginas).replaceAll("\\s+", " ");
        assertTrue(ultima.contains("Empresa" + Diagramacao.LEGENDA + "1 - SUPERMERCADO BOA VISTA LTDA · 2 - "), ultima);
    }

    /**
     * Grouped by company the addresses print whole and leave less room: the one reference of 29
     * characters then wraps, rather than every description being cut to a few letters.
     */
    @Test
    void descricaoNaoCedeAUmaReferenciaIsolada() throws Exception {
        final Path pdf = dir.resolve("empresa.pdf");
        try (Conexao c = BancoTeste.conectar(dir)) {
            final Design design = BancoTeste.design();
            try (DestinoPdf d = new DestinoPdf(pdf, Progresso.NENHUM)) {
                new MotorRelatorio(c, design, ValoresParametros.analisar(design, List.of(Map.entry("P_GRUPO", "3"))))
                        .executar(d, Progresso.NENHUM);
            }
        }
        final Map<String, Float> x = new LinkedHashMap<>();
        for (GlifosPdf.Linha l : GlifosPdf.linhas(pdf)) {
            if (l.pagina() > 1) break;
            for (List<GlifosPdf.Glifo> t : l.trechos()) {
                final String s = t.stream().map(GlifosPdf.Glifo::texto).reduce("", String::concat);
                if (s.equals("Descrição") || s.equals("Referência")) x.putIfAbsent(s, t.get(0).x0());
            }
        }
        final float descricao = x.get("Referência") - x.get("Descrição");
        final float projetada = BancoTeste.design().colunas().stream().filter(k -> k.campo().equals("prodes"))
                .findFirst().orElseThrow().largura();
        // Near its design width: the reference gives back all it can, the addresses keep theirs.
        assertTrue(descricao >= 0.9f * projetada, "description " + descricao + " pt wide");
    }

    /** Totals beyond any fixed number of digits print in bold at body size, in full, when measured. */
    @ParameterizedTest
    @ValueSource(strings = {"99999999999.99", "123456789012345.67", "-999999999999999.99"})
    void totaisGrandesNoTamanhoDoCorpo(String valor) throws Exception {
        final BigDecimal v = new BigDecimal(valor);
        final List<Coluna> colunas = PdfSintetico.colunas();
        final List<MedidaColuna> medidas = new ArrayList<>();
        final Object[] linha = new Object[colunas.size()];
        for (int i = 0; i < colunas.size(); i++) {
            final Coluna c = colunas.get(i);
            medidas.add(c.total() ? new MedidaColuna(List.of(), List.of(), v.abs(), v.abs(), v.signum() < 0)
                    : MedidaColuna.DESCONHECIDA);
            if (c.total()) linha[i] = v.setScale(c.casas());
        }
        final Totais t = new Totais(colunas);
        t.somar(linha);
        final Path pdf = dir.resolve("totais.pdf");
        try (DestinoPdf d = new DestinoPdf(pdf, Progresso.NENHUM)) {
            d.inicio(PdfSintetico.cabecalho().comMedidas(medidas));
            d.inicioGrupo("Endereço: 1");
            d.linha(linha);
            d.fimGrupo("Endereço: 1", t);
            d.fim(t);
        }
        int totais = 0;
        for (GlifosPdf.Linha l : GlifosPdf.linhas(pdf)) {
            if (!l.texto().startsWith("Total ")) continue;
            totais++;
            for (Coluna c : colunas)
                if (c.total()) assertTrue(l.texto().contains(Formatos.numero(v, c.casas())), l.texto());
            for (GlifosPdf.Glifo g : l.glifos()) assertEquals(Diagramacao.CORPO, g.tamanho(), 0.01, l.texto());
        }
        assertEquals(2, totais, "subtotal and grand total");
    }

    /** What the body of every page holds, by column. */
    private static final class Corpo {
        final Map<String, Integer> pedacos = new LinkedHashMap<>();
        final Map<String, Integer> cortadas = new LinkedHashMap<>();
        int reduzidos;
        int continuacoes; // body lines without a quantity: the further lines of wrapped cells

        static Corpo ler(List<GlifosPdf.Linha> linhas) {
            final Corpo c = new Corpo();
            for (String t : TEXTOS) {
                c.pedacos.put(t, 0);
                c.cortadas.put(t, 0);
            }
            final Map<String, Float> x = new LinkedHashMap<>();
            float fimQuantidade = Float.NaN; // every line has a quantity, right-aligned with its title
            int pagina = 0;
            boolean corpo = false;
            for (GlifosPdf.Linha l : linhas) {
                if (l.pagina() != pagina) {
                    pagina = l.pagina();
                    corpo = false;
                }
                final List<String> trechos = trechos(l);
                if (!corpo) { // the column titles end the header
                    if (trechos.containsAll(TEXTOS)) {
                        corpo = true;
                        x.clear();
                        for (int i = 0; i < trechos.size(); i++)
                            if (TEXTOS.contains(trechos.get(i))) x.put(trechos.get(i), l.trechos().get(i).get(0).x0());
                            else if (trechos.get(i).equals("Quantidade")) fimQuantidade = ultimo(l.trechos().get(i)).x1();
                    }
                    continue;
                }
                if (trechos.get(0).startsWith("Página ") || trechos.get(0).startsWith("Relação de Produtos")) continue;
                if (trechos.get(0).startsWith("Depósito: ") || trechos.get(0).startsWith("Total ")) continue;
                for (GlifosPdf.Glifo g : l.glifos())
                    if (g.tamanho() < Diagramacao.CORPO - 0.01f) c.reduzidos++;
                final float fim = fimQuantidade;
                if (l.trechos().stream().noneMatch(t -> Math.abs(ultimo(t).x1() - fim) < 0.5f)) c.continuacoes++;
                for (int i = 0; i < trechos.size(); i++) {
                    final float x0 = l.trechos().get(i).get(0).x0();
                    for (var col : x.entrySet()) {
                        if (Math.abs(col.getValue() - x0) > 0.3f) continue;
                        c.pedacos.merge(col.getKey(), 1, Integer::sum);
                        if (trechos.get(i).endsWith("…")) c.cortadas.merge(col.getKey(), 1, Integer::sum);
                    }
                }
            }
            return c;
        }

        /** The pieces of each column beyond one per filled cell: the lines its texts wrapped onto. */
        Map<String, Long> quebras(Map<String, Long> preenchidas) {
            final Map<String, Long> m = new LinkedHashMap<>();
            for (String t : TEXTOS) m.put(t, pedacos.get(t) - preenchidas.get(t));
            return m;
        }

        private static GlifosPdf.Glifo ultimo(List<GlifosPdf.Glifo> trecho) {
            return trecho.get(trecho.size() - 1);
        }

        private static List<String> trechos(GlifosPdf.Linha l) {
            return l.trechos().stream().map(t -> t.stream().map(GlifosPdf.Glifo::texto).reduce("", String::concat)).toList();
        }
    }
}
