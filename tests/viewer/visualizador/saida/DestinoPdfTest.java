package visualizador.saida;

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

class DestinoPdfTest {
    @TempDir
    Path dir;

    private static String texto(Path pdf, int pagina) throws Exception {
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

    /** Whatever the group sizes, no page ends on a group header with its lines on the next page. */
    @ParameterizedTest
    @ValueSource(ints = {1, 2, 3, 4, 5, 7, 44})
    void cabecalhoDeGrupoNaoFicaSozinhoNoPe(int porGrupo) throws Exception {
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
        for (int p = 1; p <= n; p++) {
            final List<String> linhas = texto(pdf, p).lines().toList();
            final String ultimaDoCorpo = linhas.get(linhas.size() - 2);
            assertFalse(ultimaDoCorpo.startsWith("Endereço: "), "page " + p + " ends on " + ultimaDoCorpo);
            assertEquals("Página " + p + " de " + n, linhas.get(linhas.size() - 1));
        }
    }

    @Test
    void textoLongoECortadoENumeroNunca() throws Exception {
        final Path pdf = dir.resolve("largo.pdf");
        final var colunas = PdfSintetico.colunas();
        final Object[] v = new Object[colunas.size()];
        v[0] = "1 - CORREDOR COM UM NOME MUITO MAIS LONGO QUE A COLUNA, FIM-INVISIVEL";
        v[3] = "Descrição com acentuação: ÇÃÕÉÍÚ ção — e um final que não cabe FIM-INVISIVEL";
        v[8] = new BigDecimal("123456789012.34");
        v[10] = LocalDate.of(2024, 2, 29);
        final Totais t = new Totais(colunas);
        t.somar(v);
        final StringBuilder filtros = new StringBuilder("Produto: 1");
        for (int i = 2; i <= 400; i++) filtros.append(", ").append(i);
        final Cabecalho c = PdfSintetico.cabecalho();
        try (DestinoPdf d = new DestinoPdf(pdf, Progresso.NENHUM)) {
            d.inicio(new Cabecalho(c.titulo(), List.of(filtros.toString(), "Marca: 3"), c.agrupamento(), c.ordem(), c.emissao(),
                    c.colunas()));
            d.inicioGrupo("Endereço: 1");
            d.linha(v);
            d.fimGrupo("Endereço: 1", t);
            d.fim(t);
        }
        final String s = texto(pdf, 1);
        final List<String> linhas = s.lines().toList();
        final int filtro = linhas.indexOf(linhas.stream().filter(l -> l.startsWith("Produto: 1, 2, 3,")).findFirst()
                .orElseThrow());
        assertTrue(linhas.get(filtro + 1).matches("\\d+, .*…") && linhas.get(filtro + 2).startsWith("Apresentação: "),
                "filters on two lines, the rest cut:\n" + s);
        assertFalse(s.contains("FIM-INVISIVEL"), s);
        assertTrue(s.contains("Descrição com acentuação: ÇÃÕÉÍÚ ção") && s.contains("…"), s);
        assertTrue(s.contains("123.456.789.012,34") && s.contains("29/02/2024") && s.contains("Total geral: 1 linha"), s);
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
