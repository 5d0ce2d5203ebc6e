package visualizador;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static org.junit.jupiter.api.Assumptions.assumeTrue;

import java.io.ByteArrayOutputStream;
import java.io.DataOutputStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.Map;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.provider.CsvSource;
import visualizador.dados.Ambiente;

import java.net.ServerSocket;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.NullSource;
import org.junit.jupiter.params.provider.ValueSource;

class TelaTest {
    @TempDir
    Path dir;

    /** None of these can be reached: PDF, XLS and HTML then run headless instead of failing in AWT. */
    @ParameterizedTest
    @NullSource
    @ValueSource(strings = {":59000", "unix:59000.0", "127.0.0.1:59000", "sem-dois-pontos", ":x", "nao.existe.invalid:0"})
    void inalcancavel(String display) {
        assertEquals(false, Tela.alcancavel(display));
    }

    @Test
    void alcancavel() throws Exception {
        final String display = System.getenv("DISPLAY");
        assumeTrue(display != null, "no DISPLAY");
        assertEquals(true, Tela.alcancavel(display));
        try (ServerSocket x = new ServerSocket(0)) {
            assertEquals(true, Tela.alcancavel("127.0.0.1:" + (x.getLocalPort() - 6000)));
        }
    }

    /**
     * A display that demands a cookie (Xvfb with an authority file): the user's own cookie opens
     * it; with none, or a wrong one, it refuses, and the reason is the server's, found before AWT.
     */
    @ParameterizedTest
    @CsvSource({"certo, true", "errado, false", "nenhum, false"})
    void telaQueExigeAutorizacao(String cookie, boolean aceita) throws Exception {
        final byte[] certo = "0123456789abcdef".getBytes(StandardCharsets.US_ASCII);
        final Path servidor = dir.resolve("servidor");
        Files.write(servidor, autoridade(certo));
        final Process x = new ProcessBuilder("Xvfb", "-displayfd", "1", "-auth", servidor.toString(), "-nolisten", "tcp", "-noreset",
                "-screen", "0", "64x64x24").redirectError(ProcessBuilder.Redirect.DISCARD).start();
        try {
            final String display = ":" + new String(x.getInputStream().readNBytes(8), StandardCharsets.US_ASCII)
                    .lines().findFirst().orElseThrow().trim();
            final Path usuario = dir.resolve("usuario");
            if (!cookie.equals("nenhum"))
                Files.write(usuario, autoridade(cookie.equals("certo") ? certo : "fedcba9876543210".getBytes(StandardCharsets.US_ASCII)));
            final Ambiente amb = new Ambiente(Map.of("XAUTHORITY", usuario.toString()), dir);
            assertTrue(Tela.alcancavel(display));
            final String recusa = Tela.recusa(display, amb);
            assertEquals(aceita, recusa == null, recusa);
            if (!aceita) assertTrue(recusa.contains("Authorization") || recusa.contains("MIT-MAGIC-COOKIE-1"), recusa);
        } finally {
            x.destroy();
            x.waitFor();
        }
    }

    /** One entry of an X authority file: local family, any host and display, the cookie. */
    private static byte[] autoridade(byte[] cookie) throws Exception {
        final ByteArrayOutputStream b = new ByteArrayOutputStream();
        final DataOutputStream d = new DataOutputStream(b);
        d.writeShort(256);
        for (byte[] campo : new byte[][] {new byte[0], new byte[0], AutorizacaoX.MAGIC_COOKIE.getBytes(StandardCharsets.US_ASCII), cookie}) {
            d.writeShort(campo.length);
            d.write(campo);
        }
        return b.toByteArray();
    }
}
