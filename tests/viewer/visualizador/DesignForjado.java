package visualizador;

import static org.junit.jupiter.api.Assertions.assertEquals;

import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.List;

/** The real design with pieces changed (as an attacker with write access to it would), and superuser SQL. */
public final class DesignForjado {
    private DesignForjado() {}

    /** The report path (no extension) of a copy of the real design with {@code de} replaced by {@code para}. */
    public static Path escrever(Path pasta, String de, String para) throws IOException {
        final Path original = Path.of(BancoTeste.relatorio() + ".xml");
        final String xml = Files.readString(original);
        if (!xml.contains(de)) throw new IllegalArgumentException("não está no design: " + de);
        final Path r = pasta.resolve("zv_relacao_produto_enderecamento");
        Files.writeString(Path.of(r + ".xml"), xml.replace(de, para));
        return r;
    }

    /** Runs SQL as the test cluster's superuser; its output, trimmed. */
    public static String superusuario(String sql) throws IOException, InterruptedException {
        final Process p = new ProcessBuilder(List.of("bash", System.getenv("ZV_SOURCE_DIR") + "/demo/pgcluster.sh", "psql",
                System.getenv("ZV_TEST_CLUSTER"), "-At", "-v", "ON_ERROR_STOP=1", "-d",
                System.getenv("ZV_TEST_PGDATABASE"), "-c", sql)).redirectErrorStream(true).start();
        final String saida = new String(p.getInputStream().readAllBytes(), StandardCharsets.UTF_8).strip();
        assertEquals(0, p.waitFor(), saida);
        return saida;
    }
}
