package visualizador.formatos;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.math.BigDecimal;
import java.nio.file.Files;
import java.nio.file.Path;
import java.sql.ResultSet;
import java.time.LocalDate;
import java.time.LocalDateTime;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import org.junit.jupiter.params.provider.ValueSource;
import visualizador.BancoTeste;
import visualizador.dados.Conexao;
import visualizador.dados.MotorRelatorio;
import visualizador.dados.OpcoesRelatorio;
import visualizador.dados.Progresso;
import visualizador.dados.ValoresParametros;
import visualizador.formatos.LeitorPlanilha.Folha;
import visualizador.pagina.Cabecalho;
import visualizador.pagina.Destino;
import visualizador.pagina.Totais;
import visualizador.publicacao.ArquivoSaida;

class DestinoXlsTest {
    @TempDir
    Path pasta;

    static Cabecalho cabecalho() throws Exception {
        return new Cabecalho("Relação <teste>", List.of("Empresa: 1 - M&M <LTDA>", "Marca: 3 - TIO JOÃO"), "Depósito",
                "Data", LocalDateTime.of(2026, 12, 9, 15, 30), BancoTeste.design().colunas());
    }

    /** Title, two filters, the choices, the moment of issue and a blank row: the titles sit below. */
    private static final int TITULOS = 6;
    private static final List<Object> TITULOS_COLUNAS = List.of("Depósito", "Empresa", "Produto", "Descrição",
            "Referência", "Un.", "Marca", "Quantidade", "Valor bruto", "Valor líquido", "Data");

    /** A line like the design's: 11 typed values. */
    static Object[] linha(int i, String descricao) {
        return new Object[] {"1 - CORREDOR 01", "2 - BOA VISTA LTDA", (long) i, descricao, "REF-" + i, "PCT", null,
            new BigDecimal("1.250"), new BigDecimal("10.05"), BigDecimal.valueOf(i, 2), LocalDate.of(2013, 3, 23)};
    }

    /** What the sheet covers above the table; the titles frozen below it; the filter on the table only. */
    private static void cabecalhoFixoEFiltrado(Folha s, String filtro) {
        assertEquals(List.of("Relação <teste>", "Empresa: 1 - M&M <LTDA>", "Marca: 3 - TIO JOÃO",
                "Apresentação: Depósito · Ordem: Data", "Emitido em 09/12/2026 15:30:00"),
                List.of(0, 1, 2, 3, 4).stream().map(i -> s.valor(i, 0)).toList());
        assertNull(s.linha(TITULOS - 1));
        assertEquals(TITULOS_COLUNAS, s.linha(TITULOS));
        assertEquals(TITULOS + 1, s.congeladas());
        assertEquals(filtro, s.filtro());
    }

