package visualizador.janela;

import java.awt.BorderLayout;
import java.awt.event.KeyEvent;
import java.awt.event.WindowAdapter;
import java.awt.event.WindowEvent;
import java.io.IOException;
import java.util.List;
import java.util.concurrent.CopyOnWriteArrayList;
import java.util.concurrent.TimeUnit;
import java.util.concurrent.atomic.AtomicBoolean;
import java.util.concurrent.atomic.AtomicInteger;
import java.util.concurrent.atomic.AtomicLong;
import javax.swing.BorderFactory;
import javax.swing.JButton;
import javax.swing.JComponent;
import javax.swing.JDialog;
import javax.swing.JLabel;
import javax.swing.JPanel;
import javax.swing.KeyStroke;
import javax.swing.SwingUtilities;
import javax.swing.Timer;
import visualizador.ErroRelatorio;
import visualizador.dados.Cancelado;
import visualizador.dados.Progresso;
import visualizador.pagina.Formatos;

/**
 * Runs a report; with a display, a long one shows lines read and pages laid out in a small
 * window with "Cancelar" (closing the window or Esc cancel too). Short reports finish before the
 * window would appear. The work runs on a thread of its own, so a Cancel never waits on it: the
 * caller gets {@link Cancelado} within a second whatever the work is blocked on, while the cancel
 * actions (a cancel request to the server) are repeated until the work stops.
 */
public final class TrabalhoComProgresso implements Progresso {
    private static final int ATRASO_MS = 600;
    private static final long ESPERA_CANCELAR_MS = 500;
    private static final long REPETIR_CANCELAR_MS = 200;

    /** The work itself, told of progress and asked about cancelling. */
    @FunctionalInterface
    public interface Trabalho {
        void executar(Progresso progresso) throws ErroRelatorio, IOException;
    }

    private final AtomicLong linhas = new AtomicLong();
    private final AtomicInteger paginas = new AtomicInteger();
    private final AtomicBoolean cancelado = new AtomicBoolean();
    private final List<Runnable> aoCancelar = new CopyOnWriteArrayList<>();

    public static void executar(boolean tela, String titulo, Trabalho trabalho) throws ErroRelatorio, IOException {
        final TrabalhoComProgresso p = new TrabalhoComProgresso();
        if (!tela) {
            trabalho.executar(p);
            return;
        }
        final JDialog[] janela = new JDialog[1];
        final Timer timer = new Timer(ATRASO_MS, null);
        timer.addActionListener(e -> {
            if (janela[0] == null) janela[0] = p.janela(titulo);
            p.atualizar(janela[0]);
        });
        timer.setInitialDelay(ATRASO_MS);
        timer.setDelay(250);
        SwingUtilities.invokeLater(timer::start);
        try {
            p.executarAteCancelar(trabalho);
        } finally {
            SwingUtilities.invokeLater(() -> {
                timer.stop();
                if (janela[0] != null) janela[0].dispose();
            });
        }
    }

    /** Runs the work on its own thread and waits for it, or for a Cancel. */
    void executarAteCancelar(Trabalho trabalho) throws ErroRelatorio, IOException {
        final Throwable[] erro = new Throwable[1];
        final Thread t = new Thread(() -> {
            try {
                trabalho.executar(this);
            } catch (Throwable e) {
                erro[0] = e;
            }
        }, "relatorio");
        t.setDaemon(true); // a report stuck in a connect must not keep the process alive
        t.start();
        long desistir = Long.MAX_VALUE;
        long proximoCancelamento = 0;
        try {
            while (t.isAlive()) {
                t.join(50);
                if (!cancelado.get()) continue;
                final long agora = System.nanoTime();
                if (desistir == Long.MAX_VALUE) desistir = agora + TimeUnit.MILLISECONDS.toNanos(ESPERA_CANCELAR_MS);
                if (agora - proximoCancelamento >= 0) {
                    for (Runnable r : aoCancelar) executarCancelamento(r);
                    proximoCancelamento = agora + TimeUnit.MILLISECONDS.toNanos(REPETIR_CANCELAR_MS);
                }
                if (agora - desistir >= 0) throw new Cancelado();
            }
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
            cancelar();
            throw new Cancelado();
        }
        if (cancelado.get()) throw new Cancelado();
        final Throwable e = erro[0];
        if (e instanceof ErroRelatorio x) throw x;
        if (e instanceof IOException x) throw x;
        if (e instanceof RuntimeException x) throw x;
        if (e instanceof Error x) throw x;
        if (e != null) throw new IllegalStateException(e);
    }

    /** A cancel action talks to the server: never on the caller's or the event thread. */
    private static void executarCancelamento(Runnable r) {
        final Thread t = new Thread(r, "relatorio-cancelar");
        t.setDaemon(true);
        t.start();
    }

    private JDialog janela(String titulo) {
        final JDialog d = new JDialog((java.awt.Frame) null, titulo, false);
        final JLabel rotulo = new JLabel("Lendo linhas…");
        rotulo.setName("progresso");
        final JButton cancelar = new JButton("Cancelar");
        final Runnable aoClicar = () -> {
            cancelar();
            cancelar.setEnabled(false);
            rotulo.setText("Cancelando…");
        };
        cancelar.addActionListener(e -> aoClicar.run());
        final JPanel painel = new JPanel(new BorderLayout(12, 12));
        painel.setBorder(BorderFactory.createEmptyBorder(16, 16, 16, 16));
        painel.add(rotulo, BorderLayout.CENTER);
        painel.add(cancelar, BorderLayout.SOUTH);
        painel.getInputMap(JComponent.WHEN_IN_FOCUSED_WINDOW).put(KeyStroke.getKeyStroke(KeyEvent.VK_ESCAPE, 0), "cancelar");
        painel.getActionMap().put("cancelar", new javax.swing.AbstractAction() {
            private static final long serialVersionUID = 1L;

            @Override
            public void actionPerformed(java.awt.event.ActionEvent e) {
                aoClicar.run();
            }
        });
        d.setContentPane(painel);
        d.setDefaultCloseOperation(JDialog.DO_NOTHING_ON_CLOSE);
        d.addWindowListener(new WindowAdapter() {
            @Override
            public void windowClosing(WindowEvent e) {
                aoClicar.run();
            }
        });
        d.setSize(360, 130);
        d.setLocationRelativeTo(null);
        d.setVisible(true);
        return d;
    }

    private void atualizar(JDialog d) {
        final JLabel rotulo = (JLabel) ((JPanel) d.getContentPane()).getComponent(0);
        if (!cancelado.get())
            rotulo.setText(Formatos.linhas(linhas.get()) + " lidas · " + Formatos.inteiro(paginas.get()) + " páginas");
    }

    /** What the Cancel button does. */
    void cancelar() {
        cancelado.set(true);
    }

    @Override
    public void linhasLidas(long n) {
        linhas.set(n);
    }

    @Override
    public void paginas(int n) {
        paginas.set(n);
    }

    @Override
    public boolean cancelado() {
        return cancelado.get();
    }

    @Override
    public void aoCancelar(Runnable acao) {
        aoCancelar.add(acao);
        if (cancelado.get()) executarCancelamento(acao); // work that outlived its Cancel stops too
    }
}
