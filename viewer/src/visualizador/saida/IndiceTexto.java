package visualizador.saida;

import java.io.Closeable;
import java.io.IOException;
import java.nio.ByteBuffer;
import java.nio.channels.FileChannel;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.StandardOpenOption;
import java.util.Arrays;

/**
 * The text of the preview's pages, for its search: each page's text in reading order, lower-cased
 * as the search compares, as UTF-8 one page after the other in a file of the scratch folder, and
 * where each page starts. Only that table stays in memory (8 bytes a page).
 *
 * <p>The layout appends pages on its thread while a search reads those already there on another:
 * a page is written before it is counted, and the count is published last.
 */
public final class IndiceTexto implements TextoPorPagina, Closeable {
    private final TextoComparavel texto = new TextoComparavel();
    private FileChannel canal; // opened with the first page
    private Path arquivo;
    private long tamanho;
    private volatile long[] inicios = new long[1024]; // page p is inicios[p] .. inicios[p + 1]
    private volatile int paginas;
    private volatile IOException falha;
    private volatile boolean fechado;

    /** The form both the pages and a searched text are compared in. */
    public static byte[] comparavel(String s) {
        return TextoComparavel.de(s);
    }

    /**
     * Appends the next page. A failure (a full disk) does not stop the report: the search says
     * it is unavailable instead.
     */
    synchronized void adicionar(TrechosDaPagina pagina) {
        if (falha != null || fechado) return;
        try {
            if (canal == null) abrir();
            texto.limpar();
            pagina.emOrdem(texto);
            final ByteBuffer bytes = ByteBuffer.wrap(texto.bytes(), 0, texto.tamanho());
            while (bytes.hasRemaining()) tamanho += canal.write(bytes, tamanho);
        } catch (IOException e) {
            falha = e;
            return;
        }
        final int p = paginas;
        long[] t = inicios;
        if (p + 2 > t.length) t = Arrays.copyOf(t, t.length * 2);
        t[p + 1] = tamanho;
        inicios = t;
        paginas = p + 1;
    }

    private void abrir() throws IOException {
        final Path a = PastaRascunho.doProcesso().novoArquivo(".texto.tmp");
        try {
            canal = FileChannel.open(a, StandardOpenOption.READ, StandardOpenOption.WRITE,
                    StandardOpenOption.DELETE_ON_CLOSE);
        } catch (IOException | RuntimeException e) {
            Files.deleteIfExists(a);
            throw e;
        }
        arquivo = a;
    }

    @Override
    public int paginas() {
        return paginas;
    }

    @Override
    public long inicio(int p) {
        return inicios[p];
    }

    @Override
    public long fim(int p) {
        return inicios[p + 1];
    }

    @Override
    public void ler(long posicao, ByteBuffer destino) throws IOException {
        final FileChannel c;
        synchronized (this) {
            c = canal;
        }
        if (c == null || fechado) throw new IOException("o texto das páginas já foi descartado");
        long p = posicao;
        while (destino.hasRemaining()) {
            final int n = c.read(destino, p);
            if (n < 0) throw new IOException("texto das páginas menor que o esperado");
            p += n;
        }
    }

    @Override
    public IOException falha() {
        return falha;
    }

    /** The file, null before the first page. */
    public synchronized Path arquivo() {
        return arquivo;
    }

    @Override
    public synchronized void close() throws IOException {
        fechado = true;
        if (canal != null) canal.close();
    }
}
