package visualizador.formatos;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.math.BigDecimal;
import java.nio.file.Files;
import java.nio.file.Path;
import java.sql.ResultSet;
import java.sql.Statement;
import java.time.LocalDate;
import java.util.List;
import java.util.Map;
import java.util.concurrent.atomic.AtomicInteger;
import org.apache.pdfbox.pdmodel.PDDocument;
import org.apache.pdfbox.text.PDFTextStripper;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.ValueSource;
import visualizador.BancoTeste;
import visualizador.dados.Conexao;
import visualizador.dados.MotorRelatorio;
import visualizador.dados.Progresso;
import visualizador.dados.ValoresParametros;
import visualizador.design.Design;
import visualizador.pagina.Cabecalho;
import visualizador.pagina.Diagramacao;
import visualizador.pagina.Formatos;
import visualizador.pagina.Totais;

class DestinoPdfTest {
    @TempDir
    Path dir;

    static String texto(Path pdf, int pagina) throws Exception {
        try (PDDocument d = PDDocument.load(pdf.toFile())) {
            final PDFTextStripper s = new PDFTextStripper();
            if (pagina > 0) {
                s.setStartPage(pagina);
                s.setEndPage(pagina);
            }
            return s.getText(d);
        }
    }

    private static int paginas(Path pdf) throws Exception {
        try (PDDocument d = PDDocument.load(pdf.toFile())) {
            return d.getNumberOfPages();
        }
    }

    private Path executar(Conexao conexao, String chave, String valor) throws Exception {
        final Design design = BancoTeste.design();
        final Path pdf = dir.resolve(chave + ".pdf");
        try (DestinoPdf d = new DestinoPdf(pdf, Progresso.NENHUM)) {
            new MotorRelatorio(conexao, design, ValoresParametros.analisar(design, List.of(Map.entry(chave, valor))))
                    .executar(d, Progresso.NENHUM);
        }
        return pdf;
    }

    @Test
    void relatorioDeUmaMarcaConfereComOBanco() throws Exception {
        final long esperado;
        final Path pdf;
        try (Conexao c = BancoTeste.conectar(dir); Statement st = c.jdbc().createStatement();
             ResultSet rs = st.executeQuery("SELECT count(*) FROM est JOIN pro ON procod = estprocod"
                     + " WHERE estforalinha IS DISTINCT FROM 'S' AND promarcascod = 3")) {
            rs.next();
            esperado = rs.getLong(1);
            pdf = executar(c, "P_MARCA", "3");
        }
        assertTrue(esperado > 0, "the demo data has brand 3");
        final int n = paginas(pdf);
        final String primeira = texto(pdf, 1);
        final String ultima = texto(pdf, n);
        for (String s : List.of("Relação de Produtos por Endereço", "Marca: 3 - TIO JOÃO",
                "Apresentação: Depósito · Ordem: Data (mais antiga primeiro)", "Emitido em ", "Valor líquido",
                "Depósito: ", "Total Depósito: ", "Página 1 de " + n))
            assertTrue(primeira.contains(s), s + " in\n" + primeira);
        assertTrue(ultima.contains("Total geral: " + Formatos.linhas(esperado)), ultima);
        assertTrue(ultima.contains("Página " + n + " de " + n) && ultima.contains("Marca: 3 - TIO JOÃO"), ultima);
    }

    @Test
    void filtroSemResultadoDizQueNadaFoiEncontrado() throws Exception {
        final Path pdf;
        try (Conexao c = BancoTeste.conectar(dir)) {
            pdf = executar(c, "P_PRO", "2147483647");
        }
        final String t = texto(pdf, 0);
        assertEquals(1, paginas(pdf));
        assertTrue(t.contains(Formatos.NENHUM_REGISTRO) && t.contains("Página 1 de 1")
                && t.contains("Relação de Produtos por Endereço"), t);
    }

    /** A report that breaks off (an error, a cancel) closes without fim: no file, not even an empty one. */
    @ParameterizedTest
    @ValueSource(ints = {-1, 0, 3000})
    void semFimNaoFicaArquivo(int linhas) throws Exception {
        final Path pdf = dir.resolve("parcial.pdf");
        final Object[] v = new Object[PdfSintetico.colunas().size()];
        try (DestinoPdf d = new DestinoPdf(pdf, Progresso.NENHUM)) {
            if (linhas >= 0) d.inicio(PdfSintetico.cabecalho());
            if (linhas > 0) d.inicioGrupo("Endereço: 1");
            for (int i = 0; i < linhas; i++) d.linha(v);
        }
        assertFalse(Files.exists(pdf));
    }

