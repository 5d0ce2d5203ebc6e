package visualizador.janela;

import java.awt.image.BufferedImage;
import java.io.IOException;
import java.util.Iterator;
import java.util.LinkedHashMap;
import java.util.Map;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.TimeUnit;
import java.util.concurrent.atomic.AtomicBoolean;
import java.util.concurrent.atomic.AtomicLong;
import java.util.function.Consumer;
import java.util.function.DoubleSupplier;
import javax.swing.SwingUtilities;
import org.apache.pdfbox.pdmodel.PDDocument;
import org.apache.pdfbox.pdmodel.PDPage;
import org.apache.pdfbox.pdmodel.common.PDRectangle;
import org.apache.pdfbox.rendering.ImageType;
import org.apache.pdfbox.rendering.PDFRenderer;

/**
 * The pages of the previewed document as images, drawn on demand on one background thread and
 * kept in a cache bounded by the heap. The document may still be growing: only the pages already
 * finished are drawn, each while holding the document's monitor (the layout adds pages under it;
 * a PDDocument is not thread-safe).
 */
final class PaginasRenderizadas {
    /** Pixels kept in the cache at most: a few pages at any usable zoom. */
    private static final long PIXELS_EM_CACHE = 24_000_000;
    static final String SEM_MEMORIA = "Memória insuficiente para mostrar as páginas nesta escala. "
            + "Diminua o zoom ou feche outros programas; as páginas já desenhadas foram descartadas.";

    private final PDDocument doc;
    private final PDFRenderer renderizador;
    private final long pixelsEmCache;
    private final ExecutorService fila = Executors.newSingleThreadExecutor(r -> {
        final Thread t = new Thread(r, "visualizacao-paginas");
        t.setDaemon(true);
        return t;
    });
    private final AtomicLong ultimoPedido = new AtomicLong();
    private final AtomicBoolean avisouMemoria = new AtomicBoolean();
    private final Map<String, BufferedImage> cache = new LinkedHashMap<>(16, 0.75f, true);
    private final Runnable fechamento;
    private volatile int prontas;
    private volatile float largura = PDRectangle.A4.getHeight(); // a report page is A4 landscape
    private volatile float altura = PDRectangle.A4.getWidth();

    /** {@code fechamento} releases the document once drawing has stopped. */
    PaginasRenderizadas(PDDocument doc, Runnable fechamento) {
        this.doc = doc;
        this.fechamento = fechamento;
        this.renderizador = new PDFRenderer(doc);
        // An RGB pixel takes 4 bytes: at most an eighth of the heap goes to cached pages.
        this.pixelsEmCache = Math.min(PIXELS_EM_CACHE, Runtime.getRuntime().maxMemory() / 32);
    }

    /** Pages 0 … n − 1 may now be drawn. */
    void prontas(int n) {
        if (n > 0 && prontas == 0) {
            synchronized (doc) {
                final PDRectangle r = visivel(doc.getPage(0));
                largura = r.getWidth();
                altura = r.getHeight();
            }
        }
        prontas = Math.max(prontas, n);
    }

    /** The finished pages changed (their footers): what was drawn before is dropped. */
    synchronized void esquecer() {
        cache.clear();
    }

    private static PDRectangle visivel(PDPage p) {
        final PDRectangle r = p.getCropBox();
        return p.getRotation() % 180 == 0 ? r : new PDRectangle(r.getHeight(), r.getWidth());
    }

    /** The pages finished so far. */
    int total() {
        return prontas;
    }

    /** Page width and height in points. */
    float largura() {
        return largura;
    }

    float altura() {
        return altura;
    }

    /** The page's image if already drawn at this scale. */
    synchronized BufferedImage pronta(int pagina, float escala) {
        return cache.get(chave(pagina, escala));
    }

