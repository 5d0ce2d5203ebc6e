package visualizador.formatos;

import static org.junit.jupiter.api.Assertions.assertEquals;

import java.nio.file.Files;
import java.nio.file.Path;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;

class ArquivosDeFonteTest {
    /** A font in the folder beside the viewer (as a Windows installation brings it) wins over the system's. */
    @Test
    void pastaPropriaPrimeiro(@TempDir Path fonts) throws Exception {
        final Path sistema = Path.of("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
        assertEquals(sistema, ArquivosDeFonte.achar("dejavu/DejaVuSans.ttf", fonts));
        Files.copy(sistema, fonts.resolve("DejaVuSans.ttf"));
        assertEquals(fonts.resolve("DejaVuSans.ttf"), ArquivosDeFonte.achar("dejavu/DejaVuSans.ttf", fonts));
        assertEquals(sistema.resolveSibling("DejaVuSans-Bold.ttf"), ArquivosDeFonte.achar("dejavu/DejaVuSans-Bold.ttf", fonts));
    }
}
