package visualizador.janela;

import java.awt.geom.Rectangle2D;
import java.io.IOException;
import java.util.Collections;
import java.util.List;
import java.util.concurrent.CancellationException;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.atomic.AtomicLong;
import java.util.function.Consumer;
import javax.swing.SwingUtilities;
import visualizador.formatos.IndiceTexto;
import visualizador.formatos.TextoPorPagina;

/**
 * Search through the preview's finished pages, from the last hit onwards (or backwards), wrapping
 * round once. The pages are looked through in their text as the layout recorded it
 * ({@link IndiceTexto}), on a thread of its own; only the page shown is read from the PDF, for
 * the boxes of its hits. A new search, or {@link #cancelar()}, stops the one under way.
 */
final class Busca {
    /** Below this a search ends before any progress would be worth showing. */
    private static final long PISCAR_NS = 150_000_000;
    private static final long INTERVALO_NS = 100_000_000;

    /** Where a search ended. */
    static final int NAO_ACHADO = -1;
    static final int CANCELADA = -2;

    /**
     * A hit: its page and box in points from the page's top left corner (null when the page's
     * PDF text cannot place it, as for characters beyond 16 bits); or {@link #NAO_ACHADO},
     * {@link #CANCELADA}, or a failure with {@code erro}.
     */
    record Resultado(String texto, int pagina, Rectangle2D.Float caixa, String erro) {}

    /** Where a long search is: page {@code pagina} (0-based) of {@code total}. */
    record Andamento(String texto, int pagina, int total) {}

    private final PaginasRenderizadas paginas;
    private final TextoPorPagina indice;
    private final Consumer<Resultado> resposta;
    private final Consumer<Andamento> andamento;
    private final AtomicLong geracao = new AtomicLong();
    private final ExecutorService fila = Executors.newSingleThreadExecutor(r -> {
        final Thread t = new Thread(r, "visualizacao-busca");
        t.setDaemon(true);
        return t;
    });
    private final VarreduraTexto varredura; // on the search thread only
    // On the event thread: the last hit, where the next search starts from, and whether one runs.
    private String texto = "";
    private int pagina = -1;
    private int indiceNaPagina = -1;
    private boolean emCurso;

    Busca(PaginasRenderizadas paginas, TextoPorPagina indice, Consumer<Resultado> resposta,
          Consumer<Andamento> andamento) {
        this.paginas = paginas;
        this.indice = indice;
        this.resposta = resposta;
        this.andamento = andamento;
        this.varredura = new VarreduraTexto(indice);
    }

    /** Looks for the next (or previous) hit after the last one, or from {@code atual} for a new text. */
    void procurar(String procurado, int atual, boolean adiante, int total) {
        if (!procurado.equalsIgnoreCase(texto) || (pagina != atual && pagina >= 0)) {
            texto = procurado;
            pagina = atual;
            indiceNaPagina = adiante ? -1 : Integer.MAX_VALUE;
        }
        final long g = geracao.incrementAndGet();
        final int inicio = Math.max(0, Math.min(pagina, total - 1));
        final int depoisDe = indiceNaPagina;
        emCurso = true;
        // Pages are indexed before they are announced; the minimum only guards a failed index.
        final int n = Math.min(total, indice.paginas());
        if (!fila.isShutdown()) fila.execute(() -> executar(g, procurado, inicio, depoisDe, adiante, n));
    }

    /** Whether a search is under way; on the event thread. */
    boolean emCurso() {
        return emCurso;
    }

    /** Stops the search under way, if any, and says so; on the event thread. */
    boolean cancelar() {
        if (!emCurso) return false;
        geracao.incrementAndGet();
        emCurso = false;
        resposta.accept(new Resultado(texto, CANCELADA, null, null));
        return true;
    }

    /** For good: the window is closing. Never interrupts the search thread, whose reads share the index's channel. */
    void parar() {
        geracao.incrementAndGet();
        emCurso = false;
        fila.shutdown();
    }

    private void executar(long g, String procurado, int p, int depoisDe, boolean adiante, int total) {
        if (g != geracao.get()) return;
        try {
            if (indice.falha() != null) throw indice.falha();
            if (total == 0) {
                entregar(g, new Resultado(procurado, NAO_ACHADO, null, null), -1, -1);
                return;
            }
            final byte[] padrao = IndiceTexto.comparavel(procurado);
            // The page of the last hit first, from after it.
            List<Rectangle2D.Float> achados = ocorrencias(p, procurado, padrao);
            final int escolhido = adiante ? depoisDe + 1 : Math.min(depoisDe, achados.size()) - 1;
            if (escolhido >= 0 && escolhido < achados.size()) {
                entregar(g, new Resultado(procurado, p, achados.get(escolhido), null), p, escolhido);
                return;
            }
            // Then the others, round to this one again (its hits before the last one).
            final long comeco = System.nanoTime();
            final long[] ultimoAviso = {comeco};
            final int seguinte = adiante ? (p + 1) % total : (p - 1 + total) % total;
            final int achada = varredura.procurar(padrao, seguinte, total, adiante, total, pg -> {
                if (g != geracao.get()) return false;
                final long agora = System.nanoTime();
                if (agora - comeco > PISCAR_NS && agora - ultimoAviso[0] > INTERVALO_NS) {
                    ultimoAviso[0] = agora;
                    final Andamento a = new Andamento(procurado, pg, total);
                    SwingUtilities.invokeLater(() -> {
                        if (g == geracao.get()) andamento.accept(a);
                    });
                }
                return true;
            });
            if (achada < 0) {
                entregar(g, new Resultado(procurado, NAO_ACHADO, null, null), -1, -1);
                return;
            }
            achados = ocorrencias(achada, procurado, padrao);
            final int k = adiante ? 0 : achados.size() - 1;
            entregar(g, new Resultado(procurado, achada, achados.get(k), null), achada, k);
        } catch (CancellationException e) {
            // a newer search, or the user, stopped this one: it is told there
        } catch (IOException | RuntimeException e) {
            entregar(g, new Resultado(procurado, NAO_ACHADO, null, e.getMessage() == null ? e.toString() : e.getMessage()),
                    -1, -1);
        }
    }

    /**
     * The boxes of the hits on page {@code p}, from its PDF text. When that cannot place a hit the
     * page's own text holds (a character beyond 16 bits), the page counts one hit without a box.
     */
    private List<Rectangle2D.Float> ocorrencias(int p, String procurado, byte[] padrao) throws IOException {
        final List<Rectangle2D.Float> caixas = TextoDaPagina.ocorrencias(paginas.documento(), p, procurado);
        if (caixas.isEmpty() && varredura.contem(p, padrao)) return Collections.singletonList(null);
        return caixas;
    }

    private void entregar(long g, Resultado r, int novaPagina, int novoIndice) {
        SwingUtilities.invokeLater(() -> {
            if (g != geracao.get()) return;
            emCurso = false;
            if (novaPagina >= 0) {
                pagina = novaPagina;
                indiceNaPagina = novoIndice;
            }
            resposta.accept(r);
        });
    }
}