    @ParameterizedTest
    @ValueSource(strings = {"r.xls", "r.xlsx"})
    void cabecalhoTabelaTipadaETotal(String nome) throws Exception {
        final Path arquivo = pasta.resolve(nome);
        final Totais t = new Totais(cabecalho().colunas());
        try (DestinoXls d = new DestinoXls(arquivo)) {
            d.inicio(cabecalho());
            d.inicioGrupo("Depósito: 1 - CORREDOR 01");
            for (int i = 1; i <= 3; i++) {
                final Object[] v = linha(i, i == 2 ? "  espaços & <marcas>  " : "PRODUTO " + i);
                if (i == 3) v[7] = new BigDecimal("-2.500");
                t.somar(v);
                d.linha(v);
            }
            d.fimGrupo("Depósito: 1 - CORREDOR 01", t);
            d.fim(t);
        }
        final List<Folha> folhas = LeitorPlanilha.ler(arquivo);
        assertEquals(1, folhas.size());
        final Folha s = folhas.get(0);
        assertEquals("Relatório", s.nome());
        cabecalhoFixoEFiltrado(s, "A7:K10");
        final int r = TITULOS + 2;
        assertEquals(List.of("1 - CORREDOR 01", "2 - BOA VISTA LTDA", 2.0, "  espaços & <marcas>  ", "REF-2", "PCT",
                1.25, 10.05, 0.02, 41356.0), s.linha(r), "typed cells; the empty one is left out");
        assertEquals(List.of("0", "#,##0.000;[Red]-#,##0.000", "#,##0.00;[Red]-#,##0.00", "dd/mm/yyyy"),
                List.of(2, 7, 8, 10).stream().map(i -> s.formato(r, i)).toList());
        assertEquals(-2.5, s.valor(r + 1, 7));
        assertNull(s.linha(TITULOS + 4), "a blank row keeps the total out of the filter");
        assertEquals(List.of("Total geral", 3.0), s.linha(TITULOS + 5).subList(0, 2));
        assertEquals("[=1]0\" linha\";#,##0\" linhas\"", s.formato(TITULOS + 5, 1));
        assertEquals(0.0, (double) s.valor(TITULOS + 5, 7), 1e-9);
        assertEquals(0.06, (double) s.valor(TITULOS + 5, 9), 1e-9);
        // Counted on the product code, filled on every line; the marca (G) is empty on some.
        assertEquals(List.of("SUBTOTAL(103,C8:C10)", "SUBTOTAL(109,H8:H10)", "SUBTOTAL(109,J8:J10)"),
                List.of(1, 7, 9).stream().map(i -> s.formula(TITULOS + 5, i).replace(" ", "")).toList());
    }

    @Test
    void tabelaQueContinuaNaFolhaSeguinte() throws Exception {
        final Path arquivo = pasta.resolve("grande.xls");
        final int n = DestinoXls.LINHAS_POR_FOLHA + 10;
        try (DestinoXls d = new DestinoXls(arquivo)) {
            final Totais t = new Totais(cabecalho().colunas());
            d.inicio(cabecalho());
            for (int i = 1; i <= n; i++) {
                t.somar(linha(i, "PRODUTO " + i));
                d.linha(linha(i, "PRODUTO " + i));
            }
            d.fim(t);
        }
        final List<Folha> folhas = LeitorPlanilha.ler(arquivo);
        assertEquals(List.of("Relatório", "Relatório (2)"), folhas.stream().map(Folha::nome).toList());
        final int naPrimeira = DestinoXls.LINHAS_POR_FOLHA - TITULOS - 1;
        final int naSegunda = n - naPrimeira;
        cabecalhoFixoEFiltrado(folhas.get(0), "A7:K65536");
        cabecalhoFixoEFiltrado(folhas.get(1), "A7:K" + (TITULOS + 1 + naSegunda));
        assertEquals(naPrimeira + 1.0, folhas.get(1).valor(TITULOS + 1, 2));
        final int total = TITULOS + naSegunda + 2;
        assertEquals(List.of("Total geral", (double) n), folhas.get(1).linha(total).subList(0, 2));
        assertEquals(1.25 * n, (double) folhas.get(1).valor(total, 7), 1e-6);
        assertEquals(n * (n + 1.0) / 200, (double) folhas.get(1).valor(total, 9), 1e-6);
        // The totals cover the table on both sheets, and still do when the filter hides rows there.
        final var escondidas = java.util.Set.of("Relatório!" + (TITULOS + 1), "Relatório (2)!" + (TITULOS + 1));
        assertEquals(n - 2.0, subtotal(folhas, folhas.get(1).formula(total, 1), escondidas));
        assertEquals(n * (n + 1.0) / 200 - (1 + naPrimeira + 1) / 100.0,
                subtotal(folhas, folhas.get(1).formula(total, 9), escondidas), 1e-6);
    }

