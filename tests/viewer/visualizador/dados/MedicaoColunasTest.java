package visualizador.dados;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.math.BigDecimal;
import java.nio.file.Path;
import java.sql.PreparedStatement;
import java.sql.ResultSet;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import visualizador.BancoTeste;
import visualizador.design.Design;
import visualizador.pagina.MedidaColuna;

/** What the columns are measured to hold, against the same questions asked in plain SQL. */
class MedicaoColunasTest {
    private static final String DE = " FROM est e JOIN pro p ON p.procod = e.estprocod"
            + " LEFT JOIN marcas m ON m.marcascod = p.promarcascod WHERE e.estforalinha IS DISTINCT FROM 'S' AND ";

    @TempDir
    Path home;

    @ParameterizedTest(name = "{0}")
    @CsvSource(delimiter = '|', value = {
        "P_EMP=0   | true                    | true                   | '1;2'",
        "P_EMP=1   | e.estempparcod = 1      | true                   | '1'",
        "P_MARCA=3 | p.promarcascod = 3      | marcascod = 3          | '1;2'",
        "P_DEP=5   | e.estdepproendcod = 5   | true                   | '1;2'",
    })
    void medidasConferemComOBanco(String filtro, String condicao, String marcas, String empresas) throws Exception {
        final Design design = BancoTeste.design();
        try (Conexao c = BancoTeste.conectar(home)) {
            final List<MedidaColuna> m = new MotorRelatorio(c, design, ValoresParametros.analisar(design,
                    List.of(Map.entry(filtro.split("=")[0], filtro.split("=")[1])))).medirColunas(Progresso.NENHUM);
            assertEquals(design.colunas().size(), m.size());
            final MedidaColuna empresa = m.get(coluna(design, "emp_cod"));
            assertEquals(List.of(empresas.split(";")), empresa.codigos());
            assertEquals(textos(c, "SELECT parcod || ' - ' || pardes FROM par WHERE parcod IN ("
                    + empresas.replace(';', ',') + ") ORDER BY parcod"), empresa.textos());
            assertEquals(textos(c, "SELECT marcasdes FROM marcas WHERE " + marcas + " ORDER BY 1"),
                    m.get(coluna(design, "marcasdes")).textos().stream().sorted().toList());
            // Addresses: every one of the table, and the lines without one.
            assertTrue(m.get(coluna(design, "end_cod")).textos().contains("SEM ENDEREÇO"));
            for (String campo : List.of("estqtd", "valor_bruto", "valor_liquido")) {
                final String v = campo.equals("estqtd") ? "e.estqtd" : campo.equals("valor_bruto")
                        ? "round(e.estqtd * p.propreco, 2)" : "round(e.estqtd * p.procusto, 2)";
                final List<String> banco = textos(c, "SELECT max(abs(" + v + ")) || ';' || sum(abs(" + v + ")) || ';'"
                        + " || coalesce(bool_or(" + v + " < 0), false)" + DE + condicao);
                final MedidaColuna n = m.get(coluna(design, campo));
                assertEquals(banco.get(0), n.maior() + ";" + n.maiorTotal() + ";" + n.negativos(), campo);
            }
            final BigDecimal maiorCodigo = new BigDecimal(textos(c, "SELECT max(procod)::text" + DE + condicao).get(0));
            assertEquals(maiorCodigo, m.get(coluna(design, "procod")).maior());
            // The longest reference, of those the report prints.
            final List<String> referencia = m.get(coluna(design, "proref")).textos();
            assertEquals(1, referencia.size());
            assertEquals(textos(c, "SELECT max(length(p.proref))::text" + DE + condicao).get(0),
                    String.valueOf(referencia.get(0).length()));
            assertTrue(textos(c, "SELECT count(*)::text" + DE + condicao + " AND p.proref = '" + referencia.get(0) + "'")
                    .get(0).matches("[1-9][0-9]*"), referencia.get(0));
            // The description is cut, not sized: nothing is read for it.
            assertTrue(m.get(coluna(design, "prodes")).textos().isEmpty());
        }
    }

    private static int coluna(Design d, String campo) {
        for (int i = 0; i < d.colunas().size(); i++)
            if (d.colunas().get(i).campo().equals(campo)) return i;
        throw new IllegalArgumentException(campo);
    }

    private static List<String> textos(Conexao c, String sql) throws Exception {
        final List<String> l = new ArrayList<>();
        try (PreparedStatement st = c.jdbc().prepareStatement(sql); ResultSet rs = st.executeQuery()) {
            while (rs.next()) l.add(rs.getString(1));
        }
        return l;
    }
}
