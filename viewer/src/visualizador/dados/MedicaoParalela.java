package visualizador.dados;

import java.sql.SQLException;
import java.util.List;
import java.util.concurrent.CompletableFuture;
import java.util.concurrent.ExecutionException;
import java.util.concurrent.Future;
import java.util.concurrent.TimeUnit;
import java.util.concurrent.TimeoutException;
import visualizador.ErroRelatorio;
import visualizador.pagina.MedidaColuna;

/**
 * Measures the columns on a session of its own while the report's ordered query sorts on the
 * main one: the widths are only needed before the first line is laid out, so the measuring pass
 * costs no time of its own. A second session that cannot be opened (the server's or the pooler's
 * limit) is no error: {@link #sessaoAberta} says so and the caller measures on its own session.
 */
final class MedicaoParalela implements AutoCloseable {
    @FunctionalInterface
    interface Medidor {
        List<MedidaColuna> medir(Conexao sessao) throws SQLException;
    }

    private static final long ESPERA_MS = 100;

    private final CompletableFuture<Boolean> aberta = new CompletableFuture<>();
    private final CompletableFuture<List<MedidaColuna>> medidas = new CompletableFuture<>();
    private volatile Conexao sessao;
    private volatile boolean encerrada;

    private MedicaoParalela() {}

    /** Starts opening a session like {@code principal} and measuring on it; returns at once. */
    static MedicaoParalela iniciar(Conexao principal, Medidor medidor) {
        final MedicaoParalela m = new MedicaoParalela();
        final Thread t = new Thread(() -> m.medir(principal, medidor), "relatorio-medicao");
        t.setDaemon(true);
        t.start();
        return m;
    }

    private void medir(Conexao principal, Medidor medidor) {
        final Conexao outra;
        try {
            outra = principal.outra();
        } catch (ErroRelatorio | RuntimeException e) {
            aberta.complete(false);
            medidas.complete(null);
            return;
        }
        try (outra) {
            sessao = outra;
            aberta.complete(true);
            medidas.complete(encerrada ? null : medidor.medir(outra));
        } catch (SQLException | RuntimeException | Error e) {
            medidas.completeExceptionally(e);
        }
    }

    /** Whether the second session opened; waits for it, noticing a Cancel. */
    boolean sessaoAberta(Progresso progresso) throws SQLException, Cancelado {
        return esperar(aberta, progresso);
    }

    /** The measures, once done. An error of the measuring query is raised as the report's own would be. */
    List<MedidaColuna> aguardar(Progresso progresso) throws SQLException, Cancelado {
        return esperar(medidas, progresso);
    }

    private static <T> T esperar(Future<T> futura, Progresso progresso) throws SQLException, Cancelado {
        while (true) {
            if (progresso.cancelado()) throw new Cancelado();
            try {
                return futura.get(ESPERA_MS, TimeUnit.MILLISECONDS);
            } catch (TimeoutException e) {
                // Still at work: look at Cancel again.
            } catch (InterruptedException e) {
                Thread.currentThread().interrupt();
                throw new Cancelado();
            } catch (ExecutionException e) {
                if (e.getCause() instanceof SQLException s) throw s;
                if (e.getCause() instanceof Error r) throw r;
                throw (RuntimeException) e.getCause();
            }
        }
    }

    /**
     * Cancels a measurement still running; its session closes as its query returns. The server
     * drops a cancel that arrives between two statements, so it is sent again until the
     * measuring thread is done.
     */
    @Override
    public void close() {
        encerrada = true;
        if (medidas.isDone()) return;
        final Thread t = new Thread(() -> {
            while (!medidas.isDone()) {
                final Conexao s = sessao;
                if (s != null) s.cancelar();
                try {
                    medidas.get(ESPERA_MS, TimeUnit.MILLISECONDS);
                } catch (TimeoutException | ExecutionException e) {
                    // Not done yet, or ended by the cancel: the loop looks again.
                } catch (InterruptedException e) {
                    return;
                }
            }
        }, "relatorio-medicao-cancelar");
        t.setDaemon(true);
        t.start();
    }
}