    @ParameterizedTest
    @ValueSource(strings = {"r.xls", "r.xlsx"})
    void semFimNaoDeixaArquivo(String nome) throws Exception {
        try (DestinoXls d = new DestinoXls(pasta.resolve(nome))) {
            d.inicio(cabecalho());
            d.linha(linha(1, "X"));
        }
        try (var arquivos = Files.list(pasta)) {
            assertEquals(0, arquivos.count());
        }
    }

    // The same real report in both formats: the .xlsx is streamed to the file.
    @ParameterizedTest
    @ValueSource(strings = {"xls", "xlsx"})
    void bancoRealConfereComSql(String extensao) throws Exception {
        final Path arquivo = pasta.resolve("marca3." + extensao);
        final long linhas;
        final double quantidade;
        try (Conexao conexao = BancoTeste.conectar(pasta); ResultSet rs = conexao.jdbc().createStatement().executeQuery(
                "SELECT count(*), sum(estqtd) FROM est JOIN pro ON procod = estprocod"
                        + " WHERE estforalinha IS DISTINCT FROM 'S' AND promarcascod = 3")) {
            rs.next();
            linhas = rs.getLong(1);
            quantidade = rs.getDouble(2);
            final var valores = ValoresParametros.analisar(BancoTeste.design(), List.of(Map.entry("P_MARCA", "3")));
            try (DestinoXls d = new DestinoXls(arquivo)) {
                new MotorRelatorio(conexao, BancoTeste.design(), valores).executar(d, Progresso.NENHUM);
            }
        }
        final Folha s = LeitorPlanilha.ler(arquivo).get(0);
        assertEquals("Marca: 3 - TIO JOÃO", s.valor(1, 0));
        final int titulos = 5; // one filter line
        assertEquals("Depósito", s.valor(titulos, 0));
        assertEquals("A6:K" + (titulos + 1 + linhas), s.filtro());
        double soma = 0;
        for (int i = 1; i <= linhas; i++) soma += (double) s.valor(titulos + i, 7);
        assertEquals(quantidade, soma, 1e-6);
        assertEquals(List.of("Total geral", (double) linhas), s.linha(titulos + (int) linhas + 2).subList(0, 2));
        assertEquals(quantidade, (double) s.valor(titulos + (int) linhas + 2, 7), 1e-6);
        if (extensao.equals("xlsx")) assertEquals(linhas + " " + quantidade, lidoPorOutroLeitor(arquivo));
    }

    /**
     * The .xlsx as another program reads it (Debian's python3-openpyxl): the lines with a product
     * code and the sum of their quantities.
     */
    private static String lidoPorOutroLeitor(Path arquivo) throws Exception {
        final Process p = new ProcessBuilder("/usr/bin/python3", "-c", """
                import sys, openpyxl
                ws = openpyxl.load_workbook(sys.argv[1], read_only=True).worksheets[0]
                linhas = [r for r in ws.iter_rows(values_only=True) if len(r) > 7 and isinstance(r[2], int)]
                print(len(linhas), float(sum(r[7] for r in linhas)))
                """, arquivo.toString()).redirectErrorStream(true).start();
        final String saida = new String(p.getInputStream().readAllBytes(), java.nio.charset.StandardCharsets.UTF_8).strip();
        assertEquals(0, p.waitFor(), saida);
        return saida;
    }

