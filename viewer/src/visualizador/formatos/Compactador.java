package visualizador.formatos;

import java.util.Arrays;
import java.util.zip.Deflater;

/** A page's content Flate-compressed into one reused buffer, valid until the next call. */
final class Compactador implements AutoCloseable {
    private final Deflater deflater = new Deflater(Deflater.BEST_SPEED);
    private byte[] dados = new byte[1 << 15];
    private int tamanho;

    void compactar(PaginaPdf pagina) {
        deflater.reset();
        pagina.comprimir(deflater);
        deflater.finish();
        tamanho = 0;
        while (!deflater.finished()) {
            if (tamanho == dados.length) dados = Arrays.copyOf(dados, dados.length * 2);
            tamanho += deflater.deflate(dados, tamanho, dados.length - tamanho);
        }
    }

    byte[] dados() {
        return dados;
    }

    int tamanho() {
        return tamanho;
    }

    @Override
    public void close() {
        deflater.end();
    }
}
