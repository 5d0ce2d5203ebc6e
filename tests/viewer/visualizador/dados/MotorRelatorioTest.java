package visualizador.dados;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.math.BigDecimal;
import java.nio.file.Path;
import java.sql.PreparedStatement;
import java.sql.ResultSet;
import java.time.LocalDate;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.Comparator;
import java.util.List;
import java.util.Map;
import org.junit.jupiter.api.AfterAll;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import visualizador.BancoTeste;
import visualizador.design.Design;
import visualizador.pagina.Cabecalho;
import visualizador.pagina.Destino;
import visualizador.pagina.Totais;

/** The engine on the demo data, against the same questions asked in plain SQL. */
class MotorRelatorioTest {
    @TempDir
    static Path home;
    private static Conexao conexao;
    private static Design design;

    /** Records what the engine hands to a destination. */
    static class Gravador implements Destino {
        Cabecalho cabecalho;
        final List<String> grupos = new ArrayList<>();
        final List<Long> linhasPorGrupo = new ArrayList<>();
        final List<BigDecimal[]> somasPorGrupo = new ArrayList<>();
        final List<Object[]> linhas = new ArrayList<>();
        Totais geral;
        boolean fechado;

        @Override public void inicio(Cabecalho c) { cabecalho = c; }
        @Override public void inicioGrupo(String t) { grupos.add(t); }
        @Override public void linha(Object[] v) throws java.io.IOException { linhas.add(v); }
        @Override public void fimGrupo(String t, Totais s) {
            linhasPorGrupo.add(s.linhas());
            somasPorGrupo.add(new BigDecimal[] {s.soma(7), s.soma(8), s.soma(9)});
        }
        @Override public void fim(Totais s) { geral = s; }
        @Override public void close() { fechado = true; }
    }

    @BeforeAll
    static void conectar() throws Exception {
        conexao = BancoTeste.conectar(home);
        design = BancoTeste.design();
    }

    @AfterAll
    static void fechar() throws Exception {
        if (conexao != null) conexao.close();
    }

    private static Gravador executar(String... pares) throws Exception {
        return executar(OpcoesRelatorio.PADRAO, pares);
    }

    private static MotorRelatorio motor(OpcoesRelatorio opcoes, String... pares) throws Exception {
        final List<Map.Entry<String, String>> l = new ArrayList<>();
        for (String p : pares)
            if (!p.isBlank()) l.add(Map.entry(p.substring(0, p.indexOf('=')), p.substring(p.indexOf('=') + 1)));
        return new MotorRelatorio(conexao, design, ValoresParametros.analisar(design, l), opcoes);
    }

    private static Gravador executar(OpcoesRelatorio opcoes, String... pares) throws Exception {
        final Gravador g = new Gravador();
        try (g) {
            motor(opcoes, pares).executar(g, Progresso.NENHUM);
        }
        return g;
    }

    /** count, sum(estqtd), sum(valor bruto), sum(valor líquido) of the kept stock rows under a condition. */
    private static BigDecimal[] sql(String condicao) throws Exception {
        final String q = "SELECT count(*), coalesce(sum(e.estqtd), 0), coalesce(sum(round(e.estqtd * p.propreco, 2)), 0),"
                + " coalesce(sum(round(e.estqtd * p.procusto, 2)), 0) FROM est e JOIN pro p ON p.procod = e.estprocod"
                + " LEFT JOIN scat s ON s.scatcod = p.proscatcod LEFT JOIN cat c ON c.catcod = s.scatcatcod"
                + " WHERE e.estforalinha IS DISTINCT FROM 'S' AND " + condicao;
        try (PreparedStatement st = conexao.jdbc().prepareStatement(q); ResultSet rs = st.executeQuery()) {
            rs.next();
            return new BigDecimal[] {rs.getBigDecimal(1), rs.getBigDecimal(2), rs.getBigDecimal(3), rs.getBigDecimal(4)};
        } finally {
            conexao.jdbc().rollback();
        }
    }

