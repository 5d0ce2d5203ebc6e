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

    /**
     * The report path (no extension) of a copy of the real design with each text replaced: pairs
     * of {@code de, para}.
     */
    public static Path escrever(Path pasta, String... deEPara) throws IOException {
        String xml = Files.readString(Path.of(BancoTeste.relatorio() + ".xml"));
        for (int i = 0; i + 1 < deEPara.length; i += 2) {
            if (!xml.contains(deEPara[i])) throw new IllegalArgumentException("não está no design: " + deEPara[i]);
            xml = xml.replace(deEPara[i], deEPara[i + 1]);
        }
        final Path r = pasta.resolve("zv_relacao_produto_enderecamento");
        Files.writeString(Path.of(r + ".xml"), xml);
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