    // A summary: one row per group with its count and sums, against the same groups in plain SQL.
    @ParameterizedTest
    @ValueSource(strings = {"xls", "xlsx"})
    void somenteTotaisPorGrupo(String extensao) throws Exception {
        final Path arquivo = pasta.resolve("resumo." + extensao);
        final List<List<Object>> esperado = new ArrayList<>();
        try (Conexao conexao = BancoTeste.conectar(pasta); ResultSet rs = conexao.jdbc().createStatement().executeQuery(
                "SELECT estempparcod || ' - ' || pardes, count(*), sum(estqtd), sum(round(estqtd * propreco, 2)),"
                        + " sum(round(estqtd * procusto, 2)) FROM est JOIN pro ON procod = estprocod"
                        + " JOIN par ON parcod = estempparcod WHERE estforalinha IS DISTINCT FROM 'S'"
                        + " AND promarcascod IN (3, 5) GROUP BY estempparcod, pardes ORDER BY estempparcod")) {
            while (rs.next())
                esperado.add(List.of(rs.getString(1), rs.getDouble(2), rs.getDouble(3), rs.getDouble(4), rs.getDouble(5)));
            final var design = BancoTeste.design();
            final var valores = ValoresParametros.analisar(design, List.of(Map.entry("P_MARCA", "3,5"),
                    Map.entry("P_GRUPO", "3")));
            try (DestinoXls d = new DestinoXls(arquivo)) {
                new MotorRelatorio(conexao, design, valores, new OpcoesRelatorio(true, false)).executar(d, Progresso.NENHUM);
            }
        }
        final Folha s = LeitorPlanilha.ler(arquivo).get(0);
        final int titulos = 5;
        assertEquals("Apresentação: Empresa (somente totais) · Ordem: Data (mais antiga primeiro)", s.valor(2, 0));
        assertEquals(List.of("Empresa", "Linhas", "Quantidade", "Valor bruto", "Valor líquido"), s.linha(titulos));
        final List<List<Object>> obtido = new ArrayList<>();
        for (int i = titulos + 1; s.linha(i) != null; i++) obtido.add(s.linha(i));
        assertEquals(esperado, obtido);
        assertEquals("A6:E" + (titulos + 1 + esperado.size()), s.filtro());
        final List<Object> total = s.linha(titulos + esperado.size() + 2);
        assertEquals("Total geral", total.get(0));
        assertEquals(esperado.stream().mapToDouble(e -> (double) e.get(1)).sum(), (double) total.get(1));
        final int ultima = titulos + esperado.size();
        assertEquals("SUBTOTAL(109,B7:B" + (ultima + 1) + ")", s.formula(ultima + 2, 1).replace(" ", ""));
        assertEquals("SUBTOTAL(109,E7:E" + (ultima + 1) + ")", s.formula(ultima + 2, 4).replace(" ", ""));
    }

    /**
     * An accountant filters the table to one company: the grand total, recomputed as a spreadsheet
     * program does with the other companies' rows hidden, is that company's. Before any filter the
     * cached figures are the whole report's, for readers that compute nothing.
     */
    @ParameterizedTest
    @ValueSource(strings = {"xls", "xlsx"})
    void totalGeralSegueOFiltro(String extensao) throws Exception {
        final Path arquivo = pasta.resolve("filtro." + extensao);
        final Totais t = new Totais(cabecalho().colunas());
        try (DestinoXls d = new DestinoXls(arquivo)) {
            d.inicio(cabecalho());
            for (int i = 1; i <= 5; i++) {
                final Object[] v = linha(i, "PRODUTO " + i);
                if (i > 3) v[1] = "1 - SUPERMERCADO";
                t.somar(v);
                d.linha(v);
            }
            d.fim(t);
        }
        final Folha s = LeitorPlanilha.ler(arquivo).get(0);
        final int total = TITULOS + 7;
        assertEquals(5.0, s.valor(total, 1));
        assertEquals(0.15, (double) s.valor(total, 9), 1e-9);
        if (extensao.equals("xlsx")) assertEquals("5 0.15", lidoEmCache(arquivo, "B" + (total + 1), "J" + (total + 1)));
        final List<Folha> folhas = List.of(s);
        final var empresa2 = java.util.Set.of("!" + (TITULOS + 1), "!" + (TITULOS + 2), "!" + (TITULOS + 3));
        assertEquals(2.0, subtotal(folhas, s.formula(total, 1), empresa2));
        assertEquals(2.5, subtotal(folhas, s.formula(total, 7), empresa2), 1e-9);
        assertEquals(0.09, subtotal(folhas, s.formula(total, 9), empresa2), 1e-9);
    }

