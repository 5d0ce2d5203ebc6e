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
import org.junit.jupiter.api.Test;
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
    private static final List<String> RECUSAS = List.of("mais de um comando", "Unterminated", "ERROR: syntax error");
    private static final String ORDEM_DEPOSITO = "ordem=\"end_cod ASC NULLS LAST\"";
    private static final String ULTIMA_LINHA_SQL = "p.proappcod = ANY (:P_APP::int4[]))";

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

    /**
     * Pieces that write, or hide a second statement where some reader might not see it. Each runs
     * as one statement in a read-only transaction: the report is produced (the run reached the
     * server) or the server refuses it ("ERROR:" is the server's word). Through the pooler too.
     */
    @ParameterizedTest(name = "{0} {1}: {2}")
    @CsvSource(delimiter = '|', quoteCharacter = '`', value = {
        "direta | descricao | SET SESSION CHARACTERISTICS AS TRANSACTION READ WRITE",
        "direta | descricao | SET TRANSACTION READ WRITE",
        "direta | descricao | COMMIT",
        "direta | descricao | WITH w AS (INSERT INTO zv_escrita.marca VALUES (2) RETURNING x) SELECT 'x' FROM w",
        "direta | descricao | SELECT zv_escrita.escreve()::text",
        "direta | sql       | AND zv_escrita.escreve() = 1",
        "direta | descricao | SELECT marcasdes || $$;COMMIT;$$ || $t$ $$ ; $$ $t$ FROM marcas WHERE marcascod = :codigo",
        "direta | descricao | SELECT E'\\'; COMMIT; INSERT INTO zv_escrita.marca VALUES (3);' FROM marcas WHERE marcascod = :codigo",
        "direta | descricao | SELECT U&amp;\"marcasdes\" AS \"a;b\" FROM marcas /* /* ; */ COMMIT; */ WHERE marcascod = :codigo",
        "direta | descricao | SELECT marcasdes AS a$b FROM marcas WHERE marcascod = :codigo -- ; COMMIT; CREATE TABLE zv_escrita.t (x int)",
        "pooler | descricao | SET SESSION CHARACTERISTICS AS TRANSACTION READ WRITE",
        "pooler | descricao | SET TRANSACTION READ WRITE",
        "pooler | descricao | WITH w AS (INSERT INTO zv_escrita.marca VALUES (2) RETURNING x) SELECT 'x' FROM w",
        "pooler | sql       | AND zv_escrita.escreve() = 1",
        "pooler | descricao | SELECT marcasdes || $$;COMMIT;$$ FROM marcas WHERE marcascod = :codigo",
        "pooler | descricao | SELECT E'\\'; COMMIT; INSERT INTO zv_escrita.marca VALUES (3);' FROM marcas WHERE marcascod = :codigo",
    })
    void designQueTentaGravarNaoGrava(String via, String peca, String sql) throws Exception {
        final Path relatorio = peca.equals("sql") ? DesignForjado.escrever(home, SQL_ORIGINAL, SQL_ORIGINAL + " " + sql)
                : DesignForjado.escrever(home, DESCRICAO_MARCA, sql);
        final Ambiente amb = BancoTeste.ambiente(home);
        if (via.equals("pooler")) apontarAoPooler(amb);
        // The writing piece comes again after a first statement, where a session setting would have taken hold.
        for (String formato : List.of("PDF", "XLS")) {
            final Execucao e = executar(amb, relatorio, formato);
            // "ERROR:" is the server's word; the driver says "No results" only once the server answered.
            assertTrue(e.status() == 0 && e.relatorio() != null || e.erros().contains("ERROR:")
                    || e.erros().contains("No results were returned by the query"), "the run did not reach the server: " + e);
        }
        assertNadaGravado();
    }

    /**
     * Two statements never reach the server: the design is refused when read, naming file and
     * piece, whatever quote or comment a reader of ours might have taken the ";" to be in.
     */
    @ParameterizedTest(name = "{0}: {1}")
    @CsvSource(delimiter = '|', quoteCharacter = '`', value = {
        "descricao | SELECT 'x'; COMMIT; CREATE TABLE zv_escrita.t (x int) | <descricao> do parâmetro P_MARCA",
        "descricao | SELECT marcasdes AS a$$$ FROM marcas WHERE marcascod = :codigo; COMMIT; CREATE TABLE zv_escrita.t(a int); COMMIT; SELECT 1 AS b$$$ | <descricao> do parâmetro P_MARCA",
        "descricao | SELECT $a$ x $a$; COMMIT; CREATE TABLE zv_escrita.t (x int); SELECT $b$ y $b$ | <descricao> do parâmetro P_MARCA",
        "descricao | SELECT E'\\''; COMMIT; CREATE TABLE zv_escrita.t (x int); SELECT '' | <descricao> do parâmetro P_MARCA",
        "descricao | `SELECT 'x' -- a\n; COMMIT; CREATE TABLE zv_escrita.t (x int)` | <descricao> do parâmetro P_MARCA",
        "descricao | SELECT /* /* */ */ 1; COMMIT; CREATE TABLE zv_escrita.t (x int) | <descricao> do parâmetro P_MARCA",
        "sql       | ; COMMIT; CREATE TABLE zv_escrita.t (x int); SELECT 1 AS b$$$ | <sql>",
        "ordem     | end_cod; COMMIT; CREATE TABLE zv_escrita.t (x int); SELECT 1 | ordem do <agrupamento> 1",
    })
    void doisComandosNumaPecaSaoRecusados(String peca, String sql, String nomeDaPeca) throws Exception {
        final Path relatorio = switch (peca) {
            case "sql" -> DesignForjado.escrever(home, SQL_ORIGINAL, SQL_ORIGINAL + " " + sql);
            case "ordem" -> DesignForjado.escrever(home, ORDEM_DEPOSITO, "ordem=\"" + sql + "\"");
            default -> DesignForjado.escrever(home, DESCRICAO_MARCA, sql);
        };
        final Execucao e = executar(BancoTeste.ambiente(home), relatorio, "PDF");
        assertTrue(e.status() == 1 && e.erros().contains(relatorio + ".xml") && e.erros().contains(nomeDaPeca)
                && e.erros().contains("\";\""), e.toString());
        assertNadaGravado();
    }

    /**
     * Pieces that pass alone but make two statements in the query as run: a parenthesis closed
     * early (the driver does not split inside parentheses, so the piece alone is one statement to
     * it), or a quote opened in the query and closed in the grouping's order. The query as run is
     * refused whole, or the driver cannot read it, or the server gets it as one message and
     * refuses it: nothing runs.
     */
    @ParameterizedTest(name = "{0}: {1} / {2}")
    @CsvSource(delimiter = '|', value = {
        "direta | ) AS x; COMMIT; CREATE TABLE zv_escrita.t (x int); SELECT * FROM (SELECT 1 WHERE true | ",
        "direta | ) AS a$$$; COMMIT; CREATE TABLE zv_escrita.t (x int); SELECT * FROM (SELECT 1 AS b$$$ WHERE true | ",
        "direta | AND 'a' = 'b | x'; COMMIT; CREATE TABLE zv_escrita.t (x int); SELECT '",
        "pooler | ) AS x; COMMIT; CREATE TABLE zv_escrita.t (x int); SELECT * FROM (SELECT 1 WHERE true | ",
        "pooler | AND 'a' = 'b | x'; COMMIT; CREATE TABLE zv_escrita.t (x int); SELECT '",
    })
    void pecasQueJuntasFazemDoisComandos(String via, String sql, String ordem) throws Exception {
        final Path relatorio = ordem == null ? DesignForjado.escrever(home, ULTIMA_LINHA_SQL, ULTIMA_LINHA_SQL + " " + sql)
                : DesignForjado.escrever(home, ULTIMA_LINHA_SQL, ULTIMA_LINHA_SQL + " " + sql, ORDEM_DEPOSITO,
                        "ordem=\"" + ordem + "\"");
        final Ambiente amb = BancoTeste.ambiente(home);
        if (via.equals("pooler")) apontarAoPooler(amb);
        for (String formato : List.of("PDF", "XLS")) {
            final Execucao e = executar(amb, relatorio, formato);
            assertTrue(e.status() == 1 && e.relatorio() == null
                    && RECUSAS.stream().anyMatch(e.erros()::contains), e.toString());
        }
        assertNadaGravado();
    }

    /** Every format, several times over, through a transaction-mode pooler with the usual settings. */
    @Test
    void todosOsFormatosPeloPoolerDeTransacao() throws Exception {
        final Ambiente amb = BancoTeste.ambiente(home);
        apontarAoPooler(amb);
        final Path relatorio = BancoTeste.relatorio();
        for (int vez = 0; vez < 2; vez++)
            for (String formato : List.of("PDF", "XLS", "HTML")) {
                final Execucao e = executar(amb, relatorio, formato);
                assertTrue(e.status() == 0 && e.relatorio() != null && Files.size(e.relatorio()) > 0,
                        formato + ": " + e);
                Files.delete(e.relatorio());
            }
    }

    private static void assertNadaGravado() throws Exception {
        assertEquals("0", DesignForjado.superusuario("SELECT count(*) FROM zv_escrita.marca"));
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
        // First proof that the pooler reaches the server: the real report, produced through it.
        final Execucao prova = executar(amb, BancoTeste.relatorio(), "PDF");
        assertTrue(prova.status() == 0 && prova.relatorio() != null, "the pooler does not reach the server: " + prova);
        Files.delete(prova.relatorio());
    }

    /** A run's exit status, standard error and the report it published (null: none). */
    private record Execucao(int status, String erros, Path relatorio) {}

    /** Runs the viewer in this process, its documents folder the home. */
    private static Execucao executar(Ambiente amb, Path relatorio, String formato) throws Exception {
        final Ambiente comDocumentos = new Ambiente(Map.of("PGSERVICEFILE", amb.variavel("PGSERVICEFILE")), amb.home());
        final List<String> args = new ArrayList<>(List.of(BancoTeste.SERVICO, relatorio.toString(), formato, "N",
                "P_MARCA=3"));
        final PrintStream erroAntes = System.err;
        final PrintStream saidaAntes = System.out;
        final ByteArrayOutputStream erros = new ByteArrayOutputStream();
        final ByteArrayOutputStream saida = new ByteArrayOutputStream();
        final int status;
        try (PrintStream e = new PrintStream(erros, true, StandardCharsets.UTF_8);
             PrintStream s = new PrintStream(saida, true, StandardCharsets.UTF_8)) {
            System.setErr(e);
            System.setOut(s);
            status = Principal.executar(args.toArray(String[]::new), comDocumentos);
        } finally {
            System.setErr(erroAntes);
            System.setOut(saidaAntes);
        }
        // The viewer prints the published file's path.
        final String publicado = saida.toString(StandardCharsets.UTF_8).strip();
        final Path arquivo = publicado.isEmpty() ? null : Path.of(publicado.lines().reduce((a, b) -> b).orElseThrow());
        return new Execucao(status, erros.toString(StandardCharsets.UTF_8),
                arquivo != null && Files.isRegularFile(arquivo) ? arquivo : null);
    }
}