    // Each filter, lists of codes and combinations, against the same condition in plain SQL.
    @ParameterizedTest(name = "{0}")
    @CsvSource(delimiter = '|', value = {
        "P_EMP=1                    | e.estempparcod = 1",
        "P_EMP=1,2                  | true",
        "P_DEP=3,37                 | e.estdepproendcod IN (3, 37)",
        "P_PRO=1234567890           | e.estprocod = 1234567890",
        "P_FORN=105                 | p.proforparcod = 105",
        "P_SECP=2                   | c.catsecpcod = 2",
        "P_CAT=16                   | s.scatcatcod = 16",
        "P_SCAT=160,161             | p.proscatcod IN (160, 161)",
        "P_FAM=6                    | p.profamcod = 6",
        "P_MARCA=3,5                | p.promarcascod IN (3, 5)",
        "P_APP=2                    | p.proappcod = 2",
        "P_MARCA=60                 | false",
        "P_EMP=2;P_SECP=1;P_FAM=1   | e.estempparcod = 2 AND c.catsecpcod = 1 AND p.profamcod = 1",
    })
    void filtrosBatemComSql(String parametros, String condicao) throws Exception {
        final Gravador g = executar(parametros.strip().split(";"));
        final BigDecimal[] esperado = sql(condicao);
        assertEquals(esperado[0].longValue(), g.geral.linhas());
        assertEquals(g.linhas.size(), g.geral.linhas());
        assertEquals(0, esperado[1].compareTo(g.geral.soma(7)), "quantidade");
        assertEquals(0, esperado[2].compareTo(g.geral.soma(8)), "valor bruto");
        assertEquals(0, esperado[3].compareTo(g.geral.soma(9)), "valor líquido");
        assertEquals(g.geral.linhas(), g.linhasPorGrupo.stream().mapToLong(Long::longValue).sum());
        assertTrue(g.fechado);
    }

    @Test
    void semFiltroDeixaDeFora() throws Exception {
        final Gravador g = executar();
        assertEquals(sql("true")[0].longValue(), g.geral.linhas());
        assertEquals(List.of("Sem filtros"), g.cabecalho.filtros());
        // Rows without an address are kept, in the last group.
        assertEquals("Depósito: SEM ENDEREÇO", g.grupos.get(g.grupos.size() - 1));
        assertEquals(sql("e.estdepproendcod IS NULL")[0].longValue(),
                g.linhasPorGrupo.get(g.linhasPorGrupo.size() - 1));
    }

    // Groups ascend by code (no address last) and never repeat; within a group the chosen order
    // holds, ties by product then company.
    @ParameterizedTest(name = "grupo {0}, ordem {1}")
    @CsvSource({"1,0,0", "1,1,0", "2,2,2", "3,0,1", "3,2,1"})
    void agrupamentoEOrdem(int grupo, int ordem, int colunaGrupo) throws Exception {
        final Gravador g = executar("P_EMP=0", "P_GRUPO=" + grupo, "P_ORDEM=" + ordem, "P_SECP=1,2");
        assertEquals(g.grupos.size(), g.grupos.stream().distinct().count(), "a group appears twice");
        final Comparator<Object[]> porOrdem = switch (ordem) {
            case 0 -> Comparator.comparing((Object[] v) -> (LocalDate) v[10], Comparator.nullsLast(Comparator.naturalOrder()));
            case 1 -> Comparator.comparing((Object[] v) -> (BigDecimal) v[8], Comparator.nullsLast(Comparator.reverseOrder()));
            default -> Comparator.comparing((Object[] v) -> (BigDecimal) v[9], Comparator.nullsLast(Comparator.reverseOrder()));
        };
        final Comparator<Object[]> completa = porOrdem.thenComparing(v -> (Long) v[2])
                .thenComparing(v -> (String) v[1]);
        int inicio = 0;
        long anterior = Long.MIN_VALUE;
        for (long n : g.linhasPorGrupo) {
            final List<Object[]> grupoLinhas = g.linhas.subList(inicio, inicio + (int) n);
            final List<Object[]> ordenadas = new ArrayList<>(grupoLinhas);
            ordenadas.sort(completa);
            for (int i = 0; i < ordenadas.size(); i++)
                assertTrue(Arrays.equals(ordenadas.get(i), grupoLinhas.get(i)), "order broken in a group");
            final Object chave = grupoLinhas.get(0)[colunaGrupo];
            final long codigo = chave instanceof Long l ? l
                    : chave.equals("SEM ENDEREÇO") ? Long.MAX_VALUE : Long.parseLong(((String) chave).split(" ")[0]);
            assertTrue(codigo > anterior, "groups out of order");
            anterior = codigo;
            inicio += (int) n;
        }
    }

    @Test
    void filtrosEmPalavras() throws Exception {
        final Gravador g = executar("P_EMP=1", "P_MARCA=3,5", "P_PRO=999999");
        assertEquals(List.of("Empresa: 1 - SUPERMERCADO BOA VISTA LTDA", "Produto: 999999",
                "Marca: 3 - TIO JOÃO, 5 - UNIÃO"), g.cabecalho.filtros());
        assertEquals(0, g.geral.linhas());
        assertTrue(g.grupos.isEmpty());
    }

