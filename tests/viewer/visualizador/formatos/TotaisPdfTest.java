package visualizador.formatos;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.nio.file.Path;
import java.sql.PreparedStatement;
import java.sql.ResultSet;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import java.util.TreeMap;
import java.util.regex.Matcher;
import java.util.regex.Pattern;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import visualizador.BancoTeste;
import visualizador.dados.Conexao;
import visualizador.dados.MotorRelatorio;
import visualizador.dados.OpcoesRelatorio;
import visualizador.dados.Progresso;
import visualizador.dados.ValoresParametros;
import visualizador.design.Design;
import visualizador.pagina.Diagramacao;
import visualizador.pagina.Formatos;

/** The PDF's figures and texts read back and set against the database's own sums. */
class TotaisPdfTest {
    private static final String DE = " FROM est e JOIN pro p ON p.procod = e.estprocod JOIN par pe ON pe.parcod = e.estempparcod"
            + " LEFT JOIN dep_pro_enderecamento d ON d.depproendcod = e.estdepproendcod"
            + " LEFT JOIN scat s ON s.scatcod = p.proscatcod LEFT JOIN cat c ON c.catcod = s.scatcatcod"
            + " WHERE e.estforalinha IS DISTINCT FROM 'S' AND ";
    private static final String ENDERECO =
            "CASE WHEN e.estdepproendcod IS NULL THEN 'SEM ENDEREÇO' ELSE e.estdepproendcod || ' - ' || d.depproenddes END";
    private static final String EMPRESA = "e.estempparcod || ' - ' || pe.pardes";
    private static final Map<Integer, String> CHAVE = Map.of(1, ENDERECO, 2, "p.procod || ' - ' || p.prodes", 3, EMPRESA);
    private static final Map<Integer, String> NOME = Map.of(1, "Depósito", 2, "Produto", 3, "Empresa");
    private static final Pattern ROTULO = Pattern.compile("Total (?:\\p{L}+: )?(.+): ([\\d.]+) linhas?");

    @TempDir
    Path dir;

    /**
     * Every subtotal and the grand total, count, quantity, gross and net, as the database sums
     * them; in summary mode the one line per group. Grouped by product or company, the texts of the
     * address, company and reference columns print whole; several companies print whole in the
     * header's legend, their codes in the lines.
     */
    @ParameterizedTest(name = "{0} grupo {2} resumo {3}")
    @CsvSource({
        "P_EMP=1;P_SECP=1, e.estempparcod = 1 AND c.catsecpcod = 1, 1, false",
        "P_EMP=1;P_SECP=1, e.estempparcod = 1 AND c.catsecpcod = 1, 2, false",
        "P_EMP=0;P_SECP=2, c.catsecpcod = 2,                        3, false",
        "P_EMP=1;P_SECP=1, e.estempparcod = 1 AND c.catsecpcod = 1, 1, true",
        "P_EMP=1;P_SECP=1, e.estempparcod = 1 AND c.catsecpcod = 1, 2, true",
        "P_EMP=0;P_SECP=2, c.catsecpcod = 2,                        3, true",
        // One product in two companies, equal in every ordering key but the company.
        "'P_PRO=1,2,4',    'e.estprocod IN (1, 2, 4)',              2, false",
        "'P_PRO=1,2,4',    'e.estprocod IN (1, 2, 4)',              3, false",
    })
    void totaisETextosConferemComOBanco(String parametros, String condicao, int grupo, boolean resumo) throws Exception {
        final Path pdf = dir.resolve("r.pdf");
        final Map<String, String> esperado = new TreeMap<>();
        final Map<String, List<String>> colunas = new TreeMap<>();
        try (Conexao c = BancoTeste.conectar(dir)) {
            final Design design = BancoTeste.design();
            final List<Map.Entry<String, String>> valores = new ArrayList<>();
            for (String p : parametros.split(";")) valores.add(Map.entry(p.split("=")[0], p.split("=")[1]));
            valores.add(Map.entry("P_GRUPO", String.valueOf(grupo)));
            try (DestinoPdf d = new DestinoPdf(pdf, Progresso.NENHUM)) {
                new MotorRelatorio(c, design, ValoresParametros.analisar(design, valores),
                        new OpcoesRelatorio(resumo, false)).executar(d, Progresso.NENHUM);
            }
            somas(c, CHAVE.get(grupo), condicao, esperado);
            somas(c, "'geral'", condicao, esperado);
            for (var col : Map.of("Depósito", ENDERECO, "Empresa", EMPRESA, "Referência", "p.proref").entrySet())
                if (!col.getKey().equals(NOME.get(grupo)))
                    colunas.put(col.getKey(), valores(c, col.getValue() + " ORDER BY p.procod, e.estempparcod", condicao));
        }
        final List<GlifosPdf.Linha> linhas = GlifosPdf.linhas(pdf);
        assertEquals(esperado, resumo ? linhasDoResumo(linhas) : subtotais(linhas));
        if (resumo) return;
        final String primeira = DestinoPdfTest.texto(pdf, 1).replaceAll("\\s+", " ");
        for (var col : colunas.entrySet()) {
            final String impresso = DestinoPdfTest.textoDaColuna(linhas, col.getKey()).replace(" ", "");
            List<String> esperados = col.getValue();
            if (primeira.contains(col.getKey() + Diagramacao.LEGENDA)) { // whole in the header, the code in the lines
                for (String v : esperados) assertTrue(primeira.contains(v), v + " in the legend of " + primeira);
                esperados = esperados.stream().map(v -> v.substring(0, v.indexOf(" - "))).toList();
            }
            int desde = 0;
            for (String v : esperados) {
                assertTrue(impresso.contains(v.replace(" ", "")), v + " in " + col.getKey() + ": " + impresso);
                if (grupo == 2) { // within a product, the companies in code order
                    desde = impresso.indexOf(v.replace(" ", ""), desde);
                    assertTrue(desde >= 0, v + " out of order in " + col.getKey());
                }
            }
        }
    }

