package visualizador;

import static org.junit.jupiter.api.Assumptions.assumeTrue;

import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.HashMap;
import java.util.Map;
import visualizador.dados.Ambiente;
import visualizador.dados.Conexao;
import visualizador.design.Design;
import visualizador.design.LeitorDesign;

/**
 * The test database (ZV_TEST_PG*, set by scripts/test.sh) reached the way the viewer reaches
 * its own: through a service file with a [Zarvent] section, in a temporary home.
 */
public final class BancoTeste {
    public static final String SERVICO = "Zarvent";

    private BancoTeste() {}

    public static boolean disponivel() {
        return System.getenv("ZV_TEST_PGHOST") != null;
    }

    /** A temporary home with a service file for the test database; PGSERVICEFILE points at it. */
    public static Ambiente ambiente(Path home) throws IOException {
        assumeTrue(disponivel(), "ZV_TEST_PGHOST not set: run through scripts/test.sh");
        final Path servicos = home.resolve("pg_service.conf");
        Files.writeString(servicos, "[" + SERVICO + "]\nhost=" + System.getenv("ZV_TEST_PGHOST") + "\nport="
                + System.getenv("ZV_TEST_PGPORT") + "\ndbname=" + System.getenv("ZV_TEST_PGDATABASE") + "\nuser="
                + System.getenv("ZV_TEST_PGUSER") + "\npassword=" + System.getenv("ZV_TEST_PGPASSWORD") + "\n");
        final Map<String, String> env = new HashMap<>();
        env.put("PGSERVICEFILE", servicos.toString());
        env.put("XDG_CONFIG_HOME", home.resolve(".config").toString());
        return new Ambiente(env, home);
    }

    public static Conexao conectar(Path home) throws Exception {
        return Conexao.abrir(SERVICO, ambiente(home));
    }

    /**
     * Runs SQL as the test cluster's superuser (the viewer's own role only reads): for a test that
     * needs a row of its own, which it removes again.
     */
    public static void superusuario(String sql) throws IOException, InterruptedException {
        final String cluster = System.getenv("ZV_TEST_CLUSTER");
        assumeTrue(cluster != null, "ZV_TEST_CLUSTER not set: run through scripts/test.sh");
        final Path script = relatorio().getParent().getParent().resolve("demo/pgcluster.sh");
        final Process p = new ProcessBuilder("bash", script.toString(), "psql", cluster, "-v", "ON_ERROR_STOP=1", "-qAt",
                "-c", sql).redirectErrorStream(true).start();
        final String saida = new String(p.getInputStream().readAllBytes(), java.nio.charset.StandardCharsets.UTF_8);
        if (p.waitFor() != 0) throw new IOException("psql failed: " + saida);
    }

    /** The report design of the source tree, the one the build installs beside the program. */
    public static Path relatorio() {
        final String fonte = System.getenv("ZV_SOURCE_DIR");
        final Path raiz = fonte != null ? Path.of(fonte) : Path.of("").toAbsolutePath();
        return raiz.resolve("relatorios/zv_relacao_produto_enderecamento");
    }

    public static Design design() throws ErroRelatorio {
        return LeitorDesign.lerRelatorio(relatorio());
    }
}