    /** "code - description" of each code, the descriptions read here in plain SQL. */
    private static List<String> descritos(String sql) throws Exception {
        final List<String> l = new ArrayList<>();
        try (PreparedStatement st = conexao.jdbc().prepareStatement(sql); ResultSet rs = st.executeQuery()) {
            while (rs.next()) l.add(rs.getInt(1) + " - " + rs.getString(2));
        } finally {
            conexao.jdbc().rollback();
        }
        return l;
    }

    // A short list describes every code; a long one keeps its count, its first codes and its last on the page.
    @Test
    void listasDeCodigosDescritas() throws Exception {
        final List<String> produtos = descritos("SELECT procod, prodes FROM pro ORDER BY procod LIMIT 40");
        final List<String> fornecedores = descritos(
                "SELECT parcod, pardes FROM par JOIN forn ON forparcod = parcod ORDER BY parcod LIMIT 3");
        final String codigosProdutos = String.join(",", produtos.stream().map(d -> d.split(" ")[0]).toList());
        final String codigosFornecedores = String.join(", ", fornecedores.stream().map(d -> d.split(" ")[0]).toList());
        final Gravador g = executar("P_PRO=" + codigosProdutos, "P_FORN=" + codigosFornecedores);
        assertEquals(List.of("Produto: 40 códigos — " + String.join(", ", produtos.subList(0, 5)) + " … " + produtos.get(39),
                "Fornecedor: " + String.join(", ", fornecedores)), g.cabecalho.filtros());
        // Files without pages get every code.
        assertEquals(List.of("Produto: " + String.join(", ", produtos), "Fornecedor: " + String.join(", ", fornecedores)),
                g.cabecalho.filtrosCompletos());
    }

    /** Per group, in the engine's order: count and the three sums, in plain SQL. */
    private static List<String> gruposSql(String chave, String condicao) throws Exception {
        final String q = "SELECT count(*), sum(e.estqtd), sum(round(e.estqtd * p.propreco, 2)),"
                + " sum(round(e.estqtd * p.procusto, 2)) FROM est e JOIN pro p ON p.procod = e.estprocod"
                + " WHERE e.estforalinha IS DISTINCT FROM 'S' AND " + condicao + " GROUP BY " + chave
                + " ORDER BY " + chave + " NULLS LAST";
        final List<String> l = new ArrayList<>();
        try (PreparedStatement st = conexao.jdbc().prepareStatement(q); ResultSet rs = st.executeQuery()) {
            while (rs.next())
                l.add(rs.getLong(1) + " " + rs.getBigDecimal(2).stripTrailingZeros().toPlainString() + " "
                        + rs.getBigDecimal(3).stripTrailingZeros().toPlainString() + " "
                        + rs.getBigDecimal(4).stripTrailingZeros().toPlainString());
        } finally {
            conexao.jdbc().rollback();
        }
        return l;
    }

    // A summary hands over every group with its count and sums, and no line; zero stock may be left out.
    @ParameterizedTest(name = "grupo {0}, sem estoque zerado {1}")
    @CsvSource({"1, false, e.estdepproendcod", "2, true, e.estprocod", "3, false, e.estempparcod",
        "1, true, e.estdepproendcod"})
    void somenteTotaisBateComSql(int grupo, boolean semZerado, String chave) throws Exception {
        final OpcoesRelatorio opcoes = new OpcoesRelatorio(true, semZerado);
        final Gravador g = executar(opcoes, "P_GRUPO=" + grupo, "P_SECP=1,2");
        final String condicao = "p.proscatcod IN (SELECT scatcod FROM scat JOIN cat ON catcod = scatcatcod"
                + " WHERE catsecpcod IN (1, 2))" + (semZerado ? " AND e.estqtd <> 0" : "");
        final List<String> esperado = gruposSql(chave, condicao);
        final List<String> obtido = new ArrayList<>();
        for (int i = 0; i < g.linhasPorGrupo.size(); i++) {
            final BigDecimal[] s = g.somasPorGrupo.get(i);
            obtido.add(g.linhasPorGrupo.get(i) + " " + s[0].stripTrailingZeros().toPlainString() + " "
                    + s[1].stripTrailingZeros().toPlainString() + " " + s[2].stripTrailingZeros().toPlainString());
        }
        assertEquals(esperado, obtido);
        assertTrue(g.linhas.isEmpty(), "no detail line in a summary");
        assertTrue(g.cabecalho.somenteTotais());
        assertEquals(sql(condicao)[0].longValue(), g.geral.linhas());
        assertEquals(esperado.size(), motor(opcoes, "P_GRUPO=" + grupo, "P_SECP=1,2").contarLinhasTabela());
    }