    private static void somas(Conexao c, String chave, String condicao, Map<String, String> m) throws Exception {
        try (PreparedStatement st = c.jdbc().prepareStatement("SELECT " + chave + ", count(*), sum(e.estqtd),"
                + " sum(round(e.estqtd * p.propreco, 2)), sum(round(e.estqtd * p.procusto, 2))" + DE + condicao
                + " GROUP BY 1"); ResultSet rs = st.executeQuery()) {
            while (rs.next())
                m.put(rs.getString(1), rs.getLong(2) + " | " + Formatos.numero(rs.getBigDecimal(3), 3) + " | "
                        + Formatos.numero(rs.getBigDecimal(4), 2) + " | " + Formatos.numero(rs.getBigDecimal(5), 2));
        }
    }

    private static List<String> valores(Conexao c, String expressao, String condicao) throws Exception {
        final String[] partes = expressao.split(" ORDER BY ");
        final List<String> l = new ArrayList<>();
        try (PreparedStatement st = c.jdbc().prepareStatement("SELECT " + partes[0] + DE + condicao + " ORDER BY "
                + partes[1]); ResultSet rs = st.executeQuery()) {
            while (rs.next())
                if (rs.getString(1) != null) l.add(rs.getString(1));
        }
        return l;
    }

    /** "Total Endereço: 12 - CORREDOR …: 139 linhas | 1.234,000 | …" keyed by the group ("geral" for the grand total). */
    private static Map<String, String> subtotais(List<GlifosPdf.Linha> linhas) {
        final Map<String, String> m = new TreeMap<>();
        for (GlifosPdf.Linha l : linhas) {
            final List<String> t = trechos(l);
            final Matcher r = ROTULO.matcher(t.get(0));
            if (!r.matches()) continue;
            assertEquals(4, t.size(), "label and three sums: " + t);
            m.put(r.group(1), r.group(2).replace(".", "") + " | " + String.join(" | ", t.subList(1, 4)));
        }
        return m;
    }

    /** The summary's lines: name, count and three sums. */
    private static Map<String, String> linhasDoResumo(List<GlifosPdf.Linha> linhas) {
        final Map<String, String> m = new TreeMap<>();
        for (GlifosPdf.Linha l : linhas) {
            final List<String> t = trechos(l);
            if (t.size() != 5 || !t.get(1).matches("[\\d.]+")) continue;
            m.put(t.get(0).equals("Total geral") ? "geral" : t.get(0),
                    t.get(1).replace(".", "") + " | " + String.join(" | ", t.subList(2, 5)));
        }
        return m;
    }

    private static List<String> trechos(GlifosPdf.Linha l) {
        return l.trechos().stream().map(t -> t.stream().map(GlifosPdf.Glifo::texto).reduce("", String::concat)).toList();
    }

    /** Filters given in full: each one's name and the description of a single code, as the database has it. */
    @Test
    void cadaFiltroComNomeEDescricao() throws Exception {
        final Path pdf = dir.resolve("f.pdf");
        final StringBuilder produtos = new StringBuilder();
        final List<String> descricoes = new ArrayList<>();
        try (Conexao c = BancoTeste.conectar(dir)) {
            try (PreparedStatement st = c.jdbc().prepareStatement("SELECT procod FROM pro ORDER BY procod LIMIT 40");
                 ResultSet rs = st.executeQuery()) {
                while (rs.next()) produtos.append(produtos.length() == 0 ? "" : ",").append(rs.getInt(1));
            }
            for (String sql : List.of("SELECT pardes FROM par WHERE parcod = 1",
                    "SELECT marcasdes FROM marcas WHERE marcascod = 3", "SELECT appdes FROM app WHERE appcod = 1"))
                try (PreparedStatement st = c.jdbc().prepareStatement(sql); ResultSet rs = st.executeQuery()) {
                    assertTrue(rs.next(), sql);
                    descricoes.add(rs.getString(1));
                }
            final Design design = BancoTeste.design();
            try (DestinoPdf d = new DestinoPdf(pdf, Progresso.NENHUM)) {
                new MotorRelatorio(c, design, ValoresParametros.analisar(design, List.of(Map.entry("P_EMP", "1"),
                        Map.entry("P_PRO", produtos.toString()), Map.entry("P_MARCA", "3"), Map.entry("P_APP", "1"))))
                        .executar(d, Progresso.NENHUM);
            }
        }
        final String primeira = DestinoPdfTest.texto(pdf, 1).replaceAll("\\s+", " ");
        for (String s : List.of("Empresa: 1", "Produto: ", "Marca: 3", "Aplicação: 1"))
            assertTrue(primeira.contains(s), s + " in " + primeira);
        for (String s : descricoes) assertTrue(primeira.contains(s), s + " in " + primeira);
    }
}