    /**
     * SUBTOTAL(109 or 103, ranges…) computed as a spreadsheet program does once the filter hid
     * some rows ("sheet!row", 0-based; "!row" on a formula's own sheet). Debian's POI cannot
     * evaluate the hidden-row variants.
     */
    private static double subtotal(List<Folha> folhas, String formula, java.util.Set<String> escondidas) {
        final var m = java.util.regex.Pattern.compile("SUBTOTAL\\((109|103),(.*)\\)").matcher(formula.replaceAll("\\s*,\\s*", ","));
        assertTrue(m.matches(), formula);
        double r = 0;
        for (String ref : m.group(2).split(",")) {
            final var p = java.util.regex.Pattern.compile("(?:'(.+)'!|([^'!]+)!)?([A-Z]+)(\\d+):([A-Z]+)(\\d+)").matcher(ref);
            assertTrue(p.matches(), ref);
            final String nome = p.group(1) != null ? p.group(1).replace("''", "'") : p.group(2) != null ? p.group(2) : "";
            final Folha f = nome.isEmpty() ? folhas.get(folhas.size() - 1)
                    : folhas.stream().filter(x -> x.nome().equals(nome)).findFirst().orElseThrow(() -> new AssertionError(ref));
            assertEquals(p.group(3), p.group(5), ref);
            final int coluna = p.group(3).charAt(0) - 'A';
            for (int linha = Integer.parseInt(p.group(4)) - 1; linha < Integer.parseInt(p.group(6)); linha++) {
                if (escondidas.contains(nome + "!" + linha)) continue;
                final Object v = f.valor(linha, coluna);
                if (m.group(1).equals("103")) r += v == null ? 0 : 1;
                else if (v instanceof Double d) r += d;
            }
        }
        return r;
    }

    /**
     * A filter of thousands of codes: the page shortens it, a spreadsheet or HTML page gives every
     * code, wrapped in rows as wide as the table and cut between codes where a row would overflow.
     */
    @ParameterizedTest
    @ValueSource(strings = {"xls", "xlsx", "html"})
    void listaLongaPorInteiro(String extensao) throws Exception {
        final List<String> codigos = new ArrayList<>();
        for (int i = 1; i <= 3000; i++) codigos.add(i + " - PRODUTO DE NOME LONGO Nº " + i);
        final String completo = "Produto: " + String.join(", ", codigos);
        final Cabecalho c = new Cabecalho("Relação", List.of("Produto: 3000 códigos — 1 - X … 3000 - Y", "Marca: 3 - TIO JOÃO"),
                "Depósito", "Data", LocalDateTime.of(2026, 12, 9, 15, 30), BancoTeste.design().colunas(), false, List.of(),
                List.of(completo, "Marca: 3 - TIO JOÃO"));
        final Path arquivo = pasta.resolve("lista." + extensao);
        final Totais t = new Totais(c.colunas());
        t.somar(linha(1, "PRODUTO"));
        try (Destino d = extensao.equals("html") ? new DestinoHtml(arquivo) : new DestinoXls(arquivo)) {
            d.inicio(c);
            d.linha(linha(1, "PRODUTO"));
            d.fim(t);
        }
        if (extensao.equals("html")) {
            final String html = Files.readString(arquivo);
            assertTrue(html.contains(completo) && !html.contains("3000 códigos"), "the whole list");
            return;
        }
        final Folha s = LeitorPlanilha.ler(arquivo).get(0);
        final StringBuilder lido = new StringBuilder();
        int r = 1;
        for (; !"Marca: 3 - TIO JOÃO".equals(s.valor(r, 0)); r++) {
            final String pedaco = (String) s.valor(r, 0);
            assertTrue(pedaco.length() <= 32_767 && s.mescladas().contains("A" + (r + 1) + ":K" + (r + 1)), "row " + r);
            lido.append(lido.length() == 0 ? "" : " ").append(pedaco);
        }
        assertEquals(completo, lido.toString());
        assertTrue(r > 3, "a list this long takes several rows: " + r);
        assertEquals(TITULOS_COLUNAS, s.linha(r + 4), "the table below the block");
        assertEquals("A" + (r + 5) + ":K" + (r + 6), s.filtro());
    }

