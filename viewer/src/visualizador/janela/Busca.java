package visualizador.janela;

import java.awt.geom.Rectangle2D;
import java.io.IOException;
import java.util.List;
import java.util.concurrent.atomic.AtomicLong;
import java.util.function.Consumer;
import javax.swing.SwingUtilities;

/**
 * Search through the preview's finished pages, from the last hit onwards (or backwards), wrapping
 * round once. Pages are read a few at a time on the drawing thread, so pages keep being drawn
 * during a long search; a new search replaces the one under way.
 */
final class Busca {
    private static final int PAGINAS_POR_VEZ = 8;

    /** A hit: page (−1 when none) and its box in points from the page's top left corner. */
    record Resultado(String texto, int pagina, Rectangle2D.Float caixa) {}

    private final PaginasRenderizadas paginas;
    private final Consumer<Resultado> resposta;
    private final AtomicLong geracao = new AtomicLong();
    // The last hit, on the event thread: the next search starts from it.
    private String texto = "";
    private int pagina = -1;
    private int indice = -1;

    Busca(PaginasRenderizadas paginas, Consumer<Resultado> resposta) {
        this.paginas = paginas;
        this.resposta = resposta;
    }

    /** Looks for the next (or previous) hit after the last one, or from {@code atual} for a new text. */
    void procurar(String procurado, int atual, boolean adiante, int total) {
        if (!procurado.equalsIgnoreCase(texto) || (pagina != atual && pagina >= 0)) {
            texto = procurado;
            pagina = atual;
            indice = adiante ? -1 : Integer.MAX_VALUE;
        }
        final long g = geracao.incrementAndGet();
        final int inicio = Math.max(0, Math.min(pagina, total - 1));
        passo(g, procurado, inicio, indice, adiante, total, 0);
    }

    void parar() {
        geracao.incrementAndGet();
    }

    /** Looks at up to PAGINAS_POR_VEZ pages from {@code p}, then queues the rest. */
    private void passo(long g, String procurado, int p, int depoisDe, boolean adiante, int total, int vistas) {
        paginas.executar(() -> {
            if (g != geracao.get()) return;
            int pg = p;
            int k = depoisDe;
            try {
                for (int n = 0; n < PAGINAS_POR_VEZ; n++) {
                    if (total == 0 || vistas + n > total) {
                        entregar(g, new Resultado(procurado, -1, null), -1, -1);
                        return;
                    }
                    final List<Rectangle2D.Float> achados = TextoDaPagina.ocorrencias(paginas.documento(), pg, procurado);
                    final int escolhido = adiante ? k + 1 : Math.min(k, achados.size()) - 1;
                    if (escolhido >= 0 && escolhido < achados.size()) {
                        entregar(g, new Resultado(procurado, pg, achados.get(escolhido)), pg, escolhido);
                        return;
                    }
                    pg = adiante ? (pg + 1) % total : (pg - 1 + total) % total;
                    k = adiante ? -1 : Integer.MAX_VALUE;
                }
            } catch (IOException | RuntimeException e) {
                entregar(g, new Resultado(procurado, -1, null), -1, -1);
                return;
            }
            passo(g, procurado, pg, k, adiante, total, vistas + PAGINAS_POR_VEZ);
        });
    }

    private void entregar(long g, Resultado r, int novaPagina, int novoIndice) {
        SwingUtilities.invokeLater(() -> {
            if (g != geracao.get()) return;
            if (novaPagina >= 0) {
                pagina = novaPagina;
                indice = novoIndice;
            }
            resposta.accept(r);
        });
    }
}
