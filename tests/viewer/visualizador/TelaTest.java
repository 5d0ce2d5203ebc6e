package visualizador;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assumptions.assumeTrue;

import java.net.ServerSocket;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.NullSource;
import org.junit.jupiter.params.provider.ValueSource;

class TelaTest {
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
}