    /** Cells' cached values as openpyxl reads them without computing anything. */
    private static String lidoEmCache(Path arquivo, String... celulas) throws Exception {
        final List<String> args = new ArrayList<>(List.of("/usr/bin/python3", "-c", """
                import sys, openpyxl
                ws = openpyxl.load_workbook(sys.argv[1], data_only=True).worksheets[0]
                print(*[ws[c].value for c in sys.argv[2:]])
                """, arquivo.toString()));
        args.addAll(List.of(celulas));
        final Process p = new ProcessBuilder(args).redirectErrorStream(true).start();
        final String saida = new String(p.getInputStream().readAllBytes(), java.nio.charset.StandardCharsets.UTF_8).strip();
        assertEquals(0, p.waitFor(), saida);
        return saida;
    }

    // The published name follows the spreadsheet written: .xlsx for a report too long for .xls.
    @ParameterizedTest
    @CsvSource({"a.xls, r-20261209-153000.xls", "a.xlsx, r-20261209-153000.xlsx"})
    void publicadoComAExtensaoDoArquivo(String rascunho, String publicado) throws Exception {
        final Path home = Files.createDirectory(pasta.resolve("home"));
        final Path r = Files.writeString(pasta.resolve(rascunho), "planilha");
        assertEquals(home.resolve(publicado), ArquivoSaida.publicar(r, new visualizador.dados.Ambiente(Map.of(), home), "r",
                visualizador.Formato.XLS, LocalDateTime.of(2026, 12, 9, 15, 30)));
    }

    // What a report longer than .xls holds is written as .xlsx, beside the name asked for.
    @ParameterizedTest
    @CsvSource({"r.xls, r.xlsx", "r.XLS, r.xlsx", "r.xlsx, r.xlsx", "r, r.xlsx"})
    void nomeXlsx(String pedido, String esperado) {
        assertEquals(pasta.resolve(esperado), DestinoXls.comoXlsx(pasta.resolve(pedido)));
    }

    // A summed first column keeps its total; the label moves to the first column without one.
    @ParameterizedTest
    @ValueSource(strings = {"r.xls", "r.xlsx"})
    void primeiraColunaSomada(String nome) throws Exception {
        final List<visualizador.design.Coluna> colunas = new ArrayList<>(BancoTeste.design().colunas());
        colunas.add(0, colunas.remove(7)); // Quantidade first
        final Cabecalho c = new Cabecalho("R", List.of(), "Depósito", "Data", LocalDateTime.of(2026, 12, 9, 15, 30), colunas);
        final Totais t = new Totais(colunas);
        try (DestinoXls d = new DestinoXls(pasta.resolve(nome))) {
            d.inicio(c);
            for (int i = 1; i <= 2; i++) {
                final List<Object> v = new ArrayList<>(java.util.Arrays.asList(linha(i, "P")));
                v.add(0, v.remove(7));
                final Object[] m = v.toArray();
                t.somar(m);
                d.linha(m);
            }
            d.fim(t);
        }
        final Folha s = LeitorPlanilha.ler(pasta.resolve(nome)).get(0);
        final int total = 8; // title, choices, issue, a blank row, the titles, two lines, a blank row
        assertEquals(List.of(2.5, "Total geral", 2.0), s.linha(total).subList(0, 3));
        assertEquals(List.of("SUBTOTAL(109,A6:A7)", "SUBTOTAL(103,A6:A7)"),
                List.of(0, 2).stream().map(i -> s.formula(total, i).replace(" ", "")).toList());
    }
}
