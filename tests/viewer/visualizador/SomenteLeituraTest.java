package visualizador;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static org.junit.jupiter.api.Assumptions.assumeTrue;

import java.io.ByteArrayOutputStream;
import java.io.PrintStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import org.junit.jupiter.api.AfterAll;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import visualizador.dados.Ambiente;

/**
 * Designs crafted to write, run by a role that may write in the schema zv_escrita: nothing is
 * written, on a direct connection and through a transaction-mode pooler.
 */
class SomenteLeituraTest {
    private static final String SQL_ORIGINAL = "WHERE e.estforalinha IS DISTINCT FROM 'S'";
    private static final String DESCRICAO_MARCA = "SELECT marcasdes FROM marcas WHERE marcascod = :codigo";

    @TempDir
    Path home;

    @BeforeAll
    static void esquemaGravavel() throws Exception {
        assumeTrue(BancoTeste.disponivel() && System.getenv("ZV_TEST_CLUSTER") != null);
        final String leitor = System.getenv("ZV_TEST_PGUSER");
        DesignForjado.superusuario("DROP SCHEMA IF EXISTS zv_escrita CASCADE; CREATE SCHEMA zv_escrita;"
                + " CREATE TABLE zv_escrita.marca (x int);"
                + " CREATE FUNCTION zv_escrita.escreve() RETURNS int LANGUAGE sql AS"
                + " 'INSERT INTO zv_escrita.marca VALUES (1) RETURNING x';"
                + " GRANT USAGE, CREATE ON SCHEMA zv_escrita TO " + leitor + ";"
                + " GRANT INSERT, SELECT ON zv_escrita.marca TO " + leitor + ";");
    }

    @AfterAll
    static void semEsquema() throws Exception {
        if (BancoTeste.disponivel() && System.getenv("ZV_TEST_CLUSTER") != null)
            DesignForjado.superusuario("DROP SCHEMA IF EXISTS zv_escrita CASCADE");
    }

    @ParameterizedTest(name = "{0} {1}: {2}")
    @CsvSource(delimiter = '|', value = {
        "direta | descricao | SET SESSION CHARACTERISTICS AS TRANSACTION READ WRITE",
        "direta | descricao | SET TRANSACTION READ WRITE",
        "direta | descricao | COMMIT",
        "direta | descricao | WITH w AS (INSERT INTO zv_escrita.marca VALUES (2) RETURNING x) SELECT 'x' FROM w",
        "direta | descricao | SELECT zv_escrita.escreve()::text",
        "direta | sql       | AND zv_escrita.escreve() = 1",
        "pooler | descricao | SET SESSION CHARACTERISTICS AS TRANSACTION READ WRITE",
        "pooler | descricao | SET TRANSACTION READ WRITE",
        "pooler | descricao | WITH w AS (INSERT INTO zv_escrita.marca VALUES (2) RETURNING x) SELECT 'x' FROM w",
        "pooler | sql       | AND zv_escrita.escreve() = 1",
    })
    void designQueTentaGravarNaoGrava(String via, String peca, String sql) throws Exception {
        final Path relatorio = peca.equals("sql") ? DesignForjado.escrever(home, SQL_ORIGINAL, SQL_ORIGINAL + " " + sql)
                : DesignForjado.escrever(home, DESCRICAO_MARCA, sql);
        final Ambiente amb = BancoTeste.ambiente(home);
        if (via.equals("pooler")) apontarAoPooler(amb);
        // The writing piece comes again after a first statement, where a session setting would have taken hold.
        for (String formato : List.of("PDF", "XLS")) executar(amb, relatorio, formato);
        assertEquals("0", DesignForjado.superusuario("SELECT count(*) FROM zv_escrita.marca"));
        assertEquals("0", DesignForjado.superusuario(
                "SELECT count(*) FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace WHERE nspname = 'zv_escrita'"
                        + " AND relname <> 'marca'"));
    }

    /** Two statements in one piece never reach the server: the design is refused, naming file and piece. */
    @ParameterizedTest
    @CsvSource(delimiter = '|', value = {
        "descricao | SELECT 'x'; COMMIT; CREATE TABLE zv_escrita.t (x int) | <descricao> do parâmetro P_MARCA",
        "sql       | ) AS x; COMMIT; CREATE TABLE zv_escrita.t (x int); SELECT * FROM (SELECT 1 WHERE true | <sql>",
    })
    void doisComandosNumaPecaSaoRecusados(String peca, String sql, String nomeDaPeca) throws Exception {
        final Path relatorio = peca.equals("sql") ? DesignForjado.escrever(home, SQL_ORIGINAL, SQL_ORIGINAL + " " + sql)
                : DesignForjado.escrever(home, DESCRICAO_MARCA, sql);
        final String erros = executar(BancoTeste.ambiente(home), relatorio, "PDF");
        assertTrue(erros.contains(relatorio + ".xml") && erros.contains(nomeDaPeca) && erros.contains("\";\""), erros);
        assertEquals("0", DesignForjado.superusuario(
                "SELECT count(*) FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace WHERE nspname = 'zv_escrita'"
                        + " AND relname <> 'marca'"));
    }

    private static void apontarAoPooler(Ambiente amb) throws Exception {
        final Process p = new ProcessBuilder("bash", System.getenv("ZV_SOURCE_DIR") + "/demo/pgcluster.sh", "pooler",
                System.getenv("ZV_TEST_CLUSTER"), "transaction").redirectError(ProcessBuilder.Redirect.DISCARD).start();
        final String porta = new String(p.getInputStream().readAllBytes(), StandardCharsets.US_ASCII).strip();
        assertEquals(0, p.waitFor());
        final Path servicos = Path.of(amb.variavel("PGSERVICEFILE"));
        Files.writeString(servicos, Files.readString(servicos).replace("port=" + System.getenv("ZV_TEST_PGPORT"),
                "port=" + porta));
    }

    /** Runs the viewer in this process; its standard error. */
    private static String executar(Ambiente amb, Path relatorio, String formato) throws Exception {
        final Ambiente comDocumentos = new Ambiente(Map.of("PGSERVICEFILE", amb.variavel("PGSERVICEFILE")), amb.home());
        final List<String> args = new ArrayList<>(List.of(BancoTeste.SERVICO, relatorio.toString(), formato, "N",
                "P_MARCA=3"));
        final PrintStream erroAntes = System.err;
        final PrintStream saidaAntes = System.out;
        final ByteArrayOutputStream erros = new ByteArrayOutputStream();
        try (PrintStream e = new PrintStream(erros, true, StandardCharsets.UTF_8);
             PrintStream s = new PrintStream(new ByteArrayOutputStream(), true, StandardCharsets.UTF_8)) {
            System.setErr(e);
            System.setOut(s);
            Principal.executar(args.toArray(String[]::new), comDocumentos);
        } finally {
            System.setErr(erroAntes);
            System.setOut(saidaAntes);
        }
        return erros.toString(StandardCharsets.UTF_8);
    }
}