    /**
     * Draws the page in the background and hands it to {@code pronto} on the event thread, unless a
     * newer request came first; then draws the next page too, for the usual next step.
     */
    void pedir(int pagina, float escala, Consumer<BufferedImage> pronto, Consumer<String> falha) {
        final long pedido = ultimoPedido.incrementAndGet();
        executar(() -> {
            if (pedido != ultimoPedido.get()) return; // the user has already moved on
            try {
                final BufferedImage img = desenhar(pagina, escala);
                SwingUtilities.invokeLater(() -> {
                    if (pedido == ultimoPedido.get()) pronto.accept(img);
                });
                if (pagina + 1 < prontas && pedido == ultimoPedido.get()) desenhar(pagina + 1, escala);
            } catch (OutOfMemoryError e) {
                esquecer();
                // Said once: a dialog for every page turned would make the window unusable.
                if (avisouMemoria.compareAndSet(false, true)) SwingUtilities.invokeLater(() -> falha.accept(SEM_MEMORIA));
            } catch (IOException | RuntimeException e) {
                if (fila.isShutdown()) return; // the window is closing: nobody to tell
                SwingUtilities.invokeLater(() -> falha.accept("Não foi possível mostrar a página " + (pagina + 1)
                        + ": " + e.getMessage()));
            }
        });
    }

    /**
     * Draws a page ahead of any request (the first one, the moment it is finished), so the window
     * finds it ready.
     */
    void adiantar(int pagina, DoubleSupplier escala) {
        executar(() -> {
            try {
                // The scale is read only now, when the window most likely has its size; until it
                // has one (NaN) the window asks for the page itself once laid out.
                final double e = escala.getAsDouble();
                if (pagina < prontas && !Double.isNaN(e)) desenhar(pagina, (float) e);
            } catch (IOException | RuntimeException | OutOfMemoryError e) {
                // The window's own request for it will say what went wrong.
            }
        });
    }

    /**
     * Readies the drawing while the report's query runs: the first page drawn by a fresh program
     * costs more than a second (classes, the fonts read from the document, compiled code); here
     * most of that is paid for a sample of the report's own fonts, before any page is finished.
     */
    void aquecer(DoubleSupplier escala) {
        executar(() -> {
            try {
                final double e = escala.getAsDouble();
                AquecimentoDesenho.desenhar(doc, Double.isNaN(e) ? 1.5f : (float) e, () -> prontas > 0);
            } catch (IOException | RuntimeException | OutOfMemoryError e) {
                // Only lost time.
            }
        });
    }

    /** Runs work that reads the document (printing, searching) on the same thread as the drawing. */
    void executar(Runnable trabalho) {
        if (!fila.isShutdown()) fila.execute(trabalho);
    }

    PDDocument documento() {
        return doc;
    }

    private BufferedImage desenhar(int pagina, float escala) throws IOException {
        BufferedImage img = pronta(pagina, escala);
        if (img != null) return img;
        // Room first: the cache gives way to the page about to be drawn.
        abrirEspaco((long) Math.ceil(largura * escala) * (long) Math.ceil(altura * escala));
        synchronized (doc) {
            img = renderizador.renderImage(pagina, escala, ImageType.RGB);
        }
        guardar(chave(pagina, escala), img);
        return img;
    }

    private synchronized void abrirEspaco(long novos) {
        long pixels = novos;
        for (BufferedImage i : cache.values()) pixels += (long) i.getWidth() * i.getHeight();
        final Iterator<BufferedImage> antigas = cache.values().iterator();
        while (pixels > pixelsEmCache && antigas.hasNext()) {
            final BufferedImage i = antigas.next();
            pixels -= (long) i.getWidth() * i.getHeight();
            antigas.remove();
        }
    }

    private synchronized void guardar(String chave, BufferedImage img) {
        abrirEspaco((long) img.getWidth() * img.getHeight());
        cache.put(chave, img);
    }

    private static String chave(int pagina, float escala) {
        return pagina + "@" + Math.round(escala * 1000);
    }

    /** Stops the drawing (waiting for the page being drawn), then releases the document. */
    void fechar() {
        fila.shutdownNow();
        try {
            fila.awaitTermination(30, TimeUnit.SECONDS);
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
        }
        esquecer();
        fechamento.run();
    }
}
