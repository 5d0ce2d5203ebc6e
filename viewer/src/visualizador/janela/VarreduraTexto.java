package visualizador.janela;

import java.io.IOException;
import java.nio.ByteBuffer;
import java.util.concurrent.CancellationException;
import visualizador.formatos.IndiceTexto;
import visualizador.formatos.TextoPorPagina;

/**
 * Finds the pages that hold a text by reading the pages' text back from {@link IndiceTexto}, a
 * block of consecutive pages at a time, with a bounded buffer. A hit never spans two pages.
 */
final class VarreduraTexto {
    private static final int BLOCO = 1 << 20;

    /** Told which page is being read; returns false to stop the search. */
    @FunctionalInterface
    interface Andamento {
        boolean continuar(int pagina);
    }

    private final TextoPorPagina indice;
    private ByteBuffer buffer = ByteBuffer.allocate(0); // made on the first search: most previews see none

    VarreduraTexto(TextoPorPagina indice) {
        this.indice = indice;
    }

    /**
     * The first page holding {@code padrao} ({@link IndiceTexto#comparavel}) among {@code quantas}
     * pages from {@code inicio}, forwards or backwards, wrapping round at {@code total}; −1 if none.
     *
     * @throws CancellationException when {@code andamento} asks to stop
     */
    int procurar(byte[] padrao, int inicio, int quantas, boolean adiante, int total, Andamento andamento)
            throws IOException {
        if (total <= 0 || padrao.length == 0) return -1;
        final int[] salto = salto(padrao);
        int p = inicio;
        int restam = quantas;
        while (restam > 0) {
            if (!andamento.continuar(p)) throw new CancellationException();
            // A block of consecutive pages from p in the direction of the search, not past the wrap.
            int q = p;
            int n = 1;
            final int limite = Math.min(restam, adiante ? total - p : p + 1);
            while (n < limite) {
                final int prox = adiante ? q + 1 : q - 1;
                final long de = adiante ? indice.inicio(p) : indice.inicio(prox);
                final long ate = adiante ? indice.fim(prox) : indice.fim(p);
                if (ate - de > BLOCO) break;
                q = prox;
                n++;
            }
            final int primeira = Math.min(p, q);
            final long base = indice.inicio(primeira);
            ler(base, indice.fim(Math.max(p, q)) - base);
            final byte[] b = buffer.array();
            for (int k = 0; k < n; k++) {
                final int pg = adiante ? p + k : p - k;
                if (contem(b, (int) (indice.inicio(pg) - base), (int) (indice.fim(pg) - base), padrao, salto))
                    return pg;
            }
            restam -= n;
            p = adiante ? (q + 1) % total : (q - 1 + total) % total;
        }
        return -1;
    }

    /** Whether page {@code p} holds {@code padrao}. */
    boolean contem(int p, byte[] padrao) throws IOException {
        if (padrao.length == 0) return false;
        final long de = indice.inicio(p);
        ler(de, indice.fim(p) - de);
        return contem(buffer.array(), 0, (int) (indice.fim(p) - de), padrao, salto(padrao));
    }

    private void ler(long de, long quantos) throws IOException {
        if (quantos > buffer.capacity()) buffer = ByteBuffer.allocate((int) Math.max(quantos, BLOCO));
        buffer.clear();
        buffer.limit((int) quantos);
        indice.ler(de, buffer);
    }

    /** Horspool's shift table: how far the window moves by its last byte. */
    private static int[] salto(byte[] padrao) {
        final int[] s = new int[256];
        java.util.Arrays.fill(s, padrao.length);
        for (int i = 0; i < padrao.length - 1; i++) s[padrao[i] & 0xff] = padrao.length - 1 - i;
        return s;
    }

    static boolean contem(byte[] b, int de, int ate, byte[] padrao, int[] salto) {
        final int m = padrao.length;
        final byte ultimo = padrao[m - 1];
        int i = de;
        while (i + m <= ate) {
            final byte c = b[i + m - 1];
            if (c == ultimo) {
                int j = m - 2;
                while (j >= 0 && b[i + j] == padrao[j]) j--;
                if (j < 0) return true;
            }
            i += salto[c & 0xff];
        }
        return false;
    }
}