    /**
     * Whatever the group sizes, no page ends on a group header with its lines on the next page, and
     * a group that goes on to a new page names itself there before any line or subtotal.
     */
    @ParameterizedTest
    @ValueSource(ints = {1, 2, 3, 4, 5, 7, 44, 45, 46, 100})
    void gruposAtravessamPaginasComSeuNome(int porGrupo) throws Exception {
        final Path pdf = dir.resolve("g.pdf");
        final AtomicInteger avisadas = new AtomicInteger();
        PdfSintetico.gerar(pdf, 400, porGrupo, new Progresso() {
            @Override
            public void paginas(int n) {
                assertEquals(avisadas.incrementAndGet(), n);
            }
        });
        final int n = paginas(pdf);
        assertEquals(n, avisadas.get());
        String aberto = null;
        int continuacoes = 0;
        for (int p = 1; p <= n; p++) {
            final List<String> linhas = texto(pdf, p).lines().toList();
            final String ultimaDoCorpo = linhas.get(linhas.size() - 2);
            assertFalse(ultimaDoCorpo.startsWith("Endereço: "), "page " + p + " ends on " + ultimaDoCorpo);
            assertEquals("Página " + p + " de " + n, linhas.get(linhas.size() - 1));
            boolean primeira = true;
            for (String l : linhas) {
                if (!l.startsWith("Endereço: ") && !l.startsWith("Total Endereço: ")) continue;
                if (primeira && aberto != null) {
                    assertEquals(aberto + Diagramacao.CONTINUACAO, l, "page " + p + " starts without its group");
                    continuacoes++;
                } else if (l.startsWith("Endereço: ")) {
                    assertTrue(aberto == null, "group " + aberto + " not closed before " + l);
                    aberto = l;
                } else {
                    assertTrue(l.startsWith("Total " + aberto + ": "), l + " closes " + aberto);
                    aberto = null;
                }
                primeira = false;
            }
        }
        assertTrue(porGrupo < 44 || continuacoes > 0, "no group went on to a new page");
    }

    /** A text that does not fit wraps whole in its cell; only the description is cut; numbers keep body size. */
    @Test
    void textoQuebraNaCelulaNumerosNoTamanhoDoCorpoComFolga() throws Exception {
        final Path pdf = dir.resolve("largo.pdf");
        final var colunas = PdfSintetico.colunas();
        final Object[] v = new Object[colunas.size()];
        final String empresa = "1 - SUPERMERCADO COM UM NOME MUITO MAIS LONGO QUE A COLUNA DA EMPRESA, FIM";
        final String referencia = "REF-1234567890123456789012345678901234567890-FIM";
        v[0] = "1 - CORREDOR 01";
        v[1] = empresa;
        v[3] = "Descrição com acentuação: ÇÃÕÉÍÚ ção — e um final que não cabe de jeito nenhum FIM-INVISIVEL";
        v[4] = referencia;
        v[7] = new BigDecimal("9999999999.999");
        v[8] = new BigDecimal("99999999999.99");
        v[9] = new BigDecimal("-10569.22");
        v[10] = LocalDate.of(2024, 2, 29);
        final Totais t = new Totais(colunas);
        t.somar(v);
        try (DestinoPdf d = new DestinoPdf(pdf, Progresso.NENHUM)) {
            d.inicio(PdfSintetico.cabecalho());
            d.inicioGrupo("Endereço: 1 - CORREDOR 01");
            d.linha(v);
            d.fimGrupo("Endereço: 1 - CORREDOR 01", t);
            d.fim(t);
        }
        final List<GlifosPdf.Linha> linhas = GlifosPdf.linhas(pdf);
        assertTrue(textoDaColuna(linhas, "Empresa").contains(empresa), textoDaColuna(linhas, "Empresa"));
        // Broken anywhere when it has no blank: whole, once the breaks are taken out.
        assertTrue(textoDaColuna(linhas, "Referência").replace(" ", "").contains(referencia), textoDaColuna(linhas, "Referência"));
        final String descricao = textoDaColuna(linhas, "Descrição");
        assertTrue(descricao.startsWith("Descrição com acentuação: ÇÃÕÉÍÚ ção") && descricao.endsWith("…")
                && !descricao.contains("FIM-INVISIVEL"), descricao);
        int vermelhos = 0;
        for (GlifosPdf.Linha l : linhas) {
            final List<List<GlifosPdf.Glifo>> trechos = l.trechos();
            for (int i = 1; i < trechos.size(); i++) {
                final float folga = trechos.get(i).get(0).x0() - trechos.get(i - 1).get(trechos.get(i - 1).size() - 1).x1();
                assertTrue(folga >= 2 * Diagramacao.FOLGA - 0.05f, folga + " pt between cells in " + l.texto());
            }
            if (l.texto().startsWith("Total ")) {
                assertTrue(l.texto().contains("9.999.999.999,999") && l.texto().contains("99.999.999.999,99"), l.texto());
                for (GlifosPdf.Glifo g : l.glifos())
                    assertEquals(Diagramacao.CORPO, g.tamanho(), 0.01, "size of a total in " + l.texto());
            }
            // The negative value is red, on its line and in the totals; nothing else is.
            for (List<GlifosPdf.Glifo> trecho : trechos) {
                final String s = trecho.stream().map(GlifosPdf.Glifo::texto).reduce("", String::concat);
                for (GlifosPdf.Glifo g : trecho) {
                    assertEquals(s.equals("-10.569,22"), g.vermelho(), "colour of " + s);
                    if (g.vermelho()) vermelhos++;
                }
            }
        }
        assertEquals(3 * "-10.569,22".length(), vermelhos, "line, subtotal and grand total");
        assertTrue(linhas.stream().anyMatch(l -> l.texto().contains("29/02/2024")));
    }

