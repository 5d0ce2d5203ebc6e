package visualizador.publicacao;

import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.StandardCopyOption;
import java.security.SecureRandom;

/**
 * A file written under a hidden name beside its final one and renamed into place only when
 * complete: a failure half-way leaves neither a partial file nor a damaged earlier one.
 */
public final class ArquivoParcial implements AutoCloseable {
    private static final SecureRandom ALEATORIO = new SecureRandom();
    private final Path destino;
    private final Path temporario;
    private boolean concluido;

    public ArquivoParcial(Path destino) throws IOException {
        this.destino = destino.toAbsolutePath();
        // createFile, not createTempFile: the finished file gets the usual permissions (umask), not 0600.
        temporario = Files.createFile(this.destino.resolveSibling(
                "." + this.destino.getFileName() + "-" + Long.toUnsignedString(ALEATORIO.nextLong(), 36) + ".parcial"));
    }

    public Path temporario() {
        return temporario;
    }

    /** Puts the finished file in place (same folder: a plain rename). */
    public void concluir() throws IOException {
        Files.move(temporario, destino, StandardCopyOption.REPLACE_EXISTING, StandardCopyOption.ATOMIC_MOVE);
        concluido = true;
    }

    @Override
    public void close() throws IOException {
        if (!concluido) Files.deleteIfExists(temporario);
    }
}
