package visualizador.janela;

import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static org.junit.jupiter.api.Assumptions.assumeFalse;

import java.net.ServerSocket;
import java.nio.file.Files;
import java.nio.file.Path;
import java.sql.ResultSet;
import java.sql.Statement;
import java.util.List;
import java.util.Map;
import java.util.function.BooleanSupplier;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.ValueSource;
import visualizador.BancoTeste;
import visualizador.DesignForjado;
import visualizador.Formato;
import visualizador.dados.Ambiente;
import visualizador.dados.Cancelado;
import visualizador.dados.Conexao;
import visualizador.dados.MotorRelatorio;
import visualizador.dados.ValoresParametros;
import visualizador.design.Design;
import visualizador.design.LeitorDesign;
import visualizador.formatos.Destinos;

/**
 * Cancel ends the wait at each stage a report can hang in, and the statement on the server is
 * cancelled too, not left running. The viewer gives up waiting half a second after a Cancel; the
 * tests allow more, for a loaded machine, and print what they measured.
 */
class CancelamentoTest {
    private static final long LIMITE_MS = 3000;
    private static final String SQL_ORIGINAL = "WHERE e.estforalinha IS DISTINCT FROM 'S'";

    @TempDir
    Path home;

    @ParameterizedTest(name = "{0}")
    @ValueSource(strings = {"pg_sleep", "bloqueio", "conectando"})
    void cancelarEmAteUmSegundo(String caso) throws Exception {
        final Ambiente amb = BancoTeste.ambiente(home);
        final String espera = caso.equals("pg_sleep") ? "pg_sleep(60) IS NOT NULL"
                : "pg_advisory_xact_lock_shared(4242) IS NOT NULL";
        final Design design = LeitorDesign.lerRelatorio(DesignForjado.escrever(home, SQL_ORIGINAL,
                SQL_ORIGINAL + " AND " + espera));
        try (Conexao observador = BancoTeste.conectar(home); Conexao dono = BancoTeste.conectar(home);
             ServerSocket mudo = new ServerSocket(0); Statement bloqueio = dono.jdbc().createStatement()) {
            bloqueio.execute("SELECT pg_advisory_lock(4242)");
            final Ambiente alvo;
            if (caso.equals("conectando")) {
                final Path servicos = home.resolve("mudo.conf");
                Files.writeString(servicos, "[" + BancoTeste.SERVICO + "]\nhost=127.0.0.1\nport=" + mudo.getLocalPort()
                        + "\nuser=u\ndbname=d\n");
                alvo = new Ambiente(Map.of("PGSERVICEFILE", servicos.toString()), home);
            } else alvo = amb;
            final TrabalhoComProgresso p = new TrabalhoComProgresso();
            final long[] cancelouEm = new long[1];
            final Thread cancelador = new Thread(() -> {
                final BooleanSupplier esperando = caso.equals("conectando") ? () -> aceitou(mudo)
                        : () -> ativas(observador, "pg_advisory_xact_lock_shared|pg_sleep") > 0;
                aguardar(esperando, 20_000);
                cancelouEm[0] = System.nanoTime();
                p.cancelar();
            });
            cancelador.start();
            assertThrows(Cancelado.class, () -> p.executarAteCancelar(progresso -> {
                try (Conexao c = Conexao.abrir(BancoTeste.SERVICO, alvo)) {
                    progresso.aoCancelar(c::cancelar);
                    final MotorRelatorio motor = new MotorRelatorio(c, design,
                            ValoresParametros.analisar(design, List.of()));
                    try (var destino = Destinos.criar(Formato.PDF, home.resolve("r.pdf"), progresso)) {
                        motor.executar(destino, progresso);
                    }
                } catch (java.sql.SQLException e) {
                    throw new IllegalStateException(e);
                }
            }));
            final long ms = (System.nanoTime() - cancelouEm[0]) / 1_000_000;
            System.out.println("cancel while " + caso + ": " + ms + " ms");
            assertTrue(ms < LIMITE_MS, caso + ": " + ms + " ms");
            if (!caso.equals("conectando"))
                assertTrue(aguardar(() -> ativas(observador, "pg_advisory_xact_lock_shared|pg_sleep") == 0, 5000),
                        "the statement still runs on the server");
            cancelador.join();
        }
    }

    private static boolean aceitou(ServerSocket s) {
        try {
            s.setSoTimeout(50);
            s.accept(); // left unanswered: the driver waits for the server's reply
            return true;
        } catch (java.io.IOException e) {
            return false;
        }
    }

    private static int ativas(Conexao c, String padrao) {
        try (Statement st = c.jdbc().createStatement();
             ResultSet rs = st.executeQuery("SELECT count(*) FROM pg_stat_activity WHERE state = 'active' AND query ~ '"
                     + padrao + "' AND pid <> pg_backend_pid()")) {
            rs.next();
            final int n = rs.getInt(1);
            c.jdbc().rollback(); // pg_stat_activity is read once per transaction
            return n;
        } catch (java.sql.SQLException e) {
            throw new IllegalStateException(e);
        }
    }

    private static boolean aguardar(BooleanSupplier condicao, long ms) {
        final long fim = System.nanoTime() + ms * 1_000_000;
        while (System.nanoTime() < fim) {
            if (condicao.getAsBoolean()) return true;
            try {
                Thread.sleep(20);
            } catch (InterruptedException e) {
                return false;
            }
        }
        return condicao.getAsBoolean();
    }

    /** Closing the progress window is a Cancel. */
    @org.junit.jupiter.api.Test
    void fecharAJanelaCancela() throws Exception {
        assumeFalse(java.awt.GraphicsEnvironment.isHeadless());
        final long[] fechouEm = new long[1];
        final Thread fechar = new Thread(() -> {
            aguardar(() -> janela("teste-cancelar") != null, 20_000);
            fechouEm[0] = System.nanoTime();
            final java.awt.Window w = janela("teste-cancelar");
            java.awt.EventQueue.invokeLater(() -> w.dispatchEvent(new java.awt.event.WindowEvent(w,
                    java.awt.event.WindowEvent.WINDOW_CLOSING)));
        });
        fechar.start();
        // Work that never looks at the cancel flag: only giving up on it ends the wait.
        assertThrows(Cancelado.class, () -> TrabalhoComProgresso.executar(true, "teste-cancelar",
                progresso -> aguardar(() -> false, 30_000)));
        final long ms = (System.nanoTime() - fechouEm[0]) / 1_000_000;
        System.out.println("cancel by closing the window: " + ms + " ms");
        assertTrue(ms < LIMITE_MS, ms + " ms");
        fechar.join();
    }

    private static java.awt.Window janela(String titulo) {
        for (java.awt.Window w : java.awt.Window.getWindows())
            if (w.isShowing() && w instanceof javax.swing.JDialog d && titulo.equals(d.getTitle())) return w;
        return null;
    }
}