    /** Every filter is in the header, wrapped, on page 1; a long block is only pointed to on later pages. */
    @ParameterizedTest
    @ValueSource(ints = {3, 400})
    void todoFiltroNoCabecalho(int codigos) throws Exception {
        final StringBuilder produto = new StringBuilder("Produto: 1");
        for (int i = 2; i <= codigos; i++) produto.append(", ").append(i);
        final List<String> filtros = List.of("Empresa: 1 - SUPERMERCADO BOA VISTA LTDA", produto.toString(),
                "Marca: 3 - TIO JOÃO", "Aplicação: 7 - LIMPEZA PESADA");
        final Path pdf = dir.resolve("filtros.pdf");
        final Cabecalho c = PdfSintetico.cabecalho(filtros, false);
        final Object[] v = new Object[c.colunas().size()];
        try (DestinoPdf d = new DestinoPdf(pdf, Progresso.NENHUM)) {
            d.inicio(c);
            d.inicioGrupo("Endereço: 1");
            for (int i = 0; i < 100; i++) d.linha(v);
            d.fimGrupo("Endereço: 1", new Totais(c.colunas()));
            d.fim(new Totais(c.colunas()));
        }
        final String primeira = texto(pdf, 1).replaceAll("\\s+", " ");
        final String segunda = texto(pdf, 2).replaceAll("\\s+", " ");
        for (String f : filtros) assertTrue(primeira.contains(f), f + " in " + primeira);
        final boolean longo = codigos > 100;
        assertEquals(longo, segunda.contains(Diagramacao.FILTROS_NA_PRIMEIRA), segunda);
        assertEquals(!longo, filtros.stream().allMatch(segunda::contains), segunda);
    }

    /** The cells of a left-aligned column, top to bottom: the glyph runs that start where its title does. */
    static String textoDaColuna(List<GlifosPdf.Linha> linhas, String titulo) {
        float x = Float.NaN;
        final StringBuilder s = new StringBuilder();
        for (GlifosPdf.Linha l : linhas) {
            for (List<GlifosPdf.Glifo> trecho : l.trechos()) {
                final String t = trecho.stream().map(GlifosPdf.Glifo::texto).reduce("", String::concat);
                if (Float.isNaN(x) && t.equals(titulo)) {
                    x = trecho.get(0).x0();
                } else if (!Float.isNaN(x) && Math.abs(trecho.get(0).x0() - x) < 0.3f && !t.equals(titulo)) {
                    s.append(s.length() == 0 ? "" : " ").append(t);
                }
            }
        }
        return s.toString();
    }

    /** Prints the throughput; the assertion is only that every page was written. */
    @Test
    void desempenho() throws Exception {
        final Path pdf = dir.resolve("grande.pdf");
        final int linhas = 200_000;
        final AtomicInteger contadas = new AtomicInteger();
        final long inicio = System.nanoTime();
        PdfSintetico.gerar(pdf, linhas, 35, new Progresso() {
            @Override
            public void paginas(int n) {
                contadas.set(n);
            }
        });
        final double s = (System.nanoTime() - inicio) / 1e9;
        System.out.printf("DestinoPdf: %d linhas, %d páginas, %.2f s: %.0f linhas/s, %.0f páginas/s, %d KB%n", linhas,
                contadas.get(), s, linhas / s, contadas.get() / s, Files.size(pdf) / 1024);
        assertEquals(contadas.get(), paginas(pdf));
    }
}
