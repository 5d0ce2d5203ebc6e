package visualizador.janela;

import java.io.IOException;
import java.util.List;
import java.util.concurrent.CopyOnWriteArrayList;
import java.util.concurrent.TimeUnit;
import java.util.concurrent.atomic.AtomicBoolean;
import java.util.concurrent.atomic.AtomicLong;
import javax.swing.SwingUtilities;
import visualizador.ErroRelatorio;
import visualizador.dados.Progresso;
import visualizador.formatos.DestinoPdf;
import visualizador.pagina.Cabecalho;
import visualizador.pagina.Destino;
import visualizador.pagina.Totais;

/**
 * The report laid out for the preview on a thread of its own, while the window shows the pages
 * already finished. Counts lines and pages for the window, and stops when asked to.
 */
final class RelatorioEmCurso implements Progresso, DestinoPdf.PaginasProntas {
    /** Runs the report into the destination (opening the connection, the query…). */
    @FunctionalInterface
    interface Gerador {
        void gerar(Destino destino, Progresso progresso) throws ErroRelatorio, IOException;
    }

    /** What the window is told, on the event thread. */
    interface Ouvinte {
        /** On the layout's thread, the moment page 1 is finished: nothing slow here. */
        void primeiraPaginaNoLayout();

        void primeiraPaginaPronta();

        /** The report ended: {@code falha} is null when it completed. */
        void terminou(Throwable falha);
    }

    private final DestinoPdf destino;
    private final Thread thread;
    private final AtomicLong linhas = new AtomicLong();
    private final AtomicBoolean parar = new AtomicBoolean();
    private final List<Runnable> aoParar = new CopyOnWriteArrayList<>();
    private final Object guarda = new Object();
    private volatile int prontas;
    private volatile boolean numeradas;
    private Ouvinte ouvinte; // under guarda
    private boolean terminado;
    private Throwable falha;

    private RelatorioEmCurso(Gerador gerador) throws IOException {
        destino = DestinoPdf.paraVisualizar(this, this);
        final Destino alvo = Medicao.ativa() ? new Medido(destino) : destino;
        thread = new Thread(() -> executar(gerador, alvo), "visualizacao-relatorio");
        thread.setDaemon(true);
    }

    static RelatorioEmCurso iniciar(Gerador gerador) throws IOException {
        final RelatorioEmCurso r = new RelatorioEmCurso(gerador);
        r.thread.start();
        return r;
    }

    private void executar(Gerador gerador, Destino alvo) {
        Throwable erro = null;
        try {
            gerador.gerar(alvo, this);
        } catch (OutOfMemoryError e) {
            erro = e; // what the fetch and layout held is unreachable again once we are here
        } catch (ErroRelatorio | IOException | RuntimeException e) {
            erro = e;
        } finally {
            try {
                destino.close();
            } catch (IOException e) {
                // A preview's destination saves nothing.
            }
        }
        final Ouvinte o;
        synchronized (guarda) {
            terminado = true;
            falha = erro;
            o = ouvinte;
        }
        if (o != null) {
            final Throwable f = erro;
            SwingUtilities.invokeLater(() -> o.terminou(f));
        }
    }

    /** Attaches the window; what already happened is told at once. */
    void ouvir(Ouvinte o) {
        final boolean fim;
        final Throwable f;
        synchronized (guarda) {
            ouvinte = o;
            fim = terminado;
            f = falha;
        }
        if (prontas > 0) SwingUtilities.invokeLater(o::primeiraPaginaPronta);
        if (fim) SwingUtilities.invokeLater(() -> o.terminou(f));
    }

    DestinoPdf destino() {
        return destino;
    }

    long linhas() {
        return linhas.get();
    }

    int prontas() {
        return prontas;
    }

    /** The report ended and every page carries its final footer. */
    boolean numeradas() {
        return numeradas;
    }

    /**
     * Asks the report to stop: it does at its next check, and what waits on the server (a query,
     * rows) is cancelled there, off the caller's thread.
     */
    void parar() {
        if (parar.getAndSet(true)) return;
        for (Runnable r : aoParar) cancelarForaDaqui(r);
    }

    @Override
    public void aoCancelar(Runnable acao) {
        aoParar.add(acao);
        if (parar.get()) cancelarForaDaqui(acao);
    }

    private static void cancelarForaDaqui(Runnable r) {
        final Thread t = new Thread(r, "relatorio-cancelar");
        t.setDaemon(true);
        t.start();
    }

    /** Waits for the report's thread to end, at most {@code segundos}. */
    boolean aguardar(long segundos) {
        try {
            thread.join(TimeUnit.SECONDS.toMillis(segundos));
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
        }
        return !thread.isAlive();
    }

    @Override
    public void linhasLidas(long n) {
        linhas.set(n);
    }

    @Override
    public boolean cancelado() {
        return parar.get();
    }

    @Override
    public void prontas(int n) {
        final boolean primeira = prontas == 0 && n > 0;
        prontas = n;
        if (!primeira) return;
        final Ouvinte o;
        synchronized (guarda) {
            o = ouvinte;
        }
        if (o == null) return;
        o.primeiraPaginaNoLayout();
        SwingUtilities.invokeLater(o::primeiraPaginaPronta);
    }

    @Override
    public void numeradas(int total) {
        prontas = total;
        numeradas = true;
    }

    /** For the benchmark: notes when the first line reaches the layout. */
    private static final class Medido implements Destino {
        private final Destino d;
        private boolean primeira = true;

        Medido(Destino d) {
            this.d = d;
        }

        @Override
        public void inicio(Cabecalho c) throws IOException {
            d.inicio(c);
        }

        @Override
        public void inicioGrupo(String titulo) throws IOException {
            d.inicioGrupo(titulo);
        }

        @Override
        public void linha(Object[] valores) throws IOException {
            if (primeira) {
                primeira = false;
                Medicao.marcar("primeira-linha");
            }
            d.linha(valores);
        }

        @Override
        public void fimGrupo(String titulo, Totais totais) throws IOException {
            d.fimGrupo(titulo, totais);
        }

        @Override
        public void fim(Totais totais) throws IOException {
            d.fim(totais);
        }

        @Override
        public void close() throws IOException {
            d.close();
        }
    }
}
