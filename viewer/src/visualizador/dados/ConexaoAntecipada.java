package visualizador.dados;

import java.sql.SQLException;
import java.util.concurrent.CompletableFuture;
import java.util.concurrent.ExecutionException;
import visualizador.ErroRelatorio;

/**
 * The preview's connection, opened on a thread of its own from the start, while the design is
 * read and the window is built: the login and the first round trips are most of what a fresh
 * process waits for before its first row. The first {@link #obter} takes it; later ones (the
 * report run again with other options) open a new one.
 */
public final class ConexaoAntecipada implements AutoCloseable {
    private final String servico;
    private final Ambiente ambiente;
    private final CompletableFuture<Conexao> futura = new CompletableFuture<>();
    private boolean entregue; // under this

    private ConexaoAntecipada(String servico, Ambiente ambiente) {
        this.servico = servico;
        this.ambiente = ambiente;
    }

    /** Starts opening the connection to {@code servico} and returns at once. */
    public static ConexaoAntecipada abrir(String servico, Ambiente ambiente) {
        final ConexaoAntecipada c = new ConexaoAntecipada(servico, ambiente);
        final Thread t = new Thread(() -> {
            try {
                c.futura.complete(Conexao.abrir(servico, ambiente));
            } catch (ErroRelatorio | RuntimeException | Error e) {
                c.futura.completeExceptionally(e);
            }
        }, "conexao-antecipada");
        t.setDaemon(true);
        t.start();
        return c;
    }

    /**
     * The early connection the first time (waiting for it; a failure to open it is raised here, as
     * {@link Conexao#abrir} raises it), a new one after. The caller closes what it gets.
     */
    public Conexao obter() throws ErroRelatorio {
        synchronized (this) {
            if (entregue) return Conexao.abrir(servico, ambiente);
            entregue = true;
        }
        try {
            return futura.get();
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
            futura.thenAccept(ConexaoAntecipada::fechar);
            throw new Cancelado();
        } catch (ExecutionException e) {
            if (e.getCause() instanceof ErroRelatorio r) throw r;
            if (e.getCause() instanceof RuntimeException r) throw r;
            if (e.getCause() instanceof Error r) throw r;
            throw new IllegalStateException(e.getCause());
        }
    }

    /** A connection nobody took is closed, now or once it is open. */
    @Override
    public void close() {
        synchronized (this) {
            if (entregue) return;
            entregue = true;
        }
        futura.thenAccept(ConexaoAntecipada::fechar);
    }

    private static void fechar(Conexao c) {
        try {
            c.close();
        } catch (SQLException e) {
            // Only read from: nothing is lost.
        }
    }
}
