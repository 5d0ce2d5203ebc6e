package visualizador.publicacao;

import java.io.BufferedWriter;
import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;

/**
 * A UTF-8 text file written under a hidden name and put in place on close only if marked
 * complete before: closed half-way, it leaves neither a partial file nor a damaged earlier one.
 */
public final class TextoParcial implements AutoCloseable {
    private final ArquivoParcial parcial;
    private final BufferedWriter out;
    private boolean completo;

    public TextoParcial(Path arquivo) throws IOException {
        parcial = new ArquivoParcial(arquivo);
        try {
            out = Files.newBufferedWriter(parcial.temporario(), StandardCharsets.UTF_8);
        } catch (IOException | RuntimeException e) {
            parcial.close();
            throw e;
        }
    }

    public BufferedWriter escritor() {
        return out;
    }

    /** Everything is written: close publishes the file. */
    public void completo() {
        completo = true;
    }

    @Override
    public void close() throws IOException {
        try (parcial) {
            out.close();
            if (completo) parcial.concluir();
        }
    }
}
