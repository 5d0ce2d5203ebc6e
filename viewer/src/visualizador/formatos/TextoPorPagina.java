package visualizador.formatos;

import java.io.IOException;
import java.nio.ByteBuffer;

/**
 * Pages' text as the search compares it ({@link IndiceTexto#comparavel}), one page after the other:
 * page p is the bytes from {@link #inicio} to {@link #fim}.
 */
public interface TextoPorPagina {
    /** The pages there are so far. */
    int paginas();

    long inicio(int pagina);

    long fim(int pagina);

    /** Reads bytes from {@code posicao} on into {@code destino}, until it is full. */
    void ler(long posicao, ByteBuffer destino) throws IOException;

    /** Why pages could not be recorded, or null. */
    IOException falha();
}
