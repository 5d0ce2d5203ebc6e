package visualizador.formatos;

import java.io.Closeable;
import java.io.IOException;
import java.nio.ByteBuffer;
import java.nio.channels.FileChannel;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.StandardOpenOption;
import java.util.Arrays;
import visualizador.pagina.TextoComparavel;
import visualizador.pagina.TrechosDaPagina;
import visualizador.publicacao.PastaRascunho;

/**
 * The text of the preview's pages, for its search: each page's text in reading order, lower-cased
 * as the search compares, as UTF-8 one page after the other in a file of the scratch folder, and
 * where each page starts. Only that table stays in memory (8 bytes a page).
 *
 * <p>The layout appends pages on its thread while a search reads those already there on another:
 * a page is recorded before it is counted, and the count is published last. The latest pages wait
 * in a small buffer and go to the file together (a write for each page cost more than the rest of
 * the recording); a search reads them from there.
 */
public final class IndiceTexto implements TextoPorPagina, Closeable {
    private static final int CAUDA = 1 << 16; // some 16 pages: few writes, little heap

    private final TextoComparavel cauda = new TextoComparavel(); // the pages not in the file yet
    private FileChannel canal; // opened with the first page
    private Path arquivo;
    private long gravado; // bytes in the file; the tail's follow
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
            pagina.emOrdem(cauda);
            final long tamanho = gravado + cauda.tamanho();
            if (cauda.tamanho() >= CAUDA) descarregar();
            final int p = paginas;
            long[] t = inicios;
            if (p + 2 > t.length) t = Arrays.copyOf(t, t.length * 2);
            t[p + 1] = tamanho;
            inicios = t;
            paginas = p + 1;
        } catch (IOException e) {
            falha = e;
        }
    }

    private void descarregar() throws IOException {
        final ByteBuffer bytes = ByteBuffer.wrap(cauda.bytes(), 0, cauda.tamanho());
        while (bytes.hasRemaining()) gravado += canal.write(bytes, gravado);
        cauda.limpar();
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
        final long ate = posicao + destino.remaining();
        final FileChannel c;
        final long noArquivo;
        synchronized (this) {
            if (canal == null || fechado) throw new IOException("o texto das páginas já foi descartado");
            c = canal;
            noArquivo = Math.min(ate, gravado);
            // What is still in the tail is copied now, before the layout may move it to the file.
            if (ate > gravado) {
                final long de = Math.max(posicao, gravado);
                destino.put(destino.position() + (int) (de - posicao), cauda.bytes(), (int) (de - gravado),
                        (int) (ate - de));
            }
        }
        final ByteBuffer parte = destino.duplicate();
        parte.limit(parte.position() + (int) Math.max(0, noArquivo - posicao));
        long p = posicao;
        while (parte.hasRemaining()) {
            final int n = c.read(parte, p);
            if (n < 0) throw new IOException("texto das páginas menor que o esperado");
            p += n;
        }
        destino.position(destino.limit());
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
