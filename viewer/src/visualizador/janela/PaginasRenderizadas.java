package visualizador.janela;

import java.awt.image.BufferedImage;
import java.io.IOException;
import java.util.Iterator;
import java.util.LinkedHashMap;
import java.util.Map;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.TimeUnit;
import java.util.concurrent.atomic.AtomicLong;
import java.util.function.Consumer;
import javax.swing.SwingUtilities;
import org.apache.pdfbox.pdmodel.PDDocument;
import org.apache.pdfbox.pdmodel.PDPage;
import org.apache.pdfbox.pdmodel.common.PDRectangle;
import org.apache.pdfbox.rendering.ImageType;
import org.apache.pdfbox.rendering.PDFRenderer;

/**
 * The pages of the previewed document as images, drawn on demand on one background thread (a
 * PDDocument is not thread-safe, so everything that reads it runs there) and kept in a small
 * cache; only the page asked for and the one after it are ever drawn.
 */
final class PaginasRenderizadas {
    /** Pixels kept in the cache: a few pages at any usable zoom. */
    private static final long PIXELS_EM_CACHE = 24_000_000;

    private final PDDocument doc;
    private final PDFRenderer renderizador;
    private final int total;
    private final float largura;
    private final float altura;
    private final ExecutorService fila = Executors.newSingleThreadExecutor(r -> {
        final Thread t = new Thread(r, "visualizacao-paginas");
        t.setDaemon(true);
        return t;
    });
    private final AtomicLong ultimoPedido = new AtomicLong();
    private final Map<String, BufferedImage> cache = new LinkedHashMap<>(16, 0.75f, true);

    /** Takes the document over: {@link #fechar()} closes it. */
    PaginasRenderizadas(PDDocument doc) {
        this.doc = doc;
        this.renderizador = new PDFRenderer(doc);
        this.total = doc.getNumberOfPages();
        // Every page of a report has the first one's size; the layout needs it before any drawing.
        final PDRectangle r = total > 0 ? visivel(doc.getPage(0)) : PDRectangle.A4;
        largura = r.getWidth();
        altura = r.getHeight();
    }

    private static PDRectangle visivel(PDPage p) {
        final PDRectangle r = p.getCropBox();
        return p.getRotation() % 180 == 0 ? r : new PDRectangle(r.getHeight(), r.getWidth());
    }

    int total() {
        return total;
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
                if (pagina + 1 < total && pedido == ultimoPedido.get()) desenhar(pagina + 1, escala);
            } catch (IOException | RuntimeException e) {
                SwingUtilities.invokeLater(() -> falha.accept("Não foi possível mostrar a página " + (pagina + 1)
                        + ": " + e.getMessage()));
            }
        });
    }

    /** Runs work that reads the document (printing, for one) on the same thread as the drawing. */
    void executar(Runnable trabalho) {
        if (!fila.isShutdown()) fila.execute(trabalho);
    }

    PDDocument documento() {
        return doc;
    }

    private BufferedImage desenhar(int pagina, float escala) throws IOException {
        BufferedImage img = pronta(pagina, escala);
        if (img != null) return img;
        img = renderizador.renderImage(pagina, escala, ImageType.RGB);
        guardar(chave(pagina, escala), img);
        return img;
    }

    private synchronized void guardar(String chave, BufferedImage img) {
        cache.put(chave, img);
        long pixels = 0;
        for (BufferedImage i : cache.values()) pixels += (long) i.getWidth() * i.getHeight();
        final Iterator<BufferedImage> antigas = cache.values().iterator();
        while (pixels > PIXELS_EM_CACHE && cache.size() > 1) {
            final BufferedImage i = antigas.next();
            pixels -= (long) i.getWidth() * i.getHeight();
            antigas.remove();
        }
    }

    private static String chave(int pagina, float escala) {
        return pagina + "@" + Math.round(escala * 1000);
    }

    /** Stops the drawing (waiting for the page being drawn) and closes the document. */
    void fechar() {
        fila.shutdownNow();
        try {
            fila.awaitTermination(30, TimeUnit.SECONDS);
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
        }
        try {
            doc.close();
        } catch (IOException e) {
            // Only read from: nothing is lost.
        }
    }
}