    // Leaving zero stock out drops exactly those lines, says so in the header, and counts up front alike.
    @ParameterizedTest(name = "[{0}]")
    @CsvSource(delimiter = '|', value = {"'' | true", "P_EMP=2 | e.estempparcod = 2", "P_GRUPO=2;P_ORDEM=1 | true"})
    void estoqueZeradoDeFora(String parametros, String condicao) throws Exception {
        assertTrue(sql(condicao + " AND e.estqtd = 0")[0].signum() > 0, "the data must hold zero-stock lines");
        final String[] pares = parametros.strip().split(";");
        final OpcoesRelatorio opcoes = new OpcoesRelatorio(false, true);
        final Gravador g = executar(opcoes, pares);
        final BigDecimal[] esperado = sql(condicao + " AND e.estqtd <> 0");
        assertEquals(esperado[0].longValue(), g.geral.linhas());
        assertEquals(0, esperado[1].compareTo(g.geral.soma(7)));
        assertTrue(g.linhas.stream().noneMatch(v -> ((BigDecimal) v[7]).signum() == 0));
        assertEquals(esperado[0].longValue(), motor(opcoes, pares).contarLinhas());
        assertEquals("Estoque zerado: fora do relatório", g.cabecalho.filtros().get(g.cabecalho.filtros().size() - 1));
        // By default they are shown.
        assertEquals(sql(condicao)[0].longValue(), executar(pares).geral.linhas());
    }

    // A line whose stock is unknown (NULL) is not zero stock: it stays when zero stock is left out.
    @Test
    void estoqueNuloFicaSemEstoqueZerado() throws Exception {
        final String nulo = "CASE WHEN e.estprocod % 7 = 0 THEN NULL ELSE e.estqtd END";
        assertTrue(design.sql().contains("e.estqtd,"), "the design's stock column");
        final Design comNulos = new Design(design.titulo(), design.sql().replace("e.estqtd,", nulo + " AS estqtd,"),
                design.parametros(), design.colunas(), design.agrupamentos(), design.ordens(), design.campoEstoque());
        final OpcoesRelatorio opcoes = new OpcoesRelatorio(false, true);
        final Gravador g = new Gravador();
        try (g) {
            new MotorRelatorio(conexao, comNulos, ValoresParametros.analisar(comNulos, List.of()), opcoes)
                    .executar(g, Progresso.NENHUM);
        }
        final long nulos = g.linhas.stream().filter(v -> v[7] == null).count();
        assertEquals(sql("e.estprocod % 7 = 0")[0].longValue(), nulos);
        assertTrue(nulos > 0, "the data must hold such lines");
        assertEquals(sql("(e.estprocod % 7 = 0 OR e.estqtd <> 0)")[0].longValue(), g.geral.linhas());
    }

    // A destination failing half-way (a full disk, say) ends the background fetch at once.
    @Test
    void falhaDoDestinoEncerraABusca() throws Exception {
        final Gravador falha = new Gravador() {
            @Override public void linha(Object[] v) throws java.io.IOException {
                if (linhas.size() == 1500) throw new java.io.IOException("disco cheio");
                super.linha(v);
            }
        };
        final java.io.IOException e = assertThrows(java.io.IOException.class, () -> new MotorRelatorio(conexao, design,
                ValoresParametros.analisar(design, List.of())).executar(falha, Progresso.NENHUM));
        assertEquals("disco cheio", e.getMessage());
        assertTrue(Thread.getAllStackTraces().keySet().stream().noneMatch(t -> t.getName().equals("relatorio-busca")));
        assertEquals(1, executar("P_PRO=2", "P_EMP=1").geral.linhas());
    }

    @Test
    void cancelarPara() throws Exception {
        final Progresso cancela = new Progresso() {
            @Override public boolean cancelado() { return true; }
        };
        final Gravador g = new Gravador();
        assertThrows(Cancelado.class, () -> new MotorRelatorio(conexao, design,
                ValoresParametros.analisar(design, List.of())).executar(g, cancela));
        // The session stays usable after the cursor was abandoned.
        assertEquals(1, executar("P_PRO=2", "P_EMP=1").geral.linhas());
    }
}
